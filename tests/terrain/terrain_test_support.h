// Helpers of the terrain tests: files written byte by byte, the committed
// files of independent tools, and the expected model file of a terrain tile.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <utility>
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
  Bytes& F64(double d) { std::uint64_t b; std::memcpy(&b, &d, 8); return U32(b & 0xFFFFFFFFu).U32(b >> 32); }
};

// A TERRAGEN file, its words and tags in lower case when asked.
struct Terragen : Bytes {
  explicit Terragen(bool lower = false) : lower_(lower) { Tag("TERRAGEN").Tag("TERRAIN "); }
  Terragen& Tag(std::string word) {
    for (char& c : word) c = lower_ && c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    Text(word);
    return *this;
  }
  Terragen& Count(const char* tag, unsigned n) { Tag(tag).U16(n).U16(0); return *this; }
  Terragen& Scale(float x, float y, float z) { Tag("SCAL").F32(x).F32(y).F32(z); return *this; }
  Terragen& Heights(int heightScale, int base, const std::vector<int>& samples, bool pad = true) {
    Tag("ALTW").U16(static_cast<unsigned>(heightScale)).U16(static_cast<unsigned>(base));
    for (int v : samples) U16(static_cast<unsigned>(v));
    if (pad && samples.size() % 2 == 1) U16(0);
    return *this;
  }
  bool lower_;
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
  const int storedHeight = topDown ? -height : height;
  Bytes b;
  b.Text("BM").U32(offset + static_cast<std::uint32_t>(stride * height)).U32(0).U32(offset);
  b.U32(static_cast<std::uint32_t>(headerSize));
  if (headerSize == 12) {
    b.U16(static_cast<unsigned>(width)).U16(static_cast<unsigned>(storedHeight)).U16(1).U16(24);
  } else {
    b.U32(static_cast<std::uint32_t>(width)).U32(static_cast<std::uint32_t>(storedHeight)).U16(1).U16(24);
    b.U32(0).U32(static_cast<std::uint32_t>(stride * height)).U32(2835).U32(2835).U32(0).U32(0);
    // The longer headers: masks, colour space and the rest, all ignored.
    for (int k = 40; k < headerSize; k += 4) b.U32(0x11111111u);
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

// A point of an expected tile.
struct TilePoint {
  std::int32_t x, y, z;
  int red, green, blue;  // 0 to 255
};

// The model file of a terrain tile of nxc x nyc cells from its grid points,
// row by row with x fastest, encoded here straight from the file format (it
// shares nothing with the writer under test): the points and a closing
// marker, the cells column by column with the corners north-west, south-west,
// south-east, north-east, and one format.
inline std::string TileFileBytes(int nxc, int nyc, const std::vector<TilePoint>& grid) {
  EXPECT_EQ(static_cast<std::size_t>((nxc + 1) * (nyc + 1)), grid.size());
  const int pointCount = (nxc + 1) * (nyc + 1) + 1;
  const unsigned indexTag = 0x8004u + static_cast<unsigned>(pointCount) + 1u;
  auto declare = [](Bytes* b, const std::string& name) {
    b->U16(0xFFFF).U16(0).U16(static_cast<unsigned>(name.size())).Text(name);
  };
  Bytes b;
  b.U16(1).U16(0).F64(0).F64(0).F64(0).U32(0).U32(0).U32(0).U16(1);
  declare(&b, "CObArray");
  b.U16(static_cast<unsigned>(pointCount));
  declare(&b, "CObPunkt");
  for (const TilePoint& p : grid) {
    b.U32(static_cast<std::uint32_t>(p.x)).U32(static_cast<std::uint32_t>(p.y)).U32(static_cast<std::uint32_t>(p.z));
    b.U32(0).U32(0).U32(0).U32(0).U32(0);
    b.U8(static_cast<unsigned>(p.red)).U8(static_cast<unsigned>(p.green)).U8(static_cast<unsigned>(p.blue));
    b.U8(0).F32(0).U32(0).U32(0).U16(0x8003);
  }
  b.U32(0).U32(0).U32(0).U32(0).U32(0).U32(0).U32(0).U32(0).U8(0).U8(0).U8(0).U8(0).F32(3.0f).U32(0).U32(98);
  b.U16(1).U16(0x8001).U16(static_cast<unsigned>(6 + 4 * nxc * nyc));
  declare(&b, "CObIndex");
  std::vector<std::pair<int, int>> entries = {{0, 1}, {1, 1}, {4, 1}, {7, 1}};  // value, is a code
  for (int c = 0; c < nxc; ++c) {
    for (int r = 0; r < nyc; ++r) {
      const int sw = r * (nxc + 1) + c, nw = sw + nxc + 1;
      for (int corner : {nw, sw, sw + 1, nw + 1}) entries.push_back({corner, 0});
    }
  }
  entries.push_back({9, 1});
  entries.push_back({9, 1});
  for (std::size_t k = 0; k < entries.size(); ++k) {
    b.U32(static_cast<std::uint32_t>(entries[k].first)).U32(static_cast<std::uint32_t>(entries[k].second));
    if (k + 1 < entries.size()) b.U16(indexTag);
  }
  b.U16(1).U16(0x8001).U16(1);
  declare(&b, "CObFormat");
  b.U32(0).U32(0).U32(0).F64(90.0).F64(0).F64(0).F32(1).F32(1).F32(1);
  return b.s;
}

}  // namespace terrain_test
