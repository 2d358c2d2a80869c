// Settings files of shared layouts that name files outside the installation:
// the command stops with its message and no file anywhere has changed.
#include <unistd.h>

#include "e2e/installation.h"
#include "terrain/terrain_test_support.h"

namespace e2e {
namespace {

std::string Outside(const std::string& entry) { return "[Copy]:" + entry + " liegt außerhalb des Simulatorordners!\n"; }

std::vector<std::string> Terrain(const std::string& name) {
  return {"[Terrain Nord]", "Name=" + name,    "Hoehe=h.bmp",    "Farbe=f.bmp",
          "Pixelgroesse=1", "Kachelabstand=2", "Kachelgroesse=2"};
}

TEST_F(InstallationTest, HostileSettingsChangeNothing) {
  dir_.Write("aussen/victim.txt", "Opfer");
  dir_.Write("prefix/drive_c/victim.txt", "Opfer C");
  ASSERT_EQ(symlink("../../aussen", dir_.NativePath("prefix/dosdevices/d:").c_str()), 0);
  ASSERT_EQ(symlink(dir_.NativePath("aussen").c_str(), Native("Link").c_str()), 0);
  ASSERT_EQ(symlink(dir_.NativePath("aussen").c_str(), Native("Modelle\\Weg").c_str()), 0);
  SaveDefaults();
  Write("Anlagen\\payload.txt", "Angriff");
  Write("Anlagen\\h.bmp", terrain_test::MakeBitmap(2, 4, [](int, int) { return terrain_test::HeightPixel(1); }));
  Write("Anlagen\\f.bmp", terrain_test::MakeBitmap(2, 4, [](int, int) { return terrain_test::PixelBytes{}; }));
  std::string z = "Z:" + dir_.NativePath("aussen");
  for (char& c : z) c = c == '/' ? '\\' : c;
  const std::string nul("A.dat\0x", 7), tooLong(300, 'x');
  const std::string terrainErr = "[Terrain Nord]:Name muss ein Ordnername in Modelle sein!\n";
  // The lines of Test.danl and the message of the start (a terrain, for a
  // terrain's lines) they stop.
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{"[Copy]", z + "\\victim.txt=Anlagen\\payload.txt"}, Outside(z + "\\victim.txt=Anlagen\\payload.txt")},
      {{"[Copy]", "D:\\victim.txt=Anlagen\\payload.txt"}, Outside("D:\\victim.txt=Anlagen\\payload.txt")},
      {{"[Copy]", "A.dat=B.dat", "..\\..\\victim.txt=A.dat"}, Outside("..\\..\\victim.txt=A.dat")},
      {{"[Copy]", "A.dat=Mods/..\\../../Victim.TXT"}, Outside("A.dat=Mods/..\\../../Victim.TXT")},
      {{"[Copy]", "c:\\sIM\\..\\VICTIM.txt=A.dat"}, Outside("c:\\sIM\\..\\VICTIM.txt=A.dat")},
      {{"[Copy]", "Link\\victim.txt=Anlagen\\payload.txt"}, Outside("Link\\victim.txt=Anlagen\\payload.txt")},
      {{"[Copy]", "A.dat=" + tooLong}, Outside("A.dat=" + tooLong)},
      {{"[Copy]", "=Anlagen\\payload.txt"}, Outside("=Anlagen\\payload.txt")},
      {{"[Copy]", nul + "=B.dat"}, Outside("A.dat=B.dat")},
      {{"[Zuvo]", "Leitpfosten=..\\Mods\\Prellbock.mod"},
       "Leitpfosten \"..\\Mods\\Prellbock.mod\" kann nicht installiert werden!\n"},
      {Terrain("..\\..\\Kacheln"), terrainErr},
      {Terrain("Weg"), terrainErr},
      {Terrain(z), terrainErr},
  };
  for (const auto& c : cases) {
    WriteSettings(c.first);
    const Tree before = SnapshotTree(dir_.native());
    RunResult run = c.first[0] == "[Terrain Nord]" ? Zuvo({"terrain", Layout()}) : Start();
    EXPECT_EQ(run.exitCode, 1) << c.second;
    EXPECT_EQ(run.err, c.second);
    EXPECT_TRUE(SnapshotTree(dir_.native()) == before) << c.second;
  }
}

}  // namespace
}  // namespace e2e
