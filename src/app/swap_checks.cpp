#include "app/swap_checks.h"

#include <cstdio>
#include <map>
#include <string>

#include "app/run_journal.h"
#include "host/installation_path.h"
#include "host/messages.h"
#include "host/paths.h"
#include "platform/cp1252.h"
#include "platform/platform.h"
#include "settings/section_names.h"

namespace app {
namespace {

// What Windows or the simulator would run or load as code.
const char* const kProgramExtensions[] = {"exe", "dll", "com", "bat", "cmd", "scr", "ocx",
                                          "cpl", "sys", "msi", "lnk", "vbs", "js",  "ps1"};

bool StartsWithMz(const std::string& path) {
  std::FILE* file = platform::OpenFile(path, "rb");
  if (file == nullptr) return false;
  char magic[2] = {0, 0};
  const bool mz = std::fread(magic, 1, 2, file) == 2 && magic[0] == 'M' && magic[1] == 'Z';
  std::fclose(file);
  return mz;
}

bool IsProgram(const std::string& path) {
  const std::string extension = host::ExtensionOf(path);
  for (const char* program : kProgramExtensions) {
    if (platform::EqualsIgnoringCase(extension, program)) return true;
  }
  return StartsWithMz(path);
}

// Two names of one file: the resolved paths, equal ignoring case (Windows
// names ignore it, and the lookup on Linux does too).
bool SameFile(const std::string& a, const std::string& b) {
  const std::string realA = platform::RealPathOf(a), realB = platform::RealPathOf(b);
  return !realA.empty() && platform::EqualsIgnoringCase(realA, realB);
}

std::string Entry(const settings::SettingsEntry& entry) {
  return host::StringPrintf("[%s]:%s=%s", settings::kCopySection, entry.name.c_str(), entry.value.c_str());
}

void ShowProblem(const settings::SettingsEntry& entry, const std::string& side, SwapProblem problem) {
  const std::string what = Entry(entry);
  switch (problem) {
    case SwapProblem::kNone: return;
    case SwapProblem::kOutside: host::Report(host::Why::kSwapOutside, what); return;
    case SwapProblem::kProgram: host::Report(host::Why::kSwapProgram, what, side); return;
    case SwapProblem::kFolder: host::Report(host::Why::kSwapFolder, what, side); return;
    case SwapProblem::kJournal: host::Report(host::Why::kSwapJournal, what, side); return;
    case SwapProblem::kTemporary: host::Report(host::Why::kSwapTemporary, what, side); return;
    case SwapProblem::kLayout: host::Report(host::Why::kSwapLayout, what, side); return;
  }
}

}  // namespace

SwapProblem SwapSideProblem(const std::string& installationFolder, const std::string& path) {
  if (!host::IsInsideInstallation(installationFolder, path)) return SwapProblem::kOutside;
  const std::string absolute = host::ResolvePath(installationFolder, path);
  if (platform::IsTemporaryFileName(host::FileNameOf(platform::StoredSpelling(absolute)))) {
    return SwapProblem::kTemporary;
  }
  if (SameFile(absolute, RunJournalPath(installationFolder))) return SwapProblem::kJournal;
  for (const std::string& name : {absolute, platform::RealPathOf(absolute)}) {
    const std::string extension = host::ExtensionOf(name);
    if (platform::EqualsIgnoringCase(extension, "anl") || platform::EqualsIgnoringCase(extension, "danl")) {
      return SwapProblem::kLayout;
    }
  }
  if (platform::PathStatus(absolute) == platform::kPathDirectory) return SwapProblem::kFolder;
  if (IsProgram(absolute)) return SwapProblem::kProgram;
  return SwapProblem::kNone;
}

int CheckSwaps(const settings::SettingsFile& settings, const std::string& installationFolder) {
  std::map<std::string, const settings::SettingsEntry*> keys;  // folded resolved key -> its entry
  for (const settings::SettingsEntry* entry : settings.EntriesOf(settings::kCopySection)) {
    for (const std::string* side : {&entry->name, &entry->value}) {
      const SwapProblem problem = SwapSideProblem(installationFolder, *side);
      if (problem != SwapProblem::kNone) {
        ShowProblem(*entry, host::ResolvePath(installationFolder, *side), problem);
        return 0;
      }
    }
    const std::string key = host::ResolvePath(installationFolder, entry->name);
    std::string folded = platform::RealPathOf(key);
    for (char& c : folded) c = static_cast<char>(platform::Cp1252Upper(static_cast<unsigned char>(c)));
    const auto earlier = keys.emplace(folded, entry);
    if (!earlier.second) {
      host::Report(host::Why::kSwapTwice, Entry(*earlier.first->second), Entry(*entry));
      return 0;
    }
  }
  return 1;
}

int CheckBackupsFree(const settings::SettingsFile& settings, const std::string& installationFolder) {
  for (const settings::SettingsEntry* entry : settings.EntriesOf(settings::kCopySection)) {
    const std::string key = platform::StoredSpelling(host::ResolvePath(installationFolder, entry->name));
    const std::string backup = key + ".sav";
    if (platform::PathStatus(key) != platform::kPathNone && platform::PathStatus(backup) != platform::kPathNone) {
      host::Report(host::Why::kSwapBackupExists, Entry(*entry), backup);
      return 0;
    }
  }
  return 1;
}

}  // namespace app
