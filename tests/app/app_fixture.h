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
#include "layout/layout.h"
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

  // The file bytes of a layout, from the layout layer's own writer.
  static std::string LayoutBytes(layout::Layout l = layout::Layout()) {
    std::string bytes;
    EXPECT_TRUE(l.Serialize(&bytes));
    return bytes;
  }
  layout::Layout ReadLayout(const std::string& relative) {
    testing_support::MessageRecorder quiet;
    layout::Layout l;
    EXPECT_TRUE(l.Load(host.Path(relative))) << relative;
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

inline layout::ModelRecord Model(int id, const std::string& name) {
  layout::ModelRecord m;
  m.id = static_cast<std::int16_t>(id), m.name = name, m.position = {id * 100, 0, 0}, m.direction = {1.0f, 0.0f, 0.0f};
  return m;
}

inline layout::TrackRecord GboTrack(int id, const std::string& gbo) {
  layout::TrackRecord t;
  t.id = static_cast<std::int16_t>(id), t.name = "Bahnhof", t.type = 6, t.endCount = 2, t.gboName = gbo;
  t.start = {id * 1000, 0, 0}, t.end = {id * 1000 + 500, 0, 0}, t.startDirection = {1.0f, 0.0f, 0.0f};
  return t;
}

inline layout::RollingStockRecord Unit(int id, const std::string& name, int neighbourB = 0) {
  layout::RollingStockRecord u;
  u.id = static_cast<std::int16_t>(id), u.name = name, u.secondName = "Zug";
  u.neighbourB = static_cast<std::int16_t>(neighbourB);
  return u;
}

}  // namespace app_testing
