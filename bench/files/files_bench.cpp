// Reading and writing a large form (1000 controls, 10000 lines of code) and
// a project of 50 such forms.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "model/control_kinds.h"
#include "vb6files/project_files.h"

namespace {

namespace fs = std::filesystem;
using namespace corvane;

constexpr int CONTROLS = 1000;
constexpr int CODE_LINES = 10000;
constexpr int PROJECT_FORMS = 50;

VBForm large_form(const std::string& name) {
  VBForm form;
  form.name = name;
  form.caption = "Large form – " + name;
  form.width = 1024;
  form.height = 768;
  for (int i = 0; i < CONTROLS; ++i) {
    const ControlSpec& row = CONTROL_SPECS[static_cast<size_t>(i) % CONTROL_SPECS.size()];
    Control& control = form.new_control(row.kind, (i * 7) % 900, (i * 13) % 700);
    control.caption = "Caption \"" + std::to_string(i) + "\" é";
    if (i % 3 == 0) control.back_color = "#102030";
    if (i % 5 == 0) control.font_size = 12;
    if (i % 7 == 0) control.items = "one|two|three";
    if (i % 11 == 0) control.visible = false;
  }
  for (int m = 0; m < 5; ++m) {
    MenuItem top{"mnuTop" + std::to_string(m), "&Top " + std::to_string(m), {}, false, true, true};
    for (int c = 0; c < 8; ++c)
      top.children.push_back(MenuItem{"mnuItem" + std::to_string(m) + "_" + std::to_string(c), "Item", {}, c == 1,
                                      c != 2, true});
    form.menus.push_back(std::move(top));
  }
  std::string code = "Option Explicit\n";
  for (int line = 1; line < CODE_LINES; ++line) {
    if (line % 10 == 1) code += "Private Sub Command" + std::to_string(line) + "_Click()\n";
    else if (line % 10 == 0) code += "End Sub\n";
    else code += "    total = total + " + std::to_string(line) + " ' running sum\n";
  }
  form.code = code;
  return form;
}

struct Data {
  fs::path folder;
  VBForm form;
  fs::path form_file;
  Project project;
  fs::path project_file;

  Data() {
    std::string pattern = (fs::temp_directory_path() / "corvane-bench-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    folder = pattern;
    form = large_form("frmLarge");
    form_file = folder / "single" / "frmLarge.frm";
    fs::create_directories(form_file.parent_path());
    save_form(form, form_file);
    project.name = "Large";
    project.forms.clear();
    for (int i = 0; i < PROJECT_FORMS; ++i) project.forms.push_back(large_form("Form" + std::to_string(i + 1)));
    project.startup = "Form1";
    project_file = save_project(project, folder / "project" / "Large.vbp");
  }
  ~Data() {
    std::error_code ec;
    fs::remove_all(folder, ec);
  }
};

Data& data() {
  static Data instance;
  return instance;
}

void BM_ReadForm(benchmark::State& state) {
  const Data& d = data();
  for (auto _ : state) benchmark::DoNotOptimize(read_form(d.form_file));
}
BENCHMARK(BM_ReadForm)->Unit(benchmark::kMillisecond);

void BM_WriteForm(benchmark::State& state) {
  const fs::path target = data().folder / "single" / "written.frm";
  for (auto _ : state) save_form(data().form, target);
}
BENCHMARK(BM_WriteForm)->Unit(benchmark::kMillisecond);

void BM_LoadProject50Forms(benchmark::State& state) {
  const Data& d = data();
  for (auto _ : state) benchmark::DoNotOptimize(load_project(d.project_file));
}
BENCHMARK(BM_LoadProject50Forms)->Unit(benchmark::kMillisecond);

void BM_SaveProject50Forms(benchmark::State& state) {
  Project copy = data().project;
  for (auto _ : state) save_project(copy);
}
BENCHMARK(BM_SaveProject50Forms)->Unit(benchmark::kMillisecond);

}  // namespace
