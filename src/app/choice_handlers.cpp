// The four "Auswählen" buttons and "Standard".

#include "app/asset_kind_controls.h"
#include "app/guards.h"
#include "app/run_journal.h"
#include "app/startup_dialog.h"
#include "host/installation.h"
#include "host/messages.h"
#include "host/paths.h"
#include "host/save.h"
#include "platform/platform.h"

namespace app {
namespace {

// The file dialog opens in the kind folder with the current choice (or the
// default file) preselected; a confirmed pick keeps only the file's name.
int Choose(DialogView* view, const host::Installation& installation, DialogMembers* members, host::AssetKind kind) {
  view->ExchangeData(members, true);
  const host::AssetKindInfo& info = host::AssetKindOf(kind);
  std::string& choice = members->*kAssetKindControls[kind].choice;
  const std::string initialName =
      installation.folder + info.name + "\\" + (choice.empty() ? info.defaultFile : choice.c_str());
  std::string chosen;
  if (!view->ChooseFile(initialName, info.filter, &chosen)) return 1;
  if (!chosen.empty()) choice = host::FileNameOf(chosen);
  view->ExchangeData(members, false);
  return 1;
}

}  // namespace

int StartupDialog::OnChooseBufferStopClicked() { return Choose(view_, installation_, &members, host::kBufferStop); }

int StartupDialog::OnChooseCatenaryClicked() { return Choose(view_, installation_, &members, host::kCatenary); }

int StartupDialog::OnChooseGuidePostClicked() { return Choose(view_, installation_, &members, host::kGuidePost); }

int StartupDialog::OnChooseGroundTextureClicked() {
  return Choose(view_, installation_, &members, host::kGroundTexture);
}

int StartupDialog::OnStandardClicked() {
  if (!CheckInstallation(installation_)) return 0;
  // Each kind whose folder exists gets its default file back; a kind whose
  // default file was never saved keeps its active file, silently. A copy
  // that fails is told (the active file stays whole, the other kinds are
  // still handled), so that nobody runs the simulator believing the defaults
  // are back. A run cut off is put back first; beside a live run nothing is
  // changed.
  if (!HealInstallation(installation_.folder)) return 0;
  int allCopied = 1;
  for (int k = 0; k < host::kAssetKindCount; ++k) {
    const host::AssetKind kind = static_cast<host::AssetKind>(k);
    const int copied = host::InstallDefault(installation_, kind);
    if (copied > 0) view_->ReportInstalled(kind, host::AssetKindOf(kind).defaultFile);
    if (copied < 0) allCopied = 0;
  }
  return allCopied;
}

}  // namespace app
