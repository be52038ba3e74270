#pragma once
// The "key=value" entries of a project file (.vbp), up to its first
// "[section]", which holds settings of add-ins rather than of the project.
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

struct ProjectEntry {
  std::string key;         // lower case, trimmed
  std::string_view value;  // trimmed, as written
  int line = 0;            // 1-based line of the file
};

std::vector<ProjectEntry> project_entries(std::string_view text);

// The file name of a "Module=" or "Class=" value: the part after the first
// ";", or the whole value.
std::string_view component_file(std::string_view value);

}  // namespace corvane
