// Terrain generation against the raw cost of writing its files.
//
// Inputs: a 1025 x 1025 height bitmap and colour bitmap at 5 m pixels with the
// default tiles (400 m every 200 m, 625 tiles of up to 80 x 80 cells), and a
// TERRAGEN file of 1026 x 1026 points (the same 1025 x 1025 cells) with the
// same colour picture. Each generation is measured beside a baseline that
// writes the same number of files with the same sizes, one fwrite each, in
// the same run. Counters: tiles per second, bytes per second, and the peak
// resident memory of the process so far (run one generation alone to read its
// own peak; terrain_ratios.sh does that).
//
// The folder for the files is $ZUVO_BENCH_DIR, else the system's temporary
// folder; everything written there is removed at the end.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "host/installation.h"
#include "host/messages.h"
#include "host/wording.h"
#include "bench_paths.h"
#include "platform/platform.h"
#include "settings/settings_file.h"
#include "model/model.h"
#include "terrain/bitmap.h"
#include "terrain/generator.h"
#include "terrain/height_field.h"
#include "terrain/terrain_job.h"
#include "terrain/tile_mesh.h"
#include "terrain/tile_plan.h"

namespace fs = std::filesystem;

namespace {

const int kCells = 1025;

struct Workspace {
  fs::path root;
  std::string windowsRoot;
  settings::SettingsFile settings;
  std::vector<std::uintmax_t> bitmapTileSizes;
  std::vector<std::uintmax_t> terragenTileSizes;
};

Workspace* g_workspace = nullptr;

using bench::WindowsPath;

void Put16(std::FILE* f, unsigned v) {
  std::fputc(static_cast<int>(v & 0xFF), f);
  std::fputc(static_cast<int>((v >> 8) & 0xFF), f);
}
void Put32(std::FILE* f, std::uint32_t v) {
  Put16(f, v & 0xFFFF);
  Put16(f, v >> 16);
}

// Height in centimetres of a gentle landscape.
double Landscape(int x, int y) {
  return 20000.0 + 15000.0 * std::sin(x / 60.0) * std::cos(y / 85.0) + 3.0 * x - 2.0 * y;
}

// A 24-bit bitmap written row by row, so that making it costs no memory.
void WriteBitmap(const fs::path& path, bool heights) {
  std::FILE* f = std::fopen(path.string().c_str(), "wb");
  const int stride = (3 * kCells + 3) / 4 * 4;
  std::fputs("BM", f);
  Put32(f, static_cast<std::uint32_t>(54 + stride * kCells));
  Put32(f, 0);
  Put32(f, 54);
  Put32(f, 40);
  Put32(f, kCells);
  Put32(f, kCells);
  Put16(f, 1);
  Put16(f, 24);
  for (int k = 0; k < 6; ++k) Put32(f, 0);
  std::vector<unsigned char> row(static_cast<std::size_t>(stride), 0);
  for (int y = 0; y < kCells; ++y) {
    for (int x = 0; x < kCells; ++x) {
      unsigned char* p = &row[static_cast<std::size_t>(3 * x)];
      if (heights) {
        std::uint32_t v = static_cast<std::uint32_t>(Landscape(x, y) + 10000.0);
        p[0] = static_cast<unsigned char>(v >> 16);
        p[1] = static_cast<unsigned char>(v >> 8);
        p[2] = static_cast<unsigned char>(v);
      } else {
        p[0] = static_cast<unsigned char>(x * 7 + y);
        p[1] = static_cast<unsigned char>(100 + (x ^ y) % 100);
        p[2] = static_cast<unsigned char>(y * 3);
      }
    }
    std::fwrite(row.data(), 1, row.size(), f);
  }
  std::fclose(f);
}

// A TERRAGEN file of (kCells + 1) x (kCells + 1) points at 5 m.
void WriteTerragen(const fs::path& path) {
  std::FILE* f = std::fopen(path.string().c_str(), "wb");
  const int points = kCells + 1;
  std::fputs("TERRAGENTERRAIN XPTS", f);
  Put16(f, points);
  Put16(f, 0);
  std::fputs("YPTS", f);
  Put16(f, points);
  Put16(f, 0);
  std::fputs("SCAL", f);
  const float scale[3] = {5.0f, 5.0f, 1.0f};
  std::fwrite(scale, 4, 3, f);
  std::fputs("ALTW", f);
  Put16(f, 65535 / 2);  // height scale: a sample step is about half a metre
  Put16(f, 0);
  for (int y = 0; y < points; ++y) {
    for (int x = 0; x < points; ++x) {
      Put16(f, static_cast<unsigned>(static_cast<int>(Landscape(x, y) / 50.0)) & 0xFFFF);
    }
  }
  std::fputs("EOF ", f);
  std::fclose(f);
}

void AddSection(settings::SettingsFile* s, const std::string& section, const std::string& name,
                const std::string& heights, const std::string& colours) {
  s->AppendSection(section);
  s->Append("Name", name);
  s->Append("Hoehe", heights);
  s->Append("Farbe", colours);
  s->Append("Pixelgroesse", "5");
}

std::vector<std::uintmax_t> FileSizes(const fs::path& folder) {
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(folder)) files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  std::vector<std::uintmax_t> sizes;
  for (const fs::path& p : files) sizes.push_back(fs::file_size(p));
  return sizes;
}

void PrintMessage(const host::Reason& reason, void*) { std::fprintf(stderr, "%s", host::Wording(reason).c_str()); }

void SetUp() {
  const char* chosen = std::getenv("ZUVO_BENCH_DIR");
  fs::path base = chosen != nullptr && *chosen != '\0' ? fs::path(chosen) : fs::temp_directory_path();
  g_workspace = new Workspace;
  Workspace& w = *g_workspace;
  w.root = base / ("zuvo-terrain-bench-" + std::to_string(std::rand()) + "-" +
                   std::to_string(static_cast<long>(std::time(nullptr))));
  fs::create_directories(w.root / "Host" / "Modelle");
  fs::create_directories(w.root / "raw");
  w.windowsRoot = WindowsPath(w.root);
  host::SetMessageSink(PrintMessage, nullptr);
  WriteBitmap(w.root / "hoehe.bmp", true);
  WriteBitmap(w.root / "farbe.bmp", false);
  WriteTerragen(w.root / "hoehe.ter");
  AddSection(&w.settings, "TerrainBitmap", "BenchBitmap", w.windowsRoot + "\\hoehe.bmp", w.windowsRoot + "\\farbe.bmp");
  AddSection(&w.settings, "TerrainTerragen", "BenchTerragen", w.windowsRoot + "\\hoehe.ter",
             w.windowsRoot + "\\farbe.bmp");
}

void TearDown() {
  std::error_code ec;
  fs::remove_all(g_workspace->root, ec);
  delete g_workspace;
}

double PeakResidentMiB() {
  struct rusage usage;
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss / 1024.0;  // KiB on Linux
}

// The tile sizes of one generation, made once outside the timing.
const std::vector<std::uintmax_t>& TileSizes(const std::string& section, const std::string& name,
                                             std::vector<std::uintmax_t>* sizes) {
  if (sizes->empty()) {
    if (!terrain::GenerateTerrainSection(g_workspace->settings, section, g_workspace->windowsRoot,
                                         g_workspace->windowsRoot + "\\Host\\"))
      std::exit(1);
    *sizes = FileSizes(g_workspace->root / "Host" / "Modelle" / name);
  }
  return *sizes;
}

void Report(benchmark::State& state, const std::vector<std::uintmax_t>& sizes) {
  std::uintmax_t bytes = 0;
  for (std::uintmax_t s : sizes) bytes += s;
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * sizes.size()));
  state.counters["tiles"] = static_cast<double>(sizes.size());
  state.counters["tiles_per_second"] =
      benchmark::Counter(static_cast<double>(state.iterations() * sizes.size()), benchmark::Counter::kIsRate);
  state.counters["peak_rss_mib"] = PeakResidentMiB();
}

void Generate(benchmark::State& state, const std::string& section, const std::string& name,
              std::vector<std::uintmax_t>* sizes) {
  const std::vector<std::uintmax_t>& tiles = TileSizes(section, name, sizes);
  ::sync();
  for (auto _ : state) {
    if (!terrain::GenerateTerrainSection(g_workspace->settings, section, g_workspace->windowsRoot,
                                         g_workspace->windowsRoot + "\\Host\\")) {
      state.SkipWithError("generation failed");
      break;
    }
  }
  Report(state, tiles);
}

// The same files, one fopen, fwrite and fclose each. 0 when one failed.
int WriteRaw(const std::vector<std::uintmax_t>& tiles, const std::vector<char>& buffer) {
  const fs::path folder = g_workspace->root / "raw";
  int ok = 1;
  for (std::size_t k = 0; k < tiles.size(); ++k) {
    std::string path = (folder / ("tile" + std::to_string(k) + ".mod")).string();
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr || std::fwrite(buffer.data(), 1, static_cast<std::size_t>(tiles[k]), f) != tiles[k]) {
      ok = 0;
    }
    if (f != nullptr) std::fclose(f);
  }
  return ok;
}

std::vector<char> RawBuffer(const std::vector<std::uintmax_t>& tiles) {
  std::uintmax_t largest = 0;
  for (std::uintmax_t s : tiles) largest = std::max(largest, s);
  return std::vector<char>(static_cast<std::size_t>(largest), 'x');
}

void RawWrite(benchmark::State& state, const std::string& section, const std::string& name,
              std::vector<std::uintmax_t>* sizes) {
  const std::vector<std::uintmax_t>& tiles = TileSizes(section, name, sizes);
  std::vector<char> buffer = RawBuffer(tiles);
  ::sync();
  for (auto _ : state) {
    if (!WriteRaw(tiles, buffer)) state.SkipWithError("raw write failed");
  }
  Report(state, tiles);
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  std::size_t n = values.size();
  return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// Raw writes and generations in turns, each starting with the disk's caches
// written out, so neither pays for the other's writing: the median of the
// per-turn ratios is the figure that holds up on a busy machine.
void Ratio(benchmark::State& state, const std::string& section, const std::string& name,
           std::vector<std::uintmax_t>* sizes) {
  const std::vector<std::uintmax_t>& tiles = TileSizes(section, name, sizes);
  std::vector<char> buffer = RawBuffer(tiles);
  std::vector<double> raws, generations, ratios;
  using Clock = std::chrono::steady_clock;
  for (auto _ : state) {
    for (int turn = 0; turn < 5; ++turn) {
      ::sync();
      Clock::time_point start = Clock::now();
      WriteRaw(tiles, buffer);
      double raw = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
      ::sync();
      start = Clock::now();
      terrain::GenerateTerrainSection(g_workspace->settings, section, g_workspace->windowsRoot,
                                      g_workspace->windowsRoot + "\\Host\\");
      double generation = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
      raws.push_back(raw);
      generations.push_back(generation);
      ratios.push_back(generation / raw);
    }
  }
  state.counters["raw_ms"] = Median(raws);
  state.counters["generate_ms"] = Median(generations);
  state.counters["ratio"] = Median(ratios);
}

// The generation's own work without the files: every tile's mesh and bytes.
void BM_BuildOnly_Bitmap(benchmark::State& state) {
  Workspace& w = *g_workspace;
  terrain::BitmapHeightField heights(w.windowsRoot + "\\hoehe.bmp", 500);
  terrain::BitmapImage colours;
  colours.ReadBitmap(w.windowsRoot + "\\farbe.bmp");
  terrain::TilePlan plan;
  terrain::PlanTiles(200, 400, 500, heights.cellsX, heights.cellsY, &plan);
  const terrain::TileShading shading = terrain::TileShadingFor(
      terrain::ReadTerrainJob(w.settings, "TerrainBitmap", w.windowsRoot, w.windowsRoot + "\\Host\\"),
      heights.minimumHeight);
  model::Model tile;
  std::string bytes;
  for (auto _ : state) {
    for (int i = 0; i < plan.columns; ++i) {
      for (int j = 0; j < plan.rows; ++j) {
        terrain::BuildTileMesh(shading, &tile, colours, heights, plan.Tile(i, j));
        bytes.clear();
        tile.Serialize(&bytes);
        benchmark::DoNotOptimize(bytes.data());
      }
    }
  }
  state.counters["tiles_per_second"] = benchmark::Counter(
      static_cast<double>(state.iterations()) * plan.columns * plan.rows, benchmark::Counter::kIsRate);
}

void BM_Ratio_Bitmap(benchmark::State& state) {
  Ratio(state, "TerrainBitmap", "BenchBitmap", &g_workspace->bitmapTileSizes);
}
void BM_Ratio_Terragen(benchmark::State& state) {
  Ratio(state, "TerrainTerragen", "BenchTerragen", &g_workspace->terragenTileSizes);
}
void BM_RawWrite_Bitmap(benchmark::State& state) {
  RawWrite(state, "TerrainBitmap", "BenchBitmap", &g_workspace->bitmapTileSizes);
}
void BM_Generate_Bitmap(benchmark::State& state) {
  Generate(state, "TerrainBitmap", "BenchBitmap", &g_workspace->bitmapTileSizes);
}
void BM_RawWrite_Terragen(benchmark::State& state) {
  RawWrite(state, "TerrainTerragen", "BenchTerragen", &g_workspace->terragenTileSizes);
}
void BM_Generate_Terragen(benchmark::State& state) {
  Generate(state, "TerrainTerragen", "BenchTerragen", &g_workspace->terragenTileSizes);
}

BENCHMARK(BM_BuildOnly_Bitmap)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_RawWrite_Bitmap)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_Generate_Bitmap)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_RawWrite_Terragen)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_Generate_Terragen)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_Ratio_Bitmap)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
BENCHMARK(BM_Ratio_Terragen)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  SetUp();
  benchmark::RunSpecifiedBenchmarks();
  TearDown();
  benchmark::Shutdown();
  return 0;
}
