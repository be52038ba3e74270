#pragma once
// Whole projects: the project file (.vbp) with its component files, or a
// single form file opened as a project.
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "model/project.h"
#include "vb6files/code_files.h"
#include "vb6files/errors.h"
#include "vb6files/form_files.h"
#include "vb6files/text_io.h"
#include "vb6files/values.h"

namespace corvane {

// Loads a .vbp with its forms, modules and classes, or one .frm as a project
// without path. Throws InvalidValueError ("Open a VB6 .vbp or .frm file.",
// "Project contains no VB6 forms."), FileNotFoundError for a missing
// component, and passes file-system errors through.
Project load_project(const std::filesystem::path& path);

// The form files that a project file names and that exist, found as
// load_project finds them.
std::vector<std::filesystem::path> project_form_files(const std::filesystem::path& vbp,
                                                 std::string_view code_page = WINDOWS_1252);

// The same for the members of a key ("form", "module", "class").
std::vector<std::filesystem::path> project_member_files(const std::filesystem::path& vbp, std::string_view key,
                                                        std::string_view code_page = WINDOWS_1252);

// The text of the project file, with LF line ends.
std::string project_file_text(const Project& project);

// Writes every form, module and class next to the project file, then the
// project file itself; sets and returns the project's path. Without a path
// the project's own path is used. A path without the extension ".vbp" gets
// it.
std::filesystem::path save_project(Project& project, const std::optional<std::filesystem::path>& path = std::nullopt);

}  // namespace corvane
