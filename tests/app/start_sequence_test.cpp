// "Starte ZUVO" with the stand-in simulator: the window around the run, the
// camera-set list, and the messages "zuvo start" does not reach.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/app_fixture.h"
#include "fake-simulator/stand_in_protocol.h"

namespace {

using app_testing::Texts;

const char* const kActiveFiles[] = {"Mods\\Prellbock.mod", "Mods\\Oberleitung.mod", "Mods\\Leitpfosten.mod",
                                    "Parallels\\Tex256_256a.bmp"};

class StartTest : public app_testing::AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    for (const char* file : kActiveFiles) host.Write(file, "own");
    host.Write("Anlagen\\Test.anl", layout_bytes::File({}, {}, {}));
    host.Write("Anlagen\\Test.danl", "[KamSet nord]\r\nPX1=4242\r\n");
    std::error_code ec;
    std::filesystem::copy_file(ZUVO_FAKE_SIMULATOR, host.NativePath("Kantrelwick.exe"), ec);
    ASSERT_FALSE(ec) << ec.message();
    ASSERT_TRUE(Load("Anlagen\\Test.anl"));
  }
};

TEST_F(StartTest, TheSimulatorRunsWhileTheDialogIsMinimisedAndTheSetJoinsTheList) {
  view.controls.m_cameraSet = "Nord";  // typed: the list finds "nord", the settings file has no "KamSet Nord"
  dialog.members.m_cameraSet = "Sued";
  view.atMinimize = [this] { EXPECT_EQ(host.Read(stand_in::kLogFileName), ""); };
  EXPECT_EQ(dialog.OnStartClicked(), 1);
  EXPECT_EQ(stand_in::ReadRuns(host.Read(stand_in::kLogFileName)).size(), 1u);
  view.atMinimize = nullptr;
  view.controls.m_cameraSet = "Abend";
  EXPECT_EQ(dialog.OnStartClicked(), 1);
  EXPECT_EQ(view.log, (Texts{"Minimize", "Restore", "Minimize", "Restore"}));
  EXPECT_EQ(view.cameraSets, (Texts{"nord", "Abend"}));
  EXPECT_EQ(*dialog.pair().settings.Find("KamSet Nord", "PX1"), "0");
  EXPECT_EQ(*dialog.pair().settings.Find("Zuvo", "KamSet"), "Abend");
  EXPECT_TRUE(messages.messages().empty());
}

TEST_F(StartTest, AnActiveFileThatCannotBeSavedIsToldByItsKind) {
  const std::pair<int, const char*> cases[] = {{0, "Original Prellbock kann nicht gesichert werden!\n"},
                                               {2, "Original Leitpfosten kann nicht gesichert werden!\n"}};
  for (const auto& c : cases) {
    ASSERT_TRUE(platform::RemoveFile(host.Path(kActiveFiles[c.first])));
    messages.clear();
    EXPECT_EQ(dialog.OnStartClicked(), 0);
    EXPECT_EQ(messages.messages(), Texts{c.second});
    host.Write(kActiveFiles[c.first], "own");
  }
  EXPECT_TRUE(view.log.empty());
}

}  // namespace
