// Every zuvo command as a user runs it on a test installation found through
// the Wine prefix's registry: exit status, output and messages; what fails,
// is refused or is answered "no" changes no file (and runs no simulator).
#include "e2e/installation.h"
#include "layout/layout_bytes.h"

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
  Write("Anlagen\\Ost.anl", layout_bytes::File({}, {}, {}));
  Write("Anlagen\\Ost.danl", "[KamSet \xC4gypten]\r\nPX1=1\r\n\r\n[Zuvo]\r\nKamSet=\xC4gypten\r\n");
  const std::string berg = Native("Anlagen\\Berg.anl"), ost = Native("Anlagen\\Ost.anl"),
                    bad_ = Native("Anlagen\\Bad.anl"), test = Layout(),
                    unknown = "Unbekannte oder fehlerhafte ZUVO Installation\n" + NoInstallationHint(), can = "Can't open C:\\Sim\\Anlagen\\",
                    no = " Nein (keine Eingabe m\xC3\xB6glich; --yes beantwortet Fragen mit Ja)\n",
                    gone = " wurden gel\xC3\xB6scht!\n", install = " \"Rot.mod\" kann nicht installiert werden!\n";
  const std::vector<std::string> createFails = {"ZUVO_FAULTS=create:1"};
  const struct {
    std::vector<std::string> args;
    int exitCode;
    std::string out, err;
    bool changes = false;
    std::vector<std::string> env = {};
    std::string registry = "\"C:\\Sim\\Kantrelwick.exe\" \"%1\"";
  } cases[] = {
      {{"resave", bad_}, 1, "", "I: 8 S: 7\nGleis Nr. 7 fehlerhaft!\n"},
      {{"dump", Native("Anlagen\\Fehlt.anl")}, 1, "", can + "Fehlt.anl!\n"},
      {{"show", Native("Anlagen\\Berg.txt")}, 1, "", "falsche Endung: txt\n"},
      {{"dump"}, 2, "", ""},
      {{"remove-missing", "houses", berg}, 2, "", ""},
      {{"resave", berg}, 1, "", "Fehler beim Schreiben von C:\\Sim\\Anlagen\\Berg.anl!\n", false,
       {"ZUVO_FAULTS=write:1"}},
      {{"inventory", berg}, 1, "", "Datei Inventarliste.txt kann nicht ge\xC3\xB6" "ffnet werden!\n", false,
       createFails},
      {{"--yes", "remove-missing", "real-estate", berg}, 1, "", can + "Berg.anl!\n", false, createFails},
      {{"remove-missing", "rolling-stock", berg}, 0, "", "Fehlendes Rollmaterial in der Anlage l\xC3\xB6schen?" + no},
      {{"remove-missing", "real-estate", berg}, 0, "", "Fehlende Immobilien in der Anlage l\xC3\xB6schen?" + no},
      {{"delete-camera-set", ost, "\xC3\x84gypten"}, 0, "", "L\xC3\xB6sche Kamera Set \xC3\x84gypten ?" + no},
      {{"--yes", "remove-missing", "gbos", berg}, 1, "", unknown, false, {}, ""},
      {{"missing-list", berg}, 1, "", unknown, false, {}, "Kantrelwick.exe"},  // no folder at all
      {{"start", test, "--buffer-stop", "Rot.mod"}, 1, "", "Pressboch" + install, true},  // the defaults saved
      {{"start", test, "--catenary", "Rot.mod"}, 1, "", "Oberleitung" + install, true},
      {{"start", test, "--guide-post", "Rot.mod"}, 1, "", "Leitpfosten" + install, true},
      {{"start", test, "--ground-texture", "Rot.mod"}, 1, "", "Bodentextur" + install, true},
      {{"inventory", berg}, 0, "Inventarliste wurde erstellt!\n", "", true},
      {{"--yes", "remove-missing", "real-estate", berg}, 0, "Fehlende Immobilien" + gone, "", true},
      {{"--yes", "--host", Native(), "remove-missing", "gbos", berg}, 0, "Fehlende GBOs" + gone, "", true},
      {{"--yes", "delete-camera-set", ost, "\xC3\x84gypten"}, 0, "", "", true},
      {{"standard"}, 0, "", "", true},
      {{"--host", Native(), "start", test}, 0, "", "", true, {}, ""},  // the last
  };
  const Tree before = SnapshotTree(Native());
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.args));
    RestoreTree(Native(), before);
    SetRegistryCommand(c.registry);
    RunResult run = Zuvo(c.args, c.env);
    EXPECT_EQ(run.exitCode, c.exitCode);
    EXPECT_EQ(run.out, c.out);
    if (c.exitCode != 2) { EXPECT_EQ(run.err, c.err); }  // the usage text is the parser's
    EXPECT_EQ(SnapshotTree(Native()) != before, c.changes);
    EXPECT_EQ(Exists(stand_in::kLogFileName), c.args.back() == test && c.exitCode == 0) << "the simulator ran";
  }
  EXPECT_EQ(OnlyRun().Get("Argument 1"), host_ + "Anlagen\\Test.anl");
}

}  // namespace
}  // namespace e2e
