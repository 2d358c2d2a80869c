#include "ui/console/hints.h"

#include <algorithm>
#include <cstdio>

#include "host/installation.h"
#include "host/messages.h"
#include "host/wording.h"
#include "platform/platform.h"
#include "platform/terminal.h"

namespace console {
namespace {

// The installation the hints look into, once they are enabled.
struct Hints {
  bool enabled = false;
  host::Installation installation;
  bool showDiagnostics = false;
  int hiddenDiagnostics = 0;
};

Hints& TheHints() {
  static Hints hints;
  return hints;
}

void WriteMessage(const host::Reason& reason, void*) {
  std::string out = host::Wording(reason);
  if (out.empty() || out.back() != '\n') out.push_back('\n');
  if (TheHints().enabled) {
    const std::string hint = HintAfter(reason, TheHints().installation);
    if (!hint.empty()) out += hint + "\n";
  }
  platform::WriteText(stderr, out);
}

void WriteDiagnosticLine(const std::string& line, void*) {
  if (TheHints().showDiagnostics) {
    platform::WriteText(stderr, line);
  } else {
    ++TheHints().hiddenDiagnostics;
  }
}

}  // namespace

void InstallConsoleSinks() {
  host::SetMessageSink(WriteMessage, nullptr);
  host::SetDiagnosticSink(WriteDiagnosticLine, nullptr);
}

void ShowDiagnostics(bool show) { TheHints().showDiagnostics = show; }

int TakeHiddenDiagnostics() {
  const int hidden = TheHints().hiddenDiagnostics;
  TheHints().hiddenDiagnostics = 0;
  return hidden;
}

void EnableHints(const host::Installation& installation) {
  TheHints().enabled = true;
  TheHints().installation = installation;
}

std::string HintAfter(const host::Reason& reason, const host::Installation& installation) {
  if (reason.why == host::Why::kUnknownInstallation) {
    return "Gesucht wurde " + platform::MachineRegistryPlace() + ", Schl\xFCssel HKEY_LOCAL_MACHINE\\" +
           host::HostCommandKey() + "; --host ORDNER nennt den Installationsordner direkt.";
  }
  if (reason.why != host::Why::kDllModelUnusable || reason.args.empty() || !installation.known()) {
    return std::string();
  }
  std::string sheet = host::DataSheetPath(installation, reason.args[0]);
  std::replace(sheet.begin(), sheet.end(), '/', '\\');
  if (platform::PathStatus(sheet) != platform::kPathNone) return std::string();
  return "Das Datenblatt " + host::ShownPath(sheet) + " fehlt.";
}

}  // namespace console
