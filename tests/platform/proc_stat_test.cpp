// The Linux process table's reading, shared by the native and the wine build.
#include "platform/proc_stat.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "platform/platform.h"

namespace {

const char kBoot[] = "6f1c2b9e-0d7a-4e55-9a51-3c2f9d6a8b10";

// A process table of a few entries: what the fake reader finds.
std::map<std::string, std::pair<platform::procfs::ReadResult, std::string>> g_table;

platform::procfs::ReadResult FakeRead(const std::string& name, std::string* text) {
  const auto found = g_table.find(name);
  if (found == g_table.end()) return platform::procfs::kMissing;
  *text = found->second.second;
  return found->second.first;
}

std::string Stat(const std::string& pidAndName, const std::string& state, const std::string& start) {
  std::string text = pidAndName + " " + state;
  for (int field = 4; field < 22; ++field) text += " " + std::to_string(field);
  return text + " " + start + " 23 24\n";
}

TEST(ProcStatTest, TheStateAndTheStartAreCountedFromTheNamesLastParenthesis) {
  const std::pair<std::string, std::string> cases[] = {
      {Stat("12 (sim)", "S", "4711"), "S 4711"},
      {Stat("12 (a) b ) (c)", "R", "99"), "R 99"},  // a name with blanks and parentheses
      {"12 (sim) S 4 5 6", ""},                     // cut short
      {Stat("12 (sim)", "S", "47x1"), ""},          // not a tick count
      {Stat("12 (sim)", "SS", "4711"), ""},         // not a state
      {"12 sim S 4 5", ""},
  };
  for (const auto& c : cases) {
    char state = 0;
    std::string start;
    const int parsed = platform::procfs::ParseStat(c.first, &state, &start);
    EXPECT_EQ(parsed ? std::string(1, state) + " " + start : "", c.second) << c.first;
  }
}

TEST(ProcStatTest, ALinuxStartIsJudgedByTheBootTheStateAndTheTick) {
  using platform::procfs::kRead;
  using platform::procfs::kRefused;
  const std::string boot = std::string(kBoot) + "\n";
  const std::string own = std::string(kBoot) + ":4711";
  const struct {
    long pid;
    std::string start;
    bool bootReadable;
    platform::procfs::ReadResult stat;
    std::string state;
    int liveness;
  } cases[] = {
      {12, own, true, kRead, "S", platform::kAlive},
      {12, std::string(kBoot) + ":4712", true, kRead, "S", platform::kDead},                 // an id used again
      {12, "0b0b0b0b-0000-4000-8000-000000000000:4711", true, kRead, "S", platform::kDead},  // before a reboot
      {12, own, true, kRead, "Z", platform::kDead},
      {12, own, true, kRead, "X", platform::kDead},
      {12, own, true, platform::procfs::kMissing, "", platform::kDead},         // no such process
      {12, own, true, kRefused, "", platform::kCannotTell},                     // one that may not be examined
      {12, own, false, kRead, "S", platform::kCannotTell},                      // no process table
      {12, std::string(kBoot) + ":", true, kRead, "S", platform::kCannotTell},  // malformed
      {12, ":4711", true, kRead, "S", platform::kCannotTell},
      {12, "", true, kRead, "S", platform::kDead},
      {0, own, true, kRead, "S", platform::kDead},
  };
  for (const auto& c : cases) {
    g_table.clear();
    if (c.bootReadable) g_table["sys/kernel/random/boot_id"] = {kRead, boot};
    if (c.stat != platform::procfs::kMissing) g_table["12/stat"] = {c.stat, Stat("12 (sim)", c.state, "4711")};
    EXPECT_EQ(platform::procfs::Liveness(c.pid, c.start, &FakeRead), c.liveness) << c.start << " " << c.state;
  }
  g_table = {{"sys/kernel/random/boot_id", {kRead, boot}}, {"12/stat", {kRead, Stat("12 (sim)", "Z", "4711")}}};
  bool running = true;
  EXPECT_EQ(platform::procfs::StartOf(12, &FakeRead, &running), own);
  EXPECT_FALSE(running);
  EXPECT_EQ(platform::procfs::StartOf(13, &FakeRead, &running), "");
  g_table["sys/kernel/hostname"] = {kRead, "  stellwerk-3 \n"};
  EXPECT_EQ(platform::procfs::FirstLine("sys/kernel/hostname", &FakeRead), "stellwerk-3");
}

}  // namespace
