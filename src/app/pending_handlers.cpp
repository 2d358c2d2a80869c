// Handlers whose commands are not built yet: each does nothing and reports
// failure, so that the front ends link while the commands are written.
#include "app/startup_dialog.h"

namespace app {

int StartupDialog::OnGenTerrainClicked() { return 0; }

}  // namespace app
