// The SQLite engine of a session, through the SQLite C API.
//
// Transactions: a transaction is begun implicitly before a data-changing
// statement (INSERT, UPDATE, DELETE, REPLACE) when none is open; other
// statements run in whatever state the connection is in. commit and
// rollback end the open transaction, if any.
//
// Prepared statements are kept in a small cache keyed by their SQL text, so
// a statement run again (the usual insert loop) is not compiled again.
#include <sqlite3.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "database/backend.h"
#include "database/error.h"

namespace corvane {

namespace {

bool is_sql_space(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v'; }

// Skips white space and comments ("--" to the end of the line, "/* */").
size_t skip_space_and_comments(std::string_view sql, size_t i) {
  while (i < sql.size()) {
    if (is_sql_space(sql[i])) {
      ++i;
    } else if (sql.compare(i, 2, "--") == 0) {
      size_t end = sql.find('\n', i);
      i = end == std::string_view::npos ? sql.size() : end + 1;
    } else if (sql.compare(i, 2, "/*") == 0) {
      size_t end = sql.find("*/", i + 2);
      i = end == std::string_view::npos ? sql.size() : end + 2;
    } else {
      break;
    }
  }
  return i;
}

bool keyword_at(std::string_view sql, size_t i, std::string_view word) {
  if (sql.size() - i < word.size()) return false;
  for (size_t k = 0; k < word.size(); ++k) {
    char c = sql[i + k];
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    if (c != word[k]) return false;
  }
  return true;
}

// INSERT, UPDATE, DELETE or REPLACE: the statements that open a transaction.
bool is_data_change(std::string_view sql) {
  size_t i = skip_space_and_comments(sql, 0);
  return keyword_at(sql, i, "insert") || keyword_at(sql, i, "update") || keyword_at(sql, i, "delete") ||
         keyword_at(sql, i, "replace");
}

class SqliteBackend final : public DatabaseBackend {
 public:
  SqliteBackend(const std::string& path, std::chrono::milliseconds busy_timeout) {
    int rc = sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX,
                             nullptr);
    if (rc != SQLITE_OK) {
      std::string message = db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(rc);
      sqlite3_close_v2(db_);
      db_ = nullptr;
      throw DatabaseError(message);
    }
    sqlite3_extended_result_codes(db_, 0);
    sqlite3_busy_timeout(db_, int(std::min<std::chrono::milliseconds::rep>(busy_timeout.count(), 1 << 30)));
  }

  ~SqliteBackend() override {
    for (auto& entry : cache_) sqlite3_finalize(entry.stmt);
    // Closing with a transaction open discards its changes.
    sqlite3_close_v2(db_);
  }

  void run(std::string_view sql, std::span<const DbValue> args, StatementOutcome& out) override {
    out = StatementOutcome{};
    if (sql.find('\0') != std::string_view::npos) throw DatabaseError("the query contains a null character");
    Prepared* prepared = prepare(sql);
    if (!prepared->stmt) {
      // Nothing but white space and comments.
      out.last_id = sqlite3_last_insert_rowid(db_);
      return;
    }
    sqlite3_stmt* stmt = prepared->stmt;
    // Whatever happens, the statement is reset so it holds no lock.
    struct ResetGuard {
      sqlite3_stmt* stmt;
      ~ResetGuard() {
        sqlite3_reset(stmt);
        sqlite3_clear_bindings(stmt);
      }
    } guard{stmt};

    const int expected = sqlite3_bind_parameter_count(stmt);
    if (expected != int(args.size())) {
      throw DatabaseError("Incorrect number of bindings supplied. The current statement uses " +
                          std::to_string(expected) + ", and there are " + std::to_string(args.size()) +
                          " supplied.");
    }
    for (size_t i = 0; i < args.size(); ++i) bind(stmt, int(i) + 1, args[i]);

    if (prepared->data_change && sqlite3_get_autocommit(db_)) exec_simple("BEGIN");

    int rc = sqlite3_step(stmt);
    const int ncols = sqlite3_column_count(stmt);
    if (ncols > 0) {
      out.has_columns = true;
      out.result.columns.reserve(size_t(ncols));
      for (int c = 0; c < ncols; ++c) {
        const char* name = sqlite3_column_name(stmt, c);
        out.result.columns.emplace_back(name ? name : "");
      }
    }
    while (rc == SQLITE_ROW) {
      for (int c = 0; c < ncols; ++c) out.result.cells.push_back(read_cell(stmt, c));
      ++out.result.row_count;
      rc = sqlite3_step(stmt);
    }
    if (rc != SQLITE_DONE) throw DatabaseError(sqlite3_errmsg(db_));
    if (!out.has_columns && prepared->counts_changes && !sqlite3_stmt_readonly(stmt))
      out.changed = sqlite3_changes64(db_);
    out.last_id = sqlite3_last_insert_rowid(db_);
  }

  void commit() override {
    if (!sqlite3_get_autocommit(db_)) exec_simple("COMMIT");
  }

  void rollback() noexcept override {
    if (!sqlite3_get_autocommit(db_)) sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
  }

 private:
  struct Prepared {
    std::string sql;
    sqlite3_stmt* stmt = nullptr;
    bool data_change = false;
    bool counts_changes = false;
  };
  static constexpr size_t CACHE_SIZE = 32;

  // The prepared statement for the text, from the cache when possible; the
  // most recently used entry is kept first.
  Prepared* prepare(std::string_view sql) {
    for (size_t i = 0; i < cache_.size(); ++i) {
      if (cache_[i].sql == sql) {
        if (i != 0) std::rotate(cache_.begin(), cache_.begin() + std::ptrdiff_t(i), cache_.begin() + std::ptrdiff_t(i) + 1);
        return &cache_.front();
      }
    }
    Prepared entry;
    entry.sql = std::string(sql);
    const char* tail = nullptr;
    int rc = sqlite3_prepare_v3(db_, entry.sql.data(), int(entry.sql.size()), SQLITE_PREPARE_PERSISTENT,
                                &entry.stmt, &tail);
    if (rc != SQLITE_OK) {
      std::string message = sqlite3_errmsg(db_);
      sqlite3_finalize(entry.stmt);
      throw DatabaseError(message);
    }
    size_t used = tail ? size_t(tail - entry.sql.data()) : entry.sql.size();
    if (skip_space_and_comments(entry.sql, used) < entry.sql.size()) {
      sqlite3_finalize(entry.stmt);
      throw DatabaseError("You can only execute one statement at a time.");
    }
    entry.data_change = is_data_change(entry.sql);
    {
      size_t i = skip_space_and_comments(entry.sql, 0);
      entry.counts_changes = entry.data_change || keyword_at(entry.sql, i, "with");
    }
    if (cache_.size() >= CACHE_SIZE) {
      sqlite3_finalize(cache_.back().stmt);
      cache_.pop_back();
    }
    cache_.insert(cache_.begin(), std::move(entry));
    return &cache_.front();
  }

  void bind(sqlite3_stmt* stmt, int index, const DbValue& value) {
    int rc = SQLITE_OK;
    if (auto i = std::get_if<int64_t>(&value)) {
      rc = sqlite3_bind_int64(stmt, index, *i);
    } else if (auto d = std::get_if<double>(&value)) {
      rc = sqlite3_bind_double(stmt, index, *d);
    } else if (auto s = std::get_if<std::string>(&value)) {
      // The arguments outlive the statement's use of them.
      rc = sqlite3_bind_text64(stmt, index, s->data(), s->size(), SQLITE_STATIC, SQLITE_UTF8);
    } else if (auto b = std::get_if<Blob>(&value)) {
      // An empty blob must stay a blob, not become null.
      rc = b->bytes.empty() ? sqlite3_bind_zeroblob(stmt, index, 0)
                            : sqlite3_bind_blob64(stmt, index, b->bytes.data(), b->bytes.size(), SQLITE_STATIC);
    } else {
      rc = sqlite3_bind_null(stmt, index);
    }
    if (rc != SQLITE_OK) throw DatabaseError(sqlite3_errmsg(db_));
  }

  static DbValue read_cell(sqlite3_stmt* stmt, int c) {
    switch (sqlite3_column_type(stmt, c)) {
      case SQLITE_INTEGER:
        return sqlite3_column_int64(stmt, c);
      case SQLITE_FLOAT:
        return sqlite3_column_double(stmt, c);
      case SQLITE_TEXT: {
        const unsigned char* text = sqlite3_column_text(stmt, c);
        int size = sqlite3_column_bytes(stmt, c);
        return std::string(reinterpret_cast<const char*>(text), size_t(size));
      }
      case SQLITE_BLOB: {
        const void* data = sqlite3_column_blob(stmt, c);
        int size = sqlite3_column_bytes(stmt, c);
        return Blob(std::string(static_cast<const char*>(data), size_t(size)));
      }
      default:
        return std::monostate{};
    }
  }

  void exec_simple(const char* sql) {
    if (sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) != SQLITE_OK) throw DatabaseError(sqlite3_errmsg(db_));
  }

  sqlite3* db_ = nullptr;
  std::vector<Prepared> cache_;
};

}  // namespace

std::unique_ptr<DatabaseBackend> open_sqlite_backend(const std::string& path, std::chrono::milliseconds busy_timeout) {
  return std::make_unique<SqliteBackend>(path, busy_timeout);
}

}  // namespace corvane
