#include "terrain/generator.h"

#include <memory>
#include <utility>

#include "host/messages.h"
#include "host/paths.h"
#include "model/model.h"
#include "platform/cp1252.h"
#include "platform/interrupt.h"
#include "platform/platform.h"
#include "terrain/bitmap.h"
#include "terrain/height_field.h"
#include "terrain/terrain_inputs.h"
#include "terrain/tile_mesh.h"
#include "terrain/tile_plan.h"
#include "terrain/tile_writer.h"

namespace terrain {
namespace {

// The tile position of a name "bmp<i>_<j>.mod" (in any case), as the tiles
// are named; false for any other name.
bool ParseTileName(const std::string& name, long* i, long* j) {
  if (name.size() < 9 || !platform::EqualsIgnoringCase(name.substr(0, 3), "bmp") ||
      !platform::EqualsIgnoringCase(name.substr(name.size() - 4), ".mod")) {
    return false;
  }
  const std::string middle = name.substr(3, name.size() - 7);
  const std::size_t underscore = middle.find('_');
  if (underscore == std::string::npos) return false;
  long* const parts[2] = {i, j};
  const std::string texts[2] = {middle.substr(0, underscore), middle.substr(underscore + 1)};
  for (int k = 0; k < 2; ++k) {
    if (texts[k].empty() || texts[k].size() > 9) return false;
    *parts[k] = 0;
    for (char c : texts[k]) {
      if (c < '0' || c > '9') return false;
      *parts[k] = *parts[k] * 10 + (c - '0');
    }
  }
  return true;
}

// Tiles left in the folder by a generation with another plan (another
// "Kachelabstand" or picture) lie outside this plan's columns and rows. They
// are told, never deleted: the folder is the user's. `entries` is the
// folder's one listing, made before the new tiles came.
void ReportTilesOfAnEarlierPlan(const std::vector<std::pair<std::string, int>>& entries, const TilePlan& plan,
                                const std::string& section, const std::string& folder) {
  int outside = 0;
  for (const auto& entry : entries) {
    long i = 0, j = 0;
    if (entry.second == platform::kPathFile && ParseTileName(entry.first, &i, &j) &&
        (i >= plan.columns || j >= plan.rows)) {
      ++outside;
    }
  }
  if (outside > 0) {
    host::Report(host::Why::kEarlierPlanTiles, section, outside, folder);
  }
}

// Why a batch could not begin.
void ReportNotBegun(platform::SaveOutcome outcome, const std::string& folder, const std::string& within) {
  if (outcome == platform::SaveOutcome::kOutside) {
    host::Report(host::Why::kLinkOutside, folder, within);
  } else {
    host::Report(host::Why::kFolderNotCreated, folder);
  }
}

}  // namespace

int GenerateTerrainJob(const TerrainJob& job, const std::string& installation, const TerrainProgress* progress) {
  const std::string& section = job.section;
  TerrainInputs inputs;
  if (!ReadTerrainInputs(job, &inputs)) return 0;
  const TilePlan& plan = inputs.plan;
  const HeightField* heights = inputs.heights.get();
  const BitmapImage& colours = inputs.colours;

  const std::string& within = installation;
  const std::string modelFolder = installation.empty() ? "" : installation + "Modelle\\";
  const std::string terrainFolder = modelFolder + job.name;
  // All tiles go into a temporary folder beside the terrain's and are put in
  // place together once every one was written: a section cut off leaves the
  // old tiles (or none), never some of the new ones.
  platform::FolderBatch batch;
  const platform::SaveOutcome begun = platform::BeginFolderBatch(terrainFolder, within, &batch);
  if (begun != platform::SaveOutcome::kSaved) {
    ReportNotBegun(begun, terrainFolder, within);
    return 0;
  }

  // Tiles are built here, one after another, and written by the writer's
  // workers while the next ones are built. The first tile that fails stops
  // the section, and an interrupt stops it between two tiles; either way the
  // batch is abandoned and the folder stays as it was.
  const TileShading shading = TileShadingFor(job, heights->minimumHeight);
  const int total = plan.columns * plan.rows;
  TileWriter writer(TileWriter::DefaultWorkers(), &batch, terrainFolder, progress, section, total, within);
  model::Model tileModel;
  int allBuilt = 1;
  for (int i = 0; i < plan.columns && allBuilt && !writer.Failed() && !platform::InterruptRequested(); ++i) {
    for (int j = 0; j < plan.rows && !writer.Failed() && !platform::InterruptRequested(); ++j) {
      BuildTileMesh(shading, &tileModel, colours, *heights, plan.Tile(i, j));
      const std::string name = TileFileName(i, j);
      std::string bytes;
      if (!tileModel.Serialize(&bytes)) {
        // Not reached: every tile was checked against the format above.
        host::Report(host::Why::kTileDoesNotFit, terrainFolder + "\\" + name);
        allBuilt = 0;
        break;
      }
      writer.Submit(name, std::move(bytes));
    }
  }
  const int written = writer.Finish() && allBuilt;
  if (!written || platform::InterruptRequested()) {
    platform::AbandonFolderBatch(&batch);
    return 0;
  }
  std::string failed;
  if (platform::FinishFolderBatch(&batch, &failed) != platform::SaveOutcome::kSaved) {
    host::Report(host::Why::kWriteFailed, failed.empty() ? terrainFolder : terrainFolder + "\\" + failed);
    platform::AbandonFolderBatch(&batch);
    return 0;
  }
  ReportTilesOfAnEarlierPlan(batch.targetEntries, plan, section, terrainFolder);
  if (progress != nullptr && progress->finished != nullptr) {
    progress->finished(section, terrainFolder, total, progress->context);
  }
  return 1;
}

int GenerateTerrainSection(const settings::SettingsFile& settings, const std::string& section,
                           const std::string& folder, const std::string& installation,
                           const TerrainProgress* progress) {
  return GenerateTerrainJob(ReadTerrainJob(settings, section, folder, installation), installation, progress);
}

int GenerateTerrain(const settings::SettingsFile& settings, const std::string& folder, const std::string& installation,
                    const TerrainProgress* progress) {
  for (int k = 0; k < settings.count(); ++k) {
    const settings::SettingsEntry& entry = settings.entry(k);
    if (!entry.isSection || !IsTerrainSection(entry.name)) continue;
    if (!GenerateTerrainSection(settings, entry.name, folder, installation, progress)) return 0;
  }
  return 1;
}

}  // namespace terrain
