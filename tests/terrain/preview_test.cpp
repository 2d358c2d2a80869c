// Terrain previews: the picture scaled and encoded, and each section's SVG
// against the generation of the same section.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <regex>

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#include <stb/stb_image.h>

#include "host/installation.h"
#include "support/test_support.h"
#include "terrain/generator.h"
#include "terrain/preview.h"
#include "terrain/terrain_test_support.h"

namespace {

using namespace terrain_test;
using Strings = std::vector<std::string>;

// The first group of every match of `pattern`, sorted.
Strings Matches(const std::string& svg, const std::string& pattern) {
  Strings found;
  const std::regex re(pattern);
  for (auto m = std::sregex_iterator(svg.begin(), svg.end(), re); m != std::sregex_iterator(); ++m) found.push_back((*m)[1]);
  std::sort(found.begin(), found.end());
  return found;
}

TEST(TerrainPreview, PictureScaledDownNorthUpAndEncodedAsPng) {
  terrain::BitmapImage image;  // the top two rows green, the east half bluer
  ASSERT_TRUE(image.ReadBitmapBytes(MakeBitmap(2048, 1024, [](int x, int y) {
    return PixelBytes{std::uint8_t(x < 1024 ? 10 : 20), std::uint8_t(y >= 1022 ? 90 : 0), std::uint8_t(x % 2 ? 255 : 0)};
  }), "c.bmp"));
  const terrain::RgbPicture small = terrain::PreviewPicture(image, 1024), whole = terrain::PreviewPicture(image, 2048);
  const auto pixel = [](const terrain::RgbPicture& p, int x, int y) { return p.pixels.substr(3 * (y * p.width + x), 3); };
  EXPECT_EQ((Strings{pixel(small, 0, 0), pixel(small, 1023, 1), pixel(whole, 1, 0)}),
            (Strings{"\x80Z\x0A", std::string("\x80\0\x14", 3), "\xFFZ\x0A"}));
  std::string png;
  ASSERT_TRUE(terrain::EncodePng(small, &png));
  int width = 0, height = 0, channels = 0;
  unsigned char* decoded = stbi_load_from_memory(reinterpret_cast<const unsigned char*>(png.data()),
                                                 static_cast<int>(png.size()), &width, &height, &channels, 3);
  ASSERT_NE(decoded, nullptr);
  EXPECT_EQ((std::vector<int>{1024, 512, 2048, 1024}), (std::vector<int>{width, height, whole.width, whole.height}));
  EXPECT_TRUE(std::equal(small.pixels.begin(), small.pixels.end(), reinterpret_cast<const char*>(decoded)));
  stbi_image_free(decoded);
  EXPECT_FALSE(terrain::EncodePng(terrain::RgbPicture{2, 2, "short"}, &png));
  EXPECT_EQ((Strings{terrain::Base64(""), terrain::Base64("f"), terrain::Base64("fo"), terrain::Base64("foob\xFF")}),
            (Strings{"", "Zg==", "Zm8=", "Zm9vYv8="}));
  EXPECT_EQ(terrain::XmlText("a&<>\"'\x01\t\xE4"), "a&amp;&lt;&gt;&quot;&apos;?\t\xC3\xA4");
}

struct PreviewTest : testing::Test {
  PreviewTest() { dir_.MakeDirs("Host/Modelle"), host::SetHostDirectoryOverride(dir_.Path("Host")); }
  ~PreviewTest() override { host::SetHostDirectoryOverride(""); }
  testing_support::TempDir dir_;
  testing_support::MessageRecorder messages_;
};

TEST_F(PreviewTest, TilesAndReasonsAreThoseOfTheGenerationAndEveryPictureRenders) {
  const auto colour = [](int x, int y) { return PixelBytes{std::uint8_t(9 * x), std::uint8_t(7 * y), 200}; };
  dir_.Write("h.bmp", MakeBitmap(9, 6, [](int x, int) { return HeightPixel(10000 + 50 * x); }));
  dir_.Write("c.bmp", MakeBitmap(9, 6, colour));
  dir_.Write("big.bmp", MakeBitmap(130, 130, colour));
  const std::string pictures = "\nHoehe=h.bmp\nFarbe=c.bmp\nPixelgroesse=2.5";
  const struct {
    std::string section, keys, size, shapes;
    std::size_t tiles;
    Strings fits;
  } cases[] = {
      {"Terrain", "Name=A" + pictures + "\nKachelabstand=5\nKachelgroesse=10",
       "Bild: 9 x 6 Pixel, 22.5 x 15 m (Pixelgroesse 2.5 m)",  // tile (0, 0): cells 0 to 3 from the south-west corner
       "<rect class=\"tile\" x=\"0\" y=\"341.33\" width=\"341.33\" height=\"341.33\"><title>bmp0_0.mod</title></rect>\n"
       "<circle class=\"centre\" cx=\"113.78\" cy=\"568.89\"",
       12, {}},
      {"Terrain2", "Name=B\nHoehe=big.bmp\nFarbe=big.bmp\nPixelgroesse=1\nKachelabstand=100\nKachelgroesse=300",
       "Bild: 130 x 130 Pixel, 130 x 130 m (Pixelgroesse 1 m)", "<image", 0,
       {"Größte passende Kachelgroesse: 80 m"}},
      {"Terrain3", "Name=C\nHoehe=h.bmp\nFarbe=none.bmp\nPixelgroesse=1", "Bild: nicht gelesen", "", 0, {}},
      {"Terrain & <D>", "Name=D" + pictures + "\nKachelabstand=-1", "Bild: 9 x 6 Pixel, 22.5 x 15 m (Pixelgroesse 2.5 m)",
       "<image", 0, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.section);
    settings::SettingsFile s;
    s.Parse("[" + c.section + "]\n" + c.keys + "\n");
    messages_.clear();
    terrain::GenerateTerrainSection(s, c.section, dir_.Path(""));
    Strings reasons;
    for (const std::string& m : messages_.messages()) reasons.push_back(terrain::XmlText("Wird abgelehnt: " + m.substr(0, m.size() - 1)));
    std::sort(reasons.begin(), reasons.end());
    messages_.clear();
    const std::string svg = terrain::TerrainPreviewSvg(terrain::ReadTerrainJob(s, c.section, dir_.Path("")));
    EXPECT_TRUE(messages_.messages().empty());
    const std::string name = c.keys.substr(5, 1);
    EXPECT_EQ(Matches(svg, "<rect class=\"tile\"[^>]*><title>([^<]*)<"), dir_.List("Host/Modelle/" + name));
    EXPECT_EQ(dir_.List("Host/Modelle/" + name).size(), c.tiles);
    EXPECT_EQ(Matches(svg, "class=\"refused\">([^<]*)<"), reasons);
    EXPECT_EQ(reasons.empty(), c.tiles > 0);
    EXPECT_EQ(Matches(svg, "class=\"fits\">([^<]*)<"), c.fits);
    EXPECT_EQ(Matches(svg, "class=\"size\">([^<]*)<"), Strings{terrain::XmlText(c.size)});
    EXPECT_NE(svg.find(c.shapes), std::string::npos);
#ifndef _WIN32
    dir_.Write("p.svg", svg);
    EXPECT_EQ(0, std::system(("rsvg-convert -o '" + dir_.NativePath("p.png") + "' '" + dir_.NativePath("p.svg") + "'").c_str()));
#endif
  }
}

}  // namespace
