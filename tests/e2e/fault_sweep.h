// Fault sweeps through ZUVO_FAULTS: a zuvo command runs once cleanly, then
// once with each single file operation it makes failing, each time on the
// files as they were before. A faulted run must exit 1 with a message, each
// file holding its old bytes or those of the clean run and no other file
// left; or do no harm and leave exactly the files of the clean run.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace e2e {

// Every entry below a folder by relative path with its bytes, a folder's key
// ending in '/'; symbolic links (a Wine prefix's drives) left out.
using Tree = std::map<std::string, std::string>;
Tree SnapshotTree(const std::string& nativeFolder);
void RestoreTree(const std::string& nativeFolder, const Tree& tree);  // touches only what differs

struct FaultSweep {
  int reported = 0;                   // faulted runs that failed and said so
  std::vector<std::string> problems;  // "kind:n: what is wrong"
};

// `normalise` drops from each snapshot what differs between runs anyway
// (the times in a layout history's index are always left out).
// With `heal`, that command runs after each faulted run that failed, and must
// leave each file with its old or its new bytes. `markers` are files that a
// faulted run may leave to say that what it changed is incomplete.
FaultSweep SweepZuvoFaults(const std::string& nativeFolder, const std::vector<std::string>& args,
                           const std::vector<std::string>& env, const std::function<void(Tree*)>& normalise = nullptr,
                           const std::vector<std::string>& heal = {}, const std::vector<std::string>& markers = {});

}  // namespace e2e
