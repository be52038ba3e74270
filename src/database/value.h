#pragma once
// The values a database session stores and binds: null, integer, floating
// point number, text (UTF-8 bytes) and binary data. Cells of a result keep
// the type the database gave them; parameters are bound with their own type.
#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace corvane {

// Binary data (a BLOB); kept apart from text so it is bound and read back
// as bytes, never as characters.
struct Blob {
  std::string bytes;

  Blob() = default;
  explicit Blob(std::string data) : bytes(std::move(data)) {}
  friend bool operator==(const Blob&, const Blob&) = default;
  friend auto operator<=>(const Blob&, const Blob&) = default;
};

// std::monostate is the database's NULL.
using DbValue = std::variant<std::monostate, int64_t, double, std::string, Blob>;

inline bool is_null(const DbValue& v) { return std::holds_alternative<std::monostate>(v); }

// The value converted to an integer the way the session converts row,
// column and port numbers: integers as they are, floating point numbers
// truncated toward zero (not NaN or infinity, not out of range), texts
// holding an optional sign and decimal digits (surrounding white space and
// single underscores between digits allowed). Anything else gives nothing.
std::optional<int64_t> db_value_to_integer(const DbValue& v);

// The value as it is quoted in messages: integers in decimal, numbers in
// their shortest round-trip form, texts in single quotes (double quotes when
// the text holds a single quote and no double quote), null as None and
// binary data as b'...'.
std::string db_value_repr(const DbValue& v);

}  // namespace corvane
