// zuvo map LAYOUT [-o|--output FILE]: the layout drawn as an SVG file, or
// on standard output for "-o -".
#pragma once

#include "ui/console/commands.h"

namespace CLI {
class App;
}

namespace console {

// Load the layout file and save its map beside it as <name>.svg, or as the
// file that -o names; print the path. "-o -" prints the map itself.
void AddMapCommand(CLI::App& app, CommandList* commands);

}  // namespace console
