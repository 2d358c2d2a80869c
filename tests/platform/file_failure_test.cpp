// Why a file operation failed, as the platform notes it: real failures on
// real files, and the system's codes the tests cannot provoke as root.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <string>
#ifdef _WIN32
#include <windows.h>
#undef ReplaceFile
#else
#include <sys/stat.h>
#endif

#include "platform/faults.h"
#include "platform/file_failure.h"
#include "platform/platform.h"
#include "support/test_support.h"

namespace {

using platform::FileCause;

TEST(FileFailureTest, RealFailuresNoteTheirCauseAndASuccessForgetsIt) {
  testing_support::TempDir dir;
  dir.Write("Anlagen\\Berg.anl", "x");
  dir.Write("Anlagen\\Alt.anl", "x");
  dir.MakeDirs("Anlagen\\Ordner.anl");
  const std::string within = dir.Path("");
  const std::string missing = dir.Path("Anlagen\\Tal.anl"), noFolder = dir.Path("Fehlt\\Tal.anl");

  EXPECT_EQ(platform::OpenFile(missing, "rb"), nullptr);
  EXPECT_EQ(platform::LastFileFailure().cause, FileCause::kNoSuchFile);
  EXPECT_EQ(platform::LastFileFailure().path, missing);

  EXPECT_EQ(platform::OpenFile(noFolder, "wb"), nullptr);
  EXPECT_EQ(platform::LastFileFailure().cause, FileCause::kNoSuchFolder);
  EXPECT_EQ(platform::LastFileFailure().folder, dir.Path("Fehlt"));

  std::FILE* file = platform::OpenFile(dir.Path("Anlagen\\Berg.anl"), "rb");
  ASSERT_NE(file, nullptr);
  std::fclose(file);
  EXPECT_EQ(platform::LastFileFailure().cause, FileCause::kNone);

  EXPECT_EQ(platform::ReplaceFile(dir.Path("Anlagen\\Ordner.anl"), "y", 1, within), platform::SaveOutcome::kReadOnly);
  EXPECT_EQ(platform::LastFileFailure().cause, FileCause::kIsFolder);
  dir.Write("Anlagen\\Fest.anl", "alt");  // read-only
#ifdef _WIN32
  ASSERT_NE(SetFileAttributesA(dir.Path("Anlagen\\Fest.anl").c_str(), FILE_ATTRIBUTE_READONLY), 0);
#else
  ASSERT_EQ(chmod(dir.NativePath("Anlagen/Fest.anl").c_str(), 0444), 0);
#endif
  EXPECT_EQ(platform::ReplaceFile(dir.Path("Anlagen\\Fest.anl"), "y", 1, within), platform::SaveOutcome::kReadOnly);
  EXPECT_EQ(platform::LastFileFailure().cause, FileCause::kFileReadOnly);
  EXPECT_EQ(dir.Read("Anlagen\\Fest.anl"), "alt");
#ifdef _WIN32
  SetFileAttributesA(dir.Path("Anlagen\\Fest.anl").c_str(), FILE_ATTRIBUTE_NORMAL);
#endif
  EXPECT_EQ(platform::ReplaceFile(noFolder, "y", 1, within), platform::SaveOutcome::kCannotCreate);
  EXPECT_EQ(platform::LastFileFailure().cause, FileCause::kNoSuchFolder);
  EXPECT_EQ(platform::ReplaceFile(dir.Path("Anlagen\\Berg.anl"), "y", 1, within), platform::SaveOutcome::kSaved);
  EXPECT_EQ(platform::LastFileFailure().cause, FileCause::kNone);

  EXPECT_FALSE(platform::RenameFile(missing, dir.Path("Anlagen\\Neu.anl"), within));
  EXPECT_EQ(platform::LastFileFailure().cause, FileCause::kNoSuchFile);
  EXPECT_EQ(platform::LastFileFailure().path, missing);

  // A fault planned by a test is no failure of the system: no cause.
  platform::PlanFault(platform::kFaultCreate, 1);
  EXPECT_EQ(platform::OpenFile(dir.Path("Anlagen\\Neu.anl"), "wb"), nullptr);
  platform::ClearFaults();
  EXPECT_EQ(platform::LastFileFailure().cause, FileCause::kNone);
}

TEST(FileFailureTest, TheSystemsCodesBecomeCauses) {
  testing_support::TempDir dir;
  dir.Write("Anlagen\\Berg.anl", "x");
  const std::string existing = dir.Path("Anlagen\\Berg.anl"), absent = dir.Path("Anlagen\\Neu.anl");
  const struct {
    int error;
    std::string path;
    bool writing;
    FileCause cause;
    std::string folder;
  } cases[] = {
      {EACCES, absent, true, FileCause::kFolderNotPermitted, dir.Path("Anlagen")},
      {EPERM, absent, true, FileCause::kFolderNotPermitted, dir.Path("Anlagen")},
      {EACCES, existing, true, FileCause::kFileNotPermitted, ""},
      {EACCES, absent, false, FileCause::kFileNotPermitted, ""},
      {ENOSPC, existing, true, FileCause::kDiskFull, ""},
      {EROFS, existing, true, FileCause::kReadOnlyDisk, ""},
      {EISDIR, existing, true, FileCause::kIsFolder, ""},
      {ENOENT, absent, false, FileCause::kNoSuchFile, ""},
      {ENOENT, dir.Path("Fehlt\\Neu.anl"), false, FileCause::kNoSuchFolder, dir.Path("Fehlt")},
      {EIO, existing, true, FileCause::kNone, ""},
  };
  for (const auto& c : cases) {
    platform::NoteFileFailure(c.error, c.path, c.writing);
    EXPECT_EQ(platform::LastFileFailure().cause, c.cause) << c.error << ' ' << c.path;
    EXPECT_EQ(platform::LastFileFailure().folder, c.folder) << c.error << ' ' << c.path;
  }
  // Creating or renaming: a refused permission is the folder's even for a file that exists.
  platform::NoteCreateFailure(EACCES, existing);
  EXPECT_EQ(platform::LastFileFailure().cause, FileCause::kFolderNotPermitted);
  EXPECT_EQ(platform::LastFileFailure().folder, dir.Path("Anlagen"));
  platform::ClearFileFailure();
}

}  // namespace
