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

}  // namespace host
