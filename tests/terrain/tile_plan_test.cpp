#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "terrain/tile_plan.h"

namespace {

using terrain::PlanResult;
using terrain::PlanTiles;
using terrain::TilePlan;

TEST(TilePlan, SpacingHalfSizeAndCentres) {
  struct Case {
    double spacingMetres, sizeMetres;
    int pixelSize, cells, spacing, half, firstX, columns;
  };
  const std::vector<Case> cases = {
      {200, 400, 100, 1100, 200, 200, 150, 5},     // 1 m pixels, centred: (1100 - 4 * 200) / 2
      {200, 400, 100, 200, 200, 200, 100, 1},      // W = S: one column in the middle
      {200, 400, 100, 150, 200, 200, 175, 0},      // W < S: no tile at all
      {200, 400, 300, 1000, 66, 67, 38, 15},       // S = 66.67 truncated, R = 66.67 rounded up
      {200, 400, 500, 1025, 40, 40, 32, 25},       // an exact whole number stays
      {1e30, 1e30, 1, 1000, 2147483647, 2147483647, 1073742323, 0},  // held, not overflowed
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.pixelSize << " cm, " << c.cells << " cells");
    TilePlan plan;
    ASSERT_EQ(PlanResult::kOk, PlanTiles(c.spacingMetres, c.sizeMetres, c.pixelSize, c.cells, c.cells, &plan));
    EXPECT_EQ(c.spacing, plan.spacing);
    EXPECT_EQ(c.half, plan.halfSize);
    EXPECT_EQ(c.firstX, plan.firstX);
    EXPECT_EQ(c.firstX, plan.firstY);
    EXPECT_EQ(c.columns, plan.columns);
    EXPECT_EQ(c.columns, plan.rows);
  }
  // Where the tiles reach, and the refused settings with their messages:
  // generator_test.cpp.
}

TEST(TilePlan, FormatLimits) {
  // (The fitting tile size at its limit, and its message: generator_test.cpp.)
  TilePlan plan;
  // At 4 m pixels, 320 m tiles are the largest that fit.
  ASSERT_EQ(PlanResult::kOk, PlanTiles(200, 400, 400, 1000, 1000, &plan));
  EXPECT_FALSE(terrain::TilesFit(plan, plan.halfSize));
  EXPECT_EQ(40, terrain::LargestFittingHalfSize(plan));
  // The suggested size in metres gives exactly that half size back.
  ASSERT_EQ(PlanResult::kOk, PlanTiles(200, 186.4, 233, 1000, 1000, &plan));
  EXPECT_EQ(40, plan.halfSize);
  EXPECT_EQ((std::vector<std::string>{"320", "186.4", "1.02", "0.08"}),
            (std::vector<std::string>{terrain::TileSizeText(40, 400), terrain::TileSizeText(40, 233),
                                      terrain::TileSizeText(1, 51), terrain::TileSizeText(1, 4)}));
  // Coordinates that would not fit 32 bits.
  ASSERT_EQ(PlanResult::kOk, PlanTiles(4e7, 8e7, 2000000000, 10, 10, &plan));
  EXPECT_EQ(5, plan.columns);
  EXPECT_EQ(2, plan.halfSize);
  EXPECT_FALSE(terrain::TilesFit(plan, plan.halfSize));
  EXPECT_TRUE(terrain::TilesFit(plan, 1));
}

}  // namespace
