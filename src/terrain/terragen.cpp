#include "terrain/terragen.h"

#include <algorithm>
#include <cmath>

#include "host/messages.h"
#include "platform/platform.h"
#include "platform/cp1252.h"
#include "platform/le_bytes.h"

namespace terrain {
namespace {

const float kDefaultScale = 30.0f;  // metres per unit without a "SCAL" chunk

// `count` bytes equal to `word` ignoring case.
bool SameWord(const char* bytes, const char* word, std::size_t count) {
  return platform::EqualsIgnoringCase(std::string(bytes, count), std::string(word, count));
}

enum class ChunkResult { kGoOn, kEnd, kFault };

// Reads the 16-bit value of an "XPTS", "YPTS" or "SIZE" chunk.
ChunkResult ReadCount(platform::LeReader* in, std::uint16_t* out) {
  return in->U16(out) && in->Skip(2) ? ChunkResult::kGoOn : ChunkResult::kFault;
}

ChunkResult ReadHeights(platform::LeReader* in, TerragenTerrain* t) {
  if (t->xPoints == 0) t->xPoints = static_cast<std::uint16_t>(t->size + 1);
  if (t->yPoints == 0) t->yPoints = static_cast<std::uint16_t>(t->size + 1);
  if (!in->S16(&t->heightScale) || !in->S16(&t->baseHeight)) return ChunkResult::kFault;
  const std::size_t count = static_cast<std::size_t>(t->xPoints) * t->yPoints;
  const std::size_t present = std::min(count, in->remaining() / 2);
  t->hasSamples = true;
  t->samples.assign(present, 0);
  for (std::size_t k = 0; k < present; ++k) in->S16(&t->samples[k]);
  if (present < count) return ChunkResult::kFault;
  // The padding of an odd count may be missing at the very end of the file.
  if (count % 2 == 1 && !in->Skip(2)) return ChunkResult::kEnd;
  return ChunkResult::kGoOn;
}

ChunkResult ReadChunk(platform::LeReader* in, const char tag[4], TerragenTerrain* t) {
  if (SameWord(tag, "XPTS", 4)) return ReadCount(in, &t->xPoints);
  if (SameWord(tag, "YPTS", 4)) return ReadCount(in, &t->yPoints);
  if (SameWord(tag, "SIZE", 4)) return ReadCount(in, &t->size);
  if (SameWord(tag, "SCAL", 4)) {
    float x, y, z;
    if (!in->F32(&x) || !in->F32(&y) || !in->F32(&z)) return ChunkResult::kFault;
    t->xScale = x;
    t->yScale = y;
    t->zScale = z;
    return ChunkResult::kGoOn;
  }
  if (SameWord(tag, "CRAD", 4) || SameWord(tag, "CRVM", 4)) {
    return in->Skip(4) ? ChunkResult::kGoOn : ChunkResult::kFault;
  }
  if (SameWord(tag, "ALTW", 4)) return ReadHeights(in, t);
  if (SameWord(tag, "EOF ", 4)) return ChunkResult::kEnd;
  return ChunkResult::kFault;
}

// Reads chunks until the end (kEnd) or the first fault (kFault).
ChunkResult ReadChunks(platform::LeReader* in, TerragenTerrain* t) {
  for (;;) {
    char tag[4];
    if (!in->Bytes(tag, 4)) return ChunkResult::kEnd;  // the file ends between chunks
    ChunkResult result = ReadChunk(in, tag, t);
    if (result != ChunkResult::kGoOn) return result;
  }
}

}  // namespace

int TerragenTerrain::ReadTerragen(const std::string& path, const std::string& name, host::Reasons* into) {
  Release();
  std::string bytes;
  if (!platform::ReadWholeFile(path, &bytes)) {
    host::Tell(into, host::Why::kCannotOpen, name);
    return 0;
  }
  return ReadTerragenBytes(bytes, name, into);
}

int TerragenTerrain::ReadTerragenBytes(const std::string& bytes, const std::string& name, host::Reasons* into) {
  Release();
  platform::LeReader in(bytes);
  char word[8];
  if (!in.Bytes(word, 8) || !SameWord(word, "TERRAGEN", 8)) {
    host::Tell(into, host::Why::kTerragenKeyword);
    return 0;
  }
  if (!in.Bytes(word, 8) || !SameWord(word, "TERRAIN ", 8)) {
    host::Tell(into, host::Why::kTerrainKeyword);
    return 0;
  }
  xScale = yScale = zScale = kDefaultScale;
  ChunkResult result = ReadChunks(&in, this);
  // A point count read after the heights may make the grid smaller than the
  // samples read for it. The samples beyond the grid belong to no vertex and
  // are dropped, so that nothing (the lowest height included) sees them.
  const std::size_t count = static_cast<std::size_t>(xPoints) * yPoints;
  if (samples.size() > count) samples.resize(count);
  if (result == ChunkResult::kFault) {
    host::Tell(into, host::Why::kTerragenFormat, name);
    return 0;
  }
  return 1;
}

void TerragenTerrain::Release() { *this = TerragenTerrain(); }

double TerragenTerrain::HeightOfSample(std::int16_t sample) const {
  std::int32_t product = static_cast<std::int32_t>(sample) * heightScale;
  return (baseHeight + product / 65536.0) * zScale * 100.0;
}

double TerragenTerrain::HeightAt(int x, int y) const {
  if (xPoints == 0 || yPoints == 0) return 0.0;
  x = std::min(std::max(x, 0), xPoints - 1);
  y = std::min(std::max(y, 0), yPoints - 1);
  return HeightOfSample(SampleAt(static_cast<std::size_t>(y) * xPoints + static_cast<std::size_t>(x)));
}

std::int32_t TerragenPixelSize(float xScale) {
  if (xScale == 0.0f) return 781;
  double centimetres = std::round(static_cast<double>(xScale) * 100.0);
  if (!(centimetres >= -2147483647.0 && centimetres <= 2147483647.0)) return 0;
  return static_cast<std::int32_t>(centimetres);
}

TerragenHeightField::TerragenHeightField(const std::string& path, const std::string& name, host::Reasons* into) {
  unreadable = !terrain.ReadTerragen(path, name, into);
  cellsX = terrain.xPoints - 1;
  cellsY = terrain.yPoints - 1;
  if (cellsX <= 0 || cellsY <= 0 || !terrain.hasSamples) {
    terrain.Release();
    cellsX = 0;
    cellsY = 0;
    return;
  }
  pixelSize = TerragenPixelSize(terrain.xScale);
  // A height is a monotonic function of its sample, so the lowest height is
  // that of the smallest or of the largest sample; samples the file did not
  // hold count as 0.
  std::int16_t low = 0;
  std::int16_t high = 0;
  const std::size_t count = static_cast<std::size_t>(terrain.xPoints) * terrain.yPoints;
  if (!terrain.samples.empty()) low = high = terrain.samples[0];
  for (std::int16_t s : terrain.samples) {
    low = std::min(low, s);
    high = std::max(high, s);
  }
  if (terrain.samples.size() < count) {
    low = std::min<std::int16_t>(low, 0);
    high = std::max<std::int16_t>(high, 0);
  }
  minimumHeight = std::min(terrain.HeightOfSample(low), terrain.HeightOfSample(high));
}

}  // namespace terrain
