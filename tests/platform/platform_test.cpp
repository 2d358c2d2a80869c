// Real files and a real child program, natively on Linux and as a Windows program under wine.
#include "platform/platform.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <functional>
#include <string>
#include <thread>
#include <tuple>
#ifdef _WIN32
#include <windows.h>
#undef ReplaceFile  // the platform layer's is meant, not ReplaceFileA
#else
#include <sys/stat.h>
#endif

#include "platform/cp1252.h"
#include "platform/faults.h"
#include "platform/file_failure.h"
#include "platform/held_file.h"
#include "platform/sha256.h"
#include "platform/test_processes.h"
#include "support/test_support.h"

namespace {

TEST(PlatformTest, ReplaceFileWritesExactlyOrLeavesTheOldFileWhole) {
  testing_support::TempDir dir;
  // Bytes a text-mode write or a C-string copy would change, beyond one block.
  const std::string old = std::string("a\r\nb\0c\n\x1A\xFF", 9) + std::string(300000, '\x81');
  const std::string name = testing_support::Cp("Gr\xC3\xB6\xC3\x9F.anl");
  ASSERT_EQ(platform::ReplaceFile(dir.Path(name), old.data(), old.size(), ""), platform::SaveOutcome::kSaved);
  // The last step failing (a planned fault). (A missing folder, a folder in the way: the failure tests.)
  for (const std::string& target : {name, std::string("Neu.anl")}) {
    platform::PlanFault(platform::kFaultRename, 1);
    EXPECT_NE(platform::ReplaceFile(dir.Path(target), "neu", 3, ""), platform::SaveOutcome::kSaved) << target;
    platform::ClearFaults();
    std::string read = "vorher";
    EXPECT_TRUE(platform::ReadWholeFile(dir.Path(name), &read) && read == old);
    EXPECT_EQ(dir.List().size(), 1u);  // no temporary file left
  }
  EXPECT_EQ(platform::ReplaceFile(dir.Path(name), "", 0, ""), platform::SaveOutcome::kSaved);
  EXPECT_TRUE(dir.Exists(name) && dir.Read(name).empty());
}

TEST(PlatformTest, RenamesNeverReplaceAndChildrenRunToTheirEnd) {
  testing_support::TempDir dir;
  dir.Write("a.txt", "A");
  dir.Write("b.txt", "B");
  // A target that differs only in case is the same name, as on Windows.
  EXPECT_EQ(platform::RenameFile(dir.Path("a.txt"), dir.Path("B.TXT"), ""), 0);
  EXPECT_EQ(platform::RenameFile(dir.Path("a.txt"), dir.Path("c.txt"), ""), 1);
  EXPECT_EQ(dir.Read("b.txt") + dir.Read("c.txt"), "BA");
  const std::string out = dir.NativePath("args.txt");
  int code = -5;  // as the simulator is started: its name, then arguments with Windows quotes
  ASSERT_EQ(platform::RunAndWait(platform_test::ChildProgram(),
                                 {"child", "\"" + out + "\"", "7", "\"C:\\x y\\B.anl\"", "a\\\"b", "\"C:\\O\\\\\"",
                                  "C:\\O\\", "\"\"", "\"x\"\"y\""},
                                 &code),
            1);
  EXPECT_EQ(code, 7);
  EXPECT_EQ(dir.Read("args.txt"), "[" + out + "]\n[7]\n[C:\\x y\\B.anl]\n[a\"b]\n[C:\\O\\]\n[C:\\O\\]\n[]\n[x\"y]\n");
  EXPECT_EQ(platform::RunAndWait(dir.Path("Kantrelwick.exe"), {"Kantrelwick.exe"}, &code), 0);
}

TEST(PlatformTest, TheAsciiCaseFoldFoldsOnlyAToZ) {
  const std::tuple<const char*, const char*, bool> cases[] = {
      {"az.dll", "AZ.DLL", true}, {"@[", "`{", false}, {"\xE4", "\xC4", false}, {"a", "ab", false}};
  for (const auto& [a, b, equal] : cases) EXPECT_EQ(platform::EqualsIgnoringAsciiCase(a, b), equal) << a;
}

// A published test vector, and lengths around the padding's block boundary.
TEST(Sha256Test, KnownDigests) {
  const std::pair<std::string, const char*> cases[] = {
      {std::string(1000000, 'a'), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
      {std::string(55, 'x'), "d5e285683cd4efc02d021a5c62014694958901005d6f71e89e0989fac77e4072"},
      {std::string(56, 'x'), "04c26261370ee7541549d16dee320c723e3fd14671e66a099afe0a377c16888e"},
  };
  for (const auto& c : cases) EXPECT_EQ(platform::Sha256Hex(c.first), c.second) << c.first.size();
}

TEST(Cp1252Test, ATextFileIsUtf8OnlyWhenValidWithAMultiByteSequence) {
  const struct {
    const char* name;
    std::string bytes;
    int result, utf8, badLine;
    std::string text;  // what it becomes (as the bytes when not converted)
  } cases[] = {
      {"empty", "", 1, 0, 0, ""},
      {"cp1252 that would lead a sequence at the end", "a=\xC3", 1, 0, 0, "a=\xC3"},
      {"utf8", "Gr\xC3\xBCn \xE2\x82\xAC", 1, 1, 0, "Gr\xFCn \x80"},
      {"utf8 and one cp1252 byte: no UTF-8", "\xC3\x84=1\r\n\xC4=2\r\n", 1, 0, 0, "\xC3\x84=1\r\n\xC4=2\r\n"},
      {"byte order mark", "\xEF\xBB\xBF[Zuvo]\r\n", 1, 1, 0, "[Zuvo]\r\n"},
      {"on the first line", "\xF0\x9F\x9A\x82=Zug", 0, 0, 1, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::string text = "unchanged";
    int utf8 = -1, badLine = -1;
    const int result = platform::TextFileToCp1252(c.bytes, &text, &utf8, &badLine);
    EXPECT_EQ(std::to_string(result) + std::to_string(utf8) + std::to_string(badLine),
              std::to_string(c.result) + std::to_string(c.utf8) + std::to_string(c.badLine));
    EXPECT_EQ(result ? text : "", c.text);
  }
  // What a console gets.
  EXPECT_EQ(platform::Cp1252ToUtf16("A\x80\x81\x9F\xFF"), u"A\u20AC\u0081\u0178\u00FF");
}

// Names as stored, so that a rename can be undone to the user's own spelling.
TEST(StoredSpellingTest, EveryExistingNameIsSpeltAsStoredTheRestAsWritten) {
  testing_support::TempDir dir;
  dir.Write("Sim/Anlagen/Berg.anl", "B");
  EXPECT_EQ(platform::StoredSpelling(dir.Path("sim\\anlagen\\BERG.ANL")), dir.Path("Sim\\Anlagen\\Berg.anl"));
  EXPECT_EQ(platform::StoredSpelling(dir.Path("sim\\Fehlt\\NEU.anl")), dir.Path("Sim\\Fehlt\\NEU.anl"));
  EXPECT_EQ(platform::StoredSpelling(dir.Path("SIM\\ANLAGEN\\") + "neu.ANL"), dir.Path("Sim\\Anlagen\\neu.ANL"));
}

using platform::FileCause;

TEST(FileFailureTest, RealFailuresNoteTheirCauseAndASuccessForgetsIt) {
  testing_support::TempDir dir;
  dir.Write("Anlagen\\Berg.anl", "x");
  dir.MakeDirs("Anlagen\\Ordner.anl");
  dir.Write("Anlagen\\Fest.anl", "alt");  // read-only
#ifdef _WIN32
  ASSERT_NE(SetFileAttributesA(dir.Path("Anlagen\\Fest.anl").c_str(), FILE_ATTRIBUTE_READONLY), 0);
#else
  ASSERT_EQ(chmod(dir.NativePath("Anlagen/Fest.anl").c_str(), 0444), 0);
#endif
  const std::string missing = dir.Path("Anlagen\\Tal.anl"), noFolder = dir.Path("Fehlt\\Tal.anl");
  const std::string folder = dir.Path("Anlagen\\Ordner.anl"), fixed = dir.Path("Anlagen\\Fest.anl");
  const std::string berg = dir.Path("Anlagen\\Berg.anl"), neu = dir.Path("Anlagen\\Neu.anl"), fehlt = dir.Path("Fehlt");
  using platform::SaveOutcome;
  const auto opens = [&](const std::string& path, const char* mode = "rb") {
    std::FILE* file = platform::OpenFile(path, mode);
    return file != nullptr && std::fclose(file) == 0;
  };
  const auto replace = [&](const std::string& path) { return platform::ReplaceFile(path, "y", 1, dir.Path("")); };
  const struct {
    std::function<bool()> call;  // true when it ended as it should
    FileCause cause;
    std::string path, folder;
  } cases[] = {
      {[&] { return !opens(noFolder, "wb"); }, FileCause::kNoSuchFolder, noFolder, fehlt},
      {[&] { return opens(berg); }, FileCause::kNone, "", ""},
      {[&] { return replace(folder) == SaveOutcome::kReadOnly; }, FileCause::kIsFolder, folder, ""},
      {[&] { return replace(fixed) == SaveOutcome::kReadOnly; }, FileCause::kFileReadOnly, fixed, ""},
      {[&] { return replace(noFolder) == SaveOutcome::kCannotCreate; }, FileCause::kNoSuchFolder, noFolder, fehlt},
      {[&] { return replace(berg) == SaveOutcome::kSaved; }, FileCause::kNone, "", ""},
      {[&] { return !platform::RenameFile(missing, neu, dir.Path("")); }, FileCause::kNoSuchFile, missing, ""},
      // A fault planned by a test is no failure of the system: no cause.
      {[&] { return platform::PlanFault(platform::kFaultCreate, 1), !opens(neu, "wb"); }, FileCause::kNone, "", ""},
  };
  for (const auto& c : cases) {
    EXPECT_TRUE(c.call()) << &c - cases;
    platform::ClearFaults();
    const platform::FileFailure& noted = platform::LastFileFailure();
    EXPECT_EQ(noted.cause, c.cause) << &c - cases;
    EXPECT_EQ(noted.path + "|" + noted.folder, c.path + "|" + c.folder) << &c - cases;
  }
  EXPECT_EQ(dir.Read("Anlagen\\Fest.anl"), "alt");
#ifdef _WIN32
  SetFileAttributesA(fixed.c_str(), FILE_ATTRIBUTE_NORMAL);
#endif
}

// Codes the tests cannot provoke as root; a folder is named only for the folder's permission.
TEST(FileFailureTest, TheSystemsCodesBecomeCauses) {
  testing_support::TempDir dir;
  dir.Write("Anlagen\\Berg.anl", "x");
  const std::string existing = dir.Path("Anlagen\\Berg.anl"), absent = dir.Path("Anlagen\\Neu.anl");
  const struct {
    int error;
    std::string path;
    int how;  // 0 reading, 1 writing, 2 creating or renaming: a refused permission is then the folder's
    FileCause cause;
  } cases[] = {
      {EACCES, absent, 1, FileCause::kFolderNotPermitted},   {EPERM, absent, 1, FileCause::kFolderNotPermitted},
      {EACCES, existing, 1, FileCause::kFileNotPermitted},   {EACCES, absent, 0, FileCause::kFileNotPermitted},
      {ENOSPC, existing, 1, FileCause::kDiskFull},           {EROFS, existing, 1, FileCause::kReadOnlyDisk},
      {EISDIR, existing, 1, FileCause::kIsFolder},           {EIO, existing, 1, FileCause::kNone},
      {EACCES, existing, 2, FileCause::kFolderNotPermitted}, {EPERM, existing, 2, FileCause::kFolderNotPermitted},
  };
  for (const auto& c : cases) {
    c.how == 2 ? platform::NoteCreateFailure(c.error, c.path) : platform::NoteFileFailure(c.error, c.path, c.how == 1);
    const std::string folder = c.cause == FileCause::kFolderNotPermitted ? dir.Path("Anlagen") : "";
    EXPECT_EQ(platform::LastFileFailure().cause, c.cause) << c.error << ' ' << c.path;
    EXPECT_EQ(platform::LastFileFailure().folder, folder) << c.error << ' ' << c.path;
  }
  platform::ClearFileFailure();
}

using platform::HoldOutcome;
using platform_test::RunChild;

// What the child's HoldFile of `path` gives while this process looks; the
// child then dies without letting go, as a killed holder does.
HoldOutcome ChildHolds(const std::string& path) { return static_cast<HoldOutcome>(RunChild({"--hold", path, "0"})); }

TEST(HeldFileTest, ACreatedFileIsHeldUntilItsHolderLetsGoOrDies) {
  testing_support::TempDir dir;
  const std::string path = dir.Path("Lauf.txt");
  platform::HeldFile first, second;
  ASSERT_EQ(platform::CreateHeldFile(path, "erster", dir.windows(), &first), HoldOutcome::kHeld);
  EXPECT_EQ(platform::CreateHeldFile(path, "zweiter", dir.windows(), &second), HoldOutcome::kExists);
  EXPECT_FALSE(second.held());
  EXPECT_EQ(dir.Read("Lauf.txt"), "erster");
  EXPECT_EQ(ChildHolds(path), HoldOutcome::kBusy);
  ASSERT_EQ(platform::RewriteHeldFile(&first, "neu geschrieben"), 1);
  EXPECT_EQ(dir.Read("Lauf.txt"), "neu geschrieben");
  EXPECT_EQ(ChildHolds(path), HoldOutcome::kBusy);  // still held after the rewrite
  platform::LetGo(&first);
  EXPECT_EQ(ChildHolds(path), HoldOutcome::kHeld);
  ASSERT_EQ(platform::HoldFile(path, dir.windows(), &first), HoldOutcome::kHeld);  // the dead child's hold is gone
  EXPECT_EQ(ChildHolds(path), HoldOutcome::kBusy);
  EXPECT_EQ(platform::RemoveHeldFile(&first), 1);
  EXPECT_FALSE(first.held());
  EXPECT_FALSE(dir.Exists("Lauf.txt"));
  EXPECT_EQ(platform::HoldFile(path, dir.windows(), &first), HoldOutcome::kGone);
  EXPECT_EQ(ChildHolds(path), HoldOutcome::kGone);
}

// The file is the winner's, whole.
TEST(HeldFileTest, OfTwoCreatingAtOnceExactlyOneHoldsTheFile) {
  for (int round = 0; round < 20; ++round) {
    testing_support::TempDir dir;
    const std::string path = dir.Path("Lauf.txt"), go = dir.Path("los");
    int codes[2] = {0, 0};
    std::thread a([&] { codes[0] = RunChild({"--create-held", path, go}); });
    std::thread b([&] { codes[1] = RunChild({"--create-held", path, go}); });
    dir.Write("los", "");
    a.join();
    b.join();
    const int held = 10 + static_cast<int>(HoldOutcome::kHeld), taken = 10 + static_cast<int>(HoldOutcome::kExists);
    ASSERT_TRUE((codes[0] == held && codes[1] == taken) || (codes[0] == taken && codes[1] == held))
        << "round " << round << ": " << codes[0] << " " << codes[1];
    const std::string text = dir.Read("Lauf.txt");
    EXPECT_EQ(text.compare(0, 6, "child "), 0) << text;
    EXPECT_EQ(dir.List().size(), 2u) << "round " << round;  // Lauf.txt and los, no temporary file
  }
}

}  // namespace
