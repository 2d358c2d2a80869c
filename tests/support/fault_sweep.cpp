#include "support/fault_sweep.h"

#include <filesystem>
#include <fstream>
#include <iterator>

#include "support/test_support.h"

namespace fs = std::filesystem;

namespace testing_support {
namespace {

const char* const kKindNames[platform::kFaultKindCount] = {"create", "write", "close", "rename", "chdir", "mkdir"};

bool Holds(const Tree& tree, const std::string& key, const Tree& other) {
  auto t = tree.find(key), o = other.find(key);
  return t == tree.end() ? o == other.end() : o != other.end() && t->second == o->second;
}

// What in `result` is neither as `before` nor as `after`.
std::string CompareTrees(const Tree& before, const Tree& after, const Tree& result) {
  Tree keys = before;
  keys.insert(after.begin(), after.end());
  keys.insert(result.begin(), result.end());
  std::string problems;
  for (const auto& entry : keys) {
    const std::string& key = entry.first;
    if (Holds(result, key, before) || Holds(result, key, after)) continue;
    const char* what = !result.count(key)                        ? " is gone"
                       : !before.count(key) && !after.count(key) ? " is left over"
                                                                 : " holds neither its old nor its new bytes";
    problems += (problems.empty() ? "" : "; ") + key + what;
  }
  return problems;
}

}  // namespace

Tree SnapshotTree(const std::string& nativeFolder) {
  Tree tree;
  std::error_code ec;
  for (auto it = fs::recursive_directory_iterator(nativeFolder, ec); it != fs::recursive_directory_iterator();
       it.increment(ec)) {
    const std::string key = it->path().lexically_relative(nativeFolder).generic_string();
    if (it->is_symlink(ec)) continue;
    std::ifstream in(it->path(), std::ios::binary);
    if (it->is_directory(ec))
      tree[key + "/"];
    else
      tree[key].assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  return tree;
}

void RestoreTree(const std::string& nativeFolder, const Tree& tree) {
  std::error_code ec;
  const Tree now = SnapshotTree(nativeFolder);
  for (auto entry = now.rbegin(); entry != now.rend(); ++entry) {
    if (!Holds(now, entry->first, tree)) fs::remove_all(fs::path(nativeFolder) / entry->first, ec);
  }
  for (const auto& entry : tree) {
    const fs::path path = fs::path(nativeFolder) / entry.first;
    if (Holds(tree, entry.first, now)) continue;
    fs::create_directories(entry.first.back() == '/' ? path : path.parent_path(), ec);
    if (entry.first.back() != '/') std::ofstream(path, std::ios::binary) << entry.second;
  }
}

FaultSweep SweepFaultedRuns(const std::string& nativeFolder, const FaultedOperation& run, bool expectMessage,
                            const std::function<void(Tree*)>& normalise) {
  auto snapshot = [&]() {
    Tree tree = SnapshotTree(nativeFolder);
    if (normalise) normalise(&tree);
    return tree;
  };
  FaultSweep sweep;
  const Tree original = SnapshotTree(nativeFolder), before = snapshot();
  const FaultedRun clean = run(0, 0);
  const Tree after = snapshot();
  if (!clean.ok || !clean.wrong.empty()) sweep.problems.push_back("the clean run failed: " + clean.wrong + clean.said);
  for (int k = 0; k < platform::kFaultKindCount && sweep.problems.empty(); ++k) {
    for (int n = 1;; ++n) {  // until the nth attempt no longer comes
      RestoreTree(nativeFolder, original);
      const FaultedRun faulted = run(k, n);
      std::string wrong = faulted.wrong;
      if (wrong.empty() && (faulted.ok || !faulted.hit)) {
        // A fault that did no harm, or none at all, leaves exactly the clean run's files.
        if (!faulted.ok || snapshot() != after) wrong = "differs from the clean run: " + faulted.said;
      } else if (wrong.empty()) {
        ++sweep.reported;
        wrong = expectMessage && faulted.said.empty() ? "failed without a message"
                                                      : CompareTrees(before, after, snapshot());
      }
      if (!wrong.empty()) sweep.problems.push_back(kKindNames[k] + (":" + std::to_string(n)) + ": " + wrong);
      if (!faulted.hit) break;
    }
  }
  RestoreTree(nativeFolder, original);
  return sweep;
}

FaultSweep SweepFaults(const std::string& nativeFolder, const std::function<int()>& operation, bool expectMessage) {
  return SweepFaultedRuns(
      nativeFolder,
      [&](int kind, int n) {
        platform::ClearFaults();
        if (n > 0) platform::PlanFault(static_cast<platform::FaultKind>(kind), n);
        FaultedRun result;
        MessageRecorder messages;
        result.ok = operation() != 0;
        result.hit = n > 0 && platform::FaultAttempts(static_cast<platform::FaultKind>(kind)) >= n;
        platform::ClearFaults();
        for (const std::string& m : messages.messages()) result.said += m;
        return result;
      },
      expectMessage);
}

}  // namespace testing_support
