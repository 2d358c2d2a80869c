// Lays down a Model's file bytes (see model.h for the format).
#include <cstring>

#include "model/model.h"
#include "platform/le_bytes.h"

namespace model {
namespace {

const std::uint16_t kNewClassTag = 0xFFFF;
const std::uint16_t kArrayClassTag = 0x8001;  // "CObArray", index 1
const std::uint16_t kPointClassTag = 0x8003;  // "CObPunkt", index 3

// The model file's own values on top of the little-endian writer.
class ModelBytes {
 public:
  explicit ModelBytes(std::string* out) : w_(out) {}

  void U8(std::uint8_t v) { w_.U8(v); }
  void U16(std::uint16_t v) { w_.U16(v); }
  void S32(std::int32_t v) { w_.S32(v); }
  void U32(std::uint32_t v) { w_.U32(v); }
  void F32(float v) { w_.F32(v); }
  void F64(double v) {
    std::uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    w_.U32(static_cast<std::uint32_t>(bits & 0xFFFFFFFFu));
    w_.U32(static_cast<std::uint32_t>(bits >> 32));
  }
  // A count; ModelFitsFormat has held every count to 32767.
  void Count(std::size_t n) { w_.U16(static_cast<std::uint16_t>(n)); }
  // A new class: tag 0xFFFF, schema 0, name length, name without terminator.
  void DeclareClass(const char* name) {
    std::size_t length = std::strlen(name);
    U16(kNewClassTag);
    U16(0);
    Count(length);
    w_.Bytes(name, length);
  }
  void Vectors(const ModelVectors& v) {
    for (std::int32_t i : v.ivec) S32(i);
    for (double d : v.dvec) F64(d);
    for (float f : v.fvec) F32(f);
  }
  // A CObPunkt object, 48 bytes; colour bytes past the third are not kept.
  void Point(const ModelPoint& p) {
    S32(p.x);
    S32(p.y);
    S32(p.z);
    U32(p.auxA);
    for (std::uint32_t v : p.auxB) U32(v);
    w_.Bytes(p.colour, 3);
    U8(p.auxC);
    F32(p.param);
    U32(p.auxD);
    S32(p.kind);
  }
  void Finish() { w_.Finish(); }

 private:
  platform::LeWriter w_;
};

// Writes one part's CObIndex entries with `tag` between consecutive ones.
class IndexList {
 public:
  IndexList(ModelBytes* out, std::uint16_t tag) : out_(out), tag_(tag) {}

  void Code(std::int32_t code) { Entry(code, 1); }
  void Index(std::int16_t index) { Entry(index, 0); }

 private:
  void Entry(std::int32_t value, std::int32_t isCode) {
    if (!first_) out_->U16(tag_);
    first_ = false;
    out_->S32(value);
    out_->S32(isCode);
  }
  ModelBytes* out_;
  std::uint16_t tag_;
  bool first_ = true;
};

void WriteIndexEntries(const ModelPart& part, std::uint16_t indexTag, ModelBytes* out) {
  IndexList list(out, indexTag);
  // Points, lines, triangles and quadrilaterals: one code, then the vertices
  // of every polygon of that size in polygon order.
  const std::int32_t codes[4] = {0, 1, 4, 7};
  for (int size = 1; size <= 4; ++size) {
    list.Code(codes[size - 1]);
    for (const ModelPolygon& polygon : part.polygons) {
      if (polygon.vertexCount != size) continue;
      for (int k = 0; k < size; ++k) list.Index(polygon.indices[k]);
    }
  }
  // General polygons, each closed by its own code 9, then the final code 9.
  list.Code(9);
  for (const ModelPolygon& polygon : part.polygons) {
    if (polygon.vertexCount <= 4) continue;
    for (int k = 0; k < polygon.vertexCount; ++k) list.Index(polygon.Vertex(k));
    list.Code(9);
  }
  list.Code(9);
}

}  // namespace

int Model::Serialize(std::string* out) {
  if (!ModelFitsFormat(*this)) return 0;
  AssignClassTags();
  ModelBytes w(out);

  w.Count(parts.size());
  w.U16(0);
  for (double d : transform.dvec) w.F64(d);
  for (std::int32_t i : transform.ivec) w.S32(i);
  w.Count(parts.size());
  if (parts.empty()) {
    w.U16(0);
    w.U16(0);
    w.Finish();
    return 1;
  }

  for (std::size_t k = 0; k < parts.size(); ++k) {
    const ModelPart& part = parts[k];
    if (k == 0) {
      w.DeclareClass("CObArray");
      w.Count(part.points.size());
      w.DeclareClass("CObPunkt");
    } else {
      w.U16(kArrayClassTag);
      w.Count(part.points.size());
      w.U16(kPointClassTag);
    }
    for (std::size_t i = 0; i < part.points.size(); ++i) {
      if (i > 0) w.U16(kPointClassTag);
      w.Point(part.points[i]);
    }
  }

  w.Count(parts.size());
  for (std::size_t k = 0; k < parts.size(); ++k) {
    const ModelPart& part = parts[k];
    w.U16(kArrayClassTag);
    w.Count(static_cast<std::size_t>(part.IndexCount()));
    if (k == 0) {
      w.DeclareClass("CObIndex");
    } else {
      w.U16(indexTag);
    }
    WriteIndexEntries(part, indexTag, &w);
  }

  w.Count(parts.size());
  for (std::size_t k = 0; k < parts.size(); ++k) {
    const ModelPart& part = parts[k];
    w.U16(kArrayClassTag);
    w.Count(part.formats.size());
    if (k == 0) {
      w.DeclareClass("CObFormat");
    } else {
      w.U16(formatTag);
    }
    for (std::size_t i = 0; i < part.formats.size(); ++i) {
      if (i > 0) w.U16(formatTag);
      w.Vectors(part.formats[i]);
    }
  }
  w.Finish();
  return 1;
}

}  // namespace model
