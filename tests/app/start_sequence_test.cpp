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
  host.Write("Anlagen\\Berg.anl", layout_bytes::File({}, {layout_bytes::Model(), layout_bytes::Model()}, {}));
  ASSERT_TRUE(Load("Anlagen\\Berg.anl"));  // the same model twice: the start saves the layout as every save does
  view.controls.m_cameraSet = "Nord";      // typed: the list finds "nord", the settings file has no "KamSet Nord"
  EXPECT_EQ(dialog.OnStartClicked(), 1);
  EXPECT_EQ(dialog.pair().layout.models.size(), 1u);
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

// A swap whose substitute is missing is left out: the original stays where the simulator
// expects it, and the window says so once the run is over. Before the simulator runs, the
// journal holds it and each swap made, with a backup only of a file that was there (not Neu.bmp).
TEST_F(StartTest, ASwapWithoutItsSubstituteIsLeftOutAndTheJournalHoldsTheSwapsMade) {
  const char* const files[][2] = {
      {"Strecke.dat", "Sommer"}, {"Himmel.bmp", "Tag"}, {"Nacht.bmp", "Nacht"}, {"Regen.bmp", "Regen"}};
  for (const auto& file : files) host.Write(file[0], file[1]);
  Prepare("[Copy]\r\nStrecke.dat=Winter.dat\r\nHimmel.bmp=Nacht.bmp\r\nNeu.bmp=Regen.bmp\r\n");
  std::string journal;
  long simulator = 0;
  view.onRunning = [&](long pid) { journal = host.Read("StartZUVO-Lauf.txt"), simulator = pid; };
  EXPECT_EQ(dialog.OnStartClicked(), 1);
  const auto line = [this](const char* key, const char* name) { return key + host.Path(name) + "\r\n"; };
  EXPECT_EQ(journal.substr(std::min(journal.find("[Tausch]"), journal.size())),
            "[Tausch]\r\n" + line("Datei=", "Himmel.bmp") + line("Sicherung=", "Himmel.bmp.sav") +
                line("Ersatz=", "Nacht.bmp") + line("Datei=", "Neu.bmp") + line("Ersatz=", "Regen.bmp"));
  const app::RunJournal run = app::ParseJournal(journal);
  EXPECT_EQ((std::vector<long>{run.pid, run.simulatorPid}), (std::vector<long>{platform::OwnProcessId(), simulator}));
  EXPECT_EQ(view.log, (Texts{"Minimize", "Restore",
                             "! Nicht getauscht, weil die Ersatzdatei fehlt:\n  Strecke.dat=Winter.dat (" +
                                 host.Path("Winter.dat") + " fehlt)\n"}));
  EXPECT_EQ(host.Read("Strecke.dat") + host.Read("Himmel.bmp") + host.Read("Nacht.bmp") + host.Read("Regen.bmp") +
                host.Read("Neu.bmp"),
            "SommerTagNachtRegen");
  EXPECT_EQ(messages.messages(), Texts{});
}

}  // namespace
