// Mode native: the native compiler's build with the runtime from the cache.
#include "builder/builder.h"
#include "builder/modes.h"
#include "builder/output.h"
#include "builder/runtime_cache.h"
#include "native_compiler/native_compiler.h"

namespace corvane::builder {

namespace fs = std::filesystem;

fs::path build_native_mode(const Project& project, const fs::path& output_dir, const std::string& name) {
    // The program is built in a private folder beside the destination and
    // renamed into place, so a failed build leaves no executable behind; the
    // C file is kept beside the destination either way.
    ScratchFolder work(output_dir, ".corvane-build-");
    const fs::path c_name = name + ".native.c";
    const auto keep_c_file = [&] {
        std::error_code ec;
        if (fs::exists(work.path() / c_name, ec)) fs::rename(work.path() / c_name, output_dir / c_name, ec);
    };
    fs::path built;
    try {
        built = build_native(project, work.path(), name, std::nullopt, std::nullopt,
                             [](const NativeRuntimeCompile& request) {
                                 return cached_runtime_object({request.compiler, request.flags, request.source_dir}).path;
                             });
    } catch (const NativeCompileError& e) {
        keep_c_file();
        throw BuildError(e.what());
    } catch (...) {
        keep_c_file();
        throw;
    }
    keep_c_file();
    const fs::path destination = output_dir / name;
    move_executable(built, destination);
    return destination;
}

}  // namespace corvane::builder
