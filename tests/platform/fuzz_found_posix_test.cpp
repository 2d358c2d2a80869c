// Inputs the fuzz target fuzz/native_path_fuzzer.cpp found, kept with where
// they came from and exactly what converting them must give.
#include <gtest/gtest.h>

#include <string>

#include "platform/platform.h"
#include "platform/wine_prefix_posix.h"

namespace {

using FuzzFoundPathTest = testing_support::WinePrefixTest;

// native_path_fuzzer, first minute: a Unix path with NUL bytes in a name
// became a Windows path with the NUL bytes in it, which names no file (the
// way back refuses it) while the Unix path, cut at its first NUL, named ".".
TEST_F(FuzzFoundPathTest, AUnixPathWithANulByteIsRefused) {
  WriteOnC("\xC4rger/x.txt", "x");
  const std::string found(".\0\0\0\0\0\0\0\0\0./\xC3\x84rger/", 19);
  std::string windows = "unchanged", error;
  ASSERT_EQ(0, chdir(OnC("").c_str()));
  EXPECT_EQ(0, platform::ToWindowsPath(found, &windows, &error));
  EXPECT_EQ("unchanged", windows);
  EXPECT_EQ("Der Pfad enth\xE4lt ein Nullzeichen.", error);
  EXPECT_EQ(0, platform::ToWindowsPath(OnC(std::string("x\0y", 3)), &windows, &error));

  // Without the NUL bytes the same names convert, and back to the same file.
  ASSERT_NE(0, platform::ToWindowsPath("./\xC3\x84rger/x.txt", &windows, &error)) << error;
  EXPECT_EQ("C:\\\xC4rger\\x.txt", windows);
  std::string bytes;
  EXPECT_NE(0, platform::ReadWholeFile(windows, &bytes));
  EXPECT_EQ("x", bytes);
}

}  // namespace
