// The standalone runner: ApplicationHost, launch_payload and corvane-run's
// project mode.
#include "forms/app_host.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include <tk.h>

#include "forms/preview.h"
#include "forms/session.h"
#include "model/names.h"
#include "model/project_data.h"
#include "tk/error.h"
#include "vb6files/project_files.h"

namespace corvane {

ApplicationHost::ApplicationHost(tk::Interp& interp, Project project) : interp_(interp), project_(std::move(project)) {}

void ApplicationHost::log(const std::string& text) { std::cerr << text << std::endl; }

void ApplicationHost::set_status(const std::string& text) {
  if (text != "Program stopped") return;
  tk::Interp* interp = &interp_;
  quit_job_ = tk::when_idle(interp_, [interp] { interp->quit(); });
}

namespace {

// The file lines of a form's code as the form's file holds them.
std::vector<int> form_code_lines(std::string_view file_text, const std::filesystem::path& source) {
  std::vector<int> lines;
  read_form_text(file_text, source, lines);
  return lines;
}

// A module's code is its whole file, line for line.
std::vector<int> module_code_lines(const std::string& code) {
  std::vector<int> lines;
  const int count = static_cast<int>(std::count(code.begin(), code.end(), '\n')) + 1;
  for (int i = 1; i <= count; ++i) lines.push_back(i);
  return lines;
}

}  // namespace

std::map<std::string, ApplicationHost::SourceFile> project_source_files(const Project& project) {
  namespace fs = std::filesystem;
  std::map<std::string, ApplicationHost::SourceFile> sources;
  if (!project.path) return sources;
  const fs::path folder = project.path->parent_path();
  auto shown = [&folder](const fs::path& file) { return file.lexically_relative(folder).generic_string(); };
  try {
    if (ascii_lower(project.path->extension().string()) != ".vbp") return sources;
    const std::vector<fs::path> forms = project_member_files(*project.path, "form", project.code_page);
    for (size_t i = 0; i < forms.size() && i < project.forms.size(); ++i) {
      const std::string text = load_text(forms[i], project.code_page);
      sources[lower(project.forms[i].name) + ".frm"] = {shown(forms[i]), form_code_lines(text, forms[i])};
    }
    const std::vector<fs::path> modules = project_member_files(*project.path, "module", project.code_page);
    for (size_t i = 0; i < modules.size() && i < project.modules.size(); ++i)
      sources[lower(project.modules[i].name) + ".bas"] = {shown(modules[i]), module_code_lines(project.modules[i].code)};
  } catch (const std::exception&) {
    // A file that changed since loading: its errors are placed as saved.
  }
  return sources;
}

void ApplicationHost::runtime_error(const VBError& error) {
  if (error.line <= 0 || error.file.empty()) return;
  std::string file = error.file;
  int line = error.line;
  if (auto it = sources.find(lower(error.file)); it != sources.end()) {
    file = it->second.file;
    if (static_cast<size_t>(line) <= it->second.lines.size()) line = it->second.lines[line - 1];
  } else if (const std::string stem = error.file.substr(0, error.file.find_last_of('.'));
             error.file.ends_with(".frm")) {
    // A form that has no file of its own (a built program's data): its line
    // in the file Corvane would save.
    if (const VBForm* form = project_.lookup_form(stem)) {
      const std::vector<int> lines = form_code_lines(form_file_text(*form), error.file);
      if (static_cast<size_t>(line) <= lines.size()) line = lines[line - 1];
    }
  }
  std::cerr << "    at " << file << ", line " << line << std::endl;
}

int run_project(Project project, std::map<std::string, ApplicationHost::SourceFile> sources) {
  std::unique_ptr<tk::Interp> interp;
  try {
    interp = std::make_unique<tk::Interp>(tk::InterpOptions{.with_tk = true, .withdraw_root = true});
  } catch (const std::exception& e) {
    std::cerr << e.what() << std::endl;
    return 1;
  }
  // A window destroyed by another client (xdotool windowclose, a window
  // manager's kill) leaves Tk requests on a window that no longer exists;
  // Xlib's default handler would end the process on the BadWindow error.
  if (Tk_Window main = Tk_MainWindow(interp->raw()))
    Tk_CreateErrorHandler(Tk_Display(main), BadWindow, -1, -1, [](ClientData, XErrorEvent*) { return 0; }, nullptr);
  int status = 0;
  {
    ApplicationHost host(*interp, std::move(project));
    host.sources = std::move(sources);
    interp->set_error_handler([&host](const std::string& message) { host.log(message); });
    try {
      auto session = ApplicationSession::create(host);
      host.session = session;
      auto preview = session->start();
      if (host.session && preview && !preview->closed) host.preview = preview;
    } catch (const std::exception& e) {
      std::cerr << e.what() << std::endl;
      status = 1;
    }
    if (status == 0) interp->main_loop();
    if (auto preview = host.preview) preview->close();
    if (auto session = host.session) session->stop();
    host.preview.reset();
    host.session.reset();
    interp->try_call({"destroy", "."});
    interp->set_error_handler(nullptr);
  }
  return status;
}

int launch_payload(const nlohmann::json& data, const std::string& argv0) {
  Project project;
  try {
    std::error_code ec;
    std::filesystem::path exe = std::filesystem::weakly_canonical(std::filesystem::absolute(argv0), ec);
    if (ec) exe = std::filesystem::absolute(argv0);
    project = project_from_data(data, exe.parent_path());
  } catch (const std::exception& e) {
    std::cerr << e.what() << std::endl;
    return 1;
  }
  return run_project(std::move(project));
}

int run_project_file(const std::filesystem::path& path) {
  namespace fs = std::filesystem;
  Project project;
  std::map<std::string, ApplicationHost::SourceFile> sources;
  try {
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) throw std::runtime_error("File not found: " + path.string());
    const fs::path absolute = fs::absolute(path);
    const fs::path folder = absolute.parent_path();
    const std::string ext = ascii_lower(path.extension().string());
    if (ext == ".json") {
      std::ifstream in(absolute, std::ios::binary);
      std::ostringstream text;
      text << in.rdbuf();
      project = project_from_data_text(text.str(), folder);
    } else {
      project = load_project(absolute);
      sources = project_source_files(project);
      if (!project.path) {
        // A form file opened alone runs with its own folder as base folder.
        project.path = folder / (project.name + ".vbp");
        if (ext == ".frm" && !project.forms.empty())
          sources[lower(project.forms[0].name) + ".frm"] = {absolute.filename().string(),
                                                            form_code_lines(load_text(absolute, project.code_page), absolute)};
      }
    }
  } catch (const std::exception& e) {
    std::cerr << e.what() << std::endl;
    return 1;
  }
  return run_project(std::move(project), std::move(sources));
}

}  // namespace corvane
