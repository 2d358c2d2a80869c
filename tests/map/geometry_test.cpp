// Track shapes and their bounds, degenerate pieces included; numbers. (Names
// in the drawing: the map tests, whose SVG xmllint reads.)
#include <gtest/gtest.h>

#include <climits>
#include <cmath>

#include "map/geometry.h"
#include "map/svg_text.h"

TEST(MapGeometryTest, ShapeAndBoundsOfEachPiece) {
  using map::Shape;
  const double lo = INT_MIN, hi = INT_MAX;
  const struct {
    map::Vec start, dir, end;
    Shape shape;
    double radius, large, ccw, box[4];  // box: min x, min y, max x, max y
  } cases[] = {
      {{0, 0}, {0, 1}, {2000, 0}, Shape::kArc, 1000, false, false, {0, 0, 2000, 1000}},  // half, bulging north
      {{1000, 0}, {0, 1}, {0, -1000}, Shape::kArc, 1000, true, true, {-1000, -1000, 1000, 1000}},  // 270 degrees
      // Half, through the south: the sine rounds above 1, the centre is still the chord's middle.
      {{0, 0}, {1, -8}, {800, 100}, Shape::kArc, 403.1129, false, true, {0, -353.1129, 803.1129, 100}},
      {{0, 0}, {-1, 0.0001}, {1000, 0}, Shape::kLine, 0, false, false, {0, 0, 1000, 0}},  // reversed
      {{5, 5}, {1, 0}, {5, 5}, Shape::kPoint, 0, false, false, {5, 5, 5, 5}},
      {{lo, lo}, {1, 0}, {hi, hi}, Shape::kArc, hi - lo, false, true, {lo, lo, hi, hi}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.end.x) + " " + std::to_string(c.end.y) + " " + std::to_string(c.dir.x));
    map::Piece piece = map::PieceOf(c.start, c.dir, c.end);
    EXPECT_EQ(piece.shape, c.shape);
    EXPECT_NEAR(piece.radius, c.radius, 1e-6 * c.radius);
    EXPECT_EQ(piece.largeArc * 10 + piece.counterClockwise, c.large * 10 + c.ccw);
    map::Bounds b;
    map::AddPiece(piece, &b);
    const double got[4] = {b.minX, b.minY, b.maxX, b.maxY};
    for (int i = 0; i < 4; ++i) EXPECT_NEAR(got[i], c.box[i], 1e-6 * (std::fabs(c.box[i]) + 1)) << i;
  }
}

TEST(MapTextTest, NamesEndAtANulAndNumbersAreWholeAndFinite) {
  std::string numbers, name;  // control characters and the undefined \x81 as the drawing shows them
  map::AppendEscaped(&name, std::string("a\x01\x81\037b\0c", 7));
  EXPECT_EQ(name, "a\xEF\xBF\xBD\xC2\x81\xEF\xBF\275b");
  for (double v : {std::nan(""), -double(INFINITY), 1e300, -0.4, 2.6}) map::AppendNumber(&numbers, v), numbers += ' ';
  EXPECT_EQ(numbers, "0 0 1000000000000000 0 3 ");
}
