// Text and numbers as an SVG file holds them.
#pragma once

#include <string>

namespace map {

// Appends a name of the layout (code page 1252) as XML character data that
// is also safe inside a quoted attribute: the name ends at a 0 byte (as the
// lists show it), becomes UTF-8, & < > " ' become entities, and the control
// characters that XML 1.0 forbids become U+FFFD.
void AppendEscaped(std::string* out, const std::string& cp1252);

// Appends `value` rounded to a whole number; a value that is not finite
// gives 0 and one beyond +-1e15 is held there, so the file never holds
// "nan", "inf" or an exponent.
void AppendNumber(std::string* out, double value);

}  // namespace map
