// The system's own texts, hostile forms included: the Linux process table
// (shared by the native and the wine build) and Wine's text registry files.
#include "platform/proc_stat.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "platform/platform.h"
#include "platform/wine_registry.h"
#include "support/test_support.h"

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

// The state and the start tick are counted from the name's last parenthesis;
// a malformed start or stat line tells nothing.
TEST(ProcStatTest, ALinuxStartIsJudgedByTheBootTheStateAndTheTick) {
  using platform::procfs::kRead;
  const std::string boot = std::string(kBoot) + "\n", own = std::string(kBoot) + ":4711";
  const std::string sim = Stat("12 (sim)", "S", "4711");
  const struct {
    std::string start;
    bool bootReadable;
    platform::procfs::ReadResult read;
    std::string stat;
    int liveness;
  } cases[] = {
      {own, true, kRead, sim, platform::kAlive},
      {own, true, kRead, Stat("12 (a) b ) (c)", "R", "4711"), platform::kAlive},         // blanks and parentheses
      {std::string(kBoot) + ":4712", true, kRead, sim, platform::kDead},                 // an id used again
      {"0b0b0b0b-0000-4000-8000-000000000000:4711", true, kRead, sim, platform::kDead},  // before a reboot
      {own, true, kRead, Stat("12 (sim)", "Z", "4711"), platform::kDead},
      {own, true, kRead, Stat("12 (sim)", "X", "4711"), platform::kDead},
      {own, true, platform::procfs::kMissing, "", platform::kDead},               // no such process
      {own, true, platform::procfs::kRefused, "", platform::kCannotTell},         // one that may not be examined
      {own, false, kRead, sim, platform::kCannotTell},                            // no process table
      {own, true, kRead, "12 (sim) S 4 5 6", platform::kCannotTell},              // cut short
      {own, true, kRead, Stat("12 (sim)", "S", "47x1"), platform::kCannotTell},   // not a tick count
      {own, true, kRead, Stat("12 (sim)", "SS", "4711"), platform::kCannotTell},  // not a state
      {own, true, kRead, "12 sim S 4 5", platform::kCannotTell},
      {std::string(kBoot) + ":", true, kRead, sim, platform::kCannotTell},  // malformed
      {":4711", true, kRead, sim, platform::kCannotTell},
      {"", true, kRead, sim, platform::kDead},
  };
  for (const auto& c : cases) {
    g_table.clear();
    if (c.bootReadable) g_table["sys/kernel/random/boot_id"] = {kRead, boot};
    if (c.read != platform::procfs::kMissing) g_table["12/stat"] = {c.read, c.stat};
    EXPECT_EQ(platform::procfs::Liveness(12, c.start, &FakeRead), c.liveness) << c.start << " " << c.stat;
  }
  g_table = {{"sys/kernel/random/boot_id", {kRead, boot}},
             {"0/stat", {kRead, Stat("0 (sim)", "S", "4711")}},
             {"12/stat", {kRead, Stat("12 (sim)", "Z", "4711")}}};
  EXPECT_EQ(platform::procfs::Liveness(0, own, &FakeRead), platform::kDead);  // no process 0
  bool running = true;
  EXPECT_EQ(platform::procfs::StartOf(12, &FakeRead, &running), own);
  EXPECT_FALSE(running);
  EXPECT_EQ(platform::procfs::StartOf(13, &FakeRead, &running), "");
  g_table["sys/kernel/hostname"] = {kRead, "  stellwerk-3 \n"};
  EXPECT_EQ(platform::procfs::FirstLine("sys/kernel/hostname", &FakeRead), "stellwerk-3");
}

// Wine's text registry files; malformed text gives no value.
const std::string kKey = "SOFTWARE\\Classes\\Kantrelwick\\shell\\open\\command";
const std::string kKeyLine = "[Software\\\\Classes\\\\Kantrelwick\\\\shell\\\\open\\\\command] 1\n";

// A hive as Wine writes it; the lines of a case go into the command key, between parent and subkey.
const std::string kBefore =
    "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n#arch=win64\n\n[Software\\\\Classes"
    "\\\\Kantrelwick\\\\shell\\\\open] 1700000000\n@=\"oben\"\n\n" +
    kKeyLine + "#time=1da0c1b2c3d4e60\n";
const std::string kAfter =
    "\n[Software\\\\Classes\\\\Kantrelwick\\\\shell\\\\open\\\\command\\\\Unter] 2\n@=\"unten\"\n";

std::string Find(const std::string& text, const std::string& key = kKey) {
  std::string value = "<unchanged>";
  return platform::FindWineRegistryDefaultValue(text, key, &value) ? value : "<none>";
}

TEST(WineRegistryTest, TheDefaultValueOfAKeyInEveryFormWineWrites) {
  const struct {
    std::string lines, expected, key = kKey;
  } cases[] = {
      {"\"Name\"=\"nein\"\r\n@=\"\\\"C:\\\\P F\\\\K.exe\\\" \\\"%1\\\"\"\r\n\"A\"=dword:1\n",
       "\"C:\\P F\\K.exe\" \"%1\""},
      {"@=\"a\\\\b\\\"c\\n\\r\\t\\[x\\]\\q\"\n", "a\\b\"c\n\r\t[x]q"},
      {"@=\"Gr\\x00f6\\x00dfe \\x20ac\\xe4 \\101\\x\\x00411\"\n", testing_support::Cp("Größe €ä ") + "AxA1"},
      // Raw bytes: UTF-8, else each byte itself (a surrogate half or over-long form is no UTF-8).
      {"@=\"Gr\xC3\xB6\xF6\xDF\xED\xA0\x81\xC1\x81\"\n", "Gr\xF6\xF6\xDF\xED\xA0\x81\xC1\x81"},
      {"@=\"€\xC2\x81‚ƒ„…†‡ˆ‰Š‹Œ\xC2\x8DŽ\xC2\x8F\xC2\x90‘’“”•–—˜™š›œ\xC2\x9DžŸ\"\n",
       "\x80\x81\x82\x83\x84\x85\x86\x87\x88\x89\x8A\x8B\x8C\x8D\x8E\x8F\x90\x91\x92\x93\x94\x95\x96\x97"
       "\x98\x99\x9A\x9B\x9C\x9D\x9E\x9F"},
      {"@=\"vorher\\0nachher\"\n", "vorher"},
      {"\"\"=\"leerer Name\"\n", "leerer Name"},
      {"@=str(2):\"%ProgramFiles%\\\\K.exe %1\"\n", "%ProgramFiles%\\K.exe %1"},
      // hex(2): UTF-16LE over continued lines; an odd last byte is dropped.
      {"@=hex(2):43,00,3a,00,5c,00,\\\r\n  e4,00,00,00\n\"Danach\"=\"x\"\n", testing_support::Cp("C:\\ä")},
      {"@=hex(7):41,00,42,00,43\n", "AB"},
      {"@=hex:41,42,00,43\n", "AB"},
      {"@=dword:4241\n", "AB"},
      // Missing, or holding what code page 1252 lacks (never mangled); malformed lines do not
      // spoil the value before them.
      {"", "<none>"},
      {"@=hex(2):01,01,00,00\n", "<none>"},
      {"@=\"Stra\xC4\x81\"\n", "<none>"},
      {"@=\"gut\"\n@=\"offen\n@=dword:\n@=hex(2):4x,00\n@=str(2)\"x\"\n@=unbekannt\n", "gut"},
      // The last definition wins; a continuation stops at the next key; keys match whole.
      {"@=\"gut\"\n@=hex(2):41,00,\\\n" + kKeyLine + "@=\"danach\"\n", "danach"},
      {"@=\"x\"\n", "x", "software\\CLASSES\\kantrelwick\\Shell\\Open\\Command\\"},
      {"", "oben", kKey.substr(0, 40)},
  };
  for (const auto& c : cases) EXPECT_EQ(Find(kBefore + c.lines + kAfter, c.key), c.expected) << c.lines;
  const std::string rest = (kBefore + "@=\"x\"\n" + kAfter).substr(23);  // all but the version
  EXPECT_EQ(Find(rest) + Find("WINE REGISTRY Version 1" + rest), "<none><none>");
  EXPECT_EQ(Find("\xEF\xBB\xBFWINE REGISTRY Version 2" + rest), "x");  // a byte order mark
  EXPECT_EQ(Find("WINE REGISTRY Version 2\n[A\\\\B\\]\\\"C] 0\n@=\"v\"\n", "a\\b]\"c"), "v");
}

}  // namespace
