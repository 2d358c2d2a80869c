// The handler tests' frame: a test installation in a temporary folder named
// as the host directory, a fresh dialog on a scripted view and recorded
// messages. The current directory, which a load changes, is put back.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "app/scripted_view.h"
#include "app/startup_dialog.h"
#include "host/installation.h"
#include "layout/layout_bytes.h"
#include "platform/faults.h"
#include "platform/platform.h"
#include "support/test_support.h"

namespace app_testing {

using Texts = std::vector<std::string>;

class AppTest : public ::testing::Test {
 protected:
  void SetUp() override {
    savedDirectory_ = platform::CurrentDirectory();
    for (const char* folder : {"Mods", "Modelle", "Anlagen", "Prellbock", "Oberleitung", "Leitpfosten", "Bodentextur"}) {
      host.MakeDirs(folder);
    }
    host::SetHostDirectoryOverride(host.windows());
  }
  void TearDown() override {
    platform::ClearFaults();
    host::SetCommandValueReader(nullptr);
    EXPECT_TRUE(platform::ChangeDirectory(savedDirectory_));
    host::SetHostDirectoryOverride("");
  }
  // Loads `relative` (inside the installation) as the dialog's start does.
  int Load(const std::string& relative) { return dialog.OnInitDialog({host.Path(relative)}); }

  testing_support::TempDir host;
  ScriptedView view;
  app::StartupDialog dialog{&view};
  testing_support::MessageRecorder messages;

 private:
  std::string savedDirectory_;
};

}  // namespace app_testing
