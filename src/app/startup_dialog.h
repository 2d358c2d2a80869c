// The main dialog's members and every button handler, written once against
// the DialogView interface (the Win32 window, the console and the tests each
// provide one).
//
// Result contract of the handlers: 1 when the command completed (a No answer
// to its question included), 0 when it stopped at a failure it reported. The
// window ignores the result; zuvo turns it into its exit status.
#pragma once

#include <string>
#include <vector>

#include "app/dialog_view.h"
#include "app/history.h"
#include "app/loaded_pair.h"
#include "app/run_journal.h"
#include "host/installation.h"
#include "layout/lists.h"

namespace app {

class StartupDialog {
 public:
  // The view must outlive the dialog. `installation` is the one its front
  // end looked up; every handler works on it.
  StartupDialog(DialogView* view, const host::Installation& installation);

  // The start-up logic of the window: the four "Auswählen" buttons enabled by
  // their kind folders, then the first argument (a Windows path), when there
  // is one, loaded and shown. 0 when that load failed.
  int OnInitDialog(const std::vector<std::string>& arguments);

  // Loads the pair named by m_layoutPath (".anl" or ".danl"). Exchanges
  // nothing with the controls itself. 0 when the load stopped.
  int LoadLayout();

  int OnLoadClicked();             // 1001 "Laden"
  int OnStartClicked();            // 1003 "Starte ZUVO" (start_sequence.cpp)
  int OnDeleteCameraSetClicked();  // 1004 "Löschen"
  int OnGenTerrainClicked();       // 1005 "Gen. Terrain"
  // No button: a picture of each terrain beside the layout (zuvo terrain
  // --preview), generating nothing.
  int PreviewTerrain();

  int OnChooseBufferStopClicked();     // 1006
  int OnChooseCatenaryClicked();       // 1008
  int OnChooseGuidePostClicked();      // 1010
  int OnChooseGroundTextureClicked();  // 1012
  int OnStandardClicked();             // 1015 "Standard"

  int OnRemoveMissingRollingStockClicked();  // 1016 "Rollmaterial"
  int OnRemoveMissingGbosClicked();          // 1017 "GBOs"
  int OnRemoveMissingRealEstateClicked();    // 1018 "Immobilien"
  // The three buttons' pass; without `apply` the same checks and the same
  // pass, reported (ReportRemoval) but not applied: nothing is asked, saved
  // or changed.
  int RemoveMissing(layout::RemovalKind kind, bool apply);

  // No buttons: the loaded layout saved again as it is (zuvo resave), and
  // drawn as a map into `target`, "<layout>.svg" beside it when empty (zuvo
  // map).
  int Resave();
  int WriteMap(const std::string& target);
  // The map's SVG text into *svg, written nowhere (zuvo map -o -).
  int DrawMap(std::string* svg);

  // No button: what a start that was cut off left swapped, put back (zuvo
  // repair). With `force` a run that cannot be judged is put back after a
  // question.
  int Repair(bool force);

  // No buttons: the history of the layout that `named` names (".anl" or
  // ".danl"), which need not load (history.h). ListHistory gives its
  // versions, newest first. RestoreVersion puts version `number` back (0:
  // the newest that differs from today's files) after a question, with
  // today's pair kept as a new version first and the run journal held, so
  // that no start runs meanwhile.
  int ListHistory(const std::string& named, HistoryListing* listing);
  int RestoreVersion(const std::string& named, int number);

  int OnInventoryListClicked();  // 1019 "Inventarliste"
  int OnMissingListClicked();    // 1020 "Fehlliste"

  // The pair loaded last (see loaded_pair.h).
  const LoadedPair& pair() const { return pair_; }
  const host::Installation& installation() const { return installation_; }

  // The members exchanged with the controls (m_cameraSet, m_layoutPath and
  // the four choices).
  DialogMembers members;

 private:
  // The phases of OnStartClicked (start_sequence.cpp).
  struct RunOutcome {
    bool ran = false;                // the run phase got to the simulator (or tried)
    bool started = false;            // the simulator ran
    bool toldWhyNotStarted = false;  // its journal could not be written: said already
    bool takenBack = false;          // every swap is back, the journal removed
    std::string program;
    std::string swapsNotMade;  // a line each: swaps left out, their substitute missing
  };
  int PrepareRun(const std::string& cameraSet);
  int WriteList(layout::ListKind kind);
  RunOutcome RunWithSwaps(OwnRun* run);
  int StoreAfterRun(const std::string& cameraSet);
  // Keeps the loaded pair as it is on disk in its history before `command`
  // replaces a file of it (history.h); *number (when not null) gets the
  // version. 0 after reporting why: the command must stop.
  int KeepLoadedPair(const std::string& command, int* number = nullptr);
  // After a load that failed: the hint that the history holds older versions.
  void HintAtHistory(const std::string& layoutPath);

  DialogView* view_;
  host::Installation installation_;
  LoadedPair pair_;
};

}  // namespace app
