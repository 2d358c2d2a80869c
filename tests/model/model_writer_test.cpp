#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "model/model.h"
#include "platform/faults.h"
#include "support/test_support.h"

namespace {

using model::Model;
using model::ModelFormat;
using model::ModelPart;
using model::ModelPoint;
using model::ModelPolygon;
using testing_support::MessageRecorder;
using testing_support::TempDir;

// Builds expected file bytes by hand, independently of the writer.
struct Bytes {
  std::string s;
  Bytes& W(unsigned v) {
    s += static_cast<char>(v & 0xFF);
    s += static_cast<char>((v >> 8) & 0xFF);
    return *this;
  }
  Bytes& L(std::int32_t v) {
    std::uint32_t u = static_cast<std::uint32_t>(v);
    for (int i = 0; i < 4; ++i) s += static_cast<char>((u >> (8 * i)) & 0xFF);
    return *this;
  }
  Bytes& F(float f) {
    std::int32_t bits;
    std::memcpy(&bits, &f, 4);
    return L(bits);
  }
  Bytes& D(double d) {
    std::uint64_t bits;
    std::memcpy(&bits, &d, 8);
    L(static_cast<std::int32_t>(bits & 0xFFFFFFFFu));
    return L(static_cast<std::int32_t>(bits >> 32));
  }
  Bytes& B(unsigned char c) {
    s += static_cast<char>(c);
    return *this;
  }
  Bytes& Class(const char* name) {
    W(0xFFFF).W(0).W(static_cast<unsigned>(std::strlen(name)));
    s += name;
    return *this;
  }
  Bytes& Point(std::int32_t x, std::int32_t y, std::int32_t z, unsigned char r = 0,
               unsigned char g = 0, unsigned char b = 0, float param = 0, std::int32_t kind = 0) {
    L(x).L(y).L(z).L(0).L(0).L(0).L(0).L(0).B(r).B(g).B(b).B(0).F(param).L(0).L(kind);
    return *this;
  }
  Bytes& Entry(std::int32_t value, std::int32_t isCode) { return L(value).L(isCode); }
  Bytes& Format(double d0) {
    L(0).L(0).L(0).D(d0).D(0).D(0).F(1).F(1).F(1);
    return *this;
  }
};

ModelPoint MakePoint(std::int32_t x, std::int32_t y, std::int32_t z) {
  ModelPoint p;
  p.x = x;
  p.y = y;
  p.z = z;
  return p;
}

ModelPolygon MakePolygon(std::initializer_list<int> vertices) {
  ModelPolygon polygon;
  polygon.vertexCount = static_cast<std::int32_t>(vertices.size());
  int k = 0;
  for (int v : vertices) {
    if (k < 4) {
      polygon.indices[k] = static_cast<std::int16_t>(v);
    } else {
      polygon.extraIndices.push_back(static_cast<std::int16_t>(v));
    }
    ++k;
  }
  return polygon;
}

ModelFormat MakeFormat(double d0) {
  ModelFormat format;
  format.dvec[0] = d0;
  return format;
}

// The worked example: one part, two points, one line, one format.
Model LineModel() {
  Model m;
  m.transform.dvec[0] = 1.5;
  m.transform.dvec[1] = -2.0;
  m.transform.dvec[2] = 0.25;
  m.transform.ivec[0] = 7;
  m.transform.ivec[1] = -8;
  m.transform.ivec[2] = 9;
  ModelPart part;
  part.points.push_back(MakePoint(100, 200, 300));
  part.points.back().colour[0] = 10;
  part.points.back().colour[1] = 20;
  part.points.back().colour[2] = 30;
  part.points.back().colour[3] = 99;  // never written
  part.points.push_back(MakePoint(-1, -2, -3));
  part.points.back().param = 3.0f;
  part.points.back().kind = 98;
  part.polygons.push_back(MakePolygon({0, 1}));
  part.formats.push_back(MakeFormat(90.0));
  m.parts.push_back(part);
  return m;
}

TEST(ModelWriter, WorkedExampleIs337BytesByteForByte) {
  Model m = LineModel();
  std::string out;
  ASSERT_TRUE(m.Serialize(&out));

  Bytes e;
  e.W(1).W(0).D(1.5).D(-2.0).D(0.25).L(7).L(-8).L(9);  // header, offsets 0..39
  e.W(1);                                               // 40
  e.Class("CObArray").W(2).Class("CObPunkt");           // 42, 56, 58
  e.Point(100, 200, 300, 10, 20, 30).W(0x8003).Point(-1, -2, -3, 0, 0, 0, 3.0f, 98);
  e.W(1).W(0x8001).W(8).Class("CObIndex");  // 170, 172, 174, 176
  e.Entry(0, 1).W(0x8007).Entry(1, 1).W(0x8007).Entry(0, 0).W(0x8007).Entry(1, 0);
  e.W(0x8007).Entry(4, 1).W(0x8007).Entry(7, 1).W(0x8007).Entry(9, 1).W(0x8007).Entry(9, 1);
  e.W(1).W(0x8001).W(1).Class("CObFormat").Format(90.0);  // 268 .. 336

  ASSERT_EQ(337u, e.s.size());
  EXPECT_EQ(e.s, out);
  EXPECT_EQ(0x8007, m.indexTag);
  EXPECT_EQ(0x8011, m.formatTag);
  EXPECT_EQ(18, model::LastObjectIndex(m));

  // Serialize appends: a second call adds the same bytes again.
  ASSERT_TRUE(m.Serialize(&out));
  EXPECT_EQ(e.s + e.s, out);
}

TEST(ModelWriter, EmptyModelIs46BytesEndingInThreeZeroWords) {
  Model m;
  std::string out;
  ASSERT_TRUE(m.Serialize(&out));
  Bytes e;
  e.W(0).W(0).D(0).D(0).D(0).L(0).L(0).L(0).W(0).W(0).W(0);
  EXPECT_EQ(46u, out.size());
  EXPECT_EQ(e.s, out);
}

TEST(ModelWriter, SecondPartUsesClassReferencesAndStartsItsListAgain) {
  Model m;
  ModelPart a;
  for (int i = 0; i < 3; ++i) a.points.push_back(MakePoint(i, 0, 0));
  a.polygons.push_back(MakePolygon({0, 1, 2}));
  a.formats.push_back(MakeFormat(1.0));
  ModelPart b;
  for (int i = 0; i < 5; ++i) b.points.push_back(MakePoint(0, i, 0));
  b.polygons.push_back(MakePolygon({4}));
  b.polygons.push_back(MakePolygon({0, 1, 2, 3}));
  b.formats.push_back(MakeFormat(2.0));
  b.formats.push_back(MakeFormat(3.0));
  m.parts = {a, b};

  std::string out;
  ASSERT_TRUE(m.Serialize(&out));
  EXPECT_EQ(0x800E, m.indexTag);  // 0x8004 + 4 + 6
  // formatTag = indexTag + 1 + (9 + 1) + (11 + 1)
  EXPECT_EQ(0x800E + 1 + 10 + 12, m.formatTag);
  const unsigned it = m.indexTag;
  const unsigned ft = m.formatTag;

  Bytes e;
  e.W(2).W(0).D(0).D(0).D(0).L(0).L(0).L(0).W(2);
  e.Class("CObArray").W(3).Class("CObPunkt");
  e.Point(0, 0, 0).W(0x8003).Point(1, 0, 0).W(0x8003).Point(2, 0, 0);
  e.W(0x8001).W(5).W(0x8003);
  for (int i = 0; i < 5; ++i) {
    if (i > 0) e.W(0x8003);
    e.Point(0, i, 0);
  }
  e.W(2);
  e.W(0x8001).W(9).Class("CObIndex");
  e.Entry(0, 1).W(it).Entry(1, 1).W(it).Entry(4, 1).W(it).Entry(0, 0).W(it).Entry(1, 0).W(it);
  e.Entry(2, 0).W(it).Entry(7, 1).W(it).Entry(9, 1).W(it).Entry(9, 1);
  e.W(0x8001).W(11).W(it);
  e.Entry(0, 1).W(it).Entry(4, 0).W(it).Entry(1, 1).W(it).Entry(4, 1).W(it).Entry(7, 1).W(it);
  e.Entry(0, 0).W(it).Entry(1, 0).W(it).Entry(2, 0).W(it).Entry(3, 0).W(it);
  e.Entry(9, 1).W(it).Entry(9, 1);
  e.W(2);
  e.W(0x8001).W(1).Class("CObFormat").Format(1.0);
  e.W(0x8001).W(2).W(ft).Format(2.0).W(ft).Format(3.0);
  EXPECT_EQ(e.s, out);
}

TEST(ModelWriter, GeneralPolygonsQuadsAndNegativeIndices) {
  Model m;
  ModelPart part;
  for (int i = 0; i < 6; ++i) part.points.push_back(MakePoint(i, i, i));
  part.polygons.push_back(MakePolygon({0, 1, 2, 3}));
  part.polygons.push_back(MakePolygon({5, 4, 3, 2, 1, 0}));
  part.polygons.push_back(MakePolygon({0, -1, 2, 3}));
  part.formats.push_back(MakeFormat(0));
  m.parts.push_back(part);
  // 6 codes + 4 + (6 + 1) + 4
  EXPECT_EQ(21, m.parts[0].IndexCount());

  std::string out;
  ASSERT_TRUE(m.Serialize(&out));
  const unsigned it = m.indexTag;
  EXPECT_EQ(0x8004 + 7, static_cast<int>(it));

  Bytes list;
  // Codes 0, 1 and 4 follow each other directly: there are no points, lines
  // or triangles.
  list.Entry(0, 1).W(it).Entry(1, 1).W(it).Entry(4, 1).W(it).Entry(7, 1);
  for (int v : {0, 1, 2, 3, 0, -1, 2, 3}) list.W(it).Entry(v, 0);
  list.W(it).Entry(9, 1);
  for (int v : {5, 4, 3, 2, 1, 0}) list.W(it).Entry(v, 0);
  list.W(it).Entry(9, 1).W(it).Entry(9, 1);
  Bytes head;
  head.W(0x8001).W(21).Class("CObIndex");
  std::size_t at = out.find(head.s);
  ASSERT_NE(std::string::npos, at);
  EXPECT_EQ(list.s, out.substr(at + head.s.size(), list.s.size()));
  // The index -1 goes out sign-extended.
  EXPECT_NE(std::string::npos, out.find(std::string("\xFF\xFF\xFF\xFF\0\0\0\0", 8)));
}

TEST(ModelWriter, ModelsBeyondTheFormatLimitsAreRefused) {
  // An empty part would leave a class tag with no object behind it.
  Model noPoints;
  noPoints.parts.resize(1);
  noPoints.parts[0].formats.push_back(MakeFormat(0));
  Model noFormat;
  noFormat.parts.resize(1);
  noFormat.parts[0].points.push_back(MakePoint(0, 0, 0));
  // A polygon without vertices, and one missing its extra indices.
  Model badPolygon = LineModel();
  badPolygon.parts[0].polygons.push_back(ModelPolygon());
  Model shortPolygon = LineModel();
  ModelPolygon cut = MakePolygon({0, 1, 0, 1, 0, 1});
  cut.extraIndices.pop_back();
  shortPolygon.parts[0].polygons.push_back(cut);

  for (Model* m : {&noPoints, &noFormat, &badPolygon, &shortPolygon}) {
    std::string out = "keep";
    EXPECT_FALSE(model::ModelFitsFormat(*m));
    EXPECT_FALSE(m->Serialize(&out));
    EXPECT_EQ("keep", out);
  }

  // The running object index: one part of n points, one format and q
  // quadrilaterals ends at n + (6 + 4q) + 1 + 7.
  Model big;
  big.parts.resize(1);
  big.parts[0].formats.push_back(MakeFormat(0));
  big.parts[0].points.resize(32767 - 14 - 4 * 100);
  for (int i = 0; i < 100; ++i) big.parts[0].polygons.push_back(MakePolygon({0, 1, 2, 3}));
  EXPECT_EQ(32767, model::LastObjectIndex(big));
  EXPECT_TRUE(model::ModelFitsFormat(big));
  big.parts[0].points.emplace_back();
  EXPECT_EQ(32768, model::LastObjectIndex(big));
  EXPECT_FALSE(model::ModelFitsFormat(big));

  // A square tile of 80 x 80 cells fits, one of 81 x 81 does not.
  for (int cells : {80, 81}) {
    Model tile;
    tile.parts.resize(1);
    tile.parts[0].points.resize(static_cast<std::size_t>((cells + 1) * (cells + 1) + 1));
    tile.parts[0].polygons.assign(static_cast<std::size_t>(cells * cells), MakePolygon({0, 1, 2, 3}));
    tile.parts[0].formats.resize(1);
    EXPECT_EQ((cells + 1) * (cells + 1) + 4 * cells * cells + 15, model::LastObjectIndex(tile));
    EXPECT_EQ(cells == 80, model::ModelFitsFormat(tile) != 0);
  }
}

TEST(ModelWriter, WriteFileSavesSafelyAndReportsEachFailure) {
  TempDir dir;
  MessageRecorder messages;
  Model m = LineModel();
  std::string expected;
  ASSERT_TRUE(m.Serialize(&expected));

  const std::string path = dir.Path("tile.mod");
  EXPECT_TRUE(m.WriteFile(path));
  EXPECT_EQ(expected, dir.Read("tile.mod"));
  EXPECT_TRUE(messages.messages().empty());

  // A failed write keeps the old file whole.
  dir.Write("tile.mod", "old");
  platform::PlanFault(platform::kFaultWrite, 1);
  EXPECT_FALSE(m.WriteFile(path));
  platform::ClearFaults();
  EXPECT_EQ("old", dir.Read("tile.mod"));
  ASSERT_EQ(1u, messages.messages().size());
  EXPECT_EQ("Fehler beim Schreiben von " + path + "!\n", messages.messages()[0]);

  // A file that cannot be created.
  messages.clear();
  const std::string missing = dir.Path("nowhere\\tile.mod");
  EXPECT_FALSE(m.WriteFile(missing));
  ASSERT_EQ(1u, messages.messages().size());
  EXPECT_EQ("Can't open " + missing + "!\n", messages.messages()[0]);

  // A model that does not fit is never written.
  messages.clear();
  Model empty;
  empty.parts.resize(1);
  EXPECT_FALSE(empty.WriteFile(dir.Path("empty.mod")));
  EXPECT_FALSE(dir.Exists("empty.mod"));
  ASSERT_EQ(1u, messages.messages().size());
  EXPECT_NE(std::string::npos, messages.messages()[0].find(dir.Path("empty.mod")));
  EXPECT_EQ((std::vector<std::string>{"tile.mod"}), dir.List());
}

TEST(ModelWriter, PointQueries) {
  Model m = LineModel();
  m.parts[0].flags = 0x00F0;
  float xyz[3];
  ASSERT_TRUE(m.PointPosition(0, 1, xyz));
  EXPECT_EQ(-1.0f, xyz[0]);
  EXPECT_EQ(-3.0f, xyz[2]);
  EXPECT_FALSE(m.PointPosition(0, 2, xyz));
  EXPECT_FALSE(m.PointPosition(1, 0, xyz));
  ModelPoint copy;
  ASSERT_TRUE(m.CopyPoint(0, 0, &copy));
  EXPECT_EQ(99, copy.colour[3]);

  // Only a point of kind 99 with a positive param changes the flags.
  EXPECT_EQ(0x00F0u, m.FlagQuery(0, 1, 0xFFFF));  // kind 98
  m.parts[0].points[1].kind = 99;
  m.parts[0].points[1].param = 0x0F3 + 0.9f;
  EXPECT_EQ(0x0003u, m.FlagQuery(0, 1, 0xFFFF));
  EXPECT_EQ(0x0001u, m.FlagQuery(0, 1, 0x0001));
  m.parts[0].points[1].param = 65536.0f + 2.0f;  // low 16 bits only
  EXPECT_EQ(0x00F2u, m.FlagQuery(0, 1, 0xFFFF));
  m.parts[0].points[1].param = -5.0f;
  EXPECT_EQ(0x00F0u, m.FlagQuery(0, 1, 0xFFFF));
  m.parts[0].points[1].param = 1e30f;  // huge, still no undefined conversion
  m.FlagQuery(0, 1, 0xFFFF);
  EXPECT_EQ(0u, m.FlagQuery(3, 0, 0xFFFF));
}

}  // namespace
