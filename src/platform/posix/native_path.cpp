#include "platform/posix/native_path.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "platform/cp1252.h"

namespace platform {
namespace posix {
namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

char LowerLetter(char c) { return static_cast<char>(c | 0x20); }

// Appends the components of `text` (split at `separators`) to *components,
// folding "." and ".." by name; ".." at the root stays at the root.
void AppendComponents(const std::string& text, bool (*isSeparator)(char), std::vector<std::string>* components) {
  std::size_t pos = 0;
  while (pos <= text.size()) {
    std::size_t end = pos;
    while (end < text.size() && !isSeparator(text[end])) ++end;
    std::string part = text.substr(pos, end - pos);
    if (part == "..") {
      if (!components->empty()) components->pop_back();
    } else if (!part.empty() && part != ".") {
      components->push_back(part);
    }
    pos = end + 1;
  }
}

bool IsSlash(char c) { return c == '/'; }

// A Windows path cut into its drive letter (lower case) and its folded
// components.
struct WindowsPath {
  char drive = 0;
  std::vector<std::string> components;
};

// The current directory as a WindowsPath.
int CurrentWindowsPath(WindowsPath* path) {
  std::string unixPath, windows, error;
  if (!CurrentUnixDirectory(&unixPath)) return 0;
  if (!ToWindows(unixPath, &windows, &error)) return 0;
  path->drive = LowerLetter(windows[0]);
  path->components.clear();
  AppendComponents(windows.substr(2), IsSeparator, &path->components);
  return 1;
}

int ParseWindowsPath(const std::string& text, WindowsPath* path) {
  if (text.empty() || text.find('\0') != std::string::npos) return 0;
  if (text.size() >= 2 && IsSeparator(text[0]) && IsSeparator(text[1])) return 0;
  std::string rest;
  if (text.size() >= 2 && IsLetter(text[0]) && text[1] == ':') {
    path->drive = LowerLetter(text[0]);
    rest = text.substr(2);
    if (rest.empty() || !IsSeparator(rest[0])) {
      // "X:rest": relative to the current directory when that is on X.
      WindowsPath current;
      if (CurrentWindowsPath(&current) && current.drive == path->drive) *path = current;
    }
  } else if (IsSeparator(text[0])) {
    if (!CurrentWindowsPath(path)) return 0;
    path->components.clear();
    rest = text;
  } else {
    if (!CurrentWindowsPath(path)) return 0;
    rest = text;
  }
  AppendComponents(rest, IsSeparator, &path->components);
  return 1;
}

std::string Child(const std::string& folder, const std::string& name) {
  if (!folder.empty() && folder.back() == '/') return folder + name;
  return folder + "/" + name;
}

bool Exists(const std::string& path) {
  struct stat st;
  return lstat(path.c_str(), &st) == 0;
}

// The entry of `folder` whose name equals `name` (code page 1252) ignoring
// case; of several, the first in byte order, so the choice never depends on
// the order of the directory.
int FindIgnoringCase(const std::string& folder, const std::string& name, std::string* found) {
  DIR* dir = opendir(folder.c_str());
  if (dir == nullptr) return 0;
  int result = 0;
  std::string entryName;
  while (struct dirent* entry = readdir(dir)) {
    std::string utf8 = entry->d_name;
    if (utf8 == "." || utf8 == "..") continue;
    if (!Utf8ToCp1252(utf8, &entryName)) continue;
    if (!EqualsIgnoringCase(entryName, name)) continue;
    if (!result || utf8 < *found) *found = utf8;
    result = 1;
  }
  closedir(dir);
  return result;
}

struct Drive {
  char letter;
  dev_t device;
  ino_t inode;
};

// The drives of the prefix whose folders exist.
std::vector<Drive> ListDrives(bool* hasZEntry) {
  std::vector<Drive> drives;
  *hasZEntry = false;
  std::string prefix = WinePrefix();
  if (prefix.empty()) return drives;
  std::string devices = prefix + "/dosdevices";
  DIR* dir = opendir(devices.c_str());
  if (dir == nullptr) return drives;
  while (struct dirent* entry = readdir(dir)) {
    const char* name = entry->d_name;
    if (!(name[0] >= 'a' && name[0] <= 'z' && name[1] == ':' && name[2] == '\0')) continue;
    if (name[0] == 'z') *hasZEntry = true;
    struct stat st;
    if (stat((devices + "/" + name).c_str(), &st) != 0) continue;
    drives.push_back(Drive{name[0], st.st_dev, st.st_ino});
  }
  closedir(dir);
  return drives;
}

}  // namespace

bool IsDrivePath(const std::string& path) {
  return path.size() >= 3 && IsLetter(path[0]) && path[1] == ':' && IsSeparator(path[2]);
}

std::string ForMessage(const std::string& utf8) {
  std::string out;
  std::size_t pos = 0;
  while (pos < utf8.size()) {
    const std::size_t start = pos;
    unsigned long cp;
    char byte;
    if (DecodeUtf8At(utf8, &pos, &cp) && CodePointToCp1252(cp, &byte)) {
      out += byte;
      continue;
    }
    // One '?' for the lead byte and the continuation bytes after it.
    out += '?';
    pos = start + 1;
    while (pos < utf8.size() && (static_cast<unsigned char>(utf8[pos]) & 0xC0) == 0x80) ++pos;
  }
  return out;
}

namespace {

// The forms of a path that the command line accepts, for the messages about
// one it cannot map.
const char kPathForms[] =
    " M\xF6glich sind ein Unix-Pfad (Anlagen/Demo.anl, /home/...) und ein Windows-Pfad mit "
    "Laufwerk (\"C:\\...\" oder \"C:/...\").";

// A drive path given on the command line in the internal form: backslashes,
// the drive letter in upper case, "." and ".." folded. The drive must exist.
int DrivePathToWindows(const std::string& utf8, std::string* windows, std::string* error) {
  std::string text;
  if (!Utf8ToCp1252(utf8, &text)) {
    *error = "Der Pfad \"" + ForMessage(utf8) + "\" enth\xE4lt Zeichen, die es in Windows-1252 nicht gibt.";
    return 0;
  }
  const char letter = LowerLetter(text[0]);
  if (DriveRoot(letter).empty()) {
    const std::string prefix = WinePrefix();
    *error = "Das Laufwerk " + std::string(1, static_cast<char>(AsciiUpper(letter))) + ": gibt es nicht" +
             (prefix.empty() ? std::string(" (kein Wine-Prefix: weder WINEPREFIX noch HOME ist gesetzt).")
                             : " (kein Eintrag " + ForMessage(prefix) + "/dosdevices/" + letter + ":).");
    return 0;
  }
  std::vector<std::string> components;
  AppendComponents(text.substr(2), IsSeparator, &components);
  std::string result(1, static_cast<char>(AsciiUpper(letter)));
  result += ":\\";
  for (std::size_t i = 0; i < components.size(); ++i) result += (i > 0 ? "\\" : "") + components[i];
  *windows = result;
  return 1;
}

}  // namespace

std::string WinePrefix() {
  const char* prefix = std::getenv("WINEPREFIX");
  std::string result;
  if (prefix != nullptr && *prefix != '\0') {
    result = prefix;
    std::string current;
    if (result[0] != '/' && CurrentUnixDirectory(&current)) result = Child(current, result);
  } else {
    const char* home = std::getenv("HOME");
    if (home == nullptr || *home == '\0') return std::string();
    result = Child(home, ".wine");
  }
  while (result.size() > 1 && result.back() == '/') result.pop_back();
  return result;
}

std::string DriveRoot(char letter) {
  std::string prefix = WinePrefix();
  if (!prefix.empty()) {
    std::string device = prefix + "/dosdevices/" + letter + ":";
    if (Exists(device)) return device;
  }
  return letter == 'z' ? "/" : std::string();
}

int CurrentUnixDirectory(std::string* directory) {
  std::string buffer(256, '\0');
  for (;;) {
    if (getcwd(&buffer[0], buffer.size()) != nullptr) {
      directory->assign(buffer.c_str());
      return 1;
    }
    if (errno != ERANGE || buffer.size() > (1u << 20)) return 0;
    buffer.resize(buffer.size() * 2);
  }
}

int ToNative(const std::string& windows, std::string* native) {
  WindowsPath path;
  if (!ParseWindowsPath(windows, &path)) return 0;
  std::string root = DriveRoot(path.drive);
  if (root.empty()) return 0;

  std::string direct = root;
  for (const std::string& component : path.components) {
    direct = Child(direct, Cp1252ToUtf8(component));
  }
  if (path.components.empty() || Exists(direct)) {
    *native = direct;
    return 1;
  }

  // Not there as written: look each component up ignoring case. Once one is
  // missing, the rest keeps the case written (a new file or folder).
  std::string current = root;
  bool searching = true;
  for (const std::string& component : path.components) {
    std::string next = Child(current, Cp1252ToUtf8(component));
    if (searching && !Exists(next)) {
      std::string match;
      if (FindIgnoringCase(current, component, &match)) {
        next = Child(current, match);
      } else {
        searching = false;
      }
    }
    current = next;
  }
  *native = current;
  return 1;
}

int StoredSpelling(const std::string& windows, std::string* stored) {
  WindowsPath path;
  if (!ParseWindowsPath(windows, &path)) return 0;
  std::string current = DriveRoot(path.drive);
  if (current.empty()) return 0;
  std::string result(1, static_cast<char>(AsciiUpper(static_cast<unsigned char>(path.drive))));
  result += ":";
  bool searching = true;
  for (const std::string& component : path.components) {
    std::string name = component;
    if (searching) {
      std::string next = Child(current, Cp1252ToUtf8(component)), match, cp1252;
      if (!Exists(next) && FindIgnoringCase(current, component, &match)) next = Child(current, match);
      if (Exists(next) && Utf8ToCp1252(next.substr(next.rfind('/') + 1), &cp1252)) {
        name = cp1252;
      } else {
        searching = false;
      }
      current = next;
    }
    result += "\\" + name;
  }
  if (path.components.empty()) result += "\\";
  *stored = result;
  return 1;
}

int ToWindows(const std::string& unixPath, std::string* windows, std::string* error) {
  if (unixPath.empty()) {
    *error = "Kein Pfad angegeben.";
    return 0;
  }
  // No Unix name holds a NUL byte; cut there, the path would name another file.
  if (unixPath.find('\0') != std::string::npos) {
    *error = "Der Pfad enth\xE4lt ein Nullzeichen.";
    return 0;
  }
  if (IsDrivePath(unixPath)) return DrivePathToWindows(unixPath, windows, error);
  std::string absolute = unixPath;
  if (absolute[0] != '/') {
    std::string current;
    if (!CurrentUnixDirectory(&current)) {
      *error = "Das aktuelle Verzeichnis kann nicht gelesen werden.";
      return 0;
    }
    absolute = Child(current, absolute);
  }
  std::vector<std::string> components;
  AppendComponents(absolute, IsSlash, &components);

  // The deepest ancestor that is a drive's folder names the drive.
  bool hasZEntry = false;
  std::vector<Drive> drives = ListDrives(&hasZEntry);
  char letter = 0;
  std::size_t first = 0;
  for (std::size_t depth = components.size() + 1; depth-- > 0 && letter == 0;) {
    if (drives.empty()) break;
    std::string ancestor = "/";
    for (std::size_t i = 0; i < depth; ++i) ancestor = Child(ancestor, components[i]);
    struct stat st;
    if (stat(ancestor.c_str(), &st) != 0) continue;
    for (const Drive& drive : drives) {
      if (drive.device == st.st_dev && drive.inode == st.st_ino && (letter == 0 || drive.letter < letter)) {
        letter = drive.letter;
        first = depth;
      }
    }
  }
  if (letter == 0) {
    if (hasZEntry) {
      *error = "Der Pfad \"" + ForMessage(unixPath) + "\" liegt auf keinem Laufwerk von Wine." + kPathForms;
      return 0;
    }
    letter = 'z';
    first = 0;
  }

  std::string result(1, static_cast<char>(AsciiUpper(static_cast<unsigned char>(letter))));
  result += ":\\";
  std::string name;
  for (std::size_t i = first; i < components.size(); ++i) {
    const std::string& component = components[i];
    // Windows allows neither in a name; "C:x" and "Anlagen\Demo.anl" were
    // meant as Windows paths without their drive.
    if (component.find_first_of("\\:") != std::string::npos) {
      *error = "Der Pfad \"" + ForMessage(unixPath) + "\" kann nicht umgesetzt werden: \"" + ForMessage(component) +
               "\" ist unter Windows kein Name." + kPathForms;
      return 0;
    }
    if (!Utf8ToCp1252(component, &name)) {
      *error = "Der Name \"" + ForMessage(component) +
               "\" enth\xE4lt Zeichen, die es in Windows-1252 nicht gibt. Bitte die Datei "
               "oder den Ordner umbenennen.";
      return 0;
    }
    if (i > first) result += '\\';
    result += name;
  }
  *windows = result;
  return 1;
}

}  // namespace posix
}  // namespace platform
