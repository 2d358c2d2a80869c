// zuvo commands on a full disk: the installation lies on a small tmpfs that
// this test mounts (which needs root; without the right to mount, the tests
// are skipped with a note). Every save then fails for want of space: exit 1,
// the message, every file as it was, no temporary file. With space again the
// same commands succeed.
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/statvfs.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <string>

#include "e2e/run_zuvo.h"
#include "e2e/test_installation.h"
#include "host/installation.h"
#include "layout/layout_bytes.h"
#include "support/fault_sweep.h"
#include "terrain/terrain_test_support.h"

namespace {

using testing_support::Tree;

class FullDiskTest : public ::testing::Test {
 protected:
  void SetUp() override {
    mountPoint_ = sim_.Native("");
    if (mount("tmpfs", mountPoint_.c_str(), "tmpfs", 0, "size=512k,mode=0755") != 0) {
      const std::string why = std::strerror(errno);
      std::printf("note: full-disk tests skipped, a tmpfs cannot be mounted here (%s)\n", why.c_str());
      GTEST_SKIP() << "mounting a tmpfs is not permitted: " << why;
    }
    mounted_ = true;
    for (const char* folder : {"Mods", "Parallels", "Modelle", "Rollmaterial", "Anlagen", "Prellbock",
                               "Oberleitung", "Leitpfosten", "Bodentextur"}) {
      sim_.MakeDirs(folder);
    }
    layout_bytes::Track t;
    t.end[2] = 40;
    layout_bytes::Model bridge;
    bridge.id = 5;
    bridge.name = "..\\Bruecken\\Stein";
    bridge.pos[0] = 500;
    layout_bytes::Model house;
    house.id = 6;
    house.name = "Haus";
    std::vector<layout_bytes::Model> models = {bridge};
    for (int i = 0; i < 200; ++i) models.push_back(house);  // the save drops the duplicates
    sim_.Write("Anlagen\\Berg.anl", layout_bytes::File({t}, models, {layout_bytes::Unit()}));
    sim_.Write("Anlagen\\Berg.danl",
               "[KamSet Nord]\r\nPX1=1\r\n\r\n[Zuvo]\r\nKamSet=Nord\r\n\r\n"
               "[Terrain Nord]\r\nName=Nord\r\nHoehe=hoehe.bmp\r\nFarbe=farbe.bmp\r\n"
               "Pixelgroesse=1\r\nKachelabstand=2\r\nKachelgroesse=4\r\n");
    sim_.Write("Anlagen\\hoehe.bmp",
               terrain_test::MakeBitmap(4, 4, [](int x, int) {
                 return terrain_test::HeightPixel(10000 + x);
               }));
    sim_.Write("Anlagen\\farbe.bmp",
               terrain_test::MakeBitmap(4, 4, [](int, int) { return terrain_test::PixelBytes{1, 2, 3}; }));
    for (int k = 0; k < host::kAssetKindCount; ++k) {
      const host::AssetKindInfo& info = host::AssetKindOf(static_cast<host::AssetKind>(k));
      sim_.Write(std::string(info.name) + "\\" + info.defaultFile, std::string(6000, 'o'));
      sim_.Write(info.activeFile, std::string("aktiv ") + info.name);
    }
  }

  void TearDown() override {
    if (mounted_) umount2(mountPoint_.c_str(), MNT_DETACH);
  }

  // Fills the disk up to `leave` bytes (rounded to the block size).
  void Fill(unsigned long leave) {
    struct statvfs fs;
    ASSERT_EQ(0, statvfs(mountPoint_.c_str(), &fs));
    const unsigned long freeBytes = fs.f_bavail * fs.f_frsize;
    ASSERT_GT(freeBytes, leave);
    std::ofstream filler(mountPoint_ + "/filler", std::ios::binary | std::ios::app);
    filler << std::string(freeBytes - leave, 'f');
    filler.close();
    ASSERT_EQ(0, statvfs(mountPoint_.c_str(), &fs));
    ASSERT_LE(fs.f_bavail * fs.f_frsize, leave + fs.f_frsize);
  }

  void Empty() { std::remove((mountPoint_ + "/filler").c_str()); }

  e2e::RunResult Zuvo(const std::vector<std::string>& args) { return e2e::RunZuvo(args, sim_.Options()); }

  e2e::TestInstallation sim_;
  std::string mountPoint_;
  bool mounted_ = false;
};

struct FullDiskCase {
  std::vector<std::string> args;
  std::string message;  // standard error with the disk full
};

TEST_F(FullDiskTest, EverySaveFailsWholeAndSucceedsWithSpaceAgain) {
  const std::string anl = sim_.Native("Anlagen\\Berg.anl");
  const std::vector<FullDiskCase> cases = {
      {{"resave", anl}, "Fehler beim Schreiben von C:\\Sim\\Anlagen\\Berg.anl!\n"},
      {{"--yes", "remove-missing", "real-estate", anl},
       "Fehler beim Schreiben von C:\\Sim\\Anlagen\\Berg.anl!\n"},
      {{"--yes", "delete-camera-set", anl, "Nord"},
       "Fehler beim Schreiben von C:\\Sim\\Anlagen\\Berg.danl!\n"},
      {{"inventory", anl}, "Fehler beim Schreiben von Inventarliste.txt!\n"},  // beside the layout
      {{"standard"},
       "Fehler beim Schreiben von C:\\Sim\\Mods\\Prellbock.mod!\n"
       "Fehler beim Schreiben von C:\\Sim\\Mods\\Oberleitung.mod!\n"
       "Fehler beim Schreiben von C:\\Sim\\Mods\\Leitpfosten.mod!\n"
       "Fehler beim Schreiben von C:\\Sim\\Parallels\\Tex256_256a.bmp!\n"},
      {{"terrain", anl},
       "Fehler beim Schreiben von C:\\Sim\\Modelle\\Nord\\bmp0_0.mod!\n"
       "Fehler beim Schreiben von C:\\Sim\\Modelle\\Nord\\bmp0_1.mod!\n"
       "Fehler beim Schreiben von C:\\Sim\\Modelle\\Nord\\bmp1_0.mod!\n"
       "Fehler beim Schreiben von C:\\Sim\\Modelle\\Nord\\bmp1_1.mod!\n"},
  };
  for (const FullDiskCase& c : cases) {
    const std::string what = ::testing::PrintToString(c.args);
    Fill(0);
    const Tree before = testing_support::SnapshotTree(mountPoint_);
    e2e::RunResult run = Zuvo(c.args);
    EXPECT_EQ(1, run.exitCode) << what;
    EXPECT_EQ(c.message, run.err) << what;
    Tree after = testing_support::SnapshotTree(mountPoint_);
    after.erase("Modelle/Nord/");  // an empty folder needs no space
    EXPECT_TRUE(before == after) << what << ": " << testing_support::CompareTrees(before, before, after);

    Empty();
    run = Zuvo(c.args);
    EXPECT_EQ(0, run.exitCode) << what << ": " << run.err;
  }

  // Room for a part of the layout file only: the write stops half-way.
  std::vector<layout_bytes::Model> many;
  for (int i = 0; i < 400; ++i) {
    layout_bytes::Model m;
    m.id = static_cast<std::int16_t>(i + 1);
    m.pos[0] = 100 * i;
    many.push_back(m);
  }
  sim_.Write("Anlagen\\Gross.anl", layout_bytes::File({}, many, {}));
  Fill(4096);
  const Tree before = testing_support::SnapshotTree(mountPoint_);
  ASSERT_GT(before.at("Anlagen/Gross.anl").size(), 3u * 4096);
  e2e::RunResult run = Zuvo({"resave", sim_.Native("Anlagen\\Gross.anl")});
  EXPECT_EQ(1, run.exitCode);
  EXPECT_EQ("Fehler beim Schreiben von C:\\Sim\\Anlagen\\Gross.anl!\n", run.err);
  EXPECT_TRUE(before == testing_support::SnapshotTree(mountPoint_));
}

}  // namespace
