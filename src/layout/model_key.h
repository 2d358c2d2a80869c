// Hash keys for finding records with equal position, direction and name in
// one pass instead of comparing every pair.
//
// Directions are compared as reals: -0.0 equals 0.0, and a NaN equals
// nothing. A key therefore holds each direction component's bits with the
// sign of zero cleared, and no key exists for a NaN component.
#pragma once

#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "layout/layout.h"

namespace layout {

struct ModelKey {
  std::string_view name;  // points into a record that outlives the key
  std::int64_t x = 0;
  std::int64_t y = 0;
  std::int64_t z = 0;
  std::uint32_t dx = 0;
  std::uint32_t dy = 0;
  std::uint32_t dz = 0;

  bool operator==(const ModelKey& o) const {
    return x == o.x && y == o.y && z == o.z && dx == o.dx && dy == o.dy && dz == o.dz &&
           name == o.name;
  }
};

struct ModelKeyHash {
  std::size_t operator()(const ModelKey& k) const {
    std::uint64_t h = std::hash<std::string_view>()(k.name);
    const std::uint64_t parts[6] = {static_cast<std::uint64_t>(k.x), static_cast<std::uint64_t>(k.y),
                                    static_cast<std::uint64_t>(k.z), k.dx, k.dy, k.dz};
    for (std::uint64_t p : parts) {
      h ^= p + 0x9E3779B97F4A7C15ULL + (h << 6) + (h >> 2);
      h *= 0xFF51AFD7ED558CCDULL;
    }
    return static_cast<std::size_t>(h ^ (h >> 33));
  }
};

using ModelIndex = std::unordered_map<ModelKey, std::size_t, ModelKeyHash>;

// The bits of a real for an equality key; fails for a NaN.
inline int RealKeyBits(float value, std::uint32_t* bits) {
  if (value != value) return 0;
  if (value == 0.0f) value = 0.0f;  // -0.0 compares equal to 0.0
  std::memcpy(bits, &value, sizeof value);
  return 1;
}

inline int DirectionKeyBits(const Direction& d, ModelKey* key) {
  return RealKeyBits(d.x, &key->dx) && RealKeyBits(d.y, &key->dy) && RealKeyBits(d.z, &key->dz);
}

// Key of a model for duplicate removal: name, position and direction.
inline int MakeModelKey(const std::string& name, const Point& position, const Direction& direction,
                        ModelKey* key) {
  key->name = name;
  key->x = position.x;
  key->y = position.y;
  key->z = position.z;
  return DirectionKeyBits(direction, key);
}

}  // namespace layout
