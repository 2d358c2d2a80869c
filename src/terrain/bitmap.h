// Windows bitmaps (".bmp") as height and colour pictures.
//
// Accepted: 24 bits per pixel, one plane, no compression, with a 14-byte file
// header ("BM", file size, two reserved words, data offset) followed by an
// info header chosen by its size field:
//   12   core header: width and height as signed 16-bit values
//   40   info header: width and height as signed 32-bit values
//   108, 124  the longer info headers; their later fields are ignored
// The pixel rows start at the data offset. Each row holds 3 bytes per pixel
// (blue, green, red in file order) padded to a multiple of 4. A positive
// height stores the rows bottom-up; a negative one top-down, and those rows
// are put into bottom-up order when read. Row 0 is always the bottom row.
//
// Everything else is refused: palette bitmaps and other bit counts,
// compression, other header sizes, a data offset inside the headers, a width
// or height of 0, a negative width.
//
// Result contract: ReadBitmap returns non-zero for success and reports every
// failure itself (host::kCannotOpen, "Falsches Bitmapformat: %s!\n",
// "Fehler beim Lesen von %s!\n").
#pragma once

#include <cstdint>
#include <string>

#include "host/messages.h"

namespace terrain {

struct Colour {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
};

class BitmapImage {
 public:
  // Reads the file at `path` (a Windows path); `name` stands for the file in
  // the messages. On failure the image is empty (0 x 0) and the message has
  // been shown.
  int ReadBitmap(const std::string& path, const std::string& name, host::Reasons* into = nullptr);
  int ReadBitmap(const std::string& path) { return ReadBitmap(path, path); }

  // Reads a bitmap from a file's bytes, as ReadBitmap does; `name` stands for
  // the file in the messages.
  int ReadBitmapBytes(std::string bytes, const std::string& name, host::Reasons* into = nullptr);

  // The pixel's bytes b0, b1, b2 in file order as b0 * 65536 + b1 * 256 + b2.
  // x and y are clamped into the picture; an empty picture gives 0.
  std::int32_t ValueAt(int x, int y) const;

  // The pixel's colour (red = b2, green = b1, blue = b0). x and y are clamped
  // into the picture too; an empty picture gives black.
  Colour ColourAt(int x, int y) const;

  // Frees the pixels and zeroes every field.
  void Release();

  // Header fields as read; the fields that nothing uses (file size, reserved
  // words, image size, resolutions, colour counts) are not kept.
  std::uint32_t dataOffset = 54;
  std::uint32_t infoHeaderSize = 40;
  std::int32_t width = 0;
  std::int32_t height = 0;  // rows; positive once read, whatever the file's sign
  std::uint16_t planes = 1;
  std::uint16_t bitCount = 24;
  std::uint32_t compression = 0;
  bool storedTopDown = false;  // the file held its rows top-down

  std::int32_t rowStride = 0;  // bytes per row, a multiple of 4
  std::string pixels;          // height rows of rowStride bytes, bottom row first

 private:
  const unsigned char* Pixel(int x, int y) const;
};

}  // namespace terrain
