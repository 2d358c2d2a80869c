// Starting the dialog and loading a layout pair.
#include <gtest/gtest.h>

#include "app/app_fixture.h"

namespace {

using app_testing::AppTest;
using app_testing::Texts;

const std::string kSmallLayout = layout_bytes::File({}, {layout_bytes::Model()}, {});

const char kSettings[] =
    "[KamSet Nord]\r\nPX1=1\r\n[KamSetX]\r\n"
    "[Zuvo]\r\nKamSet=Abend\r\nPrellbock=Rot.mod\r\nBodentextur=Sand.bmp\r\n"
    "[KamSet S\xFC" "d]\r\nPX1=1\r\n[KamSet abend]\r\n"
    "[Terrain1]\r\nName=Berg\r\n[TerrainOhneName]\r\nBreite=3\r\n";

TEST_F(AppTest, LoadsThePairNamedByEitherFile) {
  host.Write("Anlagen\\Berg.anl", kSmallLayout);
  host.Write("Anlagen\\Berg.danl", kSettings);
  host.MakeDirs("Modelle\\Berg");
  host.Write("Anlagen\\Terrain2.danl", std::string(kSettings) + "[Terrain2]\r\nName=Tal\r\n");
  host.Write("Anlagen\\Terrain2.anl", kSmallLayout);
  host.Write("Anlagen\\Neu.anl", layout_bytes::File({}, {}, {}));
  const struct {
    const char* named;
    const char* layout;
    const char* settings;
    Texts shown;  // camera set, the four choices
    bool genTerrain;
  } cases[] = {
      {"Berg.danl", "Berg.anl", "Berg.danl", {"Abend", "Rot.mod", "", "", "Sand.bmp"}, false},
      // A terrain whose folder is missing; the settings file's extension is lower case.
      {"Terrain2.ANL", "Terrain2.ANL", "Terrain2.danl", {"Abend", "Rot.mod", "", "", "Sand.bmp"}, true},
      {"Neu.anl", "Neu.anl", "Neu.danl", {"", "", "", "", ""}, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.named);
    EXPECT_EQ(Load(std::string("Anlagen\\") + c.named), 1);
    EXPECT_EQ((Texts{dialog.pair().layoutPath, dialog.pair().settingsPath, view.controls.m_layoutPath}),
              (Texts{host.Path(std::string("Anlagen\\") + c.layout), host.Path(std::string("Anlagen\\") + c.settings),
                     host.Path(std::string("Anlagen\\") + c.layout)}));
    const app::DialogMembers& shown = view.controls;
    EXPECT_EQ((Texts{shown.m_cameraSet, shown.m_bufferStop, shown.m_catenary, shown.m_guidePost, shown.m_groundTexture}),
              c.shown);
    EXPECT_EQ(view.Enabled(app::kIdGenTerrain, !c.genTerrain), c.genTerrain);
    EXPECT_EQ(platform::CurrentDirectory(), host.Path("Anlagen"));
  }
  EXPECT_TRUE(view.cameraSets.empty());
  EXPECT_EQ(Load("Anlagen\\Berg.anl"), 1);
  EXPECT_EQ(view.cameraSets, (Texts{"abend", "Nord", "S\xFC" "d"}));
  EXPECT_EQ(dialog.pair().layout.models.size(), 1u);
  EXPECT_TRUE(messages.messages().empty());
}

TEST_F(AppTest, ChooseButtonsWorkWhereTheirKindFolderExists) {
  testing_support::TempDir other;
  other.MakeDirs("Oberleitung");
  other.MakeDirs("Bodentextur");
  other.Write("Prellbock", "a file, not a folder");
  host::SetHostDirectoryOverride(other.windows());
  EXPECT_EQ(dialog.OnInitDialog({}), 1);  // no layout: "Gen. Terrain" as the template has it
  EXPECT_EQ(view.enabled, (std::map<int, bool>{{app::kIdChooseBufferStop, false}, {app::kIdChooseCatenary, true},
                                               {app::kIdChooseGuidePost, false}, {app::kIdChooseGroundTexture, true}}));
}

TEST_F(AppTest, AWrongExtensionOrAFailedLoadClearsThePaths) {
  host.Write("Anlagen\\Berg.anl", kSmallLayout);
  host.Write("Anlagen\\Berg.danl", kSettings);
  host.Write("Anlagen\\Tal.anl", "kaputt");
  host.Write("Anlagen\\Tal.danl", "[Zuvo]\r\nKamSet=Tal\r\n");
  ASSERT_EQ(Load("Anlagen\\Berg.anl"), 1);
  for (const char* wrong : {"Anlagen\\Berg.txt", "Anlagen\\Ordner.d\\Berg"}) {
    dialog.members.m_layoutPath = host.Path(wrong);
    EXPECT_EQ(dialog.LoadLayout(), 0);
    EXPECT_EQ((Texts{dialog.members.m_layoutPath, dialog.pair().layoutPath, dialog.pair().settingsPath}),
              (Texts{"", "", ""}));
  }
  EXPECT_EQ(messages.messages(), (Texts{"falsche Endung: txt\n", "falsche Endung: \n"}));
  // The earlier layout stays in memory.
  EXPECT_EQ(dialog.pair().layout.loaded, 1);
  EXPECT_EQ(dialog.pair().settings.count(), 14);

  // A layout that does not load clears the paths too; the settings file holds what was read beside it.
  dialog.members.m_layoutPath = host.Path("Anlagen\\Tal.danl");
  EXPECT_EQ(dialog.LoadLayout(), 0);
  EXPECT_EQ(dialog.pair().layout.loaded, 0);
  EXPECT_EQ((Texts{dialog.members.m_layoutPath, dialog.pair().layoutPath}), (Texts{"", ""}));
  EXPECT_EQ(*dialog.pair().settings.Find("Zuvo", "KamSet"), "Tal");
}

TEST_F(AppTest, ARelativePathNamesTheSameFileAfterTheFolderChanged) {
  host.Write("Anlagen\\Berg.anl", kSmallLayout);
  ASSERT_TRUE(platform::ChangeDirectory(host.windows()));
  EXPECT_EQ(dialog.OnInitDialog({".\\Anlagen\\Berg.anl"}), 1);
  EXPECT_EQ(dialog.pair().layoutPath, host.Path("Anlagen\\Berg.anl"));
  // The relative name would now miss the file; the absolute one kept in the field does not.
  EXPECT_EQ(dialog.LoadLayout(), 1);
  EXPECT_EQ(dialog.members.m_layoutPath, host.Path("Anlagen\\Berg.anl"));
}

TEST_F(AppTest, TheLoadButtonLoadsTheChoiceOrAgainTheShownLayout) {
  host.Write("Anlagen\\Berg.anl", kSmallLayout);
  host.Write("Anlagen\\Berg.danl", kSettings);
  view.fileAnswers = {{false, host.Path("Anlagen\\Berg.danl")}, {true, host.Path("Anlagen\\Berg.danl")}, {true, ""}};
  EXPECT_EQ(dialog.OnLoadClicked(), 1);  // cancelled: nothing changes
  EXPECT_EQ(view.controls.m_layoutPath, "");
  EXPECT_EQ(dialog.OnLoadClicked(), 1);
  EXPECT_EQ(view.controls.m_cameraSet, "Abend");
  host.Write("Anlagen\\Berg.danl", "");
  EXPECT_EQ(dialog.OnLoadClicked(), 1);  // confirmed without a name: the shown layout again
  EXPECT_EQ(view.controls.m_cameraSet, "");
  EXPECT_EQ(view.fileDialogs.front(),
            host.windows() + "\\Anlagen\\*.danl|erw. Anlagen|*.danl|Anlagen|*.anl|Alle Dateien|*.*|");
  EXPECT_EQ(view.fileDialogs.back().substr(0, view.fileDialogs.back().find('|')), host.Path("Anlagen\\Berg.anl"));
}

}  // namespace
