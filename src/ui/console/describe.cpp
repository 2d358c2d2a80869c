#include "ui/console/describe.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <nlohmann/json.hpp>

namespace console {
namespace {

using Json = nlohmann::ordered_json;

// The allowed values of an option checked against a set: CLI11 names such a
// check ":{a,b,c}" after the type ("TEXT:{a,b,c}"). Empty for any other.
Json Choices(const CLI::Option* option) {
  Json choices = Json::array();
  const std::string type = option->get_type_name();
  const std::size_t open = type.find(":{");
  const std::size_t close = type.find('}', open);
  if (open == std::string::npos || close == std::string::npos) return choices;
  std::size_t start = open + 2;
  while (start < close) {
    std::size_t end = std::min(type.find(',', start), close);
    choices.push_back(type.substr(start, end - start));
    start = end + 1;
  }
  return choices;
}

Json OptionNames(const CLI::Option* option) {
  Json names = Json::array();
  for (const std::string& name : option->get_snames()) names.push_back("-" + name);
  for (const std::string& name : option->get_lnames()) names.push_back("--" + name);
  return names;
}

// An option's value as the help names it; "WERT" for one without a name.
std::string ValueName(const CLI::Option* option) {
  if (option->get_expected_max() == 0) return std::string();  // a flag
  const std::string& text = option->get_option_text();
  return text.empty() ? std::string("WERT") : text;
}

Json Describe(CLI::App* app) {
  Json json;
  json["name"] = app->get_name();
  json["help"] = app->get_description();
  json["options"] = Json::array();
  json["positionals"] = Json::array();
  for (CLI::Option* option : app->get_options({})) {
    if (option->get_group().empty()) continue;  // hidden
    Json entry;
    if (option->nonpositional()) {
      entry["names"] = OptionNames(option);
      entry["value"] = ValueName(option);
      entry["help"] = option->get_description();
      entry["choices"] = Choices(option);
      json["options"].push_back(entry);
    } else {
      entry["name"] = option->get_name();
      entry["help"] = option->get_description();
      entry["required"] = option->get_required();
      entry["choices"] = Choices(option);
      json["positionals"].push_back(entry);
    }
  }
  json["commands"] = Json::array();
  for (CLI::App* command : app->get_subcommands({})) {
    if (!command->get_group().empty()) json["commands"].push_back(Describe(command));
  }
  return json;
}

}  // namespace

const char kDescribeArgument[] = "--describe-commands";

std::string DescribeCommandLine(CLI::App& app) { return Describe(&app).dump(2) + "\n"; }

}  // namespace console
