#pragma once
#include <filesystem>
#include <string>
#include <string_view>

namespace corvane {

// A leading "~" or "~user" replaced by that user's home folder (unchanged
// when the user is unknown).
std::string expand_user(std::string_view path);

// The file an SQLite target names: ":memory:" as it is, otherwise with "~"
// expanded and a relative name taken relative to base_dir.
std::string sqlite_file_path(std::string_view target, const std::filesystem::path& base_dir);

}  // namespace corvane
