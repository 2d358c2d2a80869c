// The window operations that the dialog's handlers need, one call each.
//
// The Win32 dialog, the console front end and the tests each implement this
// interface; the handlers in StartupDialog exist once and never touch a
// window system themselves.
#pragma once

#include <string>

#include "host/installation.h"
#include "host/wording.h"
#include "layout/removal.h"

namespace app {

// Control ids of the main dialog (template 102).
enum ControlId {
  kIdOk = 1,
  kIdLayoutPath = 1000,
  kIdLoad = 1001,
  kIdCameraSetCombo = 1002,
  kIdStart = 1003,
  kIdDeleteCameraSet = 1004,
  kIdGenTerrain = 1005,
  kIdChooseBufferStop = 1006,
  kIdBufferStop = 1007,
  kIdChooseCatenary = 1008,
  kIdCatenary = 1009,
  kIdChooseGuidePost = 1010,
  kIdGuidePost = 1011,
  kIdChooseGroundTexture = 1012,
  kIdGroundTexture = 1013,
  kIdStandard = 1015,
  kIdRemoveRollingStock = 1016,
  kIdRemoveGbos = 1017,
  kIdRemoveRealEstate = 1018,
  kIdInventoryList = 1019,
  kIdMissingList = 1020,
};

// The dialog's members that are exchanged with its controls.
struct DialogMembers {
  std::string m_cameraSet;      // text of combo box 1002
  std::string m_layoutPath;     // edit 1000
  std::string m_bufferStop;     // edit 1007
  std::string m_guidePost;      // edit 1011
  std::string m_catenary;       // edit 1009
  std::string m_groundTexture;  // edit 1013
};

class DialogView {
 public:
  virtual ~DialogView() = default;

  // Data exchange: with `fromControls` the controls' texts go into the
  // members, otherwise the members go into the controls. The camera-set
  // combo box then shows exactly the member's text (no list entry that
  // merely begins with it is selected instead).
  virtual void ExchangeData(DialogMembers* members, bool fromControls) = 0;

  // The camera-set combo box's list, which keeps itself sorted ignoring case.
  virtual void ClearCameraSets() = 0;
  virtual void AddCameraSet(const std::string& name) = 0;
  // Index of the entry equal to `name` as a whole, ignoring case; -1 if none.
  virtual int FindCameraSetExact(const std::string& name) = 0;
  virtual void DeleteCameraSet(int index) = 0;

  virtual void EnableControl(int id, bool enabled) = 0;

  // A question owned by the dialog, caption "ZUVO Startup", Yes and No.
  // True only for Yes.
  virtual bool AskYesNo(const std::string& text) = 0;
  // A notice owned by the dialog, caption "ZUVO Startup", OK only.
  virtual void Notify(const std::string& text) = 0;
  // A result line that only the command line shows, such as a file written
  // beside the one the command is about (the catalogue's text). The window
  // shows nothing.
  virtual void ShowResult(const std::string& text) { (void)text; }
  // A line that follows a message on the command line and tells what to do
  // next there (a zuvo command). The window shows nothing.
  virtual void ShowHint(const std::string& text) { (void)text; }

  // What a handler did, told as it happens, so that each front end shows it
  // its own way. A kind's file installed (its choice or its default file):
  // the window shows nothing.
  virtual void ReportInstalled(host::AssetKind kind, const std::string& file) {
    (void)kind;
    (void)file;
  }
  // What a removal removed (`applied`: and saved into `savedTo`) or, in a
  // dry run, would remove: the window shows the button's notice once the
  // layout is saved.
  virtual void ReportRemoval(const std::string& label, const layout::Removal& removal, bool applied,
                             const std::string& savedTo) {
    (void)removal;
    (void)savedTo;
    if (applied) Notify(host::Wording(host::Why::kRemovalDone, label));
  }

  // The file-open dialog with an initial name and a filter such as
  // "Anlagen|*.anl|Alle Dateien|*.*|". True when the user confirmed; the
  // chosen full path (possibly empty) then goes to *chosen.
  virtual bool ChooseFile(const std::string& initialName, const std::string& filter, std::string* chosen) = 0;

  virtual void BeginWaitCursor() = 0;
  virtual void EndWaitCursor() = 0;

  // Minimising and restoring the dialog around the simulator's run.
  virtual void Minimize() = 0;
  virtual void Restore() = 0;

  // Progress of terrain generation: `done` of `total` tiles of the terrain
  // section `section` are written. The window shows only the wait cursor.
  virtual void ShowProgress(const std::string& section, int done, int total) {
    (void)section;
    (void)done;
    (void)total;
  }

  // How the simulator ended, when it did not exit with 0 ("Simulator beendet
  // mit Status 3."). The window shows nothing.
  virtual void ReportSimulatorEnd(const std::string& text) { (void)text; }

  // A swap of "[Copy]" made for the run (the catalogue's line), as it is
  // made: the window shows nothing.
  virtual void ReportSwapMade(const std::string& text) { (void)text; }
  // The simulator's process `pid` is about to run, once everything is in
  // place for it: the window shows nothing (it is minimised).
  virtual void ReportSimulatorRunning(long pid) { (void)pid; }
  // About once a second while the simulator runs: how long it has run. The
  // window shows nothing.
  virtual void ShowRunTime(int seconds) { (void)seconds; }

  // A swap of "[Copy]" that is not made because its substitute is missing
  // (the catalogue's line), told before the run. The window says it in the
  // notice after the run.
  virtual void ReportSwapNotMade(const std::string& text) { (void)text; }
  // A notice after the run about what was told before it: the window shows
  // it; the console, which told it before the run, does not repeat it.
  virtual void NotifyAfterRun(const std::string& text) { Notify(text); }

  // Ends a progress line that stopped short of its total (an interrupt).
  virtual void EndProgress() {}

  // The terrain section `section` has all its `tiles` written into `folder`.
  // The window shows nothing of it.
  virtual void ShowTerrainWritten(const std::string& section, const std::string& folder, int tiles) {
    (void)section;
    (void)folder;
    (void)tiles;
  }
};

}  // namespace app
