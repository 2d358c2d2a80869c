// "Starte ZUVO" against a scripted view, with the stand-in simulator
// installed in the test installation: the window operations around the run,
// the camera-set list, and the exact messages of every kind.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/app_fixture.h"
#include "stand-in/protocol.h"

namespace {

using app_testing::Texts;

// The stand-in as the simulator, the four kinds' own files installed, and a
// layout "Anlagen\Test.anl" whose first camera stands at PX 1000.
class StartSequenceTest : public app_testing::AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    for (const char* file : {"Mods\\Oberleitung.mod", "Mods\\Leitpfosten.mod", "Parallels\\Tex256_256a.bmp"}) {
      host.Write(file, "own");
    }
    host.Write("Mods\\Prellbock.mod", "own buffer stop");
    layout_bytes::Tail tail;
    tail.cameras[0][0] = 0x3F800000, tail.cameras[0][3] = 1000;  // direction x 1.0, PX
    host.Write("Anlagen\\Test.anl", layout_bytes::File({}, {}, {}, tail));
    std::error_code ec;
    std::filesystem::copy_file(ZUVO_FAKE_SIMULATOR, host.NativePath("Kantrelwick.exe"), ec);
    ASSERT_FALSE(ec) << ec.message();
  }
  std::vector<stand_in::Run> Runs() const { return stand_in::ReadRuns(host.Read(stand_in::kLogFileName)); }
};

TEST_F(StartSequenceTest, TheRunGetsTheChosenSetWithTheDialogMinimised) {
  host.Write("Anlagen\\Test.danl", "[KamSet nord]\r\nPX1=4242\r\n");
  ASSERT_TRUE(Load("Anlagen\\Test.anl"));
  // The name typed into the combo box counts, not the member.
  view.controls.m_cameraSet = "nord";
  dialog.members.m_cameraSet = "Sued";
  view.atMinimize = [this] {
    // Prepared: the set is in the layout file, the simulator has not run.
    EXPECT_EQ(ReadLayout("Anlagen\\Test.anl").cameraViews[0].PX, 4242);
    EXPECT_TRUE(Runs().empty());
  };
  view.atRestore = [this] {
    // The simulator has run to its end; nothing is stored yet.
    std::vector<stand_in::Run> runs = Runs();
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].Get("Ende"), "Exitcode 0");
    EXPECT_EQ(runs[0].Get("Kamera 1").substr(0, 8), "PX=4242 ");
    EXPECT_EQ(host.Read("Anlagen\\Test.danl"), "[KamSet nord]\r\nPX1=4242\r\n");
  };
  EXPECT_EQ(dialog.OnStartClicked(), 1);
  EXPECT_EQ(view.events, (Texts{"Minimize", "Restore"}));
  EXPECT_EQ(view.exchangesOut, 1);
  EXPECT_TRUE(messages.messages().empty());
  EXPECT_EQ(dialog.members.m_cameraSet, "nord");
  EXPECT_NE(host.Read("Anlagen\\Test.danl").find("[Zuvo]\r\nKamSet=nord\r\n"), std::string::npos);
  view.atMinimize = view.atRestore = nullptr;

  // The list's search ignores case: "Nord" stands for "nord"; the settings
  // file's sections do not, so "KamSet Nord" is a set of its own.
  view.controls.m_cameraSet = "Nord";
  EXPECT_EQ(dialog.OnStartClicked(), 1);
  view.controls.m_cameraSet = "Abend";
  EXPECT_EQ(dialog.OnStartClicked(), 1);
  EXPECT_EQ(view.cameraSets, (Texts{"Abend", "nord"}));
  const settings::SettingsFile& settings = app::Globals().SettingsFile;
  ASSERT_TRUE(settings.HasSection("KamSet Nord"));
  EXPECT_EQ(*settings.Find("KamSet Nord", "PX1"), "4242");
  EXPECT_EQ(*settings.Find("Zuvo", "KamSet"), "Abend");
  EXPECT_EQ(view.exchangesIn, 1);  // not refreshed from the members: the controls keep what was typed
}

// Saving an installed asset that is missing, before its default exists.
// (The files a kind folder lacks, and two of these: the end-to-end start tests.)
TEST_F(StartSequenceTest, EachKindHasItsOwnMessages) {
  ASSERT_TRUE(Load("Anlagen\\Test.anl"));
  const char* activeFiles[] = {"Mods\\Prellbock.mod", "Mods\\Oberleitung.mod", "Mods\\Leitpfosten.mod",
                               "Parallels\\Tex256_256a.bmp"};
  const char* messageOf[] = {"Original Prellbock kann nicht gesichert werden!\n",
                             "Original Oberleitung kann nicht gesichert werden!\n",
                             "Original Leitpfosten kann nicht gesichert werden!\n",
                             "Original Bodentextur (Grass.bmp) kann nicht gesichert werden!\n"};
  for (int kind = 0; kind < 4; ++kind) {
    testing_support::TempDir other;
    host::SetHostDirectoryOverride(other.windows());
    for (const char* file : activeFiles) other.Write(file, "x");
    for (const char* folder : {"Prellbock", "Oberleitung", "Leitpfosten", "Bodentextur"}) other.MakeDirs(folder);
    ASSERT_TRUE(platform::RemoveFile(other.Path(activeFiles[kind])));
    messages.clear();
    EXPECT_EQ(dialog.OnStartClicked(), 0);
    EXPECT_EQ(messages.messages(), Texts{messageOf[kind]});
  }
  EXPECT_TRUE(view.events.empty());  // none reached the run
  EXPECT_TRUE(Runs().empty());
}

TEST_F(StartSequenceTest, ALayoutThatCannotTakeTheCameraSetStopsTheStart) {
  host.Write("Anlagen\\Test.danl", "[KamSet Nord]\r\nPX1=4242\r\n");
  ASSERT_TRUE(Load("Anlagen\\Test.anl"));
  ASSERT_EQ(dialog.OnStartClicked(), 1);  // the default files exist from now on
  const std::string layoutBefore = host.Read("Anlagen\\Test.anl");
  const std::string settingsBefore = host.Read("Anlagen\\Test.danl");
  host.Write("Prellbock\\Holz.mod", "wood");
  view.controls.m_cameraSet = "Nord";
  view.controls.m_bufferStop = "Holz.mod";
  platform::PlanFault(platform::kFaultCreate, 1);  // the layout's new file
  EXPECT_EQ(dialog.OnStartClicked(), 0);
  platform::ClearFaults();
  EXPECT_EQ(messages.messages(), Texts{"Can't open " + host.Path("Anlagen\\Test.anl") + "!\n"});
  // Nothing installed, nothing run, the set and the layout as they were.
  EXPECT_EQ(host.Read("Mods\\Prellbock.mod"), "own buffer stop");
  EXPECT_EQ(view.events, (Texts{"Minimize", "Restore"}));
  EXPECT_EQ(host.Read("Anlagen\\Test.anl"), layoutBefore);
  EXPECT_EQ(host.Read("Anlagen\\Test.danl"), settingsBefore);
}

}  // namespace
