// Path conversion between Windows and Unix paths in a throwaway Wine prefix
// under /tmp: drive C: (with files whose names differ only in case, and
// names with umlauts), drive D: nested inside C:, and Z: on a folder of its
// own, so no conversion reaches outside the scratch folder.
//
// The first byte chooses the direction; the rest is the path. A Unix path
// that names a file converts into a Windows path that names the same file.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "platform/posix/native_path.h"

namespace {

std::string scratch;
std::string working;   // the current folder while an input runs
std::string original;  // the current folder between inputs (libFuzzer's files)

bool SameFile(const std::string& a, const std::string& b) {
  struct stat sa, sb;
  if (stat(a.c_str(), &sa) != 0 || stat(b.c_str(), &sb) != 0) return false;
  return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

bool Exists(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0;
}

// The absolute form of a Unix path with "." and ".." folded by name.
std::string FoldByName(const std::string& path) {
  std::string absolute = path;
  if (absolute.empty() || absolute[0] != '/') {
    char buffer[4096];
    if (getcwd(buffer, sizeof buffer) == nullptr) return std::string();
    absolute = std::string(buffer) + "/" + absolute;
  }
  std::vector<std::string> parts;
  std::size_t pos = 0;
  while (pos <= absolute.size()) {
    std::size_t end = absolute.find('/', pos);
    if (end == std::string::npos) end = absolute.size();
    std::string part = absolute.substr(pos, end - pos);
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    pos = end + 1;
  }
  std::string folded;
  for (const std::string& part : parts) folded += "/" + part;
  return folded.empty() ? "/" : folded;
}

// Windows folds ".." by name, before any link is followed; Unix follows the
// link first. Where the two disagree (a ".." right after a link) the paths
// name different files by design, and the round trip is not checked.
bool FoldsLikeUnix(const std::string& path) {
  if (path.find("..") == std::string::npos) return true;
  std::string folded = FoldByName(path);
  return !folded.empty() && SameFile(folded, path);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  scratch = fuzz::ScratchFolder("path");
  const std::string prefix = scratch + "/prefix";
  fuzz::WriteScratchFile(prefix + "/drive_c/Programme/Kantrelwick/Kantrelwick.exe", "MZ");
  fuzz::WriteScratchFile(prefix + "/drive_c/Anlagen/Berg.anl", "a");
  fuzz::WriteScratchFile(prefix + "/drive_c/Anlagen/berg.ANL", "b");
  fuzz::WriteScratchFile(prefix + "/drive_c/Rollmaterial/Datenbl\xC3\xA4tter/V200.txt", "c");
  fuzz::WriteScratchFile(prefix + "/drive_c/\xC3\x84rger/\xE2\x82\xAC.txt", "d");
  fuzz::WriteScratchFile(prefix + "/drive_c/Fremd/\xE4\xB8\xAD.txt", "e");  // not in cp1252
  fuzz::WriteScratchFile(scratch + "/zroot/Daten/x.txt", "f");
  fuzz::WriteScratchFile(prefix + "/dosdevices/.keep", "");
  if (symlink("../drive_c", (prefix + "/dosdevices/c:").c_str()) != 0 ||
      symlink("../drive_c/Anlagen", (prefix + "/dosdevices/d:").c_str()) != 0 ||
      symlink((scratch + "/zroot").c_str(), (prefix + "/dosdevices/z:").c_str()) != 0 ||
      setenv("WINEPREFIX", prefix.c_str(), 1) != 0) {
    fuzz::Fail("prefix set-up", __FILE__, __LINE__);
  }
  working = prefix + "/drive_c/Programme";
  char buffer[4096];
  if (getcwd(buffer, sizeof buffer) == nullptr) fuzz::Fail("getcwd", __FILE__, __LINE__);
  original = buffer;
  return 0;
}

namespace {

// Relative paths are taken against a folder on drive C: while one input runs.
void Convert(const std::uint8_t* data, std::size_t size);

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  if (chdir(working.c_str()) != 0) fuzz::Fail("chdir", __FILE__, __LINE__);
  Convert(data, size);
  if (chdir(original.c_str()) != 0) fuzz::Fail("chdir back", __FILE__, __LINE__);
  return 0;
}

namespace {

void Convert(const std::uint8_t* data, std::size_t size) {
  std::string path(reinterpret_cast<const char*>(data) + 1, size - 1);
  std::string native, windows, error;
  if (data[0] & 1) {
    // Windows -> Unix.
    if (!platform::posix::ToNative(path, &native)) return;
    FUZZ_CHECK(!native.empty() && native[0] == '/');
    FUZZ_CHECK(native.find("/../") == std::string::npos);
    if (Exists(native)) {
      FUZZ_CHECK(platform::posix::ToWindows(native, &windows, &error));
      std::string back;
      FUZZ_CHECK(platform::posix::ToNative(windows, &back));
      FUZZ_CHECK(SameFile(native, back));
    }
    return;
  }
  // Unix -> Windows.
  if (!platform::posix::ToWindows(path, &windows, &error)) {
    FUZZ_CHECK(!error.empty());
    return;
  }
  FUZZ_CHECK(windows.size() >= 3 && windows[1] == ':' && windows[2] == '\\');
  FUZZ_CHECK(windows.find('/') == std::string::npos);
  if (Exists(path) && FoldsLikeUnix(path)) {
    FUZZ_CHECK(platform::posix::ToNative(windows, &native));
    FUZZ_CHECK(SameFile(path, native));
  }
}

}  // namespace
