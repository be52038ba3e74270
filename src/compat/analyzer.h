#pragma once
// The compatibility analyzer: a conservative, non-exhaustive scan for VB6
// constructs that block a Linux build. Every finding blocks a build.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "compat/diagnostic.h"
#include "model/project.h"

namespace corvane {

struct CodeRule {
  std::string_view pattern;  // matched case-insensitively anywhere in a line, unless anchored
  std::string_view feature;
  std::string_view advice;
};

extern const std::vector<CodeRule> PATTERNS;

// Findings in project order: code rules over forms, modules, classes, then
// the reference rule over the .vbp and the control rule over the .frm files
// on disk (only when the project has a path that is an existing file).
// `form_file`: the form file a project was opened from on its own (such a
// project has no path); it is scanned like the forms of a project file.
// Findings in code carry the file and line where the code stands on disk,
// or where saving would write it.
std::vector<Diagnostic> analyze_project(const Project& project,
                                        const std::optional<std::filesystem::path>& form_file = std::nullopt);

// The report text of analyze_project's findings.
std::string report(const Project& project);
std::string report(const std::vector<Diagnostic>& diagnostics);

}  // namespace corvane
