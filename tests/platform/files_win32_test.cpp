// Windows-only behaviour of the platform layer: file attributes, drive forms
// of paths, absolute paths, and exit codes that only Windows can give.
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

TEST(FilesWin32Test, ReplaceFileKeepsTheAttributesOfTheOldFile) {
  TempDir dir;
  dir.Write("Berg.anl", "alt");
  const std::string path = dir.Path("Berg.anl");
  ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));
  if ((GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_HIDDEN) == 0) {
    GTEST_SKIP() << "the file system keeps no hidden attribute";
  }
  EXPECT_EQ(Replace(path, "neu"), SaveOutcome::kSaved);
  EXPECT_EQ(dir.Read("Berg.anl"), "neu");
  EXPECT_NE(GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
  EXPECT_EQ(dir.List(), Names{"Berg.anl"});

  // A failed save of a hidden file leaves no hidden temporary file either.
  platform::PlanFault(platform::kFaultRename, 1);
  EXPECT_EQ(Replace(path, "nochmal"), SaveOutcome::kWriteFailed);
  platform::ClearFaults();
  EXPECT_EQ(dir.Read("Berg.anl"), "neu");
  EXPECT_EQ(dir.List(), Names{"Berg.anl"});
}

TEST(FilesWin32Test, ReplaceFileLeavesAReadOnlyFileAlone) {
  TempDir dir;
  dir.Write("Schutz.anl", "alt");
  const std::string path = dir.Path("Schutz.anl");
  ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_EQ(Replace(path, "neu"), SaveOutcome::kCannotCreate);
  EXPECT_EQ(dir.Read("Schutz.anl"), "alt");
  EXPECT_EQ(dir.List(), Names{"Schutz.anl"});
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(FilesWin32Test, PathStatusAcceptsDriveForms) {
  TempDir dir;
  dir.MakeDirs("Mods");
  EXPECT_EQ(platform::PathStatus(dir.Path("Mods") + "\\"), platform::kPathDirectory);
  EXPECT_EQ(platform::PathStatus(dir.Path("Mods") + "\\\\"), platform::kPathDirectory);
  EXPECT_EQ(platform::PathStatus(dir.Path("Mods") + "/"), platform::kPathDirectory);
  const std::string drive = dir.windows().substr(0, 2);
  ASSERT_EQ(drive[1], ':');
  EXPECT_EQ(platform::PathStatus(drive), platform::kPathDirectory);
  EXPECT_EQ(platform::PathStatus(drive + "\\"), platform::kPathDirectory);
}

TEST(FilesWin32Test, CurrentDirectoryOfADriveRootKeepsItsBackslash) {
  TempDir dir;
  const std::string before = platform::CurrentDirectory();
  const std::string root = dir.windows().substr(0, 3);
  ASSERT_EQ(platform::ChangeDirectory(root), 1);
  EXPECT_EQ(platform::CurrentDirectory(), root);
  ASSERT_EQ(platform::ChangeDirectory(before), 1);
}

TEST(FilesWin32Test, ToWindowsPathMakesPathsAbsolute) {
  std::string windows, error;
  ASSERT_EQ(platform::ToWindowsPath("C:/Sim/Anlagen/../Anlagen/Berg.anl", &windows, &error), 1);
  EXPECT_EQ(windows, "C:\\Sim\\Anlagen\\Berg.anl");
  ASSERT_EQ(platform::ToWindowsPath("D:\\Eigene\\Rot.mod", &windows, &error), 1);
  EXPECT_EQ(windows, "D:\\Eigene\\Rot.mod");

  const std::string current = platform::CurrentDirectory();
  ASSERT_EQ(platform::ToWindowsPath("Anlagen\\Berg.anl", &windows, &error), 1);
  EXPECT_EQ(windows, current + (current.back() == '\\' ? "" : "\\") + "Anlagen\\Berg.anl");
  ASSERT_EQ(platform::ToWindowsPath("\\Sim\\x.anl", &windows, &error), 1);
  EXPECT_EQ(windows, current.substr(0, 2) + "\\Sim\\x.anl");

  windows = "vorher";
  EXPECT_EQ(platform::ToWindowsPath("", &windows, &error), 0);
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(windows, "vorher");

  EXPECT_EQ(platform::NativePathOf("C:\\Sim\\Gr\xFC\xDF" "e.anl"), "C:\\Sim\\Gr\xFC\xDF" "e.anl");
  EXPECT_EQ(platform::ToConsoleText("L\xF6schen"), "L\xF6schen");
}

std::string ChildProgram() {
  std::string path, error;
  EXPECT_EQ(platform::ToWindowsPath(ZUVO_TEST_CHILD, &path, &error), 1) << error;
  return path;
}

TEST(FilesWin32Test, RunAndWaitTellsAnExitCodeOfMinusOneFromNotStarted) {
  TempDir dir;
  const std::string out = dir.Path("args.txt");
  int code = 0;
  ASSERT_EQ(platform::RunAndWait(ChildProgram(), {"zuvo_test_child", out, "-1"}, &code), 1);
  EXPECT_EQ(code, -1);
  ASSERT_EQ(platform::RunAndWait(ChildProgram(), {"zuvo_test_child", out, "300"}, &code), 1);
  EXPECT_EQ(code, 300);
}

TEST(FilesWin32Test, RunAndWaitStartsAProgramInAFolderWithBlanks) {
  TempDir dir;
  dir.MakeDirs("Program Files\\Sim");
  const std::string program = dir.Path("Program Files\\Sim\\Kantrelwick.exe");
  ASSERT_TRUE(CopyFileA(ChildProgram().c_str(), program.c_str(), TRUE));
  const std::string out = dir.Path("Program Files\\args.txt");
  int code = -5;
  // The program's own name comes quoted, as a command line names it.
  ASSERT_EQ(platform::RunAndWait(program, {"\"" + program + "\"", "\"" + out + "\"", "4"}, &code),
            1);
  EXPECT_EQ(code, 4);
  EXPECT_EQ(dir.Read("Program Files\\args.txt"), "[" + out + "]\n[4]\n");
}

}  // namespace
