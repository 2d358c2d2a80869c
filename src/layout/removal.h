// Removing from a layout every reference to a file that the installation
// lacks, one kind of file per pass. The passes change the layout in memory
// only; the caller saves it. Each needs a known installation: while it is
// unknown every file counts as missing.
//
// Each pass returns how many records it removed or changed.
#pragma once

#include "layout/layout.h"

namespace layout {

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
