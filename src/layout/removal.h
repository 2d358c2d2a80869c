// Removing from a layout every reference to a file that the installation
// lacks, one kind of file per pass. The passes change the layout in memory
// only; the caller saves it. What is missing comes from `files`: while the
// installation is unknown every file counts as missing, so the callers
// refuse to run a pass then.
#pragma once

#include <string>
#include <vector>

#include "layout/layout.h"
#include "layout/object_files.h"

namespace layout {

enum class RemovalKind { kRollingStock, kGbos, kRealEstate };

// What a pass removes: how many records it removes or changes, and their
// names as the missing list names them (each once ignoring the case of A to
// Z, a model with its ".mod"), in the order of the list.
struct Removal {
  int count = 0;
  std::vector<std::string> names;
};

// The pass of `kind`; with `apply` it changes the layout, without it only
// says what it would change (a dry run is the same pass).
//   rolling stock: every unit whose rolling-stock file is missing, and every
//     unit with its id, is removed; the neighbour references to those ids
//     are cleared.
//   GBOs: every type-6 track piece whose GBO file is missing becomes plain
//     track named "Gleis" (type 1, or 7 with a variant value), keeping its
//     id, geometry and connections.
//   real estate: every placed model whose ".mod" file is missing is removed
//     (that record itself, not an other one sharing its id), and tracks
//     linked to it lose the link.
Removal RemoveMissing(Layout* layout, RemovalKind kind, ObjectFiles* files, bool apply);

}  // namespace layout
