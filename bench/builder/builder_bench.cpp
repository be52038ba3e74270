// Builder and explorer timings: native builds of the sample project with a
// warm and with a cold runtime cache, elf builds, and the database explorer
// showing a 12,000-row one-column result (first 5,000 rows). The explorer
// needs a display (bench/run provides one).
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

#include "builder/builder.h"
#include "builder/runtime_cache.h"
#include "ide/database_explorer.h"
#include "ide/ide.h"
#include "ide/tool_windows.h"
#include "tk/dialogs.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;

fs::path scratch(const std::string& what) {
    const fs::path d = fs::temp_directory_path() / ("corvane-bench-builder-" + std::to_string(::getpid()) + "-" + what);
    fs::create_directories(d);
    return d;
}

void use_cache(const fs::path& folder) { ::setenv("XDG_CACHE_HOME", folder.c_str(), 1); }

void BM_NativeBuildWarmCache(benchmark::State& state) {
    const fs::path d = scratch("warm");
    use_cache(d / "cache");
    const Project p = Project::sample();
    build_project(p, d / "out", "native");  // fills the cache
    for (auto _ : state) benchmark::DoNotOptimize(build_project(p, d / "out", "native"));
    fs::remove_all(d);
}
BENCHMARK(BM_NativeBuildWarmCache)->Iterations(5)->Unit(benchmark::kMillisecond);

void BM_NativeBuildColdCache(benchmark::State& state) {
    const fs::path d = scratch("cold");
    use_cache(d / "cache");
    const Project p = Project::sample();
    for (auto _ : state) {
        state.PauseTiming();
        fs::remove_all(d / "cache");
        state.ResumeTiming();
        benchmark::DoNotOptimize(build_project(p, d / "out", "native"));
    }
    fs::remove_all(d);
}
BENCHMARK(BM_NativeBuildColdCache)->Iterations(3)->Unit(benchmark::kMillisecond);

void BM_ElfBuild(benchmark::State& state) {
    const fs::path d = scratch("elf");
    const Project p = Project::sample();
    for (auto _ : state) benchmark::DoNotOptimize(build_project(p, d / "out", "elf"));
    fs::remove_all(d);
}
BENCHMARK(BM_ElfBuild)->Iterations(5)->Unit(benchmark::kMillisecond);

void BM_ExplorerShows12000Rows(benchmark::State& state) {
    if (!std::getenv("DISPLAY")) {
        state.SkipWithError("needs DISPLAY (run under scripts/with-x)");
        return;
    }
    ::setenv("XDG_CONFIG_HOME", scratch("config").c_str(), 1);
    tk::set_dialog_responder([](const std::vector<std::string>&) { return std::optional<std::string>("ok"); });
    tk::Interp interp(tk::InterpOptions{.with_tk = true});
    {
        ide::IDE window(interp);
        ide::DatabaseExplorer& explorer = ide::open_database_explorer(window, "sqlite");
        explorer.set_field("Database file", ":memory:");
        explorer.set_statement(
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 12000) SELECT i FROM n");
        interp.update();
        for (auto _ : state) {
            explorer.execute();
            interp.run_until([&] { return !explorer.filling(); }, 60000);
            // The rows are on screen once the table has drawn them.
            interp.call({"update", "idletasks"});
        }
        state.counters["shown_rows"] =
            static_cast<double>(interp.call_obj({explorer.result_table(), "children", ""}).to_list().size());
        explorer.close();
        interp.call({"destroy", "."});
    }
    tk::set_dialog_responder(nullptr);
}
BENCHMARK(BM_ExplorerShows12000Rows)->Iterations(5)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace corvane
