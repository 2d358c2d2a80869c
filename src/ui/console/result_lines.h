// The result lines of the commands: one short German line per outcome on
// standard output, in the terminal's encoding. Paths in them are shown in
// their Windows form, as the tool shows paths everywhere.
#pragma once

#include <string>

namespace console {

// Writes `cp1252` and a line end to standard output.
void PrintResult(const std::string& cp1252);

// "{kind}: {file} installiert" for each kind: its choice (`choices` in the
// order of host::AssetKind, null for none), else its default file when the
// kind folder holds it (saved there by the first start), as "Standard" and a
// start without a choice put it back. Gives how many lines it printed.
int PrintInstalledFiles(const std::string* choices);

}  // namespace console
