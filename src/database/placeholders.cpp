#include "database/placeholders.h"

namespace corvane {

namespace {

// One pass over the text; calls on_placeholder(offset) for every "?" that
// counts as a placeholder. Quoted literals of the three kinds honour a
// backslash escape and a doubled quote; "--" starts a comment up to the next
// line feed.
template <typename OnPlaceholder>
void scan_placeholders(std::string_view sql, OnPlaceholder&& on_placeholder) {
  const size_t n = sql.size();
  size_t i = 0;
  while (i < n) {
    char c = sql[i];
    if (c == '\'' || c == '"' || c == '`') {
      const char quote = c;
      ++i;
      while (i < n) {
        char d = sql[i];
        if (d == '\\') {
          i += 2;  // the escaped character cannot close the literal
        } else if (d == quote) {
          if (i + 1 < n && sql[i + 1] == quote) {
            i += 2;  // a doubled quote stays inside
          } else {
            ++i;
            break;
          }
        } else {
          ++i;
        }
      }
    } else if (c == '-' && i + 1 < n && sql[i + 1] == '-') {
      size_t end = sql.find('\n', i);
      i = end == std::string_view::npos ? n : end;
    } else {
      if (c == '?') on_placeholder(i);
      ++i;
    }
  }
}

bool is_server_space(char c) {
  // The server ends a "--" comment marker with any white space or control
  // character.
  return static_cast<unsigned char>(c) <= ' ';
}

}  // namespace

std::string mysql_placeholders(std::string_view sql) {
  std::string out;
  out.reserve(sql.size() + 8);
  size_t copied = 0;
  scan_placeholders(sql, [&](size_t at) {
    out.append(sql.substr(copied, at - copied));
    out += "%s";
    copied = at + 1;
  });
  out.append(sql.substr(copied));
  return out;
}

std::vector<size_t> placeholder_positions(std::string_view sql) {
  std::vector<size_t> positions;
  scan_placeholders(sql, [&](size_t at) { positions.push_back(at); });
  return positions;
}

std::vector<size_t> server_parameter_markers(std::string_view sql) {
  std::vector<size_t> markers;
  const size_t n = sql.size();
  bool in_executable_comment = false;
  size_t i = 0;
  while (i < n) {
    char c = sql[i];
    if (c == '\'' || c == '"' || c == '`') {
      const char quote = c;
      ++i;
      while (i < n) {
        char d = sql[i];
        if (d == '\\' && quote != '`') {
          i += 2;
        } else if (d == quote) {
          if (i + 1 < n && sql[i + 1] == quote) {
            i += 2;
          } else {
            ++i;
            break;
          }
        } else {
          ++i;
        }
      }
    } else if (c == '#' ||
               (c == '-' && i + 1 < n && sql[i + 1] == '-' && (i + 2 >= n || is_server_space(sql[i + 2])))) {
      size_t end = sql.find('\n', i);
      i = end == std::string_view::npos ? n : end;
    } else if (c == '/' && i + 1 < n && sql[i + 1] == '*') {
      if (i + 2 < n && sql[i + 2] == '!') {
        i += 3;
        while (i < n && sql[i] >= '0' && sql[i] <= '9') ++i;
        in_executable_comment = true;
      } else if (i + 3 < n && (sql[i + 2] == 'M' || sql[i + 2] == 'm') && sql[i + 3] == '!') {
        i += 4;
        while (i < n && sql[i] >= '0' && sql[i] <= '9') ++i;
        in_executable_comment = true;
      } else {
        size_t end = sql.find("*/", i + 2);
        i = end == std::string_view::npos ? n : end + 2;
      }
    } else if (in_executable_comment && c == '*' && i + 1 < n && sql[i + 1] == '/') {
      in_executable_comment = false;
      i += 2;
    } else {
      if (c == '?') markers.push_back(i);
      ++i;
    }
  }
  return markers;
}

}  // namespace corvane
