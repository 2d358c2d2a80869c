// Every command of zuvo, added to the parser in the order of its help text.
#pragma once

namespace CLI {
class App;
}

namespace console {

void AddAllCommands(CLI::App& app);

}  // namespace console
