// Helpers shared by the tests: temporary folders, files written and read back,
// recorded messages, and German texts written in UTF-8 for readability.
#pragma once

#include <string>
#include <vector>

#include "host/messages.h"

namespace testing_support {

// Code page 1252 text from a UTF-8 literal, so tests can spell "Löschen".
std::string Cp(const char* utf8);

// A fresh folder under the system's temporary folder, removed with its
// contents when the object dies. A `relative` path may use backslashes or
// slashes; missing parent folders are created on writing.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& native() const { return native_; }    // the folder as a native path
  const std::string& windows() const { return windows_; }  // as the system names it, no trailing backslash
  std::string Path(const std::string& relative) const;        // Windows path of `relative`
  std::string NativePath(const std::string& relative) const;  // native path of `relative`

  void Write(const std::string& relative, const std::string& bytes) const;
  void MakeDirs(const std::string& relative) const;
  std::string Read(const std::string& relative) const;  // empty when missing
  bool Exists(const std::string& relative) const;
  // Names in the folder `relative`, sorted, for checks that no stray file is left.
  std::vector<std::string> List(const std::string& relative = "") const;

 private:
  std::string native_;
  std::string windows_;
};

// Records every ShowMessage text while alive (restores the previous sink).
class MessageRecorder {
 public:
  MessageRecorder() { host::SetMessageSink(&Record, this, &previousSink_, &previousContext_); }
  ~MessageRecorder() { host::SetMessageSink(previousSink_, previousContext_); }
  MessageRecorder(const MessageRecorder&) = delete;
  MessageRecorder& operator=(const MessageRecorder&) = delete;

  const std::vector<std::string>& messages() const { return messages_; }
  void clear() { messages_.clear(); }

 private:
  static void Record(const std::string& text, void* self) {
    static_cast<MessageRecorder*>(self)->messages_.push_back(text);
  }
  std::vector<std::string> messages_;
  host::TextSink previousSink_ = nullptr;
  void* previousContext_ = nullptr;
};

// Records diagnostic lines while alive.
class DiagnosticRecorder {
 public:
  DiagnosticRecorder() { host::SetDiagnosticSink(&Record, this); }
  ~DiagnosticRecorder() { host::SetDiagnosticSink(nullptr, nullptr); }
  DiagnosticRecorder(const DiagnosticRecorder&) = delete;
  DiagnosticRecorder& operator=(const DiagnosticRecorder&) = delete;

  const std::vector<std::string>& lines() const { return lines_; }

 private:
  static void Record(const std::string& text, void* self) {
    static_cast<DiagnosticRecorder*>(self)->lines_.push_back(text);
  }
  std::vector<std::string> lines_;
};

}  // namespace testing_support
