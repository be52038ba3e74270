// corvane-compat PROJECT: the compatibility report of a VB6 project.
#include <exception>
#include <filesystem>
#include <optional>
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
    // A form file given alone is scanned for ActiveX controls like the forms of a project.
    std::optional<std::filesystem::path> form_file;
    if (!project.path) form_file = std::filesystem::absolute(project_path);
    const auto diagnostics = corvane::analyze_project(project, form_file);
    std::cout << corvane::report(diagnostics) << "\n";
    return diagnostics.empty() ? 0 : 1;
  } catch (const std::exception& e) {
    std::cerr << e.what() << "\n";
    return 1;
  }
}
