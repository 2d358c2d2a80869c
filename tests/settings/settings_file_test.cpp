// The settings file: line rules, first sections, numbers, the text written. (Safe saving: host tests.)
#include "settings/settings_file.h"

#include <gtest/gtest.h>
#include <climits>

#include "support/test_support.h"

namespace {

using settings::SettingsFile;
using Lines = std::vector<std::string>;

// The entries as one line each: "[name]" for a header, "name|value" for a key.
Lines LinesOf(const SettingsFile& file) {
  Lines lines;
  for (const settings::SettingsEntry& e : file.entries())
    lines.push_back(e.isSection ? "[" + e.name + "]" : e.name + "|" + e.value);
  return lines;
}

TEST(SettingsFileTest, ParsesLinesByTheRules) {
  const struct {
    std::string text;
    const char* startLine;
    Lines expected;
  } cases[] = {
      // Keys before the first header, section names up to the first "]", a key up to the first "=", lines without
      // "]" or "=" skipped, nothing trimmed, no comment syntax, "[]" ends the reading.
      {"\n  \r\n\t\na=1\n[ a ]b]x\n[Alpha\n[Beta=1\n[\n  k = v \nx=b=c\n=v\ne=\nb=   \t\n;n\n;c=1\n# "
       "x=2\n[]rest\ny=2\n",
       nullptr,
       {"a|1", "[ a ]", "  k | v", "x|b=c", "|v", "e|", "b|", ";c|1", "# x|2"}},
      {"[S]\r\nk=a\rb\r\nw=z\nt=v \t \r\nlast=v", nullptr, {"[S]", "k|a\rb", "w|z", "t|v", "last|v"}},
      // Continuation: plain text joined (leading blanks kept) until an unmarked line; a header's backslash does not
      // continue; blanks after the backslash go first; an empty line ends it, used up.
      {"[A\\]\nk=a\\\n  b\\\nc\nd\n", nullptr, {"[A\\]", "k|a  bc"}},
      {"p=C:\\Sim\\\n[Next]\\\n[]\\\nx=1\ny=2\n", nullptr, {"p|C:\\Sim[Next][]x=1", "y|2"}},
      {"k=a\\  \r\n\nb=1\n", nullptr, {"k|a", "b|1"}},
      // The start line: compared exactly after stripping; lines before it, continued or not, do not count.
      {"k=a\\\n[Zuvo]x\n[zuvo]\n[Zuvo]  \r\nn=1\n[Y]\n", "[Zuvo]", {"[Zuvo]", "n|1", "[Y]"}},
  };
  for (const auto& c : cases) {
    SettingsFile file;
    file.Parse(c.text, c.startLine);
    EXPECT_EQ(LinesOf(file), c.expected) << c.text;
  }
  SettingsFile file;  // parsing appends, and continues the value already held
  file.Parse("k=C:\\Sim\\\n"), file.Parse("rest\nn=1\n");
  EXPECT_EQ(LinesOf(file), (Lines{"k|C:\\Simrest", "n|1"}));
}

TEST(SettingsFileTest, FindSetAndRemoveUseTheFirstSectionOfAName) {
  SettingsFile file;
  file.Parse("top=0\n[A]\nk=1\nk=2\n[B]\nx=3\n[A]\nk=4\nonly=5\n[E]\n");
  // The second [A] is never searched; names are case-sensitive; keys before the first header are in no section.
  EXPECT_TRUE(!file.Find("A", "only") && !file.Find("A", "K") && !file.Find("a", "k") && !file.Find("", "top"));
  file.Set("A", "k", "one");
  file.Set("A", "new", "n");  // before [B]
  file.Set("B", "y", "4");    // before the second [A]
  file.Set("E", "e", "5");    // an empty section takes it right after its header
  file.Set("A", "new", "N");  // replaced, not added again
  file.Set("top", "t", "6");  // a key is no section: a new section at the end
  EXPECT_EQ(LinesOf(file), (Lines{"top|0", "[A]", "k|one", "k|2", "new|N", "[B]", "x|3", "y|4", "[A]", "k|4", "only|5",
                                  "[E]", "e|5", "[top]", "t|6"}));
  EXPECT_EQ(file.RemoveSection("A") + file.RemoveSection("top") + file.RemoveSection("E") * 2 + file.RemoveSection("E"),
            4);
  EXPECT_EQ(LinesOf(file), (Lines{"top|0", "[B]", "x|3", "y|4", "[A]", "k|4", "only|5"}));
}

TEST(SettingsFileTest, NumbersParseLikeAtoiAndAtof) {
  const char* texts[] = {"  \t\n\v\f\r-17xyz",      "+5",          "3.9",        "", "- 5", "--5", "0x1F", "2147483648",
                         "99999999999999999999999", "-2147483648", "-2147483649"};
  const int values[] = {-17, 5, 3, 0, 0, 0, 0, INT_MAX, INT_MAX, INT_MIN, INT_MIN};
  for (int i = 0; i < 11; ++i) EXPECT_EQ(SettingsFile::ParseInt(texts[i]), values[i]) << texts[i];
  EXPECT_EQ(SettingsFile::ParseReal(" -2.5e3x") + SettingsFile::ParseReal("3,5") + SettingsFile::ParseReal("abc"),
            -2497.0);
  SettingsFile file;
  file.Parse("[S]\ni=-7\n");
  EXPECT_EQ(file.GetInt("S", "i", 77) * 100 + file.GetInt("S", "missing", 77), -700 + 77);
  EXPECT_EQ(file.GetReal("T", "r", 24.145552f), 24.145551681518555);  // the float default widened exactly
}

// A code page 1252 file is written back byte for byte; a UTF-8 file is read converted, one that does not
// fit code page 1252 is refused.
TEST(SettingsFileTest, WritesCrLfWithABlankLineBeforeLaterHeadersAndReadsUtf8Converted) {
  testing_support::TempDir dir;
  testing_support::MessageRecorder messages;
  SettingsFile file, back;
  file.Parse("[Zuvo]\n spaced key = value = x\nleer=\n[KamSet Nord]\numlaut=Gr\xFCn\n");
  EXPECT_EQ((file.Write(dir.Path("a.danl"), ""), dir.Read("a.danl")),
            "[Zuvo]\r\n spaced key = value = x\r\nleer=\r\n\r\n[KamSet Nord]\r\numlaut=Gr\xFCn\r\n");
  EXPECT_EQ(back.Read(dir.Path("missing.danl")) + back.Read(dir.Path("")), 0);  // adds nothing
  EXPECT_EQ(back.Read(dir.Path("a.danl"), "[KamSet Nord]"), 1);
  EXPECT_EQ(LinesOf(back), (Lines{"[KamSet Nord]", "umlaut|Gr\xFCn"}));
  // The result, whether it was read from UTF-8 and whether it was refused; then the text it would write.
  const auto read = [&](const char* name, const std::string& bytes) {
    dir.Write(name, bytes);
    SettingsFile file;
    settings::ReadNote note;
    const int result = file.Read(dir.Path(name), nullptr, &note);
    return std::to_string(result) + (note.utf8 ? "u" : "-") + (note.refused ? "r" : "-") + " " + file.Serialize();
  };
  EXPECT_EQ(read("utf8.danl", "[KamSet \xC3\x84gypten]\r\nPX1=1\r\n"), "1u- [KamSet \xC4gypten]\r\nPX1=1\r\n");
  EXPECT_EQ(read("arrow.danl", "[Zuvo]\r\n\r\nKamSet=\xE2\x86\x92\r\n"), "0-r ");  // nothing read
  EXPECT_EQ(messages.messages(), std::vector<std::string>{dir.Path("arrow.danl") +
                                                          ", Zeile 3: ein Zeichen, das es in Windows-1252 nicht gibt. "
                                                          "Die Datei wird nicht gelesen!\n"});
}

}  // namespace
