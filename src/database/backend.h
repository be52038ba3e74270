#pragma once
// The interface between a session and the connection of one engine.
#include <chrono>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "database/result.h"
#include "database/value.h"

namespace corvane {

// What one statement produced.
struct StatementOutcome {
  bool has_columns = false;
  ResultSet result;     // columns and rows when has_columns
  int64_t changed = 0;  // rows changed, 0 when the engine reports none
  int64_t last_id = 0;  // row id reported after the statement
};

// One open connection. Every operation reports a failure as a DatabaseError
// carrying the engine's own message, without any prefix.
class DatabaseBackend {
 public:
  virtual ~DatabaseBackend() = default;
  // Runs one statement with its bound parameters; fills `out` (cleared first).
  virtual void run(std::string_view sql, std::span<const DbValue> args, StatementOutcome& out) = 0;
  virtual void commit() = 0;
  // Discards the open transaction; never fails.
  virtual void rollback() noexcept = 0;
};

std::unique_ptr<DatabaseBackend> open_sqlite_backend(const std::string& path,
                                                     std::chrono::milliseconds busy_timeout);

struct MysqlTarget {
  std::string host;
  unsigned port = 3306;
  std::string user;
  std::string password;
  std::string database;
};
std::unique_ptr<DatabaseBackend> open_mysql_backend(const MysqlTarget& target);

}  // namespace corvane

namespace corvane {
// False in a build without the MariaDB client library.
bool mysql_backend_available();
}  // namespace corvane
