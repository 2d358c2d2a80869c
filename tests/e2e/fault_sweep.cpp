#include "e2e/fault_sweep.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "e2e/installation.h"

namespace fs = std::filesystem;

namespace e2e {
namespace {

const char* const kKinds[] = {"create", "write", "close", "rename", "chdir", "mkdir", "remove"};

bool Holds(const Tree& tree, const std::string& key, const Tree& other) {
  auto t = tree.find(key), o = other.find(key);
  return t == tree.end() ? o == other.end() : o != other.end() && t->second == o->second;
}

// What in `result` is neither as `before` nor as `after`; a marker may be
// left over.
std::string CompareTrees(const Tree& before, const Tree& after, const Tree& result, const Args& markers) {
  Tree keys = before;
  keys.insert(after.begin(), after.end());
  keys.insert(result.begin(), result.end());
  std::string problems;
  for (const auto& entry : keys) {
    const std::string& key = entry.first;
    if (Holds(result, key, before) || Holds(result, key, after)) continue;
    if (!before.count(key) && !after.count(key) && std::find(markers.begin(), markers.end(), key) != markers.end()) {
      continue;
    }
    const char* what = !result.count(key)                        ? " is gone"
                       : !before.count(key) && !after.count(key) ? " is left over"
                                                                 : " holds neither its old nor its new bytes";
    problems += (problems.empty() ? "" : "; ") + key + what;
  }
  return problems;
}

// A layout history's index says when each version was kept, which differs
// between two runs of one command: the times are left out.
void ForgetHistoryTimes(Tree* tree) {
  const std::string index = "/Verlauf.txt";
  for (auto& entry : *tree) {
    const std::string& key = entry.first;
    if (key.size() < index.size() || key.compare(key.size() - index.size(), index.size(), index) != 0) continue;
    std::string& text = entry.second;
    for (std::size_t at = text.find("Zeit="); at != std::string::npos; at = text.find("Zeit=", at + 5)) {
      text.erase(at + 5, text.find('\r', at) - at - 5);
    }
  }
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

FaultSweep SweepZuvoFaults(const std::string& nativeFolder, const Args& args, const Args& env,
                           const std::function<void(Tree*)>& normalise, const Args& heal, const Args& markers) {
  testing_support::TempDir scratch;
  bool hit = false;  // the planned attempt came
  const auto run = [&](int kind, int n) {
    std::vector<std::string> faulted = env;
    if (n > 0) {
      faulted.push_back("ZUVO_FAULTS=" + std::string(kKinds[kind]) + ":" + std::to_string(n));
      faulted.push_back("ZUVO_FAULT_COUNTS=" + scratch.NativePath("counts"));
    }
    scratch.Write("counts", "");
    const RunResult zuvo = RunZuvo(args, faulted);
    const std::string counts = scratch.Read("counts"), key = std::string(kKinds[kind]) + ":";
    const std::size_t at = counts.find(key);
    hit = n > 0 && at != std::string::npos && std::atoi(&counts[at + key.size()]) >= n;
    return zuvo;
  };
  const auto snapshot = [&]() {
    Tree tree = SnapshotTree(nativeFolder);
    ForgetHistoryTimes(&tree);
    if (normalise) normalise(&tree);
    return tree;
  };
  FaultSweep sweep;
  const Tree original = SnapshotTree(nativeFolder), before = snapshot();
  const RunResult clean = run(0, 0);
  const Tree after = snapshot();
  if (clean.exitCode != 0) sweep.problems.push_back("the clean run failed: " + clean.err);
  for (int k = 0; k < 7 && clean.exitCode == 0; ++k) {
    for (int n = 1;; ++n) {  // until the nth attempt no longer comes
      RestoreTree(nativeFolder, original);
      const RunResult faulted = run(k, n);
      const std::string name = kKinds[k] + (":" + std::to_string(n));
      std::string wrong;
      if (faulted.exitCode != 0 && faulted.exitCode != 1) {
        wrong = "exited " + std::to_string(faulted.exitCode);
      } else if (faulted.exitCode == 0 || !hit) {
        // A fault that did no harm, or none at all, leaves exactly the clean run's files.
        if (faulted.exitCode != 0 || snapshot() != after) wrong = "differs from the clean run: " + faulted.err;
      } else {
        ++sweep.reported;
        const RunResult healed = heal.empty() ? RunResult{0, "", ""} : RunZuvo(heal, env);
        wrong = faulted.err.empty()    ? "failed without a message"
                : healed.exitCode != 0 ? "not healed: " + healed.err
                                       : CompareTrees(before, after, snapshot(), markers);
      }
      if (!wrong.empty()) sweep.problems.push_back(name + ": " + wrong);
      if (!hit) break;
    }
  }
  RestoreTree(nativeFolder, original);
  return sweep;
}

}  // namespace e2e
