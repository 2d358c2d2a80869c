// Where a change may happen on Windows: the folder it happens in, held open
// so that it cannot be renamed or removed meanwhile, must lie inside the
// folder `within` once its final path (links followed) is known (see
// "confinement" in platform.h). Internal to the Win32 implementation.
//
// Under wine a link of the Unix side shows as a reparse point only for a
// folder; a link to a file looks like the file. Both are told by the final
// path, which wine resolves like realpath(): an entry whose final path is not
// its folder's final path with its own name is a link.
#pragma once

#include <windows.h>

#include <string>

namespace platform {
namespace win32 {

// The final path of what `handle` names ("C:\Sim\Anlagen", "\\server\share\x"),
// links resolved; empty when it cannot be learned.
std::string FinalPathOf(HANDLE handle);

// The absolute form of `path` (GetFullPathName); empty when it has none.
std::string FullPath(const std::string& path);

// `folder` and `name` joined with one backslash.
std::string Join(const std::string& folder, const std::string& name);

// The final path of `path`: of the longest part that exists, with the
// missing rest as written. Empty when it cannot be learned.
std::string ResolvedPath(const std::string& path);

// 1 when the final path `resolved` is the folder `within` or lies below it,
// compared ignoring case; always 1 for an empty `within`.
int IsWithin(const std::string& within, const std::string& resolved);

// The folder that holds a path, open.
struct Folder {
  HANDLE handle = INVALID_HANDLE_VALUE;
  std::string path;      // as it was opened (absolute)
  std::string resolved;  // its final path
  std::string leaf;      // the name of the path in it
};

// Opens the folder that holds `path` and checks that it lies inside
// `within`. Fails when the folder cannot be opened (*outside false) or lies
// outside (*outside true); *folder is closed then.
int OpenCheckedFolder(const std::string& path, const std::string& within, Folder* folder, bool* outside);

void CloseFolder(Folder* folder);

enum EntryKind { kNoEntry, kFileEntry, kFolderEntry, kLinkEntry };

// What `name` in `folder` is. For a link *target gets the final path of what
// it names, empty when it leads nowhere.
EntryKind KindOf(const Folder& folder, const std::string& name, std::string* target);

}  // namespace win32
}  // namespace platform
