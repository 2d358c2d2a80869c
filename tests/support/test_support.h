// Helpers shared by the tests: temporary folders with files written and read
// back, recorded messages, and code page 1252 texts spelt in UTF-8.
#pragma once

#include <string>
#include <vector>

#include "host/messages.h"
#include "host/wording.h"

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

// Records while alive the text of every reported reason (then the previous
// sink again).
class MessageRecorder {
 public:
  MessageRecorder() { host::SetMessageSink(&Record, this, &sink_, &context_); }
  ~MessageRecorder() { host::SetMessageSink(sink_, context_); }
  MessageRecorder(const MessageRecorder&) = delete;
  MessageRecorder& operator=(const MessageRecorder&) = delete;
  const std::vector<std::string>& messages() const { return texts_; }  // the texts, as shown
  void clear() { texts_.clear(); }

 private:
  static void Record(const host::Reason& reason, void* self) {
    static_cast<MessageRecorder*>(self)->texts_.push_back(host::Wording(reason));
  }
  std::vector<std::string> texts_;
  host::ReasonSink sink_ = nullptr;
  void* context_ = nullptr;
};

// Records while alive every diagnostic line of the layout reader.
class DiagnosticRecorder {
 public:
  DiagnosticRecorder() { host::SetDiagnosticSink(&Record, this); }
  ~DiagnosticRecorder() { host::SetDiagnosticSink(nullptr, nullptr); }
  DiagnosticRecorder(const DiagnosticRecorder&) = delete;
  DiagnosticRecorder& operator=(const DiagnosticRecorder&) = delete;
  const std::vector<std::string>& lines() const { return lines_; }

 private:
  static void Record(const std::string& line, void* self) {
    static_cast<DiagnosticRecorder*>(self)->lines_.push_back(line);
  }
  std::vector<std::string> lines_;
};

}  // namespace testing_support
