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

// ---- confinement -------------------------------------------------------------
//
// The calls that change a file or a folder take `within`: the folder that
// the change must stay inside. Layouts come from strangers' archives, so a
// file or folder on the way may be a link planted to point elsewhere. The
// folder in which the change happens (and, where a link is followed, the
// place the link names) must lie inside `within` once resolved as the system
// resolves it (links followed; on Linux the drives of the Wine prefix). It is
// checked at the moment of the change against the folder the change happens
// in (POSIX: the operation runs relative to a folder descriptor whose real
// path was checked; Windows: a handle on the folder, opened so that it cannot
// be renamed meanwhile, whose final path was checked), so a folder swapped
// for a link after an earlier check is no way around it. `within` itself
// counts as inside. An empty `within` confines nothing: a file the user named
// himself.

// Renames `from` to `to`. Fails, and changes nothing, when `to` exists: a
// rename never replaces a file (as on Windows). A link at `from` is renamed
// itself, never followed. Fails when either folder lies outside `within`;
// *outside (when not null) then says so.
int RenameFile(const std::string& from, const std::string& to, const std::string& within, bool* outside = nullptr);

// Deletes a file (not a directory) inside `within`; a link is deleted
// itself.
int RemoveFile(const std::string& path, const std::string& within);

// Creates one directory inside `within`; its parent must exist. Fails when it
// exists already.
int MakeDirectory(const std::string& path, const std::string& within);

// The path with every component that exists spelt as it is stored (the case
// of the names on disk), the rest as written: "c:\sim\b.TXT" names the file
// "C:\Sim\B.txt". A rename that must later be undone uses these names, so the
// user's files get their own names back.
std::string StoredSpelling(const std::string& path);

// 1 when `name` (a file name without folder) has the form of a safe save's
// temporary file: ".zuvo-<pid>-XXXXXX" (XXXXXX lower-case hexadecimal; *writer
// gets the pid) or the older ".zuvo-XXXXXXXX" (*writer gets 0).
int IsTemporaryFileName(const std::string& name, long* writer = nullptr);

// Reads what is left of an open file into `bytes` (the file stays open).
// Fails on a read error, or as soon as more than `maxBytes` were read when
// `maxBytes` is above 0.
int ReadAll(std::FILE* file, std::string* bytes, long long maxBytes = 0);

// Reads a whole file into `bytes`. Fails when it cannot be opened or read, or
// when it holds more than `maxBytes` (above 0).
int ReadWholeFile(const std::string& path, std::string* bytes, long long maxBytes = 0);

// The outcome of a safe replacement.
enum class SaveOutcome {
  kSaved,         // the target now holds exactly the new bytes
  kCannotCreate,  // no temporary file could be created beside the target
  kWriteFailed,   // a write, the close or the final move failed
  kOutside,       // the target, or what a link at it names, lies outside `within`
  kReadOnly,      // the target exists and is read-only (or a folder)
};

// Replaces the file `path` with `size` bytes from `data`, safely: the bytes go
// to a temporary file in the same folder, which is moved over the target only
// when every write and the close succeeded. On any failure the old file stays
// whole and the temporary file is removed. Permissions of a replaced file are
// kept; a new file gets the usual ones. A link at `path` is followed (the file
// it names is replaced and the link stays) when what it names lies inside
// `within`; otherwise nothing is written (kOutside). A read-only file is not
// replaced (kReadOnly), as Windows refuses; on Linux a file without any write
// permission counts as read-only, as wine shows it.
SaveOutcome ReplaceFile(const std::string& path, const void* data, std::size_t size, const std::string& within);

// ---- a folder written as a whole ----------------------------------------------
//
// Many new files for one folder (the tiles of a terrain) are written as one
// batch: into a temporary folder beside the target, "<parent>\.zuvo-neu-<name>",
// each file without a flush of its own; then all are flushed together once
// and put in place. A new target is the temporary folder renamed (then the
// parent is flushed); into an existing one the files are moved one by one,
// each replacing the old file of its name at once. Before an existing target
// changes, the marker file kIncompleteMarker is written into it, and it is
// removed as the very last step. So a target without the marker holds one
// whole batch, or what it held before; one with the marker is incomplete.
//
// A batch cut off (a failure, an interrupt, the process killed) leaves every
// file of the target whole: old, or new once moving began, when the marker
// stays. A batch abandoned before it was put in place removes its temporary
// folder and the marker it wrote, so the target is as before. A temporary
// folder that a killed batch left is emptied and reused by the next batch.
//
// Confined as every change (see above): the parent folder must lie inside
// `within`, and so must what a link at the target's name names (a link at a
// file name of the target too); a link at the temporary folder's or the
// marker's name is refused, never followed or removed.

extern const char kIncompleteMarker[];  // ".zuvo-unvollstaendig"

// 1 when the folder `folder` holds the marker: a batch into it was cut off.
// The marker is looked up by its exact name (a batch writes no other), so
// the folder is not read.
int HoldsIncompleteMarker(const std::string& folder);

// The name of a batch's temporary folder for a target named `name`.
std::string BatchFolderName(const std::string& name);

struct FolderBatchState;  // what the implementation holds open

struct FolderBatch {
  FolderBatch();
  ~FolderBatch();  // abandons a batch that was begun and not finished
  FolderBatch(const FolderBatch&) = delete;
  FolderBatch& operator=(const FolderBatch&) = delete;

  bool replacing = false;  // the target existed when the batch began
  // The target's entries as listed once when the batch began (replacing
  // only; the marker left out), with what each names as PathStatus tells it.
  std::vector<std::pair<std::string, int>> targetEntries;
  FolderBatchState* state = nullptr;
};

// Begins a batch for the folder `target`: makes or empties the temporary
// folder and, when the target exists, writes the marker into it. kSaved when
// begun; kOutside for a folder or link outside `within` or a link at the
// temporary folder's or the marker's name; kReadOnly when a file is in the
// target's place; kCannotCreate when a folder or the marker cannot be made.
SaveOutcome BeginFolderBatch(const std::string& target, const std::string& within, FolderBatch* batch);

// Writes the file `name` (a plain name) of the batch, not yet in place. May
// be called from several threads at once. kOutside when the target's file of
// that name is a link leading outside `within`; kReadOnly when it is
// read-only or a folder; kCannotCreate or kWriteFailed as ReplaceFile. A
// failed file leaves nothing in the temporary folder.
SaveOutcome WriteBatchFile(FolderBatch* batch, const std::string& name, const void* data, std::size_t size);

// Flushes every file written, puts them in place and removes the marker.
// kSaved when done; otherwise kWriteFailed, and *failedName (when not null)
// names the file that could not be moved, empty when the folder itself
// failed. The batch then still needs abandoning (or its destructor).
SaveOutcome FinishFolderBatch(FolderBatch* batch, std::string* failedName = nullptr);

// Removes the temporary folder with what was written into it, and the marker
// when this batch wrote it and nothing was moved yet. Nothing for a batch
// finished or never begun.
void AbandonFolderBatch(FolderBatch* batch);

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
// meanwhile are passed on to the program (interrupt.h).
//
// The program is created held back: `onStarted`, when given, gets its
// process id before it can run a single step of its own (POSIX: the child
// waits on a pipe before its exec; Windows: created suspended, in a job that
// ends it should this process die first). Only when onStarted returns
// non-zero does the program run; otherwise it is ended unrun and RunAndWait
// returns 0. Should this process die before that, the program never runs.
//
// While the program runs, `whileRunning`, when given, is called about once a
// second with the whole seconds it has run (1, 2, ...), on this thread; it
// then learns of the program's end within a tenth of a second.
int RunAndWait(const std::string& program, const std::vector<std::string>& args, int* exitCode, int* signal = nullptr,
               const std::function<int(long pid)>& onStarted = nullptr,
               const std::function<void(int seconds)>& whileRunning = nullptr);

// The program RunAndWait would need to start `program` that cannot be found:
// on POSIX systems, for a Windows program, the loader named by $WINE (else
// "wine") when it is not there; empty when nothing is missing, and always on
// Windows. Lets a failed start say what is missing.
std::string MissingLoaderOf(const std::string& program);

// ---- process identity --------------------------------------------------------------

// This process's id.
long OwnProcessId();

// When process `pid` started, as text that tells it apart from a later
// process given the same id (on Linux the boot and the start in clock ticks
// since it, on Windows the creation time). Empty when there is no such
// process; a child that has ended but was not waited for still has one.
std::string ProcessStartTime(long pid);

// The name of this computer; empty when it cannot be read. Under wine the
// Linux host name, as a native program gives it, so both name it alike.
std::string HostName();

// Whether something still runs, as far as this system can tell.
enum Liveness { kDead = 0, kAlive = 1, kCannotTell = 2 };

// Whether process `pid`, started at `startTime` (as ProcessStartTime gave
// it), runs on this computer. kDead for an empty start time or a pid below 1.
// A start time of the Linux form ("BOOTID:TICKS") is judged through the Linux
// process table (natively, and under wine through drive Z:); one of the
// Windows form (digits only) through the Windows process list (on Windows, and
// under wine for the processes of the same prefix). kCannotTell where the
// form cannot be judged here, or a process exists that may not be examined.
int ProcessLiveness(long pid, const std::string& startTime);

// The system this process runs on.
enum class SystemKind { kLinux, kWindows, kWine };
SystemKind ThisSystem();
// "Linux", "Windows", "Wine": the names a run journal stores.
const char* SystemName(SystemKind kind);
// The kind named by SystemName's text; 0 for any other text.
int SystemKindOf(const std::string& name, SystemKind* kind);

// The Wine prefix as a Unix path: natively the one this process uses
// ($WINEPREFIX, else ~/.wine), under wine the one it runs in. Empty on
// Windows and when it cannot be learned.
std::string WinePrefixPath();

// Whether a program named `programName` ("Kantrelwick.exe") still runs in
// the Wine prefix at the Unix path `prefix`: kDead when that prefix's wine
// server is not running or runs no such program, kAlive when it does,
// kCannotTell where this system cannot see it (on Windows, or under wine for
// another prefix than its own).
int WineProgramLiveness(const std::string& prefix, const std::string& programName);

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

// A Windows path as a message shows it to someone who types Unix paths: on
// Linux the Unix path in code page 1252 ('?' for what it lacks), the drive's
// folder resolved, so that the prefix's "C:\Sim" reads ".../drive_c/Sim"; the
// text itself on Windows, and for anything but an absolute path on an
// existing drive.
std::string UnixPathForText(const std::string& windowsPath);

// Whether a path from the command line is written as a Unix path: on Linux
// any path but one that starts with its drive ("C:\..." or "C:/..."); never
// on Windows.
bool IsUnixStyleArgument(const std::string& argument);

// The absolute, resolved form of a Windows path, in which two names of one
// file are equal bytes (on Linux links followed, on Windows case folded);
// empty when it cannot be resolved.
std::string RealPathOf(const std::string& windowsPath);

// Text in code page 1252 as the terminal shows it (UTF-8 on Linux).
std::string ToConsoleText(const std::string& cp1252);

}  // namespace platform
