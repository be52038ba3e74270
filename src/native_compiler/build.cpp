// build_native: emits the C file and compiles it with the host C compiler
// together with the native runtime library into a Linux executable.
#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdlib>
#include <fstream>

#include "basic/module_names.h"
#include "native_compiler/native_compiler.h"
#include "native_compiler/process.h"

namespace corvane {

namespace fs = std::filesystem;

namespace {

NativeBuildTimes last_times;

// The compiler command's words; an unclosed quote is a refusal.
std::vector<std::string> command_words(std::string_view text) {
  std::optional<std::vector<std::string>> words = shell_words(text);
  if (!words) throw NativeCompileError("No closing quotation in compiler command");
  return std::move(*words);
}

// Whether the program's C text creates an ADO connection (the type name
// appears in it, spelt as the source spells it).
bool makes_ado_connections(const std::string& c_text) {
  constexpr std::string_view name = "adodb.connection";
  const auto same = [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) == b; };
  return std::search(c_text.begin(), c_text.end(), name.begin(), name.end(), same) != c_text.end();
}

std::string executable_file_name(const std::string& requested) {
  std::string name;
  bool in_run = false;
  for (char c : requested) {
    const bool ok = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' || c == '-';
    if (ok) {
      name += c;
      in_run = false;
    } else if (!in_run) {
      name += '_';
      in_run = true;
    }
  }
  const size_t b = name.find_first_not_of('_');
  if (b == std::string::npos) return "VBApplication";
  return name.substr(b, name.find_last_not_of('_') - b + 1);
}

void copy_with_times(const fs::path& from, const fs::path& to) {
  std::error_code ec;
  if (fs::exists(to, ec) && fs::equivalent(from, to, ec)) return;
  fs::copy_file(from, to, fs::copy_options::overwrite_existing);
  fs::permissions(to, fs::status(from).permissions());
  fs::last_write_time(to, fs::last_write_time(from));
}

}  // namespace

const std::vector<std::string>& native_runtime_files() {
  static const std::vector<std::string> files = {"vb_native.h", "vb_native.c", "vb_lang.h",    "vb_errors.c",
                                                 "vb_arrays.c", "vb_records.c", "vb_dates.c",   "vb_format.c",
                                                 "vb_builtins2.c", "vb_events.c",  "vb_print.c",
                                                 "vb_files.c", "vb_control_arrays.c", "vb_control_members.c", "vb_collection.c", "vb_menu_arrays.c", "vb_lists.c", "vb_form_load.c", "vb_graphics.c", "vb_pictures.c", "vb_settings.c", "vb_shell.c", "vb_sendkeys.c", "vb_form_objects.c", "vb_control_objects.c", "vb_captions.c", "vb_dialogs.c", "vb_binary_files.c", "vb_error_table.h", "vb_format_scan.h", "vb_sendkeys_scan.h", "vb_finance.h",
                                                 "vb_lang_extras.c"};
  return files;
}

fs::path native_runtime_dir() {
  std::vector<fs::path> tried;
  if (const char* home = std::getenv("CORVANE_HOME"); home && *home) {
    tried.push_back(fs::path(home) / "native");
  } else {
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (!ec) tried.push_back((exe.parent_path() / ".." / "share" / "corvane" / "native").lexically_normal());
  }
  for (const fs::path& dir : tried) {
    std::error_code ec;
    const auto present = [&](const std::string& file) { return fs::is_regular_file(dir / file, ec); };
    if (std::all_of(native_runtime_files().begin(), native_runtime_files().end(), present)) return dir;
  }
  std::string message = "Native runtime sources (vb_native.c and the files it includes) not found in:";
  for (const fs::path& dir : tried) message += " " + dir.string();
  throw NativeCompileError(message);
}

NativeBuildTimes last_native_build_times() { return last_times; }

fs::path build_native(const Project& project, const fs::path& output_dir, const std::optional<std::string>& executable_name,
                      const std::optional<std::string>& cc, const std::optional<fs::path>& emit_c,
                      const NativeRuntimeProvider& runtime_provider) {
  using Clock = std::chrono::steady_clock;
  const auto t0 = Clock::now();
  std::string c_text;
  try {
    // A Private name that another module also declares stays the module's
    // own, spelled as the interpreter spells it.
    Project separated = project;
    std::vector<std::string> sources;
    for (const Module& m : separated.modules) sources.push_back(m.code);
    keep_private_names_apart(sources);
    for (size_t i = 0; i < sources.size(); ++i) separated.modules[i].code = std::move(sources[i]);
    NativeCompiler compiler(separated);
    c_text = compiler.emit();
  } catch (const NativeCompileError& e) {
    // The message names the construct; the file and line follow, as a
    // runtime error's do.
    if (e.line <= 0) throw;
    throw NativeCompileError(std::string(e.what()) + "\n    at " + e.file + ", line " + std::to_string(e.line), e.file,
                             e.line);
  }
  const auto t1 = Clock::now();
  const fs::path runtime = native_runtime_dir();

  const fs::path out_dir = fs::absolute(output_dir);
  fs::create_directories(out_dir);
  const std::string name = executable_file_name(executable_name ? *executable_name : project.name);
  const fs::path c_file = emit_c ? fs::absolute(*emit_c) : out_dir / (name + ".native.c");
  if (!c_file.parent_path().empty()) fs::create_directories(c_file.parent_path());
  {
    std::ofstream file(c_file, std::ios::binary | std::ios::trunc);
    file << c_text;
    file.close();
    if (!file) throw fs::filesystem_error("cannot write the C file", c_file, std::make_error_code(std::errc::io_error));
  }
  if (emit_c) {
    for (const std::string& file : native_runtime_files()) copy_with_times(runtime / file, c_file.parent_path() / file);
  }

  std::string command;
  if (cc && !cc->empty()) {
    command = *cc;
  } else if (const char* env = std::getenv("CC"); env && *env) {
    command = env;
  } else if (which("gcc")) {
    command = "gcc";
  } else if (which("clang")) {
    command = "clang";
  } else {
    throw NativeCompileError("Native compiler not installed. Install gcc and libx11-dev libsqlite3-dev.");
  }
  std::vector<std::string> argv = command_words(command);
  if (argv.empty()) throw NativeCompileError("Compiler command is empty");

  // Only a program that makes ADO connections can reach a MySQL server; the
  // others are linked without the client library, which costs every start
  // milliseconds of loading and the collector a scan of its data.
  std::vector<std::string> mysql;
  if (makes_ado_connections(c_text) && which("pkg-config")) {
    ProcessResult pc = run_process({"pkg-config", "--cflags", "--libs", "libmariadb"});
    if (pc.started && pc.status == 0) {
      mysql.push_back("-DVB_WITH_MYSQL");
      for (std::string& w : command_words(pc.out)) mysql.push_back(std::move(w));
    }
  }
  // The runtime reclaims memory with the Boehm collector, linked statically;
  // a toolchain without it builds the runtime without a collector.
  std::vector<std::string> memory = {"-DVB_NO_GC"};
  {
    std::vector<std::string> probe = argv;
    probe.push_back("-print-file-name=libgc.a");
    ProcessResult r = run_process(probe);
    if (!r.started) throw NativeCompileError("C compiler not found: " + argv[0]);
    while (!r.out.empty() && (r.out.back() == '\n' || r.out.back() == '\r')) r.out.pop_back();
    if (r.status == 0 && r.out.find('/') != std::string::npos) memory = {"-l:libgc.a"};
  }

  // The runtime is compiled with the same options as the program; a
  // provider may hand a compiled copy of it instead.
  fs::path runtime_input = runtime / "vb_native.c";
  if (runtime_provider) {
    NativeRuntimeCompile request{argv, {"-std=c11", "-O2", "-w", "-I", runtime.string()}, runtime};
    for (const std::string& a : memory)
      if (a.rfind("-D", 0) == 0) request.flags.push_back(a);
    for (const std::string& a : mysql)
      if (a.rfind("-D", 0) == 0 || a.rfind("-I", 0) == 0) request.flags.push_back(a);
    runtime_input = runtime_provider(request);
  }

  const fs::path exe = out_dir / name;
  std::vector<std::string> cmd = argv;
  for (const std::string& a : {std::string("-std=c11"), std::string("-O2"), std::string("-Wall"), std::string("-Wextra"),
                               // (-x c: a kept C file named without ".c" is still compiled as C)
                               std::string("-I"), runtime.string(), std::string("-x"), std::string("c"), c_file.string(),
                               std::string("-x"), std::string("none"), std::string("-w"),
                               runtime_input.string(), std::string("-o"), exe.string(),
                               std::string("-lX11"), std::string("-lsqlite3"), std::string("-lm")})
    cmd.push_back(a);
  for (const std::string& a : memory) cmd.push_back(a);
  for (const std::string& a : mysql) cmd.push_back(a);

  ProcessResult r = run_process(cmd);
  const auto t2 = Clock::now();
  last_times = {std::chrono::duration<double>(t1 - t0).count(), std::chrono::duration<double>(t2 - t1).count()};
  if (!r.started) throw NativeCompileError("C compiler not found: " + argv[0]);
  if (r.status != 0) {
    const std::string& err = r.err;
    throw NativeCompileError("Native C compilation failed:\n" + (err.size() > 6000 ? err.substr(err.size() - 6000) : err));
  }
  fs::permissions(exe, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec | fs::perms::others_read |
                           fs::perms::others_exec);
  return exe;
}

}  // namespace corvane
