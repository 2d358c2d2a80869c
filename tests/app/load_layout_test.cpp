// Loading a layout pair. (What the dialog shows of a pair: "zuvo show".)
#include <filesystem>

#include "app/scripted_view.h"

namespace {

using app_testing::Texts;

class LoadTest : public app_testing::AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    WriteBerg("[Zuvo]\r\nKamSet=Abend\r\n");
  }
  Texts Paths() const { return {dialog.members.m_layoutPath, dialog.pair().layoutPath, dialog.pair().settingsPath}; }
  Texts Pair(const char* layout) const {
    return {host.Path(layout), host.Path(layout), host.Path("Anlagen\\Berg.danl")};
  }
};

TEST_F(LoadTest, EitherFileNamesThePairAndTheFieldKeepsItsAbsolutePath) {
  const std::pair<std::string, Texts> cases[] = {{host.Path("Anlagen\\Berg.danl"), Pair("Anlagen\\Berg.anl")},
                                                 {host.Path("Anlagen\\Berg.ANL"), Pair("Anlagen\\Berg.ANL")},
                                                 {".\\Anlagen\\Berg.anl", Pair("Anlagen\\Berg.anl")}};
  for (const auto& c : cases) {
    ASSERT_TRUE(platform::ChangeDirectory(host.windows()));
    dialog.members.m_layoutPath = c.first;
    EXPECT_EQ(dialog.LoadLayout(), 1) << c.first;
    EXPECT_EQ(Paths(), c.second);
    EXPECT_EQ((Texts{platform::CurrentDirectory(), dialog.members.m_cameraSet}),
              (Texts{host.Path("Anlagen"), "Abend"}));
  }
}

TEST_F(LoadTest, AWrongExtensionOrAFailedLoadClearsThePaths) {
  host.Write("Anlagen\\Tal.anl", "kaputt");
  host.MakeDirs("Anlagen\\Alt");
  const std::string meant = ", gemeint ist eine Anlage (.anl oder .danl).\n";
  const std::pair<const char*, std::string> wrong[] = {
      {"Anlagen\\Berg.txt", "falsche Endung: txt\n"},
      {"Anlagen\\Ordner.d\\Berg",
       "falsche Endung: \n" + host.Path("Anlagen\\Ordner.d\\Berg") + " hat keine Endung" + meant},
      {"Anlagen\\Alt", "falsche Endung: \n" + host.Path("Anlagen\\Alt") + " ist ein Ordner" + meant}};
  for (const auto& c : wrong) {
    ASSERT_EQ(Load("Anlagen\\Berg.anl"), 1);
    messages.clear();
    EXPECT_EQ(Load(c.first), 0);
    EXPECT_EQ(messages.messages(), Texts{c.second});
    EXPECT_EQ(Paths(), (Texts{"", "", ""}));
    EXPECT_EQ(dialog.pair().layout.loaded, 1);  // the earlier layout stays in memory
  }
  EXPECT_EQ(Load("Anlagen\\Tal.danl"), 0);
  EXPECT_EQ(Paths(), (Texts{"", "", ""}));
}

TEST_F(LoadTest, TheLoadButtonLoadsTheChoiceOrAgainTheShownLayout) {
  view.fileAnswers = {{false, host.Path("Anlagen\\Berg.danl")}, {true, host.Path("Anlagen\\Berg.danl")}, {true, ""}};
  EXPECT_EQ(dialog.OnLoadClicked(), 1);  // cancelled: nothing changes
  EXPECT_EQ(dialog.OnLoadClicked(), 1);
  EXPECT_EQ(view.controls.m_cameraSet, "Abend");
  host.Write("Anlagen\\Berg.danl", "");
  EXPECT_EQ(dialog.OnLoadClicked(), 1);  // confirmed without a name: the shown layout again
  EXPECT_EQ(view.controls.m_cameraSet, "");
  const std::string filter = "|erw. Anlagen|*.danl|Anlagen|*.anl|Alle Dateien|*.*|", any = host.Path("Anlagen\\*.danl");
  EXPECT_EQ(view.log,
            (Texts{"file " + any + filter, "file " + any + filter, "file " + host.Path("Anlagen\\Berg.anl") + filter}));
}

TEST_F(LoadTest, ATerrainIsGeneratedWhenItsFolderExistsWithoutTheMarker) {
  // "Gen. Terrain" is offered while a named terrain is still to generate: a file below Modelle, offered.
  const std::pair<const char*, bool> cases[] = {
      {"Nord\\bmp0_0.mod", false},           // (with the marker, or none: the terrain kills)
      {"nord\\.zuvo-unvollstaendig", true},  // the folder found ignoring case
      {".zuvo-neu-Nord\\bmp0_0.mod", true},  // its temporary folder is not it
      {"Nord\\x\\.zuvo-unvollstaendig", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.first);
    std::filesystem::remove_all(host.NativePath("Modelle"));
    host.MakeDirs("Modelle");
    WriteBerg("[Terrain Nord]\r\nName=Nord\r\n");
    host.Write(std::string("Modelle\\") + c.first, "");
    ASSERT_EQ(Load("Anlagen\\Berg.anl"), 1);
    EXPECT_EQ(view.enabled.at(app::kIdGenTerrain), c.second);
  }
}

}  // namespace
