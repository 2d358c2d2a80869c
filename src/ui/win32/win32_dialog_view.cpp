#include "ui/win32/win32_dialog_view.h"

#include <commdlg.h>

#include <algorithm>
#include <vector>

#include "platform/platform.h"

namespace ui_win32 {

const char kMessageCaption[] = "ZUVO Startup";

std::string Win32DialogView::ControlText(int id) const {
  HWND control = GetDlgItem(dialog_, id);
  if (!control) return std::string();
  int length = GetWindowTextLengthA(control);
  if (length <= 0) return std::string();
  std::vector<char> text(static_cast<std::size_t>(length) + 1, '\0');
  int got = GetWindowTextA(control, text.data(), static_cast<int>(text.size()));
  return std::string(text.data(), static_cast<std::size_t>(std::max(got, 0)));
}

void Win32DialogView::SetControlText(int id, const std::string& text) { SetDlgItemTextA(dialog_, id, text.c_str()); }

// The combo box shows the name exactly as the member holds it. An entry of the
// list is selected only when it is that very name; a name that merely begins
// like an entry, or differs from it in letter case, is shown as typed text, so
// that the next exchange reads back the same name.
void Win32DialogView::SetCameraSetText(const std::string& text) {
  HWND combo = GetDlgItem(dialog_, app::kIdCameraSetCombo);
  if (!combo) return;
  LRESULT index =
      SendMessageA(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text.c_str()));
  if (index != CB_ERR && !text.empty()) {
    LRESULT length = SendMessageA(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == static_cast<LRESULT>(text.size())) {
      std::vector<char> entry(text.size() + 1, '\0');
      SendMessageA(combo, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(entry.data()));
      if (text == entry.data()) {
        SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        return;
      }
    }
  }
  SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  SetWindowTextA(combo, text.c_str());
}

// In the order of the members: the combo box's text, then the layout path
// and the four choices.
void Win32DialogView::ExchangeData(app::DialogMembers* members, bool fromControls) {
  struct Binding {
    int id;
    std::string app::DialogMembers::*member;
  };
  static const Binding kEdits[] = {
      {app::kIdLayoutPath, &app::DialogMembers::m_layoutPath},
      {app::kIdBufferStop, &app::DialogMembers::m_bufferStop},
      {app::kIdGuidePost, &app::DialogMembers::m_guidePost},
      {app::kIdCatenary, &app::DialogMembers::m_catenary},
      {app::kIdGroundTexture, &app::DialogMembers::m_groundTexture},
  };
  if (fromControls) {
    members->m_cameraSet = ControlText(app::kIdCameraSetCombo);
    for (const Binding& b : kEdits) members->*b.member = ControlText(b.id);
  } else {
    SetCameraSetText(members->m_cameraSet);
    for (const Binding& b : kEdits) SetControlText(b.id, members->*b.member);
  }
}

void Win32DialogView::ClearCameraSets() { SendDlgItemMessageA(dialog_, app::kIdCameraSetCombo, CB_RESETCONTENT, 0, 0); }

void Win32DialogView::AddCameraSet(const std::string& name) {
  SendDlgItemMessageA(dialog_, app::kIdCameraSetCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
}

int Win32DialogView::FindCameraSetExact(const std::string& name) {
  LRESULT index = SendDlgItemMessageA(dialog_, app::kIdCameraSetCombo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                      reinterpret_cast<LPARAM>(name.c_str()));
  return index == CB_ERR ? -1 : static_cast<int>(index);
}

void Win32DialogView::DeleteCameraSet(int index) {
  if (index < 0) return;
  SendDlgItemMessageA(dialog_, app::kIdCameraSetCombo, CB_DELETESTRING, static_cast<WPARAM>(index), 0);
}

void Win32DialogView::EnableControl(int id, bool enabled) {
  HWND control = GetDlgItem(dialog_, id);
  if (!control) return;
  // A button that is disabled while it has the keyboard focus would leave the
  // dialog without a usable focus: move it to the next control first.
  if (!enabled && GetFocus() == control) SendMessageA(dialog_, WM_NEXTDLGCTL, 0, FALSE);
  EnableWindow(control, enabled ? TRUE : FALSE);
}

bool Win32DialogView::AskYesNo(const std::string& text) {
  return MessageBoxA(dialog_, text.c_str(), kMessageCaption, MB_YESNO) == IDYES;
}

void Win32DialogView::Notify(const std::string& text) { MessageBoxA(dialog_, text.c_str(), kMessageCaption, MB_OK); }

// The filter comes as "Name|pattern|...|"; the system wants each piece ended
// by a NUL and the list by a second one. The dialog may change the process's
// current directory while the user browses; the commands rely on it staying
// where the last load or command put it, so it is put back.
bool Win32DialogView::ChooseFile(const std::string& initialName, const std::string& filter, std::string* chosen) {
  std::string filterList = filter;
  std::replace(filterList.begin(), filterList.end(), '|', '\0');
  if (filterList.empty() || filterList.back() != '\0') filterList.push_back('\0');
  // The list's final NUL is the string's own terminator.

  std::vector<char> file(std::max<std::size_t>(initialName.size() + 1, 32768), '\0');
  std::copy(initialName.begin(), initialName.end(), file.begin());

  OPENFILENAMEA ofn = {};
  ofn.lStructSize = sizeof(ofn);
  ofn.hwndOwner = dialog_;
  ofn.lpstrFilter = filterList.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = static_cast<DWORD>(file.size());
  ofn.Flags = OFN_EXPLORER;

  std::string directory = platform::CurrentDirectory();
  BOOL confirmed = GetOpenFileNameA(&ofn);
  if (!directory.empty()) platform::ChangeDirectory(directory);
  if (!confirmed) return false;
  file.back() = '\0';
  *chosen = file.data();
  return true;
}

void Win32DialogView::BeginWaitCursor() {
  HCURSOR previous = SetCursor(LoadCursor(nullptr, IDC_WAIT));
  if (waitDepth_++ == 0) cursorBeforeWait_ = previous;
}

void Win32DialogView::EndWaitCursor() {
  if (waitDepth_ == 0) return;
  if (--waitDepth_ == 0) {
    SetCursor(cursorBeforeWait_ ? cursorBeforeWait_ : LoadCursor(nullptr, IDC_ARROW));
    cursorBeforeWait_ = nullptr;
  }
}

void Win32DialogView::RestoreWaitCursor() const { SetCursor(LoadCursor(nullptr, IDC_WAIT)); }

void Win32DialogView::Minimize() { ShowWindow(dialog_, SW_MINIMIZE); }

void Win32DialogView::Restore() { ShowWindow(dialog_, SW_RESTORE); }

}  // namespace ui_win32
