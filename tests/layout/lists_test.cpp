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

// Names used repeatedly, in mixed case, with a removed record.
layout::Layout Sample() {
  layout::Layout l;
  // (Ü is not folded: a second name; the last model is removed in memory, still listed.)
  for (const std::string& name : std::vector<std::string>{"Haus", "Kirche", "haus", "HAUS", "Haeuser\\Bahnhof",
                                                          Cp("Br\xC3\xBC" "cke"), Cp("BR\xC3\x9C" "CKE"), "Scheune"}) {
    l.models.emplace_back(), l.models.back().id = name == "Scheune" ? 0 : 1, l.models.back().name = name;
  }
  // Type 1: not a GBO piece, never listed.
  for (auto gbo : {std::make_pair(6, "GBO\\Bahnhof.gbo"), std::make_pair(1, "GBO\\Alt.gbo"),
                   std::make_pair(6, "gbo\\BAHNHOF.GBO"), std::make_pair(6, "Turm.gbo")}) {
    l.tracks.emplace_back(), l.tracks.back().type = gbo.first, l.tracks.back().gboName = gbo.second;
  }
  for (const char* name : {"Loks\\V100.dll", "Wagen.rm", "loks\\v100.DLL"}) {
    l.rollingStock.emplace_back(), l.rollingStock.back().name = name;
  }
  return l;
}

const std::string kHeadingsOnly = "Immobilien:\r\n\r\nGBOs:\r\n\r\nRollmaterial:\r\n";

TEST(ListsTest, InventoryAndMissingListsNameEachFileOncePerGroup) {
  EXPECT_EQ(layout::ListText(layout::Layout(), 0), kHeadingsOnly);
  EXPECT_EQ(layout::ListText(Sample(), 0),
            "Immobilien:\r\nHaus.mod\r\nKirche.mod\r\nHaeuser\\Bahnhof.mod\r\n" +
                Cp("Br\xC3\xBC" "cke.mod\r\nBR\xC3\x9C" "CKE.mod\r\n") +
                "Scheune.mod\r\n\r\nGBOs:\r\nGBO\\Bahnhof.gbo\r\nTurm.gbo\r\n"
                "\r\nRollmaterial:\r\nLoks\\V100.dll\r\nWagen.rm\r\n");

  testing_support::TempDir host;
  for (const char* file :
       {"Modelle\\Haus.mod", "Modelle\\Haeuser\\Bahnhof.mod", "GBO\\Bahnhof.gbo", "Rollmaterial\\Wagen.rm"}) {
    host.Write(file, "x");
  }
  host::SetHostDirectoryOverride(host.windows());
  EXPECT_EQ(layout::ListText(Sample(), 1),
            "Immobilien:\r\nKirche.mod\r\n" + Cp("Br\xC3\xBC" "cke.mod\r\nBR\xC3\x9C" "CKE.mod\r\n") +
                "Scheune.mod\r\n\r\nGBOs:\r\nTurm.gbo\r\n\r\nRollmaterial:\r\nLoks\\V100.dll\r\n");
  layout::Layout present = Sample();
  present.models.resize(1);  // the first of each group: all present
  present.tracks.resize(1);
  present.rollingStock.erase(present.rollingStock.begin());
  present.rollingStock.resize(1);
  EXPECT_EQ(layout::ListText(present, 1), kHeadingsOnly);
  host::SetHostDirectoryOverride("");
}

TEST(ListsTest, WritesIntoTheCurrentFolderSafely) {
  testing_support::TempDir dir;
  const std::string saved = platform::CurrentDirectory();
  ASSERT_TRUE(platform::ChangeDirectory(dir.windows()));
  testing_support::MessageRecorder messages;
  EXPECT_EQ(layout::WriteLists(Sample(), 0), 1);
  EXPECT_EQ(dir.Read("Inventarliste.txt"), layout::ListText(Sample(), 0));
  // A list not written whole: the message, and the old list stays. (A list that
  // cannot be created: the inventory end-to-end test.)
  platform::PlanFault(platform::kFaultWrite, 1);
  EXPECT_EQ(layout::WriteLists(layout::Layout(), 0), 0);
  platform::ClearFaults();
  EXPECT_EQ(messages.messages(), std::vector<std::string>{"Fehler beim Schreiben von Inventarliste.txt!\n"});
  EXPECT_EQ(dir.Read("Inventarliste.txt"), layout::ListText(Sample(), 0));
  EXPECT_EQ(dir.List(), std::vector<std::string>{"Inventarliste.txt"});
  ASSERT_TRUE(platform::ChangeDirectory(saved));
}

TEST(ListsTest, NameListKeepsFirstSpellingAndOrderAtAnySize) {
  layout::NameList names;
  const std::string nul("a\0b", 3);
  for (const std::string& name : {std::string("Haus"), std::string("hAUS"), Cp("h\xC3\xA4us"), Cp("H\xC3\x84US"),
                                  nul, std::string("A\0B", 3), std::string(5000, 'x')}) names.Intern(name);
  EXPECT_EQ(names.items(), (std::vector<std::string>{"Haus", Cp("h\xC3\xA4us"), Cp("H\xC3\x84US"), nul,
                                                     std::string(5000, 'x')}));
  // Many names, each met twice in another case: every first spelling once, in order.
  layout::NameList many;
  for (const char* prefix : {"Wagen ", "WAGEN "}) {
    for (int i = 0; i < 40000; ++i) many.Intern(prefix + std::to_string(i));
  }
  ASSERT_EQ(many.count(), 40000);
  EXPECT_EQ(many.items()[0], "Wagen 0");
  EXPECT_EQ(many.items()[39999], "Wagen 39999");
  EXPECT_EQ(names.Intern("HAUS"), "Haus");
}

}  // namespace
