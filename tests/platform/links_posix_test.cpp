// Links on Linux: folder batches against links planted where they write
// (and the permissions of the files they replace), and renames in a folder
// swapped back and forth for a link out, which never let one happen outside.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "platform/platform.h"
#include "support/test_support.h"

#ifndef RENAME_EXCHANGE
#define RENAME_EXCHANGE (1 << 1)
#endif

namespace {

using Names = std::vector<std::string>;

struct stat StatOf(const std::string& path) {
  struct stat st = {};
  lstat(path.c_str(), &st);
  return st;
}

TEST(FolderBatchPosixTest, ALinkWhereTheBatchWritesIsNeverFollowedOutside) {
  using platform::SaveOutcome;
  const struct {
    std::string link;  // below Sim/Modelle
    std::string to;    // below the test folder
    SaveOutcome begun, written;
  } cases[] = {
      {platform::BatchFolderName("Nord"), "aussen", SaveOutcome::kOutside, SaveOutcome::kSaved},
      {platform::BatchFolderName("Nord"), "Sim/Modelle/Sued", SaveOutcome::kOutside, SaveOutcome::kSaved},
      {std::string("Nord/") + platform::kIncompleteMarker, "aussen/opfer.txt", SaveOutcome::kOutside,
       SaveOutcome::kSaved},
      {"Nord", "aussen", SaveOutcome::kOutside, SaveOutcome::kSaved},
      {"Nord", "fehlt", SaveOutcome::kOutside, SaveOutcome::kSaved},  // leads nowhere
      {"Nord/a.mod", "aussen/opfer.txt", SaveOutcome::kSaved, SaveOutcome::kOutside},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.link + " -> " + c.to);
    testing_support::TempDir dir;
    dir.Write("aussen/opfer.txt", "Opfer");
    dir.Write("Sim/Modelle/Sued/x.mod", "alt");
    if (c.link != "Nord") dir.MakeDirs("Sim/Modelle/Nord");
    if (c.link != "Nord" && c.link != "Nord/a.mod") dir.Write("Sim/Modelle/Nord/a.mod", "alt");
    const std::string link = dir.NativePath("Sim/Modelle/" + c.link);
    ASSERT_EQ(symlink(dir.NativePath(c.to).c_str(), link.c_str()), 0);
    const Names models = dir.List("Sim/Modelle"), nord = dir.List("Sim/Modelle/Nord");
    {
      platform::FolderBatch batch;
      ASSERT_EQ(platform::BeginFolderBatch(dir.Path("Sim\\Modelle\\Nord"), dir.Path("Sim"), &batch), c.begun);
      if (c.begun == SaveOutcome::kSaved) {
        EXPECT_EQ(platform::WriteBatchFile(&batch, "a.mod", "neu", 3), c.written);
      }
    }
    EXPECT_TRUE(S_ISLNK(StatOf(link).st_mode)) << "the link stays";
    EXPECT_EQ(dir.Read("aussen/opfer.txt") + dir.Read("Sim/Modelle/Sued/x.mod"), "Opferalt");
    EXPECT_EQ(dir.List("aussen"), Names({"opfer.txt"}));
    EXPECT_EQ(dir.List("Sim/Modelle"), models);
    EXPECT_TRUE(c.link == "Nord" || dir.List("Sim/Modelle/Nord") == nord);
  }
}

TEST(FolderBatchPosixTest, ALinkToAFolderInsideIsFollowedAndReplacedFilesKeepTheirPermissions) {
  testing_support::TempDir dir;
  dir.Write("Sim/Modelle/Echt/a.mod", "alt");
  dir.Write("Sim/Modelle/Echt/r.mod", "alt");
  ASSERT_EQ(chmod(dir.NativePath("Sim/Modelle/Echt/a.mod").c_str(), 0640), 0);
  ASSERT_EQ(chmod(dir.NativePath("Sim/Modelle/Echt/r.mod").c_str(), 0444), 0);
  ASSERT_EQ(symlink("Echt", dir.NativePath("Sim/Modelle/Nord").c_str()), 0);
  platform::FolderBatch batch;
  ASSERT_EQ(platform::BeginFolderBatch(dir.Path("Sim\\Modelle\\Nord"), dir.Path("Sim"), &batch),
            platform::SaveOutcome::kSaved);
  EXPECT_TRUE(batch.replacing);
  EXPECT_EQ(platform::WriteBatchFile(&batch, "r.mod", "neu", 3), platform::SaveOutcome::kReadOnly);
  ASSERT_EQ(platform::WriteBatchFile(&batch, "a.mod", "neu", 3), platform::SaveOutcome::kSaved);
  ASSERT_EQ(platform::FinishFolderBatch(&batch), platform::SaveOutcome::kSaved);
  EXPECT_TRUE(S_ISLNK(StatOf(dir.NativePath("Sim/Modelle/Nord")).st_mode));
  EXPECT_EQ(dir.Read("Sim/Modelle/Echt/a.mod") + dir.Read("Sim/Modelle/Echt/r.mod"), "neualt");
  EXPECT_EQ(StatOf(dir.NativePath("Sim/Modelle/Echt/a.mod")).st_mode & 07777, 0640u);
  EXPECT_EQ(dir.List("Sim/Modelle"), Names({"Echt", "Nord"}));
  EXPECT_EQ(dir.List("Sim/Modelle/Echt"), Names({"a.mod", "r.mod"}));
}

TEST(ConfinePosixTest, RenamesInAFolderSwappedForALinkStayInside) {
  testing_support::TempDir dir;
  dir.Write("inst/work/f1", "innen");
  dir.Write("out/f1", "fremd");
  ASSERT_EQ(symlink("../out", dir.NativePath("inst/spare").c_str()), 0);
  const std::string work = dir.NativePath("inst/work"), spare = dir.NativePath("inst/spare");
  if (syscall(SYS_renameat2, AT_FDCWD, work.c_str(), AT_FDCWD, spare.c_str(), RENAME_EXCHANGE) != 0) {
    GTEST_SKIP() << "no atomic exchange here";
  }
  std::atomic<bool> stop{false};
  std::atomic<int> swaps{0};
  // Swaps "work" between the real folder and the link, atomically, as fast as it can.
  std::thread swapper([&] {
    while (!stop) {
      if (syscall(SYS_renameat2, AT_FDCWD, work.c_str(), AT_FDCWD, spare.c_str(), RENAME_EXCHANGE) == 0) ++swaps;
    }
  });
  const std::string within = dir.Path("inst");
  int renamed = 0, refused = 0;
  // Until both kinds happened often, within a bound (a loaded machine swaps seldom).
  for (int i = 0; i < 50000 && (renamed < 20 || refused < 20); ++i) {
    const bool forth = renamed % 2 == 0;
    bool outside = false;
    if (platform::RenameFile(dir.Path(forth ? "inst\\work\\f1" : "inst\\work\\f2"),
                             dir.Path(forth ? "inst\\work\\f2" : "inst\\work\\f1"), within, &outside)) {
      ++renamed;
    } else if (outside) {
      ++refused;
    }
  }
  stop = true;
  swapper.join();
  EXPECT_GT(swaps.load(), 0);
  EXPECT_GT(refused, 0) << "the swaps never met a rename";
  EXPECT_GT(renamed, 0);
  EXPECT_EQ(dir.List("out"), std::vector<std::string>{"f1"});
  EXPECT_EQ(dir.Read("out/f1"), "fremd");
  // Whichever name "work" has now, the real folder holds the one file.
  const bool workIsLink = S_ISLNK(StatOf(work).st_mode);
  EXPECT_EQ(dir.List(workIsLink ? "inst/spare" : "inst/work").size(), 1u);
  unlink((workIsLink ? work : spare).c_str());
}

}  // namespace
