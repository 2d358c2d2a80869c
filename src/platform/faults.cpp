#include "platform/faults.h"

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>

#include "platform/interrupt.h"

namespace platform {
namespace {

struct FaultPlan {
  int planned[kFaultKindCount] = {};
  int seen[kFaultKindCount] = {};
  int killAt[kFaultKindCount] = {};
  int interruptAt[kFaultKindCount] = {};
};

FaultPlan& Plan() {
  static FaultPlan plan;
  return plan;
}

const char* const kKindNames[kFaultKindCount] = {"create", "write", "close", "rename", "chdir", "mkdir", "remove"};

}  // namespace

void PlanFault(FaultKind kind, int nth) {
  Plan().planned[kind] = nth;
  Plan().seen[kind] = 0;
}

void PlanInterrupt(FaultKind kind, int nth) {
  Plan().interruptAt[kind] = nth;
  Plan().seen[kind] = 0;
}

void ClearFaults() { Plan() = FaultPlan(); }

namespace {

// Parses "kind:n,..." into `counts`; 0 for text it cannot parse.
int ParsePlan(const std::string& text, int (&counts)[kFaultKindCount]) {
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = text.find(',', pos);
    if (end == std::string::npos) end = text.size();
    std::string item = text.substr(pos, end - pos);
    std::size_t colon = item.find(':');
    if (colon == std::string::npos) return 0;
    std::string name = item.substr(0, colon);
    std::string number = item.substr(colon + 1);
    if (number.empty() || number.size() > 9) return 0;
    for (char c : number) {
      if (c < '0' || c > '9') return 0;
    }
    int kind = -1;
    for (int k = 0; k < kFaultKindCount; ++k) {
      if (name == kKindNames[k]) kind = k;
    }
    if (kind < 0) return 0;
    counts[kind] = std::atoi(number.c_str());
    pos = end + 1;
  }
  return 1;
}

}  // namespace

int PlanFaultsFromText(const std::string& text) {
  FaultPlan parsed;
  if (!ParsePlan(text, parsed.planned)) return 0;
  Plan() = parsed;
  return 1;
}

namespace {

void WriteAttemptsAtExit() {
  const char* path = std::getenv("ZUVO_FAULT_COUNTS");
  if (path == nullptr || *path == '\0') return;
  std::FILE* file = std::fopen(path, "wb");
  if (file == nullptr) return;
  std::string text = FaultAttemptsText();
  std::fwrite(text.data(), 1, text.size(), file);
  std::fclose(file);
}

}  // namespace

int LoadFaultPlanFromEnvironment() {
  const char* kill = std::getenv("ZUVO_KILL_AT");
  if (kill != nullptr && *kill != '\0' && !ParsePlan(kill, Plan().killAt)) return 0;
  const char* text = std::getenv("ZUVO_FAULTS");
  if (text == nullptr || *text == '\0') return 1;
  int killAt[kFaultKindCount];
  std::copy(std::begin(Plan().killAt), std::end(Plan().killAt), killAt);
  if (!PlanFaultsFromText(text)) return 0;
  std::copy(std::begin(killAt), std::end(killAt), Plan().killAt);
  const char* counts = std::getenv("ZUVO_FAULT_COUNTS");
  if (counts != nullptr && *counts != '\0') std::atexit(WriteAttemptsAtExit);
  return 1;
}

std::string FaultAttemptsText() {
  std::string text;
  for (int k = 0; k < kFaultKindCount; ++k) {
    if (k > 0) text += ',';
    text += kKindNames[k];
    text += ':';
    text += std::to_string(Plan().seen[k]);
  }
  return text;
}

int FaultAttempts(FaultKind kind) { return Plan().seen[kind]; }

bool FaultsPlanned() {
  for (int k = 0; k < kFaultKindCount; ++k) {
    if (Plan().planned[k] != 0 || Plan().killAt[k] != 0 || Plan().interruptAt[k] != 0) return true;
  }
  return false;
}

bool ShouldFail(FaultKind kind) {
  FaultPlan& plan = Plan();
  if (plan.planned[kind] == 0 && plan.killAt[kind] == 0 && plan.interruptAt[kind] == 0) return false;
  ++plan.seen[kind];
  if (plan.seen[kind] == plan.interruptAt[kind]) RequestInterrupt(SIGINT);
  if (plan.seen[kind] == plan.killAt[kind]) {
    // As abrupt as a kill: no buffer flushed, no exit handler run.
#ifdef SIGKILL
    std::raise(SIGKILL);
#endif
    std::_Exit(137);
  }
  return plan.seen[kind] == plan.planned[kind];
}

}  // namespace platform
