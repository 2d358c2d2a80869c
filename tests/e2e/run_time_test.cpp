// zuvo start on a terminal: while the simulator runs, standard error shows
// how long it has run, one line rewritten in place.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "e2e/installation.h"

namespace e2e {
namespace {

// zuvo with standard error on a new terminal; what it wrote there and its
// exit status.
RunResult RunOnTerminal(const Args& args, const std::string& env) {
  const int master = posix_openpt(O_RDWR | O_NOCTTY);
  if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0 || fcntl(master, F_SETFD, FD_CLOEXEC) != 0) {
    return RunResult();
  }
  std::vector<std::string> argv = {ZUVO_BINARY};
  argv.insert(argv.end(), args.begin(), args.end());
  const Child child = SpawnProgram(argv, {env}, ptsname(master));
  // Read until the terminal's last writer is gone (EIO on Linux).
  std::string seen;
  char block[4096];
  for (ssize_t got; (got = read(master, block, sizeof block)) > 0 || (got < 0 && errno == EINTR);) {
    if (got > 0) seen.append(block, static_cast<std::size_t>(got));
  }
  close(master);
  RunResult result = Finish(child);
  result.err = seen;
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
