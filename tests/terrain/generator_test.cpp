#include <gtest/gtest.h>

#include <cmath>
#include <map>

#include "host/installation.h"
#include "support/test_support.h"
#include "terrain/generator.h"
#include "terrain/terrain_test_support.h"
#include "terrain/tile_mesh.h"
#include "terrain/tile_plan.h"

namespace {

using terrain_test::DataPath;
using terrain_test::MakeBitmap;
using terrain_test::PixelBytes;
using testing_support::Cp;
using Strings = std::vector<std::string>;

void UseHost(const std::string& folder) {
  host::SetHostDirectoryOverride(folder);
  host::ResetHostDirectoryCache();
}

// A host installation in a temporary folder, with its "Modelle" folder.
class GeneratorTest : public testing::Test {
 protected:
  GeneratorTest() { dir_.MakeDirs("Host/Modelle"), UseHost(dir_.Path("Host")); }
  ~GeneratorTest() override { UseHost(""); }
  testing_support::TempDir dir_;
  testing_support::MessageRecorder messages_;
};

void Record(const std::string& section, int done, int total, void* context) {
  *static_cast<std::string*>(context) += section + std::to_string(done) + "/" + std::to_string(total) + " ";
}

TEST_F(GeneratorTest, TilesOfEveryTerrainSectionInFileOrder) {
  // TerrainBerg is the terrain of data/expected-tiles.py; gdal-10m.ter has
  // 3 x 2 cells at 10 m. Sections not named "Terrain..." would fail.
  dir_.Write("c.bmp", MakeBitmap(3, 2, [](int x, int) { return PixelBytes{1, 2, static_cast<std::uint8_t>(x)}; }));
  settings::SettingsFile s;
  s.Parse("[TerrainBerg]\nName=Berg\nHoehe=" + DataPath("picture-bmp3.bmp") + "\nFarbe=" + DataPath("picture-v5.bmp") +
          "\nPixelgroesse=2.3\nKachelabstand=5\nKachelgroesse=9\nFaktor=1.5\nRGBFaktor=1.3\n[Ebene]\nHoehe=x\n"
          "[terrain1]\nHoehe=x\n[TerrainNord]\nName=Nord\nHoehe=" + DataPath("gdal-10m.TER") + "\nFarbe=" +
          dir_.Path("c.bmp") + "\nKachelabstand=10\nKachelgroesse=20\n");
  std::string progress;
  terrain::TerrainProgress report{&Record, &progress};
  ASSERT_EQ(1, terrain::GenerateTerrain(s, &report));
  EXPECT_TRUE(messages_.messages().empty());
  EXPECT_EQ("TerrainBerg1/4 TerrainBerg2/4 TerrainBerg3/4 TerrainBerg4/4 TerrainNord1/6 TerrainNord2/6 "
            "TerrainNord3/6 TerrainNord4/6 TerrainNord5/6 TerrainNord6/6 ", progress);
  EXPECT_EQ((Strings{"Berg", "Nord"}), dir_.List("Host/Modelle"));
  EXPECT_EQ((Strings{"bmp0_0.mod", "bmp0_1.mod", "bmp1_0.mod", "bmp1_1.mod"}), dir_.List("Host/Modelle/Berg"));
  for (const std::string tile : {"bmp0_0.mod", "bmp0_1.mod", "bmp1_0.mod", "bmp1_1.mod"}) {
    std::string expected;
    ASSERT_TRUE(platform::ReadWholeFile(DataPath("tile-" + tile), &expected));
    EXPECT_EQ(expected, dir_.Read("Host/Modelle/Berg/" + tile)) << tile;
  }
}

TEST_F(GeneratorTest, RefusalsAndFailedTilesWithTheirMessages) {
  const auto colour = [](int x, int y) { return PixelBytes{1, static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y)}; };
  const auto flat = [](int, int) { return terrain_test::HeightPixel(10000); };
  dir_.Write("h.bmp", MakeBitmap(4, 3, flat));
  dir_.Write("c.bmp", MakeBitmap(4, 3, colour));
  dir_.Write("narrow.bmp", MakeBitmap(3, 3, colour));
  dir_.Write("big.bmp", MakeBitmap(100, 100, flat));
  dir_.Write("bigc.bmp", MakeBitmap(100, 100, colour));
  terrain_test::Terragen tiny;  // x scale 0.004 m: a pixel size of 0 cm
  tiny.Count("XPTS", 5).Count("YPTS", 4).Heights(1, 0, std::vector<int>(20)).Text("SCAL").F32(0.004f).F32(1).F32(1);
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
      {{"Farbe=" + dir_.Path("narrow.bmp"), "Name"}, {Cp("Groessen stimmen nicht überein!\n")}, 0},
      {{"Hoehe=" + none}, {open, Cp("Groessen stimmen nicht überein!\n")}, 0},
      {{"Hoehe=" + none, "Farbe=" + none}, {open, open}, 0},  // then a quiet stop
      {{"Name", "Kachelabstand=-1"}, {"[TerrainTal]:Name muss gesetzt sein!\n"}, 0},
      {{"Hoehe=" + ter}, {Cp("[TerrainTal]:Pixelgroesse aus ") + ter + Cp(" muss größer als 0 sein!\n")}, 0},
      {{"Kachelabstand=-200"}, {Cp("[TerrainTal]:Kachelabstand muss größer als 0 sein!\n")}, 0},
      {{"Kachelgroesse=0"}, {Cp("[TerrainTal]:Kachelgroesse muss größer als 0 sein!\n")}, 0},
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

TEST(TileMesh, LimitsOfHeightsColoursAndPlans) {
  using terrain::TileZ;
  // Truncated toward zero and held inside 32 bits; F = 2 and V = -10 m turn
  // 12345.6 cm into 23691.
  EXPECT_EQ((std::vector<std::int32_t>{23691, -3, 2147483647, -2147483647 - 1, 0}),
            (std::vector<std::int32_t>{TileZ(12345.6, 2.0f, -1000.0f), TileZ(-3.9, 1.0f, 0.0f), TileZ(1e12, 1.0f, 0.0f),
                                       TileZ(-1e12, 1.0f, 0.0f), TileZ(std::nan(""), 1.0f, 0.0f)}));
  // The default offset puts the lowest vertex at z = 2, or at 1 after the
  // roundings to single precision.
  for (const auto& c : std::vector<std::pair<double, int>>{{1234.0, 2}, {-500.0, 2}, {17.0, 1}, {12.3, 1}}) {
    EXPECT_EQ(c.second, TileZ(c.first, 1.0f, terrain::TileShadingFor(terrain::TerrainJob(), c.first).offsetCm));
  }
  // The product in single precision (10 * 0.7f is 7 there, in double just
  // below); below 0 or not a number gives 0, above 255 gives 255.
  for (const auto& c : std::vector<std::pair<float, std::vector<int>>>{
           {0.7f, {7, 140, 0}}, {-1.0f, {0, 0, 0}}, {std::nanf(""), {0, 0, 0}}, {1.5f, {15, 255, 0}}}) {
    std::uint8_t rgb[3] = {10, 200, 0};
    terrain::ScaleColour(rgb, c.first);
    EXPECT_EQ(c.second, (std::vector<int>{rgb[0], rgb[1], rgb[2]})) << c.first;
  }
  // Sizes beyond 32 bits are held, not overflowed; a field narrower than the
  // spacing gets no tile.
  terrain::TilePlan plan;
  ASSERT_EQ(terrain::PlanResult::kOk, terrain::PlanTiles(1e30, 1e30, 1, 1000, 1000, &plan));
  EXPECT_EQ((std::vector<std::int32_t>{2147483647, 2147483647, 0}),
            (std::vector<std::int32_t>{plan.spacing, plan.halfSize, plan.columns}));
}

}  // namespace
