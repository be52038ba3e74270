// Numeric built-ins: conversions to numbers, rounding, arithmetic helpers,
// Hex/Oct, IIf and the Is... tests.
#include <cmath>
#include <cstdio>
#include <limits>
#include <random>

#include "basic/builtins_support.h"

namespace corvane {

namespace {

using namespace builtin_support;

constexpr double TWO_63 = 9223372036854775808.0;

// An integral double as an Integer when it fits, else the Double.
Value whole(double d) {
  if (d >= -TWO_63 && d < TWO_63) return Value(static_cast<int64_t>(d));
  return Value(d);
}

double finite_number(const Value& v, const char* name) {
  const double d = number_as_double(v);
  if (!std::isfinite(d)) throw VBError(std::string(name) + " requires a finite number (got " + double_text(d) + ")");
  return d;
}

Value fn_val(VBRuntime&, std::vector<Value>& args) {
  require_args(args, 1, "Val");
  return number(args[0]);
}
Value fn_cdbl(VBRuntime&, std::vector<Value>& args) {
  require_args(args, 1, "CDbl");
  return number(args[0]);
}
Value fn_csng(VBRuntime&, std::vector<Value>& args) {
  require_args(args, 1, "CSng");
  return number(args[0]);
}

Value rounded(const Value& v, const char* name) {
  const Value n = number(v);
  if (n.is_double() && !std::isfinite(n.as_double()))
    throw VBError(std::string(name) + " requires a finite number (got " + double_text(n.as_double()) + ")");
  return round_half_even(n);
}
Value fn_cint(VBRuntime&, std::vector<Value>& args) {
  require_args(args, 1, "CInt");
  return rounded(args[0], "CInt");
}
Value fn_clng(VBRuntime&, std::vector<Value>& args) {
  require_args(args, 1, "CLng");
  return rounded(args[0], "CLng");
}

Value fn_abs(VBRuntime&, std::vector<Value>& args) {
  require_args(args, 1, "Abs");
  const Value n = number(args[0]);
  if (n.is_int()) {
    if (n.as_int() == std::numeric_limits<int64_t>::min()) return Value(TWO_63);
    return Value(n.as_int() < 0 ? -n.as_int() : n.as_int());
  }
  return Value(std::fabs(n.as_double()));
}

Value fn_int(VBRuntime&, std::vector<Value>& args) {
  require_args(args, 1, "Int");
  const Value n = number(args[0]);
  if (n.is_int()) return n;
  return whole(std::floor(finite_number(n, "Int")));
}

Value fn_fix(VBRuntime&, std::vector<Value>& args) {
  require_args(args, 1, "Fix");
  const Value n = number(args[0]);
  if (n.is_int()) return n;
  return whole(std::trunc(finite_number(n, "Fix")));
}

Value fn_sqr(VBRuntime&, std::vector<Value>& args) {
  require_args(args, 1, "Sqr");
  const double d = number_as_double(args[0]);
  if (d < 0) throw VBError("Sqr requires a number that is not negative (got " + vbstr(number(args[0])) + ")");
  return Value(std::sqrt(d));
}

Value fn_sgn(VBRuntime&, std::vector<Value>& args) {
  require_args(args, 1, "Sgn");
  const Value n = number(args[0]);
  if (n.is_int()) return Value(int64_t{n.as_int() > 0 ? 1 : n.as_int() < 0 ? -1 : 0});
  const double d = n.as_double();
  return Value(int64_t{d > 0 ? 1 : d < 0 ? -1 : 0});
}

Value fn_rnd(VBRuntime&, std::vector<Value>&) {
  static std::mt19937_64 generator{std::random_device{}()};
  static std::uniform_real_distribution<double> unit(0.0, 1.0);
  return Value(unit(generator));
}

// (count AND &HFFFFFFFF), also for whole numbers beyond the 64-bit range.
uint32_t low_32_bits(const Value& v, const char* name) {
  const Value n = number(v);
  if (n.is_int()) return static_cast<uint32_t>(static_cast<uint64_t>(n.as_int()));
  const double d = std::trunc(finite_number(n, name));
  double m = std::fmod(d, 4294967296.0);
  if (m < 0) m += 4294967296.0;
  return static_cast<uint32_t>(m);
}

Value fn_hex(VBRuntime&, std::vector<Value>& args) {
  require_args(args, 1, "Hex");
  char buf[16];
  std::snprintf(buf, sizeof buf, "%X", low_32_bits(args[0], "Hex"));
  return Value(std::string(buf));
}

Value fn_oct(VBRuntime&, std::vector<Value>& args) {
  require_args(args, 1, "Oct");
  char buf[16];
  std::snprintf(buf, sizeof buf, "%o", low_32_bits(args[0], "Oct"));
  return Value(std::string(buf));
}

Value fn_iif(VBRuntime&, std::vector<Value>& args) {
  require_args(args, 3, "IIf");
  return truth(args[0]) ? args[1] : args[2];
}

Value fn_isnull(VBRuntime&, std::vector<Value>& args) {
  require_args(args, 1, "IsNull");
  return Value(args[0].is_nothing());
}

Value fn_isempty(VBRuntime&, std::vector<Value>& args) {
  require_args(args, 1, "IsEmpty");
  return Value(args[0].is_nothing() || (args[0].is_string() && args[0].as_string().empty()));
}

Value fn_isnumeric(VBRuntime&, std::vector<Value>& args) {
  require_args(args, 1, "IsNumeric");
  const Value& v = args[0];
  if (v.is_nothing() || v.is_number() || v.is_bool()) return Value(true);
  if (v.is_string()) {
    if (v.as_string().empty()) return Value(true);
    Value out;
    return Value(parse_number_text(v.as_string(), out));
  }
  return Value(false);
}

}  // namespace

void add_number_builtins(BuiltinTable& table) {
  add_builtin(table, "Val", fn_val);
  add_builtin(table, "CDbl", fn_cdbl);
  add_builtin(table, "CSng", fn_csng);
  add_builtin(table, "CInt", fn_cint);
  add_builtin(table, "CLng", fn_clng);
  add_builtin(table, "Abs", fn_abs);
  add_builtin(table, "Int", fn_int);
  add_builtin(table, "Fix", fn_fix);
  add_builtin(table, "Sqr", fn_sqr);
  add_builtin(table, "Sgn", fn_sgn);
  add_builtin(table, "Rnd", fn_rnd);
  add_builtin(table, "Hex", fn_hex);
  add_builtin(table, "Oct", fn_oct);
  add_builtin(table, "IIf", fn_iif);
  add_builtin(table, "IsNull", fn_isnull);
  add_builtin(table, "IsEmpty", fn_isempty);
  add_builtin(table, "IsNumeric", fn_isnumeric);
}

}  // namespace corvane
