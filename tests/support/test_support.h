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
  const std::string& windows() const { return windows_; }     // as the system names it
  std::string Path(const std::string& relative) const;        // Windows path
  std::string NativePath(const std::string& relative) const;
  void Write(const std::string& relative, const std::string& bytes) const;
  void MakeDirs(const std::string& relative) const;
  std::string Read(const std::string& relative) const;  // empty when missing
  bool Exists(const std::string& relative) const;
  std::vector<std::string> List(const std::string& relative = "") const;  // sorted names

 private:
  std::string native_, windows_;
};

inline void RecordText(const std::string& text, void* texts) {
  static_cast<std::vector<std::string>*>(texts)->push_back(text);
}

// Every ShowMessage text while alive; then the previous sink again.
class MessageRecorder {
 public:
  MessageRecorder() { host::SetMessageSink(&RecordText, &texts_, &previous_, &context_); }
  ~MessageRecorder() { host::SetMessageSink(previous_, context_); }
  MessageRecorder(const MessageRecorder&) = delete;
  MessageRecorder& operator=(const MessageRecorder&) = delete;
  const std::vector<std::string>& messages() const { return texts_; }
  void clear() { texts_.clear(); }

 private:
  std::vector<std::string> texts_;
  host::TextSink previous_ = nullptr;
  void* context_ = nullptr;
};

// Every diagnostic line while alive.
class DiagnosticRecorder {
 public:
  DiagnosticRecorder() { host::SetDiagnosticSink(&RecordText, &texts_); }
  ~DiagnosticRecorder() { host::SetDiagnosticSink(nullptr, nullptr); }
  DiagnosticRecorder(const DiagnosticRecorder&) = delete;
  DiagnosticRecorder& operator=(const DiagnosticRecorder&) = delete;
  const std::vector<std::string>& lines() const { return texts_; }

 private:
  std::vector<std::string> texts_;
};

}  // namespace testing_support
