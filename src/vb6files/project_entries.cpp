#include "vb6files/project_entries.h"

#include "model/names.h"
#include "vb6files/strings.h"

namespace corvane {

std::vector<ProjectEntry> project_entries(std::string_view text) {
  std::vector<ProjectEntry> entries;
  int number = 0;
  for (std::string_view line : split_lines(text)) {
    ++number;
    if (strip(line).starts_with('[')) break;
    const size_t equal = line.find('=');
    if (equal == std::string_view::npos) continue;
    entries.push_back({ascii_lower(strip(line.substr(0, equal))), strip(line.substr(equal + 1)), number});
  }
  return entries;
}

std::string_view component_file(std::string_view value) {
  const size_t semicolon = value.find(';');
  return strip(semicolon == std::string_view::npos ? value : value.substr(semicolon + 1));
}

}  // namespace corvane
