// Lays down a Model's file bytes (see model.h for the format).
#include <cstring>

#include "host/messages.h"
#include "host/save.h"
#include "model/model.h"

namespace model {
namespace {

const std::uint16_t kNewClassTag = 0xFFFF;
const std::uint16_t kArrayClassTag = 0x8001;  // "CObArray", index 1
const std::uint16_t kPointClassTag = 0x8003;  // "CObPunkt", index 3

// Writes little-endian values into a buffer sized in advance.
class ByteWriter {
 public:
  explicit ByteWriter(char* at) : at_(at) {}

  void U8(std::uint8_t v) { *at_++ = static_cast<char>(v); }
  void U16(std::uint16_t v) {
    at_[0] = static_cast<char>(v & 0xFF);
    at_[1] = static_cast<char>(v >> 8);
    at_ += 2;
  }
  void U32(std::uint32_t v) {
    at_[0] = static_cast<char>(v & 0xFF);
    at_[1] = static_cast<char>((v >> 8) & 0xFF);
    at_[2] = static_cast<char>((v >> 16) & 0xFF);
    at_[3] = static_cast<char>(v >> 24);
    at_ += 4;
  }
  void S32(std::int32_t v) { U32(static_cast<std::uint32_t>(v)); }
  void F32(float v) {
    std::uint32_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    U32(bits);
  }
  void F64(double v) {
    std::uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    U32(static_cast<std::uint32_t>(bits & 0xFFFFFFFFu));
    U32(static_cast<std::uint32_t>(bits >> 32));
  }
  void Count(std::size_t n) { U16(static_cast<std::uint16_t>(n)); }
  // A new class: tag 0xFFFF, schema 0, name length, name without terminator.
  void DeclareClass(const char* name) {
    std::size_t length = std::strlen(name);
    U16(kNewClassTag);
    U16(0);
    Count(length);
    std::memcpy(at_, name, length);
    at_ += length;
  }
  void Vectors(const ModelVectors& v) {
    for (std::int32_t i : v.ivec) S32(i);
    for (double d : v.dvec) F64(d);
    for (float f : v.fvec) F32(f);
  }
  void Point(const ModelPoint& p) {
    S32(p.x);
    S32(p.y);
    S32(p.z);
    U32(p.auxA);
    for (std::uint32_t v : p.auxB) U32(v);
    U8(p.colour[0]);
    U8(p.colour[1]);
    U8(p.colour[2]);
    U8(p.auxC);
    F32(p.param);
    U32(p.auxD);
    S32(p.kind);
  }
  char* at() const { return at_; }

 private:
  char* at_;
};

const std::size_t kObjectSize = 48;  // a CObPunkt or CObFormat object
const std::size_t kIndexSize = 8;    // a CObIndex entry
const std::size_t kDeclarationSize = 6;  // tag, schema, name length

// Bytes of `count` objects of `size` bytes with a 2-byte tag between each two.
std::size_t ObjectRun(std::size_t count, std::size_t size) {
  return count == 0 ? 0 : count * size + (count - 1) * 2;
}

std::size_t FileSize(const Model& model) {
  std::size_t size = 42;  // header and the point section's part count
  if (model.parts.empty()) return size + 4;
  size += 2 + 2;  // part counts of the index and format sections
  for (std::size_t k = 0; k < model.parts.size(); ++k) {
    const ModelPart& part = model.parts[k];
    if (k == 0) {
      size += kDeclarationSize + 8 + 2 + kDeclarationSize + 8;  // CObArray, count, CObPunkt
      size += 2 + 2 + kDeclarationSize + 8;                     // array, count, CObIndex
      size += 2 + 2 + kDeclarationSize + 9;                     // array, count, CObFormat
    } else {
      size += 3 * 6;  // array tag, count, class reference, in each section
    }
    size += ObjectRun(part.points.size(), kObjectSize);
    size += ObjectRun(static_cast<std::size_t>(part.IndexCount()), kIndexSize);
    size += ObjectRun(part.formats.size(), kObjectSize);
  }
  return size;
}

// Writes one part's CObIndex entries with `tag` between consecutive ones.
class IndexList {
 public:
  IndexList(ByteWriter* out, std::uint16_t tag) : out_(out), tag_(tag) {}

  void Code(std::int32_t code) { Entry(code, 1); }
  void Index(std::int16_t index) { Entry(index, 0); }

 private:
  void Entry(std::int32_t value, std::int32_t isCode) {
    if (!first_) out_->U16(tag_);
    first_ = false;
    out_->S32(value);
    out_->S32(isCode);
  }
  ByteWriter* out_;
  std::uint16_t tag_;
  bool first_ = true;
};

void WriteIndexEntries(const ModelPart& part, std::uint16_t indexTag, ByteWriter* out) {
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
  std::size_t start = out->size();
  std::size_t size = FileSize(*this);
  out->resize(start + size);
  ByteWriter w(&(*out)[start]);

  w.Count(parts.size());
  w.U16(0);
  for (double d : transform.dvec) w.F64(d);
  for (std::int32_t i : transform.ivec) w.S32(i);
  w.Count(parts.size());
  if (parts.empty()) {
    w.U16(0);
    w.U16(0);
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
  return 1;
}

int Model::WriteFile(const std::string& path) {
  std::string bytes;
  if (!Serialize(&bytes)) {
    host::ShowFormatted("Modell passt nicht in das Dateiformat, nicht geschrieben: %s!\n",
                        path.c_str());
    return 0;
  }
  return host::SaveFileReporting(path, bytes);
}

}  // namespace model
