// The command line of zuvo as the program describes it (zuvo
// --describe-commands, see src/ui/console/describe.h): read into plain
// structures for the generators of the manual pages and the completion.
// Every function returns 1 on success and 0 on failure, with the reason in
// *error.
#pragma once

#include <string>
#include <vector>

namespace docgen {

struct Option {
  std::vector<std::string> names;  // "-h", "--help"
  std::string value;               // the value's name; empty for a flag
  std::string help;
  std::vector<std::string> choices;  // the allowed values; empty: any
};

struct Positional {
  std::string name;  // "ANLAGE"
  std::string help;
  bool required = false;
  std::vector<std::string> choices;
};

struct Command {
  std::string name;
  std::string help;
  std::vector<Option> options;
  std::vector<Positional> positionals;
  std::vector<Command> commands;
};

// Reads the description (JSON, UTF-8) of the program and its commands.
int ReadCommandLine(const std::string& json, Command* program, std::string* error);

// The option's long name when it has one ("--camera-set"), else its first.
std::string MainName(const Option& option);

// Whether the option is the help flag, which every command has.
bool IsHelp(const Option& option);

}  // namespace docgen
