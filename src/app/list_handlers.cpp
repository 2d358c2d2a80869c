// "Inventarliste" and "Fehlliste": the lists written beside the layout.

#include "app/app_state.h"
#include "app/guards.h"
#include "app/startup_dialog.h"
#include "host/messages.h"
#include "host/paths.h"
#include "layout/lists.h"
#include "platform/platform.h"

namespace app {
namespace {

int WriteList(DialogView* view, int missingOnly) {
  if (!CheckLoadedLayout()) return 0;
  // Without the installation every object would be listed as missing.
  if (missingOnly && !CheckInstallation()) return 0;
  AppState& g = Globals();
  view->BeginWaitCursor();
  int written = 0;
  const std::string folder = host::DirectoryOf(g.LayoutPath);
  if (platform::ChangeDirectory(folder)) {
    written = layout::WriteLists(g.Layout, missingOnly);
  } else {
    // Never a list in some other folder.
    host::ShowFormatted("Datei %s kann nicht ge\xF6" "ffnet werden!",
                        (folder + "\\" + layout::ListFileName(missingOnly)).c_str());
  }
  if (written) view->Notify(missingOnly ? "Fehlliste wurde erstellt!" : "Inventarliste wurde erstellt!");
  view->EndWaitCursor();
  return written;
}

}  // namespace

int StartupDialog::OnInventoryListClicked() { return WriteList(view_, 0); }

int StartupDialog::OnMissingListClicked() { return WriteList(view_, 1); }

}  // namespace app
