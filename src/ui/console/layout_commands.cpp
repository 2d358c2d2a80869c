#include "ui/console/layout_commands.h"

#include <CLI/CLI.hpp>
#include <cstdio>
#include <memory>
#include <string>

#include "host/installation.h"
#include "host/paths.h"
#include "layout/data_sheet.h"
#include "layout/json_dump.h"
#include "layout/layout.h"
#include "layout/layout_file.h"
#include "ui/console/commands.h"
#include "ui/console/result_lines.h"

namespace console {
namespace {

// The ".anl" path of a LAYOUT argument; shows why when there is none.
int LayoutArgument(const std::string& argument, std::string* layoutFile) {
  std::string windows;
  return ArgumentToWindowsPath(argument, &windows) && layout::LayoutFileOf(windows, layoutFile);
}

int RunResave(const std::string& argument) {
  std::string path;
  if (!LayoutArgument(argument, &path)) return kExitFailed;
  layout::Layout layout;
  if (!layout.Load(path, layout::HostDataSheets())) return kExitFailed;
  layout.PrepareForSave();
  if (!layout.Save(path, host::DirectoryOf(path))) return kExitFailed;
  PrintResult("Gespeichert: " + path);
  return kExitOk;
}

int RunDump(const std::string& argument) {
  std::string path;
  if (!LayoutArgument(argument, &path)) return kExitFailed;
  layout::Layout layout;
  if (!layout.Load(path, layout::HostDataSheets())) return kExitFailed;
  std::string json = layout::DumpJson(layout, host::HostDirectory());
  std::fwrite(json.data(), 1, json.size(), stdout);
  return std::fflush(stdout) == 0 ? kExitOk : kExitFailed;
}

void AddLayoutCommand(CLI::App& app, CommandList* commands, const char* name, const char* help,
                      int (*run)(const std::string&)) {
  CLI::App* sub = app.add_subcommand(name, help);
  auto argument = AddLayoutArgument(sub);
  RegisterCommand(commands, sub, [argument, run](const GlobalOptions&) { return run(*argument); });
}

}  // namespace

void AddResaveCommand(CLI::App& app, CommandList* commands) {
  AddLayoutCommand(app, commands, "resave", "Anlage laden und wieder speichern", RunResave);
}

void AddDumpCommand(CLI::App& app, CommandList* commands) {
  AddLayoutCommand(app, commands, "dump", "Geladene Anlage als JSON ausgeben", RunDump);
}

}  // namespace console
