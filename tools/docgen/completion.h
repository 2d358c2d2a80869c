// The shell completion of zuvo from the command table: the table's part of
// the bash and the zsh script, put into a template at the line "@TABLE@".
//
// How a value is completed is one word, followed by its arguments:
//   words A B ...   one of the allowed values
//   layout          an .anl or .danl file
//   directory       a folder
//   list KEY        a list of the layout that "zuvo show LAYOUT --json" holds
//                   under KEY or KEY + "s" (camera sets, the files of a
//                   kind); any file when there is none
//   file            any file
#pragma once

#include <string>
#include <vector>

#include "command_line.h"

namespace docgen {

// How the value named `valueName` of the option `optionName` (empty for an
// argument) is completed.
std::string ValueKind(const std::string& valueName, const std::string& optionName,
                      const std::vector<std::string>& choices);

// "buffer-stop" -> "bufferStop": an option's name as zuvo's JSON names it.
std::string JsonKey(const std::string& optionName);

// The script: `scriptTemplate` with its line "@TABLE@" replaced by the
// table's functions. Returns 1, or 0 with the reason in *error.
int WriteBashCompletion(const Command& program, const std::string& scriptTemplate, std::string* script,
                        std::string* error);
int WriteZshCompletion(const Command& program, const std::string& scriptTemplate, std::string* script,
                       std::string* error);

// A word in single quotes for either shell.
std::string Quoted(const std::string& word);

}  // namespace docgen
