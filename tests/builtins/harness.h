#pragma once
// Runs BASIC for the built-in function tests: expressions in a fresh
// interpreter, and Sub Main of small programs with their Debug.Print lines
// collected, in a temporary base folder of their own.
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "basic/runtime.h"

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

struct Script {
  std::vector<std::string> lines;
  std::unique_ptr<VBRuntime> runtime;

  Script(const std::string& source, const std::string& base_dir,
         std::vector<std::pair<std::string, std::string>> classes = {}) {
    VBRuntime::Options o;
    o.sources.push_back(source);
    o.base_dir = base_dir;
    o.classes = std::move(classes);
    o.debug = [this](const std::string& text) { lines.push_back(text); };
    runtime = std::make_unique<VBRuntime>(std::move(o));
  }

  // Runs a procedure as a host event; "" when it succeeds, else the error's
  // message (whose log line also ends the output).
  std::string run(const std::string& name = "Main") {
    try {
      runtime->event(name);
      return {};
    } catch (const VBError& e) {
      return e.message();
    }
  }

  std::string output() const {
    std::string all;
    for (const auto& line : lines) all += line + "\n";
    return all;
  }
};

inline Value eval(const std::string& expression) {
  VBRuntime rt;
  return rt.expr(expression);
}

inline std::string show(const std::string& expression) { return vbstr(eval(expression)); }

// The message an expression fails with ("(no error)" when it succeeds).
inline std::string error_of(const std::string& expression) {
  try {
    eval(expression);
  } catch (const VBError& e) {
    return e.message();
  }
  return "(no error)";
}

}  // namespace corvane::testing
