// A started program is held back until onStarted has its process id, and
// never runs when onStarted says no or this process dies first.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/platform.h"
#include "platform/test_processes.h"
#include "support/test_support.h"

namespace {

TEST(RunHeldBackTest, TheProgramRunsOnlyAfterOnStartedSaidYes) {
  testing_support::TempDir dir;
  const std::string child = platform_test::ChildProgram();
  const std::string marker = dir.NativePath("lief.txt");  // the child writes it first thing
  for (const int answer : {1, 0}) {  // the program runs (1) or not
    platform::RemoveFile(dir.Path("lief.txt"), "");
    long seen = 0;
    bool markerAtStart = true, aliveAtStart = false;
    int code = -5;
    const int ran = platform::RunAndWait(child, {"child", "\"" + marker + "\"", "3"}, &code, nullptr, [&](long pid) {
      seen = pid;
      markerAtStart = dir.Exists("lief.txt");
      aliveAtStart = platform::ProcessLiveness(pid, platform::ProcessStartTime(pid)) == platform::kAlive;
      platform_test::SleepMs(100);  // a program let run would have written its marker by now
      markerAtStart = markerAtStart || dir.Exists("lief.txt");
      return answer;
    });
    EXPECT_EQ(ran, answer);
    EXPECT_GT(seen, 0);
    EXPECT_TRUE(aliveAtStart) << "onStarted gets the process while it exists";
    EXPECT_FALSE(markerAtStart) << "the program ran before onStarted returned";
    EXPECT_EQ(dir.Exists("lief.txt"), answer == 1);
    EXPECT_TRUE(answer == 0 || code == 3) << code;
  }
}

// The starter dies inside onStarted (as a killed tool would): the program
// it started never runs and is gone soon after.
TEST(RunHeldBackTest, AProgramWhoseStarterDiedNeverRuns) {
  testing_support::TempDir dir;
  const std::string child = platform_test::ChildProgram();
  platform_test::Child starter({"--die-in-start", child, dir.NativePath("lief.txt"), dir.Path("gestartet.txt")});
  starter.Wait();
  const std::string started = dir.Read("gestartet.txt");
  const std::size_t blank = started.find(' ');
  ASSERT_NE(blank, std::string::npos) << started;
  const long pid = std::atol(started.substr(0, blank).c_str());
  const std::string start = started.substr(blank + 1);
  ASSERT_FALSE(start.empty());
  for (int i = 0; i < 500 && platform::ProcessLiveness(pid, start) != platform::kDead; ++i) platform_test::SleepMs(10);
  EXPECT_EQ(platform::ProcessLiveness(pid, start), platform::kDead);
  platform_test::SleepMs(100);
  EXPECT_FALSE(dir.Exists("lief.txt"));
}

}  // namespace
