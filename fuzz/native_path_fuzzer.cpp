// Path conversion both ways in a throwaway Wine prefix under /tmp: drive C: (names that differ
// only in case, umlauts, a name outside code page 1252), D: inside C:, Z: on a folder of its
// own, so no conversion reaches outside the scratch folder. The first byte chooses the
// direction; the rest is the path. A path that names a file converts into one that names it too.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "fuzz_support.h"
#include "platform/posix/native_path.h"

namespace {

std::string working, original;  // the current folder during an input, and between inputs

bool SameFile(const std::string& a, const std::string& b) {
  struct stat sa, sb;
  return stat(a.c_str(), &sa) == 0 && stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

void Convert(const std::string& path, bool fromWindows) {
  using platform::posix::ToNative;
  std::string native, windows, error, back;
  if (fromWindows) {
    if (!ToNative(path, &native)) return;
    FUZZ_CHECK(!native.empty() && native[0] == '/' && native.find("/../") == std::string::npos);
    struct stat st;
    if (stat(native.c_str(), &st) != 0) return;
    FUZZ_CHECK(platform::posix::ToWindows(native, &windows, &error));
    FUZZ_CHECK(ToNative(windows, &back) && SameFile(native, back));
    return;
  }
  if (!platform::posix::ToWindows(path, &windows, &error)) {
    FUZZ_CHECK(!error.empty());
    return;
  }
  FUZZ_CHECK(windows.size() >= 3 && windows.compare(1, 2, ":\\") == 0);
  FUZZ_CHECK(windows.find('/') == std::string::npos);
  // Windows folds ".." by name before any link is followed, Unix after: where the two
  // disagree (a ".." right after a link) the paths name different files by design.
  std::error_code ignored;
  if (!SameFile(std::filesystem::absolute(path, ignored).lexically_normal().string(), path)) return;
  FUZZ_CHECK(ToNative(windows, &native) && SameFile(path, native));
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  const std::string scratch = fuzz::ScratchFolder("path"), prefix = scratch + "/prefix";
  for (const char* file :
       {"prefix/drive_c/Programme/Kantrelwick/Kantrelwick.exe", "prefix/drive_c/Anlagen/Berg.anl",
        "prefix/drive_c/Anlagen/berg.ANL", "prefix/drive_c/Rollmaterial/Datenbl\xC3\xA4tter/V200.txt",
        "prefix/drive_c/\xC3\x84rger/\xE2\x82\xAC.txt",
        "prefix/drive_c/Fremd/\xE4\xB8\xAD.txt",  // not in code page 1252
        "prefix/dosdevices/.keep", "zroot/Daten/x.txt"}) {
    fuzz::WriteScratchFile(scratch + "/" + file, "x");
  }
  if (symlink("../drive_c", (prefix + "/dosdevices/c:").c_str()) != 0 ||
      symlink("../drive_c/Anlagen", (prefix + "/dosdevices/d:").c_str()) != 0 ||
      symlink((scratch + "/zroot").c_str(), (prefix + "/dosdevices/z:").c_str()) != 0 ||
      setenv("WINEPREFIX", prefix.c_str(), 1) != 0) {
    fuzz::Fail("prefix set-up", __FILE__, __LINE__);
  }
  working = prefix + "/drive_c/Programme";
  original = std::filesystem::current_path().string();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  // Relative paths are taken against a folder on drive C: while one input runs.
  if (chdir(working.c_str()) != 0) fuzz::Fail("chdir", __FILE__, __LINE__);
  Convert(std::string(reinterpret_cast<const char*>(data) + 1, size - 1), data[0] & 1);
  if (chdir(original.c_str()) != 0) fuzz::Fail("chdir back", __FILE__, __LINE__);
  return 0;
}
