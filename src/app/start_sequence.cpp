// "Starte ZUVO": prepares the installation for the loaded layout, runs the
// simulator on it, waits, puts the installation back and keeps what the run
// changed.
//
//  1. controls into the members           9. minimise the dialog
//  2. refuse an unloaded layout           10. run "%sKantrelwick.exe" "LAYOUT"
//  3. refuse an unknown installation          and wait for its end
//  4. save each kind's installed asset    11. restore the dialog
//     once as its default file            12. take the swaps back
//  5. chosen camera set into the layout   13. read the layout again
//     (the layout file is saved)          14. the cameras back into the set
//  6. install the four choices            15. the choices into "Zuvo"
//  7. make the "Copy" swaps               16. write the ".danl"
//  8. program path and quoted argument
//
// Steps 2 to 6 stop the command at their first failure; nothing done before is
// undone. From step 7 on the sequence always runs to its end, so that every
// swap made is taken back.
//
// Where this differs from the plain sequence, and why:
// - After step 13 the ".danl" is read again into a fresh image, and steps 14
//   to 16 work on that image, so that what the simulator wrote into the file
//   during its run is kept instead of being overwritten by the image read at
//   load time. When the file no longer exists the load's image is kept.
// - A simulator that cannot be started does not stop the sequence (the swaps
//   are taken back and the settings stored as after a run), but it is told at
//   the end in one message with the program's path.
// - Swap paths are made absolute against the installation, so a failed change
//   of the current directory never makes a rename act in another folder; the
//   swaps are taken back in reverse order, the exact undoing of a chain of
//   swaps (A=B, B=C). A rename never replaces a file, so a backup ".sav" left
//   by an interrupted run is never overwritten, and the next start's take-back
//   puts every file back.
// - The swaps are checked: a rename that fails although its file exists and
//   its new name is free stops the start before the run (the swaps made are
//   taken back); after the take-back, every file of the swaps that existed
//   before must be there again with no backup left, and a message names each
//   one that is not (deleted by the simulator, or a rename that failed). A
//   failed change into the installation's folder before the swaps stops the
//   start too. Otherwise such a start ended as if all were well.
// - A layout that cannot be saved with the chosen camera set stops the start
//   before anything is installed; when the layout cannot be read after the
//   run, the camera set is not overwritten with the views of a file that
//   could not be read. Either would replace the set with other views.
// - A run journal in the installation folder (run_journal.h) says, from
//   before step 4 until every swap is back, who runs and what is swapped;
//   each swap is written into it before its renames. A start first undoes
//   the journal of a run that was cut off, and refuses while the run it
//   names is alive. A journal that cannot be written stops the start before
//   anything changes. A take-back that is not whole keeps the journal, so
//   the next command puts back what it can.
// - Paths have no length limit.
// - An interrupt of the console program (platform/interrupt.h) stops the
//   start between its steps before the run, and between two swaps, with the
//   swaps made taken back; during the run it goes to the simulator, and the
//   start ends as after any run.
// - How the simulator ended is told to the view when it did not exit 0.
#include <set>
#include <string>
#include <vector>

#include "app/asset_kind_controls.h"
#include "app/copy_paths.h"
#include "app/guards.h"
#include "app/run_journal.h"
#include "app/startup_dialog.h"
#include "host/installation.h"
#include "host/installation_path.h"
#include "host/messages.h"
#include "layout/camera_set.h"
#include "layout/data_sheet.h"
#include "platform/interrupt.h"
#include "platform/platform.h"
#include "settings/settings_file.h"

namespace app {
namespace {

const char kZuvoSection[] = "Zuvo";
const char kCameraSetKey[] = "KamSet";
const char kCopySection[] = "Copy";
const char kProgramName[] = "Kantrelwick.exe";

struct Swap {
  std::string key;    // the file the simulator uses
  std::string value;  // the file that stands in its place during the run
};

// The key entries of every section named exactly "Copy", in file order.
std::vector<Swap> SwapsOf(const settings::SettingsFile& settings) {
  std::vector<Swap> swaps;
  for (const settings::SettingsEntry* entry : settings.EntriesOf(kCopySection)) {
    swaps.push_back(Swap{entry->name, entry->value});
  }
  return swaps;
}

// One rename of a swap. A rename that cannot apply (its file is missing, or
// the new name is taken) changes nothing and is passed over. One that fails
// although its file exists and the name is free is told, and gives 0.
int SwapRename(const std::string& host, const std::string& from, const std::string& to) {
  if (platform::RenameFile(from, to, host)) return 1;
  if (platform::PathStatus(from) == platform::kPathNone || platform::PathStatus(to) != platform::kPathNone) {
    return 1;
  }
  host::ShowFormatted("Datei %s kann nicht in %s umbenannt werden!\n", from.c_str(), to.c_str());
  return 0;
}

// Before the run: the key's file goes to "<key>.sav", the value's file takes
// the key's name, each swap written into the journal first with the renames
// it will make. Stops at the first rename that failed (see SwapRename), a
// journal that cannot be written, or an interrupt, never between the two
// renames of one swap.
int MakeSwaps(const std::string& host, const std::vector<Swap>& swaps, RunJournal* journal) {
  for (const Swap& swap : swaps) {
    if (platform::InterruptRequested()) return 0;
    const std::string key = host::InstallationPath(host, swap.key);
    const std::string backup = host::InstallationPath(host, swap.key + ".sav");
    const std::string value = host::InstallationPath(host, swap.value);
    const auto ifExists = [](const std::string& path) {
      return platform::PathStatus(path) != platform::kPathNone ? path : std::string();
    };
    journal->swaps.push_back(JournalSwap{key, ifExists(key).empty() ? "" : backup, ifExists(value)});
    if (!WriteRunJournal(host, *journal)) return 0;
    if (!SwapRename(host, key, backup)) return 0;
    if (!SwapRename(host, value, key)) return 0;
  }
  return 1;
}

// The end of a start that wrote its journal: the journal goes, unless
// `keep`; a journal that cannot be removed makes the result 0.
int EndRun(const std::string& host, int result, bool keep = false) {
  if (!keep && !RemoveRunJournal(host)) return 0;
  return result;
}

// The files of the swaps that exist before they are made.
std::set<std::string> ExistingSwapFiles(const std::string& host, const std::vector<Swap>& swaps) {
  std::set<std::string> existing;
  for (const Swap& swap : swaps) {
    for (const std::string* name : {&swap.key, &swap.value}) {
      const std::string path = host::InstallationPath(host, *name);
      if (platform::PathStatus(path) != platform::kPathNone) existing.insert(path);
    }
  }
  return existing;
}

// After the take-back every file of the swaps that existed before is there
// again and no backup is left. Otherwise one message names each file that
// does not hold its own content again (the simulator deleted it, or a
// rename failed), and the result is 0.
int CheckSwapsTakenBack(const std::string& host, const std::vector<Swap>& swaps,
                        const std::set<std::string>& existedBefore) {
  std::string lost;
  std::set<std::string> named;
  for (const Swap& swap : swaps) {
    const std::string key = host::InstallationPath(host, swap.key);
    const std::string backup = host::InstallationPath(host, swap.key + ".sav");
    if (platform::PathStatus(backup) != platform::kPathNone && named.insert(key).second) {
      lost += host::StringPrintf("  %s (Inhalt noch in %s)\n", key.c_str(), backup.c_str());
    }
    for (const std::string& path : {key, host::InstallationPath(host, swap.value)}) {
      if (existedBefore.count(path) != 0 && platform::PathStatus(path) == platform::kPathNone &&
          named.insert(path).second) {
        lost += host::StringPrintf("  %s (fehlt)\n", path.c_str());
      }
    }
  }
  if (lost.empty()) return 1;
  host::ShowFormatted("Nach dem Lauf nicht wiederhergestellt:\n%s", lost.c_str());
  return 0;
}

// After the run, in reverse order: the key's file goes back to the value's
// name, the backup back to the key's name. What could not be put back is
// found and told by CheckSwapsTakenBack.
void TakeSwapsBack(const std::string& host, const std::vector<Swap>& swaps) {
  for (auto swap = swaps.rbegin(); swap != swaps.rend(); ++swap) {
    const std::string key = host::InstallationPath(host, swap->key);
    platform::RenameFile(key, host::InstallationPath(host, swap->value), host);
    platform::RenameFile(host::InstallationPath(host, swap->key + ".sav"), key, host);
  }
}

}  // namespace

int StartupDialog::OnStartClicked() {
  // 1. The combo box's text, typed or selected, and the choices.
  view_->ExchangeData(&members, true);

  // 2, 3. A whole layout loaded (a wrong extension clears the paths but
  // keeps an earlier layout in memory), and a known installation.
  if (!CheckLoadedLayout(pair_) || !CheckInstallation()) return 0;
  const std::string host = host::HostDirectory();
  if (!CheckCopyPaths(pair_.settings, host)) return 0;

  // A run cut off is put back first; a live one stops the start. Then this
  // run's journal, before the first change.
  if (!HealInstallation(host)) return 0;
  RunJournal journal = OwnRunJournal(pair_.layoutPath);
  if (!WriteRunJournal(host, journal)) return 0;

  // 4. The installation's own assets, saved once; a kind without its folder
  // is skipped.
  for (int k = 0; k < host::kAssetKindCount; ++k) {
    const host::AssetKind kind = static_cast<host::AssetKind>(k);
    if (host::IsHostSubdirectory(host::AssetKindOf(kind).name) && !host::SaveOriginal(kind)) {
      host::ShowFormatted("%s", host::AssetKindOf(kind).saveFailed);
      return EndRun(host, 0);
    }
  }
  if (platform::InterruptRequested()) return EndRun(host, 0);

  // 5. The chosen camera set into the layout (the views stay when the set
  // does not exist); the layout file is written only with a set chosen. A
  // layout that cannot be saved stops the start (the save has said why):
  // the simulator would open without the set, and the set would then be
  // overwritten with the views it opened with.
  const std::string cameraSet = members.m_cameraSet;
  if (!cameraSet.empty()) {
    layout::ReadCameraSet(pair_.settings, cameraSet, pair_.layout.cameraViews);
    pair_.layout.PrepareForSave();
    if (!pair_.layout.Save(pair_.layoutPath, pair_.folder())) return EndRun(host, 0);
  }

  if (platform::InterruptRequested()) return EndRun(host, 0);

  // 6. The choices; an empty one installs the kind's default file when the
  // kind folder exists. A choice is installed even without its folder, and
  // the copy then fails with the kind's message.
  for (int k = 0; k < host::kAssetKindCount; ++k) {
    const host::AssetKind kind = static_cast<host::AssetKind>(k);
    const host::AssetKindInfo& info = host::AssetKindOf(kind);
    std::string file = members.*kAssetKindControls[k].choice;
    if (file.empty() && host::IsHostSubdirectory(info.name)) file = info.defaultFile;
    if (!file.empty() && !host::InstallChoice(file, kind)) {
      host::ShowFormatted(info.installFailed, file.c_str());
      return EndRun(host, 0);
    }
  }

  if (platform::InterruptRequested()) return EndRun(host, 0);
  int result = 1;

  // 7. The swaps, from the image read at load time; the same list takes them
  // back in step 12. The simulator runs in the installation's folder then.
  // A swap that cannot be made stops the start before the run, with the
  // swaps made so far taken back: the simulator never runs on files other
  // than the ones asked for.
  const bool hasCopy = pair_.settings.HasSection(kCopySection) != 0;
  const std::vector<Swap> swaps = SwapsOf(pair_.settings);
  const std::set<std::string> swapFiles = ExistingSwapFiles(host, swaps);
  if (hasCopy) {
    if (!platform::ChangeDirectory(host)) {
      host::ShowFormatted(host::kFolderCannotBeOpened, host.c_str());
      return EndRun(host, 0);
    }
    if (!MakeSwaps(host, swaps, &journal) || platform::InterruptRequested()) {
      TakeSwapsBack(host, swaps);
      return EndRun(host, 0, !CheckSwapsTakenBack(host, swaps, swapFiles));
    }
  }

  // 8 to 11. The run. Its exit code is not used: whatever the simulator did,
  // the installation is put back.
  const std::string program = host + kProgramName;
  const std::vector<std::string> arguments = {kProgramName, "\"" + pair_.layoutPath + "\""};
  view_->Minimize();
  // The simulator's process goes into the journal while it runs; should that
  // write fail, the run is still told by the tool's own process.
  int exitCode = 0, signal = 0;
  const int started = platform::RunAndWait(program, arguments, &exitCode, &signal, [&](long pid) {
    journal.simulatorPid = pid;
    journal.simulatorStart = platform::ProcessStartTime(pid);
    WriteRunJournal(host, journal, true);
    return 1;
  });
  view_->Restore();
  if (started && signal != 0 && platform::InterruptRequested()) {
    view_->ReportSimulatorEnd(host::StringPrintf("Simulator durch Signal %d beendet.", signal));
  } else if (started && signal != 0) {
    view_->ReportSimulatorEnd(host::StringPrintf("Simulator abgest\xFCrzt (Signal %d).", signal));
  } else if (started && exitCode != 0) {
    view_->ReportSimulatorEnd(host::StringPrintf("Simulator beendet mit Status %d.", exitCode));
  }

  // 12. The swap paths are absolute: the change of folder is for whatever
  // comes after, and its failure changes nothing here.
  bool keepJournal = false;
  if (hasCopy) {
    platform::ChangeDirectory(host);
    TakeSwapsBack(host, swaps);
    if (!CheckSwapsTakenBack(host, swaps, swapFiles)) {
      result = 0;
      keepJournal = true;
    }
  }
  result = EndRun(host, result, keepJournal);

  // 13. The simulator may have changed the layout (its cameras above all).
  pair_.layout.Release();
  const int reloaded = pair_.layout.Load(pair_.layoutPath, layout::HostDataSheets());
  if (!reloaded) result = 0;

  // The ".danl" as the simulator left it; without the file, the load's image.
  settings::SettingsFile afterRun;
  if (afterRun.Read(pair_.settingsPath)) pair_.settings = std::move(afterRun);

  // 14. The set's name into the list and into "Zuvo", and the cameras as the
  // simulator left them into the set.
  if (!cameraSet.empty()) {
    if (view_->FindCameraSetExact(cameraSet) < 0) view_->AddCameraSet(cameraSet);
    pair_.settings.Set(kZuvoSection, kCameraSetKey, cameraSet);
    if (reloaded) layout::WriteCameraSet(&pair_.settings, cameraSet, pair_.layout.cameraViews);
  }

  // 15. The choices made; an empty one leaves a stored value as it is.
  for (int k = 0; k < host::kAssetKindCount; ++k) {
    const host::AssetKind kind = static_cast<host::AssetKind>(k);
    const std::string& choice = members.*kAssetKindControls[k].choice;
    if (!choice.empty()) pair_.settings.Set(kZuvoSection, host::AssetKindOf(kind).name, choice);
  }

  // 16.
  if (pair_.settings.count() > 0 && !pair_.settings.Write(pair_.settingsPath, pair_.folder())) result = 0;

  if (!started) {
    host::ShowFormatted("Simulator \"%s\" kann nicht gestartet werden!\n", program.c_str());
    return 0;
  }
  return result;
}

}  // namespace app
