// The reader of Wine's text registry files: the forms Wine writes, and
// malformed text that must not give a wrong value.
#include <gtest/gtest.h>

#include <string>

#include "platform/wine_registry.h"
#include "support/test_support.h"

namespace {

using testing_support::Cp;

const std::string kKey = "SOFTWARE\\Classes\\Kantrelwick\\shell\\open\\command";
const std::string kKeyLine = "[Software\\\\Classes\\\\Kantrelwick\\\\shell\\\\open\\\\command] 1\n";

// A machine hive as Wine writes it, around the given lines of the command key.
std::string Hive(const std::string& lines) {
  return "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n#arch=win64\n\n"
         "[Software\\\\Classes\\\\Kantrelwick\\\\shell\\\\open] 1700000000\n@=\"oben\"\n\n" +
         kKeyLine + "#time=1da0c1b2c3d4e60\n" + lines +
         "\n[Software\\\\Classes\\\\Kantrelwick\\\\shell\\\\open\\\\command\\\\Unter] 2\n@=\"unten\"\n";
}

std::string Find(const std::string& text, const std::string& key = kKey) {
  std::string value = "<unchanged>";
  return platform::FindWineRegistryDefaultValue(text, key, &value) ? value : "<none>";
}

TEST(WineRegistryTest, ValuesInEveryFormWineWrites) {
  const std::pair<std::string, std::string> cases[] = {
      {"\"Name\"=\"nein\"\n@=\"\\\"C:\\\\P F\\\\K.exe\\\" \\\"%1\\\"\"\n\"A\"=dword:1\n", "\"C:\\P F\\K.exe\" \"%1\""},
      {"@=\"a\\\\b\\\"c\\n\\r\\t\\[x\\]\\q\"\n", "a\\b\"c\n\r\t[x]q"},
      // Hex escapes of one to four digits, octal escapes, raw UTF-8 or Latin-1.
      {"@=\"Gr\\x00f6\\x00dfe \\x20ac\\xe4 \\101\\x\\x00411\"\n", Cp("Größe €ä ") + "AxA1"},
      {"@=\"Gr\xC3\xB6\xF6\xDF" "e\"\n", Cp("Grööße")},
      {"@=\"vorher\\0nachher\"\n", "vorher"}, {"\"\"=\"leerer Name\"\n", "leerer Name"},
      {"@=str(2):\"%ProgramFiles%\\\\K.exe %1\"\n", "%ProgramFiles%\\K.exe %1"},
      // hex(2): UTF-16LE over continued lines; an odd last byte is dropped.
      {"@=hex(2):43,00,3a,00,5c,00,\\\n  e4,00,00,00\n\"Danach\"=\"x\"\n", Cp("C:\\ä")},
      {"@=hex(1):41,00,42,00,43\n", "AB"}, {"@=hex:41,42,00,43\n", "AB"}, {"@=dword:4241\n", "AB"},
      // Missing, or holding what code page 1252 lacks (never mangled).
      {"", "<none>"}, {"@=\"C:\\\\\\xd800\"\n", "<none>"}, {"@=\"\\xd83d\\xde00\"\n", "<none>"},
      {"@=hex(2):01,01,00,00\n", "<none>"}, {"@=\"Stra\xC4\x81" "e\"\n", "<none>"},
      // A malformed line does not spoil the value before it.
      {"@=\"gut\"\n@=\"offen\n@=dword:\n@=hex(2):4x,00\n@=str(2)\"x\"\n@=unbekannt\n", "gut"},
      // The last definition wins; a continuation stops at the next key.
      {"@=\"erst\"\n" + kKeyLine + "@=\"zuletzt\"\n", "zuletzt"},
      {"@=\"gut\"\n@=hex(2):41,00,\\\n" + kKeyLine + "@=\"danach\"\n", "danach"},
  };
  for (const auto& c : cases) {
    const std::string hive = Hive(c.first);
    EXPECT_EQ(Find(hive), c.second) << c.first;
    std::string crlf;  // Windows line ends read the same
    for (char ch : hive) crlf += ch == '\n' ? std::string("\r\n") : std::string(1, ch);
    EXPECT_EQ(Find(crlf), c.second) << c.first;
  }
}

TEST(WineRegistryTest, KeysMatchWholeIgnoringCaseInAFileOfTheKnownVersion) {
  const std::string hive = Hive("@=\"x\"\n"), rest = hive.substr(hive.find('\n'));
  const std::pair<std::string, std::string> cases[] = {
      {"software\\CLASSES\\kantrelwick\\Shell\\Open\\Command\\", "x"}, {kKey + "\\Unter", "unten"},
      {"Software\\Classes\\Kantrelwick\\shell\\open\\comman", "<none>"},
      {"Software\\Classes\\Kantrelwick", "<none>"}};
  for (const auto& c : cases) EXPECT_EQ(Find(hive, c.first), c.second) << c.first;
  EXPECT_EQ(Find("WINE REGISTRY Version 2\n[A\\\\B\\]\\\"C] 0\n@=\"v\"\n", "a\\b]\"c"), "v");
  EXPECT_EQ(Find(rest.substr(1)), "<none>");
  EXPECT_EQ(Find("WINE REGISTRY Version 1" + rest), "<none>");
  EXPECT_EQ(Find("\xEF\xBB\xBF" + hive), "x");  // a byte order mark is harmless
}

}  // namespace
