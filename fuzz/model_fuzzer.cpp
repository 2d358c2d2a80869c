// Model files round trip: a model built from the fuzz bytes is written, and
// a decoder written here from the file format alone reads it back. A model
// that fits the format comes back unchanged (polygons grouped by kind, as
// the file groups them), the file ends where the decoder stops, and its
// running object index agrees with LastObjectIndex. A model that does not fit
// leaves the output untouched.
#include <cstring>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "model/model.h"
#include "platform/le_bytes.h"

namespace {

using model::Model;
using model::ModelPart;
using model::ModelPoint;
using model::ModelPolygon;
using model::ModelVectors;

// ---- a model from the fuzz bytes (0 once they run out) ----------------------

template <typename T>
T Take(platform::LeReader* in) {
  T value{};
  in->Bytes(&value, sizeof value);
  return value;
}

void TakeVectors(platform::LeReader* in, ModelVectors* v) {
  for (std::int32_t& i : v->ivec) i = Take<std::int32_t>(in);
  for (double& d : v->dvec) d = Take<double>(in);
  for (float& f : v->fvec) f = Take<float>(in);
}

Model BuildModel(platform::LeReader* in) {
  Model m;
  TakeVectors(in, &m.transform);
  m.parts.resize(Take<std::uint8_t>(in) % 4);
  for (ModelPart& part : m.parts) {
    const std::uint8_t shape = Take<std::uint8_t>(in);
    // Now and then a part near the format's limits, its points left plain.
    std::size_t points = shape & 0x80 ? Take<std::uint16_t>(in) % 33000 : shape % 9;
    part.points.resize(points);
    for (std::size_t k = 0; k < points && !(shape & 0x80); ++k) {
      ModelPoint& p = part.points[k];
      p.x = Take<std::int32_t>(in);
      p.y = Take<std::int32_t>(in);
      p.z = Take<std::int32_t>(in);
      p.auxA = Take<std::uint32_t>(in);
      for (std::uint32_t& v : p.auxB) v = Take<std::uint32_t>(in);
      for (std::uint8_t& c : p.colour) c = Take<std::uint8_t>(in);
      p.auxC = Take<std::uint8_t>(in);
      p.param = Take<float>(in);
      p.auxD = Take<std::uint32_t>(in);
      p.kind = Take<std::int32_t>(in);
    }
    part.polygons.resize(Take<std::uint8_t>(in) % 9);
    for (ModelPolygon& polygon : part.polygons) {
      const std::uint8_t vertices = Take<std::uint8_t>(in);
      polygon.vertexCount = vertices % 9;
      for (std::int16_t& index : polygon.indices) index = Take<std::int16_t>(in);
      // Usually every extra index; with the top bit one short.
      int extra = polygon.vertexCount > 4 ? polygon.vertexCount - 4 - (vertices >> 7) : 0;
      for (int k = 0; k < extra; ++k) polygon.extraIndices.push_back(Take<std::int16_t>(in));
    }
    part.formats.resize(Take<std::uint8_t>(in) % 3);
    for (model::ModelFormat& format : part.formats) TakeVectors(in, &format);
  }
  return m;
}

// ---- the decoder -----------------------------------------------------------

struct Decoder {
  explicit Decoder(const std::string& bytes) : in(bytes) {}

  std::uint16_t U16() { return Take<std::uint16_t>(&in); }
  std::int32_t S32() { return Take<std::int32_t>(&in); }

  // A class declared here (tag 0xFFFF, schema 0, name) takes the next index.
  int Declare(const char* name) {
    FUZZ_CHECK(U16() == 0xFFFF && U16() == 0);
    const std::size_t length = U16();
    std::string text(length, '\0');
    FUZZ_CHECK(in.Bytes(&text[0], length) && text == name);
    return ++index;
  }
  // An array's head: the array class's reference (declared before anything
  // else), its element count, the element class's reference (declared with
  // the first part's array).
  std::size_t ArrayHead(std::size_t part, const char* element, int* elementClass) {
    if (index == 0) {
      Declare("CObArray");
    } else {
      FUZZ_CHECK(U16() == 0x8001);
    }
    ++index;  // the array
    const std::size_t count = U16();
    if (part == 0) {
      *elementClass = Declare(element);
    } else {
      FUZZ_CHECK(U16() == (0x8000 | *elementClass));
    }
    return count;
  }
  void Separator(std::size_t k, int elementClass) {
    if (k > 0) FUZZ_CHECK(U16() == (0x8000 | elementClass));
    ++index;
  }
  void Vectors(ModelVectors* v) {
    for (std::int32_t& i : v->ivec) i = S32();
    for (double& d : v->dvec) d = Take<double>(&in);
    for (float& f : v->fvec) f = Take<float>(&in);
  }

  platform::LeReader in;
  int index = 0;
};

// The polygons of one part from its index entries (value, is a code).
std::vector<ModelPolygon> Polygons(const std::vector<std::pair<std::int32_t, std::int32_t>>& entries) {
  std::vector<ModelPolygon> polygons;
  const std::int32_t codes[4] = {0, 1, 4, 7};
  std::size_t at = 0;
  for (int size = 1; size <= 4; ++size) {
    FUZZ_CHECK(at < entries.size() && entries[at] == std::make_pair(codes[size - 1], 1));
    for (++at; at < entries.size() && entries[at].second == 0; at += static_cast<std::size_t>(size)) {
      ModelPolygon p;
      p.vertexCount = size;
      for (int k = 0; k < size; ++k) {
        FUZZ_CHECK(at + static_cast<std::size_t>(k) < entries.size() &&
                   entries[at + static_cast<std::size_t>(k)].second == 0);
        p.indices[k] = static_cast<std::int16_t>(entries[at + static_cast<std::size_t>(k)].first);
      }
      polygons.push_back(p);
    }
  }
  // General polygons, each closed by code 9, then a last code 9.
  FUZZ_CHECK(at < entries.size() && entries[at] == std::make_pair(9, 1));
  for (;;) {
    ModelPolygon p;
    for (++at; at < entries.size() && entries[at].second == 0; ++at) {
      if (p.vertexCount < 4) {
        p.indices[p.vertexCount] = static_cast<std::int16_t>(entries[at].first);
      } else {
        p.extraIndices.push_back(static_cast<std::int16_t>(entries[at].first));
      }
      ++p.vertexCount;
    }
    FUZZ_CHECK(at < entries.size() && entries[at] == std::make_pair(9, 1));
    if (p.vertexCount == 0) break;
    polygons.push_back(p);
  }
  FUZZ_CHECK(at + 1 == entries.size());
  return polygons;
}

Model Decode(const std::string& bytes) {
  Decoder d(bytes);
  Model m;
  const std::size_t parts = d.U16();
  FUZZ_CHECK(d.U16() == 0);
  for (double& v : m.transform.dvec) v = Take<double>(&d.in);
  for (std::int32_t& v : m.transform.ivec) v = d.S32();
  m.parts.resize(parts);
  int pointClass = 0, indexClass = 0, formatClass = 0;
  FUZZ_CHECK(d.U16() == parts);
  for (std::size_t k = 0; k < parts; ++k) {
    m.parts[k].points.resize(d.ArrayHead(k, "CObPunkt", &pointClass));
    for (std::size_t i = 0; i < m.parts[k].points.size(); ++i) {
      d.Separator(i, pointClass);
      ModelPoint& p = m.parts[k].points[i];
      p.x = d.S32();
      p.y = d.S32();
      p.z = d.S32();
      p.auxA = Take<std::uint32_t>(&d.in);
      for (std::uint32_t& v : p.auxB) v = Take<std::uint32_t>(&d.in);
      d.in.Bytes(p.colour, 3);
      p.auxC = Take<std::uint8_t>(&d.in);
      p.param = Take<float>(&d.in);
      p.auxD = Take<std::uint32_t>(&d.in);
      p.kind = d.S32();
    }
  }
  FUZZ_CHECK(d.U16() == parts);
  for (std::size_t k = 0; k < parts; ++k) {
    std::vector<std::pair<std::int32_t, std::int32_t>> entries(d.ArrayHead(k, "CObIndex", &indexClass));
    for (std::size_t i = 0; i < entries.size(); ++i) {
      d.Separator(i, indexClass);
      entries[i].first = d.S32();
      entries[i].second = d.S32();
    }
    m.parts[k].polygons = Polygons(entries);
  }
  FUZZ_CHECK(d.U16() == parts);
  for (std::size_t k = 0; k < parts; ++k) {
    m.parts[k].formats.resize(d.ArrayHead(k, "CObFormat", &formatClass));
    for (std::size_t i = 0; i < m.parts[k].formats.size(); ++i) {
      d.Separator(i, formatClass);
      d.Vectors(&m.parts[k].formats[i]);
    }
  }
  FUZZ_CHECK(!d.in.truncated() && d.in.remaining() == 0);
  FUZZ_CHECK(d.index == model::LastObjectIndex(m) && d.index <= 32767);
  return m;
}

// ---- comparison --------------------------------------------------------------

bool SameBits(const void* a, const void* b, std::size_t size) { return std::memcmp(a, b, size) == 0; }

bool SameVectors(const ModelVectors& a, const ModelVectors& b) {
  return SameBits(a.ivec, b.ivec, sizeof a.ivec) && SameBits(a.dvec, b.dvec, sizeof a.dvec) &&
         SameBits(a.fvec, b.fvec, sizeof a.fvec);
}

bool SamePoint(const ModelPoint& a, const ModelPoint& b) {
  return a.x == b.x && a.y == b.y && a.z == b.z && a.auxA == b.auxA && SameBits(a.auxB, b.auxB, sizeof a.auxB) &&
         SameBits(a.colour, b.colour, 3) && a.auxC == b.auxC && SameBits(&a.param, &b.param, sizeof a.param) &&
         a.auxD == b.auxD && a.kind == b.kind;
}

// The polygons in the file's order: points, lines, triangles, quadrilaterals,
// then general polygons, each kind in model order.
std::vector<const ModelPolygon*> ByKind(const std::vector<ModelPolygon>& polygons) {
  std::vector<const ModelPolygon*> sorted;
  for (int kind = 1; kind <= 5; ++kind) {
    for (const ModelPolygon& p : polygons) {
      if ((p.vertexCount < 5 ? p.vertexCount : 5) == kind) sorted.push_back(&p);
    }
  }
  return sorted;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::SilenceReports();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  platform::LeReader in(reinterpret_cast<const char*>(data), size);
  Model m = BuildModel(&in);
  std::string bytes = "before";
  if (!model::ModelFitsFormat(m)) {
    FUZZ_CHECK(!m.Serialize(&bytes) && bytes == "before");
    return 0;
  }
  FUZZ_CHECK(m.Serialize(&bytes) && bytes.compare(0, 6, "before") == 0);
  Model back = Decode(bytes.substr(6));
  FUZZ_CHECK(back.parts.size() == m.parts.size());
  FUZZ_CHECK(SameBits(back.transform.ivec, m.transform.ivec, sizeof m.transform.ivec) &&
             SameBits(back.transform.dvec, m.transform.dvec, sizeof m.transform.dvec));
  for (std::size_t k = 0; k < m.parts.size(); ++k) {
    const ModelPart& a = m.parts[k];
    const ModelPart& b = back.parts[k];
    FUZZ_CHECK(a.points.size() == b.points.size() && a.formats.size() == b.formats.size());
    for (std::size_t i = 0; i < a.points.size(); ++i) FUZZ_CHECK(SamePoint(a.points[i], b.points[i]));
    for (std::size_t i = 0; i < a.formats.size(); ++i) FUZZ_CHECK(SameVectors(a.formats[i], b.formats[i]));
    std::vector<const ModelPolygon*> sorted = ByKind(a.polygons);
    FUZZ_CHECK(sorted.size() == b.polygons.size());
    for (std::size_t i = 0; i < sorted.size(); ++i) {
      FUZZ_CHECK(sorted[i]->vertexCount == b.polygons[i].vertexCount);
      for (int v = 0; v < b.polygons[i].vertexCount; ++v) FUZZ_CHECK(sorted[i]->Vertex(v) == b.polygons[i].Vertex(v));
    }
  }
  return 0;
}
