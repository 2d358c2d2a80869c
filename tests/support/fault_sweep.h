// Fault sweeps: an operation that rewrites files is run once cleanly, then
// again with a failure planned at every single file operation it makes
// (each create, write, close, rename, directory change and directory
// creation in turn, through platform/faults.h), each time on the same files
// as before the clean run.
//
// What every faulted run must show: either the operation failed and said so,
// or the fault did no harm and the files are exactly those of the clean run.
// Either way every file below the folder holds its old bytes or the bytes
// the clean run gave it (a command that stops half-way keeps what it
// completed before, whole), and no other file exists: no temporary file, no
// partial file.
#pragma once

#include <functional>
#include <map>
#include <set>
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

struct FaultSweep {
  int attempts[platform::kFaultKindCount] = {};  // of each kind in the clean run
  int runs = 0;                                  // faulted runs whose fault was hit
  int reported = 0;                              // ... that failed and said so
  std::vector<std::string> harmlessAt;           // "kind:n" of each that did no harm
  std::vector<std::string> problems;             // one line per broken promise
  std::set<std::string> messages;                // what every failed run said

  // "create 2, write 2, close 2, rename 2, chdir 0, mkdir 0"
  std::string AttemptsText() const;
};

// One run of an operation: with n = 0 every attempt is counted and none
// fails, else the nth attempt of `kind` fails.
struct FaultedRun {
  bool ok = false;     // the operation succeeded
  std::string said;    // its messages
  std::string wrong;   // what is wrong with the run itself (a stray exit code)
  int attempts[platform::kFaultKindCount] = {};
};
using FaultedOperation = std::function<FaultedRun(int kind, int n)>;
// Takes out of a snapshot what differs from run to run for reasons of no
// interest (a process id in a log).
using TreeNormaliser = std::function<void(Tree*)>;

// The sweep itself, over any way of running the operation. With
// `expectMessage` a failed run must have said something.
FaultSweep SweepFaultedRuns(const std::string& nativeFolder, const FaultedOperation& run,
                            bool expectMessage, const TreeNormaliser& normalise = TreeNormaliser());

// The sweep of an operation of this process: `operation` returns non-zero
// on success; its messages are those it shows (operations that leave the
// telling to their callers pass `expectMessage` false).
FaultSweep SweepFaults(const std::string& nativeFolder, const std::function<int()>& operation,
                       bool expectMessage = true);

}  // namespace testing_support
