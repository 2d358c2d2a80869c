// Which objects count as missing, and what each removal pass takes away, on a
// real installation folder with one present and one missing object per kind.
#include <gtest/gtest.h>

#include "host/installation.h"
#include "layout/lists.h"
#include "layout/removal.h"
#include "support/test_support.h"

TEST(RemovalTest, MissingObjectsAreListedAndRemovedKindByKind) {
  testing_support::TempDir host;
  for (const char* file : {"Modelle\\Haus.mod", "Gbo\\Da.gbo", "Rollmaterial\\Lok.rm"}) host.Write(file, "x");
  host::SetHostDirectoryOverride(host.windows());
  layout::Layout l;
  for (const char* name : {"Haus", "Weg"}) l.models.emplace_back(), l.models.back().id = 1, l.models.back().name = name;
  for (const char* gbo : {"Gbo\\Da.gbo", "Gbo\\Weg.gbo", "Gbo\\Weg.gbo"}) {
    l.tracks.emplace_back(), l.tracks.back().id = 1, l.tracks.back().type = 6, l.tracks.back().gboName = gbo;
  }
  l.tracks[2].type = 1;  // not a GBO piece: its name is no file
  l.tracks[0].linkedModel = 1;
  for (const char* name : {"Lok.rm", "Weg.rm", "Lok.rm"}) l.rollingStock.emplace_back(), l.rollingStock.back().name = name;
  for (int i = 0; i < 3; ++i) l.rollingStock[i].id = static_cast<std::int16_t>(i + 1);
  l.rollingStock[0].neighbourA = 2, l.rollingStock[2].neighbourB = 2, l.rollingStock[2].neighbourA = 1;
  EXPECT_EQ(layout::ListText(l, 1), "Immobilien:\r\nWeg.mod\r\n\r\nGBOs:\r\nGbo\\Weg.gbo\r\n\r\nRollmaterial:\r\nWeg.rm\r\n");

  EXPECT_EQ(layout::RemoveMissingRealEstate(&l), 1);
  EXPECT_EQ(l.models[0].id * 10 + l.models[1].id, 10);
  EXPECT_EQ(l.tracks[0].linkedModel, layout::kNoModel);
  EXPECT_EQ(layout::RemoveMissingGbos(&l), 1);
  EXPECT_EQ(std::to_string(l.tracks[0].type) + l.tracks[1].name + std::to_string(l.tracks[1].type) +
                std::to_string(l.tracks[2].type),
            "6Gleis11");
  EXPECT_EQ(layout::RemoveMissingRollingStock(&l), 1);
  EXPECT_EQ(l.rollingStock[1].id, 0);
  EXPECT_EQ(l.rollingStock[0].neighbourA + l.rollingStock[2].neighbourB, 0);
  EXPECT_EQ(l.rollingStock[2].neighbourA, 1);
  host::SetHostDirectoryOverride("");
}
