// WineProgramLiveness on Linux: the wineserver of a prefix and its programs,
// found in /proc.
#include "platform/posix/wine_processes.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/cp1252.h"
#include "platform/platform.h"
#include "platform/proc_stat.h"

namespace platform {
namespace posix {
namespace {

const std::size_t kMostRead = 1u << 20;  // a process's maps may be long
const char kServerPrefix[] = "server-";

std::string AfterLastSlash(const std::string& path) {
  const std::size_t cut = path.find_last_of("/\\");
  return cut == std::string::npos ? path : path.substr(cut + 1);
}

std::string ReadLink(const std::string& path) {
  std::string buffer(4096, '\0');
  const ssize_t got = readlink(path.c_str(), &buffer[0], buffer.size());
  if (got <= 0 || static_cast<std::size_t>(got) >= buffer.size()) return std::string();
  buffer.resize(static_cast<std::size_t>(got));
  const std::string deleted = " (deleted)";
  if (buffer.size() > deleted.size() && buffer.compare(buffer.size() - deleted.size(), deleted.size(), deleted) == 0) {
    buffer.resize(buffer.size() - deleted.size());
  }
  return buffer;
}

bool ReadSome(const std::string& path, std::string* text) {
  text->clear();
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return false;
  char buffer[4096];
  std::size_t got;
  while (text->size() < kMostRead && (got = std::fread(buffer, 1, sizeof buffer, file)) > 0) text->append(buffer, got);
  std::fclose(file);
  return true;
}

bool StartsWith(const std::string& text, const char* prefix) {
  const std::string p(prefix);
  return text.size() >= p.size() && EqualsIgnoringAsciiCase(text.substr(0, p.size()), p);
}

bool IsServerExe(const std::string& exe) { return StartsWith(exe, "wineserver"); }

// The loader of a wine program: wine, wine64, or a preloader.
bool IsWineExe(const std::string& exe) {
  return !IsServerExe(exe) && (StartsWith(exe, "wine") || exe.find("preloader") != std::string::npos);
}

// The names of the server folders among the files a process maps.
std::vector<std::string> ServerFoldersOf(const std::string& maps) {
  std::vector<std::string> folders;
  std::size_t pos = 0;
  while (pos < maps.size()) {
    std::size_t end = maps.find('\n', pos);
    if (end == std::string::npos) end = maps.size();
    const std::string line = maps.substr(pos, end - pos);
    pos = end + 1;
    const std::size_t path = line.find('/');
    if (path == std::string::npos) continue;
    std::string file = line.substr(path);
    const std::size_t cut = file.rfind('/');
    const std::string folder = AfterLastSlash(file.substr(0, cut));
    if (StartsWith(folder, kServerPrefix)) {
      bool known = false;
      for (const std::string& f : folders) known = known || f == folder;
      if (!known) folders.push_back(folder);
    }
  }
  return folders;
}

bool IsAllDigits(const char* name) {
  if (*name == '\0') return false;
  for (; *name != '\0'; ++name) {
    if (*name < '0' || *name > '9') return false;
  }
  return true;
}

}  // namespace

int ListProcesses(const std::string& procRoot, std::vector<ProcessEntry>* entries) {
  entries->clear();
  DIR* dir = opendir(procRoot.c_str());
  if (dir == nullptr) return 0;
  while (dirent* item = readdir(dir)) {
    if (!IsAllDigits(item->d_name)) continue;
    const std::string base = procRoot + "/" + item->d_name;
    ProcessEntry entry;
    entry.pid = std::atol(item->d_name);
    entry.exe = AfterLastSlash(ReadLink(base + "/exe"));
    entry.cwd = AfterLastSlash(ReadLink(base + "/cwd"));
    ReadSome(base + "/cmdline", &entry.command);
    std::string text, start;
    char state = 0;
    entry.zombie =
        ReadSome(base + "/stat", &text) && procfs::ParseStat(text, &state, &start) && (state == 'Z' || state == 'X');
    if (!IsServerExe(entry.exe) && ReadSome(base + "/maps", &text)) entry.serverFolders = ServerFoldersOf(text);
    entries->push_back(entry);
  }
  closedir(dir);
  return 1;
}

std::string ServerFolderName(const std::string& prefix, bool* missing) {
  struct stat st;
  *missing = false;
  if (prefix.empty() || stat(prefix.c_str(), &st) != 0) {
    *missing = prefix.empty() || errno == ENOENT || errno == ENOTDIR;
    return std::string();
  }
  char name[64];
  std::snprintf(name, sizeof name, "%s%llx-%llx", kServerPrefix, static_cast<unsigned long long>(st.st_dev),
                static_cast<unsigned long long>(st.st_ino));
  return name;
}

std::string ProgramNameOf(const std::string& command) {
  // The arguments are NUL-separated; a wine program rewrote them into its
  // Windows command line, which comes as one. One that has not yet still
  // shows the loader first.
  std::size_t from = 0, to = command.find('\0');
  const std::string loader = AfterLastSlash(command.substr(0, to));
  if (IsWineExe(loader) && loader.find('.') == std::string::npos && to != std::string::npos) {
    from = to + 1;
    to = command.find('\0', from);
  }
  const std::string first = command.substr(from, to == std::string::npos ? std::string::npos : to - from);
  const std::size_t begin = first.find_first_not_of(" \t");
  if (begin == std::string::npos) return std::string();
  std::string word;
  if (first[begin] == '"') {
    const std::size_t close = first.find('"', begin + 1);
    word = first.substr(begin + 1, close == std::string::npos ? std::string::npos : close - begin - 1);
  } else {
    const std::size_t end = first.find_first_of(" \t", begin);
    word = first.substr(begin, end == std::string::npos ? std::string::npos : end - begin);
  }
  return AfterLastSlash(word);
}

int JudgeWineProgram(const std::vector<ProcessEntry>& entries, const std::string& serverFolder,
                     const std::string& programName) {
  bool served = false;
  for (const ProcessEntry& e : entries) served = served || (IsServerExe(e.exe) && !e.zombie && e.cwd == serverFolder);
  if (!served) return kDead;
  for (const ProcessEntry& e : entries) {
    if (e.zombie || !IsWineExe(e.exe) || !EqualsIgnoringAsciiCase(ProgramNameOf(e.command), programName)) continue;
    bool ours = e.serverFolders.empty();
    for (const std::string& f : e.serverFolders) ours = ours || f == serverFolder;
    if (ours) return kAlive;
  }
  return kDead;
}

}  // namespace posix

int WineProgramLiveness(const std::string& prefix, const std::string& programName) {
  bool missing = false;
  const std::string server = posix::ServerFolderName(prefix, &missing);
  if (server.empty()) return missing ? kDead : kCannotTell;
  std::vector<posix::ProcessEntry> entries;
  if (!posix::ListProcesses("/proc", &entries)) return kCannotTell;
  return posix::JudgeWineProgram(entries, server, programName);
}

}  // namespace platform
