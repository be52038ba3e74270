// Native compiler timings: translation alone, whole builds split into
// translation and C compilation, and a numeric and a string loop built
// natively against the same loops interpreted (corvane-run --script) and
// written by hand in C. Programs that open the X display need DISPLAY
// (run under scripts/with-x).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "native_compiler/native_compiler.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;

// A project with a form and a module holding `lines` lines of code.
Project generated_project(int lines) {
  Project p;
  p.name = "Generated";
  p.forms.front().new_control("TextBox", 10, 10);
  p.forms.front().new_control("CommandButton", 10, 50);
  p.forms.front().code = "Private Sub Command1_Click()\n    Text1.Text = Work0(1, 2)\nEnd Sub\n";
  std::string code = "Public total As Long\n";
  int count = 1;
  for (int k = 0; count < lines; ++k) {
    const std::string n = std::to_string(k);
    code += "Function Work" + n + "(ByVal a, b) As Long\n"
            "    Dim x As Long, s As String, i As Integer\n"
            "    x = a * 2 + " + n + "\n"
            "    If x > 10 And b <> 0 Then\n"
            "        s = \"value \" & x & \" of \" & Left(\"abcdef\", 3)\n"
            "    ElseIf x = 5 Then\n"
            "        s = UCase(Trim(\"  five  \"))\n"
            "    Else\n"
            "        s = CStr(x Mod 7)\n"
            "    End If\n"
            "    For i = 1 To 10 Step 2\n"
            "        total = total + i * (x \\ 3)\n"
            "    Next i\n"
            "    Select Case x\n"
            "    Case 1 To 5, 9\n"
            "        b = b + 1\n"
            "    Case Else\n"
            "        b = b - 1\n"
            "    End Select\n"
            "    Work" + n + " = x + Len(s)\n"
            "End Function\n";
    count += 21;
  }
  p.modules.push_back({"Module1", code});
  return p;
}

Project project_for(int which) { return which == 0 ? Project::sample() : generated_project(2000); }

void BM_Translate(benchmark::State& state) {
  const Project p = project_for(static_cast<int>(state.range(0)));
  size_t bytes = 0;
  for (auto _ : state) {
    NativeCompiler compiler(p);
    bytes = compiler.emit().size();
    benchmark::DoNotOptimize(bytes);
  }
  state.counters["c_bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_Translate)->Arg(0)->Arg(1)->ArgNames({"generated2000"})->Unit(benchmark::kMillisecond);

void BM_BuildNative(benchmark::State& state) {
  const Project p = project_for(static_cast<int>(state.range(0)));
  const fs::path out = fs::temp_directory_path() / ("corvane-bench-" + std::to_string(::getpid()));
  double translate = 0, compile = 0;
  for (auto _ : state) {
    build_native(p, out);
    translate += last_native_build_times().translate;
    compile += last_native_build_times().compile;
  }
  state.counters["translate_s"] = benchmark::Counter(translate, benchmark::Counter::kAvgIterations);
  state.counters["c_compile_s"] = benchmark::Counter(compile, benchmark::Counter::kAvgIterations);
  fs::remove_all(out);
}
BENCHMARK(BM_BuildNative)->Arg(0)->Arg(1)->ArgNames({"generated2000"})->Iterations(3)->Unit(benchmark::kMillisecond);

// The interpreter's step limit (100000 lines per call) bounds the loops.
constexpr int LOOP = 30000;

std::string loop_body(bool strings) {
  if (strings)
    return "    Dim i As Long, s As String\n    For i = 1 To " + std::to_string(LOOP) +
           "\n        s = Right(s & Chr0(i), 20)\n    Next\n    Debug.Print Len(s)\n";
  return "    Dim i As Long, t As Double\n    For i = 1 To " + std::to_string(LOOP) +
         "\n        t = t + i * 0.5 - i \\ 3\n    Next\n    Debug.Print t\n";
}

std::string loop_module(bool strings, bool empty = false) {
  std::string body = empty ? std::string() : loop_body(strings);
  // Chr0 stands in for a character function both back ends share.
  const std::string helper = "Function Chr0(ByVal n)\n    Chr0 = CStr(n Mod 10)\nEnd Function\n";
  return helper + "Sub Main()\n" + body + "    End\nEnd Sub\n";
}

double run_seconds(const std::string& command) {
  const auto t0 = std::chrono::steady_clock::now();
  if (std::system(command.c_str()) != 0) return -1;
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

fs::path bench_dir() {
  const fs::path d = fs::temp_directory_path() / ("corvane-bench-loops-" + std::to_string(::getpid()));
  fs::create_directories(d);
  return d;
}

void BM_LoopNative(benchmark::State& state) {
  if (!std::getenv("DISPLAY")) {
    state.SkipWithError("needs DISPLAY (run under scripts/with-x)");
    return;
  }
  Project p;
  p.name = "Loop";
  // Argument 2: no loop at all, the start-up cost (X connection) alone.
  p.modules.push_back({"Module1", loop_module(state.range(0) == 1, state.range(0) == 2)});
  p.startup = "Sub Main";
  const fs::path exe = build_native(p, bench_dir());
  for (auto _ : state) {
    const double s = run_seconds("'" + exe.string() + "' >/dev/null");
    if (s < 0) state.SkipWithError("program failed");
    state.SetIterationTime(s);
  }
}
BENCHMARK(BM_LoopNative)->Arg(0)->Arg(1)->Arg(2)->ArgNames({"strings"})->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

void BM_LoopInterpreted(benchmark::State& state) {
  char self[4096];
  const ssize_t n = ::readlink("/proc/self/exe", self, sizeof self - 1);
  if (n <= 0) return;
  self[n] = 0;
  const fs::path runner = fs::path(self).parent_path() / "corvane-run";
  if (!fs::exists(runner)) {
    state.SkipWithError("corvane-run not built");
    return;
  }
  const fs::path bas = bench_dir() / (state.range(0) ? "strings.bas" : "numbers.bas");
  std::ofstream(bas) << "Attribute VB_Name = \"Module1\"\n" << loop_module(state.range(0) == 1);
  for (auto _ : state) {
    const double s = run_seconds("'" + runner.string() + "' --script '" + bas.string() + "' >/dev/null");
    if (s < 0) state.SkipWithError("interpreter failed");
    state.SetIterationTime(s);
  }
}
BENCHMARK(BM_LoopInterpreted)->Arg(0)->Arg(1)->ArgNames({"strings"})->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

void BM_LoopHandWrittenC(benchmark::State& state) {
  const fs::path d = bench_dir();
  const fs::path c = d / "hand.c", exe = d / (state.range(0) ? "hand_strings" : "hand_numbers");
  const std::string n = std::to_string(LOOP);
  if (state.range(0)) {
    std::ofstream(c) << "#include <stdio.h>\n#include <string.h>\nint main(void){char s[64]=\"\";char b[96];\n"
                        "for(long i=1;i<=" + n + ";i++){snprintf(b,sizeof b,\"%s%ld\",s,i%10);size_t l=strlen(b);\n"
                        "strcpy(s,l>20?b+l-20:b);}printf(\"%zu\\n\",strlen(s));return 0;}\n";
  } else {
    std::ofstream(c) << "#include <stdio.h>\nint main(void){double t=0;for(long i=1;i<=" + n +
                            ";i++){t=t+i*0.5-(double)(i/3);}printf(\"%.0f\\n\",t);return 0;}\n";
  }
  if (std::system(("gcc -O2 -o '" + exe.string() + "' '" + c.string() + "'").c_str()) != 0) {
    state.SkipWithError("gcc failed");
    return;
  }
  for (auto _ : state) state.SetIterationTime(run_seconds("'" + exe.string() + "' >/dev/null"));
}
BENCHMARK(BM_LoopHandWrittenC)->Arg(0)->Arg(1)->ArgNames({"strings"})->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace corvane
