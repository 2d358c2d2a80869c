// The operating system, seen through one small interface.
//
// Nothing above this folder includes <windows.h> or a POSIX header. Every path
// that crosses this interface is a Windows path in code page 1252 with
// backslashes ("C:\Sim\Mods\Prellbock.mod", "Anlagen\Berg.anl"), exactly as on
// Windows. The Win32 implementation hands it to the real calls; the POSIX
// implementation translates it following Wine's conventions (drive letters
// through $WINEPREFIX/dosdevices, case-insensitive lookup, code page 1252 names
// stored as UTF-8).
//
// Result contract: functions returning int give non-zero for success and 0 for
// failure, unless their comment says otherwise. Nothing here shows a message;
// callers report failures in their own words.
#pragma once

#include <cstddef>
#include <cstdio>
#include <functional>
#include <string>
#include <utility>
#include <vector>

// <windows.h> maps ReplaceFile to the API's ReplaceFileA. A file that needs
// both includes <windows.h> first; this interface's function is then meant.
#ifdef ReplaceFile
#undef ReplaceFile
#endif

namespace platform {

// ---- files -----------------------------------------------------------------

// fopen() on the translated path. Always pass a binary mode ("rb", "wb", "ab"):
// text files are read and written with explicit CR LF by their own code.
std::FILE* OpenFile(const std::string& path, const char* mode);

enum PathType { kPathNone = 0, kPathFile = 1, kPathDirectory = 2 };

// What the path names: kPathNone when its status cannot be read.
int PathStatus(const std::string& path);

// The entries of the folder `path` with what each names (as PathStatus tells
// it, links followed), in the order of the directory; "." and ".." left out,
// and on Linux the names that code page 1252 cannot hold, as the lookup that
// ignores case skips them. Fails when the folder cannot be read.
int ListFolder(const std::string& path, std::vector<std::pair<std::string, int>>* entries);

// Renames `from` to `to`. Fails, and changes nothing, when `to` exists: a
// rename never replaces a file (as on Windows).
int RenameFile(const std::string& from, const std::string& to);

// Deletes a file (not a directory).
int RemoveFile(const std::string& path);

// Creates one directory; its parent must exist. Fails when it exists already.
int MakeDirectory(const std::string& path);

// Reads a whole file into `bytes`. Fails when it cannot be opened or read.
int ReadWholeFile(const std::string& path, std::string* bytes);

// The outcome of a safe replacement.
enum class SaveOutcome {
  kSaved,         // the target now holds exactly the new bytes
  kCannotCreate,  // no temporary file could be created beside the target
  kWriteFailed,   // a write, the close or the final move failed
};

// Replaces the file `path` with `size` bytes from `data`, safely: the bytes go
// to a temporary file in the same folder, which is moved over the target only
// when every write and the close succeeded. On any failure the old file stays
// whole and the temporary file is removed. Permissions of a replaced file are
// kept; a new file gets the usual ones. On Windows a read-only file is not
// replaced (kCannotCreate), as opening it for writing would fail.
SaveOutcome ReplaceFile(const std::string& path, const void* data, std::size_t size);

// ---- current directory -------------------------------------------------------

// A bare drive ("C:") means that drive's root.
int ChangeDirectory(const std::string& path);

// The current directory as a Windows path without a trailing backslash
// (except for a drive root such as "C:\").
std::string CurrentDirectory();

// ---- registry ------------------------------------------------------------------

// Reads the default (unnamed) value of `subkey` under HKEY_LOCAL_MACHINE as
// text in code page 1252. The value's type is not checked. Fails when the key
// or the value does not exist.
int ReadMachineDefaultValue(const std::string& subkey, std::string* value);

// Where ReadMachineDefaultValue looks, as a German phrase for messages:
// "im Wine-Prefix /home/anna/.wine (Datei /home/anna/.wine/system.reg)" on
// Linux, "in der Registry" on Windows.
std::string MachineRegistryPlace();

// ---- processes -----------------------------------------------------------------

// Starts `program` with the argument vector `args` (args[0] is the program's
// own name, as the C runtime's spawn functions take it) and waits for its end.
// Returns 1 when the program ran; its exit code goes to *exitCode when that is
// not null (128 + N for a program killed by signal N), and to *signal the
// number of the signal that killed it, 0 when it exited (always 0 on
// Windows). Returns 0 when it could not be started. Interrupts that arrive
// meanwhile are passed on to the program (interrupt.h). `onStarted`, when
// given, gets the program's process id once it runs, before the wait.
int RunAndWait(const std::string& program, const std::vector<std::string>& args,
               int* exitCode, int* signal = nullptr,
               const std::function<void(long pid)>& onStarted = nullptr);

// ---- process identity --------------------------------------------------------------

// This process's id.
long OwnProcessId();

// When process `pid` started, as text that tells it apart from a later
// process given the same id (on Linux the boot and the start in clock ticks
// since it, on Windows the creation time). Empty when there is no such
// process; a child that has ended but was not waited for still has one.
std::string ProcessStartTime(long pid);

// The name of this computer; empty when it cannot be read.
std::string HostName();

// 1 while process `pid`, started at `startTime` (as ProcessStartTime gave
// it), runs on this computer. 0 for an empty start time. A process that
// cannot be examined, or a start time of another system's form, counts as
// running.
int IsProcessAlive(long pid, const std::string& startTime);

// ---- paths from outside ----------------------------------------------------------

// Turns a path from the command line or a file dialog (on Linux a Unix path in
// UTF-8 or a Windows path of the prefix with its drive, "C:\..." or "C:/...";
// on Windows a path in the ANSI code page) into the absolute Windows form used
// inside the system. Fails, with a German sentence in *error, for a path it
// cannot map (on Linux the sentence names the forms that work).
int ToWindowsPath(const std::string& native, std::string* windows, std::string* error);

// The path as the operating system names it: on Windows the path itself; on
// Linux the translated Unix path in UTF-8 (an existing entry found ignoring
// case when the path does not exist as written). Empty when the drive does not
// exist or the name cannot be translated.
std::string NativePathOf(const std::string& windowsPath);

// The absolute, resolved form of a Windows path, in which two names of one
// file are equal bytes (on Linux links followed, on Windows case folded);
// empty when it cannot be resolved.
std::string RealPathOf(const std::string& windowsPath);

// Text in code page 1252 as the terminal shows it (UTF-8 on Linux).
std::string ToConsoleText(const std::string& cp1252);

}  // namespace platform
