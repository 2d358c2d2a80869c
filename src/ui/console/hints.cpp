#include "ui/console/hints.h"

#include <algorithm>
#include <cstdio>

#include "host/installation.h"
#include "host/messages.h"
#include "host/wording.h"
#include "layout/data_sheet.h"
#include "platform/platform.h"
#include "platform/terminal.h"

namespace console {
namespace {

bool& HintsEnabled() {
  static bool enabled = false;
  return enabled;
}

void WriteMessage(const host::Reason& reason, void*) {
  std::string out = host::Wording(reason);
  if (out.empty() || out.back() != '\n') out.push_back('\n');
  if (HintsEnabled()) {
    const std::string hint = HintAfter(reason);
    if (!hint.empty()) out += hint + "\n";
  }
  platform::WriteText(stderr, out);
}

void WriteDiagnosticLine(const std::string& line, void*) { platform::WriteText(stderr, line); }

}  // namespace

void InstallConsoleSinks() {
  host::SetMessageSink(WriteMessage, nullptr);
  host::SetDiagnosticSink(WriteDiagnosticLine, nullptr);
}

void EnableHints() { HintsEnabled() = true; }

std::string HintAfter(const host::Reason& reason) {
  if (reason.why == host::Why::kUnknownInstallation) {
    return "Gesucht wurde " + platform::MachineRegistryPlace() + ", Schl\xFCssel HKEY_LOCAL_MACHINE\\" +
           host::HostCommandKey() + "; --host ORDNER nennt den Installationsordner direkt.";
  }
  if (reason.why != host::Why::kDllModelUnusable || reason.args.empty() || host::HostDirectory() == nullptr) {
    return std::string();
  }
  std::string sheet = layout::DataSheetPath(reason.args[0]);
  std::replace(sheet.begin(), sheet.end(), '/', '\\');
  if (platform::PathStatus(sheet) != platform::kPathNone) return std::string();
  return "Das Datenblatt " + sheet + " fehlt.";
}

}  // namespace console
