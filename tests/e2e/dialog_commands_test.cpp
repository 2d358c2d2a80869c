// zuvo show, delete-camera-set, standard, remove-missing, inventory and
// missing-list, run as a user runs them on a test installation that zuvo
// finds through the Wine prefix's registry.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>

#include "e2e/run_zuvo.h"
#include "e2e/test_installation.h"
#include "layout/layout.h"
#include "layout/layout_bytes.h"
#include "support/test_support.h"

namespace {

using e2e::RunZuvo;
using e2e::TestInstallation;
using layout_bytes::File;
using testing_support::Cp;

layout_bytes::Model Model(int id, const std::string& name) {
  layout_bytes::Model m;
  m.id = id;
  m.name = name;
  m.pos[0] = 100 * id;
  return m;
}

layout_bytes::Track Gbo(int id, const std::string& gbo, int variant) {
  layout_bytes::Track t;
  t.id = id;
  t.name = "Bahnhof";
  t.type = 6;
  t.variant = variant;
  t.gbo = gbo;
  t.start[1] = t.end[1] = 1000 * id;
  return t;
}

layout_bytes::Unit Unit(int id, const std::string& name, int neighbourA, int neighbourB) {
  layout_bytes::Unit u;
  u.id = id;
  u.name = name;
  u.neighbourA = neighbourA;
  u.neighbourB = neighbourB;
  return u;
}

// A layout that names present and missing files of every kind.
std::string MixedLayout() {
  return File({Gbo(1, "GBO\\Bahnhof.gbo", 0), Gbo(2, "GBO\\Fehlt.gbo", 3), Gbo(3, "GBO\\Weg.gbo", 0)},
              {Model(1, "Haus"), Model(2, "Fehlt"), Model(1, "Kirche"), Model(4, "haus")},
              {Unit(1, "Wagen.rm", 0, 2), Unit(2, "Fehlt.rm", 1, 3), Unit(3, "Lok.rm", 2, 0)});
}

class DialogCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    sim_.Write("Modelle\\Haus.mod", "m");
    sim_.Write("Modelle\\Kirche.mod", "m");
    sim_.Write("GBO\\Bahnhof.gbo", "g");
    sim_.Write("Rollmaterial\\Wagen.rm", "r");
    sim_.Write("Rollmaterial\\Lok.rm", "r");
    sim_.Write("Anlagen\\Berg.anl", MixedLayout());
  }

  e2e::RunResult Zuvo(const std::vector<std::string>& args) { return RunZuvo(args, sim_.Options()); }

  layout::Layout Saved(const std::string& relative) {
    layout::Layout l;
    EXPECT_TRUE(l.LoadFromBytes(sim_.Read(relative)));
    return l;
  }

  TestInstallation sim_;
};

TEST_F(DialogCommandsTest, ShowPrintsWhatTheDialogShows) {
  sim_.Write("Anlagen\\Berg.danl",
             "[KamSet Nord]\r\nPX1=1\r\n[KamSet \xC4gypten]\r\nPX1=1\r\n[KamSet abend]\r\n"
             "[Zuvo]\r\nKamSet=Nord\r\nOberleitung=Kupfer.mod\r\n[Terrain1]\r\nName=Berg\r\n");
  e2e::RunResult run = Zuvo({"show", sim_.Native("Anlagen\\Berg.danl")});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(run.out,
            "Anlage: C:\\Sim\\Anlagen\\Berg.anl\n"
            "Kamera Set: Nord\n"
            "Kamera Sets: abend | Nord | \xC3\x84gypten\n"
            "Prellbock: \n"
            "Oberleitung: Kupfer.mod\n"
            "Leitpfosten: \n"
            "Bodentextur: \n"
            "Gen. Terrain: aktiv\n"
            "Ausw\xC3\xA4hlen Prellbock: aktiv\n"
            "Ausw\xC3\xA4hlen Oberleitung: aktiv\n"
            "Ausw\xC3\xA4hlen Leitpfosten: aktiv\n"
            "Ausw\xC3\xA4hlen Bodentextur: aktiv\n");

  sim_.MakeDirs("Modelle\\Berg");
  run = Zuvo({"show", "--json", sim_.Native("Anlagen\\Berg.anl")});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  nlohmann::ordered_json json = nlohmann::ordered_json::parse(run.out);
  EXPECT_EQ(json.dump(),
            "{\"layoutPath\":\"C:\\\\Sim\\\\Anlagen\\\\Berg.anl\",\"cameraSet\":\"Nord\","
            "\"cameraSets\":[\"abend\",\"Nord\",\"\xC3\x84gypten\"],\"bufferStop\":\"\","
            "\"catenary\":\"Kupfer.mod\",\"guidePost\":\"\",\"groundTexture\":\"\","
            "\"genTerrainEnabled\":false,\"chooseEnabled\":{\"Prellbock\":true,"
            "\"Oberleitung\":true,\"Leitpfosten\":true,\"Bodentextur\":true}}");
}

TEST_F(DialogCommandsTest, ShowWithoutKindFoldersOrInstallationAndAfterAFailedLoad) {
  TestInstallation bare(false);
  bare.MakeDirs("Leitpfosten");
  bare.Write("Anlagen\\Tal.anl", File({}, {}, {}));
  e2e::RunResult run = RunZuvo({"show", "--json", bare.Native("Anlagen\\Tal.anl")}, bare.Options());
  EXPECT_EQ(run.exitCode, 0) << run.err;
  nlohmann::json json = nlohmann::json::parse(run.out);
  EXPECT_EQ(json["chooseEnabled"],
            nlohmann::json::parse("{\"Prellbock\":false,\"Oberleitung\":false,\"Leitpfosten\":true,"
                                  "\"Bodentextur\":false}"));
  EXPECT_EQ(json["cameraSets"], nlohmann::json::array());
  EXPECT_EQ(json["genTerrainEnabled"], false);

  bare.SetRegistryCommand("");
  run = RunZuvo({"show", "--json", bare.Native("Anlagen\\Tal.anl")}, bare.Options());
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(nlohmann::json::parse(run.out)["chooseEnabled"]["Leitpfosten"], false);

  run = RunZuvo({"show", bare.Native("Anlagen\\Tal.txt")}, bare.Options());
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err, "falsche Endung: txt\n");
  EXPECT_EQ(run.out, "");
}

TEST_F(DialogCommandsTest, ListsAreByteExact) {
  e2e::RunResult run = Zuvo({"inventory", sim_.Native("Anlagen\\Berg.anl")});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, "Inventarliste wurde erstellt!\n");
  EXPECT_EQ(sim_.Read("Anlagen\\Inventarliste.txt"),
            "Immobilien:\r\nHaus.mod\r\nFehlt.mod\r\nKirche.mod\r\n"
            "\r\nGBOs:\r\nGBO\\Bahnhof.gbo\r\nGBO\\Fehlt.gbo\r\nGBO\\Weg.gbo\r\n"
            "\r\nRollmaterial:\r\nWagen.rm\r\nFehlt.rm\r\nLok.rm\r\n");

  run = Zuvo({"missing-list", sim_.Native("Anlagen\\Berg.danl")});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, "Fehlliste wurde erstellt!\n");
  EXPECT_EQ(sim_.Read("Anlagen\\Fehlliste.txt"),
            "Immobilien:\r\nFehlt.mod\r\n\r\nGBOs:\r\nGBO\\Fehlt.gbo\r\nGBO\\Weg.gbo\r\n"
            "\r\nRollmaterial:\r\nFehlt.rm\r\n");
  EXPECT_EQ(sim_.Read("Anlagen\\Berg.anl"), MixedLayout());

  // Without an installation the missing list is refused.
  sim_.SetRegistryCommand("Kantrelwick.exe");  // no folder at all
  run = Zuvo({"missing-list", sim_.Native("Anlagen\\Berg.anl")});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err, "Unbekannte oder fehlerhafte ZUVO Installation\n");
  EXPECT_EQ(run.out, "");
}

TEST_F(DialogCommandsTest, RemoveMissingSavesALayoutThatLoadsAgain) {
  const char* done[] = {"Fehlende Immobilien wurden gel\xC3\xB6scht!\n", "Fehlende GBOs wurden gel\xC3\xB6scht!\n",
                        "Fehlendes Rollmaterial wurde gel\xC3\xB6scht!\n"};
  int k = 0;
  for (const char* kind : {"real-estate", "gbos", "rolling-stock"}) {
    e2e::RunResult run = Zuvo({"--yes", "remove-missing", kind, sim_.Native("Anlagen\\Berg.anl")});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, done[k++]);
    EXPECT_EQ(run.err, "");
  }
  // It loads again, and holds exactly the records left, references cleared.
  EXPECT_EQ(Saved("Anlagen\\Berg.anl").CountLiveModels(), 3);
  EXPECT_EQ(sim_.Read("Anlagen\\Berg.anl"),
            File({Gbo(1, "GBO\\Bahnhof.gbo", 0), [] {
                    layout_bytes::Track t = Gbo(2, "", 3);
                    t.type = 7;
                    t.name = "Gleis";
                    return t;
                  }(),
                  [] {
                    layout_bytes::Track t = Gbo(3, "", 0);
                    t.type = 1;
                    t.name = "Gleis";
                    return t;
                  }()},
                 {Model(1, "Haus"), Model(1, "Kirche"), Model(4, "haus")},
                 {Unit(1, "Wagen.rm", 0, 0), Unit(3, "Lok.rm", 0, 0)}));
  EXPECT_EQ(sim_.List("Anlagen"), std::vector<std::string>{"Berg.anl"});
}

TEST_F(DialogCommandsTest, AFailedSaveOrListIsNotReportedAsDone) {
  e2e::RunOptions options = sim_.Options();
  options.environment.push_back("ZUVO_FAULTS=create:1");
  e2e::RunResult run = RunZuvo({"inventory", sim_.Native("Anlagen\\Berg.anl")}, options);
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "Datei Inventarliste.txt kann nicht ge\xC3\xB6" "ffnet werden!\n");
  EXPECT_FALSE(sim_.Exists("Anlagen\\Inventarliste.txt"));

  run = RunZuvo({"--yes", "remove-missing", "real-estate", sim_.Native("Anlagen\\Berg.anl")}, options);
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "Can't open C:\\Sim\\Anlagen\\Berg.anl!\n");
  EXPECT_EQ(sim_.Read("Anlagen\\Berg.anl"), MixedLayout());
  EXPECT_EQ(sim_.List("Anlagen"), std::vector<std::string>{"Berg.anl"});
}

TEST_F(DialogCommandsTest, QuestionsWithoutATerminalAreAnsweredNo) {
  for (const char* kind : {"rolling-stock", "gbos", "real-estate"}) {
    e2e::RunResult run = Zuvo({"remove-missing", kind, sim_.Native("Anlagen\\Berg.anl")});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find(" in der Anlage l\xC3\xB6schen? Nein"), std::string::npos) << run.err;
  }
  EXPECT_EQ(sim_.Read("Anlagen\\Berg.anl"), MixedLayout());
}

TEST_F(DialogCommandsTest, RemoveMissingRefusesAnUnknownInstallation) {
  sim_.SetRegistryCommand("");
  for (const char* kind : {"rolling-stock", "gbos", "real-estate"}) {
    e2e::RunResult run = Zuvo({"--yes", "remove-missing", kind, sim_.Native("Anlagen\\Berg.anl")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "Unbekannte oder fehlerhafte ZUVO Installation\n");
    EXPECT_EQ(run.out, "");
  }
  EXPECT_EQ(sim_.Read("Anlagen\\Berg.anl"), MixedLayout());

  // --host names the installation instead of the registry.
  e2e::RunResult run = Zuvo({"--yes", "--host", sim_.Native(""), "remove-missing", "gbos",
                             sim_.Native("Anlagen\\Berg.anl")});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(Saved("Anlagen\\Berg.anl").tracks[2].name, "Gleis");

  run = Zuvo({"remove-missing", "houses", sim_.Native("Anlagen\\Berg.anl")});
  EXPECT_EQ(run.exitCode, 2);
}

TEST_F(DialogCommandsTest, DeleteCameraSet) {
  const std::string settings = "[KamSet \xC4gypten]\r\nPX1=1\r\n\r\n[Zuvo]\r\nKamSet=\xC4gypten\r\n";
  sim_.Write("Anlagen\\Berg.danl", settings);
  e2e::RunResult run = Zuvo({"delete-camera-set", sim_.Native("Anlagen\\Berg.anl"), "\xC3\x84gypten"});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.err, "L\xC3\xB6sche Kamera Set \xC3\x84gypten ? Nein (keine Eingabe m\xC3\xB6glich; --yes "
                     "beantwortet Fragen mit Ja)\n");
  EXPECT_EQ(sim_.Read("Anlagen\\Berg.danl"), settings);

  run = Zuvo({"--yes", "delete-camera-set", sim_.Native("Anlagen\\Berg.anl"), "\xC3\x84gypten"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(sim_.Read("Anlagen\\Berg.danl"), "[Zuvo]\r\nKamSet=\xC4gypten\r\n");

  run = Zuvo({"--yes", "delete-camera-set", sim_.Native("Anlagen\\Fehlt.anl"), "Nord"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_FALSE(sim_.Exists("Anlagen\\Fehlt.danl"));
}

TEST_F(DialogCommandsTest, StandardPutsTheDefaultsBack) {
  sim_.Write("Prellbock\\Prellbock.mod", "eigener Prellbock");
  sim_.Write("Mods\\Prellbock.mod", "Rot");
  e2e::RunResult run = Zuvo({"standard"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out + run.err, "");
  EXPECT_EQ(sim_.Read("Mods\\Prellbock.mod"), "eigener Prellbock");
}

}  // namespace
