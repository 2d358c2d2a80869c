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

namespace {

std::string ToSlashes(std::string s) {
#ifndef _WIN32
  for (char& c : s) {
    if (c == '\\') c = '/';
  }
#else
  for (char& c : s) {
    if (c == '/') c = '\\';
  }
#endif
  return s;
}

}  // namespace

TempDir::TempDir() {
  static std::atomic<int> counter{0};
  auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  fs::path base = fs::temp_directory_path();
  for (int attempt = 0;; ++attempt) {
    fs::path candidate = base / ("zuvo-test-" + std::to_string(stamp) + "-" +
                                 std::to_string(counter++) + "-" + std::to_string(attempt));
    std::error_code ec;
    if (fs::create_directory(candidate, ec)) {
      native_ = candidate.string();
      break;
    }
  }
#ifdef _WIN32
  windows_ = native_;
#else
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
  for (char& c : r) {
    if (c == '/') c = '\\';
  }
  return relative.empty() ? windows_ : windows_ + "\\" + r;
}

std::string TempDir::NativePath(const std::string& relative) const {
  if (relative.empty()) return native_;
#ifdef _WIN32
  return native_ + "\\" + ToSlashes(relative);
#else
  return native_ + "/" + platform::Cp1252ToUtf8(ToSlashes(relative));
#endif
}

void TempDir::Write(const std::string& relative, const std::string& bytes) const {
  fs::path path = NativePath(relative);
  fs::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) ADD_FAILURE() << "cannot write " << path.string();
}

void TempDir::MakeDirs(const std::string& relative) const {
  fs::create_directories(NativePath(relative));
}

std::string TempDir::Read(const std::string& relative) const {
  std::ifstream in(NativePath(relative), std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
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

MessageRecorder::MessageRecorder() {
  host::SetMessageSink(&MessageRecorder::Record, this, &previousSink_, &previousContext_);
}

MessageRecorder::~MessageRecorder() { host::SetMessageSink(previousSink_, previousContext_); }

void MessageRecorder::Record(const std::string& text, void* context) {
  static_cast<MessageRecorder*>(context)->messages_.push_back(text);
}

DiagnosticRecorder::DiagnosticRecorder() { host::SetDiagnosticSink(&DiagnosticRecorder::Record, this); }

DiagnosticRecorder::~DiagnosticRecorder() { host::SetDiagnosticSink(nullptr, nullptr); }

void DiagnosticRecorder::Record(const std::string& text, void* context) {
  static_cast<DiagnosticRecorder*>(context)->lines_.push_back(text);
}

}  // namespace testing_support
