#include "platform/cp1252.h"

#include <algorithm>

namespace platform {
namespace {

// Unicode code points of the bytes 0x80 to 0x9F; the undefined ones keep
// their own value (C1 controls).
const unsigned short kHighTable[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                       0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                       0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                       0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

unsigned CodePointOf(unsigned char c) {
  if (c >= 0x80 && c < 0xA0) return kHighTable[c - 0x80];
  return c;
}

}  // namespace

std::u16string Cp1252ToUtf16(const std::string& cp1252) {
  std::u16string utf16;
  utf16.reserve(cp1252.size());
  for (char c : cp1252) utf16.push_back(static_cast<char16_t>(CodePointOf(static_cast<unsigned char>(c))));
  return utf16;
}

int DecodeUtf8At(std::string_view text, std::size_t* pos, unsigned long* codePoint) {
  if (*pos >= text.size()) return 0;
  const unsigned char lead = static_cast<unsigned char>(text[*pos]);
  const std::size_t extra = lead < 0x80             ? 0
                            : (lead & 0xE0) == 0xC0 ? 1
                            : (lead & 0xF0) == 0xE0 ? 2
                            : (lead & 0xF8) == 0xF0 ? 3
                                                    : 4;
  // extra is 4 for the bytes that cannot lead: continuation bytes, 0xF8 up.
  if (extra == 4 || extra >= text.size() - *pos) return 0;
  unsigned long value = extra == 0 ? lead : lead & (0x3Fu >> extra);
  for (std::size_t k = 1; k <= extra; ++k) {
    const unsigned char next = static_cast<unsigned char>(text[*pos + k]);
    if ((next & 0xC0) != 0x80) return 0;
    value = (value << 6) | (next & 0x3F);
  }
  static const unsigned long kMinimum[4] = {0, 0x80, 0x800, 0x10000};
  if (value < kMinimum[extra] || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
    return 0;
  }
  *pos += extra + 1;
  *codePoint = value;
  return 1;
}

void AppendUtf8(unsigned long cp, std::string* out) {
  if (cp < 0x80) {
    out->push_back(static_cast<char>(cp));
    return;
  }
  const int extra = cp < 0x800 ? 1 : cp < 0x10000 ? 2 : 3;
  static const unsigned char kLead[4] = {0, 0xC0, 0xE0, 0xF0};
  out->push_back(static_cast<char>(kLead[extra] | (cp >> (6 * extra))));
  for (int k = extra - 1; k >= 0; --k) {
    out->push_back(static_cast<char>(0x80 | ((cp >> (6 * k)) & 0x3F)));
  }
}

int CodePointToCp1252(unsigned long cp, char* byte) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
    *byte = static_cast<char>(cp);
    return 1;
  }
  for (int i = 0; i < 32; ++i) {
    if (kHighTable[i] == cp) {
      *byte = static_cast<char>(0x80 + i);
      return 1;
    }
  }
  return 0;
}

int TextFileToCp1252(const std::string& bytes, std::string* cp1252, int* utf8, int* badLine) {
  *utf8 = 0;
  *badLine = 0;
  // Valid UTF-8 with at least one sequence of more than one byte; a byte
  // order mark in front is no character of the text.
  const std::string_view bom = "\xEF\xBB\xBF";
  const std::size_t begin = std::string_view(bytes).substr(0, bom.size()) == bom ? bom.size() : 0;
  bool multiByte = begin > 0;
  for (std::size_t pos = begin; pos < bytes.size();) {
    if (static_cast<unsigned char>(bytes[pos]) < 0x80) {
      ++pos;
      continue;
    }
    unsigned long codePoint = 0;
    if (!DecodeUtf8At(bytes, &pos, &codePoint)) {
      *cp1252 = bytes;  // no UTF-8: code page 1252 as it is
      return 1;
    }
    multiByte = true;
  }
  if (!multiByte) {
    *cp1252 = bytes;
    return 1;
  }
  std::string out;
  out.reserve(bytes.size());
  int line = 1;
  for (std::size_t pos = begin; pos < bytes.size();) {
    unsigned long codePoint = 0;
    DecodeUtf8At(bytes, &pos, &codePoint);  // checked above
    char byte = 0;
    if (!CodePointToCp1252(codePoint, &byte)) {
      *badLine = line;
      return 0;
    }
    if (byte == '\n') ++line;
    out.push_back(byte);
  }
  *cp1252 = std::move(out);
  *utf8 = 1;
  return 1;
}

std::string Cp1252ToUtf8(const std::string& cp1252) {
  std::string out;
  out.reserve(cp1252.size());
  for (char c : cp1252) AppendUtf8(CodePointOf(static_cast<unsigned char>(c)), &out);
  return out;
}

std::string Cp1252ToXmlText(const std::string& cp1252, const char* replacement) {
  // Bytes below 0x80 stay single bytes in UTF-8 and no longer sequence holds
  // one, so the escapes can be made on the converted text byte by byte.
  std::string out;
  for (char c : Cp1252ToUtf8(cp1252)) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&apos;"; break;
      default:
        if (static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n' && c != '\r') {
          out += replacement;
        } else {
          out += c;
        }
    }
  }
  return out;
}

int Utf8ToCp1252(const std::string& utf8, std::string* cp1252) {
  cp1252->clear();
  std::size_t pos = 0;
  while (pos < utf8.size()) {
    unsigned long cp;
    char byte;
    if (!DecodeUtf8At(utf8, &pos, &cp) || !CodePointToCp1252(cp, &byte)) return 0;
    cp1252->push_back(byte);
  }
  return 1;
}

unsigned char Cp1252Upper(unsigned char c) {
  if (c < 0x80) return AsciiUpper(c);
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<unsigned char>(c - 32);
  switch (c) {
    case 0x9A: return 0x8A;  // s with caron
    case 0x9C: return 0x8C;  // oe
    case 0x9E: return 0x8E;  // z with caron
    case 0xFF: return 0x9F;  // y with diaeresis
    default: return c;
  }
}

bool EqualsIgnoringCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (Cp1252Upper(static_cast<unsigned char>(a[i])) != Cp1252Upper(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

std::string FoldedCase(const std::string& text) {
  std::string folded = text;
  for (char& c : folded) c = static_cast<char>(Cp1252Upper(static_cast<unsigned char>(c)));
  return folded;
}

bool LessIgnoringCase(const std::string& a, const std::string& b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return Cp1252Upper(static_cast<unsigned char>(x)) < Cp1252Upper(static_cast<unsigned char>(y));
  });
}

}  // namespace platform
