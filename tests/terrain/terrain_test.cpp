// Readers on files of independent tools and made byte by byte; tiles worked
// out in data/expected-tiles.py; previews against the same section's generation.
#include <gtest/gtest.h>

#include <cmath>
#include <map>

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#include <stb/stb_image.h>

#include "host/installation.h"
#include "support/test_support.h"
#include "terrain/generator.h"
#include "terrain/preview.h"
#include "terrain/terragen.h"
#include "terrain/terrain_test_support.h"
#include "terrain/tile_mesh.h"
#include "terrain/tile_plan.h"

namespace {

using namespace terrain_test;
using testing_support::Cp;
using Ints = std::vector<int>;
using Strings = std::vector<std::string>;

// The picture of make-data.sh, in file order (blue, green, red).
PixelBytes Picture(int x, int y) {
  return PixelBytes{std::uint8_t(200 - 11 * x - 13 * y), std::uint8_t(20 + 3 * x + 7 * y),
                    std::uint8_t(10 * x + 50 * y + 1)};
}

TEST(Readers, FilesOfIndependentToolsEveryVariantAndEveryRefusal) {
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
                  (Ints{c.red, c.green, c.blue, image.ValueAt(x, y)}))
            << file << " " << x << "," << y;
      }
    }
  }
  // The heights of make-data.sh (cm, y from the south) through GDAL, which
  // leaves out "EOF " and, for an odd count, the padding.
  for (const std::string name : {"gdal-30m.ter", "gdal-10m.ter", "gdal-odd.ter"}) {
    const bool odd = name == "gdal-odd.ter";
    terrain::TerragenHeightField field(DataPath(name));
    EXPECT_EQ((Ints{3 - odd, 2, name == "gdal-10m.ter" ? 1000 : 3000}),
              (Ints{field.cellsX, field.cellsY, field.pixelSize}));
    for (int y = 0; y < 3; ++y) {
      for (int x = 0; x < 4 - odd; ++x) {
        EXPECT_NEAR(odd ? 3500 + 500 * x - 1500 * y : 9000 + 1000 * x - 4000 * y, field.HeightAt(x, y), 1.0) << name;
      }
    }
    EXPECT_NEAR(odd ? 500.0 : 1000.0, field.minimumHeight, 1.0);
  }
  // An x scale of 0 means 7.81 m; others are rounded to whole centimetres.
  EXPECT_EQ((Ints{781, 230, 1, 0}), (Ints{terrain::TerragenPixelSize(0.0f), terrain::TerragenPixelSize(2.3f),
                                          terrain::TerragenPixelSize(0.006f), terrain::TerragenPixelSize(1e30f)}));
  EXPECT_TRUE(messages.messages().empty());

  // Refusals, each with its message.
  std::string good = MakeBitmap(4, 3, Picture), palette;
  ASSERT_TRUE(platform::ReadWholeFile(DataPath("picture-palette.bmp"), &palette));
  const auto patch = [&](std::size_t at, std::uint32_t value) {  // a 4-byte field of the good bitmap
    return std::string(good).replace(at, 4, Bytes().U32(value).data);
  };
  const std::string wrong = "Falsches Bitmapformat: %s!\n", cut = "Fehler beim Lesen von %s!\n",
                    format = "Formatfehler in %s!\n";
  struct Refused {
    std::string bytes, message;
    int cells = -1;  // a field: cellsX + cellsY of what is left, 0 when refused; -1: a bitmap, which is left empty
  };
  const Refused refusals[] = {
      {"XM" + good.substr(2), wrong},
      {palette, wrong},
      {patch(30, 1), wrong} /* compression */,
      {patch(14, 64), wrong} /* header size */,
      {patch(10, 40), wrong} /* data offset inside the header */,
      {patch(22, 0), wrong} /* height 0 */,
      {patch(18, 0), wrong},
      {patch(18, 0xFFFFFFFCu), wrong} /* width 0, -4 */,
      {good.substr(0, good.size() - 1), cut},
      {good.substr(0, 30), cut},
      {good.substr(0, 10), cut},
      {patch(22, 0x80000000u), cut},
      {"TERRAGEXTERRAIN ", "Keyword TERRAGEN missing!\n", 0},
      {"TERRAGENTERRAINX", "Keyword TERRAIN missing!\n", 0},
      {Terragen().Count("XPTS", 2).Count("YPTS", 2).Count("THNG", 0).Heights(1, 0, {1, 2, 3, 4}).data, format, 0},
      {Terragen().Count("XPTS", 2).Raw("YPTS").U8(2).data, format, 0},
      // One point in x makes no field, quietly; the unused chunks are skipped.
      {Terragen().Count("XPTS", 1).Count("YPTS", 4).Count("CRAD", 0).Count("CRVM", 0).Heights(1, 0, {1, 2, 3, 4}).data +
           "EOF x",
       "", 0},
      {Terragen().Count("XPTS", 3).Count("YPTS", 2).Heights(16384, 100, {8, 4}).data, format, 3},
  };
  const auto cells = [](const std::string& path) {
    const terrain::TerragenHeightField field(path);
    return field.cellsX + field.cellsY;
  };
  for (const Refused& c : refusals) {
    messages.clear();
    const std::string name = c.cells < 0 ? "bad.bmp" : "bad.ter", path = dir.Path(name);
    dir.Write(name, c.bytes);
    terrain::BitmapImage image;
    EXPECT_FALSE(c.cells < 0 && image.ReadBitmap(path)) << c.message;
    EXPECT_EQ((Ints{image.width, image.height, c.cells < 0 ? -1 : cells(path)}), (Ints{0, 0, c.cells})) << c.message;
    const Strings expected = {host::StringPrintf(c.message.c_str(), path.c_str())};
    EXPECT_EQ(messages.messages(), c.message.empty() ? Strings{} : expected);
  }
  EXPECT_EQ(100 * 3000.0, terrain::TerragenHeightField(dir.Path("bad.ter")).minimumHeight);  // missing samples are 0
  // Points in x after the heights (fuzz/corpus/terragen/found-grid-shrunk-after-heights):
  // 3 x 3 samples, then 2 points in x. The grid is 2 x 3; the ninth sample lies
  // outside it and sets no height.
  dir.Write(
      "plain.ter",
      Terragen().Count("SIZE", 2).Heights(16384, 0, {10, 20, 30, 40, 50, 5, 70, 80, -30000}).Count("XPTS", 2).data);
  terrain::TerragenHeightField field(dir.Path("plain.ter"));
  EXPECT_EQ((Ints{1, 2, 6}), (Ints{field.cellsX, field.cellsY, static_cast<int>(field.terrain.samples.size())}));
  EXPECT_EQ((std::vector<double>{3750, 3750}), (std::vector<double>{field.minimumHeight, field.HeightAt(7, 9)}));
}

// A host installation in a temporary folder, with its "Modelle" folder.
struct GeneratorTest : testing::Test {
  GeneratorTest() { dir_.MakeDirs("Host/Modelle"); }
  std::string Host() const { return dir_.Path("Host") + "\\"; }
  testing_support::TempDir dir_;
  testing_support::MessageRecorder messages_;
};

TEST_F(GeneratorTest, TilesOfEveryTerrainSectionInFileOrder) {
  // TerrainBerg is the terrain of data/expected-tiles.py; TerrainTal's 10 m
  // pixels are too coarse for a tile. Sections not named "Terrain..." would fail.
  const std::string pictures = "\nHoehe=" + DataPath("tile-heights.BMP") + "\nFarbe=" + DataPath("picture-v5.bmp");
  settings::SettingsFile s;
  s.Parse("[TerrainBerg]\nName=Berg" + pictures +
          "\nPixelgroesse=2.3\nKachelabstand=5\nKachelgroesse=9\nFaktor=1.5\n"
          "RGBFaktor=1.3\n[Ebene]\nHoehe=x\n[terrain1]\nHoehe=x\n[TerrainTal]\nName=Tal" +
          pictures + "\nPixelgroesse=10\n");
  ASSERT_EQ(1, terrain::GenerateTerrain(s, dir_.Path(""), Host()));
  EXPECT_TRUE(messages_.messages().empty());
  EXPECT_EQ((Strings{"Berg", "Tal"}), dir_.List("Host/Modelle"));
  EXPECT_EQ((Ints{4, 0}),
            (Ints{int(dir_.List("Host/Modelle/Berg").size()), int(dir_.List("Host/Modelle/Tal").size())}));
  for (const std::string tile : {"bmp0_0.mod", "bmp0_1.mod", "bmp1_0.mod", "bmp1_1.mod"}) {
    std::string expected;
    ASSERT_TRUE(platform::ReadWholeFile(DataPath("tile-" + tile), &expected));
    EXPECT_EQ(expected, dir_.Read("Host/Modelle/Berg/" + tile)) << tile;
  }
}

TEST_F(GeneratorTest, RefusalsAndFailedTilesWithTheirMessages) {
  const auto colour = [](int x, int y) { return PixelBytes{1, std::uint8_t(x), std::uint8_t(y)}; };
  dir_.Write("h.bmp", MakeBitmap(100, 100, [](int, int) { return HeightPixel(10000); }));
  dir_.Write("c.bmp", MakeBitmap(100, 100, colour));
  dir_.Write("small.bmp", MakeBitmap(4, 3, colour));
  dir_.Write("wide.bmp", MakeBitmap(100, 3, colour));  // as wide as h.bmp, not as high
  // Tags in any case; an x scale of 0.004 m gives a pixel size of 0 cm.
  Terragen tiny("terragenTerrain ");
  tiny.Count("xpts", 5).Count("YpTs", 4).Heights(1, 0, std::vector<int>(20)).Raw("ScaL").F32(0.004f).F32(1).F32(1);
  dir_.Write("tiny.ter", tiny.data);
  dir_.MakeDirs("Host/Modelle/Y/bmp0_0.mod");  // in the way of a tile
  dir_.Write("Host/Modelle/Datei", "");        // in the way of a terrain's folder
  // Tiles of an earlier plan, and files that are no tiles of any plan.
  for (const char* name : {"BMP2_0.MOD", "bmp0_2.mod", "bmp1_1.mod", "bmp1_x.mod", "bmp9.mod", "Notiz.txt"})
    dir_.Write(std::string("Host/Modelle/Alt/") + name, "alt");
  const std::string none = dir_.Path("none.bmp"), ter = dir_.Path("tiny.ter"),
                    noFile = "Grund: Die Datei gibt es nicht.\n", open = "Can't open " + none + "!\n" + noFile,
                    tal = "[TerrainTal]:", positive = Cp(" muss größer als 0 sein!\n");
  // Tiles of 110 m at 1 m pixels and centres 50 m apart, then `change`.
  const auto fitting = [](const std::string& change) {
    return Strings{"Pixelgroesse=1", "Kachelabstand=50", "Kachelgroesse=110", change};
  };
  // "Key=value" sets a key of the base section, "Key" removes it; the
  // messages (only a note when tiles of an earlier plan stay beside the new
  // ones); the entries of the terrain's folder.
  struct Case {
    Strings changes, messages;
    std::size_t entries;
  };
  const std::vector<Case> cases = {
      // The first fault in the order of the checks, whatever follows.
      {{"Hoehe", "Farbe", "Name"}, {tal + "Hoehe muss gesetzt sein!\n"}, 0},
      {{"Farbe", "Pixelgroesse=0"}, {tal + "Farbe muss gesetzt sein!\n"}, 0},
      {{"Hoehe=b.png", "Farbe=x.png"}, {"Falscher Dateityp fuer Hoehe: b.png!\n"}, 0},
      {{"Pixelgroesse=0.004", "Farbe=x.png"}, {"Bitte Pixelgroesse angeben!\n"}, 0},  // rounds to 0 cm
      {{"Pixelgroesse=-1"}, {tal + "Pixelgroesse" + positive}, 0},
      {{"Pixelgroesse=1e300"}, {tal + Cp("Pixelgroesse ist zu groß!\n")}, 0},
      // The colour picture's type is checked after the height file is read.
      {{"Hoehe=" + none, "Farbe=f.png", "Name"}, {open, "Falscher Dateityp fuer farbe: f.png!\n"}, 0},
      {{"Hoehe=none.bmp"}, {"Can't open none.bmp!\n" + noFile}, 0},  // and no word of sizes
      {{"Hoehe=" + none, "Farbe=" + none}, {open, open}, 0},         // then a quiet stop
      // Relative names are read from the folder given, wherever the current directory is.
      {{"Hoehe=h.bmp", "Farbe=wide.bmp", "Name"},
       {Cp("Groessen stimmen nicht überein!\nHöhen 100 x 100, Farben 100 x 3 Pixel.\n")},
       0},
      {{"Name", "Kachelabstand=-1"}, {tal + "Name muss gesetzt sein!\n"}, 0},
      {{"Hoehe=" + ter, "Farbe=" + dir_.Path("small.bmp")}, {tal + "Pixelgroesse aus " + ter + positive}, 0},
      {{"Kachelabstand=-200"}, {tal + "Kachelabstand" + positive}, 0},
      {{"Kachelgroesse=0"}, {tal + "Kachelgroesse" + positive}, 0},
      {{"Kachelabstand=1e30", "Kachelgroesse=1e30"}, {}, 0},  // held inside 32 bits: no tile
      {{"Kachelabstand=1.5"}, {tal + Cp("Kachelabstand muss mindestens so groß wie die Pixelgroesse sein!\n")}, 0},
      // At 1 m pixels, centres 25 and 75 of 100 cells: tiles up to 110 m (55
      // cells each side, cut at the edges to 80 cells) fit, 1 cm more not.
      {fitting("Kachelgroesse=110.01"),
       {tal + Cp("Kachelgroesse zu groß für eine Modelldatei, höchstens 110 m bei dieser Pixelgroesse!\n")},
       0},
      {fitting("Name=Alt"),
       {tal + Cp(" 2 Kacheln eines früheren Plans bleiben in ") + dir_.Path("Host\\Modelle\\Alt") + ".\n"},
       9},
      {fitting("Name=Datei"),
       {"Verzeichnis " + dir_.Path("Host\\Modelle\\Datei") + " kann nicht angelegt werden!\n"},
       0},
      // A tile that cannot be saved stops the section: the folder keeps what it held.
      {fitting("Name=Y"), {"Can't open " + dir_.Path("Host\\Modelle\\Y\\bmp0_0.mod") + "!\n"}, 1},
  };
  for (std::size_t k = 0; k < cases.size(); ++k) {
    std::map<std::string, std::string> keys = {
        {"Name", "X"}, {"Hoehe", dir_.Path("h.bmp")}, {"Farbe", dir_.Path("c.bmp")}, {"Pixelgroesse", "2"}};
    for (const std::string& change : cases[k].changes) {
      const std::size_t equals = change.find('=');
      keys.erase(change.substr(0, equals));
      if (equals != std::string::npos) keys[change.substr(0, equals)] = change.substr(equals + 1);
    }
    settings::SettingsFile s;
    s.AppendSection("TerrainTal");
    for (const auto& kv : keys) s.Append(kv.first, kv.second);
    messages_.clear();
    EXPECT_EQ(cases[k].messages.empty() || cases[k].entries > 4 ? 1 : 0,
              terrain::GenerateTerrainSection(s, "TerrainTal", dir_.Path(""), Host()))
        << k;
    EXPECT_EQ(cases[k].messages, messages_.messages()) << k;
    EXPECT_EQ(cases[k].entries, dir_.List("Host/Modelle/" + (keys.count("Name") ? keys["Name"] : "X")).size()) << k;
  }
}

TEST(TerrainPreview, PictureScaledDownNorthUpAndEncodedAsPng) {
  const auto stripes = [](int x, int y) {  // the top two rows green, the east half bluer
    return PixelBytes{std::uint8_t(x < 1024 ? 10 : 20), std::uint8_t(y >= 1022 ? 90 : 0),
                      std::uint8_t(x % 2 ? 255 : 0)};
  };
  terrain::BitmapImage image;
  ASSERT_TRUE(image.ReadBitmapBytes(MakeBitmap(2048, 1024, stripes), "c.bmp"));
  const terrain::RgbPicture small = terrain::PreviewPicture(image, 1024), whole = terrain::PreviewPicture(image, 2048);
  const auto pixel = [](const terrain::RgbPicture& p, int x, int y) {
    return p.pixels.substr(3 * (y * p.width + x), 3);
  };
  EXPECT_EQ((Strings{pixel(small, 0, 0), pixel(small, 1023, 1), pixel(whole, 1, 0)}),
            (Strings{"\x80Z\x0A", std::string("\x80\0\x14", 3), "\xFFZ\x0A"}));
  std::string png;
  ASSERT_TRUE(terrain::EncodePng(small, &png));
  int size[3] = {};
  unsigned char* decoded = stbi_load_from_memory(reinterpret_cast<const unsigned char*>(png.data()),
                                                 static_cast<int>(png.size()), &size[0], &size[1], &size[2], 3);
  ASSERT_NE(decoded, nullptr);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(decoded), 3 * size[0] * size[1]), small.pixels);
  stbi_image_free(decoded);
  EXPECT_EQ((Ints{1024, 512, 2048, 1024}), (Ints{size[0], size[1], whole.width, whole.height}));
  EXPECT_FALSE(terrain::EncodePng(terrain::RgbPicture{2, 2, "short"}, &png));
  EXPECT_EQ((Strings{terrain::Base64(""), terrain::Base64("f"), terrain::Base64("fo"), terrain::Base64("foob\xFF")}),
            (Strings{"", "Zg==", "Zm8=", "Zm9vYv8="}));
  EXPECT_EQ(terrain::XmlText("a&<>\"'\x1F\t\xE4"), "a&amp;&lt;&gt;&quot;&apos;?\t\xC3\xA4");
}

TEST_F(GeneratorTest, PreviewTilesAndReasonsAreThoseOfTheGenerationAndEveryPictureRenders) {
  const auto colour = [](int x, int y) { return PixelBytes{std::uint8_t(9 * x), std::uint8_t(7 * y), 200}; };
  dir_.Write("h.bmp", MakeBitmap(9, 6, [](int x, int) { return HeightPixel(10000 + 50 * x); }));
  dir_.Write("c.bmp", MakeBitmap(9, 6, colour));
  dir_.Write("big.bmp", MakeBitmap(130, 130, colour));
  dir_.Write("c32.bmp", MakeBitmap(3, 2, colour));  // for the TERRAGEN file's 3 x 2 cells of 30 m
  const std::string pictures = "\nHoehe=h.bmp\nFarbe=c.bmp\nPixelgroesse=2.5",
                    spacing = "\nKachelabstand=5\nKachelgroesse=10",
                    nine = "Bild: 9 x 6 Pixel, 22.5 x 15 m (Pixelgroesse 2.5 m)",
                    png = "xlink:href=\"data:image/png;base64,iVBORw0KGgo";
  // Each picture read shows as a PNG; `fits`: the largest tile size that fits, when the tiles are too large.
  const struct {
    std::string section, keys, size;
    std::size_t tiles;
    std::string fits;
    Strings shapes = {};  // found in the SVG
  } cases[] = {
      {"Terrain",
       "Name=A" + pictures + spacing,
       nine,
       12,
       "",
       {"Kacheln: 12 (4 x 3), Abstand 5 m, Kante 10 m",  // tile (0, 0): 0 to 3 cells from the south-west
                                                         // set in by one unit, the next column and row by more
        "<rect class=\"tile even\" x=\"1\" y=\"342.33\" width=\"339.33\" "
        "height=\"339.33\"><title>bmp0_0.mod</title></rect>\n"
        "<text class=\"label\" x=\"113.78\" y=\"562.89\">bmp0_0.mod</text>\n<circle class=\"centre\" cx=\"113.78\" "
        "cy=\"568.89\"",
        "<rect class=\"tile odd\" x=\"2.5\"", "class=\"heights\">Hoehen: 0 m bis 4 m<",
        "<g class=\"hillshade\" transform=\"translate(1032,"}},
      // A colour picture read as heights: ground 131 km high.
      {"Terrain5",
       "Name=E\nHoehe=c.bmp\nFarbe=c.bmp\nPixelgroesse=2.5" + spacing,
       nine,
       12,
       "",
       {"class=\"warning\">Warnung: Solche Hoehen gibt es auf der Erde nicht (unter -500 m oder ueber 9000 m). Ist "
        "c.bmp"}},
      {"Terrain2", "Name=B\nHoehe=big.bmp\nFarbe=big.bmp\nPixelgroesse=1\nKachelabstand=100\nKachelgroesse=300",
       "Bild: 130 x 130 Pixel, 130 x 130 m (Pixelgroesse 1 m)", 0, "Größte passende Kachelgroesse: 80 m"},
      {"Terrain3", "Name=C\nHoehe=h.bmp\nFarbe=none.bmp\nPixelgroesse=1", "Bild: nicht gelesen", 0, ""},
      {"Terrain & <D>", "Name=D\nHoehe=" + DataPath("gdal-30m.ter") + "\nFarbe=c32.bmp\nKachelabstand=-1",
       "Bild: 3 x 2 Pixel, 90 x 60 m (Pixelgroesse 30 m)", 0, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.section);
    settings::SettingsFile s;
    s.Parse("[" + c.section + "]\n" + c.keys + "\n");
    messages_.clear();
    terrain::GenerateTerrainSection(s, c.section, dir_.Path(""), Host());
    Strings reasons;  // as the preview shows them
    for (const std::string& m : messages_.messages())
      reasons.push_back(terrain::XmlText("Wird abgelehnt: " + m.substr(0, m.size() - 1)));
    messages_.clear();
    const std::string svg = terrain::TerrainPreviewSvg(terrain::ReadTerrainJob(s, c.section, dir_.Path(""), Host()));
    const auto matches = [&svg](const std::string& element, const std::string& before) {  // text after `before` in each
      Strings found;
      for (std::size_t at = svg.find(element); at != std::string::npos; at = svg.find(element, at + 1)) {
        const std::size_t from = svg.find(before, at) + before.size();
        found.push_back(svg.substr(from, svg.find('<', from) - from));
      }
      return found;
    };
    const Strings tiles = dir_.List("Host/Modelle/" + c.keys.substr(5, 1));
    EXPECT_EQ((std::vector<Strings>{matches("<rect class=\"tile ", "<title>"), matches("class=\"refused\"", ">"),
                                    matches("class=\"fits\"", ">"), matches("class=\"size\"", ">")}),
              (std::vector<Strings>{
                  tiles, reasons, c.fits.empty() ? Strings{} : Strings{c.fits}, {terrain::XmlText(c.size)}}));
    EXPECT_EQ((std::vector<std::size_t>{tiles.size(), reasons.empty(), messages_.messages().size()}),
              (std::vector<std::size_t>{c.tiles, c.tiles > 0, 0}));
    EXPECT_EQ(svg.find(png) != std::string::npos, c.size != "Bild: nicht gelesen");
    for (const std::string& shape : c.shapes) EXPECT_NE(svg.find(shape), std::string::npos) << shape;
  }
}

TEST(TileMesh, LimitsOfHeightsAndColoursAndTheLastObjectIndexOfATile) {
  // Heights truncated toward zero and held inside 32 bits.
  EXPECT_EQ((std::vector<std::int32_t>{-3, 2147483647, -2147483647 - 1, 0}),
            (std::vector<std::int32_t>{terrain::TileZ(-3.9, 1, 0), terrain::TileZ(1e12, 1, 0),
                                       terrain::TileZ(-1e12, 1, 0), terrain::TileZ(std::nan(""), 1, 0)}));
  // Colours in single precision (10 * 0.7f is 7, in double just below 7);
  // below 0 or not a number gives 0, above 255 gives 255.
  for (const auto& c :
       std::vector<std::array<float, 3>>{{0.7f, 7, 140}, {-1, 0, 0}, {std::nanf(""), 0, 0}, {1.5f, 15, 255}}) {
    std::uint8_t rgb[3] = {10, 200, 0};
    terrain::ScaleColour(rgb, c[0]);
    EXPECT_EQ((Ints{int(c[1]), int(c[2]), 0}), (Ints{rgb[0], rgb[1], rgb[2]})) << c[0];
  }
  // A tile of 3 x 2 cells has the last object index the plan reckons with.
  const terrain::TerragenHeightField field(DataPath("gdal-30m.ter"));
  terrain::BitmapImage colours;
  ASSERT_TRUE(colours.ReadBitmap(DataPath("picture-core.bmp")));
  model::Model tile;
  terrain::BuildTileMesh(terrain::TileShading(), &tile, colours, field, terrain::TileRect{0, 1, 3, 0, 1, 2});
  EXPECT_EQ(model::LastObjectIndex(tile), terrain::TileLastObjectIndex(3, 2));
}

}  // namespace
