// TERRAGEN terrain files (".ter"), little-endian:
//   0   "TERRAGEN"
//   8   "TERRAIN "
//   16  chunks, each a 4-byte tag and its payload, in any order:
//       "XPTS"  u16 x points, 2 bytes padding
//       "YPTS"  u16 y points, 2 bytes padding
//       "SIZE"  u16 size (points - 1 along the shorter side), 2 bytes padding;
//               stands in for a missing point count
//       "SCAL"  three floats: metres per unit in x, y and z (30 each without
//               this chunk, as the format defines)
//       "CRAD", "CRVM"  4 bytes each (planet radius, render mode), not used
//       "ALTW"  s16 height scale, s16 base height, then x points * y points
//               s16 samples row by row with x fastest, then 2 padding bytes
//               when that count is odd
//       "EOF "  end; a file may also just end after a chunk
// The magic, the keyword and the tags are matched without regard to case; an
// unknown tag is an error.
//
// Height of a sample s in centimetres:
//   (base height + (s * height scale) / 65536) * z scale * 100
// with the product s * height scale formed as a 32-bit integer. The distance
// between samples is the x scale in centimetres, rounded to the nearest
// centimetre (781 cm when the file gives an x scale of 0).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "host/messages.h"
#include <vector>

#include "terrain/height_field.h"

namespace terrain {

struct TerragenTerrain {
  // Resets the record and reads the file at `path` (a Windows path), named
  // `name` in the messages. Reports host::kCannotOpen, "Keyword TERRAGEN
  // missing!\n", "Keyword TERRAIN missing!\n" or "Formatfehler in %s!\n" and
  // stops at the first fault; what was read before it stays. Returns 1 when
  // no fault was found.
  int ReadTerragen(const std::string& path, const std::string& name, host::Reasons* into = nullptr);

  // Reads a terrain from a file's bytes, as ReadTerragen does; `name` stands
  // for the file in the messages.
  int ReadTerragenBytes(const std::string& bytes, const std::string& name, host::Reasons* into = nullptr);

  // Frees the samples and zeroes every field.
  void Release();

  // Height in centimetres at sample (x, y), clamped into the grid; 0 while
  // either point count is 0.
  double HeightAt(int x, int y) const;

  // Height in centimetres of one sample value.
  double HeightOfSample(std::int16_t sample) const;

  // The sample at `index`; samples an "ALTW" chunk cut short did not hold
  // are 0.
  std::int16_t SampleAt(std::size_t index) const { return index < samples.size() ? samples[index] : 0; }

  std::uint16_t xPoints = 0;
  std::uint16_t yPoints = 0;
  std::uint16_t size = 0;
  float xScale = 0.0f;  // metres per unit
  float yScale = 0.0f;  // read, not used: the x scale sets the spacing in both directions
  float zScale = 0.0f;
  std::int16_t heightScale = 0;
  std::int16_t baseHeight = 0;
  bool hasSamples = false;  // an "ALTW" chunk was read, perhaps cut short
  // The samples the file held, at most x points * y points. No more is
  // allocated than the file holds, whatever the header claims.
  std::vector<std::int16_t> samples;
};

class TerragenHeightField : public HeightField {
 public:
  // Reads the file; an unusable file (errors already reported, fewer than 2
  // points in x or y, no samples) gives an empty field.
  TerragenHeightField(const std::string& path, const std::string& name, host::Reasons* into = nullptr);
  explicit TerragenHeightField(const std::string& path) : TerragenHeightField(path, path) {}

  double HeightAt(int i, int j) const override { return terrain.HeightAt(i, j); }

  TerragenTerrain terrain;
};

// The pixel size in centimetres for an x scale in metres: rounded to the
// nearest centimetre, halves away from zero; 781 for 0; 0 when it does not fit
// 32 bits (or is not a number).
std::int32_t TerragenPixelSize(float xScale);

}  // namespace terrain
