#include "fuzz_support.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "host/messages.h"

namespace fuzz {
namespace {

std::string& Scratch() {
  static std::string folder;
  return folder;
}

void RemoveScratch() {
  std::error_code ignored;
  if (!Scratch().empty()) std::filesystem::remove_all(Scratch(), ignored);
}

int messages = 0;
int diagnostics = 0;

void CountMessage(const host::Reason&, void*) { ++messages; }
void CountDiagnostic(const std::string&, void*) { ++diagnostics; }

}  // namespace

const std::string& ScratchFolder(const char* purpose) {
  if (Scratch().empty()) {
    std::string pattern = std::string("/tmp/zuvo-fuzz-") + purpose + ".XXXXXX";
    if (mkdtemp(&pattern[0]) == nullptr) {
      std::perror("mkdtemp");
      std::abort();
    }
    Scratch() = pattern;
    std::atexit(RemoveScratch);
  }
  return Scratch();
}

void WriteScratchFile(const std::string& unixPath, const std::string& bytes) {
  std::filesystem::path path(unixPath);
  std::error_code error;
  std::filesystem::create_directories(path.parent_path(), error);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (error || !out) {
    std::fprintf(stderr, "cannot write %s\n", unixPath.c_str());
    std::abort();
  }
}

void SilenceReports() {
  host::SetMessageSink(CountMessage, nullptr);
  host::SetDiagnosticSink(CountDiagnostic, nullptr);
}

int MessagesShown() { return messages; }
int DiagnosticsWritten() { return diagnostics; }

void ResetReportCounts() {
  messages = 0;
  diagnostics = 0;
}

void Fail(const char* condition, const char* file, int line) {
  std::fprintf(stderr, "%s:%d: check failed: %s\n", file, line, condition);
  std::abort();
}

}  // namespace fuzz
