#include "support/fault_sweep.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "support/test_support.h"

namespace fs = std::filesystem;

namespace testing_support {
namespace {

const char* const kKindNames[platform::kFaultKindCount] = {"create", "write", "close",
                                                           "rename", "chdir", "mkdir"};

bool Holds(const Tree& tree, const std::string& key, const Tree& other) {
  auto t = tree.find(key), o = other.find(key);
  return t == tree.end() ? o == other.end() : o != other.end() && t->second == o->second;
}

}  // namespace

std::string CompareTrees(const Tree& before, const Tree& after, const Tree& result) {
  Tree keys = before;
  keys.insert(after.begin(), after.end());
  keys.insert(result.begin(), result.end());
  std::string problems;
  for (const auto& entry : keys) {
    const std::string& key = entry.first;
    if (Holds(result, key, before) || Holds(result, key, after)) continue;
    if (!problems.empty()) problems += "; ";
    if (!result.count(key)) {
      problems += key + " is gone";
    } else if (!before.count(key) && !after.count(key)) {
      problems += key + " is left over";
    } else {
      problems += key + " holds neither its old nor its new bytes";
    }
  }
  return problems;
}

Tree SnapshotTree(const std::string& nativeFolder) {
  Tree tree;
  std::error_code ec;
  const fs::path root(nativeFolder);
  for (auto it = fs::recursive_directory_iterator(root, ec); it != fs::recursive_directory_iterator();
       it.increment(ec)) {
    std::string relative = it->path().lexically_relative(root).generic_string();
    if (it->is_symlink(ec)) {
      // A link (a Wine prefix's drive) is kept as a link, never followed.
      tree[relative + "@"] = fs::read_symlink(it->path(), ec).string();
    } else if (it->is_directory(ec)) {
      tree[relative + "/"] = std::string();
    } else {
      std::ifstream in(it->path(), std::ios::binary);
      tree[relative].assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
  }
  return tree;
}

void RestoreTree(const std::string& nativeFolder, const Tree& tree) {
  // Only what differs is touched, so that an entry that stayed keeps what a
  // tree does not hold (the permissions of a program, above all).
  std::error_code ec;
  const Tree now = SnapshotTree(nativeFolder);
  for (auto entry = now.rbegin(); entry != now.rend(); ++entry) {
    if (Holds(now, entry->first, tree)) continue;
    std::string key = entry->first;
    if (key.back() == '@' || key.back() == '/') key.pop_back();
    fs::remove_all(fs::path(nativeFolder) / key, ec);
  }
  for (const auto& entry : tree) {
    if (Holds(tree, entry.first, now)) continue;
    std::string key = entry.first;
    const char last = key.back();
    if (last == '@' || last == '/') key.pop_back();
    const fs::path path = fs::path(nativeFolder) / key;
    fs::create_directories(last == '/' ? path : path.parent_path(), ec);
    if (last == '@') {
      fs::create_symlink(entry.second, path, ec);
    } else if (last != '/') {
      std::ofstream(path, std::ios::binary | std::ios::trunc) << entry.second;
    }
  }
}

std::string FaultSweep::AttemptsText() const {
  std::string text;
  for (int k = 0; k < platform::kFaultKindCount; ++k) {
    text += std::string(k > 0 ? ", " : "") + kKindNames[k] + " " + std::to_string(attempts[k]);
  }
  return text;
}

FaultSweep SweepFaultedRuns(const std::string& nativeFolder, const FaultedOperation& run,
                            bool expectMessage, const TreeNormaliser& normalise) {
  auto snapshot = [&]() {
    Tree tree = SnapshotTree(nativeFolder);
    if (normalise) normalise(&tree);
    return tree;
  };
  FaultSweep sweep;
  const Tree original = SnapshotTree(nativeFolder);
  const Tree before = snapshot();
  FaultedRun clean = run(0, 0);
  std::copy(clean.attempts, clean.attempts + platform::kFaultKindCount, sweep.attempts);
  if (!clean.ok || !clean.wrong.empty()) {
    sweep.problems.push_back("the clean run failed: " + clean.wrong + clean.said);
    return sweep;
  }
  const Tree after = snapshot();

  for (int k = 0; k < platform::kFaultKindCount; ++k) {
    for (int n = 1; n <= sweep.attempts[k] + 1; ++n) {
      RestoreTree(nativeFolder, original);
      const FaultedRun faulted = run(k, n);
      const Tree tree = snapshot();
      const std::string where = std::string(kKindNames[k]) + ":" + std::to_string(n);
      if (faulted.attempts[k] < n && faulted.wrong.empty()) {
        // One past the last attempt: the operation runs as cleanly.
        if (n <= sweep.attempts[k]) sweep.problems.push_back(where + " was never reached");
        if (!faulted.ok || tree != after) sweep.problems.push_back(where + " (not hit) differs: " + faulted.said);
        continue;
      }
      ++sweep.runs;
      if (!faulted.wrong.empty() || faulted.ok) {
        // A fault that did no harm leaves exactly the clean run's files.
        if (!faulted.wrong.empty()) {
          sweep.problems.push_back(where + " " + faulted.wrong);
        } else if (tree == after) {
          sweep.harmlessAt.push_back(where);
        } else {
          sweep.problems.push_back(where + " succeeded with other files than the clean run");
        }
        continue;
      }
      ++sweep.reported;
      sweep.messages.insert(faulted.said);
      if (expectMessage && faulted.said.empty()) sweep.problems.push_back(where + " failed without a message");
      const std::string differences = CompareTrees(before, after, tree);
      if (!differences.empty()) sweep.problems.push_back(where + ": " + differences);
    }
  }
  RestoreTree(nativeFolder, original);
  return sweep;
}

FaultSweep SweepFaults(const std::string& nativeFolder, const std::function<int()>& operation,
                       bool expectMessage) {
  return SweepFaultedRuns(
      nativeFolder,
      [&](int kind, int n) {
        platform::ClearFaults();
        for (int k = 0; k < platform::kFaultKindCount; ++k) {
          // Counted but never reached: every attempt is counted, none fails.
          if (n == 0 || k == kind) platform::PlanFault(static_cast<platform::FaultKind>(k), n ? n : 999999999);
        }
        FaultedRun result;
        MessageRecorder messages;
        result.ok = operation() != 0;
        for (int k = 0; k < platform::kFaultKindCount; ++k) {
          result.attempts[k] = platform::FaultAttempts(static_cast<platform::FaultKind>(k));
        }
        platform::ClearFaults();
        for (const std::string& m : messages.messages()) result.said += m;
        return result;
      },
      expectMessage);
}

}  // namespace testing_support
