#pragma once
// A scratch folder that lives as long as the test program: made on first
// use, removed with everything in it when the program ends.
#include <unistd.h>

#include <filesystem>
#include <string>
#include <system_error>

namespace corvane::testing {

class ProcessFolder {
 public:
  explicit ProcessFolder(const std::string& prefix)
      : path_(std::filesystem::temp_directory_path() / (prefix + std::to_string(::getpid()))) {
    std::filesystem::create_directories(path_);
  }
  ~ProcessFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  ProcessFolder(const ProcessFolder&) = delete;
  ProcessFolder& operator=(const ProcessFolder&) = delete;
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

}  // namespace corvane::testing
