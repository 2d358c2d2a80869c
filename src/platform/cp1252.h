// Code page 1252 <-> UTF-8. Pure functions, no operating system.
//
// The five byte values that code page 1252 leaves undefined (0x81, 0x8D, 0x8F,
// 0x90, 0x9D) map to the C1 control characters of the same value, as Windows
// does, so every byte string converts to UTF-8 and back unchanged.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

// Every byte is one character; the result is valid UTF-8.
std::string Cp1252ToUtf8(const std::string& cp1252);

// Text in code page 1252 as UTF-8 XML character data that is also safe inside
// a quoted attribute: & < > " ' become entities, and each control character
// that XML 1.0 forbids (all below 0x20 but tab, LF and CR) becomes
// `replacement`.
std::string Cp1252ToXmlText(const std::string& cp1252, const char* replacement);

// Every byte is one UTF-16 unit: code page 1252 has no character beyond the
// Basic Multilingual Plane. For the wide console functions of Windows.
std::u16string Cp1252ToUtf16(const std::string& cp1252);

// Fails (0) on invalid UTF-8 or a character that code page 1252 lacks;
// *cp1252 is then unspecified.
int Utf8ToCp1252(const std::string& utf8, std::string* cp1252);

// The text of a file that is written in code page 1252 or in UTF-8. Bytes
// that are valid UTF-8 with at least one sequence of more than one byte (a
// byte order mark in front is dropped) are UTF-8: converted into *cp1252,
// and *utf8 is set to 1. Any other bytes (plain ASCII, code page 1252) are
// copied as they are, *utf8 0. Fails (0) for UTF-8 with a character that
// code page 1252 lacks; *badLine (from 1) then names its line.
int TextFileToCp1252(const std::string& bytes, std::string* cp1252, int* utf8, int* badLine);

// Decodes the UTF-8 sequence at text[*pos] into *codePoint and moves *pos
// past it. Fails (0, *pos unchanged) at the end of the text and on a
// malformed sequence: a stray or missing continuation byte, an over-long
// form, a surrogate half, or a value beyond U+10FFFF.
int DecodeUtf8At(std::string_view text, std::size_t* pos, unsigned long* codePoint);

// Appends the UTF-8 form of a code point up to U+10FFFF.
void AppendUtf8(unsigned long codePoint, std::string* utf8);

// The code page 1252 byte of a Unicode code point; 0 when the code page
// lacks the character.
int CodePointToCp1252(unsigned long codePoint, char* byte);

// Upper case of an ASCII letter (a to z); every other byte unchanged. For
// names that are equal but for the case of A to Z only.
inline unsigned char AsciiUpper(unsigned char c) {
  return c >= 'a' && c <= 'z' ? static_cast<unsigned char>(c - 'a' + 'A') : c;
}

// Equality ignoring the case of A to Z only: accented letters must match.
// Inline: the layout asks it of every unit it loads.
inline bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (AsciiUpper(static_cast<unsigned char>(a[i])) != AsciiUpper(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

// Upper case of a code page 1252 byte, for comparisons that ignore case as
// Windows file names do (ASCII letters and the accented Latin letters).
unsigned char Cp1252Upper(unsigned char c);

// Equality of two code page 1252 names ignoring case as above.
bool EqualsIgnoringCase(const std::string& a, const std::string& b);

// `text` with every letter in upper case (Cp1252Upper): the key under which
// names that differ only in case are one.
std::string FoldedCase(const std::string& text);

// Whether `a` sorts before `b` with letters compared ignoring case, as the
// dialog's lists sort.
bool LessIgnoringCase(const std::string& a, const std::string& b);

}  // namespace platform
