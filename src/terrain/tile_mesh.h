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
// Section keys, read again for every tile:
//   "Faktor"        height factor F, default 1
//   "RGBFaktor"     colour factor G, default 1
//   "Verschiebung"  height offset in metres; by default 0.02 - F * m * 0.01
//                   (m: the field's minimum height in cm), so that the lowest
//                   vertex of the whole field ends near z = 2 cm
#pragma once

#include <cstdint>
#include <string>

#include "model/model.h"
#include "settings/settings_file.h"
#include "terrain/bitmap.h"
#include "terrain/height_field.h"

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
void BuildTileMesh(const settings::SettingsFile& settings, const std::string& section,
                   model::Model* model, const ColourSource& colours, const HeightField& heights,
                   const TileRect& tile);

// Multiplies red, green and blue (the first three bytes) by `factor`: the
// product is formed in single precision and truncated; above 255 gives 255,
// below 0 gives 0.
void ScaleColour(std::uint8_t colour[3], float factor);

// The z of a vertex: height * factor + offset, truncated toward zero and held
// inside the 32-bit range (a value that is not a number gives 0).
std::int32_t TileZ(double height, float factor, float offsetCm);

}  // namespace terrain
