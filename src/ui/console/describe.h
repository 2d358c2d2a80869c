// The command line of zuvo as data: every command, argument and option with
// its help text, as the parser holds them. The build's generator of the
// manual pages and the shell completion reads it (zuvo --describe-commands,
// a mode the help does not list), so neither can drift from the parser.
#pragma once

#include <string>

namespace CLI {
class App;
}

namespace console {

// The hidden argument that prints the description instead of running.
extern const char kDescribeArgument[];

// The description of `app` and its commands as one JSON object (UTF-8):
//   name, help, options, positionals, commands (each command the same)
// An option has "names" (with dashes), "value" (the value's name, empty for
// a flag), "help" and "choices" (the allowed values, empty when any goes); a
// positional has "name", "help", "required" and "choices".
std::string DescribeCommandLine(CLI::App& app);

}  // namespace console
