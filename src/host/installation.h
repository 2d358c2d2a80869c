// The simulator's installation: where it is, what exists in it, and the four
// replaceable assets (asset kinds).
//
// The host directory comes from the default value of the registry key
// "SOFTWARE\Classes\Kantrelwick\shell\open\command" under HKEY_LOCAL_MACHINE
// (the command that opens the simulator's files), or from an override that
// the front end sets (zuvo --host DIR). It ends in a backslash.
//
// Result contract: non-zero is success (or "yes"), 0 failure; nothing here
// shows a message, the callers report in their own words.
#pragma once

#include <string>

namespace host {

// The host directory with its trailing backslash, or null when unknown. The
// first successful lookup is kept for the rest of the run; a failed lookup is
// tried again at the next call. The pointer stays valid until the cache is
// reset.
const char* HostDirectory();

// The registry key under HKEY_LOCAL_MACHINE whose default value names the
// simulator's command, for messages that tell where the lookup looked.
const char* HostCommandKey();

// Names the installation folder directly (a Windows path; a trailing
// backslash is added when missing). An empty text removes the override.
void SetHostDirectoryOverride(const std::string& directory);

// Forgets the cached host directory (tests, and after an override changes).
void ResetHostDirectoryCache();

// The host directory taken from a registry command value: the folder of the
// program path between the quotes when the value starts with a double quote
// ("C:\Program Files\Sim\Kantrelwick.exe" "%1" -> C:\Program Files\Sim\),
// otherwise everything up to and including the last backslash
// (C:\Sim\Kantrelwick.exe %1 -> C:\Sim\). The value ends at its first NUL, as
// a C string would. Empty when there is no backslash.
std::string HostDirectoryFromCommand(const std::string& command);

// Reads the registry command value; 0 when there is none. Tests replace it
// to run without an installation on any platform; null restores the registry.
using CommandValueReader = int (*)(std::string* command);
void SetCommandValueReader(CommandValueReader reader);

// Where the objects named in a layout lie, relative to the host directory (a
// GBO's name is its path), and the existence check: 1 when {host}{relative}
// exists, 0 otherwise or when the host directory is unknown, so that every
// object then counts as missing. host::FolderIndex answers the same for many
// paths.
std::string ModelPath(const std::string& name);         // Modelle\{name}.mod
std::string RollingStockPath(const std::string& name);  // Rollmaterial\{name}
int HostPathExists(const std::string& relative);

// 1 when {host}{relative} exists and is a directory; 0 otherwise or when the
// host directory is unknown.
int IsHostSubdirectory(const std::string& relative);

// The four asset kinds, in the order in which every command handles them.
enum AssetKind { kBufferStop = 0, kCatenary = 1, kGuidePost = 2, kGroundTexture = 3 };
const int kAssetKindCount = 4;

// Everything the commands know of one kind. The dialog's member and button of
// a kind are in app/asset_kind_controls.h, in the same order.
struct AssetKindInfo {
  const char* name;           // kind folder and settings key: "Prellbock", ...
  const char* defaultFile;    // default file inside the kind folder
  const char* activeFile;     // active file, relative to the host directory
  const char* filter;         // the file dialog's filter when a file is chosen
};

const AssetKindInfo& AssetKindOf(AssetKind kind);

// Copies the kind's active file to its default file in the kind folder unless
// the default file exists already. 1 when the default file exists afterwards.
int SaveOriginal(AssetKind kind);

// Copies {kind folder}\{file} over the kind's active file. 1 when copied; 0
// without a copy when `file` is not a plain file name (see host/installation_path.h).
int InstallChoice(const std::string& file, AssetKind kind);

// Copies the file `source` over `destination` (full Windows paths) through a
// safe replacement inside `within`. 0 when the source cannot be read or the
// destination cannot be written; the destination then stays as it was. Of
// the causes only a link leading out of `within` is shown here.
int CopyFileContents(const std::string& destination, const std::string& source, const std::string& within);

}  // namespace host
