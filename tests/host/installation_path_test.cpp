// What a settings file may name for the tool to change: a real installation
// folder and a neighbour whose name begins with the installation's.
#include <gtest/gtest.h>

#include <string>

#include "host/installation_path.h"
#include "host/paths.h"
#include "support/test_support.h"

TEST(InstallationPathTest, OnlyWhatLiesBelowTheInstallationIsInside) {
  testing_support::TempDir dir;
  dir.Write("Sim\\Mods\\Prellbock.mod", "m");
  dir.Write("SimAlt\\x", "x");
  const std::string host = dir.Path("Sim") + "\\", drive = host.substr(0, 2), rest = host.substr(2);
  std::string lower = host;
  for (char& c : lower) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
  const std::string inside[] = {
      "Mods\\Prellbock.mod", "Mods/Neu\\..\\Neu.mod",        lower + "MODS\\prellbock.mod",        drive + "Mods\\x",
      rest + "Mods\\x",      lower.substr(0, 2) + "Mods\\x", lower.substr(0, 2) + rest + "Mods\\x"};
  const std::string outside[] = {"",
                                 ".",
                                 "\\x",
                                 "..\\SimAlt\\x",
                                 dir.Path("SimAlt\\x"),
                                 "Q:Mods\\x",
                                 "Q:" + rest + "x",
                                 std::string("Mods\\x\0\\..\\..\\..\\y", 18)};
  for (const std::string& path : inside) EXPECT_EQ(host::IsInsideInstallation(host, path), 1) << path;
  for (const std::string& path : outside) EXPECT_EQ(host::IsInsideInstallation(host, path), 0) << path;
}

TEST(InstallationPathTest, PlainNamesHaveNoPathInThem) {
  const struct {
    std::string name;
    int plain;
  } cases[] = {{"Holz.mod", 1}, {"", 0}, {".. ", 0}, {"a\\b", 0}, {"a/b", 0}, {"C:b", 0}, {std::string("a\0b", 3), 0}};
  for (const auto& c : cases) EXPECT_EQ(host::IsPlainName(c.name), c.plain) << c.name;
}

// The installation's, a layout's, the current directory: a path on the folder's
// drive without a root ("c:h.bmp") lies in the folder, whatever the letter's case.
TEST(InstallationPathTest, OneRuleTakesAPathAgainstAFolder) {
  const struct {
    const char *folder, *path, *resolved;
  } cases[] = {{"C:\\Sim\\", "Mods\\a.mod", "C:\\Sim\\Mods\\a.mod"},
               {"D:\\A", "\\h.bmp", "D:\\h.bmp"},
               {"C:\\Sim\\", "\\\\server\\share\\b.bmp", "\\\\server\\share\\b.bmp"},
               {"c:\\Sim", "C:b.bmp", "c:\\Sim\\b.bmp"},
               {"C:\\Sim\\", "c:Mods\\x", "C:\\Sim\\Mods\\x"},
               {"D:\\A", "e:h.bmp", "e:\\h.bmp"},
               {"C:\\Sim", "d:/x", "d:/x"},
               {".", "/h.bmp", "/h.bmp"},
               {"D", "{:h.bmp", "D\\{:h.bmp"},
               {"C:\\Sim", "", ""},
               {"", "h.bmp", "h.bmp"}};
  for (const auto& c : cases) EXPECT_EQ(host::ResolvePath(c.folder, c.path), c.resolved) << c.folder << " " << c.path;
}
