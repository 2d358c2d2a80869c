#include "map/svg_text.h"

#include <cmath>

#include "platform/cp1252.h"

namespace map {

void AppendEscaped(std::string* out, const std::string& cp1252) {
  // Bytes below 0x80 stay single bytes in UTF-8 and no longer sequence holds
  // one, so the escapes can be made on the converted text byte by byte.
  const std::string utf8 = platform::Cp1252ToUtf8(cp1252.substr(0, cp1252.find('\0')));
  for (char c : utf8) {
    switch (c) {
      case '&': *out += "&amp;"; break;
      case '<': *out += "&lt;"; break;
      case '>': *out += "&gt;"; break;
      case '"': *out += "&quot;"; break;
      case '\'': *out += "&apos;"; break;
      default:
        if (static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n' && c != '\r') {
          *out += "\xEF\xBF\xBD";
        } else {
          *out += c;
        }
    }
  }
}

void AppendNumber(std::string* out, double value) {
  const double kLimit = 1e15;
  if (!std::isfinite(value)) value = 0.0;
  value = std::fmax(-kLimit, std::fmin(kLimit, value));
  *out += std::to_string(std::llround(value));
}

}  // namespace map
