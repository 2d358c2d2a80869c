#include "terrain/png.h"

// The encoder is compiled here and nowhere else; without the file variants it
// needs no C stdio and builds the same with MinGW.
#define STBI_WRITE_NO_STDIO
#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

namespace terrain {
namespace {

// The encoder's largest picture: its row and buffer sizes are ints.
const long long kMaxBytes = 1LL << 28;

void Append(void* context, void* data, int size) {
  if (size > 0) static_cast<std::string*>(context)->append(static_cast<const char*>(data), size);
}

}  // namespace

int EncodePng(const RgbPicture& picture, std::string* png) {
  png->clear();
  const long long bytes = 3LL * picture.width * picture.height;
  if (picture.width <= 0 || picture.height <= 0 || bytes > kMaxBytes ||
      static_cast<long long>(picture.pixels.size()) != bytes) {
    return 0;
  }
  return stbi_write_png_to_func(Append, png, picture.width, picture.height, 3, picture.pixels.data(),
                                3 * picture.width) != 0 &&
         !png->empty();
}

int PngDataUri(const RgbPicture& picture, std::string* uri) {
  std::string png;
  if (!EncodePng(picture, &png)) return 0;
  *uri = "data:image/png;base64," + Base64(png);
  return 1;
}

std::string Base64(const std::string& bytes) {
  static const char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string text;
  text.reserve((bytes.size() + 2) / 3 * 4);
  for (std::size_t i = 0; i < bytes.size(); i += 3) {
    const std::size_t left = bytes.size() - i;
    unsigned long group = static_cast<unsigned char>(bytes[i]) << 16;
    if (left > 1) group |= static_cast<unsigned char>(bytes[i + 1]) << 8;
    if (left > 2) group |= static_cast<unsigned char>(bytes[i + 2]);
    text += kDigits[(group >> 18) & 63];
    text += kDigits[(group >> 12) & 63];
    text += left > 1 ? kDigits[(group >> 6) & 63] : '=';
    text += left > 2 ? kDigits[group & 63] : '=';
  }
  return text;
}

}  // namespace terrain
