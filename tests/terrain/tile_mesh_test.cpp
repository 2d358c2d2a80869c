#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

#include "model/model.h"
#include "settings/settings_file.h"
#include "terrain/terrain_test_support.h"
#include "terrain/tile_mesh.h"

namespace {

using terrain::Colour;
using terrain::TileRect;
using terrain_test::TilePoint;

class FakeHeights : public terrain::HeightField {
 public:
  std::function<double(int, int)> height = [](int, int) { return 0.0; };
  double HeightAt(int i, int j) const override { return height(i, j); }
};

// Colours (10 i + j, 100 + i, 200 - j); remembers the largest pixel asked for.
class FakeColours : public terrain::ColourSource {
 public:
  Colour ColourAt(int x, int y) const override {
    maxX = std::max(maxX, x);
    maxY = std::max(maxY, y);
    Colour c;
    c.red = static_cast<std::uint8_t>(10 * x + y);
    c.green = static_cast<std::uint8_t>(100 + x);
    c.blue = static_cast<std::uint8_t>(200 - y);
    return c;
  }
  mutable int maxX = -1;
  mutable int maxY = -1;
};

TileRect Rect(int c0, int cc, int c1, int r0, int rc, int r1) {
  TileRect t;
  t.firstColumn = c0;
  t.centreColumn = cc;
  t.lastColumn = c1;
  t.firstRow = r0;
  t.centreRow = rc;
  t.lastRow = r1;
  return t;
}

settings::SettingsFile Section(const std::vector<std::pair<std::string, std::string>>& keys) {
  settings::SettingsFile s;
  s.AppendSection("Other");
  s.Append("Faktor", "5");
  s.AppendSection("TerrainT");
  for (const auto& kv : keys) s.Append(kv.first, kv.second);
  return s;
}

TEST(TileMesh, SmallTileNumberingAndBytes) {
  FakeHeights heights;
  heights.cellsX = 2;
  heights.cellsY = 1;
  heights.pixelSize = 100;
  heights.height = [](int i, int j) { return 1000.0 * i + 10.0 * j + 0.75; };
  FakeColours colours;
  colours.width = 2;
  colours.height = 1;
  settings::SettingsFile s = Section({{"Verschiebung", "0"}});

  model::Model m;
  // Left over from an earlier tile: replaced.
  m.parts.resize(3);
  m.transform.ivec[0] = 5;
  terrain::BuildTileMesh(s, "TerrainT", &m, colours, heights, Rect(0, 1, 2, 0, 0, 1));

  ASSERT_EQ(1u, m.parts.size());
  EXPECT_EQ(0, m.transform.ivec[0]);
  const model::ModelPart& part = m.parts[0];
  ASSERT_EQ(7u, part.points.size());
  ASSERT_EQ(2u, part.polygons.size());
  const std::int16_t first[4] = {3, 0, 1, 4};
  const std::int16_t second[4] = {4, 1, 2, 5};
  for (int k = 0; k < 4; ++k) {
    EXPECT_EQ(first[k], part.polygons[0].indices[k]);
    EXPECT_EQ(second[k], part.polygons[1].indices[k]);
  }
  EXPECT_EQ(98, part.points[6].kind);
  EXPECT_EQ(3.0f, part.points[6].param);
  // Colours stay inside the picture: the last column repeats column 1, the
  // last row row 0.
  EXPECT_EQ(1, colours.maxX);
  EXPECT_EQ(0, colours.maxY);

  std::vector<TilePoint> grid;
  for (int j = 0; j <= 1; ++j) {
    for (int i = 0; i <= 2; ++i) {
      TilePoint p;
      p.x = (i - 1) * 100;
      p.y = j * 100;
      p.z = 1000 * i + 10 * j;  // 0.75 truncated away
      p.red = static_cast<std::uint8_t>(10 * std::min(i, 1));
      p.green = static_cast<std::uint8_t>(100 + std::min(i, 1));
      p.blue = 200;
      grid.push_back(p);
    }
  }
  std::string bytes;
  ASSERT_TRUE(m.Serialize(&bytes));
  EXPECT_EQ(terrain_test::TileFileBytes(2, 1, grid), bytes);
}

TEST(TileMesh, BorderTileCoordinates) {
  FakeHeights heights;
  heights.cellsX = 1000;
  heights.cellsY = 1000;
  heights.pixelSize = 100;
  FakeColours colours;
  colours.width = 1000;
  colours.height = 1000;
  settings::SettingsFile s = Section({});
  model::Model m;
  // Centre column 100 with R = 200 covers columns 0 to 300.
  terrain::BuildTileMesh(s, "TerrainT", &m, colours, heights, Rect(0, 100, 300, 40, 50, 60));
  const model::ModelPart& part = m.parts[0];
  ASSERT_EQ(301u * 21u + 1u, part.points.size());
  EXPECT_EQ(-10000, part.points[0].x);
  EXPECT_EQ(-1000, part.points[0].y);
  EXPECT_EQ(20000, part.points[300].x);
  EXPECT_EQ(1000, part.points[301u * 21u - 1u].y);
  EXPECT_EQ(300u * 20u, part.polygons.size());
}

TEST(TileMesh, ColourScaling) {
  auto scaled = [](std::uint8_t r, std::uint8_t g, std::uint8_t b, float factor) {
    std::uint8_t c[3] = {r, g, b};
    terrain::ScaleColour(c, factor);
    return std::vector<int>{c[0], c[1], c[2]};
  };
  EXPECT_EQ((std::vector<int>{255, 150, 0}), scaled(200, 100, 0, 1.5f));
  EXPECT_EQ((std::vector<int>{50, 0, 127}), scaled(101, 1, 255, 0.5f));
  // The product is formed in single precision: 10 * 0.7f is exactly 7 there,
  // while in double precision it lies just below 7.
  EXPECT_EQ((std::vector<int>{7, 14, 70}), scaled(10, 20, 100, static_cast<float>(0.7)));
  // Negative factors give 0, not the low byte of a negative number.
  EXPECT_EQ((std::vector<int>{0, 0, 0}), scaled(200, 1, 0, -1.0f));
  EXPECT_EQ((std::vector<int>{0, 0, 0}), scaled(200, 1, 0, std::nanf("")));
  EXPECT_EQ((std::vector<int>{255, 255, 0}), scaled(200, 1, 0, std::numeric_limits<float>::infinity()));
  EXPECT_EQ((std::vector<int>{1, 2, 3}), scaled(1, 2, 3, 1.0f));
}

TEST(TileMesh, HeightsFactorAndOffset) {
  // F = 2, V = -10 m (Vcm = -1000): 12345.6 cm gives 23691, -0.5 gives 0.
  EXPECT_EQ(23691, terrain::TileZ(12345.6, 2.0f, -1000.0f));
  EXPECT_EQ(0, terrain::TileZ(-0.5, 1.0f, 0.0f));
  EXPECT_EQ(-3, terrain::TileZ(-3.9, 1.0f, 0.0f));
  EXPECT_EQ(2147483647, terrain::TileZ(1e12, 1.0f, 0.0f));
  EXPECT_EQ(-2147483647 - 1, terrain::TileZ(-1e12, 1.0f, 0.0f));
  EXPECT_EQ(0, terrain::TileZ(std::nan(""), 1.0f, 0.0f));

  FakeHeights heights;
  heights.cellsX = 1;
  heights.cellsY = 1;
  heights.pixelSize = 100;
  FakeColours colours;
  colours.width = 1;
  colours.height = 1;
  model::Model m;

  settings::SettingsFile explicitOffset = Section({{"Faktor", "2"}, {"Verschiebung", "-10"}});
  heights.height = [](int i, int j) { return i + j == 0 ? 12345.6 : -0.5; };
  terrain::BuildTileMesh(explicitOffset, "TerrainT", &m, colours, heights, Rect(0, 0, 1, 0, 0, 1));
  EXPECT_EQ(23691, m.parts[0].points[0].z);
  EXPECT_EQ(-1001, m.parts[0].points[1].z);

  // The default offset puts the field's lowest vertex at z = 2, or at 1
  // after the roundings to single precision.
  settings::SettingsFile defaults = Section({});
  const double minima[4] = {-500.0, 1234.0, 17.0, 12.3};
  const int expected[4] = {2, 2, 1, 1};
  for (int k = 0; k < 4; ++k) {
    SCOPED_TRACE(minima[k]);
    heights.minimumHeight = minima[k];
    heights.height = [&](int, int) { return minima[k]; };
    terrain::BuildTileMesh(defaults, "TerrainT", &m, colours, heights, Rect(0, 0, 1, 0, 0, 1));
    EXPECT_EQ(expected[k], m.parts[0].points[0].z);
  }

  // With F = 3 the default offset scales the minimum too.
  settings::SettingsFile tripled = Section({{"Faktor", "3"}});
  heights.minimumHeight = -500.0;
  heights.height = [](int, int) { return -500.0; };
  terrain::BuildTileMesh(tripled, "TerrainT", &m, colours, heights, Rect(0, 0, 1, 0, 0, 1));
  EXPECT_EQ(2, m.parts[0].points[0].z);
}

}  // namespace
