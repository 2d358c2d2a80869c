// Wine's text registry files ($WINEPREFIX/system.reg and its siblings):
// reading the default value of one key. Pure functions, no operating system;
// the text is hostile input and any bytes are handled without harm.
//
// Format notes:
//   WINE REGISTRY Version 2                 first line, required
//   ;; All keys relative to \\Machine       comment
//   #arch=win64                             option line, not a value
//   [Software\\Classes\\Sim] 1699999999     key path (escaped like a string,
//                                           so '\' appears as "\\"), time stamp
//   #time=1da2b3c4d5e6f70                   option of the key, not a value
//   @="C:\\Sim\\Sim.exe"                    default value, REG_SZ
//   "Name"=str(2):"%SystemRoot%"            REG_EXPAND_SZ (str(7): REG_MULTI_SZ)
//   "Name"=hex(2):25,00,53,00,\             bytes of type 2; for the string types
//     00,00                                 UTF-16LE; a trailing '\' continues
//   "Name"=hex:01,02                        REG_BINARY
//   "Name"=dword:0000002a                   REG_DWORD
// String escapes: \\ \" \[ \] stand for the character itself; \a \b \e \f \n
// \r \t \v; \ooo (one to three octal digits); \xHHHH (one to four hex digits,
// one UTF-16 code unit). Other bytes above 0x7F are read as UTF-8 (a byte that
// is no part of valid UTF-8 stands for itself, Latin-1). Lines may end in
// CR LF.
#pragma once

#include <string>

namespace platform {

// Finds the default value ("@") of the key `keyPath` (backslash-separated,
// relative to the file's root, code page 1252, compared ignoring case; a
// trailing backslash is ignored) in `fileText`. When the key appears more
// than once, the last default value wins, as when Wine loads the file.
//
// A string value (quoted, str(N), or hex(N) of the types 1, 2, 6 and 7) comes
// back in code page 1252; other types come back as their bytes. Either is cut
// at its first NUL, as a caller of the Windows "A" functions sees it.
//
// Returns 0 when the text is not a Wine registry file, when the key or its
// default value is missing or its line is malformed, and when the value holds
// a character that code page 1252 lacks (never a mangled value).
int FindWineRegistryDefaultValue(const std::string& fileText, const std::string& keyPath, std::string* value);

}  // namespace platform
