// "Starte ZUVO" against a scripted view with the stand-in simulator installed:
// the window around the run, the camera-set list and each kind's messages.
// (Swaps, files and faults of a start: the end-to-end tests of "zuvo start".)
#include <gtest/gtest.h>

#include <filesystem>

#include "app/app_fixture.h"
#include "fake-simulator/stand_in_protocol.h"

namespace {

using app_testing::Texts;

const char* const kActiveFiles[] = {"Mods\\Prellbock.mod", "Mods\\Oberleitung.mod", "Mods\\Leitpfosten.mod",
                                    "Parallels\\Tex256_256a.bmp"};

// The four kinds' own files installed, and "Anlagen\Test.anl" whose first camera stands at PX 1000.
class StartSequenceTest : public app_testing::AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    for (const char* file : kActiveFiles) host.Write(file, "own");
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
  view.controls.m_cameraSet = "nord";  // the name typed into the combo box counts, not the member
  dialog.members.m_cameraSet = "Sued";
  view.atMinimize = [this] {
    EXPECT_EQ(ReadLayout("Anlagen\\Test.anl").cameraViews[0].PX, 4242);
    EXPECT_TRUE(Runs().empty());
  };
  view.atRestore = [this] {
    ASSERT_EQ(Runs().size(), 1u);
    EXPECT_EQ(Runs()[0].Get("Kamera 1").substr(0, 8), "PX=4242 ");
    EXPECT_EQ(host.Read("Anlagen\\Test.danl"), "[KamSet nord]\r\nPX1=4242\r\n");  // nothing stored yet
  };
  EXPECT_EQ(dialog.OnStartClicked(), 1);
  EXPECT_EQ(view.events, (Texts{"Minimize", "Restore"}));
  EXPECT_TRUE(messages.messages().empty());
  EXPECT_NE(host.Read("Anlagen\\Test.danl").find("[Zuvo]\r\nKamSet=nord\r\n"), std::string::npos);
  view.atMinimize = view.atRestore = nullptr;

  // The list's search ignores case: "Nord" stands for "nord"; the settings
  // file's sections do not, so "KamSet Nord" is a set of its own.
  view.controls.m_cameraSet = "Nord";
  EXPECT_EQ(dialog.OnStartClicked(), 1);
  view.controls.m_cameraSet = "Abend";
  EXPECT_EQ(dialog.OnStartClicked(), 1);
  EXPECT_EQ(view.cameraSets, (Texts{"Abend", "nord"}));
  EXPECT_EQ(*dialog.pair().settings.Find("KamSet Nord", "PX1"), "4242");
  EXPECT_EQ(*dialog.pair().settings.Find("Zuvo", "KamSet"), "Abend");
  EXPECT_EQ(view.controls.m_cameraSet, "Abend");
}

// An active file missing before its default exists, or a choice that cannot be installed.
TEST_F(StartSequenceTest, EachKindHasItsOwnMessages) {
  ASSERT_TRUE(Load("Anlagen\\Test.anl"));
  const char* const saveFailed[] = {"Original Prellbock kann nicht gesichert werden!\n",
                                    "Original Oberleitung kann nicht gesichert werden!\n",
                                    "Original Leitpfosten kann nicht gesichert werden!\n",
                                    "Original Bodentextur (Grass.bmp) kann nicht gesichert werden!\n"};
  const char* const installFailed[] = {"Pressboch \"x\" kann nicht installiert werden!\n",
                                       "Oberleitung \"x\" kann nicht installiert werden!\n",
                                       "Leitpfosten \"x\" kann nicht installiert werden!\n",
                                       "Bodentextur \"x\" kann nicht installiert werden!\n"};
  std::string app::DialogMembers::*choices[] = {&app::DialogMembers::m_bufferStop, &app::DialogMembers::m_catenary,
                                                 &app::DialogMembers::m_guidePost, &app::DialogMembers::m_groundTexture};
  for (int kind = 0; kind < 4; ++kind) {
    testing_support::TempDir other;
    host::SetHostDirectoryOverride(other.windows());
    for (const char* file : kActiveFiles) other.Write(file, "x");
    for (const char* folder : {"Prellbock", "Oberleitung", "Leitpfosten", "Bodentextur"}) other.MakeDirs(folder);
    ASSERT_TRUE(platform::RemoveFile(other.Path(kActiveFiles[kind])));
    messages.clear();
    EXPECT_EQ(dialog.OnStartClicked(), 0);
    other.Write(kActiveFiles[kind], "x");
    view.controls = app::DialogMembers();
    view.controls.*choices[kind] = "x";
    EXPECT_EQ(dialog.OnStartClicked(), 0);
    EXPECT_EQ(messages.messages(), (Texts{saveFailed[kind], installFailed[kind]}));
  }
  EXPECT_TRUE(view.events.empty());  // none reached the run
}

TEST_F(StartSequenceTest, ALayoutThatCannotTakeTheCameraSetStopsTheStart) {
  host.Write("Anlagen\\Test.danl", "[KamSet Nord]\r\nPX1=4242\r\n");
  host.Write("Prellbock\\Holz.mod", "wood");
  ASSERT_TRUE(Load("Anlagen\\Test.anl"));
  const std::string layoutBefore = host.Read("Anlagen\\Test.anl");
  view.controls.m_cameraSet = "Nord";
  view.controls.m_bufferStop = "Holz.mod";
  platform::PlanFault(platform::kFaultCreate, 5);  // the layout's new file, after the four defaults
  EXPECT_EQ(dialog.OnStartClicked(), 0);
  EXPECT_EQ(messages.messages(), Texts{"Can't open " + host.Path("Anlagen\\Test.anl") + "!\n"});
  EXPECT_EQ((Texts{host.Read("Mods\\Prellbock.mod"), host.Read("Anlagen\\Test.anl")}), (Texts{"own", layoutBefore}));
  EXPECT_TRUE(view.events.empty());
}

}  // namespace
