// build_project: the compatibility gate, the output folder and the mode.
#include <functional>
#include <utility>

#include "builder/builder.h"
#include "builder/modes.h"

namespace corvane {

namespace fs = std::filesystem;

namespace {

using ModeBuilder = fs::path (*)(const Project&, const fs::path&, const std::string&);

const std::pair<std::string_view, ModeBuilder> MODE_TABLE[] = {
    {"native", &builder::build_native_mode},
    {"elf", &builder::build_elf_mode},
    {"bundle", &builder::build_bundle_mode},
};

ModeBuilder mode_builder(std::string_view mode) {
    for (const auto& [name, build] : MODE_TABLE)
        if (name == mode) return build;
    throw BuildError("Unknown mode. Select native, elf or bundle.");
}

}  // namespace

fs::path build_project(const Project& project, const fs::path& output_dir, std::string_view mode,
                       const std::optional<std::string>& requested_name) {
    check_compatibility(project);
    const ModeBuilder build = mode_builder(mode);
    const std::string name = executable_name(requested_name ? *requested_name : project.name);
    const fs::path out = fs::absolute(output_dir).lexically_normal();
    fs::create_directories(out);
    return build(project, out, name);
}

}  // namespace corvane
