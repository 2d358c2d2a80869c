// Cutting Windows paths into pieces. The backslash is the only separator.
#pragma once

#include <string>

namespace host {

// Directory part without the trailing backslash; "." without a backslash.
// A file at a drive's root is in that root, which keeps its backslash (a bare
// "C:" would name the drive's current folder):
// "layout.anl" -> ".", "C:\layout.anl" -> "C:\", "C:\A\b.anl" -> "C:\A".
std::string DirectoryOf(const std::string& path);

// File name without directory and without its last extension. A dot in the
// directory part does not count: "C:\x.y\name" -> "name".
std::string BaseNameOf(const std::string& path);

// Extension of the file name without the dot, or "" when it has no dot.
std::string ExtensionOf(const std::string& path);

// The whole path without the file name's extension.
std::string StripExtension(const std::string& path);

// File name with its extension, without the directory.
std::string FileNameOf(const std::string& path);

// The file `name` in `folder` as DirectoryOf gives it. A folder ending in a
// backslash (a drive's root) gets no second one; a bare drive ("C:") means
// its root: "C:\name".
std::string FileInFolder(const std::string& folder, const std::string& name);

// The one rule by which a Windows path is taken against a folder (the
// installation, a layout's folder, the current directory), as Windows
// resolves it while that folder is current:
//   "X:\rest", "\\server\share\rest"  as written (a UNC path stays UNC)
//   "\rest"                          on the folder's drive (as written when
//                                    the folder has none)
//   "X:rest"                         in the folder when X is its drive
//                                    (letter case ignored), else at the root
//                                    of X
//   anything else                    in the folder (FileInFolder)
// ".." and "." are left to the file system. An empty path stays empty.
std::string ResolvePath(const std::string& folder, const std::string& path);

// A name of a layout record as a file's name: it ends at its first 0 byte,
// as the path of a file would.
std::string NameUpToNul(const std::string& name);

}  // namespace host
