#pragma once
// The standalone runner: runs a project's forms without the environment.
#include <filesystem>
#include <string>

#include <nlohmann/json.hpp>

#include "forms/run_host.h"
#include "tk/timer.h"

namespace corvane {

// The minimal run host of a built or standalone program: the debug output
// goes to standard error one line at a time; "Program stopped" ends the
// event loop once it is idle, every other status text is dropped.
class ApplicationHost : public RunHost {
 public:
  ApplicationHost(tk::Interp& interp, Project project);
  tk::Interp& interp() override { return interp_; }
  Project& project() override { return project_; }
  void log(const std::string& text) override;
  void set_status(const std::string& text) override;

 private:
  tk::Interp& interp_;
  Project project_;
  tk::Timer quit_job_;
};

// Runs a project already decoded from its data form (JSON). The base folder
// is the folder of the running executable (argv0 resolved). Returns the
// exit status: 0 when the run ended, 1 after printing a failure to stderr.
int launch_payload(const nlohmann::json& data, const std::string& argv0);
// Runs a project until it ends; base_dir decides App.Path and relative
// database paths. Returns the exit status as launch_payload does.
int run_project(Project project);
// corvane-run PROJECT: a .vbp, a .frm or a project data JSON file, whose
// folder is the base folder.
int run_project_file(const std::filesystem::path& path);

}  // namespace corvane
