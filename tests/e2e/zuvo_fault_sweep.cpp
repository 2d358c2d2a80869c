#include "e2e/zuvo_fault_sweep.h"

#include <cstdlib>
#include <string>

#include "support/fault_sweep.h"
#include "support/test_support.h"

namespace e2e {
namespace {

using testing_support::FaultKindName;
using testing_support::Tree;

const char kCountOnly[] = "999999999";

// Parses "create:n,write:n,..." as FaultAttemptsText writes it.
void ParseAttempts(const std::string& text, int attempts[platform::kFaultKindCount]) {
  for (int k = 0; k < platform::kFaultKindCount; ++k) {
    attempts[k] = -1;
    std::string key = std::string(FaultKindName(k)) + ":";
    std::size_t at = text.find(key);
    if (at != std::string::npos) attempts[k] = std::atoi(text.c_str() + at + key.size());
  }
}

}  // namespace

std::string ZuvoFaultSweep::AttemptsText() const {
  std::string text;
  for (int k = 0; k < platform::kFaultKindCount; ++k) {
    if (k > 0) text += ", ";
    text += std::string(FaultKindName(k)) + " " + std::to_string(attempts[k]);
  }
  return text;
}

ZuvoFaultSweep SweepZuvoFaults(const std::string& nativeFolder, const std::vector<std::string>& args,
                               const RunOptions& options, const TreeNormaliser& normalise) {
  auto snapshot = [&]() {
    Tree tree = testing_support::SnapshotTree(nativeFolder);
    if (normalise) normalise(&tree);
    return tree;
  };
  ZuvoFaultSweep sweep;
  testing_support::TempDir scratch;
  const std::string countsFile = scratch.NativePath("counts");
  const Tree original = testing_support::SnapshotTree(nativeFolder);
  Tree before = original;
  if (normalise) normalise(&before);

  auto run = [&](const std::string& plan, int attempts[platform::kFaultKindCount]) {
    RunOptions faulted = options;
    faulted.environment.push_back("ZUVO_FAULTS=" + plan);
    faulted.environment.push_back("ZUVO_FAULT_COUNTS=" + countsFile);
    scratch.Write("counts", "");
    RunResult result = RunZuvo(args, faulted);
    ParseAttempts(scratch.Read("counts"), attempts);
    return result;
  };

  std::string everyKind;
  for (int k = 0; k < platform::kFaultKindCount; ++k) {
    everyKind += std::string(k > 0 ? "," : "") + FaultKindName(k) + ":" + kCountOnly;
  }
  RunResult clean = run(everyKind, sweep.attempts);
  if (clean.exitCode != 0) {
    sweep.problems.push_back("the clean run exited " + std::to_string(clean.exitCode) + ": " + clean.err);
    return sweep;
  }
  const Tree after = snapshot();

  for (int k = 0; k < platform::kFaultKindCount; ++k) {
    for (int n = 1; n <= sweep.attempts[k] + 1; ++n) {
      testing_support::RestoreTree(nativeFolder, original);
      const std::string where = std::string(FaultKindName(k)) + ":" + std::to_string(n);
      int seen[platform::kFaultKindCount];
      RunResult result = run(where, seen);
      const Tree tree = snapshot();
      if (seen[k] < n) {
        if (n <= sweep.attempts[k]) sweep.problems.push_back(where + " was never reached");
        if (result.exitCode != 0 || tree != after) {
          sweep.problems.push_back(where + " (not hit) differs from the clean run: " + result.err);
        }
        continue;
      }
      ++sweep.runs;
      if (result.exitCode == 0) {
        if (tree == after) {
          ++sweep.harmless;
          sweep.harmlessAt.push_back(where);
        } else {
          sweep.problems.push_back(where + " exited 0 with other files than the clean run");
        }
        continue;
      }
      if (result.exitCode != 1) {
        sweep.problems.push_back(where + " exited " + std::to_string(result.exitCode) + ": " + result.err);
        continue;
      }
      ++sweep.reported;
      if (result.err.empty()) sweep.problems.push_back(where + " exited 1 without a message");
      sweep.messages.insert(result.err);
      std::string differences = testing_support::CompareTrees(before, after, tree);
      if (!differences.empty()) sweep.problems.push_back(where + ": " + differences);
    }
  }
  testing_support::RestoreTree(nativeFolder, original);
  return sweep;
}

}  // namespace e2e
