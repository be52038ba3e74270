#pragma once
// Running the host's tools (the C compiler, pkg-config, strip, tar...): the
// search path, shell word splitting and child processes whose output is
// collected. The builder runs its tools through these too.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

// The program as the search path finds it (a name with a slash is taken as
// a path); nothing when it is not there, not executable or a directory.
std::optional<std::filesystem::path> which(std::string_view program);

// Shell word rules: blanks separate words; single quotes keep everything,
// double quotes keep everything but backslash escapes of " \ $ `; a
// backslash outside quotes keeps the next character. Nothing when a quote
// is left open.
std::optional<std::vector<std::string>> shell_words(std::string_view text);

struct ProcessResult {
  bool started = false;  // false: the program could not be started
  int status = -1;       // exit status, or 128 + signal
  std::string out;
  std::string err;
};

// Runs argv[0] (found on the search path) and waits for it. Its input is
// empty; its output and errors go to unlinked temporary files, so no pipe
// can fill up and block it.
ProcessResult run_process(const std::vector<std::string>& argv);

}  // namespace corvane
