// The handler tests' frame: a view with its controls in memory, scripted answers
// and a log of what the handlers ask, tell and do; an installation; a fresh dialog.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <functional>
#include <map>

#include "app/startup_dialog.h"
#include "host/installation.h"
#include "layout/layout_bytes.h"
#include "platform/cp1252.h"
#include "platform/faults.h"
#include "platform/platform.h"
#include "support/test_support.h"

namespace app_testing {

using Texts = std::vector<std::string>;

class ScriptedView : public app::DialogView {
 public:
  std::deque<bool> answers;                              // used in order, then No
  std::deque<std::pair<bool, std::string>> fileAnswers;  // confirmed, chosen path; then cancelled
  app::DialogMembers controls;
  Texts cameraSets;             // the combo box's list, in the order added
  std::map<int, bool> enabled;  // only controls that were set
  Texts log;  // "? question", "! notice", "= result", "hint text", "file initial|filter", "section done/total",
              // "Minimize", "Restore"
  int waitDepth = 0;
  std::function<void(long)> onRunning;  // called as the simulator is about to run

  void ExchangeData(app::DialogMembers* members, bool fromControls) override {
    *(fromControls ? members : &controls) = fromControls ? controls : *members;
  }
  void ClearCameraSets() override { cameraSets.clear(); }
  void AddCameraSet(const std::string& name) override { cameraSets.push_back(name); }
  int FindCameraSetExact(const std::string& name) override {
    auto it = std::find_if(cameraSets.begin(), cameraSets.end(),
                           [&](auto& s) { return platform::EqualsIgnoringCase(s, name); });
    return it == cameraSets.end() ? -1 : static_cast<int>(it - cameraSets.begin());
  }
  void DeleteCameraSet(int index) override { cameraSets.erase(cameraSets.begin() + index); }
  void EnableControl(int id, bool on) override { enabled[id] = on; }
  bool AskYesNo(const std::string& text) override {
    log.push_back("? " + text);
    const bool answer = !answers.empty() && answers.front();
    if (!answers.empty()) answers.pop_front();
    return answer;
  }
  void Notify(const std::string& text) override { log.push_back("! " + text); }
  void ShowResult(const std::string& text) override { log.push_back("= " + text); }
  void ShowHint(const std::string& text) override { log.push_back("hint " + text); }
  bool ChooseFile(const std::string& initialName, const std::string& filter, std::string* chosen) override {
    log.push_back("file " + initialName + "|" + filter);
    const auto answer = fileAnswers.empty() ? std::make_pair(false, std::string()) : fileAnswers.front();
    if (!fileAnswers.empty()) fileAnswers.pop_front();
    if (answer.first) *chosen = answer.second;
    return answer.first;
  }
  void BeginWaitCursor() override { ++waitDepth; }
  void EndWaitCursor() override { EXPECT_GE(--waitDepth, 0); }
  void ShowProgress(const std::string& section, int done, int total) override {
    log.push_back(section + " " + std::to_string(done) + "/" + std::to_string(total));
  }
  void Minimize() override { log.push_back("Minimize"); }
  void Restore() override { log.push_back("Restore"); }
  void ReportSimulatorRunning(long pid) override {
    if (onRunning) onRunning(pid);
  }
};

class AppTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* folder : {"Mods", "Modelle", "Prellbock", "Oberleitung", "Leitpfosten", "Bodentextur"})
      host.MakeDirs(folder);
  }
  void TearDown() override {
    platform::ClearFaults();
    EXPECT_TRUE(platform::ChangeDirectory(savedDirectory_));
  }
  // Loads `relative` (inside the installation) as the dialog's start does.
  int Load(const std::string& relative) { return dialog.OnInitDialog({host.Path(relative)}); }
  void WriteBerg(const std::string& settings) {  // a small layout pair
    host.Write("Anlagen\\Berg.anl", layout_bytes::File({}, {layout_bytes::Model()}, {}));
    host.Write("Anlagen\\Berg.danl", settings);
  }

  const std::string savedDirectory_ = platform::CurrentDirectory();
  testing_support::TempDir host;
  ScriptedView view;
  app::StartupDialog dialog{&view, host::InstallationAt(host.windows())};
  testing_support::MessageRecorder messages;
};

}  // namespace app_testing
