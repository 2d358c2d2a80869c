// The three passes that remove references to files the installation lacks.

#include "layout/removal.h"

#include <gtest/gtest.h>

#include <string>

#include "host/installation.h"
#include "support/test_support.h"

namespace {

using testing_support::TempDir;

class RemovalTest : public ::testing::Test {
 protected:
  void SetUp() override {
    host_.Write("Modelle\\Haus.mod", "m");
    host_.Write("Modelle\\..\\Bruecken\\Stein.mod", "m");
    host_.Write("GBO\\Bahnhof.gbo", "g");
    host_.Write("Rollmaterial\\Wagen.rm", "r");
    host::SetHostDirectoryOverride(host_.windows());
  }
  void TearDown() override { host::SetHostDirectoryOverride(""); }

  TempDir host_;
};

layout::RollingStockRecord Unit(int id, const std::string& name, int a = 0, int b = 0) {
  layout::RollingStockRecord u;
  u.id = static_cast<std::int16_t>(id);
  u.name = name;
  u.neighbourA = static_cast<std::int16_t>(a);
  u.neighbourB = static_cast<std::int16_t>(b);
  return u;
}

TEST_F(RemovalTest, RollingStockRemovesTheIdAndEveryReferenceToIt) {
  layout::Layout l;
  l.rollingStock.push_back(Unit(1, "Wagen.rm", 0, 2));
  l.rollingStock.push_back(Unit(2, "Fehlt.rm", 1, 3));
  l.rollingStock.push_back(Unit(3, "Wagen.rm", 2, -4));
  l.rollingStock.push_back(Unit(-4, "Auch weg.rm", 3, 0));
  l.rollingStock.push_back(Unit(0, "Fehlt.rm", 0, 0));  // removed before: nothing more happens
  l.rollingStock.push_back(Unit(3, "Fehlt.rm", 0, 0));  // its id goes, with every unit that has it
  EXPECT_EQ(layout::RemoveMissingRollingStock(&l), 4);
  const int ids[] = {1, 0, 0, 0, 0, 0};
  const int a[] = {0, 1, 0, 0, 0, 0};
  const int b[] = {0, 0, 0, 0, 0, 0};
  for (std::size_t i = 0; i < l.rollingStock.size(); ++i) {
    EXPECT_EQ(l.rollingStock[i].id, ids[i]) << i;
    EXPECT_EQ(l.rollingStock[i].neighbourA, a[i]) << i;
    EXPECT_EQ(l.rollingStock[i].neighbourB, b[i]) << i;
  }

  // Nothing missing: nothing changes.
  layout::Layout whole;
  whole.rollingStock.push_back(Unit(1, "Wagen.rm", 2, 3));
  EXPECT_EQ(layout::RemoveMissingRollingStock(&whole), 0);
  EXPECT_EQ(whole.rollingStock[0].neighbourA, 2);
}

TEST_F(RemovalTest, GbosBecomePlainTrack) {
  layout::Layout l;
  layout::TrackRecord t;
  t.id = 9;
  t.type = 6;
  t.endCount = 2;
  t.name = "Bahnhofsgleis";
  t.start = {1, 2, 3};
  t.connections[0].linkId = 4;
  t.gboName = "GBO\\Fehlt.gbo";
  l.tracks.push_back(t);  // variant 0: type 1
  t.variantValue = 5;
  l.tracks.push_back(t);  // variant set: type 7
  t.gboName = "gbo\\bahnhof.GBO";
  l.tracks.push_back(t);  // present (found ignoring case)
  t.type = 1;
  t.gboName = "GBO\\Fehlt.gbo";
  l.tracks.push_back(t);  // not a GBO piece
  EXPECT_EQ(layout::RemoveMissingGbos(&l), 2);
  EXPECT_EQ(l.tracks[0].type, 1);
  EXPECT_EQ(l.tracks[0].name, "Gleis");
  EXPECT_EQ(l.tracks[0].id, 9);
  EXPECT_EQ(l.tracks[0].start.y, 2);
  EXPECT_EQ(l.tracks[0].connections[0].linkId, 4);
  EXPECT_EQ(l.tracks[1].type, 7);
  EXPECT_EQ(l.tracks[1].name, "Gleis");
  EXPECT_EQ(l.tracks[2].type, 6);
  EXPECT_EQ(l.tracks[2].name, "Bahnhofsgleis");
  EXPECT_EQ(l.tracks[3].name, "Bahnhofsgleis");
}

TEST_F(RemovalTest, RealEstateRemovesTheMissingRecordItselfAndItsLinks) {
  layout::Layout l;
  layout::ModelRecord m;
  m.id = 5;
  m.name = "Haus";
  l.models.push_back(m);  // 0: present, shares its id with a missing one
  m.name = "Fehlt";
  l.models.push_back(m);  // 1: missing
  m.id = 6;
  m.name = "..\\Bruecken\\Stein";
  l.models.push_back(m);  // 2: present
  m.name = "..\\Bruecken\\Weg";
  l.models.push_back(m);  // 3: missing, shares id 6 with a present one
  layout::TrackRecord t;
  for (int linked : {0, 1, 2, 3}) {
    t.linkedModel = linked;
    l.tracks.push_back(t);
  }
  EXPECT_EQ(layout::RemoveMissingRealEstate(&l), 2);
  EXPECT_EQ(l.models[0].id, 5);
  EXPECT_EQ(l.models[1].id, 0);
  EXPECT_EQ(l.models[2].id, 6);
  EXPECT_EQ(l.models[3].id, 0);
  EXPECT_EQ(l.tracks[0].linkedModel, 0);
  EXPECT_EQ(l.tracks[1].linkedModel, layout::kNoModel);
  EXPECT_EQ(l.tracks[2].linkedModel, 2);
  EXPECT_EQ(l.tracks[3].linkedModel, layout::kNoModel);
}

}  // namespace
