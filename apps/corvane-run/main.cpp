// corvane-run: runs BASIC programs without the environment.
//   corvane-run --script FILE.bas [FILE.bas|FILE.cls ...]   runs Sub Main headless
//   corvane-run PROJECT                                     runs a project's forms
#include <iostream>
#include <string>
#include <vector>

#include "common/cli.h"
#include "corvane-run/script_host.h"
#include "forms/app_host.h"

namespace {

int run_project(const std::string& project) { return corvane::run_project_file(project); }

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
  script_opt->excludes(project_opt);
  if (auto status = corvane::parse_command_line(app, argc, argv)) return *status;

  if (!scripts.empty()) return corvane::run_scripts(scripts, std::cin, std::cout, std::cerr, max_steps);
  if (!project.empty()) return run_project(project);
  std::cerr << app.help() << "corvane-run: error: give a PROJECT or --script FILE.bas\n";
  return 2;
}
