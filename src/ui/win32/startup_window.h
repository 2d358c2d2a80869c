// The main dialog window (template 102). A thin layer: each message goes to
// the StartupDialog handler or to the small window operations below; the
// logic of every button lives in app::StartupDialog.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "host/installation.h"

namespace ui_win32 {

// Runs the main dialog modally without a parent window. `arguments` are the
// command-line arguments after the program name, as Windows paths; the first
// names the layout loaded at start. Returns when the dialog was closed.
void RunStartupWindow(HINSTANCE instance, const std::vector<std::string>& arguments,
                      const host::Installation& installation);

}  // namespace ui_win32
