// Terrain generation: every section of a layout's settings file whose name
// begins with "Terrain" describes one terrain, cut into square overlapping
// tiles, each written as a model file "{host}Modelle\{Name}\bmp{i}_{j}.mod".
//
// Keys of a terrain section:
//   "Name"           folder under "Modelle" and prefix of the tiles (required)
//   "Hoehe"          height file, ".bmp" or ".ter" (required)
//   "Farbe"          colour picture, ".bmp" (required), one pixel per cell
//   "Pixelgroesse"   metres per pixel of a height bitmap (required for ".bmp")
//   "Kachelabstand"  distance of tile centres in metres, default 200
//   "Kachelgroesse"  tile edge in metres, default 400
//   "Faktor", "RGBFaktor", "Verschiebung"  see tile_mesh.h
// Relative file names are read from the current directory.
//
// Result contract: non-zero when every tile was written. Each function shows
// its own messages; a section stops at its first fault before any tile is
// written, while a tile that cannot be written is reported and the others
// are still written.
#pragma once

#include <string>

#include "settings/settings_file.h"

namespace terrain {

// Told after each tile of a section: tiles done so far and the section's
// total.
struct TerrainProgress {
  void (*report)(const std::string& section, int done, int total, void* context) = nullptr;
  void* context = nullptr;
};

// Generates every terrain section in file order, stopping at the first
// section that fails.
int GenerateTerrain(const settings::SettingsFile& settings,
                    const TerrainProgress* progress = nullptr);

// Generates the terrain of one section.
int GenerateTerrainSection(const settings::SettingsFile& settings, const std::string& section,
                           const TerrainProgress* progress = nullptr);

}  // namespace terrain
