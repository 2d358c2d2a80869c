// Model files against bytes encoded here from the format (and fuzz/model_fuzzer.cpp).
#include <gtest/gtest.h>

#include <cstring>

#include "model/model.h"

namespace {

struct Bytes {  // little-endian
  std::string s;
  Bytes& N(std::uint64_t v, int count) {
    for (int i = 0; i < count; ++i) s += static_cast<char>(i < 8 ? (v >> (8 * i)) & 0xFF : 0);
    return *this;
  }
  Bytes& W(unsigned v) { return N(v, 2); }
  Bytes& L(std::int32_t v) { return N(static_cast<std::uint32_t>(v), 4); }
  Bytes& D(double d) {
    std::uint64_t b;
    return std::memcpy(&b, &d, 8), N(b, 8);
  }
  Bytes& Class(const std::string& name) {
    return W(0xFFFF).W(0).W(static_cast<unsigned>(name.size())).s += name, *this;
  }
  Bytes& Point(std::int32_t x, unsigned rgb = 0) {
    return L(x).L(0).L(0).N(0, 20).N(rgb, 3).N(0, 1).N(0x3F000000, 4).L(0).L(7);
  }
  Bytes& Entries(unsigned tag, const std::vector<int>& values, const std::vector<int>& codes) {
    for (std::size_t k = 0; k < values.size(); ++k) (k ? W(tag) : *this).L(values[k]).L(codes[k]);
    return *this;
  }
  Bytes& Format(double d0) { return N(0, 12).D(d0).D(0).D(0).N(0x3F800000, 4).N(0x3F800000, 4).N(0x3F800000, 4); }
};

// A part of points (k, 0, 0) with param 0.5 and kind 7 (Bytes::Point), the
// given polygons, and formats with dvec[0] as given.
model::ModelPart Part(int points, const std::vector<std::vector<int>>& polygons, const std::vector<double>& formats) {
  model::ModelPart part;
  part.points.resize(static_cast<std::size_t>(points));
  for (int k = 0; k < points; ++k) part.points[k].x = k, part.points[k].param = 0.5f, part.points[k].kind = 7;
  for (const auto& vertices : polygons) {
    model::ModelPolygon& p = part.polygons.emplace_back();
    p.vertexCount = static_cast<std::int32_t>(vertices.size());
    for (std::size_t k = 0; k < vertices.size(); ++k)
      (k < 4 ? p.indices[k] : p.extraIndices.emplace_back()) = static_cast<std::int16_t>(vertices[k]);
  }
  for (double d : formats) part.formats.emplace_back().dvec[0] = d;
  return part;
}

TEST(ModelWriter, TwoPartsWithEveryKindOfPolygonByteForByte) {
  model::Model m;
  m.transform.dvec[0] = 1.5, m.transform.ivec[2] = -9, m.transform.fvec[0] = 7;  // fvec not written
  m.parts = {Part(2, {{0, 1}}, {90.0}), Part(5, {{4}, {0, 1, 2, 3}, {4, 3, 2, 1, 0}, {0, -1, 2}}, {2.0, 3.0})};
  m.parts[0].points[1].colour[0] = 10, m.parts[0].points[1].colour[2] = 30, m.parts[0].points[1].colour[3] = 99;
  std::string out = "kept";
  ASSERT_TRUE(m.Serialize(&out));
  // Classes and objects share one running index from 1: CObIndex is 13, after
  // 2 classes, 3 arrays and 7 points; CObFormat 44, after 2 arrays, 28 entries.
  const unsigned it = 0x8000 + 13, ft = 0x8000 + 44;
  Bytes e;
  e.s = "kept";
  e.W(2).W(0).D(1.5).D(0).D(0).L(0).L(0).L(-9).W(2);
  e.Class("CObArray").W(2).Class("CObPunkt").Point(0).W(0x8003).Point(1, 0x1E000A);
  e.W(0x8001).W(5).W(0x8003).Point(0).W(0x8003).Point(1).W(0x8003).Point(2).W(0x8003).Point(3).W(0x8003).Point(4);
  e.W(2).W(0x8001).W(8).Class("CObIndex").Entries(it, {0, 1, 0, 1, 4, 7, 9, 9}, {1, 1, 0, 0, 1, 1, 1, 1});
  e.W(0x8001).W(20).W(it).Entries(it, {0, 4, 1, 4, 0, -1, 2, 7, 0, 1, 2, 3, 9, 4, 3, 2, 1, 0, 9, 9},
                                  {1, 0, 1, 1, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 1, 1});
  e.W(2).W(0x8001).W(1).Class("CObFormat").Format(90.0);
  e.W(0x8001).W(2).W(ft).Format(2.0).W(ft).Format(3.0);
  EXPECT_EQ(e.s, out);
  EXPECT_EQ(44 + 4, model::LastObjectIndex(m));  // a format, an array, two formats
}

TEST(ModelWriter, ModelsBeyondTheFormatLimitsAreRefused) {
  std::vector<model::Model> bad(5);
  bad[0].parts = {Part(0, {}, {0.0})};    // no point
  bad[1].parts = {Part(1, {}, {})};       // no format
  bad[2].parts = {Part(1, {{}}, {0.0})};  // a polygon without a vertex
  bad[3].parts = {Part(2, {{0, 1, 0, 1, 0, 1}}, {0.0})};
  bad[3].parts[0].polygons.back().extraIndices.pop_back();  // an extra index missing
  // One part of n points, one format and 100 quadrilaterals ends at
  // n + (6 + 400) + 1 + 7: one point too many.
  bad[4].parts = {Part(32767 - 14 - 400 + 1, std::vector<std::vector<int>>(100, {0, 1, 2, 3}), {0.0})};
  for (model::Model& m : bad) {
    std::string out = "kept";
    EXPECT_FALSE(m.Serialize(&out));
    EXPECT_EQ("kept", out);
  }
  bad[4].parts[0].points.pop_back();
  EXPECT_TRUE(model::ModelFitsFormat(bad[4]));
}

}  // namespace
