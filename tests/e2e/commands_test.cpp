// Every zuvo command as a user runs it on a test installation found through
// the Wine prefix's registry: exit status, output and messages; what fails,
// is refused or is answered "no" changes no file (and runs no simulator).
// The JSON that scripts read, checked against the repository's schema.
#include <cstdlib>
#include <nlohmann/json.hpp>

#include "e2e/installation.h"
#include "layout/layout_bytes.h"
#include "terrain/terrain_test_support.h"

namespace e2e {
namespace {

TEST_F(InstallationTest, ExitStatusAndMessagesOfEveryCommand) {
  // A layout typed as a Unix path gets Unix paths in what zuvo says.
  const auto T = [this](const std::string& text) { return Typed(text); };
  WriteMixedLayout();
  layout_bytes::Track t;
  t.id = 7;
  t.name = "G";
  std::string bad = layout_bytes::File({t}, {}, {});
  bad[46] = 8;  // the track's check id
  Write("Anlagen\\Bad.anl", bad);
  Write("Prellbock\\Prellbock.mod", "Standard");
  Write("Anlagen\\Ost.anl", layout_bytes::File({}, {}, {}));
  Write("Anlagen\\h.bmp", terrain_test::MakeBitmap(4, 4, [](int x, int) { return terrain_test::HeightPixel(x); }));
  Write("Anlagen\\Ost.danl",
        CrLf({"[KamSet \xC4gypten]", "PX1=1", "[Zuvo]", "KamSet=\xC4gypten", "[Terrain Nord]", "Name=Nord",
              "Hoehe=h.bmp", "Farbe=h.bmp", "Pixelgroesse=1", "Kachelgroesse=2", "Kachelabstand=2"}));
  // Test.danl: a terrain drawn, one whose name is no file name, one refused.
  WriteSettings({"[Terrain Nord]", "Name=Nord", "Hoehe=h.bmp", "Farbe=h.bmp", "Pixelgroesse=1",
                 "[Terrain\\..\\..\\Weg]", "Hoehe=h.bmp", "Farbe=h.bmp", "Pixelgroesse=1", "[Terrain Gr\xFCn]",
                 "Hoehe=h.bmp", "Farbe=h.bmp", "Pixelgroesse=1"});
  Write("Anlagen\\Utf.anl", Read("Anlagen\\Ost.anl"));
  ASSERT_EQ(Zuvo({"map", Native("Anlagen\\Berg.anl"), "--output", Native("Karte.svg")}).exitCode, 0);
  const std::string svg = Read("Karte.svg");  // what "-o -" prints instead
  ASSERT_NE(svg.find("<svg"), std::string::npos);
  Write("Anlagen\\Utf.danl", "[KamSet \xC3\x84gypten]\r\nPX1=1\r\n\r\n[KamSet Nord]\r\nPX1=2\r\n");
  const std::string berg = Native("Anlagen\\Berg.anl"), ost = Native("Anlagen\\Ost.anl"), test = Layout(),
                    unknown = "Unbekannte oder fehlerhafte ZUVO Installation\nGesucht wurde im Wine-Prefix " +
                              Prefix() + " (Datei " + Prefix() +
                              "/system.reg), Schl\xC3\xBCssel HKEY_LOCAL_MACHINE\\SOFTWARE\\"
                              "Classes\\Kantrelwick\\shell\\open\\command; --host ORDNER nennt den "
                              "Installationsordner direkt.\n",
                    no = " Nein (keine Eingabe m\xC3\xB6glich; --yes beantwortet Fragen mit Ja)\n",
                    stop = "Abgebrochen.\n", defaults = "Prellbock: Prellbock.mod installiert\n",
                    installed = "Oberleitung: Oberleitung.mod installiert\nLeitpfosten: ",
                    grass = " installiert\nBodentextur: Grass.bmp installiert\n";
  const struct {
    std::vector<std::string> args;
    int exitCode;
    std::string out, err;
    bool changes = false;
    std::string registry = "\"C:\\Sim\\Kantrelwick.exe\" \"%1\"";
  } cases[] = {
      // The reader's checks one by one only with --verbose.
      {Args{"resave", Native("Anlagen\\Bad.anl")}, 1, "",
       "Gleis Nr. 7 fehlerhaft!\nFehlgeschlagene Pr\xC3\xBC"
       "fungen der Anlagendatei: 1 (--verbose zeigt sie).\n"},
      {Args{"--verbose", "resave", Native("Anlagen\\Bad.anl")}, 1, "", "I: 8 S: 7\nGleis Nr. 7 fehlerhaft!\n"},
      {Args{"missing-list", Native("Anlagen\\Bad.anl")}, 1, "", unknown, false,
       ""},  // the cause, nothing of the layout
      {Args{"remove-missing", "rolling-stock", berg}, 1, stop,
       "Fehlendes Rollmaterial in der Anlage l\xC3\xB6schen?" + no},
      {Args{"delete-camera-set", ost, "\xC3\x84gypten"}, 1, stop, "L\xC3\xB6sche Kamera Set \xC3\x84gypten ?" + no},
      {Args{"--yes", "delete-camera-set", ost, "Nord"}, 1, "",
       T("Kamera Set Nord gibt es nicht in C:\\Sim\\Anlagen\\Ost.danl!\n")},
      {Args{"remove-missing", "--dry-run", "rolling-stock", berg}, 0, "Rollmaterial zu entfernen: 1\n  Fehlt.rm\n", ""},
      {Args{"start", test}, 1, "", T("Installationsordner C:\\Fehlt gibt es nicht.\n"), false,
       "C:\\Fehlt\\Kantrelwick.exe"},
      // A choice is a file name of its kind folder: a missing one stops (1), a path is misused (2).
      {Args{"start", test, "--buffer-stop", "Rot.mod"}, 1, "",
       T("--buffer-stop: \"Rot.mod\" gibt es nicht in C:\\Sim\\Prellbock\nVorhanden: Holz.mod, Prellbock.mod\n")},
      {Args{"start", test, "--catenary", "..\\Prellbock\\Holz.mod"}, 2, "",
       T("--catenary nimmt nur einen Dateinamen aus C:\\Sim\\Oberleitung, keinen Pfad: \"..\\Prellbock\\Holz.mod\"\n"
         "Vorhanden: Kette.mod\n")},
      // A camera set named as an existing one in another case is refused.
      {Args{"start", ost, "--camera-set", "\xC3\xA4GYPTEN"}, 1, "",
       T("Kamera Set \xC3\xA4GYPTEN gibt es nicht in C:\\Sim\\Anlagen\\Ost.danl. Meinten Sie \"\xC3\x84gypten\"? "
         "(Gro\xC3\x9F- und Kleinschreibung z\xC3\xA4hlt)\n")},
      {Args{"terrain", "--preview", test}, 1,
       T("Terrainvorschau geschrieben: C:\\Sim\\Anlagen\\Terrain Nord.svg\nTerrainvorschau geschrieben: "
         "C:\\Sim\\Anlagen\\Terrain Gr\xC3\xBCn.svg\n"),
       "[Terrain\\..\\..\\Weg]:Der Abschnittsname taugt nicht als Dateiname der Vorschau!\n[Terrain Gr\xC3\xBCn]:Name "
       "muss gesetzt sein!\n",
       true},
      {Args{"terrain", berg}, 1, "", "Die Einstellungen beschreiben kein Terrain, es wird nichts generiert!\n"},
      {Args{"terrain", ost}, 0,
       T("Terrain Nord: 4 Kacheln in C:\\Sim\\Modelle\\Nord\nTerraingenerierung abgeschlossen!\n"), "", true},
      {Args{"map", berg}, 0, T("Karte wurde erstellt: C:\\Sim\\Anlagen\\Berg.svg\n"), "", true},
      {Args{"map", "-o", "-", berg}, 0, svg, ""},
      // A layout typed as a Windows path: Windows paths, whatever --host is.
      {Args{"--host", Native(), "map", "C:\\Sim\\Anlagen\\Berg.anl"}, 0,
       "Karte wurde erstellt: C:\\Sim\\Anlagen\\Berg.svg\n", "", true},
      {Args{"map", berg, "-o", Native("Anlagen\\Test.DANL")}, 1, "", "falsche Endung: DANL\n"},
      {Args{"inventory", berg}, 0,
       T("Inventarliste wurde erstellt!\nGeschrieben: C:\\Sim\\Anlagen\\Inventarliste.txt\n"), "", true},
      {Args{"resave", berg}, 0, T("Gespeichert: C:\\Sim\\Anlagen\\Berg.anl\n"), "", true},  // and a version kept
      {Args{"--yes", "--host", Native(), "remove-missing", "gbos", berg}, 0,
       T("Vorige Fassung im Verlauf: Fassung 1 in C:\\Sim\\Anlagen\\StartZUVO-Verlauf\\Berg\n"
         "GBOs entfernt: 1, gespeichert: C:\\Sim\\Anlagen\\Berg.anl\n"),
       "", true},
      {Args{"--yes", "delete-camera-set", ost, "\xC3\x84gypten"}, 0,
       T("Kamera Set \xC3\x84gypten gel\xC3\xB6scht: C:\\Sim\\Anlagen\\Ost.danl\n"), "", true},
      {Args{"--yes", "delete-camera-set", Native("Anlagen\\Utf.anl"), "Nord"}, 0,
       T("Kamera Set Nord gel\xC3\xB6scht: C:\\Sim\\Anlagen\\Utf.danl\n"),
       T("C:\\Sim\\Anlagen\\Utf.danl ist in UTF-8 geschrieben und wurde so gelesen; gespeichert wird sie in "
         "Windows-1252.\n"),
       true},
      // Neither a layout nor --host typed: the registry's Windows form.
      {Args{"repair"}, 0, "Nichts wiederherzustellen: kein Laufprotokoll in C:\\Sim\\.\n", ""},
      {Args{"--host", Native(), "repair"}, 0, T("Nichts wiederherzustellen: kein Laufprotokoll in C:\\Sim\\.\n"), ""},
      {Args{"standard"}, 0, defaults, "", true},
      {Args{"--host", Native("Anlagen"), "standard"}, 0, "Keine Standard-Dateien gesichert: nichts installiert.\n", ""},
      {Args{"--host", Native(), "start", "--guide-post", "gelb.MOD", test}, 0,
       defaults + installed + "gelb.MOD" + grass + kRunning, "", true, ""},  // the last
  };
  const Tree before = SnapshotTree(Native());
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.args));
    RestoreTree(Native(), before);
    SetRegistryCommand(c.registry);
    RunResult run = Zuvo(c.args);
    EXPECT_EQ(run.exitCode, c.exitCode);
    EXPECT_EQ(WithoutPid(run.out), c.out);
    EXPECT_EQ(run.err, c.err);
    EXPECT_EQ(SnapshotTree(Native()) != before, c.changes);
    const bool start = std::find(c.args.begin(), c.args.end(), "start") != c.args.end();
    EXPECT_EQ(Exists(stand_in::kLogFileName), start && c.exitCode == 0) << "the simulator ran";
  }
  EXPECT_EQ(OnlyRun().Get("Argument 1"), host_ + "Anlagen\\Test.anl");  // the last row's run
}

// What the console itself decides: the forms of a path, --host, usage errors,
// the hints after a message (stdout must hold `out`, stderr end with `err`);
// show tells what a start installs for an unset choice, and what each kind's folder offers.
TEST_F(InstallationTest, PathsUsageErrorsAndHints) {
  WriteSettings({"[Zuvo]", "Prellbock=Holz.mod"});
  layout_bytes::Unit lok;
  lok.name = "Lok.dll", lok.extra = "12345";  // extra data, but no data sheet gives its length
  Write("Anlagen\\Lok.anl", layout_bytes::File({}, {}, {lok}));
  const std::string usage = "Aufruf: zuvo [OPTIONEN] BEFEHL\n\"zuvo --help\" zeigt die Hilfe.\n",
                    show = "Aufruf: zuvo show [OPTIONEN] ANLAGE\n\"zuvo show --help\" zeigt die Hilfe.\n",
                    forms =
                        " M\xC3\xB6glich sind ein Unix-Pfad (Anlagen/Demo.anl, /home/...) und ein Windows-Pfad mit "
                        "Laufwerk (\"C:\\...\" oder \"C:/...\").\n",
                    unset = ": (nicht gesetzt, es gilt die Standard-Datei ";
  const struct {
    std::vector<std::string> args;
    int exitCode;
    std::string out, err;
  } cases[] = {
      {Args{"--host", "c:\\Sim\\Anlagen\\..", "show", "C:\\Sim\\Anlagen\\Test.danl"}, 0,
       "Anlage: C:\\Sim\\Anlagen\\Test.anl\n", ""},
      {Args{"show", Layout()}, 0,
       "Prellbock: Holz.mod\n  Vorhanden: Holz.mod\nOberleitung" + unset +
           "Oberleitung.mod)\n  Vorhanden: Kette.mod\n"
           "Leitpfosten" +
           unset + "Leitpfosten.mod)\n  Vorhanden: Gelb.mod\nBodentextur" + unset +
           "Grass.bmp)\n  Vorhanden: Sand.bmp\nGen. Terrain: ",
       ""},
      {Args{"--host", Native("Anlagen"), "show", Layout()}, 0,
       Typed("Oberleitung: (nicht gesetzt, ohne Ordner wird nichts installiert)\n"
             "  Vorhanden: Ordner C:\\Sim\\Anlagen\\Oberleitung fehlt\n"),
       ""},
      {Args{"show", "D:\\Test.anl"}, 1, "",
       "Das Laufwerk D: gibt es nicht (kein Eintrag " + Prefix() + "/dosdevices/d:).\n"},
      {Args{"show", "Anlagen\\Test.anl"}, 1, "", "\"Anlagen\\Test.anl\" ist unter Windows kein Name." + forms},
      {Args{"--host", "C:/Fehlt", "standard"}, 2, "", "--host: C:\\Fehlt gibt es nicht.\n"},
      {Args{"--host", "", "standard"}, 2, "", "Kein Pfad angegeben.\n"},
      {Args{"--host", Layout(), "standard"}, 2, "", Typed("--host: C:\\Sim\\Anlagen\\Test.anl ist kein Ordner.\n")},
      {Args{"resave", Native("Anlagen\\Lok.anl")}, 1, "",
       Typed("Dll-Modell \"Lok.dll\" kann nicht benutzt werden!\nDas Datenblatt "
             "C:\\Sim\\Rollmaterial\\Datenbl\xC3\xA4tter\\Lok.txt fehlt.\nFehlgeschlagene Pr\xC3\xBC"
             "fungen der Anlagendatei: 1 (--verbose zeigt sie).\n")},
      {Args{"--yes", "shwo", "x"}, 2, "", "Unbekannter Befehl \"shwo\". Meinten Sie \"show\"?\n" + usage},
      {Args{"zeigen"}, 2, "", "Unbekannter Befehl \"zeigen\".\n" + usage},
      {Args{"show", "--jsn", "x"}, 2, "", "Unbekannte Option \"--jsn\". Meinten Sie \"--json\"?\n" + show},
      {Args{"help", "strat"}, 2, "",
       "Unbekannter Befehl \"strat\". Meinten Sie \"start\"?\nAufruf: zuvo help [OPTIONEN] [BEFEHL]\n"
       "\"zuvo help --help\" zeigt die Hilfe.\n"},
      {Args{"-V"}, 0, "zuvo (StartZUVO) 1.2.0\n", ""},
      {Args{}, 2, "", "Es fehlt ein Befehl.\n" + usage},
      {Args{"--host"}, 2, "", "Bei --host fehlt der Wert.\n" + usage},
      {Args{"--yes=vielleicht"}, 2, "", "Ung\xC3\xBCltiger Wert f\xC3\xBCr --yes.\n" + usage},
      {Args{"dump", "a", "b"}, 2, "",
       "Unerwartete Argumente: b.\nAufruf: zuvo dump [OPTIONEN] ANLAGE\n\"zuvo dump --help\" zeigt die Hilfe.\n"},
      {Args{"delete-camera-set", "a"}, 2, "",
       "NAME fehlt.\nAufruf: zuvo delete-camera-set [OPTIONEN] ANLAGE NAME\n"
       "\"zuvo delete-camera-set --help\" zeigt die Hilfe.\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.args));
    RunResult run = Zuvo(c.args);
    EXPECT_EQ(run.exitCode, c.exitCode);
    EXPECT_NE(run.out.find(c.out), std::string::npos) << run.out;
    EXPECT_EQ(run.err.substr(run.err.size() - std::min(run.err.size(), c.err.size())), c.err);
    EXPECT_EQ(run.err.empty(), c.err.empty()) << run.err;
  }
}

// Every help text in German, as "zuvo COMMAND --help" ("-h" and "zuvo help
// COMMAND" for show) prints it; the program's own names the exit statuses.
TEST_F(InstallationTest, HelpIsGermanThroughout) {
  std::vector<Args> calls = {{"--help"}, {"show", "-h"}, {"help", "show"}};
  for (const char* command :
       {"show", "start", "delete-camera-set", "standard", "remove-missing", "inventory", "missing-list", "terrain",
        "resave", "dump", "map", "repair", "help", "history", "restore"}) {
    calls.push_back({command, "--help"});
  }
  std::string all;
  for (const auto& args : calls) {
    const RunResult run = Zuvo(args);
    EXPECT_EQ(run.exitCode + run.err.size(), 0u) << run.err;
    const std::string command = args[0] == "--help" ? "" : (args[1][0] != '-' ? args[1] : args[0]) + " ";
    EXPECT_NE(run.out.find("\nAufruf: zuvo " + command + "[OPTIONEN]"), std::string::npos) << run.out;
    all += run.out;
  }
  for (const char* english : {"REQUIRED", "Print", "Usage", "is required", "Options", "OPTIONS", "TEXT", "Positionals",
                              "ubcommand", "FILE", "\n\n\n"}) {
    EXPECT_EQ(all.find(english), std::string::npos) << english;
  }
  for (const char* part :
       {"$WINEPREFIX, ohne WINEPREFIX in ~/.wine; --host ORDNER", ", 128+N nach Signal N.\n",
        "2 fehlerhafter Aufruf, 3 Simulator abgest\xC3\xBCrzt oder mit Status ungleich 0 beendet\n"}) {
    EXPECT_NE(all.find(part), std::string::npos) << part;
  }
}

const char kValidate[] =
    "import json, sys, jsonschema\n"
    "schema = json.load(open(sys.argv[1]))\n"
    "jsonschema.Draft202012Validator.check_schema(schema)\n"
    "errors = jsonschema.Draft202012Validator(schema).iter_errors(json.load(open(sys.argv[2])))\n"
    "sys.exit(1 if any(True for e in errors) else 0)\n";

// show --json, dump and history --json, with and without a known installation, by
// python3's jsonschema.
TEST_F(InstallationTest, JsonOutputFollowsTheSchema) {
  WriteMixedLayout();
  Write("Prellbock\\eisen.MOD", "x");              // listed, ignoring case in the pattern and the order
  Write("Prellbock\\Liste.txt", "x");              // not of the kind's file type
  dir_.MakeDirs(Inside("Prellbock\\Ordner.mod"));  // not a file
  Write("Anlagen\\Test.danl", "[KamSet Nord]\r\nPX1=1\r\n[Zuvo]\r\nLeitpfosten=Gelb.mod\r\n");
  const std::string registry = "\"C:\\Sim\\Kantrelwick.exe\" \"%1\"", berg = Native("Anlagen\\Berg.anl");
  Write("Anlagen\\Hist.anl", Read("Anlagen\\Berg.anl"));  // a version in its history
  ASSERT_EQ(Zuvo({"--yes", "remove-missing", "real-estate", Native("Anlagen\\Hist.anl")}).exitCode, 0);
  const struct {
    std::vector<std::string> args;
    std::string registry;
    const char* values;  // of the output, by JSON pointer
  } cases[] = {
      {Args{"show", "--json", Layout()}, registry,
       R"({"/installation":"C:\\Sim\\","/cameraSet":null,"/guidePost":"Gelb.mod","/availableFiles":)"
       R"({"bufferStop":["eisen.MOD","Holz.mod"],"catenary":["Kette.mod"],"guidePost":["Gelb.mod"],)"
       R"("groundTexture":["Sand.bmp"]}})"},
      {Args{"show", "--json", Layout()}, "", R"({"/installation":null})"},
      {Args{"dump", berg}, registry, R"({"/installation":"C:\\Sim\\"})"},
      {Args{"history", "--json", Native("Anlagen\\Hist.anl")}, "",
       R"({"/versions/0/number":1,"/versions/0/models":2})"},
  };
  const std::string schemaCheck = "python3 -c '" + std::string(kValidate) + "' " + ZUVO_SCHEMA + " ";
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.args) + c.registry);
    SetRegistryCommand(c.registry);
    RunResult run = Zuvo(c.args);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const nlohmann::json output = nlohmann::json::parse(run.out, nullptr, false),
                         values = nlohmann::json::parse(c.values);
    for (auto value = values.begin(); value != values.end(); ++value) {
      EXPECT_EQ(output.value(nlohmann::json::json_pointer(value.key()), nlohmann::json()), value.value())
          << value.key();
    }
    dir_.Write("out.json", run.out);
    EXPECT_EQ(std::system((schemaCheck + dir_.NativePath("out.json")).c_str()), 0) << run.out;
  }
}

}  // namespace
}  // namespace e2e
