// The frame of every dialog scenario: a fresh installation, StartZUVO.exe
// started on it, and a named step that every failure reports.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "test_installation.h"
#include "window_driver.h"

namespace dialog_driver {

// Where the programs under test are (set by the build).
std::string StartZuvoExe();
std::string ProbeDll();
// The stand-in simulator; empty when it was not built.
std::string FakeSimulator();
// Folder for the pictures of the run (ZUVO_DIALOG_SHOTS, else the current one).
std::string PictureFolder();

class DialogTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Names the step that the following checks belong to; a failure shows it.
  void Step(const std::string& name);

  // Starts StartZUVO.exe with `arguments` and waits for its dialog.
  ::testing::AssertionResult Start(const std::vector<std::string>& arguments);
  // Waits for the dialog to work off what was posted to it.
  ::testing::AssertionResult Settle();
  // Waits for a message box (not a file dialog).
  ::testing::AssertionResult WaitForMessageBox(BoxWindow* box);
  ::testing::AssertionResult WaitForFileDialog(BoxWindow* box);
  // Clicks "Fertig" and waits for the program's end.
  ::testing::AssertionResult Finish();

  Installation installation_;
  App app_;

 private:
  std::unique_ptr<::testing::ScopedTrace> step_;
};

}  // namespace dialog_driver
