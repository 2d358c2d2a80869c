// The terrain readers on files of independent tools and on files made byte
// by byte, and whole generations against tiles worked out independently
// (data/expected-tiles.py).
#include <gtest/gtest.h>

#include <cmath>
#include <map>

#include "host/installation.h"
#include "support/test_support.h"
#include "terrain/generator.h"
#include "terrain/terragen.h"
#include "terrain/terrain_test_support.h"
#include "terrain/tile_mesh.h"
#include "terrain/tile_plan.h"

namespace {

using terrain_test::DataPath;
using terrain_test::MakeBitmap;
using terrain_test::PixelBytes;
using terrain_test::Terragen;
using testing_support::Cp;
using Ints = std::vector<int>;
using Strings = std::vector<std::string>;

// The picture of make-data.sh, in file order (blue, green, red).
PixelBytes Picture(int x, int y) {
  return PixelBytes{static_cast<std::uint8_t>(200 - 11 * x - 13 * y), static_cast<std::uint8_t>(20 + 3 * x + 7 * y),
                    static_cast<std::uint8_t>(10 * x + 50 * y + 1)};
}

TEST(Readers, FilesOfImageMagickGdalAndEveryVariant) {
  testing_support::TempDir dir;
  testing_support::MessageRecorder messages;
  // Rows of 15 bytes padded to 16, stored top-down; bytes after them ignored.
  dir.Write("top108.bmp", MakeBitmap(5, 4, Picture, 108, true) + "trailing");
  dir.Write("top12.bmp", MakeBitmap(5, 4, Picture, 12, true));
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
    EXPECT_EQ((Ints{3 - odd, 2, name == "gdal-10m.ter" ? 1000 : 3000}), (Ints{field.cellsX, field.cellsY, field.pixelSize}));
    for (int y = 0; y < 3; ++y) {
      for (int x = 0; x < 4 - odd; ++x) {
        EXPECT_NEAR(odd ? 3500 - 1500 * y + 500 * x : heights[y][x] * 100, field.HeightAt(x, y), 1.0) << name;
      }
    }
    EXPECT_NEAR(odd ? 500.0 : 1000.0, field.minimumHeight, 1.0);
  }
  // An x scale of 0 means 7.81 m; others are rounded to whole centimetres.
  EXPECT_EQ((Ints{781, 230, 1, 0}), (Ints{terrain::TerragenPixelSize(0.0f), terrain::TerragenPixelSize(2.3f),
                                          terrain::TerragenPixelSize(0.006f), terrain::TerragenPixelSize(1e30f)}));
  EXPECT_TRUE(messages.messages().empty());
}

TEST(Readers, RefusalsAndTheirMessages) {
  testing_support::TempDir dir;
  testing_support::MessageRecorder messages;
  std::string good = MakeBitmap(4, 3, Picture), palette, alpha;
  ASSERT_TRUE(platform::ReadWholeFile(DataPath("picture-palette.bmp"), &palette));
  ASSERT_TRUE(platform::ReadWholeFile(DataPath("picture-alpha.bmp"), &alpha));
  const auto patch = [&](std::size_t at, std::uint32_t value) {
    std::string bytes = good;
    for (std::size_t k = 0; k < 4; ++k) bytes[at + k] = static_cast<char>(value >> (8 * k));
    return bytes;
  };
  const std::string wrong = "Falsches Bitmapformat: %s!\n", cut = "Fehler beim Lesen von %s!\n", format = "Formatfehler in %s!\n";
  Terragen unknown, thin, chunkCut, samplesCut, claim;
  unknown.Count("XPTS", 2).Count("YPTS", 2).Count("THNG", 0).Heights(1, 0, {1, 2, 3, 4});
  // One point in x makes no field, quietly; the unused chunks are skipped.
  thin.Count("XPTS", 1).Count("YPTS", 4).Text("CRAD").U32(0).Text("CRVM").U32(0);
  thin.Heights(1, 0, {1, 2, 3, 4}).Text("EOF ignored after the end");
  chunkCut.Count("XPTS", 2).Text("YPTS").U8(2);
  samplesCut.Count("XPTS", 3).Count("YPTS", 2).Heights(16384, 100, {-8, 4});
  claim.Count("XPTS", 65535).Count("YPTS", 65535).Heights(1, 0, {5, 6});  // nothing of that size allocated
  const std::vector<std::pair<std::string, std::string>> cases = {  // bitmaps, then TERRAGEN files
      {"XM" + good.substr(2), wrong}, {palette, wrong}, {alpha, wrong}, {patch(30, 1), wrong} /* compression */,
      {patch(14, 64), wrong} /* header size */, {patch(10, 40), wrong} /* data offset inside the header */,
      {patch(22, 0), wrong} /* height 0 */, {patch(18, static_cast<std::uint32_t>(-4)), wrong} /* width */,
      {good.substr(0, good.size() - 1), cut}, {good.substr(0, 30), cut}, {good.substr(0, 10), cut},
      {patch(10, 5000), cut} /* data offset behind the end */, {patch(18, 0x7FFFFFFF), cut}, {patch(22, 0x80000000u), cut},
      {"TERRAGEXTERRAIN ", "Keyword TERRAGEN missing!\n"}, {"TERRAGENTERRAINX", "Keyword TERRAIN missing!\n"},
      {unknown.s, format}, {thin.s, ""}, {chunkCut.s, format}, {samplesCut.s, format}, {claim.s, format},
      // Found by fuzz/terragen_fuzzer.cpp: an "XPTS" of 0 after the heights.
      {std::string("TERRAGENTERRAIN SIZE\x02\x00\xEC\x00" "ALTWTERRAGENTERRAIN SIZE\x02\x00\x00\x00XPTS\x00\x00\x02\x00"
                   "\x00\x00\x04\x00YPTS\x03\x00\x00\x00" "ALTW\x07" "E\x02\x00\x00\x00XPTS\x04\x00\x00\x00YS\x00\x00\x04"
                   "L\x00XPTMAIN SITZE", 110), format},
  };
  const Ints cellsX = {0, 0, 0, 0, 0, 2, 65534, 0};  // of the TERRAGEN files
  for (std::size_t k = 0; k < cases.size(); ++k) {
    messages.clear();
    const bool bitmap = k < 14;
    const std::string path = dir.Path(bitmap ? "bad.bmp" : "bad.ter");
    dir.Write(bitmap ? "bad.bmp" : "bad.ter", cases[k].first);
    terrain::BitmapImage image;
    if (bitmap) {
      EXPECT_FALSE(image.ReadBitmap(path)) << k;
      EXPECT_EQ((Ints{0, 0, 0}), (Ints{image.width, image.height, image.ValueAt(0, 0)})) << k;
    } else {
      EXPECT_EQ(cellsX[k - 14], terrain::TerragenHeightField(path).cellsX) << k;
    }
    const Strings expected = {host::StringPrintf(cases[k].second.c_str(), path.c_str())};
    EXPECT_EQ(cases[k].second.empty() ? Strings{} : expected, messages.messages()) << k;
  }
  // The fuzz finding made plain: 3 x 3 samples, then 2 points in x. The grid
  // is 2 x 3; the ninth sample lies outside it and sets no height.
  Terragen plain;
  plain.Count("SIZE", 2).Heights(16384, 0, {10, 20, 30, 40, 50, 5, 70, 80, -30000}).Count("XPTS", 2);
  dir.Write("plain.ter", plain.s);
  terrain::TerragenHeightField field(dir.Path("plain.ter"));
  EXPECT_EQ((Ints{1, 2, 6}), (Ints{field.cellsX, field.cellsY, static_cast<int>(field.terrain.samples.size())}));
  EXPECT_EQ((std::vector<double>{3750, 3750}), (std::vector<double>{field.minimumHeight, field.HeightAt(7, 9)}));
}

// A host installation in a temporary folder, with its "Modelle" folder.
class GeneratorTest : public testing::Test {
 protected:
  GeneratorTest() { dir_.MakeDirs("Host/Modelle"), host::SetHostDirectoryOverride(dir_.Path("Host")); }
  ~GeneratorTest() override { host::SetHostDirectoryOverride(""); }
  testing_support::TempDir dir_;
  testing_support::MessageRecorder messages_;
};

TEST_F(GeneratorTest, TilesOfEveryTerrainSectionInFileOrder) {
  // TerrainBerg is the terrain of data/expected-tiles.py; gdal-10m.ter has
  // 3 x 2 cells at 10 m. Sections not named "Terrain..." would fail.
  dir_.Write("c.bmp", MakeBitmap(3, 2, [](int x, int) { return PixelBytes{1, 2, static_cast<std::uint8_t>(x)}; }));
  settings::SettingsFile s;
  s.Parse("[TerrainBerg]\nName=Berg\nHoehe=" + DataPath("picture-bmp3.bmp") + "\nFarbe=" + DataPath("picture-v5.bmp") +
          "\nPixelgroesse=2.3\nKachelabstand=5\nKachelgroesse=9\nFaktor=1.5\nRGBFaktor=1.3\n[Ebene]\nHoehe=x\n"
          "[terrain1]\nHoehe=x\n[TerrainNord]\nName=Nord\nHoehe=" + DataPath("gdal-10m.TER") + "\nFarbe=" +
          dir_.Path("c.bmp") + "\nKachelabstand=10\nKachelgroesse=20\n");
  ASSERT_EQ(1, terrain::GenerateTerrain(s));
  EXPECT_TRUE(messages_.messages().empty());
  EXPECT_EQ((Strings{"Berg", "Nord"}), dir_.List("Host/Modelle"));
  EXPECT_EQ((Ints{4, 6}), (Ints{int(dir_.List("Host/Modelle/Berg").size()), int(dir_.List("Host/Modelle/Nord").size())}));
  for (const std::string tile : {"bmp0_0.mod", "bmp0_1.mod", "bmp1_0.mod", "bmp1_1.mod"}) {
    std::string expected;
    ASSERT_TRUE(platform::ReadWholeFile(DataPath("tile-" + tile), &expected));
    EXPECT_EQ(expected, dir_.Read("Host/Modelle/Berg/" + tile)) << tile;
  }
}

TEST_F(GeneratorTest, RefusalsAndFailedTilesWithTheirMessages) {
  const auto colour = [](int x, int y) { return PixelBytes{1, static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y)}; };
  const auto flat = [](int, int) { return terrain_test::HeightPixel(10000); };
  dir_.Write("h.bmp", MakeBitmap(4, 3, flat)), dir_.Write("c.bmp", MakeBitmap(4, 3, colour));
  dir_.Write("big.bmp", MakeBitmap(100, 100, flat)), dir_.Write("bigc.bmp", MakeBitmap(100, 100, colour));
  Terragen tiny;  // tags in any case; x scale 0.004 m: a pixel size of 0 cm
  tiny.s = "terragenTerrain ";
  tiny.Count("xpts", 5).Count("YpTs", 4).Heights(1, 0, std::vector<int>(20)).Text("ScaL").F32(0.004f).F32(1).F32(1);
  dir_.Write("tiny.ter", tiny.s);
  dir_.MakeDirs("Host/Modelle/Y/bmp0_0.mod");  // in the way of a tile
  const std::string none = dir_.Path("none.bmp"), ter = dir_.Path("tiny.ter"), open = "Can't open " + none + "!\n";
  const auto big = [&](const std::string& size) {
    return Strings{"Hoehe=" + dir_.Path("big.bmp"), "Farbe=" + dir_.Path("bigc.bmp"), "Pixelgroesse=1",
                   "Kachelabstand=50", "Kachelgroesse=" + size};
  };
  struct Case {
    Strings changes;  // "Key=value" sets a key of the base section, "Key" removes it
    Strings messages;
    std::size_t entries;  // in the terrain's folder
  };
  const std::vector<Case> cases = {
      // The first fault in the order of the checks, whatever follows.
      {{"Hoehe", "Farbe", "Name"}, {"[TerrainTal]:Hoehe muss gesetzt sein!\n"}, 0},
      {{"Farbe", "Pixelgroesse=0"}, {"[TerrainTal]:Farbe muss gesetzt sein!\n"}, 0},
      {{"Hoehe=berg"}, {"Falscher Dateityp fuer Hoehe: berg!\n"}, 0},
      {{"Hoehe=b.png", "Farbe=x.png"}, {"Falscher Dateityp fuer Hoehe: b.png!\n"}, 0},
      {{"Pixelgroesse=0.004", "Farbe=x.png"}, {"Bitte Pixelgroesse angeben!\n"}, 0},  // rounds to 0 cm
      {{"Pixelgroesse=-1"}, {Cp("[TerrainTal]:Pixelgroesse muss größer als 0 sein!\n")}, 0},
      {{"Pixelgroesse=1e300"}, {Cp("[TerrainTal]:Pixelgroesse ist zu groß!\n")}, 0},
      // The colour picture's type is checked after the height file is read.
      {{"Hoehe=" + none, "Farbe=f.png", "Name"}, {open, "Falscher Dateityp fuer farbe: f.png!\n"}, 0},
      {{"Farbe=" + dir_.Path("bigc.bmp"), "Name"}, {Cp("Groessen stimmen nicht überein!\n")}, 0},
      {{"Hoehe=" + none}, {open, Cp("Groessen stimmen nicht überein!\n")}, 0},
      {{"Hoehe=" + none, "Farbe=" + none}, {open, open}, 0},  // then a quiet stop
      {{"Name", "Kachelabstand=-1"}, {"[TerrainTal]:Name muss gesetzt sein!\n"}, 0},
      {{"Hoehe=" + ter}, {Cp("[TerrainTal]:Pixelgroesse aus ") + ter + Cp(" muss größer als 0 sein!\n")}, 0},
      {{"Kachelabstand=-200"}, {Cp("[TerrainTal]:Kachelabstand muss größer als 0 sein!\n")}, 0},
      {{"Kachelgroesse=0"}, {Cp("[TerrainTal]:Kachelgroesse muss größer als 0 sein!\n")}, 0},
      {{"Kachelabstand=1e30", "Kachelgroesse=1e30"}, {}, 0},  // held inside 32 bits: no tile
      {{"Kachelabstand=1.5"}, {Cp("[TerrainTal]:Kachelabstand muss mindestens so groß wie die Pixelgroesse sein!\n")}, 0},
      // At 1 m pixels, centres 25 and 75 of 100 cells: tiles up to 110 m (55
      // cells each side, cut at the edges to 80 cells) fit, 1 cm more not.
      {big("110.01"),
       {Cp("[TerrainTal]:Kachelgroesse zu groß für eine Modelldatei, höchstens 110 m bei dieser Pixelgroesse!\n")}, 0},
      {big("110"), {}, 4},
      // A tile that cannot be saved is reported in its turn; the next is saved.
      {{"Name=Y", "Pixelgroesse=100"}, {"Can't open " + dir_.Path("Host\\Modelle\\Y\\bmp0_0.mod") + "!\n"}, 2},
  };
  for (std::size_t k = 0; k < cases.size(); ++k) {
    std::map<std::string, std::string> keys = {
        {"Name", "X"}, {"Hoehe", dir_.Path("h.bmp")}, {"Farbe", dir_.Path("c.bmp")}, {"Pixelgroesse", "2"}};
    for (const std::string& change : cases[k].changes) {
      const std::size_t equals = change.find('=');
      if (equals == std::string::npos) keys.erase(change);
      else keys[change.substr(0, equals)] = change.substr(equals + 1);
    }
    settings::SettingsFile s;
    s.AppendSection("TerrainTal");
    for (const auto& kv : keys) s.Append(kv.first, kv.second);
    messages_.clear();
    EXPECT_EQ(cases[k].messages.empty() ? 1 : 0, terrain::GenerateTerrainSection(s, "TerrainTal")) << k;
    EXPECT_EQ(cases[k].messages, messages_.messages()) << k;
    EXPECT_EQ(cases[k].entries, dir_.List("Host/Modelle/" + (keys.count("Name") ? keys["Name"] : "X")).size()) << k;
  }
}

TEST(TileMesh, LimitsOfHeightsAndColours) {
  using terrain::TileZ;
  // Truncated toward zero and held inside 32 bits. The default offset puts
  // the lowest vertex at z = 2, or at 1 after the roundings to single
  // precision (minimum 17 cm).
  EXPECT_EQ((std::vector<std::int32_t>{23691, -3, 2147483647, -2147483647 - 1, 0, 2, 1}),
            (std::vector<std::int32_t>{TileZ(12345.6, 2.0f, -1000.0f), TileZ(-3.9, 1.0f, 0.0f), TileZ(1e12, 1.0f, 0.0f),
                                       TileZ(-1e12, 1.0f, 0.0f), TileZ(std::nan(""), 1.0f, 0.0f),
                                       TileZ(1234, 1, terrain::TileShadingFor(terrain::TerrainJob(), 1234).offsetCm),
                                       TileZ(17, 1, terrain::TileShadingFor(terrain::TerrainJob(), 17).offsetCm)}));
  // The product in single precision (10 * 0.7f is 7 there, in double just
  // below); below 0 or not a number gives 0, above 255 gives 255.
  for (const auto& c : std::vector<std::array<float, 3>>{{0.7f, 7, 140}, {-1, 0, 0}, {std::nanf(""), 0, 0}, {1.5f, 15, 255}}) {
    std::uint8_t rgb[3] = {10, 200, 0};
    terrain::ScaleColour(rgb, c[0]);
    EXPECT_EQ((Ints{int(c[1]), int(c[2]), 0}), (Ints{rgb[0], rgb[1], rgb[2]})) << c[0];
  }
}

}  // namespace
