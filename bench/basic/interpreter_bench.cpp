// Interpreter speed: events of loop-heavy code. Each benchmark reports the
// executed lines per second ("lines/s") and the time per executed line
// ("time/line").
#include <benchmark/benchmark.h>

#include <fstream>
#include <sstream>

#include "basic/runtime.h"

namespace {

using corvane::VBRuntime;

void run_event(benchmark::State& state, const std::string& source) {
  VBRuntime::Options options;
  options.sources.push_back(source);
  VBRuntime rt(std::move(options));
  rt.event("Run");  // compile the lines once
  int64_t lines = 0;
  for (auto _ : state) {
    rt.event("Run");
    lines += rt.step_count;
  }
  state.counters["lines/s"] = benchmark::Counter(static_cast<double>(lines), benchmark::Counter::kIsRate);
  // seconds per executed line, shown with an SI prefix ("33n" is 33 ns)
  state.counters["time/line"] =
      benchmark::Counter(static_cast<double>(lines), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_ArithmeticLoop(benchmark::State& state) {
  run_event(state, R"(
Sub Run()
  Dim s, i
  s = 0
  For i = 1 To 33000
    s = s + i Mod 7
    If s > 1000000 Then s = 0
  Next
End Sub
)");
}

void BM_StringBuilding(benchmark::State& state) {
  run_event(state, R"(
Sub Run()
  Dim s As String, i
  For i = 1 To 20000
    s = s & "x"
    If Len2(i) Then s = s & i
  Next
End Sub
Function Len2(v)
  Len2 = v Mod 1000 = 0
End Function
)");
}

void BM_ByRefCalls(benchmark::State& state) {
  run_event(state, R"(
Sub Bump(n, ByVal k)
  n = n + k
End Sub
Sub Run()
  Dim total, i
  For i = 1 To 16000
    Bump total, i
  Next
End Sub
)");
}

void BM_ArrayReadWrite(benchmark::State& state) {
  run_event(state, R"(
Sub Run()
  Dim a(999), i, j
  For i = 0 To 32000
    j = i Mod 1000
    a(j) = a(j) + i
  Next
End Sub
)");
}

void BM_SelectCase(benchmark::State& state) {
  run_event(state, R"(
Sub Run()
  Dim i, n
  For i = 1 To 15000
    Select Case i Mod 5
    Case 0
      n = n + 1
    Case 1, 2
      n = n + 2
    Case Else
      n = n - 1
    End Select
  Next
End Sub
)");
}

// Rounds of one loop: reports the time per round ("time/round").
void run_rounds(benchmark::State& state, const std::string& source, int64_t rounds) {
  VBRuntime::Options options;
  options.sources.push_back(source);
  VBRuntime rt(std::move(options));
  for (auto _ : state) rt.event("Run");
  state.counters["time/round"] = benchmark::Counter(static_cast<double>(rounds) * static_cast<double>(state.iterations()),
                                                    benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// The loop compared with other BASIC interpreters: ten million rounds.
void BM_TenMillionRounds(benchmark::State& state) {
  run_rounds(state, R"(
Sub Run()
  Dim s, i
  s = 0
  For i = 1 To 10000000
    s = s + i Mod 7
    If s > 1000000 Then s = 0
  Next
End Sub
)",
             10000000);
}

// An array grown one element at a time.
void BM_RedimPreserveGrowth(benchmark::State& state) {
  run_rounds(state, R"(
Sub Run()
  Dim a()
  ReDim a(0)
  For i = 1 To 100000
    ReDim Preserve a(i)
    a(i) = i
  Next
End Sub
)",
             100000);
}

}  // namespace

BENCHMARK(BM_TenMillionRounds)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_RedimPreserveGrowth)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ArithmeticLoop)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StringBuilding)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ByRefCalls)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ArrayReadWrite)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SelectCase)->Unit(benchmark::kMillisecond);

// The everyday workloads of bench/workloads (the same programs bench/vs-gambas
// runs through Gambas), run in-process: reports the time per round.
namespace {

std::string workload_source(const std::string& name) {
  std::ifstream in(std::string(CORVANE_SOURCE_DIR) + "/bench/workloads/" + name + ".bas");
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

void run_workload(benchmark::State& state, const std::string& name, int64_t rounds) {
  VBRuntime::Options options;
  options.sources.push_back(workload_source(name));
  options.debug = [](const std::string&) {};
  VBRuntime rt(std::move(options));
  for (auto _ : state) rt.event("Main");
  state.counters["time/round"] = benchmark::Counter(static_cast<double>(rounds) * static_cast<double>(state.iterations()),
                                                    benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_Workload_NumericLoop(benchmark::State& s) { run_workload(s, "numeric_loop", 3000000); }
void BM_Workload_AddCalls(benchmark::State& s) { run_workload(s, "add_calls", 1000000); }
void BM_Workload_Fib25(benchmark::State& s) { run_workload(s, "fib", 242785); }
void BM_Workload_ArrayFillSum(benchmark::State& s) { run_workload(s, "array_fill_sum", 2000000); }
void BM_Workload_BubbleSort(benchmark::State& s) { run_workload(s, "bubble_sort", 1999000); }
void BM_Workload_SelectCase(benchmark::State& s) { run_workload(s, "select_case", 1000000); }
void BM_Workload_StringBuilding(benchmark::State& s) { run_workload(s, "string_building", 200000); }
void BM_Workload_BuiltinCalls(benchmark::State& s) { run_workload(s, "builtin_calls", 3000000); }
void BM_Workload_ByRefCalls(benchmark::State& s) { run_workload(s, "byref_calls", 1000000); }
void BM_Workload_ModuleArraySort(benchmark::State& s) { run_workload(s, "module_array_sort", 1999000); }

}  // namespace

BENCHMARK(BM_Workload_NumericLoop)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Workload_AddCalls)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Workload_Fib25)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Workload_ArrayFillSum)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Workload_BubbleSort)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Workload_SelectCase)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Workload_StringBuilding)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Workload_BuiltinCalls)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Workload_ByRefCalls)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Workload_ModuleArraySort)->Unit(benchmark::kMillisecond);
