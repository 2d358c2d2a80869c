// Every zuvo command as a user runs it on a test installation found through
// the Wine prefix's registry: exit status, output and messages; what fails,
// is refused or is answered "no" changes no file (and runs no simulator).
#include "e2e/installation.h"
#include "layout/layout_bytes.h"
#include "terrain/terrain_test_support.h"

namespace e2e {
namespace {

TEST_F(InstallationTest, ExitStatusAndMessagesOfEveryCommand) {
  WriteMixedLayout();
  layout_bytes::Track t;
  t.id = 7;
  t.name = "G";
  std::string bad = layout_bytes::File({t}, {}, {});
  bad[46] = 8;  // the track's check id
  Write("Anlagen\\Bad.anl", bad);
  Write("Prellbock\\Prellbock.mod", "Standard");
  std::vector<layout_bytes::Model> twice(2);
  twice[0].id = 1, twice[1].id = 2, twice[0].name = twice[1].name = "Fehlt";
  Write("Anlagen\\Zwei.anl", layout_bytes::File({}, twice, {}));  // and two terrains
  Write("Anlagen\\Ost.anl", layout_bytes::File({}, {}, {}));
  Write("Anlagen\\h.bmp", terrain_test::MakeBitmap(4, 4, [](int x, int) { return terrain_test::HeightPixel(x); }));
  const std::string terrain = "Hoehe=h.bmp\r\nFarbe=h.bmp\r\nPixelgroesse=1\r\nKachelgroesse=2\r\nKachelabstand=";
  Write("Anlagen\\Zwei.danl", "[Terrain Nord]\r\nName=Nord\r\n" + terrain +
                                  "2\r\n[Terrain S\xFC"
                                  "d]\r\nName=S\r\n" +
                                  terrain + "1\r\n");
  Write("Anlagen\\Ost.danl", "[KamSet \xC4gypten]\r\nPX1=1\r\n\r\n[Zuvo]\r\nKamSet=\xC4gypten\r\n");
  const std::string berg = Native("Anlagen\\Berg.anl"), ost = Native("Anlagen\\Ost.anl"),
                    bad_ = Native("Anlagen\\Bad.anl"), zwei = Native("Anlagen\\Zwei.anl"), test = Layout(),
                    unknown = "Unbekannte oder fehlerhafte ZUVO Installation\n" + NoInstallationHint(),
                    can = "Can't open C:\\Sim\\Anlagen\\",
                    no = " Nein (keine Eingabe m\xC3\xB6glich; --yes beantwortet Fragen mit Ja)\n",
                    backup = "Vorige Fassung im Verlauf: Fassung 1 in C:\\Sim\\Anlagen\\StartZUVO-Verlauf\\Berg\n",
                    saved = ", gespeichert: C:\\Sim\\Anlagen\\", stop = "Abgebrochen.\n",
                    defaults = "Prellbock: Prellbock.mod installiert\n", fehlt = "C:\\Fehlt\\Kantrelwick.exe",
                    gone = "Installationsordner C:\\Fehlt gibt es nicht.\n";
  const std::vector<std::string> createFails = {"ZUVO_FAULTS=create:1"};
  const struct {
    std::vector<std::string> args;
    int exitCode;
    std::string out, err;
    bool changes = false;
    std::vector<std::string> env = {};
    std::string registry = "\"C:\\Sim\\Kantrelwick.exe\" \"%1\"";
  } cases[] = {
      // The reader's checks one by one only with --verbose.
      {{"resave", bad_},
       1,
       "",
       "Gleis Nr. 7 fehlerhaft!\nFehlgeschlagene Pr\xC3\xBC"
       "fungen der Anlagendatei: 1 (--verbose "
       "zeigt sie).\n"},
      {{"--verbose", "resave", bad_}, 1, "", "I: 8 S: 7\nGleis Nr. 7 fehlerhaft!\n"},
      {{"missing-list", bad_}, 1, "", unknown, false, {}, ""},  // the cause, and nothing of the layout
      {{"dump", Native("Anlagen\\Fehlt.anl")}, 1, "", can + "Fehlt.anl!\nGrund: Die Datei gibt es nicht.\n"},
      {{"show", Native("Anlagen\\Berg.txt")}, 1, "", "falsche Endung: txt\n"},
      {{"dump"}, 2, "", ""},
      {{"remove-missing", "houses", berg}, 2, "", ""},
      {{"resave", berg},
       1,
       "",
       "Fehler beim Schreiben von C:\\Sim\\Anlagen\\Berg.anl!\n",
       true,
       {"ZUVO_FAULTS=write:3"}},  // the layout as it was is in its history (its file and the index written)
      {{"inventory", berg},
       1,
       "",
       "Datei Inventarliste.txt kann nicht ge\xC3\xB6"
       "ffnet werden!\n",
       false,
       createFails},
      {{"--yes", "remove-missing", "real-estate", berg},
       1,
       "",
       "Verzeichnis C:\\Sim\\Anlagen\\StartZUVO-Verlauf kann nicht angelegt werden!\n",
       false,
       {"ZUVO_FAULTS=mkdir:1"}},
      {{"remove-missing", "rolling-stock", berg}, 1, stop, "Fehlendes Rollmaterial in der Anlage l\xC3\xB6schen?" + no},
      {{"remove-missing", "real-estate", berg}, 1, stop, "Fehlende Immobilien in der Anlage l\xC3\xB6schen?" + no},
      {{"delete-camera-set", ost, "\xC3\x84gypten"}, 1, stop, "L\xC3\xB6sche Kamera Set \xC3\x84gypten ?" + no},
      {{"--yes", "delete-camera-set", ost, "Nord"},
       1,
       "",
       "Kamera Set Nord gibt es nicht in C:\\Sim\\Anlagen\\Ost.danl!\n"},
      {{"remove-missing", "--dry-run", "rolling-stock", berg}, 0, "Rollmaterial zu entfernen: 1\n  Fehlt.rm\n", ""},
      {{"remove-missing", "gbos", "--dry-run", berg}, 0, "GBOs zu entfernen: 1\n  GBO\\Fehlt.gbo\n", ""},
      {{"remove-missing", "--dry-run", "real-estate", berg}, 1, "", unknown, false, {}, ""},
      {{"--host", Native("Anlagen"), "remove-missing", "--dry-run", "rolling-stock", berg},
       1,
       "",
       "Ordner C:\\Sim\\Anlagen\\Rollmaterial fehlt, es wird nichts gel\xC3\xB6scht!\n"},
      {{"remove-missing", "--dry-run", "real-estate", zwei},
       0,
       "Immobilien zu entfernen: 2\n  Fehlt.mod\n",
       ""},                                                                    // named as the missing list names it
      {{"missing-list", berg}, 1, "", unknown, false, {}, "Kantrelwick.exe"},  // no folder at all
      {{"standard"}, 1, "", gone, false, {}, fehlt},
      {{"start", test}, 1, "", gone, false, {}, fehlt},
      // A choice is a file name of its kind folder: a missing one stops (1), a path is misused (2).
      {{"start", test, "--buffer-stop", "Rot.mod"},
       1,
       "",
       "--buffer-stop: \"Rot.mod\" gibt es nicht in C:\\Sim\\Prellbock\nVorhanden: Holz.mod, Prellbock.mod\n"},
      {{"start", test, "--ground-texture", "Holz.mod"},
       1,
       "",
       "--ground-texture: \"Holz.mod\" gibt es nicht in C:\\Sim\\Bodentextur\nVorhanden: Sand.bmp\n"},
      {{"start", test, "--catenary", "..\\Prellbock\\Holz.mod"},
       2,
       "",
       "--catenary nimmt nur einen Dateinamen aus C:\\Sim\\Oberleitung, keinen Pfad: \"..\\Prellbock\\Holz.mod\"\n"
       "Vorhanden: Kette.mod\n"},
      {{"start", test, "--guide-post", "../Anlagen/Berg.anl"},
       2,
       "",
       "--guide-post nimmt nur einen Dateinamen aus C:\\Sim\\Leitpfosten, keinen Pfad: \"../Anlagen/Berg.anl\"\n"
       "Vorhanden: Gelb.mod\n"},
      {{"--host", Native("Anlagen"), "start", test, "--catenary", "Kette.mod"},
       1,
       "",
       "--catenary: \"Kette.mod\" gibt es nicht in C:\\Sim\\Anlagen\\Oberleitung\n"
       "Vorhanden: Ordner C:\\Sim\\Anlagen\\Oberleitung fehlt\n"},
      // A camera set named as an existing one in another case is refused; a new one is named as new.
      {{"start", ost, "--camera-set", "\xC3\xA4GYPTEN"},
       1,
       "",
       "Kamera Set \xC3\xA4GYPTEN gibt es nicht in C:\\Sim\\Anlagen\\Ost.danl. Meinten Sie \"\xC3\x84gypten\"? "
       "(Gro\xC3\x9F- und Kleinschreibung z\xC3\xA4hlt)\n"},
      {{"start", "--camera-set", "Neu", ost},
       0,
       defaults +
           "Oberleitung: Oberleitung.mod installiert\nLeitpfosten: Leitpfosten.mod installiert\n"
           "Bodentextur: Grass.bmp installiert\n" +
           kRunning + "Neues Kamera Set Neu gespeichert: C:\\Sim\\Anlagen\\Ost.danl\n",
       "",
       true},
      {{"terrain", "--preview", berg}, 0, "Die Einstellungen beschreiben kein Terrain.\n", ""},
      {{"terrain", berg}, 1, "", "Die Einstellungen beschreiben kein Terrain, es wird nichts generiert!\n"},
      {{"terrain", zwei},
       1,
       "Terrain Nord: 4 Kacheln in C:\\Sim\\Modelle\\Nord\n",
       "Fehler beim Schreiben von C:\\Sim\\Modelle\\S\\bmp0_0.mod!\n",
       true,
       {"ZUVO_FAULTS=write:5"}},  // none for the section cut short
      {{"terrain", zwei},
       0,
       "Terrain Nord: 4 Kacheln in C:\\Sim\\Modelle\\Nord\n"
       "Terrain S\xC3\xBC"
       "d: 16 Kacheln in C:\\Sim\\Modelle\\S\nTerraingenerierung abgeschlossen!\n",
       "",
       true},
      {{"map", berg}, 0, "Karte wurde erstellt: C:\\Sim\\Anlagen\\Berg.svg\n", "", true},
      {{"map", berg, "-o", Native("Karte.svg")}, 0, "Karte wurde erstellt: C:\\Sim\\Karte.svg\n", "", true},
      {{"map", berg, "-o", Native("Anlagen\\Test.DANL")}, 1, "", "falsche Endung: DANL\n"},
      {{"inventory", berg},
       0,
       "Inventarliste wurde erstellt!\nGeschrieben: C:\\Sim\\Anlagen\\Inventarliste.txt\n",
       "",
       true},
      {{"resave", berg},
       0,
       "Gespeichert: C:\\Sim\\Anlagen\\Berg.anl\n",
       "",
       true},  // the same bytes, and a version kept
      {{"--yes", "remove-missing", "real-estate", berg},
       0,
       backup + "Immobilien entfernt: 1" + saved + "Berg.anl\n",
       "",
       true},
      {{"--yes", "--host", Native(), "remove-missing", "gbos", berg},
       0,
       backup + "GBOs entfernt: 1" + saved + "Berg.anl\n",
       "",
       true},
      {{"--yes", "remove-missing", "rolling-stock", ost},
       0,
       "Vorige Fassung im Verlauf: Fassung 1 in C:\\Sim\\Anlagen\\StartZUVO-Verlauf\\Ost\n"
       "Rollmaterial entfernt: 0" +
           saved + "Ost.anl\n",
       "",
       true},
      {{"--yes", "delete-camera-set", ost, "\xC3\x84gypten"},
       0,
       "Kamera Set \xC3\x84gypten gel\xC3\xB6scht: C:\\Sim\\Anlagen\\Ost.danl\n",
       "",
       true},
      {{"repair"}, 0, "Nichts wiederherzustellen: kein Laufprotokoll in C:\\Sim\\.\n", ""},
      {{"standard"}, 0, defaults, "", true},
      {{"--host", Native("Anlagen"), "standard"}, 0, "Keine Standard-Dateien gesichert: nichts installiert.\n", ""},
      {{"--host", Native(), "start", "--guide-post", "gelb.MOD", test},
       0,
       defaults +
           "Oberleitung: Oberleitung.mod installiert\nLeitpfosten: gelb.MOD installiert\n"
           "Bodentextur: Grass.bmp installiert\n" +
           kRunning,
       "",
       true,
       {},
       ""},  // the last
  };
  const Tree before = SnapshotTree(Native());
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.args));
    RestoreTree(Native(), before);
    SetRegistryCommand(c.registry);
    RunResult run = Zuvo(c.args, c.env);
    EXPECT_EQ(run.exitCode, c.exitCode);
    EXPECT_EQ(WithoutPid(run.out), c.out);
    if (c.exitCode != 2 || !c.err.empty()) {
      EXPECT_EQ(run.err, c.err);
    }  // else the parser's usage text
    EXPECT_EQ(SnapshotTree(Native()) != before, c.changes);
    const bool start = std::find(c.args.begin(), c.args.end(), "start") != c.args.end();
    EXPECT_EQ(Exists(stand_in::kLogFileName), start && c.exitCode == 0) << "the simulator ran";
  }
  EXPECT_EQ(OnlyRun().Get("Argument 1"), host_ + "Anlagen\\Test.anl");  // the last row's run
}

// Without an installation a command that needs one says only that, and
// where it looked: a prefix that is not there, one without its registry,
// one whose registry lacks the key.
TEST_F(InstallationTest, AnInstallationThatCannotBeFoundIsTheOnlyMessage) {
  layout_bytes::Track t;
  t.id = 7;
  t.name = "G";
  std::string bad = layout_bytes::File({t}, {}, {});
  bad[46] = 8;  // a failed check and a message, were it read
  Write("Anlagen\\Bad.anl", bad);
  dir_.MakeDirs("leer");
  const std::string missing = Prefix() + "/fehlt", empty = dir_.NativePath("leer"),
                    key =
                        ", Schl\xC3\xBCssel HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\Kantrelwick\\shell\\open\\command; "
                        "--host ORDNER nennt den Installationsordner direkt.\n",
                    unknown = "Unbekannte oder fehlerhafte ZUVO Installation\n";
  SetRegistryCommand("");
  const struct {
    const char* command;
    std::string prefix, err;
  } cases[] = {
      {"missing-list", missing, unknown + "Gesucht wurde im Wine-Prefix " + missing + ", den es nicht gibt" + key},
      {"map", empty,
       unknown + "Gesucht wurde im Wine-Prefix " + empty + ", dem die Datei " + empty + "/system.reg fehlt" + key},
      {"terrain", Prefix(), unknown + NoInstallationHint()},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.prefix + " " + c.command);
    const RunResult run = RunZuvo({"--verbose", c.command, Native("Anlagen\\Bad.anl")}, {"WINEPREFIX=" + c.prefix});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, c.err);
  }
}

// The text form of show: an unset choice says what a start installs, each
// kind what its folder offers.
TEST_F(InstallationTest, ShowTellsTheDefaultsAndTheFilesToChooseFrom) {
  WriteSettings({"[Zuvo]", "Prellbock=Holz.mod"});
  RunResult run = Zuvo({"show", Layout()});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.err, "");
  const std::string unset = ": (nicht gesetzt, es gilt die Standard-Datei ";
  EXPECT_NE(run.out.find("Prellbock: Holz.mod\n  Vorhanden: Holz.mod\nOberleitung" + unset +
                         "Oberleitung.mod)\n"
                         "  Vorhanden: Kette.mod\nLeitpfosten" +
                         unset +
                         "Leitpfosten.mod)\n  Vorhanden: Gelb.mod\n"
                         "Bodentextur" +
                         unset + "Grass.bmp)\n  Vorhanden: Sand.bmp\nGen. Terrain: "),
            std::string::npos)
      << run.out;
  run = Zuvo({"--host", Native("Anlagen"), "show", Layout()});
  EXPECT_NE(run.out.find("Oberleitung: (nicht gesetzt, ohne Ordner wird nichts installiert)\n"
                         "  Vorhanden: Ordner C:\\Sim\\Anlagen\\Oberleitung fehlt\n"),
            std::string::npos)
      << run.out;
}

// A ".danl" in UTF-8 is read so, said once, and saved in code page 1252; one
// with a character that code page 1252 lacks is not loaded.
TEST_F(InstallationTest, AUtf8SettingsFileIsSavedInCodePage1252) {
  const std::string utf8 = "[KamSet \xC3\x84gypten]\r\nPX1=1\r\n\r\n[KamSet Nord]\r\nPX1=2\r\n",
                    said =
                        "C:\\Sim\\Anlagen\\Test.danl ist in UTF-8 geschrieben und wurde so gelesen; gespeichert "
                        "wird sie in Windows-1252.\n";
  Write("Anlagen\\Test.danl", utf8);
  RunResult run = Zuvo({"show", Layout()});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.err, said);
  EXPECT_EQ(ReadSettings(), utf8);  // only read
  run = Zuvo({"--yes", "delete-camera-set", Layout(), "Nord"});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.err, said);
  EXPECT_EQ(ReadSettings(), "[KamSet \xC4gypten]\r\nPX1=1\r\n");
  EXPECT_EQ(Zuvo({"show", Layout()}).err, "");  // code page 1252 from now on

  Write("Anlagen\\Test.danl", "[Zuvo]\r\nKamSet=\xC3\x84gypten \xE2\x86\x92 Nord\r\n");
  const Tree before = SnapshotTree(Native());
  run = Zuvo({"--yes", "start", Layout()});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err,
            "C:\\Sim\\Anlagen\\Test.danl, Zeile 2: ein Zeichen, das es in Windows-1252 nicht gibt. Die "
            "Datei wird nicht gelesen!\n");
  EXPECT_EQ(SnapshotTree(Native()), before);
}

// "-o -" prints the map that "--output FILE" writes, and writes no file.
TEST_F(InstallationTest, TheMapGoesToStandardOutput) {
  WriteMixedLayout();
  const std::string berg = Native("Anlagen\\Berg.anl");
  ASSERT_EQ(Zuvo({"map", berg, "--output", Native("Karte.svg")}).exitCode, 0);
  const Tree before = SnapshotTree(Native());
  const RunResult run = Zuvo({"map", "-o", "-", berg});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(run.out, Read("Karte.svg"));
  EXPECT_NE(run.out.find("<svg"), std::string::npos);
  EXPECT_EQ(SnapshotTree(Native()), before);
  SetRegistryCommand("");  // a map that cannot be drawn prints nothing
  const RunResult failed = Zuvo({"map", "-o", "-", berg});
  EXPECT_EQ(failed.exitCode, 1);
  EXPECT_EQ(failed.out, "");
}

TEST_F(InstallationTest, TerrainPreviewWritesOnePicturePerSectionAndNothingElse) {
  const auto pixel = [](int x, int y) { return terrain_test::PixelBytes{std::uint8_t(x), std::uint8_t(y), 1}; };
  for (const char* picture : {"Anlagen\\h.bmp", "Anlagen\\c.bmp"})
    Write(picture, terrain_test::MakeBitmap(4, 4, pixel));
  // The second section names a file outside the layout's folder; the third is refused.
  const std::string pictures[] = {"Hoehe=h.bmp", "Farbe=c.bmp", "Pixelgroesse=1"};
  std::vector<std::string> lines = {"[Terrain Nord]", "Name=Nord", "[Terrain\\..\\..\\Weg]",
                                    "[Terrain S\xFC"
                                    "d]"};
  for (std::size_t at : {4, 3, 2}) lines.insert(lines.begin() + at, std::begin(pictures), std::end(pictures));
  WriteSettings(lines);
  const Tree before = SnapshotTree(Native());
  const RunResult run = Zuvo({"terrain", "--preview", Layout()});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.out,
            "Terrainvorschau geschrieben: C:\\Sim\\Anlagen\\Terrain Nord.svg\n"
            "Terrainvorschau geschrieben: C:\\Sim\\Anlagen\\Terrain S\xC3\xBC"
            "d.svg\n");
  // The refused section is drawn with its reason, and the reason is said.
  EXPECT_EQ(run.err,
            "[Terrain\\..\\..\\Weg]:Der Abschnittsname taugt nicht als Dateiname der Vorschau!\n"
            "[Terrain S\xC3\xBC"
            "d]:Name muss gesetzt sein!\n");
  Tree after = SnapshotTree(Native());
  EXPECT_EQ(after.erase("Anlagen/Terrain Nord.svg"), 1u);
  EXPECT_EQ(after.erase("Anlagen/Terrain S\xC3\xBC"
                        "d.svg"),
            1u);
  EXPECT_EQ(after, before);
  // A refused section alone: drawn, said, and the command fails.
  WriteSettings(
      {"[Terrain S\xFC"
       "d]",
       pictures[0], pictures[1], pictures[2]});
  const RunResult refused = Zuvo({"terrain", "--preview", Layout()});
  EXPECT_EQ(refused.exitCode, 1);
  EXPECT_EQ(refused.out,
            "Terrainvorschau geschrieben: C:\\Sim\\Anlagen\\Terrain S\xC3\xBC"
            "d.svg\n");
  EXPECT_EQ(refused.err,
            "[Terrain S\xC3\xBC"
            "d]:Name muss gesetzt sein!\n");
}

// What the console itself decides: the forms of a path, --host, usage errors
// and the hints after a message (stderr must end with `err`).
TEST_F(InstallationTest, PathsUsageErrorsAndHints) {
  layout_bytes::Unit lok;
  lok.name = "Lok.dll", lok.extra = "12345";  // extra data, but no data sheet gives its length
  Write("Anlagen\\Lok.anl", layout_bytes::File({}, {}, {lok}));
  lok.name = "Zug.dll";  // its data sheet gives a length that does not fit
  Write("Anlagen\\Zug.anl", layout_bytes::File({}, {}, {lok}));
  Write("Rollmaterial\\Datenbl\xE4tter\\Zug.txt", "[Zuvo]\r\nZusLen=3\r\n");
  const std::string usage = "Aufruf: zuvo [OPTIONEN] BEFEHL\n\"zuvo --help\" zeigt die Hilfe.\n",
                    checks =
                        "Fehlgeschlagene Pr\xC3\xBC"
                        "fungen der Anlagendatei: 1 (--verbose zeigt sie).\n",
                    show = std::string("Aufruf: zuvo show [OPTIONEN] ANLAGE\n\"zuvo show --help\" zeigt die Hilfe.\n"),
                    forms =
                        " M\xC3\xB6glich sind ein Unix-Pfad (Anlagen/Demo.anl, /home/...) und ein Windows-Pfad mit "
                        "Laufwerk (\"C:\\...\" oder \"C:/...\").\n";
  const struct {
    std::vector<std::string> args;
    int exitCode;
    std::string out, err;
  } cases[] = {
      {{"show", "c:/SIM\\anlagen//./Test.anl"}, 0, "Anlage: C:\\SIM\\anlagen\\Test.anl\n", ""},
      {{"--host", "c:\\Sim\\Anlagen\\..", "show", "C:\\Sim\\Anlagen\\Test.danl"},
       0,
       "Anlage: C:\\Sim\\Anlagen\\Test.anl\n",
       ""},
      {{"show", "D:\\Test.anl"},
       1,
       "",
       "Das Laufwerk D: gibt es nicht (kein Eintrag " + Prefix() + "/dosdevices/d:).\n"},
      {{"show", "Anlagen\\Test.anl"}, 1, "", "\"Anlagen\\Test.anl\" ist unter Windows kein Name." + forms},
      {{"--host", "C:/Fehlt", "standard"}, 2, "", "--host: C:\\Fehlt gibt es nicht.\n"},
      {{"--host", "", "standard"}, 2, "", "Kein Pfad angegeben.\n"},
      {{"--host", Layout(), "standard"}, 2, "", "--host: C:\\Sim\\Anlagen\\Test.anl ist kein Ordner.\n"},
      {{"resave", Native("Anlagen\\Lok.anl")},
       1,
       "",
       "Dll-Modell \"Lok.dll\" kann nicht benutzt werden!\nDas Datenblatt "
       "C:\\Sim\\Rollmaterial\\Datenbl\xC3\xA4tter\\Lok.txt fehlt.\n" +
           checks},
      {{"resave", Native("Anlagen\\Zug.anl")}, 1, "", "Dll-Modell \"Zug.dll\" kann nicht benutzt werden!\n" + checks},
      {{"--yes", "shwo", "x"}, 2, "", "Unbekannter Befehl \"shwo\". Meinten Sie \"show\"?\n" + usage},
      {{"--host", "C:\\Sim", "Dump"}, 2, "", "Unbekannter Befehl \"Dump\". Meinten Sie \"dump\"?\n" + usage},
      {{"terrian"}, 2, "", "Unbekannter Befehl \"terrian\". Meinten Sie \"terrain\"?\n" + usage},
      {{"zeigen"}, 2, "", "Unbekannter Befehl \"zeigen\".\n" + usage},
      {{"show", "--jsn", "x"}, 2, "", "Unbekannte Option \"--jsn\". Meinten Sie \"--json\"?\n" + show},
      {{"--hots", "x", "show"}, 2, "", "Unbekannte Option \"--hots\". Meinten Sie \"--host\"?\n" + show},
      {{"start", "x", "--camera-sets=A"},
       2,
       "",
       "Unbekannte Option \"--camera-sets\". Meinten Sie \"--camera-set\"?\n" +
           std::string("Aufruf: zuvo start [OPTIONEN] ANLAGE\n\"zuvo start --help\" zeigt die Hilfe.\n")},
      {{"show", "--frobnicate", "x"}, 2, "", "Unbekannte Option \"--frobnicate\".\n" + show},
      {{"help", "strat"},
       2,
       "",
       "Unbekannter Befehl \"strat\". Meinten Sie \"start\"?\nAufruf: zuvo help [OPTIONEN] [BEFEHL]\n"
       "\"zuvo help --help\" zeigt die Hilfe.\n"},
      {{"help", "map"}, 0, "Anlage als SVG-Karte zeichnen\nAufruf: zuvo map [OPTIONEN] ANLAGE\n", ""},
      {{"help"},
       0,
       "StartZUVO: bereitet den Simulator Kantrelwick vor und startet ihn.\nAufruf: zuvo [OPTIONEN] BEFEHL\n",
       ""},
      {{"-V"}, 0, "zuvo (StartZUVO) 1.2.0\n", ""},
      {{}, 2, "", "Es fehlt ein Befehl.\n" + usage},
      {{"--host"}, 2, "", "Bei --host fehlt der Wert.\n" + usage},
      {{"--yes=vielleicht"}, 2, "", "Ung\xC3\xBCltiger Wert f\xC3\xBCr --yes.\n" + usage},
      {{"dump", "a", "b"},
       2,
       "",
       "Unerwartete Argumente: b.\nAufruf: zuvo dump [OPTIONEN] ANLAGE\n\"zuvo dump --help\" zeigt die Hilfe.\n"},
      {{"delete-camera-set", "a"},
       2,
       "",
       "NAME fehlt.\nAufruf: zuvo delete-camera-set [OPTIONEN] ANLAGE NAME\n"
       "\"zuvo delete-camera-set --help\" zeigt die Hilfe.\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.args));
    RunResult run = Zuvo(c.args);
    EXPECT_EQ(run.exitCode, c.exitCode);
    EXPECT_EQ(run.out.substr(0, c.out.size()), c.out);
    EXPECT_EQ(run.err.substr(run.err.size() - std::min(run.err.size(), c.err.size())), c.err);
    EXPECT_EQ(run.err.empty(), c.err.empty()) << run.err;
  }
  SetRegistryCommand("");
  EXPECT_EQ(Zuvo({"terrain", Layout()}).err, "Unbekannte oder fehlerhafte ZUVO Installation\n" + NoInstallationHint());
}

TEST_F(InstallationTest, HelpIsGermanThroughout) {
  std::vector<std::vector<std::string>> calls = {{"--help"}, {"show", "-h"}, {"help", "show"}};
  for (const char* command :
       {"show", "start", "delete-camera-set", "standard", "remove-missing", "inventory", "missing-list", "terrain",
        "resave", "dump", "map", "repair", "help", "history", "restore"}) {
    calls.push_back({command, "--help"});
  }
  for (const auto& args : calls) {
    RunResult run = Zuvo(args);
    SCOPED_TRACE(run.out);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.err, "");
    const bool helpOf = args[0] == "help" && args[1] != "--help";  // zuvo help COMMAND
    const std::string command = args[0] == "--help" ? "" : (helpOf ? args[1] : args[0]) + " ";
    EXPECT_NE(run.out.find("\nAufruf: zuvo " + command + "[OPTIONEN]"), std::string::npos);
    for (const char* english : {"REQUIRED", "Print", "Usage", "is required", "Options", "OPTIONS", "TEXT",
                                "Positionals", "ubcommand", "FILE", "\n\n\n"}) {
      EXPECT_EQ(run.out.find(english), std::string::npos) << english;
    }
  }
  EXPECT_NE(Zuvo({"--help"}).out.find("$WINEPREFIX, ohne WINEPREFIX in ~/.wine; --host ORDNER"), std::string::npos);
  EXPECT_NE(Zuvo({"--help"})
                .out.find("2 fehlerhafter Aufruf, 3 Simulator abgest\xC3\xBCrzt oder mit Status ungleich 0 "
                          "beendet\n"),
            std::string::npos);
  EXPECT_NE(Zuvo({"--help"}).out.find(", 128+N nach Signal N.\n"), std::string::npos);
}

}  // namespace
}  // namespace e2e
