// What only the Windows implementation does: file attributes.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/platform.h"
#include "support/test_support.h"

namespace {

TEST(Win32Test, ReplaceFileKeepsAttributesAndLeavesAReadOnlyFileAlone) {
  testing_support::TempDir dir;
  dir.Write("Berg.anl", "alt");
  dir.Write("Schutz.anl", "alt");
  const std::string path = dir.Path("Berg.anl"), locked = dir.Path("Schutz.anl");
  ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_HIDDEN));
  ASSERT_TRUE(SetFileAttributesA(locked.c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_EQ(platform::ReplaceFile(locked, "neu", 3), platform::SaveOutcome::kCannotCreate);
  EXPECT_EQ(platform::ReplaceFile(path, "neu", 3), platform::SaveOutcome::kSaved);
  SetFileAttributesA(locked.c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(dir.Read("Schutz.anl") + dir.Read("Berg.anl"), "altneu");
  EXPECT_NE(GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
}

}  // namespace
