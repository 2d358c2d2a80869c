// A terrain generation killed at each of its file operations (ZUVO_KILL_AT)
// leaves the old tiles or none, each tile whole, and counts as generated
// only when it holds a whole generation; the next generation puts it right.
#include "e2e/installation.h"
#include "terrain/terrain_test_support.h"

namespace e2e {
namespace {

const char kFolder[] = "Modelle/Nord/";
const char kTemp[] = "Modelle/.zuvo-neu-Nord/";
const char kMarker[] = "Modelle/Nord/.zuvo-unvollstaendig";

// The terrain's folder: its tiles (the marker left out) and whether it is marked.
Tree TilesOf(const Tree& tree, bool* marked) {
  Tree tiles;
  *marked = tree.count(kMarker) > 0;
  for (const auto& entry : tree) {
    if (entry.first.compare(0, sizeof kFolder - 1, kFolder) == 0 && entry.first != kMarker) tiles.insert(entry);
  }
  return tiles;
}

TEST_F(InstallationTest, ATerrainKilledAtEveryStepLeavesOldTilesOrNone) {
  Write("Anlagen\\h.bmp",
        terrain_test::MakeBitmap(4, 4, [](int x, int y) { return terrain_test::HeightPixel(x + y); }));
  WriteSettings({"[Terrain Nord]", "Name=Nord", "Hoehe=h.bmp", "Farbe=h.bmp", "Pixelgroesse=1", "Kachelabstand=2",
                 "Kachelgroesse=4"});
  const Tree fresh = SnapshotTree(Native());
  int points = 0;
  for (const bool existing : {false, true}) {
    RestoreTree(Native(), fresh);
    // Old tiles of this plan and one of an earlier plan.
    if (existing) {
      for (const char* tile : {"bmp0_0.mod", "bmp0_1.mod", "bmp1_0.mod", "bmp1_1.mod", "bmp7_7.mod"}) {
        Write(std::string("Modelle\\Nord\\") + tile, "alt");
      }
    }
    const Tree before = SnapshotTree(Native());
    ASSERT_EQ(Zuvo({"terrain", Layout()}).exitCode, 0);
    const Tree after = SnapshotTree(Native());
    bool marked = false;
    const Tree oldTiles = TilesOf(before, &marked), newTiles = TilesOf(after, &marked);
    ASSERT_FALSE(marked);
    ASSERT_EQ(newTiles.size(), existing ? 6u : 5u);  // with the folder itself
    for (const std::string kind : {"create", "write", "close", "rename", "mkdir", "remove"}) {
      for (int n = 1;; ++n) {
        SCOPED_TRACE((existing ? "existing " : "new ") + kind + ":" + std::to_string(n));
        RestoreTree(Native(), before);
        if (Zuvo({"terrain", Layout()}, {"ZUVO_KILL_AT=" + kind + ":" + std::to_string(n)}).exitCode != -1) break;
        ++points;
        const Tree left = SnapshotTree(Native());
        const Tree tiles = TilesOf(left, &marked);
        if (marked) {
          // Cut off while the folder changed: each tile old or new.
          for (const auto& tile : tiles) {
            EXPECT_TRUE((oldTiles.count(tile.first) && oldTiles.at(tile.first) == tile.second) ||
                        (newTiles.count(tile.first) && newTiles.at(tile.first) == tile.second))
                << tile.first;
          }
        } else {
          EXPECT_TRUE(tiles == oldTiles || tiles == newTiles) << "an unmarked folder holds one whole generation";
        }
        // Nothing else changed than the folder and the temporary one.
        for (const auto& entry : left) {
          const bool ours = entry.first.compare(0, sizeof kFolder - 1, kFolder) == 0 ||
                            entry.first.compare(0, sizeof kTemp - 1, kTemp) == 0;
          if (!ours) {
            EXPECT_TRUE(before.count(entry.first) && before.at(entry.first) == entry.second) << entry.first;
          }
        }
        // What the dialog offers follows the marker; the next generation ends the same as a clean one.
        const RunResult show = Zuvo({"show", Layout()});
        EXPECT_NE(show.out.find(std::string("Gen. Terrain: ") + (marked || tiles.empty() ? "aktiv" : "inaktiv")),
                  std::string::npos);
        const RunResult again = Zuvo({"terrain", Layout()});
        EXPECT_EQ(again.exitCode, 0) << again.err;
        EXPECT_TRUE(SnapshotTree(Native()) == after);
      }
    }
  }
  EXPECT_GT(points, 12);
}

}  // namespace
}  // namespace e2e
