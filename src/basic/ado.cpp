#include "basic/ado.h"

#include <limits>
#include <map>
#include <optional>

#include "basic/builtins_support.h"
#include "basic/runtime.h"

namespace corvane {

namespace {

using builtin_support::from_db_value;
using builtin_support::to_db_value;

bool is_space(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v'; }

std::string strip(std::string_view text) {
  while (!text.empty() && is_space(text.front())) text.remove_prefix(1);
  while (!text.empty() && is_space(text.back())) text.remove_suffix(1);
  return std::string(text);
}

bool starts_with_word(std::string_view lowered, std::string_view word) { return lowered.substr(0, word.size()) == word; }

// The key=value pairs of a connection string; a later key replaces an
// earlier one.
std::map<std::string, std::string> connection_pairs(std::string_view text) {
  std::map<std::string, std::string> pairs;
  size_t from = 0;
  while (from <= text.size()) {
    size_t end = text.find(';', from);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view piece = text.substr(from, end - from);
    const size_t eq = piece.find('=');
    if (eq != std::string_view::npos) pairs[lower(strip(piece.substr(0, eq)))] = strip(piece.substr(eq + 1));
    from = end + 1;
  }
  return pairs;
}

// The first non-empty value among the keys, or `fallback`.
std::string pick(const std::map<std::string, std::string>& pairs, std::initializer_list<const char*> keys,
                 const std::string& fallback = "") {
  for (const char* key : keys) {
    auto it = pairs.find(key);
    if (it != pairs.end() && !it->second.empty()) return it->second;
  }
  return fallback;
}

std::vector<DbValue> bound_parameters(const std::vector<Value>& args, size_t first) {
  std::vector<DbValue> out;
  out.reserve(args.size() > first ? args.size() - first : 0);
  for (size_t i = first; i < args.size(); ++i) out.push_back(to_db_value(args[i], i - first + 1));
  return out;
}

}  // namespace

// ---------------------------------------------------------------- Recordset

ADORecordset::ADORecordset() : ControlObject("ADODB.Recordset") {}

ADORecordset::ADORecordset(ResultSet result) : ControlObject("ADODB.Recordset"), result_(std::move(result)) {}

Value ADORecordset::get(std::string_view property) {
  const std::string key = lower(property);
  if (key == "eof") return Value(pos >= result_.row_count);
  if (key == "bof") return Value(result_.row_count == 0);
  if (key == "recordcount") return Value(static_cast<int64_t>(result_.row_count));
  if (key == "state") return Value(int64_t{1});
  throw VBError("Unsupported Recordset property: " + key);
}

void ADORecordset::set(std::string_view property, Value) {
  throw VBError("Unsupported Recordset property: " + lower(property));
}

Value ADORecordset::method(std::string_view method_name, std::vector<Value>& args) {
  const std::string key = lower(method_name);
  if (key == "movenext") {
    ++pos;
    return Value();
  }
  if (key == "movefirst") {
    pos = 0;
    return Value();
  }
  if (key == "close") {
    result_.clear();
    pos = 0;
    return Value();
  }
  if (key == "fields") return field(args);
  throw VBError("Unsupported Recordset method: " + std::string(method_name));
}

Value ADORecordset::field(std::vector<Value>& args) {
  if (pos >= result_.row_count) throw VBError("Recordset is at EOF");
  const std::span<const DbValue> row = result_.row(pos);
  const Value column = args.empty() ? Value(int64_t{0}) : args[0];
  size_t index = 0;
  if (column.is_string()) {
    const std::string wanted = lower(column.as_string());
    size_t i = 0;
    while (i < result_.columns.size() && lower(result_.columns[i]) != wanted) ++i;
    if (i == result_.columns.size()) throw VBError("Unknown field " + column.as_string());
    index = i;
  } else {
    // A negative index counts from the end of the row (-1 is the last).
    int64_t i = number_as_count(column, std::numeric_limits<int64_t>::min());
    if (i < 0 && i != std::numeric_limits<int64_t>::min()) i += static_cast<int64_t>(row.size());
    if (i < 0 || i >= static_cast<int64_t>(row.size())) throw VBError("Field index out of bounds");
    index = static_cast<size_t>(i);
  }
  return Value(make_object<VBRecord>("Field", std::map<std::string, Value>{{"value", from_db_value(row[index])}}));
}

// ---------------------------------------------------------------- Connection

ADOConnection::ADOConnection(const std::string& base_dir)
    : ControlObject("ADODB.Connection"),
      db(base_dir.empty() ? std::nullopt : std::optional<std::filesystem::path>(base_dir)) {}

Value ADOConnection::get(std::string_view property) {
  const std::string key = lower(property);
  if (key == "state") return Value(int64_t{db.is_open() ? 1 : 0});
  if (key == "connectionstring") return Value(connection_string);
  throw VBError("Unsupported Connection property: " + std::string(property));
}

void ADOConnection::set(std::string_view property, Value value) {
  if (lower(property) == "connectionstring") {
    connection_string = vbstr(value);
    return;
  }
  throw VBError("Unsupported Connection property: " + std::string(property));
}

Value ADOConnection::method(std::string_view method_name, std::vector<Value>& args) {
  const std::string key = lower(method_name);
  try {
    if (key == "open") return open(args);
    if (key == "execute") return execute(args);
    if (key == "close") return Value(db.close());
  } catch (const DatabaseError& e) {
    throw VBError(e.message());
  }
  throw VBError("Unsupported Connection method: " + std::string(method_name));
}

Value ADOConnection::open(std::vector<Value>& args) {
  if (!args.empty()) connection_string = vbstr(args[0]);
  const std::string& text = connection_string;
  if (lower(text.substr(0, 7)) == "sqlite:") return Value(db.open("sqlite", std::string_view(text).substr(7)));
  const auto pairs = connection_pairs(text);
  auto provider_it = pairs.find("provider");
  const std::string provider = provider_it == pairs.end() ? "sqlite" : lower(provider_it->second);
  if (provider.find("mysql") != std::string::npos || provider.find("mariadb") != std::string::npos) {
    DbValue port = int64_t{3306};
    if (auto it = pairs.find("port"); it != pairs.end()) {
      const std::optional<int64_t> number = db_value_to_integer(DbValue(it->second));
      if (!number) throw VBError("invalid literal for int() with base 10: " + repr(Value(it->second)));
      port = *number;
    }
    return Value(db.open("mysql", pick(pairs, {"database"}), pick(pairs, {"user id", "uid"}),
                         pick(pairs, {"password", "pwd"}), pick(pairs, {"server", "host"}, "127.0.0.1"), port));
  }
  if (provider != "sqlite" && provider != "sqlite3")
    throw VBError("Unsupported ADO provider: " + provider + " (use SQLite or MySQL)");
  const std::string target = pick(pairs, {"data source", "database"});
  if (target.empty()) throw VBError("SQLite ADO connection requires Data Source");
  return Value(db.open("sqlite", target));
}

Value ADOConnection::execute(std::vector<Value>& args) {
  if (args.empty()) throw VBError("Execute requires SQL text");
  const std::string sql = vbstr(args[0]);
  const std::vector<DbValue> params = bound_parameters(args, 1);
  size_t start = 0;
  while (start < sql.size() && is_space(sql[start])) ++start;
  const std::string head = lower(std::string_view(sql).substr(start, 6));
  if (starts_with_word(head, "select") || starts_with_word(head, "with") || starts_with_word(head, "pragma"))
    db.query(sql, params);
  else
    db.execute(sql, params);
  return Value(make_object<ADORecordset>(db.result()));
}

ObjectRef make_ado_object(const VBRuntime& runtime, const std::string& classname) {
  const std::string key = lower(classname);
  if (key == "adodb.connection") return make_object<ADOConnection>(runtime.base_dir);
  if (key == "adodb.recordset") return make_object<ADORecordset>();
  return nullptr;
}

}  // namespace corvane
