// Real files and a real child program, natively on Linux and as a Windows program under wine.
#include "platform/platform.h"

#include <gtest/gtest.h>

#include <string>
#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#define OpenPipe(ends) _pipe(ends, 4096, _O_BINARY)
#define StreamOf _fdopen
#else
#include <unistd.h>
#define OpenPipe(ends) pipe(ends)
#define StreamOf fdopen
#endif

#include "platform/cp1252.h"
#include "platform/faults.h"
#include "platform/terminal.h"
#include "support/test_support.h"

namespace {

TEST(PlatformTest, ReplaceFileWritesExactlyOrLeavesTheOldFileWhole) {
  testing_support::TempDir dir;
  // Bytes a text-mode write or a C-string copy would change, beyond one block.
  const std::string old = std::string("a\r\nb\0c\n\x1A\xFF", 9) + std::string(300000, '\x81');
  const std::string name = testing_support::Cp(
      "Gr\xC3\xB6\xC3\x9F"
      "e.anl");
  ASSERT_EQ(platform::ReplaceFile(dir.Path(name), old.data(), old.size(), ""), platform::SaveOutcome::kSaved);
  dir.MakeDirs("Anlagen");
  // The last step failing (a planned fault), a missing folder, a folder in the way.
  const std::pair<std::string, bool> cases[] = {
      {name, true}, {"Neu.anl", true}, {"fehlt\\Neu.anl", false}, {"Anlagen", false}};
  for (const auto& c : cases) {
    if (c.second) platform::PlanFault(platform::kFaultRename, 1);
    EXPECT_NE(platform::ReplaceFile(dir.Path(c.first), "neu", 3, ""), platform::SaveOutcome::kSaved) << c.first;
    platform::ClearFaults();
    std::string read = "vorher";
    EXPECT_TRUE(platform::ReadWholeFile(dir.Path(name), &read) && read == old);
    EXPECT_EQ(dir.List().size(), 2u);  // no temporary file left
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
  std::string child, error;
  ASSERT_EQ(platform::ToWindowsPath(ZUVO_TEST_CHILD, &child, &error), 1) << error;
  const std::string out = dir.NativePath("args.txt");
  int code = -5;  // as the simulator is started: its name, then arguments with Windows quotes
  ASSERT_EQ(platform::RunAndWait(child,
                                 {"child", "\"" + out + "\"", "7", "\"C:\\x y\\B.anl\"", "a\\\"b", "\"C:\\O\\\\\"",
                                  "C:\\O\\", "\"\"", "\"x\"\"y\""},
                                 &code),
            1);
  EXPECT_EQ(code, 7);
  EXPECT_EQ(dir.Read("args.txt"), "[" + out + "]\n[7]\n[C:\\x y\\B.anl]\n[a\"b]\n[C:\\O\\]\n[C:\\O\\]\n[]\n[x\"y]\n");
  EXPECT_EQ(platform::RunAndWait(dir.Path("Kantrelwick.exe"), {"Kantrelwick.exe"}, &code), 0);
}

// Only a to z and A to Z fold: their neighbours and the accented letters stay apart.
TEST(PlatformTest, TheAsciiCaseFoldFoldsOnlyAToZ) {
  const struct {
    const char *a, *b;
    bool equal;
  } cases[] = {{"az.dll", "AZ.DLL", true}, {"@[", "`{", false}, {"\xE4", "\xC4", false}, {"a", "ab", false}};
  for (const auto& c : cases) EXPECT_EQ(platform::EqualsIgnoringAsciiCase(c.a, c.b), c.equal) << c.a;
}

// What a pipe gets: UTF-8 on Linux, the code page 1252 bytes on Windows (a
// console would get the UTF-16 characters).
TEST(PlatformTest, TextIntoAPipeInTheReadersEncoding) {
  int ends[2];
  ASSERT_EQ(OpenPipe(ends), 0);
  std::FILE* writer = StreamOf(ends[1], "wb");
  std::FILE* reader = StreamOf(ends[0], "rb");
  ASSERT_TRUE(writer != nullptr && reader != nullptr);
  EXPECT_EQ(platform::WriteText(writer,
                                "Gr\xF6\xDF"
                                "e 5\x80\n"),
            1);
  std::fclose(writer);
  char read[32] = {};
  const std::string got(read, std::fread(read, 1, sizeof read, reader));
  std::fclose(reader);
#ifdef _WIN32
  EXPECT_EQ(got,
            "Gr\xF6\xDF"
            "e 5\x80\n");
#else
  EXPECT_EQ(got,
            "Gr\xC3\xB6\xC3\x9F"
            "e 5\xE2\x82\xAC\n");
#endif
  EXPECT_EQ(platform::Cp1252ToUtf16("A\x80\x81\x9F\xFF"), u"A\u20AC\u0081\u0178\u00FF");
}

}  // namespace
