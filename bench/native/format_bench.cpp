// Format of numbers, dates and texts through the native runtime.
#include <benchmark/benchmark.h>

#include "format_loops.h"

namespace {

constexpr long ROUNDS = 10000;

void format_runtime(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(vb_format_loop(ROUNDS));
  state.SetItemsProcessed(state.iterations() * ROUNDS * 3);
}

}  // namespace

BENCHMARK(format_runtime);
