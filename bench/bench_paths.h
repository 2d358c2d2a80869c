// The Windows form of a bench folder's path; a bench cannot run without it.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/platform.h"

namespace bench {

inline std::string WindowsPath(const std::filesystem::path& native) {
  std::string windows, error;
  if (!platform::ToWindowsPath(native.string(), &windows, &error)) {
    std::fprintf(stderr, "%s\n", error.c_str());
    std::exit(1);
  }
  return windows;
}

// A throwaway folder under the temporary folder, removed with everything in
// it at the end; `windows` is its Windows form once `native` holds its files.
struct ScratchFolder {
  std::filesystem::path native;
  std::string windows;

  explicit ScratchFolder(const std::string& prefix)
      : native(std::filesystem::temp_directory_path() / (prefix + std::to_string(std::rand()))) {
    std::filesystem::create_directories(native);
  }
  ~ScratchFolder() {
    std::error_code ec;
    std::filesystem::remove_all(native, ec);
  }
};

}  // namespace bench
