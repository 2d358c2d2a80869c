// The result lines of the commands: one short German line per outcome on
// standard output, in the terminal's encoding. Paths in them are shown in
// their Windows form, as the tool shows paths everywhere.
#pragma once

#include <string>

namespace console {

// Writes `cp1252` and a line end to standard output.
void PrintResult(const std::string& cp1252);

}  // namespace console
