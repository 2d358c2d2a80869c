#include "terrain/height_field.h"

#include <algorithm>

namespace terrain {

HeightField::~HeightField() = default;

BitmapHeightField::BitmapHeightField(const std::string& path, const std::string& name, std::int32_t pixelSizeCm,
                                     host::Reasons* into) {
  if (!image.ReadBitmap(path, name, into)) {
    unreadable = true;
    return;
  }
  cellsX = image.width;
  cellsY = image.height;
  if (cellsX == 0 || cellsY == 0) return;
  // The scan runs one past the last pixel in each direction, where the clamp
  // repeats the last column and row.
  std::int32_t smallest = image.ValueAt(0, 0);
  for (int i = 0; i <= cellsX; ++i) {
    for (int j = 0; j <= cellsY; ++j) smallest = std::min(smallest, image.ValueAt(i, j));
  }
  minimumHeight = smallest - 10000.0;
  pixelSize = pixelSizeCm;
}

double BitmapHeightField::HeightAt(int i, int j) const {
  i = std::min(std::max(i, 0), cellsX);
  j = std::min(std::max(j, 0), cellsY);
  std::int32_t sum =
      image.ValueAt(i, j) + image.ValueAt(i - 1, j - 1) + image.ValueAt(i - 1, j) + image.ValueAt(i, j - 1);
  return sum * 0.25 - 10000.0;
}

}  // namespace terrain
