// zuvo commands that rewrite files, under a failure at every file operation
// they make: exit 1 with a message, every file whole (old or new), no
// temporary file left; or, where the fault does no harm, exactly the result
// of a clean run.
#include <gtest/gtest.h>

#include <string>

#include "e2e/test_installation.h"
#include "e2e/zuvo_fault_sweep.h"
#include "host/installation.h"
#include "layout/layout_bytes.h"
#include "support/test_support.h"
#include "terrain/terrain_test_support.h"

namespace {

using e2e::SweepZuvoFaults;
using layout_bytes::File;
using layout_bytes::Model;
using layout_bytes::Track;
using layout_bytes::Unit;
using testing_support::TempDir;

std::string Layout() {
  Track t;
  t.end[2] = 40;
  Model bridge;
  bridge.id = 5;
  bridge.name = "..\\Bruecken\\Stein";
  bridge.pos[0] = 500;
  bridge.pos[2] = -7;
  Model house;
  house.id = 6;
  return File({t}, {bridge, house, house}, {Unit()});
}

TEST(ZuvoFaultSweep, Resave) {
  TempDir dir;
  dir.Write("Anlagen/Berg.anl", Layout());
  dir.Write("Anlagen/Berg.danl", "[Zuvo]\r\n");
  e2e::ZuvoFaultSweep sweep = SweepZuvoFaults(dir.native(), {"resave", dir.NativePath("Anlagen/Berg.anl")});
  EXPECT_TRUE(sweep.problems.empty()) << ::testing::PrintToString(sweep.problems);
  EXPECT_EQ("create 1, write 1, close 1, rename 1, chdir 0, mkdir 0", sweep.AttemptsText());
  EXPECT_EQ(4, sweep.reported);
  const std::string path = dir.Path("Anlagen\\Berg.anl");
  EXPECT_EQ((std::set<std::string>{"Can't open " + path + "!\n",
                                   "Fehler beim Schreiben von " + path + "!\n"}),
            sweep.messages);
  EXPECT_EQ(Layout(), dir.Read("Anlagen/Berg.anl"));
}

// A test installation whose layout names present and missing objects of
// every kind, with default and chosen assets in the kind folders.
class InstallationFaultSweep : public ::testing::Test {
 protected:
  void SetUp() override {
    sim_.Write("Modelle\\Haus.mod", "m");
    sim_.Write("GBO\\Bahnhof.gbo", "g");
    sim_.Write("Rollmaterial\\Wagen.rm", "r");
    Model haus;
    haus.id = 1;
    Model missing;
    missing.id = 2;
    missing.name = "Fehlt";
    Track gbo;
    gbo.type = 6;
    gbo.gbo = "GBO\\Weg.gbo";
    Unit wagon, lost;
    lost.id = 2;
    lost.name = "Fehlt.rm";
    lost.neighbourA = 1;
    wagon.neighbourB = 2;
    sim_.Write("Anlagen\\Berg.anl", File({gbo}, {haus, missing}, {wagon, lost}));
    sim_.Write("Anlagen\\Berg.danl",
               "[KamSet Nord]\r\nPX1=1\r\n\r\n[Zuvo]\r\nKamSet=Nord\r\n");
    for (int k = 0; k < host::kAssetKindCount; ++k) {
      const host::AssetKindInfo& info = host::AssetKindOf(static_cast<host::AssetKind>(k));
      sim_.Write(std::string(info.name) + "\\" + info.defaultFile, std::string("Original ") + info.name);
      sim_.Write(info.activeFile, std::string("gew\xE4hlt ") + info.name);
    }
  }

  // Sweeps `args`; every fault must be reported or harmless.
  e2e::ZuvoFaultSweep Sweep(const std::vector<std::string>& args) {
    e2e::ZuvoFaultSweep sweep = SweepZuvoFaults(sim_.PrefixNative(), args, sim_.Options());
    EXPECT_TRUE(sweep.problems.empty()) << ::testing::PrintToString(args) << "\n"
                                        << ::testing::PrintToString(sweep.problems);
    return sweep;
  }

  e2e::TestInstallation sim_;
};

TEST_F(InstallationFaultSweep, DeleteCameraSet) {
  e2e::ZuvoFaultSweep sweep = Sweep({"--yes", "delete-camera-set", sim_.Native("Anlagen\\Berg.anl"), "Nord"});
  EXPECT_EQ("create 1, write 1, close 1, rename 1, chdir 1, mkdir 0", sweep.AttemptsText());
  EXPECT_EQ(4, sweep.reported);
  // The load makes the layout's folder current; nothing here needs it.
  EXPECT_EQ((std::vector<std::string>{"chdir:1"}), sweep.harmlessAt);
}

TEST_F(InstallationFaultSweep, Standard) {
  e2e::ZuvoFaultSweep sweep = Sweep({"standard"});
  EXPECT_EQ("create 4, write 4, close 4, rename 4, chdir 0, mkdir 0", sweep.AttemptsText());
  EXPECT_EQ(16, sweep.reported);
}

TEST_F(InstallationFaultSweep, RemoveMissing) {
  for (const char* kind : {"real-estate", "gbos", "rolling-stock"}) {
    e2e::ZuvoFaultSweep sweep = Sweep({"--yes", "remove-missing", kind, sim_.Native("Anlagen\\Berg.anl")});
    EXPECT_EQ("create 1, write 1, close 1, rename 1, chdir 1, mkdir 0", sweep.AttemptsText()) << kind;
    EXPECT_EQ(4, sweep.reported) << kind;
  }
}

TEST_F(InstallationFaultSweep, Lists) {
  for (const char* command : {"inventory", "missing-list"}) {
    e2e::ZuvoFaultSweep sweep = Sweep({command, sim_.Native("Anlagen\\Berg.anl")});
    EXPECT_EQ("create 1, write 1, close 1, rename 1, chdir 2, mkdir 0", sweep.AttemptsText()) << command;
    // Over an old list too.
    sim_.Write(std::string("Anlagen\\") + (command[0] == 'i' ? "Inventarliste.txt" : "Fehlliste.txt"),
               "alte Liste\r\n");
    Sweep({command, sim_.Native("Anlagen\\Berg.anl")});
  }
}

TEST_F(InstallationFaultSweep, Terrain) {
  auto height = [](int x, int y) { return terrain_test::HeightPixel(10500 + 3 * x - y); };
  auto colour = [](int x, int) { return terrain_test::PixelBytes{90, 90, static_cast<std::uint8_t>(x)}; };
  sim_.Write("Anlagen\\Bilder\\hoehe.bmp", terrain_test::MakeBitmap(4, 4, height));
  sim_.Write("Anlagen\\Bilder\\farbe.bmp", terrain_test::MakeBitmap(4, 4, colour));
  sim_.Write("Anlagen\\Berg.danl",
             "[Terrain Nord]\r\nName=Nord\r\nHoehe=Bilder\\hoehe.bmp\r\nFarbe=Bilder\\farbe.bmp\r\n"
             "Pixelgroesse=1\r\nKachelabstand=2\r\nKachelgroesse=4\r\n");
  // Into a new terrain folder, then over the tiles of an earlier run.
  e2e::ZuvoFaultSweep fresh = Sweep({"terrain", sim_.Native("Anlagen\\Berg.anl")});
  EXPECT_EQ("create 4, write 4, close 4, rename 4, chdir 2, mkdir 1", fresh.AttemptsText());
  for (const char* tile : {"bmp0_0.mod", "bmp0_1.mod", "bmp1_0.mod", "bmp1_1.mod"}) {
    sim_.Write(std::string("Modelle\\Nord\\") + tile, std::string("alt ") + tile);
  }
  EXPECT_EQ(18, fresh.reported);
  EXPECT_EQ((std::vector<std::string>{"chdir:1"}), fresh.harmlessAt);  // the load's own
  e2e::ZuvoFaultSweep over = Sweep({"terrain", sim_.Native("Anlagen\\Berg.anl")});
  EXPECT_EQ((std::vector<std::string>{"chdir:1", "mkdir:1"}), over.harmlessAt);
}

}  // namespace
