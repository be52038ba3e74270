// corvane: the development environment.
//   corvane [PROJECT]   opens the main window, and PROJECT (.vbp or .frm) in it
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>

#include "common/cli.h"
#include "ide/constants.h"
#include "ide/ide.h"

int main(int argc, char** argv) {
    CLI::App app("Corvane: a Visual Basic 6 style development environment", "corvane");
    std::string project;
    bool version = false;
    app.add_flag("--version", version, "print the version and exit");
    bool print_idle = false, quit_idle = false;
    app.add_option("project", project, "a VB6 project (.vbp) or form (.frm) to open");
    auto* print_opt = app.add_flag("--print-when-idle", print_idle,
                                   "print \"Corvane idle\" once the window has settled (for scripts)");
    app.add_flag("--quit-when-idle", quit_idle, "quit once the window has settled (for timing start-up)")
        ->excludes(print_opt);
    if (auto status = corvane::parse_command_line(app, argc, argv)) return *status;
    if (version) {
        std::cout << corvane::ide::PRODUCT << " " << corvane::ide::VERSION << "\n";
        return 0;
    }
    std::optional<std::filesystem::path> path;
    if (!project.empty()) path = project;
    using corvane::ide::IdleAction;
    return corvane::ide::main_window(path, quit_idle    ? IdleAction::quit
                                           : print_idle ? IdleAction::print
                                                        : IdleAction::none);
}
