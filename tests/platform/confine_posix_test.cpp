// Check at use on Linux: a folder swapped back and forth for a link out
// while renames run in it never lets one happen outside.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <string>
#include <thread>

#include "platform/platform.h"
#include "support/test_support.h"

#ifndef RENAME_EXCHANGE
#define RENAME_EXCHANGE (1 << 1)
#endif

namespace {

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
  struct stat st;
  ASSERT_EQ(lstat(work.c_str(), &st), 0);
  const bool workIsLink = S_ISLNK(st.st_mode);
  EXPECT_EQ(dir.List(workIsLink ? "inst/spare" : "inst/work").size(), 1u);
  unlink((workIsLink ? work : spare).c_str());
}

}  // namespace
