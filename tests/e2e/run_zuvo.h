// Runs the built zuvo program as a child process and collects what it wrote.
#pragma once

#include <string>
#include <vector>

namespace e2e {

struct RunResult {
  int exitCode = -1;  // -1 when it did not run or did not exit normally
  std::string out;    // standard output
  std::string err;    // standard error
};

struct RunOptions {
  std::vector<std::string> environment;  // "NAME=value" entries replacing or added to ours
  std::string workingDirectory;          // empty: ours
  std::string input;                     // standard input (empty: nothing)
};

// zuvo with `args` (without the program name).
RunResult RunZuvo(const std::vector<std::string>& args, const RunOptions& options = RunOptions());

}  // namespace e2e
