// The DB... functions over the interpreter's own database session, and the
// conversions between interpreter values and database values.
#include <memory>

#include "basic/builtins_support.h"
#include "database/session.h"

namespace corvane {

namespace builtin_support {

DbValue to_db_value(const Value& value, size_t position) {
  switch (value.kind()) {
    case ValueKind::Nothing: return DbValue();
    case ValueKind::Integer: return DbValue(value.as_int());
    case ValueKind::Double: return DbValue(value.as_double());
    case ValueKind::Boolean: return DbValue(int64_t{value.as_bool() ? 1 : 0});
    case ValueKind::String: return DbValue(value.as_string());
    case ValueKind::Array:
      throw VBError("SQL execution failed: Error binding parameter " + std::to_string(position) +
                    ": type 'Array' is not supported");
    default:
      throw VBError("SQL execution failed: Error binding parameter " + std::to_string(position) +
                    ": type 'Object' is not supported");
  }
}

DbValue to_db_argument(const Value& value) {
  switch (value.kind()) {
    case ValueKind::Nothing: return DbValue();
    case ValueKind::Integer: return DbValue(value.as_int());
    case ValueKind::Double: return DbValue(value.as_double());
    case ValueKind::Boolean: return DbValue(int64_t{value.as_bool() ? 1 : 0});
    default: return DbValue(vbstr(value));
  }
}

Value from_db_value(const DbValue& value) {
  switch (value.index()) {
    case 0: return Value();
    case 1: return Value(std::get<int64_t>(value));
    case 2: return Value(std::get<double>(value));
    case 3: return Value(std::get<std::string>(value));
    default: return Value(std::get<Blob>(value).bytes);
  }
}

}  // namespace builtin_support

namespace {

using namespace builtin_support;

DatabaseSession& session(VBRuntime& rt) {
  if (!rt.db) {
    std::optional<std::filesystem::path> base;
    if (!rt.base_dir.empty()) base = rt.base_dir;
    rt.db = std::make_shared<DatabaseSession>(base);
  }
  return *rt.db;
}

std::vector<DbValue> parameters(const std::vector<Value>& args) {
  std::vector<DbValue> out;
  out.reserve(args.size());
  for (size_t i = 1; i < args.size(); ++i) out.push_back(to_db_value(args[i], i));
  return out;
}

// Runs `body`, turning a database failure into the interpreter's error.
template <class F>
Value guarded(F&& body) {
  try {
    return body();
  } catch (const DatabaseError& e) {
    throw VBError(e.message());
  }
}

Value fn_dbopen(VBRuntime& rt, std::vector<Value>& args) {
  require_args(args, 2, "DBOpen", true);
  const std::string backend = vbstr(args[0]);
  const std::string target = vbstr(args[1]);
  const std::string user = args.size() > 2 ? vbstr(args[2]) : std::string();
  const std::string password = args.size() > 3 ? vbstr(args[3]) : std::string();
  const std::string host = args.size() > 4 ? vbstr(args[4]) : std::string("127.0.0.1");
  const DbValue port = args.size() > 5 ? to_db_argument(args[5]) : DbValue(int64_t{3306});
  return guarded([&] { return Value(session(rt).open(backend, target, user, password, host, port)); });
}

Value fn_dbclose(VBRuntime& rt, std::vector<Value>&) {
  return guarded([&] { return Value(session(rt).close()); });
}

Value fn_dbexecute(VBRuntime& rt, std::vector<Value>& args) {
  require_args(args, 1, "DBExecute", true);
  const std::string sql = vbstr(args[0]);
  const std::vector<DbValue> params = parameters(args);
  return guarded([&] { return Value(session(rt).execute(sql, params)); });
}

Value fn_dbquery(VBRuntime& rt, std::vector<Value>& args) {
  require_args(args, 1, "DBQuery", true);
  const std::string sql = vbstr(args[0]);
  const std::vector<DbValue> params = parameters(args);
  return guarded([&] { return Value(session(rt).query(sql, params)); });
}

Value fn_dbscalar(VBRuntime& rt, std::vector<Value>& args) {
  require_args(args, 1, "DBScalar", true);
  const std::string sql = vbstr(args[0]);
  const std::vector<DbValue> params = parameters(args);
  return guarded([&] { return from_db_value(session(rt).scalar(sql, params)); });
}

Value fn_dbfield(VBRuntime& rt, std::vector<Value>& args) {
  require_args(args, 2, "DBField");
  return guarded([&] { return from_db_value(session(rt).field(to_db_argument(args[0]), to_db_argument(args[1]))); });
}

Value fn_dbrows(VBRuntime& rt, std::vector<Value>&) { return Value(static_cast<int64_t>(session(rt).row_count())); }

Value fn_dbcolumns(VBRuntime& rt, std::vector<Value>&) {
  return Value(static_cast<int64_t>(session(rt).column_count()));
}

Value fn_dbcolumn(VBRuntime& rt, std::vector<Value>& args) {
  require_args(args, 1, "DBColumn");
  return guarded([&] { return Value(session(rt).column(to_db_argument(args[0]))); });
}

Value fn_dblastid(VBRuntime& rt, std::vector<Value>&) { return Value(session(rt).last_id()); }

}  // namespace

void add_database_builtins(BuiltinTable& table) {
  add_builtin(table, "DBOpen", fn_dbopen);
  add_builtin(table, "DBClose", fn_dbclose);
  add_builtin(table, "DBExecute", fn_dbexecute);
  add_builtin(table, "DBQuery", fn_dbquery);
  add_builtin(table, "DBScalar", fn_dbscalar);
  add_builtin(table, "DBField", fn_dbfield);
  add_builtin(table, "DBRows", fn_dbrows);
  add_builtin(table, "DBColumns", fn_dbcolumns);
  add_builtin(table, "DBColumn", fn_dbcolumn);
  add_builtin(table, "DBLastID", fn_dblastid);
}

}  // namespace corvane
