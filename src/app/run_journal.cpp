#include "app/run_journal.h"

#include "host/installation_path.h"
#include "host/messages.h"
#include "platform/cp1252.h"
#include "platform/platform.h"
#include "settings/settings_file.h"

namespace app {
namespace {

const char kJournalName[] = "StartZUVO-Lauf.txt";
const char kRunSection[] = "Lauf";
const char kSwapSection[] = "Tausch";

long NumberOf(const settings::SettingsFile& file, const char* key) {
  const std::string* value = file.Find(kRunSection, key);
  return value != nullptr ? settings::SettingsFile::ParseInt(*value) : 0;
}

std::string TextOf(const settings::SettingsFile& file, const char* key) {
  const std::string* value = file.Find(kRunSection, key);
  return value != nullptr ? *value : std::string();
}

RunJournal ParseJournal(const settings::SettingsFile& file) {
  RunJournal journal;
  journal.pid = NumberOf(file, "Prozess");
  journal.startTime = TextOf(file, "Start");
  journal.hostName = TextOf(file, "Rechner");
  journal.layout = TextOf(file, "Anlage");
  journal.simulatorPid = NumberOf(file, "Simulator");
  journal.simulatorStart = TextOf(file, "SimulatorStart");
  // "Datei" opens a swap; a backup or substitute before the first one is
  // passed over.
  for (const settings::SettingsEntry* entry : file.EntriesOf(kSwapSection)) {
    if (entry->name == "Datei") journal.swaps.push_back(JournalSwap{entry->value, "", ""});
    if (journal.swaps.empty()) continue;
    if (entry->name == "Sicherung") journal.swaps.back().backup = entry->value;
    if (entry->name == "Ersatz") journal.swaps.back().substitute = entry->value;
  }
  return journal;
}

// A run on another computer cannot be examined and counts as alive.
bool IsRunAlive(const RunJournal& journal, long* pid) {
  *pid = journal.pid;
  if (journal.pid <= 0 && journal.simulatorPid <= 0) return false;
  if (!platform::EqualsIgnoringCase(journal.hostName, platform::HostName())) return true;
  if (journal.simulatorPid > 0 && platform::ProcessLiveness(journal.simulatorPid, journal.simulatorStart) != platform::kDead) {
    *pid = journal.simulatorPid;
    return true;
  }
  return journal.pid > 0 && platform::ProcessLiveness(journal.pid, journal.startTime) != platform::kDead;
}

bool Exists(const std::string& path) { return platform::PathStatus(path) != platform::kPathNone; }

// Puts one swap back: the file in its place goes back to the substitute's
// name, the backup back to the file's name. A swap whose backup is gone was
// never made or is back already; only a file that was absent before (no
// backup recorded) is then still moved to the substitute's name. Appends
// each file put back to *back and what stays to *left; 0 when a rename
// failed although it could be made.
int UndoSwap(const std::string& host, const JournalSwap& swap, std::string* back, std::string* left) {
  const std::string file = host::InstallationPath(host, swap.file);
  const std::string backup = swap.backup.empty() ? std::string() : host::InstallationPath(host, swap.backup);
  const std::string substitute =
      swap.substitute.empty() ? std::string() : host::InstallationPath(host, swap.substitute);
  for (const std::string* path : {&file, &backup, &substitute}) {
    if (!path->empty() && !host::IsInsideInstallation(host, *path)) {
      *left += host::StringPrintf("  %s (au\xDF" "erhalb des Simulatorordners, nicht angefasst)\n", path->c_str());
      return 1;
    }
  }
  if (!backup.empty() && !Exists(backup)) return 1;
  int renamed = 1;
  const auto moveBack = [&](const std::string& from, const std::string& to) {
    if (!Exists(from) || Exists(to)) return false;
    if (platform::RenameFile(from, to, host)) {
      *back += "  " + to + "\n";
      return true;
    }
    renamed = 0;
    return false;
  };
  if (!substitute.empty()) moveBack(file, substitute);
  if (!backup.empty() && !moveBack(backup, file)) {
    *left += host::StringPrintf("  %s (Inhalt noch in %s)\n", file.c_str(), backup.c_str());
  }
  return renamed;
}

}  // namespace

std::string RunJournalPath(const std::string& host) { return host + kJournalName; }

RunJournal OwnRunJournal(const std::string& layout) {
  RunJournal journal;
  journal.pid = platform::OwnProcessId();
  journal.startTime = platform::ProcessStartTime(journal.pid);
  journal.hostName = platform::HostName();
  journal.layout = layout;
  return journal;
}

int WriteRunJournal(const std::string& host, const RunJournal& journal, bool quiet) {
  settings::SettingsFile file;
  file.AppendSection(kRunSection);
  file.Append("Prozess", std::to_string(journal.pid));
  file.Append("Start", journal.startTime);
  file.Append("Rechner", journal.hostName);
  file.Append("Anlage", journal.layout);
  if (journal.simulatorPid > 0) {
    file.Append("Simulator", std::to_string(journal.simulatorPid));
    file.Append("SimulatorStart", journal.simulatorStart);
  }
  if (!journal.swaps.empty()) file.AppendSection(kSwapSection);
  for (const JournalSwap& swap : journal.swaps) {
    file.Append("Datei", swap.file);
    if (!swap.backup.empty()) file.Append("Sicherung", swap.backup);
    if (!swap.substitute.empty()) file.Append("Ersatz", swap.substitute);
  }
  const std::string text = file.Serialize();
  const std::string path = RunJournalPath(host);
  if (platform::ReplaceFile(path, text.data(), text.size(), host) == platform::SaveOutcome::kSaved) return 1;
  if (!quiet) host::ShowFormatted("Laufprotokoll %s kann nicht geschrieben werden!\n", path.c_str());
  return 0;
}

int RemoveRunJournal(const std::string& host) {
  const std::string path = RunJournalPath(host);
  if (platform::RemoveFile(path, host)) return 1;
  host::ShowFormatted("Laufprotokoll %s kann nicht entfernt werden!\n", path.c_str());
  return 0;
}

int HealInstallation(const std::string& host, int* found) {
  const std::string path = RunJournalPath(host);
  if (found != nullptr) *found = Exists(path) ? 1 : 0;
  if (!Exists(path)) return 1;
  settings::SettingsFile file;
  if (!file.Read(path)) {
    host::ShowFormatted("Laufprotokoll %s kann nicht gelesen werden!\n", path.c_str());
    return 0;
  }
  const RunJournal journal = ParseJournal(file);
  long pid = 0;
  if (IsRunAlive(journal, &pid)) {
    host::ShowFormatted("Kantrelwick l\xE4uft schon auf %s (Prozess %ld auf %s)!\n", journal.layout.c_str(), pid,
                        journal.hostName.c_str());
    return 0;
  }
  std::string back, left;
  int renamed = 1;
  for (auto swap = journal.swaps.rbegin(); swap != journal.swaps.rend(); ++swap) {
    if (!UndoSwap(host, *swap, &back, &left)) renamed = 0;
  }
  if (!back.empty() || !left.empty()) {
    std::string text = host::StringPrintf("Nach dem abgebrochenen Lauf auf %s", journal.layout.c_str());
    if (back.empty()) {
      text += " nicht wiederhergestellt:\n" + left;
    } else {
      text += " wiederhergestellt:\n" + back;
      if (!left.empty()) text += "Nicht wiederhergestellt:\n" + left;
    }
    host::ShowFormatted("%s", text.c_str());
  }
  if (!renamed) return 0;
  return RemoveRunJournal(host);
}

}  // namespace app
