// Starting a program and waiting for its end on POSIX systems.
//
// A Windows program (a PE file, which starts with "MZ") runs under wine: the
// program named by $WINE, else "wine" from PATH, gets the program's Unix path
// and the arguments. Any other file is executed directly, which is how tests
// run a stand-in. Arguments are written as on a Windows command line, so
// their quotes are undone ("\"C:\x y\Berg.anl\"" arrives as C:\x y\Berg.anl)
// and they are converted from code page 1252 to UTF-8.
//
// While the program runs, the interrupt handler passes SIGINT, SIGTERM and
// SIGHUP on to it (posix/interrupt.cpp); they are blocked from the fork until
// the child is known, so none arrives unseen in between.
//
// The child is held back before its exec: it waits on a second pipe for the
// go byte, which the parent writes only once onStarted has taken its process
// id. Without it (onStarted said no, or the parent died and the pipe closed)
// the child ends without ever running the program.
//
// Whether the exec worked is learned through a close-on-exec pipe: it closes
// without data when the exec succeeds, and carries errno when it fails, so a
// program that could not be started is told apart from one that exits 127.
#include <fcntl.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <time.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "platform/cp1252.h"
#include "platform/interrupt.h"
#include "platform/platform.h"
#include "platform/posix/interrupt_child.h"
#include "platform/posix/native_path.h"

namespace platform {
namespace {

// One argument as the C runtime of a Windows program reads it from its
// command line: '"' opens and closes quoting (and "" inside quotes is one
// quote); backslashes are literal unless they precede a quote, where each
// pair gives one backslash and an odd one makes the quote literal. Spaces
// outside quotes stay as they are: every element is one argument.
std::string UndoWindowsQuotes(const std::string& argument) {
  std::string out;
  bool quoted = false;
  std::size_t i = 0;
  while (i < argument.size()) {
    std::size_t backslashes = 0;
    while (i < argument.size() && argument[i] == '\\') {
      ++backslashes;
      ++i;
    }
    if (i < argument.size() && argument[i] == '"') {
      out.append(backslashes / 2, '\\');
      if (backslashes % 2 == 1) {
        out.push_back('"');
      } else if (quoted && i + 1 < argument.size() && argument[i + 1] == '"') {
        out.push_back('"');
        ++i;
      } else {
        quoted = !quoted;
      }
      ++i;
    } else {
      out.append(backslashes, '\\');
      if (i < argument.size()) out.push_back(argument[i++]);
    }
  }
  return out;
}

bool StartsWithMz(const std::string& native) {
  std::FILE* file = std::fopen(native.c_str(), "rb");
  if (file == nullptr) return false;
  char magic[2] = {0, 0};
  bool pe = std::fread(magic, 1, 2, file) == 2 && magic[0] == 'M' && magic[1] == 'Z';
  std::fclose(file);
  return pe;
}

bool IsExecutableFile(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(path.c_str(), X_OK) == 0;
}

// The program `name` as execvp() would find it, searched here so that the
// child does nothing but exec. Empty when there is none.
std::string FindProgram(const std::string& name) {
  if (name.find('/') != std::string::npos) return IsExecutableFile(name) ? name : std::string();
  const char* path = std::getenv("PATH");
  std::string folders = path != nullptr ? path : "/usr/local/bin:/usr/bin:/bin";
  std::size_t pos = 0;
  while (pos <= folders.size()) {
    std::size_t end = folders.find(':', pos);
    if (end == std::string::npos) end = folders.size();
    std::string folder = folders.substr(pos, end - pos);
    if (folder.empty()) folder = ".";
    std::string candidate = folder + "/" + name;
    if (IsExecutableFile(candidate)) return candidate;
    pos = end + 1;
  }
  return std::string();
}

int ExitCodeOf(int status) {
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return -1;
}

// The byte that lets the held-back child go on to its exec.
const char kGo = 'g';

sigset_t InterruptSignals() {
  sigset_t set;
  sigemptyset(&set);
  for (int signal : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&set, signal);
  return set;
}

// Waits for `pid` as waitpid does. With `whileRunning` it looks ten times a
// second and tells each whole second that has passed.
pid_t WaitForEnd(pid_t pid, int* status, const std::function<void(int seconds)>& whileRunning) {
  pid_t waited;
  if (!whileRunning) {
    do {
      waited = waitpid(pid, status, 0);
    } while (waited < 0 && errno == EINTR);
    return waited;
  }
  const auto begin = std::chrono::steady_clock::now();
  int told = 0;
  for (;;) {
    waited = waitpid(pid, status, WNOHANG);
    if (waited != 0 && !(waited < 0 && errno == EINTR)) return waited;
    const struct timespec tenth = {0, 100 * 1000 * 1000};
    nanosleep(&tenth, nullptr);  // an interrupt only shortens it
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - begin);
    if (seconds.count() > told) {
      told = static_cast<int>(seconds.count());
      whileRunning(told);
    }
  }
}

}  // namespace

namespace {

// The loader of Windows programs as $WINE names it, else "wine".
std::string WineName() {
  const char* wine = std::getenv("WINE");
  return wine != nullptr && *wine != '\0' ? wine : "wine";
}

}  // namespace

std::string MissingLoaderOf(const std::string& program) {
  std::string native;
  if (!posix::ToNative(program, &native) || !StartsWithMz(native)) return "";
  const std::string wine = WineName();
  return FindProgram(wine).empty() ? wine : "";
}

int RunAndWait(const std::string& program, const std::vector<std::string>& args, int* exitCode, int* signal,
               const std::function<int(long pid)>& onStarted, const std::function<void(int seconds)>& whileRunning) {
  std::string native;
  if (!posix::ToNative(program, &native)) return 0;
  struct stat st;
  if (stat(native.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return 0;

  std::string executable;
  std::vector<std::string> argv;
  if (StartsWithMz(native)) {
    const std::string wineName = WineName();
    executable = FindProgram(wineName);
    if (executable.empty()) return 0;
    argv.push_back(wineName);
    argv.push_back(native);
  } else {
    executable = native;
    argv.push_back(args.empty() ? Cp1252ToUtf8(program) : Cp1252ToUtf8(UndoWindowsQuotes(args[0])));
  }
  for (std::size_t k = 1; k < args.size(); ++k) {
    argv.push_back(Cp1252ToUtf8(UndoWindowsQuotes(args[k])));
  }
  std::vector<char*> pointers;
  for (std::string& arg : argv) pointers.push_back(&arg[0]);
  pointers.push_back(nullptr);

  int report[2], go[2];
  if (pipe2(report, O_CLOEXEC) != 0) return 0;
  // A socket for the go byte, so that a child already gone is no SIGPIPE.
  if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, go) != 0) {
    close(report[0]);
    close(report[1]);
    return 0;
  }
  std::fflush(nullptr);
  const sigset_t interrupts = InterruptSignals();
  sigset_t previous;
  sigprocmask(SIG_BLOCK, &interrupts, &previous);
  pid_t pid = fork();
  if (pid < 0) {
    sigprocmask(SIG_SETMASK, &previous, nullptr);
    for (int fd : {report[0], report[1], go[0], go[1]}) close(fd);
    return 0;
  }
  if (pid == 0) {
    // Only async-signal-safe calls between fork and exec.
    close(report[0]);
    close(go[1]);
    char byte = 0;
    ssize_t got;
    do {
      got = read(go[0], &byte, 1);
    } while (got < 0 && errno == EINTR);
    if (got != 1 || byte != kGo) _exit(127);
    // An interrupt that came while the child waited ends it as it would
    // end the program, rather than running the parent's handler here.
    for (int each : {SIGINT, SIGTERM, SIGHUP}) {
      struct sigaction now;
      if (sigaction(each, nullptr, &now) == 0 && now.sa_handler != SIG_IGN && now.sa_handler != SIG_DFL) {
        now.sa_handler = SIG_DFL;
        now.sa_flags = 0;
        sigaction(each, &now, nullptr);
      }
    }
    sigprocmask(SIG_SETMASK, &previous, nullptr);
    execv(executable.c_str(), pointers.data());
    int error = errno;
    ssize_t ignored = write(report[1], &error, sizeof error);
    (void)ignored;
    _exit(127);
  }
  close(report[1]);
  close(go[0]);
  // An interrupt that came after the caller last looked is passed on now;
  // later ones by the handler.
  posix::SetInterruptChild(pid);
  if (InterruptRequested()) kill(pid, InterruptSignal());
  sigprocmask(SIG_SETMASK, &previous, nullptr);
  bool started = !onStarted || onStarted(static_cast<long>(pid));
  if (started) {
    ssize_t wrote;
    do {
      wrote = send(go[1], &kGo, 1, MSG_NOSIGNAL);
    } while (wrote < 0 && errno == EINTR);
    started = wrote == 1;
  }
  close(go[1]);  // without the go byte the child ends unrun
  int error = 0;
  ssize_t got;
  do {
    got = read(report[0], &error, sizeof error);
  } while (got < 0 && errno == EINTR);
  close(report[0]);
  started = started && got == 0;

  int status = 0;
  const pid_t waited = WaitForEnd(pid, &status, started ? whileRunning : nullptr);
  posix::SetInterruptChild(0);
  if (!started) return 0;
  if (exitCode != nullptr) *exitCode = waited == pid ? ExitCodeOf(status) : -1;
  if (signal != nullptr) *signal = waited == pid && WIFSIGNALED(status) ? WTERMSIG(status) : 0;
  return 1;
}

}  // namespace platform
