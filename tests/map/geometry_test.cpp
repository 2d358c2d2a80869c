// Track shapes and their bounds, degenerate pieces included; text escapes.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>

#include "map/geometry.h"
#include "map/svg_text.h"

using map::Shape;

TEST(MapGeometryTest, ShapeAndBoundsOfEachPiece) {
  const double nan = std::nan(""), inf = INFINITY, lo = INT_MIN, hi = INT_MAX;
  const struct {
    map::Vec start, dir, end;
    Shape shape;
    double radius;
    bool large, ccw;
    double minX, minY, maxX, maxY;
  } cases[] = {
      {{0, 0}, {1, 0}, {1000, 1000}, Shape::kArc, 1000, false, true, 0, 0, 1000, 1000},  // quarter, left
      {{0, 0}, {2, 0}, {1000, -1000}, Shape::kArc, 1000, false, false, 0, -1000, 1000, 0},
      {{0, 0}, {0, 1}, {2000, 0}, Shape::kArc, 1000, false, false, 0, 0, 2000, 1000},  // half, bulging north
      {{1000, 0}, {0, 1}, {0, -1000}, Shape::kArc, 1000, true, true, -1000, -1000, 1000, 1000},  // 270 degrees
      {{0, 0}, {1, 0}, {1000, 0}, Shape::kLine, 0, false, false, 0, 0, 1000, 0},
      {{0, 0}, {-1, 0.0001}, {1000, 0}, Shape::kLine, 0, false, false, 0, 0, 1000, 0},  // reversed
      {{0, 0}, {0, 0}, {0, 1000}, Shape::kLine, 0, false, false, 0, 0, 0, 1000},
      {{0, 0}, {nan, 1}, {0, 1000}, Shape::kLine, 0, false, false, 0, 0, 0, 1000},
      {{0, 0}, {inf, 1}, {0, 1000}, Shape::kLine, 0, false, false, 0, 0, 0, 1000},
      {{5, 5}, {1, 0}, {5, 5}, Shape::kPoint, 0, false, false, 5, 5, 5, 5},
      {{lo, lo}, {1, 0}, {hi, hi}, Shape::kArc, hi - lo, false, true, lo, lo, hi, hi},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.end.x) + " " + std::to_string(c.end.y) + " " + std::to_string(c.dir.x));
    map::Piece piece = map::PieceOf(c.start, c.dir, c.end);
    EXPECT_EQ(piece.shape, c.shape);
    EXPECT_NEAR(piece.radius, c.radius, 1e-6 * c.radius);
    EXPECT_EQ(piece.largeArc, c.large);
    EXPECT_EQ(piece.counterClockwise, c.ccw);
    map::Bounds b;
    map::AddPiece(piece, &b);
    const double slack = 1e-6 * (std::fabs(c.minX) + std::fabs(c.maxY) + 1);
    EXPECT_NEAR(b.minX, c.minX, slack);
    EXPECT_NEAR(b.minY, c.minY, slack);
    EXPECT_NEAR(b.maxX, c.maxX, slack);
    EXPECT_NEAR(b.maxY, c.maxY, slack);
  }
}

TEST(MapTextTest, NamesAndNumbersStayWellFormed) {
  const struct {
    std::string in, out;
  } names[] = {
      {"<Haus & \"Hof\" 's>", "&lt;Haus &amp; &quot;Hof&quot; &apos;s&gt;"},
      {"M\xFChle\t\x81", "M\xC3\xBChle\t\xC2\x81"},
      {std::string("a\x01\x1F" "b\0c", 6), "a\xEF\xBF\xBD\xEF\xBF\xBD" "b"},
  };
  for (const auto& c : names) {
    std::string out;
    map::AppendEscaped(&out, c.in);
    EXPECT_EQ(out, c.out);
  }
  std::string numbers;
  for (double v : {std::nan(""), -double(INFINITY), 1e300, -0.4, 2.6}) map::AppendNumber(&numbers, v), numbers += ' ';
  EXPECT_EQ(numbers, "0 0 1000000000000000 0 3 ");
}
