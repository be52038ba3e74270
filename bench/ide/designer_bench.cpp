// Designer and property grid speed on a form of 1280 x 1024 pixels with 200
// controls of mixed kinds: one motion event of a drag (model, canvas and
// property grid, timed until the display is idle and the X server has drawn
// it), drawing the form from scratch, and refilling the property grid for a
// control. Needs a display (bench/run runs it under scripts/with-x).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "ide/ide.h"
#include "tk/dialogs.h"
#include "model/control_kinds.h"

#include <X11/Xlib.h>
#include <tk.h>

namespace corvane {
namespace {

tk::Interp& interp() {
  static tk::Interp* instance = new tk::Interp(tk::InterpOptions{.with_tk = true});
  return *instance;
}

ide::IDE& environment() {
  static ide::IDE* instance = [] {
    const auto config = std::filesystem::temp_directory_path() / ("corvane-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(config);
    ::setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    // Any dialog is answered at once rather than waiting for a user.
    tk::set_dialog_responder([](const std::vector<std::string>&) -> std::optional<std::string> { return "yes"; });
    auto* made = new ide::IDE(interp());
    interp().run_until([made] { return made->panels_ready(); }, 3000);
    return made;
  }();
  return *instance;
}

// Opens a project whose form is 1280 x 1024 with 200 controls of every kind
// in turn, laid out in rows, and selects the control `selected`.
void open_big_form(ide::IDE& ide, int selected) {
  ide.state().dirty = false;  // no "discard changes?" question
  ide.new_project();
  ide::EditingState& s = ide.state();
  VBForm& form = *s.form;
  form.width = 1280;
  form.height = 1024;
  for (int i = 0; i < 200; ++i) {
    const ControlSpec& kind_row = CONTROL_SPECS[static_cast<std::size_t>(i) % CONTROL_SPECS.size()];
    Control& c = form.new_control(kind_row.kind, (i % 10) * 124, (i / 10) * 50);
    c.width = std::min(c.width, 120);
    c.height = std::min(c.height, 46);
    c.items = "one|two|three";
    c.text = "text";
    c.value = 40;
  }
  s.selected = form.controls[static_cast<std::size_t>(selected)].name;
  s.dirty = false;
  ide.select_tab(0);
  ide.draw_form();
  ide.show_properties();
  interp().update();
}

// Waits until Tk is idle and the X server has done the drawing.
void settle() {
  interp().update();
  XSync(Tk_Display(Tk_MainWindow(interp().raw())), False);
}

void report_percentiles(benchmark::State& state, std::vector<double>& ms) {
  std::sort(ms.begin(), ms.end());
  if (ms.empty()) return;
  state.counters["p50_ms"] = ms[ms.size() / 2];
  state.counters["p95_ms"] = ms[std::min(ms.size() - 1, ms.size() * 95 / 100)];
  state.counters["max_ms"] = ms.back();
}

// One motion step of a drag, through Tk's event generation, to an idle display.
void drag_steps(benchmark::State& state, int selected, bool corner) {
  ide::IDE& ide = environment();
  open_big_form(ide, selected);
  const std::string& canvas = ide.widgets().canvas;
  const Control& c = ide.state().form->controls[static_cast<std::size_t>(selected)];
  // The control is in view at the canvas's origin.
  const int x0 = 42 + c.left + (corner ? c.width - 2 : 4), y0 = 65 + c.top + (corner ? c.height - 2 : 4);
  interp().call({"event", "generate", canvas, "<ButtonPress-1>", "-x", x0, "-y", y0});
  settle();
  std::vector<double> ms;
  int step = 0;
  for (auto _ : state) {
    ++step;
    // Back and forth over 12 grid steps, so every event moves the control.
    const int phase = step % 24, offset = 8 * (phase < 12 ? phase : 24 - phase) + 8;
    const auto start = std::chrono::steady_clock::now();
    interp().call({"event", "generate", canvas, "<Motion>", "-x", x0 + offset, "-y", y0 + offset / 2, "-state", 256});
    settle();
    const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    state.SetIterationTime(elapsed);
    ms.push_back(elapsed * 1000);
  }
  interp().call({"event", "generate", canvas, "<ButtonRelease-1>", "-x", x0, "-y", y0, "-state", 256});
  settle();
  report_percentiles(state, ms);
}

void BM_DragMoveMotionOn200Controls(benchmark::State& state) { drag_steps(state, 23, false); }
BENCHMARK(BM_DragMoveMotionOn200Controls)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(300);

void BM_DragResizeMotionOn200Controls(benchmark::State& state) { drag_steps(state, 23, true); }
BENCHMARK(BM_DragResizeMotionOn200Controls)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(300);

// The form's grip, dragged: the window around the controls is redrawn.
void BM_FormResizeMotionOn200Controls(benchmark::State& state) {
  ide::IDE& ide = environment();
  open_big_form(ide, 0);
  const std::string& canvas = ide.widgets().canvas;
  interp().call({canvas, "xview", "moveto", 1});
  interp().call({canvas, "yview", "moveto", 1});
  settle();
  const double left = std::stod(interp().call({canvas, "canvasx", 0}));
  const double top = std::stod(interp().call({canvas, "canvasy", 0}));
  const int x0 = 42 + 1280 - 2 - static_cast<int>(left), y0 = 65 + 1024 - 2 - static_cast<int>(top);
  interp().call({"event", "generate", canvas, "<ButtonPress-1>", "-x", x0, "-y", y0});
  settle();
  std::vector<double> ms;
  int step = 0;
  for (auto _ : state) {
    ++step;
    const int offset = 8 * (step % 2 ? 1 : -1) * (step % 5);
    const auto start = std::chrono::steady_clock::now();
    interp().call({"event", "generate", canvas, "<Motion>", "-x", x0 + offset, "-y", y0 + offset, "-state", 256});
    settle();
    const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    state.SetIterationTime(elapsed);
    ms.push_back(elapsed * 1000);
  }
  interp().call({"event", "generate", canvas, "<ButtonRelease-1>", "-x", x0, "-y", y0, "-state", 256});
  settle();
  report_percentiles(state, ms);
}
BENCHMARK(BM_FormResizeMotionOn200Controls)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(200);

void BM_DrawFormFromScratch(benchmark::State& state) {
  ide::IDE& ide = environment();
  open_big_form(ide, 23);
  std::vector<double> ms;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    ide.draw_form();
    settle();
    const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    state.SetIterationTime(elapsed);
    ms.push_back(elapsed * 1000);
  }
  report_percentiles(state, ms);
}
BENCHMARK(BM_DrawFormFromScratch)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(100);

void BM_ShowPropertiesForAControl(benchmark::State& state) {
  ide::IDE& ide = environment();
  open_big_form(ide, 23);
  const std::string control = *ide.state().selected;
  std::vector<double> ms;
  for (auto _ : state) {
    // From the form's four rows to the control's seventeen, as a click does.
    state.PauseTiming();
    ide.state().selected.reset();
    ide.show_properties();
    settle();
    ide.state().selected = control;
    state.ResumeTiming();
    const auto start = std::chrono::steady_clock::now();
    ide.show_properties();
    settle();  // the grid lines are drawn when idle
    const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    state.SetIterationTime(elapsed);
    ms.push_back(elapsed * 1000);
  }
  report_percentiles(state, ms);
}
BENCHMARK(BM_ShowPropertiesForAControl)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(200);

}  // namespace
}  // namespace corvane
