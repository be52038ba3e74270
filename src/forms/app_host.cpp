// The standalone runner: ApplicationHost, launch_payload and corvane-run's
// project mode.
#include "forms/app_host.h"

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

int run_project(Project project) {
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
      // A form file opened alone runs with its own folder as base folder.
      if (!project.path) project.path = folder / (project.name + ".vbp");
    }
  } catch (const std::exception& e) {
    std::cerr << e.what() << std::endl;
    return 1;
  }
  return run_project(std::move(project));
}

}  // namespace corvane
