// A start that is killed while the simulator runs leaves the swaps made; the
// next start must put every file back and never overwrite a backup.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "e2e/start_fixture.h"

extern char** environ;

namespace e2e {
namespace {

using stand_in::DescribeContent;

// zuvo started without waiting for it; its output goes nowhere.
pid_t SpawnZuvo(const std::vector<std::string>& args) {
  std::vector<std::string> strings = {ZUVO_BINARY};
  strings.insert(strings.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& s : strings) argv.push_back(&s[0]);
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  pid_t pid = -1;
  if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) pid = -1;
  posix_spawn_file_actions_destroy(&actions);
  return pid;
}

class InterruptedStartTest : public StartTest {
 protected:
  // Waits until the stand-in's log has a line with `key` (the stand-in has
  // reached that point); false when it does not come within a minute.
  bool WaitForStandIn(const std::string& key) const {
    for (int i = 0; i < 1200; ++i) {
      std::vector<stand_in::Run> runs = Runs();
      if (!runs.empty() && runs.back().Has(key)) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
  }
};

TEST_F(InterruptedStartTest, TheNextStartPutsEveryFileBack) {
  Write("Strecke.dat", "Sommer");
  Write("Strecke_Winter.dat", "Winter");
  Write("Himmel.bmp", "Himmel Tag");
  Write("Himmel_Nacht.bmp", "Himmel Nacht");
  WriteSettings({"[Copy]", "Strecke.dat=Strecke_Winter.dat", "Himmel.bmp=Himmel_Nacht.bmp"});
  WritePlan({"[Ablauf]", "Haengen=60"});

  pid_t zuvo = SpawnZuvo({"start", NativeLayout(), "--buffer-stop", "Holz.mod"});
  ASSERT_GT(zuvo, 0);
  const bool hanging = WaitForStandIn("Haengt");
  // The tool dies while the simulator runs; then the simulator ends too.
  kill(zuvo, SIGKILL);
  int status = 0;
  while (waitpid(zuvo, &status, 0) < 0 && errno == EINTR) {
  }
  ASSERT_TRUE(hanging) << "the stand-in did not start";
  const long standIn = std::stol(Runs().back().Get("Prozess", "0"));
  ASSERT_GT(standIn, 0);
  kill(static_cast<pid_t>(standIn), SIGKILL);

  // Left behind: the swaps made, nothing taken back, no settings written.
  EXPECT_EQ(Read("Strecke.dat"), "Winter");
  EXPECT_EQ(Read("Strecke.dat.sav"), "Sommer");
  EXPECT_FALSE(Exists("Strecke_Winter.dat"));
  EXPECT_EQ(Read("Himmel.bmp"), "Himmel Nacht");
  EXPECT_EQ(Read("Himmel.bmp.sav"), "Himmel Tag");
  EXPECT_EQ(Read("Anlagen\\Test.danl"),
            CrLf({"[Copy]", "Strecke.dat=Strecke_Winter.dat", "Himmel.bmp=Himmel_Nacht.bmp"}));

  // The next start: the backups are not overwritten by the swap (the
  // simulator sees them as they were), and the take-back puts every file back.
  WritePlan({});
  RunResult run = Start({"--buffer-stop", "Holz.mod"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  std::vector<stand_in::Run> runs = Runs();
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_EQ(runs[1].Get("Tausch Strecke.dat.sav"), DescribeContent("Sommer"));
  EXPECT_EQ(runs[1].Get("Tausch Himmel.bmp.sav"), DescribeContent("Himmel Tag"));

  EXPECT_EQ(Read("Strecke.dat"), "Sommer");
  EXPECT_EQ(Read("Strecke_Winter.dat"), "Winter");
  EXPECT_EQ(Read("Himmel.bmp"), "Himmel Tag");
  EXPECT_EQ(Read("Himmel_Nacht.bmp"), "Himmel Nacht");
  EXPECT_FALSE(Exists("Strecke.dat.sav"));
  EXPECT_FALSE(Exists("Himmel.bmp.sav"));
  // The installed choice stayed installed throughout; the default file holds
  // the installation's own buffer stop.
  EXPECT_EQ(Read("Mods\\Prellbock.mod"), "Prellbock Holz");
  EXPECT_EQ(Read("Prellbock\\Prellbock.mod"), kOwnBufferStop);
  EXPECT_EQ(Read("Anlagen\\Test.danl"), CrLf({"[Copy]", "Strecke.dat=Strecke_Winter.dat",
                                                "Himmel.bmp=Himmel_Nacht.bmp", "", "[Zuvo]",
                                                "Prellbock=Holz.mod"}));
}

TEST_F(InterruptedStartTest, AnInterruptionBetweenTheTwoRenamesOfASwapIsPutBackToo) {
  // As a run killed between the two renames of a swap leaves it: the
  // original in its backup, the substitute still under its own name.
  Write("Strecke.dat.sav", "Sommer");
  Write("Strecke_Winter.dat", "Winter");
  WriteSettings({"[Copy]", "Strecke.dat=Strecke_Winter.dat"});
  RunResult run = Start();
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(OnlyRun().Get("Tausch Strecke.dat"), DescribeContent("Winter"));
  EXPECT_EQ(Read("Strecke.dat"), "Sommer");
  EXPECT_EQ(Read("Strecke_Winter.dat"), "Winter");
  EXPECT_FALSE(Exists("Strecke.dat.sav"));
}

}  // namespace
}  // namespace e2e
