// Writes the binary seeds of the fuzz targets into fuzz/corpus/<target>/: layout files made
// with the layout tests' byte builder, and the terrain tests' pictures and TERRAGEN files.
// Run it from the repository root after a change to the formats; the corpora are committed
// (the text seeds of settings, registry files and paths are kept there as they are).
//
//   build/native/fuzz/make_fuzz_seeds [ROOT]
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "layout/layout_bytes.h"

namespace {

namespace fs = std::filesystem;
using layout_bytes::File;

struct Seed {
  std::string target, name, bytes;
};

layout_bytes::Track OfType(int type, int id) {
  layout_bytes::Track t;
  t.id = id;
  t.type = type;
  t.variant = type >= 6 && type <= 9 ? 5 : 0;
  t.gbo = type == 6 ? "GBO\\Tunnel.gbo" : "";
  t.link[0] = id > 1 ? id - 1 : 0;
  t.link[1] = id + 1;
  t.link[2] = 9;
  t.third = 3;
  t.fourth = 4;
  t.ends = 4;
  t.start[0] = 1000 * id;
  t.end[0] = 1000 * id + 1000;
  t.end[2] = 40;
  return t;
}

layout_bytes::Model ModelOf(int id, const char* name, int x, int y, int z) {
  layout_bytes::Model m;
  m.id = id;
  if (*name != '\0') m.name = name;
  m.pos[0] = x;
  m.pos[1] = y;
  m.pos[2] = z;
  return m;
}

layout_bytes::Unit UnitOf(int id, const char* name, const std::string& extra) {
  layout_bytes::Unit u;
  u.id = id;
  if (*name != '\0') u.name = name;
  u.extra = extra;
  return u;
}

void AddLayoutSeeds(std::vector<Seed>* seeds) {
  std::vector<layout_bytes::Track> all;
  for (int type : {1, 2, 3, 4, 6, 7, 8, 9, 11}) all.push_back(OfType(type, static_cast<int>(all.size()) + 1));
  const auto bridge = ModelOf(5, "..\\Bruecken\\Stein", 1500, 0, 20);
  const auto stop = ModelOf(6, "..\\Prellbock\\A", 1700, 20, 40);
  const auto house = ModelOf(7, "", 10, 20, 30);
  const layout_bytes::Unit wagon;
  auto dll = UnitOf(3, "Loks\\V200.dll", std::string("\x00\xAB\x7F", 3));
  dll.trailerValue = 77;
  auto lok = UnitOf(4, "Lok.DLL", std::string(16, '\x5A'));
  lok.neighbourA = 3;
  lok.neighbourB = 1;
  const auto high = UnitOf(30001, "", wagon.extra);  // no trailer
  layout_bytes::Tail tail;
  for (int v = 0; v < 5; ++v) {
    for (int k = 0; k < 8; ++k) tail.cameras[v][k] = static_cast<std::uint32_t>(v * 100 + k);
  }
  tail.colourA[0] = 200;
  tail.colourB[2] = 17;
  tail.value = 0xDEADBEEF;
  const std::string cut = File(all, {bridge}, {dll});
  *seeds = {
      {"layout", "empty.anl", File({}, {}, {})},
      {"layout", "one-track.anl", File({layout_bytes::Track()}, {}, {})},
      {"layout", "every-track-type.anl", File(all, {}, {})},
      {"layout", "bridge-stop-duplicates.anl", File({OfType(1, 1), OfType(2, 2)}, {bridge, stop, house, house}, {})},
      {"layout", "rolling-stock.anl", File({layout_bytes::Track()}, {house}, {wagon, dll, lok, high})},
      {"layout", "refused-extra-length.anl", File({}, {}, {wagon, UnitOf(8, "Neg.dll", wagon.extra)})},
      {"layout", "cameras-properties.anl", File({layout_bytes::Track()}, {}, {wagon}, tail)},
      {"layout", "truncated.anl", cut.substr(0, cut.size() / 2)},
      {"layout", "too-long.anl", File({}, {}, {}) + "x"},
  };
  tail.separators[0] = 1;
  seeds->push_back({"layout", "bad-separator.anl", File({}, {}, {}, tail)});
}

}  // namespace

int main(int argc, char** argv) {
  const fs::path root = argc > 1 ? argv[1] : ".", data = root / "tests" / "terrain" / "data";
  if (!fs::is_directory(data)) {
    std::cerr << "run from the repository root or name it\n";
    return 2;
  }
  std::vector<Seed> seeds;
  AddLayoutSeeds(&seeds);
  for (const auto& entry : fs::directory_iterator(data)) {  // the terrain tests' files
    const std::string ext = entry.path().extension().string();
    if (ext != ".bmp" && ext != ".ter") continue;
    std::ifstream in(entry.path(), std::ios::binary);
    seeds.push_back({ext == ".bmp" ? "bitmap" : "terragen", entry.path().filename().string(),
                     std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>())});
  }
  int status = 0;
  for (const Seed& seed : seeds) {
    const fs::path folder = root / "fuzz" / "corpus" / seed.target;
    fs::create_directories(folder);
    std::ofstream out(folder / seed.name, std::ios::binary | std::ios::trunc);
    out.write(seed.bytes.data(), static_cast<std::streamsize>(seed.bytes.size()));
    if (!out) {
      std::cerr << "cannot write " << (folder / seed.name) << "\n";
      status = 1;
    }
  }
  return status;
}
