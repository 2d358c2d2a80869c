// StartZUVO.exe: the dialog window of the tool. The program is the main
// dialog: it runs modally and the program ends when it closes.

#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "host/messages.h"
#include "host/wording.h"
#include "platform/platform.h"
#include "ui/win32/startup_window.h"

namespace {

// Messages of failed operations: a box without owner, with an empty caption
// and only OK. It is task-modal, so the dialog cannot start another command
// while a failing one waits for the user to read its message.
void ShowMessageBox(const host::Reason& reason, void*) {
  MessageBoxA(nullptr, host::Wording(reason).c_str(), "", MB_OK | MB_TASKMODAL);
}

// The arguments after the program name, as Windows paths. A first argument
// that is not a usable path is reported; the dialog then starts empty.
std::vector<std::string> Arguments() {
  std::vector<std::string> arguments;
  for (int i = 1; i < __argc && __argv; ++i) arguments.push_back(__argv[i] ? __argv[i] : "");
  if (arguments.empty()) return arguments;
  std::string windows;
  std::string error;
  if (!platform::ToWindowsPath(arguments[0], &windows, &error)) {
    host::Report(host::Why::kPathProblem, error);
    return std::vector<std::string>();
  }
  arguments[0] = windows;
  return arguments;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  host::SetMessageSink(ShowMessageBox, nullptr);
  ui_win32::RunStartupWindow(instance, Arguments(), host::FindInstallation());
  return 0;
}
