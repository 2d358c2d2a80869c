// Text files in code page 1252 or UTF-8: which is which, and what a UTF-8
// file becomes.
#include "platform/cp1252.h"

#include <gtest/gtest.h>

namespace {

TEST(Cp1252Test, ATextFileIsUtf8OnlyWhenValidWithAMultiByteSequence) {
  const struct {
    const char* name;
    std::string bytes;
    int result, utf8, badLine;
    std::string text;  // what it becomes (as the bytes when not converted)
  } cases[] = {
      {"ascii", "[Zuvo]\r\nKamSet=Nord\r\n", 1, 0, 0, "[Zuvo]\r\nKamSet=Nord\r\n"},
      {"empty", "", 1, 0, 0, ""},
      {"cp1252", "[KamSet \xC4gypten]\r\nPX1=1\r\n", 1, 0, 0, "[KamSet \xC4gypten]\r\nPX1=1\r\n"},
      {"cp1252 that would lead a sequence at the end", "a=\xC3", 1, 0, 0, "a=\xC3"},
      {"utf8", "[KamSet \xC3\x84gypten]\r\nName=Gr\xC3\xBCn \xE2\x82\xAC\r\n", 1, 1, 0,
       "[KamSet \xC4gypten]\r\nName=Gr\xFCn \x80\r\n"},
      {"utf8 and one cp1252 byte: no UTF-8", "\xC3\x84=1\r\n\xC4=2\r\n", 1, 0, 0, "\xC3\x84=1\r\n\xC4=2\r\n"},
      {"over-long form: no UTF-8", "a=\xC0\x80", 1, 0, 0, "a=\xC0\x80"},
      {"byte order mark", "\xEF\xBB\xBF[Zuvo]\r\n", 1, 1, 0, "[Zuvo]\r\n"},
      {"a character code page 1252 lacks", "[Zuvo]\r\nA=\xC3\xA4\r\nB=\xE2\x86\x92\r\n", 0, 0, 3, ""},
      {"on the first line", "\xF0\x9F\x9A\x82=Zug", 0, 0, 1, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::string text = "unchanged";
    int utf8 = -1, badLine = -1;
    EXPECT_EQ(platform::TextFileToCp1252(c.bytes, &text, &utf8, &badLine), c.result);
    EXPECT_EQ(utf8, c.utf8);
    EXPECT_EQ(badLine, c.badLine);
    if (c.result) {
      EXPECT_EQ(text, c.text);
    }
  }
}

}  // namespace
