// Putting back what a start that was cut off left swapped, on its own (no
// button: "Starte ZUVO" and "Standard" do it first).

#include "app/guards.h"
#include "app/run_journal.h"
#include "app/startup_dialog.h"
#include "host/installation.h"
#include "host/messages.h"
#include "host/wording.h"

namespace app {

int StartupDialog::Repair(bool force) {
  if (!CheckInstallation(installation_)) return 0;
  const std::string& installationFolder = installation_.folder;
  int found = 0, declined = 0;
  if (!HealInstallation(installationFolder, force ? view_ : nullptr, &found, &declined)) return declined;
  if (!found) {
    view_->ShowResult(host::Wording(host::Why::kNothingToRepair, installationFolder));
  }
  return 1;
}

}  // namespace app
