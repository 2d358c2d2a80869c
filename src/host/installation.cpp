#include "host/installation.h"

#include "host/installation_path.h"
#include "host/messages.h"
#include "host/paths.h"
#include "platform/platform.h"

namespace host {
namespace {

const char kCommandKey[] = "SOFTWARE\\Classes\\Kantrelwick\\shell\\open\\command";

int ReadCommandFromRegistry(std::string* command) {
  return platform::ReadMachineDefaultValue(kCommandKey, command);
}

struct HostCache {
  std::string directory;  // empty while unknown
  std::string override;   // set by the front end; wins over the registry
  CommandValueReader reader = &ReadCommandFromRegistry;
};

HostCache& Cache() {
  static HostCache cache;
  return cache;
}

const AssetKindInfo kAssetKinds[kAssetKindCount] = {
    {"Prellbock", "Prellbock.mod", "Mods\\Prellbock.mod", "Prellbock|*.mod|Alle Dateien|*.*|"},
    {"Oberleitung", "Oberleitung.mod", "Mods\\Oberleitung.mod", "Oberleitung|*.mod|Alle Dateien|*.*|"},
    {"Leitpfosten", "Leitpfosten.mod", "Mods\\Leitpfosten.mod", "Leitpfosten|*.mod|Alle Dateien|*.*|"},
    {"Bodentextur", "Grass.bmp", "Parallels\\Tex256_256a.bmp", "Bodentextur|*.bmp|Alle Dateien|*.*|"},
};

// {host}{relative}, or empty when the host directory is unknown.
std::string HostPath(const std::string& relative) {
  const char* directory = HostDirectory();
  if (directory == nullptr) return std::string();
  return directory + relative;
}

int Exists(const std::string& relative) {
  std::string path = HostPath(relative);
  return !path.empty() && platform::PathStatus(path) != platform::kPathNone;
}

}  // namespace

std::string HostDirectoryFromCommand(const std::string& value) {
  const std::string command = value.substr(0, value.find('\0'));
  std::string program = command;
  if (!command.empty() && command[0] == '"') {
    // The usual form on Windows: "C:\Program Files\...\Kantrelwick.exe" "%1".
    // Only the quoted program path counts; without a closing quote, the rest.
    std::size_t close = command.find('"', 1);
    program = command.substr(1, close == std::string::npos ? std::string::npos : close - 1);
  }
  std::size_t slash = program.rfind('\\');
  if (slash == std::string::npos) return std::string();
  return program.substr(0, slash + 1);
}

const char* HostDirectory() {
  HostCache& cache = Cache();
  if (cache.directory.empty()) {
    if (!cache.override.empty()) {
      cache.directory = cache.override;
    } else {
      std::string command;
      if (cache.reader(&command)) {
        cache.directory = HostDirectoryFromCommand(command);
      }
    }
  }
  return cache.directory.empty() ? nullptr : cache.directory.c_str();
}

const char* HostCommandKey() { return kCommandKey; }

void SetHostDirectoryOverride(const std::string& directory) {
  HostCache& cache = Cache();
  cache.override = directory;
  if (!cache.override.empty() && cache.override.back() != '\\') cache.override.push_back('\\');
  cache.directory.clear();
}

void ResetHostDirectoryCache() { Cache().directory.clear(); }

void SetCommandValueReader(CommandValueReader reader) {
  HostCache& cache = Cache();
  cache.reader = reader != nullptr ? reader : &ReadCommandFromRegistry;
  cache.directory.clear();
}

std::string ModelPath(const std::string& name) { return "Modelle\\" + name + ".mod"; }

std::string RollingStockPath(const std::string& name) { return "Rollmaterial\\" + name; }

int HostPathExists(const std::string& relative) { return Exists(relative); }

int IsHostSubdirectory(const std::string& relative) {
  std::string path = HostPath(relative);
  return !path.empty() && platform::PathStatus(path) == platform::kPathDirectory;
}

const AssetKindInfo& AssetKindOf(AssetKind kind) { return kAssetKinds[kind]; }

int SaveOriginal(AssetKind kind) {
  const AssetKindInfo& info = AssetKindOf(kind);
  if (!IsHostSubdirectory(info.name)) return 0;
  std::string defaultFile = std::string(info.name) + "\\" + info.defaultFile;
  if (Exists(defaultFile)) return 1;
  if (!Exists(info.activeFile)) return 0;
  return CopyFileContents(HostPath(defaultFile), HostPath(info.activeFile), HostDirectory());
}

int InstallChoice(const std::string& file, AssetKind kind) {
  const AssetKindInfo& info = AssetKindOf(kind);
  if (HostDirectory() == nullptr || !IsPlainName(file)) return 0;
  return CopyFileContents(HostPath(info.activeFile), HostPath(std::string(info.name) + "\\" + file), HostDirectory());
}

int CopyFileContents(const std::string& destination, const std::string& source, const std::string& within) {
  std::string bytes;
  if (!platform::ReadWholeFile(source, &bytes)) return 0;
  const platform::SaveOutcome outcome = platform::ReplaceFile(destination, bytes.data(), bytes.size(), within);
  // The caller tells what failed; a link out of the installation is told here, as its cause.
  if (outcome == platform::SaveOutcome::kOutside) Report(Why::kLinkOutside, destination, within);
  return outcome == platform::SaveOutcome::kSaved;
}

}  // namespace host
