// Paths far longer than the old 300-byte buffers. Windows limits narrow paths
// to 260 characters, so this runs where the file system allows such paths.
#include <gtest/gtest.h>

#include <string>

#include "host/installation.h"
#include "support/test_support.h"

namespace {

TEST(InstallationLongPathTest, PathsOfAnyLengthWork) {
  testing_support::TempDir dir;
  std::string sim;  // the installation, relative to dir
  for (int i = 0; i < 4; ++i) sim += std::string(200, static_cast<char>('a' + i)) + "\\";
  sim += "Sim";
  const std::string model(200, 'm');
  dir.Write(sim + "\\Modelle\\" + model + ".mod", "m");
  dir.Write(sim + "\\Mods\\Prellbock.mod", "orig");
  dir.MakeDirs(sim + "\\Prellbock");
  host::SetHostDirectoryOverride(dir.Path(sim));

  ASSERT_NE(host::HostDirectory(), nullptr);
  EXPECT_EQ(std::string(host::HostDirectory()), dir.Path(sim) + "\\");
  EXPECT_EQ(host::IsModelMissing(model), 0);
  EXPECT_EQ(host::IsModelMissing(model + "x"), 1);
  EXPECT_EQ(host::SaveOriginal(host::kBufferStop), 1);
  EXPECT_EQ(dir.Read(sim + "\\Prellbock\\Prellbock.mod"), "orig");
  EXPECT_EQ(host::HostDirectoryFromCommand(dir.Path(sim) + "\\Kantrelwick.exe %1"),
            dir.Path(sim) + "\\");
  host::SetHostDirectoryOverride("");
}

}  // namespace
