// The checks that commands make before they touch the loaded pair or the
// installation. Each reports why and returns 0 when the command must stop, 1
// when it may go on.
#pragma once

#include "app/loaded_pair.h"
#include "host/installation.h"
#include "layout/removal.h"

namespace app {

// Tells that the layout is not OK while no pair is loaded (layoutPath
// empty): before the first load, after a load that stopped, and after a
// wrong extension, which clears the paths but keeps an earlier layout in
// memory.
int CheckLayoutPair(const LoadedPair& pair);

// As CheckLayoutPair, and also while the layout in memory is not a whole
// loaded one (layout.loaded is 0).
int CheckLoadedLayout(const LoadedPair& pair);

// Tells of an unknown or faulty installation while it is unknown.
int CheckInstallation(const host::Installation& installation);

// Tells that nothing is removed while a folder that objects of `kind` live in
// is missing (their objects are then not installed rather than gone):
// "Rollmaterial" for rolling stock, "Modelle" for real estate, and for GBOs
// the folder of each GBO piece's name (the first missing one).
int CheckKindFolder(const host::Installation& installation, const LoadedPair& pair, layout::RemovalKind kind);

}  // namespace app
