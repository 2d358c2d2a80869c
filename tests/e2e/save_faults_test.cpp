// Every zuvo command that rewrites files, under a failure at each file operation it makes
// (see fault_sweep.h); last a restore of the first version the others kept.
#include <regex>

#include "e2e/installation.h"
#include "host/installation.h"
#include "terrain/terrain_test_support.h"

namespace e2e {
namespace {

const std::vector<std::string> kTiles = {"Modelle\\Nord\\bmp0_0.mod", "Modelle\\Nord\\bmp0_1.mod",
                                         "Modelle\\Nord\\bmp1_0.mod", "Modelle\\Nord\\bmp1_1.mod"};
const struct SaveCase {
  std::vector<std::string> args;           // "@" stands for the layout
  std::vector<std::string> oldFiles = {};  // written first, each with "alt"
  std::vector<std::string> heal = {};      // run after each faulted run that failed
} kCases[] = {
    {{"resave", "@"}},
    {{"--yes", "delete-camera-set", "@", "Nord"}},
    {{"--yes", "remove-missing", "real-estate", "@"}},
    {{"standard"}},
    {{"missing-list", "@"}, {"Anlagen\\Fehlliste.txt"}},
    {{"map", "@"}, {"Anlagen\\Berg.svg"}},
    {{"terrain", "@"}, kTiles},
    // A restore: the journal, today's pair kept, the two files put back.
    {{"--yes", "restore", "@", "1"}, {"Anlagen\\Berg.anl", "Anlagen\\Berg.danl"}, {"repair"}},
};

// On an installation whose layout names present and missing objects of every
// kind, with a camera set, a terrain, and default and chosen assets.
TEST_F(InstallationTest, EveryFileOperationOfEverySaveFails) {
  WriteMixedLayout();
  Write("Anlagen\\Berg.danl", CrLf({"[KamSet Nord]", "PX1=1", "", "[Zuvo]", "KamSet=Nord", "", "[Terrain Nord]",
                                    "Name=Nord", "Hoehe=Bilder\\hoehe.bmp", "Farbe=Bilder\\farbe.bmp", "Pixelgroesse=1",
                                    "Kachelabstand=2", "Kachelgroesse=4"}));
  Write("Anlagen\\Bilder\\hoehe.bmp",
        terrain_test::MakeBitmap(4, 4, [](int x, int y) { return terrain_test::HeightPixel(10500 + 3 * x - y); }));
  Write("Anlagen\\Bilder\\farbe.bmp", terrain_test::MakeBitmap(4, 4, [](int x, int) {
          return terrain_test::PixelBytes{90, 90, static_cast<std::uint8_t>(x)};
        }));
  for (int k = 0; k < host::kAssetKindCount; ++k) {
    const host::AssetKindInfo& info = host::AssetKindOf(static_cast<host::AssetKind>(k));
    Write(std::string(info.name) + "\\" + info.defaultFile, std::string("Original ") + info.name);
    Write(info.activeFile, std::string("gew\xE4hlt ") + info.name);
  }
  ASSERT_EQ(Zuvo({"resave", Native("Anlagen\\Berg.anl")}).exitCode, 0);  // version 1 to restore
  for (const SaveCase& c : kCases) {
    SCOPED_TRACE(::testing::PrintToString(c.args));
    for (const std::string& file : c.oldFiles) Write(file, "alt");
    std::vector<std::string> args = c.args;
    for (std::string& arg : args) arg = arg == "@" ? Native("Anlagen\\Berg.anl") : arg;
    // A terrain cut off while its old tiles were being replaced stays marked.
    FaultSweep sweep =
        SweepZuvoFaults(Prefix(), args, Env(), nullptr, c.heal, {"drive_c/Sim/Modelle/Nord/.zuvo-unvollstaendig"});
    EXPECT_TRUE(sweep.problems.empty()) << ::testing::PrintToString(sweep.problems);
    EXPECT_GE(sweep.reported, c.heal.empty() ? 4 : 8);
  }
  // The version stays readable, as the resave kept it.
  const RunResult listed = Zuvo({"history", Native("Anlagen\\Berg.anl")});
  EXPECT_TRUE(
      std::regex_search(listed.out, std::regex("^1  \\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d  resave  anl \\d+ B, "
                                               "danl 172 B  Gleise 2, Modelle 2, Rollmaterial 2, Kamera Sets 1\n")))
      << listed.out;
}

}  // namespace
}  // namespace e2e
