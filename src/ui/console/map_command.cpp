#include "ui/console/map_command.h"

#include <CLI/CLI.hpp>
#include <cstdio>
#include <memory>
#include <string>

#include "app/guards.h"
#include "host/messages.h"
#include "host/paths.h"
#include "host/save.h"
#include "layout/data_sheet.h"
#include "layout/layout.h"
#include "layout/layout_file.h"
#include "layout/missing_files.h"
#include "map/map_svg.h"
#include "platform/cp1252.h"
#include "platform/platform.h"

namespace console {
namespace {

int RunMap(const std::string& argument, const std::string& output) {
  std::string windows, path, target;
  if (!ArgumentToWindowsPath(argument, &windows) || !layout::LayoutFileOf(windows, &path)) return kExitFailed;
  if (output.empty()) {
    target = host::StripExtension(path) + ".svg";
  } else if (!ArgumentToWindowsPath(output, &target)) {
    return kExitFailed;
  }
  // A map never replaces a layout or its settings file.
  const std::string extension = host::ExtensionOf(target);
  if (platform::EqualsIgnoringCase(extension, "anl") || platform::EqualsIgnoringCase(extension, "danl")) {
    host::Report(host::Why::kWrongExtension, extension);
    return kExitFailed;
  }
  layout::Layout layout;
  if (!layout.Load(path, layout::HostDataSheets())) return kExitFailed;
  // Without the installation every object would be drawn as missing.
  if (!app::CheckInstallation()) return kExitFailed;
  layout::MissingFiles missing;
  map::MapCounts counts;
  // The map beside the layout stays in its folder; a file named with -o is
  // the user's own choice.
  const std::string within = output.empty() ? host::DirectoryOf(path) : std::string();
  if (!host::SaveFileReporting(target, map::MapSvg(layout, &missing, &counts), within)) return kExitFailed;
  const std::string line = platform::ToConsoleText("Karte wurde erstellt: " + target + "\n");
  std::fwrite(line.data(), 1, line.size(), stdout);
  return std::fflush(stdout) == 0 ? kExitOk : kExitFailed;
}

}  // namespace

void AddMapCommand(CLI::App& app, CommandList* commands) {
  CLI::App* sub = app.add_subcommand("map", "Anlage als SVG-Karte zeichnen");
  auto argument = AddLayoutArgument(sub);
  auto output = std::make_shared<std::string>();
  sub->add_option("-o", *output, "Datei der Karte (sonst <Name>.svg neben der Anlage)")->option_text("DATEI");
  RegisterInstallationCommand(commands, sub, [argument, output](const GlobalOptions&) { return RunMap(*argument, *output); });
}

}  // namespace console
