// Mode bundle: one self-contained file made of Corvane's self-extracting
// launcher and a payload that holds corvane-run, the shared libraries it
// needs beyond the C library, the Tcl and Tk script libraries and the
// project data form. Started, the launcher unpacks the payload and runs
// runtime/bin/corvane, here a small script that hands the project to
// corvane-run as the built program itself would run it.
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>

#include "builder/builder.h"
#include "builder/modes.h"
#include "builder/output.h"
#include "builder/process.h"

namespace corvane {

namespace fs = std::filesystem;

namespace {

constexpr const char* LAUNCHER = "corvane-launcher";
constexpr const char* RUNNER = "corvane-run";

// The entry the launcher starts: corvane-run on the bundled project data,
// with the bundle file (the launcher, its parent process) as the program
// whose folder is the base folder, so that App.Path and relative database
// paths are beside the bundle rather than in its temporary folder.
constexpr const char* ENTRY_SCRIPT =
    "#!/bin/sh\n"
    "# Runs the bundled project as the bundle file itself.\n"
    "bundle=$(readlink \"/proc/$PPID/exe\" 2>/dev/null) || bundle=\"$0\"\n"
    "exec \"$(dirname \"$0\")/corvane-run\" --as-executable \"$bundle\" \"$CORVANE_HOME/project.json\" -- \"$@\"\n";

// Libraries every Linux system has: the C library and its companions.
constexpr std::string_view SYSTEM_LIBRARIES[] = {
    "linux-vdso.so", "ld-linux", "libc.so", "libm.so", "libpthread.so", "libdl.so", "librt.so",
    "libresolv.so", "libutil.so", "libanl.so", "libmvec.so", "libnss_", "libthread_db.so", "libBrokenLocale.so"};

bool is_system_library(std::string_view name) {
    for (std::string_view prefix : SYSTEM_LIBRARIES)
        if (name.substr(0, prefix.size()) == prefix) return true;
    return false;
}

// The folder of the running program: corvane-run and the launcher are its
// neighbours, in the build tree as in the delivered runtime.
fs::path own_bin_folder() {
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec) throw BuildError("Self-contained bundles need the program's own folder, which is unknown.");
    return exe.parent_path();
}

fs::path required_neighbour(const fs::path& bin, const char* name) {
    const fs::path path = bin / name;
    std::error_code ec;
    if (!fs::is_regular_file(path, ec))
        throw BuildError(std::string("Self-contained bundles need ") + name + ", which is not in " + bin.string());
    return path;
}

// A Tcl or Tk script library: the folder the variable names when it holds
// the marker file, else the fallback.
fs::path script_library(const char* variable, const fs::path& fallback, const char* marker) {
    std::error_code ec;
    if (const char* value = std::getenv(variable); value && *value && fs::is_regular_file(fs::path(value) / marker, ec))
        return value;
    if (fs::is_regular_file(fallback / marker, ec)) return fallback;
    throw BuildError(std::string("Self-contained bundles need the ") + (std::string_view(marker) == "init.tcl" ? "Tcl" : "Tk") +
                     " script library (" + marker + "), which is not in " + fallback.string());
}

// name -> path of every library ldd finds for the program, beyond libc.
std::map<std::string, fs::path> needed_libraries(const fs::path& program) {
    const builder::ProcessResult r = builder::command({"ldd", program.string()});
    std::map<std::string, fs::path> libraries;
    std::istringstream lines(r.out);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream words(line);
        std::string name, arrow, path;
        words >> name >> arrow >> path;
        if (arrow != "=>" || is_system_library(name)) continue;
        if (path == "not") throw BuildError(program.filename().string() + " needs " + name + ", which is not installed.");
        libraries[name] = path;
    }
    return libraries;
}

// Libraries opened at run time rather than linked, which ldd cannot see:
// libX11 opens libXcursor for cursor themes. Optional: left out when absent.
constexpr const char* RUNTIME_LOADED[] = {"libXcursor.so.1"};

// Where the dynamic loader would find a library: LD_LIBRARY_PATH, then the
// usual library folders.
std::optional<fs::path> find_library(const std::string& name) {
    std::vector<fs::path> folders;
    if (const char* path = std::getenv("LD_LIBRARY_PATH")) {
        std::istringstream parts(path);
        for (std::string part; std::getline(parts, part, ':');)
            if (!part.empty()) folders.emplace_back(part);
    }
    for (const char* folder : {"/lib/x86_64-linux-gnu", "/usr/lib/x86_64-linux-gnu", "/lib/aarch64-linux-gnu",
                               "/usr/lib/aarch64-linux-gnu", "/usr/lib64", "/lib64", "/usr/lib", "/lib"})
        folders.emplace_back(folder);
    std::error_code ec;
    for (const fs::path& folder : folders)
        if (fs::is_regular_file(folder / name, ec)) return folder / name;
    return std::nullopt;
}

void write_text(const fs::path& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    if (!out) throw BuildError("Cannot write " + path.string());
}

// Stripped when strip is at hand: debug information is most of a program.
void copy_program(const fs::path& from, const fs::path& to) {
    if (builder::which("strip")) {
        builder::command({"strip", "--strip-unneeded", "-o", to.string(), from.string()});
    } else {
        fs::copy_file(from, to, fs::copy_options::overwrite_existing);
    }
    fs::permissions(to, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                            fs::perms::others_read | fs::perms::others_exec);
}

// The payload tree: runtime/{bin,lib,tcl}, app/project.json.
void stage_payload(const fs::path& stage, const fs::path& bin, const Project& project) {
    const fs::path runner = required_neighbour(bin, RUNNER);
    const fs::path tcl = script_library("TCL_LIBRARY", CORVANE_TCL_SCRIPT_DIR, "init.tcl");
    const fs::path tk = script_library("TK_LIBRARY", tcl.parent_path() / "tk8.6", "tk.tcl");
    fs::create_directories(stage / "runtime/bin");
    fs::create_directories(stage / "runtime/lib");
    fs::create_directories(stage / "runtime/tcl");
    fs::create_directories(stage / "app");

    copy_program(runner, stage / "runtime/bin" / RUNNER);
    write_text(stage / "runtime/bin/corvane", ENTRY_SCRIPT);
    fs::permissions(stage / "runtime/bin/corvane", fs::perms::owner_all | fs::perms::group_read |
                                                       fs::perms::group_exec | fs::perms::others_read |
                                                       fs::perms::others_exec);
    auto libraries = needed_libraries(runner);
    for (const char* name : RUNTIME_LOADED) {
        const auto path = find_library(name);
        if (!path) continue;
        libraries[name] = *path;
        libraries.merge(needed_libraries(*path));
    }
    for (const auto& [name, path] : libraries)
        fs::copy_file(path, stage / "runtime/lib" / name, fs::copy_options::overwrite_existing);
    // Symlinks are followed: the copies must stand on their own.
    fs::copy(tcl, stage / "runtime/tcl/tcl8.6", fs::copy_options::recursive);
    fs::copy(tk, stage / "runtime/tcl/tk8.6", fs::copy_options::recursive);
    write_text(stage / "app/project.json", project_data_text(project));
}

std::string trailer(std::uint64_t size) {
    std::string bytes(8, '\0');
    for (int i = 0; i < 8; ++i) bytes[i] = static_cast<char>((size >> (8 * i)) & 0xff);
    return bytes;
}

// launcher + payload + trailer, written as `file`.
void assemble(const fs::path& launcher, const fs::path& payload, const fs::path& file) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    for (const fs::path& part : {launcher, payload}) {
        std::ifstream in(part, std::ios::binary);
        out << in.rdbuf();
    }
    out << trailer(fs::file_size(payload));
    out.close();
    if (!out) throw BuildError("Cannot write " + file.string());
}

}  // namespace

namespace builder {

fs::path build_bundle_mode(const Project& project, const fs::path& output_dir, const std::string& name) {
    const fs::path bin = own_bin_folder();
    const fs::path launcher = required_neighbour(bin, LAUNCHER);
    if (!which("tar")) throw BuildError("Required build command missing: tar");

    ScratchFolder work(fs::temp_directory_path(), "corvane-bundle-");
    const fs::path stage = work.path() / "tree";
    stage_payload(stage, bin, project);
    const fs::path payload = work.path() / "payload.tar.gz";
    command({"tar", "--owner=0", "--group=0", "--numeric-owner", "-czf", payload.string(), "-C", stage.string(),
             "runtime", "app"});
    fs::create_directories(work.path() / "out");
    const fs::path built = work.path() / "out" / name;
    assemble(launcher, payload, built);
    const fs::path destination = output_dir / name;
    install_executable(built, destination);
    return destination;
}

}  // namespace builder
}  // namespace corvane
