// The dialog as the command line sees it: controls kept in memory, questions
// asked on the terminal, notices on standard output. Messages go to standard
// error through the default message sink.
#pragma once

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "app/dialog_view.h"

namespace console {

// Writes UTF-8 text (the help, usage errors) as the terminal shows it, through
// platform::WriteText; 0 when the write failed.
int WriteUtf8Text(std::FILE* stream, const std::string& utf8);

class ConsoleView : public app::DialogView {
 public:
  // With `answerYes` every question is answered Yes without asking.
  explicit ConsoleView(bool answerYes);

  void ExchangeData(app::DialogMembers* members, bool fromControls) override;
  void ClearCameraSets() override;
  void AddCameraSet(const std::string& name) override;
  int FindCameraSetExact(const std::string& name) override;
  void DeleteCameraSet(int index) override;
  void EnableControl(int id, bool enabled) override;
  // Yes with --yes; otherwise asked when standard input is a terminal, and
  // No (said on standard error) when it is not.
  bool AskYesNo(const std::string& text) override;
  // 1 once a question was answered No: the command did not do its work.
  int declined() const { return declined_; }
  void Notify(const std::string& text) override;
  void ShowResult(const std::string& text) override { Notify(text); }
  // On standard error, after the message it follows.
  void ShowHint(const std::string& text) override;
  // There is no file dialog on the command line: always cancelled.
  bool ChooseFile(const std::string& initialName, const std::string& filter, std::string* chosen) override;
  void BeginWaitCursor() override {}
  void EndWaitCursor() override {}
  void Minimize() override {}
  // Ends the line of the run time.
  void Restore() override;
  // "tiles written of total" on standard error, only on a terminal.
  void ShowProgress(const std::string& section, int done, int total) override;
  void EndProgress() override;
  // On standard error, before the run; not repeated after it.
  void ReportSwapNotMade(const std::string& text) override;
  void NotifyAfterRun(const std::string& text) override { (void)text; }
  // The line on standard output; the command then exits 3.
  void ReportSimulatorEnd(const std::string& text) override;
  // 1 once the simulator was reported to have crashed or failed.
  int simulatorFailed() const { return simulatorFailed_; }
  void ShowTerrainWritten(const std::string& section, const std::string& folder, int tiles) override;
  // The removal's result line (a dry run: the names too), on standard output.
  void ReportRemoval(const std::string& label, const layout::Removal& removal, bool applied,
                     const std::string& savedTo) override;
  // "{kind}: {file} installiert" on standard output, as it is installed.
  void ReportInstalled(host::AssetKind kind, const std::string& file) override;
  // How many files were reported installed.
  int installed() const { return installed_; }
  // On standard output, before the simulator runs.
  void ReportSwapMade(const std::string& text) override;
  void ReportSimulatorRunning(long pid) override;
  // "Kantrelwick läuft seit 0:05" on standard error, rewritten in place;
  // only on a terminal.
  void ShowRunTime(int seconds) override;

  // What the controls show.
  const app::DialogMembers& controls() const { return controls_; }
  // The camera-set list in its order (sorted ignoring case).
  const std::vector<std::string>& cameraSets() const { return cameraSets_; }
  // Buttons are enabled unless disabled; "Gen. Terrain" starts disabled.
  bool IsEnabled(int id) const;

 private:
  bool answerYes_;
  bool progressOpen_ = false;  // a progress line without its line end
  int declined_ = 0;
  int simulatorFailed_ = 0;
  app::DialogMembers controls_;
  std::vector<std::string> cameraSets_;
  int installed_ = 0;
  bool runTimeOpen_ = false;  // a run-time line without its line end
  std::map<int, bool> enabled_;
};

}  // namespace console
