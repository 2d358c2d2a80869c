// The inventory and missing lists: exact bytes, one line per name and group,
// safe writing.

#include "layout/lists.h"

#include <gtest/gtest.h>

#include <string>

#include "host/installation.h"
#include "platform/faults.h"
#include "platform/platform.h"
#include "support/test_support.h"

namespace {

using testing_support::Cp;
using testing_support::TempDir;

layout::ModelRecord Model(const std::string& name, int id = 1) {
  layout::ModelRecord m;
  m.id = static_cast<std::int16_t>(id);
  m.name = name;
  return m;
}

layout::TrackRecord Track(int type, const std::string& gbo) {
  layout::TrackRecord t;
  t.id = 1;
  t.type = type;
  t.gboName = gbo;
  return t;
}

layout::RollingStockRecord Unit(const std::string& name, int id = 1) {
  layout::RollingStockRecord u;
  u.id = static_cast<std::int16_t>(id);
  u.name = name;
  return u;
}

// A layout that uses names repeatedly, in mixed case, with a removed record.
layout::Layout Sample() {
  layout::Layout l;
  for (const char* name : {"Haus", "Kirche", "haus", "HAUS", "Haeuser\\Bahnhof"}) l.models.push_back(Model(name));
  l.models.push_back(Model(Cp("Br\xC3\xBC" "cke")));
  l.models.push_back(Model(Cp("BR\xC3\x9C" "CKE")));  // Ü is not folded: a second name
  l.models.push_back(Model("Scheune", 0));            // removed in memory, still listed
  l.tracks.push_back(Track(6, "GBO\\Bahnhof.gbo"));
  l.tracks.push_back(Track(1, "GBO\\Alt.gbo"));  // not a GBO piece: never listed
  l.tracks.push_back(Track(6, "gbo\\BAHNHOF.GBO"));
  l.tracks.push_back(Track(6, "Turm.gbo"));
  l.rollingStock.push_back(Unit("Loks\\V100.dll"));
  l.rollingStock.push_back(Unit("Wagen.rm", 2));
  l.rollingStock.push_back(Unit("loks\\v100.DLL", 3));
  return l;
}

TEST(ListsTest, InventoryListsEveryNameOncePerGroup) {
  EXPECT_EQ(layout::ListText(layout::Layout(), 0), "Immobilien:\r\n\r\nGBOs:\r\n\r\nRollmaterial:\r\n");
  EXPECT_EQ(layout::ListText(Sample(), 0),
            "Immobilien:\r\nHaus.mod\r\nKirche.mod\r\nHaeuser\\Bahnhof.mod\r\n" +
                Cp("Br\xC3\xBC" "cke.mod\r\nBR\xC3\x9C" "CKE.mod\r\n") +
                "Scheune.mod\r\n"
                "\r\nGBOs:\r\nGBO\\Bahnhof.gbo\r\nTurm.gbo\r\n"
                "\r\nRollmaterial:\r\nLoks\\V100.dll\r\nWagen.rm\r\n");
}

TEST(ListsTest, MissingListNeedsTheFilesOfTheInstallation) {
  TempDir host;
  host.Write("Modelle\\Haus.mod", "m");
  host.Write("Modelle\\Haeuser\\Bahnhof.mod", "m");
  host.Write("GBO\\Bahnhof.gbo", "g");
  host.Write("Rollmaterial\\Wagen.rm", "r");
  host::SetHostDirectoryOverride(host.windows());
  EXPECT_EQ(layout::ListText(Sample(), 1),
            "Immobilien:\r\nKirche.mod\r\n" + Cp("Br\xC3\xBC" "cke.mod\r\nBR\xC3\x9C" "CKE.mod\r\n") +
                "Scheune.mod\r\n"
                "\r\nGBOs:\r\nTurm.gbo\r\n"
                "\r\nRollmaterial:\r\nLoks\\V100.dll\r\n");

  // Everything present: only the headings.
  layout::Layout present;
  present.models.push_back(Model("Haus"));
  present.tracks.push_back(Track(6, "GBO\\Bahnhof.gbo"));
  present.rollingStock.push_back(Unit("Wagen.rm"));
  EXPECT_EQ(layout::ListText(present, 1), "Immobilien:\r\n\r\nGBOs:\r\n\r\nRollmaterial:\r\n");
  host::SetHostDirectoryOverride("");
}

TEST(ListsTest, WritesIntoTheCurrentFolderSafely) {
  TempDir dir;
  const std::string saved = platform::CurrentDirectory();
  ASSERT_TRUE(platform::ChangeDirectory(dir.windows()));
  testing_support::MessageRecorder messages;

  EXPECT_EQ(layout::WriteLists(Sample(), 0), 1);
  EXPECT_EQ(dir.Read("Inventarliste.txt"), layout::ListText(Sample(), 0));

  // A list that cannot be created, or not written whole: the message, and the
  // old list stays.
  platform::PlanFault(platform::kFaultCreate, 1);
  EXPECT_EQ(layout::WriteLists(layout::Layout(), 0), 0);
  platform::ClearFaults();
  platform::PlanFault(platform::kFaultWrite, 1);
  EXPECT_EQ(layout::WriteLists(layout::Layout(), 0), 0);
  platform::ClearFaults();
  EXPECT_EQ(messages.messages(),
            (std::vector<std::string>{Cp("Datei Inventarliste.txt kann nicht ge\xC3\xB6" "ffnet werden!"),
                                      "Fehler beim Schreiben von Inventarliste.txt!\n"}));
  EXPECT_EQ(dir.Read("Inventarliste.txt"), layout::ListText(Sample(), 0));
  EXPECT_EQ(dir.List(), std::vector<std::string>{"Inventarliste.txt"});
  ASSERT_TRUE(platform::ChangeDirectory(saved));
}

TEST(ListsTest, NameListKeepsFirstSpellingAndOrderAtAnySize) {
  layout::NameList names;
  EXPECT_EQ(names.Intern("Haus"), "Haus");
  EXPECT_EQ(names.Intern("hAUS"), "Haus");
  EXPECT_EQ(names.Intern(Cp("h\xC3\xA4us")), Cp("h\xC3\xA4us"));
  EXPECT_EQ(names.Intern(Cp("H\xC3\x84US")), Cp("H\xC3\x84US"));
  EXPECT_EQ(names.Intern(std::string("a\0b", 3)), std::string("a\0b", 3));
  EXPECT_EQ(names.Intern(std::string("A\0B", 3)), std::string("a\0b", 3));
  EXPECT_EQ(names.Intern(std::string(5000, 'x')), std::string(5000, 'x'));
  EXPECT_EQ(names.count(), 5);

  // Many names, each met twice in another case: every first spelling once,
  // in order.
  layout::NameList many;
  for (int round = 0; round < 2; ++round) {
    for (int i = 0; i < 40000; ++i) {
      std::string name = "Wagen " + std::to_string(i);
      if (round == 1) name = "WAGEN " + std::to_string(i);
      many.Intern(name);
    }
  }
  ASSERT_EQ(many.count(), 40000);
  EXPECT_EQ(many.items()[0], "Wagen 0");
  EXPECT_EQ(many.items()[39999], "Wagen 39999");
}

}  // namespace
