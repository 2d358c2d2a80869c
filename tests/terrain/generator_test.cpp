#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "host/installation.h"
#include "platform/faults.h"
#include "settings/settings_file.h"
#include "support/test_support.h"
#include "terrain/generator.h"
#include "terrain/terrain_test_support.h"

namespace {

using terrain_test::Bytes;
using terrain_test::HeightPixel;
using terrain_test::MakeBitmap;
using terrain_test::PixelBytes;
using terrain_test::TilePoint;
using testing_support::Cp;
using testing_support::MessageRecorder;
using testing_support::TempDir;

// A host installation in a temporary folder, with its "Modelle" folder.
class GeneratorTest : public testing::Test {
 protected:
  void SetUp() override {
    dir_.MakeDirs("Host/Modelle");
    host::SetHostDirectoryOverride(dir_.Path("Host"));
    host::ResetHostDirectoryCache();
  }
  void TearDown() override {
    host::SetHostDirectoryOverride("");
    host::ResetHostDirectoryCache();
    platform::ClearFaults();
  }
  std::string Tile(const std::string& name, int i, int j) const {
    return dir_.Read("Host/Modelle/" + name + "/bmp" + std::to_string(i) + "_" + std::to_string(j) + ".mod");
  }
  std::vector<std::string> Tiles(const std::string& name) const {
    return dir_.List("Host/Modelle/" + name);
  }

  TempDir dir_;
  MessageRecorder messages_;
};

// Height pixels in cm + 10000, and colours, of a 6 x 4 picture.
std::int32_t HeightValue(int x, int y) { return 10000 + 37 * x * x - 91 * y + 13 * x * y + 5; }
PixelBytes ColourBytes(int x, int y) {  // blue, green, red in file order
  return PixelBytes{static_cast<std::uint8_t>(30 * y), static_cast<std::uint8_t>(100 + 3 * x),
                    static_cast<std::uint8_t>(40 * x + y)};
}

settings::SettingsFile Terrain(const std::string& section,
                               const std::vector<std::pair<std::string, std::string>>& keys) {
  settings::SettingsFile s;
  s.AppendSection(section);
  for (const auto& kv : keys) s.Append(kv.first, kv.second);
  return s;
}

TEST_F(GeneratorTest, TilesMatchAnIndependentEncodingByteForByte) {
  const int W = 6, H = 4;
  dir_.Write("hoehe.bmp", MakeBitmap(W, H, [](int x, int y) { return HeightPixel(HeightValue(x, y)); }));
  dir_.Write("farbe.bmp", MakeBitmap(W, H, ColourBytes));
  // 2.3 m pixels (230 cm, not 229), centres 5 m apart (2 cells), tiles 9 m
  // wide (2 cells each side).
  settings::SettingsFile s = Terrain("TerrainBerg", {{"Name", "Berg"},
                                                     {"Hoehe", dir_.Path("hoehe.bmp")},
                                                     {"Farbe", dir_.Path("farbe.bmp")},
                                                     {"Pixelgroesse", "2.3"},
                                                     {"Kachelabstand", "5"},
                                                     {"Kachelgroesse", "9"},
                                                     {"Faktor", "1.5"},
                                                     {"RGBFaktor", "1.3"}});
  std::vector<std::pair<int, int>> progress;
  terrain::TerrainProgress report;
  report.context = &progress;
  report.report = [](const std::string& section, int done, int total, void* context) {
    EXPECT_EQ("TerrainBerg", section);
    static_cast<std::vector<std::pair<int, int>>*>(context)->emplace_back(done, total);
  };
  ASSERT_EQ(1, terrain::GenerateTerrain(s, &report));
  EXPECT_TRUE(messages_.messages().empty());
  EXPECT_EQ((std::vector<std::pair<int, int>>{{1, 6}, {2, 6}, {3, 6}, {4, 6}, {5, 6}, {6, 6}}), progress);
  EXPECT_EQ((std::vector<std::string>{"bmp0_0.mod", "bmp0_1.mod", "bmp1_0.mod", "bmp1_1.mod",
                                      "bmp2_0.mod", "bmp2_1.mod"}),
            Tiles("Berg"));

  // Expected values from the pictures: a vertex is the mean of the four
  // pixels at its corner, the lowest pixel sets the default offset.
  auto pixel = [&](int x, int y) {
    return HeightValue(std::min(std::max(x, 0), W - 1), std::min(std::max(y, 0), H - 1));
  };
  std::int32_t lowest = pixel(0, 0);
  for (int x = 0; x < W; ++x) {
    for (int y = 0; y < H; ++y) lowest = std::min(lowest, pixel(x, y));
  }
  const float factor = 1.5f;
  const float offsetMetres = static_cast<float>(0.02 - factor * (lowest - 10000.0) * 0.01);
  const float offsetCm = static_cast<float>(static_cast<double>(offsetMetres) * 100.0);
  const float colourFactor = static_cast<float>(1.3);
  auto scale = [&](int byte) {
    float product = static_cast<float>(byte) * colourFactor;
    return static_cast<std::uint8_t>(product >= 255.0f ? 255 : static_cast<int>(product));
  };

  // Centres x 1, 3, 5 and y 1, 3; two cells to either side, cut at the edges.
  const int centresX[3] = {1, 3, 5};
  const int centresY[2] = {1, 3};
  for (int ti = 0; ti < 3; ++ti) {
    for (int tj = 0; tj < 2; ++tj) {
      SCOPED_TRACE(testing::Message() << "tile " << ti << "_" << tj);
      const int cx = centresX[ti], cy = centresY[tj];
      const int c0 = std::max(cx - 2, 0), c1 = std::min(cx + 2, W);
      const int r0 = std::max(cy - 2, 0), r1 = std::min(cy + 2, H);
      std::vector<TilePoint> grid;
      for (int j = r0; j <= r1; ++j) {
        for (int i = c0; i <= c1; ++i) {
          TilePoint p;
          p.x = (i - cx) * 230;
          p.y = (j - cy) * 230;
          const std::int32_t sum = pixel(i, j) + pixel(i - 1, j - 1) + pixel(i - 1, j) + pixel(i, j - 1);
          p.z = static_cast<std::int32_t>((sum * 0.25 - 10000.0) * factor + offsetCm);
          PixelBytes c = ColourBytes(std::min(i, W - 1), std::min(j, H - 1));
          p.red = scale(c[2]);
          p.green = scale(c[1]);
          p.blue = scale(c[0]);
          grid.push_back(p);
        }
      }
      EXPECT_EQ(terrain_test::TileFileBytes(c1 - c0, r1 - r0, grid), Tile("Berg", ti, tj));
    }
  }
  // The lowest vertex of the field ends at z = 1 or 2.
  EXPECT_EQ(2, static_cast<std::int32_t>((lowest - 10000.0) * factor + offsetCm));
}

TEST_F(GeneratorTest, TerragenHeightsAndSectionsInFileOrder) {
  // 3 x 3 points at 1 m: 2 x 2 cells, and a colour picture of 2 x 2 pixels.
  Bytes ter;
  ter.Text("TERRAGENTERRAIN ").Text("XPTS").U16(3).U16(0).Text("YPTS").U16(3).U16(0);
  ter.Text("SCAL").F32(1.0f).F32(1.0f).F32(0.5f);
  ter.Text("ALTW").U16(16384).U16(3);
  const int samples[9] = {0, 4, 8, -4, 40, 12, 100, 200, 300};
  for (int v : samples) ter.U16(static_cast<unsigned>(v));
  ter.U16(0).Text("EOF ");
  dir_.Write("h.ter", ter.s);
  dir_.Write("c.bmp", MakeBitmap(2, 2, [](int x, int y) {
               return PixelBytes{static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y), 9};
             }));

  settings::SettingsFile s;
  for (const char* section : {"Terrain", "Ebene", "Terrain2", "terrain1", "TerrainNord"}) {
    s.AppendSection(section);
    s.Append("Name", std::string("N") + section);
    // The lower-case section would fail if it were generated.
    s.Append("Hoehe", std::string(section) == "terrain1" ? "kaputt" : dir_.Path("h.ter"));
    s.Append("Farbe", dir_.Path("c.bmp"));
    s.Append("Kachelabstand", "1");
    s.Append("Kachelgroesse", "2");
    s.Append("Verschiebung", "0");
  }
  ASSERT_EQ(1, terrain::GenerateTerrain(s));
  EXPECT_TRUE(messages_.messages().empty());
  EXPECT_EQ((std::vector<std::string>{"NTerrain", "NTerrain2", "NTerrainNord"}), dir_.List("Host/Modelle"));

  // S = 1, R = 1; W = 2: centres 0, 1 (x0 = (2 - 1) / 2 = 0). Tile 1_1 covers
  // columns and rows 0 to 2 around the centre vertex (1, 1).
  std::vector<TilePoint> grid;
  for (int j = 0; j <= 2; ++j) {
    for (int i = 0; i <= 2; ++i) {
      TilePoint p;
      p.x = (i - 1) * 100;
      p.y = (j - 1) * 100;
      // (3 + s * 16384 / 65536) * 0.5 * 100
      p.z = static_cast<std::int32_t>((3 + samples[j * 3 + i] / 4.0) * 0.5 * 100.0);
      p.red = 9;
      p.green = static_cast<std::uint8_t>(std::min(j, 1));
      p.blue = static_cast<std::uint8_t>(std::min(i, 1));
      grid.push_back(p);
    }
  }
  EXPECT_EQ(terrain_test::TileFileBytes(2, 2, grid), Tile("NTerrainNord", 1, 1));
  EXPECT_EQ(4u, Tiles("NTerrain2").size());
}

TEST_F(GeneratorTest, FilesWrittenByIndependentTools) {
  // GDAL's 4 x 3 points at 30 m need a colour picture of 3 x 2 pixels.
  dir_.Write("c.bmp", MakeBitmap(3, 2, [](int, int) { return PixelBytes{1, 2, 3}; }));
  settings::SettingsFile s = Terrain("Terrain", {{"Name", "Gdal"},
                                                 {"Hoehe", terrain_test::DataPath("gdal-30m.ter")},
                                                 {"Farbe", dir_.Path("c.bmp")},
                                                 {"Kachelabstand", "30"},
                                                 {"Kachelgroesse", "60"},
                                                 {"Verschiebung", "0"}});
  ASSERT_EQ(1, terrain::GenerateTerrain(s));
  EXPECT_TRUE(messages_.messages().empty());
  ASSERT_EQ(6u, Tiles("Gdal").size());
  // Tile 0_0 starts at vertex (0, 0): 90 m, the first point's z at offset 80.
  std::string tile = Tile("Gdal", 0, 0);
  ASSERT_GT(tile.size(), 84u);
  std::int32_t z = 0;
  for (int k = 3; k >= 0; --k) z = z * 256 + static_cast<unsigned char>(tile[80 + static_cast<std::size_t>(k)]);
  EXPECT_NEAR(9000, z, 1);

  // ImageMagick's picture as height and colour: 5 x 4 cells at 50 m.
  settings::SettingsFile magick = Terrain("Terrain", {{"Name", "Magick"},
                                                      {"Hoehe", terrain_test::DataPath("picture-v5.bmp")},
                                                      {"Farbe", terrain_test::DataPath("picture-core.bmp")},
                                                      {"Pixelgroesse", "50"}});
  ASSERT_EQ(1, terrain::GenerateTerrain(magick));
  // S = 4 cells: one tile, centred at (2, 2).
  EXPECT_EQ((std::vector<std::string>{"bmp0_0.mod"}), Tiles("Magick"));
  EXPECT_TRUE(messages_.messages().empty());
}

struct FailureCase {
  const char* what;
  std::vector<std::pair<std::string, std::string>> keys;
  std::vector<std::string> messages;  // %h: height path, %c: colour path
};

TEST_F(GeneratorTest, EveryRefusalHasItsMessageAndWritesNothing) {
  dir_.Write("h.bmp", MakeBitmap(4, 3, [](int, int) { return HeightPixel(10000); }));
  dir_.Write("c.bmp", MakeBitmap(4, 3, ColourBytes));
  dir_.Write("narrow.bmp", MakeBitmap(3, 3, ColourBytes));
  dir_.Write("big.bmp", MakeBitmap(100, 100, [](int, int) { return HeightPixel(10000); }));
  dir_.Write("bigc.bmp", MakeBitmap(100, 100, ColourBytes));
  Bytes tiny;  // x scale 0.004 m: a pixel size of 0 cm
  tiny.Text("TERRAGENTERRAIN XPTS").U16(5).U16(0).Text("YPTS").U16(4).U16(0);
  tiny.Text("SCAL").F32(0.004f).F32(1).F32(1).Text("ALTW").U16(1).U16(0);
  for (int k = 0; k < 20; ++k) tiny.U16(0);
  dir_.Write("tiny.ter", tiny.s);
  const std::string h = dir_.Path("h.bmp"), c = dir_.Path("c.bmp");

  const std::vector<std::pair<std::string, std::string>> base = {
      {"Name", "X"}, {"Hoehe", h}, {"Farbe", c}, {"Pixelgroesse", "2"}};
  auto without = [&](const std::string& key) {
    std::vector<std::pair<std::string, std::string>> keys;
    for (const auto& kv : base) {
      if (kv.first != key) keys.push_back(kv);
    }
    return keys;
  };
  auto with = [&](const std::string& key, const std::string& value) {
    auto keys = without(key);
    keys.emplace_back(key, value);
    return keys;
  };

  const std::vector<FailureCase> cases = {
      {"no height", without("Hoehe"), {"[TerrainTal]:Hoehe muss gesetzt sein!\n"}},
      {"no colour", without("Farbe"), {"[TerrainTal]:Farbe muss gesetzt sein!\n"}},
      {"height without dot", with("Hoehe", "berg"), {"Falscher Dateityp fuer Hoehe: berg!\n"}},
      {"height png", with("Hoehe", "berg.png"), {"Falscher Dateityp fuer Hoehe: berg.png!\n"}},
      {"no pixel size", without("Pixelgroesse"), {"Bitte Pixelgroesse angeben!\n"}},
      {"pixel size rounds to 0", with("Pixelgroesse", "0.004"), {"Bitte Pixelgroesse angeben!\n"}},
      {"negative pixel size", with("Pixelgroesse", "-1"),
       {Cp("[TerrainTal]:Pixelgroesse muss größer als 0 sein!\n")}},
      {"huge pixel size", with("Pixelgroesse", "1e300"), {Cp("[TerrainTal]:Pixelgroesse ist zu groß!\n")}},
      {"colour png", with("Farbe", "farbe.png"), {"Falscher Dateityp fuer farbe: farbe.png!\n"}},
      {"colour without dot", with("Farbe", "farbe"), {"Falscher Dateityp fuer farbe: farbe!\n"}},
      {"narrower colour", with("Farbe", dir_.Path("narrow.bmp")), {Cp("Groessen stimmen nicht überein!\n")}},
      {"missing height file", with("Hoehe", dir_.Path("none.bmp")),
       {"Can't open " + dir_.Path("none.bmp") + "!\n", Cp("Groessen stimmen nicht überein!\n")}},
      {"no name", without("Name"), {"[TerrainTal]:Name muss gesetzt sein!\n"}},
      {"spacing 0", with("Kachelabstand", "0"), {Cp("[TerrainTal]:Kachelabstand muss größer als 0 sein!\n")}},
      {"negative spacing", with("Kachelabstand", "-200"),
       {Cp("[TerrainTal]:Kachelabstand muss größer als 0 sein!\n")}},
      {"size 0", with("Kachelgroesse", "0"), {Cp("[TerrainTal]:Kachelgroesse muss größer als 0 sein!\n")}},
      {"spacing below a pixel", with("Kachelabstand", "1.5"),
       {Cp("[TerrainTal]:Kachelabstand muss mindestens so groß wie die Pixelgroesse sein!\n")}},
      {"terragen pixel size 0", with("Hoehe", dir_.Path("tiny.ter")),
       {Cp("[TerrainTal]:Pixelgroesse aus ") + dir_.Path("tiny.ter") + Cp(" muss größer als 0 sein!\n")}},
  };
  for (const FailureCase& fc : cases) {
    SCOPED_TRACE(fc.what);
    messages_.clear();
    settings::SettingsFile s = Terrain("TerrainTal", fc.keys);
    EXPECT_EQ(0, terrain::GenerateTerrainSection(s, "TerrainTal"));
    EXPECT_EQ(fc.messages, messages_.messages());
    EXPECT_TRUE(dir_.List("Host/Modelle").empty());
  }

  // Both files missing: their own messages, then a quiet stop.
  messages_.clear();
  settings::SettingsFile s = Terrain("TerrainTal", with("Farbe", dir_.Path("none2.bmp")));
  s.Set("TerrainTal", "Hoehe", dir_.Path("none.bmp"));
  EXPECT_EQ(0, terrain::GenerateTerrainSection(s, "TerrainTal"));
  EXPECT_EQ((std::vector<std::string>{"Can't open " + dir_.Path("none.bmp") + "!\n",
                                      "Can't open " + dir_.Path("none2.bmp") + "!\n"}),
            messages_.messages());

  // Tiles too large for the model format at 1 m pixels. Centres 25 and 75 of
  // 100 cells: tiles up to 110 m (55 cells each side, cut at the edges to
  // 80 cells) fit.
  messages_.clear();
  s = Terrain("TerrainTal", {{"Name", "X"},
                             {"Hoehe", dir_.Path("big.bmp")},
                             {"Farbe", dir_.Path("bigc.bmp")},
                             {"Pixelgroesse", "1"},
                             {"Kachelabstand", "50"}});
  EXPECT_EQ(0, terrain::GenerateTerrainSection(s, "TerrainTal"));
  EXPECT_EQ(std::vector<std::string>{Cp("[TerrainTal]:Kachelgroesse zu groß für eine Modelldatei, "
                                        "höchstens 110 m bei dieser Pixelgroesse!\n")},
            messages_.messages());
  EXPECT_TRUE(dir_.List("Host/Modelle").empty());
  // The suggested size fits, one centimetre more does not.
  messages_.clear();
  s.Set("TerrainTal", "Kachelgroesse", "110.01");
  EXPECT_EQ(0, terrain::GenerateTerrainSection(s, "TerrainTal"));
  messages_.clear();
  s.Set("TerrainTal", "Kachelgroesse", "110");
  EXPECT_EQ(1, terrain::GenerateTerrainSection(s, "TerrainTal"));
  EXPECT_TRUE(messages_.messages().empty());
  EXPECT_EQ(4u, dir_.List("Host/Modelle/X").size());
}

TEST_F(GeneratorTest, FailedTilesAndFolders) {
  dir_.Write("h.bmp", MakeBitmap(4, 4, [](int, int) { return HeightPixel(10000); }));
  dir_.Write("c.bmp", MakeBitmap(4, 4, ColourBytes));
  settings::SettingsFile s;
  for (const char* section : {"TerrainA", "TerrainB"}) {
    s.AppendSection(section);
    s.Append("Name", section);
    s.Append("Hoehe", dir_.Path("h.bmp"));
    s.Append("Farbe", dir_.Path("c.bmp"));
    s.Append("Pixelgroesse", "1");
    s.Append("Kachelabstand", "2");
    s.Append("Kachelgroesse", "4");
  }
  // The second tile's write fails: reported, the others are written, and the
  // generation does not count as done, so the later section is not started.
  platform::PlanFault(platform::kFaultWrite, 2);
  EXPECT_EQ(0, terrain::GenerateTerrain(s));
  const std::string failed = dir_.Path("Host\\Modelle\\TerrainA\\bmp0_1.mod");
  EXPECT_EQ(std::vector<std::string>{"Fehler beim Schreiben von " + failed + "!\n"}, messages_.messages());
  EXPECT_EQ((std::vector<std::string>{"bmp0_0.mod", "bmp1_0.mod", "bmp1_1.mod"}), Tiles("TerrainA"));
  EXPECT_FALSE(dir_.Exists("Host/Modelle/TerrainB"));

  // Generated again: every tile is replaced.
  platform::ClearFaults();
  messages_.clear();
  EXPECT_EQ(1, terrain::GenerateTerrain(s));
  EXPECT_TRUE(messages_.messages().empty());
  EXPECT_EQ(4u, Tiles("TerrainA").size());
  EXPECT_EQ(4u, Tiles("TerrainB").size());

  // A grid smaller than the spacing: no tile, but the folder and success.
  s.Set("TerrainA", "Kachelabstand", "5");
  s.Set("TerrainA", "Name", "Leer");
  EXPECT_EQ(1, terrain::GenerateTerrainSection(s, "TerrainA"));
  EXPECT_TRUE(dir_.Exists("Host/Modelle/Leer"));
  EXPECT_TRUE(Tiles("Leer").empty());

  // An installation without "Modelle": one message, not one per tile.
  messages_.clear();
  dir_.MakeDirs("Bare");
  host::SetHostDirectoryOverride(dir_.Path("Bare"));
  host::ResetHostDirectoryCache();
  EXPECT_EQ(0, terrain::GenerateTerrainSection(s, "TerrainB"));
  EXPECT_EQ(std::vector<std::string>{"Verzeichnis " + dir_.Path("Bare\\Modelle\\TerrainB") +
                                     " kann nicht angelegt werden!\n"},
            messages_.messages());
}

}  // namespace
