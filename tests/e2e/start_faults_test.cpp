// "zuvo start" under faults: a failure at every file operation of a full
// start (defaults saved, the layout saved with a camera set, four choices
// installed, swaps made and taken back, the ".danl" written), and a stand-in
// simulator that crashes, hangs until it is killed, or deletes a swapped
// file. Afterwards every installation file holds its own content again, or
// the message says which does not.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "e2e/start_fixture.h"
#include "e2e/zuvo_fault_sweep.h"

namespace e2e {
namespace {

// The stand-in's log, without its process id, which every run changes.
void WithoutProcessIds(testing_support::Tree* tree) {
  auto log = tree->find(std::string("drive_c/Sim/") + stand_in::kLogFileName);
  if (log == tree->end()) return;
  std::string kept;
  std::size_t pos = 0;
  while (pos < log->second.size()) {
    std::size_t end = log->second.find('\n', pos);
    if (end == std::string::npos) end = log->second.size() - 1;
    std::string line = log->second.substr(pos, end + 1 - pos);
    if (line.compare(0, 9, "Prozess: ") != 0) kept += line;
    pos = end + 1;
  }
  log->second = kept;
}

class StartFaultsTest : public StartTest {
 protected:
  void SetUp() override {
    StartTest::SetUp();
    Write("Strecke.dat", "Sommer");
    Write("Strecke_Winter.dat", "Winter");
    Write("Himmel.bmp", "Himmel Tag");
    Write("Himmel_Nacht.bmp", "Himmel Nacht");
    WriteSettings({"[Zuvo]", "KamSet=Nord", "[KamSet Nord]", "PX1=1111", "[Copy]",
                   "Strecke.dat=Strecke_Winter.dat", "Himmel.bmp=Himmel_Nacht.bmp"});
  }

  std::vector<std::string> FullChoices() const {
    return {"--buffer-stop", "Holz.mod", "--catenary", "Kette.mod", "--guide-post", "Gelb.mod",
            "--ground-texture", "Sand.bmp"};
  }
  std::vector<std::string> FullStart() const {
    std::vector<std::string> args = {"start", NativeLayout()};
    for (const std::string& choice : FullChoices()) args.push_back(choice);
    return args;
  }

  // The swapped files are as before the start.
  void ExpectSwapsTakenBack(const std::string& what) const {
    EXPECT_EQ(Read("Strecke.dat"), "Sommer") << what;
    EXPECT_EQ(Read("Strecke_Winter.dat"), "Winter") << what;
    EXPECT_EQ(Read("Himmel.bmp"), "Himmel Tag") << what;
    EXPECT_EQ(Read("Himmel_Nacht.bmp"), "Himmel Nacht") << what;
    EXPECT_FALSE(Exists("Strecke.dat.sav")) << what;
    EXPECT_FALSE(Exists("Himmel.bmp.sav")) << what;
  }
};

TEST_F(StartFaultsTest, EveryFileOperationOfAFullStartFails) {
  ZuvoFaultSweep sweep =
      SweepZuvoFaults(dir_.NativePath("prefix"), FullStart(), RunOptions(), WithoutProcessIds);
  // 4 defaults saved, the layout, 4 choices, the ".danl"; the renames of
  // those saves and 2 x 2 of the swaps, 2 x 2 of their take-back; the
  // folder changes of the load, before the swaps and before the take-back.
  EXPECT_EQ("create 10, write 10, close 10, rename 18, chdir 3, mkdir 0", sweep.AttemptsText());
  EXPECT_EQ(51, sweep.runs);
  // The load's change of folder and the one before the take-back (whose
  // paths are absolute) do no harm.
  EXPECT_EQ((std::vector<std::string>{"chdir:1", "chdir:3"}), sweep.harmlessAt);
  // A failed rename of the take-back leaves files swapped: the message names
  // them (see the next test), and the next start puts them back.
  EXPECT_EQ((std::vector<std::string>{
                "rename:14: drive_c/Sim/Himmel.bmp holds neither its old nor its new bytes; "
                "drive_c/Sim/Himmel.bmp.sav is left over; drive_c/Sim/Himmel_Nacht.bmp is gone",
                "rename:15: drive_c/Sim/Himmel.bmp is gone; drive_c/Sim/Himmel.bmp.sav is left over",
                "rename:16: drive_c/Sim/Strecke.dat holds neither its old nor its new bytes; "
                "drive_c/Sim/Strecke.dat.sav is left over; drive_c/Sim/Strecke_Winter.dat is gone",
                "rename:17: drive_c/Sim/Strecke.dat is gone; drive_c/Sim/Strecke.dat.sav is left over"}),
            sweep.problems);
}

TEST_F(StartFaultsTest, ATakeBackThatFailsNamesTheFilesAndTheNextStartPutsThemBack) {
  const std::string h = Host();
  const std::vector<std::pair<int, std::string>> cases = {
      {14, "  " + h + "Himmel.bmp (Inhalt noch in " + h + "Himmel.bmp.sav)\n  " + h +
               "Himmel_Nacht.bmp (fehlt)\n"},
      {15, "  " + h + "Himmel.bmp (Inhalt noch in " + h + "Himmel.bmp.sav)\n"},
      {16, "  " + h + "Strecke.dat (Inhalt noch in " + h + "Strecke.dat.sav)\n  " + h +
               "Strecke_Winter.dat (fehlt)\n"},
      {17, "  " + h + "Strecke.dat (Inhalt noch in " + h + "Strecke.dat.sav)\n"},
  };
  const testing_support::Tree fresh = testing_support::SnapshotTree(dir_.NativePath("prefix"));
  for (const auto& c : cases) {
    testing_support::RestoreTree(dir_.NativePath("prefix"), fresh);
    const std::string what = "rename:" + std::to_string(c.first);
    RunOptions faulted;
    faulted.environment = {"ZUVO_FAULTS=" + what};
    RunResult run = RunZuvo(FullStart(), faulted);
    EXPECT_EQ(run.exitCode, 1) << what;
    EXPECT_EQ(run.err, "Nach dem Lauf nicht wiederhergestellt:\n" + c.second) << what;
    run = RunZuvo(FullStart());
    EXPECT_EQ(run.exitCode, 0) << what << ": " << run.err;
    ExpectSwapsTakenBack(what);
  }
}

TEST_F(StartFaultsTest, ASwapThatCannotBeMadeStopsBeforeTheRun) {
  RunOptions faulted;
  faulted.environment = {"ZUVO_FAULTS=rename:13"};  // the second swap's second rename
  RunResult run = RunZuvo(FullStart(), faulted);
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err, "Datei " + Host() + "Himmel_Nacht.bmp kann nicht in " + Host() +
                         "Himmel.bmp umbenannt werden!\n");
  EXPECT_TRUE(Runs().empty());
  ExpectSwapsTakenBack("rename:13");
  // What came before the swaps stays done.
  EXPECT_EQ(Read("Mods\\Prellbock.mod"), "Prellbock Holz");
  EXPECT_EQ(Read("Prellbock\\Prellbock.mod"), kOwnBufferStop);

  faulted.environment = {"ZUVO_FAULTS=chdir:2"};
  run = RunZuvo(FullStart(), faulted);
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err, "Ordner " + Host() + " kann nicht ge\xC3\xB6" "ffnet werden!\n");
  EXPECT_TRUE(Runs().empty());
  ExpectSwapsTakenBack("chdir:2");
}

TEST_F(StartFaultsTest, TheSimulatorCrashesHangsOrDeletesFiles) {
  // A crash: everything is put back, as after any run.
  WritePlan({"[Ablauf]", "Absturz=1"});
  RunResult run = Start(FullChoices());
  EXPECT_EQ(run.exitCode, 0) << run.err;
  ExpectSwapsTakenBack("crash");

  // Deleting the file swapped in, or the backup of the original: the message
  // names what is lost; every other file is back.
  WritePlan({"[Ablauf]", "Loeschen=Himmel.bmp"});
  run = Start(FullChoices());
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err, "Nach dem Lauf nicht wiederhergestellt:\n  " + Host() + "Himmel_Nacht.bmp (fehlt)\n");
  EXPECT_EQ(Read("Himmel.bmp"), "Himmel Tag");
  EXPECT_EQ(Read("Strecke.dat"), "Sommer");
  Write("Himmel_Nacht.bmp", "Himmel Nacht");

  WritePlan({"[Ablauf]", "Loeschen=Strecke.dat.sav"});
  run = Start(FullChoices());
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err, "Nach dem Lauf nicht wiederhergestellt:\n  " + Host() + "Strecke.dat (fehlt)\n");
  EXPECT_EQ(Read("Strecke_Winter.dat"), "Winter");
  EXPECT_EQ(Read("Himmel.bmp"), "Himmel Tag");
  Write("Strecke.dat", "Sommer");
  ExpectSwapsTakenBack("deleted");

  // Hanging until it is killed: the tool waits, then puts everything back.
  WritePlan({"[Ablauf]", "Haengen=60"});
  RunResult hung;
  std::thread zuvo([&]() { hung = Start(FullChoices()); });
  bool hanging = false;
  for (int i = 0; i < 1200 && !hanging; ++i) {
    std::vector<stand_in::Run> runs = Runs();
    hanging = !runs.empty() && runs.back().Has("Haengt");
    if (!hanging) std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  if (hanging) kill(static_cast<pid_t>(std::stol(Runs().back().Get("Prozess", "0"))), SIGKILL);
  zuvo.join();
  ASSERT_TRUE(hanging) << "the stand-in did not start";
  EXPECT_EQ(hung.exitCode, 0) << hung.err;
  ExpectSwapsTakenBack("hang");
  EXPECT_EQ(Runs().size(), 4u);
}

}  // namespace
}  // namespace e2e
