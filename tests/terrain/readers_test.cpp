// The height and colour readers on files of independent tools, on files
// made byte by byte, and on what the fuzz targets found.
#include <gtest/gtest.h>

#include "support/test_support.h"
#include "terrain/bitmap.h"
#include "terrain/terragen.h"
#include "terrain/terrain_test_support.h"

namespace {

using terrain_test::DataPath;
using terrain_test::PixelBytes;
using terrain_test::Terragen;
using Ints = std::vector<int>;

// The picture of make-data.sh, in file order (blue, green, red).
PixelBytes Picture(int x, int y) {
  return PixelBytes{static_cast<std::uint8_t>(200 - 11 * x - 13 * y), static_cast<std::uint8_t>(20 + 3 * x + 7 * y),
                    static_cast<std::uint8_t>(10 * x + 50 * y + 1)};
}

TEST(Readers, FilesOfImageMagickGdalAndEveryVariant) {
  testing_support::TempDir dir;
  testing_support::MessageRecorder messages;
  // Top-down rows of 15 bytes padded to 16; bytes after the last row are
  // ignored.
  dir.Write("top108.bmp", terrain_test::MakeBitmap(5, 4, Picture, 108, true) + "trailing");
  dir.Write("top12.bmp", terrain_test::MakeBitmap(5, 4, Picture, 12, true));
  for (const std::string& file : {DataPath("picture-bmp3.bmp"), DataPath("picture-v5.bmp"),
                                  DataPath("picture-core.bmp"), dir.Path("top108.bmp"), dir.Path("top12.bmp")}) {
    terrain::BitmapImage image;
    ASSERT_TRUE(image.ReadBitmap(file)) << file;
    ASSERT_EQ((Ints{5, 4}), (Ints{image.width, image.height}));
    for (int y = -1; y <= 4; ++y) {  // outside the picture its edge repeats
      for (int x = -1; x <= 5; ++x) {
        const PixelBytes p = Picture(std::min(std::max(x, 0), 4), std::min(std::max(y, 0), 3));
        const terrain::Colour c = image.ColourAt(x, y);
        EXPECT_EQ((Ints{p[2], p[1], p[0], p[0] * 65536 + p[1] * 256 + p[2]}),
                  (Ints{c.red, c.green, c.blue, image.ValueAt(x, y)})) << file << " " << x << "," << y;
      }
    }
  }
  // Heights in metres, south row first, as make-data.sh gives them to GDAL,
  // which leaves out "EOF " and, for an odd count, the padding.
  const double heights[3][4] = {{90, 100, 110, 120}, {50, 60, 70, 80}, {10, 20, 30, 40}};
  for (const std::string name : {"gdal-30m.ter", "gdal-10m.ter", "gdal-odd.ter"}) {
    const bool odd = name == "gdal-odd.ter";
    terrain::TerragenHeightField field(DataPath(name));
    EXPECT_EQ((Ints{odd ? 2 : 3, 2, name == "gdal-10m.ter" ? 1000 : 3000}), (Ints{field.cellsX, field.cellsY, field.pixelSize}));
    for (int y = 0; y < 3; ++y) {
      for (int x = 0; x < 4 - odd; ++x) {
        EXPECT_NEAR(odd ? 3500 - 1500 * y + 500 * x : heights[y][x] * 100, field.HeightAt(x, y), 1.0) << name;
      }
    }
    EXPECT_NEAR(odd ? 500.0 : 1000.0, field.minimumHeight, 1.0);
  }
  // Tags in any case and the chunks GDAL does not write. A height is
  // (base + sample * scale / 65536) * z scale * 100.
  Terragen t;
  t.s = "terragenTerrain ";
  t.Count("xpts", 3).Count("YPTS", 2).Text("ScaL").F32(2.3f).F32(99.0f).F32(30.0f).Text("CRAD").F32(6370.0f);
  t.Text("CRVM").U32(0);
  t.Heights(16384, 10, {400, 0, -400, 8, 16, 24}).Text("EOF ignored after the end");
  dir.Write("t.ter", t.s);
  terrain::TerragenHeightField field(dir.Path("t.ter"));
  EXPECT_EQ((Ints{2, 1, 230}), (Ints{field.cellsX, field.cellsY, field.pixelSize}));  // 2.3 m: 230, not 229
  EXPECT_EQ((std::vector<double>{110 * 3000.0, -90 * 3000.0, 16 * 3000.0, -90 * 3000.0}),
            (std::vector<double>{field.HeightAt(0, 0), field.HeightAt(2, 0), field.HeightAt(7, 9), field.minimumHeight}));
  EXPECT_EQ((Ints{781, 1, 0}), (Ints{terrain::TerragenPixelSize(0.0f), terrain::TerragenPixelSize(0.006f),
                                     terrain::TerragenPixelSize(1e30f)}));  // 0 is 7.81 m; too large
  EXPECT_TRUE(messages.messages().empty());
}

// Patches a little-endian field of 4 bytes.
std::string Patch(std::string bytes, std::size_t at, std::uint32_t value) {
  for (std::size_t k = 0; k < 4; ++k) bytes[at + k] = static_cast<char>(value >> (8 * k));
  return bytes;
}

TEST(Readers, RefusalsAndTheirMessages) {
  testing_support::TempDir dir;
  testing_support::MessageRecorder messages;
  std::string good = terrain_test::MakeBitmap(4, 3, Picture), palette, alpha;
  ASSERT_TRUE(platform::ReadWholeFile(DataPath("picture-palette.bmp"), &palette));
  ASSERT_TRUE(platform::ReadWholeFile(DataPath("picture-alpha.bmp"), &alpha));
  const std::string wrong = "Falsches Bitmapformat: %s!\n", cut = "Fehler beim Lesen von %s!\n",
                    format = "Formatfehler in %s!\n";
  Terragen unknown, thin, chunkCut, samplesCut, claim;
  unknown.Count("XPTS", 2).Count("YPTS", 2).Count("THNG", 0).Heights(1, 0, {1, 2, 3, 4});
  thin.Count("XPTS", 1).Count("YPTS", 4).Heights(1, 0, {1, 2, 3, 4});
  chunkCut.Count("XPTS", 2).Text("YPTS").U8(2);
  samplesCut.Count("XPTS", 3).Count("YPTS", 2).Heights(16384, 100, {-8, 4});  // the missing ones are 0
  claim.Count("XPTS", 65535).Count("YPTS", 65535).Heights(1, 0, {5, 6});     // nothing of that size allocated
  struct Case {
    std::string bytes, message;  // message "" for none
    int cells;  // a TERRAGEN field's cells in x, 0 for a bitmap
  };
  const std::vector<Case> cases = {
      {"XM" + good.substr(2), wrong, 0}, {palette, wrong, 0}, {alpha, wrong, 0},
      {Patch(good, 30, 1), wrong, 0},                               // compression
      {Patch(good, 14, 64), wrong, 0},                              // header size
      {Patch(good, 10, 40), wrong, 0},                              // data offset inside the header
      {Patch(good, 22, 0), wrong, 0},                               // height 0
      {Patch(good, 18, static_cast<std::uint32_t>(-4)), wrong, 0},  // negative width
      {good.substr(0, good.size() - 1), cut, 0}, {good.substr(0, 30), cut, 0}, {good.substr(0, 10), cut, 0},
      {Patch(good, 10, 5000), cut, 0},                              // data offset behind the end
      {Patch(good, 18, 0x7FFFFFFF), cut, 0}, {Patch(good, 22, 0x80000000u), cut, 0},  // huge claims
      {"TERRAGEXTERRAIN ", "Keyword TERRAGEN missing!\n", 0}, {"TERRAGENTERRAINX", "Keyword TERRAIN missing!\n", 0},
      {unknown.s, format, 0}, {thin.s, "", 0}, {chunkCut.s, format, 0}, {samplesCut.s, format, 2},
      {claim.s, format, 65534},
      // Found by fuzz/terragen_fuzzer.cpp: an "XPTS" of 0 after the heights.
      {std::string("TERRAGENTERRAIN SIZE\x02\x00\xEC\x00" "ALTWTERRAGENTERRAIN SIZE\x02\x00\x00\x00XPTS\x00\x00\x02\x00"
                   "\x00\x00\x04\x00YPTS\x03\x00\x00\x00" "ALTW\x07" "E\x02\x00\x00\x00XPTS\x04\x00\x00\x00YS\x00\x00\x04"
                   "L\x00XPTMAIN SITZE", 110), format, 0},
  };
  for (std::size_t k = 0; k < cases.size(); ++k) {
    messages.clear();
    const bool bitmap = k < 14;
    const std::string path = dir.Path(bitmap ? "bad.bmp" : "bad.ter");
    dir.Write(bitmap ? "bad.bmp" : "bad.ter", cases[k].bytes);
    terrain::BitmapImage image;
    if (bitmap) {
      EXPECT_FALSE(image.ReadBitmap(path)) << k;
    }
    EXPECT_EQ(cases[k].cells, bitmap ? image.width + image.ValueAt(0, 0) : terrain::TerragenHeightField(path).cellsX) << k;
    const std::vector<std::string> expected = {host::StringPrintf(cases[k].message.c_str(), path.c_str())};
    EXPECT_EQ(cases[k].message.empty() ? std::vector<std::string>{} : expected, messages.messages()) << k;
  }
  // The fuzz finding made plain: 3 x 3 samples, then 2 points in x. The grid
  // is 2 x 3; the ninth sample lies outside it and sets no height.
  Terragen plain;
  plain.Count("SIZE", 2).Heights(16384, 0, {10, 20, 30, 40, 50, 5, 70, 80, -30000}).Count("XPTS", 2);
  dir.Write("plain.ter", plain.s);
  terrain::TerragenHeightField field(dir.Path("plain.ter"));
  EXPECT_EQ((Ints{1, 2, 6}), (Ints{field.cellsX, field.cellsY, static_cast<int>(field.terrain.samples.size())}));
  EXPECT_EQ((std::vector<double>{5 * 750.0, 5 * 750.0}), (std::vector<double>{field.minimumHeight, field.HeightAt(1, 2)}));
}

}  // namespace
