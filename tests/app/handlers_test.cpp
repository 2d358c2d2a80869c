// The buttons other than "Laden" and "Starte ZUVO": what zuvo cannot show.
#include <filesystem>

#include "app/scripted_view.h"
#include "terrain/terrain_test_support.h"

namespace {

using app_testing::AppTest;
using app_testing::Texts;
using Handler = int (app::StartupDialog::*)();
using Dialog = app::StartupDialog;

const char kSettings[] =
    "[KamSet Nord]\r\n[KamSet S\374d]\r\nPX1=2\r\n[Terrain1]\r\nName=Berg\r\nHoehe=hoehe.bmp\r\n"
    "Farbe=farbe.bmp\r\nPixelgroesse=1\r\nKachelabstand=2\r\nKachelgroesse=2\r\n";  // two tiles, pictures beside

class HandlersTest : public AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    WriteBerg(kSettings);
    ASSERT_EQ(Load("Anlagen\\Berg.anl"), 1);
  }
};

TEST_F(HandlersTest, CommandsRefuseWithoutThePair) {
  const Handler commands[] = {&Dialog::OnDeleteCameraSetClicked,   &Dialog::OnInventoryListClicked,
                              &Dialog::OnMissingListClicked,       &Dialog::OnRemoveMissingRollingStockClicked,
                              &Dialog::OnRemoveMissingGbosClicked, &Dialog::OnRemoveMissingRealEstateClicked,
                              &Dialog::OnGenTerrainClicked,        &Dialog::OnStartClicked};
  EXPECT_EQ(Load("Anlagen\\Berg.txt"), 0);  // keeps the layout in memory but clears the pair
  messages.clear();
  for (Handler command : commands) EXPECT_EQ((dialog.*command)(), 0);
  EXPECT_EQ(messages.messages(), Texts(std::size(commands), "Anlage nicht OK\n"));
}

TEST_F(HandlersTest, DeletingACameraSetWritesTheFileBeforeMemoryChanges) {
  view.answers = {true, true, true};
  view.controls.m_cameraSet = "S\374d";  // the name typed counts
  platform::PlanFault(platform::kFaultCreate, 1);
  EXPECT_EQ(dialog.OnDeleteCameraSetClicked(), 0);  // a failed write changes nothing
  EXPECT_EQ((Texts{view.controls.m_cameraSet, host.Read("Anlagen\\Berg.danl")}), (Texts{"S\374d", kSettings}));
  EXPECT_TRUE(dialog.pair().settings.HasSection("KamSet S\374d"));
  view.controls.m_cameraSet = "nord";  // no such section, but the list finds "Nord" ignoring case
  EXPECT_EQ(dialog.OnDeleteCameraSetClicked(), 1);
  EXPECT_EQ((Texts{view.controls.m_cameraSet, host.Read("Anlagen\\Berg.danl")}), (Texts{"", kSettings}));
  view.controls.m_cameraSet = "S\374d";
  EXPECT_EQ(dialog.OnDeleteCameraSetClicked(), 1);
  EXPECT_TRUE(view.cameraSets.empty());
  EXPECT_FALSE(dialog.pair().settings.HasSection("KamSet S\374d"));
}

TEST_F(HandlersTest, RemovalsRefuseWhileAFolderOfTheKindIsMissingAndKeepAnOldBackup) {
  std::vector<layout_bytes::Track> gbos(3);  // the third in a subfolder
  for (int i = 0; i < 3; ++i) gbos[i].type = 6, gbos[i].gbo = i < 2 ? "Gbo\\A.gbo" : "Gbo\\Sub\\C.gbo";
  host.MakeDirs("Gbo");
  host.Write("Anlagen\\Berg.anl", layout_bytes::File(gbos, {layout_bytes::Model()}, {layout_bytes::Unit()}));
  host.Write("Anlagen\\Berg.anl.bak", "older");
  ASSERT_EQ(Load("Anlagen\\Berg.anl"), 1);
  const std::pair<Handler, const char*> kinds[] = {{&Dialog::OnRemoveMissingRollingStockClicked, "Rollmaterial"},
                                                   {&Dialog::OnRemoveMissingGbosClicked, "Gbo\\Sub"},
                                                   {&Dialog::OnRemoveMissingRealEstateClicked, "Modelle"}};
  for (const auto& kind : kinds) {
    const Texts files = {host.Read("Anlagen\\Berg.anl"), host.Read("Anlagen\\Berg.anl.bak")};
    std::filesystem::remove_all(host.NativePath(kind.second));  // no question, nothing written
    messages.clear(), view.log.clear(), view.answers = {true};
    EXPECT_EQ((dialog.*kind.first)(), 0);
    EXPECT_EQ(messages.messages(), Texts{"Ordner " + host.Path(kind.second) + " fehlt, es wird nichts gel\xF6scht!\n"});
    EXPECT_EQ((Texts{host.Read("Anlagen\\Berg.anl"), host.Read("Anlagen\\Berg.anl.bak")}), files);
    EXPECT_FALSE(host.Exists("Anlagen\\StartZUVO-Verlauf"));
    EXPECT_TRUE(view.log.empty());
    host.MakeDirs(kind.second);  // an old backup stays (what the history keeps: the history tests)
    EXPECT_EQ((dialog.*kind.first)(), 1);
    EXPECT_EQ(host.Read("Anlagen\\Berg.anl.bak"), "older");
    std::filesystem::remove_all(host.NativePath("Anlagen\\StartZUVO-Verlauf"));
  }
}

TEST_F(AppTest, ChoosingWorksWhereTheKindFolderIsAndKeepsOnlyTheFileName) {
  std::filesystem::remove(host.NativePath("Oberleitung"));
  EXPECT_EQ(dialog.OnInitDialog({}), 1);
  EXPECT_EQ((std::vector<bool>{view.enabled.at(app::kIdChooseCatenary), view.enabled.at(app::kIdChooseGuidePost)}),
            (std::vector<bool>{false, true}));
  view.controls.m_groundTexture = "Sand.bmp";
  view.fileAnswers = {{true, "D:\\A\\Rot.mod"}, {false, "x"}, {true, ""}, {true, "C:\\Kupfer.mod"}, {true, "Holz.mod"}};
  for (Handler choose :
       {&Dialog::OnChooseBufferStopClicked, &Dialog::OnChooseGroundTextureClicked,
        &Dialog::OnChooseGroundTextureClicked, &Dialog::OnChooseCatenaryClicked, &Dialog::OnChooseGuidePostClicked}) {
    EXPECT_EQ((dialog.*choose)(), 1);
  }
  const app::DialogMembers& shown = view.controls;
  EXPECT_EQ((Texts{shown.m_bufferStop, shown.m_catenary, shown.m_guidePost, shown.m_groundTexture}),
            (Texts{"Rot.mod", "Kupfer.mod", "Holz.mod", "Sand.bmp"}));
  const std::string h = "file " + host.windows() + "\\", all = "|Alle Dateien|*.*|",
                    sand = h + "Bodentextur\\Sand.bmp|Bodentextur|*.bmp" + all;
  EXPECT_EQ(view.log, (Texts{h + "Prellbock\\Prellbock.mod|Prellbock|*.mod" + all, sand, sand,
                             h + "Oberleitung\\Oberleitung.mod|Oberleitung|*.mod" + all,
                             h + "Leitpfosten\\Leitpfosten.mod|Leitpfosten|*.mod" + all}));
}

TEST_F(HandlersTest, ListsAndTerrainsAreMadeBesideTheLayoutWhereverTheCurrentFolderIs) {
  ASSERT_TRUE(platform::ChangeDirectory(host.windows()));
  EXPECT_EQ(dialog.OnMissingListClicked(), 1);
  EXPECT_EQ(host.List("Anlagen"), (Texts{"Berg.anl", "Berg.danl", "Fehlliste.txt"}));
  platform::PlanFault(platform::kFaultChdir, 1);  // a folder that cannot be entered: only the message
  EXPECT_EQ(dialog.OnInventoryListClicked(), 0);
  EXPECT_EQ(messages.messages(),
            Texts{"Datei " + host.Path("Anlagen\\Inventarliste.txt") + " kann nicht ge\366ffnet werden!"});

  EXPECT_EQ(dialog.OnGenTerrainClicked(), 0);  // no pictures yet: the generator says why
  EXPECT_TRUE(view.enabled.at(app::kIdGenTerrain));
  host.Write("Anlagen\\hoehe.bmp",
             terrain_test::MakeBitmap(4, 2, [](int, int) { return terrain_test::HeightPixel(1); }));
  host.Write("Anlagen\\farbe.bmp", terrain_test::MakeBitmap(4, 2, [](int, int) { return terrain_test::PixelBytes{}; }));
  ASSERT_TRUE(platform::ChangeDirectory(host.windows()));
  EXPECT_EQ(dialog.OnGenTerrainClicked(), 1);
  EXPECT_FALSE(view.enabled.at(app::kIdGenTerrain));
  EXPECT_EQ(view.log, (Texts{"! Fehlliste wurde erstellt!", "= Geschrieben: " + host.Path("Anlagen\\Fehlliste.txt"),
                             "Terrain1 1/2", "Terrain1 2/2", "! Terraingenerierung abgeschlossen!"}));
  EXPECT_EQ(view.waitDepth, 0);
}

}  // namespace
