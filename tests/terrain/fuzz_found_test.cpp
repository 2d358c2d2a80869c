// Inputs the fuzz targets found (fuzz/terragen_fuzzer.cpp,
// fuzz/bitmap_fuzzer.cpp), kept with where they came from and exactly what
// reading them must give.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/test_support.h"
#include "terrain/terragen.h"
#include "terrain/terrain_test_support.h"

namespace {

using Messages = std::vector<std::string>;

// terragen_fuzzer, first hour: a point count after the heights made the grid
// smaller than the samples read for it; the samples beyond the grid were kept
// and the lowest height was taken over them too.
TEST(FuzzFoundTerragen, ACountAfterTheHeightsDropsTheSamplesOutsideTheGrid) {
  testing_support::MessageRecorder messages;
  const std::string found(
      "TERRAGENTERRAIN SIZE\x02\x00\xEC\x00"
      "ALTWTERRAGENTERRAIN SIZE\x02\x00\x00\x00"
      "XPTS\x00\x00\x02\x00\x00\x00\x04\x00YPTS\x03\x00\x00\x00"
      "ALTW\x07" "E\x02\x00\x00\x00XPTS\x04\x00\x00\x00YS\x00\x00\x04L\x00XPTMAIN SITZE",
      110);
  terrain::TerragenTerrain terrain;
  EXPECT_EQ(0, terrain.ReadTerragenBytes(found, "found.ter"));
  EXPECT_EQ(Messages{"Formatfehler in found.ter!\n"}, messages.messages());
  EXPECT_EQ(0, terrain.xPoints);  // set by the "XPTS" after the heights
  EXPECT_EQ(3, terrain.yPoints);
  EXPECT_TRUE(terrain.samples.empty());
  EXPECT_DOUBLE_EQ(0.0, terrain.HeightAt(1, 1));

  // The same made plain: 3 x 3 samples, then 2 points in x. The grid is
  // 2 x 3 and its lowest height is that of the sixth sample, not of the
  // ninth, which lies outside it.
  terrain_test::Terragen plain;
  plain.Count("SIZE", 2).Heights(16384, 0, {10, 20, 30, 40, 50, 5, 70, 80, -30000}).Count("XPTS", 2);
  testing_support::TempDir dir;
  dir.Write("plain.ter", plain.s);
  messages.clear();
  terrain::TerragenHeightField field(dir.Path("plain.ter"));
  EXPECT_EQ(6u, field.terrain.samples.size());
  EXPECT_EQ(1, field.cellsX);
  EXPECT_EQ(2, field.cellsY);
  EXPECT_DOUBLE_EQ(5 * 0.25 * 30 * 100, field.minimumHeight);
  EXPECT_DOUBLE_EQ(5 * 0.25 * 30 * 100, field.HeightAt(1, 2));
  EXPECT_TRUE(messages.messages().empty());
}

}  // namespace
