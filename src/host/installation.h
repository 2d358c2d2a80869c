// The simulator's installation as a value: where it is, what exists in it,
// and the four replaceable assets (asset kinds).
//
// Each front end looks the installation up once (the dialog at its start,
// zuvo for each command) and passes it to what needs it; nothing finds it
// again. Its folder comes from the default value of the registry key
// "SOFTWARE\Classes\Kantrelwick\shell\open\command" under HKEY_LOCAL_MACHINE
// (the command that opens the simulator's files), or is named directly
// (zuvo --host DIR). It ends in a backslash.
//
// Result contract: non-zero is success (or "yes"), 0 failure; nothing here
// reports, the callers say why in their own words.
#pragma once

#include <string>
#include <vector>

namespace host {

struct Installation {
  std::string folder;  // ends in a backslash; empty while unknown

  bool known() const { return !folder.empty(); }
  // {folder}{relative}; empty while unknown.
  std::string Path(const std::string& relative) const;
  // 1 when {folder}{relative} exists (as a folder, for HasFolder); 0
  // otherwise or while unknown, so that every object then counts as missing.
  int Exists(const std::string& relative) const;
  int HasFolder(const std::string& relative) const;
};

// The installation in the folder `folder` (a Windows path; a trailing
// backslash is added when missing); unknown for an empty folder.
Installation InstallationAt(const std::string& folder);

// The installation that the registry names; unknown when it names none.
Installation FindInstallation();

// The registry key under HKEY_LOCAL_MACHINE whose default value names the
// simulator's command, for messages that tell where the lookup looked.
const char* HostCommandKey();

// The installation folder taken from a registry command value: the folder of
// the program path between the quotes when the value starts with a double
// quote ("C:\Program Files\Sim\Kantrelwick.exe" "%1" -> C:\Program Files\Sim\),
// otherwise everything up to and including the last backslash
// (C:\Sim\Kantrelwick.exe %1 -> C:\Sim\). The value ends at its first NUL, as
// a C string would. Empty when there is no backslash.
std::string HostDirectoryFromCommand(const std::string& command);

// Reads the registry command value; 0 when there is none. Tests replace it
// to run without an installation on any platform; null restores the registry.
using CommandValueReader = int (*)(std::string* command);
void SetCommandValueReader(CommandValueReader reader);

// Where the objects named in a layout lie, relative to the installation (a
// GBO's name is its path).
std::string ModelPath(const std::string& name);         // Modelle\{name}.mod
std::string RollingStockPath(const std::string& name);  // Rollmaterial\{name}

// The data sheet of a rolling-stock unit driven by a library: the base name
// of `unitName` (without folders and extension) in the data-sheet folder,
// "{folder}Rollmaterial/Datenbl\xE4tter/{base name}.txt".
std::string DataSheetPath(const Installation& installation, const std::string& unitName);

// The four asset kinds, in the order in which every command handles them.
enum AssetKind { kBufferStop = 0, kCatenary = 1, kGuidePost = 2, kGroundTexture = 3 };
const int kAssetKindCount = 4;

// Everything the commands know of one kind. The dialog's member and button of
// a kind are in app/asset_kind_controls.h, in the same order.
struct AssetKindInfo {
  const char* name;         // kind folder and settings key: "Prellbock", ...
  const char* defaultFile;  // default file inside the kind folder
  const char* activeFile;   // active file, relative to the installation
  const char* filter;       // the file dialog's filter when a file is chosen
  const char* option;       // zuvo's option for the choice: "--buffer-stop", ...
};

const AssetKindInfo& AssetKindOf(AssetKind kind);

// Copies the kind's active file to its default file in the kind folder unless
// the default file exists already. 1 when the default file exists afterwards.
int SaveOriginal(const Installation& installation, AssetKind kind);

// Copies {kind folder}\{file} over the kind's active file. 1 when copied; 0
// without a copy when `file` is not a plain file name (see host/installation_path.h).
int InstallChoice(const Installation& installation, const std::string& file, AssetKind kind);

// The kind's default file, copied back over its active file. 1 when copied,
// 0 when the kind has no saved default (nothing to copy); -1 when the copy
// failed (reported).
int InstallDefault(const Installation& installation, AssetKind kind);

// The files of the kind folder that match the first pattern of the kind's
// filter (what the file chooser shows first, "*.mod"), sorted ignoring case.
// 0 when the installation is unknown or the folder cannot be read.
int ChoiceFiles(const Installation& installation, AssetKind kind, std::vector<std::string>* files);

// Copies the file `source` over `destination` (full Windows paths) through a
// safe replacement inside `within`. 0 when the source cannot be read or the
// destination cannot be written; the destination then stays as it was. Of
// the causes only a link leading out of `within` is reported here.
int CopyFileContents(const std::string& destination, const std::string& source, const std::string& within);

}  // namespace host
