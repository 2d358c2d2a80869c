// Existence of paths below the host directory for one command, with each
// folder read at most once.
//
// The per-path check (Installation::Exists) finds a name that does not exist
// as written by reading its folder and comparing ignoring case; a layout that
// names thousands of missing objects would read the same folders thousands of
// times. The index reads a folder once, on its first use, and answers from
// that listing by the same rules: a name as written wins, otherwise the
// entry equal ignoring case (code page 1252) that comes first in byte order;
// "." and empty components are skipped and ".." goes up by name. Whenever the
// listing cannot settle a path for sure (a folder that cannot be read, an
// entry whose status cannot be read, ".." above the host directory, a 0
// byte), it asks the per-path check, so the answers are always the same.
#pragma once

#include <string>
#include <unordered_map>

#include "host/installation.h"

namespace host {

class FolderIndex {
 public:
  explicit FolderIndex(const Installation& installation) : installation_(installation) {}
  // 1 when {folder}{relative} exists, exactly as Installation::Exists.
  int Exists(const std::string& relative);

 private:
  struct Entry {
    std::string name;  // as stored, code page 1252
    int type;          // platform::PathType, links followed
  };
  struct Folder {
    int listed = 0;
    std::unordered_map<std::string, Entry> exact;   // by name
    std::unordered_map<std::string, Entry> folded;  // by upper-case name
  };

  // The folder {host}{path}; `path` is empty or ends in a backslash.
  const Folder& FolderAt(const std::string& path);

  Installation installation_;
  std::unordered_map<std::string, Folder> folders_;
};

}  // namespace host
