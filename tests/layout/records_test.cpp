// Linking and duplicate removal against the plain pairwise rules on generated layouts whose
// places and directions come from small sets, so that many collide. (Removals: the end-to-end tests.)
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "layout/layout.h"

namespace {

using namespace layout;

// A small deterministic generator (same numbers on every platform).
struct Random {
  explicit Random(std::uint32_t seed) : state(seed * 2654435761u + 1) {}
  int Below(int n) {
    state ^= state << 13, state ^= state >> 17, state ^= state << 5;
    return static_cast<int>(state % static_cast<std::uint32_t>(n));
  }
  std::uint32_t state;
};

Direction PickDirection(Random& r) {
  static const float kValues[] = {1.0f, 0.0f, -0.0f, -1.0f, 0.70710677f, 0.5f, std::numeric_limits<float>::quiet_NaN()};
  Direction d{kValues[r.Below(6)], kValues[r.Below(6)], 0.0f};
  d.z = r.Below(10) == 0 ? kValues[r.Below(7)] : 0.0f;
  return r.Below(20) == 0 ? Direction{kValues[6], d.y, d.z} : d;
}

Layout Generate(std::uint32_t seed, int trackCount, int modelCount) {
  Random r(seed);
  Layout l;
  static const int kTypes[] = {1, 2, 2, 3, 4, 6, 7, 8, 9, 11}, kDeltas[] = {0, 0, 300, -300, 1000, 1001, -1001};
  for (int i = 0; i < trackCount; ++i) {
    TrackRecord t;
    t.id = static_cast<std::int16_t>(r.Below(5) == 0 ? 0 : 1 + r.Below(3000)), t.type = kTypes[r.Below(10)];
    t.endCount = 2, t.startDirection = PickDirection(r),
    t.start = {100 * r.Below(4) - 150, 100 * r.Below(4), r.Below(3)};
    t.UpdateEndCount();
    t.end = {t.start.x + kDeltas[r.Below(7)], t.start.y + kDeltas[r.Below(7)], r.Below(50)};
    l.tracks.push_back(t);
  }
  static const char* kNames[] = {
      "..\\Bruecken\\Stein", "..\\Bruecken\\Holz", "..\\Prellbock\\A", "..\\Prellbock\\B", "Haus",
      "..\\bruecken\\Stein", "..\\Prellbock"};
  for (int i = 0; i < modelCount; ++i) {
    ModelRecord m;
    m.id = static_cast<std::int16_t>(r.Below(8) == 0 ? 0 : 1 + r.Below(200)), m.name = kNames[r.Below(7)];
    const int pick = r.Below(4);
    if (!l.models.empty() && pick == 0) {  // a copy of an earlier model, maybe with -0.0 for 0.0 or another id
      m = l.models[static_cast<std::size_t>(r.Below(static_cast<int>(l.models.size())))];
      if (m.direction.z == 0.0f && r.Below(2) == 0) m.direction.z = -m.direction.z;
      if (r.Below(3) == 0) m.id = static_cast<std::int16_t>(1 + r.Below(200));
    } else if (!l.tracks.empty() && pick == 1) {  // standing where a track puts its bridge or buffer stop
      const TrackRecord& t = l.tracks[static_cast<std::size_t>(r.Below(static_cast<int>(l.tracks.size())))];
      m.position = {static_cast<std::int32_t>(std::round((t.start.x + t.end.x) * 0.5)),
                    static_cast<std::int32_t>(std::round((t.start.y + t.end.y) * 0.5)), 0};
      m.direction = t.startDirection;
      Point p;
      Direction d;
      const bool stop =
          m.name.view().compare(0, 12, "..\\Prellbock") == 0 && t.BufferStopPosition(&p) && t.EndDirection(&d);
      if (stop) m.position = p, m.direction = d;
      m.position.z = r.Below(100);
    } else {
      m.position = {50 * r.Below(8) - 200, 50 * r.Below(8), r.Below(2)}, m.direction = PickDirection(r);
    }
    l.models.push_back(m);
  }
  return l;
}

// The pairwise rules: every model against every track in list order; every
// later live model equal to an earlier live one is removed with its links.
void LinkPairwise(Layout& l) {
  for (TrackRecord& t : l.tracks) t.linkedModel = kNoModel;
  for (std::size_t m = 0; m < l.models.size(); ++m) {
    const ModelRecord& model = l.models[m];
    const bool bridge = model.name.view().compare(0, 11, "..\\Bruecken") == 0;
    const bool stop = !bridge && model.name.view().compare(0, 12, "..\\Prellbock") == 0;
    for (TrackRecord& t : l.tracks) {
      Point p;
      Direction d = t.startDirection;
      if (bridge) {
        p.x = static_cast<std::int32_t>(std::round((static_cast<double>(t.start.x) + t.end.x) * 0.5));
        p.y = static_cast<std::int32_t>(std::round((static_cast<double>(t.start.y) + t.end.y) * 0.5));
      } else if (!stop || t.endCount != 1 || !t.BufferStopPosition(&p) || !t.EndDirection(&d)) {
        continue;
      }
      if (p.x == model.position.x && p.y == model.position.y && d.x == model.direction.x && d.y == model.direction.y &&
          d.z == model.direction.z) {
        t.linkedModel = static_cast<int>(m);
        break;
      }
    }
  }
}
void RemoveDuplicatesPairwise(Layout& l) {
  for (std::size_t i = 0; i < l.models.size(); ++i) {
    for (std::size_t j = i + 1; l.models[i].id != 0 && j < l.models.size(); ++j) {
      if (l.models[j].id == 0 || !ModelRecord::Equals(l.models[i], l.models[j])) continue;
      l.models[j].id = 0;
      for (TrackRecord& t : l.tracks) t.linkedModel = t.linkedModel == static_cast<int>(j) ? kNoModel : t.linkedModel;
    }
  }
}

// What the rules decide: each track's link and each model's id.
std::vector<int> Decided(const Layout& l) {
  std::vector<int> out;
  for (const TrackRecord& t : l.tracks) out.push_back(t.linkedModel);
  for (const ModelRecord& m : l.models) out.push_back(m.id);
  return out;
}

TEST(RecordsTest, LinkingAndDuplicateRemovalMatchThePairwiseRules) {
  int linked = 0, removed = 0;
  for (std::uint32_t seed = 1; seed <= 60; ++seed) {
    Layout indexed = Generate(seed, 80, 120), pairwise = indexed;
    indexed.LinkTrackModels();
    LinkPairwise(pairwise);
    ASSERT_EQ(Decided(indexed), Decided(pairwise)) << seed;
    for (const TrackRecord& t : indexed.tracks) linked += t.linkedModel != kNoModel;
    const int before = indexed.CountLiveModels();
    indexed.RemoveDuplicateModels();
    RemoveDuplicatesPairwise(pairwise);
    ASSERT_EQ(Decided(indexed), Decided(pairwise)) << seed;
    removed += indexed.CountLiveModels() < before;
  }
  EXPECT_GT(linked, 500);
  EXPECT_GT(removed, 40);
}

}  // namespace
