// The buttons other than "Laden" and "Starte ZUVO".
#include <gtest/gtest.h>

#include <iterator>

#include "app/app_fixture.h"
#include "terrain/terrain_test_support.h"

namespace {

using app_testing::AppTest;
using app_testing::Texts;

const char kSettings[] =
    "[KamSet Nord]\r\nPX1=1\r\n\r\n[Zuvo]\r\nKamSet=Nord\r\n\r\n[KamSet S\xFC" "d]\r\nPX1=2\r\n"
    "[Terrain1]\r\nName=Berg\r\nHoehe=hoehe.bmp\r\nFarbe=farbe.bmp\r\nPixelgroesse=1\r\n"
    "Kachelabstand=2\r\nKachelgroesse=2\r\n";  // two tiles of 2 x 2 cells, pictures beside the layout

// A layout that names a present and a missing object of each kind.
class HandlersTest : public AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    for (const char* file : {"Modelle\\Haus.mod", "GBO\\Bahnhof.gbo", "Rollmaterial\\Wagen.rm"}) host.Write(file, "x");
    layout_bytes::Track station, lost;
    station.type = lost.type = 6, station.gbo = "GBO\\Bahnhof.gbo", lost.gbo = "GBO\\Fehlt.gbo", lost.id = 2;
    layout_bytes::Model house, missing;
    missing.id = 6, missing.name = "Fehlt";
    layout_bytes::Unit wagon, gone;
    wagon.neighbourB = 2, gone.id = 2, gone.name = "Fehlt.rm", gone.neighbourB = 1;
    original_ = layout_bytes::File({station, lost}, {house, missing}, {wagon, gone});
    host.Write("Anlagen\\Berg.anl", original_);
    host.Write("Anlagen\\Berg.danl", kSettings);
    ASSERT_EQ(Load("Anlagen\\Berg.anl"), 1);
  }
  std::string original_;
};

using Handler = int (app::StartupDialog::*)();
const struct {
  Handler handler;
  bool needsInstallation;
} kGuarded[] = {
    {&app::StartupDialog::OnDeleteCameraSetClicked, false},
    {&app::StartupDialog::OnInventoryListClicked, false},
    {&app::StartupDialog::OnMissingListClicked, true},
    {&app::StartupDialog::OnRemoveMissingRollingStockClicked, true},
    {&app::StartupDialog::OnRemoveMissingGbosClicked, true},
    {&app::StartupDialog::OnRemoveMissingRealEstateClicked, true},
    {&app::StartupDialog::OnGenTerrainClicked, true},
    {&app::StartupDialog::OnStartClicked, true},
};

TEST_F(HandlersTest, CommandsRefuseWithoutThePairOrTheInstallation) {
  // A wrong extension keeps the layout in memory but clears the pair; a failed load clears both.
  host.Write("Anlagen\\Kaputt.anl", "kaputt");
  for (const char* path : {"Anlagen\\Berg.txt", "Anlagen\\Kaputt.anl"}) {
    EXPECT_EQ(Load(path), 0);
    for (std::size_t i = 0; i < std::size(kGuarded); ++i) {
      messages.clear();
      EXPECT_EQ((dialog.*kGuarded[i].handler)(), 0) << path << " " << i;
      EXPECT_EQ(messages.messages(), Texts{"Anlage nicht OK\n"}) << path << " " << i;
    }
  }
  ASSERT_EQ(Load("Anlagen\\Berg.anl"), 1);
  ForgetInstallation();
  view.answers = {false};
  for (std::size_t i = 0; i < std::size(kGuarded); ++i) {
    messages.clear();
    EXPECT_EQ((dialog.*kGuarded[i].handler)(), kGuarded[i].needsInstallation ? 0 : 1) << i;
    EXPECT_EQ(messages.messages(), kGuarded[i].needsInstallation
                                       ? Texts{"Unbekannte oder fehlerhafte ZUVO Installation\n"} : Texts{}) << i;
  }
  messages.clear();
  EXPECT_EQ(dialog.OnStandardClicked(), 0);
  EXPECT_EQ(messages.messages().size(), 1u);
  EXPECT_TRUE(view.events.empty());
  EXPECT_EQ(host.Read("Anlagen\\Berg.anl"), original_);
  EXPECT_EQ(host.Read("Anlagen\\Berg.danl"), kSettings);
}

TEST_F(HandlersTest, DeletingACameraSetAsksAndWritesBeforeMemoryChanges) {
  view.controls.m_cameraSet = "S\xFC" "d";  // the name typed into the combo box counts
  view.answers = {false, true, true};
  EXPECT_EQ(dialog.OnDeleteCameraSetClicked(), 1);
  EXPECT_EQ(view.questions, Texts{"L\xF6sche Kamera Set S\xFC" "d ?"});
  EXPECT_EQ(view.cameraSets.size(), 2u);
  platform::PlanFault(platform::kFaultCreate, 1);
  EXPECT_EQ(dialog.OnDeleteCameraSetClicked(), 0);  // a failed write changes nothing
  platform::ClearFaults();
  EXPECT_TRUE(dialog.pair().settings.HasSection("KamSet S\xFC" "d"));
  EXPECT_EQ((Texts{view.controls.m_cameraSet, host.Read("Anlagen\\Berg.danl")}), (Texts{"S\xFC" "d", kSettings}));
  EXPECT_EQ(view.cameraSets.size(), 2u);
  EXPECT_EQ(dialog.OnDeleteCameraSetClicked(), 1);
  EXPECT_FALSE(dialog.pair().settings.HasSection("KamSet S\xFC" "d"));
  EXPECT_EQ(view.cameraSets, Texts{"Nord"});
  EXPECT_EQ(view.controls.m_cameraSet, "");
  EXPECT_EQ(host.Read("Anlagen\\Berg.danl").find("S\xFC" "d"), std::string::npos);
}

TEST_F(AppTest, ChoosingKeepsOnlyTheFileName) {
  view.controls.m_groundTexture = "Sand.bmp";
  view.fileAnswers = {{true, "D:\\Eigene\\Rot.mod"}, {false, "D:\\x.bmp"}, {true, ""}, {true, "C:\\Kupfer.mod"},
                      {true, "Holz.mod"}};
  for (Handler choose : {&app::StartupDialog::OnChooseBufferStopClicked, &app::StartupDialog::OnChooseGroundTextureClicked,
                         &app::StartupDialog::OnChooseGroundTextureClicked, &app::StartupDialog::OnChooseCatenaryClicked,
                         &app::StartupDialog::OnChooseGuidePostClicked}) {
    EXPECT_EQ((dialog.*choose)(), 1);
  }
  const app::DialogMembers& shown = view.controls;
  EXPECT_EQ((Texts{shown.m_bufferStop, shown.m_catenary, shown.m_guidePost, shown.m_groundTexture}),
            (Texts{"Rot.mod", "Kupfer.mod", "Holz.mod", "Sand.bmp"}));
  const std::string h = host.windows() + "\\";
  EXPECT_EQ(view.fileDialogs, (Texts{h + "Prellbock\\Prellbock.mod|Prellbock|*.mod|Alle Dateien|*.*|",
                                     h + "Bodentextur\\Sand.bmp|Bodentextur|*.bmp|Alle Dateien|*.*|",
                                     h + "Bodentextur\\Sand.bmp|Bodentextur|*.bmp|Alle Dateien|*.*|",
                                     h + "Oberleitung\\Oberleitung.mod|Oberleitung|*.mod|Alle Dateien|*.*|",
                                     h + "Leitpfosten\\Leitpfosten.mod|Leitpfosten|*.mod|Alle Dateien|*.*|"}));
}

// A copy that fails is told and the other kinds still get their defaults back.
TEST_F(AppTest, StandardPutsBackTheDefaultFilesThatExist) {
  for (const char* kind : {"Prellbock", "Oberleitung", "Leitpfosten"}) {
    host.Write(std::string(kind) + "\\" + kind + ".mod", kind);
    host.Write(std::string("Mods\\") + kind + ".mod", "eigen");
  }
  host.Write("Parallels\\Tex256_256a.bmp", "eigen");  // no default saved yet: stays
  platform::PlanFault(platform::kFaultWrite, 2);
  EXPECT_EQ(dialog.OnStandardClicked(), 0);
  EXPECT_EQ(messages.messages(), Texts{"Fehler beim Schreiben von " + host.Path("Mods\\Oberleitung.mod") + "!\n"});
  EXPECT_EQ((Texts{host.Read("Mods\\Prellbock.mod"), host.Read("Mods\\Oberleitung.mod"),
                   host.Read("Mods\\Leitpfosten.mod"), host.Read("Parallels\\Tex256_256a.bmp")}),
            (Texts{"Prellbock", "eigen", "Leitpfosten", "eigen"}));
  platform::ClearFaults();
  EXPECT_EQ(dialog.OnStandardClicked(), 1);
  EXPECT_EQ(host.Read("Mods\\Oberleitung.mod"), "Oberleitung");
}

TEST_F(HandlersTest, ListsAreWrittenBesideTheLayout) {
  ASSERT_TRUE(platform::ChangeDirectory(host.windows()));  // elsewhere meanwhile
  EXPECT_EQ(dialog.OnInventoryListClicked(), 1);
  EXPECT_EQ(dialog.OnMissingListClicked(), 1);
  EXPECT_EQ(view.notices, (Texts{"Inventarliste wurde erstellt!", "Fehlliste wurde erstellt!"}));
  EXPECT_EQ(host.Read("Anlagen\\Fehlliste.txt"), "Immobilien:\r\nFehlt.mod\r\n\r\nGBOs:\r\nGBO\\Fehlt.gbo\r\n\r\n"
                                                 "Rollmaterial:\r\nFehlt.rm\r\n");
  EXPECT_NE(host.Read("Anlagen\\Inventarliste.txt").find("Wagen.rm"), std::string::npos);
  EXPECT_EQ(platform::CurrentDirectory(), host.Path("Anlagen"));
  // A folder that cannot be entered, a list that cannot be created or written: only the message.
  const std::pair<platform::FaultKind, std::string> faults[] = {
      {platform::kFaultChdir, "Datei " + host.Path("Anlagen\\Fehlliste.txt") + " kann nicht ge\xF6" "ffnet werden!"},
      {platform::kFaultCreate, "Datei Fehlliste.txt kann nicht ge\xF6" "ffnet werden!"},
      {platform::kFaultWrite, "Fehler beim Schreiben von Fehlliste.txt!\n"}};
  for (const auto& fault : faults) {
    messages.clear();
    platform::PlanFault(fault.first, 1);
    EXPECT_EQ(dialog.OnMissingListClicked(), 0);
    platform::ClearFaults();
    EXPECT_EQ(messages.messages(), Texts{fault.second});
  }
  EXPECT_EQ(view.notices.size(), 2u);
  EXPECT_EQ(view.waitDepth, 0);
}

TEST_F(HandlersTest, RemovalsAskRemoveSaveAndReport) {
  view.answers = {true, false, true, true, true};
  platform::PlanFault(platform::kFaultCreate, 1);
  EXPECT_EQ(dialog.OnRemoveMissingRollingStockClicked(), 0);  // a failed save is the last word
  platform::ClearFaults();
  EXPECT_EQ(messages.messages(), Texts{"Can't open " + host.Path("Anlagen\\Berg.anl") + "!\n"});
  EXPECT_EQ(dialog.OnRemoveMissingGbosClicked(), 1);  // answered no
  EXPECT_EQ(host.Read("Anlagen\\Berg.anl"), original_);
  EXPECT_TRUE(view.notices.empty());
  EXPECT_EQ(dialog.OnRemoveMissingRealEstateClicked(), 1);
  EXPECT_EQ(dialog.OnRemoveMissingGbosClicked(), 1);
  EXPECT_EQ(dialog.OnRemoveMissingRollingStockClicked(), 1);
  EXPECT_EQ(view.notices, (Texts{"Fehlende Immobilien wurden gel\xF6scht!", "Fehlende GBOs wurden gel\xF6scht!",
                                 "Fehlendes Rollmaterial wurde gel\xF6scht!"}));
  EXPECT_EQ(view.waitDepth, 0);
  layout::Layout saved = ReadLayout("Anlagen\\Berg.anl");
  EXPECT_EQ((std::vector<std::size_t>{saved.models.size(), saved.rollingStock.size()}), (std::vector<std::size_t>{1, 1}));
  EXPECT_EQ(saved.tracks.at(1).name, "Gleis");
}

TEST_F(HandlersTest, TerrainIsGeneratedOnceItsPicturesAreThere) {
  ASSERT_TRUE(view.Enabled(app::kIdGenTerrain, false));
  EXPECT_EQ(dialog.OnGenTerrainClicked(), 0);  // no pictures yet: the generator says why
  EXPECT_FALSE(messages.messages().empty());
  EXPECT_TRUE(view.Enabled(app::kIdGenTerrain, false));
  host.Write("Anlagen\\hoehe.bmp",
             terrain_test::MakeBitmap(4, 2, [](int, int) { return terrain_test::HeightPixel(10000); }));
  host.Write("Anlagen\\farbe.bmp",
             terrain_test::MakeBitmap(4, 2, [](int, int) { return terrain_test::PixelBytes{0, 200, 0}; }));
  ASSERT_TRUE(platform::ChangeDirectory(host.windows()));  // elsewhere meanwhile
  EXPECT_EQ(dialog.OnGenTerrainClicked(), 1);
  EXPECT_EQ(view.progress, (Texts{"Terrain1 1/2", "Terrain1 2/2"}));
  EXPECT_EQ(view.notices, Texts{"Terraingenerierung abgeschlossen!"});
  EXPECT_FALSE(view.Enabled(app::kIdGenTerrain, true));
  EXPECT_EQ(view.waitDepth, 0);
  EXPECT_EQ(host.List("Modelle\\Berg").size(), 2u);
}

}  // namespace
