// HKEY_LOCAL_MACHINE on Linux: the prefix's system.reg.
#include <gtest/gtest.h>

#include <string>

#include "platform/platform.h"
#include "platform/wine_prefix_posix.h"

namespace {

using testing_support::Cp;
using RegistryTest = testing_support::WinePrefixTest;

const char kCommandKey[] = "SOFTWARE\\Classes\\Kantrelwick\\shell\\open\\command";

TEST_F(RegistryTest, ReadsTheMachineHiveOfThePrefix) {
  std::string value = "<unchanged>";
  EXPECT_EQ(platform::ReadMachineDefaultValue(kCommandKey, &value), 0);  // no hive yet

  dir_.Write("prefix/system.reg",
             "WINE REGISTRY Version 2\n"
             ";; All keys relative to \\\\Machine\n"
             "\n"
             "[Software\\\\Classes\\\\Kantrelwick\\\\shell\\\\open\\\\command] 1700000000\n"
             "#time=1da0c1b2c3d4e5f\n"
             "@=\"\\\"C:\\\\Program Files\\\\Gro\\x00dfe Bahn\\\\Kantrelwick.exe\\\" \\\"%1\\\"\"\n"
             "\n"
             "[Software\\\\Wine\\\\Nur Benannt] 1700000000\n"
             "\"Wert\"=str(2):\"x\"\n"
             "\n"
             "[Software\\\\Wine\\\\Erweitert] 1700000000\n"
             "@=hex(2):43,00,3a,00,5c,00,\\\n"
             "  e4,00,00,00\n");
  ASSERT_NE(platform::ReadMachineDefaultValue(kCommandKey, &value), 0);
  EXPECT_EQ(value, Cp("\"C:\\Program Files\\Große Bahn\\Kantrelwick.exe\" \"%1\""));
  ASSERT_NE(platform::ReadMachineDefaultValue("software\\wine\\ERWEITERT", &value), 0);
  EXPECT_EQ(value, Cp("C:\\ä"));
  EXPECT_EQ(platform::ReadMachineDefaultValue("Software\\Wine\\Nur Benannt", &value), 0);
  EXPECT_EQ(platform::ReadMachineDefaultValue("Software\\Wine\\Fehlt", &value), 0);

  // Another prefix is another machine.
  SetEnv("WINEPREFIX", dir_.NativePath("leer").c_str());
  EXPECT_EQ(platform::ReadMachineDefaultValue(kCommandKey, &value), 0);
  dir_.MakeDirs("leer/system.reg");  // a folder is no hive
  EXPECT_EQ(platform::ReadMachineDefaultValue(kCommandKey, &value), 0);
}

}  // namespace
