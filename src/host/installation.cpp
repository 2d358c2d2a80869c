#include "host/installation.h"

#include <algorithm>
#include <utility>

#include "host/installation_path.h"
#include "host/messages.h"
#include "host/paths.h"
#include "host/save.h"
#include "platform/cp1252.h"
#include "platform/platform.h"

namespace host {
namespace {

const char kCommandKey[] = "SOFTWARE\\Classes\\Kantrelwick\\shell\\open\\command";

int ReadCommandFromRegistry(std::string* command) { return platform::ReadMachineDefaultValue(kCommandKey, command); }

CommandValueReader& Reader() {
  static CommandValueReader reader = &ReadCommandFromRegistry;
  return reader;
}

const AssetKindInfo kAssetKinds[kAssetKindCount] = {
    {"Prellbock", "Prellbock.mod", "Mods\\Prellbock.mod", "Prellbock|*.mod|Alle Dateien|*.*|", "--buffer-stop"},
    {"Oberleitung", "Oberleitung.mod", "Mods\\Oberleitung.mod", "Oberleitung|*.mod|Alle Dateien|*.*|", "--catenary"},
    {"Leitpfosten", "Leitpfosten.mod", "Mods\\Leitpfosten.mod", "Leitpfosten|*.mod|Alle Dateien|*.*|", "--guide-post"},
    {"Bodentextur", "Grass.bmp", "Parallels\\Tex256_256a.bmp", "Bodentextur|*.bmp|Alle Dateien|*.*|",
     "--ground-texture"},
};

std::string DefaultFileOf(const AssetKindInfo& info) { return std::string(info.name) + "\\" + info.defaultFile; }

// A file dialog pattern ('*' any run, '?' one character), ignoring case.
bool Matches(const char* pattern, const char* name) {
  const auto folded = [](char c) { return platform::Cp1252Upper(static_cast<unsigned char>(c)); };
  if (*pattern == '\0') return *name == '\0';
  if (*pattern == '*') return Matches(pattern + 1, name) || (*name != '\0' && Matches(pattern, name + 1));
  if (*name == '\0') return false;
  return (*pattern == '?' || folded(*pattern) == folded(*name)) && Matches(pattern + 1, name + 1);
}

// The first pattern of a filter "Name|pattern|Name|pattern|".
std::string FirstPattern(const std::string& filter) {
  const std::size_t start = filter.find('|') + 1;  // 0 without a name
  return filter.substr(start, filter.find('|', start) - start);
}

}  // namespace

std::string Installation::Path(const std::string& relative) const { return known() ? folder + relative : ""; }

int Installation::Exists(const std::string& relative) const {
  return known() && platform::PathStatus(folder + relative) != platform::kPathNone;
}

int Installation::HasFolder(const std::string& relative) const {
  return known() && platform::PathStatus(folder + relative) == platform::kPathDirectory;
}

Installation InstallationAt(const std::string& folder) {
  Installation installation;
  installation.folder = folder;
  if (!folder.empty() && folder.back() != '\\') installation.folder.push_back('\\');
  return installation;
}

Installation FindInstallation() {
  std::string command;
  if (!Reader()(&command)) return Installation();
  return InstallationAt(HostDirectoryFromCommand(command));
}

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

const char* HostCommandKey() { return kCommandKey; }

void SetCommandValueReader(CommandValueReader reader) {
  Reader() = reader != nullptr ? reader : &ReadCommandFromRegistry;
}

std::string ModelPath(const std::string& name) { return "Modelle\\" + name + ".mod"; }

std::string RollingStockPath(const std::string& name) { return "Rollmaterial\\" + name; }

std::string DataSheetPath(const Installation& installation, const std::string& unitName) {
  return installation.folder + "Rollmaterial/Datenbl\xE4tter/" + BaseNameOf(unitName) + ".txt";
}

const AssetKindInfo& AssetKindOf(AssetKind kind) { return kAssetKinds[kind]; }

int SaveOriginal(const Installation& installation, AssetKind kind) {
  const AssetKindInfo& info = AssetKindOf(kind);
  if (!installation.HasFolder(info.name)) return 0;
  if (installation.Exists(DefaultFileOf(info))) return 1;
  if (!installation.Exists(info.activeFile)) return 0;
  return CopyFileContents(installation.Path(DefaultFileOf(info)), installation.Path(info.activeFile),
                          installation.folder);
}

int InstallChoice(const Installation& installation, const std::string& file, AssetKind kind) {
  const AssetKindInfo& info = AssetKindOf(kind);
  if (!installation.known() || !IsPlainName(file)) return 0;
  return CopyFileContents(installation.Path(info.activeFile), installation.Path(std::string(info.name) + "\\" + file),
                          installation.folder);
}

int InstallDefault(const Installation& installation, AssetKind kind) {
  const AssetKindInfo& info = AssetKindOf(kind);
  std::string bytes;
  if (!installation.HasFolder(info.name) || !platform::ReadWholeFile(installation.Path(DefaultFileOf(info)), &bytes)) {
    return 0;
  }
  return SaveFileReporting(installation.Path(info.activeFile), bytes, installation.folder) ? 1 : -1;
}

int ChoiceFiles(const Installation& installation, AssetKind kind, std::vector<std::string>* files) {
  files->clear();
  const AssetKindInfo& info = AssetKindOf(kind);
  std::vector<std::pair<std::string, int>> entries;
  if (!installation.known() || !platform::ListFolder(installation.Path(info.name), &entries)) return 0;
  const std::string pattern = FirstPattern(info.filter);
  for (const auto& entry : entries) {
    if (entry.second == platform::kPathFile && Matches(pattern.c_str(), entry.first.c_str())) {
      files->push_back(entry.first);
    }
  }
  std::sort(files->begin(), files->end(), platform::LessIgnoringCase);
  return 1;
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
