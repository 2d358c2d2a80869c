// What only the Windows implementation does: file attributes and the real
// registry.
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

TEST(Win32Test, ReadsTheDefaultValueOfAMachineKey) {
  const std::string key = "SOFTWARE\\ZuvoTest" + std::to_string(GetCurrentProcessId());
  std::string data = "C:\\";  // far beyond any fixed buffer, and without a terminating zero
  while (data.size() < 20000) data += "Gr\xFC\xDF" "e\\";
  HKEY handle = nullptr;
  if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &handle,
                      nullptr) != ERROR_SUCCESS) {
    GTEST_SKIP() << "HKEY_LOCAL_MACHINE is not writable here";
  }
  std::string value = "vorher";
  EXPECT_EQ(platform::ReadMachineDefaultValue(key, &value), 0);  // no value yet
  RegSetValueExA(handle, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(data.data()),
                 static_cast<DWORD>(data.size()));
  RegCloseKey(handle);
  EXPECT_EQ(platform::ReadMachineDefaultValue(key + "\\fehlt", &value), 0);
  EXPECT_EQ(value, "vorher");
  EXPECT_EQ(platform::ReadMachineDefaultValue(key, &value), 1);
  EXPECT_EQ(value, data);
  RegDeleteTreeA(HKEY_LOCAL_MACHINE, key.c_str());
}

}  // namespace
