// The records of a layout file (".anl"), each described once, in file order.
// The reader, the writer and the JSON dump walk the same description with
// different visitors.
//
// Format notes. Little-endian, no signature, no padding. A string is one
// length byte and that many bytes (code page 1252, no terminator).
//
//   int16 track count, track records
//   int16 model count, model records
//   int16 rolling-stock count, rolling-stock records
//   5 camera views of 32 bytes (3 real32 direction, 5 int32)
//   properties: 3 bytes colour A, zero8, 3 bytes colour B, zero8,
//               20 bytes carried unchanged, raw32 carried unchanged
//   7-byte trailer (raw32, byte, int16) per rolling-stock unit with
//               0 < id < 30000, in ascending id order, first unit per id
//   nothing after that
//
// Much of a record is redundant: fields are stored two or three times and
// zero words separate groups. A visitor V is told for each field whether it
// is the field's first place in the file or a later copy, and the first
// place gives the field its key (the name it has in the JSON dump):
//
//   v.Field(key, x, kFirst)  a value (int16, int32, uint32, real32, byte, string)
//   v.Field(x, kCopy)        a copy of a value already visited (a reader checks
//                            it); a shared block passes its key here as well
//   v.template Zero<T>()     a zero field of type T
//   v.Bytes(key, p, n)       n bytes carried unchanged
//   v.Stored(condition)      whether the fields under it are in the file for
//                            this record; a dump shows every field of every
//                            record, so its visitor answers true
//
// plus a few hooks where the directions differ (KnownType, EndCount,
// EndFlag, NegatedReal, ExtraData), documented where they are called. A
// reader's visitor stops reading after its first failure, so a description
// reads on in file order and needs no checks of its own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "layout/layout.h"

namespace layout {
namespace records {

// Whether a field is at its first place or a later copy: distinct types, so
// that a visitor picks its read or its check when the code is compiled.
struct First {};
struct Copy {};
constexpr First kFirst{};
constexpr Copy kCopy{};

// The key of a field: a member name, an element `index` of the array `name`,
// or the member `member` of that element. Names are string literals.
struct Key {
  constexpr Key(const char* keyName, int keyIndex = -1, const char* keyMember = nullptr)
      : name(keyName), index(keyIndex), member(keyMember) {}
  const char* name;
  int index;
  const char* member;
};

// The three coordinates of a point or direction, as the array `name`.
template <typename V, typename P, typename Occurrence>
void Triple(V& v, const char* name, P& p, Occurrence occurrence) {
  v.Field(Key(name, 0), p.x, occurrence);
  v.Field(Key(name, 1), p.y, occurrence);
  v.Field(Key(name, 2), p.z, occurrence);
}

// Each element of an array of values at its first place.
template <typename V, typename T, std::size_t N>
void Elements(V& v, const char* name, T (&values)[N]) {
  for (std::size_t i = 0; i < N; ++i) v.Field(Key(name, static_cast<int>(i)), values[i], kFirst);
}

// Connection `i` of a piece: linkId, linkEnd, zero16.
template <typename V, typename T, typename Occurrence>
void Connection(V& v, T& t, int i, Occurrence occurrence) {
  v.Field(Key("connections", i, "linkId"), t.connections[i].linkId, occurrence);
  v.Field(Key("connections", i, "linkEnd"), t.connections[i].linkEnd, occurrence);
  v.template Zero<std::int16_t>();
}

// Block G: start direction, start point, end point.
template <typename V, typename T, typename Occurrence>
void BlockG(V& v, T& t, Occurrence occurrence) {
  Triple(v, "startDirection", t.startDirection, occurrence);
  Triple(v, "start", t.start, occurrence);
  Triple(v, "end", t.end, occurrence);
}

// Block I: id, name, type.
template <typename V, typename T, typename Occurrence>
void BlockI(V& v, T& t, Occurrence occurrence) {
  v.Field("id", t.id, occurrence);
  v.Field("name", t.name, occurrence);
  v.Field("type", t.type, occurrence);
}

// Block E: connection 0 and, unless the piece has one end, connection 1.
template <typename V, typename T, typename Occurrence>
void BlockE(V& v, T& t, Occurrence occurrence) {
  Connection(v, t, 0, occurrence);
  if (v.Stored(t.type != 2)) Connection(v, t, 1, occurrence);
}

template <typename V, typename T>
void AllBlocksCopied(V& v, T& t) {
  BlockG(v, t, kCopy);
  BlockI(v, t, kCopy);
  BlockE(v, t, kCopy);
}

// The tail of a type-11 piece: more ends, three groups, one real.
template <typename V, typename T>
void MultiEndTail(V& v, T& t) {
  v.template Zero<std::int32_t>();
  AllBlocksCopied(v, t);
  // The end count, stored as the count minus 2 (int16). A reader accepts 2
  // to 20 ends; a writer stores the count clamped to that range. 0 stops.
  const int ends = v.EndCount(t);
  if (ends == 0) return;
  // One flag word per further end: whether its connection follows below.
  for (int i = 2; i < ends; ++i) v.EndFlag(t.connections[i]);
  Elements(v, "groupA", t.groupA);
  Elements(v, "groupC", t.groupC);
  Elements(v, "groupB", t.groupB);
  for (auto& value : t.groupC) v.Field(value, kCopy);
  for (int i = 2; i < ends; ++i) {
    if (v.Stored(t.connections[i].linkId != 0)) Connection(v, t, i, kFirst);
  }
  v.Field("multiReal", t.multiReal, kFirst);
  v.Field(t.multiReal, kCopy);
  v.Field("fourthEndValue", t.fourthEndValue, kFirst);
}

template <typename V, typename T>
void Track(V& v, T& t) {
  BlockI(v, t, kFirst);
  // A reader refuses a type it does not know (and stops) and sets the end
  // count the type implies.
  if (!v.KnownType(t)) return;
  const int type = t.type;
  if (v.Stored(type == 6 || type == 7)) v.Field("variantValue", t.variantValue, kFirst);
  if (v.Stored(type == 4 || type == 9)) {
    Connection(v, t, 3, kFirst);
    v.Field("fourthEndValue", t.fourthEndValue, kFirst);
  }
  if (v.Stored(type == 3 || type == 4 || type == 8 || type == 9)) {
    Connection(v, t, 2, kFirst);
    v.Field("thirdEndValue", t.thirdEndValue, kFirst);
  }
  if (v.Stored(type == 11)) {
    v.template Zero<std::int32_t>();
    v.template Zero<std::int16_t>();
    v.Field("thirdEndValue", t.thirdEndValue, kFirst);
  }
  BlockG(v, t, kFirst);
  BlockI(v, t, kCopy);
  BlockE(v, t, kFirst);
  if (v.Stored(type == 9)) {
    Connection(v, t, 2, kCopy);
    v.Field(t.thirdEndValue, kCopy);
    AllBlocksCopied(v, t);
  }
  if (v.Stored(type == 8 || type == 9)) {
    v.Field("variantValue", t.variantValue, kFirst);
    AllBlocksCopied(v, t);
  }
  if (v.Stored(type == 6)) v.Field("gboName", t.gboName, kFirst);
  if (v.Stored(type == 11)) MultiEndTail(v, t);
}

template <typename V, typename M>
void Model(V& v, M& m) {
  v.Field("id", m.id, kFirst);
  v.Field("name", m.name, kFirst);
  Triple(v, "position", m.position, kFirst);
  v.Field(Key("direction", 0), m.direction.x, kFirst);
  // The file stores y with the opposite sign.
  v.NegatedReal(Key("direction", 1), m.direction.y);
  v.Field(Key("direction", 2), m.direction.z, kFirst);
  v.Field(m.name, kCopy);
  Elements(v, "values", m.values);
}

template <typename V, typename U>
void RollingStock(V& v, U& u) {
  v.Field("id", u.id, kFirst);
  v.Field("name", u.name, kFirst);
  // The extra data of a unit driven by a library; a reader learns its
  // length from the unit's data sheet and stops when it cannot.
  if (!v.ExtraData(u)) return;
  v.Field(u.id, kCopy);
  v.Field("secondName", u.secondName, kFirst);
  Elements(v, "values", u.values);
  v.Field("firstByte", u.firstByte, kFirst);
  v.Field("byteB", u.byteB, kFirst);
  v.template Zero<std::uint8_t>();
  v.Field(u.name, kCopy);
  v.Field(u.byteB, kCopy);
  v.Field("neighbourA", u.neighbourA, kFirst);
  v.Field("neighbourAByte", u.neighbourAByte, kFirst);
  v.Field("neighbourB", u.neighbourB, kFirst);
  v.Field("neighbourBByte", u.neighbourBByte, kFirst);
}

template <typename V, typename C>
void Camera(V& v, C& c) {
  v.Field("dirX", c.dirX, kFirst);
  v.Field("dirY", c.dirY, kFirst);
  v.Field("dirZ", c.dirZ, kFirst);
  v.Field("PX", c.PX, kFirst);
  v.Field("PY", c.PY, kFirst);
  v.Field("PZ", c.PZ, kFirst);
  v.Field("OW", c.OW, kFirst);
  v.Field("LH", c.LH, kFirst);
}

// The properties up to the second separator.
template <typename V, typename P>
void PropertiesColours(V& v, P& p) {
  Elements(v, "colourA", p.colourA);
  v.template Zero<std::uint8_t>();
  Elements(v, "colourB", p.colourB);
  v.template Zero<std::uint8_t>();
}

// The rest of the properties, carried unchanged.
template <typename V, typename P>
void PropertiesRest(V& v, P& p) {
  v.Bytes("block", p.block, sizeof p.block);
  v.Field("value", p.value, kFirst);
}

template <typename V, typename U>
void Trailer(V& v, U& u) {
  v.Field("trailerValue", u.trailerValue, kFirst);
  v.Field("trailerByte", u.trailerByte, kFirst);
  v.Field("trailerShort", u.trailerShort, kFirst);
}

}  // namespace records
}  // namespace layout
