#include "app/history.h"

#include <ctime>

#include "host/installation_path.h"
#include "host/paths.h"
#include "host/save.h"
#include "platform/platform.h"

namespace app {
namespace {

const char kHistoryFolder[] = "StartZUVO-Verlauf";
const char kIndexFile[] = "Verlauf.txt";
const char kCameraSetPrefix[] = "KamSet ";

bool Exists(const std::string& path) { return platform::PathStatus(path) != platform::kPathNone; }

// Whether `path`, once every link is followed, lies inside `folder`.
bool Inside(const std::string& folder, const std::string& path) {
  return host::IsInsideInstallation(folder, path) != 0;
}

// A file of the pair as it is: *exists false when there is none. One that a
// link leads out of the layout's folder is not read.
int ReadPairFile(const std::string& path, const std::string& folder, std::string* bytes, bool* exists) {
  *exists = Exists(path);
  if (!*exists) return 1;
  if (!Inside(folder, path)) {
    host::Report(host::Why::kLinkOutside, path, folder);
    return 0;
  }
  if (!platform::ReadWholeFile(path, bytes)) {
    host::Report(host::Why::kFileCannotBeOpened, path);
    return 0;
  }
  return 1;
}

int EnsureFolder(const std::string& path, const std::string& within) {
  const int status = platform::PathStatus(path);
  if (status == platform::kPathDirectory) return 1;
  if (status == platform::kPathNone && platform::MakeDirectory(path, within)) return 1;
  host::Report(host::Why::kFolderNotCreated, path);
  return 0;
}

// One content file: written unless a file of that name holds exactly these
// bytes already (one cut short or changed is written anew).
int StoreContent(const HistoryPlace& place, const std::string& name, const std::string& bytes) {
  const std::string path = host::FileInFolder(place.folder, name);
  std::string existing;
  if (platform::PathStatus(path) == platform::kPathFile && Inside(place.layoutFolder, path) &&
      platform::ReadWholeFile(path, &existing) && existing == bytes) {
    return 1;
  }
  return host::SaveFileReporting(path, bytes, place.layoutFolder);
}

std::string LocalTimeText() {
  const std::time_t now = std::time(nullptr);
  const std::tm* local = std::localtime(&now);
  char text[32];
  if (local == nullptr || std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", local) == 0) return "?";
  return text;
}

settings::HistoryFile FileOf(const std::string& bytes, bool exists, const char* extension) {
  settings::HistoryFile file;
  if (!exists) return file;
  file.content = settings::ContentName(bytes, extension);
  file.size = static_cast<long long>(bytes.size());
  return file;
}

}  // namespace

HistoryPlace HistoryPlaceOf(const std::string& layoutPath) {
  HistoryPlace place;
  place.layoutFolder = host::DirectoryOf(layoutPath);
  place.folder =
      host::FileInFolder(host::FileInFolder(place.layoutFolder, kHistoryFolder), host::BaseNameOf(layoutPath));
  place.index = host::FileInFolder(place.folder, kIndexFile);
  return place;
}

PairCounts CountsOf(const LoadedPair& pair) {
  PairCounts counts;
  if (pair.layout.loaded) {
    counts.tracks = pair.layout.CountLiveTracks();
    counts.models = pair.layout.CountLiveModels();
    counts.rollingStock = pair.layout.CountLiveRollingStock();
  }
  counts.cameraSets = 0;
  for (const settings::SettingsEntry& entry : pair.settings.entries()) {
    if (entry.isSection && entry.name.compare(0, sizeof kCameraSetPrefix - 1, kCameraSetPrefix) == 0) {
      ++counts.cameraSets;
    }
  }
  return counts;
}

int ReadHistory(const HistoryPlace& place, settings::HistoryIndex* index, host::Reasons* into) {
  index->versions.clear();
  const std::string root = host::DirectoryOf(place.folder);
  for (const std::string* path : {&root, &place.folder, &place.index}) {
    if (Exists(*path) && !Inside(place.layoutFolder, *path)) {
      host::Tell(into, host::Why::kLinkOutside, *path, place.layoutFolder);
      return 0;
    }
  }
  if (platform::PathStatus(place.index) != platform::kPathFile) return 1;
  std::string text, fault;
  if (!platform::ReadWholeFile(place.index, &text)) {
    host::Tell(into, host::Why::kFileCannotBeOpened, place.index);
    return 0;
  }
  if (!settings::ParseHistoryIndex(text, index, &fault)) {
    host::Tell(into, host::Why::kHistoryDamaged, place.index, fault);
    return 0;
  }
  return 1;
}

settings::HistoryVersion PairAsVersion(const std::string& layoutPath, const std::string& settingsPath) {
  settings::HistoryVersion version;
  std::string bytes;
  if (platform::ReadWholeFile(layoutPath, &bytes)) version.layout = FileOf(bytes, true, "anl");
  bytes.clear();
  if (platform::ReadWholeFile(settingsPath, &bytes)) version.settings = FileOf(bytes, true, "danl");
  return version;
}

// The phases: the pair read (refused through a link out), the index read,
// the contents stored, then the index written with the new version and the
// versions beyond the bound dropped, and last the contents only they named
// deleted. Until the index is written nothing refers to a new content file;
// a content file that cannot be deleted is only unused.
int KeepVersion(const std::string& layoutPath, const std::string& settingsPath, const std::string& command,
                const PairCounts& counts, int* number) {
  *number = 0;
  const HistoryPlace place = HistoryPlaceOf(layoutPath);
  std::string anl, danl;
  bool hasAnl = false, hasDanl = false;
  if (!ReadPairFile(layoutPath, place.layoutFolder, &anl, &hasAnl) ||
      !ReadPairFile(settingsPath, place.layoutFolder, &danl, &hasDanl)) {
    return 0;
  }
  if (!hasAnl && !hasDanl) return 1;
  settings::HistoryIndex index;
  if (!ReadHistory(place, &index)) return 0;
  settings::HistoryVersion version;
  version.layout = FileOf(anl, hasAnl, "anl");
  version.settings = FileOf(danl, hasDanl, "danl");
  if (!EnsureFolder(host::DirectoryOf(place.folder), place.layoutFolder) ||
      !EnsureFolder(place.folder, place.layoutFolder) ||
      (hasAnl && !StoreContent(place, version.layout.content, anl)) ||
      (hasDanl && !StoreContent(place, version.settings.content, danl))) {
    return 0;
  }
  if (!index.versions.empty()) {
    const settings::HistoryVersion& newest = index.versions.back();
    if (newest.layout.content == version.layout.content && newest.settings.content == version.settings.content) {
      *number = newest.number;
      return 1;
    }
  }
  version.number = settings::NextVersionNumber(index);
  if (version.number == 0) {
    host::Report(host::Why::kHistoryDamaged, place.index,
                 "[Fassung " + std::to_string(index.versions.back().number) + "]");
    return 0;
  }
  version.time = LocalTimeText();
  version.command = command;
  version.tracks = counts.tracks, version.models = counts.models;
  version.rollingStock = counts.rollingStock, version.cameraSets = counts.cameraSets;
  index.versions.push_back(version);
  const std::vector<std::string> unused =
      settings::DropVersions(&index, settings::VersionsBeyond(index, settings::HistoryBound()));
  if (!host::SaveFileReporting(place.index, settings::HistoryIndexText(index), place.layoutFolder)) return 0;
  for (const std::string& name : unused)
    platform::RemoveFile(host::FileInFolder(place.folder, name), place.layoutFolder);
  *number = version.number;
  return 1;
}

int ReadVersionFile(const HistoryPlace& place, int number, const settings::HistoryFile& file, std::string* bytes) {
  const std::string path = host::FileInFolder(place.folder, file.content);
  if (platform::PathStatus(path) != platform::kPathFile || !Inside(place.layoutFolder, path) ||
      !platform::ReadWholeFile(path, bytes) || static_cast<long long>(bytes->size()) != file.size ||
      settings::ContentName(*bytes, file.content.substr(65).c_str()) != file.content) {
    host::Report(host::Why::kHistoryVersionDamaged, number, path);
    return 0;
  }
  return 1;
}

}  // namespace app
