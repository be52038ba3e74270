// corvane-run: runs BASIC programs without the environment.
//   corvane-run --script FILE.bas [FILE.bas|FILE.cls ...]   runs Sub Main headless
//   corvane-run PROJECT [-- ARGS...]                        runs a project's forms
//   corvane-run --as-executable PATH DATA.json [-- ARGS...] runs project data as the built program PATH
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "common/cli.h"
#include "corvane-run/script_host.h"
#include "forms/app_host.h"

namespace {

int run_project(const std::string& project) { return corvane::run_project_file(project); }

// Project data run as a built program at `executable` runs it: that
// program's folder is the base folder (App.Path, relative databases).
int run_as_executable(const std::string& data_file, const std::string& executable) {
  std::ifstream in(data_file, std::ios::binary);
  if (!in) {
    std::cerr << "File not found: " << data_file << std::endl;
    return 1;
  }
  nlohmann::json data;
  try {
    data = nlohmann::json::parse(in);
  } catch (const std::exception& e) {
    std::cerr << e.what() << std::endl;
    return 1;
  }
  return corvane::launch_payload(data, executable);
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app("Run a Corvane program without the environment", "corvane-run");
  std::vector<std::string> scripts;
  std::string project;
  int64_t max_steps = 0;
  auto* script_opt = app.add_option("--script", scripts, "run Sub Main of these .bas (and .cls) files headless")
                         ->expected(1, -1);
  auto* project_opt = app.add_option("project", project, ".vbp, .frm or project-data JSON file");
  app.add_option("--max-steps", max_steps, "with --script: stop Main after N executed lines (default: no limit)")
      ->check(CLI::NonNegativeNumber);
  std::string executable;
  auto* exe_opt = app.add_option("--as-executable", executable,
                                 "run the project data JSON file as the built program PATH would")
                      ->needs(project_opt);
  // The program's own arguments, after "--"; the dialect has no Command$
  // yet, so they are accepted and left to it.
  std::vector<std::string> program_args;
  app.add_option("args", program_args, "arguments of the program (after --)");
  script_opt->excludes(project_opt);
  script_opt->excludes(exe_opt);
  if (auto status = corvane::parse_command_line(app, argc, argv)) return *status;

  if (!scripts.empty()) return corvane::run_scripts(scripts, std::cin, std::cout, std::cerr, max_steps);
  if (!project.empty()) return executable.empty() ? run_project(project) : run_as_executable(project, executable);
  std::cerr << app.help() << "corvane-run: error: give a PROJECT or --script FILE.bas\n";
  return 2;
}
