#include "ui/console/console_view.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "host/messages.h"
#include "host/wording.h"
#include "platform/cp1252.h"
#include "platform/platform.h"
#include "platform/terminal.h"

namespace console {
namespace {

void WriteText(std::FILE* stream, const std::string& cp1252) { platform::WriteText(stream, cp1252); }

}  // namespace

int WriteUtf8Text(std::FILE* stream, const std::string& utf8) {
  std::string cp1252;
  // Text that is no UTF-8 (an argument in the ANSI code page on Windows) or
  // that code page 1252 cannot hold goes out as it is.
  if (!platform::Utf8ToCp1252(utf8, &cp1252)) {
    return std::fwrite(utf8.data(), 1, utf8.size(), stream) == utf8.size() && std::fflush(stream) == 0;
  }
  return platform::WriteText(stream, cp1252);
}

ConsoleView::ConsoleView(bool answerYes) : answerYes_(answerYes) {
  enabled_[app::kIdGenTerrain] = false;  // disabled when the dialog is created
}

void ConsoleView::ExchangeData(app::DialogMembers* members, bool fromControls) {
  if (fromControls) {
    *members = controls_;
  } else {
    controls_ = *members;
  }
}

void ConsoleView::ClearCameraSets() { cameraSets_.clear(); }

void ConsoleView::AddCameraSet(const std::string& name) {
  cameraSets_.insert(std::upper_bound(cameraSets_.begin(), cameraSets_.end(), name, platform::LessIgnoringCase), name);
}

int ConsoleView::FindCameraSetExact(const std::string& name) {
  for (std::size_t i = 0; i < cameraSets_.size(); ++i) {
    if (platform::EqualsIgnoringCase(cameraSets_[i], name)) return static_cast<int>(i);
  }
  return -1;
}

void ConsoleView::DeleteCameraSet(int index) {
  if (index >= 0 && static_cast<std::size_t>(index) < cameraSets_.size()) {
    cameraSets_.erase(cameraSets_.begin() + index);
  }
}

void ConsoleView::EnableControl(int id, bool enabled) { enabled_[id] = enabled; }

bool ConsoleView::IsEnabled(int id) const {
  auto found = enabled_.find(id);
  return found == enabled_.end() || found->second;
}

bool ConsoleView::AskYesNo(const std::string& text) {
  if (answerYes_) return true;
  if (!platform::IsTerminal(platform::kStandardInput)) {
    WriteText(stderr, text + " Nein (keine Eingabe m\xF6glich; --yes beantwortet Fragen mit Ja)\n");
    declined_ = 1;
    return false;
  }
  WriteText(stderr, text + " [j/N] ");
  // The answer is the first character of the line; the whole line is read,
  // however long, so that nothing of it is left for a later question.
  const int first = std::fgetc(stdin);
  for (int c = first; c != EOF && c != '\n';) c = std::fgetc(stdin);
  const bool yes = first == 'j' || first == 'J' || first == 'y' || first == 'Y';
  if (!yes) declined_ = 1;
  return yes;
}

void ConsoleView::Notify(const std::string& text) { WriteText(stdout, text + "\n"); }

void ConsoleView::ShowHint(const std::string& text) { WriteText(stderr, text + "\n"); }

void ConsoleView::ShowProgress(const std::string& section, int done, int total) {
  if (!platform::IsTerminal(platform::kStandardError)) return;
  // One line per section, rewritten in place.
  WriteText(stderr, "\r" + section + ": " + std::to_string(done) + " von " + std::to_string(total) +
                        " Kacheln geschrieben" + (done >= total ? "\n" : ""));
  progressOpen_ = done < total;
}

void ConsoleView::EndProgress() {
  if (progressOpen_) WriteText(stderr, "\n");
  progressOpen_ = false;
}

void ConsoleView::ReportSwapNotMade(const std::string& text) { WriteText(stderr, text); }

void ConsoleView::ReportSimulatorEnd(const std::string& text) {
  simulatorFailed_ = 1;
  WriteText(stdout, text + "\n");
}

bool ConsoleView::ChooseFile(const std::string&, const std::string&, std::string*) { return false; }

void ConsoleView::ShowTerrainWritten(const std::string& section, const std::string& folder, int tiles) {
  Notify(host::Wording(host::Why::kTerrainWritten, section, tiles, folder));
}

void ConsoleView::ReportRemoval(const std::string& label, const layout::Removal& removal, bool applied,
                                const std::string& savedTo) {
  if (applied) {
    Notify(host::Wording(host::Why::kRemovalCount, label, removal.count, savedTo));
    return;
  }
  Notify(host::Wording(host::Why::kRemovalPlanned, label, removal.count));
  for (const std::string& name : removal.names) Notify("  " + name);
}

void ConsoleView::ReportInstalled(host::AssetKind kind, const std::string& file) {
  ++installed_;
  WriteText(stdout, host::Wording(host::Why::kInstalled, host::AssetKindOf(kind).name, file) + "\n");
}

void ConsoleView::ReportSwapMade(const std::string& text) { WriteText(stdout, text + "\n"); }

void ConsoleView::ReportSimulatorRunning(long pid) {
  WriteText(stdout, host::Wording(host::Why::kSimulatorRunning, pid) + "\n");
}

void ConsoleView::ShowRunTime(int seconds) {
  if (!platform::IsTerminal(platform::kStandardError)) return;
  const int hours = seconds / 3600, minutes = seconds / 60 % 60, rest = seconds % 60;
  const std::string time = hours > 0 ? host::StringPrintf("%d:%02d:%02d", hours, minutes, rest)
                                     : host::StringPrintf("%d:%02d", minutes, rest);
  WriteText(stderr, "\r" + host::Wording(host::Why::kSimulatorRunningFor, time));
  runTimeOpen_ = true;
}

void ConsoleView::Restore() {
  if (runTimeOpen_) WriteText(stderr, "\n");
  runTimeOpen_ = false;
}

}  // namespace console
