// One terrain tile as a model: a regular grid of points over a rectangle of
// height-field vertices, one quadrilateral per cell, one colour per point.
//
// For a tile of nxc x nyc cells the model has one part with
//   (nxc + 1) * (nyc + 1) grid points, row by row with x fastest, then one
//   closing marker point (param 3.0, kind 98);
//   nxc * nyc quadrilaterals, column by column, each with the corners
//   north-west, south-west, south-east, north-east (x east, y north);
//   one format (dvec 90, 0, 0).
// A point's x and y are centimetres from the tile's centre vertex, its z is
//   height * "Faktor" + "Verschiebung" (in cm), truncated toward zero,
// and its colour is the colour picture's pixel at the vertex (the last column
// and row repeat the picture's last ones) times "RGBFaktor".
//
// The factors and the offset come from the terrain's section (TileShading,
// terrain_job.h).
#pragma once

#include <cstdint>
#include <string>

#include "model/model.h"
#include "terrain/bitmap.h"
#include "terrain/height_field.h"
#include "terrain/terrain_job.h"

namespace terrain {

// A tile's vertices: first, centre and last column, then first, centre and
// last row. First and last are inclusive.
struct TileRect {
  std::int32_t firstColumn = 0;
  std::int32_t centreColumn = 0;
  std::int32_t lastColumn = 0;
  std::int32_t firstRow = 0;
  std::int32_t centreRow = 0;
  std::int32_t lastRow = 0;
};

// Fills `model` with the tile's mesh, replacing what it held. The caller
// makes sure the tile fits the model format and that its coordinates fit 32
// bits (the generator checks every tile before it writes any).
void BuildTileMesh(const TileShading& shading, model::Model* model, const BitmapImage& colours,
                   const HeightField& heights, const TileRect& tile);

// Multiplies red, green and blue (the first three bytes) by `factor`: the
// product is formed in single precision and truncated; above 255 gives 255,
// below 0 gives 0.
void ScaleColour(std::uint8_t colour[3], float factor);

// The z of a vertex: height * factor + offset, truncated toward zero and held
// inside the 32-bit range (a value that is not a number gives 0).
std::int32_t TileZ(double height, float factor, float offsetCm);

}  // namespace terrain
