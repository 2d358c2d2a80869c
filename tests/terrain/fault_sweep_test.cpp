// Terrain tiles written under a failure at every file operation, into a new
// terrain folder and over the tiles of an earlier generation: every tile is
// either the old one or the new one, whole, and nothing else is left.
#include <gtest/gtest.h>

#include <string>

#include "host/installation.h"
#include "settings/settings_file.h"
#include "support/fault_sweep.h"
#include "support/test_support.h"
#include "terrain/generator.h"
#include "terrain/terrain_test_support.h"

namespace {

TEST(TerrainFaultSweep, TilesIntoANewFolderAndOverOldTiles) {
  testing_support::TempDir dir;
  dir.MakeDirs("Host/Modelle");
  auto height = [](int x, int y) { return terrain_test::HeightPixel(10000 + 7 * x - 3 * y); };
  dir.Write("Daten/h.bmp", terrain_test::MakeBitmap(4, 4, height));
  dir.Write("Daten/c.bmp", terrain_test::MakeBitmap(4, 4, [](int x, int y) {
              return terrain_test::PixelBytes{static_cast<std::uint8_t>(9 * x), 80, static_cast<std::uint8_t>(5 * y)};
            }));
  host::SetHostDirectoryOverride(dir.Path("Host"));
  host::ResetHostDirectoryCache();
  settings::SettingsFile s;
  s.AppendSection("TerrainBerg");
  for (const auto& kv : std::vector<std::pair<std::string, std::string>>{
           {"Name", "Berg"}, {"Hoehe", dir.Path("Daten\\h.bmp")}, {"Farbe", dir.Path("Daten\\c.bmp")},
           {"Pixelgroesse", "1"}, {"Kachelabstand", "2"}, {"Kachelgroesse", "4"}}) {
    s.Append(kv.first, kv.second);
  }
  auto generate = [&]() { return terrain::GenerateTerrain(s); };

  // A new folder: the directory is made, then four tiles.
  testing_support::FaultSweep fresh = testing_support::SweepFaults(dir.native(), generate);
  EXPECT_TRUE(fresh.problems.empty()) << ::testing::PrintToString(fresh.problems);
  EXPECT_EQ("create 4, write 4, close 4, rename 4, chdir 0, mkdir 1", fresh.AttemptsText());
  EXPECT_EQ(17, fresh.reported);

  // Tiles of an earlier generation: the folder exists, so a failed attempt
  // to make it again does no harm.
  for (const char* tile : {"bmp0_0.mod", "bmp0_1.mod", "bmp1_0.mod", "bmp1_1.mod"}) {
    dir.Write(std::string("Host/Modelle/Berg/") + tile, std::string("alt ") + tile);
  }
  testing_support::FaultSweep over = testing_support::SweepFaults(dir.native(), generate);
  EXPECT_TRUE(over.problems.empty()) << ::testing::PrintToString(over.problems);
  EXPECT_EQ(16, over.reported);
  EXPECT_EQ(1, over.harmless);
  EXPECT_EQ("alt bmp1_0.mod", dir.Read("Host/Modelle/Berg/bmp1_0.mod"));
  host::SetHostDirectoryOverride("");
  host::ResetHostDirectoryCache();
}

}  // namespace
