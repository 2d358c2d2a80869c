#include "settings/settings_file.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "platform/faults.h"
#include "support/test_support.h"

namespace {

using settings::SettingsFile;
using testing_support::MessageRecorder;
using testing_support::TempDir;

// The entries as one line each: "[name]" for a header, "name=value" for a key.
std::vector<std::string> Lines(const SettingsFile& file) {
  std::vector<std::string> lines;
  for (int i = 0; i < file.count(); ++i) {
    const settings::SettingsEntry& entry = file.entry(i);
    lines.push_back(entry.isSection ? "[" + entry.name + "]" : entry.name + "=" + entry.value);
  }
  return lines;
}

struct ParseCase {
  const char* what;
  std::string text;
  const char* startLine;
  std::vector<std::string> expected;
};

TEST(SettingsFileTest, ParsesLinesByTheRules) {
  const std::string longValue(1500, 'x');
  const std::vector<ParseCase> cases = {
      {"empty text", "", nullptr, {}},
      {"blank lines only", "\n  \r\n\t\n\n", nullptr, {}},
      {"keys before the first header stay first", "a=1\n[S]\nb=2\n", nullptr,
       {"a=1", "[S]", "b=2"}},
      {"text after the bracket is ignored", "[Alpha]trailing\n", nullptr, {"[Alpha]"}},
      {"section name up to the first bracket, untrimmed", "[ a ]b]\n", nullptr, {"[ a ]"}},
      {"a bracket without its end is skipped", "[Alpha\n[Beta=1\nk=v\n", nullptr, {"k=v"}},
      {"a lone bracket is skipped", "[\n[S]\n", nullptr, {"[S]"}},
      {"[] ends the reading", "[A]\nx=1\n[]\ny=2\n[B]\n", nullptr, {"[A]", "x=1"}},
      {"[] with more text ends it too", "x=1\n[]rest\ny=2\n", nullptr, {"x=1"}},
      {"split at the first equals sign", "a=b=c\n", nullptr, {"a=b=c"}},
      {"key and value are not trimmed", "  k = v \n", nullptr, {"  k = v"}},
      {"empty value", "a=\nb=   \t\n", nullptr, {"a=", "b="}},
      {"empty key", "=v\n", nullptr, {"=v"}},
      {"no comment syntax", ";note\n;c=1\n# x=2\n", nullptr, {";c=1", "# x=2"}},
      {"CR LF and LF alike", "[S]\r\nk=v\r\nw=z\n", nullptr, {"[S]", "k=v", "w=z"}},
      {"last line without a line end", "[S]\nk=v", nullptr, {"[S]", "k=v"}},
      {"a CR inside a line stays", "k=a\rb\r\n", nullptr, {"k=a\rb"}},
      {"trailing blanks before CR LF go", "k=v \t \r\n", nullptr, {"k=v"}},
      {"a long line is read whole", "k=" + longValue + "\nn=1\n", nullptr,
       {"k=" + longValue, "n=1"}},

      {"continuation joins the next line", "k=a\\\nb\nn=1\n", nullptr, {"k=ab", "n=1"}},
      {"continuation keeps leading blanks and chains", "k=a\\\n  b\\\nc\nd=1\n", nullptr,
       {"k=a  bc", "d=1"}},
      {"continuation ends at an unmarked line", "k=a\\\nb\nc\n", nullptr, {"k=ab"}},
      {"an empty line ends continuation and is used up", "k=a\\\n\nb=1\n", nullptr,
       {"k=a", "b=1"}},
      {"blanks after the backslash are stripped first", "k=a\\  \r\nb\n", nullptr, {"k=ab"}},
      {"a folder path swallows the next section", "p=C:\\Sim\\\n[Next]\nx=1\n", nullptr,
       {"p=C:\\Sim[Next]", "x=1"}},
      {"key lines are swallowed as text", "k=a\\\nx=1\n", nullptr, {"k=ax=1"}},
      {"[] is swallowed as text, not an end", "k=a\\\n[]\nx=1\n", nullptr, {"k=a[]", "x=1"}},
      {"a value emptied by continuation stops it", "k=\\\n\n[S]\n", nullptr, {"k=", "[S]"}},
      {"an empty value never continues", "k=\n[S]\n", nullptr, {"k=", "[S]"}},
      {"a header ending in a backslash does not continue", "[A\\]\nk=1\n", nullptr,
       {"[A\\]", "k=1"}},

      {"start line skips everything before it",
       "[X]\na=1\n[Zuvo]\nZusLen=5\n[Y]\nb=2\n", "[Zuvo]", {"[Zuvo]", "ZusLen=5", "[Y]", "b=2"}},
      {"start line compared after stripping", "x=1\r\n[Zuvo]  \r\nk=2\r\n", "[Zuvo]",
       {"[Zuvo]", "k=2"}},
      {"start line must match exactly", "[Zuvo]x\n[zuvo]\nk=1\n", "[Zuvo]", {}},
      {"start line that is a key line", "a=1\nb=2\nc=3\n", "b=2", {"b=2", "c=3"}},
      {"a continued line before the start line does not count",
       "k=a\\\n[Zuvo]\nn=1\n", "[Zuvo]", {"[Zuvo]", "n=1"}},
  };
  for (const ParseCase& c : cases) {
    SettingsFile file;
    file.Parse(c.text, c.startLine);
    EXPECT_EQ(Lines(file), c.expected) << c.what;
  }
}

TEST(SettingsFileTest, ParseAppendsAndContinuesTheEntriesAlreadyHeld) {
  SettingsFile file;
  file.AppendSection("S");
  file.Append("k", "C:\\Sim\\");
  file.Parse("rest\nn=1\n");
  EXPECT_EQ(Lines(file), (std::vector<std::string>{"[S]", "k=C:\\Simrest", "n=1"}));
}

TEST(SettingsFileTest, ReadsFilesAndIgnoresFilesThatCannotBeOpened) {
  TempDir dir;
  dir.Write("a.danl", "[Zuvo]\r\nKamSet=Nord\r\n\r\n[KamSet Nord]\r\nPX=1\r\n");
  MessageRecorder messages;
  SettingsFile file;
  EXPECT_NE(file.Read(dir.Path("a.danl")), 0);
  EXPECT_EQ(Lines(file),
            (std::vector<std::string>{"[Zuvo]", "KamSet=Nord", "[KamSet Nord]", "PX=1"}));

  EXPECT_EQ(file.Read(dir.Path("missing.danl")), 0);
  EXPECT_EQ(file.Read(dir.Path("")), 0);  // a folder
  EXPECT_EQ(file.count(), 4);
  EXPECT_TRUE(messages.messages().empty());

  SettingsFile sheet;
  sheet.Read(dir.Path("a.danl"), "[KamSet Nord]");
  EXPECT_EQ(Lines(sheet), (std::vector<std::string>{"[KamSet Nord]", "PX=1"}));
}

TEST(SettingsFileTest, ManyLinesAndALongContinuedValueComeInWhole) {
  std::string text = "[S]\n";
  for (int i = 0; i < 5000; ++i) text += "k" + std::to_string(i) + "=v\n";
  text += "long=";
  for (int i = 0; i < 5000; ++i) text += "part\\\n";
  text += "end\n";
  SettingsFile file;
  file.Parse(text);
  ASSERT_EQ(file.count(), 5002);
  EXPECT_EQ(file.entry(5000).name, "k4999");
  EXPECT_EQ(file.entry(5001).value.size(), 5000u * 4 + 3);
}

TEST(SettingsFileTest, FindLooksOnlyInTheFirstSectionOfAName) {
  SettingsFile file;
  file.Parse("top=0\n[A]\nk=1\nk=2\n[B]\nk=3\n[A]\nk=4\nonly=5\n");
  ASSERT_NE(file.Find("A", "k"), nullptr);
  EXPECT_EQ(*file.Find("A", "k"), "1");
  EXPECT_EQ(*file.Find("B", "k"), "3");
  EXPECT_EQ(file.Find("A", "only"), nullptr);  // second [A] is never searched
  EXPECT_EQ(file.Find("A", "K"), nullptr);     // case-sensitive
  EXPECT_EQ(file.Find("a", "k"), nullptr);
  EXPECT_EQ(file.Find("", "top"), nullptr);    // keys before the first header
  EXPECT_EQ(file.Find("C", "k"), nullptr);
  EXPECT_EQ(file.HasSection("B"), 1);
  EXPECT_EQ(file.HasSection("b"), 0);
  EXPECT_EQ(file.HasSection("top"), 0);  // a key is no section
}

TEST(SettingsFileTest, SetReplacesTheFirstKeyOrInsertsAfterTheSectionsLastKey) {
  SettingsFile file;
  file.Parse("top=0\n[A]\nk=1\nk=2\n[B]\nx=3\n[A]\nk=4\n");
  file.Set("A", "k", "one");
  file.Set("A", "new", "n");   // before [B]
  file.Set("B", "y", "4");     // before the second [A]
  file.Set("C", "z", "5");     // a new section at the end
  file.Set("A", "new", "N");   // replaced, not added again
  file.Set("top", "t", "6");   // "top" is a key, not a section: new section
  EXPECT_EQ(Lines(file), (std::vector<std::string>{"top=0", "[A]", "k=one", "k=2", "new=N",
                                                   "[B]", "x=3", "y=4", "[A]", "k=4", "[C]",
                                                   "z=5", "[top]", "t=6"}));

  SettingsFile empty;
  empty.Set("Zuvo", "Prellbock", "Rot.mod");
  EXPECT_EQ(Lines(empty), (std::vector<std::string>{"[Zuvo]", "Prellbock=Rot.mod"}));

  SettingsFile headerOnly;
  headerOnly.Parse("[A]\n[B]\n");
  headerOnly.Set("A", "k", "v");  // an empty section takes the key right after its header
  EXPECT_EQ(Lines(headerOnly), (std::vector<std::string>{"[A]", "k=v", "[B]"}));
}

TEST(SettingsFileTest, RemoveSectionRemovesTheFirstOfItsNameWithItsKeys) {
  SettingsFile file;
  file.Parse("top=0\n[A]\nk=1\n[B]\nx=2\n[A]\nk=3\n[C]\n");
  EXPECT_EQ(file.RemoveSection("A"), 1);
  EXPECT_EQ(Lines(file), (std::vector<std::string>{"top=0", "[B]", "x=2", "[A]", "k=3", "[C]"}));
  EXPECT_EQ(*file.Find("A", "k"), "3");
  EXPECT_EQ(file.RemoveSection("A"), 1);
  EXPECT_EQ(file.RemoveSection("A"), 0);
  EXPECT_EQ(file.RemoveSection("C"), 1);  // the last section, up to the end
  EXPECT_EQ(Lines(file), (std::vector<std::string>{"top=0", "[B]", "x=2"}));
  EXPECT_EQ(file.RemoveSection("top"), 0);
}

TEST(SettingsFileTest, GetIntParsesLikeAtoiAndSaturates) {
  struct IntCase {
    const char* value;
    int expected;
  };
  const IntCase cases[] = {
      {"42", 42},
      {"  \t\n\v\f\r-17xyz", -17},
      {"+5", 5},
      {"12 34", 12},
      {"007", 7},
      {"abc", 0},
      {"", 0},
      {"- 5", 0},
      {"--5", 0},
      {"0x1F", 0},
      {"3.9", 3},
      {"2147483647", INT_MAX},
      {"2147483648", INT_MAX},
      {"99999999999999999999999999", INT_MAX},
      {"-2147483648", INT_MIN},
      {"-2147483649", INT_MIN},
      {"-99999999999999999999999999", INT_MIN},
  };
  for (const IntCase& c : cases) {
    SettingsFile file;
    file.Set("S", "k", c.value);
    EXPECT_EQ(file.GetInt("S", "k", 77), c.expected) << '"' << c.value << '"';
  }
  SettingsFile file;
  file.Set("S", "k", "1");
  EXPECT_EQ(file.GetInt("S", "missing", 77), 77);
  EXPECT_EQ(file.GetInt("T", "k", -3), -3);
}

TEST(SettingsFileTest, GetRealParsesLikeAtofAndWidensTheDefaultExactly) {
  struct RealCase {
    const char* value;
    double expected;
  };
  const RealCase cases[] = {
      {"1.5", 1.5},     {" -2.5e3x", -2500.0}, {"3,5", 3.0},  {".25", 0.25},
      {"abc", 0.0},     {"", 0.0},             {"+7", 7.0},   {"24.145552", 24.145552},
  };
  for (const RealCase& c : cases) {
    SettingsFile file;
    file.Set("S", "k", c.value);
    EXPECT_EQ(file.GetReal("S", "k", 9.5f), c.expected) << '"' << c.value << '"';
  }
  SettingsFile file;
  EXPECT_EQ(file.GetReal("S", "k", 24.145552f), 24.145551681518555);
  EXPECT_EQ(file.GetReal("S", "k", 0.1f), 0.10000000149011612);
}

TEST(SettingsFileTest, WritesHeadersWithABlankLineBeforeAndCrLfEverywhere) {
  TempDir dir;
  SettingsFile file;
  file.Append("top", "0");
  file.AppendSection("Zuvo");
  file.Append("Prellbock", "Rot.mod");
  file.Append("leer", "");
  file.AppendSection("KamSet Nord");
  file.Append("PX", "-12");
  ASSERT_NE(file.Write(dir.Path("a.danl")), 0);
  EXPECT_EQ(dir.Read("a.danl"),
            "top=0\r\n\r\n[Zuvo]\r\nPrellbock=Rot.mod\r\nleer=\r\n\r\n[KamSet Nord]\r\nPX=-12\r\n");

  SettingsFile headerFirst;
  headerFirst.AppendSection("A");
  headerFirst.AppendSection("B");
  ASSERT_NE(headerFirst.Write(dir.Path("b.danl")), 0);
  EXPECT_EQ(dir.Read("b.danl"), "[A]\r\n\r\n[B]\r\n");

  SettingsFile empty;
  ASSERT_NE(empty.Write(dir.Path("c.danl")), 0);
  EXPECT_EQ(dir.Read("c.danl"), "");
  EXPECT_EQ(dir.List(), (std::vector<std::string>{"a.danl", "b.danl", "c.danl"}));
}

TEST(SettingsFileTest, WhatIsWrittenReadsBackIntoTheSameEntries) {
  TempDir dir;
  SettingsFile file;
  file.Append("before", "header");
  file.AppendSection("Zuvo");
  file.Append(" spaced key ", " value with = signs");
  file.Append("empty", "");
  file.Append("umlaut", "Gr\xFC" "n\xE4" "ne");
  file.Append("long", std::string(5000, 'L'));
  file.AppendSection("Terrain Berg");
  file.Append("Kachelgroesse", "100.5");
  file.AppendSection("Zuvo");
  file.Append("dup", "x");
  ASSERT_NE(file.Write(dir.Path("round.danl")), 0);
  SettingsFile back;
  ASSERT_NE(back.Read(dir.Path("round.danl")), 0);
  EXPECT_EQ(Lines(back), Lines(file));

  // The same text written again is byte-identical.
  ASSERT_NE(back.Write(dir.Path("again.danl")), 0);
  EXPECT_EQ(dir.Read("again.danl"), dir.Read("round.danl"));
  EXPECT_EQ(back.Serialize(), dir.Read("round.danl"));
}

TEST(SettingsFileTest, WhatTheFormatCannotHoldChangesOnTheWayBack) {
  TempDir dir;
  SettingsFile file;
  file.AppendSection("A");
  file.Append("blank", "v \t");
  file.Append("path", "C:\\Sim\\");  // swallows the next key line
  file.Append("next", "1");
  file.Append("last", "D:\\Top\\");  // the blank line before [B] ends it
  file.AppendSection("B");
  file.Append("x", "2");
  ASSERT_NE(file.Write(dir.Path("lossy.danl")), 0);
  SettingsFile back;
  back.Read(dir.Path("lossy.danl"));
  EXPECT_EQ(Lines(back), (std::vector<std::string>{"[A]", "blank=v", "path=C:\\Simnext=1",
                                                   "last=D:\\Top", "[B]", "x=2"}));
}

TEST(SettingsFileTest, WriteFailuresAreReportedAndKeepTheOldFile) {
  TempDir dir;
  const std::string old = "[Old]\r\nk=1\r\n";
  dir.Write("a.danl", old);
  SettingsFile file;
  file.Set("New", "k", "2");

  {
    MessageRecorder messages;
    std::string path = dir.Path("nofolder\\a.danl");
    EXPECT_EQ(file.Write(path), 0);
    EXPECT_EQ(messages.messages(), (std::vector<std::string>{"Can't open " + path + "!\n"}));
  }
  const platform::FaultKind kinds[] = {platform::kFaultWrite, platform::kFaultClose,
                                       platform::kFaultRename};
  for (platform::FaultKind kind : kinds) {
    MessageRecorder messages;
    platform::PlanFault(kind, 1);
    EXPECT_EQ(file.Write(dir.Path("a.danl")), 0) << kind;
    platform::ClearFaults();
    EXPECT_EQ(messages.messages(), (std::vector<std::string>{"Fehler beim Schreiben von " +
                                                             dir.Path("a.danl") + "!\n"}))
        << kind;
    EXPECT_EQ(dir.Read("a.danl"), old) << kind;
    EXPECT_EQ(dir.List(), (std::vector<std::string>{"a.danl"})) << kind;
  }
  EXPECT_EQ(Lines(file), (std::vector<std::string>{"[New]", "k=2"}));
  ASSERT_NE(file.Write(dir.Path("a.danl")), 0);
  EXPECT_EQ(dir.Read("a.danl"), "[New]\r\nk=2\r\n");
}

TEST(SettingsFileTest, ClearEmptiesAndTheWalkSeesEveryEntry) {
  SettingsFile file;
  file.Parse("[Copy]\na=b\nc=d\n[Terrain1]\nx=1\n");
  ASSERT_EQ(file.count(), 5);
  EXPECT_TRUE(file.entry(0).isSection);
  EXPECT_EQ(file.entry(2).name, "c");
  EXPECT_EQ(file.entry(2).value, "d");
  file.Clear();
  EXPECT_EQ(file.count(), 0);
  EXPECT_EQ(file.Serialize(), "");
}

}  // namespace
