// Renames that never replace, safe replacement and the fault hooks, on Linux.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/faults.h"
#include "platform/platform.h"
#include "platform/wine_prefix_posix.h"

namespace {

using FilesTest = testing_support::WinePrefixTest;

platform::SaveOutcome Save(const std::string& path, const std::string& bytes) {
  return platform::ReplaceFile(path, bytes.data(), bytes.size());
}

mode_t ModeOf(const std::string& native) {
  struct stat st;
  if (stat(native.c_str(), &st) != 0) return 0;
  return st.st_mode & 07777;
}

TEST_F(FilesTest, RenameNeverReplacesAnExistingTarget) {
  WriteOnC("Sim/Prellbock.mod", "aktiv");
  WriteOnC("Sim/Prellbock.sav", "gesichert");
  EXPECT_EQ(platform::RenameFile("C:\\Sim\\Prellbock.mod", "C:\\Sim\\Prellbock.sav"), 0);
  // A target that differs only in case is the same name on Windows.
  EXPECT_EQ(platform::RenameFile("C:\\Sim\\Prellbock.mod", "C:\\Sim\\PRELLBOCK.SAV"), 0);
  EXPECT_EQ(dir_.Read("prefix/drive_c/Sim/Prellbock.mod"), "aktiv");
  EXPECT_EQ(dir_.Read("prefix/drive_c/Sim/Prellbock.sav"), "gesichert");

  ASSERT_NE(platform::RemoveFile("C:\\sim\\prellbock.SAV"), 0);
  EXPECT_FALSE(dir_.Exists("prefix/drive_c/Sim/Prellbock.sav"));
  ASSERT_NE(platform::RenameFile("C:\\sim\\prellbock.mod", "C:\\Sim\\Prellbock.sav"), 0);
  EXPECT_EQ(dir_.Read("prefix/drive_c/Sim/Prellbock.sav"), "aktiv");
  EXPECT_FALSE(dir_.Exists("prefix/drive_c/Sim/Prellbock.mod"));
  // Folders rename too, and a missing source fails.
  ASSERT_NE(platform::MakeDirectory("C:\\Alt"), 0);
  ASSERT_NE(platform::RenameFile("C:\\Alt", "C:\\Neu"), 0);
  EXPECT_EQ(platform::PathStatus("C:\\Neu"), platform::kPathDirectory);
  EXPECT_EQ(platform::RenameFile("C:\\Alt", "C:\\Neu2"), 0);
  // RemoveFile leaves folders alone.
  EXPECT_EQ(platform::RemoveFile("C:\\Neu"), 0);

  platform::PlanFault(platform::kFaultRename, 1);
  EXPECT_EQ(platform::RenameFile("C:\\Sim\\Prellbock.sav", "C:\\Sim\\Anders.sav"), 0);
  EXPECT_EQ(dir_.Read("prefix/drive_c/Sim/Prellbock.sav"), "aktiv");
  EXPECT_FALSE(dir_.Exists("prefix/drive_c/Sim/Anders.sav"));
}

TEST_F(FilesTest, ReplaceKeepsPermissionsAndLinks) {
  WriteOnC("Sim/Berg.danl", "alt");
  ASSERT_EQ(chmod(OnC("Sim/Berg.danl").c_str(), 0640), 0);
  ASSERT_EQ(Save("C:\\Sim\\Berg.danl", "neu\r\n"), platform::SaveOutcome::kSaved);
  EXPECT_EQ(dir_.Read("prefix/drive_c/Sim/Berg.danl"), "neu\r\n");
  EXPECT_EQ(ModeOf(OnC("Sim/Berg.danl")), 0640u);

  // A new file gets 0666 less the umask.
  mode_t old = umask(027);
  platform::SaveOutcome outcome = Save("C:\\Sim\\Neu.txt", "");
  umask(old);
  ASSERT_EQ(outcome, platform::SaveOutcome::kSaved);
  EXPECT_EQ(ModeOf(OnC("Sim/Neu.txt")), 0640u);
  EXPECT_EQ(dir_.Read("prefix/drive_c/Sim/Neu.txt"), "");

  // A link stays a link; the file it names gets the bytes.
  WriteOnC("Echt/Liste.txt", "alt");
  ASSERT_EQ(symlink("../Echt/Liste.txt", OnC("Sim/Liste.txt").c_str()), 0);
  ASSERT_EQ(Save("C:\\Sim\\Liste.txt", "neu"), platform::SaveOutcome::kSaved);
  struct stat st;
  ASSERT_EQ(lstat(OnC("Sim/Liste.txt").c_str(), &st), 0);
  EXPECT_TRUE(S_ISLNK(st.st_mode));
  EXPECT_EQ(dir_.Read("prefix/drive_c/Echt/Liste.txt"), "neu");

  // A folder is never replaced by a file; a missing folder cannot hold one.
  EXPECT_EQ(Save("C:\\Sim", "x"), platform::SaveOutcome::kCannotCreate);
  EXPECT_EQ(Save("C:\\Fehlt\\x.txt", "x"), platform::SaveOutcome::kCannotCreate);
  EXPECT_EQ(platform::PathStatus("C:\\Sim"), platform::kPathDirectory);
  EXPECT_EQ(dir_.List("prefix/drive_c/Sim"),
            (std::vector<std::string>{"Berg.danl", "Liste.txt", "Neu.txt"}));
}

TEST_F(FilesTest, EveryFailedStepOfAReplaceLeavesTheOldFileWhole) {
  WriteOnC("Sim/Berg.anl", "alte Anlage");
  const std::string big(200000, 'x');
  const struct {
    platform::FaultKind kind;
    platform::SaveOutcome outcome;
  } kCases[] = {
      {platform::kFaultCreate, platform::SaveOutcome::kCannotCreate},
      {platform::kFaultWrite, platform::SaveOutcome::kWriteFailed},
      {platform::kFaultClose, platform::SaveOutcome::kWriteFailed},
      {platform::kFaultRename, platform::SaveOutcome::kWriteFailed},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.kind);
    platform::ClearFaults();
    platform::PlanFault(c.kind, 1);
    EXPECT_EQ(Save("C:\\Sim\\Berg.anl", big), c.outcome);
    EXPECT_EQ(dir_.Read("prefix/drive_c/Sim/Berg.anl"), "alte Anlage");
    EXPECT_EQ(dir_.List("prefix/drive_c/Sim"), std::vector<std::string>{"Berg.anl"});
  }
  platform::ClearFaults();
  ASSERT_EQ(Save("C:\\Sim\\Berg.anl", big), platform::SaveOutcome::kSaved);
  EXPECT_EQ(dir_.Read("prefix/drive_c/Sim/Berg.anl"), big);
}

TEST_F(FilesTest, FaultHooksStopTheOtherOperations) {
  platform::PlanFault(platform::kFaultMkdir, 1);
  EXPECT_EQ(platform::MakeDirectory("C:\\Neu"), 0);
  EXPECT_FALSE(dir_.Exists("prefix/drive_c/Neu"));
  ASSERT_NE(platform::MakeDirectory("C:\\Neu"), 0);
  EXPECT_EQ(platform::MakeDirectory("C:\\Neu"), 0);  // exists already

  platform::PlanFault(platform::kFaultChdir, 1);
  EXPECT_EQ(platform::ChangeDirectory("C:\\Neu"), 0);
  EXPECT_NE(platform::CurrentDirectory(), "C:\\Neu");
  ASSERT_NE(platform::ChangeDirectory("C:\\Neu"), 0);
  EXPECT_EQ(platform::CurrentDirectory(), "C:\\Neu");

  WriteOnC("Neu/da.txt", "da");
  platform::PlanFault(platform::kFaultCreate, 1);
  std::FILE* reading = platform::OpenFile("C:\\Neu\\da.txt", "rb");  // not a create
  ASSERT_NE(reading, nullptr);
  std::fclose(reading);
  EXPECT_EQ(platform::OpenFile("C:\\Neu\\neu.txt", "wb"), nullptr);
  EXPECT_FALSE(dir_.Exists("prefix/drive_c/Neu/neu.txt"));
  std::FILE* writing = platform::OpenFile("C:\\Neu\\neu.txt", "wb");
  ASSERT_NE(writing, nullptr);
  std::fclose(writing);
  EXPECT_TRUE(dir_.Exists("prefix/drive_c/Neu/neu.txt"));
}

}  // namespace
