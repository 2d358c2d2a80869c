// zuvo commands that rewrite files, under a failure at every file operation
// they make: exit 1 with a message, every file whole (old or new), no
// temporary file left; or, where the fault does no harm, exactly the result
// of a clean run.
#include <gtest/gtest.h>

#include <string>

#include "e2e/zuvo_fault_sweep.h"
#include "layout/layout_bytes.h"
#include "support/test_support.h"

namespace {

using e2e::SweepZuvoFaults;
using layout_bytes::File;
using layout_bytes::Model;
using layout_bytes::Track;
using layout_bytes::Unit;
using testing_support::TempDir;

std::string Layout() {
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

TEST(ZuvoFaultSweep, Resave) {
  TempDir dir;
  dir.Write("Anlagen/Berg.anl", Layout());
  dir.Write("Anlagen/Berg.danl", "[Zuvo]\r\n");
  e2e::ZuvoFaultSweep sweep = SweepZuvoFaults(dir.native(), {"resave", dir.NativePath("Anlagen/Berg.anl")});
  EXPECT_TRUE(sweep.problems.empty()) << ::testing::PrintToString(sweep.problems);
  EXPECT_EQ("create 1, write 1, close 1, rename 1, chdir 0, mkdir 0", sweep.AttemptsText());
  EXPECT_EQ(4, sweep.reported);
  const std::string path = dir.Path("Anlagen\\Berg.anl");
  EXPECT_EQ((std::set<std::string>{"Can't open " + path + "!\n",
                                   "Fehler beim Schreiben von " + path + "!\n"}),
            sweep.messages);
  EXPECT_EQ(Layout(), dir.Read("Anlagen/Berg.anl"));
}

}  // namespace
