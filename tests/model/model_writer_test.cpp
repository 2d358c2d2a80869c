#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "model/model.h"

namespace {

using model::Model;
using model::ModelPolygon;

// Expected file bytes, built by hand independently of the writer.
struct Bytes {
  std::string s;
  Bytes& N(std::uint64_t v, int count) {
    for (int i = 0; i < count; ++i) s += static_cast<char>((v >> (8 * i)) & 0xFF);
    return *this;
  }
  Bytes& Z(std::size_t count) { s.append(count, '\0'); return *this; }
  Bytes& W(unsigned v) { return N(v, 2); }
  Bytes& L(std::int32_t v) { return N(static_cast<std::uint32_t>(v), 4); }
  Bytes& F(float f) { std::uint32_t b; std::memcpy(&b, &f, 4); return N(b, 4); }
  Bytes& D(double d) { std::uint64_t b; std::memcpy(&b, &d, 8); return N(b, 8); }
  Bytes& Class(const char* name) { W(0xFFFF).W(0).W(static_cast<unsigned>(std::strlen(name))).s += name; return *this; }
  Bytes& Point(std::int32_t x, std::int32_t y, std::int32_t z, unsigned rgb = 0, float param = 0, std::int32_t kind = 0) {
    return L(x).L(y).L(z).Z(20).N(rgb, 3).Z(1).F(param).L(0).L(kind);
  }
  // Index entries (value, isCode) with `tag` between each two.
  Bytes& Entries(unsigned tag, const std::vector<std::pair<int, int>>& entries) {
    for (std::size_t k = 0; k < entries.size(); ++k) (k ? W(tag) : *this).L(entries[k].first).L(entries[k].second);
    return *this;
  }
  Bytes& Format(double d0) { return Z(12).D(d0).D(0).D(0).F(1).F(1).F(1); }
};

// A part of `points` points (k, 0, 0), the given polygons and formats with dvec[0] as given.
model::ModelPart Part(int points, const std::vector<std::vector<int>>& polygons, const std::vector<double>& formats) {
  model::ModelPart part;
  part.points.resize(static_cast<std::size_t>(points));
  for (int k = 0; k < points; ++k) part.points[static_cast<std::size_t>(k)].x = k;
  for (const auto& vertices : polygons) {
    ModelPolygon& p = *part.polygons.emplace(part.polygons.end());
    p.vertexCount = static_cast<std::int32_t>(vertices.size());
    for (std::size_t k = 0; k < vertices.size(); ++k) {
      if (k < 4) p.indices[k] = static_cast<std::int16_t>(vertices[k]);
      else p.extraIndices.push_back(static_cast<std::int16_t>(vertices[k]));
    }
  }
  for (double d : formats) part.formats.emplace_back().dvec[0] = d;
  return part;
}

// The worked example: one part, two points, one line, one format.
Model LineModel() {
  Model m;
  const double d[3] = {1.5, -2.0, 0.25};
  const std::int32_t i[3] = {7, -8, 9};
  for (int k = 0; k < 3; ++k) m.transform.dvec[k] = d[k], m.transform.ivec[k] = i[k];
  m.parts = {Part(2, {{0, 1}}, {90.0})};
  model::ModelPoint* p = m.parts[0].points.data();
  p[0].x = 100, p[0].y = 200, p[0].z = 300;
  p[0].colour[0] = 10, p[0].colour[1] = 20, p[0].colour[2] = 30, p[0].colour[3] = 99;  // [3] never written
  p[1].x = -1, p[1].y = -2, p[1].z = -3, p[1].param = 3.0f, p[1].kind = 98;
  return m;
}

TEST(ModelWriter, WorkedExampleAndEmptyModelByteForByte) {
  Model m = LineModel();
  std::string out;
  ASSERT_TRUE(m.Serialize(&out));
  Bytes e;
  e.W(1).W(0).D(1.5).D(-2.0).D(0.25).L(7).L(-8).L(9).W(1);  // header, 0..41
  e.Class("CObArray").W(2).Class("CObPunkt").Point(100, 200, 300, 0x1E140A).W(0x8003).Point(-1, -2, -3, 0, 3.0f, 98);
  e.W(1).W(0x8001).W(8).Class("CObIndex");  // 170
  e.Entries(0x8007, {{0, 1}, {1, 1}, {0, 0}, {1, 0}, {4, 1}, {7, 1}, {9, 1}, {9, 1}});
  e.W(1).W(0x8001).W(1).Class("CObFormat").Format(90.0);  // 268 .. 336
  ASSERT_EQ(337u, e.s.size());
  EXPECT_EQ(e.s, out);
  EXPECT_EQ(0x8007, m.indexTag);
  EXPECT_EQ(0x8011, m.formatTag);
  EXPECT_EQ(18, model::LastObjectIndex(m));
  ASSERT_TRUE(m.Serialize(&out));  // appends
  EXPECT_EQ(e.s + e.s, out);

  Model empty;
  out.clear();
  ASSERT_TRUE(empty.Serialize(&out));
  EXPECT_EQ(Bytes().W(0).W(0).D(0).D(0).D(0).L(0).L(0).L(0).W(0).W(0).W(0).s, out);
}

TEST(ModelWriter, SecondPartUsesClassReferencesAndPolygonsGoByKind) {
  Model m;
  m.parts = {Part(3, {{0, 1, 2}}, {1.0}),
             Part(5, {{4}, {0, 1, 2, 3}, {4, 3, 2, 1, 0}, {0, -1, 2, 3}}, {2.0, 3.0})};
  std::string out;
  ASSERT_TRUE(m.Serialize(&out));
  EXPECT_EQ(21, m.parts[1].IndexCount());
  EXPECT_EQ(0x800E, m.indexTag);              // 0x8004 + (3 + 1) + (5 + 1)
  EXPECT_EQ(0x800E + 1 + 10 + 22, m.formatTag);  // + (9 + 1) + (21 + 1)
  const unsigned it = m.indexTag, ft = m.formatTag;
  Bytes e;
  e.W(2).W(0).D(0).D(0).D(0).L(0).L(0).L(0).W(2);
  e.Class("CObArray").W(3).Class("CObPunkt").Point(0, 0, 0).W(0x8003).Point(1, 0, 0).W(0x8003).Point(2, 0, 0);
  e.W(0x8001).W(5).W(0x8003);
  for (int i = 0; i < 5; ++i) (i ? e.W(0x8003) : e).Point(i, 0, 0);
  e.W(2).W(0x8001).W(9).Class("CObIndex");
  e.Entries(it, {{0, 1}, {1, 1}, {4, 1}, {0, 0}, {1, 0}, {2, 0}, {7, 1}, {9, 1}, {9, 1}});
  e.W(0x8001).W(21).W(it);
  e.Entries(it, {{0, 1}, {4, 0}, {1, 1}, {4, 1}, {7, 1}, {0, 0}, {1, 0}, {2, 0}, {3, 0}, {0, 0}, {-1, 0}, {2, 0},
                 {3, 0}, {9, 1}, {4, 0}, {3, 0}, {2, 0}, {1, 0}, {0, 0}, {9, 1}, {9, 1}});
  e.W(2).W(0x8001).W(1).Class("CObFormat").Format(1.0);
  e.W(0x8001).W(2).W(ft).Format(2.0).W(ft).Format(3.0);
  EXPECT_EQ(e.s, out);
}

TEST(ModelWriter, ModelsBeyondTheFormatLimitsAreRefused) {
  std::vector<Model> bad(4);
  bad[0].parts = {Part(0, {}, {0.0})};  // no point: a class tag with no object behind it
  bad[1].parts = {Part(1, {}, {})};     // no format
  bad[2] = LineModel();
  bad[2].parts[0].polygons.push_back(ModelPolygon());  // no vertex
  bad[3].parts = {Part(2, {{0, 1, 0, 1, 0, 1}}, {0.0})};
  bad[3].parts[0].polygons.back().extraIndices.pop_back();  // an extra index missing
  for (Model& m : bad) {
    std::string out = "keep";
    EXPECT_FALSE(model::ModelFitsFormat(m));
    EXPECT_FALSE(m.Serialize(&out));
    EXPECT_EQ("keep", out);
  }
  // One part of n points, one format and 100 quadrilaterals ends at n + (6 + 400) + 1 + 7.
  Model big;
  big.parts = {Part(32767 - 14 - 400, std::vector<std::vector<int>>(100, {0, 1, 2, 3}), {0.0})};
  EXPECT_EQ(32767, model::LastObjectIndex(big));
  EXPECT_TRUE(model::ModelFitsFormat(big));
  big.parts[0].points.emplace_back();
  EXPECT_EQ(32768, model::LastObjectIndex(big));
  EXPECT_FALSE(model::ModelFitsFormat(big));
}

}  // namespace
