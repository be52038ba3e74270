// The code editor's speed: a colouring pass and a load over a 5,000-line
// module, member completion on a large project, and the context of
// pathological lines. The editor runs on a minimal workbench (needs a
// display: bench/run gives one).
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "ide/panels.h"
#include "intellisense/completion.h"
#include "tk/interp.h"
#include "tk/widget.h"

namespace corvane::ide {
namespace {

std::string module_text(int lines) {
    std::string code = "Option Explicit\n";
    for (int i = 0; i < lines - 1; ++i) {
        switch (i % 5) {
            case 0: code += "Private Sub Proc" + std::to_string(i) + "(ByVal n As Integer)\n"; break;
            case 1: code += "    Dim s As String: s = \"it's \"\"quoted\"\" Dim\" ' a comment with End\n"; break;
            case 2: code += "    If n > 0 Then Text1.Text = s & CStr(n) Else Exit Sub\n"; break;
            case 3: code += "    For i = 1 To 10 Step 2: total = total + i: Next\n"; break;
            default: code += "End Sub\n"; break;
        }
    }
    return code;
}

class BenchWorkbench : public Workbench {
public:
    explicit BenchWorkbench(tk::Interp& in) : in_(in) {
        widgets_.code_panel = ".code";
        in_.call({"wm", "geometry", ".", "900x700+0+0"});
        in_.call({"ttk::frame", widgets_.code_panel});
        in_.call({"pack", widgets_.code_panel, "-fill", "both", "-expand", 1});
        panel = make_code_editor(*this);
        panel->build();
        state_.project = Project{};
        state_.project.modules.push_back({"Module1", module_text(5000)});
        state_.form = &state_.project.forms[0];
        in_.update();
    }
    tk::Interp& interp() override { return in_; }
    EditingState& state() override { return state_; }
    const Widgets& widgets() const override { return widgets_; }
    std::string interface_font() const override { return "TkDefaultFont"; }
    std::string interface_font_bold() const override { return "TkDefaultFont"; }
    void set_status(const std::string&) override {}
    void log(const std::string&) override {}
    void changed() override { state_.dirty = true; }
    void add_tooltip(const std::string&, const std::string&) override {}
    void show_error(const std::string&, const std::string&) override {}
    void populate_project() override {}
    void draw_form() override {}
    void show_properties() override {}
    void load_editor(EditorKind kind, void* record) override { panel->load_editor(kind, record); }
    void sync_editor() override { panel->sync_editor(); }
    void clear_editor() override { panel->clear_editor(); }
    void use_pointer() override {}
    void show_code() override {}
    void show_design() override {}
    void select_tab(int) override {}
    void open_event_code(const std::string& o, const std::string& e) override { panel->open_event_code(o, e); }
    void refresh_objects() override { panel->refresh_objects(); }

    std::unique_ptr<CodePanel> panel;

private:
    tk::Interp& in_;
    EditingState state_;
    Widgets widgets_;
};

BenchWorkbench& bench_workbench() {
    static tk::Interp* interp = new tk::Interp(tk::InterpOptions{.with_tk = true});
    static BenchWorkbench* bench = new BenchWorkbench(*interp);
    return *bench;
}

// The pass that follows loading: the whole text, no tags yet.
void BM_ColouringPassAfterLoad5000Lines(benchmark::State& state) {
    BenchWorkbench& bench = bench_workbench();
    Module& module = bench.state().project.modules[0];
    VBForm* form = bench.state().form;
    for (auto _ : state) {
        state.PauseTiming();
        bench.panel->load_editor(EditorKind::form, form);
        bench.panel->load_editor(EditorKind::module, &module);
        state.ResumeTiming();
        bench.panel->highlight();
    }
}
BENCHMARK(BM_ColouringPassAfterLoad5000Lines)->Unit(benchmark::kMillisecond);

// The whole text again over its old colours (the worst case).
void BM_RecolourWhole5000Lines(benchmark::State& state) {
    BenchWorkbench& bench = bench_workbench();
    bench.panel->load_editor(EditorKind::module, &bench.state().project.modules[0]);
    for (auto _ : state) bench.panel->recolour_all();
}
BENCHMARK(BM_RecolourWhole5000Lines)->Unit(benchmark::kMillisecond);

// The pass after a burst of typing in the middle of the module.
void BM_ColouringPassAfterTyping(benchmark::State& state) {
    BenchWorkbench& bench = bench_workbench();
    bench.panel->load_editor(EditorKind::module, &bench.state().project.modules[0]);
    bench.panel->highlight();
    const std::string text = bench.panel->text_widget();
    for (auto _ : state) {
        state.PauseTiming();
        for (const char* c : {"D", "i", "m", " ", "x"}) bench.interp().call({text, "insert", "2500.4", c});
        state.ResumeTiming();
        bench.panel->highlight();
    }
}
BENCHMARK(BM_ColouringPassAfterTyping)->Unit(benchmark::kMicrosecond);

void BM_Load5000LineModule(benchmark::State& state) {
    BenchWorkbench& bench = bench_workbench();
    Module& module = bench.state().project.modules[0];
    VBForm* form = bench.state().form;
    for (auto _ : state) {
        bench.panel->load_editor(EditorKind::module, &module);
        bench.interp().update();  // the view is drawn
        state.PauseTiming();
        bench.panel->load_editor(EditorKind::form, form);
        bench.interp().update();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_Load5000LineModule)->Unit(benchmark::kMillisecond);

Project large_project() {
    Project p;
    p.forms.clear();
    for (int f = 1; f <= 50; ++f) {
        VBForm form;
        form.name = "Form" + std::to_string(f);
        for (int c = 1; c <= 20; ++c)
            form.controls.push_back(Control::create(c % 2 ? "TextBox" : "CommandButton",
                                                    "Ctl" + std::to_string(f) + "_" + std::to_string(c)));
        p.forms.push_back(form);
    }
    for (int c = 1; c <= 10; ++c) {
        std::string code = "Option Explicit\n";
        for (int m = 0; m < 40; ++m)
            code += "Public Field" + std::to_string(m) + " As String\nPublic Sub Method" + std::to_string(m) +
                    "()\n    Dim local" + std::to_string(m) + " As Long\nEnd Sub\n";
        p.classes.push_back({"Class" + std::to_string(c), code});
    }
    for (int m = 1; m <= 5; ++m) p.modules.push_back({"Module" + std::to_string(m), module_text(400)});
    return p;
}

void BM_CompletionsLastControl(benchmark::State& state) {
    const Project p = large_project();
    const std::string code = module_text(2000);
    for (auto _ : state)
        benchmark::DoNotOptimize(intellisense::completions(&p, code, "x = Ctl50_19.Se", &p.forms[0]));
}
BENCHMARK(BM_CompletionsLastControl)->Unit(benchmark::kMicrosecond);

void BM_CompletionsDeclaredClass(benchmark::State& state) {
    const Project p = large_project();
    const std::string code = module_text(2000) + "Dim acc As New Class10\n";
    for (auto _ : state) benchmark::DoNotOptimize(intellisense::completions(&p, code, "acc.Me", &p.forms[0]));
}
BENCHMARK(BM_CompletionsDeclaredClass)->Unit(benchmark::kMicrosecond);

void BM_ContextOfPathologicalLine(benchmark::State& state) {
    std::string line;
    for (int i = 0; i < 20000; ++i) line += "a.";
    line += std::string(5000, 'b') + "\xE2\x86\x92" + std::string(5000, 'c');
    for (auto _ : state) benchmark::DoNotOptimize(intellisense::member_context(line));
}
BENCHMARK(BM_ContextOfPathologicalLine)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace corvane::ide
