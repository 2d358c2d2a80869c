// Fault sweeps: an operation that rewrites files runs once cleanly, then once
// with each single file operation it makes failing, each time on the files as
// they were before. A faulted run must fail and say so, each file keeping its
// old bytes or getting those of the clean run and no other file left; or do
// no harm and leave exactly the files of the clean run.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/faults.h"

namespace testing_support {

// Every entry below a folder by relative path ('/' separated) with its bytes;
// a folder's key ends in '/'. Symbolic links (a Wine prefix's drives) are left out.
using Tree = std::map<std::string, std::string>;
Tree SnapshotTree(const std::string& nativeFolder);
void RestoreTree(const std::string& nativeFolder, const Tree& tree);  // touches only what differs

// One run: with n = 0 no fault, else the nth attempt of `kind` fails.
struct FaultedRun {
  bool ok = false, hit = false;  // the operation succeeded; the planned attempt came
  std::string said, wrong;       // its messages; what is wrong with the run itself
};
using FaultedOperation = std::function<FaultedRun(int kind, int n)>;

struct FaultSweep {
  int reported = 0;                   // faulted runs that failed and said so
  std::vector<std::string> problems;  // "kind:n: what is wrong"
};

// `normalise` drops from each snapshot what differs between runs anyway.
FaultSweep SweepFaultedRuns(const std::string& nativeFolder, const FaultedOperation& run, bool expectMessage,
                            const std::function<void(Tree*)>& normalise = nullptr);
// An operation of this process, non-zero on success, its messages those it shows.
FaultSweep SweepFaults(const std::string& nativeFolder, const std::function<int()>& operation,
                       bool expectMessage = true);

}  // namespace testing_support
