// "Löschen": deleting the camera set named in the combo box.

#include "app/app_state.h"
#include "app/guards.h"
#include "app/startup_dialog.h"
#include "host/messages.h"
#include "layout/camera_set.h"

namespace app {

int StartupDialog::OnDeleteCameraSetClicked() {
  if (!CheckLayoutPair()) return 0;
  view_->ExchangeData(&members, true);
  if (!view_->AskYesNo(host::StringPrintf("L\xF6sche Kamera Set %s ?", members.m_cameraSet.c_str()))) {
    return 1;
  }
  AppState& g = Globals();
  // The file is written before memory changes, so that a failed write leaves
  // the set everywhere as it was.
  settings::SettingsFile changed = g.SettingsFile;
  if (changed.RemoveSection(layout::CameraSetSection(members.m_cameraSet))) {
    if (!changed.Write(g.SettingsPath)) return 0;
    g.SettingsFile = std::move(changed);
  }
  int index = view_->FindCameraSetExact(members.m_cameraSet);
  if (index >= 0) view_->DeleteCameraSet(index);
  members.m_cameraSet.clear();
  view_->ExchangeData(&members, false);
  return 1;
}

}  // namespace app
