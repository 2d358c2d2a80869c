// The three buttons under "Fehlende Modelle löschen", on layout files.

#include <gtest/gtest.h>

#include "app/app_fixture.h"

namespace {

using app::Globals;
using app_testing::AppTest;

class RemovalHandlersTest : public AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    host.Write("Modelle\\Haus.mod", "m");
    host.Write("GBO\\Bahnhof.gbo", "g");
    host.Write("Rollmaterial\\Wagen.rm", "r");
    layout::Layout l;
    l.models.push_back(app_testing::Model(5, "Haus"));
    l.models.push_back(app_testing::Model(5, "Fehlt"));  // the same id as the present house
    l.models.push_back(app_testing::Model(6, "Haus"));
    l.tracks.push_back(app_testing::GboTrack(1, "GBO\\Bahnhof.gbo"));
    l.tracks.push_back(app_testing::GboTrack(2, "GBO\\Fehlt.gbo"));
    l.tracks.back().variantValue = 4;
    l.rollingStock.push_back(app_testing::Unit(1, "Wagen.rm", 2));
    l.rollingStock.push_back(app_testing::Unit(2, "Fehlt.rm", 1));
    original_ = LayoutBytes(l);
    host.Write("Anlagen\\Berg.anl", original_);
    ASSERT_EQ(Load("Anlagen\\Berg.anl"), 1);
  }

  std::string original_;
};

TEST_F(RemovalHandlersTest, EachAsksRemovesSavesAndReports) {
  view.answers = {true, true, true};
  EXPECT_EQ(dialog.OnRemoveMissingRealEstateClicked(), 1);
  EXPECT_EQ(dialog.OnRemoveMissingGbosClicked(), 1);
  EXPECT_EQ(dialog.OnRemoveMissingRollingStockClicked(), 1);
  EXPECT_EQ(view.questions, (std::vector<std::string>{"Fehlende Immobilien in der Anlage l\xF6schen?",
                                                      "Fehlende GBOs in der Anlage l\xF6schen?",
                                                      "Fehlendes Rollmaterial in der Anlage l\xF6schen?"}));
  EXPECT_EQ(view.notices, (std::vector<std::string>{"Fehlende Immobilien wurden gel\xF6scht!",
                                                    "Fehlende GBOs wurden gel\xF6scht!",
                                                    "Fehlendes Rollmaterial wurde gel\xF6scht!"}));
  EXPECT_EQ(view.waitCursors, 3);
  EXPECT_EQ(view.waitDepth, 0);
  EXPECT_TRUE(messages.messages().empty());

  layout::Layout saved = ReadLayout("Anlagen\\Berg.anl");
  ASSERT_EQ(saved.models.size(), 2u);
  EXPECT_EQ(saved.models[0].name, "Haus");  // the missing record went, not the first with its id
  EXPECT_EQ(saved.models[0].id, 5);
  EXPECT_EQ(saved.models[1].id, 6);
  ASSERT_EQ(saved.tracks.size(), 2u);
  EXPECT_EQ(saved.tracks[0].type, 6);
  EXPECT_EQ(saved.tracks[1].type, 7);
  EXPECT_EQ(saved.tracks[1].name, "Gleis");
  EXPECT_EQ(saved.tracks[1].variantValue, 4);
  ASSERT_EQ(saved.rollingStock.size(), 1u);
  EXPECT_EQ(saved.rollingStock[0].name, "Wagen.rm");
  EXPECT_EQ(saved.rollingStock[0].neighbourB, 0);
}

TEST_F(RemovalHandlersTest, NoAnswerAndNothingMissingStillBehave) {
  view.answers = {false, false, false};
  EXPECT_EQ(dialog.OnRemoveMissingRealEstateClicked(), 1);
  EXPECT_EQ(dialog.OnRemoveMissingGbosClicked(), 1);
  EXPECT_EQ(dialog.OnRemoveMissingRollingStockClicked(), 1);
  EXPECT_EQ(host.Read("Anlagen\\Berg.anl"), original_);
  EXPECT_EQ(Globals().Layout.CountLiveModels(), 3);
  EXPECT_TRUE(view.notices.empty());
  EXPECT_EQ(view.waitCursors, 0);

  // Everything present: still saved and reported.
  host.Write("Modelle\\Fehlt.mod", "m");
  view.answers = {true};
  EXPECT_EQ(dialog.OnRemoveMissingRealEstateClicked(), 1);
  EXPECT_EQ(view.notices, std::vector<std::string>{"Fehlende Immobilien wurden gel\xF6scht!"});
  EXPECT_EQ(ReadLayout("Anlagen\\Berg.anl").models.size(), 3u);
}

TEST_F(RemovalHandlersTest, AnUnknownInstallationIsRefusedBeforeTheQuestion) {
  host::SetHostDirectoryOverride("");
  host::SetCommandValueReader([](std::string*) { return 0; });
  EXPECT_EQ(dialog.OnRemoveMissingRealEstateClicked(), 0);
  EXPECT_EQ(dialog.OnRemoveMissingGbosClicked(), 0);
  EXPECT_EQ(dialog.OnRemoveMissingRollingStockClicked(), 0);
  host::SetCommandValueReader(nullptr);
  EXPECT_EQ(messages.messages(), std::vector<std::string>(3, "Unbekannte oder fehlerhafte ZUVO Installation\n"));
  EXPECT_TRUE(view.questions.empty());
  EXPECT_EQ(Globals().Layout.CountLiveModels(), 3);
  EXPECT_EQ(Globals().Layout.CountLiveRollingStock(), 2);
  EXPECT_EQ(host.Read("Anlagen\\Berg.anl"), original_);
}

TEST_F(RemovalHandlersTest, AFailedSaveIsTheLastWord) {
  view.answers = {true};
  platform::PlanFault(platform::kFaultCreate, 1);
  EXPECT_EQ(dialog.OnRemoveMissingRollingStockClicked(), 0);
  EXPECT_EQ(messages.messages(), std::vector<std::string>{"Can't open " + host.Path("Anlagen\\Berg.anl") + "!\n"});
  EXPECT_TRUE(view.notices.empty());
  EXPECT_EQ(view.waitDepth, 0);
  EXPECT_EQ(host.Read("Anlagen\\Berg.anl"), original_);
  EXPECT_EQ(host.List("Anlagen"), std::vector<std::string>{"Berg.anl"});
}

TEST_F(RemovalHandlersTest, RefusesAfterAFailedLoad) {
  host.Write("Anlagen\\Kaputt.anl", "kaputt");
  EXPECT_EQ(Load("Anlagen\\Kaputt.anl"), 0);
  messages.clear();
  EXPECT_EQ(dialog.OnRemoveMissingGbosClicked(), 0);
  EXPECT_EQ(messages.messages(), std::vector<std::string>{"Anlage nicht OK\n"});
  EXPECT_TRUE(view.questions.empty());
}

}  // namespace
