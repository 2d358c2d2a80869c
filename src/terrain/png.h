// PNG pictures for the terrain previews, encoded by stb_image_write (8 bits
// per channel, RGB, no interlacing) and embedded in SVG as data URIs.
//
// Result contract: non-zero on success, 0 on failure; nothing is shown.
#pragma once

#include <string>

namespace terrain {

// Rows top first, each `width` pixels of three bytes: red, green, blue.
struct RgbPicture {
  int width = 0;
  int height = 0;
  std::string pixels;
};

// Encodes the picture as a PNG file's bytes. 0 for an empty picture, a
// pixel count that does not match the size, or a failed encoding.
int EncodePng(const RgbPicture& picture, std::string* png);

// "data:image/png;base64,..." for the picture.
int PngDataUri(const RgbPicture& picture, std::string* uri);

// Base64 (RFC 4648, with padding) of any bytes.
std::string Base64(const std::string& bytes);

}  // namespace terrain
