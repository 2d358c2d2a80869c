// "Starte ZUVO" against a scripted view, with the stand-in simulator
// installed in the test installation: the window operations around the run,
// the camera-set list, and the exact messages of every kind.

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/scripted_view.h"
#include "app/startup_dialog.h"
#include "fake-simulator/stand_in_protocol.h"
#include "host/installation.h"
#include "layout/layout.h"
#include "platform/faults.h"
#include "platform/platform.h"
#include "support/test_support.h"

namespace {

using testing_support::TempDir;

// The scripted view, with the minimising and restoring of the run recorded
// and a check run at each.
class RunView : public app_testing::ScriptedView {
 public:
  std::vector<std::string> events;
  std::function<void()> atMinimize;
  std::function<void()> atRestore;

  void Minimize() override {
    events.push_back("Minimize");
    if (atMinimize) atMinimize();
  }
  void Restore() override {
    events.push_back("Restore");
    if (atRestore) atRestore();
  }
};

// An installation with the stand-in as its simulator and a loaded layout
// "Anlagen\Test.anl" whose first camera stands at PX 1000.
class StartSequenceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    savedDirectory_ = platform::CurrentDirectory();
    app::ResetGlobals();
    host::SetHostDirectoryOverride(host_.windows());
    host_.Write("Mods\\Prellbock.mod", "own buffer stop");
    host_.Write("Mods\\Oberleitung.mod", "own catenary");
    host_.Write("Mods\\Leitpfosten.mod", "own guide post");
    host_.Write("Parallels\\Tex256_256a.bmp", "own texture");
    for (const char* kind : {"Prellbock", "Oberleitung", "Leitpfosten", "Bodentextur"}) {
      host_.MakeDirs(kind);
    }
    layout::Layout l;
    l.cameraViews[0].dirX = 1.0f;
    l.cameraViews[0].PX = 1000;
    std::string bytes;
    ASSERT_TRUE(l.Serialize(&bytes));
    host_.Write("Anlagen\\Test.anl", bytes);
    std::error_code ec;
    std::filesystem::copy_file(ZUVO_FAKE_SIMULATOR, host_.NativePath("Kantrelwick.exe"), ec);
    ASSERT_FALSE(ec) << ec.message();
  }

  void TearDown() override {
    EXPECT_TRUE(platform::ChangeDirectory(savedDirectory_));
    host::SetHostDirectoryOverride("");
    app::ResetGlobals();
  }

  int Load() { return dialog_.OnInitDialog({host_.Path("Anlagen\\Test.anl")}); }

  std::vector<stand_in::Run> Runs() const {
    return stand_in::ReadRuns(host_.Read(stand_in::kLogFileName));
  }

  TempDir host_;
  RunView view_;
  app::StartupDialog dialog_{&view_};
  testing_support::MessageRecorder messages_;

 private:
  std::string savedDirectory_;
};

TEST_F(StartSequenceTest, TheDialogIsMinimisedForTheRunAndRestoredAfterIt) {
  host_.Write("Anlagen\\Test.danl", "[KamSet Nord]\r\nPX1=4242\r\n");
  ASSERT_TRUE(Load());
  // The name typed into the combo box counts, not the member.
  view_.controls.m_cameraSet = "Nord";
  dialog_.members.m_cameraSet = "Sued";

  view_.atMinimize = [this] {
    // Prepared: the set is in the layout file, the simulator has not run.
    layout::Layout onDisk;
    testing_support::MessageRecorder quiet;
    EXPECT_TRUE(onDisk.Load(host_.Path("Anlagen\\Test.anl")));
    EXPECT_EQ(onDisk.cameraViews[0].PX, 4242);
    EXPECT_TRUE(Runs().empty());
  };
  view_.atRestore = [this] {
    // The simulator has run to its end; nothing is stored yet.
    std::vector<stand_in::Run> runs = Runs();
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].Get("Ende"), "Exitcode 0");
    EXPECT_EQ(runs[0].Get("Kamera 1").substr(0, 8), "PX=4242 ");
    EXPECT_EQ(host_.Read("Anlagen\\Test.danl"), "[KamSet Nord]\r\nPX1=4242\r\n");
  };
  EXPECT_EQ(dialog_.OnStartClicked(), 1);
  EXPECT_EQ(view_.events, (std::vector<std::string>{"Minimize", "Restore"}));
  EXPECT_EQ(view_.exchangesOut, 1);
  EXPECT_TRUE(messages_.messages().empty());
  EXPECT_EQ(dialog_.members.m_cameraSet, "Nord");
  EXPECT_EQ(view_.cameraSets, (std::vector<std::string>{"Nord"}));
  EXPECT_NE(host_.Read("Anlagen\\Test.danl").find("[Zuvo]\r\nKamSet=Nord\r\n"), std::string::npos);
}

TEST_F(StartSequenceTest, TheCameraSetListGetsANewNameOnlyOnce) {
  host_.Write("Anlagen\\Test.danl", "[KamSet nord]\r\nPX1=1\r\n");
  ASSERT_TRUE(Load());
  view_.controls.m_cameraSet = "Nord";
  EXPECT_EQ(dialog_.OnStartClicked(), 1);
  // The list's search ignores case: "nord" stands for "Nord"; the settings
  // file's sections do not, so "KamSet Nord" is a set of its own.
  EXPECT_EQ(view_.cameraSets, (std::vector<std::string>{"nord"}));
  const settings::SettingsFile& settings = app::Globals().SettingsFile;
  EXPECT_TRUE(settings.HasSection("KamSet nord"));
  ASSERT_TRUE(settings.HasSection("KamSet Nord"));
  EXPECT_EQ(*settings.Find("KamSet Nord", "PX1"), "1000");

  view_.controls.m_cameraSet = "Abend";
  EXPECT_EQ(dialog_.OnStartClicked(), 1);
  EXPECT_EQ(view_.cameraSets, (std::vector<std::string>{"Abend", "nord"}));
  // Not refreshed from the members: the controls keep what the user typed.
  EXPECT_EQ(view_.exchangesIn, 1);
}

TEST_F(StartSequenceTest, EachKindHasItsOwnMessages) {
  ASSERT_TRUE(Load());
  struct Kind {
    std::string app::DialogMembers::*member;
    const char* activeFile;
    const char* saveMessage;
    const char* installMessage;
  } kinds[] = {
      {&app::DialogMembers::m_bufferStop, "Mods\\Prellbock.mod",
       "Original Prellbock kann nicht gesichert werden!\n",
       "Pressboch \"Fehlt.x\" kann nicht installiert werden!\n"},
      {&app::DialogMembers::m_catenary, "Mods\\Oberleitung.mod",
       "Original Oberleitung kann nicht gesichert werden!\n",
       "Oberleitung \"Fehlt.x\" kann nicht installiert werden!\n"},
      {&app::DialogMembers::m_guidePost, "Mods\\Leitpfosten.mod",
       "Original Leitpfosten kann nicht gesichert werden!\n",
       "Leitpfosten \"Fehlt.x\" kann nicht installiert werden!\n"},
      {&app::DialogMembers::m_groundTexture, "Parallels\\Tex256_256a.bmp",
       "Original Bodentextur (Grass.bmp) kann nicht gesichert werden!\n",
       "Bodentextur \"Fehlt.x\" kann nicht installiert werden!\n"},
  };
  for (const Kind& kind : kinds) {
    // Installing a file that the kind folder lacks.
    view_.controls = app::DialogMembers();
    view_.controls.*kind.member = "Fehlt.x";
    messages_.clear();
    EXPECT_EQ(dialog_.OnStartClicked(), 0);
    EXPECT_EQ(messages_.messages(), (std::vector<std::string>{kind.installMessage}));
  }
  for (const Kind& kind : kinds) {
    // Saving an installed asset that is missing, before its default exists.
    TempDir other;
    host::SetHostDirectoryOverride(other.windows());
    for (const Kind& k : kinds) other.Write(k.activeFile, "x");
    for (const char* folder : {"Prellbock", "Oberleitung", "Leitpfosten", "Bodentextur"}) {
      other.MakeDirs(folder);
    }
    ASSERT_TRUE(platform::RemoveFile(other.Path(kind.activeFile)));
    view_.controls = app::DialogMembers();
    messages_.clear();
    EXPECT_EQ(dialog_.OnStartClicked(), 0);
    EXPECT_EQ(messages_.messages(), (std::vector<std::string>{kind.saveMessage}));
  }
  // Neither ever reached the run.
  EXPECT_TRUE(view_.events.empty());
  EXPECT_TRUE(Runs().empty());
}

TEST_F(StartSequenceTest, ALayoutThatCannotTakeTheCameraSetStopsTheStart) {
  host_.Write("Anlagen\\Test.danl", "[KamSet Nord]\r\nPX1=4242\r\n");
  ASSERT_TRUE(Load());
  ASSERT_EQ(dialog_.OnStartClicked(), 1);  // the default files exist from now on
  const std::string layoutBefore = host_.Read("Anlagen\\Test.anl");
  const std::string settingsBefore = host_.Read("Anlagen\\Test.danl");
  host_.Write("Prellbock\\Holz.mod", "wood");

  view_.controls.m_cameraSet = "Nord";
  view_.controls.m_bufferStop = "Holz.mod";
  platform::PlanFault(platform::kFaultCreate, 1);  // the layout's new file
  EXPECT_EQ(dialog_.OnStartClicked(), 0);
  platform::ClearFaults();
  EXPECT_EQ(messages_.messages(),
            (std::vector<std::string>{"Can't open " + host_.Path("Anlagen\\Test.anl") + "!\n"}));
  // Nothing installed, nothing run, the set and the layout as they were.
  EXPECT_EQ(host_.Read("Mods\\Prellbock.mod"), "own buffer stop");
  EXPECT_EQ(view_.events, (std::vector<std::string>{"Minimize", "Restore"}));
  EXPECT_EQ(Runs().size(), 1u);
  EXPECT_EQ(host_.Read("Anlagen\\Test.anl"), layoutBefore);
  EXPECT_EQ(host_.Read("Anlagen\\Test.danl"), settingsBefore);
}

TEST_F(StartSequenceTest, NoLayoutOrNoInstallationIsRefusedBeforeAnythingChanges) {
  EXPECT_EQ(dialog_.OnStartClicked(), 0);
  EXPECT_EQ(messages_.messages(), (std::vector<std::string>{"Anlage nicht OK\n"}));

  ASSERT_TRUE(Load());
  // A wrong extension clears the pair but keeps the layout in memory.
  dialog_.members.m_layoutPath = host_.Path("Anlagen\\Test.txt");
  EXPECT_EQ(dialog_.LoadLayout(), 0);
  messages_.clear();
  EXPECT_EQ(dialog_.OnStartClicked(), 0);
  EXPECT_EQ(messages_.messages(), (std::vector<std::string>{"Anlage nicht OK\n"}));

  ASSERT_TRUE(Load());
  host::SetHostDirectoryOverride("");
  host::SetCommandValueReader([](std::string*) { return 0; });
  messages_.clear();
  EXPECT_EQ(dialog_.OnStartClicked(), 0);
  host::SetCommandValueReader(nullptr);
  EXPECT_EQ(messages_.messages(),
            (std::vector<std::string>{"Unbekannte oder fehlerhafte ZUVO Installation\n"}));
  EXPECT_TRUE(view_.events.empty());
  EXPECT_FALSE(host_.Exists("Prellbock\\Prellbock.mod"));
}

TEST_F(StartSequenceTest, AMissingSimulatorIsToldAfterTheSequenceRanThrough) {
  ASSERT_TRUE(platform::RemoveFile(host_.Path("Kantrelwick.exe")));
  ASSERT_TRUE(Load());
  view_.controls.m_bufferStop = "";
  view_.controls.m_catenary = "Kette.mod";
  host_.Write("Oberleitung\\Kette.mod", "chain");
  EXPECT_EQ(dialog_.OnStartClicked(), 0);
  EXPECT_EQ(view_.events, (std::vector<std::string>{"Minimize", "Restore"}));
  EXPECT_EQ(messages_.messages(),
            (std::vector<std::string>{"Simulator \"" + host_.Path("Kantrelwick.exe") +
                                      "\" kann nicht gestartet werden!\n"}));
  EXPECT_EQ(host_.Read("Mods\\Oberleitung.mod"), "chain");
  EXPECT_EQ(host_.Read("Anlagen\\Test.danl"), "[Zuvo]\r\nOberleitung=Kette.mod\r\n");
  EXPECT_EQ(app::Globals().Layout.loaded, 1);
}

}  // namespace
