// Starting the dialog and loading a layout pair.

#include <gtest/gtest.h>

#include "app/app_fixture.h"
#include "host/paths.h"

namespace {

using app::Globals;
using app_testing::AppTest;
using testing_support::Cp;

layout::Layout SmallLayout() {
  layout::Layout l;
  l.models.push_back(app_testing::Model(1, "Haus"));
  return l;
}

const char kSettings[] =
    "[KamSet Nord]\r\nPX1=1\r\n"
    "[KamSetX]\r\n"
    "[Zuvo]\r\nKamSet=Abend\r\nPrellbock=Rot.mod\r\nBodentextur=Sand.bmp\r\n"
    "[KamSet S\xFC" "d]\r\nPX1=1\r\n"
    "[KamSet abend]\r\n"
    "[Terrain1]\r\nName=Berg\r\n"
    "[TerrainOhneName]\r\nBreite=3\r\n";

TEST_F(AppTest, StartsWithTheChooseButtonsOfTheKindFoldersAndNoLayout) {
  // No "Oberleitung" folder: a file of that name does not count.
  testing_support::TempDir other;
  host::SetHostDirectoryOverride(other.windows());
  for (const char* folder : {"Prellbock", "Leitpfosten", "Bodentextur"}) other.MakeDirs(folder);
  other.Write("Oberleitung", "keine Mappe");
  EXPECT_EQ(dialog.OnInitDialog({}), 1);
  EXPECT_TRUE(view.Enabled(app::kIdChooseBufferStop, false));
  EXPECT_FALSE(view.Enabled(app::kIdChooseCatenary, true));
  EXPECT_TRUE(view.Enabled(app::kIdChooseGuidePost, false));
  EXPECT_TRUE(view.Enabled(app::kIdChooseGroundTexture, false));
  EXPECT_EQ(view.enabled.count(app::kIdGenTerrain), 0u);  // stays disabled from the template
  EXPECT_EQ(view.exchangesIn, 0);
  EXPECT_TRUE(Globals().LayoutPath.empty());
  EXPECT_TRUE(messages.messages().empty());

  // Without an installation all four are disabled.
  host::SetHostDirectoryOverride("");
  host::SetCommandValueReader([](std::string*) { return 0; });
  app_testing::ScriptedView bare;
  app::StartupDialog dialogWithoutHost(&bare);
  EXPECT_EQ(dialogWithoutHost.OnInitDialog({}), 1);
  for (int id : {app::kIdChooseBufferStop, app::kIdChooseCatenary, app::kIdChooseGuidePost,
                 app::kIdChooseGroundTexture}) {
    EXPECT_FALSE(bare.Enabled(id, true)) << id;
  }
  host::SetCommandValueReader(nullptr);
}

TEST_F(AppTest, LoadsThePairNamedByEitherFile) {
  host.Write("Anlagen\\Berg.anl", LayoutBytes(SmallLayout()));
  host.Write("Anlagen\\Berg.danl", kSettings);
  host.MakeDirs("Modelle\\Berg");
  host.Write("Anlagen\\Terrain2.danl", std::string(kSettings) + "[Terrain2]\r\nName=Tal\r\n");
  host.Write("Anlagen\\Terrain2.anl", LayoutBytes(SmallLayout()));

  EXPECT_EQ(Load("Anlagen\\Berg.danl"), 1);
  EXPECT_EQ(Globals().LayoutPath, host.Path("Anlagen\\Berg.anl"));
  EXPECT_EQ(Globals().SettingsPath, host.Path("Anlagen\\Berg.danl"));
  EXPECT_EQ(Globals().Layout.models.size(), 1u);
  EXPECT_EQ(Globals().SettingsFile.count(), 14);
  // What the dialog shows once it opens.
  EXPECT_EQ(view.controls.m_layoutPath, host.Path("Anlagen\\Berg.anl"));
  EXPECT_EQ(view.controls.m_cameraSet, "Abend");
  EXPECT_EQ(view.controls.m_bufferStop, "Rot.mod");
  EXPECT_EQ(view.controls.m_catenary, "");
  EXPECT_EQ(view.controls.m_guidePost, "");
  EXPECT_EQ(view.controls.m_groundTexture, "Sand.bmp");
  EXPECT_EQ(view.cameraSets, (std::vector<std::string>{"abend", "Nord", "S\xFC" "d"}));
  EXPECT_FALSE(view.Enabled(app::kIdGenTerrain, true));  // Berg is generated
  EXPECT_EQ(platform::CurrentDirectory(), host.Path("Anlagen"));
  EXPECT_TRUE(messages.messages().empty());

  // A second terrain whose folder is missing enables "Gen. Terrain"; the
  // extension may be written in any case, the settings file's is lower case.
  EXPECT_EQ(Load("Anlagen\\Terrain2.ANL"), 1);
  EXPECT_EQ(Globals().SettingsPath, host.Path("Anlagen\\Terrain2.danl"));
  EXPECT_EQ(Globals().LayoutPath, host.Path("Anlagen\\Terrain2.ANL"));
  EXPECT_TRUE(view.Enabled(app::kIdGenTerrain, false));
}

TEST_F(AppTest, ALayoutWithoutSettingsFileShowsEmptyFields) {
  host.Write("Anlagen\\Berg.anl", LayoutBytes(SmallLayout()));
  host.Write("Anlagen\\Berg.danl", kSettings);
  host.Write("Anlagen\\Neu.anl", LayoutBytes(layout::Layout()));
  EXPECT_EQ(Load("Anlagen\\Berg.anl"), 1);
  view.EnableControl(app::kIdGenTerrain, true);
  dialog.members.m_layoutPath = host.Path("Anlagen\\Neu.anl");
  EXPECT_EQ(dialog.LoadLayout(), 1);
  EXPECT_EQ(dialog.members.m_cameraSet, "");
  EXPECT_EQ(dialog.members.m_bufferStop, "");
  EXPECT_EQ(dialog.members.m_groundTexture, "");
  EXPECT_TRUE(view.cameraSets.empty());
  EXPECT_FALSE(view.Enabled(app::kIdGenTerrain, true));
  EXPECT_EQ(Globals().SettingsFile.count(), 0);
  EXPECT_TRUE(messages.messages().empty());
}

TEST_F(AppTest, AWrongExtensionClearsThePathsAndEveryCommandOnThePairRefuses) {
  host.Write("Anlagen\\Berg.anl", LayoutBytes(SmallLayout()));
  host.Write("Anlagen\\Berg.danl", kSettings);
  host.Write("Anlagen\\Tal.anl", "kaputt");
  host.MakeDirs("Anlagen\\Ordner.d");
  ASSERT_EQ(Load("Anlagen\\Berg.anl"), 1);
  view.EnableControl(app::kIdGenTerrain, true);
  const std::string settingsBefore = host.Read("Anlagen\\Berg.danl");

  dialog.members.m_layoutPath = host.Path("Anlagen\\Berg.txt");
  EXPECT_EQ(dialog.LoadLayout(), 0);
  dialog.members.m_layoutPath = host.Path("Anlagen\\Ordner.d\\Berg");
  EXPECT_EQ(dialog.LoadLayout(), 0);
  EXPECT_EQ(messages.messages(), (std::vector<std::string>{"falsche Endung: txt\n", "falsche Endung: \n"}));
  EXPECT_EQ(dialog.members.m_layoutPath, "");
  EXPECT_EQ(Globals().LayoutPath, "");
  EXPECT_EQ(Globals().SettingsPath, "");
  // The earlier layout stays in memory, "Gen. Terrain" as the load left it.
  EXPECT_EQ(Globals().Layout.loaded, 1);
  EXPECT_EQ(Globals().Layout.models.size(), 1u);
  EXPECT_EQ(Globals().SettingsFile.count(), 14);
  EXPECT_TRUE(view.Enabled(app::kIdGenTerrain, false));

  // Without the pair's paths nothing may be written anywhere.
  messages.clear();
  view.controls.m_cameraSet = "Nord";
  view.answers = {true, true, true, true};
  EXPECT_EQ(dialog.OnDeleteCameraSetClicked(), 0);
  EXPECT_EQ(dialog.OnInventoryListClicked(), 0);
  EXPECT_EQ(dialog.OnMissingListClicked(), 0);
  EXPECT_EQ(dialog.OnRemoveMissingRollingStockClicked(), 0);
  EXPECT_EQ(dialog.OnRemoveMissingGbosClicked(), 0);
  EXPECT_EQ(dialog.OnRemoveMissingRealEstateClicked(), 0);
  EXPECT_EQ(messages.messages(), std::vector<std::string>(6, "Anlage nicht OK\n"));
  EXPECT_TRUE(view.questions.empty());
  EXPECT_TRUE(view.notices.empty());
  EXPECT_EQ(host.Read("Anlagen\\Berg.danl"), settingsBefore);
  EXPECT_EQ(host.List("Anlagen"), (std::vector<std::string>{"Berg.anl", "Berg.danl", "Ordner.d", "Tal.anl"}));

  // A layout that does not load clears the paths and the field too; the
  // settings file holds what was read beside it.
  messages.clear();
  host.Write("Anlagen\\Tal.danl", "[Zuvo]\r\nKamSet=Tal\r\n");
  dialog.members.m_layoutPath = host.Path("Anlagen\\Tal.danl");
  EXPECT_EQ(dialog.LoadLayout(), 0);
  EXPECT_EQ(messages.messages().size(), 1u);
  EXPECT_EQ(Globals().Layout.loaded, 0);
  EXPECT_EQ(Globals().LayoutPath, "");
  EXPECT_EQ(dialog.members.m_layoutPath, "");
  EXPECT_EQ(*Globals().SettingsFile.Find("Zuvo", "KamSet"), "Tal");
  EXPECT_TRUE(view.Enabled(app::kIdGenTerrain, false));
}

TEST_F(AppTest, ARelativePathNamesTheSameFileAfterTheFolderChanged) {
  host.Write("Anlagen\\Berg.anl", LayoutBytes(SmallLayout()));
  ASSERT_TRUE(platform::ChangeDirectory(host.windows()));
  EXPECT_EQ(dialog.OnInitDialog({"Anlagen\\Berg.anl"}), 1);
  EXPECT_EQ(Globals().LayoutPath, host.Path("Anlagen\\Berg.anl"));
  EXPECT_EQ(platform::CurrentDirectory(), host.Path("Anlagen"));
  // A second load of the same relative name would now miss it; the absolute
  // path kept in the field does not.
  EXPECT_EQ(dialog.LoadLayout(), 1);
  EXPECT_EQ(dialog.members.m_layoutPath, host.Path("Anlagen\\Berg.anl"));
}

TEST_F(AppTest, TheLoadButtonOpensInTheLayoutFolderOfTheInstallation) {
  host.Write("Anlagen\\Berg.anl", LayoutBytes(SmallLayout()));
  host.Write("Anlagen\\Berg.danl", kSettings);
  const std::string filter = "erw. Anlagen|*.danl|Anlagen|*.anl|Alle Dateien|*.*|";

  view.fileAnswers = {{false, ""}, {true, host.Path("Anlagen\\Berg.danl")}, {true, ""}};
  EXPECT_EQ(dialog.OnLoadClicked(), 1);  // cancelled: nothing changes
  EXPECT_EQ(view.exchangesIn, 0);
  EXPECT_EQ(Globals().LayoutPath, "");
  EXPECT_EQ(dialog.OnLoadClicked(), 1);
  EXPECT_EQ(view.controls.m_layoutPath, host.Path("Anlagen\\Berg.anl"));
  EXPECT_EQ(view.controls.m_cameraSet, "Abend");
  // Confirmed without a name: the shown layout is loaded again.
  EXPECT_EQ(dialog.OnLoadClicked(), 1);
  EXPECT_EQ(Globals().LayoutPath, host.Path("Anlagen\\Berg.anl"));
  ASSERT_EQ(view.fileDialogs.size(), 3u);
  EXPECT_EQ(view.fileDialogs[0].initialName, host.windows() + "\\Anlagen\\*.danl");
  EXPECT_EQ(view.fileDialogs[0].filter, filter);
  EXPECT_EQ(view.fileDialogs[1].initialName, host.windows() + "\\Anlagen\\*.danl");
  EXPECT_EQ(view.fileDialogs[2].initialName, host.Path("Anlagen\\Berg.anl"));
  EXPECT_TRUE(messages.messages().empty());
}

}  // namespace
