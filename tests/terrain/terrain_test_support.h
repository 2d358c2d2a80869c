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
  std::string here = __FILE__;
  std::string native = here.substr(0, here.find_last_of("/\\") + 1) + "data/" + name;
#ifdef _WIN32
  // A cross-built test runs under wine, where Z: is the Unix root.
  if (!native.empty() && native[0] == '/') native = "Z:" + native;
  for (char& c : native) c = c == '/' ? '\\' : c;
  return native;
#else
  std::string windows, error;
  if (!platform::ToWindowsPath(native, &windows, &error)) ADD_FAILURE() << error;
  return windows;
#endif
}

// Little-endian bytes, appended.
struct Bytes {
  std::string s;
  Bytes& Text(const std::string& text) { s += text; return *this; }
  Bytes& U8(unsigned v) { s += static_cast<char>(v & 0xFF); return *this; }
  Bytes& U16(unsigned v) { return U8(v).U8(v >> 8); }
  Bytes& U32(std::uint32_t v) { return U16(v & 0xFFFF).U16(v >> 16); }
  Bytes& F32(float f) { std::uint32_t b; std::memcpy(&b, &f, 4); return U32(b); }
};

// A TERRAGEN file.
struct Terragen : Bytes {
  Terragen() { Text("TERRAGENTERRAIN "); }
  Terragen& Count(const char* tag, unsigned n) { Text(tag).U16(n).U16(0); return *this; }
  // Samples row by row with x fastest, padded to an even count.
  Terragen& Heights(int heightScale, int base, const std::vector<int>& samples) {
    Text("ALTW").U16(static_cast<unsigned>(heightScale)).U16(static_cast<unsigned>(base));
    for (int v : samples) U16(static_cast<unsigned>(v));
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
  const int stride = (3 * width + 3) / 4 * 4;
  const std::uint32_t offset = 14u + static_cast<std::uint32_t>(headerSize);
  const unsigned storedHeight = static_cast<unsigned>(topDown ? -height : height);
  Bytes b;
  b.Text("BM").U32(offset + static_cast<std::uint32_t>(stride * height)).U32(0).U32(offset);
  b.U32(static_cast<std::uint32_t>(headerSize));
  if (headerSize == 12) {
    b.U16(static_cast<unsigned>(width)).U16(storedHeight).U16(1).U16(24);
  } else {
    b.U32(static_cast<std::uint32_t>(width)).U32(storedHeight).U16(1).U16(24);
    // Compression 0, then the fields the reader ignores.
    for (int k = 16; k < headerSize; k += 4) b.U32(k == 16 ? 0 : 0x11111111u);
  }
  for (int r = 0; r < height; ++r) {
    for (int x = 0; x < width; ++x) {
      PixelBytes p = pixel(x, topDown ? height - 1 - r : r);
      b.U8(p[0]).U8(p[1]).U8(p[2]);
    }
    for (int pad = 3 * width; pad < stride; ++pad) b.U8(0xEE);
  }
  return b.s;
}

// The file bytes of a height coded as a bitmap value (cm + 10000).
inline PixelBytes HeightPixel(std::int32_t value) {
  return PixelBytes{static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 8),
                    static_cast<std::uint8_t>(value)};
}

}  // namespace terrain_test
