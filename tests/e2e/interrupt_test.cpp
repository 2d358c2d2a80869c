// zuvo interrupted by a signal: during the run the signal goes to the
// simulator and the start ends as after a run; before the run, or during a
// terrain, the command stops at a safe point. Each exits 128 + the signal.
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "e2e/installation.h"
#include "terrain/terrain_test_support.h"

namespace e2e {
namespace {

class InterruptTest : public InstallationTest {
 protected:
  void SetUp() override {
    InstallationTest::SetUp();
    Write("Strecke.dat", "Sommer");
    Write("Strecke_Winter.dat", "Winter");
    WriteSettings({"[Zuvo]", "KamSet=Nord", "[KamSet Nord]", "PX1=1111", "[Copy]", "Strecke.dat=Strecke_Winter.dat"});
  }
  std::string SwapFiles() const { return Read("Strecke.dat") + Read("Strecke_Winter.dat") + Read("Strecke.dat.sav"); }
  // True once the stand-in's last run logged `count` signals.
  bool WaitForSignals(std::size_t count) const {
    for (int i = 0; i < 1200; ++i) {
      const std::vector<stand_in::Run> runs = Runs();
      std::size_t seen = 0;
      for (const auto& line : runs.back().lines) seen += line.first == "Signal";
      if (seen >= count) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
  }
};

TEST_F(InterruptTest, ASignalDuringTheRunReachesTheSimulatorAndTheStartEnds) {
  const struct {
    int signal;
    std::string name;
  } cases[] = {{SIGINT, "SIGINT"}, {SIGTERM, "SIGTERM"}, {SIGHUP, "SIGHUP"}};
  const Tree fresh = SnapshotTree(Prefix());
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    RestoreTree(Prefix(), fresh);
    WritePlan({"[Kamera 1]", "PX=5555", "[Ablauf]", "Warten=60", "Exitcode=3"});
    Child zuvo = SpawnZuvo({"start", Layout()}, Env());
    ASSERT_TRUE(WaitForHangingRun(1)) << "the stand-in did not start";
    kill(zuvo.pid, c.signal);
    RunResult run = Finish(zuvo);
    EXPECT_EQ(run.exitCode, 128 + c.signal);
    EXPECT_EQ(run.out, "Simulator beendet mit Status 3.\n");
    EXPECT_EQ(run.err, "Lauf durch Signal " + c.name + " unterbrochen.\n");
    EXPECT_EQ(OnlyRun().Get("Signal"), std::to_string(c.signal));
    EXPECT_EQ(SwapFiles(), "SommerWinter");
    EXPECT_EQ(SettingsValue(ReadSettings(), "KamSet Nord", "PX1"), "5555");  // the set as the run left it
  }
}

TEST_F(InterruptTest, ASecondCtrlCEndsTheSimulator) {
  WritePlan({"[Ablauf]", "Warten=60", "Signale=5"});
  Child zuvo = SpawnZuvo({"start", Layout()}, Env());
  ASSERT_TRUE(WaitForHangingRun(1)) << "the stand-in did not start";
  kill(zuvo.pid, SIGINT);
  ASSERT_TRUE(WaitForSignals(1));
  kill(zuvo.pid, SIGINT);
  RunResult run = Finish(zuvo);
  EXPECT_EQ(run.exitCode, 130);
  EXPECT_EQ(run.out, "Simulator durch Signal 9 beendet.\n");
  EXPECT_FALSE(OnlyRun().Has("Ende"));
  EXPECT_EQ(SwapFiles(), "SommerWinter");
}

TEST_F(InterruptTest, ASignalBeforeTheRunStopsTheStart) {
  // The tool waits on the layout (a FIFO) while the signal comes; the start
  // then stops at its first safe point: no run, nothing swapped or stored.
  const std::string layout = Read("Anlagen\\Test.anl"), settings = ReadSettings();
  ASSERT_EQ(std::remove(Layout().c_str()), 0);
  ASSERT_EQ(mkfifo(Layout().c_str(), 0600), 0);
  Child zuvo = SpawnZuvo({"start", Layout(), "--buffer-stop", "Holz.mod"}, Env());
  const int fifo = open(Layout().c_str(), O_WRONLY);
  ASSERT_GE(fifo, 0);
  kill(zuvo.pid, SIGTERM);
  EXPECT_EQ(write(fifo, layout.data(), layout.size()), static_cast<ssize_t>(layout.size()));
  close(fifo);
  RunResult run = Finish(zuvo);
  EXPECT_EQ(run.exitCode, 143);
  EXPECT_EQ(run.out + run.err, "Lauf durch Signal SIGTERM unterbrochen.\n");
  EXPECT_FALSE(Exists(stand_in::kLogFileName));
  EXPECT_EQ(SwapFiles(), "SommerWinter");
  EXPECT_EQ(Read("Mods\\Prellbock.mod"), kOwnBufferStop);
  EXPECT_EQ(ReadSettings(), settings);
}

TEST_F(InterruptTest, AnInterruptedTerrainTellsHowManyTilesItWrote) {
  const int side = 200;
  Write("Anlagen\\h.bmp", terrain_test::MakeBitmap(side, side, [](int x, int y) {
          return terrain_test::HeightPixel(10000 + x + y);
        }));
  Write("Anlagen\\f.bmp", terrain_test::MakeBitmap(side, side, [](int, int) { return terrain_test::PixelBytes{}; }));
  WriteSettings({"[Terrain Nord]", "Name=Nord", "Hoehe=h.bmp", "Farbe=f.bmp", "Pixelgroesse=1", "Kachelabstand=1",
                 "Kachelgroesse=2"});
  Child zuvo = SpawnZuvo({"terrain", Layout()}, Env());
  for (int i = 0; i < 1200 && !Exists("Modelle\\Nord\\bmp0_0.mod"); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  kill(zuvo.pid, SIGINT);
  RunResult run = Finish(zuvo);
  EXPECT_EQ(run.exitCode, 130);
  const std::vector<std::string> files = dir_.List(Inside("Modelle\\Nord"));
  for (const std::string& name : files) EXPECT_EQ(name.rfind("bmp", 0), 0u) << name;  // no temporary file
  const int tiles = static_cast<int>(files.size()), total = side * side;
  EXPECT_LT(tiles, total);
  EXPECT_EQ(run.err, "[Terrain Nord]: " + std::to_string(tiles) + " von " + std::to_string(total) +
                         " Kacheln geschrieben, Terraingenerierung unterbrochen.\n"
                         "Lauf durch Signal SIGINT unterbrochen.\n");
}

TEST_F(InterruptTest, ListsAndTerrainOfALayoutAtADriveRoot) {
  dir_.Write("prefix/drive_c/Wurzel.anl", Read("Anlagen\\Test.anl"));
  dir_.Write("prefix/drive_c/h.bmp", terrain_test::MakeBitmap(4, 4, [](int, int) { return terrain_test::HeightPixel(1); }));
  dir_.Write("prefix/drive_c/f.bmp", terrain_test::MakeBitmap(4, 4, [](int, int) { return terrain_test::PixelBytes{}; }));
  dir_.Write("prefix/drive_c/Wurzel.danl", CrLf({"[Terrain Nord]", "Name=Nord", "Hoehe=h.bmp", "Farbe=f.bmp",
                                                 "Pixelgroesse=1", "Kachelabstand=2", "Kachelgroesse=4"}));
  const std::string layout = dir_.NativePath("prefix/drive_c/Wurzel.anl");
  for (const char* command : {"inventory", "missing-list", "terrain"}) {
    RunResult run = Zuvo({command, layout});
    EXPECT_EQ(run.exitCode, 0) << command << run.err;
  }
  EXPECT_TRUE(dir_.Exists("prefix/drive_c/Inventarliste.txt"));
  EXPECT_TRUE(dir_.Exists("prefix/drive_c/Fehlliste.txt"));
  EXPECT_TRUE(Exists("Modelle\\Nord\\bmp1_1.mod"));
}

}  // namespace
}  // namespace e2e
