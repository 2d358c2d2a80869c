#include "settings/settings_file.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "platform/faults.h"
#include "support/fault_sweep.h"
#include "support/test_support.h"

namespace {

using settings::SettingsFile;
using testing_support::MessageRecorder;
using testing_support::TempDir;
using Lines = std::vector<std::string>;

// The entries as one line each: "[name]" for a header, "name=value" for a key.
Lines LinesOf(const SettingsFile& file) {
  Lines lines;
  for (int i = 0; i < file.count(); ++i) {
    const settings::SettingsEntry& e = file.entry(i);
    lines.push_back(e.isSection ? "[" + e.name + "]" : e.name + "=" + e.value);
  }
  return lines;
}

TEST(SettingsFileTest, ParsesLinesByTheRules) {
  const std::string longValue(1500, 'x');
  const struct {
    std::string text;
    const char* startLine;
    Lines expected;
  } cases[] = {
      // Keys before the first header, section names up to the first "]",
      // lines without "]" or "=" skipped, nothing trimmed, no comment syntax,
      // "[]" ends the reading.
      {"\n  \r\n\t\na=1\n[ a ]b]x\n[Alpha\n[Beta=1\n[\n  k = v \nx=b=c\n=v\ne=\nb=   \t\n"
       ";n\n;c=1\n# x=2\n[]rest\ny=2\n[B]\n",
       nullptr, {"a=1", "[ a ]", "  k = v", "x=b=c", "=v", "e=", "b=", ";c=1", "# x=2"}},
      {"[S]\r\nk=a\rb\r\nw=z\nt=v \t \r\nl=" + longValue + "\nlast=v", nullptr,
       {"[S]", "k=a\rb", "w=z", "t=v", "l=" + longValue, "last=v"}},
      // Continuation: plain text joined (leading blanks kept) until an
      // unmarked line; a header's backslash does not continue.
      {"[A\\]\nk=a\\\n  b\\\nc\nd\n", nullptr, {"[A\\]", "k=a  bc"}},
      {"p=C:\\Sim\\\n[Next]\\\n[]\\\nx=1\ny=2\n", nullptr, {"p=C:\\Sim[Next][]x=1", "y=2"}},
      // Blanks after the backslash go first; an empty line ends it, used up.
      {"k=a\\  \r\n\nb=1\n", nullptr, {"k=a", "b=1"}},
      {"k=\\\n\ne=\n[S]\n", nullptr, {"k=", "e=", "[S]"}},
      // The start line: compared exactly after stripping; lines before it,
      // continued or not, do not count.
      {"k=a\\\n[Zuvo]x\n[zuvo]\n[Zuvo]  \r\nn=1\n[Y]\n", "[Zuvo]", {"[Zuvo]", "n=1", "[Y]"}},
      {"a=1\nb=2\nc=3\n", "b=2", {"b=2", "c=3"}},
  };
  for (const auto& c : cases) {
    SettingsFile file;
    file.Parse(c.text, c.startLine);
    EXPECT_EQ(LinesOf(file), c.expected) << c.text;
  }
  // Parsing appends, and continues the value already held.
  SettingsFile file;
  file.Append("k", "C:\\Sim\\");
  file.Parse("rest\nn=1\n");
  EXPECT_EQ(LinesOf(file), (Lines{"k=C:\\Simrest", "n=1"}));
}

TEST(SettingsFileTest, FindSetAndRemoveUseTheFirstSectionOfAName) {
  SettingsFile file;
  file.Parse("top=0\n[A]\nk=1\nk=2\n[B]\nx=3\n[A]\nk=4\nonly=5\n[E]\n");
  EXPECT_EQ(*file.Find("A", "k"), "1");
  EXPECT_EQ(file.Find("A", "only"), nullptr);  // the second [A] is never searched
  EXPECT_EQ(file.Find("A", "K"), nullptr);     // case-sensitive
  EXPECT_EQ(file.Find("a", "k"), nullptr);
  EXPECT_EQ(file.Find("", "top"), nullptr);  // keys before the first header
  EXPECT_EQ(file.HasSection("B"), 1);
  EXPECT_EQ(file.HasSection("b"), 0);
  EXPECT_EQ(file.HasSection("top"), 0);

  file.Set("A", "k", "one");
  file.Set("A", "new", "n");  // before [B]
  file.Set("B", "y", "4");    // before the second [A]
  file.Set("E", "e", "5");    // an empty section takes it right after its header
  file.Set("A", "new", "N");  // replaced, not added again
  file.Set("top", "t", "6");  // a key is no section: a new section at the end
  EXPECT_EQ(LinesOf(file), (Lines{"top=0", "[A]", "k=one", "k=2", "new=N", "[B]", "x=3", "y=4",
                                   "[A]", "k=4", "only=5", "[E]", "e=5", "[top]", "t=6"}));

  EXPECT_EQ(file.RemoveSection("A"), 1);
  EXPECT_EQ(*file.Find("A", "k"), "4");
  EXPECT_EQ(file.RemoveSection("top"), 1);  // the last section, up to the end
  EXPECT_EQ(file.RemoveSection("E"), 1);
  EXPECT_EQ(file.RemoveSection("E"), 0);
  EXPECT_EQ(LinesOf(file), (Lines{"top=0", "[B]", "x=3", "y=4", "[A]", "k=4", "only=5"}));
}

TEST(SettingsFileTest, NumbersParseLikeAtoiAndAtof) {
  const std::pair<const char*, int> ints[] = {
      {"  \t\n\v\f\r-17xyz", -17}, {"+5", 5}, {"3.9", 3}, {"", 0}, {"- 5", 0}, {"--5", 0},
      {"0x1F", 0}, {"2147483647", INT_MAX}, {"2147483648", INT_MAX},
      {"99999999999999999999999", INT_MAX}, {"-2147483648", INT_MIN}, {"-2147483649", INT_MIN},
      {"-99999999999999999999999", INT_MIN}};
  for (const auto& c : ints) EXPECT_EQ(SettingsFile::ParseInt(c.first), c.second) << c.first;
  const std::pair<const char*, double> reals[] = {
      {" -2.5e3x", -2500.0}, {"3,5", 3.0}, {".25", 0.25}, {"abc", 0.0}, {"24.145552", 24.145552}};
  for (const auto& c : reals) EXPECT_EQ(SettingsFile::ParseReal(c.first), c.second) << c.first;

  SettingsFile file;
  file.Set("S", "i", "-7");
  file.Set("S", "r", "1.5");
  EXPECT_EQ(file.GetInt("S", "i", 77), -7);
  EXPECT_EQ(file.GetInt("S", "missing", 77), 77);
  EXPECT_EQ(file.GetReal("S", "r", 9.5f), 1.5);
  // A missing key gives the single-precision default widened exactly.
  EXPECT_EQ(file.GetReal("T", "r", 24.145552f), 24.145551681518555);
}

TEST(SettingsFileTest, WritesCrLfWithABlankLineBeforeLaterHeadersAndReadsItBack) {
  TempDir dir;
  MessageRecorder messages;
  SettingsFile file;
  file.AppendSection("Zuvo");
  file.Append(" spaced key ", " value = x");
  file.Append("leer", "");
  file.AppendSection("KamSet Nord");
  file.Append("umlaut", "Gr\xFC" "n");
  ASSERT_EQ(file.Write(dir.Path("a.danl")), 1);
  EXPECT_EQ(dir.Read("a.danl"),
            "[Zuvo]\r\n spaced key = value = x\r\nleer=\r\n"
            "\r\n[KamSet Nord]\r\numlaut=Gr\xFCn\r\n");
  SettingsFile back;
  EXPECT_EQ(back.Read(dir.Path("a.danl")), 1);
  EXPECT_EQ(back.Read(dir.Path("missing.danl")), 0);  // adds nothing, says nothing
  EXPECT_EQ(back.Read(dir.Path("")), 0);              // a folder
  EXPECT_EQ(LinesOf(back), LinesOf(file));
  EXPECT_EQ(back.Serialize(), dir.Read("a.danl"));
  EXPECT_TRUE(messages.messages().empty());
  back.Clear();
  back.Read(dir.Path("a.danl"), "[KamSet Nord]");
  EXPECT_EQ(LinesOf(back), (Lines{"[KamSet Nord]", "umlaut=Gr\xFCn"}));
}

TEST(SettingsFileTest, WriteFailuresAreReportedAndKeepTheOldFile) {
  TempDir dir;
  const std::string old = "[Old]\r\nk=1\r\n";
  dir.Write("a.danl", old);
  SettingsFile file;
  file.Set("New", "k", std::string(5000, '7'));
  MessageRecorder messages;
  const std::string nowhere = dir.Path("nofolder\\a.danl");
  EXPECT_EQ(file.Write(nowhere), 0);
  platform::PlanFault(platform::kFaultWrite, 1);
  EXPECT_EQ(file.Write(dir.Path("a.danl")), 0);
  platform::ClearFaults();
  EXPECT_EQ(messages.messages(),
            (Lines{"Can't open " + nowhere + "!\n",
                   "Fehler beim Schreiben von " + dir.Path("a.danl") + "!\n"}));
  EXPECT_EQ(dir.Read("a.danl"), old);

  // A failure at every file operation, over the old file and for a new one:
  // reported each time, the old file whole, no temporary file left.
  for (const char* name : {"a.danl", "b.danl"}) {
    testing_support::FaultSweep sweep =
        testing_support::SweepFaults(dir.native(), [&]() { return file.Write(dir.Path(name)); });
    EXPECT_TRUE(sweep.problems.empty()) << name << ::testing::PrintToString(sweep.problems);
    EXPECT_EQ(sweep.reported, 4) << name;
  }
}

}  // namespace
