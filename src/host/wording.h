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

template <typename... Args>
std::string Wording(Why why, const Args&... args) {
  return Wording(Because(why, args...));
}

}  // namespace host
