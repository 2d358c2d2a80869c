#include "app/startup_dialog.h"

#include "host/installation.h"

namespace app {

StartupDialog::StartupDialog(DialogView* view) : view_(view) {}

int StartupDialog::OnInitDialog(const std::vector<std::string>& arguments) {
  // A kind can be chosen only while its folder exists in the installation.
  view_->EnableControl(kIdChooseGuidePost, host::IsHostSubdirectory("Leitpfosten") != 0);
  view_->EnableControl(kIdChooseCatenary, host::IsHostSubdirectory("Oberleitung") != 0);
  view_->EnableControl(kIdChooseBufferStop, host::IsHostSubdirectory("Prellbock") != 0);
  view_->EnableControl(kIdChooseGroundTexture, host::IsHostSubdirectory("Bodentextur") != 0);
  if (arguments.empty()) return 1;
  members.m_layoutPath = arguments[0];
  int loaded = LoadLayout();
  view_->ExchangeData(&members, false);
  return loaded;
}

}  // namespace app
