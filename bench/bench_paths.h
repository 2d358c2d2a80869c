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

}  // namespace bench
