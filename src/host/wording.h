// The catalogue: the German text of every reason (host/reasons.h), code page
// 1252, exactly as the tool has always shown it. The dialog's message boxes,
// the console's lines and the tests all take their texts from here.
#pragma once

#include <string>

#include "host/reasons.h"

namespace host {

// The text of `reason`, its arguments put in place in order. A message ends
// with a line end where it always did; a notice, a question and a result
// line do not.
std::string Wording(const Reason& reason);

// How the catalogue writes the paths it puts into a text (the Windows paths
// the system works with): as they are by default, which the dialog keeps;
// the console installs the Unix form for a user who types Unix paths.
using PathForm = std::string (*)(const std::string& windowsPath);
void SetPathForm(PathForm form);
// A path in the installed form, for a text the catalogue does not hold.
std::string ShownPath(const std::string& windowsPath);

template <typename... Args>
std::string Wording(Why why, const Args&... args) {
  return Wording(Because(why, args...));
}

}  // namespace host
