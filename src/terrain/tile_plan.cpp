#include "terrain/tile_plan.h"

#include <algorithm>

#include "host/messages.h"
#include "model/model.h"

namespace terrain {
namespace {

const double kMaxInt = 2147483647.0;

// Truncates toward zero, holding the result at the top of the 32-bit range.
std::int32_t TruncatedCells(double cells) {
  if (cells >= kMaxInt) return 2147483647;
  return static_cast<std::int32_t>(cells);
}

// Number of centres first, first + step, ... below `limit`, and the first.
void Centres(std::int32_t cells, std::int32_t step, std::int32_t* first, std::int32_t* count) {
  const std::int64_t n = cells / step;
  const std::int64_t start = (cells - (n - 1) * step) / 2;
  std::int64_t c = 0;
  for (std::int64_t centre = start; centre < cells; centre += step) ++c;
  *first = static_cast<std::int32_t>(std::min<std::int64_t>(start, 2147483647));
  *count = static_cast<std::int32_t>(c);
}

// The largest cell count and the farthest reach from the centre over all
// tiles along one axis.
void AxisExtent(std::int32_t cells, std::int32_t first, std::int32_t count, std::int32_t step, std::int32_t half,
                std::int64_t* widest, std::int64_t* reach) {
  *widest = 0;
  *reach = 0;
  for (std::int32_t k = 0; k < count; ++k) {
    const std::int64_t centre = first + static_cast<std::int64_t>(k) * step;
    const std::int64_t low = std::max<std::int64_t>(centre - half, 0);
    const std::int64_t high = std::min<std::int64_t>(centre + half, cells);
    *widest = std::max(*widest, high - low);
    *reach = std::max({*reach, centre - low, high - centre});
  }
}

}  // namespace

TileRect TilePlan::Tile(int column, int row, std::int32_t half) const {
  const std::int64_t cx = firstX + static_cast<std::int64_t>(column) * spacing;
  const std::int64_t cy = firstY + static_cast<std::int64_t>(row) * spacing;
  TileRect tile;
  tile.firstColumn = static_cast<std::int32_t>(std::max<std::int64_t>(cx - half, 0));
  tile.centreColumn = static_cast<std::int32_t>(cx);
  tile.lastColumn = static_cast<std::int32_t>(std::min<std::int64_t>(cx + half, width));
  tile.firstRow = static_cast<std::int32_t>(std::max<std::int64_t>(cy - half, 0));
  tile.centreRow = static_cast<std::int32_t>(cy);
  tile.lastRow = static_cast<std::int32_t>(std::min<std::int64_t>(cy + half, height));
  return tile;
}

PlanResult PlanTiles(double spacingMetres, double sizeMetres, std::int32_t pixelSize, std::int32_t cellsX,
                     std::int32_t cellsY, TilePlan* plan) {
  *plan = TilePlan();
  plan->width = cellsX;
  plan->height = cellsY;
  plan->pixelSize = pixelSize;
  if (!(spacingMetres > 0.0)) return PlanResult::kBadSpacing;
  if (!(sizeMetres > 0.0)) return PlanResult::kBadSize;
  const double spacing = spacingMetres * 100 / pixelSize;
  const double half = sizeMetres * 100 / pixelSize * 0.5 + 1 - 1e-10;
  if (!(half >= 1.0)) return PlanResult::kBadSize;
  if (!(spacing >= 1.0)) return PlanResult::kSpacingBelowPixel;
  plan->spacing = TruncatedCells(spacing);
  plan->halfSize = TruncatedCells(half);
  Centres(cellsX, plan->spacing, &plan->firstX, &plan->columns);
  Centres(cellsY, plan->spacing, &plan->firstY, &plan->rows);
  return PlanResult::kOk;
}

std::int64_t TileLastObjectIndex(std::int64_t cellsX, std::int64_t cellsY) {
  return (cellsX + 1) * (cellsY + 1) + 4 * cellsX * cellsY + 15;
}

int TilesFit(const TilePlan& plan, std::int32_t half) {
  if (plan.columns == 0 || plan.rows == 0) return 1;
  std::int64_t widestX, reachX, widestY, reachY;
  AxisExtent(plan.width, plan.firstX, plan.columns, plan.spacing, half, &widestX, &reachX);
  AxisExtent(plan.height, plan.firstY, plan.rows, plan.spacing, half, &widestY, &reachY);
  if (TileLastObjectIndex(widestX, widestY) > model::kModelFormatLimit) return 0;
  return std::max(reachX, reachY) * plan.pixelSize <= 2147483647;
}

std::int32_t LargestFittingHalfSize(const TilePlan& plan) {
  // A tile wider than 180 cells never fits, so the search starts below that.
  std::int32_t half = std::min<std::int32_t>(plan.halfSize - 1, 200);
  while (half > 1 && !TilesFit(plan, half)) --half;
  return std::max<std::int32_t>(half, 1);
}

std::string TileSizeText(std::int32_t half, std::int32_t pixelSize) { return MetresText(2LL * half * pixelSize); }

std::string MetresText(long long centimetres) {
  const long long metres = centimetres / 100;
  const long long rest = centimetres % 100;
  if (rest == 0) return host::StringPrintf("%lld", metres);
  if (rest % 10 == 0) return host::StringPrintf("%lld.%lld", metres, rest / 10);
  return host::StringPrintf("%lld.%02lld", metres, rest);
}

std::string TileFileName(int column, int row) { return host::StringPrintf("bmp%d_%d.mod", column, row); }

}  // namespace terrain
