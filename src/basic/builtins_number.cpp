// Numeric built-ins: conversions to numbers, rounding, arithmetic helpers,
// Hex/Oct, IIf and the Is... tests.
#include <cmath>
#include <cstdio>
#include <limits>
#include <algorithm>
#include <cstring>
#include <ctime>

#include "basic/builtins_support.h"
#include "vb_finance.h"

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

// Val: the longest numeric prefix of the text (white space anywhere in it
// ignored, "&H" and "&O" prefixes read as hexadecimal and octal), 0 when
// there is none.
Value val_of_text(const std::string& text) {
  std::string t;
  for (char c : text)
    if (c != ' ' && c != '\t' && c != '\r' && c != '\n') t += c;
  if (t.size() >= 2 && t[0] == '&' && (t[1] == 'H' || t[1] == 'h' || t[1] == 'O' || t[1] == 'o')) {
    const int base = (t[1] == 'H' || t[1] == 'h') ? 16 : 8;
    uint64_t v = 0;
    size_t i = 2;
    for (; i < t.size(); ++i) {
      const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(t[i])));
      const int d = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : 99;
      if (d >= base) break;
      v = v * static_cast<uint64_t>(base) + static_cast<uint64_t>(d);
      if (v > 0xFFFFFFFFull) break;
    }
    // 16-bit and 32-bit values are signed, as VB6 reads them
    if (v <= 0xFFFF && i - 2 <= (base == 16 ? 4u : 6u)) return Value(static_cast<int64_t>(static_cast<int16_t>(v)));
    return Value(static_cast<int64_t>(static_cast<int32_t>(static_cast<uint32_t>(v))));
  }
  size_t i = 0;
  std::string clean;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) clean += t[i++];
  bool digits = false;
  while (i < t.size() && std::isdigit(static_cast<unsigned char>(t[i]))) {
    clean += t[i++];
    digits = true;
  }
  if (i < t.size() && t[i] == '.') {
    clean += t[i++];
    while (i < t.size() && std::isdigit(static_cast<unsigned char>(t[i]))) {
      clean += t[i++];
      digits = true;
    }
  }
  if (!digits) return Value(int64_t{0});
  if (i < t.size() && (t[i] == 'e' || t[i] == 'E' || t[i] == 'd' || t[i] == 'D')) {
    size_t j = i + 1;
    std::string exponent = "e";
    if (j < t.size() && (t[j] == '+' || t[j] == '-')) exponent += t[j++];
    const size_t first = j;
    while (j < t.size() && std::isdigit(static_cast<unsigned char>(t[j]))) exponent += t[j++];
    if (j > first) clean += exponent;
  }
  const double d = std::strtod(clean.c_str(), nullptr);
  if (std::isinf(d)) throw VBError(6, "Overflow");
  if (d == std::floor(d) && std::fabs(d) < 9.2e18) return Value(static_cast<int64_t>(d));
  return Value(d);
}

Value fn_val(VBRuntime&, const Value& arg) {
  if (arg.is_string()) return val_of_text(arg.as_string());
  if (arg.is_nothing()) return Value(int64_t{0});
  return val_of_text(vbstr(arg));
}
Value fn_cdbl(VBRuntime&, const Value& arg) {
  return number(radix_text(arg));
}
Value fn_csng(VBRuntime&, const Value& arg) {
  return number(radix_text(arg));
}

Value rounded(const Value& v, const char* name) {
  const Value n = number(v);
  if (n.is_double() && !std::isfinite(n.as_double()))
    throw VBError(std::string(name) + " requires a finite number (got " + double_text(n.as_double()) + ")");
  return round_half_even(n);
}
Value fn_cint(VBRuntime&, const Value& arg) {
  return rounded(radix_text(arg), "CInt");
}
Value fn_clng(VBRuntime&, const Value& arg) {
  return rounded(radix_text(arg), "CLng");
}

Value fn_abs(VBRuntime&, const Value& arg) {
  const Value n = number(arg);
  if (n.is_int()) {
    if (n.as_int() == std::numeric_limits<int64_t>::min()) return Value(TWO_63);
    return Value(n.as_int() < 0 ? -n.as_int() : n.as_int());
  }
  return Value(std::fabs(n.as_double()));
}

Value fn_int(VBRuntime&, const Value& arg) {
  const Value n = number(arg);
  if (n.is_int()) return n;
  return whole(std::floor(finite_number(n, "Int")));
}

Value fn_fix(VBRuntime&, const Value& arg) {
  const Value n = number(arg);
  if (n.is_int()) return n;
  return whole(std::trunc(finite_number(n, "Fix")));
}

Value fn_sqr(VBRuntime&, const Value& arg) {
  const double d = number_as_double(arg);
  if (d < 0) throw VBError("Sqr requires a number that is not negative (got " + vbstr(number(arg)) + ")");
  return Value(std::sqrt(d));
}

Value fn_sgn(VBRuntime&, const Value& arg) {
  const Value n = number(arg);
  if (n.is_int()) return Value(int64_t{n.as_int() > 0 ? 1 : n.as_int() < 0 ? -1 : 0});
  const double d = n.as_double();
  return Value(int64_t{d > 0 ? 1 : d < 0 ? -1 : 0});
}

// VB6's generator: a 24-bit linear congruential sequence, so a program
// seeded with Randomize n sees the numbers VB6 shows it.
struct RndState {
  uint32_t seed = 0x50000;
  double last = 0;
};

RndState& rnd_state() {
  static RndState state;
  return state;
}

double rnd_next() {
  RndState& r = rnd_state();
  r.seed = (r.seed * 1140671485u + 12820163u) & 0xFFFFFFu;
  r.last = r.seed / 16777216.0;
  return r.last;
}

Value fn_rnd(VBRuntime&, std::vector<Value>& args) {
  if (!args.empty() && !args[0].is_nothing()) {
    const double x = number_as_double(args[0]);
    if (x == 0) return Value(rnd_state().last);
    if (x < 0) {
      // a negative argument starts the sequence again from a seed made of it
      const float f = static_cast<float>(x);
      uint32_t bits;
      std::memcpy(&bits, &f, sizeof bits);
      rnd_state().seed = (bits + (bits >> 24)) & 0xFFFFFFu;
    }
  }
  return Value(rnd_next());
}

Value fn_randomize(VBRuntime&, std::vector<Value>& args) {
  double n;
  if (!args.empty() && !args[0].is_nothing()) {
    n = number_as_double(args[0]);
  } else {
    const std::time_t now = std::time(nullptr);
    std::tm parts{};
    localtime_r(&now, &parts);
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    n = parts.tm_hour * 3600.0 + parts.tm_min * 60.0 + parts.tm_sec + ts.tv_nsec / 1e9;
  }
  uint64_t bits;
  std::memcpy(&bits, &n, sizeof bits);
  const uint32_t high = static_cast<uint32_t>(bits >> 32);
  RndState& r = rnd_state();
  r.seed = (r.seed & 0xFFu) | (((high ^ (high >> 16)) & 0xFFFFu) << 8);
  return Value();
}

Value fn_rgb(VBRuntime&, std::vector<Value>& args) {
  require_args(args, 3, "RGB");
  int64_t c[3];
  for (int k = 0; k < 3; ++k) c[k] = std::clamp<int64_t>(number_as_count(round_half_even(args[k]), 0), 0, 255);
  return Value(c[0] | (c[1] << 8) | (c[2] << 16));
}

Value fn_qbcolor(VBRuntime&, const Value& arg) {
  static const int64_t colours[16] = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080,
                                      0x008080, 0xC0C0C0, 0x808080, 0xFF0000, 0x00FF00, 0xFFFF00,
                                      0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
  const int64_t n = number_as_count(arg, -1);
  if (n < 0 || n > 15) throw VBError(5, "Invalid procedure call or argument: QBColor(" + vbstr(arg) + ")");
  return Value(colours[n]);
}

Value fn_round(VBRuntime&, std::vector<Value>& args) {
  require_args(args, 1, "Round", true);
  const Value n = number(args[0]);
  const int64_t places = args.size() > 1 ? number_as_count(args[1], 0) : 0;
  if (places < 0) throw VBError(5, "Invalid procedure call or argument");
  if (n.is_int() || places == 0) return round_half_even(n);
  // banker's rounding of the decimal value
  const double scale = std::pow(10.0, static_cast<double>(std::min<int64_t>(places, 22)));
  const double scaled = n.as_double() * scale;
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.15g", scaled);
  const double r = std::nearbyint(std::strtod(buf, nullptr)) / scale;
  return Value(r);
}

Value math_result(double d) {
  if (std::isnan(d) || std::isinf(d)) throw VBError(6, "Overflow");
  return Value(d);
}

Value fn_log(VBRuntime&, const Value& arg) {
  const double d = number_as_double(arg);
  if (d <= 0) throw VBError(5, "Invalid procedure call or argument: Log(" + vbstr(arg) + ")");
  return Value(std::log(d));
}
Value fn_exp(VBRuntime&, const Value& arg) { return math_result(std::exp(number_as_double(arg))); }
Value fn_sin(VBRuntime&, const Value& arg) { return Value(std::sin(number_as_double(arg))); }
Value fn_cos(VBRuntime&, const Value& arg) { return Value(std::cos(number_as_double(arg))); }
Value fn_tan(VBRuntime&, const Value& arg) { return Value(std::tan(number_as_double(arg))); }
Value fn_atn(VBRuntime&, const Value& arg) { return Value(std::atan(number_as_double(arg))); }

Value fn_cbool(VBRuntime&, const Value& arg) {
  if (arg.is_string()) {
    const std::string l = lower(arg.as_string());
    if (l == "true") return Value(true);
    if (l == "false") return Value(false);
    return Value(number_as_double(arg) != 0.0);
  }
  return Value(truth(arg));
}

Value fn_cbyte(VBRuntime&, const Value& arg) {
  return coerce(radix_text(arg), TypeCode::Byte);
}

Value fn_ccur(VBRuntime&, const Value& arg) {
  const double d = number_as_double(radix_text(arg));
  return Value(std::nearbyint(d * 10000.0) / 10000.0);
}

Value fn_cvar(VBRuntime&, const Value& arg) {
  return arg;
}

Value fn_typename(VBRuntime&, const Value& arg) {
  const Value& v = arg;
  switch (v.kind()) {
    case ValueKind::Nothing: return Value("Nothing");
    case ValueKind::Integer: {
      const int64_t i = v.as_int();
      return Value(i >= -32768 && i <= 32767 ? "Integer" : i >= INT32_MIN && i <= INT32_MAX ? "Long" : "Double");
    }
    case ValueKind::Double: return Value("Double");
    case ValueKind::Boolean: return Value("Boolean");
    case ValueKind::String: return Value("String");
    case ValueKind::Array: return Value("Variant()");
    case ValueKind::Record:
    case ValueKind::Object: {
      const ControlObject& o = *v.as_object();
      return Value(o.type_name.empty() ? o.name : o.type_name);
    }
  }
  return Value("Variant");
}

Value fn_vartype(VBRuntime&, const Value& arg) {
  const Value& v = arg;
  switch (v.kind()) {
    case ValueKind::Nothing: return Value(int64_t{9});
    case ValueKind::Integer: {
      const int64_t i = v.as_int();
      return Value(int64_t{i >= -32768 && i <= 32767 ? 2 : i >= INT32_MIN && i <= INT32_MAX ? 3 : 5});
    }
    case ValueKind::Double: return Value(int64_t{5});
    case ValueKind::Boolean: return Value(int64_t{11});
    case ValueKind::String: return Value(int64_t{8});
    case ValueKind::Array: return Value(int64_t{8192 + 12});
    case ValueKind::Record: return Value(int64_t{36});
    case ValueKind::Object: return Value(int64_t{9});
  }
  return Value(int64_t{0});
}

Value fn_isarray(VBRuntime&, const Value& arg) {
  return Value(arg.is_array());
}

Value fn_isobject(VBRuntime&, const Value& arg) {
  return Value(arg.is_object() || arg.is_nothing());
}

Value fn_ismissing(VBRuntime&, const Value& arg) {
  return Value(arg.is_nothing());
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

Value fn_hex(VBRuntime&, const Value& arg) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%X", low_32_bits(arg, "Hex"));
  return Value(std::string(buf));
}

Value fn_oct(VBRuntime&, const Value& arg) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%o", low_32_bits(arg, "Oct"));
  return Value(std::string(buf));
}

Value fn_iif(VBRuntime&, std::vector<Value>& args) {
  require_args(args, 3, "IIf");
  return truth(args[0]) ? args[1] : args[2];
}

// Choose(index, choice1, ...): the choice at the rounded index, Null
// (Nothing) when there is none.
Value fn_choose(VBRuntime&, std::vector<Value>& args) {
  require_args(args, 2, "Choose", true);
  const Value index = round_half_even(number(args[0]));
  if (!index.is_int() || index.as_int() < 1 || index.as_int() >= static_cast<int64_t>(args.size())) return Value();
  return args[static_cast<size_t>(index.as_int())];
}

// Switch(condition1, value1, ...): the value after the first true
// condition, Null (Nothing) when none is true.
Value fn_switch(VBRuntime&, std::vector<Value>& args) {
  require_args(args, 2, "Switch", true);
  if (args.size() % 2 != 0) throw VBError(5, "Invalid procedure call or argument: Switch needs condition and value pairs");
  for (size_t i = 0; i < args.size(); i += 2)
    if (truth(args[i])) return args[i + 1];
  return Value();
}

// Error(number): VB6's description of an error number; without one, the
// description of the last error.
Value fn_error(VBRuntime& rt, std::vector<Value>& args) {
  if (args.empty()) return Value(rt.last_error);
  const Value n = round_half_even(number(args[0]));
  if (!n.is_int() || n.as_int() < 0 || n.as_int() > 65535) throw VBError(5, "Invalid procedure call or argument: Error");
  if (n.as_int() == 0) return Value(std::string());
  const std::string_view text = vb_error_description(n.as_int());
  return Value(std::string(text.empty() ? "Application-defined error" : text));
}

Value fn_isnull(VBRuntime&, const Value& arg) {
  return Value(arg.is_nothing());
}

Value fn_isempty(VBRuntime&, const Value& arg) {
  return Value(arg.is_nothing() || (arg.is_string() && arg.as_string().empty()));
}

Value fn_isnumeric(VBRuntime&, const Value& arg) {
  const Value& v = arg;
  if (v.is_nothing() || v.is_number() || v.is_bool()) return Value(true);
  if (v.is_string()) {
    if (v.as_string().empty()) return Value(true);
    Value out;
    return Value(parse_number_text(v.as_string(), out));
  }
  return Value(false);
}

// The annuity functions: the required arguments, then optional ones that
// count as 0 when left out.
using Annuity = int (*)(const double* a, double* out);
Value annuity(const std::vector<Value>& args, const char* name, size_t required, Annuity fn) {
  require_args(args, required, name);
  double a[6] = {0, 0, 0, 0, 0, 0};
  for (size_t k = 0; k < args.size() && k < 6; ++k)
    if (!args[k].is_nothing()) a[k] = number_as_double(args[k]);
  double out = 0;
  if (fn(a, &out)) throw VBError(5, "Invalid procedure call or argument");
  return Value(out);
}

Value fn_pmt(VBRuntime&, std::vector<Value>& args) {
  return annuity(args, "Pmt", 3, [](const double* a, double* out) { return vb_fin_pmt(a[0], a[1], a[2], a[3], a[4], out); });
}
Value fn_fv(VBRuntime&, std::vector<Value>& args) {
  return annuity(args, "FV", 3, [](const double* a, double* out) { return vb_fin_fv(a[0], a[1], a[2], a[3], a[4], out); });
}
Value fn_pv(VBRuntime&, std::vector<Value>& args) {
  return annuity(args, "PV", 3, [](const double* a, double* out) { return vb_fin_pv(a[0], a[1], a[2], a[3], a[4], out); });
}
Value fn_nper(VBRuntime&, std::vector<Value>& args) {
  return annuity(args, "NPer", 3,
                 [](const double* a, double* out) { return vb_fin_nper(a[0], a[1], a[2], a[3], a[4], out); });
}
Value fn_ipmt(VBRuntime&, std::vector<Value>& args) {
  return annuity(args, "IPmt", 4,
                 [](const double* a, double* out) { return vb_fin_ipmt(a[0], a[1], a[2], a[3], a[4], a[5], out); });
}
Value fn_ppmt(VBRuntime&, std::vector<Value>& args) {
  return annuity(args, "PPmt", 4,
                 [](const double* a, double* out) { return vb_fin_ppmt(a[0], a[1], a[2], a[3], a[4], a[5], out); });
}

}  // namespace

void add_number_builtins(BuiltinTable& table) {
  add_builtin(table, "Pmt", fn_pmt);
  add_builtin(table, "FV", fn_fv);
  add_builtin(table, "PV", fn_pv);
  add_builtin(table, "NPer", fn_nper);
  add_builtin(table, "IPmt", fn_ipmt);
  add_builtin(table, "PPmt", fn_ppmt);
  add_one_arg_builtin<"Val", fn_val>(table);
  add_one_arg_builtin<"CDbl", fn_cdbl>(table);
  add_one_arg_builtin<"CSng", fn_csng>(table);
  add_one_arg_builtin<"CInt", fn_cint>(table);
  add_one_arg_builtin<"CLng", fn_clng>(table);
  add_one_arg_builtin<"Abs", fn_abs>(table);
  add_one_arg_builtin<"Int", fn_int>(table);
  add_one_arg_builtin<"Fix", fn_fix>(table);
  add_one_arg_builtin<"Sqr", fn_sqr>(table);
  add_one_arg_builtin<"Sgn", fn_sgn>(table);
  add_builtin(table, "Rnd", fn_rnd);
  add_one_arg_builtin<"Hex", fn_hex>(table);
  add_one_arg_builtin<"Oct", fn_oct>(table);
  add_builtin(table, "IIf", fn_iif);
  add_builtin(table, "Choose", fn_choose);
  add_builtin(table, "Switch", fn_switch);
  add_builtin(table, "Error", fn_error);
  add_one_arg_builtin<"IsNull", fn_isnull>(table);
  add_one_arg_builtin<"IsEmpty", fn_isempty>(table);
  add_one_arg_builtin<"IsNumeric", fn_isnumeric>(table);
  add_builtin(table, "Randomize", fn_randomize);
  add_builtin(table, "RGB", fn_rgb);
  add_one_arg_builtin<"QBColor", fn_qbcolor>(table);
  add_builtin(table, "Round", fn_round);
  add_one_arg_builtin<"Log", fn_log>(table);
  add_one_arg_builtin<"Exp", fn_exp>(table);
  add_one_arg_builtin<"Sin", fn_sin>(table);
  add_one_arg_builtin<"Cos", fn_cos>(table);
  add_one_arg_builtin<"Tan", fn_tan>(table);
  add_one_arg_builtin<"Atn", fn_atn>(table);
  add_one_arg_builtin<"CBool", fn_cbool>(table);
  add_one_arg_builtin<"CByte", fn_cbyte>(table);
  add_one_arg_builtin<"CCur", fn_ccur>(table);
  add_one_arg_builtin<"CVar", fn_cvar>(table);
  add_one_arg_builtin<"TypeName", fn_typename>(table);
  add_one_arg_builtin<"VarType", fn_vartype>(table);
  add_one_arg_builtin<"IsArray", fn_isarray>(table);
  add_one_arg_builtin<"IsObject", fn_isobject>(table);
  add_one_arg_builtin<"IsMissing", fn_ismissing>(table);
}

}  // namespace corvane
