// Translation between Windows paths (code page 1252, backslashes) and Unix
// paths (UTF-8), following Wine's conventions. Internal to the POSIX
// implementation.
//
// Windows -> Unix: "X:\rest" goes through $WINEPREFIX/dosdevices/x: (without
// such an entry "Z:" is "/" and any other drive does not exist); "\rest" is on
// the current directory's drive; anything else is relative to the current
// directory, and "X:rest" is relative to the current directory when that is
// on drive X, else to the root of X. '\' and '/' both separate, "." and ".."
// are folded by name as Windows does. A path that does not exist as written
// is looked up component by component ignoring case (an exact match wins); a
// component that is not found keeps the case written, and so does the rest.
//
// Unix -> Windows ("winepath -w"): made absolute against the current
// directory, "." and ".." folded, then the drive whose folder is the deepest
// existing ancestor of the path (compared by identity, so links to a drive
// count) gives the letter; without one the path is on "Z:" when Z: is the
// root folder.
#pragma once

#include <string>
#include <vector>

namespace platform {
namespace posix {

// The Wine prefix: $WINEPREFIX, else $HOME/.wine; no trailing slash. A
// relative $WINEPREFIX is taken against the current directory. Empty when
// neither variable is set.
std::string WinePrefix();

// "X:\rest" or "X:/rest": a Windows path with its drive, as the prefix names it.
bool IsDrivePath(const std::string& path);

// Code page 1252 text of a UTF-8 name for a message: characters that code
// page 1252 lacks become '?'.
std::string ForMessage(const std::string& utf8);

// The Unix folder that drive `letter` ('a' to 'z') stands for: its dosdevices
// entry, "/" for 'z' without one, empty when the drive does not exist.
std::string DriveRoot(char letter);

// The current directory as a Unix path; 0 when it cannot be read.
int CurrentUnixDirectory(std::string* directory);

// Windows -> Unix as described above. Fails for an empty path, a UNC path
// ("\\server\share"), a NUL byte, a drive that does not exist, and a relative
// path when the current directory has no Windows form.
int ToNative(const std::string& windows, std::string* native);

// The absolute form of the Windows path `windows` with each component that
// exists spelt as stored on disk (found as ToNative finds it), the rest as
// written. Fails as ToNative does.
int StoredSpelling(const std::string& windows, std::string* stored);

// Unix (UTF-8) -> absolute Windows path (code page 1252). A path that starts
// with a drive ("C:\..." or "c:/...") is a Windows path of the prefix already:
// it gets backslashes, an upper-case drive letter and "." and ".." folded, and
// its drive must exist. Fails with a German sentence in *error for an empty
// path, a NUL byte, invalid UTF-8, a character that code page 1252 lacks, a
// drive that does not exist, a backslash or colon in a name, and a path on no
// drive.
int ToWindows(const std::string& unixPath, std::string* windows, std::string* error);

}  // namespace posix
}  // namespace platform
