// Helpers shared by the tests: temporary folders with files written and read
// back, recorded messages, and code page 1252 texts spelt in UTF-8.
#pragma once

#include <string>
#include <vector>

#include "host/messages.h"

namespace testing_support {

std::string Cp(const char* utf8);  // so that a test can spell "Löschen"

// A fresh folder under the system's temporary folder, removed with its
// contents at the end. `relative` may use backslashes or slashes; writing
// makes missing parent folders.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& native() const { return native_; }
  const std::string& windows() const { return windows_; }  // as the system names it
  std::string Path(const std::string& relative) const;     // Windows path
  std::string NativePath(const std::string& relative) const;
  void Write(const std::string& relative, const std::string& bytes) const;
  void MakeDirs(const std::string& relative) const;
  std::string Read(const std::string& relative) const;  // empty when missing
  bool Exists(const std::string& relative) const;
  std::vector<std::string> List(const std::string& relative = "") const;  // sorted names

 private:
  std::string native_, windows_;
};

// Records while alive every ShowMessage text (MessageRecorder; then the
// previous sink again) or every diagnostic line (DiagnosticRecorder).
template <bool kDiagnostics>
class Recorder {
 public:
  Recorder() {
    kDiagnostics ? host::SetDiagnosticSink(&Record, this) : host::SetMessageSink(&Record, this, &sink_, &context_);
  }
  ~Recorder() { kDiagnostics ? host::SetDiagnosticSink(nullptr, nullptr) : host::SetMessageSink(sink_, context_); }
  Recorder(const Recorder&) = delete;
  Recorder& operator=(const Recorder&) = delete;
  const std::vector<std::string>& messages() const { return texts_; }
  const std::vector<std::string>& lines() const { return texts_; }
  void clear() { texts_.clear(); }

 private:
  static void Record(const std::string& text, void* self) { static_cast<Recorder*>(self)->texts_.push_back(text); }
  std::vector<std::string> texts_;
  host::TextSink sink_ = nullptr;
  void* context_ = nullptr;
};
using MessageRecorder = Recorder<false>;
using DiagnosticRecorder = Recorder<true>;

}  // namespace testing_support
