#pragma once
// The project data form: a whole project as one JSON object, carried into
// interpreter-based built programs.
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "model/project.h"

namespace corvane {

// Reading a project data form failed; the message names the key or record.
class ProjectDataError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The project as a JSON object, keys in record field order; `path` is not written.
nlohmann::ordered_json project_data(const Project& project);
// The same, serialised with every non-ASCII character escaped (pure ASCII).
std::string project_data_text(const Project& project);

// Reads a project back. With a base folder, `path` becomes
// base_dir / (name + ".vbp"); otherwise it stays none.
Project project_from_data(const nlohmann::json& data, const std::optional<std::filesystem::path>& base_dir = {});
Project project_from_data_text(std::string_view text, const std::optional<std::filesystem::path>& base_dir = {});

}  // namespace corvane
