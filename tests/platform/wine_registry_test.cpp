// Wine's text registry files: the forms Wine writes, and malformed text that gives no value.
#include <gtest/gtest.h>

#include <string>

#include "platform/wine_registry.h"
#include "support/test_support.h"

namespace {

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
      {"@=\"C:\\\\\\xd800\"\n", "<none>"},
      {"@=\"\\xd83d\\xde00\"\n", "<none>"},
      {"@=hex(2):01,01,00,00\n", "<none>"},
      {"@=\"Stra\xC4\x81\"\n", "<none>"},
      {"@=\"gut\"\n@=\"offen\n@=dword:\n@=hex(2):4x,00\n@=str(2)\"x\"\n@=unbekannt\n", "gut"},
      // The last definition wins; a continuation stops at the next key; keys match whole.
      {"@=\"erst\"\n" + kKeyLine + "@=\"zuletzt\"\n", "zuletzt"},
      {"@=\"gut\"\n@=hex(2):41,00,\\\n" + kKeyLine + "@=\"danach\"\n", "danach"},
      {"@=\"x\"\n", "x", "software\\CLASSES\\kantrelwick\\Shell\\Open\\Command\\"},
      {"", "unten", kKey + "\\Unter"},
      {"", "oben", kKey.substr(0, 40)},
      {"@=\"x\"\n", "<none>", kKey.substr(0, kKey.size() - 1)},
  };
  for (const auto& c : cases) EXPECT_EQ(Find(kBefore + c.lines + kAfter, c.key), c.expected) << c.lines;
  const std::string rest = (kBefore + "@=\"x\"\n" + kAfter).substr(23);  // all but the version
  EXPECT_EQ(Find(rest) + Find("WINE REGISTRY Version 1" + rest), "<none><none>");
  EXPECT_EQ(Find("\xEF\xBB\xBFWINE REGISTRY Version 2" + rest), "x");  // a byte order mark
  EXPECT_EQ(Find("WINE REGISTRY Version 2\n[A\\\\B\\]\\\"C] 0\n@=\"v\"\n", "a\\b]\"c"), "v");
}

}  // namespace
