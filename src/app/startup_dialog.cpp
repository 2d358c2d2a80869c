#include "app/startup_dialog.h"

namespace app {

StartupDialog::StartupDialog(DialogView* view) : view_(view) {}

}  // namespace app
