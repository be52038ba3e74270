// corvane-native PROJECT: compiles a project into a Linux-native executable.
#include <exception>
#include <iostream>
#include <optional>
#include <string>

#include "common/cli.h"
#include "native_compiler/native_compiler.h"
#include "vb6files/project_files.h"

int main(int argc, char** argv) {
  CLI::App app("Compile VB6-style projects to Linux-native machine code", "corvane-native");
  std::string project_path;
  std::string output = "dist";
  std::optional<std::string> name, cc, emit_c;
  app.add_option("project", project_path, "VB6-style .vbp project")->required();
  app.add_option("-o,--output", output);
  app.add_option("--name", name);
  app.add_option("--cc", cc, "GCC/Clang or a cross-compiler e.g. aarch64-linux-gnu-gcc");
  app.add_option("--emit-c", emit_c, "Keep generated C and support sources at this path");
  if (auto status = corvane::parse_command_line(app, argc, argv)) return *status;

  try {
    const corvane::Project project = corvane::load_project(project_path);
    std::optional<std::filesystem::path> emit_path;
    if (emit_c) emit_path = *emit_c;
    const auto exe = corvane::build_native(project, output, name, cc, emit_path);
    std::cout << "Compiled native ELF: " << exe.string() << "\n";
    return 0;
  } catch (const std::exception& e) {
    std::cerr << e.what() << "\n";
    return 1;
  }
}
