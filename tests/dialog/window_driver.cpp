#include "window_driver.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "layout/layout_bytes.h"
#include "platform/platform.h"

namespace dialog_driver {
namespace {

// The explorer-style dialog's file name box (cmb13) or its older edit (edt1).
HWND FileNameField(HWND fileDialog) {
  HWND field = GetDlgItem(fileDialog, 0x47c);
  return field ? field : GetDlgItem(fileDialog, 0x480);
}

bool Alive(HANDLE process) { return WaitForSingleObject(process, 0) == WAIT_TIMEOUT; }

// A top-level window's caption as the system keeps it (sends no message, so
// it also works while the window's thread is busy).
std::string CaptionOf(HWND window) {
  char text[512] = {};
  GetWindowTextA(window, text, sizeof(text));
  return text;
}

void ClickButton(HWND button) { PostMessageA(button, BM_CLICK, 0, 0); }

}  // namespace

LRESULT Ask(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  DWORD_PTR result = 0;
  SendMessageTimeoutA(window, message, wParam, lParam, SMTO_NORMAL, kWaitMs, &result);
  return static_cast<LRESULT>(result);
}

std::vector<HWND> TopWindows(const char* cls, DWORD processId) {
  std::vector<HWND> found;
  DWORD owner = 0;
  for (HWND w = FindWindowExA(nullptr, nullptr, cls, nullptr); w;
       w = FindWindowExA(nullptr, w, cls, nullptr)) {
    if (!processId || (GetWindowThreadProcessId(w, &owner) && owner == processId)) {
      found.push_back(w);
    }
  }
  return found;
}

std::string WindowText(HWND window) {
  char text[1024] = {};
  if (window) Ask(window, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text));
  return text;
}

std::string ClassOf(HWND window) {
  char name[128] = {};
  GetClassNameA(window, name, sizeof(name));
  return name;
}

std::vector<HWND> Children(HWND parent) {
  std::vector<HWND> children;
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    children.push_back(child);
  }
  return children;
}

std::vector<std::string> ComboItems(HWND combo) {
  // Wine hands the list texts to another process only as wide texts.
  std::vector<std::string> items;
  for (LRESULT i = 0, count = Ask(combo, CB_GETCOUNT, 0, 0); i < count; ++i) {
    wchar_t wide[512] = {};
    char text[1024] = {};
    SendMessageTimeoutW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i),
                        reinterpret_cast<LPARAM>(wide), SMTO_NORMAL, kWaitMs, nullptr);
    WideCharToMultiByte(1252, 0, wide, -1, text, sizeof(text) - 1, nullptr, nullptr);
    items.push_back(text);
  }
  return items;
}

std::string Joined(const std::vector<std::string>& items) {
  std::string text;
  for (const std::string& item : items) text += (text.empty() ? "" : "|") + item;
  return text;
}

void TypeText(HWND control, const std::string& cp1252) {
  for (char c : cp1252) PostMessageA(control, WM_CHAR, static_cast<unsigned char>(c), 1);
}

App::~App() {
  if (process_ && Alive(process_)) {
    TerminateProcess(process_, 1);
    WaitForSingleObject(process_, 5000);
  }
  if (process_) CloseHandle(process_);
  for (HHOOK hook : hooks_) {
    if (hook) UnhookWindowsHookEx(hook);
  }
  if (probeModule_) FreeLibrary(probeModule_);
  if (shared_) UnmapViewOfFile(shared_);
  if (sharedMemory_) CloseHandle(sharedMemory_);
}

bool App::Start(const std::string& commandLine, const std::string& directory, bool ownProcess,
                std::string* error) {
  std::vector<char> line(commandLine.begin(), commandLine.end());
  line.push_back('\0');
  STARTUPINFOA startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info = {};
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      directory.empty() ? nullptr : directory.c_str(), &startup, &info)) {
    *error = "cannot start " + commandLine + " (error " + std::to_string(GetLastError()) + ")";
    return false;
  }
  CloseHandle(info.hThread);
  process_ = info.hProcess;
  // The dialog window exists from WM_INITDIALOG on; it becomes visible only
  // afterwards, and a message box of the start may come first.
  WaitUntil([&] {
    for (HWND window : TopWindows("#32770", ownProcess ? info.dwProcessId : 0)) {
      if (CaptionOf(window) == "ZUVO Startup Tool") dialog_ = window;
    }
    return dialog_ || (ownProcess && !Alive(process_));
  });
  if (!dialog_) {
    *error = "no dialog \"ZUVO Startup Tool\" appeared";
    return false;
  }
  GetWindowThreadProcessId(dialog_, &processId_);
  if (!ownProcess) {
    CloseHandle(process_);
    process_ = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE | PROCESS_QUERY_INFORMATION, FALSE,
                           processId_);
  }
  return HookProbe(error);
}

bool App::HookProbe(std::string* error) {
  std::string name = dialog_probe::SharedMemoryName(processId_);
  sharedMemory_ = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                     sizeof(dialog_probe::ProbeReport), name.c_str());
  if (sharedMemory_) {
    shared_ = static_cast<dialog_probe::ProbeReport*>(
        MapViewOfFile(sharedMemory_, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(dialog_probe::ProbeReport)));
  }
  if (!shared_ || !process_) {
    *error = "cannot open the dialog's process or the probe's shared memory";
    return false;
  }
  std::memset(shared_, 0, sizeof(*shared_));
  probeModule_ = LoadLibraryA(ZUVO_DIALOG_PROBE);
  DWORD thread = GetWindowThreadProcessId(dialog_, nullptr);
  const int kinds[2] = {WH_CALLWNDPROC, WH_GETMESSAGE};
  const char* names[2] = {dialog_probe::kProbeHookName, dialog_probe::kMarkerHookName};
  for (int i = 0; i < 2 && probeModule_; ++i) {
    auto hook = reinterpret_cast<HOOKPROC>(
        reinterpret_cast<void*>(GetProcAddress(probeModule_, names[i])));
    if (hook) hooks_[i] = SetWindowsHookExA(kinds[i], hook, probeModule_, thread);
  }
  if (!hooks_[0] || !hooks_[1]) {
    *error = std::string("cannot hook the probe ") + ZUVO_DIALOG_PROBE + " into the dialog";
    return false;
  }
  return true;
}

bool App::Settle() {
  if (!shared_) return false;
  static const UINT marker = RegisterWindowMessageA(dialog_probe::kMarkerMessage);
  long number = ++lastMarker_;
  PostMessageA(dialog_, marker, static_cast<WPARAM>(number), 0);
  // A modal dialog shows itself only when its queue first runs empty, which
  // may come after it took the marker (after a message box of the start):
  // the dialog or a box must show too.
  return WaitUntil([&] {
    return !Alive(process_) ||
           (shared_->markerSeen >= number && (IsWindowVisible(dialog_) || !NoBoxOpen()));
  }) && Alive(process_);
}

bool App::Probe(dialog_probe::ProbeReport* report) {
  static const UINT probe = RegisterWindowMessageA(dialog_probe::kProbeMessage);
  long number = ++lastProbe_;
  if (!shared_) return false;
  Ask(dialog_, probe, static_cast<WPARAM>(number), 0);
  if (shared_->done != number) return false;
  MemoryBarrier();
  *report = *shared_;
  return true;
}

bool App::WaitForBox(bool fileDialog, BoxWindow* box) {
  HWND found = nullptr;
  bool settled = true;
  WaitUntil([&] {
    for (HWND window : TopWindows("#32770", processId_)) {
      if (window == dialog_ || !IsWindowVisible(window)) continue;
      // A box may show before its controls are made; once the program takes
      // a marker from its queue, the box's own message loop runs.
      settled = Settle();
      bool isFileDialog = FileNameField(window) != nullptr;
      if (IsWindowVisible(window) && isFileDialog == fileDialog) found = window;
    }
    return found || !settled || !Alive(process_);
  });
  if (!found) return false;
  *box = BoxWindow();
  box->window = found;
  box->owner = GetWindow(found, GW_OWNER);
  box->caption = CaptionOf(found);
  for (HWND child : Children(found)) {
    if (!IsWindowVisible(child)) continue;
    std::string cls = ClassOf(child), text = WindowText(child);
    if (cls == "Static" && !text.empty()) box->text += (box->text.empty() ? "" : "\n") + text;
    if (cls == "Button") box->buttons.push_back(GetDlgCtrlID(child));
  }
  return true;
}

bool App::NoBoxOpen() const {
  for (HWND window : TopWindows("#32770", processId_)) {
    if (window != dialog_ && IsWindowVisible(window)) return false;
  }
  return true;
}

bool App::WaitForExit(DWORD timeoutMs, DWORD* exitCode) {
  if (!process_ || WaitForSingleObject(process_, timeoutMs) != WAIT_OBJECT_0) return false;
  DWORD code = 0;
  GetExitCodeProcess(process_, &code);
  if (exitCode) *exitCode = code;
  return true;
}

bool AnswerBox(const BoxWindow& box, int buttonId) {
  HWND button = GetDlgItem(box.window, buttonId);
  if (button) ClickButton(button);
  return button && WaitUntil([&] { return !IsWindow(box.window) || !IsWindowVisible(box.window); });
}

FileDialogState ReadFileDialog(HWND fileDialog) {
  HWND types = GetDlgItem(fileDialog, 0x470);  // cmb1, "files of type"
  return {WindowText(GetDlgItem(fileDialog, 0x471)),  // cmb2, "look in"
          WindowText(FileNameField(fileDialog)), Joined(ComboItems(types)), WindowText(types)};
}

void ChooseInFileDialog(HWND fileDialog, const std::string& name) {
  // The text goes into the edit inside the (extended) combo box.
  HWND field = FileNameField(fileDialog);
  for (int depth = 0; depth < 2 && field && ClassOf(field) != "Edit"; ++depth) {
    if (HWND inner = GetWindow(field, GW_CHILD)) field = inner;
  }
  Ask(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name.c_str()));
  ClickButton(GetDlgItem(fileDialog, IDOK));
}

bool SaveWindowPicture(HWND window, const std::string& name) {
  RECT r;
  if (!GetWindowRect(window, &r)) return false;
  LONG width = r.right - r.left, height = r.bottom - r.top;
  BITMAPINFOHEADER head = {sizeof(head), width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  HDC screen = GetDC(nullptr), memory = CreateCompatibleDC(screen);
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&head), DIB_RGB_COLORS,
                                    &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  bool copied = bits && BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
  GdiFlush();
  SelectObject(memory, old);
  std::string bytes;
  if (copied) {
    DWORD size = static_cast<DWORD>((width * 3 + 3) & ~3) * static_cast<DWORD>(height);
    DWORD offset = sizeof(BITMAPFILEHEADER) + sizeof(head);
    BITMAPFILEHEADER file = {0x4D42 /* "BM" */, offset + size, 0, 0, offset};
    bytes.append(reinterpret_cast<const char*>(&file), sizeof(file));
    bytes.append(reinterpret_cast<const char*>(&head), sizeof(head));
    bytes.append(static_cast<const char*>(bits), size);
  }
  if (bitmap) DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  const char* folder = std::getenv("ZUVO_DIALOG_SHOTS");
  return copied && WriteBytes((folder && *folder ? folder : ".") + std::string("\\") + name, bytes);
}

std::string ReadBytes(const std::string& path) {
  std::string bytes;
  return platform::ReadWholeFile(path, &bytes) ? bytes : std::string();
}

bool WriteBytes(const std::string& path, const std::string& bytes) {
  return platform::ReplaceFile(path, bytes.data(), bytes.size()) == platform::SaveOutcome::kSaved;
}

std::vector<std::string> ListFolder(const std::string& path) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE find = FindFirstFileA((path + "\\*").c_str(), &found);
  for (BOOL more = find != INVALID_HANDLE_VALUE; more; more = FindNextFileA(find, &found)) {
    if (std::strcmp(found.cFileName, ".") && std::strcmp(found.cFileName, "..")) {
      names.push_back(found.cFileName);
    }
  }
  if (find != INVALID_HANDLE_VALUE) FindClose(find);
  std::sort(names.begin(), names.end());
  return names;
}

namespace {

bool RemoveTree(const std::string& path) {
  for (const std::string& name : ListFolder(path)) {
    std::string child = path + "\\" + name;
    if (platform::PathStatus(child) == platform::kPathDirectory) {
      RemoveTree(child);
    } else {
      SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
      DeleteFileA(child.c_str());
    }
  }
  return RemoveDirectoryA(path.c_str()) != FALSE;
}

// A 24-bit bitmap of 4 x 4 pixels (rows of 12 bytes, no padding).
std::string Bitmap(int seed) {
  layout_bytes::Bytes b;
  b.U8('B').U8('M').U32(54 + 48).U32(0).U32(54).U32(40).I32(4).I32(4).I16(1).I16(24).U32(0);
  b.U32(48).U32(2835).U32(2835).U32(0).U32(0);
  for (int i = 0; i < 48; ++i) b.U8((i * 37 + seed) & 0xFF);
  return b.data;
}

std::string BergLayout() {
  layout_bytes::Track plain, missing, present;
  missing.id = 2;
  missing.name = "Stellwerk";
  missing.type = 6;
  missing.gbo = "GBOs\\Stellwerk.gbo";
  missing.start[1] = missing.end[1] = 2000;
  present = missing;
  present.id = 3;
  present.name = "Bahnhof";
  present.gbo = "GBOs\\Bahnhof.gbo";
  present.start[1] = present.end[1] = 4000;
  layout_bytes::Model house, barn;
  barn.id = 2;
  barn.name = "Scheune";
  barn.pos[0] = 500;
  layout_bytes::Unit wagon, loco;
  loco.id = 2;
  loco.name = "Lok.rm";
  return layout_bytes::File({plain, missing, present}, {house, barn}, {wagon, loco});
}

}  // namespace

std::string BergSettings() {
  return "[Zuvo]\r\nKamSet=Nord\r\nPrellbock=Rot.mod\r\nOberleitung=Kette.mod\r\n"
         "[KamSet Nord]\r\nPX1=100\r\nPY1=200\r\n[KamSet S\xFC" "d]\r\nPX1=300\r\n"
         "[Terrain1]\r\nName=Huegel\r\nHoehe=hoehe.bmp\r\nFarbe=farbe.bmp\r\n"
         "Pixelgroesse=1\r\nKachelabstand=2\r\nKachelgroesse=4\r\n";
}

void DialogTest::SetUp() {
  Step("making the test installation");
  const char* host = std::getenv("ZUVO_DIALOG_HOST");
  host_ = host ? host : "";
  while (!host_.empty() && host_.back() == '\\') host_.pop_back();
  ASSERT_GE(host_.size(), 4u) << "ZUVO_DIALOG_HOST is not set; the test stage sets it together "
                                 "with the registry entry that names the installation";
  if (platform::PathStatus(host_) != platform::kPathNone) {
    ASSERT_TRUE(RemoveTree(host_)) << "cannot empty " << host_;
  }
  const std::pair<const char*, std::string> files[] = {
      {"Mods\\Prellbock.mod", "Prellbock original"},
      {"Mods\\Oberleitung.mod", "Oberleitung original"},
      {"Mods\\Leitpfosten.mod", "Leitpfosten original"},
      {"Parallels\\Tex256_256a.bmp", "Textur original"},
      {"Prellbock\\Rot.mod", "Prellbock rot"},
      {"Prellbock\\Blau.mod", "Prellbock blau"},
      {"Oberleitung\\Kette.mod", "Oberleitung Kette"},
      {"Leitpfosten\\Weiss.mod", "Leitpfosten weiss"},
      {"Bodentextur\\Sand.bmp", "Bodentextur Sand"},
      {"Modelle\\Haus.mod", "Haus"},
      {"GBOs\\Bahnhof.gbo", "Bahnhof"},
      {"Rollmaterial\\Wagen.rm", "Wagen"},
      {"Anlagen\\Berg.anl", BergLayout()},
      {"Anlagen\\Berg.danl", BergSettings()},
      {"Anlagen\\hoehe.bmp", Bitmap(10)},
      {"Anlagen\\farbe.bmp", Bitmap(90)},
      {"Anlagen\\T\xE4ler.anl", layout_bytes::File({layout_bytes::Track()}, {}, {})},
      {"Anlagen\\T\xE4ler.danl", "[KamSet Tal]\r\nPX1=1\r\n"},
  };
  platform::MakeDirectory(host_);
  for (const auto& file : files) {
    std::string path = Path(file.first);
    platform::MakeDirectory(path.substr(0, path.find_last_of('\\')));  // one level deep
    ASSERT_TRUE(WriteBytes(path, file.second)) << path;
  }
  ASSERT_TRUE(CopyFileA(ZUVO_FAKE_SIMULATOR, Path("Kantrelwick.exe").c_str(), FALSE))
      << ZUVO_FAKE_SIMULATOR;
}

void DialogTest::Step(const std::string& name) {
  step_.reset();
  step_.reset(new ::testing::ScopedTrace(__FILE__, __LINE__, "step: " + name));
}

::testing::AssertionResult DialogTest::Start(const std::vector<std::string>& arguments) {
  std::string commandLine = "\"" ZUVO_STARTZUVO_EXE "\"", error;
  for (const std::string& argument : arguments) commandLine += " \"" + argument + "\"";
  if (!app_.Start(commandLine, std::string(), true, &error)) {
    return ::testing::AssertionFailure() << error;
  }
  if (!app_.Settle()) return ::testing::AssertionFailure() << "the dialog does not settle";
  return ::testing::AssertionSuccess();
}

::testing::AssertionResult DialogTest::Finish() {
  app_.Click(IDOK);
  DWORD code = 0;
  if (!app_.WaitForExit(kWaitMs, &code)) {
    return ::testing::AssertionFailure() << "the program did not end after \"Fertig\"";
  }
  if (code != 0) return ::testing::AssertionFailure() << "exit code " << code;
  return ::testing::AssertionSuccess();
}

}  // namespace dialog_driver
