// "zuvo start" with every choice under a failure at each file operation; a stand-in that
// deletes files or hangs until it is killed; the tool killed or interrupted while it runs.
// Afterwards every installation file holds its own content again, or the message says which does not.
#include <signal.h>

#include <cstdio>
#include <cstdlib>

#include "e2e/installation.h"
#include "platform/platform.h"
#include "terrain/terrain_test_support.h"

namespace e2e {
namespace {

using stand_in::DescribeContent;

const char kUnswapped[] =
    "Strecke.dat=Sommer Strecke_Winter.dat=Winter Himmel.bmp=Himmel Tag Himmel_Nacht.bmp=Himmel Nacht ";

class StartFaultsTest : public InstallationTest {
 protected:
  void SetUp() override {
    InstallationTest::SetUp();
    const char* const files[] = {"Strecke.dat", "Sommer",     "Strecke_Winter.dat", "Winter",
                                 "Himmel.bmp",  "Himmel Tag", "Himmel_Nacht.bmp",   "Himmel Nacht"};  // file, content
    for (int i = 0; i < 8; i += 2) Write(files[i], files[i + 1]);
    WriteSettings({"[Zuvo]", "KamSet=Nord", "[KamSet Nord]", "PX1=1111", "[Copy]", "Strecke.dat=Strecke_Winter.dat",
                   "Himmel.bmp=Himmel_Nacht.bmp"});
  }
  // The swapped files and their backups, "name=content " each.
  std::string SwapFiles() const {
    std::string text;
    for (const char* f :
         {"Strecke.dat", "Strecke_Winter.dat", "Himmel.bmp", "Himmel_Nacht.bmp", "Strecke.dat.sav", "Himmel.bmp.sav"}) {
      if (Exists(f)) text += std::string(f) + "=" + Read(f) + " ";
    }
    return text;
  }
  // Ends the stand-in's last run and waits until it is gone; never a process group (id <= 0).
  void KillStandIn() const {
    const long pid = std::atol(Runs().back().Get("Prozess", "0").c_str());
    const std::string start = pid > 0 ? platform::ProcessStartTime(pid) : "";
    if (pid > 0) kill(static_cast<pid_t>(pid), SIGKILL);
    Eventually([&] { return platform::ProcessLiveness(pid, start) != platform::kAlive; }, 5);
  }
  const std::vector<std::string> kChoices = {"--buffer-stop", "Holz.mod", "--catenary",       "Kette.mod",
                                             "--guide-post",  "Gelb.mod", "--ground-texture", "Sand.bmp"};
};

TEST_F(StartFaultsTest, EveryFileOperationOfAFullStartFails) {
  // The stand-in's log (its process id) is not the tool's to keep whole; a start cut off
  // between its two history versions leaves the index with the first only.
  std::vector<std::string> args = {"start", Layout()};
  args.insert(args.end(), kChoices.begin(), kChoices.end());
  const auto normalise = [](Tree* tree) {
    tree->erase(std::string("drive_c/Sim/") + stand_in::kLogFileName);
    tree->erase("drive_c/Sim/Anlagen/StartZUVO-Verlauf/Test/Verlauf.txt");
  };
  FaultSweep sweep = SweepZuvoFaults(Prefix(), args, Env(), normalise, {"repair"});
  // A failed rename of the take-back leaves files swapped; the message names them, the next command heals.
  EXPECT_EQ(sweep.problems, std::vector<std::string>{});
  EXPECT_GT(sweep.reported, 40);
}

// What the stand-in deletes (its plan) the message names as lost; every other file is back.
TEST_F(StartFaultsTest, WhatTheSimulatorBreaksIsNamed) {
  const std::string h = host_, lost = "Nach dem Lauf nicht wiederhergestellt:\n  ";
  const struct {
    const char* plan;  // "", the last: no simulator at all
    std::string err;
    const char* gone = "";  // the file lost
  } cases[] = {
      {"Loeschen=Himmel.bmp", lost + h + "Himmel_Nacht.bmp (fehlt)\n", "Himmel_Nacht.bmp"},
      {"Loeschen=Strecke.dat.sav", lost + h + "Strecke.dat (fehlt)\n", "Strecke.dat"},
      {"", "Simulator \"" + h + "Kantrelwick.exe\" kann nicht gestartet werden!\n"},
  };
  const Tree fresh = SnapshotTree(Prefix());
  for (const auto& c : cases) {
    SCOPED_TRACE(c.plan);
    RestoreTree(Prefix(), fresh);
    WritePlan({"[Ablauf]", c.plan});
    if (!*c.plan) std::remove(Native("Kantrelwick.exe").c_str());
    RunResult run = Start(kChoices);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, Typed(c.err));
    EXPECT_EQ(Runs().size(), *c.plan ? 1u : 0u);
    EXPECT_EQ(Read("Prellbock\\Prellbock.mod"), kOwnBufferStop);
    if (*c.gone) {
      EXPECT_FALSE(Exists(c.gone));
      Write(c.gone, c.gone[0] == 'H' ? "Himmel Nacht" : "Sommer");
    }
    EXPECT_EQ(SwapFiles(), kUnswapped);
    const std::string danl = ReadSettings();
    EXPECT_EQ(SettingsValue(danl, "Zuvo", "Bodentextur") + SettingsValue(danl, "KamSet Nord", "PX1"), "Sand.bmp1111");
    EXPECT_NE(SettingsValue(danl, "KamSet Nord", "PY1"), "(fehlt)");  // the camera set taken from the run
  }
}

TEST_F(StartFaultsTest, TheSimulatorOrTheToolKilledWhileItRuns) {
  // The simulator hangs until it is killed: the tool waits, then puts everything back.
  WritePlan({"[Ablauf]", "Haengen=60"});
  Child zuvo = SpawnZuvo({"start", Layout(), "--buffer-stop", "Holz.mod"}, Env());
  ASSERT_TRUE(WaitForHangingRun(1)) << "the stand-in did not start";
  KillStandIn();
  RunResult run = Finish(zuvo);
  EXPECT_EQ(run.exitCode, 3) << run.err;  // killed from outside: a crash
  EXPECT_EQ(SwapFiles(), kUnswapped);
  const std::string after = ReadSettings();

  // The tool dies while the simulator runs, then the simulator ends too: the swaps stay
  // made, nothing is taken back, no settings are written.
  zuvo = SpawnZuvo({"start", Layout()}, Env());
  const bool hanging = WaitForHangingRun(2);
  Eventually([&] { return Read("StartZUVO-Lauf.txt").find("Simulator=") != std::string::npos; }, 5);
  kill(zuvo.pid, SIGKILL);
  Finish(zuvo);
  ASSERT_TRUE(hanging) << "the stand-in did not start";
  // While the simulator lives on, a second start refuses, and so does a restore.
  const std::string alive = "Kantrelwick l\xC3\xA4uft schon auf " + Typed(host_ + "Anlagen\\Test.anl") + " (Prozess ";
  EXPECT_EQ(Start().err.find(alive + Runs().back().Get("Prozess")), 0u);
  EXPECT_EQ(Zuvo({"--yes", "restore", Layout(), "1"}).err.find(alive), 0u);
  KillStandIn();
  EXPECT_EQ(SwapFiles(),
            "Strecke.dat=Winter Himmel.bmp=Himmel Nacht Strecke.dat.sav=Sommer Himmel.bmp.sav=Himmel Tag ");
  EXPECT_EQ(ReadSettings(), after);

  // The next start puts back what the run left, never overwrites a backup (the simulator
  // sees them as they were), and its take-back puts every file back.
  WritePlan({});
  run = Start();
  EXPECT_EQ(run.exitCode, 0) << run.err;
  ASSERT_EQ(Runs().size(), 3u);
  EXPECT_EQ(Runs()[2].Get("Tausch Strecke.dat.sav"), DescribeContent("Sommer"));
  EXPECT_EQ(Runs()[2].Get("Tausch Himmel.bmp.sav"), DescribeContent("Himmel Tag"));
  EXPECT_EQ(SwapFiles(), kUnswapped);
  EXPECT_EQ(Read("Mods\\Prellbock.mod"), "Prellbock Holz");
  EXPECT_EQ(Read("Prellbock\\Prellbock.mod"), kOwnBufferStop);
}

// zuvo interrupted by a signal: during the run the signal goes to the simulator and the
// start ends as after a run; a terrain stops at a safe point. Each exits 128 + the signal.
TEST_F(StartFaultsTest, ASignalDuringTheRunReachesTheSimulatorAndTheStartEnds) {
  const std::string ended = "Simulator beendet mit Status 3.\n";
  // twice: a second signal once the simulator got the first and went on.
  const struct {
    int signal;
    std::string name;
    bool twice;
    std::string out;
  } cases[] = {{SIGINT, "SIGINT", false, ended},
               {SIGHUP, "SIGHUP", false, ended},
               {SIGINT, "SIGINT", true, "Simulator durch Signal 9 beendet.\n"}};
  const Tree fresh = SnapshotTree(Prefix());
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name + (c.twice ? " twice" : ""));
    RestoreTree(Prefix(), fresh);
    WritePlan({"[Kamera 1]", "PX=5555", "[Ablauf]", "Warten=60", "Exitcode=3", c.twice ? "Signale=5" : ""});
    Child zuvo = SpawnZuvo({"start", Layout()}, Env());
    ASSERT_TRUE(WaitForHangingRun(1)) << "the stand-in did not start";
    kill(zuvo.pid, c.signal);
    if (c.twice && Eventually([&] { return Runs().back().Has("Signal"); })) kill(zuvo.pid, c.signal);
    RunResult run = Finish(zuvo);
    EXPECT_EQ(run.exitCode, 128 + c.signal);
    // After the choices installed and the swap made: the run, then its end.
    EXPECT_NE(WithoutPid(run.out).find("Himmel.bmp=Himmel_Nacht.bmp\n" + std::string(kRunning) + c.out),
              std::string::npos)
        << run.out;
    EXPECT_EQ(run.err, "Lauf durch Signal " + c.name + " unterbrochen.\n");
    EXPECT_EQ(OnlyRun().Get("Signal"), std::to_string(c.signal));
    // Swaps taken back, the camera set as the run left it.
    EXPECT_EQ(SwapFiles() + SettingsValue(ReadSettings(), "KamSet Nord", "PX1"), kUnswapped + std::string("5555"));
  }
}

TEST_F(StartFaultsTest, AnInterruptedTerrainLeavesTheFolderAsItWas) {
  Write("Anlagen\\h.bmp", terrain_test::MakeBitmap(200, 200, [](int x, int) { return terrain_test::HeightPixel(x); }));
  WriteSettings({"[Terrain Nord]", "Name=Nord", "Hoehe=h.bmp", "Farbe=h.bmp", "Pixelgroesse=1", "Kachelabstand=1",
                 "Kachelgroesse=2"});
  // The folder keeps its old tiles and gets no marker, as nothing in it changed.
  Write("Modelle\\Nord\\bmp0_0.mod", "alt");
  const Tree before = SnapshotTree(Native("Modelle"));
  Child zuvo = SpawnZuvo({"terrain", Layout()}, Env());
  Eventually([&] { return Exists("Modelle\\.zuvo-neu-Nord\\bmp0_2.mod"); }, 12);
  kill(zuvo.pid, SIGINT);
  RunResult run = Finish(zuvo);
  EXPECT_EQ(run.exitCode, 130);
  EXPECT_TRUE(SnapshotTree(Native("Modelle")) == before);
  const std::size_t from = run.err.find(" von 40000 Kacheln");
  ASSERT_NE(from, std::string::npos) << run.err;
  const std::string start = "[Terrain Nord]: Terraingenerierung nach ";
  EXPECT_EQ(run.err.substr(0, start.size()), start);
  EXPECT_EQ(run.err.substr(from),
            " von 40000 Kacheln unterbrochen, die Kacheln bleiben wie zuvor.\n"
            "Lauf durch Signal SIGINT unterbrochen.\n");
}

}  // namespace
}  // namespace e2e
