// The record lists: types, removals of what the installation lacks,
// duplicate models. (The trailer order is checked by the reader and writer tests.)
#include "layout/layout.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <vector>

#include "host/installation.h"
#include "layout/generated_layout.h"
#include "layout/removal.h"
#include "support/test_support.h"

namespace {

using layout::Layout;
using layout::ModelRecord;
using layout::TrackRecord;
using Ints = std::vector<int>;
const int kNone = layout::kNoModel;

layout::RollingStockRecord Unit(int id, const std::string& name = "", int a = 0, int b = 0) {
  layout::RollingStockRecord u;
  u.id = static_cast<std::int16_t>(id), u.name = name;
  u.neighbourA = static_cast<std::int16_t>(a), u.neighbourB = static_cast<std::int16_t>(b);
  return u;
}

ModelRecord Model(int id, const std::string& name) {
  ModelRecord m;
  m.id = static_cast<std::int16_t>(id), m.name = name;
  return m;
}

// Id and neighbours of each unit; id of each model with the link of the track at its index.
Ints Units(const Layout& l) {
  Ints out;
  for (const auto& u : l.rollingStock) out.insert(out.end(), {u.id, u.neighbourA, u.neighbourB});
  return out;
}
Ints ModelsAndLinks(const Layout& l) {
  Ints out;
  for (std::size_t i = 0; i < l.models.size(); ++i) out.insert(out.end(), {l.models[i].id, l.tracks[i].linkedModel});
  return out;
}
void LinkEachTrackToItsModel(Layout& l) {
  l.tracks.resize(l.models.size());
  for (std::size_t i = 0; i < l.tracks.size(); ++i) l.tracks[i].linkedModel = static_cast<int>(i);
}

TEST(LayoutTest, TypesFollowEndCountAndVariant) {
  // type, end count, variant value, type after; 6 and 11 never change.
  const int rows[][4] = {{1, 1, 0, 2}, {1, 2, 0, 1}, {7, 2, 0, 1}, {1, 2, -7, 7}, {1, 3, 0, 3}, {1, 3, 1, 8},
                         {9, 4, 0, 4}, {1, 4, 1, 9}, {1, 5, 1, 1}, {1, 0, 1, 1},  {6, 1, 0, 6}, {11, 1, 0, 11}};
  for (const auto& row : rows) {
    TrackRecord t;
    t.type = row[0], t.endCount = static_cast<std::int16_t>(row[1]), t.variantValue = row[2];
    t.UpdateType();
    EXPECT_EQ(t.type, row[3]) << row[0] << " " << row[1] << " " << row[2];
  }
}

TEST(LayoutTest, RemovalOfWhatTheInstallationLacks) {
  testing_support::TempDir host;
  for (const char* file : {"Modelle\\Haus.mod", "Modelle\\..\\Bruecken\\Stein.mod", "GBO\\Bahnhof.gbo",
                           "Rollmaterial\\Wagen.rm"}) {
    host.Write(file, "x");
  }
  host::SetHostDirectoryOverride(host.windows());
  Layout l;
  // A missing unit's id goes, with every unit that has it and every reference to it.
  l.rollingStock = {Unit(1, "Wagen.rm", 0, 2), Unit(2, "Fehlt.rm", 1, 3), Unit(3, "Wagen.rm", 2, -4),
                    Unit(-4, "Auch weg.rm", 3, 0), Unit(0, "Fehlt.rm"), Unit(3, "Fehlt.rm")};
  EXPECT_EQ(layout::RemoveMissingRollingStock(&l), 4);
  EXPECT_EQ(Units(l), (Ints{1, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
  l.rollingStock = {Unit(1, "Wagen.rm", 2, 3)};
  EXPECT_EQ(layout::RemoveMissingRollingStock(&l), 0);
  EXPECT_EQ(Units(l), (Ints{1, 2, 3}));

  // A missing GBO leaves plain track (type 1, or 7 with a variant) named "Gleis".
  TrackRecord t;
  t.id = 9, t.type = 6, t.endCount = 2, t.name = "Bahnhofsgleis", t.connections[0].linkId = 4;
  t.gboName = "GBO\\Fehlt.gbo";
  l.tracks = {t, t, t, t};
  l.tracks[1].variantValue = 5;
  l.tracks[2].gboName = "gbo\\bahnhof.GBO";  // present, found ignoring case
  l.tracks[3].type = 1;                      // not a GBO piece
  EXPECT_EQ(layout::RemoveMissingGbos(&l), 2);
  const int types[] = {1, 7, 6, 1};
  const char* names[] = {"Gleis", "Gleis", "Bahnhofsgleis", "Bahnhofsgleis"};
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(l.tracks[i].type, types[i]) << i;
    EXPECT_EQ(l.tracks[i].name, names[i]) << i;
    EXPECT_EQ(l.tracks[i].id, 9);
    EXPECT_EQ(l.tracks[i].connections[0].linkId, 4);
  }

  // A missing model: that record itself, not one sharing its id, and the links to it.
  l.models = {Model(5, "Haus"), Model(5, "Fehlt"), Model(6, "..\\Bruecken\\Stein"), Model(6, "..\\Bruecken\\Weg")};
  LinkEachTrackToItsModel(l);
  EXPECT_EQ(layout::RemoveMissingRealEstate(&l), 2);
  EXPECT_EQ(ModelsAndLinks(l), (Ints{5, 0, 0, kNone, 6, 2, 0, kNone}));
  host::SetHostDirectoryOverride("");
}

// The pairwise rule: every later live model equal to an earlier live one is
// removed, and only the links to the removed record are cleared.
void RemoveDuplicatesPairwise(Layout& l) {
  for (std::size_t i = 0; i < l.models.size(); ++i) {
    for (std::size_t j = i + 1; l.models[i].id != 0 && j < l.models.size(); ++j) {
      if (l.models[j].id == 0 || !ModelRecord::Equals(l.models[i], l.models[j])) continue;
      l.models[j].id = 0;
      for (TrackRecord& t : l.tracks) t.linkedModel = t.linkedModel == static_cast<int>(j) ? kNone : t.linkedModel;
    }
  }
}

TEST(LayoutTest, DuplicateRemovalMatchesThePairwiseRule) {
  int removedSomewhere = 0;
  for (std::uint32_t seed = 1; seed <= 40; ++seed) {
    Layout indexed = generated_layout::Generate(seed, 60, 150);
    const int before = indexed.CountLiveModels();
    generated_layout::Random r(seed);
    for (TrackRecord& t : indexed.tracks) t.linkedModel = r.Below(3) == 0 ? r.Below(150) : kNone;
    Layout pairwise = indexed;
    indexed.RemoveDuplicateModels();
    RemoveDuplicatesPairwise(pairwise);
    for (std::size_t i = 0; i < indexed.models.size(); ++i) {
      ASSERT_EQ(indexed.models[i].id, pairwise.models[i].id) << seed << " " << i;
    }
    for (std::size_t i = 0; i < indexed.tracks.size(); ++i) {
      ASSERT_EQ(indexed.tracks[i].linkedModel, pairwise.tracks[i].linkedModel) << seed << " " << i;
    }
    removedSomewhere += indexed.CountLiveModels() < before;
  }
  EXPECT_GT(removedSomewhere, 30);

  // Names compare byte for byte, directions as reals (-0.0 is 0.0, NaN equals nothing).
  ModelRecord a = Model(1, "Haus"), b = Model(1, "haus");
  EXPECT_FALSE(ModelRecord::Equals(a, b));
  b = a;
  b.direction.x = -0.0f;
  EXPECT_TRUE(ModelRecord::Equals(a, b));
  b.direction.y = std::numeric_limits<float>::quiet_NaN();
  EXPECT_FALSE(ModelRecord::Equals(b, b));
}

}  // namespace
