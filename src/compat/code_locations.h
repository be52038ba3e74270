#pragma once
// Where the code of a project's components stands in their files, so that
// findings name the file and its line: the file on disk when it still holds
// the code the model holds, else the file as saving would write it.
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "model/project.h"

namespace corvane {

struct CodeLocation {
  std::string file;             // file name, without folder
  std::vector<int> file_lines;  // the file line of each line of the code
};

struct ComponentLocations {
  std::vector<CodeLocation> forms, modules, classes;  // in project order
};

// `form_file`: a form file the project was opened from, besides the members
// of its project file.
ComponentLocations locate_code(const Project& project, const std::optional<std::filesystem::path>& form_file);

}  // namespace corvane
