#include "ui/console/help.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <memory>

namespace console {
namespace {

const char kCommandGroup[] = "Befehle";
const char kOptionGroup[] = "Optionen";

#ifdef _WIN32
const char kFooter[] =
    "Die Installation des Simulators steht in der Registry (HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\"
    "Kantrelwick\\shell\\open\\command);\n--host ORDNER nennt den Installationsordner direkt.\n";
#else
const char kFooter[] =
    "Die Installation des Simulators steht in der Registry des Wine-Prefixes: Datei system.reg\n"
    "in $WINEPREFIX, ohne WINEPREFIX in ~/.wine; --host ORDNER nennt den Installationsordner direkt.\n"
    "ANLAGE und ORDNER: ein Unix-Pfad oder ein Windows-Pfad des Prefixes (\"C:\\...\" oder \"C:/...\");\n"
    "Ergebnisse und Meldungen nennen Pfade in der Form, in der ANLAGE (sonst ORDNER) angegeben ist.\n";
#endif
const char kExitStatuses[] =
    "\nExit-Status: 0 erledigt, 1 abgebrochen (Fehler gemeldet oder Frage mit Nein beantwortet),\n"
    "2 fehlerhafter Aufruf, 3 Simulator abgest\xC3\xBCrzt oder mit Status ungleich 0 beendet\n"
    "(sonst alles erledigt: Tausch zur\xC3\xBC"
    "ckgenommen, Kamera Set gespeichert), 128+N nach Signal N.";

// CLI11's layout with German words: no type names or "REQUIRED" (arguments
// are required unless shown in brackets), an option's value as its option
// text names it.
class GermanFormatter : public CLI::Formatter {
 public:
  GermanFormatter() {
    label("Usage", "Aufruf");
    label("OPTIONS", "OPTIONEN");
    label("SUBCOMMAND", "BEFEHL");
    label("SUBCOMMANDS", "BEFEHLE");
    label("Positionals", "Argumente");
    column_width(24);
  }
  std::string make_description(const CLI::App* app) const override {
    const std::string& text = app->get_description();
    return text.empty() ? std::string() : text + "\n";
  }
  std::string make_option_opts(const CLI::Option* option) const override {
    const std::string& text = option->get_option_text();
    return text.empty() ? std::string() : " " + text;
  }
};

// The command chosen on the command line; null when none was.
const CLI::App* ChosenCommand(const CLI::App& app) {
  for (const CLI::App* sub : app.get_subcommands({})) {
    if (sub->parsed()) return sub;
  }
  return nullptr;
}

std::string Lines(const std::string& text) { return text.empty() || text.back() == '\n' ? text : text + "\n"; }

// The part of `text` after `marker`; empty when it is not there.
std::string After(const std::string& text, const std::string& marker) {
  std::size_t at = text.find(marker);
  return at == std::string::npos ? std::string() : text.substr(at + marker.size());
}

std::string Before(const std::string& text, const std::string& marker) {
  std::size_t at = text.find(marker);
  return at == std::string::npos ? text : text.substr(0, at);
}

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// The first argument that is no global option (nor the value of --host):
// where the command is expected. Empty when there is none.
std::string CommandWord(const std::vector<std::string>& args) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--host") {
      ++i;
    } else if (args[i].empty() || args[i][0] != '-') {
      return args[i];
    }
  }
  return std::string();
}

// The parser's English sentence in German.
std::string Translated(const CLI::ParseError& error) {
  const std::string text = error.what();
  auto is = [&error](CLI::ExitCodes code) { return error.get_exit_code() == static_cast<int>(code); };
  if (is(CLI::ExitCodes::RequiredError)) {
    if (EndsWith(text, " is required") && text.find(' ') == text.size() - 12) {
      return text.substr(0, text.size() - 12) + " fehlt.";
    }
    return "Es fehlt ein Befehl.";
  }
  if (is(CLI::ExitCodes::ExtrasError)) return "Unerwartete Argumente: " + After(text, ": ") + ".";
  if (is(CLI::ExitCodes::ValidationError)) {
    std::string choices = After(text, " not in {");
    std::string result = "Ung\xC3\xBCltiger Wert f\xC3\xBCr " + Before(text, ": ");
    if (choices.empty()) return result + ".";
    std::replace(choices.begin(), choices.end(), ',', ' ');
    return result + ": " + Before(After(text, ": "), " not in {") + " (m\xC3\xB6glich: " + Before(choices, "}") + ").";
  }
  if (is(CLI::ExitCodes::ArgumentMismatch) && EndsWith(text, " missing"))
    return "Bei " + Before(text, ":") + " fehlt der Wert.";
  if (is(CLI::ExitCodes::ConversionError)) {
    std::string option = After(text, "Could not convert: ");
    if (option.empty()) option = After(text, " is not an allowed value for ");
    return "Ung\xC3\xBCltiger Wert f\xC3\xBCr " + Before(Before(option.empty() ? text : option, " = "), ":") + ".";
  }
  return "Die Befehlszeile ist fehlerhaft.";
}

// Optimal string alignment distance: insertions, deletions, replacements
// and swaps of two neighbours each count as one.
std::size_t EditDistance(const std::string& a, const std::string& b) {
  std::vector<std::vector<std::size_t>> d(a.size() + 1, std::vector<std::size_t>(b.size() + 1));
  for (std::size_t i = 0; i <= a.size(); ++i) d[i][0] = i;
  for (std::size_t j = 0; j <= b.size(); ++j) d[0][j] = j;
  for (std::size_t i = 1; i <= a.size(); ++i) {
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const std::size_t cost = a[i - 1] == b[j - 1] ? 0 : 1;
      d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + cost});
      if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1]) {
        d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
      }
    }
  }
  return d[a.size()][b.size()];
}

// The names of the options that `command` (or, null, the program) takes:
// its own and, as they may follow a command, the program's.
std::vector<std::string> OptionNames(const CLI::App& app, const CLI::App* command) {
  std::vector<std::string> names;
  for (const CLI::App* each : {&app, command}) {
    if (each == nullptr) continue;
    for (const CLI::Option* option : each->get_options({})) {
      if (!option->nonpositional()) continue;
      for (const std::string& name : option->get_lnames()) names.push_back("--" + name);
      for (const std::string& name : option->get_snames()) names.push_back("-" + name);
    }
  }
  return names;
}

// The first argument that looks like an option (up to a "=") but is none
// that `names` holds; empty when there is none. After "--" nothing is an
// option.
std::string UnknownOption(const std::vector<std::string>& args, const std::vector<std::string>& names) {
  for (const std::string& arg : args) {
    if (arg == "--") break;
    if (arg.size() < 2 || arg[0] != '-') continue;
    const std::string name = arg.substr(0, arg.find('='));
    if (std::find(names.begin(), names.end(), name) == names.end()) return name;
  }
  return std::string();
}

std::string Suggestion(const std::string& nearest) {
  return nearest.empty() ? std::string() : " Meinten Sie \"" + nearest + "\"?";
}

}  // namespace

std::string ProgramName(const std::string& argv0) {
  std::string name = argv0.substr(argv0.find_last_of("/\\") + 1);
  if (name.size() > 4) {
    std::string end = name.substr(name.size() - 4);
    std::transform(end.begin(), end.end(), end.begin(), [](char c) { return c >= 'A' && c <= 'Z' ? c | 0x20 : c; });
    if (end == ".exe") name.resize(name.size() - 4);
  }
  return name.empty() ? "zuvo" : name;
}

void PrepareHelp(CLI::App& app, const std::string& programName) {
  app.name(programName);
  app.formatter(std::make_shared<GermanFormatter>());
  app.set_help_flag("-h,--help", "Diese Hilfe zeigen");
  app.group(kCommandGroup);
}

void FinishHelp(CLI::App& app) {
  for (CLI::App* command : app.get_subcommands({})) {
    for (CLI::App* each : {&app, command}) {
      for (CLI::Option* option : each->get_options({})) {
        if (option->nonpositional()) option->group(kOptionGroup);
      }
    }
  }
  app.footer(std::string(kFooter) + kExitStatuses);
}

namespace {

std::string WithoutBlankEnd(std::string text) {
  while (text.size() > 1 && text.back() == '\n' && text[text.size() - 2] == '\n') text.pop_back();
  return text;
}

}  // namespace

std::string HelpText(const CLI::App& app) { return WithoutBlankEnd(app.help()); }

std::string CommandHelpText(const CLI::App& app, const CLI::App* command) {
  if (command == nullptr)
    return WithoutBlankEnd(app.get_formatter()->make_help(&app, app.get_name(), CLI::AppFormatMode::Normal));
  return WithoutBlankEnd(command->help(app.get_name()));
}

std::string UsageText(const CLI::App& app, const CLI::App* command) {
  std::string program = app.get_name();
  if (command != nullptr) program += " " + command->get_name();
  const std::string usage = GermanFormatter().make_usage(command != nullptr ? command : &app, program);
  return Lines(usage) + "\"" + program + " --help\" zeigt die Hilfe.\n";
}

std::string UsageErrorText(const CLI::App& app, const CLI::ParseError& error, const std::vector<std::string>& args) {
  const CLI::App* command = ChosenCommand(app);
  const std::string word = CommandWord(args);
  std::string text;
  const std::vector<std::string> options = OptionNames(app, command);
  const std::string option = UnknownOption(args, options);
  // An unknown option comes first: what the parser says after it (a
  // missing argument, an extra one) follows from it.
  if (!option.empty()) {
    text = "Unbekannte Option \"" + option + "\"." + Suggestion(NearestName(option, options));
  } else if (command == nullptr && !word.empty()) {
    text = UnknownCommandText(app, word);
  } else {
    text = Translated(error);
  }
  return Lines(text) + UsageText(app, command);
}

std::string UnknownCommandText(const CLI::App& app, const std::string& word) {
  std::vector<std::string> names;
  for (const CLI::App* sub : app.get_subcommands({})) names.push_back(sub->get_name());
  return "Unbekannter Befehl \"" + word + "\"." + Suggestion(NearestName(word, names));
}

std::string NearestName(const std::string& word, const std::vector<std::string>& names) {
  std::string nearest;
  std::size_t best = std::min<std::size_t>(2, word.size() / 3);
  for (const std::string& name : names) {
    const std::size_t distance = EditDistance(word, name);
    if (distance <= best && (nearest.empty() || distance < best)) {
      nearest = name;
      best = distance;
    }
  }
  return nearest;
}

}  // namespace console
