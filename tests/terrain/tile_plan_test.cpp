#include <gtest/gtest.h>

#include "terrain/tile_plan.h"

namespace {

using terrain::PlanResult;
using terrain::TilePlan;

std::vector<std::pair<int, int>> ColumnRanges(const TilePlan& plan) {
  std::vector<std::pair<int, int>> ranges;
  for (int i = 0; i < plan.columns; ++i) {
    terrain::TileRect t = plan.Tile(i, 0);
    ranges.emplace_back(t.firstColumn, t.lastColumn);
  }
  return ranges;
}

std::vector<int> Centres(const TilePlan& plan) {
  std::vector<int> centres;
  for (int i = 0; i < plan.columns; ++i) centres.push_back(plan.Tile(i, 0).centreColumn);
  return centres;
}

TEST(TilePlan, CentresAndRanges) {
  TilePlan plan;
  // 1 m pixels with the defaults: S = 200, R = 200.
  ASSERT_EQ(PlanResult::kOk, terrain::PlanTiles(200, 400, 100, 1000, 300, &plan));
  EXPECT_EQ(200, plan.spacing);
  EXPECT_EQ(200, plan.halfSize);
  EXPECT_EQ(100, plan.firstX);
  EXPECT_EQ((std::vector<int>{100, 300, 500, 700, 900}), Centres(plan));
  EXPECT_EQ((std::vector<std::pair<int, int>>{{0, 300}, {100, 500}, {300, 700}, {500, 900}, {700, 1000}}),
            ColumnRanges(plan));
  // One row: H = 300 gives ny = 1, centred at y0 = 150, cut at 0 and 300.
  EXPECT_EQ(1, plan.rows);
  terrain::TileRect t = plan.Tile(4, 0);
  EXPECT_EQ(150, t.centreRow);
  EXPECT_EQ(0, t.firstRow);
  EXPECT_EQ(300, t.lastRow);

  ASSERT_EQ(PlanResult::kOk, terrain::PlanTiles(200, 400, 100, 1100, 1100, &plan));
  EXPECT_EQ((std::vector<int>{150, 350, 550, 750, 950}), Centres(plan));

  // W = S: one column in the middle.
  ASSERT_EQ(PlanResult::kOk, terrain::PlanTiles(200, 400, 100, 200, 200, &plan));
  EXPECT_EQ((std::vector<int>{100}), Centres(plan));

  // W < S: no tile at all.
  ASSERT_EQ(PlanResult::kOk, terrain::PlanTiles(200, 400, 100, 150, 150, &plan));
  EXPECT_EQ(0, plan.columns);
  EXPECT_EQ(175, plan.firstX);

  // 3 m pixels: S = 66 (from 66.67), R = 67 (66.67 rounded up).
  ASSERT_EQ(PlanResult::kOk, terrain::PlanTiles(200, 400, 300, 1000, 1000, &plan));
  EXPECT_EQ(66, plan.spacing);
  EXPECT_EQ(67, plan.halfSize);
  // An exact whole number stays: 400 m at 5 m is 40 cells each side.
  ASSERT_EQ(PlanResult::kOk, terrain::PlanTiles(200, 400, 500, 1025, 1025, &plan));
  EXPECT_EQ(40, plan.halfSize);
  EXPECT_EQ(25, plan.columns);
  EXPECT_EQ(32, plan.firstX);
}

TEST(TilePlan, RefusedSettings) {
  TilePlan plan;
  EXPECT_EQ(PlanResult::kBadSpacing, terrain::PlanTiles(0, 400, 100, 1000, 1000, &plan));
  EXPECT_EQ(PlanResult::kBadSpacing, terrain::PlanTiles(-200, 400, 100, 1000, 1000, &plan));
  EXPECT_EQ(PlanResult::kBadSize, terrain::PlanTiles(200, 0, 100, 1000, 1000, &plan));
  EXPECT_EQ(PlanResult::kBadSize, terrain::PlanTiles(200, -1, 100, 1000, 1000, &plan));
  // 0.5 m spacing at 1 m pixels truncates to 0 cells.
  EXPECT_EQ(PlanResult::kSpacingBelowPixel, terrain::PlanTiles(0.5, 400, 100, 1000, 1000, &plan));
  // Huge values are held, not overflowed: no tile fits the grid.
  ASSERT_EQ(PlanResult::kOk, terrain::PlanTiles(1e30, 1e30, 1, 1000, 1000, &plan));
  EXPECT_EQ(0, plan.columns);
}

TEST(TilePlan, FormatLimits) {
  EXPECT_EQ(32176, terrain::TileLastObjectIndex(80, 80));
  EXPECT_EQ(32983, terrain::TileLastObjectIndex(81, 81));

  TilePlan plan;
  // The defaults fit from 5 m pixels up.
  ASSERT_EQ(PlanResult::kOk, terrain::PlanTiles(200, 400, 500, 1025, 1025, &plan));
  EXPECT_TRUE(terrain::TilesFit(plan, plan.halfSize));
  ASSERT_EQ(PlanResult::kOk, terrain::PlanTiles(200, 400, 499, 1025, 1025, &plan));
  EXPECT_FALSE(terrain::TilesFit(plan, plan.halfSize));

  // At 4 m pixels, 320 m tiles are the largest that fit.
  ASSERT_EQ(PlanResult::kOk, terrain::PlanTiles(200, 400, 400, 1000, 1000, &plan));
  ASSERT_FALSE(terrain::TilesFit(plan, plan.halfSize));
  EXPECT_EQ(40, terrain::LargestFittingHalfSize(plan));
  EXPECT_EQ("320", terrain::TileSizeText(40, 400));
  ASSERT_EQ(PlanResult::kOk, terrain::PlanTiles(200, 320, 400, 1000, 1000, &plan));
  EXPECT_TRUE(terrain::TilesFit(plan, plan.halfSize));
  // The suggestion gives exactly that half size back.
  ASSERT_EQ(PlanResult::kOk, terrain::PlanTiles(200, 186.4, 233, 1000, 1000, &plan));
  EXPECT_EQ(40, plan.halfSize);
  EXPECT_EQ("186.4", terrain::TileSizeText(40, 233));
  EXPECT_EQ("1.02", terrain::TileSizeText(1, 51));

  // A small grid cuts the tiles, so larger settings fit.
  ASSERT_EQ(PlanResult::kOk, terrain::PlanTiles(20, 400, 100, 60, 60, &plan));
  EXPECT_EQ(3, plan.columns);
  EXPECT_EQ(200, plan.halfSize);
  EXPECT_TRUE(terrain::TilesFit(plan, plan.halfSize));

  // Coordinates that would not fit 32 bits.
  ASSERT_EQ(PlanResult::kOk, terrain::PlanTiles(4e7, 8e7, 2000000000, 10, 10, &plan));
  EXPECT_EQ(5, plan.columns);
  EXPECT_EQ(2, plan.halfSize);
  EXPECT_EQ(1, plan.Tile(0, 0).centreColumn);
  EXPECT_FALSE(terrain::TilesFit(plan, plan.halfSize));
  EXPECT_TRUE(terrain::TilesFit(plan, 1));
}

}  // namespace
