// zuvo start on a terminal: while the simulator runs, standard error shows
// how long it has run, one line rewritten in place.
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "e2e/installation.h"

namespace e2e {
namespace {

// zuvo with standard error on a new terminal; what it wrote there and its
// exit status.
RunResult RunOnTerminal(const std::vector<std::string>& args, const std::string& env) {
  RunResult result;
  const int master = posix_openpt(O_RDWR | O_NOCTTY);
  if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) return result;
  const std::string slave = ptsname(master);
  std::vector<std::string> strings = {ZUVO_BINARY};
  strings.insert(strings.end(), args.begin(), args.end());
  std::string variable = env;
  std::vector<char*> argv;
  for (std::string& s : strings) argv.push_back(&s[0]);
  argv.push_back(nullptr);
  const pid_t pid = fork();
  if (pid == 0) {
    putenv(&variable[0]);
    const int in = open("/dev/null", O_RDONLY), out = open("/dev/null", O_WRONLY), err = open(slave.c_str(), O_RDWR);
    if (in < 0 || out < 0 || err < 0 || dup2(in, 0) < 0 || dup2(out, 1) < 0 || dup2(err, 2) < 0) _exit(127);
    close(master);
    execv(argv[0], argv.data());
    _exit(127);
  }
  // Read until the terminal's last writer is gone (EIO on Linux).
  char block[4096];
  for (;;) {
    const ssize_t got = read(master, block, sizeof block);
    if (got > 0) {
      result.err.append(block, static_cast<std::size_t>(got));
    } else if (got == 0 || errno != EINTR) {
      break;
    }
  }
  close(master);
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  if (WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
  return result;
}

TEST_F(InstallationTest, TheRunTimeTicksOnATerminal) {
  WritePlan({"[Ablauf]", "Pause=2400"});
  const RunResult run = RunOnTerminal({"start", Layout()}, Env().front());
  EXPECT_EQ(run.exitCode, 0);
  const std::string line = "\rKantrelwick l\xC3\xA4uft seit 0:0";
  EXPECT_NE(run.err.find(line + "1" + line + "2"), std::string::npos) << run.err;
  EXPECT_EQ(run.err.find(line + "4"), std::string::npos) << run.err;  // it stops with the run
  EXPECT_EQ(run.err.substr(run.err.size() - std::min<std::size_t>(run.err.size(), 2)), "\r\n");  // the line ended
  // Not on a terminal: no such line.
  WritePlan({"[Ablauf]", "Pause=1200"});
  EXPECT_EQ(Start().err, "");
}

}  // namespace
}  // namespace e2e
