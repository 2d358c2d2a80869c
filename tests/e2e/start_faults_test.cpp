// "zuvo start" under faults: a failure at every file operation of a full
// start (defaults saved, the layout saved with a camera set, four choices
// installed, swaps made and taken back, the ".danl" written); a stand-in
// simulator that crashes, deletes files or hangs until it is killed; the tool
// itself killed while the simulator runs. Afterwards every installation file
// holds its own content again, or the message says which does not.
#include <signal.h>

#include <cstdlib>
#include <cstring>

#include "e2e/installation.h"
#include "settings/settings_file.h"

namespace e2e {
namespace {

using stand_in::DescribeContent;
using testing_support::RestoreTree;
using testing_support::SnapshotTree;

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
  // Every choice: defaults saved, the layout saved with a camera set, four
  // choices installed, two swaps made and taken back, the ".danl" written.
  RunResult FullStart(const std::vector<std::string>& env = {}) const { return Start(kChoices, env); }
  // The swapped files and their backups, "name=content " each.
  std::string SwapFiles() const {
    std::string text;
    for (const char* f :
         {"Strecke.dat", "Strecke_Winter.dat", "Himmel.bmp", "Himmel_Nacht.bmp", "Strecke.dat.sav", "Himmel.bmp.sav"}) {
      if (Exists(f)) text += std::string(f) + "=" + Read(f) + " ";
    }
    return text;
  }
  // Ends the stand-in's last run; never a process group (an id of 0 or less).
  void KillStandIn() const {
    const long pid = std::atol(Runs().back().Get("Prozess", "0").c_str());
    if (pid > 0) kill(static_cast<pid_t>(pid), SIGKILL);
  }
  const std::vector<std::string> kChoices = {"--buffer-stop", "Holz.mod", "--catenary", "Kette.mod",
                                             "--guide-post", "Gelb.mod", "--ground-texture", "Sand.bmp"};
};

TEST_F(StartFaultsTest, EveryFileOperationOfAFullStartFails) {
  // The stand-in's log differs from run to run (its process id), and is not
  // the tool's to keep whole.
  std::vector<std::string> args = {"start", Layout()};
  args.insert(args.end(), kChoices.begin(), kChoices.end());
  testing_support::FaultSweep sweep = SweepZuvoFaults(Prefix(), args, Env(), [](testing_support::Tree* tree) {
    tree->erase(std::string("drive_c/Sim/") + stand_in::kLogFileName);
  });
  // Only a failed rename of the take-back leaves files swapped: the message
  // names them (next test), and the next start puts them back.
  EXPECT_EQ((std::vector<std::string>{
                "rename:14: drive_c/Sim/Himmel.bmp holds neither its old nor its new bytes; "
                "drive_c/Sim/Himmel.bmp.sav is left over; drive_c/Sim/Himmel_Nacht.bmp is gone",
                "rename:15: drive_c/Sim/Himmel.bmp is gone; drive_c/Sim/Himmel.bmp.sav is left over",
                "rename:16: drive_c/Sim/Strecke.dat holds neither its old nor its new bytes; "
                "drive_c/Sim/Strecke.dat.sav is left over; drive_c/Sim/Strecke_Winter.dat is gone",
                "rename:17: drive_c/Sim/Strecke.dat is gone; drive_c/Sim/Strecke.dat.sav is left over"}),
            sweep.problems);
  EXPECT_GT(sweep.reported, 40);
}

// A fault (ZUVO_FAULTS) or what the stand-in does (its plan, "Key=value"):
// the message names what is lost, every other file is back, or the next
// start puts it back.
TEST_F(StartFaultsTest, WhatGoesWrongIsNamedAndTheNextStartPutsEverythingBack) {
  const std::string h = host_, lost = "Nach dem Lauf nicht wiederhergestellt:\n  ";
  const struct {
    const char* fault;  // "": no simulator at all
    int exitCode;
    std::string err;
    std::size_t runs;
    const char* gone = "";     // the file lost, put back by the test
    bool setRewritten = true;  // the camera set taken from the run
  } cases[] = {
      // The second swap's second rename, the change into the installation:
      // nothing runs, what came before stays done.
      {"rename:13", 1, "Datei " + h + "Himmel_Nacht.bmp kann nicht in " + h + "Himmel.bmp umbenannt werden!\n", 0},
      {"chdir:2", 1, "Ordner " + h + " kann nicht ge\xC3\xB6" "ffnet werden!\n", 0},
      {"rename:14", 1,
       lost + h + "Himmel.bmp (Inhalt noch in " + h + "Himmel.bmp.sav)\n  " + h + "Himmel_Nacht.bmp (fehlt)\n", 1},
      {"rename:15", 1, lost + h + "Himmel.bmp (Inhalt noch in " + h + "Himmel.bmp.sav)\n", 1},
      {"rename:16", 1,
       lost + h + "Strecke.dat (Inhalt noch in " + h + "Strecke.dat.sav)\n  " + h + "Strecke_Winter.dat (fehlt)\n", 1},
      {"rename:17", 1, lost + h + "Strecke.dat (Inhalt noch in " + h + "Strecke.dat.sav)\n", 1},
      {"Absturz=1", 0, "", 1},
      {"Exitcode=3", 0, "", 1},
      {"Loeschen=Himmel.bmp", 1, lost + h + "Himmel_Nacht.bmp (fehlt)\n", 1, "Himmel_Nacht.bmp"},
      {"Loeschen=Strecke.dat.sav", 1, lost + h + "Strecke.dat (fehlt)\n", 1, "Strecke.dat"},
      // The layout gone: the settings are stored, the set is not overwritten
      // with views that no file holds.
      {"Loeschen=Anlagen\\Test.anl", 1, "Can't open " + h + "Anlagen\\Test.anl!\n", 1, "", false},
      // Last: the program stays away.
      {"", 1, "Simulator \"" + h + "Kantrelwick.exe\" kann nicht gestartet werden!\n", 0},
  };
  const testing_support::Tree fresh = SnapshotTree(Prefix());
  for (const auto& c : cases) {
    SCOPED_TRACE(c.fault);
    RestoreTree(Prefix(), fresh);
    const bool planned = std::strchr(c.fault, '=') != nullptr || !*c.fault;
    WritePlan({"[Ablauf]", planned ? c.fault : ""});
    if (!*c.fault) std::remove(Native("Kantrelwick.exe").c_str());
    const std::vector<std::string> fault = {std::string("ZUVO_FAULTS=") + c.fault};
    RunResult run = FullStart(planned ? std::vector<std::string>{} : fault);
    EXPECT_EQ(run.exitCode, c.exitCode);
    EXPECT_EQ(run.err, c.err);
    EXPECT_EQ(Runs().size(), c.runs);
    EXPECT_EQ(Read("Prellbock\\Prellbock.mod"), kOwnBufferStop);
    if (!planned) {
      EXPECT_EQ(Read("Mods\\Prellbock.mod"), "Prellbock Holz");
      run = FullStart();
      EXPECT_EQ(run.exitCode, 0) << run.err;
    } else if (*c.gone) {
      EXPECT_FALSE(Exists(c.gone));
      Write(c.gone, c.gone[0] == 'H' ? "Himmel Nacht" : "Sommer");
    }
    EXPECT_EQ(SwapFiles(), kUnswapped);
    settings::SettingsFile danl;
    danl.Parse(ReadSettings());
    EXPECT_EQ(danl.Find("Zuvo", "Bodentextur") ? *danl.Find("Zuvo", "Bodentextur") : "", "Sand.bmp");
    EXPECT_EQ(danl.Find("KamSet Nord", "PX1") ? *danl.Find("KamSet Nord", "PX1") : "", "1111");
    EXPECT_EQ(danl.Find("KamSet Nord", "PY1") != nullptr, c.setRewritten);
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
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(SwapFiles(), kUnswapped);
  const std::string after = ReadSettings();

  // The tool dies while the simulator runs, then the simulator ends too: the
  // swaps stay made, nothing is taken back, no settings are written.
  zuvo = SpawnZuvo({"start", Layout()}, Env());
  const bool hanging = WaitForHangingRun(2);
  kill(zuvo.pid, SIGKILL);
  Finish(zuvo);
  ASSERT_TRUE(hanging) << "the stand-in did not start";
  KillStandIn();
  EXPECT_EQ(SwapFiles(),
            "Strecke.dat=Winter Himmel.bmp=Himmel Nacht Strecke.dat.sav=Sommer Himmel.bmp.sav=Himmel Tag ");
  EXPECT_EQ(ReadSettings(), after);

  // The next start never overwrites a backup (the simulator sees them as
  // they were), and its take-back puts every file back.
  WritePlan({});
  run = Start();
  EXPECT_EQ(run.exitCode, 0) << run.err;
  ASSERT_EQ(Runs().size(), 3u);
  EXPECT_EQ(Runs()[2].Get("Tausch Strecke.dat.sav"), DescribeContent("Sommer"));
  EXPECT_EQ(Runs()[2].Get("Tausch Himmel.bmp.sav"), DescribeContent("Himmel Tag"));
  EXPECT_EQ(SwapFiles(), kUnswapped);
  EXPECT_EQ(Read("Mods\\Prellbock.mod"), "Prellbock Holz");
  EXPECT_EQ(Read("Prellbock\\Prellbock.mod"), kOwnBufferStop);

  // As a run killed between the two renames of a swap leaves it: the
  // original in its backup, the substitute still under its own name.
  std::rename(Native("Strecke.dat").c_str(), Native("Strecke.dat.sav").c_str());
  run = Start();
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(Runs().back().Get("Tausch Strecke.dat"), DescribeContent("Winter"));
  EXPECT_EQ(SwapFiles(), kUnswapped);
}

}  // namespace
}  // namespace e2e
