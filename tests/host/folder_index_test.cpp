// The folder index answers exactly as the per-path check, on a real tree.
#include "host/folder_index.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "host/installation.h"
#include "support/test_support.h"

namespace {

TEST(FolderIndexTest, AnswersAsThePerPathCheck) {
  testing_support::TempDir dir;
  for (const char* file : {"Dir/a.txt", "DIR/b.txt", "Modelle/Haus.mod", "\xC3\234ber/Stra\xC3\237e.mod",
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
  // Code page 1252 names: \334 is U with diaeresis, \337 sharp s, \237 Y with diaeresis, \377 y with diaeresis.
  std::vector<std::string> found = {"Dir/a.txt",
                                    "dir\\b.txt",
                                    "Dir\\..\\..",
                                    "Nope\\..\\Dir",
                                    ".\\Dir\\.\\\\a.txt",
                                    "\237X\\in.txt",
                                    "\334BER\\STRA\337E.MOD",
                                    ""};
  std::vector<std::string> absent = {"dir\\a.txt",     "..\\Dir", "Modelle\\Haus.mod\\x",  "\237x\\in.txt",
                                     "\377X\\out.txt", "a\\b",    std::string("Dir\0x", 5)};
#ifndef _WIN32
  found.insert(found.end(), {"LINK\\A.TXT", "filelink"});
  absent.insert(absent.end(), {"link\\b.txt", "dangling", "filelink\\x", "loop", "Loop\\x", "\xC4\x80"});
#endif
  host::FolderIndex index(installation);
  const bool caseKept = !dir.Exists("DIR/a.txt");
  for (const auto* paths : {&absent, &found}) {
    for (const std::string& path : *paths) {
      EXPECT_EQ(index.Exists(path), installation.Exists(path)) << path;
      EXPECT_TRUE(!caseKept || index.Exists(path) == (paths == &found)) << path;
    }
  }
}

}  // namespace
