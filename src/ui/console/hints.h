// Where zuvo's messages go, and the line it adds to a message so that the
// user knows what to do next.
#pragma once

#include <string>

namespace console {

// Messages and the layout reader's diagnostic lines go to standard error,
// so that standard output holds only results, notices and JSON.
void InstallConsoleSinks();

// From now on (when the command runs) a message is followed by its hint.
void EnableHints();

// The line that follows `message` (code page 1252, without a newline), empty
// when none does: where the installation was looked for while none is known;
// the missing data sheet of a "Dll-Modell" unit.
std::string HintAfter(const std::string& message);

}  // namespace console
