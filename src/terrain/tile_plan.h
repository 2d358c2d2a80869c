// Where the tiles of one terrain lie on its height field.
//
// All sizes are in cells of the height field (W x H cells, p cm each):
//   S  spacing of tile centres  = "Kachelabstand" * 100 / p, truncated
//   R  half the tile edge       = "Kachelgroesse" * 100 / p * 0.5 + 1 - 1e-10,
//                                 truncated (half the edge rounded up)
//   nx = W / S columns, ny = H / S rows
//   x0 = (W - (nx - 1) * S) / 2, y0 likewise: the first centres, so that the
//        centres lie symmetrically in the grid
// Tile (i, j) has its centre at (x0 + i * S, y0 + j * S) and reaches R cells
// to either side, cut off at the grid's edges 0 and W (or H). With the
// defaults (400 m tiles every 200 m) each tile covers half of each neighbour.
#pragma once

#include <cstdint>
#include <string>

#include "terrain/tile_mesh.h"

namespace terrain {

struct TilePlan {
  std::int32_t width = 0;      // W, cells in x
  std::int32_t height = 0;     // H, cells in y
  std::int32_t pixelSize = 0;  // p, centimetres
  std::int32_t spacing = 0;    // S
  std::int32_t halfSize = 0;   // R
  std::int32_t firstX = 0;     // x0
  std::int32_t firstY = 0;     // y0
  std::int32_t columns = 0;    // tiles in x (nx)
  std::int32_t rows = 0;       // tiles in y (ny)

  // The tile in column i and row j, with the plan's half size or another.
  TileRect Tile(int column, int row) const { return Tile(column, row, halfSize); }
  TileRect Tile(int column, int row, std::int32_t half) const;
};

enum class PlanResult {
  kOk,
  kBadSpacing,         // "Kachelabstand" is 0, negative or not a number
  kBadSize,            // "Kachelgroesse" is 0, negative or gives no cell
  kSpacingBelowPixel,  // the spacing is shorter than one cell
};

// Computes the plan for the given settings (metres) and height field.
PlanResult PlanTiles(double spacingMetres, double sizeMetres, std::int32_t pixelSize, std::int32_t cellsX,
                     std::int32_t cellsY, TilePlan* plan);

// The last running object index of the largest tile's model file:
// (nxc + 1)(nyc + 1) + 4 nxc nyc + 15 for nxc x nyc cells.
std::int64_t TileLastObjectIndex(std::int64_t cellsX, std::int64_t cellsY);

// 1 when every tile of the plan, with half size `half`, fits the model format
// and its coordinates fit 32 bits.
int TilesFit(const TilePlan& plan, std::int32_t half);

// The largest half size below the plan's for which every tile fits (at least
// 1), and the "Kachelgroesse" in metres that gives it, as text ("400",
// "186.4").
std::int32_t LargestFittingHalfSize(const TilePlan& plan);
std::string TileSizeText(std::int32_t half, std::int32_t pixelSize);

// A length in centimetres as metres, without trailing zeros ("400", "186.4",
// "0.05").
std::string MetresText(long long centimetres);

// The name of the tile file in column i and row j: "bmp{i}_{j}.mod".
std::string TileFileName(int column, int row);

}  // namespace terrain
