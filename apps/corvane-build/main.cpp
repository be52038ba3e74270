// corvane-build PROJECT: builds a project into a Linux executable.
#include <exception>
#include <iostream>
#include <optional>
#include <string>

#include "builder/builder.h"
#include "common/cli.h"
#include "vb6files/project_files.h"

int main(int argc, char** argv) {
    CLI::App app("Build a Linux executable from a Corvane .vbp file", "corvane-build");
    std::string project_path;
    std::string output = "dist";
    std::string mode = "native";
    std::optional<std::string> name;
    app.add_option("project", project_path, "Path to a VB6-style .vbp project")->required();
    app.add_option("-o,--output", output, "Output directory");
    app.add_option("--mode", mode)->check(CLI::IsMember(corvane::BUILD_MODES));
    app.add_option("--name", name);
    if (auto status = corvane::parse_command_line(app, argc, argv)) return *status;

    try {
        const corvane::Project project = corvane::load_project(project_path);
        const auto exe = corvane::build_project(project, output, mode, name);
        std::cout << "Built: " << exe.string() << "\n";
        return 0;
    } catch (const std::exception& e) {
        std::cerr << e.what() << "\n";
        return 1;
    }
}
