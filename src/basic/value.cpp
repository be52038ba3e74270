#include "basic/value.h"

#include <unicode/locid.h>
#include <unicode/unistr.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

#include "basic/objects.h"
#include "basic/source_lines.h"

namespace corvane {

namespace {

constexpr double kTwo63 = 9223372036854775808.0;

bool fits_int64(double d) { return d >= -kTwo63 && d < kTwo63; }

Value normalise_double(double d) {
  if (std::isfinite(d) && d == std::floor(d) && fits_int64(d)) return Value(static_cast<int64_t>(d));
  return Value(d);
}

// number() without throwing: false when the value does not convert.
bool try_number(const Value& value, Value& out) {
  switch (value.tag()) {
    case 0: out = Value(int64_t{0}); return true;
    case 1: out = value; return true;
    case 2: out = normalise_double(value.as_double()); return true;
    case 3: out = Value(int64_t{value.as_bool() ? -1 : 0}); return true;
    case 4: {
      if (value.as_string().empty()) {
        out = Value(int64_t{0});
        return true;
      }
      Value parsed;
      if (!parse_number_text(value.as_string(), parsed)) return false;
      out = parsed.is_double() ? normalise_double(parsed.as_double()) : parsed;
      return true;
    }
    default: return false;
  }
}

double to_double(const Value& n) { return n.is_int() ? static_cast<double>(n.as_int()) : n.as_double(); }

}  // namespace

char32_t decode_utf8(std::string_view text, size_t& i) {
  const unsigned char c = static_cast<unsigned char>(text[i]);
  int len = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 1;
  if (i + len > text.size()) len = 1;
  char32_t cp = len == 1 ? c : len == 2 ? (c & 0x1f) : len == 3 ? (c & 0x0f) : (c & 0x07);
  for (int k = 1; k < len; ++k) cp = (cp << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3f);
  i += len;
  return cp;
}

namespace {

std::u32string to_u32(std::string_view text) {
  std::u32string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) out.push_back(decode_utf8(text, i));
  return out;
}

[[noreturn]] void overflow() { throw VBError("Overflow"); }

int compare_numbers(const Value& a, const Value& b, bool& unordered) {
  unordered = false;
  if (a.is_int() && b.is_int()) return a.as_int() < b.as_int() ? -1 : a.as_int() > b.as_int() ? 1 : 0;
  const long double x = a.is_int() ? static_cast<long double>(a.as_int()) : a.as_double();
  const long double y = b.is_int() ? static_cast<long double>(b.as_int()) : b.as_double();
  if (std::isnan(x) || std::isnan(y)) {
    unordered = true;
    return 0;
  }
  return x < y ? -1 : x > y ? 1 : 0;
}

Value arith_pow(const Value& a, const Value& b) {
  if (a.is_int() && b.is_int() && b.as_int() >= 0) {
    int64_t base = a.as_int(), exp = b.as_int(), result = 1;
    bool ok = true;
    while (exp > 0 && ok) {
      if (exp & 1) ok = !__builtin_mul_overflow(result, base, &result);
      exp >>= 1;
      if (exp > 0 && ok) ok = !__builtin_mul_overflow(base, base, &base);
    }
    if (ok) return Value(result);
    const double d = std::pow(to_double(a), to_double(b));
    if (std::isinf(d)) overflow();
    return Value(d);
  }
  const double x = to_double(a), y = to_double(b);
  if (x == 0.0 && y < 0) throw VBError("0.0 cannot be raised to a negative power");
  if (x < 0 && std::isfinite(y) && y != std::floor(y))
    throw VBError("negative number cannot be raised to a fractional power");
  const double d = std::pow(x, y);
  if (std::isinf(d) && std::isfinite(x) && std::isfinite(y)) overflow();
  return Value(d);
}

Value arithmetic(BinOp op, const Value& l, const Value& r) {
  const Value a = number(l), b = number(r);
  const bool ints = a.is_int() && b.is_int();
  switch (op) {
    case BinOp::Add: {
      int64_t out;
      if (ints && !__builtin_add_overflow(a.as_int(), b.as_int(), &out)) return Value(out);
      return Value(to_double(a) + to_double(b));
    }
    case BinOp::Sub: {
      int64_t out;
      if (ints && !__builtin_sub_overflow(a.as_int(), b.as_int(), &out)) return Value(out);
      return Value(to_double(a) - to_double(b));
    }
    case BinOp::Mul: {
      int64_t out;
      if (ints && !__builtin_mul_overflow(a.as_int(), b.as_int(), &out)) return Value(out);
      return Value(to_double(a) * to_double(b));
    }
    case BinOp::Div: {
      const double y = to_double(b);
      if (y == 0.0) throw VBError(ints ? "division by zero" : "float division by zero");
      return Value(to_double(a) / y);
    }
    case BinOp::IntDiv:
    case BinOp::Mod: {
      if (ints) {
        const int64_t x = a.as_int(), y = b.as_int();
        if (y == 0)
          throw VBError(op == BinOp::IntDiv ? "integer division or modulo by zero" : "integer modulo by zero");
        if (y == -1) {
          if (op == BinOp::Mod) return Value(int64_t{0});
          if (x == std::numeric_limits<int64_t>::min()) return Value(-static_cast<double>(x));
          return Value(-x);
        }
        int64_t q = x / y, m = x % y;
        if (m != 0 && ((m < 0) != (y < 0))) {
          q -= 1;
          m += y;
        }
        return op == BinOp::IntDiv ? Value(q) : Value(m);
      }
      const double vx = to_double(a), wx = to_double(b);
      if (wx == 0.0) throw VBError(op == BinOp::IntDiv ? "float floor division by zero" : "float modulo by zero");
      double mod = std::fmod(vx, wx);
      double div = (vx - mod) / wx;
      if (mod != 0.0) {
        if ((wx < 0) != (mod < 0)) {
          mod += wx;
          div -= 1.0;
        }
      } else {
        mod = std::copysign(0.0, wx);
      }
      if (op == BinOp::Mod) return Value(mod);
      double floordiv;
      if (div != 0.0) {
        floordiv = std::floor(div);
        if (div - floordiv > 0.5) floordiv += 1.0;
      } else {
        floordiv = std::copysign(0.0, vx / wx);
      }
      return Value(floordiv);
    }
    case BinOp::Pow: return arith_pow(a, b);
    default: return Value();
  }
}

}  // namespace

Value::Value(std::string s) : tag_(STRING) {
  s_ = s.empty() ? nullptr : new SharedText{std::move(s)};
}

void Value::release_shared() noexcept {
  switch (tag_) {
    case STRING:
      if (s_ && --s_->refs == 0) delete s_;
      break;
    case ARRAY: a_.~ArrayRef(); break;
    case OBJECT: o_.~ObjectRef(); break;
    default: break;
  }
}

void Value::copy_shared(const Value& other) noexcept {
  switch (tag_) {
    case STRING:
      s_ = other.s_;
      if (s_) ++s_->refs;
      break;
    case ARRAY: new (&a_) ArrayRef(other.a_); break;
    case OBJECT: new (&o_) ObjectRef(other.o_); break;
    default: i_ = other.i_; break;
  }
}

void Value::wrong_kind() { throw std::logic_error("a value read as a kind it does not hold"); }

const std::string& Value::empty_text() {
  static const std::string empty;
  return empty;
}

std::string& Value::mutable_text() {
  if (tag_ != STRING) wrong_kind();
  if (!s_) {
    s_ = new SharedText{};
  } else if (s_->refs > 1) {
    --s_->refs;
    s_ = new SharedText{s_->text};
  }
  s_->ascii = 0;  // the caller may change any byte
  return s_->text;
}

void Value::append(std::string_view more) {
  if (tag_ != STRING) wrong_kind();
  if (!s_) {
    s_ = new SharedText{std::string(more)};
    return;
  }
  if (s_->refs > 1) {
    --s_->refs;
    s_ = new SharedText{s_->text, 1, s_->ascii};
  }
  s_->text.append(more);
}

size_t Value::ascii_prefix(size_t wanted) const {
  if (tag_ != STRING || !s_) return 0;
  const std::string& t = s_->text;
  size_t known = s_->ascii;
  const size_t limit = std::min(wanted, t.size());
  while (known < limit && static_cast<unsigned char>(t[known]) < 0x80) ++known;
  s_->ascii = known;
  return known;
}

ValueKind Value::kind() const {
  switch (tag_) {
    case 0: return ValueKind::Nothing;
    case 1: return ValueKind::Integer;
    case 2: return ValueKind::Double;
    case 3: return ValueKind::Boolean;
    case 4: return ValueKind::String;
    case 5: return ValueKind::Array;
    default: return as_object() && as_object()->is_record() ? ValueKind::Record : ValueKind::Object;
  }
}

Value make_array(std::vector<Value> items) {
  auto array = std::make_shared<VBArray>();
  array->items = std::move(items);
  return Value(std::move(array));
}

bool truth(const Value& value) {
  switch (value.tag()) {
    case 0: return false;
    case 1: return value.as_int() != 0;
    case 2: return value.as_double() != 0.0;
    case 3: return value.as_bool();
    case 4: return !value.as_string().empty();
    case 5: return !value.as_array()->items.empty();
    default: return true;
  }
}

bool parse_number_text(std::string_view text, Value& out) {
  size_t begin = 0, end = text.size();
  // Surrounding white space of any kind.
  while (begin < end) {
    size_t i = begin;
    if (!is_space_char(decode_utf8(text, i))) break;
    begin = i;
  }
  while (end > begin) {
    size_t k = end - 1;
    while (k > begin && (static_cast<unsigned char>(text[k]) & 0xc0) == 0x80) --k;
    size_t i = k;
    if (!is_space_char(decode_utf8(text, i))) break;
    end = k;
  }
  std::string_view t = text.substr(begin, end - begin);
  if (t.empty()) return false;
  std::string clean;
  size_t i = 0;
  bool negative = false;
  if (t[0] == '+' || t[0] == '-') {
    negative = t[0] == '-';
    clean += t[0];
    ++i;
  }
  // The words are short: longer text is never lower-cased whole.
  if (const std::string_view rest = t.substr(i); rest.size() <= 8) {
    const std::string word = lower(rest);
    if (word == "inf" || word == "infinity") {
      out = Value(negative ? -std::numeric_limits<double>::infinity() : std::numeric_limits<double>::infinity());
      return true;
    }
    if (word == "nan") {
      out = Value(std::numeric_limits<double>::quiet_NaN());
      return true;
    }
  }
  // digits with single underscores between them
  auto digits = [&](bool& any) {
    any = false;
    while (i < t.size()) {
      if (t[i] >= '0' && t[i] <= '9') {
        clean += t[i++];
        any = true;
      } else if (t[i] == '_' && any && i + 1 < t.size() && t[i + 1] >= '0' && t[i + 1] <= '9') {
        ++i;
      } else {
        break;
      }
    }
  };
  bool int_digits = false, frac_digits = false;
  digits(int_digits);
  if (i < t.size() && t[i] == '.') {
    clean += t[i++];
    digits(frac_digits);
  }
  if (!int_digits && !frac_digits) return false;
  if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
    clean += t[i++];
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) clean += t[i++];
    bool exp_digits = false;
    digits(exp_digits);
    if (!exp_digits) return false;
  }
  if (i != t.size()) return false;
  out = Value(std::strtod(clean.c_str(), nullptr));
  return true;
}

Value number(const Value& value) {
  Value out;
  if (try_number(value, out)) return out;
  throw VBError("Type mismatch (expected number, got " + repr(value) + ")");
}

double number_as_double(const Value& value) { return to_double(number(value)); }

int64_t number_as_count(const Value& value, int64_t fallback) {
  const Value n = number(value);
  if (n.is_int()) return n.as_int();
  const double d = std::trunc(n.as_double());
  if (!std::isfinite(d) || !fits_int64(d)) return fallback;
  return static_cast<int64_t>(d);
}

std::string double_text(double d) {
  if (std::isnan(d)) return "nan";
  if (std::isinf(d)) return d > 0 ? "inf" : "-inf";
  char buf[64];
  auto res = std::to_chars(buf, buf + sizeof buf, d, std::chars_format::scientific);
  std::string_view s(buf, res.ptr - buf);
  std::string out;
  if (s[0] == '-') {
    out += '-';
    s.remove_prefix(1);
  }
  const size_t e = s.find('e');
  std::string digits;
  for (char c : s.substr(0, e))
    if (c != '.') digits += c;
  const int exp = std::atoi(std::string(s.substr(e + 1)).c_str());
  if (exp >= -4 && exp < 16) {
    if (exp >= 0) {
      std::string int_part = digits.substr(0, std::min<size_t>(digits.size(), exp + 1));
      while (int_part.size() < static_cast<size_t>(exp + 1)) int_part += '0';
      std::string frac = digits.size() > static_cast<size_t>(exp + 1) ? digits.substr(exp + 1) : "0";
      out += int_part + "." + frac;
    } else {
      out += "0." + std::string(-exp - 1, '0') + digits;
    }
  } else {
    out += digits.substr(0, 1);
    if (digits.size() > 1) out += "." + digits.substr(1);
    out += exp < 0 ? "e-" : "e+";
    const std::string ed = std::to_string(exp < 0 ? -exp : exp);
    if (ed.size() < 2) out += '0';
    out += ed;
  }
  return out;
}

namespace {
std::string join_items(const VBArray& array) {
  std::string out = "[";
  for (size_t i = 0; i < array.items.size(); ++i) {
    if (i) out += ", ";
    const Value& item = array.items[i];
    if (item.is_array() && item.as_array().get() == &array) out += "[...]";
    else out += repr(item);
  }
  return out + "]";
}
}  // namespace

std::string vbstr(const Value& value) {
  switch (value.tag()) {
    case 0: return {};
    case 1: return std::to_string(value.as_int());
    case 2: return double_text(value.as_double());
    case 3: return value.as_bool() ? "True" : "False";
    case 4: return value.as_string();
    case 5: return join_items(*value.as_array());
    default: return value.as_object() ? value.as_object()->describe() : std::string();
  }
}

std::string repr(const Value& value) {
  switch (value.tag()) {
    case 0: return "None";
    case 4: {
      const std::string& s = value.as_string();
      const bool dq = s.find('\'') != std::string::npos && s.find('"') == std::string::npos;
      const char quote = dq ? '"' : '\'';
      std::string out(1, quote);
      for (char c : s) {
        if (c == '\\') out += "\\\\";
        else if (c == '\n') out += "\\n";
        else if (c == '\r') out += "\\r";
        else if (c == '\t') out += "\\t";
        else if (c == quote) out += std::string("\\") + c;
        else out += c;
      }
      return out + quote;
    }
    case 6: return "<" + vbstr(value) + ">";
    default: return vbstr(value);
  }
}

// Binding levels, loosest first: Imp, Eqv, Or, Xor, And, the comparisons,
// &, + -, Mod * / \, ^. The operand of Not is read from the comparisons'
// level up, that of unary + and - from ^ (expr.cpp).
int precedence(std::string_view op) {
  BinOp code;
  if (!binop_from_text(op, code)) return -1;
  switch (code) {
    case BinOp::Imp: return 1;
    case BinOp::Eqv: return 2;
    case BinOp::Or: return 3;
    case BinOp::Xor: return 4;
    case BinOp::And: return 5;
    case BinOp::Eq: case BinOp::Ne: case BinOp::Lt: case BinOp::Gt: case BinOp::Le: case BinOp::Ge:
    case BinOp::Is: case BinOp::Like: return COMPARISON_LEVEL;
    case BinOp::Concat: return 7;
    case BinOp::Add: case BinOp::Sub: return 8;
    case BinOp::Mod: case BinOp::Mul: case BinOp::Div: case BinOp::IntDiv: return 9;
    case BinOp::Pow: return POWER_LEVEL;
  }
  return -1;
}

bool binop_from_text(std::string_view op, BinOp& out) {
  static const std::pair<const char*, BinOp> table[] = {
      {"or", BinOp::Or},   {"xor", BinOp::Xor}, {"and", BinOp::And},  {"=", BinOp::Eq},      {"<>", BinOp::Ne},
      {"<", BinOp::Lt},    {">", BinOp::Gt},    {"<=", BinOp::Le},    {">=", BinOp::Ge},     {"is", BinOp::Is},
      {"like", BinOp::Like}, {"&", BinOp::Concat}, {"+", BinOp::Add}, {"-", BinOp::Sub},     {"mod", BinOp::Mod},
      {"*", BinOp::Mul},   {"/", BinOp::Div},   {"\\", BinOp::IntDiv}, {"^", BinOp::Pow},
      {"imp", BinOp::Imp}, {"eqv", BinOp::Eqv}};
  if (op.size() > 4) return false;
  char buf[5];
  for (size_t i = 0; i < op.size(); ++i) buf[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(op[i])));
  const std::string_view low(buf, op.size());
  for (const auto& [text, code] : table)
    if (low == text) {
      out = code;
      return true;
    }
  return false;
}

Value binary(std::string_view op, const Value& left, const Value& right) {
  BinOp code;
  if (!binop_from_text(op, code)) throw VBError("Unsupported operator: " + std::string(op));
  return binary(code, left, right);
}

bool like_match(std::string_view text_utf8, std::string_view pattern_utf8) {
  const std::u32string text = to_u32(text_utf8), pat = to_u32(pattern_utf8);
  // match[j] : pattern prefix of length j matches the text prefix so far.
  std::vector<char> prev(pat.size() + 1, 0), cur(pat.size() + 1, 0);
  prev[0] = 1;
  for (size_t j = 1; j <= pat.size(); ++j) prev[j] = prev[j - 1] && pat[j - 1] == U'*';
  for (size_t i = 1; i <= text.size(); ++i) {
    const char32_t c = text[i - 1];
    cur[0] = 0;
    for (size_t j = 1; j <= pat.size(); ++j) {
      const char32_t p = pat[j - 1];
      if (p == U'*') cur[j] = cur[j - 1] || (prev[j] && c != U'\n');
      else if (p == U'?') cur[j] = prev[j - 1] && c != U'\n';
      else cur[j] = prev[j - 1] && p == c;
    }
    std::swap(prev, cur);
  }
  return prev[pat.size()] != 0;
}

// Imp and Eqv: on two Booleans the logical result; otherwise bitwise on
// the operands' whole numbers (Booleans as -1 and 0, other numbers rounded
// half to even), as VB6 computes them.
static Value implication(BinOp op, const Value& left, const Value& right) {
  if (left.is_bool() && right.is_bool()) {
    const bool a = left.as_bool(), b = right.as_bool();
    return Value(op == BinOp::Imp ? (!a || b) : a == b);
  }
  const auto whole = [](const Value& v) {
    const Value r = round_half_even(v);
    if (!r.is_int()) throw VBError(6, "Overflow");
    return r.as_int();
  };
  const int64_t a = whole(left), b = whole(right);
  return Value(op == BinOp::Imp ? (~a | b) : ~(a ^ b));
}

Value binary(BinOp op, const Value& left, const Value& right) {
  switch (op) {
    case BinOp::Concat: {
      if (left.is_string() && right.is_string()) {
        std::string out;
        out.reserve(left.as_string().size() + right.as_string().size());
        out.append(left.as_string()).append(right.as_string());
        return Value(std::move(out));
      }
      std::string out = vbstr(left);
      out += vbstr(right);
      return Value(std::move(out));
    }
    case BinOp::And: return Value(truth(left) && truth(right));
    case BinOp::Or: return Value(truth(left) || truth(right));
    case BinOp::Xor: return Value(truth(left) != truth(right));
    case BinOp::Imp: case BinOp::Eqv: return implication(op, left, right);
    case BinOp::Is: {
      if (left.is_nothing() && right.is_nothing()) return Value(true);
      if (left.is_object() && right.is_object()) return Value(left.as_object() == right.as_object());
      if (left.is_array() && right.is_array()) return Value(left.as_array() == right.as_array());
      return Value(false);
    }
    case BinOp::Like: return Value(like_match(vbstr(left), vbstr(right)));
    case BinOp::Eq: case BinOp::Ne: case BinOp::Lt: case BinOp::Gt: case BinOp::Le: case BinOp::Ge: {
      int c;
      bool unordered = false;
      if (left.is_string() && right.is_string()) {
        const int raw = left.as_string().compare(right.as_string());  // UTF-8 byte order is code point order
        c = raw < 0 ? -1 : raw > 0 ? 1 : 0;
      } else {
        c = compare_numbers(number(left), number(right), unordered);
      }
      if (unordered) return Value(op == BinOp::Ne);
      switch (op) {
        case BinOp::Eq: return Value(c == 0);
        case BinOp::Ne: return Value(c != 0);
        case BinOp::Lt: return Value(c < 0);
        case BinOp::Gt: return Value(c > 0);
        case BinOp::Le: return Value(c <= 0);
        default: return Value(c >= 0);
      }
    }
    case BinOp::Add: {
      if (left.is_string() || right.is_string()) {
        Value a, b;
        if (try_number(left, a) && try_number(right, b)) return arithmetic(BinOp::Add, a, b);
        return Value(vbstr(left) + vbstr(right));
      }
      return arithmetic(op, left, right);
    }
    default: return arithmetic(op, left, right);
  }
}

Value negate(const Value& value) {
  const Value n = number(value);
  if (n.is_int()) {
    if (n.as_int() == std::numeric_limits<int64_t>::min()) return Value(-static_cast<double>(n.as_int()));
    return Value(-n.as_int());
  }
  return Value(-n.as_double());
}

TypeCode type_code(std::string_view t) {
  if (t == "variant") return TypeCode::Variant;
  if (t == "string") return TypeCode::String;
  if (t.rfind("string*", 0) == 0) return TypeCode::FixedText;
  if (t == "boolean") return TypeCode::Boolean;
  if (t == "integer") return TypeCode::Integer;
  if (t == "long") return TypeCode::Long;
  if (t == "byte") return TypeCode::Byte;
  if (t == "single") return TypeCode::Single;
  if (t == "double") return TypeCode::Double;
  if (t == "currency") return TypeCode::Currency;
  if (t == "object") return TypeCode::Object;
  return TypeCode::Other;
}

Value round_half_even(const Value& value) {
  const Value n = number(value);
  if (n.is_int()) return n;
  const double d = n.as_double();
  if (!std::isfinite(d)) return n;
  const double r = std::nearbyint(d);  // default rounding mode: ties to even
  if (!fits_int64(r)) return Value(r);
  return Value(static_cast<int64_t>(r));
}

Value coerce(const Value& value, TypeCode type) {
  switch (type) {
    case TypeCode::String:
    case TypeCode::FixedText: return value.is_string() ? value : Value(vbstr(value));
    case TypeCode::Boolean: return Value(truth(value));
    case TypeCode::Integer:
    case TypeCode::Long:
    case TypeCode::Byte: {
      const int64_t lo = type == TypeCode::Integer ? -32768 : type == TypeCode::Long ? -2147483648LL : 0;
      const int64_t hi = type == TypeCode::Integer ? 32767 : type == TypeCode::Long ? 2147483647LL : 255;
      if (value.is_int() && value.as_int() >= lo && value.as_int() <= hi) return value;
      const Value r = round_half_even(value);
      if (!r.is_int() || r.as_int() < lo || r.as_int() > hi)
        throw VBError(std::string("Overflow for ") +
                      (type == TypeCode::Integer ? "integer" : type == TypeCode::Long ? "long" : "byte"));
      return r;
    }
    case TypeCode::Single:
    case TypeCode::Double:
    case TypeCode::Currency: {
      const Value n = number(value);
      return Value(to_double(n));
    }
    default: return value;
  }
}

Value fixed_text(const Value& value, size_t width, bool right) {
  const std::string text = vbstr(value);
  size_t at = 0, count = 0;
  while (at < text.size() && count < width) {
    decode_utf8(text, at);
    ++count;
  }
  if (count == width) return Value(text.substr(0, at));
  const std::string blanks(width - count, ' ');
  return Value(right ? blanks + text : text + blanks);
}

void store_converting(Value& place, const Value& value, TypeCode type) {
  if (type == TypeCode::FixedText && place.is_string()) {
    place.store(fixed_text(value, code_point_count(place.as_string())));
    return;
  }
  if (value.is_int() && (type == TypeCode::Double || type == TypeCode::Single || type == TypeCode::Currency))
    place.store(Value(static_cast<double>(value.as_int())));
  else
    place.store(coerce(value, type));
}

Value coerce(const Value& value, std::string_view type_name) { return coerce(value, type_code(lower(type_name))); }

Value default_value(std::string_view type_name) {
  const std::string t = lower(type_name);
  if (t == "string") return Value(std::string());
  // a fixed-length text field ("string*20" of a Type) starts as that many blanks
  if (t.rfind("string*", 0) == 0) return Value(std::string(std::min<size_t>(std::stoul("0" + t.substr(7)), 65535), ' '));
  if (t == "boolean") return Value(false);
  if (t == "object") return Value();
  return Value(int64_t{0});
}

std::string lower(std::string_view text) {
  std::string out(text);
  bool ascii = true;
  for (char& c : out) {
    if (static_cast<unsigned char>(c) >= 0x80) {
      ascii = false;
      break;
    }
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  }
  if (ascii) return out;
  std::string result;
  icu::UnicodeString::fromUTF8(icu::StringPiece(text.data(), static_cast<int32_t>(text.size())))
      .toLower(icu::Locale::getRoot())
      .toUTF8String(result);
  return result;
}

size_t code_point_count(std::string_view text) {
  size_t n = 0;
  for (size_t i = 0; i < text.size();) {
    decode_utf8(text, i);
    ++n;
  }
  return n;
}

}  // namespace corvane
