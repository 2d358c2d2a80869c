// zuvo's help and usage errors in German, on top of the CLI11 parser: the
// program's own name in "Aufruf", German labels, groups and flags, a footer
// on the prefix and the exit statuses, and German texts for every error of
// the command line. Texts here are UTF-8, as the parser keeps them.
#pragma once

#include <string>
#include <vector>

namespace CLI {
class App;
class ParseError;
}  // namespace CLI

namespace console {

// The name the program was called by: the base name of argv[0] without a
// ".exe" ("/usr/bin/zuvo" -> "zuvo"); "zuvo" when argv[0] is empty.
std::string ProgramName(const std::string& argv0);

// Before the commands are added (they inherit it): the program's name, the
// German help flag and formatter.
void PrepareHelp(CLI::App& app, const std::string& programName);

// After the commands are added: every option and command in its German group,
// the footer of the main help.
void FinishHelp(CLI::App& app);

// The help of the command chosen on the command line (or the main help).
std::string HelpText(const CLI::App& app);

// The help of `command` of `app` (null: the main help), whatever was parsed.
std::string CommandHelpText(const CLI::App& app, const CLI::App* command);

// The "Aufruf" line of `command` (null: of the program) and the line that
// names its --help.
std::string UsageText(const CLI::App& app, const CLI::App* command);

// The German text, ending in a newline, for a command line the parser
// refused; `args` are the arguments after the program name. An unknown
// option or command is named as such, with the nearest one (of the command's
// and the program's options, of the commands) when one is near.
std::string UsageErrorText(const CLI::App& app, const CLI::ParseError& error, const std::vector<std::string>& args);

// "Unbekannter Befehl "WORD"." with the nearest command when one is near.
std::string UnknownCommandText(const CLI::App& app, const std::string& word);

// The name of `names` nearest to `word` (edit distance, a swap of two
// neighbours counting as one edit); empty when none is within two edits and
// a third of the word's length.
std::string NearestName(const std::string& word, const std::vector<std::string>& names);

}  // namespace console
