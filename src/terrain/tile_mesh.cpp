#include "terrain/tile_mesh.h"

#include <algorithm>

namespace terrain {

void ScaleColour(std::uint8_t colour[3], float factor) {
  for (int k = 0; k < 3; ++k) {
    float product = static_cast<float>(colour[k]) * factor;
    if (!(product > 0.0f)) {
      colour[k] = 0;
    } else if (product >= 255.0f) {
      colour[k] = 255;
    } else {
      colour[k] = static_cast<std::uint8_t>(static_cast<int>(product));
    }
  }
}

std::int32_t TileZ(double height, float factor, float offsetCm) {
  double z = height * factor + offsetCm;
  if (!(z == z)) return 0;
  if (z >= 2147483647.0) return 2147483647;
  if (z <= -2147483648.0) return -2147483647 - 1;
  return static_cast<std::int32_t>(z);
}

void BuildTileMesh(const TileShading& shading, model::Model* model, const BitmapImage& colours,
                   const HeightField& heights, const TileRect& tile) {
  const int c0 = tile.firstColumn, cc = tile.centreColumn, c1 = tile.lastColumn;
  const int r0 = tile.firstRow, rc = tile.centreRow, r1 = tile.lastRow;
  const int nxc = c1 - c0;
  const int nyc = r1 - r0;
  const int p = heights.pixelSize;

  // Reuse the part's arrays from the previous tile; every element is set anew.
  model->transform.Reset();
  model->parts.resize(1);
  model::ModelPart& part = model->parts[0];
  const std::size_t gridPoints = static_cast<std::size_t>(nxc + 1) * static_cast<std::size_t>(nyc + 1);
  part.points.assign(gridPoints + 1, model::ModelPoint());
  part.polygons.resize(static_cast<std::size_t>(nxc) * static_cast<std::size_t>(nyc));
  part.formats.assign(1, model::ModelFormat());
  part.formats[0].dvec[0] = 90.0;

  auto pointNumber = [&](int a, int b) { return static_cast<std::int16_t>((b - r0) * (nxc + 1) + (a - c0)); };
  for (int i = c0; i < c1; ++i) {
    for (int j = r0; j < r1; ++j) {
      model::ModelPolygon& polygon = part.polygons[static_cast<std::size_t>(i - c0) * static_cast<std::size_t>(nyc) +
                                                   static_cast<std::size_t>(j - r0)];
      polygon.vertexCount = 4;
      polygon.indices[0] = pointNumber(i, j + 1);
      polygon.indices[1] = pointNumber(i, j);
      polygon.indices[2] = pointNumber(i + 1, j);
      polygon.indices[3] = pointNumber(i + 1, j + 1);
      polygon.extraIndices.clear();
    }
  }

  const int lastColourX = colours.width - 1;
  const int lastColourY = colours.height - 1;
  for (int i = c0; i <= c1; ++i) {
    for (int j = r0; j <= r1; ++j) {
      model::ModelPoint& point = part.points[static_cast<std::size_t>(j - r0) * static_cast<std::size_t>(nxc + 1) +
                                             static_cast<std::size_t>(i - c0)];
      Colour colour = colours.ColourAt(std::min(i, lastColourX), std::min(j, lastColourY));
      point.colour[0] = colour.red;
      point.colour[1] = colour.green;
      point.colour[2] = colour.blue;
      ScaleColour(point.colour, shading.colourFactor);
      point.x = (i - cc) * p;
      point.y = (j - rc) * p;
      point.z = TileZ(heights.HeightAt(i, j), shading.heightFactor, shading.offsetCm);
    }
  }

  model::ModelPoint& marker = part.points[gridPoints];
  marker.param = 3.0f;
  marker.kind = 98;
}

}  // namespace terrain
