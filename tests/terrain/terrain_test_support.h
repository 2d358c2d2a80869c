// Helpers of the terrain tests: files written byte by byte (with the layout
// tests' byte builder) and the committed files of independent tools.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "layout/layout_bytes.h"
#include "platform/platform.h"

namespace terrain_test {

// Windows path of a committed file in tests/terrain/data.
inline std::string DataPath(const std::string& name) {
  std::string native = std::string(__FILE__).substr(0, std::string(__FILE__).find_last_of("/\\") + 1) + "data/" + name;
#ifdef _WIN32
  // A cross-built test runs under wine, where Z: is the Unix root.
  for (char& c : native) c = c == '/' ? '\\' : c;
  return native[0] == '\\' ? "Z:" + native : native;
#else
  std::string windows, error;
  EXPECT_TRUE(platform::ToWindowsPath(native, &windows, &error)) << error;
  return windows;
#endif
}

using layout_bytes::Bytes;  // little-endian fields, appended

// A TERRAGEN file.
struct Terragen : Bytes {
  explicit Terragen(const std::string& magic = "TERRAGENTERRAIN ") { Raw(magic); }
  Terragen& Count(const char* tag, int n) { return Raw(tag).I16(n).I16(0), *this; }
  // Samples row by row with x fastest, padded to an even count.
  Terragen& Heights(int heightScale, int base, const std::vector<int>& samples) {
    Raw("ALTW").I16(heightScale).I16(base);
    for (int v : samples) I16(v);
    if (samples.size() % 2 == 1) I16(0);
    return *this;
  }
};

// The three bytes of a pixel in file order.
using PixelBytes = std::array<std::uint8_t, 3>;

// A 24-bit bitmap of width x height pixels; (x, y) counts y from the bottom
// row. `headerSize` is 12, 40, 108 or 124; `topDown` stores the rows top
// first with a negative height.
inline std::string MakeBitmap(int width, int height, const std::function<PixelBytes(int x, int y)>& pixel,
                              int headerSize = 40, bool topDown = false) {
  const int stride = (3 * width + 3) / 4 * 4, offset = 14 + headerSize;
  const unsigned stored = static_cast<unsigned>(topDown ? -height : height);
  Bytes b;
  b.Raw("BM").U32(offset + stride * height).U32(0).U32(offset).U32(headerSize);
  if (headerSize == 12) {
    b.I16(width).I16(int(stored)).I16(1).I16(24);
  } else {  // no compression, then fields the reader ignores
    b.U32(width).U32(stored).I16(1).I16(24).U32(0).Raw(std::string(headerSize - 20, '\x11'));
  }
  for (int r = 0; r < height; ++r) {
    for (int x = 0; x < width; ++x) {
      const PixelBytes p = pixel(x, topDown ? height - 1 - r : r);
      b.U8(p[0]).U8(p[1]).U8(p[2]);
    }
    b.Raw(std::string(stride - 3 * width, '\xEE'));
  }
  return b.data;
}

// The file bytes of a height coded as a bitmap value (cm + 10000).
inline PixelBytes HeightPixel(std::int32_t value) {
  return PixelBytes{static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 8),
                    static_cast<std::uint8_t>(value)};
}

}  // namespace terrain_test
