#pragma once
// A fresh folder of its own (for one test, or kept in a static for the
// whole test program), removed with everything in it afterwards.
#include <stdlib.h>

#include <filesystem>
#include <string>
#include <system_error>

namespace corvane::testing {

class TempFolder {
 public:
  explicit TempFolder(const std::string& prefix = "corvane-test-") {
    std::string pattern = (std::filesystem::temp_directory_path() / (prefix + "XXXXXX")).string();
    path_ = mkdtemp(pattern.data()) ? pattern : std::string();
  }
  ~TempFolder() {
    std::error_code ec;
    if (!path_.empty()) std::filesystem::remove_all(path_, ec);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

}  // namespace corvane::testing
