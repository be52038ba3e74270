// The native runtime cache: lookup, verification and atomic insertion.
#include "builder/runtime_cache.h"

#include <stdlib.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>

#include "builder/builder.h"
#include "builder/digest.h"
#include "builder/process.h"
#include "native_compiler/native_compiler.h"

namespace corvane::builder {

namespace fs = std::filesystem;

namespace {

constexpr const char* OBJECT = "vb_native.o";
constexpr const char* MANIFEST = "manifest";
// The last part of a failing compiler's error output that a message keeps.
constexpr size_t ERROR_TAIL = 6000;

std::optional<std::string> read_file(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream text;
    text << in.rdbuf();
    if (in.bad()) return std::nullopt;
    return text.str();
}

std::string manifest_text(const std::string& object) {
    return std::to_string(object.size()) + " " + Digest().add(object).hex() + "\n";
}

// An entry is usable only when its object matches its manifest exactly.
bool entry_valid(const fs::path& entry) {
    const auto manifest = read_file(entry / MANIFEST);
    const auto object = read_file(entry / OBJECT);
    return manifest && object && !object->empty() && *manifest == manifest_text(*object);
}

std::string unique_suffix() {
    static std::mt19937_64 random(std::random_device{}() ^ static_cast<unsigned long long>(::getpid()));
    return std::to_string(::getpid()) + "-" + std::to_string(random() % 1000000000ULL);
}

// Moves a damaged entry aside before removing it, so that a fresh entry
// renamed into its place meanwhile is never removed by mistake.
void discard(const fs::path& entry) {
    const fs::path aside = entry.parent_path() / (".discard-" + unique_suffix());
    std::error_code ec;
    fs::rename(entry, aside, ec);
    if (!ec) fs::remove_all(aside, ec);
}

std::string entry_key(const RuntimeSource& source) {
    Digest key;
    key.field("corvane native runtime 1");
    for (const std::string& word : source.compiler) key.field(word);
    if (auto path = which(source.compiler.front())) {
        std::error_code ec;
        key.field(fs::weakly_canonical(*path, ec).string());
    }
    std::vector<std::string> version = source.compiler;
    version.push_back("--version");
    const ProcessResult r = run_process(version);
    key.field(r.out).field(r.err);
    key.field("flags");
    for (const std::string& flag : source.flags) key.field(flag);
    for (const std::string& file : native_runtime_files()) {
        const auto text = read_file(source.source_dir / file);
        if (!text) throw BuildError("Cannot read the native runtime source " + (source.source_dir / file).string());
        key.field(file).field(*text);
    }
    return key.hex();
}

// Compiles the runtime into the folder `work`, with its manifest.
void compile_entry(const RuntimeSource& source, const fs::path& work) {
    std::vector<std::string> argv = source.compiler;
    argv.insert(argv.end(), source.flags.begin(), source.flags.end());
    for (const std::string& word : {std::string("-c"), (source.source_dir / "vb_native.c").string(), std::string("-o"),
                                    (work / OBJECT).string()})
        argv.push_back(word);
    const ProcessResult r = run_process(argv);
    if (!r.started) throw BuildError("C compiler not found: " + source.compiler.front());
    if (r.status != 0) {
        const std::string& err = r.err;
        throw BuildError("Native runtime compilation failed:\n" +
                         (err.size() > ERROR_TAIL ? err.substr(err.size() - ERROR_TAIL) : err));
    }
    const auto object = read_file(work / OBJECT);
    if (!object || object->empty()) throw BuildError("The compiler wrote no native runtime object");
    const fs::path manifest = work / MANIFEST;
    std::ofstream out(manifest, std::ios::binary | std::ios::trunc);
    out << manifest_text(*object);
    out.close();
    if (!out) throw BuildError("Cannot write " + manifest.string());
}

}  // namespace

fs::path runtime_cache_dir() {
    const char* xdg = std::getenv("XDG_CACHE_HOME");
    fs::path base;
    if (xdg && *xdg && fs::path(xdg).is_absolute()) {
        base = xdg;
    } else {
        const char* home = std::getenv("HOME");
        base = fs::path(home && *home ? home : "/tmp") / ".cache";
    }
    return base / "corvane" / "native-runtime";
}

RuntimeObject cached_runtime_object(const RuntimeSource& source) {
    if (source.compiler.empty()) throw BuildError("Compiler command is empty");
    const fs::path root = runtime_cache_dir();
    const fs::path entry = root / entry_key(source);
    if (entry_valid(entry)) return {entry / OBJECT, true};

    std::error_code ec;
    fs::create_directories(root, ec);
    std::string work_name = (root / ".build-XXXXXX").string();
    if (ec || !::mkdtemp(work_name.data())) return {source.source_dir / "vb_native.c", false};
    const fs::path work = work_name;
    try {
        compile_entry(source, work);
    } catch (...) {
        fs::remove_all(work, ec);
        throw;
    }
    if (fs::exists(entry, ec)) discard(entry);
    // Two builds may race here: the first rename wins, the other finds the
    // entry in place and uses it.
    for (int attempt = 0; attempt < 2; ++attempt) {
        fs::rename(work, entry, ec);
        if (!ec) return {entry / OBJECT, false};
        if (entry_valid(entry)) break;
        discard(entry);
    }
    fs::remove_all(work, ec);
    if (entry_valid(entry)) return {entry / OBJECT, true};
    // The cache cannot take the entry: the build compiles the source itself.
    return {source.source_dir / "vb_native.c", false};
}

}  // namespace corvane::builder
