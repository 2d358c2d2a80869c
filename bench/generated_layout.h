// The generated layouts of the benchmarks: `records` tracks of all types,
// as many models (a third of them bridges and buffer stops standing on their
// tracks) and as many rolling-stock units (some DLL models, kDllNames names
// with a data sheet each giving kExtraLength bytes of extra data).
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

#include "layout/layout.h"

namespace bench {

// About half of the files that the generated layouts name, made empty in the
// installation folder `native`, so that existence checks answer both ways.
inline void MakeHalfOfTheNamedFiles(const std::filesystem::path& native) {
  auto touch = [](const std::filesystem::path& path) {
    std::filesystem::create_directories(path.parent_path());
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f != nullptr) std::fclose(f);
  };
  for (int i = 0; i < 250; ++i) touch(native / "Modelle" / "Haeuser" / ("Haus " + std::to_string(i) + ".mod"));
  for (int i = 0; i < 25; ++i) touch(native / "GBO" / ("Bahnhof " + std::to_string(i) + ".gbo"));
  for (int i = 0; i < 150; ++i) touch(native / "Rollmaterial" / "Wagen" / ("Gueterwagen " + std::to_string(i) + ".rm"));
}

// Near the record limit.
const int kLargeRecords = 32767;
const int kDllNames = 8;
const int kExtraLength = 16;

inline layout::Layout GenerateLayout(int records) {
  static const int kTypes[] = {1, 2, 3, 4, 6, 7, 8, 9, 11};
  layout::Layout l;
  l.tracks.resize(static_cast<std::size_t>(records));
  for (int i = 0; i < records; ++i) {
    layout::TrackRecord& t = l.tracks[static_cast<std::size_t>(i)];
    t.id = static_cast<std::int16_t>(i + 1);
    t.type = kTypes[i % 9];
    t.variantValue = t.type >= 6 && t.type != 11 ? 3 : 0;
    t.endCount = static_cast<std::int16_t>(2 + i % 19);
    t.UpdateEndCount();
    t.name = t.type == 2 ? "Prellbockgleis" : (t.endCount > 2 ? "Weiche" : "Gleis");  // kinds
    int x = (i % 181) * 2000, y = (i / 181) * 2000;
    t.start = {x, y, 100};
    bool arc = i % 3 == 0;
    t.end = arc ? layout::Point{x + 1000, y + 1000, 120} : layout::Point{x + 1000, y, 120};
    t.startDirection = {1.0f, 0.0f, 0.0f};
    for (int e = 0; e < t.endCount && e < layout::kMaxEnds; ++e) {
      t.connections[e].linkId = static_cast<std::int16_t>(e % 2 == 0 ? 0 : 1 + (i + e) % records);
      t.connections[e].linkEnd = static_cast<std::int16_t>(e);
    }
    t.thirdEndValue = 3;
    t.fourthEndValue = 4;
    t.multiReal = 1.5f;
    if (t.type == 6) t.gboName = "GBO\\Bahnhof " + std::to_string(i % 50) + ".gbo";
  }
  l.models.resize(static_cast<std::size_t>(records));
  for (int i = 0; i < records; ++i) {
    layout::ModelRecord& m = l.models[static_cast<std::size_t>(i)];
    const layout::TrackRecord& t = l.tracks[static_cast<std::size_t>(i)];
    m.id = static_cast<std::int16_t>(i + 1);
    m.values[0] = static_cast<std::uint32_t>(i);
    if (i % 6 == 0) {
      m.name = "..\\Bruecken\\Steinbruecke";
      m.position = {(t.start.x + t.end.x) / 2, (t.start.y + t.end.y) / 2, 110};
      m.direction = t.startDirection;
    } else if (i % 6 == 3) {
      // On the nearest single-ended piece (type 2 comes second in each nine).
      int j = i / 9 * 9 + 1;
      if (j >= records) j -= 9;
      const layout::TrackRecord& stop = l.tracks[static_cast<std::size_t>(j)];
      m.name = "..\\Prellbock\\Holz " + std::to_string(i);
      stop.BufferStopPosition(&m.position);
      stop.EndDirection(&m.direction);
    } else {
      m.name = "Haeuser\\Haus " + std::to_string(i % 500);
      m.position = {i * 7, -i * 3, 0};
      m.direction = {0.0f, 1.0f, 0.0f};
    }
  }
  l.rollingStock.resize(static_cast<std::size_t>(records));
  for (int i = 0; i < records; ++i) {
    layout::RollingStockRecord& u = l.rollingStock[static_cast<std::size_t>(i)];
    u.id = static_cast<std::int16_t>(i % 1000 == 999 ? i : i + 1);  // a few repeated ids
    if (i % 16 == 0) {
      u.name = "Loks\\V" + std::to_string(i / 16 % kDllNames) + ".dll";
      u.extraData.assign(kExtraLength, static_cast<std::uint8_t>(i));
    } else {
      u.name = "Wagen\\Gueterwagen " + std::to_string(i % 300) + ".rm";
    }
    u.secondName = "Zug " + std::to_string(i / 10);
    u.neighbourA = static_cast<std::int16_t>(i);
    u.trailerValue = static_cast<std::uint32_t>(i);
  }
  for (int v = 0; v < layout::kCameraViewCount; ++v) l.cameraViews[v].LH = 47200;
  return l;
}

}  // namespace bench
