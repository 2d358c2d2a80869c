#include "layout/layout.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <vector>

#include "layout/generated_layout.h"

namespace {

using layout::Layout;
using layout::ModelRecord;
using layout::RollingStockRecord;
using layout::TrackRecord;

RollingStockRecord UnitWithId(int id) {
  RollingStockRecord u;
  u.id = static_cast<std::int16_t>(id);
  return u;
}

TEST(LayoutTest, CountsAndReleaseLookAtIdsOnly) {
  Layout l;
  EXPECT_EQ(l.CountLiveTracks() + l.CountLiveModels() + l.CountLiveRollingStock(), 0);
  l.tracks.resize(3);
  l.tracks[1].id = 5;
  l.models.resize(2);
  l.models[0].id = -3;
  l.rollingStock = {UnitWithId(1), UnitWithId(1), UnitWithId(0), UnitWithId(30000)};
  l.cameraViews[2].PX = 9;
  l.loaded = 1;
  EXPECT_EQ(l.CountLiveTracks(), 1);
  EXPECT_EQ(l.CountLiveModels(), 1);
  EXPECT_EQ(l.CountLiveRollingStock(), 3);
  l.Release();
  EXPECT_TRUE(l.tracks.empty() && l.models.empty() && l.rollingStock.empty());
  EXPECT_EQ(l.cameraViews[2].PX, 9);
  EXPECT_EQ(l.loaded, 1);
  l.Release();  // safe on an empty layout
}

TEST(LayoutTest, NextRollingStockByIdVisitsAscendingIdsBelow30000Once) {
  Layout l;
  for (int id : {7, 3, 0, -4, 30000, 32767, 3, 29999, 1, 7, -32768, 12}) {
    l.rollingStock.push_back(UnitWithId(id));
  }
  std::vector<int> visited;
  std::int16_t previous = 0;
  for (int index; (index = l.NextRollingStockById(previous)) >= 0;) {
    visited.push_back(index);
    EXPECT_EQ(previous, l.rollingStock[static_cast<std::size_t>(index)].id);
  }
  EXPECT_EQ(previous, 30000);
  EXPECT_EQ(visited, (std::vector<int>{8, 1, 0, 11, 7}));  // ids 1, 3, 7, 12, 29999
  EXPECT_EQ(l.TrailerOrder(), visited);

  // The same on generated lists with many repeated ids.
  generated_layout::Random r(5);
  for (int round = 0; round < 20; ++round) {
    Layout g;
    for (int i = 0; i < 200; ++i) g.rollingStock.push_back(UnitWithId(r.Below(80) * 400 - 800));
    std::vector<int> walk;
    std::int16_t id = 0;
    for (int index; (index = g.NextRollingStockById(id)) >= 0;) walk.push_back(index);
    EXPECT_EQ(g.TrailerOrder(), walk);
  }
}

TEST(LayoutTest, RemovalsSetIdsToZeroAndKeepTheRecords) {
  Layout l;
  l.models.resize(3);
  l.models[0].id = 4;
  l.models[1].id = 6;
  l.models[2].id = 4;
  l.tracks.resize(3);
  l.tracks[0].linkedModel = 2;
  l.tracks[1].linkedModel = 1;
  l.tracks[2].linkedModel = 0;

  l.RemoveModel(4);  // every link to a model with id 4, then the first model with id 4
  EXPECT_EQ(l.models.size(), 3u);
  EXPECT_EQ(l.models[0].id, 0);
  EXPECT_EQ(l.models[2].id, 4);
  EXPECT_EQ(l.CountLiveModels(), 2);
  EXPECT_EQ(l.tracks[0].linkedModel, layout::kNoModel);
  EXPECT_EQ(l.tracks[1].linkedModel, 1);
  EXPECT_EQ(l.tracks[2].linkedModel, layout::kNoModel);

  l.tracks[0].linkedModel = 2;
  l.RemoveModelAt(1);  // this record and the links to it only
  EXPECT_EQ(l.models[1].id, 0);
  EXPECT_EQ(l.models[2].id, 4);
  EXPECT_EQ(l.tracks[0].linkedModel, 2);
  EXPECT_EQ(l.tracks[1].linkedModel, layout::kNoModel);
  l.RemoveModel(99);  // no such id: nothing changes
  EXPECT_EQ(l.CountLiveModels(), 1);

  RollingStockRecord a = UnitWithId(5), b = UnitWithId(8), c = UnitWithId(5);
  b.neighbourA = 3;
  b.neighbourAByte = 1;
  b.neighbourB = 5;
  b.neighbourBByte = 2;
  l.rollingStock = {a, b, c};
  l.RemoveRollingStock(5);
  EXPECT_EQ(l.rollingStock[0].id, 0);
  EXPECT_EQ(l.rollingStock[2].id, 0);
  EXPECT_EQ(l.rollingStock[1].id, 8);
  EXPECT_EQ(l.rollingStock[1].neighbourA, 3);
  EXPECT_EQ(l.rollingStock[1].neighbourB, 0);
  EXPECT_EQ(l.rollingStock[1].neighbourBByte, 2);
}

TEST(LayoutTest, TypeAndEndCountFollowEachOther) {
  const int endsOfType[][2] = {{1, 2}, {2, 1}, {3, 3}, {4, 4}, {6, 2}, {7, 2}, {8, 3}, {9, 4}};
  for (const auto& pair : endsOfType) {
    TrackRecord t;
    t.type = pair[0];
    t.endCount = 17;
    t.UpdateEndCount();
    EXPECT_EQ(t.endCount, pair[1]) << pair[0];
  }
  for (int type : {11, 5, 0}) {
    TrackRecord t;
    t.type = type;
    t.endCount = 17;
    t.UpdateEndCount();
    EXPECT_EQ(t.endCount, 17);
  }
  // endCount 1..4 with and without a variant value.
  const int typeOf[][3] = {{1, 2, 2}, {2, 1, 7}, {3, 3, 8}, {4, 4, 9}, {5, 1, 1}, {0, 1, 1}};
  for (const auto& row : typeOf) {
    for (int variant = 0; variant < 2; ++variant) {
      TrackRecord t;
      t.type = 1;
      t.endCount = static_cast<std::int16_t>(row[0]);
      t.variantValue = variant * -7;
      t.UpdateType();
      EXPECT_EQ(t.type, row[1 + variant]) << row[0] << " " << variant;
    }
  }
  for (int type : {6, 11}) {
    TrackRecord t;
    t.type = type;
    t.endCount = 1;
    t.UpdateType();
    EXPECT_EQ(t.type, type);
  }
}

// The pairwise rule: every later live model equal to an earlier live one is
// removed, and only the links to the removed record are cleared.
void RemoveDuplicatesPairwise(Layout& l) {
  for (std::size_t i = 0; i < l.models.size(); ++i) {
    if (l.models[i].id == 0) continue;
    for (std::size_t j = i + 1; j < l.models.size(); ++j) {
      if (l.models[j].id == 0 || !ModelRecord::Equals(l.models[i], l.models[j])) continue;
      l.models[j].id = 0;
      for (TrackRecord& t : l.tracks) {
        if (t.linkedModel == static_cast<int>(j)) t.linkedModel = layout::kNoModel;
      }
    }
  }
}

TEST(LayoutTest, DuplicateRemovalMatchesThePairwiseRule) {
  int removedSomewhere = 0;
  for (std::uint32_t seed = 1; seed <= 40; ++seed) {
    Layout indexed = generated_layout::Generate(seed, 60, 150);
    generated_layout::Random r(seed);
    for (TrackRecord& t : indexed.tracks) {
      t.linkedModel = r.Below(3) == 0 ? r.Below(150) : layout::kNoModel;
    }
    Layout pairwise = indexed;
    indexed.RemoveDuplicateModels();
    RemoveDuplicatesPairwise(pairwise);
    for (std::size_t i = 0; i < indexed.models.size(); ++i) {
      ASSERT_EQ(indexed.models[i].id, pairwise.models[i].id) << seed << " " << i;
    }
    for (std::size_t i = 0; i < indexed.tracks.size(); ++i) {
      ASSERT_EQ(indexed.tracks[i].linkedModel, pairwise.tracks[i].linkedModel) << seed << " " << i;
    }
    removedSomewhere += indexed.CountLiveModels() < generated_layout::Generate(seed, 60, 150).CountLiveModels();
  }
  EXPECT_GT(removedSomewhere, 30);
}

TEST(LayoutTest, DuplicateRemovalKeepsTheEarlierModelEvenWhenIdsRepeat) {
  Layout l;
  ModelRecord m;
  m.name = "Haus";
  m.position = {1, 2, 3};
  m.direction = {0.0f, 1.0f, 0.0f};
  ModelRecord unrelated = m;
  unrelated.name = "Kirche";
  l.models = {unrelated, m, m, m};
  l.models[0].id = 9;  // an unrelated model that shares the duplicate's id
  l.models[1].id = 5;
  l.models[2].id = 9;
  l.models[3].id = 0;  // already removed: takes no part
  l.models[3].direction.z = -0.0f;
  l.tracks.resize(2);
  l.tracks[0].linkedModel = 0;
  l.tracks[1].linkedModel = 2;
  l.RemoveDuplicateModels();
  EXPECT_EQ(l.models[0].id, 9);
  EXPECT_EQ(l.models[1].id, 5);
  EXPECT_EQ(l.models[2].id, 0);
  EXPECT_EQ(l.tracks[0].linkedModel, 0);
  EXPECT_EQ(l.tracks[1].linkedModel, layout::kNoModel);

  // Names differ by case, directions by -0.0, NaN: as reals and bytes say.
  ModelRecord a = m, b = m;
  b.name = "haus";
  EXPECT_FALSE(ModelRecord::Equals(a, b));
  b = m;
  b.direction.x = -0.0f;
  EXPECT_TRUE(ModelRecord::Equals(a, b));
  b.direction.y = std::numeric_limits<float>::quiet_NaN();
  EXPECT_FALSE(ModelRecord::Equals(b, b));
}

}  // namespace
