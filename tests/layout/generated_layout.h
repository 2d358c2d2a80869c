// Layouts generated in memory for comparing the indexed linking and
// duplicate removal with the plain pairwise rules. Places and directions come
// from small sets, so that many records collide.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "layout/layout.h"

namespace generated_layout {

// A small deterministic generator (same numbers on every platform).
class Random {
 public:
  explicit Random(std::uint32_t seed) : state_(seed * 2654435761u + 1) {}
  int Below(int n) {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return static_cast<int>(state_ % static_cast<std::uint32_t>(n));
  }

 private:
  std::uint32_t state_;
};

inline layout::Direction PickDirection(Random& r) {
  static const float kValues[] = {1.0f, 0.0f, -0.0f, -1.0f, 0.70710677f, 0.5f,
                                  std::numeric_limits<float>::quiet_NaN()};
  layout::Direction d;
  d.x = kValues[r.Below(6)], d.y = kValues[r.Below(6)], d.z = r.Below(10) == 0 ? kValues[r.Below(7)] : 0.0f;
  if (r.Below(20) == 0) d.x = kValues[6];
  return d;
}

inline layout::Layout Generate(std::uint32_t seed, int trackCount, int modelCount) {
  Random r(seed);
  layout::Layout l;
  static const int kTypes[] = {1, 2, 2, 3, 4, 6, 7, 8, 9, 11};
  static const int kDeltas[] = {0, 0, 300, -300, 1000, 1001, -1001};
  for (int i = 0; i < trackCount; ++i) {
    layout::TrackRecord t;
    t.id = static_cast<std::int16_t>(r.Below(5) == 0 ? 0 : 1 + r.Below(3000));
    t.name = "Gleis", t.type = kTypes[r.Below(10)], t.endCount = 2;
    t.UpdateEndCount();
    t.startDirection = PickDirection(r);
    t.start = {100 * r.Below(4) - 150, 100 * r.Below(4), r.Below(3)};
    t.end = {t.start.x + kDeltas[r.Below(7)], t.start.y + kDeltas[r.Below(7)], r.Below(50)};
    l.tracks.push_back(t);
  }
  static const char* kNames[] = {"..\\Bruecken\\Stein", "..\\Bruecken\\Holz",  "..\\Prellbock\\A", "..\\Prellbock\\B",
                                 "Haus",               "..\\bruecken\\Stein", "..\\Prellbock"};
  for (int i = 0; i < modelCount; ++i) {
    layout::ModelRecord m;
    m.id = static_cast<std::int16_t>(r.Below(8) == 0 ? 0 : 1 + r.Below(200));
    m.name = kNames[r.Below(7)];
    const int pick = r.Below(4);
    if (!l.models.empty() && pick == 0) {
      // A copy of an earlier model, maybe with -0.0 for 0.0 or another id.
      m = l.models[static_cast<std::size_t>(r.Below(static_cast<int>(l.models.size())))];
      if (m.direction.z == 0.0f && r.Below(2) == 0) m.direction.z = -m.direction.z;
      if (r.Below(3) == 0) m.id = static_cast<std::int16_t>(1 + r.Below(200));
    } else if (!l.tracks.empty() && pick == 1) {
      // Standing where a track puts its bridge or buffer stop.
      const layout::TrackRecord& t = l.tracks[static_cast<std::size_t>(r.Below(static_cast<int>(l.tracks.size())))];
      m.position = {static_cast<std::int32_t>(std::round((t.start.x + t.end.x) * 0.5)),
                    static_cast<std::int32_t>(std::round((t.start.y + t.end.y) * 0.5)), 0};
      m.direction = t.startDirection;
      layout::Point p;
      layout::Direction d;
      if (m.name.compare(0, 12, "..\\Prellbock") == 0 && t.BufferStopPosition(&p) && t.EndDirection(&d)) {
        m.position = p, m.direction = d;
      }
      m.position.z = r.Below(100);
    } else {
      m.position = {50 * r.Below(8) - 200, 50 * r.Below(8), r.Below(2)}, m.direction = PickDirection(r);
    }
    l.models.push_back(m);
  }
  return l;
}

}  // namespace generated_layout
