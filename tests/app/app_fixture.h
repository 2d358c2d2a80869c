// The handler tests' frame: a test installation in a temporary folder named
// as the host directory, fresh global state, a scripted view and recorded
// messages. The current directory, which a load changes, is put back.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "app/app_state.h"
#include "app/scripted_view.h"
#include "app/startup_dialog.h"
#include "host/installation.h"
#include "layout/data_sheet.h"
#include "layout/layout.h"
#include "layout/layout_bytes.h"
#include "platform/faults.h"
#include "platform/platform.h"
#include "support/test_support.h"

namespace app_testing {

using Texts = std::vector<std::string>;

const char kNoInstallation[] = "Unbekannte oder fehlerhafte ZUVO Installation\n";

class AppTest : public ::testing::Test {
 protected:
  void SetUp() override {
    savedDirectory_ = platform::CurrentDirectory();
    app::ResetGlobals();
    for (const char* folder : {"Mods", "Parallels", "Modelle", "Rollmaterial", "Anlagen", "Prellbock",
                               "Oberleitung", "Leitpfosten", "Bodentextur"}) {
      host.MakeDirs(folder);
    }
    host::SetHostDirectoryOverride(host.windows());
  }
  void TearDown() override {
    platform::ClearFaults();
    host::SetCommandValueReader(nullptr);
    EXPECT_TRUE(platform::ChangeDirectory(savedDirectory_));
    host::SetHostDirectoryOverride("");
    app::ResetGlobals();
  }

  layout::Layout ReadLayout(const std::string& relative) {
    testing_support::MessageRecorder quiet;
    layout::Layout l;
    EXPECT_TRUE(l.Load(host.Path(relative), layout::HostDataSheets())) << relative;
    return l;
  }
  // Loads `relative` (inside the installation) through the dialog's start.
  int Load(const std::string& relative) { return dialog.OnInitDialog({host.Path(relative)}); }
  // No override and no registry value: the installation is unknown.
  static void ForgetInstallation() {
    host::SetHostDirectoryOverride("");
    host::SetCommandValueReader([](std::string*) { return 0; });
  }

  testing_support::TempDir host;
  ScriptedView view;
  app::StartupDialog dialog{&view};
  testing_support::MessageRecorder messages;

 private:
  std::string savedDirectory_;
};

}  // namespace app_testing
