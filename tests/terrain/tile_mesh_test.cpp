#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "model/model.h"
#include "settings/settings_file.h"
#include "terrain/tile_mesh.h"

namespace {

TEST(TileMesh, ColourScaling) {
  struct Case {
    std::vector<int> colour;
    float factor;
    std::vector<int> scaled;
  };
  // (Plain scaling and the clamp at 255: generator_test.cpp.)
  const std::vector<Case> cases = {
      // The product is formed in single precision: 10 * 0.7f is exactly 7
      // there, while in double precision it lies just below 7.
      {{10, 20, 100}, static_cast<float>(0.7), {7, 14, 70}},
      // Negative factors give 0, not the low byte of a negative number.
      {{200, 1, 0}, -1.0f, {0, 0, 0}},
      {{200, 1, 0}, std::nanf(""), {0, 0, 0}},
      {{200, 1, 0}, std::numeric_limits<float>::infinity(), {255, 255, 0}},
  };
  for (const Case& c : cases) {
    std::uint8_t rgb[3];
    for (int k = 0; k < 3; ++k) rgb[k] = static_cast<std::uint8_t>(c.colour[static_cast<std::size_t>(k)]);
    terrain::ScaleColour(rgb, c.factor);
    EXPECT_EQ(c.scaled, (std::vector<int>{rgb[0], rgb[1], rgb[2]})) << c.factor;
  }
}

TEST(TileMesh, HeightsFactorAndOffset) {
  // F = 2, V = -10 m: 12345.6 cm gives 23691; truncated toward zero and held
  // inside 32 bits.
  EXPECT_EQ(23691, terrain::TileZ(12345.6, 2.0f, -1000.0f));
  EXPECT_EQ(-3, terrain::TileZ(-3.9, 1.0f, 0.0f));
  EXPECT_EQ(2147483647, terrain::TileZ(1e12, 1.0f, 0.0f));
  EXPECT_EQ(-2147483647 - 1, terrain::TileZ(-1e12, 1.0f, 0.0f));
  EXPECT_EQ(0, terrain::TileZ(std::nan(""), 1.0f, 0.0f));

  // A flat field at its minimum: the default offset puts it at z = 2, or at
  // 1 after the roundings to single precision.
  struct Flat : terrain::HeightField {
    double HeightAt(int, int) const override { return minimumHeight; }
  } heights;
  struct Black : terrain::ColourSource {
    terrain::Colour ColourAt(int, int) const override { return terrain::Colour(); }
  } colours;
  heights.cellsX = heights.cellsY = heights.pixelSize = colours.width = colours.height = 1;
  struct Case {
    const char* factor;
    double minimum;
    int z;
  };
  for (const Case& c : std::vector<Case>{{"1", 1234.0, 2}, {"1", 17.0, 1}, {"1", 12.3, 1}, {"3", -500.0, 2}}) {
    SCOPED_TRACE(c.minimum);
    settings::SettingsFile s;
    s.AppendSection("Other");
    s.Append("Faktor", "5");
    s.AppendSection("TerrainT");
    s.Append("Faktor", c.factor);
    heights.minimumHeight = c.minimum;
    model::Model m;
    terrain::BuildTileMesh(s, "TerrainT", &m, colours, heights, terrain::TileRect{0, 0, 1, 0, 0, 1});
    ASSERT_EQ(5u, m.parts[0].points.size());
    EXPECT_EQ(c.z, m.parts[0].points[0].z);
  }
}

}  // namespace
