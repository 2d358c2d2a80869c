// The check of a kind's choice named on the command line: a plain file name
// in the kind folder of the installation, as the dialog's file chooser
// offers them.
#pragma once

#include <string>

#include "host/installation.h"

namespace console {

// Checks a choice given as the kind's option (code page 1252): an empty one
// (the default file) passes, any other must be a plain file name of an
// existing file in the kind folder (letter case ignored). Returns kExitOk, or
// reports which files there are and returns kExitFailed for a missing file,
// kExitUsage for a path.
// What the kind folder offers, as the check's message lists it: "Holz.mod,
// Prellbock.mod", "keine", or "Ordner ... fehlt".
std::string AvailableChoices(const host::Installation& installation, host::AssetKind kind);

int CheckChoice(const host::Installation& installation, host::AssetKind kind, const std::string& choice);

}  // namespace console
