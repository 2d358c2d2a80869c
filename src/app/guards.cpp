#include "app/guards.h"

#include "app/app_state.h"
#include "host/installation.h"
#include "host/messages.h"

namespace app {

int CheckLayoutPair() {
  if (!Globals().LayoutPath.empty()) return 1;
  host::ShowFormatted("Anlage nicht OK\n");
  return 0;
}

int CheckLoadedLayout() {
  if (Globals().Layout.loaded && !Globals().LayoutPath.empty()) return 1;
  host::ShowFormatted("Anlage nicht OK\n");
  return 0;
}

int CheckInstallation() {
  if (host::HostDirectory() != nullptr) return 1;
  host::ShowFormatted("Unbekannte oder fehlerhafte ZUVO Installation\n");
  return 0;
}

}  // namespace app
