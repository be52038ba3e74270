// A numeric and a string-building loop through the native runtime, beside
// the same loops in plain C; compare the per-round times of each pair.
#include <benchmark/benchmark.h>

#include "native_loops.h"

namespace {

constexpr long ROUNDS = 100000;

void numeric_runtime(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(vb_numeric_loop(ROUNDS));
  state.SetItemsProcessed(state.iterations() * ROUNDS);
}
void numeric_plain_c(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(c_numeric_loop(ROUNDS));
  state.SetItemsProcessed(state.iterations() * ROUNDS);
}
void strings_runtime(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(vb_string_loop(ROUNDS));
  state.SetItemsProcessed(state.iterations() * ROUNDS);
}
void strings_plain_c(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(c_string_loop(ROUNDS));
  state.SetItemsProcessed(state.iterations() * ROUNDS);
}

}  // namespace

BENCHMARK(numeric_runtime);
BENCHMARK(numeric_plain_c);
BENCHMARK(strings_runtime);
BENCHMARK(strings_plain_c);
