// Handlers whose commands are not built yet: each does nothing and reports
// failure, so that the front ends link while the commands are written.
#include "app/startup_dialog.h"

namespace app {

int StartupDialog::OnInitDialog(const std::vector<std::string>&) { return 0; }
int StartupDialog::LoadLayout() { return 0; }
int StartupDialog::OnLoadClicked() { return 0; }
int StartupDialog::OnDeleteCameraSetClicked() { return 0; }
int StartupDialog::OnGenTerrainClicked() { return 0; }
int StartupDialog::OnChooseBufferStopClicked() { return 0; }
int StartupDialog::OnChooseCatenaryClicked() { return 0; }
int StartupDialog::OnChooseGuidePostClicked() { return 0; }
int StartupDialog::OnChooseGroundTextureClicked() { return 0; }
int StartupDialog::OnStandardClicked() { return 0; }
int StartupDialog::OnRemoveMissingRollingStockClicked() { return 0; }
int StartupDialog::OnRemoveMissingGbosClicked() { return 0; }
int StartupDialog::OnRemoveMissingRealEstateClicked() { return 0; }
int StartupDialog::OnInventoryListClicked() { return 0; }
int StartupDialog::OnMissingListClicked() { return 0; }

}  // namespace app
