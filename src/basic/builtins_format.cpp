// Format with its four named styles. Two-decimal rounding works on the
// exact binary value of the number and breaks exact ties to even (2.675 is
// stored as 2.67499999... and gives "2.67"; 0.125 gives "0.12").
#include <cmath>
#include <cstdio>

#include "basic/builtins_support.h"

namespace corvane {

namespace {

using namespace builtin_support;

// Digits with two decimals, optionally with "," between thousands.
std::string two_decimals(const Value& n, bool separators) {
  std::string text;
  if (n.is_int()) {
    text = std::to_string(n.as_int()) + ".00";
  } else {
    const double d = n.as_double();
    if (std::isnan(d)) return "nan";
    if (std::isinf(d)) return d > 0 ? "inf" : "-inf";
    // glibc prints the exact decimal expansion of the binary value and
    // rounds it in the current rounding mode (to nearest, ties to even).
    const int size = std::snprintf(nullptr, 0, "%.2f", d);
    text.resize(static_cast<size_t>(size) + 1);
    std::snprintf(text.data(), text.size(), "%.2f", d);
    text.resize(static_cast<size_t>(size));
  }
  if (!separators) return text;
  const size_t sign = text[0] == '-' ? 1 : 0;
  const size_t point = text.find('.');
  const std::string digits = text.substr(sign, point - sign);
  std::string grouped;
  for (size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) grouped += ',';
    grouped += digits[i];
  }
  return text.substr(0, sign) + grouped + text.substr(point);
}

Value fn_format(VBRuntime&, std::vector<Value>& args) {
  require_args(args, 1, "Format", true);
  const std::string style = args.size() > 1 ? lower(vbstr(args[1])) : std::string();
  if (style == "currency") return Value("$" + two_decimals(number(args[0]), true));
  if (style == "percent") {
    const Value n = number(args[0]);
    Value scaled;
    int64_t product;
    if (n.is_int() && !__builtin_mul_overflow(n.as_int(), int64_t{100}, &product)) scaled = Value(product);
    else scaled = Value((n.is_int() ? static_cast<double>(n.as_int()) : n.as_double()) * 100.0);
    return Value(two_decimals(scaled, false) + "%");
  }
  if (style == "fixed") return Value(two_decimals(number(args[0]), false));
  if (style == "standard") return Value(two_decimals(number(args[0]), true));
  return Value(vbstr(args[0]));
}

}  // namespace

void add_format_builtins(BuiltinTable& table) { add_builtin(table, "Format", fn_format); }

}  // namespace corvane
