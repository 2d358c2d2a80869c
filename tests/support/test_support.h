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
// contents when the object dies.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  // The folder as a native path (Unix path on Linux, Windows path on Windows).
  const std::string& native() const { return native_; }
  // The folder as the Windows path the system uses, without trailing backslash.
  const std::string& windows() const { return windows_; }

  // Windows path of `relative` (backslashes) inside the folder.
  std::string Path(const std::string& relative) const;
  // Native path of `relative` (backslashes or slashes) inside the folder.
  std::string NativePath(const std::string& relative) const;

  // Writes a file (creating parent folders); `relative` may use backslashes.
  void Write(const std::string& relative, const std::string& bytes) const;
  // Creates a folder and its parents.
  void MakeDirs(const std::string& relative) const;
  // Reads a file; empty when missing.
  std::string Read(const std::string& relative) const;
  bool Exists(const std::string& relative) const;
  // Names in the folder `relative` (sorted), for checks that no stray file is left.
  std::vector<std::string> List(const std::string& relative = "") const;

 private:
  std::string native_;
  std::string windows_;
};

// Records every ShowMessage text while alive (restores the previous sink).
class MessageRecorder {
 public:
  MessageRecorder();
  ~MessageRecorder();
  MessageRecorder(const MessageRecorder&) = delete;
  MessageRecorder& operator=(const MessageRecorder&) = delete;

  const std::vector<std::string>& messages() const { return messages_; }
  void clear() { messages_.clear(); }

 private:
  static void Record(const std::string& text, void* context);
  std::vector<std::string> messages_;
  host::TextSink previousSink_ = nullptr;
  void* previousContext_ = nullptr;
};

// Records diagnostic lines while alive.
class DiagnosticRecorder {
 public:
  DiagnosticRecorder();
  ~DiagnosticRecorder();
  DiagnosticRecorder(const DiagnosticRecorder&) = delete;
  DiagnosticRecorder& operator=(const DiagnosticRecorder&) = delete;

  const std::vector<std::string>& lines() const { return lines_; }

 private:
  static void Record(const std::string& text, void* context);
  std::vector<std::string> lines_;
};

}  // namespace testing_support
