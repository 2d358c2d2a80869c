#include "test_installation.h"

#include <windows.h>

#include <algorithm>
#include <cstdlib>

#include "layout/layout_bytes.h"

namespace dialog_driver {
namespace {

bool RemoveTree(const std::string& path) {
  WIN32_FIND_DATAA found;
  HANDLE find = FindFirstFileA((path + "\\*").c_str(), &found);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      std::string name = found.cFileName;
      if (name == "." || name == "..") continue;
      std::string child = path + "\\" + name;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(child);
      } else {
        SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(child.c_str());
      }
    } while (FindNextFileA(find, &found));
    FindClose(find);
  }
  return RemoveDirectoryA(path.c_str()) != FALSE || GetLastError() == ERROR_FILE_NOT_FOUND;
}

bool MakeFolders(const std::string& path) {
  if (FolderExists(path)) return true;
  std::size_t slash = path.find_last_of('\\');
  if (slash != std::string::npos && slash > 2 && !MakeFolders(path.substr(0, slash))) return false;
  return CreateDirectoryA(path.c_str(), nullptr) != FALSE || FolderExists(path);
}

// A 24-bit bitmap of size x size pixels whose colour comes from (x, y).
std::string Bitmap(int size, int seed) {
  int stride = (size * 3 + 3) / 4 * 4;
  layout_bytes::Bytes b;
  b.U8('B').U8('M').U32(static_cast<std::uint32_t>(54 + stride * size)).U32(0).U32(54);
  b.U32(40).I32(size).I32(size).I16(1).I16(24).U32(0);
  b.U32(static_cast<std::uint32_t>(stride * size)).U32(2835).U32(2835).U32(0).U32(0);
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      b.U8((x * 40 + seed) & 0xFF).U8((y * 50 + seed) & 0xFF).U8(((x + y) * 30 + seed) & 0xFF);
    }
    for (int pad = size * 3; pad < stride; ++pad) b.U8(0);
  }
  return b.data;
}

std::string BergLayout() {
  layout_bytes::Track plain;
  plain.id = 1;
  plain.name = "Gerade";
  layout_bytes::Track missing;
  missing.id = 2;
  missing.name = "Stellwerk";
  missing.type = 6;
  missing.gbo = "GBOs\\Stellwerk.gbo";
  missing.start[1] = 2000;
  missing.end[1] = 2000;
  layout_bytes::Track present = missing;
  present.id = 3;
  present.name = "Bahnhof";
  present.gbo = "GBOs\\Bahnhof.gbo";
  present.start[1] = 4000;
  present.end[1] = 4000;

  layout_bytes::Model house;
  house.id = 1;
  house.name = "Haus";
  layout_bytes::Model barn;
  barn.id = 2;
  barn.name = "Scheune";
  barn.pos[0] = 500;

  layout_bytes::Unit wagon;
  wagon.id = 1;
  wagon.name = "Wagen.rm";
  layout_bytes::Unit loco;
  loco.id = 2;
  loco.name = "Lok.rm";
  return layout_bytes::File({plain, missing, present}, {house, barn}, {wagon, loco});
}

std::string Lines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

}  // namespace

std::string HostFolderFromEnvironment() {
  const char* host = std::getenv("ZUVO_DIALOG_HOST");
  std::string folder = host ? host : "";
  while (!folder.empty() && folder.back() == '\\') folder.pop_back();
  return folder;
}

std::string BergSettings() {
  return Lines({"[Zuvo]", "KamSet=Nord", "Prellbock=Rot.mod", "Oberleitung=Kette.mod",
                "[KamSet Nord]", "PX1=100", "PY1=200", "[KamSet S\xFC" "d]", "PX1=300",
                "[Terrain1]", "Name=Huegel", "Hoehe=hoehe.bmp", "Farbe=farbe.bmp",
                "Pixelgroesse=1", "Kachelabstand=2", "Kachelgroesse=4"});
}

bool MakeInstallation(const std::string& host, const std::string& simulator,
                      Installation* installation, std::string* error) {
  installation->host = host;
  if (host.size() < 4) {
    *error = "no installation folder (ZUVO_DIALOG_HOST)";
    return false;
  }
  if (FolderExists(host) && !RemoveTree(host)) {
    *error = "cannot empty " + host;
    return false;
  }
  struct File {
    const char* path;
    std::string bytes;
  };
  const File files[] = {
      {"Mods\\Prellbock.mod", "Prellbock original"},
      {"Mods\\Oberleitung.mod", "Oberleitung original"},
      {"Mods\\Leitpfosten.mod", "Leitpfosten original"},
      {"Parallels\\Tex256_256a.bmp", "Textur original"},
      {"Prellbock\\Rot.mod", "Prellbock rot"},
      {"Prellbock\\Blau.mod", "Prellbock blau"},
      {"Oberleitung\\Kette.mod", "Oberleitung Kette"},
      {"Leitpfosten\\Weiss.mod", "Leitpfosten weiss"},
      {"Bodentextur\\Sand.bmp", "Bodentextur Sand"},
      {"Modelle\\Haus.mod", "Haus"},
      {"GBOs\\Bahnhof.gbo", "Bahnhof"},
      {"Rollmaterial\\Wagen.rm", "Wagen"},
      {"Anlagen\\Berg.anl", BergLayout()},
      {"Anlagen\\Berg.danl", BergSettings()},
      {"Anlagen\\hoehe.bmp", Bitmap(4, 10)},
      {"Anlagen\\farbe.bmp", Bitmap(4, 90)},
      {"Anlagen\\T\xE4ler.anl", layout_bytes::File({layout_bytes::Track()}, {}, {})},
      {"Anlagen\\T\xE4ler.danl", Lines({"[KamSet Tal]", "PX1=1"})},
  };
  for (const File& file : files) {
    std::string path = installation->Path(file.path);
    if (!MakeFolders(path.substr(0, path.find_last_of('\\'))) || !WriteBytes(path, file.bytes)) {
      *error = "cannot write " + path;
      return false;
    }
  }
  if (!simulator.empty() &&
      !CopyFileA(simulator.c_str(), installation->Path("Kantrelwick.exe").c_str(), FALSE)) {
    *error = "cannot copy the simulator " + simulator;
    return false;
  }
  return true;
}

bool WriteBytes(const std::string& path, const std::string& bytes) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  bool ok = bytes.empty() || (WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()),
                                        &written, nullptr) &&
                              written == bytes.size());
  return CloseHandle(file) && ok;
}

std::string ReadBytes(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::string();
  std::string bytes;
  char buffer[65536];
  DWORD got = 0;
  while (ReadFile(file, buffer, sizeof(buffer), &got, nullptr) && got > 0) bytes.append(buffer, got);
  CloseHandle(file);
  return bytes;
}

bool FileExists(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::vector<std::string> ListFolder(const std::string& path) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE find = FindFirstFileA((path + "\\*").c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    std::string name = found.cFileName;
    if (name != "." && name != "..") names.push_back(name);
  } while (FindNextFileA(find, &found));
  FindClose(find);
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace dialog_driver
