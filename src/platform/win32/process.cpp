// Starting a program on Windows and waiting for its end.
//
// The program is created suspended, in a job that ends it when this process
// dies (its last handle on the job closes), so it cannot run a single step
// before onStarted has its process id, and never when this process dies
// before that. Once it runs, the job lets it outlive this process, as a
// program started from the console does: a killed tool leaves the
// simulator running. Where no job can be made or joined, the start goes on
// without it.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/win32/interrupt_child.h"

namespace platform {
namespace {

bool SetKillOnClose(HANDLE job, bool kill) {
  JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
  limits.BasicLimitInformation.LimitFlags = kill ? JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE : 0;
  return SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof limits) != 0;
}

// A job holding `process` that ends it when closed; null when there is none.
HANDLE KillingJob(HANDLE process) {
  HANDLE job = CreateJobObjectA(nullptr, nullptr);
  if (job == nullptr) return nullptr;
  if (SetKillOnClose(job, true) && AssignProcessToJobObject(job, process)) return job;
  CloseHandle(job);
  return nullptr;
}

}  // namespace

std::string MissingLoaderOf(const std::string&) { return ""; }

int RunAndWait(const std::string& program, const std::vector<std::string>& args, int* exitCode, int* signal,
               const std::function<int(long pid)>& onStarted, const std::function<void(int seconds)>& whileRunning) {
  // The arguments joined with blanks into the command line, as given (as the
  // C runtime's spawn functions join them): an argument that must stay one
  // (a path with blanks) comes quoted.
  std::string commandLine;
  for (const std::string& arg : args) commandLine += (commandLine.empty() ? "" : " ") + arg;
  if (args.empty()) commandLine = program;
  std::vector<char> line(commandLine.begin(), commandLine.end());
  line.push_back('\0');
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION created = {};
  if (!CreateProcessA(program.c_str(), line.data(), nullptr, nullptr, TRUE, CREATE_SUSPENDED, nullptr, nullptr,
                      &startup, &created)) {
    return 0;
  }
  HANDLE job = KillingJob(created.hProcess);
  win32::SetInterruptChild(created.hProcess);
  const bool go = !onStarted || onStarted(static_cast<long>(created.dwProcessId));
  if (!go || ResumeThread(created.hThread) == static_cast<DWORD>(-1)) {
    TerminateProcess(created.hProcess, 1);
    WaitForSingleObject(created.hProcess, INFINITE);
    win32::SetInterruptChild(nullptr);
    if (job != nullptr) CloseHandle(job);
    CloseHandle(created.hThread);
    CloseHandle(created.hProcess);
    return 0;
  }
  CloseHandle(created.hThread);
  if (job != nullptr) {
    SetKillOnClose(job, false);
    CloseHandle(job);
  }
  if (whileRunning) {
    const ULONGLONG begin = GetTickCount64();
    int told = 0;
    while (WaitForSingleObject(created.hProcess, 100) == WAIT_TIMEOUT) {
      const int seconds = static_cast<int>((GetTickCount64() - begin) / 1000);
      if (seconds > told) {
        told = seconds;
        whileRunning(told);
      }
    }
  } else {
    WaitForSingleObject(created.hProcess, INFINITE);
  }
  win32::SetInterruptChild(nullptr);
  DWORD code = 0;
  if (!GetExitCodeProcess(created.hProcess, &code)) code = static_cast<DWORD>(-1);
  CloseHandle(created.hProcess);
  if (exitCode != nullptr) *exitCode = static_cast<int>(code);
  if (signal != nullptr) *signal = 0;
  return 1;
}

}  // namespace platform
