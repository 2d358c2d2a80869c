// What a stranger's layout archive may bring: a ".danl" whose swaps would put a program in
// the simulator's place, swap the tool's own files or files outside the installation, and
// links planted under the names of the files the commands write. Each command refuses with
// its message, and no file inside or outside the installation changes.
#include <unistd.h>

#include "e2e/installation.h"
#include "host/installation.h"
#include "terrain/terrain_test_support.h"

namespace e2e {
namespace {

TEST_F(InstallationTest, ASharedLayoutRunsNoProgramAndWritesThroughNoLink) {
  dir_.Write("aussen/victim.txt", "Opfer");
  dir_.Write("aussen/victim.danl", CrLf({"[KamSet Nord]", "PX1=1"}));
  dir_.Write("aussen/victim.anl", Read("Anlagen\\Test.anl"));
  dir_.Write("prefix/drive_c/victim.txt", "Opfer C");
  ASSERT_EQ(symlink("../../aussen", dir_.NativePath("prefix/dosdevices/d:").c_str()), 0);
  ASSERT_EQ(symlink(dir_.NativePath("aussen").c_str(), Native("Link").c_str()), 0);
  ASSERT_EQ(symlink(dir_.NativePath("aussen").c_str(), Native("Modelle\\Weg").c_str()), 0);
  for (const char* name : {"A.dat", "C.dat", "Parallels\\Wetter.txt"}) Write(name, name);
  for (const char* name : {"Anlagen\\Werkzeug.exe", "Anlagen\\Werkzeug.dat"}) Write(name, "MZ Werkzeug");
  Write("Anlagen\\h.bmp", terrain_test::MakeBitmap(2, 2, [](int, int) { return terrain_test::HeightPixel(1); }));
  Write("Anlagen\\f.bmp", terrain_test::MakeBitmap(2, 2, [](int, int) { return terrain_test::PixelBytes{}; }));
  dir_.MakeDirs(Inside("Modelle\\Nord"));
  WriteMixedLayout();
  for (int k = 0; k < host::kAssetKindCount; ++k) {  // each kind's default file, as a first start saves it
    const host::AssetKindInfo& kind = host::AssetKindOf(static_cast<host::AssetKind>(k));
    Write(std::string(kind.name) + "\\" + kind.defaultFile, Read(kind.activeFile));
  }
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
  const auto outside = [](const std::string& entry) {
    return "[Copy]:" + entry +
           " liegt au\xC3\x9F"
           "erhalb des Simulatorordners!\n";
  };
  const auto terrain = [](const std::string& name) {
    return std::vector<std::string>{"[Terrain Nord]", "Name=" + name,    "Hoehe=h.bmp",    "Farbe=f.bmp",
                                    "Pixelgroesse=1", "Kachelabstand=2", "Kachelgroesse=2"};
  };
  const std::string terrainErr = "[Terrain Nord]:Name muss ein Ordnername in Modelle sein!\n";
  const std::string berg = Native("Anlagen\\Berg.anl");
  // Lines of Test.danl and the message of the start (a terrain, for a
  // terrain's lines) they stop.
  const std::pair<std::vector<std::string>, std::string> settings[] = {
      {Args{"[Copy]", "Kantrelwick.exe=Anlagen\\Werkzeug.exe"},
       "[Copy]:Kantrelwick.exe=Anlagen\\Werkzeug.exe tauscht " + h + "Kantrelwick.exe" + program},
      {Args{"[Copy]", "A.dat=Anlagen\\Werkzeug.dat"},
       "[Copy]:A.dat=Anlagen\\Werkzeug.dat tauscht " + h + "Anlagen\\Werkzeug.dat" + program},
      {Args{"[Copy]", "Parallels=Anlagen"},
       "[Copy]:Parallels=Anlagen tauscht den Ordner " + h + "Parallels: StartZUVO tauscht nur Dateien.\n"},
      {Args{"[Copy]", "Parallels\\Wetter.txt=startzuvo-lauf.TXT"},
       "[Copy]:Parallels\\Wetter.txt=startzuvo-lauf.TXT nennt " + h +
           "startzuvo-lauf.TXT, das Laufprotokoll von StartZUVO" + own},
      {Args{"[Copy]", "A.dat=.zuvo-123-abcdef"}, "[Copy]:A.dat=.zuvo-123-abcdef nennt " + h +
                                                     ".zuvo-123-abcdef, eine tempor\xC3\xA4re Datei von StartZUVO" +
                                                     own},
      {Args{"[Copy]", "anlagen\\TEST.danl=A.dat"},
       "[Copy]:anlagen\\TEST.danl=A.dat nennt " + h + "Anlagen\\Test.danl, eine Anlage" + own},  // as stored
      {Args{"[Copy]", "C.dat=X.dat", "c.DAT=A.dat"},
       "[Copy]:C.dat=X.dat und [Copy]:c.DAT=A.dat tauschen dieselbe Datei!\n"},
      // Outside the installation: through a drive's link, a link in it.
      {Args{"[Copy]", "D:\\victim.txt=A.dat"}, outside("D:\\victim.txt=A.dat")},
      {Args{"[Copy]", "Link\\victim.txt=A.dat"}, outside("Link\\victim.txt=A.dat")},
      {Args{"[Zuvo]", "Leitpfosten=..\\Mods\\Prellbock.mod"},
       "Leitpfosten \"..\\Mods\\Prellbock.mod\" kann nicht installiert werden!\n"},
      {terrain("..\\..\\Kacheln"), terrainErr},
      {terrain("Weg"), terrainErr},
  };
  // A link planted under the name of a file a command writes, to a file of
  // "aussen" (none: to nothing); the command and its message.
  const struct {
    std::string planted, target;
    std::vector<std::string> command;
    std::string err;
  } links[] = {
      {"StartZUVO-Lauf.txt", "victim.txt", Args{"start", Layout()}, link(h + "StartZUVO-Lauf.txt", h)},
      {"Mods\\Prellbock.mod", "victim.txt", Args{"start", Layout(), "--buffer-stop", "Holz.mod"},
       link(h + "Mods\\Prellbock.mod", h) + "Pressboch \"Holz.mod\" kann nicht installiert werden!\n"},
      // The history folder a link out of the layout's folder: neither read nor written.
      {"Anlagen\\StartZUVO-Verlauf", "", Args{"--yes", "remove-missing", "gbos", berg},
       link(anlagen + "\\StartZUVO-Verlauf", anlagen)},
      {"Anlagen\\StartZUVO-Verlauf", "", Args{"history", berg}, link(anlagen + "\\StartZUVO-Verlauf", anlagen)},
      {"Anlagen\\Inventarliste.txt", "victim.txt", Args{"inventory", berg}, link("Inventarliste.txt", anlagen)},
      {"Anlagen\\Berg.svg", "victim.txt", Args{"map", berg}, link(anlagen + "\\Berg.svg", anlagen)},
      {"Anlagen\\Berg.danl", "victim.danl", Args{"--yes", "delete-camera-set", berg, "Nord"},
       link(anlagen + "\\Berg.danl", anlagen)},
      {"Anlagen\\Ost.anl", "victim.anl", Args{"resave", Native("Anlagen\\Ost.anl")},
       link(anlagen + "\\Ost.anl", anlagen)},
      {"Modelle\\Nord\\bmp0_0.mod", "victim.txt", Args{"terrain", Layout()}, link(h + "Modelle\\Nord\\bmp0_0.mod", h)},
  };
  // Each refused, and no file inside or outside the installation changed.
  const Tree fresh = SnapshotTree(dir_.native());
  const auto refused = [&](const std::vector<std::string>& command, const std::string& err) {
    const Tree before = SnapshotTree(dir_.native());
    const RunResult run = Zuvo(command);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, Typed(err));
    EXPECT_TRUE(SnapshotTree(dir_.native()) == before) << run.err;
    EXPECT_EQ(Runs().size(), 0u);
  };
  for (const auto& c : settings) {
    SCOPED_TRACE(c.first.back());
    RestoreTree(dir_.native(), fresh);
    WriteSettings(c.first);
    refused({c.first[0] == "[Terrain Nord]" ? "terrain" : "start", Layout()}, c.second);
  }
  for (const auto& c : links) {
    SCOPED_TRACE(c.planted);
    RestoreTree(dir_.native(), fresh);
    WriteSettings(terrain("Nord"));
    unlink(Native(c.planted).c_str());
    ASSERT_EQ(symlink(dir_.NativePath("aussen/" + c.target).c_str(), Native(c.planted).c_str()), 0);
    refused(c.command, c.err);
    unlink(Native(c.planted).c_str());
  }
}

}  // namespace
}  // namespace e2e
