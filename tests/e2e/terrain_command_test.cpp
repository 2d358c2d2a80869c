// zuvo terrain LAYOUT on a test installation found through the registry.

#include <gtest/gtest.h>

#include <string>

#include "e2e/run_zuvo.h"
#include "e2e/test_installation.h"
#include "layout/layout_bytes.h"
#include "terrain/terrain_test_support.h"

namespace {

TEST(TerrainCommandTest, GeneratesEveryDescribedTerrainIntoTheInstallation) {
  e2e::TestInstallation sim;
  auto flat = [](int, int) { return terrain_test::HeightPixel(10500); };
  auto grey = [](int, int) { return terrain_test::PixelBytes{90, 90, 90}; };
  sim.Write("Anlagen\\Bilder\\hoehe.bmp", terrain_test::MakeBitmap(2, 4, flat));
  sim.Write("Anlagen\\Bilder\\farbe.bmp", terrain_test::MakeBitmap(2, 4, grey));
  sim.Write("Anlagen\\Berg.anl", layout_bytes::File({}, {}, {}));
  const std::string settings =
      "[Terrain Nord]\r\nName=Nord\r\nHoehe=Bilder\\hoehe.bmp\r\nFarbe=Bilder\\farbe.bmp\r\n"
      "Pixelgroesse=1\r\nKachelabstand=2\r\nKachelgroesse=2\r\n";
  sim.Write("Anlagen\\Berg.danl", settings);

  e2e::RunResult run = e2e::RunZuvo({"terrain", sim.Native("Anlagen\\Berg.danl")}, sim.Options());
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, "Terraingenerierung abgeschlossen!\n");
  EXPECT_EQ(run.err, "");  // no progress without a terminal
  EXPECT_EQ(sim.List("Modelle\\Nord"), (std::vector<std::string>{"bmp0_0.mod", "bmp0_1.mod"}));

  // Already generated (the button would be disabled): generated again.
  run = e2e::RunZuvo({"terrain", sim.Native("Anlagen\\Berg.anl")}, sim.Options());
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(sim.List("Modelle\\Nord"), (std::vector<std::string>{"bmp0_0.mod", "bmp0_1.mod"}));

  // A failing description: its message and exit status 1.
  sim.Write("Anlagen\\Berg.danl", settings + "[Terrain Sued]\r\nName=Sued\r\n");
  run = e2e::RunZuvo({"terrain", sim.Native("Anlagen\\Berg.anl")}, sim.Options());
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "[Terrain Sued]:Hoehe muss gesetzt sein!\n");
  EXPECT_FALSE(sim.Exists("Modelle\\Sued"));
}

}  // namespace
