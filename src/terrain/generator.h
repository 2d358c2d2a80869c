// Terrain generation: every terrain section of a layout's settings file
// (terrain_job.h) is cut into square overlapping tiles, each written as a
// model file "{installation}Modelle\{Name}\bmp{i}_{j}.mod". Relative picture names
// are read from the folder given (the layout's), never through the current
// directory.
//
// A section's tiles are written as one folder batch (platform.h): all into a
// temporary folder, then put in place together. A section counts as written
// only when all its tiles are in place; until then an existing folder
// carries the marker platform::kIncompleteMarker.
//
// Result contract: non-zero when every tile was written. Each function shows
// its own messages; a section stops at its first fault: before any tile is
// written for a fault of its settings, at the first tile that cannot be
// written (the folder then keeps its old tiles, or stays absent).
#pragma once

#include <string>

#include "settings/settings_file.h"
#include "terrain/terrain_job.h"
#include "terrain/tile_writer.h"

namespace terrain {

// Generates every terrain section in file order, stopping at the first
// section that fails.
// `folder` is the layout's (the pictures), `installation` the installation
// folder whose "Modelle" gets the tiles.
int GenerateTerrain(const settings::SettingsFile& settings, const std::string& folder, const std::string& installation,
                    const TerrainProgress* progress = nullptr);

// Generates the terrain of one section.
int GenerateTerrainSection(const settings::SettingsFile& settings, const std::string& section,
                           const std::string& folder, const std::string& installation,
                           const TerrainProgress* progress = nullptr);

// Generates the terrain of one job.
int GenerateTerrainJob(const TerrainJob& job, const std::string& installation,
                       const TerrainProgress* progress = nullptr);

}  // namespace terrain
