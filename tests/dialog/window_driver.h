// Works StartZUVO.exe from another process as a person would: finds its
// windows, reads control texts and states, clicks buttons, types, answers
// message boxes and file dialogs. Everything goes through window messages
// (posted clicks, so a modal box that a click opens never blocks the driver);
// texts are code page 1252.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "dialog_probe.h"

namespace dialog_driver {

// How long the driver waits for a window or for the dialog to finish a command.
const DWORD kWaitMs = 20000;

// The window's text through WM_GETTEXT (wide, converted to code page 1252).
std::string WindowText(HWND window);
std::string ClassOf(HWND window);
// A top-level window's caption as the system keeps it (sends no message, so
// it also works while the window's thread is busy).
std::string CaptionOf(HWND window);
// Child windows in Z order (the tab order of a dialog's controls).
std::vector<HWND> Children(HWND parent);
// Entries of a list of a combo box, in list order.
std::vector<std::string> ComboItems(HWND combo);
// Puts text into a control as typed characters (WM_CHAR, posted).
void TypeText(HWND control, const std::string& cp1252);
// Clicks a button (BM_CLICK, posted).
void ClickButton(HWND button);

// A top-level window of StartZUVO.exe other than the main dialog.
struct BoxWindow {
  HWND window = nullptr;
  HWND owner = nullptr;
  std::string caption;
  std::string text;  // the texts of its static controls, joined by newlines
  std::vector<int> buttons;  // ids of its visible buttons
};

// One running StartZUVO.exe.
class App {
 public:
  App() = default;
  ~App();  // ends the program if it still runs
  App(const App&) = delete;
  App& operator=(const App&) = delete;

  // Starts `exe` with the arguments (each quoted), waits for the main dialog
  // and hooks the probe DLL `probeDll` into it (see dialog_probe.h).
  bool Start(const std::string& exe, const std::vector<std::string>& arguments,
             const std::string& probeDll, std::string* error);
  // Runs a command line (a starter such as the Linux launcher, in `directory`)
  // that starts StartZUVO.exe as a process of its own, and attaches to the
  // dialog that appears.
  bool StartThrough(const std::string& commandLine, const std::string& directory,
                    const std::string& probeDll, std::string* error);

  HWND dialog() const { return dialog_; }
  DWORD processId() const { return processId_; }
  HWND Control(int id) const { return GetDlgItem(dialog_, id); }
  std::string Text(int id) const { return WindowText(Control(id)); }
  bool Enabled(int id) const { return IsWindowEnabled(Control(id)) != FALSE; }
  void Click(int id) const { ClickButton(Control(id)); }

  // Waits until the dialog's thread has worked off everything posted to it
  // so far and waits for input again: in the dialog, or in a modal box that a
  // command opened. False when it did not within kWaitMs.
  bool Settle();

  // Waits for a visible top-level window of the program that is not the main
  // dialog and whose class is "#32770": a message box, the about box or a file
  // dialog. `fileDialog` selects file dialogs (or excludes them).
  // The box is described once it waits for input (its controls all made).
  bool WaitForBox(bool fileDialog, BoxWindow* box, DWORD timeoutMs = kWaitMs);
  // True when no such window is open.
  bool NoBoxOpen() const;

  // The probe's report on the live dialog (see dialog_probe.h).
  bool Probe(dialog_probe::ProbeReport* report);

  // Waits for the program's end; its exit code goes to *exitCode.
  bool WaitForExit(DWORD timeoutMs, DWORD* exitCode = nullptr);
  void Kill();

 private:
  bool Launch(const std::string& commandLine, const std::string& directory, bool ownProcess,
              const std::string& probeDll, std::string* error);
  bool HookProbe(const std::string& probeDll, std::string* error);

  HANDLE process_ = nullptr;
  DWORD processId_ = 0;
  HWND dialog_ = nullptr;
  HANDLE sharedMemory_ = nullptr;
  dialog_probe::ProbeReport* shared_ = nullptr;
  HMODULE probeModule_ = nullptr;
  HHOOK probeHook_ = nullptr;
  HHOOK markerHook_ = nullptr;
  long lastMarker_ = 0;
  long lastProbe_ = 0;
};

// Clicks one button of a box by its id (IDOK, IDYES, IDNO, IDCANCEL) and
// waits until the box is gone. False when it stays.
bool AnswerBox(const BoxWindow& box, int buttonId);

// The explorer-style file-open dialog.
struct FileDialogState {
  std::string folder;    // the "look in" box: the name of the folder shown
  std::string fileName;  // the file name field
  std::vector<std::string> filters;  // names in the "files of type" list
  std::string filter;                // the selected one
};
FileDialogState ReadFileDialog(HWND fileDialog);
// Types a name into the file name field and confirms ("Open").
void ChooseInFileDialog(HWND fileDialog, const std::string& name);

// Saves a screen capture of the window (with its frame) as a 24-bit BMP file.
bool SaveWindowPicture(HWND window, const std::string& path, std::string* error);

}  // namespace dialog_driver
