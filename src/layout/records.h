// The records of a layout file (".anl"), each described once, in file order.
// The reader, the writer and the demo maker walk the same description with
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
// is the field's first place in the file or a later copy:
//
//   v.Field(x, kFirst)   a value (int16, int32, uint32, real32, byte, string)
//   v.Field(x, kCopy)    a copy of a value already visited (a reader checks it)
//   v.template Zero<T>() a zero field of type T
//   v.Bytes(p, n)        n bytes carried unchanged
//
// plus a few hooks where the two directions differ (KnownType, EndCount,
// EndFlag, NegatedReal, ExtraData), documented where they are called. A
// reader's visitor stops reading after its first failure, so a description
// reads on in file order and needs no checks of its own.
#pragma once

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

// Connection: linkId, linkEnd, zero16.
template <typename V, typename C, typename Occurrence>
void Connection(V& v, C& c, Occurrence occurrence) {
  v.Field(c.linkId, occurrence);
  v.Field(c.linkEnd, occurrence);
  v.template Zero<std::int16_t>();
}

// Block G: start direction, start point, end point.
template <typename V, typename T, typename Occurrence>
void BlockG(V& v, T& t, Occurrence occurrence) {
  v.Field(t.startDirection.x, occurrence);
  v.Field(t.startDirection.y, occurrence);
  v.Field(t.startDirection.z, occurrence);
  v.Field(t.start.x, occurrence);
  v.Field(t.start.y, occurrence);
  v.Field(t.start.z, occurrence);
  v.Field(t.end.x, occurrence);
  v.Field(t.end.y, occurrence);
  v.Field(t.end.z, occurrence);
}

// Block I: id, name, type.
template <typename V, typename T, typename Occurrence>
void BlockI(V& v, T& t, Occurrence occurrence) {
  v.Field(t.id, occurrence);
  v.Field(t.name, occurrence);
  v.Field(t.type, occurrence);
}

// Block E: connection 0 and, unless the piece has one end, connection 1.
template <typename V, typename T, typename Occurrence>
void BlockE(V& v, T& t, Occurrence occurrence) {
  Connection(v, t.connections[0], occurrence);
  if (t.type != 2) Connection(v, t.connections[1], occurrence);
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
  for (auto& value : t.groupA) v.Field(value, kFirst);
  for (auto& value : t.groupC) v.Field(value, kFirst);
  for (auto& value : t.groupB) v.Field(value, kFirst);
  for (auto& value : t.groupC) v.Field(value, kCopy);
  for (int i = 2; i < ends; ++i) {
    if (t.connections[i].linkId != 0) Connection(v, t.connections[i], kFirst);
  }
  v.Field(t.multiReal, kFirst);
  v.Field(t.multiReal, kCopy);
  v.Field(t.fourthEndValue, kFirst);
}

template <typename V, typename T>
void Track(V& v, T& t) {
  v.Field(t.id, kFirst);
  v.Field(t.name, kFirst);
  v.Field(t.type, kFirst);
  // A reader refuses a type it does not know (and stops) and sets the end
  // count the type implies.
  if (!v.KnownType(t)) return;
  const int type = t.type;
  if (type == 6 || type == 7) v.Field(t.variantValue, kFirst);
  if (type == 4 || type == 9) {
    Connection(v, t.connections[3], kFirst);
    v.Field(t.fourthEndValue, kFirst);
  }
  if (type == 3 || type == 4 || type == 8 || type == 9) {
    Connection(v, t.connections[2], kFirst);
    v.Field(t.thirdEndValue, kFirst);
  }
  if (type == 11) {
    v.template Zero<std::int32_t>();
    v.template Zero<std::int16_t>();
    v.Field(t.thirdEndValue, kFirst);
  }
  BlockG(v, t, kFirst);
  BlockI(v, t, kCopy);
  BlockE(v, t, kFirst);
  if (type == 9) {
    Connection(v, t.connections[2], kCopy);
    v.Field(t.thirdEndValue, kCopy);
    AllBlocksCopied(v, t);
  }
  if (type == 8 || type == 9) {
    v.Field(t.variantValue, kFirst);
    AllBlocksCopied(v, t);
  }
  if (type == 6) v.Field(t.gboName, kFirst);
  if (type == 11) MultiEndTail(v, t);
}

template <typename V, typename M>
void Model(V& v, M& m) {
  v.Field(m.id, kFirst);
  v.Field(m.name, kFirst);
  v.Field(m.position.x, kFirst);
  v.Field(m.position.y, kFirst);
  v.Field(m.position.z, kFirst);
  v.Field(m.direction.x, kFirst);
  v.NegatedReal(m.direction.y);  // the file stores y with the opposite sign
  v.Field(m.direction.z, kFirst);
  v.Field(m.name, kCopy);
  v.Field(m.values[0], kFirst);
  v.Field(m.values[1], kFirst);
}

template <typename V, typename U>
void RollingStock(V& v, U& u) {
  v.Field(u.id, kFirst);
  v.Field(u.name, kFirst);
  // The extra data of a unit driven by a library; a reader learns its
  // length from the unit's data sheet and stops when it cannot.
  if (!v.ExtraData(u)) return;
  v.Field(u.id, kCopy);
  v.Field(u.secondName, kFirst);
  for (auto& value : u.values) v.Field(value, kFirst);
  v.Field(u.firstByte, kFirst);
  v.Field(u.byteB, kFirst);
  v.template Zero<std::uint8_t>();
  v.Field(u.name, kCopy);
  v.Field(u.byteB, kCopy);
  v.Field(u.neighbourA, kFirst);
  v.Field(u.neighbourAByte, kFirst);
  v.Field(u.neighbourB, kFirst);
  v.Field(u.neighbourBByte, kFirst);
}

template <typename V, typename C>
void Camera(V& v, C& c) {
  v.Field(c.dirX, kFirst);
  v.Field(c.dirY, kFirst);
  v.Field(c.dirZ, kFirst);
  v.Field(c.PX, kFirst);
  v.Field(c.PY, kFirst);
  v.Field(c.PZ, kFirst);
  v.Field(c.OW, kFirst);
  v.Field(c.LH, kFirst);
}

// The properties up to the second separator.
template <typename V, typename P>
void PropertiesColours(V& v, P& p) {
  for (auto& c : p.colourA) v.Field(c, kFirst);
  v.template Zero<std::uint8_t>();
  for (auto& c : p.colourB) v.Field(c, kFirst);
  v.template Zero<std::uint8_t>();
}

// The rest of the properties, carried unchanged.
template <typename V, typename P>
void PropertiesRest(V& v, P& p) {
  v.Bytes(p.block, sizeof p.block);
  v.Field(p.value, kFirst);
}

template <typename V, typename U>
void Trailer(V& v, U& u) {
  v.Field(u.trailerValue, kFirst);
  v.Field(u.trailerByte, kFirst);
  v.Field(u.trailerShort, kFirst);
}

}  // namespace records
}  // namespace layout
