// Plane geometry of the map: the shape of a track piece and how far a
// drawing reaches. Coordinates are layout units as doubles, x east, y north.
//
// A track piece is the circular arc that leaves its start point along its
// start direction and reaches its end point. With the chord c = end - start,
// the unit start direction d, and t the angle from d to c:
//   radius = |c| / (2 |sin t|), turning through 2t,
//   counter-clockwise when cross(d, c) > 0, more than half a circle when
//   dot(d, c) < 0, centre = start + radius * (d turned a quarter towards c).
// A piece whose direction is zero, not finite, or (nearly) along its chord
// either way is drawn as the straight chord; a piece whose ends coincide is
// a point. Every result is finite.
#pragma once

namespace map {

struct Vec {
  double x = 0.0;
  double y = 0.0;
};

// The smallest box around the points added; empty until the first one.
struct Bounds {
  bool empty = true;
  double minX = 0.0, minY = 0.0, maxX = 0.0, maxY = 0.0;
  void Add(Vec p);
};

enum class Shape { kPoint, kLine, kArc };

struct Piece {
  Shape shape = Shape::kPoint;
  Vec start;
  Vec end;
  double radius = 0.0;            // kArc only
  bool largeArc = false;          // turns through more than half a circle
  bool counterClockwise = false;  // as seen with north up
};

// The drawn shape of a piece from its start point, start direction and end
// point.
Piece PieceOf(Vec start, Vec direction, Vec end);

// Adds the piece's ends and, for an arc, the points where it reaches
// furthest east, north, west or south.
void AddPiece(const Piece& piece, Bounds* bounds);

// The unit vector of (x, y); fails (0) when it is zero or not finite.
int UnitVector(double x, double y, Vec* unit);

}  // namespace map
