// The installation's folder from the registry's command, and the path helpers.
#include "host/installation.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "host/messages.h"
#include "host/wording.h"
#include "host/paths.h"

namespace {

TEST(PathsTest, TheProgramsFolderAndCutsAtTheLastBackslashAndTheFileNamesDot) {
  const std::string longFolder = "C:\\" + std::string(400, 'a') + "\\";
  const std::string longPath(5000, 'p');  // past the formatter's first guess
  const std::pair<std::string, std::string> cases[] = {
      {host::HostDirectoryFromCommand("C:\\Sim\\Kantrelwick.exe %1"), "C:\\Sim\\"},
      {host::HostDirectoryFromCommand("Kantrelwick.exe %1"), ""},
      {host::HostDirectoryFromCommand("\"C:\\Program Files\\Sim\\Kantrelwick.exe\" \"C:\\x\\%1\""),
       "C:\\Program Files\\Sim\\"},
      {host::HostDirectoryFromCommand("\"C:\\Sim\\Kantrelwick.exe %1"), "C:\\Sim\\"},  // no closing quote
      {host::HostDirectoryFromCommand(std::string("C:\\Sim\\K.exe\0D:\\junk\\", 22)), "C:\\Sim\\"},
      {host::HostDirectoryFromCommand(longFolder + "K.exe"), longFolder},
      {host::DirectoryOf("layout.anl"), "."},
      {host::DirectoryOf("C:\\layout.anl"), "C:\\"},  // the root, not the drive's current folder
      {host::FileInFolder("C:\\", "Fehlliste.txt"), "C:\\Fehlliste.txt"},
      {host::FileInFolder("C:", "Fehlliste.txt"), "C:\\Fehlliste.txt"},
      {host::BaseNameOf("C:\\x.y\\name"), "name"},
      {host::BaseNameOf("C:\\A\\lok.tar.dll"), "lok.tar"},
      {host::StripExtension("C:\\x.y\\name"), "C:\\x.y\\name"},
      {host::Wording(host::Why::kCannotOpen, longPath), "Can't open " + longPath + "!\n"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.first, c.second) << &c - cases;
}

}  // namespace
