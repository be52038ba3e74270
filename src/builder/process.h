#pragma once
// Running the build tools: the search path, shell word splitting and child
// processes whose output is collected.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvane::builder {

// The program as the search path finds it (a name with a slash is taken as
// a path); nothing when it is not there or not executable.
std::optional<std::filesystem::path> which(std::string_view program);

// Shell word rules: blanks separate words, quotes and backslashes keep text.
// Throws BuildError on an unclosed quote.
std::vector<std::string> shell_words(std::string_view text);

struct ProcessResult {
    bool started = false;  // false: the program could not be started
    int status = -1;       // exit status, or 128 + signal
    std::string out;
    std::string err;
};

// Runs argv[0] (found on the search path) and waits for it; standard output
// and error go to temporary files, so no pipe can fill up and block it.
ProcessResult run_process(const std::vector<std::string>& argv);

// Runs a build tool that must succeed: a missing program fails with
// "Required build command missing: {program}", a non-zero exit with
// "Build failed: " and the end of its error output (or of its output).
ProcessResult command(const std::vector<std::string>& argv);

}  // namespace corvane::builder
