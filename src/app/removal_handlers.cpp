// The three buttons under "Fehlende Modelle löschen".

#include "app/app_state.h"
#include "app/guards.h"
#include "app/startup_dialog.h"
#include "layout/removal.h"

namespace app {
namespace {

struct RemovalCommand {
  int (*pass)(layout::Layout*);
  const char* question;
  const char* done;
};

const RemovalCommand kRollingStock = {layout::RemoveMissingRollingStock,
                                      "Fehlendes Rollmaterial in der Anlage l\xF6schen?",
                                      "Fehlendes Rollmaterial wurde gel\xF6scht!"};
const RemovalCommand kGbos = {layout::RemoveMissingGbos, "Fehlende GBOs in der Anlage l\xF6schen?",
                              "Fehlende GBOs wurden gel\xF6scht!"};
const RemovalCommand kRealEstate = {layout::RemoveMissingRealEstate,
                                    "Fehlende Immobilien in der Anlage l\xF6schen?",
                                    "Fehlende Immobilien wurden gel\xF6scht!"};

int Remove(DialogView* view, const RemovalCommand& command) {
  if (!CheckLoadedLayout()) return 0;
  // Without the installation every object would count as missing and the
  // pass would strip the whole layout.
  if (!CheckInstallation()) return 0;
  if (!view->AskYesNo(command.question)) return 1;
  AppState& g = Globals();
  view->BeginWaitCursor();
  command.pass(&g.Layout);
  g.Layout.PrepareForSave();
  const int saved = g.Layout.Save(g.LayoutPath);
  view->EndWaitCursor();
  // After a failed save its own message is the last word.
  if (!saved) return 0;
  view->Notify(command.done);
  return 1;
}

}  // namespace

int StartupDialog::OnRemoveMissingRollingStockClicked() { return Remove(view_, kRollingStock); }

int StartupDialog::OnRemoveMissingGbosClicked() { return Remove(view_, kGbos); }

int StartupDialog::OnRemoveMissingRealEstateClicked() { return Remove(view_, kRealEstate); }

}  // namespace app
