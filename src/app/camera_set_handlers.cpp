// "Löschen": deleting the camera set named in the combo box.

#include "app/guards.h"
#include "app/startup_dialog.h"
#include "host/messages.h"
#include "host/wording.h"
#include "layout/camera_set.h"

namespace app {

int StartupDialog::OnDeleteCameraSetClicked() {
  if (!CheckLayoutPair(pair_)) return 0;
  view_->ExchangeData(&members, true);
  if (!view_->AskYesNo(host::Wording(host::Why::kDeleteCameraSetQuestion, members.m_cameraSet))) return 1;
  // The file is written before memory changes, so that a failed write leaves
  // the set everywhere as it was.
  settings::SettingsFile changed = pair_.settings;
  if (changed.RemoveSection(layout::CameraSetSection(members.m_cameraSet))) {
    if (!KeepLoadedPair("delete-camera-set") || !changed.Write(pair_.settingsPath, pair_.folder())) return 0;
    pair_.settings = std::move(changed);
    view_->ShowResult(host::Wording(host::Why::kCameraSetDeleted, members.m_cameraSet, pair_.settingsPath));
  }
  int index = view_->FindCameraSetExact(members.m_cameraSet);
  if (index >= 0) view_->DeleteCameraSet(index);
  members.m_cameraSet.clear();
  view_->ExchangeData(&members, false);
  return 1;
}

}  // namespace app
