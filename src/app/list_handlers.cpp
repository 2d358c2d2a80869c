// "Inventarliste" and "Fehlliste": the lists written beside the layout.

#include "app/guards.h"
#include "app/startup_dialog.h"
#include "host/messages.h"
#include "host/wording.h"
#include "host/paths.h"
#include "host/save.h"
#include "layout/lists.h"
#include "platform/platform.h"

namespace app {
namespace {

// Writes the list into `folder`. The messages name the list's bare file name.
int WriteListBeside(const layout::Layout& layout, const std::string& folder, int missingOnly) {
  const char* name = layout::ListFileName(missingOnly);
  // The dialog works in the layout's folder; a folder that cannot be entered
  // gets no list (and never a list in some other folder).
  if (!platform::ChangeDirectory(folder)) {
    host::Report(host::Why::kFileCannotBeOpened, host::FileInFolder(folder, name));
    return 0;
  }
  return host::SaveFileReporting(host::FileInFolder(folder, name), layout::ListText(layout, missingOnly), folder,
                                 host::Why::kFileCannotBeOpened, name);
}

int WriteList(DialogView* view, const LoadedPair& pair, int missingOnly) {
  if (!CheckLoadedLayout(pair)) return 0;
  // Without the installation every object would be listed as missing.
  if (missingOnly && !CheckInstallation()) return 0;
  view->BeginWaitCursor();
  const int written = WriteListBeside(pair.layout, host::DirectoryOf(pair.layoutPath), missingOnly);
  if (written) view->Notify(host::Wording(host::Why::kListWritten, layout::ListFileName(missingOnly)));
  view->EndWaitCursor();
  return written;
}

}  // namespace

int StartupDialog::OnInventoryListClicked() { return WriteList(view_, pair_, 0); }

int StartupDialog::OnMissingListClicked() { return WriteList(view_, pair_, 1); }

}  // namespace app
