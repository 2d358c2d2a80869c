#include <gtest/gtest.h>

#include <algorithm>

#include "host/installation.h"
#include "settings/settings_file.h"
#include "support/test_support.h"
#include "terrain/generator.h"
#include "terrain/terrain_test_support.h"

namespace {

using terrain_test::HeightPixel;
using terrain_test::MakeBitmap;
using terrain_test::PixelBytes;
using terrain_test::TilePoint;
using testing_support::Cp;
using Keys = std::vector<std::pair<std::string, std::string>>;
using Strings = std::vector<std::string>;

// A host installation in a temporary folder, with its "Modelle" folder.
class GeneratorTest : public testing::Test {
 protected:
  void SetUp() override {
    dir_.MakeDirs("Host/Modelle");
    UseHost("Host");
  }
  void TearDown() override { UseHost(nullptr); }
  void UseHost(const char* folder) {
    host::SetHostDirectoryOverride(folder != nullptr ? dir_.Path(folder) : "");
    host::ResetHostDirectoryCache();
  }
  std::string Tile(const std::string& name, int i, int j) const {
    return dir_.Read("Host/Modelle/" + name + "/bmp" + std::to_string(i) + "_" + std::to_string(j) + ".mod");
  }
  Strings Tiles(const std::string& name) const { return dir_.List("Host/Modelle/" + name); }

  testing_support::TempDir dir_;
  testing_support::MessageRecorder messages_;
};

void Add(settings::SettingsFile* s, const std::string& section, const Keys& keys) {
  s->AppendSection(section);
  for (const auto& kv : keys) s->Append(kv.first, kv.second);
}

// Height pixels in cm + 10000, and colours (blue, green, red in file order).
std::int32_t HeightValue(int x, int y) { return 10000 + 37 * x * x - 91 * y + 13 * x * y + 5; }
PixelBytes ColourBytes(int x, int y) {
  return PixelBytes{static_cast<std::uint8_t>(30 * y), static_cast<std::uint8_t>(100 + 3 * x),
                    static_cast<std::uint8_t>(40 * x + y)};
}

TEST_F(GeneratorTest, TilesAsComputedByHandSectionBySection) {
  const int W = 6, H = 4;
  dir_.Write("hoehe.bmp", MakeBitmap(W, H, [](int x, int y) { return HeightPixel(HeightValue(x, y)); }));
  dir_.Write("farbe.bmp", MakeBitmap(W, H, ColourBytes));
  // 3 x 3 points at 1 m: 2 x 2 cells, and a colour picture of 2 x 2 pixels.
  const std::vector<int> samples = {0, 4, 8, -4, 40, 12, 100, 200, 300};
  terrain_test::Terragen ter;
  ter.Count("XPTS", 3).Count("YPTS", 3).Scale(1.0f, 1.0f, 0.5f).Heights(16384, 3, samples).Tag("EOF ");
  dir_.Write("h.ter", ter.s);
  dir_.Write("c.bmp", MakeBitmap(2, 2, [](int x, int y) {
               return PixelBytes{static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y), 9};
             }));
  // Bitmap heights at 2.3 m pixels (230 cm, not 229), centres 5 m apart (2
  // cells), tiles 9 m wide (2 cells each side). Only sections named
  // "Terrain..." are generated: the others would fail.
  settings::SettingsFile s;
  Add(&s, "TerrainBerg", {{"Name", "Berg"}, {"Hoehe", dir_.Path("hoehe.bmp")}, {"Farbe", dir_.Path("farbe.bmp")},
                          {"Pixelgroesse", "2.3"}, {"Kachelabstand", "5"}, {"Kachelgroesse", "9"},
                          {"Faktor", "1.5"}, {"RGBFaktor", "1.3"}});
  for (const char* section : {"Ebene", "terrain1", "TerrainNord"}) {
    Add(&s, section, {{"Name", "Nord"}, {"Hoehe", std::string(section) == "TerrainNord" ? dir_.Path("h.ter") : "x"},
                      {"Farbe", dir_.Path("c.bmp")}, {"Kachelabstand", "1"}, {"Kachelgroesse", "2"},
                      {"Verschiebung", "-0.5"}});
  }
  std::string progress, expectedProgress;
  terrain::TerrainProgress report;
  report.context = &progress;
  report.report = [](const std::string& section, int done, int total, void* context) {
    *static_cast<std::string*>(context) += section + " " + std::to_string(done) + "/" + std::to_string(total) + ";";
  };
  ASSERT_EQ(1, terrain::GenerateTerrain(s, &report));
  EXPECT_TRUE(messages_.messages().empty());
  for (int k = 1; k <= 6; ++k) expectedProgress += "TerrainBerg " + std::to_string(k) + "/6;";
  for (int k = 1; k <= 4; ++k) expectedProgress += "TerrainNord " + std::to_string(k) + "/4;";
  EXPECT_EQ(expectedProgress, progress);
  EXPECT_EQ((Strings{"Berg", "Nord"}), dir_.List("Host/Modelle"));
  EXPECT_EQ((Strings{"bmp0_0.mod", "bmp0_1.mod", "bmp1_0.mod", "bmp1_1.mod", "bmp2_0.mod", "bmp2_1.mod"}),
            Tiles("Berg"));

  // A vertex is the mean of the four pixels at its corner; the lowest pixel
  // sets the default offset, which puts the lowest vertex at z = 2.
  auto pixel = [&](int x, int y) {
    return HeightValue(std::min(std::max(x, 0), W - 1), std::min(std::max(y, 0), H - 1));
  };
  std::int32_t lowest = pixel(0, 0);
  for (int x = 0; x < W; ++x) {
    for (int y = 0; y < H; ++y) lowest = std::min(lowest, pixel(x, y));
  }
  const float factor = 1.5f;
  const float offsetCm = static_cast<float>(static_cast<float>(0.02 - factor * (lowest - 10000.0) * 0.01) * 100.0);
  EXPECT_EQ(2, static_cast<std::int32_t>((lowest - 10000.0) * factor + offsetCm));
  auto scale = [](int byte) { return std::min(static_cast<int>(static_cast<float>(byte) * 1.3f), 255); };
  // Centres x 1, 3, 5 and y 1, 3; two cells to either side, cut at the edges.
  for (int ti = 0; ti < 3; ++ti) {
    for (int tj = 0; tj < 2; ++tj) {
      SCOPED_TRACE(testing::Message() << "tile " << ti << "_" << tj);
      const int cx = 1 + 2 * ti, cy = 1 + 2 * tj;
      const int c0 = std::max(cx - 2, 0), c1 = std::min(cx + 2, W), r0 = std::max(cy - 2, 0), r1 = std::min(cy + 2, H);
      std::vector<TilePoint> grid;
      for (int j = r0; j <= r1; ++j) {
        for (int i = c0; i <= c1; ++i) {
          const std::int32_t sum = pixel(i, j) + pixel(i - 1, j - 1) + pixel(i - 1, j) + pixel(i, j - 1);
          PixelBytes c = ColourBytes(std::min(i, W - 1), std::min(j, H - 1));  // last column and row repeat
          grid.push_back({(i - cx) * 230, (j - cy) * 230,
                          static_cast<std::int32_t>((sum * 0.25 - 10000.0) * factor + offsetCm), scale(c[2]),
                          scale(c[1]), scale(c[0])});
        }
      }
      EXPECT_EQ(terrain_test::TileFileBytes(c1 - c0, r1 - r0, grid), Tile("Berg", ti, tj));
    }
  }

  // Terragen heights: S = 1, R = 1, W = 2, so the centres are 0 and 1. Tile
  // 1_1 covers columns and rows 0 to 2 around the centre vertex (1, 1).
  std::vector<TilePoint> grid;
  for (int j = 0; j <= 2; ++j) {
    for (int i = 0; i <= 2; ++i) {
      // (3 + s * 16384 / 65536) * 0.5 * 100 cm, shifted by -0.5 m
      const double z = (3 + samples[static_cast<std::size_t>(j * 3 + i)] / 4.0) * 0.5 * 100.0 - 50;
      grid.push_back({(i - 1) * 100, (j - 1) * 100, static_cast<std::int32_t>(z), 9, std::min(j, 1), std::min(i, 1)});
    }
  }
  EXPECT_EQ(terrain_test::TileFileBytes(2, 2, grid), Tile("Nord", 1, 1));
}

TEST_F(GeneratorTest, EveryRefusalHasItsMessageAndWritesNothing) {
  dir_.Write("h.bmp", MakeBitmap(4, 3, [](int, int) { return HeightPixel(10000); }));
  dir_.Write("c.bmp", MakeBitmap(4, 3, ColourBytes));
  dir_.Write("narrow.bmp", MakeBitmap(3, 3, ColourBytes));
  dir_.Write("big.bmp", MakeBitmap(100, 100, [](int, int) { return HeightPixel(10000); }));
  dir_.Write("bigc.bmp", MakeBitmap(100, 100, ColourBytes));
  terrain_test::Terragen tiny;  // x scale 0.004 m: a pixel size of 0 cm
  tiny.Count("XPTS", 5).Count("YPTS", 4).Scale(0.004f, 1, 1).Heights(1, 0, std::vector<int>(20, 0));
  dir_.Write("tiny.ter", tiny.s);
  const std::string none = dir_.Path("none.bmp"), none2 = dir_.Path("none2.bmp"), ter = dir_.Path("tiny.ter");
  const std::string kUnset = "<unset>";
  const Keys base = {
      {"Name", "X"}, {"Hoehe", dir_.Path("h.bmp")}, {"Farbe", dir_.Path("c.bmp")}, {"Pixelgroesse", "2"}};
  struct Case {
    Keys changes;  // over the base keys
    Strings messages;
  };
  const std::vector<Case> cases = {
      {{{"Farbe", kUnset}}, {"[TerrainTal]:Farbe muss gesetzt sein!\n"}},
      {{{"Hoehe", "berg"}}, {"Falscher Dateityp fuer Hoehe: berg!\n"}},
      {{{"Pixelgroesse", "0.004"}}, {"Bitte Pixelgroesse angeben!\n"}},  // rounds to 0 cm
      {{{"Pixelgroesse", "-1"}}, {Cp("[TerrainTal]:Pixelgroesse muss größer als 0 sein!\n")}},
      {{{"Pixelgroesse", "1e300"}}, {Cp("[TerrainTal]:Pixelgroesse ist zu groß!\n")}},
      {{{"Farbe", "farbe.png"}}, {"Falscher Dateityp fuer farbe: farbe.png!\n"}},
      {{{"Farbe", dir_.Path("narrow.bmp")}}, {Cp("Groessen stimmen nicht überein!\n")}},
      {{{"Hoehe", none}}, {"Can't open " + none + "!\n", Cp("Groessen stimmen nicht überein!\n")}},
      // Both files missing: their own messages, then a quiet stop.
      {{{"Hoehe", none}, {"Farbe", none2}}, {"Can't open " + none + "!\n", "Can't open " + none2 + "!\n"}},
      {{{"Name", kUnset}}, {"[TerrainTal]:Name muss gesetzt sein!\n"}},
      {{{"Kachelabstand", "-200"}}, {Cp("[TerrainTal]:Kachelabstand muss größer als 0 sein!\n")}},
      {{{"Kachelgroesse", "0"}}, {Cp("[TerrainTal]:Kachelgroesse muss größer als 0 sein!\n")}},
      {{{"Kachelabstand", "1.5"}},
       {Cp("[TerrainTal]:Kachelabstand muss mindestens so groß wie die Pixelgroesse sein!\n")}},
      {{{"Hoehe", ter}}, {Cp("[TerrainTal]:Pixelgroesse aus ") + ter + Cp(" muss größer als 0 sein!\n")}},
      // At 1 m pixels, centres 25 and 75 of 100 cells: tiles up to 110 m (55
      // cells each side, cut at the edges to 80 cells) fit, 1 cm more not.
      {{{"Hoehe", dir_.Path("big.bmp")}, {"Farbe", dir_.Path("bigc.bmp")}, {"Pixelgroesse", "1"},
        {"Kachelabstand", "50"}, {"Kachelgroesse", "110.01"}},
       {Cp("[TerrainTal]:Kachelgroesse zu groß für eine Modelldatei, höchstens 110 m bei dieser Pixelgroesse!\n")}},
      {{{"Hoehe", dir_.Path("big.bmp")}, {"Farbe", dir_.Path("bigc.bmp")}, {"Pixelgroesse", "1"},
        {"Kachelabstand", "50"}, {"Kachelgroesse", "110"}}, {}},
  };
  for (std::size_t k = 0; k < cases.size(); ++k) {
    SCOPED_TRACE(k);
    const Keys& changes = cases[k].changes;
    auto changed = [&](const std::string& key) {
      return std::any_of(changes.begin(), changes.end(), [&](const auto& c) { return c.first == key; });
    };
    Keys keys;
    for (const auto& kv : base) {
      if (!changed(kv.first)) keys.push_back(kv);
    }
    for (const auto& kv : changes) {
      if (kv.second != kUnset) keys.push_back(kv);
    }
    settings::SettingsFile s;
    Add(&s, "TerrainTal", keys);
    messages_.clear();
    const bool generates = cases[k].messages.empty();
    EXPECT_EQ(generates ? 1 : 0, terrain::GenerateTerrainSection(s, "TerrainTal"));
    EXPECT_EQ(cases[k].messages, messages_.messages());
    EXPECT_EQ(generates ? Strings{"X"} : Strings{}, dir_.List("Host/Modelle"));
    EXPECT_EQ(generates ? 4u : 0u, Tiles("X").size());
  }
}

// (A failed tile save: tile_writer_test.cpp and the fault sweeps of the e2e
// tests.)
TEST_F(GeneratorTest, AFolderThatCannotBeMadeStopsTheGeneration) {
  dir_.Write("h.bmp", MakeBitmap(4, 4, [](int, int) { return HeightPixel(10000); }));
  dir_.Write("c.bmp", MakeBitmap(4, 4, ColourBytes));
  settings::SettingsFile s;
  for (const char* section : {"TerrainA", "TerrainB"}) {
    Add(&s, section, {{"Name", section}, {"Hoehe", dir_.Path("h.bmp")}, {"Farbe", dir_.Path("c.bmp")},
                      {"Pixelgroesse", "1"}, {"Kachelabstand", "2"}, {"Kachelgroesse", "4"}});
  }
  // An installation without "Modelle": one message, not one per tile, and
  // the later section is not started.
  dir_.MakeDirs("Bare");
  UseHost("Bare");
  EXPECT_EQ(0, terrain::GenerateTerrain(s));
  EXPECT_EQ(Strings{"Verzeichnis " + dir_.Path("Bare\\Modelle\\TerrainA") + " kann nicht angelegt werden!\n"},
            messages_.messages());
}

}  // namespace
