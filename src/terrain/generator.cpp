#include "terrain/generator.h"

#include <memory>
#include <utility>

#include "host/installation.h"
#include "host/messages.h"
#include "host/paths.h"
#include "model/model.h"
#include "platform/platform.h"
#include "terrain/bitmap.h"
#include "terrain/height_field.h"
#include "terrain/terrain_inputs.h"
#include "terrain/tile_mesh.h"
#include "terrain/tile_plan.h"
#include "terrain/tile_writer.h"

namespace terrain {
int GenerateTerrainJob(const TerrainJob& job, const TerrainProgress* progress) {
  const std::string& section = job.section;
  TerrainInputs inputs;
  if (!ReadTerrainInputs(job, &inputs)) return 0;
  const TilePlan& plan = inputs.plan;
  const HeightField* heights = inputs.heights.get();
  const BitmapImage& colours = inputs.colours;

  const char* host = host::HostDirectory();
  const std::string modelFolder = host != nullptr ? host::StringPrintf("%sModelle\\", host) : "";
  const std::string terrainFolder = modelFolder + job.name;
  // The folder usually exists from an earlier generation.
  platform::MakeDirectory(terrainFolder);
  if (platform::PathStatus(terrainFolder.empty() ? "." : terrainFolder) != platform::kPathDirectory) {
    host::ShowFormatted("Verzeichnis %s kann nicht angelegt werden!\n", terrainFolder.c_str());
    return 0;
  }

  // Tiles are built here, one after another, and saved by the writer's
  // workers while the next ones are built.
  const TileShading shading = TileShadingFor(job, heights->minimumHeight);
  TileWriter writer(TileWriter::DefaultWorkers(), progress, section, plan.columns * plan.rows);
  model::Model tileModel;
  int allBuilt = 1;
  for (int i = 0; i < plan.columns; ++i) {
    for (int j = 0; j < plan.rows; ++j) {
      BuildTileMesh(shading, &tileModel, colours, *heights, plan.Tile(i, j));
      std::string path = host::StringPrintf("%s\\bmp%d_%d.mod", terrainFolder.c_str(), i, j);
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

int GenerateTerrainSection(const settings::SettingsFile& settings, const std::string& section,
                           const std::string& folder, const TerrainProgress* progress) {
  return GenerateTerrainJob(ReadTerrainJob(settings, section, folder), progress);
}

int GenerateTerrain(const settings::SettingsFile& settings, const std::string& folder,
                    const TerrainProgress* progress) {
  for (int k = 0; k < settings.count(); ++k) {
    const settings::SettingsEntry& entry = settings.entry(k);
    if (!entry.isSection || !IsTerrainSection(entry.name)) continue;
    if (!GenerateTerrainSection(settings, entry.name, folder, progress)) return 0;
  }
  return 1;
}

}  // namespace terrain
