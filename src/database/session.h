#pragma once
// DatabaseSession: one connection to an SQLite file or a MySQL/MariaDB
// server together with the result of the last statement.
//
// Used by the interpreter's DB functions, by each ADO connection object and
// by each database explorer window; sessions share nothing. A session is
// used by the thread that created it.
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "database/error.h"
#include "database/result.h"
#include "database/value.h"

namespace corvane {

class DatabaseBackend;

class DatabaseSession {
 public:
  // How long a statement waits for a locked SQLite file before it fails
  // with "database is locked".
  static constexpr std::chrono::milliseconds DEFAULT_BUSY_TIMEOUT{5000};

  // base_dir anchors relative SQLite file names; the current working folder
  // when none is given. Either way it is made absolute.
  explicit DatabaseSession(std::optional<std::filesystem::path> base_dir = std::nullopt);
  ~DatabaseSession();
  DatabaseSession(const DatabaseSession&) = delete;
  DatabaseSession& operator=(const DatabaseSession&) = delete;
  DatabaseSession(DatabaseSession&&) noexcept;
  DatabaseSession& operator=(DatabaseSession&&) noexcept;

  // Closes any open connection, then connects. backend: "sqlite"/"sqlite3"
  // (target is the file, ":memory:" for a private in-memory database, "~"
  // expanded, relative to base_dir) or "mysql"/"mariadb" (target is the
  // database name). The port is converted to an integer. Returns 1.
  int64_t open(std::string_view backend, std::string_view target, std::string_view username = "",
               std::string_view password = "", std::string_view host = "127.0.0.1",
               const DbValue& port = DbValue(int64_t{3306}));

  // Runs one statement with bound parameters ("?") and commits; on failure
  // the transaction is rolled back. Returns the number of result rows, or
  // the number of changed rows for a statement without columns.
  int64_t execute(std::string_view sql, std::span<const DbValue> args = {});
  int64_t execute(std::string_view sql, std::initializer_list<DbValue> args) {
    return execute(sql, std::span<const DbValue>(args.begin(), args.size()));
  }
  // As execute, without commit (and without rollback on failure).
  int64_t query(std::string_view sql, std::span<const DbValue> args = {});
  int64_t query(std::string_view sql, std::initializer_list<DbValue> args) {
    return query(sql, std::span<const DbValue>(args.begin(), args.size()));
  }
  // Runs as query does; the first value of the first row (null stays null),
  // or an empty text when there is none.
  DbValue scalar(std::string_view sql, std::span<const DbValue> args = {});
  DbValue scalar(std::string_view sql, std::initializer_list<DbValue> args) {
    return scalar(sql, std::span<const DbValue>(args.begin(), args.size()));
  }

  // A value of the last result. row: a number (negative counts from the
  // end). column: a text is a column name (first case-insensitive match),
  // anything else a column number. Null reads as an empty text. The
  // reference stays valid until the next statement, open or close.
  const DbValue& field(const DbValue& row, const DbValue& column) const;
  // The name of a column of the last result (negative counts from the end).
  const std::string& column(const DbValue& index) const;

  // Closes the connection (uncommitted changes are discarded) and clears
  // the last result. Harmless on a closed session. Returns 1.
  int64_t close();

  static std::string mysql_placeholders(std::string_view sql);

  bool is_open() const { return backend_ != nullptr; }
  // "sqlite", "mysql", or empty when closed.
  const std::string& engine() const { return engine_; }
  const std::filesystem::path& base_dir() const { return base_dir_; }
  const ResultSet& result() const { return result_; }
  const std::vector<std::string>& columns() const { return result_.columns; }
  size_t row_count() const { return result_.row_count; }
  size_t column_count() const { return result_.columns.size(); }
  int64_t last_id() const { return last_id_; }

  // Applies to SQLite connections opened afterwards.
  void set_busy_timeout(std::chrono::milliseconds timeout) { busy_timeout_ = timeout; }
  std::chrono::milliseconds busy_timeout() const { return busy_timeout_; }

 private:
  int64_t run(std::string_view sql, std::span<const DbValue> args, bool commit);

  std::filesystem::path base_dir_;
  std::unique_ptr<DatabaseBackend> backend_;
  std::string engine_;
  ResultSet result_;
  int64_t last_id_ = 0;
  std::chrono::milliseconds busy_timeout_ = DEFAULT_BUSY_TIMEOUT;
};

}  // namespace corvane
