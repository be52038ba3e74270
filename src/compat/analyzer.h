#pragma once
// The compatibility analyzer: a conservative, non-exhaustive scan for VB6
// constructs that block a Linux build. Every finding blocks a build.
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
std::vector<Diagnostic> analyze_project(const Project& project);

// The report text of analyze_project's findings.
std::string report(const Project& project);
std::string report(const std::vector<Diagnostic>& diagnostics);

}  // namespace corvane
