// "zuvo start" with every choice under a failure at each file operation; a
// stand-in that crashes, deletes files or hangs until it is killed; the tool
// killed while it runs. Afterwards every installation file holds its own
// content again, or the message says which does not.
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <regex>
#include <sstream>

#include "e2e/installation.h"
#include "platform/platform.h"

namespace e2e {
namespace {

using stand_in::DescribeContent;

const char kUnswapped[] =
    "Strecke.dat=Sommer Strecke_Winter.dat=Winter Himmel.bmp=Himmel Tag Himmel_Nacht.bmp=Himmel Nacht ";

class StartFaultsTest : public InstallationTest {
 protected:
  void SetUp() override {
    InstallationTest::SetUp();
    Write("Strecke.dat", "Sommer");
    Write("Strecke_Winter.dat", "Winter");
    Write("Himmel.bmp", "Himmel Tag");
    Write("Himmel_Nacht.bmp", "Himmel Nacht");
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
  // Ends the stand-in's last run and waits until it is gone; never a process
  // group (an id of 0 or less).
  void KillStandIn() const {
    const long pid = std::atol(Runs().back().Get("Prozess", "0").c_str());
    if (pid <= 0) return;
    const std::string start = platform::ProcessStartTime(pid);
    kill(static_cast<pid_t>(pid), SIGKILL);
    for (int i = 0; i < 500 && platform::ProcessLiveness(pid, start) == platform::kAlive; ++i) usleep(10000);
  }
  const std::vector<std::string> kChoices = {"--buffer-stop", "Holz.mod", "--catenary",       "Kette.mod",
                                             "--guide-post",  "Gelb.mod", "--ground-texture", "Sand.bmp"};
};

TEST_F(StartFaultsTest, EveryFileOperationOfAFullStartFails) {
  // The stand-in's log differs from run to run (its process id), and is not
  // the tool's to keep whole. A start keeps two versions of the layout in its
  // history, before and after the run: a start cut off between them leaves
  // the index with the first only (the index under faults is the save
  // sweep's).
  std::vector<std::string> args = {"start", Layout()};
  args.insert(args.end(), kChoices.begin(), kChoices.end());
  FaultSweep sweep = SweepZuvoFaults(Prefix(), args, Env(),
                                     [](Tree* tree) {
                                       tree->erase(std::string("drive_c/Sim/") + stand_in::kLogFileName);
                                       tree->erase("drive_c/Sim/Anlagen/StartZUVO-Verlauf/Test/Verlauf.txt");
                                     },
                                     {"repair"});
  // A failed rename of the take-back leaves files swapped, and the message
  // names them and where their contents are; the next command puts them
  // back. Every message a faulted start gives is one of these.
  EXPECT_EQ(sweep.problems, std::vector<std::string>{});
  EXPECT_GT(sweep.reported, 40);
  const std::string p = "C:\\\\Sim\\\\[-A-Za-z0-9_.\\\\]+";
  const std::regex allowed[] = {
      std::regex("(Can't open|Fehler beim Schreiben von) " + p + "!"),
      std::regex("Original \\w+( \\(Grass.bmp\\))? kann nicht gesichert werden!"),
      std::regex("\\w+ \"\\w+\\.\\w+\" kann nicht installiert werden!"),
      std::regex("Laufprotokoll " + p + " kann nicht (geschrieben|entfernt) werden!"),
      std::regex("Datei " + p + " kann nicht in " + p + " umbenannt werden!"),
      std::regex("Ordner C:\\\\Sim\\\\ kann nicht ge\xC3\xB6"
                 "ffnet werden!"),
      std::regex("Verzeichnis " + p + " kann nicht angelegt werden!"),
      std::regex("Nach dem Lauf nicht wiederhergestellt:"),
      std::regex("Grund: (Die Datei gibt es nicht|Den Ordner " + p + " gibt es nicht)\\."),
      std::regex("  " + p + " \\((fehlt|Inhalt noch in " + p + ")\\)"),
      std::regex("Das Laufprotokoll " + p +
                 " bleibt: der n\xC3\xA4"
                 "chste Befehl versucht es erneut."),
  };
  for (const auto& run : sweep.said) {
    std::istringstream lines(run.second);
    for (std::string line; std::getline(lines, line);) {
      EXPECT_TRUE(std::any_of(std::begin(allowed), std::end(allowed),
                              [&](const std::regex& form) { return std::regex_match(line, form); }))
          << run.first << ": " << line;
    }
  }
}

// What the stand-in does (its plan, "Key=value"): the message names what is
// lost, every other file is back.
TEST_F(StartFaultsTest, WhatTheSimulatorBreaksIsNamed) {
  const std::string h = host_, lost = "Nach dem Lauf nicht wiederhergestellt:\n  ";
  const struct {
    const char* plan;  // "": no simulator at all
    int exitCode;
    std::string err;
    const char* gone = "";     // the file lost
    bool setRewritten = true;  // the camera set taken from the run
  } cases[] = {
      // The run went wrong, everything after it was done: status 3.
      {"Absturz=1", 3, ""},
      {"Exitcode=3", 3, ""},
      {"Loeschen=Himmel.bmp", 1, lost + h + "Himmel_Nacht.bmp (fehlt)\n", "Himmel_Nacht.bmp"},
      {"Loeschen=Strecke.dat.sav", 1, lost + h + "Strecke.dat (fehlt)\n", "Strecke.dat"},
      // The layout gone: the settings are stored, the set is not overwritten
      // with views that no file holds.
      {"Loeschen=Anlagen\\Test.anl", 1, "Can't open " + h + "Anlagen\\Test.anl!\nGrund: Die Datei gibt es nicht.\n", "",
       false},
      // Last: the program stays away.
      {"", 1, "Simulator \"" + h + "Kantrelwick.exe\" kann nicht gestartet werden!\n"},
  };
  const Tree fresh = SnapshotTree(Prefix());
  for (const auto& c : cases) {
    SCOPED_TRACE(c.plan);
    RestoreTree(Prefix(), fresh);
    WritePlan({"[Ablauf]", c.plan});
    if (!*c.plan) std::remove(Native("Kantrelwick.exe").c_str());
    RunResult run = Start(kChoices);
    EXPECT_EQ(run.exitCode, c.exitCode);
    EXPECT_EQ(run.err, c.err);
    const std::string ended = std::string(c.plan) == "Absturz=1"    ? "Simulator abgest\xC3\xBCrzt (Signal 6).\n"
                              : std::string(c.plan) == "Exitcode=3" ? "Simulator beendet mit Status 3.\n"
                                                                    : "";
    EXPECT_NE(run.out.find(ended), std::string::npos) << run.out;
    EXPECT_EQ(Runs().size(), *c.plan ? 1u : 0u);
    EXPECT_EQ(Read("Prellbock\\Prellbock.mod"), kOwnBufferStop);
    if (*c.gone) {
      EXPECT_FALSE(Exists(c.gone));
      Write(c.gone, c.gone[0] == 'H' ? "Himmel Nacht" : "Sommer");
    }
    EXPECT_EQ(SwapFiles(), kUnswapped);
    const std::string danl = ReadSettings();
    EXPECT_EQ(SettingsValue(danl, "Zuvo", "Bodentextur") + SettingsValue(danl, "KamSet Nord", "PX1"), "Sand.bmp1111");
    EXPECT_EQ(SettingsValue(danl, "KamSet Nord", "PY1") != "(fehlt)", c.setRewritten);
  }
}

TEST_F(StartFaultsTest, TheSimulatorOrTheToolKilledWhileItRuns) {
  // The simulator hangs until it is killed: the tool waits, then puts
  // everything back.
  WritePlan({"[Ablauf]", "Haengen=60"});
  Child zuvo = SpawnZuvo({"start", Layout(), "--buffer-stop", "Holz.mod"}, Env());
  ASSERT_TRUE(WaitForHangingRun(1)) << "the stand-in did not start";
  KillStandIn();
  RunResult run = Finish(zuvo);
  EXPECT_EQ(run.exitCode, 3) << run.err;  // killed from outside: a crash
  EXPECT_EQ(SwapFiles(), kUnswapped);
  const std::string after = ReadSettings();

  // The tool dies while the simulator runs, then the simulator ends too: the
  // swaps stay made, nothing is taken back, no settings are written.
  zuvo = SpawnZuvo({"start", Layout()}, Env());
  const bool hanging = WaitForHangingRun(2);
  for (int i = 0; i < 500 && Read("StartZUVO-Lauf.txt").find("Simulator=") == std::string::npos; ++i) usleep(10000);
  kill(zuvo.pid, SIGKILL);
  Finish(zuvo);
  ASSERT_TRUE(hanging) << "the stand-in did not start";
  // While the simulator lives on, a second start refuses.
  EXPECT_EQ(Start().err.find("Kantrelwick l\xC3\xA4uft schon auf " + host_ + "Anlagen\\Test.anl (Prozess " +
                             Runs().back().Get("Prozess")),
            0u);
  KillStandIn();
  EXPECT_EQ(SwapFiles(),
            "Strecke.dat=Winter Himmel.bmp=Himmel Nacht Strecke.dat.sav=Sommer Himmel.bmp.sav=Himmel Tag ");
  EXPECT_EQ(ReadSettings(), after);

  // The next start puts back what the run left, never overwrites a backup
  // (the simulator sees them as they were), and its take-back puts every
  // file back.
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

}  // namespace
}  // namespace e2e
