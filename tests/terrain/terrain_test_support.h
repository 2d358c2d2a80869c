// Helpers of the terrain tests: files written byte by byte and the committed
// files of independent tools.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

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

// Little-endian bytes, appended.
struct Bytes {
  std::string s;
  Bytes& Text(const std::string& text) { return s += text, *this; }
  Bytes& U8(unsigned v) { return s += static_cast<char>(v & 0xFF), *this; }
  Bytes& U16(unsigned v) { return U8(v).U8(v >> 8); }
  Bytes& U32(std::uint32_t v) { return U16(v & 0xFFFF).U16(v >> 16); }
  Bytes& F32(float f) {
    std::uint32_t b;
    std::memcpy(&b, &f, 4);
    return U32(b);
  }
};

// A TERRAGEN file.
struct Terragen : Bytes {
  explicit Terragen(const std::string& magic = "TERRAGENTERRAIN ") { Text(magic); }
  Terragen& Count(const char* tag, unsigned n) { return Text(tag).U16(n).U16(0), *this; }
  // Samples row by row with x fastest, padded to an even count.
  Terragen& Heights(int heightScale, int base, const std::vector<int>& samples) {
    Text("ALTW").U16(heightScale).U16(base);
    for (int v : samples) U16(v);
    if (samples.size() % 2 == 1) U16(0);
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
  b.Text("BM").U32(offset + stride * height).U32(0).U32(offset).U32(headerSize);
  if (headerSize == 12) {
    b.U16(width).U16(stored).U16(1).U16(24);
  } else {  // no compression, then fields the reader ignores
    b.U32(width).U32(stored).U16(1).U16(24).U32(0).Text(std::string(headerSize - 20, '\x11'));
  }
  for (int r = 0; r < height; ++r) {
    for (int x = 0; x < width; ++x) {
      const PixelBytes p = pixel(x, topDown ? height - 1 - r : r);
      b.U8(p[0]).U8(p[1]).U8(p[2]);
    }
    b.Text(std::string(stride - 3 * width, '\xEE'));
  }
  return b.s;
}

// The file bytes of a height coded as a bitmap value (cm + 10000).
inline PixelBytes HeightPixel(std::int32_t value) {
  return PixelBytes{static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 8),
                    static_cast<std::uint8_t>(value)};
}

}  // namespace terrain_test
