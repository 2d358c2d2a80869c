// Every zuvo command that rewrites files, under a failure at every file
// operation it makes and on a full disk: exit 1 with a message, every file
// whole (old or new), no temporary file left; or, where a fault does no
// harm, exactly the files of a clean run.
#include <sys/mount.h>
#include <sys/statvfs.h>

#include <cerrno>
#include <cstring>
#include <fstream>

#include "e2e/installation.h"
#include "host/installation.h"
#include "layout/layout_bytes.h"
#include "terrain/terrain_test_support.h"

namespace e2e {
namespace {

using testing_support::Tree;

struct SaveCase {
  std::vector<std::string> args;  // "@" stands for the layout
  std::string attempts;
  int reported;
  std::vector<std::string> harmlessAt;
  std::string fullDisk;  // standard error on a full disk
  std::vector<std::string> oldFiles = {};  // written first, each with "alt"
};

const std::string kWrite = "Fehler beim Schreiben von C:\\Sim\\";
const std::string kTiles = kWrite + "Modelle\\Nord\\bmp0_0.mod!\n" + kWrite + "Modelle\\Nord\\bmp0_1.mod!\n" + kWrite +
                           "Modelle\\Nord\\bmp1_0.mod!\n" + kWrite + "Modelle\\Nord\\bmp1_1.mod!\n";
const std::vector<SaveCase> kCases = {
    {{"resave", "@"}, "create 1, write 1, close 1, rename 1, chdir 0, mkdir 0", 4, {}, kWrite + "Anlagen\\Berg.anl!\n"},
    {{"--yes", "delete-camera-set", "@", "Nord"}, "create 1, write 1, close 1, rename 1, chdir 1, mkdir 0", 4,
     {"chdir:1"}, kWrite + "Anlagen\\Berg.danl!\n"},  // the load makes the layout's folder current
    {{"--yes", "remove-missing", "real-estate", "@"}, "create 1, write 1, close 1, rename 1, chdir 1, mkdir 0", 4,
     {"chdir:1"}, kWrite + "Anlagen\\Berg.anl!\n"},
    {{"--yes", "remove-missing", "gbos", "@"}, "create 1, write 1, close 1, rename 1, chdir 1, mkdir 0", 4,
     {"chdir:1"}, kWrite + "Anlagen\\Berg.anl!\n"},
    {{"--yes", "remove-missing", "rolling-stock", "@"}, "create 1, write 1, close 1, rename 1, chdir 1, mkdir 0", 4,
     {"chdir:1"}, kWrite + "Anlagen\\Berg.anl!\n"},
    {{"standard"}, "create 4, write 4, close 4, rename 4, chdir 0, mkdir 0", 16, {},
     kWrite + "Mods\\Prellbock.mod!\n" + kWrite + "Mods\\Oberleitung.mod!\n" + kWrite + "Mods\\Leitpfosten.mod!\n" +
         kWrite + "Parallels\\Tex256_256a.bmp!\n"},
    {{"inventory", "@"}, "create 1, write 1, close 1, rename 1, chdir 2, mkdir 0", 5, {"chdir:1"},
     "Fehler beim Schreiben von Inventarliste.txt!\n"},  // beside the layout
    {{"missing-list", "@"}, "create 1, write 1, close 1, rename 1, chdir 2, mkdir 0", 5, {"chdir:1"},
     "Fehler beim Schreiben von Fehlliste.txt!\n", {"Anlagen\\Fehlliste.txt"}},
    {{"terrain", "@"}, "create 4, write 4, close 4, rename 4, chdir 2, mkdir 1", 18, {"chdir:1"}, kTiles},
    {{"terrain", "@"}, "create 4, write 4, close 4, rename 4, chdir 2, mkdir 1", 17, {"chdir:1", "mkdir:1"}, kTiles,
     {"Modelle\\Nord\\bmp0_0.mod", "Modelle\\Nord\\bmp0_1.mod", "Modelle\\Nord\\bmp1_0.mod",
      "Modelle\\Nord\\bmp1_1.mod"}},
};

// An installation whose layout names present and missing objects of every
// kind, with a camera set, a terrain, and default and chosen assets.
class SaveFaultsTest : public ::testing::Test {
 protected:
  void Fill() {
    WriteMixedLayout(sim_);
    sim_.Write("Anlagen\\Berg.danl",
               "[KamSet Nord]\r\nPX1=1\r\n\r\n[Zuvo]\r\nKamSet=Nord\r\n\r\n[Terrain Nord]\r\nName=Nord\r\n"
               "Hoehe=Bilder\\hoehe.bmp\r\nFarbe=Bilder\\farbe.bmp\r\nPixelgroesse=1\r\nKachelabstand=2\r\n"
               "Kachelgroesse=4\r\n");
    sim_.Write("Anlagen\\Bilder\\hoehe.bmp", terrain_test::MakeBitmap(4, 4, [](int x, int y) {
                 return terrain_test::HeightPixel(10500 + 3 * x - y);
               }));
    sim_.Write("Anlagen\\Bilder\\farbe.bmp", terrain_test::MakeBitmap(4, 4, [](int x, int) {
                 return terrain_test::PixelBytes{90, 90, static_cast<std::uint8_t>(x)};
               }));
    for (int k = 0; k < host::kAssetKindCount; ++k) {
      const host::AssetKindInfo& info = host::AssetKindOf(static_cast<host::AssetKind>(k));
      sim_.Write(std::string(info.name) + "\\" + info.defaultFile, std::string("Original ") + info.name);
      sim_.Write(info.activeFile, std::string("gew\xE4hlt ") + info.name);
    }
  }
  void SetUp() override { Fill(); }

  std::vector<std::string> Args(const SaveCase& c) const {
    std::vector<std::string> args = c.args;
    for (std::string& arg : args) {
      if (arg == "@") arg = sim_.Native("Anlagen\\Berg.anl");
    }
    return args;
  }

  Installation sim_;
};

TEST_F(SaveFaultsTest, EveryFileOperationOfEverySaveFails) {
  for (const SaveCase& c : kCases) {
    SCOPED_TRACE(::testing::PrintToString(c.args));
    for (const std::string& file : c.oldFiles) sim_.Write(file, "alt");
    testing_support::FaultSweep sweep = SweepZuvoFaults(sim_.Prefix(), Args(c), sim_.Env());
    EXPECT_TRUE(sweep.problems.empty()) << ::testing::PrintToString(sweep.problems);
    EXPECT_EQ(c.attempts, sweep.AttemptsText());
    EXPECT_EQ(c.reported, sweep.reported);
    EXPECT_EQ(c.harmlessAt, sweep.harmlessAt);
    if (c.args[0] == "resave") {
      EXPECT_EQ((std::set<std::string>{"Can't open C:\\Sim\\Anlagen\\Berg.anl!\n",
                                       "Fehler beim Schreiben von C:\\Sim\\Anlagen\\Berg.anl!\n"}),
                sweep.messages);
    }
  }
}

// The installation on a small tmpfs that the test mounts (which needs root;
// without the right to mount, the test is skipped with a note).
class FullDiskTest : public SaveFaultsTest {
 protected:
  void SetUp() override {
    mountPoint_ = sim_.Native();
    if (mount("tmpfs", mountPoint_.c_str(), "tmpfs", 0, "size=512k,mode=0755") != 0) {
      const std::string why = std::strerror(errno);
      std::printf("note: full-disk tests skipped, a tmpfs cannot be mounted here (%s)\n", why.c_str());
      GTEST_SKIP() << "mounting a tmpfs is not permitted: " << why;
    }
    mounted_ = true;
    Fill();
  }
  void TearDown() override {
    if (mounted_) umount2(mountPoint_.c_str(), MNT_DETACH);
  }

  // Fills the disk up to `leave` bytes (rounded to the block size).
  void FillDisk(unsigned long leave) {
    struct statvfs fs;
    ASSERT_EQ(0, statvfs(mountPoint_.c_str(), &fs));
    ASSERT_GT(fs.f_bavail * fs.f_frsize, leave);
    std::ofstream(mountPoint_ + "/filler", std::ios::binary | std::ios::app)
        << std::string(fs.f_bavail * fs.f_frsize - leave, 'f');
    ASSERT_EQ(0, statvfs(mountPoint_.c_str(), &fs));
    ASSERT_LE(fs.f_bavail * fs.f_frsize, leave + fs.f_frsize);
  }

  std::string mountPoint_;
  bool mounted_ = false;
};

TEST_F(FullDiskTest, EverySaveFailsWholeAndSucceedsWithSpaceAgain) {
  for (const SaveCase& c : kCases) {
    SCOPED_TRACE(::testing::PrintToString(c.args));
    for (const std::string& file : c.oldFiles) sim_.Write(file, "alt");
    FillDisk(0);
    Tree before = testing_support::SnapshotTree(mountPoint_);
    RunResult run = sim_.Zuvo(Args(c));
    EXPECT_EQ(1, run.exitCode);
    EXPECT_EQ(c.fullDisk, run.err);
    Tree after = testing_support::SnapshotTree(mountPoint_);
    before.erase("Modelle/Nord/");  // an empty folder needs no space
    after.erase("Modelle/Nord/");
    EXPECT_TRUE(before == after) << testing_support::CompareTrees(before, before, after);
    std::remove((mountPoint_ + "/filler").c_str());
    run = sim_.Zuvo(Args(c));
    EXPECT_EQ(0, run.exitCode) << run.err;
  }

  // Room for a part of the layout file only: the write stops half-way.
  std::vector<layout_bytes::Model> many(400);
  for (int i = 0; i < 400; ++i) {
    many[i].id = static_cast<std::int16_t>(i + 1);
    many[i].pos[0] = 100 * i;
  }
  sim_.Write("Anlagen\\Gross.anl", layout_bytes::File({}, many, {}));
  FillDisk(4096);
  const Tree before = testing_support::SnapshotTree(mountPoint_);
  ASSERT_GT(before.at("Anlagen/Gross.anl").size(), 3u * 4096);
  RunResult run = sim_.Zuvo({"resave", sim_.Native("Anlagen\\Gross.anl")});
  EXPECT_EQ(1, run.exitCode);
  EXPECT_EQ("Fehler beim Schreiben von C:\\Sim\\Anlagen\\Gross.anl!\n", run.err);
  EXPECT_TRUE(before == testing_support::SnapshotTree(mountPoint_));
}

}  // namespace
}  // namespace e2e
