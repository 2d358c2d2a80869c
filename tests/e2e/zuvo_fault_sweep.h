// zuvo run under a failure at every file operation it makes, through
// ZUVO_FAULTS (see platform/faults.h and support/fault_sweep.h).
//
// A clean run (which must exit 0) counts the attempts of each kind through
// ZUVO_FAULT_COUNTS and gives the files as they should end. Then, for each
// kind and each N from 1 to one past its attempts, the files are put back as
// they were before and zuvo runs with the Nth attempt failing. A run whose
// fault was hit must either exit 1 with a message on standard error and
// leave each file with its old bytes or its clean-run bytes (no temporary or
// partial file), or exit 0 with exactly the clean run's files (the fault did
// no harm). The run one past the last attempt must equal the clean run.
#pragma once

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "e2e/run_zuvo.h"
#include "platform/faults.h"
#include "support/fault_sweep.h"

namespace e2e {

struct ZuvoFaultSweep {
  int attempts[platform::kFaultKindCount] = {};
  int runs = 0;      // faulted runs whose fault was hit
  int reported = 0;  // ... that exited 1 with a message
  int harmless = 0;  // ... that exited 0 with the clean run's files
  std::vector<std::string> harmlessAt;  // "kind:n" of each harmless fault
  std::vector<std::string> problems;
  std::set<std::string> messages;  // every standard-error text of a failed run

  // "create 2, write 2, close 2, rename 2, chdir 1, mkdir 0"
  std::string AttemptsText() const;
};

// Takes out of a snapshot what differs from run to run for reasons of no
// interest (a process id in a log), before trees are compared.
using TreeNormaliser = std::function<void(testing_support::Tree*)>;

// Sweeps zuvo `args` over the files below `nativeFolder`.
ZuvoFaultSweep SweepZuvoFaults(const std::string& nativeFolder, const std::vector<std::string>& args,
                               const RunOptions& options = RunOptions(),
                               const TreeNormaliser& normalise = TreeNormaliser());

}  // namespace e2e
