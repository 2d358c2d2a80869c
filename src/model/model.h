// The simulator's object model files (".mod") and the in-memory Model they
// are written from.
//
// A model file is an object stream in the archive format of the Microsoft
// Foundation Classes, little-endian, with no gaps:
//   header      partCount, 0, transform.dvec[3] (doubles), transform.ivec[3]
//   points      one CObArray of CObPunkt objects (48 bytes each) per part
//   indices     one CObArray of CObIndex entries (value, isCode) per part:
//               primitive codes as OpenGL's modes (0 points, 1 lines,
//               4 triangles, 7 quads, 9 polygon), each followed by the vertex
//               indices of the polygons of that kind
//   formats     one CObArray of CObFormat objects (48 bytes each) per part
// Counts are 16-bit words. A class is declared once (tag 0xFFFF, schema 0,
// name) and referred to later by 0x8000 | its index; classes and objects
// share one running index counted from 1. Every count and that running index
// must stay at most 32767, and every part needs at least one point and one
// format: ModelFitsFormat checks this, and nothing is written for a model
// that does not fit.
//
// Result contract: int results are non-zero for success; nothing here shows a
// message.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace model {

// The shape shared by a model's transform and a part's format records.
struct ModelVectors {
  std::int32_t ivec[3] = {0, 0, 0};
  double dvec[3] = {0.0, 0.0, 0.0};
  float fvec[3] = {1.0f, 1.0f, 1.0f};

  // ivec and dvec zero, fvec 1.0 each.
  void Reset() { *this = ModelVectors(); }
};

// Placement of the whole model; the file carries its ivec and dvec.
struct ModelTransform : ModelVectors {};

// A part's format record, written whole as a CObFormat object.
struct ModelFormat : ModelVectors {};

// One point, written whole as a CObPunkt object (48 bytes).
struct ModelPoint {
  std::int32_t x = 0;  // centimetres
  std::int32_t y = 0;
  std::int32_t z = 0;
  std::uint32_t auxA = 0;  // carried, not interpreted here
  std::uint32_t auxB[4] = {0, 0, 0, 0};
  std::uint8_t colour[8] = {0, 0, 0, 0, 0, 0, 0, 0};  // red, green, blue; only 3 written
  std::uint8_t auxC = 0;
  float param = 0.0f;
  std::uint32_t auxD = 0;
  std::int32_t kind = 0;
};

// A point (1 vertex), line (2), triangle (3), quadrilateral (4) or general
// polygon (5 or more). Vertex k is indices[k] for k < 4 and extraIndices[k-4]
// from the fifth on.
struct ModelPolygon {
  std::int32_t vertexCount = 0;
  std::int16_t indices[4] = {0, 0, 0, 0};
  std::vector<std::int16_t> extraIndices;

  std::int16_t Vertex(int k) const { return k < 4 ? indices[k] : extraIndices[static_cast<std::size_t>(k - 4)]; }
};

struct ModelPart {
  std::vector<ModelPoint> points;
  std::vector<ModelPolygon> polygons;
  std::vector<ModelFormat> formats;

  // Number of CObIndex entries the part produces: 6 codes plus, per polygon,
  // its vertex count, and one closing code more for a general polygon.
  std::int64_t IndexCount() const;
};

struct Model {
  // Drops every part and resets the transform.
  void Release();

  // Computes indexTag and formatTag, the class references of "CObIndex" and
  // "CObFormat" (16-bit arithmetic, as they are written).
  void AssignClassTags();

  // Appends the model's file bytes to `out`. Returns 0, appending nothing,
  // when the model does not fit the format (see ModelFitsFormat).
  int Serialize(std::string* out);

  ModelTransform transform;
  std::vector<ModelPart> parts;
  std::uint16_t indexTag = 0;
  std::uint16_t formatTag = 0;
};

// The largest count and running object index the format can carry.
const std::int64_t kModelFormatLimit = 32767;

// The last running object index the file of `model` uses.
std::int64_t LastObjectIndex(const Model& model);

// 1 when the model can be written: at most 32767 parts, every part with 1 to
// 32767 points, 1 to 32767 formats, at most 32767 index entries, every
// polygon with at least one vertex and all of its extra indices, and the
// running object index at most 32767.
int ModelFitsFormat(const Model& model);

}  // namespace model
