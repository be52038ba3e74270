#include "vb6files/member_paths.h"

#include <vector>

#include "model/names.h"
#include "vb6files/codec.h"

namespace corvane {

namespace fs = std::filesystem;

namespace {

std::vector<std::string_view> path_segments(std::string_view value) {
  std::vector<std::string_view> segments;
  size_t start = 0;
  for (size_t i = 0; i <= value.size(); ++i) {
    if (i < value.size() && value[i] != '\\' && value[i] != '/') continue;
    if (i > start) segments.push_back(value.substr(start, i - start));
    start = i + 1;
  }
  return segments;
}

bool is_file(const fs::path& path) {
  std::error_code ec;
  return fs::is_regular_file(path, ec);
}

bool is_present(const fs::path& path) {
  std::error_code ec;
  return fs::exists(path, ec);
}

// The entry of `folder` whose name equals `name` but for letter case, when
// there is exactly one.
std::optional<fs::path> single_case_match(const fs::path& folder, std::string_view name, std::string_view code_page) {
  std::error_code ec;
  fs::directory_iterator it(folder, ec);
  if (ec) return std::nullopt;
  std::optional<fs::path> found;
  for (const fs::directory_entry& entry : it) {
    const std::string on_disk = entry.path().filename().string();
    if (!names_equal(decode_file_name(on_disk, code_page), name)) continue;
    if (found) return std::nullopt;  // ambiguous: several names differ only in case
    found = entry.path();
  }
  return found;
}

}  // namespace

fs::path member_path_as_written(const fs::path& folder, std::string_view value) {
  return fs::weakly_canonical(folder / fs::path(std::string(value)));
}

std::optional<fs::path> find_member_file(const fs::path& folder, std::string_view value, std::string_view code_page) {
  // A NUL cannot be part of a file name; the system would cut the name there.
  if (value.empty() || value.find('\0') != std::string_view::npos) return std::nullopt;
  std::string slashed(value);
  for (char& c : slashed)
    if (c == '\\') c = '/';
  std::error_code ec;
  const fs::path direct = fs::weakly_canonical(folder / slashed, ec);
  if (!ec && is_file(direct)) return direct;

  // Walk the path a folder at a time, resolving links as they come so that
  // ".." leaves the folder a link points at, as the system does.
  fs::path current = slashed.front() == '/' ? fs::path("/") : folder;
  for (std::string_view segment : path_segments(slashed)) {
    if (segment == ".") continue;
    if (segment == "..") {
      current = current.parent_path();
      continue;
    }
    fs::path next = current / std::string(segment);
    if (!is_present(next)) {
      auto match = single_case_match(current, segment, code_page);
      if (!match) return std::nullopt;
      next = *match;
    }
    current = fs::canonical(next, ec);
    if (ec) return std::nullopt;
  }
  if (!is_file(current)) return std::nullopt;
  return current;
}

}  // namespace corvane
