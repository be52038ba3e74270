// Form runtime speed: opening a form of 200 controls of mixed kinds (to the
// end of Form_Load), and the real period of a Timer at interval 10. Needs a
// display (bench/run users run it under scripts/with-x); without one it
// says so and skips.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "forms/preview.h"
#include "forms/session.h"

namespace corvane {
namespace {

struct BenchHost : RunHost {
  explicit BenchHost(tk::Interp& in) : in_(in) {}
  tk::Interp& interp() override { return in_; }
  Project& project() override { return project_; }
  void log(const std::string&) override {}
  void set_status(const std::string&) override {}
  tk::Interp& in_;
  Project project_;
};

tk::Interp& interp() {
  static tk::Interp* instance = new tk::Interp(tk::InterpOptions{.with_tk = true, .withdraw_root = true});
  return *instance;
}

Project big_form_project() {
  static const char* const KINDS[] = {"Label",    "TextBox",   "CommandButton", "CheckBox",    "OptionButton",
                                      "ListBox",  "ComboBox",  "Frame",         "HScrollBar",  "ProgressBar",
                                      "Slider",   "TreeView",  "ListView",      "RichTextBox", "StatusBar",
                                      "Shape",    "Image",     "PictureBox",    "Timer",       "VScrollBar"};
  Project project;
  project.forms.clear();
  VBForm form;
  form.name = "Form1";
  form.width = 1200;
  form.height = 900;
  for (int i = 0; i < 200; ++i) {
    const char* kind = KINDS[i % (sizeof KINDS / sizeof *KINDS)];
    Control c = Control::create(kind, std::string("C") + std::to_string(i), (i % 10) * 115, (i / 10) * 40);
    c.items = "one|two|three";
    c.enabled = kind != std::string("Timer");
    form.controls.push_back(c);
  }
  form.code =
      "Dim n\nSub Form_Load()\nC1.Text = \"start\"\nC0.Caption = \"Ready\"\nC5.AddItem \"four\"\n"
      "For n = 1 To 20\nC2.Caption = \"Go \" & n\nNext\nEnd Sub\n";
  project.forms.push_back(form);
  return project;
}

void BM_OpenFormWith200Controls(benchmark::State& state) {
  BenchHost host(interp());
  host.project_ = big_form_project();
  for (auto _ : state) {
    auto session = ApplicationSession::create(host);
    auto start = std::chrono::steady_clock::now();
    auto preview = session->load("Form1");  // builds every widget, then runs Form_Load
    auto end = std::chrono::steady_clock::now();
    state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    session->stop();
    interp().update();
  }
}
BENCHMARK(BM_OpenFormWith200Controls)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

void BM_TimerPeriodAtInterval10(benchmark::State& state) {
  BenchHost host(interp());
  host.project_.forms.clear();
  VBForm form;
  form.name = "Form1";
  form.code = "Dim n\nSub Timer1_Timer()\nn = n + 1\nLabel1.Caption = \"Tick \" & n\nEnd Sub\n";
  Control timer = Control::create("Timer", "Timer1");
  timer.interval = 10;
  form.controls.push_back(timer);
  form.controls.push_back(Control::create("Label", "Label1"));
  host.project_.forms.push_back(form);
  double periods = 0;
  int64_t firings = 0;
  for (auto _ : state) {
    auto session = ApplicationSession::create(host);
    auto preview = session->show("Form1");
    const auto start = std::chrono::steady_clock::now();
    interp().run_until([] { return false; }, 1000);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const int64_t n = number_as_count(preview->runtime->expr("n"));
    session->stop();
    interp().update();
    firings += n;
    periods += n > 0 ? seconds * 1000.0 / static_cast<double>(n) : 0;
  }
  state.counters["firings_per_s"] = static_cast<double>(firings) / static_cast<double>(state.iterations());
  state.counters["period_ms"] = periods / static_cast<double>(state.iterations());
}
BENCHMARK(BM_TimerPeriodAtInterval10)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace
}  // namespace corvane

int main(int argc, char** argv) {
  const char* display = std::getenv("DISPLAY");
  if (!display || !*display) {
    std::printf("bench_forms: skipped: no DISPLAY (run it under scripts/with-x)\n");
    return 0;
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
