// The reader of Wine's text registry files, on text made here: the forms Wine
// writes, and malformed text that must not give a wrong value. (That no text
// crashes it is the wine_registry fuzz target's part.)
#include <gtest/gtest.h>

#include <string>

#include "platform/wine_registry.h"
#include "support/test_support.h"

namespace {

using platform::FindWineRegistryDefaultValue;
using testing_support::Cp;

const char kCommandKey[] = "SOFTWARE\\Classes\\Kantrelwick\\shell\\open\\command";
const char kKeyLine[] = "[Software\\\\Classes\\\\Kantrelwick\\\\shell\\\\open\\\\command] 1\n";

// A machine hive as Wine writes it, around the given lines of the command key.
std::string Hive(const std::string& commandKeyLines) {
  return "WINE REGISTRY Version 2\n"
         ";; All keys relative to \\\\Machine\n\n#arch=win64\n\n"
         "[Software\\\\Classes\\\\.anl] 1700000000\n#time=1da0c1b2c3d4e5f\n@=\"Anlage\"\n\n"
         "[Software\\\\Classes\\\\Kantrelwick\\\\shell\\\\open] 1700000000\n"
         "@=\"falsch: der Schl\\x00fcssel dar\\x00fcber\"\n\n" +
         std::string(kKeyLine) + "#time=1da0c1b2c3d4e60\n" + commandKeyLines +
         "\n[Software\\\\Classes\\\\Kantrelwick\\\\shell\\\\open\\\\command\\\\Unter] 2\n"
         "@=\"falsch: ein Unterschl\\x00fcssel\"\n";
}

std::string Find(const std::string& text, const std::string& key = kCommandKey) {
  std::string value = "<unchanged>";
  if (!FindWineRegistryDefaultValue(text, key, &value)) return "<none>";
  return value;
}

TEST(WineRegistryTest, ValuesInEveryFormWineWrites) {
  const std::pair<std::string, std::string> cases[] = {
      {"\"Name\"=\"kein Standardwert\"\n@=\"\\\"C:\\\\Program Files\\\\K.exe\\\" \\\"%1\\\"\"\n"
       "\"Andere\"=dword:00000001\n",
       "\"C:\\Program Files\\K.exe\" \"%1\""},
      {"@=\"a\\\\b\\\"c\\n\\r\\t\\[x\\]\\q\"\n", "a\\b\"c\n\r\t[x]q"},
      // Hex escapes of one to four digits, octal escapes, raw UTF-8 or Latin-1.
      {"@=\"Gr\\x00f6\\x00dfe \\x20ac\\xe4 \\101\\x\"\n", Cp("Größe €ä ") + "Ax"},
      {"@=\"\\x00411\"\n", "A1"},
      {"@=\"Gr\xC3\xB6\xC3\x9F" "e\"\n", Cp("Größe")},
      {"@=\"Gr\xF6\xDF" "e\"\n", Cp("Größe")},
      {"@=\"vorher\\0nachher\"\n", "vorher"},  // cut at the first NUL
      {"\"\"=\"leerer Name\"\n", "leerer Name"},
      {"@=str(2):\"%ProgramFiles%\\\\K.exe %1\"\n", "%ProgramFiles%\\K.exe %1"},
      {"@=str(7):\"erste\\0zweite\\0\"\n", "erste"},
      // hex(2): UTF-16LE over continued lines; an odd last byte is dropped.
      {"@=hex(2):43,00,3a,00,5c,00,\\\n  e4,00,00,00\n\"Danach\"=\"x\"\n", Cp("C:\\ä")},
      {"@=hex(1):41,00,42,00,43\n", "AB"},
      // Other types come back as their bytes.
      {"@=hex:41,42,00,43\n", "AB"},
      {"@=dword:00004241\n", "AB"},
      // Missing, or holding what code page 1252 lacks (never mangled): U+0101,
      // a lone surrogate, a pair outside the BMP, UTF-8 outside 1252.
      {"", "<none>"},
      {"@=\"C:\\\\Stra\\x0101e\"\n", "<none>"},
      {"@=\"C:\\\\\\xd800\"\n", "<none>"},
      {"@=\"\\xd83d\\xde00\"\n", "<none>"},
      {"@=hex(2):01,01,00,00\n", "<none>"},
      {"@=\"Stra\xC4\x81" "e\"\n", "<none>"},
      // A malformed line does not spoil the value before it.
      {"@=\"gut\"\n@=\"offen\n", "gut"},
      {"@=\"gut\"\n@=dword:\n@=hex(2):4x,00\n@=str(2)\"x\"\n@=unbekannt\n", "gut"},
      // The last definition wins; a continuation stops at the next key.
      {"@=\"erst\"\n" + std::string(kKeyLine) + "@=\"zuletzt\"\n", "zuletzt"},
      {"@=\"gut\"\n@=hex(2):41,00,\\\n" + std::string(kKeyLine) + "@=\"danach\"\n", "danach"},
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
  const std::string hive = Hive("@=\"x\"\n");
  EXPECT_EQ(Find(hive, "software\\CLASSES\\kantrelwick\\Shell\\Open\\Command\\"), "x");
  EXPECT_EQ(Find(hive, "Software\\Classes\\.anl"), "Anlage");
  EXPECT_EQ(Find(hive, "Software\\Classes\\Kantrelwick\\shell\\open\\comman"), "<none>");
  EXPECT_EQ(Find(hive, "Software\\Classes\\Kantrelwick"), "<none>");
  EXPECT_EQ(Find(hive, std::string(kCommandKey) + "\\Unter"), Cp("falsch: ein Unterschlüssel"));
  EXPECT_EQ(Find("WINE REGISTRY Version 2\n[A\\\\B\\]\\\"C] 0\n@=\"v\"\n", "a\\b]\"c"), "v");
  EXPECT_EQ(Find(hive.substr(hive.find('\n') + 1)), "<none>");
  EXPECT_EQ(Find("WINE REGISTRY Version 1" + hive.substr(hive.find('\n'))), "<none>");
  EXPECT_EQ(Find("\xEF\xBB\xBF" + hive), "x");  // a byte order mark is harmless
}

}  // namespace
