// corvane-compat PROJECT: the compatibility report of a VB6 project.
#include <exception>
#include <iostream>
#include <string>

#include "common/cli.h"
#include "compat/analyzer.h"
#include "vb6files/project_files.h"

int main(int argc, char** argv) {
  CLI::App app("Check VB6 source for unsupported Linux dependencies", "corvane-compat");
  std::string project_path;
  app.add_option("project", project_path, ".vbp file")->required();
  if (auto status = corvane::parse_command_line(app, argc, argv)) return *status;

  try {
    const corvane::Project project = corvane::load_project(project_path);
    const auto diagnostics = corvane::analyze_project(project);
    std::cout << corvane::report(diagnostics) << "\n";
    return diagnostics.empty() ? 0 : 1;
  } catch (const std::exception& e) {
    std::cerr << e.what() << "\n";
    return 1;
  }
}
