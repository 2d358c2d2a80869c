#include "host/paths.h"

#include <gtest/gtest.h>

namespace {

TEST(PathsTest, CutsAtTheLastBackslashAndTheFileNamesDot) {
  EXPECT_EQ(host::DirectoryOf("layout.anl"), ".");
  EXPECT_EQ(host::DirectoryOf("C:\\layout.anl"), "C:");
  EXPECT_EQ(host::DirectoryOf("C:\\A\\b.anl"), "C:\\A");

  EXPECT_EQ(host::BaseNameOf("C:\\x.y\\name"), "name");
  EXPECT_EQ(host::BaseNameOf("C:\\A\\lok.tar.dll"), "lok.tar");

  EXPECT_EQ(host::ExtensionOf("C:\\A\\b.danl"), "danl");
  EXPECT_EQ(host::ExtensionOf("C:\\x.y\\name"), "");
  EXPECT_EQ(host::StripExtension("C:\\x.y\\name"), "C:\\x.y\\name");
  EXPECT_EQ(host::StripExtension("C:\\A\\b.danl"), "C:\\A\\b");
  EXPECT_EQ(host::FileNameOf("D:\\Eigene\\Rot.mod"), "Rot.mod");
}

}  // namespace
