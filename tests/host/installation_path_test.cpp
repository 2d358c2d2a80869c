// What a settings file may name for the tool to change: a real installation
// folder and a neighbour whose name begins with the installation's.
#include <gtest/gtest.h>

#include <string>

#include "host/installation_path.h"
#include "support/test_support.h"

TEST(InstallationPathTest, OnlyWhatLiesBelowTheInstallationIsInside) {
  testing_support::TempDir dir;
  dir.Write("Sim\\Mods\\Prellbock.mod", "m");
  dir.Write("SimAlt\\x", "x");
  const std::string host = dir.Path("Sim") + "\\", drive = host.substr(0, 2), rest = host.substr(2);
  std::string lower = host;
  for (char& c : lower) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
  const struct {
    std::string path;
    int inside;
  } cases[] = {
      {"Mods\\Prellbock.mod", 1},           {"Mods/Neu\\..\\Neu.mod", 1},
      {lower + "MODS\\prellbock.mod", 1},   {drive + "Mods\\x", 1},
      {rest + "Mods\\x", 1},                {"Mods\\..\\..\\SimAlt\\x", 0},
      {"..\\SimAlt\\x", 0},                 {dir.Path("SimAlt\\x"), 0},
      {"", 0},                              {".", 0},
      {"Mods\\..", 0},                      {"\\x", 0},
      {"Q:" + rest + "x", 0},               {"Q:Mods\\x", 0},
      {std::string("Mods\\x\0\\..\\..\\..\\y", 18), 0},
  };
  for (const auto& c : cases) EXPECT_EQ(host::IsInsideInstallation(host, c.path), c.inside) << c.path;
}

TEST(InstallationPathTest, PlainNamesHaveNoPathInThem) {
  const struct {
    std::string name;
    int plain;
  } cases[] = {{"Holz.mod", 1}, {"", 0},    {".", 0},     {"..", 0},  {".. ", 0},
               {"a\\b", 0},     {"a/b", 0}, {"C:b", 0}, {std::string("a\0b", 3), 0}};
  for (const auto& c : cases) EXPECT_EQ(host::IsPlainName(c.name), c.plain) << c.name;
}
