// One terrain section of a layout's settings file, read and checked once.
//
// Every section whose name begins with "Terrain" (with that case) describes
// one terrain. Keys:
//   "Name"           folder under "Modelle" and prefix of the tiles (required)
//   "Hoehe"          height file, ".bmp" or ".ter" (required)
//   "Farbe"          colour picture, ".bmp" (required), one pixel per cell
//   "Pixelgroesse"   metres per pixel of a height bitmap (required for ".bmp",
//                    not read for ".ter"); rounded to whole centimetres
//   "Kachelabstand"  distance of tile centres in metres, default 200
//   "Kachelgroesse"  tile edge in metres, default 400
//   "Faktor"         height factor, default 1
//   "RGBFaktor"      colour factor, default 1
//   "Verschiebung"   height offset in metres; without it the lowest vertex of
//                    the whole field is put near z = 2 cm (see TileShadingFor)
// Extensions are compared ignoring case, from the value's last "." on.
// "Hoehe" and "Farbe" are read relative to a folder given with the section
// (the layout's): a name with a drive or from a root is taken as written.
// Messages name the files as written in the section.
#pragma once

#include <cstdint>
#include <string>

#include "host/messages.h"
#include "settings/settings_file.h"

namespace terrain {

// The first fault of a section's settings, in the order they are checked.
// Each is reported at its own point of the generation: the first five before
// the height file is read, kColourType before the colour picture is read,
// kNoName after the two pictures were compared.
enum class TerrainFault {
  kNone,
  kNoHeightFile,          // "Hoehe" missing
  kNoColourFile,          // "Farbe" missing
  kHeightType,            // "Hoehe" neither ".bmp" nor ".ter"
  kNoPixelSize,           // ".bmp" with "Pixelgroesse" 0 (after rounding) or missing
  kPixelSizeNotPositive,  // negative or not a number
  kPixelSizeTooLarge,     // beyond 32 bits of centimetres
  kColourType,            // "Farbe" not ".bmp"
  kNoName,                // "Name" missing
  kNameOutside,           // "Name" not a plain folder name inside "Modelle"
};

enum class HeightFormat { kBitmap, kTerragen };

struct TerrainJob {
  std::string section;
  std::string name;
  std::string heightFile;  // as written in the section, for the messages
  std::string colourFile;
  std::string heightPath;  // the files to open
  std::string colourPath;
  HeightFormat heightFormat = HeightFormat::kBitmap;
  std::int32_t pixelSize = 0;  // centimetres; a bitmap's, TERRAGEN files carry their own
  double spacingMetres = 200.0;
  double sizeMetres = 400.0;
  float heightFactor = 1.0f;
  float colourFactor = 1.0f;
  bool hasOffset = false;
  double offsetMetres = 0.0;
  TerrainFault nameFault = TerrainFault::kNone;  // the name's own check
  TerrainFault fault = TerrainFault::kNone;      // the first fault of all
};

// 1 for a section that describes a terrain.
int IsTerrainSection(const std::string& section);

// Reads the section's keys into a job, the pictures relative to `folder`
// (the layout's); the name is checked against the installation folder
// `installation` (its tiles must stay in its "Modelle"; empty: unknown, only
// the name's form is checked). Never reports.
TerrainJob ReadTerrainJob(const settings::SettingsFile& settings, const std::string& section, const std::string& folder,
                          const std::string& installation);

// The points at which the generation checks the job.
enum class TerrainStage { kBeforeHeights, kBeforeColours, kBeforeTiles };

// Reports the job's fault (into `into`, when given) and returns 0 when it
// is one of `stage`; else 1.
int PassesStage(const TerrainJob& job, TerrainStage stage, host::Reasons* into = nullptr);

// What turns heights and colours into tile points.
struct TileShading {
  float heightFactor = 1.0f;
  float colourFactor = 1.0f;
  float offsetCm = 0.0f;  // added to height * factor
};

// The shading of a job over a field whose lowest vertex is `minimumHeight`
// cm. The default offset is 0.02 - factor * minimum * 0.01 metres, rounded
// to single precision, so that the lowest vertex ends at z = 2 (or 1 after
// the roundings); the offset in centimetres is rounded to single precision.
TileShading TileShadingFor(const TerrainJob& job, double minimumHeight);

}  // namespace terrain
