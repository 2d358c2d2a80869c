// A layout save under a failure at every file operation it makes: the layout
// file holds its old bytes or the new ones, never a part, and no temporary
// file stays behind.
#include <gtest/gtest.h>

#include <string>

#include "layout/layout.h"
#include "layout/layout_bytes.h"
#include "support/fault_sweep.h"
#include "support/test_support.h"

namespace {

using layout_bytes::File;
using layout_bytes::Model;
using layout_bytes::Track;
using layout_bytes::Unit;
using testing_support::SweepFaults;
using testing_support::TempDir;

// A layout whose save changes it: the bridge moves onto its track and the
// duplicate house goes.
std::string Original() {
  Track t;
  t.end[2] = 40;
  Model bridge;
  bridge.id = 5;
  bridge.name = "..\\Bruecken\\Stein";
  bridge.pos[0] = 500;
  bridge.pos[2] = -7;
  Model house;
  house.id = 6;
  return File({t}, {bridge, house, house}, {Unit()});
}

TEST(LayoutFaultSweep, SavingOverAnOldFileAndANewOne) {
  TempDir dir;
  dir.Write("Anlagen/Berg.anl", Original());
  dir.Write("Anlagen/Berg.danl", "[Zuvo]\r\n");
  for (const char* name : {"Anlagen\\Berg.anl", "Anlagen\\Neu.anl"}) {
    auto save = [&]() {
      layout::Layout layout;
      if (!layout.LoadFromBytes(Original())) return 0;
      return layout.Save(dir.Path(name));
    };
    testing_support::FaultSweep sweep = SweepFaults(dir.native(), save);
    EXPECT_TRUE(sweep.problems.empty()) << name << ": " << ::testing::PrintToString(sweep.problems);
    EXPECT_EQ("create 1, write 1, close 1, rename 1, chdir 0, mkdir 0", sweep.AttemptsText()) << name;
    EXPECT_EQ(4, sweep.reported) << name;
    EXPECT_EQ(0, sweep.harmless) << name;
  }
  EXPECT_EQ(Original(), dir.Read("Anlagen/Berg.anl"));
  EXPECT_EQ((std::vector<std::string>{"Berg.anl", "Berg.danl"}), dir.List("Anlagen"));
}

}  // namespace
