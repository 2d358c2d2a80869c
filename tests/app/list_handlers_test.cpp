// "Inventarliste" and "Fehlliste" on a loaded layout.

#include <gtest/gtest.h>

#include "app/app_fixture.h"

namespace {

using app_testing::AppTest;

layout::Layout Sample() {
  layout::Layout l;
  l.models.push_back(app_testing::Model(1, "Haus"));
  l.models.push_back(app_testing::Model(2, "Kirche"));
  l.models.push_back(app_testing::Model(3, "HAUS"));
  l.tracks.push_back(app_testing::GboTrack(1, "GBO\\Bahnhof.gbo"));
  l.rollingStock.push_back(app_testing::Unit(1, "Wagen.rm"));
  l.rollingStock.push_back(app_testing::Unit(2, "Lok.rm"));
  return l;
}

TEST_F(AppTest, ListsAreWrittenBesideTheLayout) {
  host.Write("Modelle\\Haus.mod", "m");
  host.Write("Rollmaterial\\Wagen.rm", "r");
  host.Write("Anlagen\\Berg.anl", LayoutBytes(Sample()));
  ASSERT_EQ(Load("Anlagen\\Berg.anl"), 1);
  ASSERT_TRUE(platform::ChangeDirectory(host.windows()));  // elsewhere meanwhile

  EXPECT_EQ(dialog.OnInventoryListClicked(), 1);
  EXPECT_EQ(host.Read("Anlagen\\Inventarliste.txt"),
            "Immobilien:\r\nHaus.mod\r\nKirche.mod\r\n\r\nGBOs:\r\nGBO\\Bahnhof.gbo\r\n"
            "\r\nRollmaterial:\r\nWagen.rm\r\nLok.rm\r\n");
  EXPECT_EQ(dialog.OnMissingListClicked(), 1);
  EXPECT_EQ(host.Read("Anlagen\\Fehlliste.txt"),
            "Immobilien:\r\nKirche.mod\r\n\r\nGBOs:\r\nGBO\\Bahnhof.gbo\r\n\r\nRollmaterial:\r\nLok.rm\r\n");
  EXPECT_EQ(view.notices, (std::vector<std::string>{"Inventarliste wurde erstellt!", "Fehlliste wurde erstellt!"}));
  EXPECT_EQ(view.waitCursors, 2);
  EXPECT_EQ(view.waitDepth, 0);
  EXPECT_EQ(platform::CurrentDirectory(), host.Path("Anlagen"));
  EXPECT_TRUE(messages.messages().empty());
}

TEST_F(AppTest, ListsRefuseWithoutLayoutOrInstallationAndSayNothingAfterAFailure) {
  EXPECT_EQ(dialog.OnInventoryListClicked(), 0);
  EXPECT_EQ(dialog.OnMissingListClicked(), 0);
  EXPECT_EQ(messages.messages(), std::vector<std::string>(2, "Anlage nicht OK\n"));

  host.Write("Anlagen\\Berg.anl", LayoutBytes(Sample()));
  ASSERT_EQ(Load("Anlagen\\Berg.anl"), 1);
  messages.clear();
  platform::PlanFault(platform::kFaultWrite, 1);
  EXPECT_EQ(dialog.OnInventoryListClicked(), 0);
  platform::ClearFaults();
  platform::PlanFault(platform::kFaultChdir, 1);
  EXPECT_EQ(dialog.OnInventoryListClicked(), 0);
  platform::ClearFaults();
  EXPECT_EQ(messages.messages(),
            (std::vector<std::string>{"Fehler beim Schreiben von Inventarliste.txt!\n",
                                      "Datei " + host.Path("Anlagen\\Inventarliste.txt") +
                                          " kann nicht ge\xF6" "ffnet werden!"}));
  EXPECT_TRUE(view.notices.empty());
  EXPECT_FALSE(host.Exists("Anlagen\\Inventarliste.txt"));

  // Without an installation every object would be missing.
  messages.clear();
  host::SetHostDirectoryOverride("");
  host::SetCommandValueReader([](std::string*) { return 0; });
  EXPECT_EQ(dialog.OnMissingListClicked(), 0);
  EXPECT_EQ(dialog.OnInventoryListClicked(), 1);  // needs none
  host::SetCommandValueReader(nullptr);
  EXPECT_EQ(messages.messages(), std::vector<std::string>{"Unbekannte oder fehlerhafte ZUVO Installation\n"});
  EXPECT_FALSE(host.Exists("Anlagen\\Fehlliste.txt"));
  EXPECT_EQ(view.notices, std::vector<std::string>{"Inventarliste wurde erstellt!"});
}

}  // namespace
