#include "map/svg_text.h"

#include <cmath>

#include "platform/cp1252.h"

namespace map {

void AppendEscaped(std::string* out, const std::string& cp1252) {
  *out += platform::Cp1252ToXmlText(cp1252.substr(0, cp1252.find('\0')), "\xEF\xBF\xBD");
}

void AppendNumber(std::string* out, double value) {
  const double kLimit = 1e15;
  if (!std::isfinite(value)) value = 0.0;
  value = std::fmax(-kLimit, std::fmin(kLimit, value));
  *out += std::to_string(std::llround(value));
}

}  // namespace map
