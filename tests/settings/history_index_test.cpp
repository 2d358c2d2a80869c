// The history index: written and read back, a hostile or damaged index named
// where it is wrong, and which versions the bound drops with which contents.
#include <gtest/gtest.h>

#include "settings/history_index.h"

namespace {

using settings::HistoryIndex;
using settings::HistoryVersion;

const std::string kA = std::string(64, 'a') + ".anl", kB = std::string(64, 'b') + ".anl",
                  kD = std::string(64, 'd') + ".danl";

HistoryVersion Version(int number, const std::string& anl, const std::string& danl) {
  HistoryVersion v;
  v.number = number;
  v.time = "2026-12-07 10:00:0" + std::to_string(number % 10);
  v.command = "resave";
  v.layout = {anl, anl.empty() ? 0 : 10};
  v.settings = {danl, danl.empty() ? 0 : 10};
  return v;
}

std::vector<int> Range(int from, int to) {
  std::vector<int> numbers;
  for (int n = from; n <= to; ++n) numbers.push_back(n);
  return numbers;
}

// Each line replaces the line of the good index that starts alike (or, with
// an empty `from`, is appended); the fault must name where it is.
TEST(HistoryIndexTest, AHostileOrDamagedIndexIsNamedWhereItIsWrong) {
  HistoryIndex good;
  good.versions = {Version(1, kA, kD), Version(2, kB, "")};
  HistoryVersion& first = good.versions[0];
  first.tracks = 3, first.models = 0, first.rollingStock = 7, first.cameraSets = 2, first.layout.size = 1LL << 33;
  first.command = "delete-camera-set\x01\\";  // a control character and a continuing backslash
  const std::string text = settings::HistoryIndexText(good);
  EXPECT_EQ(text.substr(0, 59), "[StartZUVO-Verlauf]\r\nFormat=1\r\nFassungen=2\r\n\r\n[Fassung 1]\r\n");
  EXPECT_NE(text.find("\r\nBefehl=delete-camera-set\r\n"), std::string::npos);
  const struct {
    std::string from, to, fault;
  } cases[] = {
      {"[StartZUVO-Verlauf]", "[Verlauf]", "[StartZUVO-Verlauf]"},
      {"Format=1", "Format=2", "[StartZUVO-Verlauf] Format"},
      {"Fassungen=2", "Fassungen=3", "[StartZUVO-Verlauf] Fassungen"},  // cut short after a whole section
      {"[Fassung 2]", "[Fassung 1]", "[Fassung 1]"},                    // a number twice
      {"[Fassung 2]", "[Fassung 0]", "[Fassung 0]"},
      {"[Fassung 2]", "[Fassung 02]", "[Fassung 02]"},
      {"[Fassung 2]", "[Fassung 1000000000]", "[Fassung 1000000000]"},
      {"[Fassung 2]", "[Fassung 2x]", "[Fassung 2x]"},
      {"Anl=" + kA, "Anl=..\\..\\Berg.anl", "[Fassung 1] Anl"},         // a path, not a content name
      {"Anl=" + kA, "Anl=" + kA + "\r\nAnl=" + kB, "[Fassung 1] Anl"},  // a key twice
      {"Anl=" + kA, "Anm=" + kA, "[Fassung 1] Anl"},                    // missing
      {"AnlGroesse=10", "AnlGroesse=", "[Fassung 2] AnlGroesse"},
      {"Anl=" + kB, "Anl=", "[Fassung 2] Anl"},  // neither file
      {"", "Gleise=-1", "[Fassung 2] Gleise"},
      {"", "KamSets=1000001", "[Fassung 2] KamSets"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.to);
    std::string bad = "\n" + text;
    if (c.from.empty()) {
      bad += c.to + "\r\n";
    } else {
      const std::size_t at = bad.rfind("\n" + c.from);
      ASSERT_NE(at, std::string::npos);
      bad.replace(at + 1, bad.find('\r', at) - at - 1, c.to);
    }
    bad.erase(0, 1);
    HistoryIndex read;
    read.versions = {Version(5, kA, kD)};
    std::string fault;
    EXPECT_EQ(settings::ParseHistoryIndex(bad, &read, &fault), 0);
    EXPECT_EQ(fault, c.fault);
    EXPECT_TRUE(read.versions.empty());
  }
  // Cut anywhere, the index is refused or reads as written: never half a
  // version. Whole, it reads as written, versions without counts included.
  for (std::size_t size = 0; size <= text.size(); ++size) {
    HistoryIndex read;
    std::string fault;
    if (settings::ParseHistoryIndex(text.substr(0, size), &read, &fault) || size == text.size()) {
      EXPECT_EQ(settings::HistoryIndexText(read), text) << size << fault;
    }
  }
  // Sections of other names and unknown keys are passed over; order does not matter.
  HistoryIndex read;
  std::string fault;
  const std::size_t one = text.find("[Fassung 1]"), two = text.find("[Fassung 2]");
  const std::string reordered =
      text.substr(0, one) + text.substr(two) + "Neu=1\r\n[Notiz]\r\nx=y\r\n" + text.substr(one, two - one);
  ASSERT_EQ(settings::ParseHistoryIndex(reordered, &read, &fault), 1) << fault;
  EXPECT_EQ(settings::HistoryIndexText(read), text);
}

TEST(HistoryIndexTest, ContentNamesHaveOneExactForm) {
  EXPECT_EQ(settings::ContentName("abc", "anl"),
            "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad.anl");
  // (The valid forms: the hostile index.)
  for (const std::string& name : {kD, kA.substr(1), std::string(64, 'g') + ".anl", std::string(64, 'a') + ".ANL"}) {
    EXPECT_EQ(settings::IsContentName(name, "anl"), 0) << name;
  }
}

// The newest `keep` stay, oldest go first; a limit on the bytes never takes
// the newest `floor`; a content goes only when no version left names it.
TEST(HistoryIndexTest, TheBoundDropsTheOldestAndOnlyContentsNoLongerNamed) {
  HistoryIndex index;
  for (int n = 1; n <= 31; ++n) index.versions.push_back(Version(n + 10, n % 2 ? kA : kB, n == 1 ? kD : ""));
  EXPECT_EQ(settings::VersionsBeyond(index, settings::HistoryBound()), std::vector<int>{11});
  index.versions.pop_back();
  const struct {
    settings::HistoryBound bound;
    std::vector<int> beyond;
  } bounds[] = {
      {{2, 3, 0}, Range(11, 37)},  // never fewer than 3
      {{30, 3, 20}, {11}},         // the 10 bytes of kD go with the first
      {{30, 3, 5}, Range(11, 37)},
      {{30, 0, 5}, Range(11, 40)},
  };
  for (const auto& b : bounds) EXPECT_EQ(settings::VersionsBeyond(index, b.bound), b.beyond) << b.bound.maxBytes;
  EXPECT_EQ(settings::DropVersions(&index, {11}), std::vector<std::string>{kD});  // kA is named by 13, 15, ...
  EXPECT_EQ(settings::DropVersions(&index, {13, 15, 17}), std::vector<std::string>{});
  EXPECT_EQ(index.versions.size(), 26u);
  EXPECT_EQ(settings::NextVersionNumber(index), 41);
}

}  // namespace
