// Loading, saving and linking a layout must cost about as much as moving its
// bytes, and the cost per record must not grow with the layout's size.
//
// Two generated layouts: "large" near the record limit (32767 tracks of all
// types, 32767 models of which a third are bridges and buffer stops standing
// on their tracks, 32767 rolling-stock units, some of them DLL models with a
// data sheet) and "small", an eighth of that. For each: the raw baselines
// (one fread of the file, one fwrite of the same bytes), then load, save and
// link; then the two lists (written as the list buttons write them) and the
// three passes that remove missing objects, against an installation folder
// that holds about half of the files the layout names. bench/layout_ratios.sh
// prints the ratios.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "host/installation.h"
#include "host/messages.h"
#include "app/installation_seams.h"
#include "layout/layout.h"
#include "host/save.h"
#include "layout/lists.h"
#include "layout/removal.h"
#include "layout/track_model_places.h"
#include "bench_paths.h"
#include "generated_layout.h"
#include "platform/platform.h"

namespace {

namespace fs = std::filesystem;

using bench::kDllNames;
using bench::kExtraLength;
using bench::kLargeRecords;
using bench::WindowsPath;

// A folder for the bench's files, with the data sheets of the DLL models.
struct BenchFolder : bench::ScratchFolder {
  BenchFolder() : ScratchFolder("zuvo-layout-bench-") {
    fs::create_directories(native / "Rollmaterial" / "Datenbl\xC3\xA4tter");
    for (int i = 0; i < kDllNames; ++i) {
      std::FILE* sheet = std::fopen(
          (native / "Rollmaterial" / "Datenbl\xC3\xA4tter" / ("V" + std::to_string(i) + ".txt")).c_str(), "wb");
      std::fprintf(sheet, "[Zuvo]\r\nZusLen=%d\r\n", kExtraLength);
      std::fclose(sheet);
    }
    bench::MakeHalfOfTheNamedFiles(native);
    fs::create_directories(native / "Bruecken");  // a model named "..\\Bruecken\\..." from "Modelle"
    std::FILE* bridge = std::fopen((native / "Bruecken" / "Steinbruecke.mod").c_str(), "wb");
    if (bridge != nullptr) std::fclose(bridge);
    windows = WindowsPath(native);
    platform::ChangeDirectory(windows);  // the lists are written here
  }
};

// The installation the layouts are loaded against: the bench folder.
host::Installation Installation();
app::DataSheets Sheets() { return app::DataSheets(Installation()); }

BenchFolder& Folder() {
  static BenchFolder folder;
  return folder;
}

// One generated layout, its file's bytes, and the file itself.
host::Installation Installation() { return host::InstallationAt(Folder().windows); }

struct Fixture {
  std::string bytes;
  std::string windowsPath;
  std::string nativePath;
  std::string scratchWindows;
  std::string scratchNative;
  int records = 0;

  explicit Fixture(int count) : records(count) {
    BenchFolder& folder = Folder();
    layout::Layout l = bench::GenerateLayout(count);
    l.PrepareForSave();
    l.Serialize(&bytes);
    std::string name = "layout-" + std::to_string(count);
    nativePath = (folder.native / (name + ".anl")).string();
    windowsPath = folder.windows + "\\" + name + ".anl";
    scratchNative = (folder.native / (name + "-raw.anl")).string();
    scratchWindows = folder.windows + "\\" + name + "-saved.anl";
    std::FILE* f = std::fopen(nativePath.c_str(), "wb");
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
    layout::Layout check;
    if (!check.Load(windowsPath, Sheets()) || check.CountLiveTracks() != count) {
      std::fprintf(stderr, "the generated layout does not load\n");
      std::exit(1);
    }
  }
};

Fixture& Get(bool large) {
  static Fixture largeFixture(kLargeRecords);
  static Fixture smallFixture(kLargeRecords / 8);
  return large ? largeFixture : smallFixture;
}

void Count(benchmark::State& state, const Fixture& f) {
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * f.bytes.size()));
  state.counters["records"] = 3.0 * f.records;
}

void RawRead(benchmark::State& state, bool large) {
  Fixture& f = Get(large);
  std::string buffer(f.bytes.size(), '\0');
  for (auto _ : state) {
    std::FILE* file = std::fopen(f.nativePath.c_str(), "rb");
    std::size_t got = std::fread(&buffer[0], 1, buffer.size(), file);
    std::fclose(file);
    benchmark::DoNotOptimize(got);
  }
  Count(state, f);
}

void RawWrite(benchmark::State& state, bool large) {
  Fixture& f = Get(large);
  for (auto _ : state) {
    std::FILE* file = std::fopen(f.scratchNative.c_str(), "wb");
    std::size_t put = std::fwrite(f.bytes.data(), 1, f.bytes.size(), file);
    std::fclose(file);
    benchmark::DoNotOptimize(put);
  }
  Count(state, f);
}

// The same write made durable, as a safe save must: the bytes flushed to
// the disk before the call returns. The save's flushes are measured against
// this one.
void RawWriteSynced(benchmark::State& state, bool large) {
  Fixture& f = Get(large);
  for (auto _ : state) {
    std::FILE* file = std::fopen(f.scratchNative.c_str(), "wb");
    std::size_t put = std::fwrite(f.bytes.data(), 1, f.bytes.size(), file);
    std::fflush(file);
    fsync(fileno(file));
    std::fclose(file);
    benchmark::DoNotOptimize(put);
  }
  Count(state, f);
}

// The fixture's layout, loaded.
layout::Layout Loaded(const Fixture& f) {
  layout::Layout l;
  l.Load(f.windowsPath, Sheets());
  return l;
}

// As the tool does it: one layout for the whole run, loaded again and again
// (each load releases what the previous one read).
// A field of /proc/self/status in MiB ("VmRSS", "VmHWM"); 0 where unknown.
double StatusMiB(const char* field) {
  std::FILE* status = std::fopen("/proc/self/status", "r");
  if (status == nullptr) return 0;
  char line[256];
  double kib = 0;
  const std::size_t length = std::strlen(field);
  while (std::fgets(line, sizeof line, status) != nullptr) {
    if (std::strncmp(line, field, length) == 0 && line[length] == ':') kib = std::atof(line + length + 1);
  }
  std::fclose(status);
  return kib / 1024;
}

// The memory of one load at its peak, over what the process held before it:
// the free heap is given back and the high-water mark reset, a new layout loaded, the mark read. Also
// what the records themselves take (the vectors' room), for comparison.
void NotePeak(benchmark::State& state, const Fixture& f) {
  std::FILE* clear = std::fopen("/proc/self/clear_refs", "w");
  if (clear == nullptr) return;
  malloc_trim(0);  // memory freed earlier counts as new when the load takes it
  std::fputs("5", clear);
  std::fclose(clear);
  const double before = StatusMiB("VmRSS");
  layout::Layout l;
  l.Load(f.windowsPath, Sheets());
  state.counters["peak_mib"] = StatusMiB("VmHWM") - before;
  state.counters["records_mib"] =
      (l.tracks.capacity() * sizeof(layout::TrackRecord) + l.models.capacity() * sizeof(layout::ModelRecord) +
       l.rollingStock.capacity() * sizeof(layout::RollingStockRecord)) /
      1048576.0;
  state.counters["file_mib"] = f.bytes.size() / 1048576.0;
}

void Load(benchmark::State& state, bool large) {
  Fixture& f = Get(large);
  NotePeak(state, f);
  layout::Layout l;
  for (auto _ : state) {
    if (!l.Load(f.windowsPath, Sheets())) state.SkipWithError("load failed");
    benchmark::DoNotOptimize(l.loaded);
  }
  Count(state, f);
}

void Save(benchmark::State& state, bool large) {
  Fixture& f = Get(large);
  layout::Layout l = Loaded(f);
  for (auto _ : state) {
    l.PrepareForSave();
    if (!l.Save(f.scratchWindows, "")) state.SkipWithError("save failed");
  }
  Count(state, f);
}

// The parts of a save apart: the preparation, building the bytes, and the
// safe replacement of the file with them.
void Prepare(benchmark::State& state, bool large) {
  Fixture& f = Get(large);
  layout::Layout l = Loaded(f);
  for (auto _ : state) l.PrepareForSave();
  Count(state, f);
}

void Serialize(benchmark::State& state, bool large) {
  Fixture& f = Get(large);
  layout::Layout l = Loaded(f);
  for (auto _ : state) {
    std::string bytes;
    l.Serialize(&bytes);
    benchmark::DoNotOptimize(bytes.data());
  }
  Count(state, f);
}

void Replace(benchmark::State& state, bool large) {
  Fixture& f = Get(large);
  for (auto _ : state) {
    if (!host::SaveFileReporting(f.scratchWindows, f.bytes, "")) state.SkipWithError("save failed");
  }
  Count(state, f);
}

// Linking as a load does it: from the bridges and buffer stops that the
// reader noted while reading the models (the noting is part of the load).
void Link(benchmark::State& state, bool large) {
  Fixture& f = Get(large);
  layout::Layout l = Loaded(f);
  layout::TrackModelPlaces places;
  for (std::size_t m = 0; m < l.models.size(); ++m) places.Note(l.models[m], static_cast<int>(m));
  for (auto _ : state) {
    layout::LinkTrackModelsAt(&l, places);
    benchmark::DoNotOptimize(l.tracks[0].linkedModel);
  }
  Count(state, f);
}

// The list as the list buttons write it, into the current folder.
void List(benchmark::State& state, bool large, layout::ListKind kind) {
  Fixture& f = Get(large);
  layout::Layout l = Loaded(f);
  for (auto _ : state) {
    app::InstallationObjects files(Installation());
    if (!host::SaveFileReporting(layout::ListFileName(kind), layout::ListText(l, kind, &files), "")) {
      state.SkipWithError("list not written");
    }
  }
  Count(state, f);
}

void Inventory(benchmark::State& state, bool large) { List(state, large, layout::ListKind::kInventory); }
void MissingList(benchmark::State& state, bool large) { List(state, large, layout::ListKind::kMissing); }

// One removal pass on a fresh copy of the loaded layout (the copy is not
// timed).
void Removal(benchmark::State& state, bool large, layout::RemovalKind kind) {
  Fixture& f = Get(large);
  const layout::Layout loaded = Loaded(f);
  for (auto _ : state) {
    state.PauseTiming();
    layout::Layout l = loaded;
    state.ResumeTiming();
    app::InstallationObjects files(Installation());
    benchmark::DoNotOptimize(layout::RemoveMissing(&l, kind, &files, true).count);
    state.PauseTiming();
    l = layout::Layout();  // released outside the timing too
    state.ResumeTiming();
  }
  Count(state, f);
}

void RemoveRollingStock(benchmark::State& state, bool large) {
  Removal(state, large, layout::RemovalKind::kRollingStock);
}
void RemoveGbos(benchmark::State& state, bool large) { Removal(state, large, layout::RemovalKind::kGbos); }
void RemoveRealEstate(benchmark::State& state, bool large) { Removal(state, large, layout::RemovalKind::kRealEstate); }

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  for (bool large : {false, true}) {
    const char* size = large ? "large" : "small";
    std::string suffix = std::string("/") + size;
    benchmark::RegisterBenchmark(("raw_read" + suffix).c_str(), RawRead, large)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(("raw_write" + suffix).c_str(), RawWrite, large)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(("raw_write_synced" + suffix).c_str(), RawWriteSynced, large)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(("load" + suffix).c_str(), Load, large)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(("save" + suffix).c_str(), Save, large)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(("link" + suffix).c_str(), Link, large)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(("save_prepare" + suffix).c_str(), Prepare, large)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(("save_serialize" + suffix).c_str(), Serialize, large)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(("save_replace" + suffix).c_str(), Replace, large)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(("inventory" + suffix).c_str(), Inventory, large)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(("missing_list" + suffix).c_str(), MissingList, large)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(("remove_rolling_stock" + suffix).c_str(), RemoveRollingStock, large)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(("remove_gbos" + suffix).c_str(), RemoveGbos, large)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(("remove_real_estate" + suffix).c_str(), RemoveRealEstate, large)
        ->Unit(benchmark::kMillisecond);
  }
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
