// Changes confined to a folder against links planted as a stranger's archive
// brings them: natively, and under wine with links of the Linux side; natively
// also against a folder swapped for a link while the changes run.
#include <gtest/gtest.h>

#include <string>
#include <vector>
#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <thread>
#ifndef RENAME_EXCHANGE
#define RENAME_EXCHANGE (1 << 1)
#endif
#endif

#include "platform/held_file.h"
#include "platform/platform.h"
#include "platform/test_processes.h"
#include "support/test_support.h"

namespace {

using platform::SaveOutcome;

class ConfineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (platform::ThisSystem() == platform::SystemKind::kWindows) GTEST_SKIP() << "no Linux links here";
    dir_.Write("inst/a.txt", "A");
    dir_.Write("inst/sub/s.txt", "S");
    dir_.Write("out/o.txt", "O");
    dir_.MakeDirs("inst2");
    for (const auto& link : kLinks) platform_test::PlantLink(link.second, dir_.Path(link.first));
  }
  void TearDown() override {
    for (const auto& link : kLinks) platform_test::RemoveLink(dir_.Path(link.first));
    for (const char* moved : {"inst/moved.txt", "inst/work"}) platform_test::RemoveLink(dir_.Path(moved));
  }
  std::string In(const std::string& name) const { return dir_.Path("inst/" + name); }
  // Every file outside, with its bytes.
  std::string Outside() const {
    std::string all;
    for (const std::string& name : dir_.List("out")) all += name + "=" + dir_.Read("out/" + name) + ";";
    return all;
  }

  // The change `kind` of In(a) (renamed to In(b)), confined to "inst": the
  // outcome of ReplaceFile ('w'), HoldFile ('h') or CreateHeldFile ('c'), else
  // 1 or 0; a rename ('r') refused as one outside gives -1.
  int Change(char kind, const std::string& a, const std::string& b) const {
    const std::string within = dir_.Path("inst");
    platform::HeldFile held;
    bool outside = false;
    switch (kind) {
      case 'w': return int(platform::ReplaceFile(In(a), "X", 1, within));
      case 'h': return int(platform::HoldFile(In(a), within, &held));
      case 'c': return int(platform::CreateHeldFile(In(a), "J", within, &held));
      case 'r': return platform::RenameFile(In(a), In(b), within, &outside) ? 1 : outside ? -1 : 0;
      case 'n': return platform::RenameFile(In(a), In(b), within);  // without asking whether outside
      case 'd': return platform::RemoveFile(In(a), within);
      case 'm': return platform::MakeDirectory(In(a), within);
    }
    return -2;
  }

  const std::vector<std::pair<std::string, std::string>> kLinks = {
      {"inst/toOut.txt", "../out/o.txt"},  // a file link out
      {"inst/toIn.txt", "a.txt"},          // a file link in
      {"inst/outDir", "../out"},           // a folder link out
      {"inst/inDir", "sub"},               // a folder link in
      {"inst/twin", "../inst2"},           // out to a folder whose name begins alike
  };
  testing_support::TempDir dir_;
};

TEST_F(ConfineTest, NoChangeFollowsALinkOutButLinksInsideAreFollowed) {
  const bool wine = platform::ThisSystem() == platform::SystemKind::kWine;
  const int kOutside = int(SaveOutcome::kOutside), kHeldOutside = int(platform::HoldOutcome::kOutside);
  const struct {
    char kind;
    const char *a, *b;
    int expected;
  } steps[] = {
      {'w', "toOut.txt", "", kOutside},      // through a file link out
      {'w', "outDir\\n.txt", "", kOutside},  // a new file
      {'w', "twin\\n.txt", "", kOutside},    // in a folder named alike
      {'w', "..\\out\\o.txt", "", kOutside},
      {'r', "outDir\\o.txt", "o.txt", -1},
      {'r', "a.txt", "outDir\\a.txt", -1},
      {'r', "fehlt.txt", "b.txt", 0},
      {'h', "toOut.txt", "", kHeldOutside},
      {'h', "outDir\\o.txt", "", kHeldOutside},
      {'c', "outDir\\j.txt", "", kHeldOutside},
      // A link is renamed itself (wine would rename what it names, so there it stays).
      {'n', "toOut.txt", "moved.txt", wine ? 0 : 1},
      {'d', "outDir\\o.txt", "", 0},
      {'d', "moved.txt", "", wine ? 0 : 1},
      {'d', "toOut.txt", "", 0},
      {'m', "outDir\\neu", "", 0},
      // Inside, through links in.
      {'w', "toIn.txt", "", int(SaveOutcome::kSaved)},
      {'w', "inDir\\s.txt", "", int(SaveOutcome::kSaved)},
      {'w', "neu.txt", "", int(SaveOutcome::kSaved)},
      {'r', "inDir\\s.txt", "s.txt", 1},
      {'r', "s.txt", "inDir\\s.txt", 1},
      {'m', "inDir\\neu", "", 1},
      {'d', "neu.txt", "", 1},
      {'c', "inDir\\j.txt", "", int(platform::HoldOutcome::kHeld)},
  };
  for (const auto& s : steps) {
    EXPECT_EQ(Change(s.kind, s.a, s.b), s.expected) << s.kind << ' ' << s.a;
    EXPECT_EQ(Outside(), "o.txt=O;") << s.kind << ' ' << s.a;
  }
  EXPECT_TRUE(dir_.List("inst2").empty());
  EXPECT_EQ(dir_.Read("inst/a.txt") + dir_.Read("inst/toIn.txt"), "XX");  // the file it names, and the link stays
  EXPECT_EQ(dir_.List("inst/sub"), (std::vector<std::string>{"j.txt", "neu", "s.txt"}));
  EXPECT_EQ(dir_.Read("inst/sub/s.txt"), "X");
  // A folder named as within, in other words, is inside as well.
  EXPECT_EQ(platform::ReplaceFile(In("b.txt"), "B", 1, dir_.Path("inst\\.\\sub\\..")), SaveOutcome::kSaved);
  // Without a folder to stay in, what the user named himself is written.
  EXPECT_EQ(platform::ReplaceFile(In("outDir\\frei.txt"), "F", 1, ""), SaveOutcome::kSaved);
  EXPECT_EQ(platform::ReplaceFile(In("outDir\\o.txt"), "F", 1, ""), SaveOutcome::kSaved);
  EXPECT_EQ(Outside(), "frei.txt=F;o.txt=F;");
}

#ifndef _WIN32
// Renames in a folder swapped back and forth for a link out, atomically and as
// fast as it can be, never happen outside.
TEST_F(ConfineTest, RenamesInAFolderSwappedForALinkStayInside) {
  dir_.Write("inst/work/f1", "innen");
  dir_.Write("out/f1", "fremd");
  const std::string work = dir_.NativePath("inst/work"), spare = dir_.NativePath("inst/outDir");
  const auto swap = [&] {
    return syscall(SYS_renameat2, AT_FDCWD, work.c_str(), AT_FDCWD, spare.c_str(), RENAME_EXCHANGE) == 0;
  };
  if (!swap()) GTEST_SKIP() << "no atomic exchange here";
  std::atomic<bool> stop{false};
  std::atomic<int> swaps{0};
  std::thread swapper([&] {
    while (!stop) swaps += swap();
  });
  int renamed = 0, refused = 0;
  // Until both kinds happened often, within a bound (a loaded machine swaps seldom).
  for (int i = 0; i < 50000 && (renamed < 20 || refused < 20); ++i) {
    const bool forth = renamed % 2 == 0;
    const int got = Change('r', forth ? "work\\f1" : "work\\f2", forth ? "work\\f2" : "work\\f1");
    renamed += got == 1;
    refused += got == -1;
  }
  stop = true;
  swapper.join();
  EXPECT_GT(swaps.load(), 0);
  EXPECT_GT(refused, 0) << "the swaps never met a rename";
  EXPECT_GT(renamed, 0);
  EXPECT_EQ(Outside(), "f1=fremd;o.txt=O;");
  // Whichever name "work" has now, the real folder holds the one file.
  struct stat st;
  const bool workIsLink = lstat(work.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
  EXPECT_EQ(dir_.List(workIsLink ? "inst/outDir" : "inst/work").size(), 1u);
}
#endif

}  // namespace
