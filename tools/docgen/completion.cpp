#include "completion.h"

namespace docgen {
namespace {

const char kTablePlace[] = "@TABLE@\n";

std::string OptionKind(const Option& option) {
  return option.value.empty() && option.choices.empty() ? std::string()
                                                        : ValueKind(option.value, MainName(option), option.choices);
}

int Fill(const std::string& scriptTemplate, const std::string& table, std::string* script, std::string* error) {
  const std::size_t at = scriptTemplate.find(kTablePlace);
  if (at == std::string::npos || (at > 0 && scriptTemplate[at - 1] != '\n')) {
    *error = "the template has no line @TABLE@";
    return 0;
  }
  *script = scriptTemplate.substr(0, at) + table + scriptTemplate.substr(at + sizeof kTablePlace - 1);
  return 1;
}

// bash: case "$1 $2" in 'KEY') REPLY=VALUE ;; ... one function per table.
struct CaseFunction {
  std::string name, comment, body;
  void Add(const std::string& key, const std::string& value) {
    body += "    " + Quoted(key) + ") REPLY=" + Quoted(value) + " ;;\n";
  }
  std::string Text(const char* subject) const {
    return "# " + comment + "\n" + name + "() {\n  case " + subject + " in\n" + body + "    *) REPLY= ;;\n  esac\n}\n";
  }
};

std::string Joined(const std::vector<std::string>& words) {
  std::string text;
  for (const std::string& word : words) text += (text.empty() ? "" : " ") + word;
  return text;
}

std::vector<std::string> AllNames(const std::vector<Option>& options) {
  std::vector<std::string> names;
  for (const Option& option : options) names.insert(names.end(), option.names.begin(), option.names.end());
  return names;
}

// zsh: the text of an _arguments spec in single quotes: brackets, colons
// and backslashes of a description escaped.
std::string ZshDescription(const std::string& help) {
  std::string out;
  for (char c : help) {
    if (c == '[' || c == ']' || c == ':' || c == '\\') out += '\\';
    out += c;
  }
  return out;
}

// With a space in front, _arguments calls the action as it stands, without
// adding compadd options after its first word.
std::string ZshAction(const std::string& kind) { return " _zuvo_value " + kind; }

std::string ZshOptionSpecs(const std::vector<Option>& options, const std::string& indent) {
  std::string out;
  for (const Option& option : options) {
    const std::string kind = OptionKind(option);
    std::string exclusions = "(" + Joined(option.names) + ")";
    for (const std::string& name : option.names) {
      std::string spec = exclusions + name + (kind.empty() ? "" : "=") + "[" + ZshDescription(option.help) + "]";
      if (!kind.empty())
        spec += ":" + ZshDescription(option.value.empty() ? "WERT" : option.value) + ":" + ZshAction(kind);
      out += indent + Quoted(spec) + "\n";
    }
  }
  return out;
}

}  // namespace

std::string JsonKey(const std::string& optionName) {
  std::string key;
  bool upper = false;
  for (char c : optionName) {
    if (c == '-') {
      upper = !key.empty();
    } else {
      key += upper && c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
      upper = false;
    }
  }
  return key;
}

std::string ValueKind(const std::string& valueName, const std::string& optionName,
                      const std::vector<std::string>& choices) {
  if (!choices.empty()) return "words " + Joined(choices);
  if (valueName == "ANLAGE") return "layout";
  if (valueName == "ORDNER") return "directory";
  if (valueName == "NAME") return "list cameraSet";  // the names zuvo takes are those of camera sets
  if (optionName.compare(0, 2, "--") == 0) return "list " + JsonKey(optionName);
  return "file";
}

std::string Quoted(const std::string& word) {
  std::string out = "'";
  for (char c : word) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

int WriteBashCompletion(const Command& program, const std::string& scriptTemplate, std::string* script,
                        std::string* error) {
  std::vector<std::string> commands;
  CaseFunction options{"_zuvo_options", "_zuvo_options COMMAND: REPLY = the options after COMMAND (\"\": before one)",
                       ""};
  CaseFunction values{"_zuvo_option_value",
                      "_zuvo_option_value COMMAND OPTION: REPLY = how its value is completed, empty for a flag", ""};
  CaseFunction positionals{"_zuvo_argument", "_zuvo_argument COMMAND N: REPLY = how argument N (from 0) is completed",
                           ""};
  const std::vector<std::string> global = AllNames(program.options);
  options.Add("", Joined(global));
  for (const Command& command : program.commands) {
    commands.push_back(command.name);
    // Options of the program are taken after the command too.
    std::vector<std::string> names = AllNames(command.options);
    for (const std::string& name : global) {
      if (name != "-h" && name != "--help") names.push_back(name);
    }
    options.Add(command.name, Joined(names));
    for (const Option& option : command.options) {
      const std::string kind = OptionKind(option);
      for (const std::string& name : option.names) {
        if (!kind.empty()) values.Add(command.name + " " + name, kind);
      }
    }
    for (std::size_t i = 0; i < command.positionals.size(); ++i) {
      const Positional& positional = command.positionals[i];
      positionals.Add(command.name + " " + std::to_string(i), ValueKind(positional.name, "", positional.choices));
    }
  }
  // An option of the program, under the empty command: the same before and
  // after any command.
  for (const Option& option : program.options) {
    const std::string kind = OptionKind(option);
    for (const std::string& name : option.names) {
      if (!kind.empty()) values.Add(" " + name, kind);
    }
  }
  std::string table = "# The command table of zuvo, generated from zuvo --describe-commands.\n";
  table += "_zuvo_commands=" + Quoted(Joined(commands)) + "\n";
  table += options.Text("$1") + values.Text("\"$1 $2\"") + positionals.Text("\"$1 $2\"");
  return Fill(scriptTemplate, table, script, error);
}

int WriteZshCompletion(const Command& program, const std::string& scriptTemplate, std::string* script,
                       std::string* error) {
  std::string table = "# The command table of zuvo, generated from zuvo --describe-commands.\n";
  table += "_zuvo_global_specs=(\n" + ZshOptionSpecs(program.options, "  ") + ")\n";
  // After a command, which has its own help option.
  std::vector<Option> shared;
  for (const Option& option : program.options) {
    if (!IsHelp(option)) shared.push_back(option);
  }
  table += "_zuvo_shared_specs=(\n" + ZshOptionSpecs(shared, "  ") + ")\n";
  table += "_zuvo_commands=(\n";
  for (const Command& command : program.commands) {
    table += "  " + Quoted(command.name + ":" + ZshDescription(command.help)) + "\n";
  }
  table += ")\n# _zuvo_command_specs COMMAND: reply = the _arguments specs after COMMAND\n";
  table += "_zuvo_command_specs() {\n  case $1 in\n";
  for (const Command& command : program.commands) {
    table += "    " + Quoted(command.name) + ")\n      reply=(\n" + ZshOptionSpecs(command.options, "        ");
    for (std::size_t i = 0; i < command.positionals.size(); ++i) {
      const Positional& positional = command.positionals[i];
      const std::string spec = std::to_string(i + 1) + ":" + ZshDescription(positional.name) + ":" +
                               ZshAction(ValueKind(positional.name, "", positional.choices));
      table += "        " + Quoted(spec) + "\n";
    }
    table += "      ) ;;\n";
  }
  table += "    *) reply=() ;;\n  esac\n}\n";
  return Fill(scriptTemplate, table, script, error);
}

}  // namespace docgen
