// "Starte ZUVO" with the stand-in simulator: what "zuvo start" cannot show.
#include <filesystem>

#include "app/run_journal.h"
#include "app/scripted_view.h"
#include "stand-in/protocol.h"

namespace {

using app_testing::Texts;

const char* const kActiveFiles[] = {"Mods\\Prellbock.mod", "Mods\\Oberleitung.mod", "Mods\\Leitpfosten.mod",
                                    "Parallels\\Tex256_256a.bmp"};

// An installation with its active files and the stand-in simulator, and Berg loaded with `settings`.
class StartTest : public app_testing::AppTest {
 protected:
  void Prepare(const std::string& settings) {
    for (const char* file : kActiveFiles) host.Write(file, "own");
    std::filesystem::copy_file(ZUVO_FAKE_SIMULATOR, host.NativePath("Kantrelwick.exe"));
    WriteBerg(settings);
    ASSERT_TRUE(Load("Anlagen\\Berg.anl"));
  }
};

TEST_F(StartTest, TheSimulatorRunsWhileTheDialogIsMinimisedAndTheSetJoinsTheList) {
  Prepare("[KamSet nord]\r\nPX1=4242\r\n");
  for (int kind : {0, 2}) {  // an active file missing before its default is saved: told by its kind
    ASSERT_TRUE(platform::RemoveFile(host.Path(kActiveFiles[kind]), ""));
    EXPECT_EQ(dialog.OnStartClicked(), 0);
    host.Write(kActiveFiles[kind], "own");
  }
  view.controls.m_cameraSet = "Nord";  // typed: the list finds "nord", the settings file has no "KamSet Nord"
  EXPECT_EQ(dialog.OnStartClicked(), 1);
  EXPECT_EQ(stand_in::ReadRuns(host.Read(stand_in::kLogFileName)).size(), 1u);
  view.controls.m_cameraSet = "Abend";
  EXPECT_EQ(dialog.OnStartClicked(), 1);
  const std::string stored = " gespeichert: " + host.Path("Anlagen\\Berg.danl");
  EXPECT_EQ(view.log, (Texts{"Minimize", "Restore", "= Neues Kamera Set Nord" + stored, "Minimize", "Restore",
                             "= Neues Kamera Set Abend" + stored}));
  EXPECT_EQ(view.cameraSets, (Texts{"nord", "Abend"}));
  EXPECT_EQ(*dialog.pair().settings.Find("KamSet Nord", "PX1"), "0");
  EXPECT_EQ(*dialog.pair().settings.Find("Zuvo", "KamSet"), "Abend");
  host.Write("Kantrelwick.plan", "[Ablauf]\r\nLoeschen=Anlagen\\Berg.anl\r\n");
  EXPECT_EQ(dialog.OnStartClicked(), 0);  // the run took the layout away: nothing works on it any more
  EXPECT_EQ(dialog.OnInventoryListClicked(), 0);
  EXPECT_EQ(
      messages.messages(),
      (Texts{"Original Prellbock kann nicht gesichert werden!\n", "Original Leitpfosten kann nicht gesichert werden!\n",
             "Can't open " + host.Path("Anlagen\\Berg.anl") + "!\nGrund: Die Datei gibt es nicht.\n",
             "Anlage nicht OK\n"}));
}

// A swap whose substitute is missing is left out: the original stays where
// the simulator expects it, and the window says so once the run is over.
TEST_F(StartTest, ASwapWithoutItsSubstituteIsLeftOutAndNamedAfterTheRun) {
  host.Write("Strecke.dat", "Sommer");
  host.Write("Himmel.bmp", "Tag");
  host.Write("Nacht.bmp", "Nacht");
  Prepare("[Copy]\r\nStrecke.dat=Winter.dat\r\nHimmel.bmp=Nacht.bmp\r\n");
  EXPECT_EQ(dialog.OnStartClicked(), 1);
  const std::vector<stand_in::Run> runs = stand_in::ReadRuns(host.Read(stand_in::kLogFileName));
  ASSERT_EQ(runs.size(), 1u);
  EXPECT_EQ(runs[0].Get("Tausch Strecke.dat"), stand_in::DescribeContent("Sommer"));
  EXPECT_EQ(runs[0].Get("Tausch Strecke.dat.sav"), "fehlt");
  EXPECT_EQ(runs[0].Get("Tausch Himmel.bmp"), stand_in::DescribeContent("Nacht"));
  EXPECT_EQ(view.log, (Texts{"Minimize", "Restore",
                             "! Nicht getauscht, weil die Ersatzdatei fehlt:\n  Strecke.dat=Winter.dat (" +
                                 host.Path("Winter.dat") + " fehlt)\n"}));
  EXPECT_EQ(host.Read("Strecke.dat") + host.Read("Himmel.bmp") + host.Read("Nacht.bmp"), "SommerTagNacht");
  EXPECT_EQ(messages.messages(), Texts{});
}

// The chain A=B, B=C and a swap whose file does not exist: the journal names a backup only for a
// file there when its swap's turn came, and holds the swaps and the simulator before it runs.
TEST_F(StartTest, TheJournalRecordsEachSwapAndTheSimulatorBeforeItRuns) {
  for (const char* name : {"A.dat", "B.dat", "C.dat", "D.dat"}) host.Write(name, name);
  Prepare("[Copy]\r\nA.dat=B.dat\r\nB.dat=C.dat\r\nNeu.dat=D.dat\r\n");
  std::string seen;
  long simulator = 0;
  view.onRunning = [&](long pid) { seen = host.Read("StartZUVO-Lauf.txt"), simulator = pid; };
  EXPECT_EQ(dialog.OnStartClicked(), 1);
  const auto line = [this](const char* key, const char* name) { return key + host.Path(name) + "\r\n"; };
  ASSERT_NE(seen.find("[Tausch]"), std::string::npos) << seen;
  EXPECT_EQ(seen.substr(seen.find("[Tausch]")), "[Tausch]\r\n" + line("Datei=", "A.dat") +
                                                    line("Sicherung=", "A.dat.sav") + line("Ersatz=", "B.dat") +
                                                    line("Datei=", "B.dat") + line("Ersatz=", "C.dat") +
                                                    line("Datei=", "Neu.dat") + line("Ersatz=", "D.dat"));
  const app::RunJournal run = app::ParseJournal(seen);
  EXPECT_EQ((std::vector<long>{run.pid, run.simulatorPid}), (std::vector<long>{platform::OwnProcessId(), simulator}));
  EXPECT_EQ(host.Read("A.dat") + host.Read("B.dat") + host.Read("C.dat") + host.Read("D.dat") + host.Read("Neu.dat"),
            "A.datB.datC.datD.dat");
  EXPECT_FALSE(host.Exists("A.dat.sav") || host.Exists("StartZUVO-Lauf.txt"));
  EXPECT_EQ(messages.messages(), Texts{});
}

}  // namespace
