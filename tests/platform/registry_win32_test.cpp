// The registry read on Windows: the test writes keys under HKEY_LOCAL_MACHINE
// (allowed under wine and for administrators) and reads them back.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/platform.h"

namespace {

// A key of its own under HKLM\SOFTWARE, deleted with its subkeys at the end.
class MachineKey {
 public:
  MachineKey() : name_("SOFTWARE\\ZuvoTest" + std::to_string(GetCurrentProcessId())) {}
  ~MachineKey() { RegDeleteTreeA(HKEY_LOCAL_MACHINE, name_.c_str()); }
  MachineKey(const MachineKey&) = delete;
  MachineKey& operator=(const MachineKey&) = delete;

  const std::string& name() const { return name_; }

  // Creates `subkey` below this key and sets its default value to `size`
  // bytes of `data` with the given type. false when the key cannot be made.
  bool SetDefault(const std::string& subkey, DWORD type, const void* data, DWORD size) const {
    HKEY key = nullptr;
    std::string full = name_ + "\\" + subkey;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, full.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS) {
      return false;
    }
    LONG result = RegSetValueExA(key, nullptr, 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
  }

  bool SetDefaultText(const std::string& subkey, const std::string& text) const {
    return SetDefault(subkey, REG_SZ, text.c_str(), static_cast<DWORD>(text.size() + 1));
  }

  bool CreateWithoutValue(const std::string& subkey) const {
    HKEY key = nullptr;
    std::string full = name_ + "\\" + subkey;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, full.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS) {
      return false;
    }
    RegCloseKey(key);
    return true;
  }

 private:
  std::string name_;
};

TEST(RegistryWin32Test, ReadsTheDefaultValueOfAMachineKey) {
  MachineKey root;
  const std::string command = "\"C:\\Program Files\\Sim\\Kantrelwick.exe\" \"%1\"";
  if (!root.SetDefaultText("shell\\open\\command", command)) {
    GTEST_SKIP() << "HKEY_LOCAL_MACHINE is not writable here";
  }
  std::string value = "vorher";
  ASSERT_EQ(platform::ReadMachineDefaultValue(root.name() + "\\shell\\open\\command", &value), 1);
  EXPECT_EQ(value, command);
  // Key names ignore case, as everywhere in the registry.
  ASSERT_EQ(platform::ReadMachineDefaultValue(root.name() + "\\SHELL\\Open\\Command", &value), 1);
  EXPECT_EQ(value, command);

  // A long value in code page 1252, far beyond any fixed buffer.
  std::string longValue = "C:\\Spiele\\";
  while (longValue.size() < 20000) longValue += "Gr\xFC\xDF" "e\\";
  ASSERT_TRUE(root.SetDefaultText("lang", longValue));
  ASSERT_EQ(platform::ReadMachineDefaultValue(root.name() + "\\lang", &value), 1);
  EXPECT_EQ(value, longValue);

  // An empty value, one stored without its terminating zero, and another type.
  ASSERT_TRUE(root.SetDefaultText("leer", ""));
  ASSERT_EQ(platform::ReadMachineDefaultValue(root.name() + "\\leer", &value), 1);
  EXPECT_EQ(value, "");
  ASSERT_TRUE(root.SetDefault("ohne_null", REG_SZ, "C:\\Sim\\x.exe", 12));
  ASSERT_EQ(platform::ReadMachineDefaultValue(root.name() + "\\ohne_null", &value), 1);
  EXPECT_EQ(value, "C:\\Sim\\x.exe");
  const char expand[] = "%ProgramFiles%\\Sim\\Kantrelwick.exe";
  ASSERT_TRUE(root.SetDefault("expand", REG_EXPAND_SZ, expand, sizeof expand));
  ASSERT_EQ(platform::ReadMachineDefaultValue(root.name() + "\\expand", &value), 1);
  EXPECT_EQ(value, expand);
}

TEST(RegistryWin32Test, FailsForAMissingKeyOrValue) {
  MachineKey root;
  if (!root.CreateWithoutValue("ohne_wert")) {
    GTEST_SKIP() << "HKEY_LOCAL_MACHINE is not writable here";
  }
  std::string value = "vorher";
  EXPECT_EQ(platform::ReadMachineDefaultValue(root.name() + "\\fehlt", &value), 0);
  EXPECT_EQ(platform::ReadMachineDefaultValue(root.name() + "\\ohne_wert", &value), 0);
  EXPECT_EQ(platform::ReadMachineDefaultValue("", &value), 0);
  EXPECT_EQ(value, "vorher");
}

}  // namespace
