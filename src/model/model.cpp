#include "model/model.h"

#include <cmath>

namespace model {

std::int64_t ModelPart::IndexCount() const {
  std::int64_t count = 6;
  for (const ModelPolygon& polygon : polygons) {
    count += polygon.vertexCount > 4 ? std::int64_t{polygon.vertexCount} + 1 : polygon.vertexCount;
  }
  return count;
}

Model::~Model() = default;

namespace {

const ModelPoint* FindPoint(const Model& model, int part, int point) {
  if (part < 0 || static_cast<std::size_t>(part) >= model.parts.size()) return nullptr;
  const std::vector<ModelPoint>& points = model.parts[static_cast<std::size_t>(part)].points;
  if (point < 0 || static_cast<std::size_t>(point) >= points.size()) return nullptr;
  return &points[static_cast<std::size_t>(point)];
}

}  // namespace

int Model::PointPosition(int part, int point, float xyz[3]) const {
  const ModelPoint* p = FindPoint(*this, part, point);
  if (p == nullptr) return 0;
  xyz[0] = static_cast<float>(p->x);
  xyz[1] = static_cast<float>(p->y);
  xyz[2] = static_cast<float>(p->z);
  return 1;
}

int Model::CopyPoint(int part, int point, ModelPoint* out) const {
  const ModelPoint* p = FindPoint(*this, part, point);
  if (p == nullptr) return 0;
  *out = *p;
  return 1;
}

unsigned Model::FlagQuery(int part, int point, unsigned mask) const {
  const ModelPoint* p = FindPoint(*this, part, point);
  if (p == nullptr) return 0;
  unsigned flags = parts[static_cast<std::size_t>(part)].flags;
  if (p->kind == 99 && p->param > 0.0f) {
    // The low 16 bits of the param truncated to an integer, computed without
    // converting an out-of-range float (an infinite param contributes 0).
    double low = std::fmod(std::trunc(static_cast<double>(p->param)), 65536.0);
    if (low >= 0.0) flags ^= static_cast<unsigned>(low);
  }
  return flags & mask;
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
      if (polygon.vertexCount > 4 &&
          polygon.extraIndices.size() < static_cast<std::size_t>(polygon.vertexCount - 4)) {
        return 0;
      }
    }
    if (part.IndexCount() > kModelFormatLimit) return 0;
  }
  return LastObjectIndex(model) <= kModelFormatLimit;
}

}  // namespace model
