// Bitmaps (height and colour pictures) from hostile bytes. A picture that
// loads holds exactly its rows, and every pixel the terrain reads can be
// read; a picture that does not load leaves an empty image and one message.
#include <string>

#include "fuzz_support.h"
#include "terrain/bitmap.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::SilenceReports();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::ResetReportCounts();
  terrain::BitmapImage image;
  int ok = image.ReadBitmapBytes(std::string(reinterpret_cast<const char*>(data), size), "f.bmp");
  if (!ok) {
    FUZZ_CHECK(fuzz::MessagesShown() == 1);
    FUZZ_CHECK(image.width == 0 && image.height == 0 && image.pixels.empty());
    FUZZ_CHECK(image.ValueAt(0, 0) == 0);
    return 0;
  }
  FUZZ_CHECK(fuzz::MessagesShown() == 0);
  FUZZ_CHECK(image.width > 0 && image.height > 0);
  FUZZ_CHECK(image.rowStride % 4 == 0 && image.rowStride >= 3 * image.width);
  FUZZ_CHECK(image.pixels.size() == static_cast<std::size_t>(image.rowStride) * static_cast<std::size_t>(image.height));
  const int xs[] = {-1, 0, image.width / 2, image.width - 1, image.width, 1 << 30};
  const int ys[] = {-5, 0, image.height / 2, image.height - 1, image.height, -(1 << 30)};
  for (int x : xs) {
    for (int y : ys) {
      FUZZ_CHECK(image.ValueAt(x, y) >= 0 && image.ValueAt(x, y) <= 0xFFFFFF);
      image.ColourAt(x, y);
    }
  }
  return 0;
}
