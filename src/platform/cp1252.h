// Code page 1252 <-> UTF-8. Pure functions, no operating system.
//
// The five byte values that code page 1252 leaves undefined (0x81, 0x8D, 0x8F,
// 0x90, 0x9D) map to the C1 control characters of the same value, as Windows
// does, so every byte string converts to UTF-8 and back unchanged.
#pragma once

#include <string>

namespace platform {

// Every byte is one character; the result is valid UTF-8.
std::string Cp1252ToUtf8(const std::string& cp1252);

// Fails (0) on invalid UTF-8 or a character that code page 1252 lacks;
// *cp1252 is then unspecified.
int Utf8ToCp1252(const std::string& utf8, std::string* cp1252);

// Upper case of a code page 1252 byte, for comparisons that ignore case as
// Windows file names do (ASCII letters and the accented Latin letters).
unsigned char Cp1252Upper(unsigned char c);

// Equality of two code page 1252 names ignoring case as above.
bool EqualsIgnoringCase(const std::string& a, const std::string& b);

}  // namespace platform
