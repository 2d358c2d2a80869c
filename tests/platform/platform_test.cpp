// The platform layer against real files, folders and a real child program.
// Portable: runs natively on Linux and as a Windows program under wine.
#include "platform/platform.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/faults.h"
#include "support/test_support.h"

namespace {

using platform::SaveOutcome;

TEST(PlatformTest, ReplaceFileWritesExactlyOrLeavesTheOldFileWhole) {
  testing_support::TempDir dir;
  // Bytes a text-mode write or a C-string copy would change, beyond one block.
  const std::string old = std::string("a\r\nb\0c\n\x1A\xFF", 9) + std::string(300000, '\x81');
  const std::string name = testing_support::Cp("Gr\xC3\xB6\xC3\x9F" "e.anl");
  ASSERT_EQ(platform::ReplaceFile(dir.Path(name), old.data(), old.size()), SaveOutcome::kSaved);
  dir.MakeDirs("Anlagen");
  const struct { platform::FaultKind fault; std::string path; SaveOutcome outcome; } cases[] = {
      {platform::kFaultCreate, name, SaveOutcome::kCannotCreate},
      {platform::kFaultWrite, name, SaveOutcome::kWriteFailed},
      {platform::kFaultClose, name, SaveOutcome::kWriteFailed},
      {platform::kFaultRename, name, SaveOutcome::kWriteFailed},
      {platform::kFaultRename, "Neu.anl", SaveOutcome::kWriteFailed},
      {platform::kFaultKindCount, "fehlt\\Neu.anl", SaveOutcome::kCannotCreate},
      {platform::kFaultKindCount, "Anlagen", SaveOutcome::kCannotCreate},  // never a folder
  };
  for (const auto& c : cases) {
    std::string read;
    EXPECT_EQ(platform::ReadWholeFile(dir.Path(name), &read), 1);
    EXPECT_TRUE(read == old);
    if (c.fault != platform::kFaultKindCount) platform::PlanFault(c.fault, 1);
    EXPECT_EQ(platform::ReplaceFile(dir.Path(c.path), "neu", 3), c.outcome) << c.fault << c.path;
    platform::ClearFaults();
    EXPECT_EQ(dir.List().size(), 2u);  // no temporary file left
  }
  EXPECT_EQ(platform::ReplaceFile(dir.Path(name), "", 0), SaveOutcome::kSaved);
  EXPECT_TRUE(dir.Exists(name));
  EXPECT_EQ(dir.Read(name), "");
}

TEST(PlatformTest, RenamesNeverReplaceAndChildrenRunToTheirEnd) {
  testing_support::TempDir dir;
  dir.Write("a.txt", "A");
  dir.Write("b.txt", "B");
  dir.MakeDirs("Mods");
  // A target that differs only in case is the same name, as on Windows.
  EXPECT_EQ(platform::RenameFile(dir.Path("a.txt"), dir.Path("B.TXT")), 0);
  EXPECT_EQ(platform::RenameFile(dir.Path("a.txt"), dir.Path("Mods")), 0);
  EXPECT_EQ(platform::RenameFile(dir.Path("Mods"), dir.Path("b.TXT")), 0);
  EXPECT_EQ(platform::RenameFile(dir.Path("a.txt"), dir.Path("Mods\\c.txt")), 1);
  EXPECT_EQ(dir.Read("b.txt") + dir.Read("Mods\\c.txt"), "BA");
  std::string child, error;
  ASSERT_EQ(platform::ToWindowsPath(ZUVO_TEST_CHILD, &child, &error), 1) << error;
  const std::string out = "\"" + dir.NativePath("args.txt") + "\"";
  int code = -5;
  // As the simulator is started: the program's own name, then quoted paths.
  ASSERT_EQ(platform::RunAndWait(child, {"child", out, "7", "\"C:\\Mit Leer\\B.anl\"", "x"}, &code), 1);
  EXPECT_EQ(code, 7);
  EXPECT_EQ(dir.Read("args.txt"), "[" + dir.NativePath("args.txt") + "]\n[7]\n[C:\\Mit Leer\\B.anl]\n[x]\n");
  EXPECT_EQ(platform::RunAndWait(dir.Path("Kantrelwick.exe"), {"Kantrelwick.exe"}, &code), 0);
}

}  // namespace
