// zuvo terrain --preview: one picture per terrain section beside the layout,
// and nothing else written.
#include "e2e/installation.h"
#include "terrain/terrain_test_support.h"

namespace e2e {
namespace {

TEST_F(InstallationTest, TerrainPreviewWritesOnePicturePerSectionAndNothingElse) {
  const auto pixel = [](int x, int y) { return terrain_test::PixelBytes{std::uint8_t(x), std::uint8_t(y), 1}; };
  Write("Anlagen\\h.bmp", terrain_test::MakeBitmap(4, 4, pixel));
  Write("Anlagen\\c.bmp", terrain_test::MakeBitmap(4, 4, pixel));
  // The second section names a file outside the layout's folder.
  const std::vector<std::string> pictures = {"Hoehe=h.bmp", "Farbe=c.bmp", "Pixelgroesse=1"};
  std::vector<std::string> lines = {"[Terrain Nord]", "Name=Nord", "[Terrain\\..\\..\\Weg]", "Name=Weg",
                                    "[Terrain S\xFC" "d]", "Name=..\\Weg"};
  for (std::size_t at : {6, 4, 2}) lines.insert(lines.begin() + at, pictures.begin(), pictures.end());
  WriteSettings(lines);
  const Tree before = SnapshotTree(Native());
  const RunResult run = Zuvo({"terrain", "--preview", Layout()});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.out, "Terrainvorschau geschrieben: C:\\Sim\\Anlagen\\Terrain Nord.svg\n"
                     "Terrainvorschau geschrieben: C:\\Sim\\Anlagen\\Terrain S\xC3\xBC" "d.svg\n");
  EXPECT_EQ(run.err, "[Terrain\\..\\..\\Weg]:Der Abschnittsname taugt nicht als Dateiname der Vorschau!\n");
  Tree after = SnapshotTree(Native());
  EXPECT_NE(after.at("Anlagen/Terrain S\xC3\xBC" "d.svg").find("Wird abgelehnt: [Terrain S\xC3\xBC" "d]:Name muss"),
            std::string::npos);
  EXPECT_EQ(after.erase("Anlagen/Terrain Nord.svg") + after.erase("Anlagen/Terrain S\xC3\xBC" "d.svg"), 2u);
  EXPECT_EQ(after, before);
}

}  // namespace
}  // namespace e2e
