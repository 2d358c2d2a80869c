// No buttons: the history of a layout, listed and brought back, and the
// version that each command keeps before it replaces a file of the pair.

#include <string>

#include "app/guards.h"
#include "app/history.h"
#include "app/run_journal.h"
#include "app/startup_dialog.h"
#include "host/messages.h"
#include "host/paths.h"
#include "host/save.h"
#include "host/wording.h"
#include "layout/layout_file.h"
#include "platform/platform.h"

namespace app {
namespace {

// The pair that `named` names, absolute against the current folder.
int PairPaths(const std::string& named, std::string* layoutPath, std::string* settingsPath) {
  const std::string absolute = host::ResolvePath(platform::CurrentDirectory(), named);
  if (!layout::LayoutFileOf(absolute, layoutPath)) return 0;
  *settingsPath = *layoutPath == absolute ? host::StripExtension(absolute) + ".danl" : absolute;
  return 1;
}

// The version numbered `number`; with 0 the newest whose files differ from
// `today`. Null after reporting why there is none.
const settings::HistoryVersion* ChooseVersion(const settings::HistoryIndex& index, int number,
                                              const settings::HistoryVersion& today, const HistoryPlace& place,
                                              const std::string& layoutPath) {
  for (auto it = index.versions.rbegin(); it != index.versions.rend(); ++it) {
    const bool differs = it->layout.content != today.layout.content || it->settings.content != today.settings.content;
    if (number == 0 ? differs : it->number == number) return &*it;
  }
  if (number == 0) {
    host::Report(host::Why::kHistoryNothingToRestore, layoutPath);
  } else {
    host::Report(host::Why::kHistoryNoVersion, number, place.index);
  }
  return nullptr;
}

}  // namespace

int StartupDialog::KeepLoadedPair(const std::string& command, int* number) {
  int kept = 0;
  const int done = KeepVersion(pair_.layoutPath, pair_.settingsPath, command, CountsOf(pair_), &kept);
  if (number != nullptr) *number = kept;
  return done;
}

void StartupDialog::HintAtHistory(const std::string& layoutPath) {
  settings::HistoryIndex index;
  host::Reasons quiet;  // a damaged history says so when it is used
  if (ReadHistory(HistoryPlaceOf(layoutPath), &index, &quiet) && !index.versions.empty()) {
    view_->ShowHint(host::Wording(host::Why::kHistoryHint, layoutPath, layoutPath));
  }
}

int StartupDialog::ListHistory(const std::string& named, HistoryListing* listing) {
  std::string settingsPath;
  if (!PairPaths(named, &listing->layoutPath, &settingsPath)) return 0;
  const HistoryPlace place = HistoryPlaceOf(listing->layoutPath);
  listing->folder = place.folder;
  settings::HistoryIndex index;
  if (!ReadHistory(place, &index)) return 0;
  listing->versions.assign(index.versions.rbegin(), index.versions.rend());
  return 1;
}

// The chosen version is read and checked before anything changes; today's
// pair is kept as a new version (so that the restore can be undone) while
// the run journal is held, then each file that differs is put back safely.
// A file the version did not have, or holds as it is today, is left as it
// is; a version that holds today's files changes nothing.
int StartupDialog::RestoreVersion(const std::string& named, int number) {
  std::string layoutPath, settingsPath;
  if (!PairPaths(named, &layoutPath, &settingsPath) || !CheckInstallation(installation_)) return 0;
  const HistoryPlace place = HistoryPlaceOf(layoutPath);
  settings::HistoryIndex index;
  if (!ReadHistory(place, &index)) return 0;
  if (index.versions.empty()) {
    host::Report(host::Why::kHistoryNone, layoutPath);
    return 0;
  }
  const settings::HistoryVersion today = PairAsVersion(layoutPath, settingsPath);
  const settings::HistoryVersion* chosen = ChooseVersion(index, number, today, place, layoutPath);
  if (chosen == nullptr) return 0;
  const settings::HistoryVersion version = *chosen;  // the index is read again when today's pair is kept
  struct Target {
    const settings::HistoryFile* stored;
    const std::string* path;
    bool same;
    std::string bytes;
  } targets[] = {{&version.layout, &layoutPath, version.layout.content == today.layout.content, {}},
                 {&version.settings, &settingsPath, version.settings.content == today.settings.content, {}}};
  bool anyDiffers = false;
  for (Target& target : targets) {
    target.same = target.same || target.stored->content.empty();
    if (!target.same && !ReadVersionFile(place, version.number, *target.stored, &target.bytes)) return 0;
    anyDiffers = anyDiffers || !target.same;
  }
  if (!anyDiffers) {
    view_->ShowResult(host::Wording(host::Why::kRestoreSameFiles, version.number, layoutPath));
    return 1;
  }
  if (!view_->AskYesNo(
          host::Wording(host::Why::kRestoreQuestion, version.number, version.time, version.command, layoutPath))) {
    return 1;
  }
  OwnRun run;
  if (!BeginRun(installation_.folder, layoutPath, &run)) return 0;
  int before = 0;
  int done = KeepVersion(layoutPath, settingsPath, "restore " + std::to_string(version.number), PairCounts(), &before);
  std::string restored;
  for (const Target& target : targets) {
    if (!done || target.same) continue;
    if (!host::SaveFileReporting(*target.path, target.bytes, place.layoutFolder)) {
      done = 0;
      continue;
    }
    restored += (restored.empty() ? "" : ", ") + host::ShownPath(*target.path);
  }
  const int ended = EndRun(&run, {});
  if (!done) return 0;
  view_->ShowResult(host::Wording(host::Why::kRestored, version.number, restored,
                                  before > 0 ? std::to_string(before) : std::string("-")));
  return ended;
}

}  // namespace app
