// What a stranger's layout archive may bring: a ".danl" whose swaps would put
// a program in the simulator's place or swap the tool's own files, and links
// planted under the names of the files the commands write. Each command
// refuses with its message, and no file inside or outside the installation
// changes.
#include <sys/stat.h>
#include <algorithm>
#include <unistd.h>

#include "e2e/installation.h"
#include "terrain/terrain_test_support.h"

namespace e2e {
namespace {

TEST_F(InstallationTest, ASharedLayoutRunsNoProgramAndWritesThroughNoLink) {
  dir_.Write("aussen/victim.txt", "Opfer");
  dir_.Write("aussen/victim.danl", CrLf({"[KamSet Nord]", "PX1=1"}));
  dir_.Write("aussen/victim.anl", Read("Anlagen\\Test.anl"));
  for (const char* name : {"A.dat", "C.dat", "Parallels\\Wetter.txt"}) Write(name, name);
  Write("Anlagen\\Werkzeug.exe", "MZ Werkzeug");
  Write("Anlagen\\Werkzeug.dat", "MZ versteckt");
  Write("Anlagen\\h.bmp", terrain_test::MakeBitmap(2, 2, [](int, int) { return terrain_test::HeightPixel(1); }));
  Write("Anlagen\\f.bmp", terrain_test::MakeBitmap(2, 2, [](int, int) { return terrain_test::PixelBytes{}; }));
  dir_.MakeDirs(Inside("Modelle\\Nord"));
  WriteMixedLayout();
  SaveDefaults();
  const std::string h = host_, anlagen = host_ + "Anlagen";
  const std::string program =
      ", ein Programm oder eine Programmbibliothek: das tut StartZUVO nicht. Wer diesen Tausch "
      "wirklich will, nimmt ihn von Hand vor.\n";
  const std::string own = ": sie wird nicht getauscht!\n";
  const auto link = [](const std::string& file, const std::string& folder) {
    return file +
           " f\xC3\xBChrt \xC3\xBC"
           "ber einen Verweis aus " +
           folder + " hinaus und wird nicht ge\xC3\xA4ndert!\n";
  };
  const std::vector<std::string> terrain = {"[Terrain Nord]", "Name=Nord",       "Hoehe=h.bmp",    "Farbe=f.bmp",
                                            "Pixelgroesse=1", "Kachelabstand=2", "Kachelgroesse=2"};
  const std::string berg = Native("Anlagen\\Berg.anl");
  // The "[Copy]" lines of Test.danl and the message of the start they stop.
  const std::pair<std::vector<std::string>, std::string> swaps[] = {
      {{"Kantrelwick.exe=Anlagen\\Werkzeug.exe"},
       "Kantrelwick.exe=Anlagen\\Werkzeug.exe tauscht " + h + "Kantrelwick.exe" + program},
      {{"Mods\\Strom.DLL=A.dat"}, "Mods\\Strom.DLL=A.dat tauscht " + h + "Mods\\Strom.DLL" + program},
      {{"A.dat=Anlagen\\Werkzeug.dat"}, "A.dat=Anlagen\\Werkzeug.dat tauscht " + h + "Anlagen\\Werkzeug.dat" + program},
      {{"Parallels=Anlagen"},
       "Parallels=Anlagen tauscht den Ordner " + h + "Parallels: StartZUVO tauscht nur Dateien.\n"},
      {{"StartZUVO-Lauf.txt=Parallels\\Wetter.txt"},
       "StartZUVO-Lauf.txt=Parallels\\Wetter.txt nennt " + h + "StartZUVO-Lauf.txt, das Laufprotokoll von StartZUVO" +
           own},
      {{"Parallels\\Wetter.txt=startzuvo-lauf.TXT"},
       "Parallels\\Wetter.txt=startzuvo-lauf.TXT nennt " + h + "startzuvo-lauf.TXT, das Laufprotokoll von StartZUVO" +
           own},
      {{"A.dat=.zuvo-123-abcdef"},
       "A.dat=.zuvo-123-abcdef nennt " + h + ".zuvo-123-abcdef, eine tempor\xC3\xA4re Datei von StartZUVO" + own},
      {{"anlagen\\TEST.danl=A.dat"}, "anlagen\\TEST.danl=A.dat nennt " + h + "anlagen\\TEST.danl, eine Anlage" + own},
      {{"C.dat=X.dat", "c.DAT=A.dat"}, "C.dat=X.dat und [Copy]:c.DAT=A.dat tauschen dieselbe Datei!\n"},
  };
  // A link planted under the name of a file a command writes, to a file of
  // "aussen" (none: to nothing); the command and its message.
  const struct {
    std::string planted, target;
    std::vector<std::string> command;
    std::string err;
  } links[] = {
      {"StartZUVO-Lauf.txt", "victim.txt", {"start", Layout()}, link(h + "StartZUVO-Lauf.txt", h)},
      {"Mods\\Prellbock.mod",
       "victim.txt",
       {"start", Layout(), "--buffer-stop", "Holz.mod"},
       link(h + "Mods\\Prellbock.mod", h) + "Pressboch \"Holz.mod\" kann nicht installiert werden!\n"},
      // The history folder a link out of the layout's folder: neither read nor written.
      {"Anlagen\\StartZUVO-Verlauf",
       "",
       {"--yes", "remove-missing", "gbos", berg},
       link(anlagen + "\\StartZUVO-Verlauf", anlagen)},
      {"Anlagen\\StartZUVO-Verlauf", "", {"--yes", "restore", berg}, link(anlagen + "\\StartZUVO-Verlauf", anlagen)},
      {"Anlagen\\StartZUVO-Verlauf", "", {"history", berg}, link(anlagen + "\\StartZUVO-Verlauf", anlagen)},
      {"Anlagen\\Inventarliste.txt", "victim.txt", {"inventory", berg}, link("Inventarliste.txt", anlagen)},
      {"Anlagen\\Fehlliste.txt", "victim.txt", {"missing-list", berg}, link("Fehlliste.txt", anlagen)},
      {"Anlagen\\Berg.svg", "victim.txt", {"map", berg}, link(anlagen + "\\Berg.svg", anlagen)},
      {"Anlagen\\Test.svg", "victim.txt", {"map", Layout()}, link(anlagen + "\\Test.svg", anlagen)},
      {"Anlagen\\Berg.danl",
       "victim.danl",
       {"--yes", "delete-camera-set", berg, "Nord"},
       link(anlagen + "\\Berg.danl", anlagen)},
      {"Anlagen\\Ost.anl", "victim.anl", {"resave", Native("Anlagen\\Ost.anl")}, link(anlagen + "\\Ost.anl", anlagen)},
      {"Anlagen\\Terrain Nord.svg",
       "victim.txt",
       {"terrain", "--preview", Layout()},
       link(anlagen + "\\Terrain Nord.svg", anlagen)},
      {"Modelle\\Nord\\bmp0_0.mod", "victim.txt", {"terrain", Layout()}, link(h + "Modelle\\Nord\\bmp0_0.mod", h)},
  };
  // Each refused, and no file inside or outside the installation changed.
  const Tree fresh = SnapshotTree(dir_.native());
  const auto refused = [&](const std::vector<std::string>& command, const std::string& err) {
    const Tree before = SnapshotTree(dir_.native());
    const RunResult run = Zuvo(command);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, err);
    EXPECT_TRUE(SnapshotTree(dir_.native()) == before) << run.err;
    EXPECT_EQ(Runs().size(), 0u);
  };
  for (const auto& c : swaps) {
    SCOPED_TRACE(c.first.front());
    RestoreTree(dir_.native(), fresh);
    std::vector<std::string> lines = terrain;
    lines.push_back("[Copy]");
    lines.insert(lines.end(), c.first.begin(), c.first.end());
    WriteSettings(lines);
    refused({"start", Layout()}, "[Copy]:" + c.second);
  }
  for (const auto& c : links) {
    SCOPED_TRACE(c.planted);
    RestoreTree(dir_.native(), fresh);
    WriteSettings(terrain);
    unlink(Native(c.planted).c_str());
    ASSERT_EQ(symlink(dir_.NativePath("aussen/" + c.target).c_str(), Native(c.planted).c_str()), 0);
    refused(c.command, c.err);
    unlink(Native(c.planted).c_str());
  }
}

// A read-only layout is not replaced (as Windows refuses), and a swap named
// in another case than the files on disk gives them back their own names.
TEST_F(InstallationTest, AReadOnlyLayoutStaysAndSwappedNamesKeepTheirCase) {
  WriteSettings({"[Zuvo]", "KamSet=Nord", "[KamSet Nord]", "PX1=1", "[Copy]", "b.TXT=c.txt"});
  Write("B.txt", "B");
  Write("C.txt", "C");
  SaveDefaults();
  ASSERT_EQ(chmod(Native("Anlagen\\Test.anl").c_str(), 0444), 0);
  const auto withoutHistory = [](Tree tree) {  // the pair as it was is in its history first
    for (auto it = tree.begin(); it != tree.end();)
      it = it->first.find("StartZUVO-Verlauf") != std::string::npos ? tree.erase(it) : std::next(it);
    return tree;
  };
  const Tree before = SnapshotTree(dir_.native());
  RunResult run = Start({"--camera-set", "Nord"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err, "Can't open " + host_ + "Anlagen\\Test.anl!\nGrund: Die Datei ist schreibgesch\xC3\xBCtzt.\n");
  EXPECT_TRUE(withoutHistory(SnapshotTree(dir_.native())) == before);

  ASSERT_EQ(chmod(Native("Anlagen\\Test.anl").c_str(), 0644), 0);
  run = Start({"--camera-set", "Nord"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(OnlyRun().Get("Tausch b.TXT"), stand_in::DescribeContent("C"));
  EXPECT_EQ(Read("B.txt") + Read("C.txt"), "BC");
  const std::vector<std::string> names = dir_.List("prefix/drive_c/Sim");
  EXPECT_NE(std::find(names.begin(), names.end(), "B.txt"), names.end());
  EXPECT_NE(std::find(names.begin(), names.end(), "C.txt"), names.end());
}

}  // namespace
}  // namespace e2e
