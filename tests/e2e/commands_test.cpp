// The zuvo commands other than start, run as a user runs them on a test
// installation found through the Wine prefix's registry.
#include <cstdlib>
#include <filesystem>
#include <nlohmann/json.hpp>

#include "e2e/installation.h"
#include "layout/layout_bytes.h"
#include "terrain/terrain_test_support.h"

namespace e2e {
namespace {

using layout_bytes::File;

layout_bytes::Model Model(int id, const std::string& name, int z = 0) {
  layout_bytes::Model m;
  m.id = id;
  m.name = name;
  m.pos[0] = 100 * id;
  m.pos[2] = z;
  return m;
}

class CommandsTest : public ::testing::Test {
 protected:
  void SetUp() override { WriteMixedLayout(sim_); }
  std::string Berg() const { return sim_.Native("Anlagen\\Berg.anl"); }

  Installation sim_;
};

// Commands that fail, are refused or are answered "no": exactly their output,
// and no file of the installation changed.
TEST_F(CommandsTest, WhatFailsOrIsRefusedChangesNothing) {
  layout_bytes::Track t;
  t.id = 7;
  t.name = "G";
  std::string bad = File({t}, {}, {});
  bad[46] = 8;  // the track's check id
  sim_.Write("Anlagen\\Bad.anl", bad);
  sim_.Write("Anlagen\\Sued.anl", File({}, {}, {}));
  sim_.Write("Anlagen\\Sued.danl", "[Terrain Sued]\r\nName=Sued\r\n");
  sim_.Write("Anlagen\\Ost.anl", File({}, {}, {}));
  sim_.Write("Anlagen\\Ost.danl", "[KamSet \xC4gypten]\r\nPX1=1\r\n\r\n[Zuvo]\r\nKamSet=\xC4gypten\r\n");
  const std::string berg = Berg(), unknown = "Unbekannte oder fehlerhafte ZUVO Installation\n",
                    can = "Can't open C:\\Sim\\Anlagen\\",
                    no = " Nein (keine Eingabe m\xC3\xB6glich; --yes beantwortet Fragen mit Ja)\n";
  const std::vector<std::string> createFails = {"ZUVO_FAULTS=create:1"};
  const struct {
    std::vector<std::string> args;
    int exitCode;
    std::string out, err;
    std::vector<std::string> env = {};
    std::string registry = "\"C:\\Sim\\Kantrelwick.exe\" \"%1\"";
  } cases[] = {
      {{"resave", sim_.Native("Anlagen\\Bad.anl")}, 1, "I: 8 S: 7\n", "Gleis Nr. 7 fehlerhaft!\n"},
      {{"dump", sim_.Native("Anlagen\\Bad.anl")}, 1, "I: 8 S: 7\n", "Gleis Nr. 7 fehlerhaft!\n"},
      {{"dump", sim_.Native("Anlagen\\Fehlt.anl")}, 1, "", can + "Fehlt.anl!\n"},
      {{"resave", sim_.Native("Anlagen\\Berg.txt")}, 1, "", "falsche Endung: txt\n"},
      {{"show", sim_.Native("Anlagen\\Berg.txt")}, 1, "", "falsche Endung: txt\n"},
      {{"dump"}, 2, "", ""},
      {{"remove-missing", "houses", berg}, 2, "", ""},
      {{"resave", berg}, 1, "", "Fehler beim Schreiben von C:\\Sim\\Anlagen\\Berg.anl!\n", {"ZUVO_FAULTS=write:1"}},
      {{"inventory", berg}, 1, "", "Datei Inventarliste.txt kann nicht ge\xC3\xB6" "ffnet werden!\n", createFails},
      {{"--yes", "remove-missing", "real-estate", berg}, 1, "", can + "Berg.anl!\n", createFails},
      {{"remove-missing", "rolling-stock", berg}, 0, "", "Fehlendes Rollmaterial in der Anlage l\xC3\xB6schen?" + no},
      {{"remove-missing", "gbos", berg}, 0, "", "Fehlende GBOs in der Anlage l\xC3\xB6schen?" + no},
      {{"remove-missing", "real-estate", berg}, 0, "", "Fehlende Immobilien in der Anlage l\xC3\xB6schen?" + no},
      {{"delete-camera-set", sim_.Native("Anlagen\\Ost.anl"), "\xC3\x84gypten"}, 0, "",
       "L\xC3\xB6sche Kamera Set \xC3\x84gypten ?" + no},
      {{"--yes", "delete-camera-set", sim_.Native("Anlagen\\Fehlt.anl"), "Nord"}, 1, "",
       can + "Fehlt.anl!\n"},
      {{"--yes", "remove-missing", "rolling-stock", berg}, 1, "", unknown, {}, ""},
      {{"--yes", "remove-missing", "gbos", berg}, 1, "", unknown, {}, ""},
      {{"--yes", "remove-missing", "real-estate", berg}, 1, "", unknown, {}, ""},
      {{"missing-list", berg}, 1, "", unknown, {}, "Kantrelwick.exe"},  // no folder at all
      {{"terrain", sim_.Native("Anlagen\\Sued.anl")}, 1, "", "[Terrain Sued]:Hoehe muss gesetzt sein!\n"},
  };
  const testing_support::Tree before = testing_support::SnapshotTree(sim_.Native());
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.args));
    sim_.SetRegistryCommand(c.registry);
    RunResult run = sim_.Zuvo(c.args, c.env);
    EXPECT_EQ(run.exitCode, c.exitCode);
    EXPECT_EQ(run.out, c.out);
    if (c.exitCode != 2) {
      EXPECT_EQ(run.err, c.err);
    }
    EXPECT_TRUE(testing_support::SnapshotTree(sim_.Native()) == before);
  }
}

TEST_F(CommandsTest, ShowPrintsWhatTheDialogShows) {
  sim_.Write("Anlagen\\Berg.danl",
             "[KamSet Nord]\r\nPX1=1\r\n[KamSet \xC4gypten]\r\nPX1=1\r\n[KamSet abend]\r\n"
             "[Zuvo]\r\nKamSet=Nord\r\nOberleitung=Kupfer.mod\r\n[Terrain1]\r\nName=Berg\r\n");
  RunResult run = sim_.Zuvo({"show", sim_.Native("Anlagen\\Berg.danl")});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(run.out,
            "Anlage: C:\\Sim\\Anlagen\\Berg.anl\nKamera Set: Nord\nKamera Sets: abend | Nord | \xC3\x84gypten\n"
            "Prellbock: \nOberleitung: Kupfer.mod\nLeitpfosten: \nBodentextur: \nGen. Terrain: aktiv\n"
            "Ausw\xC3\xA4hlen Prellbock: aktiv\nAusw\xC3\xA4hlen Oberleitung: aktiv\n"
            "Ausw\xC3\xA4hlen Leitpfosten: aktiv\nAusw\xC3\xA4hlen Bodentextur: aktiv\n");

  // A terrain already generated; three kind folders missing; then no
  // installation at all.
  sim_.Write("Modelle\\Berg\\bmp0_0.mod", "t");
  for (const char* kind : {"Prellbock", "Oberleitung", "Bodentextur"}) std::filesystem::remove_all(sim_.Native(kind));
  run = sim_.Zuvo({"show", "--json", Berg()});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(nlohmann::ordered_json::parse(run.out).dump(),
            "{\"layoutPath\":\"C:\\\\Sim\\\\Anlagen\\\\Berg.anl\",\"cameraSet\":\"Nord\","
            "\"cameraSets\":[\"abend\",\"Nord\",\"\xC3\x84gypten\"],\"bufferStop\":\"\","
            "\"catenary\":\"Kupfer.mod\",\"guidePost\":\"\",\"groundTexture\":\"\","
            "\"genTerrainEnabled\":false,\"chooseEnabled\":{\"Prellbock\":false,"
            "\"Oberleitung\":false,\"Leitpfosten\":true,\"Bodentextur\":false}}");
  sim_.SetRegistryCommand("");
  run = sim_.Zuvo({"show", "--json", Berg()});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(nlohmann::json::parse(run.out)["chooseEnabled"]["Leitpfosten"], false);
}

TEST_F(CommandsTest, ListsRemovalCameraSetsAndDefaultsDoWhatTheySay) {
  RunResult run = sim_.Zuvo({"inventory", Berg()});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, "Inventarliste wurde erstellt!\n");
  EXPECT_EQ(sim_.Read("Anlagen\\Inventarliste.txt"),
            "Immobilien:\r\nHaus.mod\r\nFehlt.mod\r\nKirche.mod\r\n"
            "\r\nGBOs:\r\nGBO\\Bahnhof.gbo\r\nGBO\\Fehlt.gbo\r\nGBO\\Weg.gbo\r\n"
            "\r\nRollmaterial:\r\nWagen.rm\r\nFehlt.rm\r\nLok.rm\r\n");
  run = sim_.Zuvo({"missing-list", sim_.Native("Anlagen\\Berg.danl")});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, "Fehlliste wurde erstellt!\n");
  EXPECT_EQ(sim_.Read("Anlagen\\Fehlliste.txt"),
            "Immobilien:\r\nFehlt.mod\r\n\r\nGBOs:\r\nGBO\\Fehlt.gbo\r\nGBO\\Weg.gbo\r\n"
            "\r\nRollmaterial:\r\nFehlt.rm\r\n");
  EXPECT_EQ(sim_.Read("Anlagen\\Berg.anl"), MixedLayout());

  // Removal: the layout holds exactly the records left, references cleared
  // (the GBOs by --host instead of the registry).
  const struct {
    std::vector<std::string> args;
    const char* done;
  } removals[] = {
      {{"--yes", "remove-missing", "real-estate", Berg()}, "Fehlende Immobilien wurden gel\xC3\xB6scht!\n"},
      {{"--yes", "--host", sim_.Native(), "remove-missing", "gbos", Berg()}, "Fehlende GBOs wurden gel\xC3\xB6scht!\n"},
      {{"--yes", "remove-missing", "rolling-stock", Berg()}, "Fehlendes Rollmaterial wurde gel\xC3\xB6scht!\n"},
  };
  for (const auto& removal : removals) {
    run = sim_.Zuvo(removal.args);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out + run.err, removal.done);
  }
  // What is left: nothing missing, the rest listed as before.
  EXPECT_EQ(sim_.Zuvo({"missing-list", Berg()}).exitCode, 0);
  EXPECT_EQ(sim_.Read("Anlagen\\Fehlliste.txt"), "Immobilien:\r\n\r\nGBOs:\r\n\r\nRollmaterial:\r\n");
  EXPECT_EQ(sim_.Zuvo({"inventory", Berg()}).exitCode, 0);
  EXPECT_EQ(sim_.Read("Anlagen\\Inventarliste.txt"), "Immobilien:\r\nHaus.mod\r\nKirche.mod\r\n"
            "\r\nGBOs:\r\nGBO\\Bahnhof.gbo\r\n\r\nRollmaterial:\r\nWagen.rm\r\nLok.rm\r\n");

  sim_.Write("Anlagen\\Berg.danl", "[KamSet \xC4gypten]\r\nPX1=1\r\n\r\n[Zuvo]\r\nKamSet=\xC4gypten\r\n");
  run = sim_.Zuvo({"--yes", "delete-camera-set", Berg(), "\xC3\x84gypten"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(sim_.Read("Anlagen\\Berg.danl"), "[Zuvo]\r\nKamSet=\xC4gypten\r\n");

  sim_.Write("Prellbock\\Prellbock.mod", "eigener Prellbock");
  sim_.Write("Mods\\Prellbock.mod", "Rot");
  run = sim_.Zuvo({"standard"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out + run.err, "");
  EXPECT_EQ(sim_.Read("Mods\\Prellbock.mod"), "eigener Prellbock");
}

TEST_F(CommandsTest, ResaveWritesTheLayoutBackPreparedAndDumpPrintsEveryRecord) {
  layout_bytes::Track t;
  t.end[2] = 40;
  layout_bytes::Model bridge = Model(5, "..\\Bruecken\\Stein", -7), moved = bridge, house = Model(6, "");
  bridge.pos[1] = moved.pos[1] = 0;
  moved.pos[2] = 20;
  sim_.Write("Anlagen\\Berg.anl", File({t}, {bridge, house, house}, {layout_bytes::Unit()}));
  RunResult run = sim_.Zuvo({"resave", Berg()});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out + run.err, "");
  // The bridge moved to the middle height of its track; the duplicate is gone.
  EXPECT_EQ(sim_.Read("Anlagen\\Berg.anl"), File({t}, {moved, house}, {layout_bytes::Unit()}));
  // Named by its settings file, the layout file of the pair is saved.
  sim_.Write("Anlagen\\Berg.anl", File({t}, {bridge}, {}));
  run = sim_.Zuvo({"resave", sim_.Native("Anlagen\\Berg.DANL")});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(sim_.Read("Anlagen\\Berg.anl"), File({t}, {moved}, {}));
  EXPECT_EQ(sim_.List("Anlagen"), std::vector<std::string>{"Berg.anl"});

  sim_.Write("Rollmaterial\\Datenbl\xE4tter\\V200.txt", "[Zuvo]\r\nZusLen=3\r\n");
  t = layout_bytes::Track();
  t.name = "Gleis\xFC";
  layout_bytes::Model m;
  m.dir[1] = -0.5f;
  layout_bytes::Unit u;
  u.id = 3;
  u.name = "Loks\\V200.dll";
  u.extra = std::string("\x00\xAB\x7F", 3);
  u.trailerValue = 77;
  sim_.Write("Anlagen\\Berg.anl", File({t}, {bridge, m}, {u}));
  run = sim_.Zuvo({"dump", Berg()});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.err, "");
  nlohmann::json j = nlohmann::json::parse(run.out);
  EXPECT_EQ(j["loaded"], 1);
  ASSERT_EQ(j["tracks"].size(), 1u);
  EXPECT_EQ(j["tracks"][0]["name"], "Gleis\xC3\xBC");
  EXPECT_EQ(j["tracks"][0]["end"], nlohmann::json::array({1000, 0, 0}));
  EXPECT_EQ(j["tracks"][0]["endCount"], 2);
  EXPECT_EQ(j["tracks"][0]["connections"].size(), 20u);
  EXPECT_EQ(j["tracks"][0]["linkedModel"], 0);
  EXPECT_EQ(j["models"][1]["direction"][1], -0.5);
  EXPECT_EQ(j["models"][0]["name"], "..\\Bruecken\\Stein");
  EXPECT_EQ(j["rollingStock"][0]["extraData"], "00ab7f");
  EXPECT_EQ(j["rollingStock"][0]["trailerValue"], 77);
  EXPECT_EQ(j["cameraViews"].size(), 5u);
  EXPECT_EQ(j["cameraViews"][4]["LH"], 0);
  EXPECT_EQ(j["properties"]["block"], std::string(40, '0'));
}

TEST_F(CommandsTest, TerrainGeneratesEveryDescribedTerrainEveryTime) {
  sim_.Write("Anlagen\\Bilder\\hoehe.bmp",
             terrain_test::MakeBitmap(2, 4, [](int, int) { return terrain_test::HeightPixel(10500); }));
  sim_.Write("Anlagen\\Bilder\\farbe.bmp",
             terrain_test::MakeBitmap(2, 4, [](int, int) { return terrain_test::PixelBytes{90, 90, 90}; }));
  sim_.Write("Anlagen\\Berg.danl",
             "[Terrain Nord]\r\nName=Nord\r\nHoehe=Bilder\\hoehe.bmp\r\nFarbe=Bilder\\farbe.bmp\r\n"
             "Pixelgroesse=1\r\nKachelabstand=2\r\nKachelgroesse=2\r\n");
  for (int pass = 0; pass < 2; ++pass) {  // the second over the tiles of the first
    RunResult run = sim_.Zuvo({"terrain", sim_.Native("Anlagen\\Berg.danl")});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "Terraingenerierung abgeschlossen!\n");
    EXPECT_EQ(run.err, "");  // no progress without a terminal
    EXPECT_EQ(sim_.List("Modelle\\Nord"), (std::vector<std::string>{"bmp0_0.mod", "bmp0_1.mod"}));
  }
}

// The demo installation in examples/demo: its binary files are what the
// generator makes, and its layout loads only with its data sheet.
TEST(DemoFilesTest, TheBinaryFilesAreWhatTheGeneratorMakesAndTheLayoutLoads) {
#ifdef ZUVO_MAKE_DEMO
  testing_support::TempDir dir;
  ASSERT_EQ(std::system(("'" + std::string(ZUVO_MAKE_DEMO) + "' '" + dir.native() + "' >/dev/null").c_str()), 0);
  testing_support::Tree demoFiles = testing_support::SnapshotTree(ZUVO_DEMO_FOLDER);
  for (const char* file : {"Anlagen/Demo.anl", "Anlagen/Demo_Hoehe.bmp", "Anlagen/Demo_Farbe.bmp",
                           "Parallels/Tex256_256a.bmp", "Bodentextur/Sand.bmp", "Bodentextur/Schnee.bmp"}) {
    const std::string made = dir.Read(file);
    EXPECT_FALSE(made.empty()) << file;
    EXPECT_TRUE(made == demoFiles[file]) << file << " differs from what zuvo_make_demo makes";
  }
#endif
  const std::string demo = ZUVO_DEMO_FOLDER "/Anlagen/Demo.anl";
  RunResult run = RunZuvo({"--host", ZUVO_DEMO_FOLDER, "dump", demo}, {});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.err, "");
  EXPECT_NE(run.out.find("Dampflok.dll"), std::string::npos);
  // Elsewhere the data sheet in "Rollmaterial\Datenblätter" is not found.
  testing_support::TempDir elsewhere;
  run = RunZuvo({"--host", elsewhere.native(), "dump", demo}, {});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err, "Dll-Modell \"Dampflok.dll\" kann nicht benutzt werden!\n");
}

}  // namespace
}  // namespace e2e
