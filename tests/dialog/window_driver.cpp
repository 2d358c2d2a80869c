#include "window_driver.h"

#include <cstdlib>
#include <vector>

#include "platform/platform.h"

namespace dialog_driver {
namespace {

// The explorer-style file dialog's file name box (cmb13).
HWND FileNameField(HWND fileDialog) { return GetDlgItem(fileDialog, 0x47c); }

bool Alive(HANDLE process) { return process && WaitForSingleObject(process, 0) == WAIT_TIMEOUT; }

}  // namespace

std::string WindowText(HWND window) {
  std::vector<char> text(1024, '\0');
  DWORD_PTR result = 0;
  if (window)
    SendMessageTimeoutA(window, WM_GETTEXT, text.size() - 1, reinterpret_cast<LPARAM>(text.data()), SMTO_NORMAL,
                        kWaitMs, &result);
  return text.data();
}

bool Settled(HWND window) {
  DWORD_PTR result = 0;
  return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, kWaitMs, &result) != 0;
}

bool AnswerBox(HWND box, int buttonId) {
  HWND button = GetDlgItem(box, buttonId);
  if (button) SendNotifyMessageA(button, BM_CLICK, 0, 0);
  return button && WaitUntil([&] { return !IsWindow(box) || !IsWindowVisible(box); });
}

void ChooseInFileDialog(HWND fileDialog, const std::string& name) {
  HWND field = FileNameField(fileDialog);  // the edit may sit inside a combo box
  if (HWND inner = FindWindowExA(field, nullptr, "Edit", nullptr)) field = inner;
  SendMessageTimeoutA(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name.c_str()), SMTO_NORMAL, kWaitMs, nullptr);
  SendNotifyMessageA(GetDlgItem(fileDialog, IDOK), BM_CLICK, 0, 0);
}

namespace {

// The window's pixels with its frame as a 24-bit BMP file; empty when they
// cannot be read.
std::string Capture(HWND window) {
  RECT r;
  if (!GetWindowRect(window, &r)) return std::string();
  BITMAPINFOHEADER head = {sizeof(head), r.right - r.left, r.bottom - r.top, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  HDC screen = GetDC(nullptr), memory = CreateCompatibleDC(screen);
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&head), DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  const bool copied = bits && BitBlt(memory, 0, 0, head.biWidth, head.biHeight, screen, r.left, r.top, SRCCOPY);
  GdiFlush();
  const DWORD size = static_cast<DWORD>((head.biWidth * 3 + 3) & ~3) * static_cast<DWORD>(head.biHeight),
              offset = sizeof(BITMAPFILEHEADER) + sizeof(head);
  const BITMAPFILEHEADER file = {0x4D42 /* "BM" */, offset + size, 0, 0, offset};
  std::string bytes(reinterpret_cast<const char*>(&file), sizeof(file));
  bytes.append(reinterpret_cast<const char*>(&head), sizeof(head));
  if (copied) bytes.append(static_cast<const char*>(bits), size);
  SelectObject(memory, old);
  if (bitmap) DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return copied ? bytes : std::string();
}

}  // namespace

bool SaveWindowPicture(HWND window, const std::string& name) {
  // Painted now, and on the screen once two captures in a row agree.
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  std::string bytes, last;
  WaitUntil([&] { return !(last = Capture(window)).empty() && (bytes.swap(last), bytes == last); });
  const char* folder = std::getenv("ZUVO_DIALOG_SHOTS");
  const std::string path = (folder && *folder ? folder : ".") + std::string("\\") + name;
  return !bytes.empty() && platform::ReplaceFile(path, bytes.data(), bytes.size(), "") == platform::SaveOutcome::kSaved;
}

App::~App() {
  if (Alive(process_)) TerminateProcess(process_, 1), WaitForSingleObject(process_, 5000);
  if (process_) CloseHandle(process_);
}

bool App::Start(const std::string& commandLine) {
  std::vector<char> line(commandLine.begin(), commandLine.end());
  line.push_back('\0');
  STARTUPINFOA startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info = {};
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
    return false;
  CloseHandle(info.hThread);
  process_ = info.hProcess;
  processId_ = info.dwProcessId;
  return WaitUntil([&] {
           DWORD owner = 0;
           for (HWND w = FindWindowExA(nullptr, nullptr, "#32770", "ZUVO Startup Tool"); w && !dialog_;
                w = FindWindowExA(nullptr, w, "#32770", "ZUVO Startup Tool")) {
             if (GetWindowThreadProcessId(w, &owner) && owner == processId_) dialog_ = w;
           }
           return (dialog_ && IsWindowVisible(dialog_)) || !Alive(process_);
         }) &&
         Alive(process_) && Settled(dialog_);
}

bool App::Click(int id) const { return SendNotifyMessageA(Control(id), BM_CLICK, 0, 0) && Settled(dialog_); }

HWND App::OpenBox(bool fileDialog) const {
  DWORD owner = 0;
  for (HWND w = FindWindowExA(nullptr, nullptr, "#32770", nullptr); w;
       w = FindWindowExA(nullptr, w, "#32770", nullptr)) {
    if (w != dialog_ && IsWindowVisible(w) && GetWindowThreadProcessId(w, &owner) && owner == processId_ &&
        (FileNameField(w) != nullptr) == fileDialog) {
      return w;
    }
  }
  return nullptr;
}

HWND App::WaitForBox(bool fileDialog) const {
  HWND box = nullptr;
  WaitUntil([&] { return (box = OpenBox(fileDialog)) != nullptr || !Alive(process_); });
  return box && Settled(box) ? box : nullptr;
}

bool App::WaitForExit(DWORD* exitCode) const {
  return process_ && WaitForSingleObject(process_, kWaitMs) == WAIT_OBJECT_0 && GetExitCodeProcess(process_, exitCode);
}

}  // namespace dialog_driver
