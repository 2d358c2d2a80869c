// Reading a settings file must stay linear in its size: a big ".danl" with
// many camera sets, and one long value continued over many lines. The raw
// baseline counts the line ends of the same text.
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>

#include "settings/settings_file.h"

namespace {

std::string ManySections(int sections) {
  std::string text;
  for (int s = 0; s < sections; ++s) {
    text += "[KamSet " + std::to_string(s) + "]\r\n";
    for (int k = 0; k < 8; ++k) text += "PX" + std::to_string(k) + "=123456\r\n";
    text += "\r\n";
  }
  return text;
}

std::string LongContinuation(int lines) {
  std::string text = "[Copy]\r\nlong=";
  for (int i = 0; i < lines; ++i) text += "C:\\Sim\\Mods\\part\\\r\n";
  text += "end\r\n";
  return text;
}

void CountLines(benchmark::State& state, const std::string& text) {
  for (auto _ : state) {
    std::size_t lines = 0;
    const char* p = text.data();
    const char* end = p + text.size();
    while ((p = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)))) != nullptr) {
      ++lines;
      ++p;
    }
    benchmark::DoNotOptimize(lines);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
  state.SetComplexityN(static_cast<int64_t>(text.size()));
}

void Parse(benchmark::State& state, const std::string& text) {
  for (auto _ : state) {
    settings::SettingsFile file;
    file.Parse(text);
    benchmark::DoNotOptimize(file.count());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
  state.SetComplexityN(static_cast<int64_t>(text.size()));
}

void BM_Raw_ManySections(benchmark::State& state) { CountLines(state, ManySections(static_cast<int>(state.range(0)))); }
void BM_Parse_ManySections(benchmark::State& state) { Parse(state, ManySections(static_cast<int>(state.range(0)))); }
void BM_Raw_LongContinuation(benchmark::State& state) {
  CountLines(state, LongContinuation(static_cast<int>(state.range(0))));
}
void BM_Parse_LongContinuation(benchmark::State& state) {
  Parse(state, LongContinuation(static_cast<int>(state.range(0))));
}

BENCHMARK(BM_Raw_ManySections)->Range(64, 16384)->Complexity(benchmark::oN);
BENCHMARK(BM_Parse_ManySections)->Range(64, 16384)->Complexity(benchmark::oN);
BENCHMARK(BM_Raw_LongContinuation)->Range(64, 65536)->Complexity(benchmark::oN);
BENCHMARK(BM_Parse_LongContinuation)->Range(64, 65536)->Complexity(benchmark::oN);

}  // namespace

BENCHMARK_MAIN();
