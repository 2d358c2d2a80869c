#include "app/startup_dialog.h"

#include "app/asset_kind_controls.h"

namespace app {

StartupDialog::StartupDialog(DialogView* view, const host::Installation& installation)
    : view_(view), installation_(installation) {}

int StartupDialog::OnInitDialog(const std::vector<std::string>& arguments) {
  // A kind can be chosen only while its folder exists in the installation.
  for (int k = 0; k < host::kAssetKindCount; ++k) {
    const host::AssetKindInfo& info = host::AssetKindOf(static_cast<host::AssetKind>(k));
    view_->EnableControl(kAssetKindControls[k].chooseButton, installation_.HasFolder(info.name) != 0);
  }
  if (arguments.empty()) return 1;
  members.m_layoutPath = arguments[0];
  int loaded = LoadLayout();
  view_->ExchangeData(&members, false);
  return loaded;
}

}  // namespace app
