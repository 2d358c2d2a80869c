// zuvo resave LAYOUT and zuvo dump LAYOUT.
#pragma once

#include "ui/console/commands.h"

namespace CLI {
class App;
}

namespace console {

// Load the layout file, then save it over the same file.
void AddResaveCommand(CLI::App& app, CommandList* commands);
// Load the layout file and print it as JSON on standard output.
void AddDumpCommand(CLI::App& app, CommandList* commands);

}  // namespace console
