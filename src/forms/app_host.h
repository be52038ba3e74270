#pragma once
// The standalone runner: runs a project's forms without the environment.
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "forms/run_host.h"
#include "tk/timer.h"

namespace corvane {

// The minimal run host of a built or standalone program: the debug output
// goes to standard error one line at a time; "Program stopped" ends the
// event loop once it is idle, every other status text is dropped.
//
// A runtime error is followed on standard error by the line
// "    at {file}, line {n}": the component's file and the line in it.
class ApplicationHost : public RunHost {
 public:
  // Where a component's code stands in its file: the file's name as shown
  // and, for each line of the code, the file's line.
  struct SourceFile {
    std::string file;
    std::vector<int> lines;
  };

  ApplicationHost(tk::Interp& interp, Project project);
  tk::Interp& interp() override { return interp_; }
  Project& project() override { return project_; }
  void log(const std::string& text) override;
  void set_status(const std::string& text) override;
  void runtime_error(const VBError& error) override;

  // Keyed by the component's name as the form runtime names it
  // ("form1.frm", "module1.bas", lower-cased). Components without an entry
  // are placed as they would be saved.
  std::map<std::string, SourceFile> sources;

 private:
  tk::Interp& interp_;
  Project project_;
  tk::Timer quit_job_;
};

// The file lines of a project's forms and modules as read from its files
// (a .vbp and its members, or one .frm); empty for anything else.
std::map<std::string, ApplicationHost::SourceFile> project_source_files(const Project& project);

// Runs a project already decoded from its data form (JSON). The base folder
// is the folder of the running executable (argv0 resolved). Returns the
// exit status: 0 when the run ended, 1 after printing a failure to stderr.
int launch_payload(const nlohmann::json& data, const std::string& argv0);
// Runs a project until it ends; base_dir decides App.Path and relative
// database paths. Returns the exit status as launch_payload does.
int run_project(Project project, std::map<std::string, ApplicationHost::SourceFile> sources = {});
// corvane-run PROJECT: a .vbp, a .frm or a project data JSON file, whose
// folder is the base folder.
int run_project_file(const std::filesystem::path& path);

}  // namespace corvane
