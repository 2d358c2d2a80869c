#include <gtest/gtest.h>

#include "support/test_support.h"
#include "terrain/bitmap.h"
#include "terrain/terrain_test_support.h"

namespace {

using terrain::BitmapColourSource;
using terrain_test::DataPath;
using terrain_test::MakeBitmap;
using terrain_test::PixelBytes;
using Messages = std::vector<std::string>;

// The picture of make-data.sh, in file order (blue, green, red).
PixelBytes Picture(int x, int y) {
  return PixelBytes{static_cast<std::uint8_t>(200 - 11 * x - 13 * y), static_cast<std::uint8_t>(20 + 3 * x + 7 * y),
                    static_cast<std::uint8_t>(10 * x + 50 * y + 1)};
}

TEST(Bitmap, FilesOfImageMagickAndEveryHeaderVariant) {
  testing_support::TempDir dir;
  testing_support::MessageRecorder messages;
  // Top-down rows of 15 bytes padded to 16; bytes after the last row are
  // ignored.
  dir.Write("top108.bmp", MakeBitmap(5, 4, Picture, 108, true) + "trailing");
  dir.Write("top12.bmp", MakeBitmap(5, 4, Picture, 12, true));
  const std::vector<std::pair<std::string, unsigned>> files = {
      {DataPath("picture-bmp3.bmp"), 40}, {DataPath("picture-v5.bmp"), 124}, {DataPath("picture-core.bmp"), 12},
      {dir.Path("top108.bmp"), 108},      {dir.Path("top12.bmp"), 12}};
  for (const auto& file : files) {
    SCOPED_TRACE(file.first);
    BitmapColourSource source(file.first);
    ASSERT_EQ(5, source.width);
    ASSERT_EQ(4, source.height);
    EXPECT_EQ(16, source.image.rowStride);
    EXPECT_EQ(file.second, source.image.infoHeaderSize);
    EXPECT_EQ(file.first.find("top") != std::string::npos, source.image.storedTopDown);
    for (int y = 0; y < 4; ++y) {
      for (int x = 0; x < 5; ++x) {
        terrain::Colour c = source.ColourAt(x, y);
        EXPECT_EQ((std::vector<int>{Picture(x, y)[2], Picture(x, y)[1], Picture(x, y)[0]}),
                  (std::vector<int>{c.red, c.green, c.blue}));
      }
    }
    // Bytes b0 b1 b2 as b0 * 65536 + b1 * 256 + b2; outside the picture the edge repeats.
    EXPECT_EQ(200 * 65536 + 20 * 256 + 1, source.image.ValueAt(0, 0));
    EXPECT_EQ(source.image.ValueAt(0, 3), source.image.ValueAt(-5, 1000));
    EXPECT_EQ(source.image.ValueAt(4, 0), source.image.ValueAt(5, -1));
  }
  EXPECT_TRUE(messages.messages().empty());
  // A palette bitmap and a 32-bit one are refused.
  for (const char* name : {"picture-palette.bmp", "picture-alpha.bmp"}) {
    messages.clear();
    EXPECT_EQ(0, BitmapColourSource(DataPath(name)).width);
    EXPECT_EQ(Messages{"Falsches Bitmapformat: " + DataPath(name) + "!\n"}, messages.messages());
  }
}

// Patches a little-endian field of `size` bytes.
std::string Patch(std::string bytes, std::size_t at, std::uint32_t value, int size = 4) {
  for (int k = 0; k < size; ++k) bytes[at + static_cast<std::size_t>(k)] = static_cast<char>(value >> (8 * k));
  return bytes;
}

TEST(Bitmap, RefusalsAndTheirMessages) {
  testing_support::TempDir dir;
  testing_support::MessageRecorder messages;
  const std::string good = MakeBitmap(4, 3, Picture);
  const char* kWrong = "Falsches Bitmapformat: %s!\n";
  const char* kShort = "Fehler beim Lesen von %s!\n";
  struct Case {
    const char* what;
    std::string bytes;
    const char* message;
  };
  const std::vector<Case> cases = {
      {"not BM", "XM" + good.substr(2), kWrong},
      {"compression 1", Patch(good, 30, 1), kWrong},
      {"header size 64", Patch(good, 14, 64), kWrong},
      {"data offset inside the header", Patch(good, 10, 40), kWrong},
      {"height 0", Patch(good, 22, 0), kWrong},
      {"negative width", Patch(good, 18, static_cast<std::uint32_t>(-4)), kWrong},
      {"cut inside the rows", good.substr(0, good.size() - 1), kShort},
      {"cut inside the header", good.substr(0, 30), kShort},
      {"cut inside the file header", good.substr(0, 10), kShort},
      {"data offset behind the end", Patch(good, 10, 5000), kShort},
      // Sizes that claim far more pixels than the file holds: no allocation
      // of that size.
      {"huge width", Patch(good, 18, 0x7FFFFFFF), kShort},
      {"most negative height", Patch(good, 22, 0x80000000u), kShort},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    messages.clear();
    dir.Write("bad.bmp", c.bytes);
    terrain::BitmapImage image;
    EXPECT_FALSE(image.ReadBitmap(dir.Path("bad.bmp")));
    EXPECT_EQ((std::vector<int>{0, 0, 0}), (std::vector<int>{image.width, image.height, image.ValueAt(0, 0)}));
    EXPECT_EQ(Messages{host::StringPrintf(c.message, dir.Path("bad.bmp").c_str())}, messages.messages());
  }
  messages.clear();
  EXPECT_EQ(0, BitmapColourSource(dir.Path("missing.bmp")).width);
  EXPECT_EQ(Messages{"Can't open " + dir.Path("missing.bmp") + "!\n"}, messages.messages());
}

}  // namespace
