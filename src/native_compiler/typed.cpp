// Typed operands and their operators. The rules follow the language: the
// operands of arithmetic pass through the numeric conversion (a whole
// Double counts as an Integer), Integer results are exact, stores round
// halves to even and check ranges. Integer arithmetic is emitted as plain
// C only while a static bound on its magnitude proves it cannot overflow
// 64 bits; anything the typed forms cannot express exactly goes through
// the runtime's dynamic operators.
#include "native_compiler/typed.h"

#include <algorithm>
#include <map>

#include "native_compiler/native_compiler.h"

namespace corvane {

namespace {

struct DeclaredType {
  Ty ty;
  int bits;
  long long low, high;
};

const std::map<std::string, DeclaredType, std::less<>>& declared_types() {
  static const std::map<std::string, DeclaredType, std::less<>> table = {
      {"byte", {Ty::Int, 8, 0, 255}},
      {"integer", {Ty::Int, 15, -32768, 32767}},
      {"long", {Ty::Int, 31, -2147483648LL, 2147483647LL}},
      {"single", {Ty::Dbl, 0, 0, 0}},
      {"double", {Ty::Dbl, 0, 0, 0}},
      {"currency", {Ty::Dbl, 0, 0, 0}},
      {"boolean", {Ty::Bool, 0, 0, 0}},
      {"string", {Ty::Str, 0, 0, 0}},
  };
  return table;
}

// C comparison operators of the language's comparisons.
const std::map<std::string, std::string, std::less<>>& comparisons() {
  static const std::map<std::string, std::string, std::less<>> table = {
      {"=", "=="}, {"<>", "!="}, {"<", "<"}, {">", ">"}, {"<=", "<="}, {">=", ">="}};
  return table;
}

const std::map<std::string, std::string, std::less<>>& operator_codes() {
  static const std::map<std::string, std::string, std::less<>> table = {
      {"&", "VB_OP_CONCAT"}, {"+", "VB_OP_ADD"}, {"-", "VB_OP_SUB"},  {"*", "VB_OP_MUL"},  {"/", "VB_OP_DIV"},
      {"\\", "VB_OP_IDIV"},  {"mod", "VB_OP_MOD"}, {"^", "VB_OP_POW"}, {"and", "VB_OP_AND"}, {"or", "VB_OP_OR"},
      {"xor", "VB_OP_XOR"},  {"=", "VB_OP_EQ"},   {"<>", "VB_OP_NE"},  {"<", "VB_OP_LT"},   {">", "VB_OP_GT"},
      {"<=", "VB_OP_LE"},    {">=", "VB_OP_GE"},  {"is", "VB_OP_IS"},  {"like", "VB_OP_LIKE"}};
  return table;
}

bool attempt_mode = false;

bool numeric(Ty ty) { return ty == Ty::Int || ty == Ty::Dbl || ty == Ty::Num || ty == Ty::Bool; }

// A numeric operand with Booleans as the Integers -1 and 0.
Operand as_number(const Operand& op) {
  if (op.ty != Ty::Bool) return op;
  return {"(-(long long)(" + op.c + "))", Ty::Int, 0, ""};
}

std::string long_double(const Operand& op) { return "(long double)(" + op.c + ")"; }

// The smallest b with magnitude <= 2^b (63 at most).
int bits_of(unsigned long long magnitude) {
  int bits = 0;
  while (bits < 63 && (1ULL << bits) < magnitude) ++bits;
  return bits;
}

}  // namespace

void set_attempt_mode(bool on) { attempt_mode = on; }

Ty scalar_type(std::string_view declared) {
  const auto it = declared_types().find(declared);
  return it == declared_types().end() ? Ty::Value : it->second.ty;
}

int declared_bits(std::string_view declared) {
  const auto it = declared_types().find(declared);
  return it == declared_types().end() ? 63 : it->second.bits;
}

bool whole_range(std::string_view declared, long long& low, long long& high) {
  const auto it = declared_types().find(declared);
  if (it == declared_types().end() || it->second.ty != Ty::Int) return false;
  low = it->second.low;
  high = it->second.high;
  return true;
}

std::string c_type(Ty ty) {
  switch (ty) {
    case Ty::Int: return "long long";
    case Ty::Dbl: return "double";
    case Ty::Num: return "long double";
    case Ty::Bool: return "int";
    default: return "VBValue";
  }
}

std::string c_initial(Ty ty) {
  switch (ty) {
    case Ty::Int: return "0";
    case Ty::Dbl: return "VB_DOUBLE_UNSET";
    case Ty::Bool: return "0";
    case Ty::Str: return "vb_str(\"\")";
    default: return "vb_int(0)";
  }
}

Operand value_operand(std::string c) { return {std::move(c), Ty::Value, 63, ""}; }

Operand typed_variable(const std::string& c, std::string_view declared) {
  const Ty ty = scalar_type(declared);
  switch (ty) {
    // A Double variable starts as the Integer 0 (its unset mark) until a
    // value is stored.
    case Ty::Dbl: return {"vb_double_read(" + c + ")", Ty::Dbl, 63, "vb_double_value(" + c + ")"};
    case Ty::Int: return {c, Ty::Int, declared_bits(declared), ""};
    default: return {c, ty, 63, ""};
  }
}

Operand int_literal(const std::string& digits) {
  unsigned long long magnitude = 0;
  for (char d : digits) magnitude = magnitude * 10 + static_cast<unsigned>(d - '0');
  return {digits + "LL", Ty::Int, bits_of(magnitude), ""};
}

std::string as_value(const Operand& op) {
  if (!op.dyn.empty()) return op.dyn;
  switch (op.ty) {
    case Ty::Int:
      // a literal reads as the runtime's constant form
      if (op.c.size() > 2 && op.c.compare(op.c.size() - 2, 2, "LL") == 0 &&
          op.c.find_first_not_of("0123456789") == op.c.size() - 2)
        return "vb_int(" + op.c.substr(0, op.c.size() - 2) + ")";
      return "vb_int(" + op.c + ")";
    case Ty::Dbl: return "vb_num(" + op.c + ")";
    case Ty::Bool: return "vb_bool(" + op.c + ")";
    default: return op.c;
  }
}

std::string as_truth(const Operand& op) {
  switch (op.ty) {
    case Ty::Int:
    case Ty::Dbl:
    case Ty::Num: return "((" + op.c + ") != 0)";
    case Ty::Bool: return op.c;
    default: return "vb_truth(" + op.c + ")";
  }
}

std::string store_to(const Operand& op, std::string_view declared) {
  const Ty target = scalar_type(declared);
  const std::string type(declared);
  switch (target) {
    case Ty::Int: {
      long long low = 0, high = 0;
      whole_range(declared, low, high);
      const std::string range = std::to_string(low) + "LL," + std::to_string(high) + "LL," + q(type);
      const Operand n = as_number(op);
      if (n.ty == Ty::Int) return "vb_store_int(" + n.c + "," + range + ")";
      if (n.ty == Ty::Dbl || n.ty == Ty::Num) return "vb_store_whole(" + long_double(n) + "," + range + ")";
      return "vb_store_value(" + as_value(op) + "," + range + ")";
    }
    case Ty::Dbl: {
      const Operand n = as_number(op);
      if (n.ty == Ty::Int || n.ty == Ty::Num) return "(double)(" + n.c + ")";
      if (n.ty == Ty::Dbl) return n.c;
      return "vb_number(" + as_value(op) + ")";
    }
    case Ty::Bool: return as_truth(op);
    case Ty::Str:
      if (op.ty == Ty::Str) return op.c;
      return "vb_coerce(" + as_value(op) + ",\"string\")";
    default: return "vb_coerce(" + as_value(op) + "," + q(type) + ")";
  }
}

std::string subscript_of(const Operand& index) {
  const Operand n = as_number(index);
  if (n.ty == Ty::Int) return n.c;
  return "vb_subscript(" + as_value(index) + ")";
}

namespace {

// The runtime's accessor family of a scalar element type ("vb_long").
std::string element_accessor(std::string_view element) {
  if (element == "byte" || element == "integer" || element == "long") return "vb_" + std::string(element);
  if (scalar_type(element) == Ty::Dbl) return "vb_double";
  return "vb_bool";
}

}  // namespace

Operand element_operand(const std::string& array, const std::string& index, const std::string& name,
                        std::string_view element) {
  const std::string call = element_accessor(element) + "_get(" + array + "," + index + "," + q(name) + ")";
  switch (scalar_type(element)) {
    case Ty::Int: return {call, Ty::Int, declared_bits(element), ""};
    case Ty::Dbl: return {"vb_double_read(" + call + ")", Ty::Dbl, 63, "vb_double_value(" + call + ")"};
    case Ty::Bool: return {call, Ty::Bool, 63, ""};
    default:
      return {"vb_coerce(vb_index(" + array + ",vb_int(" + index + ")," + q(name) + "),\"string\")", Ty::Str, 63, ""};
  }
}

std::string element_store(const std::string& array, const std::string& index, const std::string& value,
                          const std::string& name, std::string_view element) {
  if (scalar_type(element) == Ty::Str)
    return "vb_index_set(" + array + ",vb_int(" + index + ")," + value + "," + q(name) + ");";
  return element_accessor(element) + "_set(" + array + "," + index + "," + value + "," + q(name) + ");";
}

std::string dynamic_binary(const std::string& op, const std::string& a, const std::string& b) {
  const auto it = operator_codes().find(op);
  if (it == operator_codes().end()) return "vb_op(" + q(op) + "," + a + "," + b + ")";
  if (op == "&") return "vb_concat(" + a + "," + b + ")";
  return "vb_binary(" + it->second + "," + a + "," + b + ")";
}

bool typed_binary(const std::string& op, const Operand& a_in, const Operand& b_in, Operand& out) {
  if (op == "&") {
    out = {"vb_concat(" + as_value(a_in) + "," + as_value(b_in) + ")", Ty::Str, 63, ""};
    return true;
  }
  if (const auto cmp = comparisons().find(op); cmp != comparisons().end()) {
    const Operand a = as_number(a_in), b = as_number(b_in);
    if (a.ty == Ty::Int && b.ty == Ty::Int)
      out = {"((" + a.c + ") " + cmp->second + " (" + b.c + "))", Ty::Bool, 63, ""};
    else if (numeric(a.ty) && numeric(b.ty))
      out = {"(" + long_double(a) + " " + cmp->second + " " + long_double(b) + ")", Ty::Bool, 63, ""};
    else if (a_in.ty == Ty::Str && b_in.ty == Ty::Str)
      out = {"(vb_text_compare(" + a_in.c + "," + b_in.c + ") " + cmp->second + " 0)", Ty::Bool, 63, ""};
    else
      out = {"vb_test(" + operator_codes().at(op) + "," + as_value(a_in) + "," + as_value(b_in) + ")", Ty::Bool,
             63, ""};
    return true;
  }
  if (op == "and" || op == "or" || op == "xor") {
    // Both sides are always evaluated: no short-circuit operators.
    const std::string c_op = op == "and" ? " & " : op == "or" ? " | " : " ^ ";
    out = {"(" + as_truth(a_in) + c_op + as_truth(b_in) + ")", Ty::Bool, 63, ""};
    return true;
  }
  const Operand a = as_number(a_in), b = as_number(b_in);
  if (!numeric(a.ty) || !numeric(b.ty)) return false;
  const bool ints = a.ty == Ty::Int && b.ty == Ty::Int;
  if (op == "+" || op == "-" || op == "*") {
    if (ints) {
      const int bits = op == "*" ? a.bits + b.bits : std::max(a.bits, b.bits) + 1;
      if (bits > MAX_EXACT_BITS && attempt_mode) {
        const std::string helper = op == "+" ? "vb_try_add(" : op == "-" ? "vb_try_sub(" : "vb_try_mul(";
        out = {helper + a.c + "," + b.c + ")", Ty::Int, 63, ""};
        return true;
      }
      if (bits > MAX_EXACT_BITS) return false;
      out = {"((" + a.c + ") " + op + " (" + b.c + "))", Ty::Int, bits, ""};
      return true;
    }
    const std::string helper = op == "+" ? "vb_n_add" : op == "-" ? "vb_n_sub" : "vb_n_mul";
    out = {helper + "(" + long_double(a) + "," + long_double(b) + ")", Ty::Num, 63,
           dynamic_binary(op, as_value(a_in), as_value(b_in))};
    return true;
  }
  if (op == "/") {
    out = {"vb_n_div(" + long_double(a) + "," + long_double(b) + ")", Ty::Dbl, 63, ""};
    return true;
  }
  if ((op == "\\" || op == "mod") && ints && attempt_mode && (a.bits > MAX_EXACT_BITS || b.bits > MAX_EXACT_BITS)) {
    out = {std::string(op == "mod" ? "vb_try_mod(" : "vb_try_idiv(") + a.c + "," + b.c + ")", Ty::Int,
           op == "mod" ? b.bits : 63, ""};
    return true;
  }
  if ((op == "\\" || op == "mod") && ints && a.bits <= MAX_EXACT_BITS && b.bits <= MAX_EXACT_BITS) {
    out = {std::string(op == "mod" ? "vb_i_mod(" : "vb_i_idiv(") + a.c + "," + b.c + ")", Ty::Int,
           op == "mod" ? b.bits : a.bits, ""};
    return true;
  }
  return false;
}

bool typed_unary(const std::string& op, const Operand& a_in, Operand& out) {
  if (op == "not") {
    out = {"(!" + as_truth(a_in) + ")", Ty::Bool, 63, ""};
    return true;
  }
  const Operand a = as_number(a_in);
  if (op == "-") {
    if (a.ty == Ty::Int && a.bits <= MAX_EXACT_BITS) {
      out = {"(-(" + a.c + "))", Ty::Int, a.bits, ""};
      return true;
    }
    if (a.ty == Ty::Int && attempt_mode) {
      out = {"vb_try_neg(" + a.c + ")", Ty::Int, 63, ""};
      return true;
    }
    if (a.ty == Ty::Dbl || a.ty == Ty::Num) {
      // as the operator does it: a whole number negates as an Integer
      out = {"vb_n_sub(0.0L," + long_double(a) + ")", Ty::Num, 63, "vb_neg(" + as_value(a_in) + ")"};
      return true;
    }
  }
  return false;
}

}  // namespace corvane
