// Fault sweeps: an operation that rewrites files is run once cleanly, then
// again with a failure planned at every single file operation it makes
// (each create, write, close, rename, directory change and directory
// creation in turn, through platform/faults.h), each time on the same files
// as before the clean run.
//
// What every faulted run must show: either the operation failed and said so
// (a result of 0 and at least one message, when messages are expected), or
// the fault did no harm and the result is exactly that of the clean run.
// Either way every file below the folder holds its old bytes or the bytes
// the clean run gave it (a command that stops half-way keeps what it
// completed before, whole), and no other file exists: no temporary file, no
// partial file.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/faults.h"

namespace testing_support {

// Every file and folder below a native folder by relative path ('/'
// separated); a folder's key ends in '/' and has no bytes, a symbolic link's
// key ends in '@' and holds its target.
using Tree = std::map<std::string, std::string>;

Tree SnapshotTree(const std::string& nativeFolder);

// Makes the folder hold exactly `tree` again.
void RestoreTree(const std::string& nativeFolder, const Tree& tree);

// What breaks the promise above in `result`, the tree after a faulted run,
// given the trees before and after a clean run; empty when nothing does.
std::string CompareTrees(const Tree& before, const Tree& after, const Tree& result);

// The name of a fault kind as ZUVO_FAULTS spells it.
const char* FaultKindName(int kind);

struct FaultSweep {
  // Attempts of each kind in the clean run.
  int attempts[platform::kFaultKindCount] = {};
  // Faulted runs made, those that failed and said so, those that did no harm.
  int runs = 0;
  int reported = 0;
  int harmless = 0;
  // One line per broken promise; empty when all held.
  std::vector<std::string> harmlessAt;  // "kind:n" of each harmless fault
  std::vector<std::string> problems;

  // "create 2, write 2, close 2, rename 2, chdir 0, mkdir 0"
  std::string AttemptsText() const;
};

// Runs the sweep on the files below `nativeFolder`. `operation` returns the
// operation's result (non-zero success). The clean run must succeed. With
// `expectMessage` a failed run must have shown a message (operations that
// leave the telling to their callers pass false).
FaultSweep SweepFaults(const std::string& nativeFolder, const std::function<int()>& operation,
                       bool expectMessage = true);

}  // namespace testing_support
