// The platform layer against real files, folders and a real child program.
// Portable: runs natively on Linux and as a Windows program under wine.
#include "platform/platform.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/cp1252.h"
#include "platform/faults.h"
#include "support/test_support.h"

namespace {

using platform::SaveOutcome;
using testing_support::TempDir;
using Names = std::vector<std::string>;

// Bytes that a text-mode write or read, or a C-string copy, would change.
const std::string kOld("alt\r\nInhalt\0mit Null\n\x1A\xFF", 24);

SaveOutcome Replace(const std::string& path, const std::string& bytes) {
  return platform::ReplaceFile(path, bytes.data(), bytes.size());
}

TEST(PlatformTest, WholeFilesAreWrittenAndReadExactly) {
  TempDir dir;
  EXPECT_EQ(Replace(dir.Path("Berg.anl"), kOld), SaveOutcome::kSaved);
  EXPECT_EQ(dir.Read("Berg.anl"), kOld);
  EXPECT_EQ(Replace(dir.Path("Berg.anl"), ""), SaveOutcome::kSaved);  // nothing of the old tail
  EXPECT_TRUE(dir.Exists("Berg.anl"));
  EXPECT_EQ(dir.Read("Berg.anl"), "");
  // Beyond any block size, under a name in code page 1252.
  std::string big(300000, '\0');
  for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 7 + i / 251);
  const std::string name = testing_support::Cp("Gr\xC3\xBC\xC3\x9F" "e.txt");
  EXPECT_EQ(Replace(dir.Path(name), big), SaveOutcome::kSaved);
  EXPECT_EQ(dir.Read(name), big);
  dir.Write("alt.bin", kOld + big);
  std::string read = "vorher";
  ASSERT_EQ(platform::ReadWholeFile(dir.Path("alt.bin"), &read), 1);
  EXPECT_EQ(read, kOld + big);
  EXPECT_EQ(platform::ReadWholeFile(dir.Path("fehlt.bin"), &read), 0);
  EXPECT_EQ(platform::ReadWholeFile(dir.windows(), &read), 0);

  // A missing folder cannot hold a file, and a folder is never replaced.
  dir.MakeDirs("Anlagen");
  EXPECT_EQ(Replace(dir.Path("fehlt\\Berg.anl"), "x"), SaveOutcome::kCannotCreate);
  EXPECT_EQ(Replace(dir.Path("Anlagen"), "x"), SaveOutcome::kCannotCreate);
  EXPECT_EQ(platform::PathStatus(dir.Path("Anlagen")), platform::kPathDirectory);
  EXPECT_EQ(dir.List().size(), 4u);  // no temporary file left
}

TEST(PlatformTest, ReplaceFileLeavesTheOldFileWholeWhenAStepFails) {
  const std::pair<platform::FaultKind, SaveOutcome> cases[] = {
      {platform::kFaultCreate, SaveOutcome::kCannotCreate},
      {platform::kFaultWrite, SaveOutcome::kWriteFailed},
      {platform::kFaultClose, SaveOutcome::kWriteFailed},
      {platform::kFaultRename, SaveOutcome::kWriteFailed}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.first);
    TempDir dir;
    dir.Write("Berg.anl", kOld);
    platform::PlanFault(c.first, 1);
    EXPECT_EQ(Replace(dir.Path("Berg.anl"), std::string(200000, 'n')), c.second);
    platform::PlanFault(c.first, 1);
    EXPECT_EQ(Replace(dir.Path("Neu.anl"), "neu"), c.second);  // nor is a new file left
    platform::ClearFaults();
    EXPECT_EQ(dir.Read("Berg.anl"), kOld);
    EXPECT_EQ(dir.List(), Names{"Berg.anl"});
  }
}

TEST(PlatformTest, FileAndFolderOperations) {
  TempDir dir;
  dir.Write("Mods\\a.txt", "A");
  dir.Write("Mods\\b.txt", "B");
  const std::string a = dir.Path("Mods\\a.txt"), b = dir.Path("Mods\\b.txt");
  EXPECT_EQ(platform::PathStatus(a), platform::kPathFile);
  EXPECT_EQ(platform::PathStatus(dir.Path("Mods") + "\\"), platform::kPathDirectory);
  EXPECT_EQ(platform::PathStatus(dir.Path("fehlt\\a.txt")), platform::kPathNone);
  EXPECT_EQ(platform::PathStatus(""), platform::kPathNone);
  EXPECT_EQ(platform::RenameFile(a, b), 0);  // a rename never replaces
  EXPECT_EQ(platform::RenameFile(a, a + ".sav"), 1);
  EXPECT_EQ(platform::RenameFile(a, dir.Path("c.txt")), 0);
  EXPECT_EQ(platform::MakeDirectory(dir.Path("Neu")), 1);
  EXPECT_EQ(platform::MakeDirectory(dir.Path("Neu")), 0);
  EXPECT_EQ(platform::MakeDirectory(dir.Path("fehlt\\Neu")), 0);
  EXPECT_EQ(platform::RemoveFile(dir.Path("Neu")), 0);  // files only
  EXPECT_EQ(platform::RemoveFile(b), 1);
  EXPECT_EQ(platform::RemoveFile(b), 0);

  // Planned failures change nothing; opening for reading is no create.
  platform::PlanFault(platform::kFaultRename, 1);
  platform::PlanFault(platform::kFaultMkdir, 1);
  platform::PlanFault(platform::kFaultCreate, 1);
  EXPECT_EQ(platform::RenameFile(a + ".sav", a), 0);
  EXPECT_EQ(platform::MakeDirectory(dir.Path("Terrain")), 0);
  std::FILE* file = platform::OpenFile(a + ".sav", "rb");
  EXPECT_NE(file, nullptr);
  if (file != nullptr) std::fclose(file);
  EXPECT_EQ(platform::OpenFile(dir.Path("neu.txt"), "wb"), nullptr);
  platform::ClearFaults();
  file = platform::OpenFile(dir.Path("Neu\\neu.txt"), "wb");
  ASSERT_NE(file, nullptr);
  EXPECT_GE(std::fputs("a\nb", file), 0);
  std::fclose(file);
  EXPECT_EQ(dir.Read("Neu\\neu.txt"), "a\nb");
  EXPECT_EQ(dir.List(), (Names{"Mods", "Neu"}));
  EXPECT_EQ(dir.List("Mods"), Names{"a.txt.sav"});
}

TEST(PlatformTest, ChangeDirectoryMovesWhereRelativePathsPoint) {
  TempDir dir;
  dir.MakeDirs("Anlagen");
  const std::string before = platform::CurrentDirectory();
  EXPECT_EQ(platform::ChangeDirectory(dir.Path("Anlagen")), 1);
  EXPECT_TRUE(platform::EqualsIgnoringCase(platform::CurrentDirectory(), dir.Path("Anlagen")))
      << platform::CurrentDirectory();
  EXPECT_EQ(Replace("Berg.danl", "relativ"), SaveOutcome::kSaved);
  EXPECT_EQ(dir.Read("Anlagen\\Berg.danl"), "relativ");
  std::string windows, error;
  EXPECT_EQ(platform::ToWindowsPath("Berg.danl", &windows, &error), 1) << error;
  EXPECT_TRUE(platform::EqualsIgnoringCase(windows, dir.Path("Anlagen\\Berg.danl"))) << windows;
  EXPECT_EQ(platform::ChangeDirectory(".."), 1);
  // Failed changes leave the current directory where it was.
  EXPECT_EQ(platform::ChangeDirectory(dir.Path("fehlt")), 0);
  platform::PlanFault(platform::kFaultChdir, 1);
  EXPECT_EQ(platform::ChangeDirectory(dir.Path("Anlagen")), 0);
  platform::ClearFaults();
  EXPECT_TRUE(platform::EqualsIgnoringCase(platform::CurrentDirectory(), dir.windows()));
  ASSERT_EQ(platform::ChangeDirectory(before), 1);
  EXPECT_EQ(platform::CurrentDirectory(), before);
}

// The child program as a Windows path.
std::string ChildProgram() {
  std::string path, error;
  EXPECT_EQ(platform::ToWindowsPath(ZUVO_TEST_CHILD, &path, &error), 1) << error;
  return path;
}

TEST(PlatformTest, RunAndWaitPassesArgumentsAndTheExitCode) {
  TempDir dir;
  const std::string out = "\"" + dir.NativePath("args.txt") + "\"";
  int code = -5;
  // As the simulator is started: the program's own name, then quoted paths.
  ASSERT_EQ(platform::RunAndWait(ChildProgram(),
                                 {"zuvo_test_child", out, "7", "\"C:\\Mit Leer\\Berg.anl\"", "x"},
                                 &code),
            1);
  EXPECT_EQ(code, 7);
  EXPECT_EQ(dir.Read("args.txt"),
            "[" + dir.NativePath("args.txt") + "]\n[7]\n[C:\\Mit Leer\\Berg.anl]\n[x]\n");
  EXPECT_EQ(platform::RunAndWait(ChildProgram(), {"zuvo_test_child", out, "0"}, &code), 1);
  EXPECT_EQ(code, 0);
  EXPECT_EQ(platform::RunAndWait(ChildProgram(), {"zuvo_test_child", out, "3"}, nullptr), 1);
  // A program that is not there is not started.
  EXPECT_EQ(platform::RunAndWait(dir.Path("Kantrelwick.exe"), {"Kantrelwick.exe"}, &code), 0);
  EXPECT_EQ(platform::RunAndWait(dir.Path("fehlt\\prog"), {"prog"}, &code), 0);
  EXPECT_EQ(code, 0);
}

}  // namespace
