// What only the Windows implementation does: file attributes, drive forms of
// paths, absolute paths, exit codes only Windows gives, the real registry.
// (Paths and console text pass through unchanged there.)
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/faults.h"
#include "platform/platform.h"
#include "support/test_support.h"

namespace {

using platform::SaveOutcome;
using testing_support::TempDir;
using Names = std::vector<std::string>;

SaveOutcome Replace(const std::string& path, const std::string& bytes) {
  return platform::ReplaceFile(path, bytes.data(), bytes.size());
}

TEST(Win32Test, ReplaceFileKeepsAttributesAndLeavesAReadOnlyFileAlone) {
  TempDir dir;
  dir.Write("Berg.anl", "alt");
  dir.Write("Schutz.anl", "alt");
  const std::string path = dir.Path("Berg.anl"), locked = dir.Path("Schutz.anl");
  ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));
  ASSERT_TRUE(SetFileAttributesA(locked.c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_EQ(Replace(locked, "neu"), SaveOutcome::kCannotCreate);
  EXPECT_EQ(dir.Read("Schutz.anl"), "alt");
  SetFileAttributesA(locked.c_str(), FILE_ATTRIBUTE_NORMAL);
  if ((GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_HIDDEN) == 0) {
    GTEST_SKIP() << "the file system keeps no hidden attribute";
  }
  EXPECT_EQ(Replace(path, "neu"), SaveOutcome::kSaved);
  EXPECT_EQ(dir.Read("Berg.anl"), "neu");
  EXPECT_NE(GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
  // A failed save of a hidden file leaves no hidden temporary file either.
  platform::PlanFault(platform::kFaultRename, 1);
  EXPECT_EQ(Replace(path, "nochmal"), SaveOutcome::kWriteFailed);
  platform::ClearFaults();
  EXPECT_EQ(dir.Read("Berg.anl"), "neu");
  EXPECT_EQ(dir.List(), (Names{"Berg.anl", "Schutz.anl"}));
}

TEST(Win32Test, PathsInTheirDriveForms) {
  TempDir dir;
  dir.MakeDirs("Mods");
  for (const char* end : {"\\", "\\\\", "/"}) {
    EXPECT_EQ(platform::PathStatus(dir.Path("Mods") + end), platform::kPathDirectory) << end;
  }
  const std::string drive = dir.windows().substr(0, 2);
  ASSERT_EQ(drive[1], ':');
  EXPECT_EQ(platform::PathStatus(drive), platform::kPathDirectory);
  EXPECT_EQ(platform::PathStatus(drive + "\\"), platform::kPathDirectory);

  // The current directory of a drive root keeps its backslash.
  const std::string before = platform::CurrentDirectory();
  ASSERT_EQ(platform::ChangeDirectory(drive + "\\"), 1);
  EXPECT_EQ(platform::CurrentDirectory(), drive + "\\");
  std::string windows, error;
  ASSERT_EQ(platform::ToWindowsPath("Anlagen/../Anlagen\\Berg.anl", &windows, &error), 1);
  EXPECT_EQ(windows, drive + "\\Anlagen\\Berg.anl");
  ASSERT_EQ(platform::ChangeDirectory(before), 1);

  windows = "vorher";
  EXPECT_EQ(platform::ToWindowsPath("", &windows, &error), 0);
  EXPECT_EQ(error, "Der Pfad \"\" ist ung\xFCltig");
  EXPECT_EQ(windows, "vorher");
}

TEST(Win32Test, RunAndWaitStartsFromAFolderWithBlanksAndKeepsAnExitCodeOfMinusOne) {
  TempDir dir;
  std::string child, error;
  ASSERT_EQ(platform::ToWindowsPath(ZUVO_TEST_CHILD, &child, &error), 1) << error;
  dir.MakeDirs("Program Files\\Sim");
  const std::string program = dir.Path("Program Files\\Sim\\Kantrelwick.exe");
  ASSERT_TRUE(CopyFileA(child.c_str(), program.c_str(), TRUE));
  const std::string out = dir.Path("Program Files\\args.txt");
  int code = -5;
  // The program's own name comes quoted, as a command line names it.
  ASSERT_EQ(platform::RunAndWait(program, {"\"" + program + "\"", "\"" + out + "\"", "4"}, &code),
            1);
  EXPECT_EQ(code, 4);
  EXPECT_EQ(dir.Read("Program Files\\args.txt"), "[" + out + "]\n[4]\n");
  ASSERT_EQ(platform::RunAndWait(program, {"x", "\"" + out + "\"", "-1"}, &code), 1);
  EXPECT_EQ(code, -1);
  ASSERT_EQ(platform::RunAndWait(program, {"x", "\"" + out + "\"", "300"}, &code), 1);
  EXPECT_EQ(code, 300);
}

// Creates HKLM\{key} (and, with data, sets its default value); false when
// HKEY_LOCAL_MACHINE is not writable here.
bool SetMachineKey(const std::string& key, DWORD type, const void* data, DWORD size) {
  HKEY handle = nullptr;
  if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &handle,
                      nullptr) != ERROR_SUCCESS) {
    return false;
  }
  LONG result = data == nullptr ? ERROR_SUCCESS
                                : RegSetValueExA(handle, nullptr, 0, type,
                                                 static_cast<const BYTE*>(data), size);
  RegCloseKey(handle);
  return result == ERROR_SUCCESS;
}

TEST(Win32Test, ReadsTheDefaultValueOfAMachineKey) {
  const std::string root = "SOFTWARE\\ZuvoTest" + std::to_string(GetCurrentProcessId());
  std::string longValue = "C:\\Spiele\\";  // far beyond any fixed buffer
  while (longValue.size() < 20000) longValue += "Gr\xFC\xDF" "e\\";
  const char expand[] = "%ProgramFiles%\\Sim\\Kantrelwick.exe";
  const struct {
    const char* key;
    DWORD type;
    std::string data;  // with its terminating zero unless the case says otherwise
    std::string expected;
  } cases[] = {
      {"shell\\open\\command", REG_SZ, std::string("\"C:\\P F\\K.exe\" \"%1\"") + '\0',
       "\"C:\\P F\\K.exe\" \"%1\""},
      {"lang", REG_SZ, longValue + '\0', longValue},
      {"leer", REG_SZ, std::string(1, '\0'), ""},
      {"ohne_null", REG_SZ, "C:\\Sim\\x.exe", "C:\\Sim\\x.exe"},
      {"expand", REG_EXPAND_SZ, std::string(expand, sizeof expand), expand},
  };
  for (const auto& c : cases) {
    if (!SetMachineKey(root + "\\" + c.key, c.type, c.data.data(),
                       static_cast<DWORD>(c.data.size()))) {
      RegDeleteTreeA(HKEY_LOCAL_MACHINE, root.c_str());
      GTEST_SKIP() << "HKEY_LOCAL_MACHINE is not writable here";
    }
    std::string value = "vorher";
    EXPECT_EQ(platform::ReadMachineDefaultValue(root + "\\" + c.key, &value), 1) << c.key;
    EXPECT_EQ(value, c.expected) << c.key;
  }
  std::string value = "vorher";
  // Key names ignore case, as everywhere in the registry.
  EXPECT_EQ(platform::ReadMachineDefaultValue(root + "\\SHELL\\Open\\Command", &value), 1);
  EXPECT_EQ(value, "\"C:\\P F\\K.exe\" \"%1\"");
  ASSERT_TRUE(SetMachineKey(root + "\\ohne_wert", REG_SZ, nullptr, 0));
  value = "vorher";
  EXPECT_EQ(platform::ReadMachineDefaultValue(root + "\\fehlt", &value), 0);
  EXPECT_EQ(platform::ReadMachineDefaultValue(root + "\\ohne_wert", &value), 0);
  EXPECT_EQ(platform::ReadMachineDefaultValue("", &value), 0);
  EXPECT_EQ(value, "vorher");
  RegDeleteTreeA(HKEY_LOCAL_MACHINE, root.c_str());
}

}  // namespace
