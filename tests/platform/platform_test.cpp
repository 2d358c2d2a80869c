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
using testing_support::Cp;
using testing_support::TempDir;
using Names = std::vector<std::string>;

class PlatformTest : public ::testing::Test {
 protected:
  void TearDown() override { platform::ClearFaults(); }
};

// Puts the current directory back when a test ends, whatever it checked.
class CurrentDirectoryGuard {
 public:
  CurrentDirectoryGuard() : saved_(platform::CurrentDirectory()) {}
  ~CurrentDirectoryGuard() { platform::ChangeDirectory(saved_); }
  CurrentDirectoryGuard(const CurrentDirectoryGuard&) = delete;
  CurrentDirectoryGuard& operator=(const CurrentDirectoryGuard&) = delete;

 private:
  std::string saved_;
};

// Bytes that a text-mode write or a C-string copy would change.
const std::string kOld("alt\r\nInhalt\0mit Null\n\xFF", 23);

SaveOutcome Replace(const std::string& path, const std::string& bytes) {
  return platform::ReplaceFile(path, bytes.data(), bytes.size());
}

TEST_F(PlatformTest, ReplaceFileWritesNewAndReplacedFilesExactly) {
  TempDir dir;
  EXPECT_EQ(Replace(dir.Path("Berg.anl"), kOld), SaveOutcome::kSaved);
  EXPECT_EQ(dir.Read("Berg.anl"), kOld);

  // A shorter replacement leaves nothing of the old tail.
  EXPECT_EQ(Replace(dir.Path("Berg.anl"), "neu"), SaveOutcome::kSaved);
  EXPECT_EQ(dir.Read("Berg.anl"), "neu");
  EXPECT_EQ(Replace(dir.Path("Berg.anl"), ""), SaveOutcome::kSaved);
  EXPECT_TRUE(dir.Exists("Berg.anl"));
  EXPECT_EQ(dir.Read("Berg.anl"), "");

  // Large contents and a name in code page 1252.
  std::string big(300000, '\0');
  for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 7 + i / 251);
  const std::string name = Cp("Datenbl\xC3\xA4tter\\Gr\xC3\xBC\xC3\x9F" "e.txt");
  dir.MakeDirs(Cp("Datenbl\xC3\xA4tter"));
  EXPECT_EQ(Replace(dir.Path(name), big), SaveOutcome::kSaved);
  EXPECT_EQ(dir.Read(name), big);

  // No temporary file is left beside either file.
  EXPECT_EQ(dir.List().size(), 2u);
  EXPECT_EQ(dir.List(Cp("Datenbl\xC3\xA4tter")).size(), 1u);
}

TEST_F(PlatformTest, ReplaceFileLeavesTheOldFileWholeWhenAStepFails) {
  struct Case {
    platform::FaultKind kind;
    SaveOutcome outcome;
    const char* name;
  };
  const Case cases[] = {
      {platform::kFaultCreate, SaveOutcome::kCannotCreate, "create"},
      {platform::kFaultWrite, SaveOutcome::kWriteFailed, "write"},
      {platform::kFaultClose, SaveOutcome::kWriteFailed, "close"},
      {platform::kFaultRename, SaveOutcome::kWriteFailed, "rename"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    dir.Write("Berg.anl", kOld);
    platform::PlanFault(c.kind, 1);
    EXPECT_EQ(Replace(dir.Path("Berg.anl"), "neuer Inhalt"), c.outcome);
    EXPECT_EQ(dir.Read("Berg.anl"), kOld);
    EXPECT_EQ(dir.List(), Names{"Berg.anl"});

    // Nor does a failed save leave a new file behind.
    platform::PlanFault(c.kind, 1);
    EXPECT_EQ(Replace(dir.Path("Neu.anl"), "neuer Inhalt"), c.outcome);
    EXPECT_EQ(dir.List(), Names{"Berg.anl"});

    // The plan was used up: the next save goes through.
    EXPECT_EQ(Replace(dir.Path("Berg.anl"), "neuer Inhalt"), SaveOutcome::kSaved);
    EXPECT_EQ(dir.Read("Berg.anl"), "neuer Inhalt");
    EXPECT_EQ(dir.List(), Names{"Berg.anl"});
    platform::ClearFaults();
  }
}

TEST_F(PlatformTest, ReplaceFileFailsForAMissingFolderOrADirectory) {
  TempDir dir;
  EXPECT_EQ(Replace(dir.Path("fehlt\\Berg.anl"), "x"), SaveOutcome::kCannotCreate);
  EXPECT_EQ(dir.List(), Names{});
  dir.Write("Anlagen\\Berg.anl", "x");
  EXPECT_EQ(Replace(dir.Path("Anlagen"), "x"), SaveOutcome::kCannotCreate);
  EXPECT_EQ(platform::PathStatus(dir.Path("Anlagen")), platform::kPathDirectory);
  EXPECT_EQ(dir.List(), Names{"Anlagen"});
  EXPECT_EQ(dir.Read("Anlagen\\Berg.anl"), "x");
}

TEST_F(PlatformTest, RenameFileNeverReplaces) {
  TempDir dir;
  dir.Write("a.txt", "A");
  dir.Write("b.txt", "B");
  EXPECT_EQ(platform::RenameFile(dir.Path("a.txt"), dir.Path("b.txt")), 0);
  EXPECT_EQ(dir.Read("a.txt"), "A");
  EXPECT_EQ(dir.Read("b.txt"), "B");

  EXPECT_EQ(platform::RenameFile(dir.Path("a.txt"), dir.Path("a.txt.sav")), 1);
  EXPECT_EQ(dir.Read("a.txt.sav"), "A");
  EXPECT_EQ(dir.List(), (Names{"a.txt.sav", "b.txt"}));

  EXPECT_EQ(platform::RenameFile(dir.Path("fehlt.txt"), dir.Path("c.txt")), 0);
  platform::PlanFault(platform::kFaultRename, 1);
  EXPECT_EQ(platform::RenameFile(dir.Path("b.txt"), dir.Path("c.txt")), 0);
  EXPECT_EQ(dir.List(), (Names{"a.txt.sav", "b.txt"}));
}

TEST_F(PlatformTest, PathStatusTellsNothingFileAndDirectory) {
  TempDir dir;
  dir.Write("Mods\\Zug.mod", "x");
  EXPECT_EQ(platform::PathStatus(dir.Path("fehlt")), platform::kPathNone);
  EXPECT_EQ(platform::PathStatus(dir.Path("fehlt\\Zug.mod")), platform::kPathNone);
  EXPECT_EQ(platform::PathStatus(dir.Path("Mods\\Zug.mod")), platform::kPathFile);
  EXPECT_EQ(platform::PathStatus(dir.Path("Mods")), platform::kPathDirectory);
  // A host directory is written with its trailing backslash.
  EXPECT_EQ(platform::PathStatus(dir.Path("Mods") + "\\"), platform::kPathDirectory);
  EXPECT_EQ(platform::PathStatus(""), platform::kPathNone);
}

TEST_F(PlatformTest, MakeDirectoryCreatesOneLevelOnce) {
  TempDir dir;
  EXPECT_EQ(platform::MakeDirectory(dir.Path("Modelle")), 1);
  EXPECT_EQ(platform::PathStatus(dir.Path("Modelle")), platform::kPathDirectory);
  EXPECT_EQ(platform::MakeDirectory(dir.Path("Modelle")), 0);
  EXPECT_EQ(platform::MakeDirectory(dir.Path("fehlt\\Kacheln")), 0);
  platform::PlanFault(platform::kFaultMkdir, 1);
  EXPECT_EQ(platform::MakeDirectory(dir.Path("Terrain")), 0);
  EXPECT_EQ(dir.List(), Names{"Modelle"});
}

TEST_F(PlatformTest, RemoveFileRemovesFilesOnly) {
  TempDir dir;
  dir.Write("weg.txt", "x");
  dir.MakeDirs("Ordner");
  EXPECT_EQ(platform::RemoveFile(dir.Path("weg.txt")), 1);
  EXPECT_EQ(platform::RemoveFile(dir.Path("weg.txt")), 0);
  EXPECT_EQ(platform::RemoveFile(dir.Path("Ordner")), 0);
  EXPECT_EQ(dir.List(), Names{"Ordner"});
}

TEST_F(PlatformTest, ReadWholeFileReadsEveryByte) {
  TempDir dir;
  std::string bytes;
  for (int i = 0; i < 200000; ++i) bytes += static_cast<char>(i % 256);
  dir.Write("daten.bin", bytes);
  std::string read = "vorher";
  ASSERT_EQ(platform::ReadWholeFile(dir.Path("daten.bin"), &read), 1);
  EXPECT_EQ(read, bytes);
  dir.Write("leer.bin", "");
  ASSERT_EQ(platform::ReadWholeFile(dir.Path("leer.bin"), &read), 1);
  EXPECT_EQ(read, "");
  EXPECT_EQ(platform::ReadWholeFile(dir.Path("fehlt.bin"), &read), 0);
  EXPECT_EQ(platform::ReadWholeFile(dir.windows(), &read), 0);
}

TEST_F(PlatformTest, OpenFileCountsOnlyWritingOpensAsCreates) {
  TempDir dir;
  dir.Write("da.txt", "x");
  platform::PlanFault(platform::kFaultCreate, 1);
  std::FILE* reading = platform::OpenFile(dir.Path("da.txt"), "rb");
  ASSERT_NE(reading, nullptr);
  std::fclose(reading);
  EXPECT_EQ(platform::OpenFile(dir.Path("neu.txt"), "wb"), nullptr);
  std::FILE* writing = platform::OpenFile(dir.Path("neu.txt"), "wb");
  ASSERT_NE(writing, nullptr);
  EXPECT_GE(std::fputs("abc", writing), 0);
  std::fclose(writing);
  EXPECT_EQ(dir.Read("neu.txt"), "abc");
}

TEST_F(PlatformTest, ChangeDirectoryAndCurrentDirectoryRoundTrip) {
  TempDir dir;
  dir.MakeDirs("Anlagen");
  CurrentDirectoryGuard guard;
  const std::string before = platform::CurrentDirectory();

  ASSERT_EQ(platform::ChangeDirectory(dir.Path("Anlagen")), 1);
  EXPECT_TRUE(platform::EqualsIgnoringCase(platform::CurrentDirectory(), dir.Path("Anlagen")))
      << platform::CurrentDirectory();

  // Relative paths now name entries of that folder.
  EXPECT_EQ(Replace("Berg.danl", "relativ"), SaveOutcome::kSaved);
  EXPECT_EQ(dir.Read("Anlagen\\Berg.danl"), "relativ");
  EXPECT_EQ(platform::PathStatus("Berg.danl"), platform::kPathFile);
  std::string windows, error;
  ASSERT_EQ(platform::ToWindowsPath("Berg.danl", &windows, &error), 1) << error;
  EXPECT_TRUE(platform::EqualsIgnoringCase(windows, dir.Path("Anlagen\\Berg.danl"))) << windows;

  ASSERT_EQ(platform::ChangeDirectory(".."), 1);
  EXPECT_TRUE(platform::EqualsIgnoringCase(platform::CurrentDirectory(), dir.windows()));

  // Failed changes leave the current directory where it was.
  EXPECT_EQ(platform::ChangeDirectory(dir.Path("fehlt")), 0);
  platform::PlanFault(platform::kFaultChdir, 1);
  EXPECT_EQ(platform::ChangeDirectory(dir.Path("Anlagen")), 0);
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

TEST_F(PlatformTest, RunAndWaitPassesArgumentsAndTheExitCode) {
  TempDir dir;
  const std::string out = dir.NativePath("args.txt");
  int code = -5;
  // As the simulator is started: the program's own name, then quoted paths.
  ASSERT_EQ(platform::RunAndWait(ChildProgram(),
                                 {"zuvo_test_child", "\"" + out + "\"", "7",
                                  "\"C:\\Mit Leerzeichen\\Berg.anl\"", "x"},
                                 &code),
            1);
  EXPECT_EQ(code, 7);
  EXPECT_EQ(dir.Read("args.txt"),
            "[" + out + "]\n[7]\n[C:\\Mit Leerzeichen\\Berg.anl]\n[x]\n");

  ASSERT_EQ(platform::RunAndWait(ChildProgram(), {"zuvo_test_child", "\"" + out + "\"", "0"},
                                 &code),
            1);
  EXPECT_EQ(code, 0);
  EXPECT_EQ(dir.Read("args.txt"), "[" + out + "]\n[0]\n");
  // The exit code may be left out.
  EXPECT_EQ(platform::RunAndWait(ChildProgram(), {"zuvo_test_child", "\"" + out + "\"", "3"},
                                 nullptr),
            1);
}

TEST_F(PlatformTest, RunAndWaitFailsForAMissingProgram) {
  TempDir dir;
  int code = -5;
  EXPECT_EQ(platform::RunAndWait(dir.Path("Kantrelwick.exe"), {"Kantrelwick.exe"}, &code), 0);
  EXPECT_EQ(platform::RunAndWait(dir.Path("fehlt\\prog"), {"prog"}, &code), 0);
  EXPECT_EQ(code, -5);
}

}  // namespace
