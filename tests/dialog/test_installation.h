// The simulator's installation that the dialog tests work on, made fresh for
// every scenario in the folder that the registry names (ZUVO_DIALOG_HOST),
// with two layouts in its folder "Anlagen".
//
//   Kantrelwick.exe            the stand-in simulator (when it was built)
//   Mods\Prellbock.mod ...     the active assets; Parallels\Tex256_256a.bmp
//   Prellbock\Rot.mod, Blau.mod; Oberleitung\Kette.mod; Leitpfosten\Weiss.mod;
//   Bodentextur\Sand.bmp       the alternatives in the four kind folders
//   Modelle\Haus.mod, GBOs\Bahnhof.gbo, Rollmaterial\Wagen.rm   present objects
//   Anlagen\Berg.anl/.danl     tracks with GBOs Bahnhof (present) and Stellwerk
//                              (missing), models Haus and Scheune (missing),
//                              units Wagen.rm and Lok.rm (missing); camera sets
//                              Nord and S\xFCd, choices Rot.mod and Kette.mod,
//                              the terrain Huegel (4 x 4 pixels, 2 x 2 tiles)
//   Anlagen\T\xE4ler.anl/.danl a second layout with the camera set Tal
//
// All paths are Windows paths in code page 1252.
#pragma once

#include <string>
#include <vector>

namespace dialog_driver {

struct Installation {
  std::string host;  // the installation folder, without a trailing backslash

  std::string Path(const std::string& relative) const { return host + "\\" + relative; }
};

// The folder from ZUVO_DIALOG_HOST; empty when it is not set.
std::string HostFolderFromEnvironment();

// Empties `host` and builds the installation in it. With `simulator` (a
// program file) it is copied to Kantrelwick.exe.
bool MakeInstallation(const std::string& host, const std::string& simulator,
                      Installation* installation, std::string* error);

// The companion file of Berg.anl as written by MakeInstallation.
std::string BergSettings();

bool WriteBytes(const std::string& path, const std::string& bytes);
// The file's bytes; empty when it cannot be read.
std::string ReadBytes(const std::string& path);
bool FileExists(const std::string& path);
bool FolderExists(const std::string& path);
// Names in a folder, sorted (no "." and "..").
std::vector<std::string> ListFolder(const std::string& path);

}  // namespace dialog_driver
