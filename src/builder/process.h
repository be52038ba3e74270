#pragma once
// Running the build tools: the search path, shell word splitting and child
// processes whose output is collected.
#include <string>
#include <string_view>
#include <vector>

#include "native_compiler/process.h"

namespace corvane::builder {

using corvane::ProcessResult;
using corvane::run_process;
using corvane::which;

// Shell word rules (corvane::shell_words); throws BuildError on an unclosed
// quote.
std::vector<std::string> shell_words(std::string_view text);

// Runs a build tool that must succeed: a missing program fails with
// "Required build command missing: {program}", a non-zero exit with
// "Build failed: " and the end of its error output (or of its output).
ProcessResult command(const std::vector<std::string>& argv);

}  // namespace corvane::builder
