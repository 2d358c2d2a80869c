// Works StartZUVO.exe from another process as a person would: finds its
// windows, reads control texts, clicks buttons (sent without waiting, so that
// a modal box a click opens never blocks the driver), answers boxes. Texts
// are code page 1252, wine's ANSI code page here. Every wait polls with a
// time limit.
#pragma once

#include <windows.h>

#include <string>

namespace dialog_driver {

const DWORD kWaitMs = 20000;

template <class Done>
bool WaitUntil(Done done, DWORD timeoutMs = kWaitMs) {
  for (DWORD start = GetTickCount(); !done(); Sleep(10)) {
    if (GetTickCount() - start > timeoutMs) return false;
  }
  return true;
}

std::string WindowText(HWND window);  // WM_GETTEXT, with a time limit
// Waits until the thread of `window` takes sent messages again (in a modal loop too).
bool Settled(HWND window);
// Clicks a button of a box and waits until the box is gone.
bool AnswerBox(HWND box, int buttonId);
// Types a name into a file dialog's file name field and confirms.
void ChooseInFileDialog(HWND fileDialog, const std::string& name);
// A 24-bit BMP of the window with its frame, in the folder ZUVO_DIALOG_SHOTS.
bool SaveWindowPicture(HWND window, const std::string& name);

// One running StartZUVO.exe, ended at the latest with the object.
class App {
 public:
  App() = default;
  ~App();
  App(const App&) = delete;
  App& operator=(const App&) = delete;

  // Runs `commandLine` and waits until the dialog shows.
  bool Start(const std::string& commandLine);
  HWND dialog() const { return dialog_; }
  HWND Control(int id) const { return GetDlgItem(dialog_, id); }
  std::string Text(int id) const { return WindowText(Control(id)); }
  // Clicks a button and waits until its command is done or waits for input
  // in a box that it opened.
  bool Click(int id) const;
  // A visible box other than the dialog (a file dialog or not) once it
  // waits for input; null after the time limit.
  HWND WaitForBox(bool fileDialog) const;
  bool NoBoxOpen() const { return OpenBox(false) == nullptr && OpenBox(true) == nullptr; }
  bool WaitForExit(DWORD* exitCode) const;

 private:
  HWND OpenBox(bool fileDialog) const;

  HANDLE process_ = nullptr;
  DWORD processId_ = 0;
  HWND dialog_ = nullptr;
};

}  // namespace dialog_driver
