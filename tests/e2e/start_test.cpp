// "zuvo start" as the user runs it, every effect checked on disk and in the stand-in's log;
// then with every choice under a failure at each file operation; a stand-in that deletes
// files or hangs until it is killed; the tool killed or interrupted while it runs. Afterwards
// every installation file holds its own content again, or the message says which does not.
#include <signal.h>

#include <cstdio>
#include <cstdlib>

#include "e2e/installation.h"
#include "platform/platform.h"
#include "settings/history_index.h"
#include "terrain/terrain_test_support.h"

namespace e2e {
namespace {

using stand_in::DescribeContent;

TEST_F(InstallationTest, ChoicesSwapsAndTheCameraSetAreMadeForTheRunAndTakenBack) {
  // Two "Copy" sections, a chain A=B, B=C, paths from the drive (in any case) and from the
  // root; the lower-case section swaps nothing. The guide post as the ".danl" stores it.
  const char* const names[] = {"A", "B", "C", "Sub\\D", "Sub\\E", "Sig", "Sig_Neu"};
  for (const char* name : names) Write(name + std::string(".dat"), name);
  const std::string deep = "c:\\SIM\\sub/D.dat=\\Sim\\Sub\\E.dat";
  WriteSettings({"[Zuvo]",        "KamSet=Nord", "Leitpfosten=Gelb.mod",
                 "[KamSet Nord]", "PX1=1111",    "PY1=2222",
                 "PZ1=333",       "OW1=40",      "LH1=45000",
                 "WX1=90",        "WH1=-10",     "[Kantrelwick]",
                 "Alt=1",         "[copy]",      "Sig.dat=Sig_Neu.dat",
                 "[Copy]",        "A.dat=B.dat", "[Copy]",
                 "B.dat=C.dat",   deep});
  WritePlan({"[Kamera 1]", "PX=5555", "[Kamera 3]", "PZ=999", "[Danl Kantrelwick]", "Fahrplan=08:15", "[Ablauf]",
             "Zeigen=Sig.dat", "Zeigen=C.dat"});
  const std::string anl = Read("Anlagen\\Test.anl"), danlBefore = ReadSettings();
  RunResult run = Start({"--buffer-stop", "Holz.mod", "--catenary", "Kette.mod", "--ground-texture", "Sand.bmp"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  // Before the run: what was installed and swapped, and that it runs.
  EXPECT_EQ(WithoutPid(run.out + run.err),
            "Prellbock: Holz.mod installiert\nOberleitung: Kette.mod installiert\n"
            "Leitpfosten: Gelb.mod installiert\nBodentextur: Sand.bmp installiert\n"
            "Getauscht f\xC3\xBCr den Lauf: A.dat=B.dat\nGetauscht f\xC3\xBCr den Lauf: B.dat=C.dat\n"
            "Getauscht f\xC3\xBCr den Lauf: " +
                deep + "\n" + std::string(kRunning));

  // During the run: the choices installed; the substitute under the key's name, the
  // original in "<key>.sav", the substitute's own name gone; view 1 of the set.
  stand_in::Run sim = OnlyRun();
  const std::pair<std::string, std::string> seen[] = {
      {"Argumente", "2"},
      {"Argument 0", "Kantrelwick.exe"},
      {"Datei Mods\\Prellbock.mod", DescribeContent("Prellbock Holz") + " (wie Prellbock\\Holz.mod)"},
      {"Datei Mods\\Oberleitung.mod", DescribeContent("Oberleitung Kette") + " (wie Oberleitung\\Kette.mod)"},
      {"Datei Mods\\Leitpfosten.mod", DescribeContent("Leitpfosten gelb") + " (wie Leitpfosten\\Gelb.mod)"},
      {"Datei Parallels\\Tex256_256a.bmp", DescribeContent("Bodentextur Sand") + " (wie Bodentextur\\Sand.bmp)"},
      {"Tausch A.dat", DescribeContent("B")},
      {"Tausch A.dat.sav", DescribeContent("A")},
      {"Tausch B.dat", DescribeContent("C")},
      {"Tausch B.dat.sav", "fehlt"},
      {"Zeigen C.dat", "fehlt"},
      {"Tausch c:\\SIM\\sub/D.dat", DescribeContent("Sub\\E")},
      {"Zeigen Sig.dat", DescribeContent("Sig")},
      {"Kamera 1", "PX=1111 PY=2222 PZ=333 OW=40 LH=45000 WX=90 WH=-10"},
      {"Anlage gespeichert", "ja"},
      {"Ende", "Exitcode 0"}};
  for (const auto& line : seen) EXPECT_EQ(sim.Get(line.first), line.second) << line.first;

  // Afterwards: each swapped file its own again, no backup left; the originals kept as
  // default files, the choices stored.
  for (const char* name : names) EXPECT_EQ(Read(name + std::string(".dat")), name);
  for (const std::string& name : dir_.List(Inside(""))) EXPECT_EQ(name.find(".sav"), std::string::npos);
  EXPECT_EQ(Read("Bodentextur\\Grass.bmp"), "eigene Bodentextur");
  EXPECT_EQ(Read("Parallels\\Tex256_256a.bmp"), "Bodentextur Sand");
  // The set holds the cameras as the simulator left them; what it wrote into the ".danl" survives.
  const std::string danl = ReadSettings();
  const std::pair<const char*, const char*> stored[] = {
      {"Prellbock", "Holz.mod"}, {"Oberleitung", "Kette.mod"}, {"Bodentextur", "Sand.bmp"}, {"KamSet", "Nord"}};
  for (const auto& key : stored) EXPECT_EQ(SettingsValue(danl, "Zuvo", key.first), key.second);
  EXPECT_EQ(SettingsValue(danl, "KamSet Nord", "PX1") + SettingsValue(danl, "KamSet Nord", "PZ3"), "5555999");
  EXPECT_EQ(SettingsValue(danl, "Kantrelwick", "Fahrplan") + SettingsValue(danl, "Kantrelwick", "Alt"), "08:151");
  // The next start: an option given empty installs the default (saved once, not again from
  // the changed active file); the stored value stays.
  Write("Mods\\Prellbock.mod", "fremder Prellbock");
  EXPECT_EQ(Start({"--buffer-stop", ""}).exitCode, 0);
  EXPECT_EQ(Read("Mods\\Prellbock.mod"), kOwnBufferStop);
  EXPECT_EQ(SettingsValue(ReadSettings(), "Zuvo", "Prellbock"), "Holz.mod");

  // The history holds the pair before the first run and as the simulator left it (its
  // camera set not yet taken over); restoring the first gives the files back byte for byte.
  const std::string folder = "Anlagen\\StartZUVO-Verlauf\\Test\\";
  settings::HistoryIndex index;
  std::string fault;
  ASSERT_EQ(settings::ParseHistoryIndex(Read(folder + "Verlauf.txt"), &index, &fault), 1) << fault;
  ASSERT_EQ(index.versions.size(), 4u);
  EXPECT_EQ(index.versions[0].command + ", " + index.versions[1].command, "start, start: nach dem Lauf");
  EXPECT_TRUE(Read(folder + index.versions[1].layout.content) == Read(folder + index.versions[2].layout.content));
  const std::string left = Read(folder + index.versions[1].settings.content);
  EXPECT_EQ(SettingsValue(left, "Kantrelwick", "Fahrplan") + SettingsValue(left, "KamSet Nord", "PX1"), "08:151111");
  const RunResult restored = Zuvo({"--yes", "restore", Layout(), "1"});
  EXPECT_EQ(restored.out, Typed("Fassung 1 wiederhergestellt: " + host_ + "Anlagen\\Test.anl, " + host_ +
                                "Anlagen\\Test.danl (die Dateien davor: Fassung 4)\n"));
  EXPECT_TRUE(Read("Anlagen\\Test.anl") == anl && ReadSettings() == danlBefore);
}

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
  Args FullStart() const {  // a start with every choice
    return {"start",     Layout(),       "--buffer-stop", "Holz.mod",         "--catenary",
            "Kette.mod", "--guide-post", "Gelb.mod",      "--ground-texture", "Sand.bmp"};
  }
};

TEST_F(StartFaultsTest, EveryFileOperationOfAFullStartFails) {
  // The stand-in's log (its process id) is not the tool's to keep whole; a start cut off
  // between its two history versions leaves the index with the first only.
  const auto normalise = [](Tree* tree) {
    tree->erase(std::string("drive_c/Sim/") + stand_in::kLogFileName);
    tree->erase("drive_c/Sim/Anlagen/StartZUVO-Verlauf/Test/Verlauf.txt");
  };
  FaultSweep sweep = SweepZuvoFaults(Prefix(), FullStart(), Env(), normalise, {"repair"});
  // A failed rename of the take-back leaves files swapped; the message names them, the next command heals.
  EXPECT_EQ(sweep.problems, std::vector<std::string>{});
  EXPECT_GT(sweep.reported, 40);
}

// What the stand-in deletes (its plan) the message names as lost. A signal to zuvo during the
// run goes to the simulator (twice: once it got the first and went on), and the start ends as
// after a run with 128 + the signal. Every other file is back, the camera set as the run left it.
TEST_F(StartFaultsTest, WhatTheSimulatorBreaksIsNamedAndASignalEndsTheRun) {
  const std::string h = host_, lost = "Nach dem Lauf nicht wiederhergestellt:\n  ",
                    ended = "Simulator beendet mit Status 3.\n";
  const struct {
    const char* plan;  // nullptr, the last: no simulator at all
    int signal;
    std::string err, out = "";  // `out` follows the line of the run
    const char* gone = "";      // the file lost
  } cases[] = {
      {"Loeschen=Himmel.bmp", 0, lost + h + "Himmel_Nacht.bmp (fehlt)\n", "", "Himmel_Nacht.bmp"},
      {"Loeschen=Strecke.dat.sav", 0, lost + h + "Strecke.dat (fehlt)\n", "", "Strecke.dat"},
      {"", SIGINT, "Lauf durch Signal SIGINT unterbrochen.\n", ended},
      {"", SIGHUP, "Lauf durch Signal SIGHUP unterbrochen.\n", ended},
      {"Signale=5", SIGINT, "Lauf durch Signal SIGINT unterbrochen.\n", "Simulator durch Signal 9 beendet.\n"},
      {nullptr, 0, "Simulator \"" + h + "Kantrelwick.exe\" kann nicht gestartet werden!\n"},
  };
  const Tree fresh = SnapshotTree(Prefix());
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.plan ? c.plan : "(none)") + " " + std::to_string(c.signal));
    RestoreTree(Prefix(), fresh);
    WritePlan({"[Kamera 1]", "PX=5555", "[Ablauf]", c.plan ? c.plan : "", c.signal ? "Warten=60\r\nExitcode=3" : ""});
    if (!c.plan) std::remove(Native("Kantrelwick.exe").c_str());
    Child zuvo = SpawnZuvo(FullStart(), Env());
    if (c.signal) {
      ASSERT_TRUE(WaitForHangingRun(1)) << "the stand-in did not start";
      kill(zuvo.pid, c.signal);
      if (*c.plan && Eventually([&] { return Runs().back().Has("Signal"); })) kill(zuvo.pid, c.signal);
    }
    const RunResult run = Finish(zuvo);
    EXPECT_EQ(run.exitCode, c.signal ? 128 + c.signal : 1);
    EXPECT_EQ(run.err, Typed(c.err));
    if (c.plan) {  // after the choices installed and the swaps made: the run, then its end
      EXPECT_NE(WithoutPid(run.out).find("Himmel.bmp=Himmel_Nacht.bmp\n" + std::string(kRunning) + c.out),
                std::string::npos)
          << run.out;
    }
    EXPECT_EQ(c.plan ? OnlyRun().Get("Signal", "0") : "0", std::to_string(c.signal));
    if (*c.gone) {
      EXPECT_FALSE(Exists(c.gone));
      Write(c.gone, c.gone[0] == 'H' ? "Himmel Nacht" : "Sommer");
    }
    EXPECT_EQ(SwapFiles(), kUnswapped);
    const std::string danl = ReadSettings();
    EXPECT_EQ(SettingsValue(danl, "Zuvo", "Bodentextur") + SettingsValue(danl, "KamSet Nord", "PX1"),
              c.plan ? "Sand.bmp5555" : "Sand.bmp1111");
    EXPECT_NE(SettingsValue(danl, "KamSet Nord", "PY1"), "(fehlt)");  // the camera set taken from the layout
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

  // Its journal made another computer's cannot be judged: only "repair --force" with a Yes puts it back.
  std::string journal = Read("StartZUVO-Lauf.txt");
  Write("StartZUVO-Lauf.txt", journal.insert(journal.find("Rechner=") + 8, "fern-"));
  EXPECT_EQ(Zuvo({"--yes", "repair"}).exitCode, 1);
  run = Zuvo({"--yes", "repair", "--force"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(SwapFiles(), kUnswapped);
}

// A terrain interrupted stops at a safe point and exits 128 + the signal.
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
