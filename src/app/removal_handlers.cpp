// The three buttons under "Fehlende Modelle löschen".

#include "app/guards.h"
#include "app/startup_dialog.h"
#include "host/installation.h"
#include "host/messages.h"
#include "layout/removal.h"

namespace app {
namespace {

struct RemovalCommand {
  int (*pass)(layout::Layout*);
  layout::RemovalKind kind;
  const char* question;
  const char* done;
};

const RemovalCommand kRollingStock = {layout::RemoveMissingRollingStock, layout::RemovalKind::kRollingStock,
                                      "Fehlendes Rollmaterial in der Anlage l\xF6schen?",
                                      "Fehlendes Rollmaterial wurde gel\xF6scht!"};
const RemovalCommand kGbos = {layout::RemoveMissingGbos, layout::RemovalKind::kGbos,
                              "Fehlende GBOs in der Anlage l\xF6schen?",
                              "Fehlende GBOs wurden gel\xF6scht!"};
const RemovalCommand kRealEstate = {layout::RemoveMissingRealEstate, layout::RemovalKind::kRealEstate,
                                    "Fehlende Immobilien in der Anlage l\xF6schen?",
                                    "Fehlende Immobilien wurden gel\xF6scht!"};

int Remove(DialogView* view, LoadedPair* pair, const RemovalCommand& command) {
  if (!CheckLoadedLayout(*pair)) return 0;
  // Without the installation every object would count as missing and the
  // pass would strip the whole layout.
  if (!CheckInstallation()) return 0;
  // Nor while a folder of the kind is missing.
  if (!CheckKindFolder(*pair, command.kind)) return 0;
  if (!view->AskYesNo(command.question)) return 1;
  view->BeginWaitCursor();
  // The layout as it was stays beside it; nothing is removed without it.
  std::string backup;
  if (!layout::KeepBackup(pair->layoutPath, pair->folder(), &backup)) {
    view->EndWaitCursor();
    return 0;
  }
  view->ShowResult("Sicherung geschrieben: " + backup);
  command.pass(&pair->layout);
  pair->layout.PrepareForSave();
  const int saved = pair->layout.Save(pair->layoutPath, pair->folder());
  view->EndWaitCursor();
  // After a failed save its own message is the last word.
  if (!saved) return 0;
  view->Notify(command.done);
  return 1;
}

}  // namespace

int StartupDialog::OnRemoveMissingRollingStockClicked() { return Remove(view_, &pair_, kRollingStock); }

int StartupDialog::OnRemoveMissingGbosClicked() { return Remove(view_, &pair_, kGbos); }

int StartupDialog::OnRemoveMissingRealEstateClicked() { return Remove(view_, &pair_, kRealEstate); }

}  // namespace app
