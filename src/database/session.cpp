#include "database/session.h"

#include <system_error>

#include "database/backend.h"
#include "database/paths.h"
#include "database/placeholders.h"
#include "model/names.h"

namespace corvane {

namespace {

std::string trim_lower(std::string_view text) {
  auto is_space = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v'; };
  while (!text.empty() && is_space(text.front())) text.remove_prefix(1);
  while (!text.empty() && is_space(text.back())) text.remove_suffix(1);
  return ascii_lower(text);
}

std::filesystem::path absolute_folder(const std::optional<std::filesystem::path>& given) {
  std::error_code ec;
  std::filesystem::path folder = given ? *given : std::filesystem::current_path(ec);
  if (ec) folder = "/";
  std::filesystem::path absolute = std::filesystem::absolute(folder, ec);
  return ec ? folder : absolute.lexically_normal();
}

bool has_nul(std::string_view text) { return text.find('\0') != std::string_view::npos; }

// A row or column number of the last result; negative numbers count from
// the end.
std::optional<size_t> resolve_index(const DbValue& value, size_t size) {
  std::optional<int64_t> index = db_value_to_integer(value);
  if (!index) return std::nullopt;
  int64_t i = *index;
  if (i < 0) i += int64_t(size);
  if (i < 0 || i >= int64_t(size)) return std::nullopt;
  return size_t(i);
}

const DbValue& empty_text() {
  static const DbValue empty{std::string()};
  return empty;
}

}  // namespace

DatabaseSession::DatabaseSession(std::optional<std::filesystem::path> base_dir)
    : base_dir_(absolute_folder(base_dir)) {}

DatabaseSession::~DatabaseSession() = default;
DatabaseSession::DatabaseSession(DatabaseSession&&) noexcept = default;
DatabaseSession& DatabaseSession::operator=(DatabaseSession&&) noexcept = default;

int64_t DatabaseSession::open(std::string_view backend, std::string_view target, std::string_view username,
                              std::string_view password, std::string_view host, const DbValue& port) {
  close();
  const std::string kind = trim_lower(backend);
  const bool sqlite = kind == "sqlite" || kind == "sqlite3";
  const bool mysql = kind == "mysql" || kind == "mariadb";
  if (!sqlite && !mysql) throw DatabaseError("Database type must be sqlite or mysql");
  if (mysql && !mysql_backend_available())
    throw DatabaseError("MySQL requires the MariaDB client library (libmariadb)");

  // Every failure from here on names the backend; the reason is the
  // database's own message.
  try {
    if (sqlite) {
      if (has_nul(target)) throw DatabaseError("embedded null character");
      backend_ = open_sqlite_backend(sqlite_file_path(target, base_dir_), busy_timeout_);
      engine_ = "sqlite";
    } else {
      std::optional<int64_t> port_number = db_value_to_integer(port);
      if (!port_number) {
        if (std::holds_alternative<std::string>(port))
          throw DatabaseError("invalid literal for int() with base 10: " + db_value_repr(port));
        throw DatabaseError("port must be an integer, not " + db_value_repr(port));
      }
      if (*port_number < 0 || *port_number > 65535)
        throw DatabaseError("port out of range: " + std::to_string(*port_number));
      if (has_nul(target) || has_nul(username) || has_nul(password) || has_nul(host))
        throw DatabaseError("embedded null character");
      MysqlTarget where{std::string(host), unsigned(*port_number), std::string(username), std::string(password),
                        std::string(target)};
      backend_ = open_mysql_backend(where);
      engine_ = "mysql";
    }
  } catch (const DatabaseError& e) {
    backend_.reset();
    engine_.clear();
    throw DatabaseError("Could not connect to " + kind + ": " + e.message());
  }
  return 1;
}

int64_t DatabaseSession::run(std::string_view sql, std::span<const DbValue> args, bool commit) {
  if (!backend_) throw DatabaseError("No connection. Call DBOpen first.");
  StatementOutcome outcome;
  try {
    backend_->run(sql, args, outcome);
  } catch (const DatabaseError& e) {
    if (commit) backend_->rollback();
    throw DatabaseError("SQL execution failed: " + e.message());
  }
  if (outcome.has_columns) {
    std::swap(result_, outcome.result);
  } else {
    result_.clear();
  }
  last_id_ = outcome.last_id;
  if (commit) {
    try {
      backend_->commit();
    } catch (const DatabaseError& e) {
      backend_->rollback();
      throw DatabaseError("SQL execution failed: " + e.message());
    }
  }
  if (outcome.has_columns) return int64_t(result_.row_count);
  return outcome.changed > 0 ? outcome.changed : 0;
}

int64_t DatabaseSession::execute(std::string_view sql, std::span<const DbValue> args) {
  return run(sql, args, true);
}

int64_t DatabaseSession::query(std::string_view sql, std::span<const DbValue> args) {
  return run(sql, args, false);
}

DbValue DatabaseSession::scalar(std::string_view sql, std::span<const DbValue> args) {
  run(sql, args, false);
  if (result_.row_count == 0 || result_.columns.empty()) return std::string();
  return result_.cells.front();
}

const DbValue& DatabaseSession::field(const DbValue& row, const DbValue& column) const {
  auto invalid = [&]() {
    return DatabaseError("Invalid DBField row/column: " + db_value_repr(row) + ", " + db_value_repr(column));
  };
  std::optional<size_t> r = resolve_index(row, result_.row_count);
  if (!r) throw invalid();
  std::optional<size_t> c;
  if (auto name = std::get_if<std::string>(&column)) {
    for (size_t i = 0; i < result_.columns.size(); ++i) {
      if (names_equal(result_.columns[i], *name)) {
        c = i;
        break;
      }
    }
  } else {
    c = resolve_index(column, result_.columns.size());
  }
  if (!c) throw invalid();
  const DbValue& value = result_.cells[*r * result_.columns.size() + *c];
  return is_null(value) ? empty_text() : value;
}

const std::string& DatabaseSession::column(const DbValue& index) const {
  std::optional<size_t> c = resolve_index(index, result_.columns.size());
  if (!c) throw DatabaseError("Invalid DBColumn index");
  return result_.columns[*c];
}

int64_t DatabaseSession::close() {
  backend_.reset();
  engine_.clear();
  result_.clear();
  last_id_ = 0;
  return 1;
}

std::string DatabaseSession::mysql_placeholders(std::string_view sql) { return corvane::mysql_placeholders(sql); }

}  // namespace corvane
