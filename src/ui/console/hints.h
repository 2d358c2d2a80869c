// Where zuvo's messages go, and the line it adds to a message so that the
// user knows what to do next.
#pragma once

#include <string>

#include "host/installation.h"
#include "host/reasons.h"

namespace console {

// Messages and the layout reader's diagnostic lines go to standard error,
// so that standard output holds only results, notices and JSON. The
// diagnostic lines only once ShowDiagnostics(true) was called; until then
// they are counted.
void InstallConsoleSinks();
void ShowDiagnostics(bool show);

// The diagnostic lines counted, not shown, since the last call; 0 then.
int TakeHiddenDiagnostics();

// From now on (when the command runs) a message is followed by its hint;
// the hints look into `installation`.
void EnableHints(const host::Installation& installation);

// The line that follows the message of `reason` (code page 1252, without a
// newline), empty when none does: where the installation was looked for,
// after the message that none is known; the missing data sheet of a unit
// driven by a library that cannot be used.
std::string HintAfter(const host::Reason& reason, const host::Installation& installation);

}  // namespace console
