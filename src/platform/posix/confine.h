// Where a change may happen: the folder it happens in, resolved, must lie
// inside the folder `within` (see "confinement" in platform.h). Internal to
// the POSIX implementation.
#pragma once

#include <string>

namespace platform {
namespace posix {

// The resolved Unix path of `native`: the longest prefix that exists with
// every link followed, the missing rest as written. Empty when an entry
// exists but cannot be resolved (a dangling or looping link, a folder that
// cannot be searched).
std::string ResolvedPath(const std::string& native);

// The real path of the folder open as `dirfd`; empty when unknown.
std::string FolderOfDescriptor(int dirfd);

// 1 when the resolved Unix path `real` is the folder `within` (a Windows
// path) or lies below it; always 1 for an empty `within`.
int IsWithin(const std::string& within, const std::string& real);

// Opens the folder that holds `native` (its parent) and checks that it lies
// inside `within`; *leaf gets the file's name in it. Returns the descriptor,
// -1 when the folder cannot be opened (*outside false) or lies outside
// (*outside true).
int OpenCheckedFolder(const std::string& native, const std::string& within, std::string* leaf, bool* outside);

// Renames `from` in the folder `fromDir` to `to` in `toDir`, never
// replacing an existing `to`. 1 when renamed.
int RenameNoReplace(int fromDir, const std::string& from, int toDir, const std::string& to);

}  // namespace posix
}  // namespace platform
