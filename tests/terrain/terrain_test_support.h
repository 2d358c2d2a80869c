// Helpers of the terrain tests: files written byte by byte, the committed
// files of independent tools, and an encoder of terrain tile model files that
// shares nothing with the code under test.
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
std::string DataPath(const std::string& name);

// Little-endian bytes, appended.
struct Bytes {
  std::string s;
  Bytes& Text(const std::string& text) {
    s += text;
    return *this;
  }
  Bytes& U8(unsigned v) {
    s += static_cast<char>(v & 0xFF);
    return *this;
  }
  Bytes& U16(unsigned v) { return U8(v).U8(v >> 8); }
  Bytes& U32(std::uint32_t v) { return U16(v & 0xFFFF).U16(v >> 16); }
  Bytes& F32(float f);
  Bytes& F64(double d);
};

// The three bytes of a pixel in file order.
using PixelBytes = std::array<std::uint8_t, 3>;
using PixelFunction = std::function<PixelBytes(int x, int y)>;

// A 24-bit bitmap of width x height pixels; (x, y) counts y from the bottom
// row. `headerSize` is 12, 40, 108 or 124; `topDown` stores the rows top
// first with a negative height.
std::string MakeBitmap(int width, int height, const PixelFunction& pixel, int headerSize = 40,
                       bool topDown = false);

// The file bytes of a height coded as a bitmap value (cm + 10000).
PixelBytes HeightPixel(std::int32_t value);

// A point of an expected tile.
struct TilePoint {
  std::int32_t x = 0;
  std::int32_t y = 0;
  std::int32_t z = 0;
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
};

// The model file of a terrain tile of nxc x nyc cells, from its grid points
// row by row (x fastest), written straight from the file format's layout.
std::string TileFileBytes(int nxc, int nyc, const std::vector<TilePoint>& grid);

// ---- definitions ----


inline std::string DataPath(const std::string& name) {
  std::string here = __FILE__;
  std::size_t slash = here.find_last_of("/\\");
  std::string native = here.substr(0, slash + 1) + "data/" + name;
#ifdef _WIN32
  // A cross-built test runs under wine, where Z: is the Unix root.
  if (!native.empty() && native[0] == '/') native = "Z:" + native;
  for (char& c : native) {
    if (c == '/') c = '\\';
  }
  return native;
#else
  std::string windows, error;
  if (!platform::ToWindowsPath(native, &windows, &error)) ADD_FAILURE() << error;
  return windows;
#endif
}

inline Bytes& Bytes::F32(float f) {
  std::uint32_t bits;
  std::memcpy(&bits, &f, 4);
  return U32(bits);
}

inline Bytes& Bytes::F64(double d) {
  std::uint64_t bits;
  std::memcpy(&bits, &d, 8);
  return U32(static_cast<std::uint32_t>(bits)).U32(static_cast<std::uint32_t>(bits >> 32));
}

inline std::string MakeBitmap(int width, int height, const PixelFunction& pixel, int headerSize,
                              bool topDown) {
  const int stride = (3 * width + 3) / 4 * 4;
  const std::uint32_t offset = 14u + static_cast<std::uint32_t>(headerSize);
  Bytes b;
  b.Text("BM").U32(offset + static_cast<std::uint32_t>(stride * height)).U16(0).U16(0).U32(offset);
  b.U32(static_cast<std::uint32_t>(headerSize));
  if (headerSize == 12) {
    b.U16(static_cast<unsigned>(width)).U16(static_cast<unsigned>(topDown ? -height : height));
    b.U16(1).U16(24);
  } else {
    b.U32(static_cast<std::uint32_t>(width));
    b.U32(static_cast<std::uint32_t>(topDown ? -height : height));
    b.U16(1).U16(24).U32(0).U32(static_cast<std::uint32_t>(stride * height));
    b.U32(2835).U32(2835).U32(0).U32(0);
    // The longer headers: masks, colour space and the rest, all ignored.
    for (int k = 40; k < headerSize; k += 4) b.U32(0x11111111u);
  }
  for (int r = 0; r < height; ++r) {
    int y = topDown ? height - 1 - r : r;
    for (int x = 0; x < width; ++x) {
      PixelBytes p = pixel(x, y);
      b.U8(p[0]).U8(p[1]).U8(p[2]);
    }
    for (int pad = 3 * width; pad < stride; ++pad) b.U8(0xEE);
  }
  return b.s;
}

inline PixelBytes HeightPixel(std::int32_t value) {
  return PixelBytes{static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 8),
                    static_cast<std::uint8_t>(value)};
}

namespace detail {

inline void Declare(Bytes* b, const char* name) {
  b->U16(0xFFFF).U16(0).U16(static_cast<unsigned>(std::strlen(name))).Text(name);
}

}  // namespace detail

inline std::string TileFileBytes(int nxc, int nyc, const std::vector<TilePoint>& grid) {
  EXPECT_EQ(static_cast<std::size_t>((nxc + 1) * (nyc + 1)), grid.size());
  const int pointCount = (nxc + 1) * (nyc + 1) + 1;
  const int indexCount = 6 + 4 * nxc * nyc;
  const unsigned indexTag = 0x8004 + pointCount + 1;

  Bytes b;
  b.U16(1).U16(0).F64(0).F64(0).F64(0).U32(0).U32(0).U32(0);
  b.U16(1);
  detail::Declare(&b, "CObArray");
  b.U16(static_cast<unsigned>(pointCount));
  detail::Declare(&b, "CObPunkt");
  for (std::size_t k = 0; k < grid.size(); ++k) {
    const TilePoint& p = grid[k];
    b.U32(static_cast<std::uint32_t>(p.x)).U32(static_cast<std::uint32_t>(p.y));
    b.U32(static_cast<std::uint32_t>(p.z)).U32(0).U32(0).U32(0).U32(0).U32(0);
    b.U8(p.red).U8(p.green).U8(p.blue).U8(0).F32(0).U32(0).U32(0);
    b.U16(0x8003);
  }
  // The closing marker.
  b.U32(0).U32(0).U32(0).U32(0).U32(0).U32(0).U32(0).U32(0);
  b.U8(0).U8(0).U8(0).U8(0).F32(3.0f).U32(0).U32(98);

  b.U16(1).U16(0x8001).U16(static_cast<unsigned>(indexCount));
  detail::Declare(&b, "CObIndex");
  auto entry = [&](std::int32_t value, std::int32_t isCode, bool last = false) {
    b.U32(static_cast<std::uint32_t>(value)).U32(static_cast<std::uint32_t>(isCode));
    if (!last) b.U16(indexTag);
  };
  entry(0, 1);
  entry(1, 1);
  entry(4, 1);
  entry(7, 1);
  // Cells column by column; corners north-west, south-west, south-east,
  // north-east, with point numbers row * (nxc + 1) + column.
  for (int column = 0; column < nxc; ++column) {
    for (int row = 0; row < nyc; ++row) {
      entry((row + 1) * (nxc + 1) + column, 0);
      entry(row * (nxc + 1) + column, 0);
      entry(row * (nxc + 1) + column + 1, 0);
      entry((row + 1) * (nxc + 1) + column + 1, 0);
    }
  }
  entry(9, 1);
  entry(9, 1, true);

  b.U16(1).U16(0x8001).U16(1);
  detail::Declare(&b, "CObFormat");
  b.U32(0).U32(0).U32(0).F64(90.0).F64(0).F64(0).F32(1).F32(1).F32(1);
  return b.s;
}

}  // namespace terrain_test
