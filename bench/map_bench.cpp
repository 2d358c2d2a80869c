// Drawing the map of a layout near the record limit must take well under a
// second and give a file of a few megabytes.
//
// The generated benchmark layouts ("large": 32767 tracks, models and units;
// "small": an eighth of that) against an installation folder that holds
// about half of the files they name, so that the existence checks answer
// both ways. For each: the map drawn and saved as the command saves it, and
// the raw baseline of writing as many bytes with one fwrite. The counter
// "svg_bytes" is the file's size: about 5.9 MB for the large layout, most of
// it the one element, class and title that each of its 65,539 objects needs.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "bench_paths.h"
#include "generated_layout.h"
#include "host/installation.h"
#include "host/save.h"
#include "app/installation_seams.h"
#include "map/map_svg.h"

namespace {

namespace fs = std::filesystem;

struct Folder : bench::ScratchFolder {
  Folder() : ScratchFolder("zuvo-map-bench-") {
    bench::MakeHalfOfTheNamedFiles(native);
    windows = bench::WindowsPath(native);
  }
};

Folder& TheFolder() {
  static Folder folder;
  return folder;
}

struct Fixture {
  layout::Layout layout;
  std::size_t svgBytes = 0;
  explicit Fixture(int records) : layout(bench::GenerateLayout(records)) {
    layout.PrepareForSave();
    app::InstallationObjects missing(host::InstallationAt(TheFolder().windows));
    map::MapCounts counts;
    svgBytes = map::MapSvg(layout, &missing, &counts).size();
  }
};

Fixture& Get(bool large) {
  TheFolder();
  static Fixture largeFixture(bench::kLargeRecords);
  static Fixture smallFixture(bench::kLargeRecords / 8);
  return large ? largeFixture : smallFixture;
}

// As zuvo map does it: the existence checks fresh for each map.
void DrawMap(benchmark::State& state, bool large) {
  Fixture& f = Get(large);
  const std::string target = TheFolder().windows + "\\Karte.svg";
  for (auto _ : state) {
    app::InstallationObjects missing(host::InstallationAt(TheFolder().windows));
    map::MapCounts counts;
    if (!host::SaveFileReporting(target, map::MapSvg(f.layout, &missing, &counts), "")) {
      state.SkipWithError("map not saved");
    }
  }
  state.counters["svg_bytes"] = static_cast<double>(f.svgBytes);
}

void RawWrite(benchmark::State& state, bool large) {
  Fixture& f = Get(large);
  const std::string bytes(f.svgBytes, 'x');
  const std::string path = (TheFolder().native / "raw.svg").string();
  for (auto _ : state) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) state.SkipWithError("cannot write");
    benchmark::DoNotOptimize(file != nullptr ? std::fwrite(bytes.data(), 1, bytes.size(), file) : 0);
    if (file != nullptr) std::fclose(file);
  }
  state.counters["svg_bytes"] = static_cast<double>(f.svgBytes);
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  for (bool large : {false, true}) {
    const std::string suffix = large ? "/large" : "/small";
    benchmark::RegisterBenchmark(("raw_write" + suffix).c_str(), RawWrite, large)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(("map" + suffix).c_str(), DrawMap, large)->Unit(benchmark::kMillisecond);
  }
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
