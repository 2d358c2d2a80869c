// The folder index answers exactly as the per-path check, on a real tree.
#include "host/folder_index.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "host/installation.h"
#include "support/test_support.h"

namespace {

TEST(FolderIndexTest, AnswersAsThePerPathCheck) {
  testing_support::TempDir dir;
  for (const char* file : {"Dir/a.txt", "DIR/b.txt", "Modelle/Haus.mod",
                           "\xC3\x9C"
                           "ber/Stra\xC3\x9F"
                           "e.mod",
                           "\xC5\xB8x/out.txt", "\xC3\xBFx/in.txt"})
    dir.Write(testing_support::Cp(file), "x");
#ifndef _WIN32
  namespace fs = std::filesystem;
  for (const auto& link : std::vector<std::pair<const char*, const char*>>{
           {"link", "Dir"}, {"dangling", "nowhere"}, {"filelink", "Dir/a.txt"}, {"loop", "loop"}})
    fs::create_symlink(link.second, fs::path(dir.native()) / link.first);
  fs::create_directory(fs::path(dir.native()) / "a\\b");      // a Linux name with a backslash
  fs::create_directory(fs::path(dir.native()) / "\xC4\x80");  // not a code page 1252 name
#endif
  const host::Installation installation = host::InstallationAt(dir.windows());
  const std::vector<std::pair<std::string, int>> cases = {
      {"Dir\\a.txt", 1},
      {"dir\\b.txt", 1},
      {"dir\\a.txt", 0},
      {"DIR\\a.txt", 0},
      {"Dir\\", 1},
      {".\\Dir\\.\\\\a.txt", 1},
      {"Dir/a.txt", 1},
      {"Dir\\..\\DIR\\b.txt", 1},
      {"Nope\\..\\Dir", 1},
      {"..\\Dir", 0},
      {"Dir\\..\\..", 1},
      {"", 1},
      {std::string("Dir\0x", 5), 0},
      {"MODELLE\\haus.MOD", 1},
      {"Modelle\\Haus.mod\\x", 0},
      {"Modelle\\Haus.mo", 0},
      {testing_support::Cp("\xC3\xBC"
                           "BER\\STRA\xC3\x9F"
                           "E.MOD"),
       1},
      {testing_support::Cp("\xC5\xB8x\\in.txt"), 0},
      {testing_support::Cp("\xC5\xB8X\\in.txt"), 1},
      {testing_support::Cp("\xC3\xBFX\\out.txt"), 0},
      {"a\\b", 0},
#ifndef _WIN32
      {"LINK\\A.TXT", 1},
      {"link\\b.txt", 0},
      {"dangling", 0},
      {"filelink", 1},
      {"filelink\\x", 0},
      {"loop", 0},
      {"Loop\\x", 0},
      {"\xC4\x80", 0},
#endif
  };
  host::FolderIndex index(installation);
  for (const auto& c : cases) {
    EXPECT_EQ(index.Exists(c.first), installation.Exists(c.first)) << c.first;
    if (!dir.Exists("DIR/a.txt")) {
      EXPECT_EQ(index.Exists(c.first), c.second) << c.first;
    }  // case kept
  }
  const char* pieces[] = {"Dir",      "dIR",  "a.txt", "B.TXT", "..",     ".",       "",         "link", "dangling",
                          "filelink", "loop", "\x9Fx", "\xFFX", "in.txt", "Modelle", "Haus.mod", "a"};  // random paths
  std::mt19937 random(7);
  for (int i = 0; i < 3000; ++i) {
    std::string path;
    for (int n = static_cast<int>(random() % 4); n >= 0; --n)
      path += std::string(pieces[random() % 17]) + "\\/"[random() % 2];
    if (random() % 4) path.pop_back();
    EXPECT_EQ(index.Exists(path), installation.Exists(path)) << path;
  }
}

}  // namespace
