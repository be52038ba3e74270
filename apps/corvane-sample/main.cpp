// corvane-sample [FOLDER]: saves the sample project as VB6 files and prints
// its compatibility report.
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <iostream>
#include <string>

#include "common/cli.h"
#include "compat/analyzer.h"
#include "vb6files/project_files.h"

namespace fs = std::filesystem;

namespace {

fs::path fresh_folder() {
  std::string pattern = (fs::temp_directory_path() / "corvane-sample-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("Cannot create a folder in " + fs::temp_directory_path().string());
  return pattern;
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app("Save the sample project as VB6 files and report on it", "corvane-sample");
  std::string folder;
  app.add_option("folder", folder, "Folder to save into (default: a fresh temporary folder)");
  if (auto status = corvane::parse_command_line(app, argc, argv)) return *status;

  try {
    const fs::path target = fs::absolute(folder.empty() ? fresh_folder() : fs::path(folder));
    corvane::Project project = corvane::Project::sample();
    corvane::save_project(project, target / (project.name + ".vbp"));
    std::cout << "Sample project saved to " << target.string() << "\n";
    std::cout << corvane::report(project) << "\n";
    return 0;
  } catch (const std::exception& e) {
    std::cerr << e.what() << "\n";
    return 1;
  }
}
