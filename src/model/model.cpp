#include "model/model.h"

namespace model {

std::int64_t ModelPart::IndexCount() const {
  std::int64_t count = 6;
  for (const ModelPolygon& polygon : polygons) {
    count += polygon.vertexCount > 4 ? std::int64_t{polygon.vertexCount} + 1 : polygon.vertexCount;
  }
  return count;
}

void Model::Release() {
  parts.clear();
  transform.Reset();
}

void Model::AssignClassTags() {
  std::uint16_t tag = 0x8004;
  for (const ModelPart& part : parts) {
    tag = static_cast<std::uint16_t>(tag + part.points.size() + 1);
  }
  indexTag = tag;
  tag = static_cast<std::uint16_t>(tag + 1);
  for (const ModelPart& part : parts) {
    tag = static_cast<std::uint16_t>(tag + static_cast<std::uint64_t>(part.IndexCount()) + 1);
  }
  formatTag = tag;
}

std::int64_t LastObjectIndex(const Model& model) {
  if (model.parts.empty()) return 0;
  // Four classes, three arrays per part (points, indices, formats), and one
  // index for every point, index entry and format.
  std::int64_t last = 4 + 3 * static_cast<std::int64_t>(model.parts.size());
  for (const ModelPart& part : model.parts) {
    last += static_cast<std::int64_t>(part.points.size()) + part.IndexCount() +
            static_cast<std::int64_t>(part.formats.size());
  }
  return last;
}

int ModelFitsFormat(const Model& model) {
  if (static_cast<std::int64_t>(model.parts.size()) > kModelFormatLimit) return 0;
  for (const ModelPart& part : model.parts) {
    std::int64_t points = static_cast<std::int64_t>(part.points.size());
    std::int64_t formats = static_cast<std::int64_t>(part.formats.size());
    if (points < 1 || points > kModelFormatLimit) return 0;
    if (formats < 1 || formats > kModelFormatLimit) return 0;
    for (const ModelPolygon& polygon : part.polygons) {
      if (polygon.vertexCount < 1) return 0;
      if (polygon.vertexCount > 4 && polygon.extraIndices.size() < static_cast<std::size_t>(polygon.vertexCount - 4)) {
        return 0;
      }
    }
    if (part.IndexCount() > kModelFormatLimit) return 0;
  }
  return LastObjectIndex(model) <= kModelFormatLimit;
}

}  // namespace model
