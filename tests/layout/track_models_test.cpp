#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <utility>

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
  t.id = 1;
  t.type = endCount == 1 ? 2 : 1;
  t.endCount = static_cast<std::int16_t>(endCount);
  t.start = start;
  t.end = end;
  t.startDirection = direction;
  return t;
}

ModelRecord Placed(const char* name, Point position, Direction direction) {
  ModelRecord m;
  m.id = 1;
  m.name = name;
  m.position = position;
  m.direction = direction;
  return m;
}

void ExpectPoint(const Point& p, int x, int y, int z) {
  EXPECT_EQ(p.x, x);
  EXPECT_EQ(p.y, y);
  EXPECT_EQ(p.z, z);
}

const float kDiagonal = 0.70710677f;  // cos 45 degrees in single precision

TEST(TrackModelsTest, StraightPiecesEndInTheirChordsDirection) {
  Direction d;
  Point p;
  TrackRecord straight = Piece({0, 0, 0}, {1000, 0, 0}, {1.0f, 0.0f, 0.0f});
  ASSERT_TRUE(straight.EndDirection(&d));
  EXPECT_EQ(d.x, 1.0f);
  EXPECT_EQ(d.y, 0.0f);
  EXPECT_EQ(d.z, 0.0f);
  ASSERT_TRUE(straight.BufferStopPosition(&p));
  ExpectPoint(p, 700, 0, 0);

  // A 45-degree straight stays straight although its direction is a float.
  TrackRecord diagonal = Piece({0, 0, 50}, {1000, 1000, 50}, {kDiagonal, kDiagonal, 0.0f});
  ASSERT_TRUE(diagonal.EndDirection(&d));
  EXPECT_EQ(d.x, 1.0f);
  EXPECT_EQ(d.y, 1.0f);
  ASSERT_TRUE(diagonal.BufferStopPosition(&p));
  ExpectPoint(p, 700, 700, 50);
  TrackRecord backwards = Piece({0, 0, 0}, {-1000, 1000, 0}, {-kDiagonal, kDiagonal, 0.0f});
  ASSERT_TRUE(backwards.EndDirection(&d));
  EXPECT_EQ(d.x, -1.0f);
  EXPECT_EQ(d.y, 1.0f);
  ASSERT_TRUE(backwards.BufferStopPosition(&p));
  ExpectPoint(p, -700, 700, 0);

  // Pieces longer than 463 m: dx*dx + dy*dy does not fit 32 bits, and the
  // difference of the ends does not either.
  TrackRecord longDiagonal = Piece({0, 0, 0}, {100000, 100000, 0}, {kDiagonal, kDiagonal, 0.0f});
  ASSERT_TRUE(longDiagonal.EndDirection(&d));
  EXPECT_EQ(d.x, 1.0f);
  EXPECT_EQ(d.y, 1.0f);
  TrackRecord huge = Piece({-2000000000, 5, 0}, {2000000000, 5, 7}, {1.0f, 0.0f, 0.0f});
  ASSERT_TRUE(huge.BufferStopPosition(&p));
  ExpectPoint(p, 1999999700, 5, 7);
  // A buffer stop that would lie outside 32-bit coordinates has no place.
  // (An arc whose chord runs toward -x but which ends facing 60 degrees.)
  const int kMin = -2147483647 - 1;
  TrackRecord edge = Piece({kMin + 1000, 0, 0}, {kMin + 100, 0, 0}, {0.5f, -0.8660254f, 0.0f});
  ASSERT_TRUE(edge.EndDirection(&d));
  EXPECT_NEAR(d.x, 0.5f, 1e-6);
  EXPECT_FALSE(edge.BufferStopPosition(&p));
}

TEST(TrackModelsTest, ArcsMirrorTheStartDirectionAboutTheChord) {
  Direction d;
  Point p;
  TrackRecord quarter = Piece({0, 0, 0}, {1000, 1000, 0}, {1.0f, 0.0f, 0.0f});
  ASSERT_TRUE(quarter.EndDirection(&d));
  EXPECT_NEAR(d.x, 0.0f, 1e-7);
  EXPECT_EQ(d.y, 1.0f);
  EXPECT_EQ(d.z, 0.0f);
  ASSERT_TRUE(quarter.BufferStopPosition(&p));
  ExpectPoint(p, 1000, 700, 0);

  // The angle difference wraps: start direction just below -x, chord to +y.
  TrackRecord wrap = Piece({0, 0, 0}, {-1000, 1000, 0}, {-1.0f, -0.001f, 0.0f});
  ASSERT_TRUE(wrap.EndDirection(&d));
  double a0 = std::atan2(-0.001f, -1.0), ac = std::atan2(1000.0, -1000.0);
  double diff = ac - a0;
  const double pi = 3.14159265358979323846;
  if (diff > pi) diff -= 2 * pi;
  if (diff < -pi) diff += 2 * pi;
  EXPECT_EQ(d.x, static_cast<float>(std::cos(ac + diff)));
  EXPECT_EQ(d.y, static_cast<float>(std::sin(ac + diff)));
  EXPECT_GT(d.y, 0.99f);
}

TEST(TrackModelsTest, PiecesWithoutAChordHaveNoEndDirection) {
  Direction d{9.0f, 9.0f, 9.0f};
  Point p{1, 2, 3};
  TrackRecord loop = Piece({10, 20, 0}, {10, 20, 500}, {1.0f, 0.0f, 0.0f});
  EXPECT_FALSE(loop.EndDirection(&d));
  EXPECT_FALSE(loop.BufferStopPosition(&p));
  EXPECT_EQ(d.x, 9.0f);
  ExpectPoint(p, 1, 2, 3);

  // A buffer stop standing where such a piece ends is neither linked nor
  // moved, and nothing computed from the zero chord reaches it.
  Layout l;
  l.tracks = {loop};
  l.models = {Placed("..\\Prellbock\\A", {10, 20, 0}, {1.0f, 0.0f, 0.0f}),
              Placed("..\\Prellbock\\A", {-290, 20, 0}, {1.0f, 0.0f, 0.0f})};
  l.LinkTrackModels();
  EXPECT_EQ(l.tracks[0].linkedModel, layout::kNoModel);
  // Even when linked by hand, a refresh leaves it where it is.
  l.tracks[0].linkedModel = 1;
  l.RefreshLinkedModels();
  ExpectPoint(l.models[1].position, -290, 20, 0);
  EXPECT_EQ(l.models[1].direction.x, 1.0f);

  // A start direction that is not a number gives no end direction either.
  TrackRecord nan = Piece({0, 0, 0}, {1000, 500, 0}, {std::numeric_limits<float>::quiet_NaN(), 0, 0});
  EXPECT_FALSE(nan.EndDirection(&d));
  EXPECT_FALSE(nan.BufferStopPosition(&p));
}

TEST(TrackModelsTest, BridgesStandAtTheRoundedMiddleHalvesAwayFromZero) {
  Layout l;
  // Sums 3, -3, -1, 1 and 0 in x; 5, -5 in y; 7 and -7 in z.
  l.tracks = {Piece({0, 0, 0}, {3, 5, 7}, {0.0f, 1.0f, 0.0f}, 2),
              Piece({0, 0, 0}, {-3, -5, -7}, {0.0f, 1.0f, 0.0f}, 2),
              Piece({-1, 0, 0}, {0, 0, 0}, {0.0f, 1.0f, 0.0f}, 2),
              Piece({1, 1, 0}, {0, 0, 0}, {0.0f, 1.0f, 0.0f}, 2),
              Piece({-5, 0, 0}, {5, 1, 0}, {0.0f, 1.0f, 0.0f}, 2)};
  for (std::size_t i = 0; i < l.tracks.size(); ++i) {
    l.models.push_back(Placed("..\\Bruecken\\Holz", {0, 0, 0}, {0.0f, 1.0f, 0.0f}));
    l.tracks[i].linkedModel = static_cast<int>(i);
  }
  l.RefreshLinkedModels();
  ExpectPoint(l.models[0].position, 2, 3, 4);
  ExpectPoint(l.models[1].position, -2, -3, -4);
  ExpectPoint(l.models[2].position, -1, 0, 0);
  ExpectPoint(l.models[3].position, 1, 1, 0);
  ExpectPoint(l.models[4].position, 0, 1, 0);
  // Sums beyond 32 bits.
  TrackRecord far = Piece({2147483647, -2147483647 - 1, 0}, {2147483647, -2147483647 - 1, 2}, {0, 1, 0}, 2);
  far.end.x = 2147483646;
  l.tracks = {far};
  l.tracks[0].linkedModel = 0;
  l.RefreshLinkedModels();
  ExpectPoint(l.models[0].position, 2147483647, -2147483647 - 1, 1);
}

TEST(TrackModelsTest, LinkingFindsTheTrackAModelStandsOn) {
  Layout l;
  TrackRecord a = Piece({0, 0, 0}, {1000, 0, 100}, {1.0f, 0.0f, 0.0f}, 2);
  TrackRecord b = a;  // same middle and direction: the first one wins
  TrackRecord stopTwoEnded = Piece({0, 500, 0}, {1000, 500, 0}, {1.0f, 0.0f, 0.0f}, 2);
  TrackRecord stop = Piece({0, 900, 0}, {1000, 900, 20}, {1.0f, -0.0f, 0.0f}, 1);
  l.tracks = {a, b, stopTwoEnded, stop};
  l.models = {
      Placed("..\\Bruecken\\Stein", {500, 0, -999}, {1.0f, 0.0f, 0.0f}),  // 0: other height
      Placed("..\\Prellbock\\X", {700, 500, 0}, {1.0f, 0.0f, 0.0f}),      // 1: two-ended piece
      Placed("..\\Prellbock\\X", {700, 900, 5}, {1.0f, 0.0f, -0.0f}),     // 2: stop
      Placed("..\\Prellbock\\Y", {700, 900, 5}, {1.0f, 0.0f, 0.0f}),      // 3: stop, later
      Placed("..\\bruecken\\Stein", {500, 0, 0}, {1.0f, 0.0f, 0.0f}),     // 4: case differs
      Placed("..\\Bruecken", {500, 0, 0}, {1.0f, 0.0f, 0.5f}),            // 5: z differs
      Placed("..\\Prellbock", {700, 900, 0}, {1.0f, 0.0f, 0.0f}),         // 6: the bare prefix
  };
  l.LinkTrackModels();
  EXPECT_EQ(l.tracks[0].linkedModel, 0);
  EXPECT_EQ(l.tracks[1].linkedModel, layout::kNoModel);
  EXPECT_EQ(l.tracks[2].linkedModel, layout::kNoModel);
  EXPECT_EQ(l.tracks[3].linkedModel, 6);  // the last matching model stays linked

  // A save moves the bridge to the middle height and leaves the rest alone.
  l.RefreshLinkedModels();
  ExpectPoint(l.models[0].position, 500, 0, 50);
  ExpectPoint(l.models[1].position, 700, 500, 0);
  ExpectPoint(l.models[6].position, 700, 900, 20);
  EXPECT_EQ(std::signbit(l.models[6].direction.y), false);

  l.models.pop_back();
  l.LinkTrackModels();
  EXPECT_EQ(l.tracks[3].linkedModel, 3);

  // A bridge and a buffer stop on the same single-ended piece: the later
  // model stays linked, whatever its kind.
  Layout both;
  both.tracks = {stop};
  both.models = {Placed("..\\Bruecken\\B", {500, 900, 0}, {1.0f, 0.0f, 0.0f}),
                 Placed("..\\Prellbock\\P", {700, 900, 0}, {1.0f, 0.0f, 0.0f})};
  both.LinkTrackModels();
  EXPECT_EQ(both.tracks[0].linkedModel, 1);
  std::swap(both.models[0], both.models[1]);
  both.LinkTrackModels();
  EXPECT_EQ(both.tracks[0].linkedModel, 1);
  both.models[1].position.x = 501;
  both.LinkTrackModels();
  EXPECT_EQ(both.tracks[0].linkedModel, 0);
}

// The pairwise rule: every model against every track in list order.
void LinkPairwise(Layout& l) {
  for (TrackRecord& t : l.tracks) t.linkedModel = layout::kNoModel;
  for (std::size_t m = 0; m < l.models.size(); ++m) {
    const ModelRecord& model = l.models[m];
    bool bridge = model.name.compare(0, 11, "..\\Bruecken") == 0;
    bool stop = !bridge && model.name.compare(0, 12, "..\\Prellbock") == 0;
    for (TrackRecord& t : l.tracks) {
      bool match = false;
      if (bridge) {
        match = std::round((static_cast<double>(t.start.x) + t.end.x) * 0.5) == model.position.x &&
                std::round((static_cast<double>(t.start.y) + t.end.y) * 0.5) == model.position.y &&
                t.startDirection.x == model.direction.x && t.startDirection.y == model.direction.y &&
                t.startDirection.z == model.direction.z;
      } else if (stop && t.endCount == 1) {
        Point p;
        Direction d;
        match = t.BufferStopPosition(&p) && t.EndDirection(&d) && p.x == model.position.x &&
                p.y == model.position.y && d.x == model.direction.x && d.y == model.direction.y &&
                d.z == model.direction.z;
      }
      if (match) {
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
