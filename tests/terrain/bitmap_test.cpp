#include <gtest/gtest.h>

#include "support/test_support.h"
#include "terrain/bitmap.h"
#include "terrain/terrain_test_support.h"

namespace {

using terrain::BitmapColourSource;
using terrain::BitmapImage;
using terrain::Colour;
using terrain_test::Bytes;
using terrain_test::DataPath;
using terrain_test::MakeBitmap;
using terrain_test::PixelBytes;
using testing_support::MessageRecorder;
using testing_support::TempDir;

// Distinct bytes for every pixel: b0 = x, b1 = y, b2 = 100 + x + 10y.
PixelBytes Numbered(int x, int y) {
  return PixelBytes{static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y),
                    static_cast<std::uint8_t>(100 + x + 10 * y)};
}

std::int32_t NumberedValue(int x, int y) { return x * 65536 + y * 256 + 100 + x + 10 * y; }

// The picture that make-data.sh gives to ImageMagick.
Colour PictureColour(int x, int y) {
  Colour c;
  c.red = static_cast<std::uint8_t>(10 * x + 50 * y + 1);
  c.green = static_cast<std::uint8_t>(20 + 3 * x + 7 * y);
  c.blue = static_cast<std::uint8_t>(200 - 11 * x - 13 * y);
  return c;
}

TEST(Bitmap, RowStrideAndPixelAccess) {
  TempDir dir;
  MessageRecorder messages;
  for (int width : {1, 4, 5}) {
    dir.Write("w.bmp", MakeBitmap(width, 2, Numbered));
    BitmapImage image;
    ASSERT_TRUE(image.ReadBitmap(dir.Path("w.bmp")));
    EXPECT_EQ(width == 1 ? 4 : width == 4 ? 12 : 16, image.rowStride);
  }

  dir.Write("p.bmp", MakeBitmap(10, 10, Numbered));
  BitmapImage image;
  ASSERT_TRUE(image.ReadBitmap(dir.Path("p.bmp")));
  EXPECT_EQ(10, image.width);
  EXPECT_EQ(10, image.height);
  EXPECT_EQ(NumberedValue(0, 9), image.ValueAt(-5, 1000));
  EXPECT_EQ(NumberedValue(9, 0), image.ValueAt(10, 0));
  EXPECT_EQ(NumberedValue(3, 7), image.ValueAt(3, 7));

  // Bytes 01 02 03: ValueAt 66051, red 3, green 2, blue 1.
  dir.Write("one.bmp", MakeBitmap(1, 1, [](int, int) { return PixelBytes{1, 2, 3}; }));
  ASSERT_TRUE(image.ReadBitmap(dir.Path("one.bmp")));
  EXPECT_EQ(66051, image.ValueAt(0, 0));
  Colour c = image.ColourAt(0, 0);
  EXPECT_EQ(3, c.red);
  EXPECT_EQ(2, c.green);
  EXPECT_EQ(1, c.blue);
  EXPECT_TRUE(messages.messages().empty());
}

TEST(Bitmap, EveryHeaderVariantAndTopDownRowsReadTheSame) {
  TempDir dir;
  MessageRecorder messages;
  for (int header : {12, 40, 108, 124}) {
    for (bool topDown : {false, true}) {
      SCOPED_TRACE(testing::Message() << "header " << header << " top-down " << topDown);
      // Bytes after the last row are ignored.
      dir.Write("v.bmp", MakeBitmap(5, 3, Numbered, header, topDown) + "trailing");
      BitmapColourSource source(dir.Path("v.bmp"));
      ASSERT_EQ(5, source.width);
      ASSERT_EQ(3, source.height);
      EXPECT_EQ(topDown, source.image.storedTopDown);
      for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 5; ++x) EXPECT_EQ(NumberedValue(x, y), source.image.ValueAt(x, y));
      }
      Colour c = source.ColourAt(4, 2);
      EXPECT_EQ(4, c.blue);
      EXPECT_EQ(2, c.green);
      EXPECT_EQ(124, c.red);
    }
  }
  EXPECT_TRUE(messages.messages().empty());
}

TEST(Bitmap, FilesWrittenByImageMagick) {
  MessageRecorder messages;
  for (const char* name : {"picture-bmp3.bmp", "picture-v5.bmp", "picture-core.bmp"}) {
    SCOPED_TRACE(name);
    BitmapColourSource source(DataPath(name));
    ASSERT_EQ(5, source.width);
    ASSERT_EQ(4, source.height);
    for (int y = 0; y < 4; ++y) {
      for (int x = 0; x < 5; ++x) {
        Colour want = PictureColour(x, y);
        Colour got = source.ColourAt(x, y);
        EXPECT_EQ(want.red, got.red);
        EXPECT_EQ(want.green, got.green);
        EXPECT_EQ(want.blue, got.blue);
        EXPECT_EQ(want.blue * 65536 + want.green * 256 + want.red, source.image.ValueAt(x, y));
      }
    }
  }
  EXPECT_EQ(12u, BitmapColourSource(DataPath("picture-core.bmp")).image.infoHeaderSize);
  EXPECT_EQ(124u, BitmapColourSource(DataPath("picture-v5.bmp")).image.infoHeaderSize);
  EXPECT_TRUE(messages.messages().empty());

  // A palette bitmap and a 32-bit one are refused.
  for (const char* name : {"picture-palette.bmp", "picture-alpha.bmp"}) {
    messages.clear();
    BitmapColourSource source(DataPath(name));
    EXPECT_EQ(0, source.width);
    EXPECT_EQ(0, source.height);
    EXPECT_EQ(std::vector<std::string>{"Falsches Bitmapformat: " + DataPath(name) + "!\n"},
              messages.messages());
  }
}

// Patches a 32-bit little-endian field of a file.
std::string Patch32(std::string bytes, std::size_t at, std::uint32_t value) {
  for (int k = 0; k < 4; ++k) bytes[at + static_cast<std::size_t>(k)] = static_cast<char>(value >> (8 * k));
  return bytes;
}
std::string Patch16(std::string bytes, std::size_t at, unsigned value) {
  bytes[at] = static_cast<char>(value & 0xFF);
  bytes[at + 1] = static_cast<char>(value >> 8);
  return bytes;
}

TEST(Bitmap, RefusalsAndTheirMessages) {
  TempDir dir;
  MessageRecorder messages;
  const std::string good = MakeBitmap(4, 3, Numbered);
  const std::string goodCore = MakeBitmap(4, 3, Numbered, 12);
  struct Case {
    const char* what;
    std::string bytes;
    const char* message;
  };
  const char* kWrong = "Falsches Bitmapformat: %s!\n";
  const char* kShort = "Fehler beim Lesen von %s!\n";
  std::vector<Case> cases = {
      {"not BM", "XM" + good.substr(2), kWrong},
      {"empty file", "", kWrong},
      {"32 bits", Patch16(good, 28, 32), kWrong},
      {"8 bits with palette", Patch32(Patch16(good, 28, 8), 10, 1078), kWrong},
      {"two planes", Patch16(good, 26, 2), kWrong},
      {"compression 1", Patch32(good, 30, 1), kWrong},
      {"header size 64", Patch32(good, 14, 64), kWrong},
      {"data offset inside the header", Patch32(good, 10, 40), kWrong},
      {"width 0", Patch32(good, 18, 0), kWrong},
      {"height 0", Patch32(good, 22, 0), kWrong},
      {"negative width", Patch32(good, 18, static_cast<std::uint32_t>(-4)), kWrong},
      {"core header with 8 bits", Patch16(goodCore, 24, 8), kWrong},
      {"cut inside the rows", good.substr(0, good.size() - 1), kShort},
      {"cut inside the header", good.substr(0, 30), kShort},
      {"cut inside the file header", good.substr(0, 10), kShort},
      {"data offset behind the end", Patch32(good, 10, 5000), kShort},
      // Sizes that claim far more pixels than the file holds, without any
      // allocation of that size.
      {"huge width", Patch32(good, 18, 0x7FFFFFFF), kShort},
      {"huge height", Patch32(good, 22, 0x7FFFFFFF), kShort},
      {"most negative height", Patch32(good, 22, 0x80000000u), kShort},
      {"huge core sizes", Patch16(Patch16(goodCore, 18, 0x7FFF), 20, 0x7FFF), kShort},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    messages.clear();
    dir.Write("bad.bmp", c.bytes);
    BitmapImage image;
    EXPECT_FALSE(image.ReadBitmap(dir.Path("bad.bmp")));
    EXPECT_EQ(0, image.width);
    EXPECT_EQ(0, image.height);
    EXPECT_EQ(0, image.ValueAt(0, 0));
    EXPECT_EQ(std::vector<std::string>{host::StringPrintf(c.message, dir.Path("bad.bmp").c_str())},
              messages.messages());
  }

  messages.clear();
  BitmapColourSource missing(dir.Path("missing.bmp"));
  EXPECT_EQ(0, missing.width);
  EXPECT_EQ(std::vector<std::string>{"Can't open " + dir.Path("missing.bmp") + "!\n"},
            messages.messages());
}

}  // namespace
