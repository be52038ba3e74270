// The MySQL/MariaDB engine of a session, through MariaDB Connector/C.
//
// The connection uses TCP (also for the host name "localhost"), the
// character set utf8mb4, a connect time-out of 7 seconds and automatic
// commit off; LOAD DATA LOCAL is refused. Every statement is a server-side
// prepared statement: parameter values travel separately from the SQL text
// and keep their types, and results come back typed (integers, floating
// point numbers, text, binary data, null; DECIMAL as an integer when it has
// no fraction, otherwise as a floating point number; dates and times as
// their ISO texts).
#include <mysql.h>

#include <charconv>
#include <cstring>
#include <cstdlib>
#include <limits>
#include <mutex>
#include <vector>

#include "database/backend.h"
#include "database/error.h"
#include "database/placeholders.h"

namespace corvane {

namespace {

enum class CellKind { Integer, Float, Double, Decimal, Text, Binary, Null };

CellKind kind_of(const MYSQL_FIELD& field) {
  const bool binary = field.charsetnr == 63;
  switch (field.type) {
    case MYSQL_TYPE_TINY:
    case MYSQL_TYPE_SHORT:
    case MYSQL_TYPE_INT24:
    case MYSQL_TYPE_LONG:
    case MYSQL_TYPE_LONGLONG:
    case MYSQL_TYPE_YEAR:
      return CellKind::Integer;
    case MYSQL_TYPE_FLOAT:
      return CellKind::Float;
    case MYSQL_TYPE_DOUBLE:
      return CellKind::Double;
    case MYSQL_TYPE_DECIMAL:
    case MYSQL_TYPE_NEWDECIMAL:
      return CellKind::Decimal;
    case MYSQL_TYPE_NULL:
      return CellKind::Null;
    case MYSQL_TYPE_BIT:
    case MYSQL_TYPE_GEOMETRY:
      return CellKind::Binary;
    case MYSQL_TYPE_STRING:
    case MYSQL_TYPE_VAR_STRING:
    case MYSQL_TYPE_VARCHAR:
    case MYSQL_TYPE_TINY_BLOB:
    case MYSQL_TYPE_MEDIUM_BLOB:
    case MYSQL_TYPE_LONG_BLOB:
    case MYSQL_TYPE_BLOB:
      return binary ? CellKind::Binary : CellKind::Text;
    default:
      // Dates, times, JSON, ENUM, SET: their text form.
      return CellKind::Text;
  }
}

DbValue decimal_value(const std::string& text) {
  if (text.find_first_of(".eE") == std::string::npos) {
    int64_t i = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), i);
    if (ec == std::errc() && end == text.data() + text.size()) return i;
  }
  return std::strtod(text.c_str(), nullptr);
}

// A FLOAT column read as the double nearest to its shortest decimal form,
// so 1.1 reads as 1.1 and not as 1.100000023841858.
double widen_float(float f) {
  char buf[32];
  auto res = std::to_chars(buf, buf + sizeof buf - 1, f);
  *res.ptr = '\0';
  return std::strtod(buf, nullptr);
}

struct StatementHandle {
  MYSQL_STMT* stmt = nullptr;
  MYSQL_RES* meta = nullptr;
  ~StatementHandle() {
    if (meta) mysql_free_result(meta);
    if (stmt) mysql_stmt_close(stmt);
  }
};

class MysqlBackend final : public DatabaseBackend {
 public:
  explicit MysqlBackend(const MysqlTarget& target) {
    static std::once_flag library_ready;
    std::call_once(library_ready, [] { mysql_library_init(0, nullptr, nullptr); });
    conn_ = mysql_init(nullptr);
    if (!conn_) throw DatabaseError("out of memory");
    unsigned int timeout = 7;
    mysql_options(conn_, MYSQL_OPT_CONNECT_TIMEOUT, &timeout);
    unsigned int protocol = MYSQL_PROTOCOL_TCP;
    mysql_options(conn_, MYSQL_OPT_PROTOCOL, &protocol);
    unsigned int local_infile = 0;
    mysql_options(conn_, MYSQL_OPT_LOCAL_INFILE, &local_infile);
    mysql_options(conn_, MYSQL_SET_CHARSET_NAME, "utf8mb4");
    const char* database = target.database.empty() ? nullptr : target.database.c_str();
    if (!mysql_real_connect(conn_, target.host.c_str(), target.user.c_str(), target.password.c_str(), database,
                            target.port, nullptr, 0)) {
      std::string message = mysql_error(conn_);
      mysql_close(conn_);
      conn_ = nullptr;
      throw DatabaseError(message);
    }
    if (mysql_autocommit(conn_, 0)) {
      std::string message = mysql_error(conn_);
      mysql_close(conn_);
      conn_ = nullptr;
      throw DatabaseError(message);
    }
  }

  ~MysqlBackend() override {
    // The server discards an open transaction when the connection closes.
    if (conn_) mysql_close(conn_);
  }

  void run(std::string_view sql, std::span<const DbValue> args, StatementOutcome& out) override {
    out = StatementOutcome{};
    // The values that the server's parameter markers receive, in order.
    std::vector<const DbValue*> bound = match_arguments(sql, args);

    StatementHandle h;
    h.stmt = mysql_stmt_init(conn_);
    if (!h.stmt) throw DatabaseError(mysql_error(conn_));
    if (mysql_stmt_prepare(h.stmt, sql.data(), static_cast<unsigned long>(sql.size())))
      throw DatabaseError(mysql_stmt_error(h.stmt));
    if (mysql_stmt_param_count(h.stmt) != bound.size()) {
      throw DatabaseError("the server expects " + std::to_string(mysql_stmt_param_count(h.stmt)) +
                          " parameters, " + std::to_string(bound.size()) + " were given");
    }
    // The library reads the values and their lengths when the statement
    // runs, so both stay alive until then.
    std::vector<MYSQL_BIND> binds(bound.size());
    std::vector<unsigned long> lengths(bound.size(), 0);
    bind_parameters(h.stmt, bound, binds, lengths);
    if (mysql_stmt_execute(h.stmt)) throw DatabaseError(mysql_stmt_error(h.stmt));

    h.meta = mysql_stmt_result_metadata(h.stmt);
    if (h.meta) {
      out.has_columns = true;
      fetch_rows(h.stmt, h.meta, out.result);
    } else {
      my_ulonglong changed = mysql_stmt_affected_rows(h.stmt);
      out.changed = changed == static_cast<my_ulonglong>(-1) ? 0 : static_cast<int64_t>(changed);
    }
    out.last_id = static_cast<int64_t>(mysql_stmt_insert_id(h.stmt));
    // Further results (a procedure's) are read and dropped.
    while (mysql_stmt_more_results(h.stmt)) {
      if (mysql_stmt_next_result(h.stmt) != 0) break;
      mysql_stmt_free_result(h.stmt);
    }
  }

  void commit() override {
    if (mysql_commit(conn_)) throw DatabaseError(mysql_error(conn_));
  }

  void rollback() noexcept override { mysql_rollback(conn_); }

 private:
  // Pairs the server's parameter markers with the arguments. The arguments
  // belong to the placeholders that mysql_placeholders rewrites; one that
  // the server reads as a comment ("#", "/* */") receives its argument
  // nowhere, as text written into a comment would be.
  static std::vector<const DbValue*> match_arguments(std::string_view sql, std::span<const DbValue> args) {
    std::vector<size_t> placeholders = placeholder_positions(sql);
    if (args.size() < placeholders.size()) throw DatabaseError("not enough arguments for format string");
    if (args.size() > placeholders.size())
      throw DatabaseError("not all arguments converted during string formatting");
    std::vector<const DbValue*> bound;
    bound.reserve(placeholders.size());
    size_t next = 0;
    for (size_t marker : server_parameter_markers(sql)) {
      while (next < placeholders.size() && placeholders[next] < marker) ++next;
      if (next == placeholders.size() || placeholders[next] != marker) {
        throw DatabaseError("the \"?\" at offset " + std::to_string(marker) +
                            " is inside a \"--\" comment but the server reads it as a parameter");
      }
      bound.push_back(&args[next]);
      ++next;
    }
    return bound;
  }

  static void bind_parameters(MYSQL_STMT* stmt, const std::vector<const DbValue*>& values,
                              std::vector<MYSQL_BIND>& binds, std::vector<unsigned long>& lengths) {
    if (values.empty()) return;
    for (size_t i = 0; i < values.size(); ++i) {
      MYSQL_BIND& b = binds[i];
      std::memset(&b, 0, sizeof b);
      const DbValue& v = *values[i];
      // The library only reads through these pointers.
      if (auto n = std::get_if<int64_t>(&v)) {
        b.buffer_type = MYSQL_TYPE_LONGLONG;
        b.buffer = const_cast<int64_t*>(n);
      } else if (auto d = std::get_if<double>(&v)) {
        b.buffer_type = MYSQL_TYPE_DOUBLE;
        b.buffer = const_cast<double*>(d);
      } else if (auto s = std::get_if<std::string>(&v)) {
        b.buffer_type = MYSQL_TYPE_STRING;
        b.buffer = const_cast<char*>(s->data());
        lengths[i] = static_cast<unsigned long>(s->size());
        b.buffer_length = lengths[i];
        b.length = &lengths[i];
      } else if (auto blob = std::get_if<Blob>(&v)) {
        b.buffer_type = MYSQL_TYPE_BLOB;
        b.buffer = const_cast<char*>(blob->bytes.data());
        lengths[i] = static_cast<unsigned long>(blob->bytes.size());
        b.buffer_length = lengths[i];
        b.length = &lengths[i];
      } else {
        b.buffer_type = MYSQL_TYPE_NULL;
      }
    }
    if (mysql_stmt_bind_param(stmt, binds.data())) throw DatabaseError(mysql_stmt_error(stmt));
  }

  static void fetch_rows(MYSQL_STMT* stmt, MYSQL_RES* meta, ResultSet& result) {
    const unsigned int ncols = mysql_num_fields(meta);
    MYSQL_FIELD* fields = mysql_fetch_fields(meta);
    result.columns.reserve(ncols);
    std::vector<CellKind> kinds(ncols);
    for (unsigned int c = 0; c < ncols; ++c) {
      result.columns.emplace_back(fields[c].name, fields[c].name_length);
      kinds[c] = kind_of(fields[c]);
    }
    if (mysql_stmt_store_result(stmt)) throw DatabaseError(mysql_stmt_error(stmt));

    // Numbers land in fixed buffers; texts and bytes are fetched with an
    // empty buffer first and then read at their full length.
    std::vector<MYSQL_BIND> binds(ncols);
    std::vector<int64_t> integers(ncols);
    std::vector<double> doubles(ncols);
    std::vector<float> floats(ncols);
    std::vector<unsigned long> lengths(ncols);
    std::vector<my_bool> nulls(ncols);
    std::vector<my_bool> errors(ncols);
    for (unsigned int c = 0; c < ncols; ++c) {
      MYSQL_BIND& b = binds[c];
      std::memset(&b, 0, sizeof b);
      b.length = &lengths[c];
      b.is_null = &nulls[c];
      b.error = &errors[c];
      switch (kinds[c]) {
        case CellKind::Integer:
          b.buffer_type = MYSQL_TYPE_LONGLONG;
          b.buffer = &integers[c];
          b.is_unsigned = (fields[c].flags & UNSIGNED_FLAG) ? 1 : 0;
          break;
        case CellKind::Float:
          b.buffer_type = MYSQL_TYPE_FLOAT;
          b.buffer = &floats[c];
          break;
        case CellKind::Double:
          b.buffer_type = MYSQL_TYPE_DOUBLE;
          b.buffer = &doubles[c];
          break;
        case CellKind::Binary:
          b.buffer_type = MYSQL_TYPE_BLOB;
          break;
        default:
          b.buffer_type = MYSQL_TYPE_STRING;
          break;
      }
    }
    if (mysql_stmt_bind_result(stmt, binds.data())) throw DatabaseError(mysql_stmt_error(stmt));

    result.cells.reserve(size_t(mysql_stmt_num_rows(stmt)) * ncols);
    for (;;) {
      int rc = mysql_stmt_fetch(stmt);
      if (rc == MYSQL_NO_DATA) break;
      if (rc != 0 && rc != MYSQL_DATA_TRUNCATED) throw DatabaseError(mysql_stmt_error(stmt));
      for (unsigned int c = 0; c < ncols; ++c) {
        if (nulls[c] || kinds[c] == CellKind::Null) {
          result.cells.emplace_back(std::monostate{});
          continue;
        }
        switch (kinds[c]) {
          case CellKind::Integer:
            if (binds[c].is_unsigned && static_cast<uint64_t>(integers[c]) >
                                            static_cast<uint64_t>(std::numeric_limits<int64_t>::max()))
              result.cells.emplace_back(static_cast<double>(static_cast<uint64_t>(integers[c])));
            else
              result.cells.emplace_back(integers[c]);
            break;
          case CellKind::Float:
            result.cells.emplace_back(widen_float(floats[c]));
            break;
          case CellKind::Double:
            result.cells.emplace_back(doubles[c]);
            break;
          default: {
            std::string bytes = read_column(stmt, binds[c], c, lengths[c]);
            if (kinds[c] == CellKind::Binary)
              result.cells.emplace_back(Blob(std::move(bytes)));
            else if (kinds[c] == CellKind::Decimal)
              result.cells.emplace_back(decimal_value(bytes));
            else
              result.cells.emplace_back(std::move(bytes));
            break;
          }
        }
      }
      ++result.row_count;
    }
  }

  static std::string read_column(MYSQL_STMT* stmt, const MYSQL_BIND& shape, unsigned int column,
                                 unsigned long length) {
    std::string bytes(length, '\0');
    if (length == 0) return bytes;
    MYSQL_BIND b;
    std::memset(&b, 0, sizeof b);
    unsigned long got = 0;
    my_bool is_null = 0;
    my_bool error = 0;
    b.buffer_type = shape.buffer_type;
    b.buffer = bytes.data();
    b.buffer_length = length;
    b.length = &got;
    b.is_null = &is_null;
    b.error = &error;
    if (mysql_stmt_fetch_column(stmt, &b, column, 0)) throw DatabaseError(mysql_stmt_error(stmt));
    if (got < length) bytes.resize(got);
    return bytes;
  }

  MYSQL* conn_ = nullptr;
};

}  // namespace

bool mysql_backend_available() { return true; }

std::unique_ptr<DatabaseBackend> open_mysql_backend(const MysqlTarget& target) {
  return std::make_unique<MysqlBackend>(target);
}

}  // namespace corvane
