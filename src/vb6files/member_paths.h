#pragma once
// Finding the files that a project file names, the way Windows finds them:
// backslashes separate folders, and letter case does not matter as long as
// only one file fits.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace corvane {

// The existing regular file that a member path of a project file names,
// relative to `folder`, absolute with links resolved; nothing when none
// fits. Folder and file names on disk that are not UTF-8 are compared after
// decoding them in `code_page`.
std::optional<std::filesystem::path> find_member_file(const std::filesystem::path& folder, std::string_view value,
                                                      std::string_view code_page = "windows-1252");

// The path as written, joined to the folder and made absolute: what a
// "not found" message names.
std::filesystem::path member_path_as_written(const std::filesystem::path& folder, std::string_view value);

}  // namespace corvane
