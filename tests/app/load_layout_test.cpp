// Starting the dialog and loading a layout pair.
#include <gtest/gtest.h>

#include "app/app_fixture.h"

namespace {

using app::Globals;
using app_testing::AppTest;
using app_testing::Texts;

const std::string kSmallLayout = layout_bytes::File({}, {layout_bytes::Model()}, {});

const char kSettings[] =
    "[KamSet Nord]\r\nPX1=1\r\n[KamSetX]\r\n"
    "[Zuvo]\r\nKamSet=Abend\r\nPrellbock=Rot.mod\r\nBodentextur=Sand.bmp\r\n"
    "[KamSet S\xFC" "d]\r\nPX1=1\r\n[KamSet abend]\r\n"
    "[Terrain1]\r\nName=Berg\r\n[TerrainOhneName]\r\nBreite=3\r\n";

// (What the dialog shows of a pair and which "Ausw\xE4hlen" buttons work: the
// end-to-end tests of "zuvo show", and the host tests for a file named like a kind folder.)
TEST_F(AppTest, LoadsThePairNamedByEitherFile) {
  host.Write("Anlagen\\Berg.anl", kSmallLayout);
  host.Write("Anlagen\\Berg.danl", kSettings);
  host.MakeDirs("Modelle\\Berg");
  host.Write("Anlagen\\Terrain2.danl", std::string(kSettings) + "[Terrain2]\r\nName=Tal\r\n");
  host.Write("Anlagen\\Terrain2.anl", kSmallLayout);
  host.Write("Anlagen\\Neu.anl", layout_bytes::File({}, {}, {}));

  EXPECT_EQ(Load("Anlagen\\Berg.danl"), 1);
  EXPECT_EQ((Texts{Globals().LayoutPath, Globals().SettingsPath, view.controls.m_bufferStop}),
            (Texts{host.Path("Anlagen\\Berg.anl"), host.Path("Anlagen\\Berg.danl"), "Rot.mod"}));
  EXPECT_EQ(Globals().Layout.models.size(), 1u);
  EXPECT_EQ(Globals().SettingsFile.count(), 14);
  EXPECT_FALSE(view.Enabled(app::kIdGenTerrain, true));  // Berg is generated
  EXPECT_EQ(platform::CurrentDirectory(), host.Path("Anlagen"));

  // A second terrain whose folder is missing enables "Gen. Terrain"; the
  // extension may be written in any case, the settings file's is lower case.
  EXPECT_EQ(Load("Anlagen\\Terrain2.ANL"), 1);
  EXPECT_EQ(Globals().SettingsPath, host.Path("Anlagen\\Terrain2.danl"));
  EXPECT_EQ(Globals().LayoutPath, host.Path("Anlagen\\Terrain2.ANL"));
  EXPECT_TRUE(view.Enabled(app::kIdGenTerrain, false));

  // Without a settings file: empty fields, no sets, nothing to generate.
  EXPECT_EQ(Load("Anlagen\\Neu.anl"), 1);
  const app::DialogMembers& shown = view.controls;
  EXPECT_EQ((Texts{shown.m_cameraSet, shown.m_bufferStop, shown.m_groundTexture}), (Texts{"", "", ""}));
  EXPECT_TRUE(view.cameraSets.empty());
  EXPECT_FALSE(view.Enabled(app::kIdGenTerrain, true));
  EXPECT_EQ(Globals().SettingsFile.count(), 0);
  EXPECT_TRUE(messages.messages().empty());
}

TEST_F(AppTest, AWrongExtensionOrAFailedLoadClearsThePaths) {
  host.Write("Anlagen\\Berg.anl", kSmallLayout);
  host.Write("Anlagen\\Berg.danl", kSettings);
  host.Write("Anlagen\\Tal.anl", "kaputt");
  host.Write("Anlagen\\Tal.danl", "[Zuvo]\r\nKamSet=Tal\r\n");
  host.MakeDirs("Anlagen\\Ordner.d");
  ASSERT_EQ(Load("Anlagen\\Berg.anl"), 1);
  view.EnableControl(app::kIdGenTerrain, true);

  for (const char* wrong : {"Anlagen\\Berg.txt", "Anlagen\\Ordner.d\\Berg"}) {
    dialog.members.m_layoutPath = host.Path(wrong);
    EXPECT_EQ(dialog.LoadLayout(), 0);
  }
  EXPECT_EQ(messages.messages(), (Texts{"falsche Endung: txt\n", "falsche Endung: \n"}));
  EXPECT_EQ((Texts{dialog.members.m_layoutPath, Globals().LayoutPath, Globals().SettingsPath}), (Texts{"", "", ""}));
  // The earlier layout stays in memory, "Gen. Terrain" as the load left it.
  EXPECT_EQ(Globals().Layout.loaded, 1);
  EXPECT_EQ(Globals().Layout.models.size(), 1u);
  EXPECT_EQ(Globals().SettingsFile.count(), 14);
  EXPECT_TRUE(view.Enabled(app::kIdGenTerrain, false));

  // A layout that does not load clears the paths and the field too; the
  // settings file holds what was read beside it.
  messages.clear();
  dialog.members.m_layoutPath = host.Path("Anlagen\\Tal.danl");
  EXPECT_EQ(dialog.LoadLayout(), 0);
  EXPECT_EQ(messages.messages().size(), 1u);
  EXPECT_EQ(Globals().Layout.loaded, 0);
  EXPECT_EQ((Texts{dialog.members.m_layoutPath, Globals().LayoutPath}), (Texts{"", ""}));
  EXPECT_EQ(*Globals().SettingsFile.Find("Zuvo", "KamSet"), "Tal");
}

TEST_F(AppTest, ARelativePathNamesTheSameFileAfterTheFolderChanged) {
  host.Write("Anlagen\\Berg.anl", kSmallLayout);
  ASSERT_TRUE(platform::ChangeDirectory(host.windows()));
  EXPECT_EQ(dialog.OnInitDialog({"Anlagen\\Berg.anl"}), 1);
  EXPECT_EQ(Globals().LayoutPath, host.Path("Anlagen\\Berg.anl"));
  EXPECT_EQ(platform::CurrentDirectory(), host.Path("Anlagen"));
  // The relative name would now miss the file; the absolute one kept in the field does not.
  EXPECT_EQ(dialog.LoadLayout(), 1);
  EXPECT_EQ(dialog.members.m_layoutPath, host.Path("Anlagen\\Berg.anl"));
}

// (The file dialog's folder, name and filters: the dialog tests under Wine.)
TEST_F(AppTest, TheLoadButtonLoadsTheChoiceOrAgainTheShownLayout) {
  host.Write("Anlagen\\Berg.anl", kSmallLayout);
  host.Write("Anlagen\\Berg.danl", kSettings);
  view.fileAnswers = {{false, ""}, {true, host.Path("Anlagen\\Berg.danl")}, {true, ""}};
  EXPECT_EQ(dialog.OnInitDialog({}), 1);  // no layout: "Gen. Terrain" as the template has it
  EXPECT_EQ(view.enabled.count(app::kIdGenTerrain), 0u);
  EXPECT_EQ(dialog.OnLoadClicked(), 1);  // cancelled: nothing changes
  EXPECT_EQ(view.exchangesIn, 0);
  EXPECT_EQ(dialog.OnLoadClicked(), 1);
  EXPECT_EQ(view.controls.m_cameraSet, "Abend");
  host.Write("Anlagen\\Berg.danl", "");
  // Confirmed without a name: the shown layout is loaded again.
  EXPECT_EQ(dialog.OnLoadClicked(), 1);
  EXPECT_EQ((Texts{Globals().LayoutPath, view.controls.m_cameraSet}), (Texts{host.Path("Anlagen\\Berg.anl"), ""}));
  EXPECT_TRUE(messages.messages().empty());
}

}  // namespace
