// A settings file written under a failure at every file operation: the old
// file stays whole or the new one is complete; no temporary file stays.
#include <gtest/gtest.h>

#include <string>

#include "settings/settings_file.h"
#include "support/fault_sweep.h"
#include "support/test_support.h"

namespace {

using testing_support::SweepFaults;
using testing_support::TempDir;

TEST(SettingsFaultSweep, WritingOverAnOldFileAndANewOne) {
  TempDir dir;
  const std::string old = "[Zuvo]\r\nKamSet=Alt\r\n\r\n[KamSet Alt]\r\nK0=1 2 3\r\n";
  dir.Write("Berg.danl", old);
  for (const char* name : {"Berg.danl", "Neu.danl"}) {
    auto write = [&]() {
      settings::SettingsFile file;
      file.Parse(old);
      file.Set("Zuvo", "KamSet", "Neu");
      file.Set("KamSet Neu", "K0", std::string(5000, '7'));
      return file.Write(dir.Path(name));
    };
    testing_support::FaultSweep sweep = SweepFaults(dir.native(), write);
    EXPECT_TRUE(sweep.problems.empty()) << name << ": " << ::testing::PrintToString(sweep.problems);
    EXPECT_EQ("create 1, write 1, close 1, rename 1, chdir 0, mkdir 0", sweep.AttemptsText()) << name;
    EXPECT_EQ(4, sweep.reported) << name;
  }
  EXPECT_EQ(old, dir.Read("Berg.danl"));
  EXPECT_EQ(std::vector<std::string>{"Berg.danl"}, dir.List());
}

}  // namespace
