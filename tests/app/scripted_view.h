// A DialogView for the handler tests: the controls live in memory, answers to
// questions and file dialogs are scripted beforehand, and what the handlers
// ask, tell and do to the window is logged in order.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "app/dialog_view.h"
#include "platform/cp1252.h"

namespace app_testing {

class ScriptedView : public app::DialogView {
 public:
  std::deque<bool> answers;  // used in order; a question without one fails the test
  std::deque<std::pair<bool, std::string>> fileAnswers;  // confirmed, chosen path
  app::DialogMembers controls;
  std::vector<std::string> cameraSets;  // the combo box's list, in the order added
  std::map<int, bool> enabled;          // only controls that were set
  // "? question", "! notice", "file initial|filter", "section done/total", "Minimize", "Restore".
  std::vector<std::string> log;
  int waitDepth = 0;
  std::function<void()> atMinimize;

  void ExchangeData(app::DialogMembers* members, bool fromControls) override {
    if (fromControls) *members = controls;
    if (!fromControls) controls = *members;
  }
  void ClearCameraSets() override { cameraSets.clear(); }
  void AddCameraSet(const std::string& name) override { cameraSets.push_back(name); }
  int FindCameraSetExact(const std::string& name) override {
    for (std::size_t i = 0; i < cameraSets.size(); ++i) {
      if (platform::EqualsIgnoringCase(cameraSets[i], name)) return static_cast<int>(i);
    }
    return -1;
  }
  void DeleteCameraSet(int index) override { cameraSets.erase(cameraSets.begin() + index); }
  void EnableControl(int id, bool on) override { enabled[id] = on; }
  bool AskYesNo(const std::string& text) override {
    log.push_back("? " + text);
    if (answers.empty()) ADD_FAILURE() << "unexpected question: " << text;
    const bool answer = !answers.empty() && answers.front();
    if (!answers.empty()) answers.pop_front();
    return answer;
  }
  void Notify(const std::string& text) override { log.push_back("! " + text); }
  bool ChooseFile(const std::string& initialName, const std::string& filter, std::string* chosen) override {
    log.push_back("file " + initialName + "|" + filter);
    if (fileAnswers.empty()) ADD_FAILURE() << "unexpected file dialog: " << initialName;
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
  void Minimize() override {
    log.push_back("Minimize");
    if (atMinimize) atMinimize();
  }
  void Restore() override { log.push_back("Restore"); }
};

}  // namespace app_testing
