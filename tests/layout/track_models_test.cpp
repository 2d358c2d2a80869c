#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <utility>
#include <vector>

#include "layout/generated_layout.h"
#include "layout/layout.h"

namespace {

using layout::Direction;
using layout::Layout;
using layout::ModelRecord;
using layout::Point;
using layout::TrackRecord;

TrackRecord Piece(Point start, Point end, Direction direction, int endCount = 1) {
  TrackRecord t;
  t.id = 1, t.type = endCount == 1 ? 2 : 1, t.endCount = static_cast<std::int16_t>(endCount);
  t.start = start, t.end = end, t.startDirection = direction;
  return t;
}

ModelRecord Placed(const char* name, Point position, Direction direction) {
  ModelRecord m;
  m.id = 1, m.name = name, m.position = position, m.direction = direction;
  return m;
}

const int kMin = -2147483647 - 1;

std::vector<int> Xyz(const Point& p) { return {p.x, p.y, p.z}; }

TEST(TrackModelsTest, EndDirectionsAndBufferStopPlaces) {
  const float kDiagonal = 0.70710677f;  // cos 45 degrees in single precision
  const float kNaN = std::numeric_limits<float>::quiet_NaN();
  struct Case {
    const char* what;
    Point start, end;
    Direction direction;
    int hasDirection;
    float x, y;  // the end direction
    int hasStop;
    Point stop;
  };
  const Case cases[] = {
      {"straight", {0, 0, 0}, {1000, 0, 0}, {1, 0, 0}, 1, 1, 0, 1, {700, 0, 0}},
      // Straight at 45 degrees although the direction is a float.
      {"diagonal", {0, 0, 50}, {1000, 1000, 50}, {kDiagonal, kDiagonal, 0}, 1, 1, 1, 1, {700, 700, 50}},
      {"backwards", {0, 0, 0}, {-1000, 1000, 0}, {-kDiagonal, kDiagonal, 0}, 1, -1, 1, 1, {-700, 700, 0}},
      // Longer than 463 m: the squared chord and the end difference overflow 32 bits.
      {"long", {0, 0, 0}, {100000, 100000, 0}, {kDiagonal, kDiagonal, 0}, 1, 1, 1, 1, {99700, 99700, 0}},
      {"huge", {-2000000000, 5, 0}, {2000000000, 5, 7}, {1, 0, 0}, 1, 1, 0, 1, {1999999700, 5, 7}},
      {"quarter arc", {0, 0, 0}, {1000, 1000, 0}, {1, 0, 0}, 1, 0, 1, 1, {1000, 700, 0}},
      {"arc wrapping", {0, 0, 0}, {-1000, 1000, 0}, {-1, -0.001f, 0}, 1, 0.0009999995f, 0.9999995f, 1, {-1000, 700, 0}},
      // An arc toward -x ending at 60 degrees: its buffer stop lies outside 32 bits.
      {"edge", {kMin + 1000, 0, 0}, {kMin + 100, 0, 0}, {0.5f, -0.8660254f, 0}, 1, 0.5f, 0.8660254f, 0, {}},
      {"no chord", {10, 20, 0}, {10, 20, 500}, {1, 0, 0}, 0, 0, 0, 0, {}},
      {"NaN", {0, 0, 0}, {1000, 500, 0}, {kNaN, 0, 0}, 0, 0, 0, 0, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TrackRecord t = Piece(c.start, c.end, c.direction);
    Direction d{9.0f, 9.0f, 9.0f};
    Point p{1, 2, 3};
    ASSERT_EQ(t.EndDirection(&d), c.hasDirection);
    EXPECT_NEAR(d.x, c.hasDirection ? c.x : 9.0f, 1e-6);
    EXPECT_NEAR(d.y, c.hasDirection ? c.y : 9.0f, 1e-6);
    EXPECT_EQ(d.z, c.hasDirection ? 0.0f : 9.0f);
    EXPECT_EQ(t.BufferStopPosition(&p), c.hasStop);
    EXPECT_EQ(Xyz(p), Xyz(c.hasStop ? c.stop : Point{1, 2, 3}));
  }
}

TEST(TrackModelsTest, BridgesStandAtTheMiddleRoundedHalfAwayFromZero) {
  Layout l;
  // Sums 3, -3, -1, 1 and 0 in x; 5, -5 in y; 7 and -7 in z; and beyond 32 bits.
  const Point ends[][2] = {{{0, 0, 0}, {3, 5, 7}},   {{0, 0, 0}, {-3, -5, -7}}, {{-1, 0, 0}, {0, 0, 0}},
                           {{1, 1, 0}, {0, 0, 0}},   {{-5, 0, 0}, {5, 1, 0}},
                           {{2147483647, kMin, 0}, {2147483646, kMin, 2}}};
  for (std::size_t i = 0; i < 6; ++i) {
    l.tracks.push_back(Piece(ends[i][0], ends[i][1], {0, 1, 0}, 2));
    l.models.push_back(Placed("..\\Bruecken\\Holz", {0, 0, 0}, {0.0f, 1.0f, 0.0f}));
    l.tracks[i].linkedModel = static_cast<int>(i);
  }
  l.RefreshLinkedModels();
  const std::vector<std::vector<int>> expected = {{2, 3, 4},  {-2, -3, -4}, {-1, 0, 0},
                                                  {1, 1, 0},  {0, 1, 0},    {2147483647, kMin, 1}};
  for (std::size_t i = 0; i < 6; ++i) EXPECT_EQ(Xyz(l.models[i].position), expected[i]) << i;
}

// Which model links to which track is checked against the pairwise rule below.
TEST(TrackModelsTest, ASavePlacesLinkedModelsFromTheirTracks) {
  Layout l;
  l.tracks = {Piece({0, 0, 0}, {1000, 0, 100}, {1.0f, 0.0f, 0.0f}, 2),
              Piece({0, 900, 0}, {1000, 900, 20}, {1.0f, -0.0f, 0.0f}, 1),
              Piece({10, 20, 0}, {10, 20, 500}, {1.0f, 0.0f, 0.0f})};  // no end direction
  l.models = {Placed("..\\Bruecken\\Stein", {500, 0, -999}, {1.0f, 0.0f, 0.0f}),  // height ignored
              Placed("..\\Prellbock", {700, 900, 0}, {1.0f, 0.0f, 0.0f}),
              Placed("..\\Prellbock\\A", {-290, 20, 0}, {1.0f, 0.0f, 0.0f})};
  l.LinkTrackModels();
  EXPECT_EQ(l.tracks[0].linkedModel, 0);
  EXPECT_EQ(l.tracks[1].linkedModel, 1);
  EXPECT_EQ(l.tracks[2].linkedModel, layout::kNoModel);
  // A stop linked by hand to a piece without an end direction stays where it is.
  l.tracks[2].linkedModel = 2;
  l.RefreshLinkedModels();
  EXPECT_EQ(Xyz(l.models[0].position), (std::vector<int>{500, 0, 50}));
  EXPECT_EQ(Xyz(l.models[1].position), (std::vector<int>{700, 900, 20}));
  EXPECT_FALSE(std::signbit(l.models[1].direction.y));  // the end direction, not the start's -0.0
  EXPECT_EQ(Xyz(l.models[2].position), (std::vector<int>{-290, 20, 0}));
}

// The pairwise rule: every model against every track in list order.
void LinkPairwise(Layout& l) {
  for (TrackRecord& t : l.tracks) t.linkedModel = layout::kNoModel;
  for (std::size_t m = 0; m < l.models.size(); ++m) {
    const ModelRecord& model = l.models[m];
    const bool bridge = model.name.compare(0, 11, "..\\Bruecken") == 0;
    const bool stop = !bridge && model.name.compare(0, 12, "..\\Prellbock") == 0;
    for (TrackRecord& t : l.tracks) {
      Point p;
      Direction d = t.startDirection;
      if (bridge) {
        p.x = static_cast<std::int32_t>(std::round((static_cast<double>(t.start.x) + t.end.x) * 0.5));
        p.y = static_cast<std::int32_t>(std::round((static_cast<double>(t.start.y) + t.end.y) * 0.5));
      } else if (!stop || t.endCount != 1 || !t.BufferStopPosition(&p) || !t.EndDirection(&d)) {
        continue;
      }
      if (p.x == model.position.x && p.y == model.position.y && d.x == model.direction.x &&
          d.y == model.direction.y && d.z == model.direction.z) {
        t.linkedModel = static_cast<int>(m);
        break;
      }
    }
  }
}

TEST(TrackModelsTest, LinkingMatchesThePairwiseRule) {
  int linked = 0;
  for (std::uint32_t seed = 1; seed <= 60; ++seed) {
    Layout indexed = generated_layout::Generate(seed, 80, 120);
    Layout pairwise = indexed;
    indexed.LinkTrackModels();
    LinkPairwise(pairwise);
    for (std::size_t t = 0; t < indexed.tracks.size(); ++t) {
      ASSERT_EQ(indexed.tracks[t].linkedModel, pairwise.tracks[t].linkedModel) << seed << " " << t;
      linked += indexed.tracks[t].linkedModel != layout::kNoModel;
    }
  }
  EXPECT_GT(linked, 500);
}

}  // namespace
