// The reader of Wine's text registry files, on text made here: the forms Wine
// writes, and hostile text that must neither crash nor give a wrong value.
#include <gtest/gtest.h>

#include <string>

#include "platform/wine_registry.h"
#include "support/test_support.h"

namespace {

using platform::FindWineRegistryDefaultValue;
using testing_support::Cp;

const char kCommandKey[] = "SOFTWARE\\Classes\\Kantrelwick\\shell\\open\\command";

// A machine hive as Wine writes it, around the given lines of the command key.
std::string Hive(const std::string& commandKeyLines) {
  return "WINE REGISTRY Version 2\n"
         ";; All keys relative to \\\\Machine\n"
         "\n"
         "#arch=win64\n"
         "\n"
         "[Software\\\\Classes\\\\.anl] 1700000000\n"
         "#time=1da0c1b2c3d4e5f\n"
         "@=\"Kantrelwick.Anlage\"\n"
         "\n"
         "[Software\\\\Classes\\\\Kantrelwick\\\\shell\\\\open] 1700000000\n"
         "@=\"falsch: der Schl\\x00fcssel dar\\x00fcber\"\n"
         "\n"
         "[Software\\\\Classes\\\\Kantrelwick\\\\shell\\\\open\\\\command] 1700000001\n"
         "#time=1da0c1b2c3d4e60\n" +
         commandKeyLines +
         "\n"
         "[Software\\\\Classes\\\\Kantrelwick\\\\shell\\\\open\\\\command\\\\Unter] 1700000002\n"
         "@=\"falsch: ein Unterschl\\x00fcssel\"\n";
}

std::string Find(const std::string& text, const std::string& key = kCommandKey) {
  std::string value = "<unchanged>";
  if (!FindWineRegistryDefaultValue(text, key, &value)) return "<none>";
  return value;
}

TEST(WineRegistryTest, QuotedCommandWithEscapesKeysIgnoringCase) {
  std::string hive = Hive(
      "\"Name\"=\"kein Standardwert\"\n"
      "@=\"\\\"C:\\\\Program Files\\\\Sim\\\\Kantrelwick.exe\\\" \\\"%1\\\"\"\n"
      "\"Andere\"=dword:00000001\n");
  const std::string expected = "\"C:\\Program Files\\Sim\\Kantrelwick.exe\" \"%1\"";
  EXPECT_EQ(Find(hive), expected);
  EXPECT_EQ(Find(hive, "software\\CLASSES\\kantrelwick\\Shell\\Open\\Command"), expected);
  EXPECT_EQ(Find(hive, std::string(kCommandKey) + "\\"), expected);
  EXPECT_EQ(Find(hive, "Software\\Classes\\.anl"), "Kantrelwick.Anlage");
  // Key names match whole: neither a parent nor a longer sibling.
  EXPECT_EQ(Find(hive, "Software\\Classes\\Kantrelwick\\shell\\open\\comman"), "<none>");
  EXPECT_EQ(Find(hive, "Software\\Classes\\Kantrelwick"), "<none>");
  EXPECT_EQ(Find(hive, "Software\\Classes\\Kantrelwick\\shell\\open\\command\\Unter"),
            "falsch: ein Unterschl\xFCssel");
  // Windows line ends read the same.
  std::string crlf;
  for (char c : hive) {
    if (c == '\n') crlf += '\r';
    crlf += c;
  }
  EXPECT_EQ(Find(crlf), expected);
}

TEST(WineRegistryTest, StringEscapesAndCodePage) {
  EXPECT_EQ(Find(Hive("@=\"a\\\\b\\\"c\\n\\r\\t\\[x\\]\\q\"\n")), "a\\b\"c\n\r\t[x]q");
  // Hex escapes of one to four digits, octal escapes, raw UTF-8.
  EXPECT_EQ(Find(Hive("@=\"Gr\\x00f6\\x00dfe \\x20ac\\xe4 \\101\\x\"\n")),
            Cp("Größe €ä ") + "Ax");
  // At most four hex digits belong to one escape.
  EXPECT_EQ(Find(Hive("@=\"\\x00411\"\n")), "A1");
  EXPECT_EQ(Find(Hive("@=\"Gr\xC3\xB6\xC3\x9F" "e\"\n")), Cp("Größe"));
  // A byte that is no UTF-8 stands for itself (Latin-1).
  EXPECT_EQ(Find(Hive("@=\"Gr\xF6\xDF" "e\"\n")), Cp("Größe"));
  // Cut at the first NUL, as a caller of the Windows "A" functions sees it.
  EXPECT_EQ(Find(Hive("@=\"vorher\\0nachher\"\n")), "vorher");
  // An empty name is the default value too.
  EXPECT_EQ(Find(Hive("\"\"=\"leerer Name\"\n")), "leerer Name");
  EXPECT_EQ(Find(Hive("@=\"\"\n")), "");
}

TEST(WineRegistryTest, ExpandStringsAndHexForms) {
  EXPECT_EQ(Find(Hive("@=str(2):\"%ProgramFiles%\\\\Sim\\\\Kantrelwick.exe %1\"\n")),
            "%ProgramFiles%\\Sim\\Kantrelwick.exe %1");
  EXPECT_EQ(Find(Hive("@=str(7):\"erste\\0zweite\\0\"\n")), "erste");
  // hex(2): UTF-16LE bytes over continued lines ("C:\Sim ä").
  EXPECT_EQ(Find(Hive("@=hex(2):43,00,3a,00,5c,00,\\\n"
                      "  53,00,69,00,6d,00,20,00,\\\n"
                      "  e4,00,00,00\n"
                      "\"Danach\"=\"x\"\n")),
            Cp("C:\\Sim ä"));
  EXPECT_EQ(Find(Hive("@=hex(1):41,00,42,00,43\n")), "AB");  // odd last byte dropped
  // Other types come back as their bytes.
  EXPECT_EQ(Find(Hive("@=hex:41,42,00,43\n")), "AB");
  EXPECT_EQ(Find(Hive("@=dword:00004241\n")), "AB");
  EXPECT_EQ(Find(Hive("@=hex(3):5a,\\\n  5a\n")), "ZZ");
}

TEST(WineRegistryTest, MissingOrRefusedValuesAreNotFound) {
  EXPECT_EQ(Find(Hive("")), "<none>");
  EXPECT_EQ(Find(Hive("\"Name\"=\"nur benannt\"\n")), "<none>");
  EXPECT_EQ(Find(Hive("@=\"x\"\n"), "Software\\Classes\\Fehlt"), "<none>");
  // Characters code page 1252 lacks are refused, never mangled: U+0101, a
  // lone surrogate, a pair outside the BMP, UTF-8 text outside 1252.
  EXPECT_EQ(Find(Hive("@=\"C:\\\\Stra\\x0101e\"\n")), "<none>");
  EXPECT_EQ(Find(Hive("@=\"C:\\\\\\xd800\"\n")), "<none>");
  EXPECT_EQ(Find(Hive("@=\"\\xd83d\\xde00\"\n")), "<none>");
  EXPECT_EQ(Find(Hive("@=hex(2):01,01,00,00\n")), "<none>");
  EXPECT_EQ(Find(Hive("@=\"Stra\xC4\x81" "e\"\n")), "<none>");
  // Not a registry file of the version we know.
  std::string hive = Hive("@=\"x\"\n");
  EXPECT_EQ(Find(hive.substr(hive.find('\n') + 1)), "<none>");
  EXPECT_EQ(Find("WINE REGISTRY Version 1" + hive.substr(hive.find('\n'))), "<none>");
  EXPECT_EQ(Find("\xEF\xBB\xBF" + hive), "x");  // a byte order mark is harmless
}

TEST(WineRegistryTest, LaterDefinitionsWinAndMalformedLinesAreSkipped) {
  std::string hive = Hive("@=\"erst\"\n") +
                     "[Software\\\\Classes\\\\KANTRELWICK\\\\shell\\\\open\\\\command] 1\n"
                     "@=\"zuletzt\"\n";
  EXPECT_EQ(Find(hive), "zuletzt");
  // A malformed line does not spoil the value before it.
  EXPECT_EQ(Find(Hive("@=\"gut\"\n@=\"offen\n")), "gut");
  EXPECT_EQ(Find(Hive("@=\"gut\"\n@=dword:\n@=hex(2):4x,00\n@=str(2)\"x\"\n@=unbekannt\n")),
            "gut");
  // A continuation that meets the next key stops there; the key still counts.
  EXPECT_EQ(Find(Hive("@=\"gut\"\n@=hex(2):41,00,\\\n") +
                     "[Software\\\\Classes\\\\Kantrelwick\\\\shell\\\\open\\\\command] 2\n"
                     "@=\"danach\"\n"),
            "danach");
  // Escaped brackets and quotes in key names.
  EXPECT_EQ(Find("WINE REGISTRY Version 2\n[A\\\\B\\]\\\"C] 0\n@=\"v\"\n", "a\\b]\"c"), "v");
}

TEST(WineRegistryTest, HostileTextNeverCrashes) {
  const std::string hive = Hive(
      "@=hex(2):43,00,3a,00,5c,00,\\\n  53,00,00,00\n"
      "\"S\"=str(2):\"\\x20ac\\101\\\\\\\"\"\n"
      "\"D\"=dword:ffffffff\n");
  ASSERT_EQ(Find(hive), "C:\\S");
  std::string value;
  // Every cut of a valid file.
  for (std::size_t length = 0; length <= hive.size(); ++length) {
    FindWineRegistryDefaultValue(hive.substr(0, length), kCommandKey, &value);
  }
  // Pieces that end in the middle of an escape, a number or a line.
  const char* const kPieces[] = {
      "@=\"\\",      "@=\"\\x",      "@=\"\\x12",        "@=\"\\7",      "@=\"\xC3",
      "@=\"\xF0\x9F", "@=str(",       "@=str(ffffffffff):\"x\"", "@=hex(2):\\",
      "@=hex(2):fff", "@=hex:,,,,",   "@=dword:123456789", "[",         "[\\",
      "@=hex(2):41,\\\n\\\n\\\n",    "\"",              "\"\\",          "@",
  };
  for (const char* piece : kPieces) {
    SCOPED_TRACE(piece);
    std::string text = Hive(std::string(piece) + "\n");
    FindWineRegistryDefaultValue(text, kCommandKey, &value);
    FindWineRegistryDefaultValue(text + piece, kCommandKey, &value);
  }
  // Arbitrary bytes after the header, from a fixed pseudo-random sequence.
  unsigned state = 12345;
  for (int round = 0; round < 200; ++round) {
    std::string text = "WINE REGISTRY Version 2\n"
                       "[Software\\\\Classes\\\\Kantrelwick\\\\shell\\\\open\\\\command]\n";
    for (int k = 0; k < 300; ++k) {
      state = state * 1103515245u + 12345u;
      const char kAlphabet[] = "@\"\\[]:,()=xstrhexdword0123456789abcdef \n\r\t\x80\xC3\xFF";
      text += (state >> 16) % 3 == 0 ? static_cast<char>(state >> 24)
                                      : kAlphabet[(state >> 16) % (sizeof kAlphabet - 1)];
    }
    FindWineRegistryDefaultValue(text, kCommandKey, &value);
  }
}

}  // namespace
