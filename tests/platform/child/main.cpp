// The child program that the platform tests start (Windows paths, as the
// platform layer takes them):
//   OUTPUT CODE [ARG...]        writes each argument as a line "[argument]" to
//                               OUTPUT, exits with CODE
//   --create-held PATH GO       once GO exists creates the held file PATH;
//                               exits with 10 + the HoldOutcome
//   --hold PATH MS              holds PATH, waits MS milliseconds, dies as if
//                               killed with the HoldOutcome as its exit code
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#ifdef _WIN32
#include <windows.h>
#endif

#include "platform/held_file.h"
#include "platform/platform.h"

namespace {

void SleepMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

// Ends this process at once, as a kill would: no cleanup, no flushing.
[[noreturn]] void DieNow(int code = 9) {
#ifdef _WIN32
  TerminateProcess(GetCurrentProcess(), static_cast<UINT>(code));
#endif
  std::_Exit(code);
}

int WriteArguments(int argc, char** argv) {
  std::FILE* out = argc < 3 ? nullptr : std::fopen(argv[1], "wb");
  if (out == nullptr) return 100;
  for (int i = 1; i < argc; ++i) std::fprintf(out, "[%s]\n", argv[i]);
  return std::fclose(out) != 0 ? 101 : std::atoi(argv[2]);
}

int CreateHeld(const std::string& path, const std::string& go) {
  for (int i = 0; i < 10000 && platform::PathStatus(go) != platform::kPathFile; ++i) SleepMs(1);
  platform::HeldFile held;
  const std::string bytes = "child " + std::to_string(platform::OwnProcessId());
  return 10 + static_cast<int>(platform::CreateHeldFile(path, bytes, "", &held));
}

int Hold(const std::string& path, int ms) {
  platform::HeldFile held;
  const platform::HoldOutcome outcome = platform::HoldFile(path, "", &held);
  SleepMs(ms);
  DieNow(static_cast<int>(outcome));  // without letting go
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "--create-held" && argc == 4) return CreateHeld(argv[2], argv[3]);
  if (mode == "--hold" && argc == 4) return Hold(argv[2], std::atoi(argv[3]));
  return WriteArguments(argc, argv);
}
