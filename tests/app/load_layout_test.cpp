// Loading a layout pair. (What the dialog shows of a pair: "zuvo show".)
#include <gtest/gtest.h>

#include "app/app_fixture.h"

namespace {

using app_testing::AppTest;
using app_testing::Texts;

class LoadTest : public AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    host.Write("Anlagen\\Berg.anl", layout_bytes::File({}, {layout_bytes::Model()}, {}));
    host.Write("Anlagen\\Berg.danl", "[Zuvo]\r\nKamSet=Abend\r\n");
  }
  Texts Paths() const { return {dialog.members.m_layoutPath, dialog.pair().layoutPath, dialog.pair().settingsPath}; }
};

TEST_F(LoadTest, EitherFileNamesThePairAndTheFieldKeepsItsAbsolutePath) {
  const Texts berg = {host.Path("Anlagen\\Berg.anl"), host.Path("Anlagen\\Berg.anl"), host.Path("Anlagen\\Berg.danl")};
  const Texts upper = {host.Path("Anlagen\\Berg.ANL"), host.Path("Anlagen\\Berg.ANL"), host.Path("Anlagen\\Berg.danl")};
  const std::pair<std::string, Texts> cases[] = {
      {host.Path("Anlagen\\Berg.danl"), berg}, {host.Path("Anlagen\\Berg.ANL"), upper}, {".\\Anlagen\\Berg.anl", berg}};
  for (const auto& c : cases) {
    ASSERT_TRUE(platform::ChangeDirectory(host.windows()));
    dialog.members.m_layoutPath = c.first;
    EXPECT_EQ(dialog.LoadLayout(), 1) << c.first;
    EXPECT_EQ(Paths(), c.second);
    EXPECT_EQ(platform::CurrentDirectory(), host.Path("Anlagen"));
    EXPECT_EQ(dialog.members.m_cameraSet, "Abend");
  }
  EXPECT_EQ(dialog.LoadLayout(), 1);  // the relative name would now miss the file
}

TEST_F(LoadTest, AWrongExtensionOrAFailedLoadClearsThePaths) {
  host.Write("Anlagen\\Tal.anl", "kaputt");
  host.Write("Anlagen\\Tal.danl", "[Zuvo]\r\nKamSet=Tal\r\n");
  ASSERT_EQ(Load("Anlagen\\Berg.anl"), 1);
  for (const char* wrong : {"Anlagen\\Berg.txt", "Anlagen\\Ordner.d\\Berg"}) {
    dialog.members.m_layoutPath = host.Path(wrong);
    EXPECT_EQ(dialog.LoadLayout(), 0);
    EXPECT_EQ(Paths(), (Texts{"", "", ""}));
  }
  EXPECT_EQ(messages.messages(), (Texts{"falsche Endung: txt\n", "falsche Endung: \n"}));
  EXPECT_EQ(dialog.pair().layout.loaded, 1);  // the earlier layout stays in memory
  EXPECT_EQ(Load("Anlagen\\Tal.danl"), 0);
  EXPECT_EQ(dialog.pair().layout.loaded, 0);
  EXPECT_EQ(Paths(), (Texts{"", "", ""}));
  EXPECT_EQ(*dialog.pair().settings.Find("Zuvo", "KamSet"), "Tal");  // what was read beside it
}

TEST_F(LoadTest, TheLoadButtonLoadsTheChoiceOrAgainTheShownLayout) {
  view.fileAnswers = {{false, host.Path("Anlagen\\Berg.danl")}, {true, host.Path("Anlagen\\Berg.danl")}, {true, ""}};
  EXPECT_EQ(dialog.OnLoadClicked(), 1);  // cancelled: nothing changes
  EXPECT_EQ(view.controls.m_layoutPath, "");
  EXPECT_EQ(dialog.OnLoadClicked(), 1);
  EXPECT_EQ(view.controls.m_cameraSet, "Abend");
  host.Write("Anlagen\\Berg.danl", "");
  EXPECT_EQ(dialog.OnLoadClicked(), 1);  // confirmed without a name: the shown layout again
  EXPECT_EQ(view.controls.m_cameraSet, "");
  const std::string filter = "|erw. Anlagen|*.danl|Anlagen|*.anl|Alle Dateien|*.*|";
  EXPECT_EQ(view.log, (Texts{"file " + host.windows() + "\\Anlagen\\*.danl" + filter,
                             "file " + host.windows() + "\\Anlagen\\*.danl" + filter,
                             "file " + host.Path("Anlagen\\Berg.anl") + filter}));
}

}  // namespace
