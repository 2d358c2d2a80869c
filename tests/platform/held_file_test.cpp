// Between this process and the child program, natively and under wine: held
// files, and a started program held back until onStarted has its process id,
// which never runs when onStarted says no or this process dies first.
#include "platform/held_file.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <thread>

#include "platform/platform.h"
#include "platform/test_processes.h"
#include "support/test_support.h"

namespace {

using platform::HoldOutcome;
using platform_test::RunChild;

// What the child's HoldFile of `path` gives while this process looks; the
// child then dies without letting go, as a killed holder does.
HoldOutcome ChildHolds(const std::string& path) { return static_cast<HoldOutcome>(RunChild({"--hold", path, "0"})); }

TEST(HeldFileTest, ACreatedFileIsHeldUntilItsHolderLetsGoOrDies) {
  testing_support::TempDir dir;
  const std::string path = dir.Path("Lauf.txt");
  platform::HeldFile first, second;
  ASSERT_EQ(platform::CreateHeldFile(path, "erster", dir.windows(), &first), HoldOutcome::kHeld);
  EXPECT_EQ(platform::CreateHeldFile(path, "zweiter", dir.windows(), &second), HoldOutcome::kExists);
  EXPECT_FALSE(second.held());
  EXPECT_EQ(dir.Read("Lauf.txt"), "erster");
  EXPECT_EQ(dir.List(), std::vector<std::string>{"Lauf.txt"});  // no temporary file shows
  EXPECT_EQ(ChildHolds(path), HoldOutcome::kBusy);
  ASSERT_EQ(platform::RewriteHeldFile(&first, "neu geschrieben"), 1);
  EXPECT_EQ(dir.Read("Lauf.txt"), "neu geschrieben");
  EXPECT_EQ(ChildHolds(path), HoldOutcome::kBusy);  // still held after the rewrite
  platform::LetGo(&first);
  EXPECT_EQ(ChildHolds(path), HoldOutcome::kHeld);
  ASSERT_EQ(platform::HoldFile(path, dir.windows(), &first), HoldOutcome::kHeld);  // the dead child's hold is gone
  EXPECT_EQ(ChildHolds(path), HoldOutcome::kBusy);
  EXPECT_EQ(platform::RemoveHeldFile(&first), 1);
  EXPECT_FALSE(first.held());
  EXPECT_FALSE(dir.Exists("Lauf.txt"));
  EXPECT_EQ(platform::HoldFile(path, dir.windows(), &first), HoldOutcome::kGone);
  EXPECT_EQ(ChildHolds(path), HoldOutcome::kGone);
}

// Two processes create the same name at once: exactly one gets it, and the
// file is the winner's, whole.
TEST(HeldFileTest, OfTwoCreatingAtOnceExactlyOneHoldsTheFile) {
  for (int round = 0; round < 20; ++round) {
    testing_support::TempDir dir;
    const std::string path = dir.Path("Lauf.txt"), go = dir.Path("los");
    int codes[2] = {0, 0};
    std::thread a([&] { codes[0] = RunChild({"--create-held", path, go}); });
    std::thread b([&] { codes[1] = RunChild({"--create-held", path, go}); });
    dir.Write("los", "");
    a.join();
    b.join();
    const int held = 10 + static_cast<int>(HoldOutcome::kHeld), taken = 10 + static_cast<int>(HoldOutcome::kExists);
    ASSERT_TRUE((codes[0] == held && codes[1] == taken) || (codes[0] == taken && codes[1] == held))
        << "round " << round << ": " << codes[0] << " " << codes[1];
    const std::string text = dir.Read("Lauf.txt");
    EXPECT_EQ(text.compare(0, 6, "child "), 0) << text;
    EXPECT_EQ(dir.List().size(), 2u) << "round " << round;  // Lauf.txt and los, no temporary file
  }
}

TEST(RunHeldBackTest, TheProgramRunsOnlyAfterOnStartedSaidYes) {
  testing_support::TempDir dir;
  for (const int answer : {1, 0}) {  // the program runs (1) or not
    platform::RemoveFile(dir.Path("lief.txt"), "");
    bool markerAtStart = true, aliveAtStart = false;
    // The child writes its marker first thing.
    const int code = RunChild({dir.NativePath("lief.txt"), "3"}, [&](long pid) {
      aliveAtStart = platform::ProcessLiveness(pid, platform::ProcessStartTime(pid)) == platform::kAlive;
      platform_test::SleepMs(100);  // a program let run would have written its marker by now
      markerAtStart = dir.Exists("lief.txt");
      return answer;
    });
    EXPECT_EQ(code, answer == 1 ? 3 : -1);
    EXPECT_TRUE(aliveAtStart) << "onStarted gets the process while it exists";
    EXPECT_FALSE(markerAtStart) << "the program ran before onStarted returned";
    EXPECT_EQ(dir.Exists("lief.txt"), answer == 1);
  }
}

// The starter dies inside onStarted (as a killed tool would): the program
// it started never runs and is gone soon after.
TEST(RunHeldBackTest, AProgramWhoseStarterDiedNeverRuns) {
  testing_support::TempDir dir;
  RunChild({"--die-in-start", platform_test::ChildProgram(), dir.NativePath("lief.txt"), dir.Path("gestartet.txt")});
  std::istringstream started(dir.Read("gestartet.txt"));
  long pid = 0;
  std::string start;
  ASSERT_TRUE(started >> pid >> start) << started.str();
  for (int i = 0; i < 500 && platform::ProcessLiveness(pid, start) != platform::kDead; ++i) platform_test::SleepMs(10);
  EXPECT_EQ(platform::ProcessLiveness(pid, start), platform::kDead);
  platform_test::SleepMs(100);
  EXPECT_FALSE(dir.Exists("lief.txt"));
}

}  // namespace
