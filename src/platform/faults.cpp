#include "platform/faults.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace platform {
namespace {

struct FaultPlan {
  int planned[kFaultKindCount] = {};
  int seen[kFaultKindCount] = {};
};

FaultPlan& Plan() {
  static FaultPlan plan;
  return plan;
}

const char* const kKindNames[kFaultKindCount] = {"create", "write", "close",
                                                 "rename", "chdir", "mkdir"};

}  // namespace

void PlanFault(FaultKind kind, int nth) {
  Plan().planned[kind] = nth;
  Plan().seen[kind] = 0;
}

void ClearFaults() { Plan() = FaultPlan(); }

int PlanFaultsFromText(const std::string& text) {
  FaultPlan parsed;
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
    parsed.planned[kind] = std::atoi(number.c_str());
    pos = end + 1;
  }
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
  const char* text = std::getenv("ZUVO_FAULTS");
  if (text == nullptr || *text == '\0') return 1;
  if (!PlanFaultsFromText(text)) return 0;
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
  for (int planned : Plan().planned) {
    if (planned != 0) return true;
  }
  return false;
}

bool ShouldFail(FaultKind kind) {
  FaultPlan& plan = Plan();
  if (plan.planned[kind] == 0) return false;
  ++plan.seen[kind];
  return plan.seen[kind] == plan.planned[kind];
}

}  // namespace platform
