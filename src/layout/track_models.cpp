// Bridges and buffer stops: models that belong to a track piece.
//
// A bridge ("..\Bruecken...") stands at the middle of its piece with the
// piece's start direction; a buffer stop ("..\Prellbock...") stands 300 units
// before the end of a single-ended piece, facing along the end direction.
// After a load every such model is linked to the first track (in list order)
// it stands on, ignoring heights; before a save every linked model is placed
// again from its track.
//
// Angles and sums are computed in double from the stored values (floats
// widened); the chord is kept in single precision; results are rounded to
// single precision where they are stored. Mixing float and double angles
// would turn exact 45-degree straights into arcs. Rounding to integers goes
// half away from zero: +0.5 above 0, -0.5 at 0 or below, then truncation.

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <vector>

#include "layout/layout.h"
#include "layout/model_key.h"
#include "layout/track_model_places.h"

namespace layout {
namespace {

const double kPi = 3.14159265358979323846;
const double kBufferStopDistance = 300.0;
const char kBridgePrefix[] = "..\\Bruecken";       // 11 characters
const char kBufferStopPrefix[] = "..\\Prellbock";  // 12 characters

// The length is a constant at every call, so the comparison is a few
// instructions in place.
bool StartsWith(const Name& text, const char* prefix, std::size_t length) {
  return text.size() >= length && std::memcmp(text.data(), prefix, length) == 0;
}

bool IsBridge(const Name& name) { return StartsWith(name, kBridgePrefix, sizeof kBridgePrefix - 1); }

bool IsBufferStop(const Name& name) { return StartsWith(name, kBufferStopPrefix, sizeof kBufferStopPrefix - 1); }

// Rounds half away from zero. Fails for values that are not finite or do
// not fit comfortably into 64 bits.
int RoundHalfAway(double value, std::int64_t* result) {
  if (!std::isfinite(value) || std::fabs(value) > 4.0e18) return 0;
  *result = static_cast<std::int64_t>(value > 0.0 ? value + 0.5 : value - 0.5);
  return 1;
}

// round((a + b) * 0.5) with the sum formed without overflow. The half of an
// integer is exact, so rounding it half away from zero is integer division
// of the sum moved one away from zero. Always fits 32 bits.
std::int32_t RoundedMid(std::int32_t a, std::int32_t b) {
  std::int64_t sum = static_cast<std::int64_t>(a) + b;
  return static_cast<std::int32_t>(sum > 0 ? (sum + 1) / 2 : (sum - 1) / 2);
}

Point MidPoint(const TrackRecord& track) {
  Point p;
  p.x = RoundedMid(track.start.x, track.end.x);
  p.y = RoundedMid(track.start.y, track.end.y);
  p.z = RoundedMid(track.start.z, track.end.z);
  return p;
}

// The buffer stop's place on a piece that ends at `end` with direction `v`:
// 300 units back along v, each component rounded. Fails outside 32 bits.
int BufferStopAt(const Point& end, const Direction& v, Point* result) {
  const float components[3] = {v.x, v.y, v.z};
  const std::int32_t ends[3] = {end.x, end.y, end.z};
  std::int32_t out[3];
  for (int i = 0; i < 3; ++i) {
    std::int64_t offset = 0;
    if (!RoundHalfAway(static_cast<double>(components[i]) * -kBufferStopDistance, &offset)) return 0;
    std::int64_t value = ends[i] + offset;
    if (value < std::numeric_limits<std::int32_t>::min() || value > std::numeric_limits<std::int32_t>::max()) {
      return 0;
    }
    out[i] = static_cast<std::int32_t>(value);
  }
  result->x = out[0];
  result->y = out[1];
  result->z = out[2];
  return 1;
}

}  // namespace

int TrackRecord::EndDirection(Direction* result) const {
  std::int64_t dx = static_cast<std::int64_t>(end.x) - start.x;
  std::int64_t dy = static_cast<std::int64_t>(end.y) - start.y;
  if (dx == 0 && dy == 0) return 0;  // no chord, no end direction
  double ddx = static_cast<double>(dx);
  double ddy = static_cast<double>(dy);
  float chord = static_cast<float>(std::sqrt(ddx * ddx + ddy * ddy));
  double a0 = std::atan2(static_cast<double>(startDirection.y), static_cast<double>(startDirection.x));
  double ac = std::atan2(ddy, ddx);
  double d = ac - a0;
  if (d > kPi) d -= 2.0 * kPi;
  if (d < -kPi) d += 2.0 * kPi;
  Direction r;
  if (std::fabs(std::sin(d)) < 1e-10) {
    // Straight: the chord's direction, each component rounded to -1, 0 or 1.
    std::int64_t rx = 0, ry = 0;
    if (!RoundHalfAway(ddx / chord, &rx) || !RoundHalfAway(ddy / chord, &ry)) return 0;
    r.x = static_cast<float>(rx);
    r.y = static_cast<float>(ry);
  } else {
    // Circular arc: the start direction mirrored about the chord.
    r.x = static_cast<float>(std::cos(ac + d));
    r.y = static_cast<float>(std::sin(ac + d));
  }
  r.z = 0.0f;
  // A start direction that is not a number gives no direction either.
  if (!std::isfinite(r.x) || !std::isfinite(r.y)) return 0;
  *result = r;
  return 1;
}

int TrackRecord::BufferStopPosition(Point* result) const {
  Direction v;
  return EndDirection(&v) && BufferStopAt(end, v, result);
}

namespace {

using Place = TrackModelPlaces::Place;

// The place mixed so that nearby places spread over the table.
std::uint64_t PlaceHash(const Place& p) {
  std::uint64_t h =
      MixBits((static_cast<std::uint64_t>(static_cast<std::uint32_t>(p.x)) << 32) ^ static_cast<std::uint32_t>(p.y));
  return MixBits(h ^ ((static_cast<std::uint64_t>(p.dx) << 32) | p.dy) ^ (static_cast<std::uint64_t>(p.dz) << 17));
}

// Models that can stand on a track, grouped by the place and direction they
// match. Every model of a group links to the same track: the first one in
// list order with that place and direction. That track keeps the group's
// last model. One flat table holds each group with its last model, so a
// lookup touches one slot (and its neighbours on a collision).
class ModelGroups {
 public:
  explicit ModelGroups(std::size_t expected) {
    std::size_t capacity = 16;
    while (capacity < expected * 2) capacity *= 2;
    slots_.assign(capacity, Slot());
    mask_ = capacity - 1;
    std::size_t bits = 64;
    while (bits < expected * 16) bits *= 2;
    filter_.assign(bits / 64, 0);
    filterMask_ = static_cast<std::uint32_t>(bits - 1);
  }

  // Models come in list order; at most the expected number are added.
  void Add(const Place& place, int model) {
    Slot& slot = SlotOf(place);
    if (slot.state == kEmpty) {
      slot.place = place;
      slot.state = kWaiting;
      std::uint32_t bit = FilterBit(place);
      filter_[bit / 64] |= std::uint64_t{1} << (bit % 64);
    }
    slot.model = model;
  }

  // Whether a group might stand at this place: a small bit table of the
  // groups' places lets most tracks pass without a lookup.
  bool MayStandAt(const Place& place) const {
    std::uint32_t bit = FilterBit(place);
    return (filter_[bit / 64] >> (bit % 64)) & 1;
  }

  // The last model of the group a track with this place carries, when the
  // group has not found an earlier track; kNoModel otherwise.
  int Take(const Place& place) {
    if (!MayStandAt(place)) return kNoModel;
    Slot& slot = SlotOf(place);
    if (slot.state != kWaiting) return kNoModel;
    slot.state = kTaken;
    return slot.model;
  }

 private:
  enum : std::int32_t { kEmpty, kWaiting, kTaken };
  struct Slot {
    Place place;
    std::int32_t model = kNoModel;
    std::int32_t state = kEmpty;
  };

  // The slot of the place's group, or the empty slot where it belongs. The
  // table is at least twice the number of groups, so an empty slot exists.
  Slot& SlotOf(const Place& place) {
    for (std::size_t i = static_cast<std::size_t>(PlaceHash(place)) & mask_;; i = (i + 1) & mask_) {
      Slot& slot = slots_[i];
      if (slot.state == kEmpty || slot.place == place) return slot;
    }
  }

  std::uint32_t FilterBit(const Place& place) const {
    std::uint32_t h =
        static_cast<std::uint32_t>(place.x) * 0x9E3779B1u ^ static_cast<std::uint32_t>(place.y) * 0x85EBCA77u;
    return (h ^ (h >> 15)) & filterMask_;
  }

  std::vector<Slot> slots_;
  std::size_t mask_ = 0;
  std::vector<std::uint64_t> filter_;
  std::uint32_t filterMask_ = 0;
};

const std::size_t kAhead = 32;  // tracks: about the wait for memory over the time per track

inline void Prefetch(const void* address) {
#if defined(__GNUC__)
  __builtin_prefetch(address, 1, 0);
#else
  (void)address;
#endif
}

bool PlaceOf(const Point& position, const Direction& direction, Place* place) {
  place->x = position.x;
  place->y = position.y;
  return DirectionKeyBits(direction, place);
}

}  // namespace

void TrackModelPlaces::Note(const ModelRecord& model, int index) {
  const bool bridge = IsBridge(model.name);
  if (!bridge && !IsBufferStop(model.name)) return;
  Placed placed{Place(), index};
  if (!PlaceOf(model.position, model.direction, &placed.place)) return;
  (bridge ? bridges_ : bufferStops_).push_back(placed);
}

void LinkTrackModelsAt(Layout* layout, const TrackModelPlaces& places) {
  ModelGroups bridges(places.bridges().size()), bufferStops(places.bufferStops().size());
  for (const TrackModelPlaces::Placed& placed : places.bridges()) bridges.Add(placed.place, placed.model);
  for (const TrackModelPlaces::Placed& placed : places.bufferStops()) bufferStops.Add(placed.place, placed.model);

  // Tracks in list order, so each group finds its first track; when a
  // bridge and a buffer stop find the same track, the later model stays.
  // A track's fields for linking lie in one cache line; asking for the line
  // of a track well ahead hides the wait for memory on a large layout.
  const bool anyBridge = !places.bridges().empty(), anyBufferStop = !places.bufferStops().empty();
  const std::size_t count = layout->tracks.size();
  for (std::size_t t = 0; t < count; ++t) {
    if (t + kAhead < count) Prefetch(&layout->tracks[t + kAhead].linkedModel);
    TrackRecord& track = layout->tracks[t];
    int linked = kNoModel;
    Place place;
    if (anyBridge) {
      place.x = RoundedMid(track.start.x, track.end.x);
      place.y = RoundedMid(track.start.y, track.end.y);
      if (bridges.MayStandAt(place) && DirectionKeyBits(track.startDirection, &place)) {
        linked = bridges.Take(place);
      }
    }
    Point position;
    Direction direction;
    if (anyBufferStop && track.endCount == 1 && track.EndDirection(&direction) &&
        BufferStopAt(track.end, direction, &position) && PlaceOf(position, direction, &place)) {
      int stop = bufferStops.Take(place);
      if (stop > linked) linked = stop;
    }
    track.linkedModel = linked;
  }
}

void Layout::LinkTrackModels() {
  TrackModelPlaces places;
  for (std::size_t m = 0; m < models.size(); ++m) places.Note(models[m], static_cast<int>(m));
  LinkTrackModelsAt(this, places);
}

void Layout::RefreshLinkedModels() {
  for (const TrackRecord& track : tracks) {
    if (track.linkedModel < 0 || static_cast<std::size_t>(track.linkedModel) >= models.size()) {
      continue;
    }
    ModelRecord& model = models[static_cast<std::size_t>(track.linkedModel)];
    if (IsBufferStop(model.name)) {
      Point position;
      Direction direction;
      // A piece that lost its end direction leaves its buffer stop alone.
      if (!track.EndDirection(&direction) || !BufferStopAt(track.end, direction, &position)) continue;
      model.position = position;
      model.direction = direction;
    } else {
      model.position = MidPoint(track);
      model.direction = track.startDirection;
    }
  }
}

}  // namespace layout
