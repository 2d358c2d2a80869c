#include "terrain/terrain_job.h"

#include <cmath>

#include "host/installation_path.h"
#include "host/paths.h"
#include "host/messages.h"
#include "platform/cp1252.h"

namespace terrain {
namespace {

const char kTerrainPrefix[] = "Terrain";

// 1 when the value's extension, from its last "." on, is `extension`.
int HasExtension(const std::string& value, const char* extension) {
  std::size_t dot = value.rfind('.');
  return dot != std::string::npos && platform::EqualsIgnoringCase(value.substr(dot), extension);
}

// The one check of a section's "Name", shared by the generator and the load's
// test whether a terrain is still to be generated. The tiles go into a folder
// directly under "Modelle": a shared layout must not make the tool create
// folders or write tiles anywhere else.
TerrainFault CheckName(const std::string* name, const std::string& installation) {
  if (name == nullptr) return TerrainFault::kNoName;
  if (!host::IsPlainName(*name) ||
      (!installation.empty() && !host::IsInsideInstallation(installation, "Modelle\\" + *name))) {
    return TerrainFault::kNameOutside;
  }
  return TerrainFault::kNone;
}

// "Pixelgroesse" in whole centimetres, or the fault that refuses it.
TerrainFault ReadPixelSize(const settings::SettingsFile& settings, const std::string& section,
                           std::int32_t* pixelSize) {
  const double centimetres = std::round(settings.GetReal(section, "Pixelgroesse", 0.0f) * 100);
  if (centimetres == 0.0) return TerrainFault::kNoPixelSize;
  if (!(centimetres > 0.0)) return TerrainFault::kPixelSizeNotPositive;
  if (centimetres > 2147483647.0) return TerrainFault::kPixelSizeTooLarge;
  *pixelSize = static_cast<std::int32_t>(centimetres);
  return TerrainFault::kNone;
}

// The first fault of the files' settings, in the order the generation meets
// them.
TerrainFault ReadFiles(const settings::SettingsFile& settings, const std::string& section, TerrainJob* job) {
  const std::string* heights = settings.Find(section, "Hoehe");
  const std::string* colours = settings.Find(section, "Farbe");
  if (heights == nullptr) return TerrainFault::kNoHeightFile;
  job->heightFile = *heights;
  if (colours == nullptr) return TerrainFault::kNoColourFile;
  job->colourFile = *colours;
  if (HasExtension(*heights, ".bmp")) {
    job->heightFormat = HeightFormat::kBitmap;
    TerrainFault pixel = ReadPixelSize(settings, section, &job->pixelSize);
    if (pixel != TerrainFault::kNone) return pixel;
  } else if (HasExtension(*heights, ".ter")) {
    job->heightFormat = HeightFormat::kTerragen;
  } else {
    return TerrainFault::kHeightType;
  }
  if (!HasExtension(*colours, ".bmp")) return TerrainFault::kColourType;
  return TerrainFault::kNone;
}

TerrainStage StageOf(TerrainFault fault) {
  switch (fault) {
    case TerrainFault::kColourType: return TerrainStage::kBeforeColours;
    case TerrainFault::kNoName:
    case TerrainFault::kNameOutside: return TerrainStage::kBeforeTiles;
    default: return TerrainStage::kBeforeHeights;
  }
}

void ReportFault(const TerrainJob& job, host::Reasons* into) {
  const std::string& section = job.section;
  switch (job.fault) {
    case TerrainFault::kNone: return;
    case TerrainFault::kNoHeightFile: host::Tell(into, host::Why::kNoHeightFile, section); return;
    case TerrainFault::kNoColourFile: host::Tell(into, host::Why::kNoColourFile, section); return;
    case TerrainFault::kHeightType: host::Tell(into, host::Why::kHeightType, job.heightFile); return;
    case TerrainFault::kNoPixelSize: host::Tell(into, host::Why::kNoPixelSize); return;
    case TerrainFault::kPixelSizeNotPositive: host::Tell(into, host::Why::kPixelSizeNotPositive, section); return;
    case TerrainFault::kPixelSizeTooLarge: host::Tell(into, host::Why::kPixelSizeTooLarge, section); return;
    case TerrainFault::kColourType: host::Tell(into, host::Why::kColourType, job.colourFile); return;
    case TerrainFault::kNoName: host::Tell(into, host::Why::kNoName, section); return;
    case TerrainFault::kNameOutside: host::Tell(into, host::Why::kNameOutside, section); return;
  }
}

}  // namespace

int IsTerrainSection(const std::string& section) {
  return section.compare(0, sizeof kTerrainPrefix - 1, kTerrainPrefix) == 0;
}

TerrainJob ReadTerrainJob(const settings::SettingsFile& settings, const std::string& section, const std::string& folder,
                          const std::string& installation) {
  TerrainJob job;
  job.section = section;
  const std::string* name = settings.Find(section, "Name");
  if (name != nullptr) job.name = *name;
  job.nameFault = CheckName(name, installation);
  job.fault = ReadFiles(settings, section, &job);
  job.heightPath = host::ResolvePath(folder, job.heightFile);
  job.colourPath = host::ResolvePath(folder, job.colourFile);
  if (job.fault == TerrainFault::kNone) job.fault = job.nameFault;
  job.spacingMetres = settings.GetReal(section, "Kachelabstand", 200.0f);
  job.sizeMetres = settings.GetReal(section, "Kachelgroesse", 400.0f);
  job.heightFactor = static_cast<float>(settings.GetReal(section, "Faktor", 1.0f));
  job.colourFactor = static_cast<float>(settings.GetReal(section, "RGBFaktor", 1.0f));
  const std::string* offset = settings.Find(section, "Verschiebung");
  job.hasOffset = offset != nullptr;
  if (job.hasOffset) job.offsetMetres = settings::SettingsFile::ParseReal(*offset);
  return job;
}

int PassesStage(const TerrainJob& job, TerrainStage stage, host::Reasons* into) {
  if (job.fault == TerrainFault::kNone || StageOf(job.fault) != stage) return 1;
  ReportFault(job, into);
  return 0;
}

TileShading TileShadingFor(const TerrainJob& job, double minimumHeight) {
  TileShading shading;
  shading.heightFactor = job.heightFactor;
  shading.colourFactor = job.colourFactor;
  const float defaultOffset = static_cast<float>(0.02 - job.heightFactor * minimumHeight * 0.01);
  const double offset = job.hasOffset ? job.offsetMetres : static_cast<double>(defaultOffset);
  shading.offsetCm = static_cast<float>(offset * 100.0);
  return shading;
}

}  // namespace terrain
