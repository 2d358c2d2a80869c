// The dialog's window operations on a live Win32 dialog: data exchange by
// control id, the camera-set combo box, enabling buttons, message boxes and
// the file-open dialog owned by the dialog, the wait cursor, minimising and
// restoring.
#pragma once

#include <windows.h>

#include <string>

#include "app/dialog_view.h"

namespace ui_win32 {

// Caption of the questions and notices the dialog owns.
extern const char kMessageCaption[];

class Win32DialogView : public app::DialogView {
 public:
  // The dialog window the operations work on (set in WM_INITDIALOG).
  void Attach(HWND dialog) { dialog_ = dialog; }

  void ExchangeData(app::DialogMembers* members, bool fromControls) override;

  void ClearCameraSets() override;
  void AddCameraSet(const std::string& name) override;
  int FindCameraSetExact(const std::string& name) override;
  void DeleteCameraSet(int index) override;

  void EnableControl(int id, bool enabled) override;

  bool AskYesNo(const std::string& text) override;
  void Notify(const std::string& text) override;

  bool ChooseFile(const std::string& initialName, const std::string& filter, std::string* chosen) override;

  void BeginWaitCursor() override;
  void EndWaitCursor() override;
  // True while a command shows the wait cursor (the dialog keeps showing it
  // when the mouse moves).
  bool Waiting() const { return waitDepth_ > 0; }
  void RestoreWaitCursor() const;

  void Minimize() override;
  void Restore() override;

 private:
  std::string ControlText(int id) const;
  void SetControlText(int id, const std::string& text);
  void SetCameraSetText(const std::string& text);

  HWND dialog_ = nullptr;
  int waitDepth_ = 0;
  HCURSOR cursorBeforeWait_ = nullptr;
};

}  // namespace ui_win32
