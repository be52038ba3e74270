#include "database/paths.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

namespace corvane {

namespace {

std::string home_of_current_user() {
  if (const char* home = std::getenv("HOME"); home && *home) return home;
  std::vector<char> buf(16384);
  passwd pw{};
  passwd* found = nullptr;
  if (getpwuid_r(getuid(), &pw, buf.data(), buf.size(), &found) == 0 && found && found->pw_dir)
    return found->pw_dir;
  return {};
}

std::string home_of(const std::string& user) {
  std::vector<char> buf(16384);
  passwd pw{};
  passwd* found = nullptr;
  if (getpwnam_r(user.c_str(), &pw, buf.data(), buf.size(), &found) == 0 && found && found->pw_dir)
    return found->pw_dir;
  return {};
}

}  // namespace

std::string expand_user(std::string_view path) {
  if (path.empty() || path.front() != '~') return std::string(path);
  size_t slash = path.find('/');
  std::string_view user = path.substr(1, slash == std::string_view::npos ? std::string_view::npos : slash - 1);
  std::string home = user.empty() ? home_of_current_user() : home_of(std::string(user));
  if (home.empty()) return std::string(path);
  if (slash == std::string_view::npos) return home;
  // Avoid a double slash when the home folder is "/".
  while (home.size() > 1 && home.back() == '/') home.pop_back();
  if (home == "/") return std::string(path.substr(slash));
  return home + std::string(path.substr(slash));
}

std::string sqlite_file_path(std::string_view target, const std::filesystem::path& base_dir) {
  if (target == ":memory:") return std::string(target);
  std::filesystem::path path(expand_user(target));
  if (path.is_relative()) path = base_dir / path;
  return path.string();
}

}  // namespace corvane
