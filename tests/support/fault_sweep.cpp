#include "support/fault_sweep.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

#include "host/messages.h"
#include "support/test_support.h"

namespace fs = std::filesystem;

namespace testing_support {
namespace {

const char* const kKindNames[platform::kFaultKindCount] = {"create", "write", "close",
                                                           "rename", "chdir", "mkdir"};

// Counted but never reached: every attempt is counted, none fails.
const int kCountOnly = 999999999;

std::string ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

std::string CompareTrees(const Tree& before, const Tree& after, const Tree& result) {
  std::set<std::string> keys;
  for (const Tree* t : {&before, &after, &result}) {
    for (const auto& entry : *t) keys.insert(entry.first);
  }
  std::string problems;
  for (const std::string& key : keys) {
    auto b = before.find(key), a = after.find(key), r = result.find(key);
    bool asBefore = (b == before.end() && r == result.end()) ||
                    (b != before.end() && r != result.end() && b->second == r->second);
    bool asAfter = (a == after.end() && r == result.end()) ||
                   (a != after.end() && r != result.end() && a->second == r->second);
    if (asBefore || asAfter) continue;
    if (!problems.empty()) problems += "; ";
    if (r == result.end()) {
      problems += key + " is gone";
    } else if (b == before.end() && a == after.end()) {
      problems += key + " is left over";
    } else {
      problems += key + " holds neither its old nor its new bytes";
    }
  }
  return problems;
}

const char* FaultKindName(int kind) { return kKindNames[kind]; }

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
      tree[relative] = ReadBytes(it->path());
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
    auto wanted = tree.find(entry->first);
    if (wanted != tree.end() && wanted->second == entry->second) continue;
    std::string key = entry->first;
    if (key.back() == '@' || key.back() == '/') key.pop_back();
    fs::remove_all(fs::path(nativeFolder) / fs::path(key), ec);
  }
  for (const auto& entry : tree) {
    auto present = now.find(entry.first);
    if (present != now.end() && present->second == entry.second) continue;
    const std::string& key = entry.first;
    if (!key.empty() && key.back() == '@') {
      fs::path link = fs::path(nativeFolder) / fs::path(key.substr(0, key.size() - 1));
      fs::create_directories(link.parent_path(), ec);
      fs::create_symlink(entry.second, link, ec);
      continue;
    }
    fs::path path = fs::path(nativeFolder) / fs::path(key);
    if (!key.empty() && key.back() == '/') {
      fs::create_directories(path, ec);
      continue;
    }
    fs::create_directories(path.parent_path(), ec);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(entry.second.data(), static_cast<std::streamsize>(entry.second.size()));
  }
}

std::string FaultSweep::AttemptsText() const {
  std::string text;
  for (int k = 0; k < platform::kFaultKindCount; ++k) {
    if (k > 0) text += ", ";
    text += std::string(kKindNames[k]) + " " + std::to_string(attempts[k]);
  }
  return text;
}

FaultSweep SweepFaults(const std::string& nativeFolder, const std::function<int()>& operation,
                       bool expectMessage) {
  FaultSweep sweep;
  const Tree before = SnapshotTree(nativeFolder);

  platform::ClearFaults();
  for (int k = 0; k < platform::kFaultKindCount; ++k) {
    platform::PlanFault(static_cast<platform::FaultKind>(k), kCountOnly);
  }
  int cleanResult;
  {
    MessageRecorder quiet;
    cleanResult = operation();
    if (!cleanResult) {
      std::string said;
      for (const std::string& m : quiet.messages()) said += m;
      sweep.problems.push_back("the clean run failed: " + said);
    }
  }
  for (int k = 0; k < platform::kFaultKindCount; ++k) {
    sweep.attempts[k] = platform::FaultAttempts(static_cast<platform::FaultKind>(k));
  }
  platform::ClearFaults();
  const Tree after = SnapshotTree(nativeFolder);
  if (!cleanResult) return sweep;

  for (int k = 0; k < platform::kFaultKindCount; ++k) {
    const auto kind = static_cast<platform::FaultKind>(k);
    for (int n = 1; n <= sweep.attempts[k] + 1; ++n) {
      RestoreTree(nativeFolder, before);
      MessageRecorder messages;
      platform::PlanFault(kind, n);
      int result = operation();
      const bool hit = platform::FaultAttempts(kind) >= n;
      platform::ClearFaults();
      const Tree tree = SnapshotTree(nativeFolder);
      const std::string where = std::string(kKindNames[k]) + ":" + std::to_string(n);
      if (!hit) {
        // One past the last attempt: the operation runs as cleanly.
        if (n <= sweep.attempts[k]) sweep.problems.push_back(where + " was never reached");
        if (!result || tree != after) {
          sweep.problems.push_back(where + " (not hit) differs from the clean run");
        }
        continue;
      }
      ++sweep.runs;
      if (result) {
        // A fault that changed nothing the operation promised.
        if (tree == after) {
          ++sweep.harmless;
          sweep.harmlessAt.push_back(where);
        } else {
          sweep.problems.push_back(where + " succeeded with other files than the clean run");
        }
        continue;
      }
      ++sweep.reported;
      if (expectMessage && messages.messages().empty()) {
        sweep.problems.push_back(where + " failed without a message");
      }
      std::string differences = CompareTrees(before, after, tree);
      if (!differences.empty()) sweep.problems.push_back(where + ": " + differences);
    }
  }
  RestoreTree(nativeFolder, before);
  return sweep;
}

}  // namespace testing_support
