#include "map/geometry.h"

#include <cmath>

namespace map {
namespace {

const double kPi = 3.14159265358979323846;
// Below this |sin t| the arc's sagitta is under 1/8000 of its chord: the
// chord draws the same picture, and a reversed direction no circle of
// sensible size.
const double kStraightSine = 0.0005;

// The angle `a` brought into [0, 2 pi).
double Wrapped(double a) {
  a = std::fmod(a, 2.0 * kPi);
  return a < 0.0 ? a + 2.0 * kPi : a;
}

}  // namespace

void Bounds::Add(Vec p) {
  if (empty) {
    minX = maxX = p.x;
    minY = maxY = p.y;
    empty = false;
    return;
  }
  minX = std::fmin(minX, p.x);
  maxX = std::fmax(maxX, p.x);
  minY = std::fmin(minY, p.y);
  maxY = std::fmax(maxY, p.y);
}

int UnitVector(double x, double y, Vec* unit) {
  const double length = std::hypot(x, y);
  if (!std::isfinite(length) || length < 1e-9) return 0;
  unit->x = x / length;
  unit->y = y / length;
  return 1;
}

Piece PieceOf(Vec start, Vec direction, Vec end) {
  Piece piece;
  piece.start = start;
  piece.end = end;
  const double cx = end.x - start.x, cy = end.y - start.y;
  const double chord = std::hypot(cx, cy);
  if (chord == 0.0) return piece;
  piece.shape = Shape::kLine;
  Vec d;
  if (!UnitVector(direction.x, direction.y, &d)) return piece;
  const double sine = (d.x * cy - d.y * cx) / chord;
  if (std::fabs(sine) < kStraightSine) return piece;
  piece.shape = Shape::kArc;
  piece.radius = chord / (2.0 * std::fabs(sine));
  piece.largeArc = d.x * cx + d.y * cy < 0.0;
  piece.counterClockwise = sine > 0.0;
  return piece;
}

void AddPiece(const Piece& piece, Bounds* bounds) {
  bounds->Add(piece.start);
  bounds->Add(piece.end);
  if (piece.shape != Shape::kArc) return;
  // The centre lies on the perpendicular bisector of the chord, at distance
  // h from its middle, on the side the arc turns to when it is the small one.
  const double cx = piece.end.x - piece.start.x, cy = piece.end.y - piece.start.y;
  const double half = std::hypot(cx, cy) / 2.0, r = piece.radius;
  const double h = std::sqrt(std::fmax(r * r - half * half, 0.0));
  const double side = (piece.counterClockwise ? 1.0 : -1.0) * (piece.largeArc ? -1.0 : 1.0);
  const Vec centre{piece.start.x + cx / 2.0 - side * cy / (2.0 * half) * h,
                   piece.start.y + cy / 2.0 + side * cx / (2.0 * half) * h};
  const double from = std::atan2(piece.start.y - centre.y, piece.start.x - centre.x);
  const double to = std::atan2(piece.end.y - centre.y, piece.end.x - centre.x);
  const double sweep = piece.counterClockwise ? Wrapped(to - from) : Wrapped(from - to);
  for (int k = 0; k < 4; ++k) {
    const double axis = k * kPi / 2.0;
    const double along = piece.counterClockwise ? Wrapped(axis - from) : Wrapped(from - axis);
    if (along <= sweep) bounds->Add({centre.x + r * std::cos(axis), centre.y + r * std::sin(axis)});
  }
}

}  // namespace map
