// The files a kind's choice may name on the command line: plain file names
// in the kind folder of the installation, as the dialog's file chooser
// offers them.
#pragma once

#include <string>
#include <vector>

#include "host/installation.h"

namespace console {

// The files of the kind folder that match the first pattern of the kind's
// filter (what the file chooser shows first, "*.mod"), sorted ignoring case.
// 0 when the installation is unknown or the folder cannot be read.
int ChoiceFiles(host::AssetKind kind, std::vector<std::string>* files);

// Checks a choice given as `option` (code page 1252): an empty one (the
// default file) passes, any other must be a plain file name of an existing
// file in the kind folder (letter case ignored). Returns kExitOk, or shows
// why with the files available and returns kExitUsage for a path (the option
// takes a name, whatever the disk holds) or kExitFailed for a name the
// installation lacks. Without a known installation the start reports that
// itself: kExitOk.
int CheckChoice(host::AssetKind kind, const char* option, const std::string& choice);

}  // namespace console
