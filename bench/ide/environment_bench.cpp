// The environment as a user meets it: start-up until idle with the panels
// placed, opening a large project, and F5 until the form is shown.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <memory>

#include "forms/preview.h"
#include "forms/session.h"
#include "ide/ide.h"
#include "tk/interp.h"
#include "vb6files/project_files.h"

namespace {

namespace fs = std::filesystem;
using corvane::ide::IDE;

corvane::tk::Interp& interp() {
    static corvane::tk::Interp* instance = [] {
        ::setenv("XDG_CONFIG_HOME", (fs::temp_directory_path() / "corvane-bench-config").c_str(), 1);
        return new corvane::tk::Interp(corvane::tk::InterpOptions{.with_tk = true});
    }();
    return *instance;
}

// Runs the event loop until the panels are placed and nothing is pending.
void settle(IDE& ide) {
    interp().run_until([&] { return ide.panels_ready(); }, 5000);
    interp().update();
}

fs::path saved_project(const std::string& name, const corvane::Project& project) {
    const fs::path dir = fs::temp_directory_path() / ("corvane-bench-" + name + "-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    corvane::Project copy = project;
    return corvane::save_project(copy, dir / (name + ".vbp"));
}

corvane::Project large_project(int forms, int controls) {
    static const char* kinds[] = {"Label", "TextBox", "CommandButton", "CheckBox", "ListBox", "ComboBox", "Frame"};
    corvane::Project project;
    project.name = "Large";
    project.forms.clear();
    for (int f = 1; f <= forms; ++f) {
        corvane::VBForm form;
        form.name = form.caption = "Form" + std::to_string(f);
        for (int c = 0; c < controls; ++c) form.new_control(kinds[c % 7], 10 + (c % 4) * 150, 10 + (c / 4) * 40);
        form.code = "Option Explicit\n\nPrivate Sub Form_Load()\n    Caption = \"" + form.name + "\"\nEnd Sub\n";
        project.forms.push_back(form);
    }
    project.startup = "Form1";
    return project;
}

void BM_StartupToIdle(benchmark::State& state) {
    for (auto _ : state) {
        auto ide = std::make_unique<IDE>(interp());
        settle(*ide);
        state.PauseTiming();
        ide.reset();
        interp().update();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartupToIdle)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_StartupWithSampleToIdle(benchmark::State& state) {
    const fs::path sample = saved_project("sample", corvane::Project::sample());
    for (auto _ : state) {
        auto ide = std::make_unique<IDE>(interp());
        ide->open_path(sample);
        settle(*ide);
        state.PauseTiming();
        ide.reset();
        interp().update();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartupWithSampleToIdle)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_Open50FormProject(benchmark::State& state) {
    const fs::path large = saved_project("large", large_project(50, 20));
    auto ide = std::make_unique<IDE>(interp());
    settle(*ide);
    for (auto _ : state) {
        ide->open_path(large);
        interp().update();
    }
}
BENCHMARK(BM_Open50FormProject)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_StartSampleUntilShown(benchmark::State& state) {
    const fs::path sample = saved_project("sample", corvane::Project::sample());
    auto ide = std::make_unique<IDE>(interp());
    ide->open_path(sample);
    settle(*ide);
    for (auto _ : state) {
        ide->start();
        interp().run_until([&] {
            return ide->preview && interp().call({"winfo", "ismapped", ide->preview->window}) == "1";
        }, 5000);
        state.PauseTiming();
        ide->stop();
        interp().update();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartSampleUntilShown)->Unit(benchmark::kMillisecond)->Iterations(20);

}  // namespace
