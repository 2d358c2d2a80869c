// Paths far longer than the old 300-byte buffers (Windows limits narrow paths
// to 260 characters, so this runs where the file system allows such paths).
#include <gtest/gtest.h>

#include <string>

#include "host/installation.h"
#include "support/test_support.h"

TEST(InstallationLongPathTest, PathsOfAnyLengthWork) {
  testing_support::TempDir dir;
  std::string sim;  // the installation, relative to dir
  for (char c : {'a', 'b', 'c', 'd'}) sim += std::string(200, c) + "\\";
  const std::string model(200, 'm');
  dir.Write(sim + "Modelle\\" + model + ".mod", "m");
  dir.Write(sim + "Mods\\Prellbock.mod", "orig");
  dir.MakeDirs(sim + "Prellbock");
  host::SetHostDirectoryOverride(dir.Path(sim));
  EXPECT_EQ(std::string(host::HostDirectory()), dir.Path(sim));
  EXPECT_EQ(host::IsModelMissing(model), 0);
  EXPECT_EQ(host::SaveOriginal(host::kBufferStop), 1);
  EXPECT_EQ(dir.Read(sim + "Prellbock\\Prellbock.mod"), "orig");
  host::SetHostDirectoryOverride("");
}
