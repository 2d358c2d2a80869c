// Finding records with equal position, direction and name in one pass
// instead of comparing every pair.
//
// Directions are compared as reals: -0.0 equals 0.0, and a NaN equals
// nothing. A key therefore holds each direction component's bits with the
// sign of zero cleared, and no key exists for a NaN component.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "layout/layout.h"

namespace layout {

// The finalizer of MurmurHash3: every input bit reaches every output bit,
// so nearby places spread over a table.
inline std::uint64_t MixBits(std::uint64_t h) {
  h ^= h >> 33;
  h *= 0xFF51AFD7ED558CCDULL;
  h ^= h >> 33;
  h *= 0xC4CEB9FE1A85EC53ULL;
  h ^= h >> 33;
  return h;
}

struct ModelKey {
  std::string_view name;  // points into a record that outlives the key
  std::int32_t x = 0;
  std::int32_t y = 0;
  std::int32_t z = 0;
  std::uint32_t dx = 0;
  std::uint32_t dy = 0;
  std::uint32_t dz = 0;

  bool operator==(const ModelKey& o) const {
    return x == o.x && y == o.y && z == o.z && dx == o.dx && dy == o.dy && dz == o.dz && name == o.name;
  }

  std::uint64_t Hash() const {
    std::uint64_t h = name.empty() ? 0 : std::hash<std::string_view>()(name);
    const std::uint64_t parts[3] = {
        (static_cast<std::uint64_t>(static_cast<std::uint32_t>(x)) << 32) | static_cast<std::uint32_t>(y),
        (static_cast<std::uint64_t>(static_cast<std::uint32_t>(z)) << 32) | dx,
        (static_cast<std::uint64_t>(dy) << 32) | dz};
    for (std::uint64_t p : parts) h = MixBits(h ^ p);
    return h;
  }
};

// The bits of a real for an equality key; fails for a NaN.
inline int RealKeyBits(float value, std::uint32_t* bits) {
  if (value != value) return 0;
  if (value == 0.0f) value = 0.0f;  // -0.0 compares equal to 0.0
  std::memcpy(bits, &value, sizeof value);
  return 1;
}

// The direction's key bits into any key with dx, dy and dz (a model key, a
// track place); fails for a NaN component.
template <typename Key>
int DirectionKeyBits(const Direction& d, Key* key) {
  return RealKeyBits(d.x, &key->dx) && RealKeyBits(d.y, &key->dy) && RealKeyBits(d.z, &key->dz);
}

// Key of a model for duplicate removal: name, position and direction.
inline int MakeModelKey(const Name& name, const Point& position, const Direction& direction, ModelKey* key) {
  key->name = name.view();
  key->x = position.x;
  key->y = position.y;
  key->z = position.z;
  return DirectionKeyBits(direction, key);
}

// Maps each key to the first record index stored for it. Open addressing in
// one flat table, so a lookup costs about one cache miss.
class FirstIndex {
 public:
  explicit FirstIndex(std::size_t expected) {
    std::size_t capacity = 16;
    while (capacity < expected * 2) capacity *= 2;
    slots_.assign(capacity, Slot());
    mask_ = capacity - 1;
    entries_.reserve(expected);
  }

  // Stores `value` for `key` unless the key is there already. Returns the
  // value stored for the key (the earlier one, or `value`).
  std::size_t InsertFirst(const ModelKey& key, std::size_t value) {
    std::uint64_t hash = key.Hash();
    std::size_t i = static_cast<std::size_t>(hash) & mask_;
    std::uint32_t tag = static_cast<std::uint32_t>(hash >> 32);
    for (;; i = (i + 1) & mask_) {
      Slot& slot = slots_[i];
      if (slot.entry == 0) {
        if (entries_.size() * 2 >= slots_.size()) {
          Grow();
          return InsertFirst(key, value);
        }
        entries_.push_back(Entry{key, value});
        slot.entry = static_cast<std::uint32_t>(entries_.size());
        slot.tag = tag;
        return value;
      }
      if (slot.tag == tag && entries_[slot.entry - 1].key == key) return entries_[slot.entry - 1].value;
    }
  }

  // The value stored for `key`, or null.
  const std::size_t* Find(const ModelKey& key) const {
    std::uint64_t hash = key.Hash();
    std::size_t i = static_cast<std::size_t>(hash) & mask_;
    std::uint32_t tag = static_cast<std::uint32_t>(hash >> 32);
    for (;; i = (i + 1) & mask_) {
      const Slot& slot = slots_[i];
      if (slot.entry == 0) return nullptr;
      if (slot.tag == tag && entries_[slot.entry - 1].key == key) return &entries_[slot.entry - 1].value;
    }
  }

 private:
  struct Slot {
    std::uint32_t entry = 0;  // 1 + index into entries_; 0 for an empty slot
    std::uint32_t tag = 0;    // high half of the key's hash
  };
  struct Entry {
    ModelKey key;
    std::size_t value;
  };

  void Grow() {
    std::vector<Slot> old;
    old.swap(slots_);
    slots_.assign(old.size() * 2, Slot());
    mask_ = slots_.size() - 1;
    for (std::size_t e = 0; e < entries_.size(); ++e) {
      std::uint64_t hash = entries_[e].key.Hash();
      std::size_t i = static_cast<std::size_t>(hash) & mask_;
      while (slots_[i].entry != 0) i = (i + 1) & mask_;
      slots_[i].entry = static_cast<std::uint32_t>(e + 1);
      slots_[i].tag = static_cast<std::uint32_t>(hash >> 32);
    }
  }

  std::vector<Slot> slots_;
  std::vector<Entry> entries_;
  std::size_t mask_ = 0;
};

}  // namespace layout
