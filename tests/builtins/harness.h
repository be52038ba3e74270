#pragma once
// The built-in function tests run programs in a temporary base folder of
// their own; the rest comes from the interpreter tests' Program.
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <string>
#include <vector>

#include "basic/program.h"

namespace corvane::testing {

// A temporary folder removed when the object goes.
struct TempFolder {
  std::filesystem::path path;
  TempFolder() {
    static std::atomic<int> counter{0};
    path = std::filesystem::temp_directory_path() /
           ("corvane-builtins-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    std::filesystem::create_directories(path);
  }
  ~TempFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path, ec);
  }
};

// A program run in its own base folder, optionally with class sources.
inline Program script(const std::string& source, const std::string& base_dir,
                      std::vector<std::pair<std::string, std::string>> classes = {}) {
  return Program(source, {}, base_dir, std::move(classes));
}

// The message an expression fails with ("(no error)" when it succeeds).
inline std::string error_of(const std::string& expression) {
  const std::string message = eval_error(expression);
  return message.empty() ? "(no error)" : message;
}

}  // namespace corvane::testing
