#include "app/guards.h"

#include "host/installation.h"
#include "host/messages.h"

namespace app {
namespace {

int LayoutNotOk() {
  host::Report(host::Why::kLayoutNotOk);
  return 0;
}

}  // namespace

int CheckLayoutPair(const LoadedPair& pair) { return pair.layoutPath.empty() ? LayoutNotOk() : 1; }

int CheckLoadedLayout(const LoadedPair& pair) {
  return pair.layout.loaded && !pair.layoutPath.empty() ? 1 : LayoutNotOk();
}

int CheckInstallation() {
  if (host::HostDirectory() != nullptr) return 1;
  host::Report(host::Why::kUnknownInstallation);
  return 0;
}

int CheckKindFolder(const LoadedPair& pair, layout::RemovalKind kind) {
  const std::string folder = layout::MissingKindFolder(pair.layout, kind);
  if (folder.empty()) return 1;
  host::Report(host::Why::kKindFolderMissing, host::HostDirectory() + folder);
  return 0;
}

}  // namespace app
