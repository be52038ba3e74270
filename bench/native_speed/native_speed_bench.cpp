// The same workloads interpreted, built natively (typed and untyped) and
// written by hand in C, side by side. Every benchmark reports "ns/round":
// nanoseconds per round of its workload (an iteration, a call, an array
// element, a comparison; see workloads.cpp). Times are CPU times (the
// machine may be shared): native programs run as processes, their CPU
// time (user and system, from wait4) is measured whole and that of an
// empty native program subtracted; the interpreter and C are timed on
// this thread's CPU clock. The C is also timed as a program of its own
// (c_process) and the untyped programs through corvane-run
// (interpreter_untyped_process), started afresh as native programs are,
// with an empty run subtracted: in this process memory is already there,
// in a fresh one it is not. Each run's printed result is checked against the C
// result. bench/native_speed/ratios prints the table.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <vector>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "basic/runtime.h"
#include "hand_written.h"
#include "native_compiler/native_compiler.h"
#include "workloads.h"

extern char** environ;

namespace corvane::bench {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

fs::path scratch() {
  static const fs::path dir = [] {
    fs::path d = fs::temp_directory_path() / ("corvane-native-speed-" + std::to_string(::getpid()));
    fs::create_directories(d);
    return d;
  }();
  return dir;
}

// The program built natively once; its path.
fs::path built(const std::string& key, const std::string& source) {
  static std::map<std::string, fs::path> cache;
  if (auto it = cache.find(key); it != cache.end()) return it->second;
  Project project;
  project.name = key;
  project.forms.clear();
  project.startup = "Sub Main";
  project.modules.push_back({"Module1", source});
  const fs::path exe = build_native(project, scratch() / key, key);
  cache[key] = exe;
  return exe;
}

double thread_seconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// The largest resident size of the programs run so far (bytes).
double peak_bytes = 0;

// Runs the program; its standard output and the seconds it took. Wall
// time: the kernel accounts a process's CPU time in scheduler ticks, too
// coarse for programs that run a few milliseconds.
std::pair<std::string, double> run(const fs::path& exe, std::vector<std::string> args = {}) {
  const fs::path out = scratch() / "out.txt";
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  std::string path = exe.string();
  std::vector<char*> argv{path.data()};
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  pid_t pid = 0;
  int status = 0;
  rusage usage{};
  const auto start = Clock::now();
  if (posix_spawn(&pid, path.c_str(), &actions, nullptr, argv.data(), environ) == 0) wait4(pid, &status, 0, &usage);
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  peak_bytes = std::max(peak_bytes, static_cast<double>(usage.ru_maxrss) * 1024.0);
  posix_spawn_file_actions_destroy(&actions);
  std::ifstream in(out);
  std::stringstream text;
  text << in.rdbuf();
  return {text.str(), seconds};
}

// The fastest of a few runs of a program that does nothing: what starting
// and ending it costs.
double fastest_empty_run(const fs::path& exe, const std::vector<std::string>& args) {
  double best = 1e9;
  for (int k = 0; k < 11; ++k) best = std::min(best, run(exe, args).second);
  return best;
}

double empty_program_seconds() {
  static const double seconds = fastest_empty_run(built("empty", "Sub Main()\nEnd Sub\n"), {});
  return seconds;
}

double empty_c_program_seconds() {
  static const double seconds = fastest_empty_run(HAND_WRITTEN_C_PROGRAM, {"none", "0"});
  return seconds;
}

std::string first_line(const std::string& text) { return text.substr(0, text.find('\n')); }

void per_round(benchmark::State& state, long long rounds) {
  state.counters["ns/round"] = benchmark::Counter(static_cast<double>(rounds) * static_cast<double>(state.iterations()),
                                                  benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  state.counters["rounds"] = static_cast<double>(rounds);
}

void time_process(benchmark::State& state, const Workload& w, long long size, const fs::path& exe,
                  const std::vector<std::string>& args, double baseline);

void native(benchmark::State& state, const Workload& w, bool typed) {
  const std::string key = std::string(w.name) + (typed ? "_typed" : "_untyped");
  fs::path exe;
  try {
    exe = built(key, program(w, w.native_size, typed));
  } catch (const std::exception& e) {
    state.SkipWithError(e.what());
    return;
  }
  time_process(state, w, w.native_size, exe, {}, empty_program_seconds());
}

// Runs a program started afresh five times per iteration; its fastest run
// less `baseline` (an empty program's) is the iteration's time.
void time_process(benchmark::State& state, const Workload& w, long long size, const fs::path& exe,
                  const std::vector<std::string>& args, double baseline) {
  const std::string expected = std::to_string(w.hand_written(size));
  peak_bytes = 0;
  for (auto _ : state) {
    // the fastest of five runs: other work on a shared machine only adds
    double best = 1e9;
    for (int k = 0; k < 5; ++k) {
      auto [out, seconds] = run(exe, args);
      if (first_line(out) != expected) {
        state.SkipWithError(("printed " + first_line(out) + ", expected " + expected).c_str());
        return;
      }
      best = std::min(best, seconds);
    }
    state.SetIterationTime(std::max(best - baseline, 1e-9));
  }
  per_round(state, w.rounds(size));
  state.counters["peak_MB"] = peak_bytes / 1e6;
}

// The hand-written C as a program of its own, started afresh as a native
// build is: its memory is new to it, as the native program's is.
void hand_written_process(benchmark::State& state, const Workload& w) {
  time_process(state, w, w.native_size, HAND_WRITTEN_C_PROGRAM, {w.name, std::to_string(w.native_size)},
               empty_c_program_seconds());
}

// The untyped program run by corvane-run, started afresh as the native
// build is (the in-process runs reuse memory earlier runs allocated), at
// the native size: smaller runs would be lost in the noise of starting.
void interpreted_process(benchmark::State& state, const Workload& w) {
  static const fs::path empty = [] {
    const fs::path path = scratch() / "empty.bas";
    std::ofstream(path) << "Sub Main()\nEnd Sub\n";
    return path;
  }();
  static const double baseline = fastest_empty_run(CORVANE_RUN_PROGRAM, {"--script", empty.string()});
  const fs::path source = scratch() / (std::string(w.name) + "_untyped.bas");
  std::ofstream(source) << program(w, w.native_size, false);
  time_process(state, w, w.native_size, CORVANE_RUN_PROGRAM, {"--script", source.string()}, baseline);
}

void interpreted(benchmark::State& state, const Workload& w, bool typed) {
  std::string printed;
  VBRuntime::Options options;
  options.sources.push_back(program(w, w.interpreter_size, typed));
  options.debug = [&](const std::string& text) { printed = text; };
  VBRuntime rt(std::move(options));
  const std::string expected = std::to_string(w.hand_written(w.interpreter_size));
  for (auto _ : state) {
    const double start = thread_seconds();
    rt.event("Main");
    state.SetIterationTime(thread_seconds() - start);
    if (first_line(printed) != expected) {
      state.SkipWithError(("printed " + printed + ", expected " + expected).c_str());
      return;
    }
  }
  per_round(state, w.rounds(w.interpreter_size));
}

void hand_written(benchmark::State& state, const Workload& w) {
  for (auto _ : state) {
    const double start = thread_seconds();
    benchmark::DoNotOptimize(w.hand_written(w.native_size));
    state.SetIterationTime(thread_seconds() - start);
  }
  per_round(state, w.rounds(w.native_size));
}

const int registered = [] {
  for (int k = 0; k < workload_count(); ++k) {
    const Workload& w = workloads()[k];
    const std::string name = w.name;
    benchmark::RegisterBenchmark((name + "/c").c_str(), [&w](benchmark::State& s) { hand_written(s, w); })
        ->UseManualTime()->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark((name + "/c_process").c_str(),
                                 [&w](benchmark::State& s) { hand_written_process(s, w); })
        ->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
    benchmark::RegisterBenchmark((name + "/native_typed").c_str(), [&w](benchmark::State& s) { native(s, w, true); })
        ->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
    benchmark::RegisterBenchmark((name + "/native_untyped").c_str(),
                                 [&w](benchmark::State& s) { native(s, w, false); })
        ->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
    benchmark::RegisterBenchmark((name + "/interpreter_typed").c_str(),
                                 [&w](benchmark::State& s) { interpreted(s, w, true); })
        ->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
    benchmark::RegisterBenchmark((name + "/interpreter_untyped").c_str(),
                                 [&w](benchmark::State& s) { interpreted(s, w, false); })
        ->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
    benchmark::RegisterBenchmark((name + "/interpreter_untyped_process").c_str(),
                                 [&w](benchmark::State& s) { interpreted_process(s, w); })
        ->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1);
  }
  return 0;
}();

}  // namespace
}  // namespace corvane::bench
