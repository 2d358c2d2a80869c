#include "ui/console/hints.h"

#include <algorithm>
#include <cstdio>

#include "host/installation.h"
#include "host/messages.h"
#include "layout/data_sheet.h"
#include "platform/platform.h"
#include "platform/terminal.h"

namespace console {
namespace {

const char kDllModel[] = "Dll-Modell \"";
const char kDllModelEnd[] = "\" kann nicht benutzt werden!";

bool& HintsEnabled() {
  static bool enabled = false;
  return enabled;
}

void WriteMessage(const std::string& text, void*) {
  std::string out = text;
  if (out.empty() || out.back() != '\n') out.push_back('\n');
  if (HintsEnabled()) {
    const std::string hint = HintAfter(text);
    if (!hint.empty()) out += hint + "\n";
  }
  platform::WriteText(stderr, out);
}

void WriteDiagnosticLine(const std::string& line, void*) { platform::WriteText(stderr, line); }

// The unit named by a "Dll-Modell" message; empty for any other message.
std::string DllUnitOf(const std::string& message) {
  if (message.compare(0, sizeof kDllModel - 1, kDllModel) != 0) return std::string();
  const std::size_t end = message.rfind(kDllModelEnd);
  if (end == std::string::npos || end < sizeof kDllModel - 1) return std::string();
  return message.substr(sizeof kDllModel - 1, end - (sizeof kDllModel - 1));
}

}  // namespace

void InstallConsoleSinks() {
  host::SetMessageSink(WriteMessage, nullptr);
  host::SetDiagnosticSink(WriteDiagnosticLine, nullptr);
}

void EnableHints() { HintsEnabled() = true; }

std::string HintAfter(const std::string& message) {
  if (host::HostDirectory() == nullptr) {
    return "Gesucht wurde " + platform::MachineRegistryPlace() + ", Schl\xFCssel HKEY_LOCAL_MACHINE\\" +
           host::HostCommandKey() + "; --host ORDNER nennt den Installationsordner direkt.";
  }
  const std::string unit = DllUnitOf(message);
  if (unit.empty()) return std::string();
  std::string sheet = layout::DataSheetPath(unit);
  std::replace(sheet.begin(), sheet.end(), '/', '\\');
  if (platform::PathStatus(sheet) != platform::kPathNone) return std::string();
  return "Das Datenblatt " + sheet + " fehlt.";
}

}  // namespace console
