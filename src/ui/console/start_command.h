// zuvo start LAYOUT [--camera-set NAME] [--buffer-stop FILE] [--catenary FILE]
//                   [--guide-post FILE] [--ground-texture FILE]
// Each FILE is a file name of its kind folder (see choice_files.h).
#pragma once

#include "ui/console/commands.h"

namespace CLI {
class App;
}

namespace console {

// Loads the layout as the dialog does at start, sets the members named by the
// options (an option not given keeps what the load read from section "Zuvo";
// an option given empty clears its member), then runs "Starte ZUVO".
void AddStartCommand(CLI::App& app, CommandList* commands);

}  // namespace console
