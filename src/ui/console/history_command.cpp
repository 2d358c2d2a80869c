#include "ui/console/history_command.h"

#include <CLI/CLI.hpp>
#include <cstdio>
#include <memory>
#include <nlohmann/json.hpp>

#include "app/history.h"
#include "host/wording.h"
#include "platform/cp1252.h"
#include "platform/terminal.h"
#include "ui/console/dialog_commands.h"
#include "ui/console/result_lines.h"

namespace console {
namespace {

std::string Utf8(const std::string& cp1252) { return platform::Cp1252ToUtf8(cp1252); }

std::string CountText(int count) { return count < 0 ? "?" : std::to_string(count); }

std::string SizeText(const settings::HistoryFile& file) {
  return file.content.empty() ? "-" : std::to_string(file.size) + " B";
}

nlohmann::ordered_json CountJson(int count) {
  return count < 0 ? nlohmann::ordered_json(nullptr) : nlohmann::ordered_json(count);
}

nlohmann::ordered_json FileJson(const settings::HistoryFile& file) {
  if (file.content.empty()) return nullptr;
  return {{"file", file.content}, {"size", file.size}};
}

std::string ListingAsJson(const app::HistoryListing& listing) {
  nlohmann::ordered_json json;
  json["layoutPath"] = Utf8(listing.layoutPath);
  json["historyFolder"] = Utf8(listing.folder);
  json["versions"] = nlohmann::ordered_json::array();
  for (const settings::HistoryVersion& v : listing.versions) {
    nlohmann::ordered_json version;
    version["number"] = v.number;
    version["time"] = Utf8(v.time);
    version["command"] = Utf8(v.command);
    version["layout"] = FileJson(v.layout);
    version["settings"] = FileJson(v.settings);
    version["tracks"] = CountJson(v.tracks);
    version["models"] = CountJson(v.models);
    version["rollingStock"] = CountJson(v.rollingStock);
    version["cameraSets"] = CountJson(v.cameraSets);
    json["versions"].push_back(version);
  }
  return json.dump(2) + "\n";
}

// One line per version, newest first; a history without versions says so.
void PrintListing(const app::HistoryListing& listing) {
  if (listing.versions.empty()) PrintResult(host::Wording(host::Why::kHistoryNone, listing.layoutPath));
  for (const settings::HistoryVersion& v : listing.versions) {
    PrintResult(host::Wording(host::Why::kHistoryLine, v.number, v.time, v.command, SizeText(v.layout),
                              SizeText(v.settings), CountText(v.tracks), CountText(v.models), CountText(v.rollingStock),
                              CountText(v.cameraSets)));
  }
}

}  // namespace

// The layout is not loaded: a history is most wanted for a layout that no
// longer loads.
void AddHistoryCommand(CLI::App& app, CommandList* commands) {
  CLI::App* sub = app.add_subcommand("history", "Gespeicherte Fassungen einer Anlage zeigen");
  auto argument = AddLayoutArgument(sub);
  auto asJson = std::make_shared<bool>(false);
  sub->add_flag("--json", *asJson, "als ein JSON-Objekt");
  RegisterCommand(commands, sub, [argument, asJson](const GlobalOptions& global) {
    ButtonCommand command;
    command.action = [argument, asJson](app::StartupDialog* dialog) {
      std::string windows;
      app::HistoryListing listing;
      if (!ArgumentToWindowsPath(*argument, &windows) || !dialog->ListHistory(windows, &listing)) return 0;
      if (!*asJson) {
        PrintListing(listing);
        return 1;
      }
      const std::string json = ListingAsJson(listing);
      std::fwrite(json.data(), 1, json.size(), stdout);
      return std::fflush(stdout) == 0 ? 1 : 0;
    };
    return RunDialogCommand(global, std::string(), command);
  });
}

void AddRestoreCommand(CLI::App& app, CommandList* commands) {
  CLI::App* sub = app.add_subcommand("restore", "Eine gespeicherte Fassung einer Anlage wiederherstellen");
  auto argument = AddLayoutArgument(sub);
  auto number = std::make_shared<int>(0);
  sub->add_option("N", *number,
                  "Nummer der Fassung (ohne: die neueste, die sich von den heutigen Dateien unterscheidet)")
      ->check(CLI::Range(1, 999999999));
  RegisterInstallationCommand(commands, sub, [argument, number](const GlobalOptions& global) {
    ButtonCommand command;
    command.action = [argument, number](app::StartupDialog* dialog) {
      std::string windows;
      return ArgumentToWindowsPath(*argument, &windows) && dialog->RestoreVersion(windows, *number) ? 1 : 0;
    };
    return RunDialogCommand(global, std::string(), command);
  });
}

}  // namespace console
