// Removing from a layout every reference to a file that the installation
// lacks, one kind of file per pass. The passes change the layout in memory
// only; the caller saves it. Each needs a known installation: while it is
// unknown every file counts as missing.
//
// Each pass returns how many records it removed or changed.
#pragma once

#include <string>

#include "layout/layout.h"

namespace layout {

enum class RemovalKind { kRollingStock, kGbos, kRealEstate };

// A folder, relative to the host directory, that files of the kind live in
// and that is missing; "" when there is none. "Rollmaterial" for rolling
// stock, "Modelle" for real estate, and for GBOs the folder of each GBO
// piece's name (the first missing one). While such a folder is missing its
// objects are not installed rather than gone, and no pass may run.
std::string MissingKindFolder(const Layout& layout, RemovalKind kind);

// Keeps the file at `path` as it is now as `path` + ".bak" (in *backupPath),
// replacing an older backup; saved safely inside `within`. Shows why and
// returns 0 when the file cannot be read or the backup cannot be saved.
int KeepBackup(const std::string& path, const std::string& within, std::string* backupPath);

// Every unit whose rolling-stock file is missing: every unit with its id is
// removed, and the neighbour references to that id are cleared.
int RemoveMissingRollingStock(Layout* layout);

// Every type-6 track piece whose GBO file is missing becomes plain track
// named "Gleis" (type 1, or 7 with a variant value), keeping its id,
// geometry and connections.
int RemoveMissingGbos(Layout* layout);

// Every placed model whose ".mod" file is missing is removed (that record
// itself, not an other one sharing its id), and tracks linked to it lose the
// link.
int RemoveMissingRealEstate(Layout* layout);

}  // namespace layout
