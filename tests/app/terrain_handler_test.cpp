// "Gen. Terrain" on a loaded layout.

#include <gtest/gtest.h>

#include "app/app_fixture.h"
#include "terrain/terrain_test_support.h"

namespace {

using app_testing::AppTest;

class TerrainHandlerTest : public AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    auto flat = [](int, int) { return terrain_test::HeightPixel(10000); };
    auto green = [](int, int) { return terrain_test::PixelBytes{0, 200, 0}; };
    host.Write("Anlagen\\hoehe.bmp", terrain_test::MakeBitmap(4, 2, flat));
    host.Write("Anlagen\\farbe.bmp", terrain_test::MakeBitmap(4, 2, green));
    host.Write("Anlagen\\Berg.anl", LayoutBytes(layout::Layout()));
    // Relative picture names: read beside the layout. Two tiles of 2 x 2 cells.
    host.Write("Anlagen\\Berg.danl",
               "[Terrain1]\r\nName=Berg\r\nHoehe=hoehe.bmp\r\nFarbe=farbe.bmp\r\nPixelgroesse=1\r\n"
               "Kachelabstand=2\r\nKachelgroesse=2\r\n");
  }
};

TEST_F(TerrainHandlerTest, GeneratesTheTilesAndDisablesTheButton) {
  ASSERT_EQ(Load("Anlagen\\Berg.anl"), 1);
  EXPECT_TRUE(view.Enabled(app::kIdGenTerrain, false));
  ASSERT_TRUE(platform::ChangeDirectory(host.windows()));  // elsewhere meanwhile
  EXPECT_EQ(dialog.OnGenTerrainClicked(), 1);
  EXPECT_EQ(view.notices, std::vector<std::string>{"Terraingenerierung abgeschlossen!"});
  EXPECT_FALSE(view.Enabled(app::kIdGenTerrain, true));
  EXPECT_EQ(host.List("Modelle\\Berg"), (std::vector<std::string>{"bmp0_0.mod", "bmp1_0.mod"}));
  EXPECT_EQ(view.progress, (std::vector<std::string>{"Terrain1 1/2", "Terrain1 2/2"}));
  EXPECT_EQ(view.waitCursors, 1);
  EXPECT_EQ(view.waitDepth, 0);
  EXPECT_EQ(platform::CurrentDirectory(), host.Path("Anlagen"));
  EXPECT_TRUE(messages.messages().empty());

  // The next load finds the terrain generated.
  EXPECT_EQ(Load("Anlagen\\Berg.anl"), 1);
  EXPECT_FALSE(view.Enabled(app::kIdGenTerrain, true));
}

TEST_F(TerrainHandlerTest, AFailedGenerationLeavesTheButtonEnabled) {
  host.Write("Anlagen\\Berg.danl", "[Terrain1]\r\nName=Berg\r\nHoehe=fehlt.txt\r\nFarbe=farbe.bmp\r\n");
  ASSERT_EQ(Load("Anlagen\\Berg.anl"), 1);
  EXPECT_EQ(dialog.OnGenTerrainClicked(), 0);
  EXPECT_EQ(messages.messages(), std::vector<std::string>{"Falscher Dateityp fuer Hoehe: fehlt.txt!\n"});
  EXPECT_TRUE(view.notices.empty());
  EXPECT_TRUE(view.Enabled(app::kIdGenTerrain, false));
  EXPECT_EQ(view.waitDepth, 0);
}

TEST_F(TerrainHandlerTest, RefusesWithoutLayoutOrInstallation) {
  EXPECT_EQ(dialog.OnGenTerrainClicked(), 0);
  ASSERT_EQ(Load("Anlagen\\Berg.anl"), 1);
  host::SetHostDirectoryOverride("");
  host::SetCommandValueReader([](std::string*) { return 0; });
  EXPECT_EQ(dialog.OnGenTerrainClicked(), 0);
  host::SetCommandValueReader(nullptr);
  EXPECT_EQ(messages.messages(), (std::vector<std::string>{"Anlage nicht OK\n",
                                                          "Unbekannte oder fehlerhafte ZUVO Installation\n"}));
  EXPECT_FALSE(host.Exists("Modelle\\Berg"));
  EXPECT_FALSE(host.Exists("Anlagen\\Berg"));
  EXPECT_TRUE(view.notices.empty());
}

}  // namespace
