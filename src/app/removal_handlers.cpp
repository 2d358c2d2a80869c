// The three buttons under "Fehlende Modelle löschen".

#include "app/guards.h"
#include "app/history.h"
#include "app/installation_seams.h"
#include "app/startup_dialog.h"
#include "host/messages.h"
#include "host/save.h"
#include "host/wording.h"
#include "layout/removal.h"

namespace app {
namespace {

// The kind's word in the questions, notices and result lines.
const char* LabelOf(layout::RemovalKind kind) {
  switch (kind) {
    case layout::RemovalKind::kRollingStock: return "Rollmaterial";
    case layout::RemovalKind::kGbos: return "GBOs";
    case layout::RemovalKind::kRealEstate: return "Immobilien";
  }
  return "";
}

// The command that a version kept before the removal names.
const char* CommandOf(layout::RemovalKind kind) {
  switch (kind) {
    case layout::RemovalKind::kRollingStock: return "remove-missing rolling-stock";
    case layout::RemovalKind::kGbos: return "remove-missing gbos";
    case layout::RemovalKind::kRealEstate: return "remove-missing real-estate";
  }
  return "";
}

}  // namespace

// Without the installation every object would count as missing and the pass
// would strip the whole layout; nor while a folder of the kind is missing.
// The layout as it was goes into its history first (the result line names
// the version); nothing is removed without it. An older "<layout>.anl.bak"
// is left as it is. After a failed save its own message is the last word.
int StartupDialog::RemoveMissing(layout::RemovalKind kind, bool apply) {
  if (!CheckLoadedLayout(pair_) || !CheckInstallation(installation_) || !CheckKindFolder(installation_, pair_, kind)) {
    return 0;
  }
  const char* label = LabelOf(kind);
  InstallationObjects files(installation_);
  if (!apply) {
    view_->ReportRemoval(label, layout::RemoveMissing(&pair_.layout, kind, &files, false), false, "");
    return 1;
  }
  if (!view_->AskYesNo(host::Wording(host::Why::kRemovalQuestion, label))) return 1;
  view_->BeginWaitCursor();
  int kept = 0;
  if (!KeepLoadedPair(CommandOf(kind), &kept)) {
    view_->EndWaitCursor();
    return 0;
  }
  if (kept > 0)
    view_->ShowResult(host::Wording(host::Why::kHistoryKept, kept, HistoryPlaceOf(pair_.layoutPath).folder));
  const layout::Removal removal = layout::RemoveMissing(&pair_.layout, kind, &files, true);
  pair_.layout.PrepareForSave();
  const int saved = pair_.layout.Save(pair_.layoutPath, pair_.folder());
  view_->EndWaitCursor();
  if (!saved) return 0;
  view_->ReportRemoval(label, removal, true, pair_.layoutPath);
  return 1;
}

int StartupDialog::OnRemoveMissingRollingStockClicked() {
  return RemoveMissing(layout::RemovalKind::kRollingStock, true);
}

int StartupDialog::OnRemoveMissingGbosClicked() { return RemoveMissing(layout::RemovalKind::kGbos, true); }

int StartupDialog::OnRemoveMissingRealEstateClicked() { return RemoveMissing(layout::RemovalKind::kRealEstate, true); }

}  // namespace app
