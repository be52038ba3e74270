// The executable-name rule and the compatibility gate.
#include "builder/builder.h"
#include "compat/analyzer.h"

namespace corvane {

const std::vector<std::string> BUILD_MODES = {"native", "elf", "bundle"};

namespace {

bool name_character(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' || c == '-';
}

}  // namespace

std::string executable_name(std::string_view requested) {
    std::string name;
    bool in_run = false;
    for (char c : requested) {
        if (name_character(c)) {
            name += c;
            in_run = false;
        } else if (!in_run) {
            name += '_';
            in_run = true;
        }
    }
    const size_t first = name.find_first_not_of('_');
    if (first == std::string::npos) return "VBApplication";
    return name.substr(first, name.find_last_not_of('_') - first + 1);
}

void check_compatibility(const Project& project) {
    const std::vector<Diagnostic> found = analyze_project(project);
    if (found.empty()) return;
    const Diagnostic& first = found.front();
    throw BuildError("Unsupported VB6 dependencies: " + first.location + ":" + std::to_string(first.line) +
                     " \u2014 " + first.feature + " (+" + std::to_string(found.size() - 1) +
                     " more). Run corvane-compat on the project.");
}

}  // namespace corvane
