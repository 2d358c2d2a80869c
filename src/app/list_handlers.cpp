// "Inventarliste" and "Fehlliste": the lists written beside the layout.

#include "app/guards.h"
#include "app/installation_seams.h"
#include "app/startup_dialog.h"
#include "host/messages.h"
#include "host/paths.h"
#include "host/save.h"
#include "host/wording.h"
#include "layout/lists.h"
#include "platform/platform.h"

namespace app {
namespace {

// Writes the list into `folder`; the messages name the list's bare file name.
// The dialog works in the layout's folder; a folder that cannot be entered
// gets no list (and never a list in some other folder).
int WriteListBeside(const std::string& text, const std::string& folder, layout::ListKind kind) {
  const char* name = layout::ListFileName(kind);
  if (!platform::ChangeDirectory(folder)) {
    host::Report(host::Why::kFileCannotBeOpened, host::FileInFolder(folder, name));
    return 0;
  }
  return host::SaveFileReporting(host::FileInFolder(folder, name), text, folder, host::Why::kFileCannotBeOpened, name);
}

}  // namespace

// Without the installation every object would be listed as missing.
int StartupDialog::WriteList(layout::ListKind kind) {
  if (!CheckLoadedLayout(pair_)) return 0;
  if (kind == layout::ListKind::kMissing && !CheckInstallation(installation_)) return 0;
  view_->BeginWaitCursor();
  InstallationObjects files(installation_);
  const int written = WriteListBeside(layout::ListText(pair_.layout, kind, &files), pair_.folder(), kind);
  if (written) {
    view_->Notify(host::Wording(host::Why::kListWritten, layout::ListFileName(kind)));
    view_->ShowResult(
        host::Wording(host::Why::kFileWritten, host::FileInFolder(pair_.folder(), layout::ListFileName(kind))));
  }
  view_->EndWaitCursor();
  return written;
}

int StartupDialog::OnInventoryListClicked() { return WriteList(layout::ListKind::kInventory); }

int StartupDialog::OnMissingListClicked() { return WriteList(layout::ListKind::kMissing); }

}  // namespace app
