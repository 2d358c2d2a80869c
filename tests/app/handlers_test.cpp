// The buttons other than "Laden" and "Starte ZUVO", on a loaded layout.
#include <gtest/gtest.h>

#include "app/app_fixture.h"
#include "terrain/terrain_test_support.h"

namespace {

using app::Globals;
using app_testing::AppTest;
using app_testing::Texts;

const char kSettings[] =
    "[KamSet Nord]\r\nPX1=1\r\n\r\n[Zuvo]\r\nKamSet=Nord\r\n\r\n[KamSet S\xFC" "d]\r\nPX1=2\r\n"
    "[Terrain1]\r\nName=Berg\r\nHoehe=hoehe.bmp\r\nFarbe=farbe.bmp\r\nPixelgroesse=1\r\n"
    "Kachelabstand=2\r\nKachelgroesse=2\r\n";  // two tiles of 2 x 2 cells, pictures beside the layout

// A layout that names present and missing files of every kind.
class HandlersTest : public AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    for (const char* file : {"Modelle\\Haus.mod", "GBO\\Bahnhof.gbo", "Rollmaterial\\Wagen.rm"}) host.Write(file, "x");
    layout_bytes::Track station, lost;
    station.type = lost.type = 6, station.gbo = "GBO\\Bahnhof.gbo", lost.gbo = "GBO\\Fehlt.gbo";
    lost.id = 2, lost.variant = 4;
    layout_bytes::Model house, missing, other;  // the first two with the same id
    house.id = missing.id = 5, missing.name = "Fehlt", other.id = 6, other.pos[0] = 600;
    layout_bytes::Unit wagon, gone;
    wagon.neighbourB = 2, gone.id = 2, gone.name = "Fehlt.rm", gone.neighbourB = 1;
    original_ = layout_bytes::File({station, lost}, {house, missing, other}, {wagon, gone});
    host.Write("Anlagen\\Berg.anl", original_);
    host.Write("Anlagen\\Berg.danl", kSettings);
    ASSERT_EQ(Load("Anlagen\\Berg.anl"), 1);
  }
  std::string original_;
};

TEST_F(HandlersTest, CommandsRefuseWithoutThePairOrTheInstallation) {
  const struct {
    const char* name;
    int (app::StartupDialog::*handler)();
    bool needsInstallation;
  } commands[] = {
      {"delete camera set", &app::StartupDialog::OnDeleteCameraSetClicked, false},
      {"inventory", &app::StartupDialog::OnInventoryListClicked, false},
      {"missing list", &app::StartupDialog::OnMissingListClicked, true},
      {"rolling stock", &app::StartupDialog::OnRemoveMissingRollingStockClicked, true},
      {"GBOs", &app::StartupDialog::OnRemoveMissingGbosClicked, true},
      {"real estate", &app::StartupDialog::OnRemoveMissingRealEstateClicked, true},
      {"terrain", &app::StartupDialog::OnGenTerrainClicked, true},
      {"start", &app::StartupDialog::OnStartClicked, true},
      {"standard", &app::StartupDialog::OnStandardClicked, true},  // needs no pair
  };
  // A wrong extension keeps the layout in memory but clears the pair; a failed load clears both.
  host.Write("Anlagen\\Kaputt.anl", "kaputt");
  for (const char* path : {"Anlagen\\Berg.txt", "Anlagen\\Kaputt.anl"}) {
    EXPECT_EQ(Load(path), 0);
    for (const auto& c : commands) {
      if (c.handler == &app::StartupDialog::OnStandardClicked) continue;
      SCOPED_TRACE(c.name);
      messages.clear();
      EXPECT_EQ((dialog.*c.handler)(), 0);
      EXPECT_EQ(messages.messages(), Texts{"Anlage nicht OK\n"});
    }
  }
  ASSERT_EQ(Load("Anlagen\\Berg.anl"), 1);
  ForgetInstallation();
  for (const auto& c : commands) {
    if (!c.needsInstallation) continue;
    SCOPED_TRACE(c.name);
    messages.clear();
    EXPECT_EQ((dialog.*c.handler)(), 0);
    EXPECT_EQ(messages.messages(), Texts{app_testing::kNoInstallation});
  }
  EXPECT_EQ(dialog.OnInventoryListClicked(), 1);  // needs none
  EXPECT_TRUE(view.questions.empty());
  EXPECT_TRUE(view.events.empty());
  EXPECT_EQ(view.notices, Texts{"Inventarliste wurde erstellt!"});
  EXPECT_EQ(host.Read("Anlagen\\Berg.anl"), original_);
  EXPECT_EQ(host.Read("Anlagen\\Berg.danl"), kSettings);
  EXPECT_EQ(host.List("Anlagen"), (Texts{"Berg.anl", "Berg.danl", "Inventarliste.txt", "Kaputt.anl"}));
}

TEST_F(HandlersTest, DeletingACameraSetAsksAndWritesBeforeMemoryChanges) {
  // The name typed into the combo box counts, not the member.
  view.controls.m_cameraSet = "nord";
  view.answers = {false, true};
  EXPECT_EQ(dialog.OnDeleteCameraSetClicked(), 1);
  EXPECT_EQ(view.controls.m_cameraSet, "nord");
  EXPECT_EQ(view.cameraSets.size(), 2u);
  // "nord" is no section (names are case-sensitive), but the list finds its
  // entry ignoring case: the entry goes, the file is not written.
  EXPECT_EQ(dialog.OnDeleteCameraSetClicked(), 1);
  EXPECT_EQ(view.questions, (Texts{"L\xF6sche Kamera Set nord ?", "L\xF6sche Kamera Set nord ?"}));
  EXPECT_EQ(view.cameraSets, Texts{"S\xFC" "d"});
  EXPECT_EQ((Texts{view.controls.m_cameraSet, dialog.members.m_cameraSet}), (Texts{"", ""}));
  EXPECT_EQ(host.Read("Anlagen\\Berg.danl"), kSettings);

  // A write that fails changes nothing (the file: the end-to-end fault sweep).
  view.controls.m_cameraSet = "S\xFC" "d";
  view.answers = {true, true};
  platform::PlanFault(platform::kFaultCreate, 1);
  EXPECT_EQ(dialog.OnDeleteCameraSetClicked(), 0);
  platform::ClearFaults();
  EXPECT_TRUE(Globals().SettingsFile.HasSection("KamSet S\xFC" "d"));
  EXPECT_EQ(view.cameraSets.size(), 1u);
  EXPECT_EQ(view.controls.m_cameraSet, "S\xFC" "d");
  // (What a deletion leaves in the file: the end-to-end test of "zuvo delete-camera-set".)
  EXPECT_EQ(dialog.OnDeleteCameraSetClicked(), 1);
  EXPECT_TRUE(view.cameraSets.empty());
}

// (Each dialog's folder, file name and filters: the dialog tests under Wine.)
TEST_F(AppTest, ChoosingKeepsOnlyTheFileName) {
  view.controls.m_groundTexture = "Sand.bmp";
  view.fileAnswers = {{true, "D:\\Eigene\\Rot.mod"}, {false, "D:\\x.bmp"}, {true, ""},
                      {true, host.Path("Oberleitung\\Kupfer.mod")}};
  EXPECT_EQ(dialog.OnChooseBufferStopClicked(), 1);
  EXPECT_EQ(dialog.OnChooseGroundTextureClicked(), 1);  // cancelled
  EXPECT_EQ(dialog.OnChooseGroundTextureClicked(), 1);  // confirmed without a name
  EXPECT_EQ(dialog.OnChooseCatenaryClicked(), 1);
  const app::DialogMembers& shown = view.controls;
  EXPECT_EQ((Texts{shown.m_bufferStop, shown.m_groundTexture, shown.m_catenary}),
            (Texts{"Rot.mod", "Sand.bmp", "Kupfer.mod"}));
  EXPECT_EQ(view.fileDialogs[1], host.windows() + "\\Bodentextur\\Sand.bmp|Bodentextur|*.bmp|Alle Dateien|*.*|");
  EXPECT_TRUE(messages.messages().empty());
}

// (A default put back: the end-to-end test of "zuvo standard".)
TEST_F(AppTest, StandardPutsBackTheDefaultFilesThatExist) {
  host.Write("Mods\\Oberleitung.mod", "Kupfer");  // no default saved yet: stays
  host.Write("Bodentextur\\Grass.bmp", "Gras");
  host.Write("Parallels\\Tex256_256a.bmp", "Sand");
  dialog.members.m_bufferStop = "Rot.mod";
  EXPECT_EQ(dialog.OnStandardClicked(), 1);
  EXPECT_EQ((Texts{host.Read("Mods\\Oberleitung.mod"), host.Read("Parallels\\Tex256_256a.bmp")}),
            (Texts{"Kupfer", "Gras"}));
  EXPECT_EQ(dialog.members.m_bufferStop, "Rot.mod");
  EXPECT_TRUE(messages.messages().empty());
  EXPECT_TRUE(view.notices.empty());
}

// Found by the fault sweep of "zuvo standard": a copy that failed was
// ignored and the command ended as if every default were back.
TEST_F(AppTest, StandardTellsACopyThatFailedAndStillCopiesTheOthers) {
  for (const char* kind : {"Prellbock", "Oberleitung", "Leitpfosten"}) {
    host.Write(std::string(kind) + "\\" + kind + ".mod", "Original");
    host.Write(std::string("Mods\\") + kind + ".mod", "eigen");
  }
  platform::PlanFault(platform::kFaultWrite, 2);
  EXPECT_EQ(dialog.OnStandardClicked(), 0);
  EXPECT_EQ(messages.messages(), Texts{"Fehler beim Schreiben von " + host.Path("Mods\\Oberleitung.mod") + "!\n"});
  EXPECT_EQ((Texts{host.Read("Mods\\Prellbock.mod"), host.Read("Mods\\Oberleitung.mod"),
                   host.Read("Mods\\Leitpfosten.mod")}),
            (Texts{"Original", "eigen", "Original"}));
  EXPECT_EQ(host.List("Mods"), (Texts{"Leitpfosten.mod", "Oberleitung.mod", "Prellbock.mod"}));
}

// (The lists' bytes and notices: the end-to-end tests of "zuvo inventory" and "zuvo missing-list".)
TEST_F(HandlersTest, ListsAreWrittenBesideTheLayout) {
  ASSERT_TRUE(platform::ChangeDirectory(host.windows()));  // elsewhere meanwhile
  EXPECT_EQ(dialog.OnInventoryListClicked(), 1);
  EXPECT_EQ(dialog.OnMissingListClicked(), 1);
  EXPECT_EQ(host.List("Anlagen"), (Texts{"Berg.anl", "Berg.danl", "Fehlliste.txt", "Inventarliste.txt"}));
  EXPECT_EQ(view.waitCursors, 2);
  EXPECT_EQ(platform::CurrentDirectory(), host.Path("Anlagen"));
  // A folder that cannot be entered: only the message.
  platform::PlanFault(platform::kFaultChdir, 1);
  EXPECT_EQ(dialog.OnMissingListClicked(), 0);
  EXPECT_EQ(messages.messages(),
            Texts{"Datei " + host.Path("Anlagen\\Fehlliste.txt") + " kann nicht ge\xF6" "ffnet werden!"});
  EXPECT_EQ(view.notices.size(), 2u);
  EXPECT_EQ(view.waitDepth, 0);
}

// (The questions, the answer "no", the notices and what each pass removes:
// the end-to-end tests of "zuvo remove-missing" and the layout tests.)
TEST_F(HandlersTest, RemovalsAskRemoveSaveAndReport) {
  // A failed save is the last word.
  view.answers = {true, true, true, true};
  platform::PlanFault(platform::kFaultCreate, 1);
  EXPECT_EQ(dialog.OnRemoveMissingRollingStockClicked(), 0);
  platform::ClearFaults();
  EXPECT_EQ(messages.messages(), Texts{"Can't open " + host.Path("Anlagen\\Berg.anl") + "!\n"});
  EXPECT_TRUE(view.notices.empty());
  EXPECT_EQ(host.Read("Anlagen\\Berg.anl"), original_);

  EXPECT_EQ(dialog.OnRemoveMissingRealEstateClicked(), 1);
  EXPECT_EQ(dialog.OnRemoveMissingGbosClicked(), 1);
  EXPECT_EQ(dialog.OnRemoveMissingRollingStockClicked(), 1);
  EXPECT_EQ(view.questions.size(), 4u);
  EXPECT_EQ(view.notices.size(), 3u);
  EXPECT_EQ(view.waitDepth, 0);
  EXPECT_EQ(host.List("Anlagen"), (Texts{"Berg.anl", "Berg.danl"}));
  layout::Layout saved = ReadLayout("Anlagen\\Berg.anl");
  EXPECT_EQ(saved.models.size(), 2u);
  EXPECT_EQ(saved.tracks.at(1).name, "Gleis");
  EXPECT_EQ(saved.rollingStock.size(), 1u);
}

TEST_F(HandlersTest, TerrainIsGeneratedOnceItsPicturesAreThere) {
  ASSERT_TRUE(view.Enabled(app::kIdGenTerrain, false));
  EXPECT_EQ(dialog.OnGenTerrainClicked(), 0);  // no pictures yet: the generator says why
  EXPECT_FALSE(messages.messages().empty());
  EXPECT_TRUE(view.notices.empty());
  EXPECT_TRUE(view.Enabled(app::kIdGenTerrain, false));

  host.Write("Anlagen\\hoehe.bmp",
             terrain_test::MakeBitmap(4, 2, [](int, int) { return terrain_test::HeightPixel(10000); }));
  host.Write("Anlagen\\farbe.bmp",
             terrain_test::MakeBitmap(4, 2, [](int, int) { return terrain_test::PixelBytes{0, 200, 0}; }));
  ASSERT_TRUE(platform::ChangeDirectory(host.windows()));  // elsewhere meanwhile
  // (The tiles, the notice and the button disabled: the terrain end-to-end and dialog tests.)
  EXPECT_EQ(dialog.OnGenTerrainClicked(), 1);
  EXPECT_EQ(view.progress, (Texts{"Terrain1 1/2", "Terrain1 2/2"}));
  EXPECT_EQ(view.waitCursors, 2);
  EXPECT_EQ(view.waitDepth, 0);
  EXPECT_EQ(platform::CurrentDirectory(), host.Path("Anlagen"));
  EXPECT_EQ(Load("Anlagen\\Berg.anl"), 1);  // the next load finds the terrain generated
  EXPECT_FALSE(view.Enabled(app::kIdGenTerrain, true));
}

}  // namespace
