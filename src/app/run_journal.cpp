#include "app/run_journal.h"

#include "app/swap_checks.h"
#include "host/installation_path.h"
#include "host/messages.h"
#include "host/paths.h"
#include "host/wording.h"
#include "platform/cp1252.h"
#include "platform/platform.h"
#include "settings/settings_file.h"

namespace app {
namespace {

const char kJournalName[] = "StartZUVO-Lauf.txt";
const char kRunSection[] = "Lauf";
const char kSwapSection[] = "Tausch";
const char kProgramName[] = "Kantrelwick.exe";

bool Exists(const std::string& path) { return platform::PathStatus(path) != platform::kPathNone; }

long NumberOf(const settings::SettingsFile& file, const char* key) {
  const std::string* value = file.Find(kRunSection, key);
  return value != nullptr ? settings::SettingsFile::ParseInt(*value) : 0;
}

std::string TextOf(const settings::SettingsFile& file, const char* key) {
  const std::string* value = file.Find(kRunSection, key);
  return value != nullptr ? *value : std::string();
}

// Whether the run a journal names still runs, once its writer's hold has
// gone (this process holds the journal now).
struct Verdict {
  int liveness = platform::kDead;
  long pid = 0;     // the process that decides it
  std::string why;  // for kCannotTell: why not
};

// The simulator of a run under wine is known by its Windows id, which only
// the same prefix's programs can look up; from outside, the prefix's
// programs are looked at instead.
int SimulatorLiveness(const RunJournal& journal, platform::SystemKind writer, bool knownWriter) {
  const bool underWine = knownWriter && writer == platform::SystemKind::kWine;
  if (underWine &&
      (platform::ThisSystem() != platform::SystemKind::kWine || journal.prefix != platform::WinePrefixPath())) {
    return platform::WineProgramLiveness(journal.prefix, kProgramName);
  }
  return platform::ProcessLiveness(journal.simulatorPid, journal.simulatorStart);
}

Verdict Judge(const RunJournal& journal) {
  Verdict verdict;
  verdict.pid = journal.pid;
  if (journal.pid <= 0 && journal.simulatorPid <= 0) return verdict;  // nobody was recorded
  verdict.liveness = platform::kCannotTell;
  if (journal.hostName.empty()) {
    verdict.why = host::Wording(host::Why::kUnjudgedNoComputer);
    return verdict;
  }
  if (!platform::EqualsIgnoringCase(journal.hostName, platform::HostName())) {
    verdict.why = host::Wording(host::Why::kUnjudgedOtherComputer);
    return verdict;
  }
  // A journal that names its system was held by its writer while it lived:
  // that hold has gone. Where this system can judge the writer's id, it is
  // asked as well (a rewrite on Windows lets go for a moment).
  platform::SystemKind writer = platform::SystemKind::kLinux;
  const bool knownWriter = platform::SystemKindOf(journal.system, &writer) != 0;
  const int tool = journal.pid > 0 ? platform::ProcessLiveness(journal.pid, journal.startTime) : platform::kDead;
  if (tool == platform::kAlive) {
    verdict.liveness = platform::kAlive;
    return verdict;
  }
  if (tool == platform::kCannotTell && !knownWriter) {
    verdict.why = host::Wording(host::Why::kUnjudgedProcess, journal.pid);
    return verdict;
  }
  if (journal.simulatorPid > 0) {
    verdict.pid = journal.simulatorPid;
    verdict.liveness = SimulatorLiveness(journal, writer, knownWriter);
    if (verdict.liveness != platform::kDead) {
      verdict.why = host::Wording(host::Why::kUnjudgedSimulator, journal.simulatorPid);
      return verdict;
    }
  }
  verdict.liveness = platform::kDead;
  verdict.pid = journal.pid;
  return verdict;
}

// What undoing a journal's swaps put back, what it left and where, and the
// swaps that are still to be undone.
struct Undone {
  std::string back, left;
  std::vector<JournalSwap> pending;
};

// A swap of the form a start writes: files of the installation that a start
// may swap, the backup the file's name with ".sav".
bool IsStartSwap(const std::string& installationFolder, const JournalSwap& swap) {
  if (swap.file.empty() || SwapSideProblem(installationFolder, swap.file) != SwapProblem::kNone) return false;
  if (!swap.backup.empty() && swap.backup != swap.file + ".sav") return false;
  return swap.substitute.empty() || SwapSideProblem(installationFolder, swap.substitute) == SwapProblem::kNone;
}

// Puts one swap back: the file in its place goes back to the substitute's
// name, the backup back to the file's name, each rename only where its file
// is there and its new name free. So a swap that was never made, or is back
// already, is left as it is, and a substitute whose backup the simulator
// deleted still gets its own name back.
void UndoSwap(const std::string& installationFolder, const JournalSwap& swap, Undone* undone) {
  if (!IsStartSwap(installationFolder, swap)) {
    undone->left += host::Wording(host::Why::kLineNotTouched, swap.file);
    undone->pending.push_back(swap);
    return;
  }
  const auto moveBack = [&](const std::string& from, const std::string& to) {
    if (!Exists(from) || Exists(to)) return;
    bool outside = false;
    if (platform::RenameFile(from, to, installationFolder, &outside)) {
      undone->back += host::Wording(host::Why::kLinePutBack, to);
    } else if (outside) {
      host::Report(host::Why::kLinkOutside, from, installationFolder);
    }
  };
  if (!swap.substitute.empty()) moveBack(swap.file, swap.substitute);
  if (!swap.backup.empty()) moveBack(swap.backup, swap.file);
  // Where the contents are when a rename could not be made.
  const bool backupLeft = !swap.backup.empty() && Exists(swap.backup);
  const bool substituteInPlace =
      !swap.substitute.empty() && !Exists(swap.substitute) && Exists(swap.file) && (swap.backup.empty() || backupLeft);
  if (backupLeft) {
    undone->left += host::Wording(host::Why::kLineContentIn, swap.file, swap.backup);
  }
  if (substituteInPlace) {
    undone->left += host::Wording(host::Why::kLineContentIn, swap.substitute, swap.file);
  }
  if (backupLeft || substituteInPlace) undone->pending.push_back(swap);
}

Undone UndoSwaps(const std::string& installationFolder, const std::vector<JournalSwap>& swaps) {
  Undone undone;
  for (auto swap = swaps.rbegin(); swap != swaps.rend(); ++swap) UndoSwap(installationFolder, *swap, &undone);
  // What is left is named in the order of the swaps.
  std::vector<JournalSwap> pending(undone.pending.rbegin(), undone.pending.rend());
  undone.pending = std::move(pending);
  return undone;
}

void ShowCannotWrite(const std::string& path) { host::Report(host::Why::kJournalNotWritten, path); }

// Keeps what is left for the next command: the journal with only the swaps
// still to be undone, or as it was when it cannot be rewritten.
void KeepPending(platform::HeldFile* held, RunJournal journal, const std::vector<JournalSwap>& pending) {
  journal.swaps = pending;
  platform::RewriteHeldFile(held, JournalText(journal));
  platform::LetGo(held);
}

}  // namespace

std::string RunJournalPath(const std::string& installationFolder) { return installationFolder + kJournalName; }

RunJournal OwnRunJournal(const std::string& layout) {
  RunJournal journal;
  journal.pid = platform::OwnProcessId();
  journal.startTime = platform::ProcessStartTime(journal.pid);
  journal.hostName = platform::HostName();
  journal.system = platform::SystemName(platform::ThisSystem());
  if (platform::ThisSystem() == platform::SystemKind::kWine) journal.prefix = platform::WinePrefixPath();
  journal.layout = layout;
  return journal;
}

std::string JournalText(const RunJournal& journal) {
  settings::SettingsFile file;
  file.AppendSection(kRunSection);
  file.Append("Prozess", std::to_string(journal.pid));
  file.Append("Start", journal.startTime);
  file.Append("Rechner", journal.hostName);
  if (!journal.system.empty()) file.Append("System", journal.system);
  if (!journal.prefix.empty()) file.Append("Prefix", journal.prefix);
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
  return file.Serialize();
}

RunJournal ParseJournal(const std::string& text) {
  settings::SettingsFile file;
  file.Parse(text);
  RunJournal journal;
  journal.pid = NumberOf(file, "Prozess");
  journal.startTime = TextOf(file, "Start");
  journal.hostName = TextOf(file, "Rechner");
  journal.system = TextOf(file, "System");
  journal.prefix = TextOf(file, "Prefix");
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

int HealInstallation(const std::string& installationFolder, DialogView* confirm, int* found, int* declined) {
  const std::string path = RunJournalPath(installationFolder);
  if (found != nullptr) *found = 0;
  if (declined != nullptr) *declined = 0;
  platform::HeldFile held;
  const platform::HoldOutcome outcome = platform::HoldFile(path, installationFolder, &held);
  if (outcome == platform::HoldOutcome::kGone) return 1;
  if (found != nullptr) *found = 1;
  if (outcome == platform::HoldOutcome::kOutside) {
    host::Report(host::Why::kLinkOutside, path, installationFolder);
    return 0;
  }
  std::string text;
  const bool busy = outcome == platform::HoldOutcome::kBusy;
  if (busy ? !platform::ReadWholeFile(path, &text) : !platform::ReadHeldFile(held, &text)) {
    host::Report(host::Why::kJournalNotRead, path);
    return 0;
  }
  const RunJournal journal = ParseJournal(text);
  Verdict verdict;
  if (busy) {
    verdict.liveness = platform::kAlive;
    verdict.pid = journal.simulatorPid > 0 ? journal.simulatorPid : journal.pid;
  } else if (outcome == platform::HoldOutcome::kHeld) {
    verdict = Judge(journal);
  } else {
    host::Report(host::Why::kJournalNotRead, path);
    return 0;
  }
  if (verdict.liveness == platform::kAlive) {
    host::Report(host::Why::kRunAlive, journal.layout, verdict.pid, journal.hostName);
    return 0;
  }
  if (verdict.liveness == platform::kCannotTell) {
    if (confirm == nullptr) {
      host::Report(host::Why::kRunUnjudged, journal.layout, verdict.pid, journal.hostName, verdict.why);
      return 0;
    }
    if (!confirm->AskYesNo(host::Wording(host::Why::kRunUnjudgedQuestion, journal.layout, verdict.pid, journal.hostName,
                                         verdict.why))) {
      if (declined != nullptr) *declined = 1;
      return 0;
    }
  }
  const Undone undone = UndoSwaps(installationFolder, journal.swaps);
  if (!undone.back.empty() || !undone.left.empty()) {
    host::Report(host::Why::kHealed, journal.layout, undone.back, undone.left,
                 undone.pending.empty() ? "" : host::Wording(host::Why::kJournalStays, path));
  }
  if (!undone.pending.empty()) {
    KeepPending(&held, journal, undone.pending);
    return 0;
  }
  if (platform::RemoveHeldFile(&held)) return 1;
  host::Report(host::Why::kJournalNotRemoved, path);
  return 0;
}

int BeginRun(const std::string& installationFolder, const std::string& layout, OwnRun* run) {
  run->installationFolder = installationFolder;
  const std::string path = RunJournalPath(installationFolder);
  // A start that creates its journal at the same moment wins; the next look
  // finds its journal held and refuses.
  for (int attempt = 0; attempt < 3; ++attempt) {
    if (!HealInstallation(installationFolder)) return 0;
    run->journal = OwnRunJournal(layout);
    switch (platform::CreateHeldFile(path, JournalText(run->journal), installationFolder, &run->held)) {
      case platform::HoldOutcome::kHeld: return 1;
      case platform::HoldOutcome::kExists: continue;
      case platform::HoldOutcome::kOutside: host::Report(host::Why::kLinkOutside, path, installationFolder); return 0;
      default: ShowCannotWrite(path); return 0;
    }
  }
  ShowCannotWrite(path);
  return 0;
}

int RecordRun(OwnRun* run) {
  if (platform::RewriteHeldFile(&run->held, JournalText(run->journal))) return 1;
  ShowCannotWrite(RunJournalPath(run->installationFolder));
  return 0;
}

int EndRun(OwnRun* run, const std::vector<std::string>& existedBefore) {
  const Undone undone = UndoSwaps(run->installationFolder, run->journal.swaps);
  // A file that was there before and is gone now, not named yet: the
  // simulator deleted it.
  std::string left = undone.left;
  for (const std::string& path : existedBefore) {
    if (!Exists(path) && left.find("  " + path + " ") == std::string::npos) {
      left += host::Wording(host::Why::kLineLost, path);
    }
  }
  const std::string path = RunJournalPath(run->installationFolder);
  if (!undone.pending.empty()) {
    host::Report(host::Why::kNotRestoredAfterRun, left, host::Wording(host::Why::kJournalStays, path));
    KeepPending(&run->held, run->journal, undone.pending);
    return 0;
  }
  int result = 1;
  if (!left.empty()) {
    host::Report(host::Why::kNotRestoredAfterRun, left, "");
    result = 0;
  }
  if (!platform::RemoveHeldFile(&run->held)) {
    host::Report(host::Why::kJournalNotRemoved, path);
    platform::LetGo(&run->held);
    return 0;
  }
  return result;
}

}  // namespace app
