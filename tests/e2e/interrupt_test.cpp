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
};

TEST_F(InterruptTest, ASignalDuringTheRunReachesTheSimulatorAndTheStartEnds) {
  const std::string ended = "Simulator beendet mit Status 3.\n";
  // twice: a second signal once the simulator got the first and went on.
  const struct {
    int signal;
    std::string name;
    bool twice;
    std::string out;
  } cases[] = {{SIGINT, "SIGINT", false, ended},
               {SIGTERM, "SIGTERM", false, ended},
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
    for (int i = 0; c.twice && i < 1200 && !Runs().back().Has("Signal"); ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    if (c.twice) kill(zuvo.pid, c.signal);
    RunResult run = Finish(zuvo);
    EXPECT_EQ(run.exitCode, 128 + c.signal);
    // After the choices installed and the swap made: the run, then its end.
    EXPECT_NE(WithoutPid(run.out).find("Strecke.dat=Strecke_Winter.dat\n" + std::string(kRunning) + c.out),
              std::string::npos)
        << run.out;
    EXPECT_EQ(run.err, "Lauf durch Signal " + c.name + " unterbrochen.\n");
    EXPECT_EQ(OnlyRun().Get("Signal"), std::to_string(c.signal));
    // Swaps taken back, the camera set as the run left it.
    EXPECT_EQ(SwapFiles() + SettingsValue(ReadSettings(), "KamSet Nord", "PX1"), "SommerWinter5555");
  }
}

TEST_F(InterruptTest, ASignalBeforeTheRunStopsTheStart) {
  // The tool waits on the layout (a FIFO) while the signal comes; the start
  // then stops at its first safe point: no run, nothing swapped or stored.
  const std::string layout = Read("Anlagen\\Test.anl"), settings = ReadSettings();
  ASSERT_TRUE(std::remove(Layout().c_str()) == 0 && mkfifo(Layout().c_str(), 0600) == 0);
  Child zuvo = SpawnZuvo({"start", Layout(), "--buffer-stop", "Holz.mod"}, Env());
  const int fifo = open(Layout().c_str(), O_WRONLY);
  ASSERT_GE(fifo, 0);
  kill(zuvo.pid, SIGTERM);
  EXPECT_EQ(write(fifo, layout.data(), layout.size()), static_cast<ssize_t>(layout.size()));
  close(fifo);
  RunResult run = Finish(zuvo);
  EXPECT_EQ(std::to_string(run.exitCode) + run.out + run.err, "143Lauf durch Signal SIGTERM unterbrochen.\n");
  EXPECT_FALSE(Exists(stand_in::kLogFileName));
  EXPECT_EQ(SwapFiles() + Read("Mods\\Prellbock.mod") + ReadSettings(), "SommerWinter" + (kOwnBufferStop + settings));
  struct stat st;
  EXPECT_TRUE(lstat(Layout().c_str(), &st) == 0 && S_ISFIFO(st.st_mode)) << "the layout was saved";
}

TEST_F(InterruptTest, AnInterruptedTerrainLeavesTheFolderAsItWas) {
  Write("Anlagen\\h.bmp", terrain_test::MakeBitmap(200, 200, [](int x, int) { return terrain_test::HeightPixel(x); }));
  WriteSettings({"[Terrain Nord]", "Name=Nord", "Hoehe=h.bmp", "Farbe=h.bmp", "Pixelgroesse=1", "Kachelabstand=1",
                 "Kachelgroesse=2"});
  // A new folder stays absent; an existing one keeps its old tiles and gets
  // no marker, as nothing in it changed.
  for (const bool existing : {false, true}) {
    SCOPED_TRACE(existing ? "existing" : "new");
    if (existing) Write("Modelle\\Nord\\bmp0_0.mod", "alt");
    const Tree before = SnapshotTree(Native("Modelle"));
    Child zuvo = SpawnZuvo({"terrain", Layout()}, Env());
    const std::string temp = "Modelle\\.zuvo-neu-Nord\\";
    for (int i = 0; i < 1200 && !Exists(temp + "bmp0_2.mod"); ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
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
}

TEST_F(InterruptTest, ListsAndTerrainOfALayoutAtADriveRoot) {
  const std::string root = "prefix/drive_c/";
  dir_.Write(root + "Wurzel.anl", Read("Anlagen\\Test.anl"));
  dir_.Write(root + "h.bmp", terrain_test::MakeBitmap(4, 4, [](int, int) { return terrain_test::HeightPixel(1); }));
  dir_.Write(root + "Wurzel.danl", CrLf({"[Terrain Nord]", "Name=Nord", "Hoehe=h.bmp", "Farbe=h.bmp", "Pixelgroesse=1",
                                         "Kachelabstand=2", "Kachelgroesse=4"}));
  const std::string layout = dir_.NativePath(root + "Wurzel.anl");
  EXPECT_EQ(Zuvo({"inventory", layout}).exitCode + Zuvo({"terrain", layout}).exitCode, 0);
  EXPECT_TRUE(dir_.Exists(root + "Inventarliste.txt") && Exists("Modelle\\Nord\\bmp0_0.mod"));
}

}  // namespace
}  // namespace e2e
