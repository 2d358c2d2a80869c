#include "terrain/bitmap.h"

#include <algorithm>
#include <utility>

#include "host/messages.h"
#include "platform/platform.h"
#include "platform/le_bytes.h"

namespace terrain {
namespace {

const std::size_t kFileHeaderSize = 14;
// Larger sides are refused so that every offset stays inside 32-bit ints.
const std::int64_t kMaxSide = 1 << 24;

enum class ParseResult { kOk, kWrongFormat, kShort };

// Fills the header fields from the file header and the info header.
ParseResult ParseHeaders(platform::LeReader* in, BitmapImage* image) {
  char signature[2];
  if (!in->Bytes(signature, 2) || signature[0] != 'B' || signature[1] != 'M') {
    return ParseResult::kWrongFormat;
  }
  std::uint32_t fileSize;
  std::uint16_t reserved1, reserved2;
  if (!in->U32(&fileSize) || !in->U16(&reserved1) || !in->U16(&reserved2) || !in->U32(&image->dataOffset) ||
      !in->U32(&image->infoHeaderSize)) {
    return ParseResult::kShort;
  }
  const std::uint32_t headerSize = image->infoHeaderSize;
  if (headerSize != 12 && headerSize != 40 && headerSize != 108 && headerSize != 124) {
    return ParseResult::kWrongFormat;
  }
  if (in->size() < kFileHeaderSize + headerSize) return ParseResult::kShort;
  if (headerSize == 12) {
    std::int16_t width, height;
    in->S16(&width);
    in->S16(&height);
    in->U16(&image->planes);
    in->U16(&image->bitCount);
    image->width = width;
    image->height = height;
    image->compression = 0;
  } else {
    // The fields after the compression (image size, resolutions, colour
    // counts, and in the longer headers masks, colour space and profile) are
    // not needed for an uncompressed 24-bit picture.
    in->S32(&image->width);
    in->S32(&image->height);
    in->U16(&image->planes);
    in->U16(&image->bitCount);
    in->U32(&image->compression);
  }
  if (image->planes != 1 || image->bitCount != 24 || image->compression != 0) {
    return ParseResult::kWrongFormat;
  }
  if (image->width <= 0 || image->height == 0) return ParseResult::kWrongFormat;
  if (image->dataOffset < kFileHeaderSize + headerSize) return ParseResult::kWrongFormat;
  return ParseResult::kOk;
}

}  // namespace

int BitmapImage::ReadBitmap(const std::string& path, const std::string& name, host::Reasons* into) {
  *this = BitmapImage();
  std::string bytes;
  if (!platform::ReadWholeFile(path, &bytes)) {
    host::Tell(into, host::Why::kCannotOpen, name);
    return 0;
  }
  return ReadBitmapBytes(std::move(bytes), name, into);
}

int BitmapImage::ReadBitmapBytes(std::string bytes, const std::string& name, host::Reasons* into) {
  *this = BitmapImage();
  platform::LeReader in(bytes);
  ParseResult parsed = ParseHeaders(&in, this);

  std::int64_t rows = height < 0 ? -static_cast<std::int64_t>(height) : height;
  std::int64_t stride = (3 * static_cast<std::int64_t>(width) + 3) / 4 * 4;
  if (parsed == ParseResult::kOk) {
    // The rows must lie inside the file: checked by division so that no
    // product of hostile sizes can overflow.
    std::int64_t available = static_cast<std::int64_t>(bytes.size()) - static_cast<std::int64_t>(dataOffset);
    if (available < 0 || rows > available / stride) {
      parsed = ParseResult::kShort;
    } else if (width > kMaxSide || rows > kMaxSide) {
      parsed = ParseResult::kWrongFormat;
    }
  }
  if (parsed != ParseResult::kOk) {
    host::Tell(into, parsed == ParseResult::kShort ? host::Why::kReadError : host::Why::kBitmapFormat, name);
    Release();
    return 0;
  }

  // Keep the file's buffer: cut the headers off the front and whatever
  // follows the last row off the back.
  const std::size_t rowBytes = static_cast<std::size_t>(stride);
  const std::size_t rowCount = static_cast<std::size_t>(rows);
  bytes.erase(0, dataOffset);
  bytes.resize(rowCount * rowBytes);
  storedTopDown = height < 0;
  if (storedTopDown) {
    for (std::size_t top = 0, bottom = rowCount - 1; top < bottom; ++top, --bottom) {
      std::swap_ranges(bytes.begin() + static_cast<std::ptrdiff_t>(top * rowBytes),
                       bytes.begin() + static_cast<std::ptrdiff_t>((top + 1) * rowBytes),
                       bytes.begin() + static_cast<std::ptrdiff_t>(bottom * rowBytes));
    }
  }
  height = static_cast<std::int32_t>(rows);
  rowStride = static_cast<std::int32_t>(stride);
  pixels = std::move(bytes);
  return 1;
}

void BitmapImage::Release() {
  std::string().swap(pixels);
  dataOffset = 0;
  infoHeaderSize = 0;
  width = 0;
  height = 0;
  planes = 0;
  bitCount = 0;
  compression = 0;
  storedTopDown = false;
  rowStride = 0;
}

const unsigned char* BitmapImage::Pixel(int x, int y) const {
  x = std::min(std::max(x, 0), width - 1);
  y = std::min(std::max(y, 0), height - 1);
  std::size_t at = static_cast<std::size_t>(y) * static_cast<std::size_t>(rowStride) + 3 * static_cast<std::size_t>(x);
  return reinterpret_cast<const unsigned char*>(pixels.data()) + at;
}

std::int32_t BitmapImage::ValueAt(int x, int y) const {
  if (width <= 0 || height <= 0) return 0;
  const unsigned char* p = Pixel(x, y);
  return static_cast<std::int32_t>(p[0]) * 65536 + static_cast<std::int32_t>(p[1]) * 256 + p[2];
}

Colour BitmapImage::ColourAt(int x, int y) const {
  Colour colour;
  if (width <= 0 || height <= 0) return colour;
  const unsigned char* p = Pixel(x, y);
  colour.red = p[2];
  colour.green = p[1];
  colour.blue = p[0];
  return colour;
}

}  // namespace terrain
