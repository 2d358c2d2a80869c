// "Starte ZUVO": prepares the installation for the loaded layout, runs the
// simulator on it, waits, puts the installation back and keeps what the run
// changed. Three phases, each below with the notes that explain it:
//
//   prepare   the checks, the run journal, the defaults saved once, the
//             chosen camera set into the layout (the pair kept in its
//             history first), the four choices installed; it stops at its
//             first failure (nothing to undo but the journal)
//   run       the "Copy" swaps, the simulator, the swaps taken back; once
//             begun it always runs to its end
//   store     the layout read again, the pair as the simulator left it kept
//             in its history, the cameras back into the set, the choices
//             into "Zuvo", the ".danl" written
//
// A run journal in the installation folder (run_journal.h) says, from before
// the first change until every swap is back, who runs and what is swapped.
// An interrupt of the console program (platform/interrupt.h) stops the
// prepare phase between its steps and the swaps between two swaps, with the
// swaps made taken back; during the run it goes to the simulator, and the
// start ends as after any run. Paths have no length limit.
#include <string>
#include <vector>

#include "app/asset_kind_controls.h"
#include "app/guards.h"
#include "app/run_journal.h"
#include "app/startup_dialog.h"
#include "app/swap_checks.h"
#include "host/installation.h"
#include "host/installation_path.h"
#include "host/messages.h"
#include "host/paths.h"
#include "host/wording.h"
#include "layout/camera_set.h"
#include "app/installation_seams.h"
#include "platform/interrupt.h"
#include "platform/platform.h"
#include "settings/section_names.h"
#include "settings/settings_file.h"

namespace app {
namespace {

const char kProgramName[] = "Kantrelwick.exe";

// One swap of "[Copy]", its files as they are named on disk: a rename that
// is undone later gives the user's files back their own names.
struct Swap {
  std::string entry;  // "KEY=VALUE" as the settings file writes it
  std::string key;    // the file the simulator uses
  std::string value;  // the file that stands in its place during the run
};

std::vector<Swap> SwapsOf(const settings::SettingsFile& settings, const std::string& installationFolder) {
  std::vector<Swap> swaps;
  for (const settings::SettingsEntry* entry : settings.EntriesOf(settings::kCopySection)) {
    swaps.push_back(Swap{entry->name + "=" + entry->value, host::ResolvePath(installationFolder, entry->name),
                         host::ResolvePath(installationFolder, entry->value)});
  }
  return swaps;
}

bool Exists(const std::string& path) { return platform::PathStatus(path) != platform::kPathNone; }

// The files of the swaps that exist before they are made.
std::vector<std::string> ExistingSwapFiles(const std::vector<Swap>& swaps) {
  std::vector<std::string> existing;
  for (const Swap& swap : swaps) {
    for (const std::string* path : {&swap.key, &swap.value}) {
      if (Exists(*path)) existing.push_back(platform::StoredSpelling(*path));
    }
  }
  return existing;
}

// One rename of a swap. A rename that cannot apply (its file is missing, or
// the new name is taken) changes nothing and is passed over. One that fails
// although its file exists and the name is free, or that a link planted
// meanwhile would lead out of the installation, is told and gives 0.
int SwapRename(const std::string& installationFolder, const std::string& from, const std::string& to) {
  bool outside = false;
  if (platform::RenameFile(from, to, installationFolder, &outside)) return 1;
  if (outside) {
    host::Report(host::Why::kLinkOutside, from, installationFolder);
    return 0;
  }
  if (!Exists(from) || Exists(to)) return 1;
  host::Report(host::Why::kCannotRename, from, to);
  return 0;
}

// The key's file goes to "<key>.sav", the value's file takes the key's name,
// each swap written into the journal first with the renames it will make.
// A swap whose substitute is missing when its turn comes (after the swaps
// before it, so a chain is judged as it is made) is not made at all: the
// key's file stays where the simulator expects it. Each such swap is told
// to the view, and its line for the notice after the run added to *notMade. Stops at the first rename
// that failed, a journal that cannot be written, or an interrupt, never
// between the two renames of one swap.
int MakeSwaps(const std::vector<Swap>& swaps, OwnRun* run, DialogView* view, std::string* notMade) {
  for (const Swap& swap : swaps) {
    if (platform::InterruptRequested()) return 0;
    const std::string key = platform::StoredSpelling(swap.key);
    const std::string value = platform::StoredSpelling(swap.value);
    if (!Exists(value)) {
      view->ReportSwapNotMade(host::Wording(host::Why::kSwapSubstituteMissing, swap.entry, value));
      *notMade += host::Wording(host::Why::kSwapNotMadeLine, swap.entry, value);
      continue;
    }
    const std::string backup = key + ".sav";
    run->journal.swaps.push_back(JournalSwap{key, Exists(key) ? backup : "", value});
    if (!RecordRun(run)) return 0;
    if (!SwapRename(run->installationFolder, key, backup)) return 0;
    if (!SwapRename(run->installationFolder, value, key)) return 0;
    view->ReportSwapMade(host::Wording(host::Why::kSwapMade, swap.entry));
  }
  return 1;
}

// How the simulator ended, told to the view when it did not exit 0.
void ReportSimulatorEnd(DialogView* view, int exitCode, int signal) {
  if (signal != 0 && platform::InterruptRequested()) {
    view->ReportSimulatorEnd(host::Wording(host::Why::kSimulatorStopped, signal));
  } else if (signal != 0) {
    view->ReportSimulatorEnd(host::Wording(host::Why::kSimulatorCrashed, signal));
  } else if (exitCode != 0) {
    view->ReportSimulatorEnd(host::Wording(host::Why::kSimulatorEndedWith, exitCode));
  }
}

}  // namespace

// The prepare phase, from the defaults on. A kind without its folder saves
// no default. The layout file is written only with a set chosen (the views
// stay when the set does not exist), and only once the pair as it was is in
// its history; one that cannot be saved stops the
// start (the save has said why): the simulator would open without the set,
// and the set would then be overwritten with the views it opened with. An
// empty choice installs the kind's default file when the kind folder exists;
// a choice is installed even without its folder, and the copy then fails
// with the kind's message.
int StartupDialog::PrepareRun(const std::string& cameraSet) {
  for (int k = 0; k < host::kAssetKindCount; ++k) {
    const host::AssetKind kind = static_cast<host::AssetKind>(k);
    if (installation_.HasFolder(host::AssetKindOf(kind).name) && !host::SaveOriginal(installation_, kind)) {
      host::Report(host::Why::kDefaultNotSaved, host::AssetKindOf(kind).name);
      return 0;
    }
  }
  if (platform::InterruptRequested()) return 0;
  if (!cameraSet.empty()) {
    if (!KeepLoadedPair("start")) return 0;
    layout::ReadCameraSet(pair_.settings, cameraSet, pair_.layout.cameraViews);
    pair_.layout.PrepareForSave();
    if (!pair_.layout.Save(pair_.layoutPath, pair_.folder())) return 0;
  }
  if (platform::InterruptRequested()) return 0;
  for (int k = 0; k < host::kAssetKindCount; ++k) {
    const host::AssetKind kind = static_cast<host::AssetKind>(k);
    const host::AssetKindInfo& info = host::AssetKindOf(kind);
    std::string file = members.*kAssetKindControls[k].choice;
    if (file.empty() && installation_.HasFolder(info.name)) file = info.defaultFile;
    if (file.empty()) continue;
    if (!host::InstallChoice(installation_, file, kind)) {
      host::Report(host::Why::kChoiceNotInstalled, info.name, file);
      return 0;
    }
    view_->ReportInstalled(kind, file);
  }
  return !platform::InterruptRequested();
}

// The run phase. The swaps come from the image read at load time. A swap that
// cannot be made stops the start before the run, with the swaps made so far
// taken back: the simulator never runs on files other than the ones asked
// for. The simulator runs in the installation's folder; it is recorded in the
// journal before it can run a single step, and a journal that cannot say so
// keeps it from running at all. Its exit code is not used: whatever it did,
// the installation is put back, in reverse order (the exact undoing of a
// chain A=B, B=C), never replacing a file. A simulator that cannot be started
// does not stop the sequence (the swaps are taken back and the settings
// stored as after a run) but is told at the end.
StartupDialog::RunOutcome StartupDialog::RunWithSwaps(OwnRun* run) {
  RunOutcome outcome;
  const std::string& installationFolder = run->installationFolder;
  const std::vector<Swap> swaps = SwapsOf(pair_.settings, installationFolder);
  const std::vector<std::string> existedBefore = ExistingSwapFiles(swaps);
  if (pair_.settings.HasSection(settings::kCopySection) && !platform::ChangeDirectory(installationFolder)) {
    host::Report(host::Why::kFolderCannotBeOpened, installationFolder);
    EndRun(run, existedBefore);
    return outcome;
  }
  if (!MakeSwaps(swaps, run, view_, &outcome.swapsNotMade) || platform::InterruptRequested()) {
    EndRun(run, existedBefore);
    return outcome;
  }
  outcome.program = installationFolder + kProgramName;
  const std::vector<std::string> arguments = {kProgramName, "\"" + pair_.layoutPath + "\""};
  view_->Minimize();
  int exitCode = 0, signal = 0;
  bool recorded = true;
  outcome.started = platform::RunAndWait(
      outcome.program, arguments, &exitCode, &signal,
      [&](long pid) {
        run->journal.simulatorPid = pid;
        run->journal.simulatorStart = platform::ProcessStartTime(pid);
        recorded = RecordRun(run) != 0;
        if (recorded) view_->ReportSimulatorRunning(pid);
        return recorded ? 1 : 0;
      },
      [this](int seconds) { view_->ShowRunTime(seconds); });
  view_->Restore();
  if (outcome.started) ReportSimulatorEnd(view_, exitCode, signal);
  outcome.toldWhyNotStarted = !recorded;
  // The change of folder is for whatever comes after; the swap paths are
  // absolute, so its failure changes nothing.
  if (pair_.settings.HasSection(settings::kCopySection)) platform::ChangeDirectory(installationFolder);
  outcome.takenBack = EndRun(run, existedBefore);
  outcome.ran = true;
  return outcome;
}

// The store phase. The simulator may have changed the layout (its cameras
// above all) and its ".danl": the steps work on the ".danl" as the simulator
// left it, so what it wrote is kept (without the file, the load's image).
// When the layout cannot be read after the run, the camera set is not
// overwritten with the views of a file that could not be read. An empty
// choice leaves a stored value as it is.
int StartupDialog::StoreAfterRun(const std::string& cameraSet) {
  pair_.layout.Release();
  const int reloaded = pair_.layout.Load(pair_.layoutPath, DataSheets(installation_));
  settings::SettingsFile afterRun;
  if (afterRun.Read(pair_.settingsPath)) pair_.settings = std::move(afterRun);
  bool newSet = false;
  // The pair as the simulator left it goes into the history before anything
  // is written after the run; without that nothing is.
  const int kept = KeepLoadedPair("start: nach dem Lauf");
  if (!cameraSet.empty()) {
    if (view_->FindCameraSetExact(cameraSet) < 0) view_->AddCameraSet(cameraSet);
    newSet = reloaded && !pair_.settings.HasSection(layout::CameraSetSection(cameraSet));
    pair_.settings.Set(settings::kZuvoSection, settings::kCameraSetKey, cameraSet);
    if (reloaded) layout::WriteCameraSet(&pair_.settings, cameraSet, pair_.layout.cameraViews);
  }
  for (int k = 0; k < host::kAssetKindCount; ++k) {
    const host::AssetKind kind = static_cast<host::AssetKind>(k);
    const std::string& choice = members.*kAssetKindControls[k].choice;
    if (!choice.empty()) pair_.settings.Set(settings::kZuvoSection, host::AssetKindOf(kind).name, choice);
  }
  const int written = kept && (pair_.settings.count() == 0 || pair_.settings.Write(pair_.settingsPath, pair_.folder()));
  if (newSet && written) view_->ShowResult(host::Wording(host::Why::kCameraSetNew, cameraSet, pair_.settingsPath));
  return reloaded && written;
}

// The checks refuse an unloaded layout (a wrong extension clears the paths but
// keeps an earlier layout in memory), an unknown installation and harmful
// swaps, all before anything changes. A run cut off is put back first; a
// live one stops the start.
int StartupDialog::OnStartClicked() {
  view_->ExchangeData(&members, true);
  if (!CheckLoadedLayout(pair_) || !CheckInstallation(installation_)) return 0;
  const std::string& installationFolder = installation_.folder;
  if (!CheckSwaps(pair_.settings, installationFolder)) return 0;
  OwnRun run;
  if (!BeginRun(installationFolder, pair_.layoutPath, &run)) return 0;
  const std::string cameraSet = members.m_cameraSet;
  if (!CheckBackupsFree(pair_.settings, installationFolder) || !PrepareRun(cameraSet)) {
    EndRun(&run, {});
    return 0;
  }
  const RunOutcome outcome = RunWithSwaps(&run);
  if (!outcome.ran) return 0;
  const int stored = StoreAfterRun(cameraSet);
  if (!outcome.swapsNotMade.empty()) {
    view_->NotifyAfterRun(host::Wording(host::Why::kSwapsNotMadeNotice, outcome.swapsNotMade));
  }
  if (!outcome.started) {
    if (!outcome.toldWhyNotStarted) {
      host::Report(host::Why::kSimulatorNotStarted, outcome.program);
      const std::string loader = platform::MissingLoaderOf(outcome.program);
      if (!loader.empty()) host::Report(host::Why::kLoaderMissing, loader, kProgramName);
    }
    return 0;
  }
  return outcome.takenBack && stored;
}

}  // namespace app
