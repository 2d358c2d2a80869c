#include "support/test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/cp1252.h"
#include "platform/platform.h"

namespace fs = std::filesystem;

namespace testing_support {

std::string Cp(const char* utf8) {
  std::string out;
  if (!platform::Utf8ToCp1252(utf8, &out)) ADD_FAILURE() << "not code page 1252: " << utf8;
  return out;
}

TempDir::TempDir() {
  static std::atomic<int> counter{0};
  const std::string stamp = std::to_string(std::chrono::steady_clock::now().time_since_epoch().count());
  std::error_code ec;
  do {
    native_ = (fs::temp_directory_path() / ("zuvo-test-" + stamp + "-" + std::to_string(counter++))).string();
  } while (!fs::create_directory(native_, ec));
  windows_ = native_;
#ifndef _WIN32
  std::string error;
  if (!platform::ToWindowsPath(native_, &windows_, &error)) ADD_FAILURE() << error;
#endif
}

TempDir::~TempDir() {
  std::error_code ec;
  fs::remove_all(native_, ec);
}

std::string TempDir::Path(const std::string& relative) const {
  std::string r = relative;
  std::replace(r.begin(), r.end(), '/', '\\');
  return relative.empty() ? windows_ : windows_ + "\\" + r;
}

std::string TempDir::NativePath(const std::string& relative) const {
  if (relative.empty()) return native_;
  std::string r = relative;
#ifdef _WIN32
  std::replace(r.begin(), r.end(), '/', '\\');
  return native_ + "\\" + r;
#else
  std::replace(r.begin(), r.end(), '\\', '/');
  return native_ + "/" + platform::Cp1252ToUtf8(r);
#endif
}

void TempDir::Write(const std::string& relative, const std::string& bytes) const {
  const fs::path path = NativePath(relative);
  fs::create_directories(path.parent_path());
  if (!(std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes)) ADD_FAILURE() << "cannot write " << path;
}

void TempDir::MakeDirs(const std::string& relative) const { fs::create_directories(NativePath(relative)); }

std::string TempDir::Read(const std::string& relative) const {
  std::ostringstream content;
  content << std::ifstream(NativePath(relative), std::ios::binary).rdbuf();
  return content.str();
}

bool TempDir::Exists(const std::string& relative) const {
  std::error_code ec;
  return fs::exists(NativePath(relative), ec);
}

std::vector<std::string> TempDir::List(const std::string& relative) const {
  std::vector<std::string> names;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(NativePath(relative), ec)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace testing_support
