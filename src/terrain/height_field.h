// Ground heights of one terrain: a grid of vertices with a height in
// centimetres at each, read from a height bitmap or a TERRAGEN file.
//
// The grid has (cellsX + 1) x (cellsY + 1) vertices; neighbouring vertices are
// pixelSize centimetres apart in x and in y. An empty field (nothing usable
// was loaded) has 0 x 0 cells and pixel size 0.
//
// Height bitmaps code each pixel as height in centimetres plus 10000, as a
// 24-bit number whose high byte is the first byte of the pixel in the file
// (blue) and whose low byte is the third (red). The picture has one pixel per
// cell: a vertex is a corner between pixels and takes the mean of the four
// pixels that meet there (clamped at the border).
#pragma once

#include <cstdint>
#include <string>

#include "terrain/bitmap.h"

namespace terrain {

class HeightField {
 public:
  virtual ~HeightField();
  // Height at vertex (i, j) in centimetres; i and j are clamped into the grid.
  virtual double HeightAt(int i, int j) const = 0;

  std::int32_t cellsX = 0;
  std::int32_t cellsY = 0;
  double minimumHeight = 0.0;  // centimetres, the lowest vertex of the grid
  std::int32_t pixelSize = 0;  // centimetres between neighbouring vertices
  bool unreadable = false;     // the file was refused, and its reader said why
};

class BitmapHeightField : public HeightField {
 public:
  // Reads the height picture at `path`, named `name` in the messages (errors
  // reported by the bitmap reader), and takes `pixelSize` (centimetres) as
  // the distance between vertices.
  BitmapHeightField(const std::string& path, const std::string& name, std::int32_t pixelSize,
                    host::Reasons* into = nullptr);
  BitmapHeightField(const std::string& path, std::int32_t pixelSize) : BitmapHeightField(path, path, pixelSize) {}

  // (sum of the four pixels at the corner) * 0.25 - 10000.
  double HeightAt(int i, int j) const override;

  BitmapImage image;
};

}  // namespace terrain
