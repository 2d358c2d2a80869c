#include "window_driver.h"

#include <algorithm>
#include <cstring>

namespace dialog_driver {
namespace {

const UINT kCodePage = 1252;

std::string Narrow(const std::wstring& wide) {
  if (wide.empty()) return std::string();
  int size = WideCharToMultiByte(kCodePage, 0, wide.data(), static_cast<int>(wide.size()),
                                 nullptr, 0, nullptr, nullptr);
  std::string text(static_cast<std::size_t>(std::max(size, 0)), '\0');
  if (size > 0) {
    WideCharToMultiByte(kCodePage, 0, wide.data(), static_cast<int>(wide.size()), &text[0],
                        size, nullptr, nullptr);
  }
  return text;
}

std::wstring Wide(const std::string& text) {
  if (text.empty()) return std::wstring();
  int size = MultiByteToWideChar(kCodePage, 0, text.data(), static_cast<int>(text.size()),
                                 nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(std::max(size, 0)), L'\0');
  if (size > 0) {
    MultiByteToWideChar(kCodePage, 0, text.data(), static_cast<int>(text.size()), &wide[0],
                        size);
  }
  return wide;
}

// SendMessage with a time limit, so a hanging program fails the test instead
// of hanging the driver.
LRESULT Ask(HWND window, UINT message, WPARAM wParam, LPARAM lParam, bool* ok = nullptr) {
  DWORD_PTR result = 0;
  LRESULT sent =
      SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL, kWaitMs, &result);
  if (ok) *ok = sent != 0;
  return static_cast<LRESULT>(result);
}

struct TopWindows {
  DWORD processId;
  std::vector<HWND> windows;
};

BOOL CALLBACK CollectTopWindow(HWND window, LPARAM context) {
  auto* top = reinterpret_cast<TopWindows*>(context);
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  if (top->processId == 0 || processId == top->processId) top->windows.push_back(window);
  return TRUE;
}

// Top-level windows of one process (0: of every process).
std::vector<HWND> TopWindowsOf(DWORD processId) {
  TopWindows top{processId, {}};
  EnumWindows(CollectTopWindow, reinterpret_cast<LPARAM>(&top));
  return top.windows;
}

bool IsFileDialog(HWND window) {
  // The explorer-style dialog's file name box (cmb13) or its older edit (edt1).
  return GetDlgItem(window, 0x47c) != nullptr || GetDlgItem(window, 0x480) != nullptr;
}

BoxWindow Describe(HWND window) {
  BoxWindow box;
  box.window = window;
  box.owner = GetWindow(window, GW_OWNER);
  box.caption = CaptionOf(window);
  for (HWND child : Children(window)) {
    if (!IsWindowVisible(child)) continue;
    std::string cls = ClassOf(child);
    if (cls == "Static") {
      std::string text = WindowText(child);
      if (text.empty()) continue;
      if (!box.text.empty()) box.text += "\n";
      box.text += text;
    } else if (cls == "Button") {
      box.buttons.push_back(GetDlgCtrlID(child));
    }
  }
  return box;
}

}  // namespace

std::string WindowText(HWND window) {
  if (!window) return std::string();
  bool ok = false;
  LRESULT length = Ask(window, WM_GETTEXTLENGTH, 0, 0, &ok);
  if (!ok || length <= 0) return std::string();
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  LRESULT got = Ask(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]), &ok);
  if (!ok) return std::string();
  text.resize(static_cast<std::size_t>(std::max<LRESULT>(0, std::min<LRESULT>(got, length))));
  return Narrow(text);
}

std::string ClassOf(HWND window) {
  char name[128] = {};
  GetClassNameA(window, name, sizeof(name));
  return name;
}

std::string CaptionOf(HWND window) {
  wchar_t text[512] = {};
  int length = GetWindowTextW(window, text, 512);
  return Narrow(std::wstring(text, static_cast<std::size_t>(std::max(length, 0))));
}

std::vector<HWND> Children(HWND parent) {
  std::vector<HWND> children;
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    children.push_back(child);
  }
  return children;
}

std::vector<std::string> ComboItems(HWND combo) {
  std::vector<std::string> items;
  LRESULT count = Ask(combo, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    LRESULT length = Ask(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
    if (length < 0) length = 0;
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    LRESULT got = Ask(combo, CB_GETLBTEXT, static_cast<WPARAM>(i),
                      reinterpret_cast<LPARAM>(&text[0]));
    text.resize(static_cast<std::size_t>(std::max<LRESULT>(0, std::min(got, length))));
    items.push_back(Narrow(text));
  }
  return items;
}

void TypeText(HWND control, const std::string& cp1252) {
  for (wchar_t c : Wide(cp1252)) PostMessageW(control, WM_CHAR, c, 1);
}

void ClickButton(HWND button) { PostMessageW(button, BM_CLICK, 0, 0); }

App::~App() {
  Kill();
  if (probeHook_) UnhookWindowsHookEx(probeHook_);
  if (markerHook_) UnhookWindowsHookEx(markerHook_);
  if (probeModule_) FreeLibrary(probeModule_);
  if (shared_) UnmapViewOfFile(shared_);
  if (sharedMemory_) CloseHandle(sharedMemory_);
}

bool App::Start(const std::string& exe, const std::vector<std::string>& arguments,
                const std::string& probeDll, std::string* error) {
  std::string commandLine = "\"" + exe + "\"";
  for (const std::string& argument : arguments) commandLine += " \"" + argument + "\"";
  return Launch(commandLine, std::string(), true, probeDll, error);
}

bool App::StartThrough(const std::string& commandLine, const std::string& directory,
                       const std::string& probeDll, std::string* error) {
  return Launch(commandLine, directory, false, probeDll, error);
}

bool App::Launch(const std::string& commandLine, const std::string& directory, bool ownProcess,
                 const std::string& probeDll, std::string* error) {
  std::vector<char> line(commandLine.begin(), commandLine.end());
  line.push_back('\0');

  STARTUPINFOA startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info = {};
  BOOL started = CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                directory.empty() ? nullptr : directory.c_str(), &startup, &info);
  if (!started) {
    *error = "cannot start " + commandLine + " (error " + std::to_string(GetLastError()) + ")";
    return false;
  }
  CloseHandle(info.hThread);
  HANDLE starter = info.hProcess;

  // The dialog window exists from WM_INITDIALOG on; it becomes visible only
  // afterwards, and a message box of the start may come first. A starter's
  // dialog belongs to a process of its own.
  DWORD start = GetTickCount();
  while (!dialog_ && GetTickCount() - start < kWaitMs) {
    for (HWND window : TopWindowsOf(ownProcess ? info.dwProcessId : 0)) {
      if (ClassOf(window) == "#32770" && CaptionOf(window) == "ZUVO Startup Tool") {
        dialog_ = window;
      }
    }
    if (!dialog_) {
      if (ownProcess && WaitForSingleObject(starter, 0) == WAIT_OBJECT_0) break;
      Sleep(20);
    }
  }
  if (!dialog_) {
    CloseHandle(starter);
    *error = "no dialog \"ZUVO Startup Tool\" appeared";
    return false;
  }
  if (ownProcess) {
    process_ = starter;
    processId_ = info.dwProcessId;
  } else {
    CloseHandle(starter);
    GetWindowThreadProcessId(dialog_, &processId_);
    process_ = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE | PROCESS_QUERY_INFORMATION, FALSE,
                           processId_);
    if (!process_) {
      *error = "cannot open the dialog's process";
      return false;
    }
  }
  return HookProbe(probeDll, error);
}

bool App::HookProbe(const std::string& probeDll, std::string* error) {
  std::string name = dialog_probe::SharedMemoryName(processId_);
  sharedMemory_ = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                     sizeof(dialog_probe::ProbeReport), name.c_str());
  if (sharedMemory_) {
    shared_ = static_cast<dialog_probe::ProbeReport*>(
        MapViewOfFile(sharedMemory_, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(dialog_probe::ProbeReport)));
  }
  if (!shared_) {
    *error = "cannot create the shared memory of the probe";
    return false;
  }
  std::memset(shared_, 0, sizeof(*shared_));
  probeModule_ = LoadLibraryA(probeDll.c_str());
  if (!probeModule_) {
    *error = "cannot load the probe " + probeDll;
    return false;
  }
  auto probeHook = reinterpret_cast<HOOKPROC>(
      reinterpret_cast<void*>(GetProcAddress(probeModule_, dialog_probe::kProbeHookName)));
  auto markerHook = reinterpret_cast<HOOKPROC>(
      reinterpret_cast<void*>(GetProcAddress(probeModule_, dialog_probe::kMarkerHookName)));
  DWORD thread = GetWindowThreadProcessId(dialog_, nullptr);
  if (probeHook) probeHook_ = SetWindowsHookExA(WH_CALLWNDPROC, probeHook, probeModule_, thread);
  if (markerHook) markerHook_ = SetWindowsHookExA(WH_GETMESSAGE, markerHook, probeModule_, thread);
  if (!probeHook_ || !markerHook_) {
    *error = "cannot hook the probe into the dialog";
    return false;
  }
  return true;
}

bool App::Settle() {
  if (!shared_) return false;
  static const UINT marker = RegisterWindowMessageA(dialog_probe::kMarkerMessage);
  long number = ++lastMarker_;
  PostMessageA(dialog_, marker, static_cast<WPARAM>(number), 0);
  DWORD start = GetTickCount();
  while (shared_->markerSeen < number) {
    if (GetTickCount() - start > kWaitMs) return false;
    if (WaitForSingleObject(process_, 0) == WAIT_OBJECT_0) return false;
    Sleep(10);
  }
  return true;
}

bool App::Probe(dialog_probe::ProbeReport* report) {
  if (!shared_) return false;
  static const UINT probe = RegisterWindowMessageA(dialog_probe::kProbeMessage);
  long number = ++lastProbe_;
  bool sent = false;
  Ask(dialog_, probe, static_cast<WPARAM>(number), 0, &sent);
  if (!sent || shared_->done != number) return false;
  MemoryBarrier();
  *report = *shared_;
  return true;
}

bool App::WaitForBox(bool fileDialog, BoxWindow* box, DWORD timeoutMs) {
  DWORD start = GetTickCount();
  for (;;) {
    for (HWND window : TopWindowsOf(processId_)) {
      if (window == dialog_ || !IsWindowVisible(window) || ClassOf(window) != "#32770") continue;
      // A box may show before its controls are made; once the program takes
      // a marker from its queue, the box's own message loop runs.
      if (!Settle()) return false;
      if (!IsWindow(window) || !IsWindowVisible(window)) continue;
      if (IsFileDialog(window) != fileDialog) continue;
      *box = Describe(window);
      return true;
    }
    if (GetTickCount() - start > timeoutMs) return false;
    if (WaitForSingleObject(process_, 0) == WAIT_OBJECT_0) return false;
    Sleep(20);
  }
}

bool App::NoBoxOpen() const {
  for (HWND window : TopWindowsOf(processId_)) {
    if (window != dialog_ && IsWindowVisible(window) && ClassOf(window) == "#32770") return false;
  }
  return true;
}

bool App::WaitForExit(DWORD timeoutMs, DWORD* exitCode) {
  if (!process_) return false;
  if (WaitForSingleObject(process_, timeoutMs) != WAIT_OBJECT_0) return false;
  DWORD code = 0;
  GetExitCodeProcess(process_, &code);
  if (exitCode) *exitCode = code;
  return true;
}

void App::Kill() {
  if (!process_) return;
  if (WaitForSingleObject(process_, 0) != WAIT_OBJECT_0) {
    TerminateProcess(process_, 1);
    WaitForSingleObject(process_, 5000);
  }
  CloseHandle(process_);
  process_ = nullptr;
}

bool AnswerBox(const BoxWindow& box, int buttonId) {
  HWND button = GetDlgItem(box.window, buttonId);
  if (!button) return false;
  ClickButton(button);
  DWORD start = GetTickCount();
  while (IsWindow(box.window) && IsWindowVisible(box.window)) {
    if (GetTickCount() - start > kWaitMs) return false;
    Sleep(10);
  }
  return true;
}

FileDialogState ReadFileDialog(HWND fileDialog) {
  FileDialogState state;
  state.folder = WindowText(GetDlgItem(fileDialog, 0x471));  // cmb2, "look in"
  HWND name = GetDlgItem(fileDialog, 0x47c);                 // cmb13
  if (!name) name = GetDlgItem(fileDialog, 0x480);           // edt1
  state.fileName = WindowText(name);
  HWND types = GetDlgItem(fileDialog, 0x470);  // cmb1, "files of type"
  state.filters = ComboItems(types);
  state.filter = WindowText(types);
  return state;
}

void ChooseInFileDialog(HWND fileDialog, const std::string& name) {
  HWND field = GetDlgItem(fileDialog, 0x47c);
  if (!field) field = GetDlgItem(fileDialog, 0x480);
  // The text goes into the edit inside the (extended) combo box.
  for (int depth = 0; depth < 2 && field && ClassOf(field) != "Edit"; ++depth) {
    HWND inner = GetWindow(field, GW_CHILD);
    if (!inner) break;
    field = inner;
  }
  std::wstring wide = Wide(name);
  Ask(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str()));
  ClickButton(GetDlgItem(fileDialog, IDOK));
}

bool SaveWindowPicture(HWND window, const std::string& path, std::string* error) {
  RECT r;
  if (!GetWindowRect(window, &r) || r.right <= r.left || r.bottom <= r.top) {
    *error = "the window has no area";
    return false;
  }
  int width = r.right - r.left;
  int height = r.bottom - r.top;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  bool copied = false;
  if (bitmap && bits) {
    HGDIOBJ old = SelectObject(memory, bitmap);
    copied = BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY) != FALSE;
    GdiFlush();
    SelectObject(memory, old);
  }
  bool written = false;
  if (copied) {
    DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
    DWORD imageSize = stride * static_cast<DWORD>(height);
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof(file) + sizeof(info.bmiHeader);
    file.bfSize = file.bfOffBits + imageSize;
    info.bmiHeader.biSizeImage = imageSize;
    HANDLE out = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (out != INVALID_HANDLE_VALUE) {
      DWORD done = 0;
      written = WriteFile(out, &file, sizeof(file), &done, nullptr) && done == sizeof(file) &&
                WriteFile(out, &info.bmiHeader, sizeof(info.bmiHeader), &done, nullptr) &&
                done == sizeof(info.bmiHeader) &&
                WriteFile(out, bits, imageSize, &done, nullptr) && done == imageSize;
      written = CloseHandle(out) && written;
    }
  }
  if (bitmap) DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  if (!copied) *error = "the screen could not be copied";
  if (copied && !written) *error = "cannot write " + path;
  return copied && written;
}

}  // namespace dialog_driver
