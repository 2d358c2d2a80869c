#include "platform/wine_registry.h"

#include <string_view>

#include "platform/cp1252.h"

namespace platform {
namespace {

using View = std::string_view;

// The lines of the file, without their LF or CR LF.
class LineReader {
 public:
  explicit LineReader(View text) : text_(text) {}

  bool Next(View* line) {
    if (pos_ >= text_.size()) return false;
    std::size_t end = text_.find('\n', pos_);
    if (end == View::npos) end = text_.size();
    *line = text_.substr(pos_, end - pos_);
    if (!line->empty() && line->back() == '\r') line->remove_suffix(1);
    pos_ = end + 1;
    return true;
  }
  std::size_t Position() const { return pos_; }
  void Rewind(std::size_t position) { pos_ = position; }

 private:
  View text_;
  std::size_t pos_ = 0;
};

bool IsHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

unsigned HexValue(char c) {
  if (c >= '0' && c <= '9') return static_cast<unsigned>(c - '0');
  if (c >= 'a' && c <= 'f') return static_cast<unsigned>(c - 'a' + 10);
  return static_cast<unsigned>(c - 'A' + 10);
}

void SkipSpaces(View s, std::size_t* i) {
  while (*i < s.size() && (s[*i] == ' ' || s[*i] == '\t')) ++*i;
}

bool Skip(View s, std::size_t* i, View expected) {
  if (s.substr(*i, expected.size()) != expected) return false;
  *i += expected.size();
  return true;
}

// One to `maxDigits` hex digits at s[*i].
bool ParseHexNumber(View s, std::size_t* i, int maxDigits, unsigned long* number) {
  int digits = 0;
  *number = 0;
  while (*i < s.size() && IsHexDigit(s[*i])) {
    if (++digits > maxDigits) return false;
    *number = *number * 16 + HexValue(s[*i]);
    ++*i;
  }
  return digits > 0;
}

// A raw byte above 0x7F at s[*i]: the code point of a valid UTF-8 sequence
// starting there, else the byte itself.
unsigned long DecodeRaw(View s, std::size_t* i) {
  unsigned long cp;
  if (DecodeUtf8At(s, i, &cp)) return cp;
  return static_cast<unsigned char>(s[(*i)++]);
}

// An escaped string from s[*i] up to the unescaped `end`, which is consumed.
// False when the line ends first.
bool ParseString(View s, std::size_t* i, char end, std::u32string* out) {
  out->clear();
  while (*i < s.size()) {
    char c = s[*i];
    if (c == end) {
      ++*i;
      return true;
    }
    if (static_cast<unsigned char>(c) >= 0x80) {
      out->push_back(DecodeRaw(s, i));
      continue;
    }
    if (c != '\\') {
      out->push_back(static_cast<char32_t>(c));
      ++*i;
      continue;
    }
    if (*i + 1 >= s.size()) return false;
    char e = s[*i + 1];
    *i += 2;
    switch (e) {
      case 'a': out->push_back(U'\a'); break;
      case 'b': out->push_back(U'\b'); break;
      case 'e': out->push_back(static_cast<char32_t>(0x1B)); break;
      case 'f': out->push_back(U'\f'); break;
      case 'n': out->push_back(U'\n'); break;
      case 'r': out->push_back(U'\r'); break;
      case 't': out->push_back(U'\t'); break;
      case 'v': out->push_back(U'\v'); break;
      case 'x': {
        unsigned long unit;
        if (*i < s.size() && IsHexDigit(s[*i])) {
          ParseHexNumber(s, i, 4, &unit);
        } else {
          unit = 'x';
        }
        // More than four digits: the fifth starts the next character.
        out->push_back(static_cast<char32_t>(unit));
        break;
      }
      case '0':
      case '1':
      case '2':
      case '3':
      case '4':
      case '5':
      case '6':
      case '7': {
        unsigned unit = static_cast<unsigned>(e - '0');
        for (int digits = 1; digits < 3 && *i < s.size() && s[*i] >= '0' && s[*i] <= '7'; ++digits) {
          unit = unit * 8 + static_cast<unsigned>(s[*i] - '0');
          ++*i;
        }
        out->push_back(static_cast<char32_t>(unit));
        break;
      }
      default:
        // "\\", "\"", "\[" and any other escaped character stand for themselves.
        --*i;
        if (static_cast<unsigned char>(e) >= 0x80) {
          out->push_back(DecodeRaw(s, i));
        } else {
          out->push_back(static_cast<char32_t>(e));
          ++*i;
        }
        break;
    }
  }
  return false;
}

// Code points -> code page 1252; fails on a character that code page 1252
// lacks (surrogate halves included).
bool Utf32ToCp1252(const std::u32string& text, std::string* cp1252) {
  cp1252->clear();
  for (char32_t cp : text) {
    char byte;
    if (!CodePointToCp1252(cp, &byte)) return false;
    cp1252->push_back(byte);
  }
  return true;
}

// Comma-separated hex bytes from line[i], continued on the following lines
// while a line ends in a backslash.
bool ParseHexBytes(View line, std::size_t i, LineReader* lines, std::string* bytes) {
  for (;;) {
    SkipSpaces(line, &i);
    while (i < line.size() && IsHexDigit(line[i])) {
      unsigned long byte;
      if (!ParseHexNumber(line, &i, 2, &byte)) return false;
      bytes->push_back(static_cast<char>(byte));
      SkipSpaces(line, &i);
      if (i < line.size() && line[i] == ',') ++i;
      SkipSpaces(line, &i);
    }
    if (i == line.size()) return true;
    if (line[i] != '\\') return false;
    ++i;
    SkipSpaces(line, &i);
    if (i != line.size()) return false;
    // The next line continues the list; anything but hex digits there is a
    // line of its own, left for the caller.
    std::size_t mark = lines->Position();
    View next;
    if (!lines->Next(&next)) return false;
    std::size_t j = 0;
    SkipSpaces(next, &j);
    if (j < next.size() && !IsHexDigit(next[j])) {
      lines->Rewind(mark);
      return false;
    }
    line = next;
    i = j;
  }
}

struct Value {
  bool isString = false;
  std::u32string text;  // string types
  std::string bytes;    // other types
};

bool IsStringType(unsigned long type) { return type == 1 || type == 2 || type == 6 || type == 7; }

// The data after the value's name: "=" and one of the forms in the header.
bool ParseValueData(View line, std::size_t i, LineReader* lines, Value* value) {
  SkipSpaces(line, &i);
  if (!Skip(line, &i, "=")) return false;
  SkipSpaces(line, &i);
  unsigned long type;
  if (Skip(line, &i, "\"")) {
    value->isString = true;
    return ParseString(line, &i, '"', &value->text);
  }
  if (Skip(line, &i, "str(")) {
    if (!ParseHexNumber(line, &i, 8, &type) || !Skip(line, &i, "):\"")) return false;
    value->isString = true;
    return ParseString(line, &i, '"', &value->text);
  }
  if (Skip(line, &i, "dword:")) {
    unsigned long number;
    if (!ParseHexNumber(line, &i, 8, &number)) return false;
    for (int k = 0; k < 4; ++k) {
      value->bytes.push_back(static_cast<char>((number >> (8 * k)) & 0xFF));
    }
    return true;
  }
  if (Skip(line, &i, "hex:")) return ParseHexBytes(line, i, lines, &value->bytes);
  if (Skip(line, &i, "hex(")) {
    if (!ParseHexNumber(line, &i, 8, &type) || !Skip(line, &i, "):")) return false;
    if (!ParseHexBytes(line, i, lines, &value->bytes)) return false;
    if (IsStringType(type)) {
      value->isString = true;
      for (std::size_t k = 0; k + 1 < value->bytes.size(); k += 2) {
        value->text.push_back(static_cast<char32_t>(static_cast<unsigned char>(value->bytes[k]) |
                                                    (static_cast<unsigned char>(value->bytes[k + 1]) << 8)));
      }
      value->bytes.clear();
    }
    return true;
  }
  return false;
}

std::string WithoutTrailingBackslashes(std::string path) {
  while (!path.empty() && path.back() == '\\') path.pop_back();
  return path;
}

}  // namespace

int FindWineRegistryDefaultValue(const std::string& fileText, const std::string& keyPath, std::string* value) {
  View text(fileText);
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  LineReader lines(text);
  View line;
  if (!lines.Next(&line)) return 0;
  std::size_t i = 0;
  if (!Skip(line, &i, "WINE REGISTRY Version 2")) return 0;
  SkipSpaces(line, &i);
  if (i != line.size()) return 0;

  const std::string wanted = WithoutTrailingBackslashes(keyPath);
  bool inKey = false;
  bool found = false;
  Value result;
  std::u32string name;
  std::string keyName;
  while (lines.Next(&line)) {
    i = 0;
    SkipSpaces(line, &i);
    if (i >= line.size()) continue;
    char first = line[i++];
    if (first == '[') {
      inKey = ParseString(line, &i, ']', &name) && Utf32ToCp1252(name, &keyName) &&
              EqualsIgnoringCase(WithoutTrailingBackslashes(keyName), wanted);
      continue;
    }
    if (!inKey) continue;
    if (first == '"') {
      // A named value; the empty name is the default value too.
      if (!ParseString(line, &i, '"', &name) || !name.empty()) continue;
    } else if (first != '@') {
      continue;
    }
    Value parsed;
    if (ParseValueData(line, i, &lines, &parsed)) {
      result = parsed;
      found = true;
    }
  }
  if (!found) return 0;

  if (result.isString) {
    std::size_t nul = result.text.find(U'\0');
    if (nul != std::u32string::npos) result.text.resize(nul);
    std::string converted;
    if (!Utf32ToCp1252(result.text, &converted)) return 0;
    *value = converted;
  } else {
    std::size_t nul = result.bytes.find('\0');
    if (nul != std::string::npos) result.bytes.resize(nul);
    *value = result.bytes;
  }
  return 1;
}

}  // namespace platform
