// Start-up overhead of the one-file delivery: `--version` through the
// launcher (copy, unpack, run, remove) against the program started directly.
// The delivery file is made once from this build tree by packaging/make-run.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;

const fs::path& delivery_file() {
    static const fs::path file = [] {
        const fs::path dir = fs::temp_directory_path() / ("corvane-bench-delivery-" + std::to_string(::getpid()));
        fs::create_directories(dir);
        const fs::path out = dir / "corvane.run";
        const std::string cmd = std::string("'") + CORVANE_SOURCE_DIR + "/packaging/make-run' --no-build --build-dir '" +
                                CORVANE_BINARY_DIR + "' --output '" + out.string() + "' >/dev/null";
        if (std::system(cmd.c_str()) != 0) std::abort();
        std::atexit([] {
            std::error_code ec;
            fs::remove_all(fs::temp_directory_path() / ("corvane-bench-delivery-" + std::to_string(::getpid())), ec);
        });
        return out;
    }();
    return file;
}

void run_version(benchmark::State& state, const fs::path& program) {
    const std::string cmd = "'" + program.string() + "' --version >/dev/null";
    for (auto _ : state)
        if (std::system(cmd.c_str()) != 0) state.SkipWithError("--version failed");
}

void BM_DeliveryVersion(benchmark::State& state) {
    state.counters["payload_bytes"] = static_cast<double>(fs::file_size(delivery_file()));
    run_version(state, delivery_file());
}
BENCHMARK(BM_DeliveryVersion)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_DirectVersion(benchmark::State& state) {
    run_version(state, fs::path(CORVANE_BINARY_DIR) / "bin/corvane");
}
BENCHMARK(BM_DirectVersion)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
