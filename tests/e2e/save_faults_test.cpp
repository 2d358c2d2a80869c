// Every zuvo command that rewrites files, under a failure at each file operation it makes
// (see fault_sweep.h); a restore among them (one during a live run: the start faults).
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
} kCases[] = {
    {{"resave", "@"}},
    {{"--yes", "delete-camera-set", "@", "Nord"}},
    {{"--yes", "remove-missing", "real-estate", "@"}},
    {{"standard"}},
    {{"missing-list", "@"}, {"Anlagen\\Fehlliste.txt"}},
    {{"map", "@"}, {"Anlagen\\Berg.svg"}},
    {{"terrain", "@"}, kTiles},
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
  for (const SaveCase& c : kCases) {
    SCOPED_TRACE(::testing::PrintToString(c.args));
    for (const std::string& file : c.oldFiles) Write(file, "alt");
    std::vector<std::string> args = c.args;
    for (std::string& arg : args) arg = arg == "@" ? Native("Anlagen\\Berg.anl") : arg;
    // A terrain cut off while its old tiles were being replaced stays marked.
    FaultSweep sweep =
        SweepZuvoFaults(Prefix(), args, Env(), nullptr, {}, {"drive_c/Sim/Modelle/Nord/.zuvo-unvollstaendig"});
    EXPECT_TRUE(sweep.problems.empty()) << ::testing::PrintToString(sweep.problems);
    EXPECT_GE(sweep.reported, 4);
  }
}

// The journal, today's pair kept, the two files put back: under a failure at each, the
// layout's files each hold their old or their new bytes, and every version stays readable.
TEST_F(InstallationTest, EveryFileOperationOfARestoreFails) {
  WriteSettings({"[KamSet Nord]", "PX1=1"});
  ASSERT_EQ(Zuvo({"resave", Layout()}).exitCode, 0);
  const RunResult listed = Zuvo({"history", Layout()});
  EXPECT_TRUE(
      std::regex_match(listed.out, std::regex("1  \\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d  resave  anl \\d+ B, "
                                              "danl 22 B  Gleise 1, Modelle 2, Rollmaterial 0, Kamera Sets 1\n")))
      << listed.out;
  Write("Anlagen\\Test.anl", "heute");
  WriteSettings({"[KamSet Nord]", "PX1=2"});
  FaultSweep sweep = SweepZuvoFaults(Prefix(), {"--yes", "restore", Layout(), "1"}, Env(), nullptr, {"repair"});
  EXPECT_TRUE(sweep.problems.empty()) << ::testing::PrintToString(sweep.problems);
  EXPECT_GE(sweep.reported, 8);
}

}  // namespace
}  // namespace e2e
