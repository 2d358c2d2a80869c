#include <gtest/gtest.h>

#include "support/test_support.h"
#include "terrain/height_field.h"
#include "terrain/terragen.h"
#include "terrain/terrain_test_support.h"

namespace {

using terrain::BitmapHeightField;
using terrain::TerragenHeightField;
using terrain::TerragenTerrain;
using terrain_test::Bytes;
using terrain_test::DataPath;
using terrain_test::HeightPixel;
using terrain_test::MakeBitmap;
using testing_support::MessageRecorder;
using testing_support::TempDir;

TEST(BitmapHeightField, CornersAreMeansOfTheFourPixels) {
  TempDir dir;
  MessageRecorder messages;
  // 3 x 2 pixels coding 10000 + 100 * (x + 1) + 1000 * y (centimetres + 10000).
  auto value = [](int x, int y) { return 10000 + 100 * (x + 1) + 1000 * y; };
  dir.Write("h.bmp", MakeBitmap(3, 2, [&](int x, int y) { return HeightPixel(value(x, y)); }));
  BitmapHeightField field(dir.Path("h.bmp"), 250);
  EXPECT_EQ(3, field.cellsX);
  EXPECT_EQ(2, field.cellsY);
  EXPECT_EQ(250, field.pixelSize);
  EXPECT_DOUBLE_EQ(value(0, 0) - 10000.0, field.HeightAt(0, 0));
  EXPECT_DOUBLE_EQ(value(2, 1) - 10000.0, field.HeightAt(3, 2));
  // An inner corner: the mean of four pixels, in quarters.
  EXPECT_DOUBLE_EQ((value(0, 0) + value(1, 0) + value(0, 1) + value(1, 1)) * 0.25 - 10000.0,
                   field.HeightAt(1, 1));
  // Outside the grid the edge repeats.
  EXPECT_DOUBLE_EQ(field.HeightAt(3, 2), field.HeightAt(50, 70));
  EXPECT_DOUBLE_EQ(field.HeightAt(0, 0), field.HeightAt(-2147483647 - 1, -9));
  EXPECT_DOUBLE_EQ(100.0, field.minimumHeight);
  EXPECT_TRUE(messages.messages().empty());

  // Bytes 00 27 10 code 10000, a height of 0 cm.
  dir.Write("zero.bmp", MakeBitmap(1, 1, [](int, int) { return terrain_test::PixelBytes{0x00, 0x27, 0x10}; }));
  BitmapHeightField zero(dir.Path("zero.bmp"), 100);
  EXPECT_DOUBLE_EQ(0.0, zero.HeightAt(0, 0));
  EXPECT_DOUBLE_EQ(0.0, zero.minimumHeight);

  // A picture that does not load gives an empty field.
  BitmapHeightField missing(dir.Path("missing.bmp"), 100);
  EXPECT_EQ(0, missing.cellsX);
  EXPECT_EQ(0, missing.cellsY);
  EXPECT_EQ(0, missing.pixelSize);
  EXPECT_EQ(std::vector<std::string>{"Can't open " + dir.Path("missing.bmp") + "!\n"},
            messages.messages());
}

// A TERRAGEN file in the given case of its words and tags.
struct Terragen {
  Bytes b;
  explicit Terragen(bool lower = false) : lower_(lower) { b.Text(Word("TERRAGEN")).Text(Word("TERRAIN ")); }
  Terragen& Tag(const char* tag) {
    b.Text(Word(tag));
    return *this;
  }
  Terragen& Count(const char* tag, unsigned n) {
    Tag(tag);
    b.U16(n).U16(0);
    return *this;
  }
  Terragen& Scale(float x, float y, float z) {
    Tag("SCAL");
    b.F32(x).F32(y).F32(z);
    return *this;
  }
  Terragen& Heights(int heightScale, int base, const std::vector<int>& samples, bool pad = true) {
    Tag("ALTW");
    b.U16(static_cast<unsigned>(heightScale)).U16(static_cast<unsigned>(base));
    for (int s : samples) b.U16(static_cast<unsigned>(s));
    if (pad && samples.size() % 2 == 1) b.U16(0);
    return *this;
  }
  std::string Word(std::string w) const {
    if (lower_) {
      for (char& c : w) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    }
    return w;
  }
  bool lower_;
};

TEST(Terragen, ChunksScalesAndHeights) {
  TempDir dir;
  MessageRecorder messages;
  // Base 10, height scale 16384, sample 400, z scale 30: 330000 cm.
  for (bool lower : {false, true}) {
    Terragen t(lower);
    t.Count("XPTS", 3).Count("YPTS", 2).Scale(2.3f, 99.0f, 30.0f).Tag("CRAD");
    t.b.F32(6370.0f);
    t.Tag("CRVM").b.U32(0);
    t.Heights(16384, 10, {400, 0, -400, 8, 16, 24}).Tag("EOF ");
    t.b.Text("ignored after the end");
    dir.Write("t.ter", t.b.s);
    TerragenHeightField field(dir.Path("t.ter"));
    EXPECT_EQ(2, field.cellsX);
    EXPECT_EQ(1, field.cellsY);
    EXPECT_EQ(230, field.pixelSize);  // 2.3 m rounded, not truncated to 229
    EXPECT_DOUBLE_EQ(330000.0, field.HeightAt(0, 0));
    EXPECT_DOUBLE_EQ((10 + 16384 * -400 / 65536.0) * 30.0 * 100.0, field.HeightAt(2, 0));
    EXPECT_DOUBLE_EQ((10 + 16384 * 24 / 65536.0) * 30.0 * 100.0, field.HeightAt(2, 1));
    EXPECT_DOUBLE_EQ(field.HeightAt(2, 1), field.HeightAt(7, 9));  // clamped
    EXPECT_DOUBLE_EQ(field.HeightAt(2, 0), field.minimumHeight);
  }

  // SIZE stands in for the point counts; an odd count is padded, and the file
  // may end after the samples without "EOF ".
  Terragen square;
  square.Count("SIZE", 2).Heights(16384, 0, {1, 2, 3, 4, 5, 6, 7, 8, 9}).Count("XPTS", 3);
  dir.Write("square.ter", square.b.s);
  TerragenTerrain terrain;
  EXPECT_TRUE(terrain.ReadTerragen(dir.Path("square.ter")));
  EXPECT_EQ(3, terrain.xPoints);
  EXPECT_EQ(3, terrain.yPoints);
  EXPECT_EQ(30.0f, terrain.zScale);  // no "SCAL": 30 m
  EXPECT_DOUBLE_EQ(9 * 0.25 * 30 * 100, terrain.HeightAt(2, 2));

  Terragen big;
  big.Count("SIZE", 256).Heights(1, 0, std::vector<int>(257 * 257, 7));
  dir.Write("big.ter", big.b.s);
  TerragenHeightField bigField(dir.Path("big.ter"));
  EXPECT_EQ(256, bigField.cellsX);
  EXPECT_EQ(256, bigField.cellsY);
  EXPECT_EQ(3000, bigField.pixelSize);  // 30 m without "SCAL"

  // An explicit x scale of 0 gives 7.81 m.
  Terragen flat;
  flat.Count("XPTS", 2).Count("YPTS", 2).Scale(0, 5, 1).Heights(1, 1, {0, 0, 0, 0});
  dir.Write("flat.ter", flat.b.s);
  EXPECT_EQ(781, TerragenHeightField(dir.Path("flat.ter")).pixelSize);
  EXPECT_TRUE(messages.messages().empty());

  EXPECT_EQ(1, terrain::TerragenPixelSize(0.006f));
  EXPECT_EQ(0, terrain::TerragenPixelSize(0.004f));
  EXPECT_EQ(-230, terrain::TerragenPixelSize(-2.3f));
  EXPECT_EQ(0, terrain::TerragenPixelSize(1e30f));
}

TEST(Terragen, FaultsAndTheirMessages) {
  TempDir dir;
  MessageRecorder messages;
  const std::string path = dir.Path("bad.ter");
  auto read = [&](const std::string& bytes) {
    messages.clear();
    dir.Write("bad.ter", bytes);
    return TerragenHeightField(path);
  };
  const std::string format = "Formatfehler in " + path + "!\n";

  TerragenHeightField field = read("TERRAGEXTERRAIN ");
  EXPECT_EQ(std::vector<std::string>{"Keyword TERRAGEN missing!\n"}, messages.messages());
  field = read("TERRAGENTERRAINX");
  EXPECT_EQ(std::vector<std::string>{"Keyword TERRAIN missing!\n"}, messages.messages());
  field = read("TERRA");
  EXPECT_EQ(std::vector<std::string>{"Keyword TERRAGEN missing!\n"}, messages.messages());

  // An unknown tag stops the reading: the samples after it are not read.
  Terragen thing;
  thing.Count("XPTS", 2).Count("YPTS", 2).Tag("THNG").Heights(1, 0, {1, 2, 3, 4});
  field = read(thing.b.s);
  EXPECT_EQ(std::vector<std::string>{format}, messages.messages());
  EXPECT_EQ(0, field.cellsX);

  // One point in x: an empty field, without a message.
  Terragen thin;
  thin.Count("XPTS", 1).Count("YPTS", 4).Heights(1, 0, {1, 2, 3, 4});
  field = read(thin.b.s);
  EXPECT_TRUE(messages.messages().empty());
  EXPECT_EQ(0, field.cellsX);
  EXPECT_EQ(0, field.pixelSize);

  // A chunk cut short.
  Terragen cut;
  cut.Count("XPTS", 2).Tag("YPTS");
  cut.b.U8(2);
  field = read(cut.b.s);
  EXPECT_EQ(std::vector<std::string>{format}, messages.messages());
  EXPECT_EQ(0, field.cellsX);

  // Samples cut short: a message, and the samples that were not read are 0.
  Terragen shortSamples;
  shortSamples.Count("XPTS", 3).Count("YPTS", 2).Scale(1, 1, 1).Heights(16384, 100, {-8, 4});
  field = read(shortSamples.b.s);
  EXPECT_EQ(std::vector<std::string>{format}, messages.messages());
  ASSERT_EQ(2, field.cellsX);
  EXPECT_DOUBLE_EQ((100 - 2) * 100.0, field.HeightAt(0, 0));
  EXPECT_DOUBLE_EQ((100 + 1) * 100.0, field.HeightAt(1, 0));
  EXPECT_DOUBLE_EQ(100 * 100.0, field.HeightAt(2, 0));
  EXPECT_DOUBLE_EQ(100 * 100.0, field.HeightAt(2, 1));
  EXPECT_DOUBLE_EQ((100 - 2) * 100.0, field.minimumHeight);

  // A header that claims 65535 x 65535 samples in a tiny file: the message,
  // and nothing of that size allocated.
  Terragen claim;
  claim.Count("XPTS", 65535).Count("YPTS", 65535).Heights(1, 0, {5, 6});
  field = read(claim.b.s);
  EXPECT_EQ(std::vector<std::string>{format}, messages.messages());
  EXPECT_EQ(2u, field.terrain.samples.size());
  EXPECT_EQ(65534, field.cellsX);
  EXPECT_DOUBLE_EQ(0.0, field.minimumHeight);

  messages.clear();
  TerragenHeightField missing(dir.Path("missing.ter"));
  EXPECT_EQ(std::vector<std::string>{"Can't open " + dir.Path("missing.ter") + "!\n"},
            messages.messages());
  EXPECT_EQ(0, missing.cellsX);
}

TEST(Terragen, FilesWrittenByGdal) {
  MessageRecorder messages;
  // Heights in metres, south row first, as make-data.sh gives them to GDAL.
  const double heights[3][4] = {{90, 100, 110, 120}, {50, 60, 70, 80}, {10, 20, 30, 40}};
  for (const char* name : {"gdal-30m.ter", "gdal-10m.ter"}) {
    SCOPED_TRACE(name);
    TerragenHeightField field(DataPath(name));
    ASSERT_EQ(3, field.cellsX);
    ASSERT_EQ(2, field.cellsY);
    const bool thirty = std::string(name) == "gdal-30m.ter";
    EXPECT_EQ(thirty ? 3000 : 1000, field.pixelSize);
    for (int y = 0; y < 3; ++y) {
      for (int x = 0; x < 4; ++x) EXPECT_NEAR(heights[y][x] * 100, field.HeightAt(x, y), 1.0);
    }
    EXPECT_NEAR(1000.0, field.minimumHeight, 1.0);
  }
  // GDAL leaves out the padding of an odd sample count and "EOF ".
  TerragenHeightField odd(DataPath("gdal-odd.ter"));
  ASSERT_EQ(2, odd.cellsX);
  ASSERT_EQ(2, odd.cellsY);
  EXPECT_NEAR(3500.0, odd.HeightAt(0, 0), 1.0);
  EXPECT_NEAR(1500.0, odd.HeightAt(2, 2), 1.0);
  EXPECT_TRUE(messages.messages().empty());
}

}  // namespace
