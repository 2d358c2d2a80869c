#include "command_line.h"

#include <nlohmann/json.hpp>

namespace docgen {
namespace {

using Json = nlohmann::json;

int Fail(std::string* error, const std::string& where, const char* what) {
  *error = where + ": " + what;
  return 0;
}

int Text(const Json& object, const char* key, const std::string& where, std::string* text, std::string* error) {
  auto it = object.find(key);
  if (it == object.end() || !it->is_string())
    return Fail(error, where, (std::string("no text \"") + key + "\"").c_str());
  *text = it->get<std::string>();
  return 1;
}

int Texts(const Json& object, const char* key, const std::string& where, std::vector<std::string>* texts,
          std::string* error) {
  auto it = object.find(key);
  if (it == object.end() || !it->is_array())
    return Fail(error, where, (std::string("no list \"") + key + "\"").c_str());
  for (const Json& item : *it) {
    if (!item.is_string()) return Fail(error, where, (std::string("a value of \"") + key + "\" is no text").c_str());
    texts->push_back(item.get<std::string>());
  }
  return 1;
}

const Json* List(const Json& object, const char* key, const std::string& where, std::string* error) {
  auto it = object.find(key);
  if (it == object.end() || !it->is_array()) {
    Fail(error, where, (std::string("no list \"") + key + "\"").c_str());
    return nullptr;
  }
  return &*it;
}

int ReadOption(const Json& json, const std::string& where, Option* option, std::string* error) {
  if (!json.is_object()) return Fail(error, where, "an option is no object");
  if (!Texts(json, "names", where, &option->names, error) || !Text(json, "value", where, &option->value, error) ||
      !Text(json, "help", where, &option->help, error) || !Texts(json, "choices", where, &option->choices, error)) {
    return 0;
  }
  return option->names.empty() ? Fail(error, where, "an option without a name") : 1;
}

int ReadPositional(const Json& json, const std::string& where, Positional* positional, std::string* error) {
  if (!json.is_object()) return Fail(error, where, "an argument is no object");
  auto required = json.find("required");
  if (required == json.end() || !required->is_boolean()) return Fail(error, where, "an argument without \"required\"");
  positional->required = required->get<bool>();
  return Text(json, "name", where, &positional->name, error) && Text(json, "help", where, &positional->help, error) &&
         Texts(json, "choices", where, &positional->choices, error);
}

int ReadCommand(const Json& json, const std::string& parent, Command* command, std::string* error) {
  if (!json.is_object()) return Fail(error, parent, "a command is no object");
  if (!Text(json, "name", parent, &command->name, error)) return 0;
  const std::string where = parent.empty() ? command->name : parent + " " + command->name;
  if (!Text(json, "help", where, &command->help, error)) return 0;
  const Json* options = List(json, "options", where, error);
  const Json* positionals = options ? List(json, "positionals", where, error) : nullptr;
  const Json* commands = positionals ? List(json, "commands", where, error) : nullptr;
  if (commands == nullptr) return 0;
  for (const Json& item : *options) {
    command->options.emplace_back();
    if (!ReadOption(item, where, &command->options.back(), error)) return 0;
  }
  for (const Json& item : *positionals) {
    command->positionals.emplace_back();
    if (!ReadPositional(item, where, &command->positionals.back(), error)) return 0;
  }
  for (const Json& item : *commands) {
    command->commands.emplace_back();
    if (!ReadCommand(item, where, &command->commands.back(), error)) return 0;
  }
  return 1;
}

}  // namespace

int ReadCommandLine(const std::string& json, Command* program, std::string* error) {
  *program = Command();
  const Json parsed = Json::parse(json, nullptr, false);
  if (parsed.is_discarded()) return Fail(error, "the description", "is no JSON");
  return ReadCommand(parsed, std::string(), program, error);
}

std::string MainName(const Option& option) {
  for (const std::string& name : option.names) {
    if (name.compare(0, 2, "--") == 0) return name;
  }
  return option.names.empty() ? std::string() : option.names.front();
}

bool IsHelp(const Option& option) { return MainName(option) == "--help"; }

}  // namespace docgen
