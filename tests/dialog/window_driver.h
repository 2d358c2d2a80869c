// Works StartZUVO.exe from another process as a person would: finds its
// windows, reads control texts and states, clicks buttons, types, answers
// message boxes and file dialogs. Everything goes through window messages
// (posted clicks, so a modal box that a click opens never blocks the driver);
// texts are code page 1252. DialogTest is the frame of every scenario: a fresh
// test installation and a named step that every failure reports.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "dialog_probe.h"

namespace dialog_driver {

// How long the driver waits for a window or for the dialog to finish a command.
const DWORD kWaitMs = 20000;

// Polls `done` until it holds; false when it did not within `timeoutMs`.
template <class Done>
bool WaitUntil(Done done, DWORD timeoutMs = kWaitMs) {
  for (DWORD start = GetTickCount(); !done(); Sleep(10)) {
    if (GetTickCount() - start > timeoutMs) return false;
  }
  return true;
}

// SendMessage with a time limit, so a hanging program fails the test instead
// of hanging the driver. Texts are code page 1252, wine's ANSI code page here,
// as for the paths of the test installation.
LRESULT Ask(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Top-level windows of a class, of one process (0: of every process).
std::vector<HWND> TopWindows(const char* cls, DWORD processId);
std::string WindowText(HWND window);  // WM_GETTEXT
std::string ClassOf(HWND window);
std::vector<HWND> Children(HWND parent);  // in Z order: a dialog's tab order
std::vector<std::string> ComboItems(HWND combo);
std::string Joined(const std::vector<std::string>& items);  // "a|b"
void TypeText(HWND control, const std::string& cp1252);    // posted WM_CHARs

// A top-level "#32770" window of StartZUVO.exe other than the main dialog: a
// message box, the about box or a file dialog.
struct BoxWindow {
  HWND window = nullptr;
  HWND owner = nullptr;
  std::string caption;
  std::string text;          // the texts of its static controls, joined by newlines
  std::vector<int> buttons;  // ids of its visible buttons
};

// One running StartZUVO.exe.
class App {
 public:
  App() = default;
  ~App();  // ends the program if it still runs
  App(const App&) = delete;
  App& operator=(const App&) = delete;

  // Runs `commandLine` in `directory` and waits for the dialog: of that
  // process (`ownProcess`) or of any (a starter such as the Linux launcher
  // starts StartZUVO.exe as a process of its own). Then hooks the probe DLL
  // into the dialog (see dialog_probe.h).
  bool Start(const std::string& commandLine, const std::string& directory, bool ownProcess,
             std::string* error);

  HWND dialog() const { return dialog_; }
  DWORD processId() const { return processId_; }
  HWND Control(int id) const { return GetDlgItem(dialog_, id); }
  std::string Text(int id) const { return WindowText(Control(id)); }
  bool Enabled(int id) const { return IsWindowEnabled(Control(id)) != FALSE; }
  void Click(int id) const { PostMessageA(Control(id), BM_CLICK, 0, 0); }

  // Waits until the dialog's thread has worked off everything posted to it
  // so far and waits for input again, in the dialog or in a modal box that a
  // command opened, and until the dialog or that box shows.
  bool Settle();
  // Waits for a box (see BoxWindow), a file dialog or not, and describes it
  // once it waits for input (its controls all made).
  bool WaitForBox(bool fileDialog, BoxWindow* box);
  bool NoBoxOpen() const;
  // The probe's report on the live dialog.
  bool Probe(dialog_probe::ProbeReport* report);
  bool WaitForExit(DWORD timeoutMs, DWORD* exitCode = nullptr);

 private:
  bool HookProbe(std::string* error);

  HANDLE process_ = nullptr;
  DWORD processId_ = 0;
  HWND dialog_ = nullptr;
  HANDLE sharedMemory_ = nullptr;
  dialog_probe::ProbeReport* shared_ = nullptr;
  HMODULE probeModule_ = nullptr;
  HHOOK hooks_[2] = {};
  long lastMarker_ = 0;
  long lastProbe_ = 0;
};

// Clicks one button of a box by its id and waits until the box is gone.
bool AnswerBox(const BoxWindow& box, int buttonId);

// The explorer-style file-open dialog.
struct FileDialogState {
  std::string folder;    // the "look in" box: the name of the folder shown
  std::string fileName;  // the file name field
  std::string filters;   // the "files of type" list, joined
  std::string filter;    // the selected one
};
FileDialogState ReadFileDialog(HWND fileDialog);
// Types a name into the file name field and confirms ("Open").
void ChooseInFileDialog(HWND fileDialog, const std::string& name);

// Saves a screen capture of the window (with its frame) as a 24-bit BMP file
// `name` in the folder ZUVO_DIALOG_SHOTS (else the current one).
bool SaveWindowPicture(HWND window, const std::string& name);

std::string ReadBytes(const std::string& path);  // empty when it cannot be read
bool WriteBytes(const std::string& path, const std::string& bytes);
std::vector<std::string> ListFolder(const std::string& path);  // sorted
// The companion file of Berg.anl in the test installation.
std::string BergSettings();

// The simulator's installation, made fresh for every scenario in the folder
// that the registry names (ZUVO_DIALOG_HOST):
//   Kantrelwick.exe            the stand-in simulator
//   Mods\Prellbock.mod ...     the active assets; Parallels\Tex256_256a.bmp
//   Prellbock\Rot.mod, Blau.mod; Oberleitung\Kette.mod; Leitpfosten\Weiss.mod;
//   Bodentextur\Sand.bmp       the alternatives in the four kind folders
//   Modelle\Haus.mod, GBOs\Bahnhof.gbo, Rollmaterial\Wagen.rm   present objects
//   Anlagen\Berg.anl/.danl     tracks with GBOs Bahnhof (present) and Stellwerk
//                              (missing), models Haus and Scheune (missing),
//                              units Wagen.rm and Lok.rm (missing); camera sets
//                              Nord and S\xFCd, choices Rot.mod and Kette.mod,
//                              the terrain Huegel (4 x 4 pixels, 2 x 2 tiles)
//   Anlagen\T\xE4ler.anl/.danl a second layout with the camera set Tal
class DialogTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override { step_.reset(); }

  // Names the step that the following checks belong to; a failure shows it.
  void Step(const std::string& name);
  // A Windows path inside the installation.
  std::string Path(const std::string& relative) const { return host_ + "\\" + relative; }

  // Starts StartZUVO.exe with `arguments` and waits until its dialog settles.
  ::testing::AssertionResult Start(const std::vector<std::string>& arguments);
  // Clicks "Fertig" and waits for the program's end with exit code 0.
  ::testing::AssertionResult Finish();

  std::string host_;
  App app_;

 private:
  std::unique_ptr<::testing::ScopedTrace> step_;
};

}  // namespace dialog_driver
