#include "terrain/generator.h"

#include <cmath>
#include <memory>
#include <utility>

#include "host/installation.h"
#include "host/messages.h"
#include "host/paths.h"
#include "model/model.h"
#include "platform/platform.h"
#include "terrain/bitmap.h"
#include "terrain/height_field.h"
#include "terrain/terragen.h"
#include "terrain/terrain_folder.h"
#include "terrain/tile_mesh.h"
#include "terrain/tile_plan.h"
#include "terrain/tile_writer.h"

namespace terrain {
namespace {

// The extension of a file value, from its last "." on ("" without one).
std::string ExtensionWithDot(const std::string& value) {
  std::size_t dot = value.rfind('.');
  return dot == std::string::npos ? std::string() : value.substr(dot);
}

bool HasExtension(const std::string& value, const char* extension) {
  return host::EqualsIgnoringAsciiCase(ExtensionWithDot(value), extension);
}

// The height file as a height field, or null after a message. Only the
// settings are checked here; the file's own errors leave an empty field.
std::unique_ptr<HeightField> OpenHeightField(const settings::SettingsFile& settings,
                                             const std::string& section,
                                             const std::string& file) {
  if (HasExtension(file, ".bmp")) {
    // "Pixelgroesse" in centimetres, rounded to the nearest centimetre.
    const double centimetres = std::round(settings.GetReal(section, "Pixelgroesse", 0.0f) * 100);
    if (centimetres == 0.0) {
      host::ShowFormatted("Bitte Pixelgroesse angeben!\n");
      return nullptr;
    }
    if (!(centimetres > 0.0)) {
      host::ShowFormatted("[%s]:Pixelgroesse muss gr\xF6\xDF" "er als 0 sein!\n", section.c_str());
      return nullptr;
    }
    if (centimetres > 2147483647.0) {
      host::ShowFormatted("[%s]:Pixelgroesse ist zu gro\xDF!\n", section.c_str());
      return nullptr;
    }
    return std::unique_ptr<HeightField>(
        new BitmapHeightField(file, static_cast<std::int32_t>(centimetres)));
  }
  if (HasExtension(file, ".ter")) return std::unique_ptr<HeightField>(new TerragenHeightField(file));
  host::ShowFormatted("Falscher Dateityp fuer Hoehe: %s!\n", file.c_str());
  return nullptr;
}

struct ProgressState {
  const TerrainProgress* progress;
  const std::string* section;
  int done;
  int total;
};

void ReportTile(const std::string&, bool, void* context) {
  ProgressState* state = static_cast<ProgressState*>(context);
  ++state->done;
  if (state->progress != nullptr && state->progress->report != nullptr) {
    state->progress->report(*state->section, state->done, state->total, state->progress->context);
  }
}

// Reports why a plan was refused. 1 when it was not.
int CheckPlan(PlanResult result, const std::string& section) {
  switch (result) {
    case PlanResult::kOk:
      return 1;
    case PlanResult::kBadSpacing:
      host::ShowFormatted("[%s]:Kachelabstand muss gr\xF6\xDF" "er als 0 sein!\n", section.c_str());
      return 0;
    case PlanResult::kBadSize:
      host::ShowFormatted("[%s]:Kachelgroesse muss gr\xF6\xDF" "er als 0 sein!\n", section.c_str());
      return 0;
    case PlanResult::kSpacingBelowPixel:
      host::ShowFormatted("[%s]:Kachelabstand muss mindestens so gro\xDF wie die Pixelgroesse sein!\n",
                          section.c_str());
      return 0;
  }
  return 0;
}

}  // namespace

int GenerateTerrainSection(const settings::SettingsFile& settings, const std::string& section,
                           const TerrainProgress* progress) {
  const std::string* heightFile = settings.Find(section, "Hoehe");
  const std::string* colourFile = settings.Find(section, "Farbe");
  if (heightFile == nullptr) {
    host::ShowFormatted("[%s]:Hoehe muss gesetzt sein!\n", section.c_str());
    return 0;
  }
  if (colourFile == nullptr) {
    host::ShowFormatted("[%s]:Farbe muss gesetzt sein!\n", section.c_str());
    return 0;
  }
  std::unique_ptr<HeightField> heights = OpenHeightField(settings, section, *heightFile);
  if (!heights) return 0;
  if (!HasExtension(*colourFile, ".bmp")) {
    host::ShowFormatted("Falscher Dateityp fuer farbe: %s!\n", colourFile->c_str());
    return 0;
  }
  BitmapColourSource colours(*colourFile);
  if (colours.width != heights->cellsX || colours.height != heights->cellsY) {
    host::ShowFormatted("Groessen stimmen nicht \xFC" "berein!\n");
    return 0;
  }
  const std::string* name = settings.Find(section, "Name");
  if (name == nullptr) {
    host::ShowFormatted("[%s]:Name muss gesetzt sein!\n", section.c_str());
    return 0;
  }
  if (!CheckTerrainFolderName(section, *name)) return 0;
  // Both files failed to load; each has told why.
  if (heights->cellsX == 0) return 0;
  if (heights->pixelSize <= 0) {
    host::ShowFormatted("[%s]:Pixelgroesse aus %s muss gr\xF6\xDF" "er als 0 sein!\n",
                        section.c_str(), heightFile->c_str());
    return 0;
  }

  TilePlan plan;
  if (!CheckPlan(PlanTiles(settings.GetReal(section, "Kachelabstand", 200.0f),
                           settings.GetReal(section, "Kachelgroesse", 400.0f),
                           heights->pixelSize, heights->cellsX, heights->cellsY, &plan),
                 section)) {
    return 0;
  }
  if (!TilesFit(plan, plan.halfSize)) {
    host::ShowFormatted(
        "[%s]:Kachelgroesse zu gro\xDF f\xFCr eine Modelldatei, h\xF6" "chstens %s m bei dieser "
        "Pixelgroesse!\n",
        section.c_str(), TileSizeText(LargestFittingHalfSize(plan), plan.pixelSize).c_str());
    return 0;
  }

  const char* host = host::HostDirectory();
  const std::string modelFolder = host != nullptr ? host::StringPrintf("%sModelle\\", host) : "";
  const std::string terrainFolder = modelFolder + *name;
  // The folder usually exists from an earlier generation.
  platform::MakeDirectory(terrainFolder);
  if (platform::PathStatus(terrainFolder.empty() ? "." : terrainFolder) != platform::kPathDirectory) {
    host::ShowFormatted("Verzeichnis %s kann nicht angelegt werden!\n", terrainFolder.c_str());
    return 0;
  }

  // Tiles are built here, one after another, and saved by the writer's
  // workers while the next ones are built.
  ProgressState state{progress, &section, 0, plan.columns * plan.rows};
  TileWriter writer(TileWriter::DefaultWorkers(), &ReportTile, &state);
  model::Model tileModel;
  int allBuilt = 1;
  for (int i = 0; i < plan.columns; ++i) {
    for (int j = 0; j < plan.rows; ++j) {
      BuildTileMesh(settings, section, &tileModel, colours, *heights, plan.Tile(i, j));
      std::string path =
          host::StringPrintf("%s%s\\bmp%d_%d.mod", modelFolder.c_str(), name->c_str(), i, j);
      std::string bytes;
      if (!tileModel.Serialize(&bytes)) {
        // Not reached: every tile was checked against the format above.
        host::ShowFormatted("Modell passt nicht in das Dateiformat, nicht geschrieben: %s!\n",
                            path.c_str());
        allBuilt = 0;
        continue;
      }
      writer.Submit(path, std::move(bytes));
    }
  }
  return writer.Finish() && allBuilt;
}

int GenerateTerrain(const settings::SettingsFile& settings, const TerrainProgress* progress) {
  for (int k = 0; k < settings.count(); ++k) {
    const settings::SettingsEntry& entry = settings.entry(k);
    if (!entry.isSection || entry.name.compare(0, 7, "Terrain") != 0) continue;
    if (!GenerateTerrainSection(settings, entry.name, progress)) return 0;
  }
  return 1;
}

}  // namespace terrain
