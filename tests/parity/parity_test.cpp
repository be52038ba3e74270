// Runs each program of the parity corpus through the interpreter and as a
// natively built executable and compares both outputs with the expected
// one. A program is NAME.bas, or a folder NAME/ of .bas and .cls files;
// NAME.out is its expected standard output. A runtime error ends the
// output with "Runtime error in Main: {message}" for both engines (the
// native program's "VB native runtime: {message}" on standard error is
// read as that line). NAME.refused holds the message the native compiler
// refuses the program with; the program must then still pass through the
// interpreter, and the test fails once the native compiler accepts it, so
// the list of refusals only shrinks.
//
// The native runtime is compiled once per set of sources and options and
// kept in the build tree, so each program only compiles its own C.
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "common/run_command.h"
#include "native_compiler/native_compiler.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;
using testing::run_command;
using testing::slurp;
using testing::tool_path;

struct Program {
  std::string name;
  std::vector<fs::path> files;  // .bas and .cls, in name order
  fs::path expected, refused;
};

void PrintTo(const Program& p, std::ostream* os) { *os << p.name; }

std::vector<Program> corpus() {
  std::vector<Program> out;
  const fs::path root = PARITY_PROGRAMS;
  for (const auto& entry : fs::directory_iterator(root)) {
    Program p;
    const fs::path path = entry.path();
    if (entry.is_directory()) {
      p.name = path.filename().string();
      for (const auto& f : fs::directory_iterator(path))
        if (f.path().extension() == ".bas" || f.path().extension() == ".cls") p.files.push_back(f.path());
      std::sort(p.files.begin(), p.files.end());
    } else if (path.extension() == ".bas") {
      p.name = path.stem().string();
      p.files.push_back(path);
    } else {
      continue;
    }
    p.expected = root / (p.name + ".out");
    p.refused = root / (p.name + ".refused");
    out.push_back(p);
  }
  std::sort(out.begin(), out.end(), [](const Program& a, const Program& b) { return a.name < b.name; });
  return out;
}

// The module's name: its VB_Name attribute, else the file name.
std::string module_name(const fs::path& file, const std::string& text) {
  const std::string key = "Attribute VB_Name = \"";
  const size_t at = text.find(key);
  if (at != std::string::npos) {
    const size_t end = text.find('"', at + key.size());
    if (end != std::string::npos) return text.substr(at + key.size(), end - at - key.size());
  }
  return file.stem().string();
}

Project project_of(const Program& p) {
  Project project;
  project.name = "Parity";
  project.forms.clear();
  project.startup = "Sub Main";
  for (const fs::path& f : p.files) {
    const std::string text = slurp(f);
    if (f.extension() == ".cls") project.classes.push_back({module_name(f, text), text});
    else project.modules.push_back({module_name(f, text), text});
  }
  return project;
}

// The compiled runtime for these options and sources, compiled on first
// use. Tests running at the same time each write their own file and rename
// it into place, so none links a half-written object.
fs::path cached_runtime(const NativeRuntimeCompile& request) {
  std::string key;
  for (const std::string& word : request.compiler) key += word + '\0';
  for (const std::string& flag : request.flags) key += flag + '\0';
  for (const std::string& file : native_runtime_files()) key += slurp(request.source_dir / file) + '\0';
  std::ostringstream name;
  name << "vb_native-" << std::hex << std::hash<std::string>{}(key) << ".o";
  const fs::path dir = PARITY_RUNTIME_CACHE;
  const fs::path object = dir / name.str();
  if (fs::exists(object)) return object;
  fs::create_directories(dir);
  const fs::path partial = dir / (name.str() + "." + std::to_string(::getpid()) + ".tmp");
  std::vector<std::string> argv = request.compiler;
  argv.insert(argv.end(), request.flags.begin(), request.flags.end());
  for (const std::string& word : {std::string("-c"), (request.source_dir / "vb_native.c").string(), std::string("-o"),
                                  partial.string()})
    argv.push_back(word);
  const auto compiled = run_command(argv);
  if (compiled.status != 0) throw NativeCompileError("compiling the runtime failed: " + compiled.err);
  fs::rename(partial, object);
  return object;
}

std::string trimmed_line(std::string text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) text.pop_back();
  return text;
}

class Parity : public ::testing::TestWithParam<Program> {
 protected:
  fs::path dir;
  void SetUp() override {
    dir = fs::temp_directory_path() / ("corvane-parity-" + std::to_string(::getpid()) + "-" + GetParam().name);
    fs::remove_all(dir);
    fs::create_directories(dir);
  }
  void TearDown() override {
    if (!HasFailure()) fs::remove_all(dir);
  }
};

TEST_P(Parity, InterpreterAndNativeGiveTheExpectedOutput) {
  const Program& p = GetParam();
  ASSERT_TRUE(fs::exists(p.expected)) << "missing " << p.expected;
  const std::string expected = slurp(p.expected);

  // Each engine keeps program settings (SaveSetting) in a fresh folder of its own.
  std::vector<std::string> argv{"env", "XDG_CONFIG_HOME=" + (dir / "settings-interpreted").string(), "timeout", "60",
                                tool_path("corvane-run"), "--script"};
  for (const fs::path& f : p.files) argv.push_back(f.string());
  const auto interpreted = run_command(argv);
  EXPECT_EQ(interpreted.out, expected) << "interpreter output differs (stderr: " << interpreted.err << ")";

  std::string refusal;
  fs::path exe;
  try {
    exe = build_native(project_of(p), dir / "out", std::nullopt, std::nullopt, std::nullopt, cached_runtime);
  } catch (const NativeCompileError& e) {
    refusal = e.what();
  }
  if (fs::exists(p.refused)) {
    const std::string wanted = trimmed_line(slurp(p.refused));
    EXPECT_NE(refusal.find(wanted), std::string::npos)
        << "expected the native compiler to refuse with \"" << wanted << "\", got \"" << refusal << "\"";
    return;
  }
  ASSERT_EQ(refusal, "") << "the native compiler refused the program";
  const auto native = run_command(
      {"env", "-u", "DISPLAY", "XDG_CONFIG_HOME=" + (dir / "settings-native").string(), "timeout", "60", exe.string()});
  std::string out = native.out;
  const std::string prefix = "VB native runtime: ";
  if (native.status == 1 && native.err.rfind(prefix, 0) == 0)
    out += "Runtime error in Main: " + native.err.substr(prefix.size());
  EXPECT_EQ(out, expected) << "native output differs (status " << native.status << ", stderr: " << native.err << ")";
}

std::string test_name(const ::testing::TestParamInfo<Program>& info) {
  std::string name = info.param.name;
  for (char& c : name)
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  return name;
}

INSTANTIATE_TEST_SUITE_P(Corpus, Parity, ::testing::ValuesIn(corpus()), test_name);

}  // namespace
}  // namespace corvane
