// Layout files built byte by byte for the tests, written from the format's
// description independently of the code under test.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace layout_bytes {

// Appends little-endian fields.
struct Bytes {
  Bytes& U8(int v) { return Raw(std::string(1, static_cast<char>(v))); }
  Bytes& I16(int v) { return U8(v & 0xFF).U8((static_cast<std::uint16_t>(v) >> 8) & 0xFF); }
  Bytes& U32(std::uint32_t v) { return I16(static_cast<int>(v & 0xFFFF)).I16(static_cast<int>(v >> 16)); }
  Bytes& I32(std::int32_t v) { return U32(static_cast<std::uint32_t>(v)); }
  Bytes& F32(float f) {
    std::uint32_t u;
    return std::memcpy(&u, &f, 4), U32(u);
  }
  Bytes& Str(const std::string& s) { return U8(static_cast<int>(s.size())).Raw(s); }
  Bytes& Raw(const std::string& s) { return data += s, *this; }
  std::string data;
};

struct Track {
  int id = 1, type = 1, variant = 0, start[3] = {0, 0, 0}, end[3] = {1000, 0, 0}, link[20] = {}, linkEnd[20] = {};
  std::string name = "Gerade", gbo;
  float dir[3] = {1.0f, 0.0f, 0.0f}, multi = 0.0f;
  int third = 0, fourth = 0, ends = 2;  // ends: type 11 only
  std::uint32_t groupA[3] = {0, 0, 0}, groupB[3] = {0, 0, 0},
                groupC[3] = {0, 0, 0};  // type 11: the connection flag of each end (0 = derive from link)
};

inline void Connection(Bytes& b, const Track& t, int i) { b.I16(t.link[i]).I16(t.linkEnd[i]).I16(0); }

// Blocks G (direction, start, end), I (id, name, type) and E (connections 0 and 1).
inline void AllBlocks(Bytes& b, const Track& t) {
  for (int i = 0; i < 3; ++i) b.F32(t.dir[i]);
  for (int i = 0; i < 6; ++i) b.I32(i < 3 ? t.start[i] : t.end[i - 3]);
  b.I16(t.id).Str(t.name).I32(t.type);
  Connection(b, t, 0);
  if (t.type != 2) Connection(b, t, 1);
}

inline void AppendTrack(Bytes& b, const Track& t) {
  const int type = t.type;
  b.I16(t.id).Str(t.name).I32(t.type);
  if (type == 6 || type == 7) b.I32(t.variant);
  if (type == 4 || type == 9) Connection(b, t, 3), b.I16(t.fourth);
  if (type == 3 || type == 4 || type == 8 || type == 9) Connection(b, t, 2), b.I16(t.third);
  if (type == 11) b.I32(0).I16(0).I16(t.third);
  AllBlocks(b, t);
  if (type == 9) Connection(b, t, 2), b.I16(t.third), AllBlocks(b, t);
  if (type == 8 || type == 9) b.I32(t.variant), AllBlocks(b, t);
  if (type == 6) b.Str(t.gbo);
  if (type != 11) return;
  b.I32(0), AllBlocks(b, t), b.I16(t.ends - 2);
  const int ends = t.ends < 20 ? t.ends : 20;  // a count outside 2..20 is written as it is
  for (int i = 2; i < ends; ++i) b.U32(t.link[i] != 0 ? 1u : 0u);
  for (const auto* group : {t.groupA, t.groupC, t.groupB, t.groupC}) b.U32(group[0]).U32(group[1]).U32(group[2]);
  for (int i = 2; i < ends; ++i) t.link[i] != 0 ? Connection(b, t, i) : void();
  b.F32(t.multi).F32(t.multi).I16(t.fourth);
}

struct Model {
  int id = 1, pos[3] = {10, 20, 30};
  std::string name = "Haus";
  float dir[3] = {1.0f, 0.0f, 0.0f};  // as in memory; the file stores -y
  std::uint32_t values[2] = {0, 0};
};

struct Unit {
  int id = 1, firstByte = 0x11, byteB = 0x22, neighbourA = 0, neighbourAByte = 0, neighbourB = 0, neighbourBByte = 0;
  std::string name = "Wagen.rm", extra = "", second = "Zweit";  // extra: DLL extra data, exactly as in the file
  std::uint32_t values[11] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}, trailerValue = 0;
  int trailerByte = 0, trailerShort = 0;
};

// Camera views, properties and trailers after the three sections.
struct Tail {
  std::uint32_t cameras[5][8] = {}, value = 0;
  int colourA[3] = {0, 0, 0}, colourB[3] = {0, 0, 0}, separators[2] = {0, 0};
  std::string block = std::string(20, '\0');
};

// A whole file. Trailers go in ascending id order, one per id in 1..29999.
inline std::string File(const std::vector<Track>& tracks, const std::vector<Model>& models,
                        const std::vector<Unit>& units, const Tail& tail = Tail()) {
  Bytes b;
  b.I16(static_cast<int>(tracks.size()));
  for (const Track& t : tracks) AppendTrack(b, t);
  b.I16(static_cast<int>(models.size()));
  for (const Model& m : models) {
    b.I16(m.id).Str(m.name).I32(m.pos[0]).I32(m.pos[1]).I32(m.pos[2]);
    b.F32(m.dir[0]).F32(-m.dir[1]).F32(m.dir[2]).Str(m.name).U32(m.values[0]).U32(m.values[1]);
  }
  b.I16(static_cast<int>(units.size()));
  for (const Unit& u : units) {
    b.I16(u.id).Str(u.name).Raw(u.extra).I16(u.id).Str(u.second);
    for (auto v : u.values) b.U32(v);
    b.U8(u.firstByte).U8(u.byteB).U8(0).Str(u.name).U8(u.byteB);
    b.I16(u.neighbourA).U8(u.neighbourAByte).I16(u.neighbourB).U8(u.neighbourBByte);
  }
  for (const auto& view : tail.cameras)
    for (auto v : view) b.U32(v);
  b.U8(tail.colourA[0]).U8(tail.colourA[1]).U8(tail.colourA[2]).U8(tail.separators[0]);
  b.U8(tail.colourB[0]).U8(tail.colourB[1]).U8(tail.colourB[2]).U8(tail.separators[1]);
  b.Raw(tail.block).U32(tail.value);
  for (int id = 1; id < 30000; ++id) {
    auto u = std::find_if(units.begin(), units.end(), [id](const Unit& x) { return x.id == id; });
    if (u != units.end()) b.U32(u->trailerValue).U8(u->trailerByte).I16(u->trailerShort);
  }
  return b.data;
}

}  // namespace layout_bytes
