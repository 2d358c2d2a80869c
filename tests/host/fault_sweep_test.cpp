// The asset copies of an installation (the defaults saved once, a choice
// installed over the active file) under a failure at every file operation:
// each file holds its old bytes or its new ones. These functions leave the
// telling to their callers, so no message is expected here.
#include <gtest/gtest.h>

#include <string>

#include "host/installation.h"
#include "support/fault_sweep.h"
#include "support/test_support.h"

namespace {

using testing_support::SweepFaults;
using testing_support::TempDir;

class AssetFaultSweep : public testing::Test {
 protected:
  void SetUp() override {
    for (int k = 0; k < host::kAssetKindCount; ++k) {
      const host::AssetKindInfo& info = host::AssetKindOf(static_cast<host::AssetKind>(k));
      dir_.Write(std::string("Host\\") + info.activeFile, std::string("aktiv ") + info.name);
      dir_.Write(std::string("Host\\") + info.name + "\\Wahl.mod", std::string(3000, 'w'));
      dir_.MakeDirs(std::string("Host\\") + info.name);
    }
    host::SetHostDirectoryOverride(dir_.Path("Host"));
    host::ResetHostDirectoryCache();
  }
  void TearDown() override {
    host::SetHostDirectoryOverride("");
    host::ResetHostDirectoryCache();
  }
  TempDir dir_;
};

TEST_F(AssetFaultSweep, SavingTheDefaultsAndInstallingChoices) {
  auto saveDefaults = []() {
    int ok = 1;
    for (int k = 0; k < host::kAssetKindCount; ++k) {
      ok = host::SaveOriginal(static_cast<host::AssetKind>(k)) && ok;
    }
    return ok;
  };
  testing_support::FaultSweep sweep = SweepFaults(dir_.native(), saveDefaults, false);
  EXPECT_TRUE(sweep.problems.empty()) << ::testing::PrintToString(sweep.problems);
  EXPECT_EQ("create 4, write 4, close 4, rename 4, chdir 0, mkdir 0", sweep.AttemptsText());
  EXPECT_EQ(16, sweep.reported);

  auto install = []() {
    for (int k = 0; k < host::kAssetKindCount; ++k) {
      if (!host::InstallChoice("Wahl.mod", static_cast<host::AssetKind>(k))) return 0;
    }
    return 1;
  };
  sweep = SweepFaults(dir_.native(), install, false);
  EXPECT_TRUE(sweep.problems.empty()) << ::testing::PrintToString(sweep.problems);
  EXPECT_EQ("create 4, write 4, close 4, rename 4, chdir 0, mkdir 0", sweep.AttemptsText());
  EXPECT_EQ(16, sweep.reported);
  EXPECT_EQ("aktiv Prellbock", dir_.Read("Host\\Mods\\Prellbock.mod"));
}

}  // namespace
