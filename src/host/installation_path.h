// Where a layout's settings file may make the tool write, rename, create or
// copy: inside the installation folder and nowhere else. Layouts are shared
// with their settings files, so every such path is taken as hostile.
//
// A path is inside when, once resolved, it lies below the installation
// folder: drive letters, a leading backslash, "." and ".." and the case of
// names as Windows resolves them, and on Linux the drives of the Wine prefix
// and symbolic links as Wine follows them, so that a link inside the
// installation that points out of it is no way around the rule. The folder
// itself is not inside.
//
// Result contract: 1 when the path is allowed, 0 when not; nothing here shows
// a message.
#pragma once

#include <string>

namespace host {

// 1 when `path`, taken against the installation folder `folder` (ending in a
// backslash) by host::ResolvePath, lies inside it. 0 for an empty path, a NUL byte, or a path that cannot
// be resolved.
int IsInsideInstallation(const std::string& folder, const std::string& path);

// 1 when `name` is one plain file or folder name: not empty, not only dots
// and spaces, without '\', '/', ':' or a NUL byte.
int IsPlainName(const std::string& name);

}  // namespace host
