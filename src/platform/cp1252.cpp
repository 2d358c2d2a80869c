#include "platform/cp1252.h"

namespace platform {
namespace {

// Unicode code points of the bytes 0x80 to 0x9F; the undefined ones keep
// their own value (C1 controls).
const unsigned short kHighTable[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

unsigned CodePointOf(unsigned char c) {
  if (c >= 0x80 && c < 0xA0) return kHighTable[c - 0x80];
  return c;
}

void AppendUtf8(unsigned cp, std::string* out) {
  if (cp < 0x80) {
    out->push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out->push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out->push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out->push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out->push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

// Decodes one UTF-8 sequence at s[*pos]; 0 on a malformed sequence.
int DecodeUtf8(const std::string& s, std::size_t* pos, unsigned* cp) {
  unsigned char c = static_cast<unsigned char>(s[*pos]);
  int extra;
  unsigned value;
  if (c < 0x80) {
    *cp = c;
    ++*pos;
    return 1;
  } else if ((c & 0xE0) == 0xC0) {
    extra = 1;
    value = c & 0x1F;
  } else if ((c & 0xF0) == 0xE0) {
    extra = 2;
    value = c & 0x0F;
  } else if ((c & 0xF8) == 0xF0) {
    extra = 3;
    value = c & 0x07;
  } else {
    return 0;
  }
  if (*pos + static_cast<std::size_t>(extra) >= s.size()) return 0;
  for (int i = 1; i <= extra; ++i) {
    unsigned char d = static_cast<unsigned char>(s[*pos + i]);
    if ((d & 0xC0) != 0x80) return 0;
    value = (value << 6) | (d & 0x3F);
  }
  static const unsigned kMinimum[4] = {0, 0x80, 0x800, 0x10000};
  if (value < kMinimum[extra] || value > 0x10FFFF) return 0;
  *pos += static_cast<std::size_t>(extra) + 1;
  *cp = value;
  return 1;
}

}  // namespace

std::string Cp1252ToUtf8(const std::string& cp1252) {
  std::string out;
  out.reserve(cp1252.size());
  for (char c : cp1252) AppendUtf8(CodePointOf(static_cast<unsigned char>(c)), &out);
  return out;
}

int Utf8ToCp1252(const std::string& utf8, std::string* cp1252) {
  cp1252->clear();
  std::size_t pos = 0;
  while (pos < utf8.size()) {
    unsigned cp;
    if (!DecodeUtf8(utf8, &pos, &cp)) return 0;
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
      cp1252->push_back(static_cast<char>(cp));
      continue;
    }
    int found = -1;
    for (int i = 0; i < 32; ++i) {
      if (kHighTable[i] == cp) found = i;
    }
    if (found < 0) return 0;
    cp1252->push_back(static_cast<char>(0x80 + found));
  }
  return 1;
}

unsigned char Cp1252Upper(unsigned char c) {
  if (c >= 'a' && c <= 'z') return static_cast<unsigned char>(c - 32);
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
    if (Cp1252Upper(static_cast<unsigned char>(a[i])) !=
        Cp1252Upper(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

}  // namespace platform
