// Expression translation: the interpreter's expression tree (ExprParser)
// becomes C text, node by node. Operands with observable effects are
// evaluated strictly left to right through temporaries
// (NativeCompiler::in_order).
#include "native_compiler/expressions.h"

#include <algorithm>
#include <charconv>
#include <cctype>
#include <cmath>
#include <map>
#include <set>
#include <utility>

#include "native_compiler/language_extras.h"
#include "native_compiler/patterns.h"

namespace corvane {

namespace {

// The operators' spellings the typed and dynamic translations take, in
// BinOp order.
const char* op_text(BinOp op) {
  static const char* const text[] = {"or", "xor", "and", "=", "<>", "<",  ">", "<=", ">=", "is",
                                     "like", "&", "+", "-", "mod", "*", "/", "\\", "^"};
  return text[static_cast<size_t>(op)];
}

constexpr int TEXT_POSITION_BITS = 48;

// Built-ins whose result kind never varies: Integer counts and positions
// in texts, and texts.
const std::map<std::string, Ty, std::less<>>& builtin_results() {
  static const std::map<std::string, Ty, std::less<>> table = {
      {"len", Ty::Int},    {"instr", Ty::Int},  {"mid", Ty::Str},   {"left", Ty::Str},  {"right", Ty::Str},
      {"ucase", Ty::Str},  {"lcase", Ty::Str},  {"trim", Ty::Str},  {"ltrim", Ty::Str}, {"rtrim", Ty::Str},
      {"space", Ty::Str},  {"replace", Ty::Str}, {"strreverse", Ty::Str}, {"chr", Ty::Str}};
  return table;
}

const std::map<std::string, std::string, std::less<>>& reserved_c() {
  static const std::map<std::string, std::string, std::less<>> table = {
      {"true", "vb_bool(1)"},        {"false", "vb_bool(0)"},        {"nothing", "vb_nothing()"},
      {"empty", "vb_str(\"\")"},     {"vbcrlf", "vb_str(\"\\r\\n\")"}, {"vbnewline", "vb_str(\"\\r\\n\")"},
      {"vblf", "vb_str(\"\\n\")"},   {"vbcr", "vb_str(\"\\r\")"},   {"vbtab", "vb_str(\"\\t\")"},
      {"vbok", "vb_int(1)"},         {"vbcancel", "vb_int(2)"},     {"vbyes", "vb_int(6)"},
      {"vbno", "vb_int(7)"},
      // The interpreter's other constants, with its values.
      {"vbokonly", "vb_int(0)"},  {"vbyesno", "vb_int(4)"},   {"pi", "vb_num(3.141592653589793)"},
      {"vbobjecterror", "vb_int(-2147221504)"}, {"vbokcancel", "vb_int(1)"}, {"vbabortretryignore", "vb_int(2)"},
      {"vbyesnocancel", "vb_int(3)"}, {"vbretrycancel", "vb_int(5)"}, {"vbcritical", "vb_int(16)"},
      {"vbquestion", "vb_int(32)"}, {"vbexclamation", "vb_int(48)"}, {"vbinformation", "vb_int(64)"},
      {"vbabort", "vb_int(3)"},   {"vbretry", "vb_int(4)"},   {"vbignore", "vb_int(5)"},
      {"vbnullstring", "vb_str(\"\")"}, {"vbback", "vb_str(\"\\b\")"}, {"vbformfeed", "vb_str(\"\\f\")"},
      {"vbverticaltab", "vb_str(\"\\v\")"}, {"vbbinarycompare", "vb_int(0)"}, {"vbtextcompare", "vb_int(1)"},
      {"vbblack", "vb_int(0)"},   {"vbred", "vb_int(255)"},   {"vbgreen", "vb_int(65280)"},
      {"vbyellow", "vb_int(65535)"}, {"vbblue", "vb_int(16711680)"}, {"vbmagenta", "vb_int(16711935)"},
      {"vbcyan", "vb_int(16776960)"}, {"vbwhite", "vb_int(16777215)"}, {"vbsunday", "vb_int(1)"},
      {"vbmonday", "vb_int(2)"},  {"vbtuesday", "vb_int(3)"}, {"vbwednesday", "vb_int(4)"},
      {"vbthursday", "vb_int(5)"}, {"vbfriday", "vb_int(6)"}, {"vbsaturday", "vb_int(7)"},
      {"vbusesystemdayofweek", "vb_int(0)"}, {"vbempty", "vb_int(0)"}, {"vbnull", "vb_int(1)"},
      {"vbinteger", "vb_int(2)"}, {"vblong", "vb_int(3)"},    {"vbsingle", "vb_int(4)"},
      {"vbdouble", "vb_int(5)"},  {"vbcurrency", "vb_int(6)"}, {"vbdate", "vb_int(7)"},
      {"vbstring", "vb_int(8)"},  {"vbobject", "vb_int(9)"},  {"vbboolean", "vb_int(11)"},
      {"vbvariant", "vb_int(12)"}, {"vbbyte", "vb_int(17)"},  {"vbarray", "vb_int(8192)"},
      {"vbnormal", "vb_int(0)"},  {"vbreadonly", "vb_int(1)"}, {"vbhidden", "vb_int(2)"},
      {"vbsystem", "vb_int(4)"},  {"vbdirectory", "vb_int(16)"}, {"vbarchive", "vb_int(32)"},
#define VB_CONSTANT(name, value) {name, "vb_int(" #value ")"},
#include "vb_constant_table.h"
  };
  return table;
}

std::string without_suffix(std::string_view text) { return std::string(without_type_suffix(text)); }

// C text of a Double constant that reads back as exactly `d`.
std::string double_constant(double d) {
  if (!std::isfinite(d)) return "(1e308*10)";  // a literal beyond the Double range
  char buffer[64];
  const auto end = std::to_chars(buffer, buffer + sizeof buffer, d).ptr;
  std::string text(buffer, end);
  if (text.find_first_of(".e") == std::string::npos) text += ".0";
  return text;
}

// A C identifier (what a variable's C name is).
bool identifier(std::string_view t) {
  if (t.empty() || std::isdigit(static_cast<unsigned char>(t[0]))) return false;
  return std::all_of(t.begin(), t.end(), [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; });
}

// The digits of vb_int(N) (at most 18, so that they fit a long long).
std::optional<std::string> int_constant(std::string_view t) {
  if (t.size() < 8 || t.substr(0, 7) != "vb_int(" || t.back() != ')') return std::nullopt;
  const std::string_view digits = t.substr(7, t.size() - 8);
  const std::string_view body = !digits.empty() && digits[0] == '-' ? digits.substr(1) : digits;
  if (body.empty() || body.size() > 18 || !std::all_of(body.begin(), body.end(), [](char c) { return c >= '0' && c <= '9'; }))
    return std::nullopt;
  return std::string(digits);
}

bool is_object_name(const NativeCompiler& compiler, const std::string& key) {
  return compiler.is_form(key) || compiler.is_control(key) || key == "me" || key == "app" || key == "screen";
}

}  // namespace

bool is_c_lvalue(std::string_view t) {
  if (t.size() > 3 && t.substr(0, 2) == "(*" && t.back() == ')') return identifier(t.substr(2, t.size() - 3));
  return identifier(t);
}

std::string replace_all(std::string text, std::string_view from, std::string_view to) {
  for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
  return text;
}

namespace {

// The flag and Integer temporaries of one use of a fast form, and the
// test that computes it: "(flag=1,x=FAST,flag)".
std::pair<std::string, std::string> fast_test(NativeCompiler& compiler, const std::string& fast) {
  const std::string flag = compiler.new_typed_temporary("int");
  const std::string x = compiler.new_typed_temporary("long long");
  return {"(" + flag + "=1," + x + "=" + replace_all(fast, FAST_FLAG, flag) + "," + flag + ")", x};
}

}  // namespace

std::optional<std::string> fast_assignment(NativeCompiler& compiler, const Operand& value, const std::string& target) {
  if (value.fast.empty() || value.slow.empty() || !is_c_lvalue(target)) return std::nullopt;
  const auto [test, x] = fast_test(compiler, value.fast);
  // A function's result is copied whole when it returns: it is written
  // whole too (vb_int), so that the copy does not wait on field stores.
  const std::string put = target == "_ret" ? "_ret = vb_int(" + x + ")" : "vb_put_int(&" + target + "," + x + ")";
  return "if(" + test + ") " + put + "; else " + target + " = " + value.slow + ";";
}

std::optional<std::string> fast_cell(NativeCompiler& compiler, const Operand& value) {
  if (value.fast.empty() || value.slow.empty()) return std::nullopt;
  const auto [test, x] = fast_test(compiler, value.fast);
  return "(" + test + "?vb_cell_int(&(VBValue){0}," + x + "):vb_cell(&(VBValue){0}," + value.slow + "))";
}

std::string value_array(const std::vector<std::string>& items) {
  std::string out = "(VBValue[]){";
  if (items.empty()) return out + "vb_int(0)}";
  for (size_t k = 0; k < items.size(); ++k) out += (k ? "," : "") + items[k];
  return out + "}";
}

std::optional<std::string> literal_constant(std::string_view text) {
  const NodePtr tree = ExprParser::parse(text);
  const Node* node = tree.get();
  const bool negated = node->kind == NodeKind::Negate;
  if (negated) node = node->kids[0].get();
  if (node->kind == NodeKind::Name && !negated) {
    const std::string key = name_key(without_suffix(node->text));
    if (key == "true" || key == "false") return key == "true" ? "vb_bool(1)" : "vb_bool(0)";
  }
  if (node->kind != NodeKind::Literal || (strip_text(text).empty())) return std::nullopt;
  const Value& v = node->literal;
  if (v.is_string() && !negated) return "vb_str(" + q(v.as_string()) + ")";
  // Literals carry no sign; negating an Integer literal stays exact.
  const std::string sign = negated ? "-" : "";
  if (v.is_int()) return "vb_int(" + sign + std::to_string(v.as_int()) + ")";
  if (v.is_double()) return "vb_num(" + sign + double_constant(v.as_double()) + ")";
  return std::nullopt;
}

CExpression::CExpression(NativeCompiler& compiler_, std::string_view source, const NativeProcedure* proc_,
                         const Locals& local_)
    : compiler(compiler_), proc(proc_), local(local_), blank(strip_text(source).empty()),
      tree(ExprParser::parse(source)) {}

void CExpression::fail(std::string_view message) const { compiler.error(proc, message); }

void CExpression::check() const {
  if (blank) fail("Empty expression");
  if (tree->kind == NodeKind::Fail) fail(tree->text);
}

std::string CExpression::parse() { return as_value(parse_typed()); }

Operand CExpression::parse_typed() {
  check();
  return translate(*tree);
}

std::optional<std::vector<std::string>> CExpression::append_pieces(std::string_view name_key_text) {
  if (blank || tree->kind == NodeKind::Fail) return std::nullopt;
  // `s & a & b` reads as ((s & a) & b): the pieces hang on the left spine.
  std::vector<const Node*> nodes;
  const Node* at = tree.get();
  while (at->kind == NodeKind::Binary && at->op == BinOp::Concat) {
    nodes.push_back(at->kids[1].get());
    at = at->kids[0].get();
  }
  if (nodes.empty() || at->kind != NodeKind::Name) return std::nullopt;
  const std::string first = without_suffix(at->text);
  if (!is_variable_name(first) || name_key(first) != name_key_text) return std::nullopt;
  std::vector<std::string> pieces;
  for (auto it = nodes.rbegin(); it != nodes.rend(); ++it) pieces.push_back(as_value(translate(**it)));
  return pieces;
}

Operand CExpression::translate(const Node& node) {
  switch (node.kind) {
    case NodeKind::Literal: return literal(node.literal);
    case NodeKind::Name: return name(node);
    case NodeKind::Call: return call(node);
    case NodeKind::Member: case NodeKind::Method: return member(node);
    case NodeKind::New: return object_new(node);
    case NodeKind::Not: case NodeKind::Plus: case NodeKind::Negate: return unary(node);
    case NodeKind::Binary: {
      // a Is b compares objects: controls named alone are the controls
      want_object_ = node.op == BinOp::Is;
      const Operand left = translate(*node.kids[0]);
      want_object_ = node.op == BinOp::Is;
      const Operand right = translate(*node.kids[1]);
      want_object_ = false;
      return binary(node.op, left, right);
    }
    case NodeKind::Fail: break;
  }
  fail(node.text);
}

Operand CExpression::literal(const Value& value) {
  if (value.is_string()) return {"vb_str(" + q(value.as_string()) + ")", Ty::Str, 63, ""};
  if (value.is_int()) return int_literal(std::to_string(value.as_int()));  // literals carry no sign
  if (value.is_double()) return {double_constant(value.as_double()), Ty::Dbl, 63, ""};
  // A left-out argument (FormatNumber(x, , , , 0)) is Nothing.
  return value_operand("vb_nothing()");
}

Operand CExpression::unary(const Node& node) {
  const Operand operand = translate(*node.kids[0]);
  Operand out;
  switch (node.kind) {
    case NodeKind::Not:
      if (typed_unary("not", operand, out)) return out;
      return value_operand("vb_not(" + as_value(operand) + ")");
    case NodeKind::Negate:
      if (typed_unary("-", operand, out)) return out;
      if (const auto fast = fast_of(operand); fast && operand.ty == Ty::Value)
        return fast_value("vb_fast_neg(" + *fast + ",&" + FAST_FLAG + ")",
                          "vb_neg(" + (operand.slow.empty() ? operand.c : operand.slow) + ")");
      return value_operand("vb_neg(" + as_value(operand) + ")");
    default:
      // Unary plus is the numeric conversion (+"12" is 12).
      if (operand.ty == Ty::Int || operand.ty == Ty::Dbl || operand.ty == Ty::Num) return operand;
      return value_operand("vb_to_number(" + as_value(operand) + ")");
  }
}

Operand CExpression::binary(BinOp code, const Operand& left, const Operand& right) {
  if (const auto function = implication_function(code))
    return value_operand(compiler.in_order({as_value(left), as_value(right)}, [&](const std::vector<std::string>& v) {
      return *function + "(" + v[0] + "," + v[1] + ")";
    }));
  if (auto fast = fast_binary(code, left, right)) return *fast;
  const std::string op = op_text(code);
  // Typed operators compute in C when the operands' order cannot be
  // observed; otherwise the dynamic operator runs on temporaries.
  const bool effects = c_has_effects(left.c) || c_has_effects(right.c);
  const bool both_variable = !c_is_constant(as_value(left)) && !c_is_constant(as_value(right));
  Operand out;
  if ((!effects || !both_variable) && typed_binary(op, left, right, out)) return out;
  if (compiler.attempting() && left.ty == Ty::Int && right.ty == Ty::Int) {
    // the left operand first, into a temporary
    const std::string t = compiler.new_typed_temporary("long long");
    if (typed_binary(op, {t, Ty::Int, left.bits, ""}, right, out)) {
      out.c = "(" + t + "=" + left.c + "," + out.c + ")";
      return out;
    }
  }
  const bool comparison = code == BinOp::Eq || code == BinOp::Ne || code == BinOp::Lt || code == BinOp::Gt ||
                          code == BinOp::Le || code == BinOp::Ge;
  std::string c = compiler.in_order({as_value(left), as_value(right)}, [&](const std::vector<std::string>& v) {
    return dynamic_binary(op, v[0], v[1]);
  });
  // Comparisons and & keep their known result kinds.
  if (comparison) return {"vb_truth(" + c + ")", Ty::Bool, 63, ""};
  if (code == BinOp::Concat) return {c, Ty::Str, 63, ""};
  return value_operand(c);
}

bool CExpression::fast_paths() const {
  // Not where variables are volatile (error traps) nor in Integer-only
  // versions of functions, which have no Variants.
  return proc && !compiler.traps() && !compiler.attempting();
}

std::optional<std::string> CExpression::fast_of(const Operand& op) const {
  if (!fast_paths()) return std::nullopt;
  return fast_form(op);
}

std::optional<std::string> fast_form(const Operand& op) {
  if (!op.fast.empty()) return op.fast;
  if (op.ty == Ty::Int) {
    // Whole-number C with no calls but the pure operators: evaluating it
    // again on the dynamic path changes nothing.
    if (c_has_effects(op.c)) return std::nullopt;
    for (const std::string& called : c_calls(op.c))
      if (called != "vb_i_mod" && called != "vb_i_idiv") return std::nullopt;
    return "(" + op.c + ")";
  }
  if (op.ty != Ty::Value) return std::nullopt;
  // A Variant variable (a local, a module variable or a parameter's
  // referent) read in place; an Integer constant.
  if (is_c_lvalue(op.c)) return "vb_fast_int(&" + op.c + ",&" + FAST_FLAG + ")";
  if (const auto value = int_constant(op.c)) return "(" + *value + "LL)";
  return std::nullopt;
}

Operand CExpression::fast_value(const std::string& fast, const std::string& slow) {
  const std::string flag = compiler.new_typed_temporary("int");
  const std::string result = compiler.new_typed_temporary("long long");
  const std::string body = replace_all(fast, FAST_FLAG, flag);
  Operand out = value_operand("(" + flag + "=1," + result + "=" + body + "," + flag + "?vb_int(" + result + "):" + slow + ")");
  out.fast = fast;
  out.slow = slow;
  return out;
}

std::optional<Operand> CExpression::fast_binary(BinOp code, const Operand& left, const Operand& right) {
  // Only where a Variant takes part: typed operands have their own C.
  if (left.ty != Ty::Value && right.ty != Ty::Value) return std::nullopt;
  const auto a = fast_of(left), b = fast_of(right);
  if (!a || !b) return std::nullopt;
  const std::string op = op_text(code);
  const std::string slow_a = left.slow.empty() ? as_value(left) : left.slow;
  const std::string slow_b = right.slow.empty() ? as_value(right) : right.slow;
  static const std::map<BinOp, std::string> arithmetic = {{BinOp::Add, "vb_fast_add"}, {BinOp::Sub, "vb_fast_sub"},
                                                         {BinOp::Mul, "vb_fast_mul"}, {BinOp::Mod, "vb_fast_mod"},
                                                         {BinOp::IntDiv, "vb_fast_idiv"}};
  if (const auto it = arithmetic.find(code); it != arithmetic.end())
    return fast_value(it->second + "(" + *a + "," + *b + ",&" + FAST_FLAG + ")", dynamic_binary(op, slow_a, slow_b));
  static const std::map<BinOp, std::string> comparison = {{BinOp::Eq, "=="}, {BinOp::Ne, "!="}, {BinOp::Lt, "<"},
                                                         {BinOp::Gt, ">"},  {BinOp::Le, "<="}, {BinOp::Ge, ">="}};
  const auto it = comparison.find(code);
  if (it == comparison.end()) return std::nullopt;
  // The comparison's truth; its dynamic form is the typed path's.
  Operand dynamic;
  typed_binary(op, value_operand(slow_a), value_operand(slow_b), dynamic);
  const std::string flag = compiler.new_typed_temporary("int");
  const std::string result = compiler.new_typed_temporary("int");
  const std::string body = replace_all("((" + *a + ")" + it->second + "(" + *b + "))", FAST_FLAG, flag);
  return Operand{"((" + flag + "=1," + result + "=" + body + "," + flag + ")?" + result + ":" + dynamic.c + ")",
                 Ty::Bool, 63, ""};
}

Operand CExpression::object_new(const Node& node) {
  const std::string& class_name = node.text;
  const size_t dot = class_name.find('.');
  if (!valid(class_name.substr(0, dot))) fail("New requires a class name");
  if (dot != std::string::npos && !valid(class_name.substr(dot + 1))) fail("Invalid qualified New class");
  const std::string class_key = lower(class_name);
  static const std::set<std::string, std::less<>> built_in = {"adodb.connection", "adodb.recordset", "collection",
                                                              "vba.collection"};
  if (!compiler.is_class(class_key) && !built_in.count(class_key))
    fail("Unknown class after New: " + class_name);
  return value_operand("vb_new(" + q(class_name) + ")");
}

Operand CExpression::name(const Node& node) {
  const bool object_wanted = std::exchange(want_object_, false) || compiler.setting_object_;
  const std::string written = without_suffix(node.text);
  if (!is_variable_name(written)) fail("Cannot compile expression token " + node.text);
  const std::string key = name_key(written);
  if (key == "true" || key == "false") return {key == "true" ? "1" : "0", Ty::Bool, 63, ""};
  if (RESERVED.count(key)) {
    const std::string c = reserved_c().at(key);
    return c.rfind("vb_str(", 0) == 0 ? Operand{c, Ty::Str, 63, ""} : value_operand(c);
  }
  // A form as a value (Set f = Me, For Each f In Forms).
  if ((compiler.is_form(key) || (key == "me" && proc && proc->form_index)) && !names_variable(written))
    return value_operand("vb_form_object(" + q(key == "me" ? proc->owner : written) + ")");
  if (key == "forms" && !names_variable(written)) return value_operand("vb_forms()");
  // Controls alone in form code: the form's controls.
  if (key == "controls" && proc && proc->form_index && !names_variable(written))
    return value_operand("vb_form_controls(" + q(proc->owner) + ")");
  if (compiler.find_control(proc, key) && !names_variable(written)) {
    // A control stands for itself where an object is expected, else for
    // its default member (s = txtName reads the text).
    const auto member = compiler.control_default(proc, written);
    if (object_wanted || !member || compiler.is_control_array(key))
      return value_operand(*compiler.control_object(proc, written, local));
    return value_operand("vb_get(" + q(written) + "," + q(*member) + ")");
  }
  if (is_object_name(compiler, key) && !names_variable(written))
    fail("Form/control object must be accessed via member: " + written);
  // A built-in without arguments (Timer, Rnd) unless a variable has its name.
  static const std::set<std::string, std::less<>> bare = {"now",      "date",   "time", "timer",
                                                          "rnd",      "freefile", "dir", "curdir", "error"};
  if (bare.count(key) && BUILTINS.count(key)) {
    try {
      (void)compiler.resolve_variable(proc, written, local);
      return compiler.variable_operand(proc, written, local);
    } catch (const NativeCompileError&) {
      return value_operand("vb_builtin(" + q(key) + ",0," + value_array({}) + ")");
    }
  }
  if (proc && proc->kind == "function" && key == name_key(proc->name) && !local.count(key)) {
    // Inside a function its name is its result so far.
    const int bits = compiler.result_bits(*proc);
    if (bits >= 0) return {"_ret", Ty::Int, bits, ""};
    if (compiler.attempting()) return {"_ret", Ty::Int, 63, ""};
    return value_operand("_ret");
  }
  if (const NativeProcedure* callee = compiler.is_procedure_name(proc, key) ? compiler.callee_of(proc, written) : nullptr;
      callee && callee->kind == "function" && !names_variable(written))
    return procedure_call(written, {}, {});  // a function's name alone calls it without arguments
  if (compiler.form_property_name(proc, written, local))
    return value_operand("vb_get(" + q(proc->owner) + "," + q(written) + ")");
  if (compiler.class_property_name(proc, written, local, "get"))
    return value_operand("vb_member_get((*a_self)," + q(written) + ")");
  const std::string c = compiler.resolve_or_implicit(proc, written, local);
  if (!local.count(key) && compiler.reads_check_declared(key))
    return value_operand("vb_declared_read(" + c + "," + q(written) + ")");
  return compiler.variable_operand(proc, written, local);
}

Operand CExpression::call(const Node& node) {
  const bool object_wanted = std::exchange(want_object_, false) || compiler.setting_object_;
  const std::string written = without_suffix(node.text);
  if (!is_variable_name(written)) fail("Cannot compile expression token " + node.text);
  const std::string key = name_key(written);
  if (compiler.is_control_array(key) && compiler.find_control(proc, key) && !names_variable(written)) {
    // cmdKey(3) alone: the member itself, or its default member as a value.
    if (node.kids.size() != 1) compiler.error(proc, "A control array takes one index: " + written);
    const std::string index = as_value(translate(*node.kids[0]));
    const auto member = compiler.control_default(proc, written);
    if (object_wanted || !member) return value_operand("vb_control_object_at(" + q(written) + "," + index + ")");
    return value_operand("vb_get_at(" + q(written) + "," + index + "," + q(*member) + ")");
  }
  if (compiler.is_control_array(key))
    compiler.error(proc, "A control array element must be used with a member, e.g. " + written + "(0).Caption");
  if (key == "controls" && proc && proc->form_index && node.kids.size() == 1 && !names_variable(written))
    return value_operand("vb_control_list_item(vb_form_controls(" + q(proc->owner) + ")," +
                         as_value(translate(*node.kids[0])) + ")");
  auto [typed_args, refs] = arguments(node, 0);
  std::vector<std::string> args;
  for (const Operand& a : typed_args) args.push_back(as_value(a));
  // A variable followed by parentheses is an array element (built-ins and
  // procedures keep their names).
  if (!BUILTINS.count(key) && !compiler.is_procedure_name(proc, key)) {
    std::optional<std::string> array;
    try {
      array = compiler.resolve_variable(proc, written, local);
    } catch (const NativeCompileError&) {
    }
    if (array && typed_args.size() == 1)
      if (const auto element = compiler.array_element_type(proc, written, local))
        return element_operand(*array, subscript_of(typed_args[0]), written, *element);
    if (array && typed_args.size() == 1) {
      const Operand list = compiler.variable_operand(proc, written, local);
      const auto list_fast = fast_of(list);
      const auto index_fast = fast_of(typed_args[0]);
      if (list.ty == Ty::Value && list_fast && index_fast) {
        const std::string index_slow = typed_args[0].slow.empty() ? as_value(typed_args[0]) : typed_args[0].slow;
        return fast_value("vb_fast_item(&" + list.c + "," + *index_fast + ",&" + FAST_FLAG + ")",
                          compiler.element_read(list.c, {index_slow}, written));
      }
    }
    // (messages name the array as written)
    if (array)
      return value_operand(
          compiler.element_read(as_value(compiler.variable_operand(proc, written, local)), args, written));
  }
  if (is_language_extra(key, args.size()) && !compiler.is_procedure_name(proc, key))
    return value_operand(compiler.in_order(args, [&](const std::vector<std::string>& v) {
      return *language_extra_call(key, v);
    }));
  if (key == "len" && args.size() == 1)  // the commonest built-in in loops, called without the name lookup
    return {compiler.in_order(args, [](const std::vector<std::string>& v) { return "vb_len(" + v[0] + ")"; }), Ty::Int,
            TEXT_POSITION_BITS, ""};
  if (BUILTINS.count(key)) {
    // the built-ins of text loops are called straight, without the lookup by name
    static const std::set<std::string, std::less<>> direct = {"left", "right", "mid", "instr", "chr"};
    const std::string function = direct.count(key) ? "vb_builtin_" + key + "(" : "vb_builtin(" + q(key) + ",";
    const std::string c = compiler.in_order(args, [&](const std::vector<std::string>& v) {
      return function + std::to_string(v.size()) + "," + value_array(v) + ")";
    });
    const auto known = builtin_results().find(key);
    if (known == builtin_results().end()) return value_operand(c);
    // A text's length and the positions in it are below 2^48 (the bytes
    // of the address space), so a For up to Len(s) keeps a typed counter.
    if (known->second == Ty::Int) return {"(" + c + ").integer", Ty::Int, TEXT_POSITION_BITS, ""};
    return {c, known->second, 63, ""};
  }
  return procedure_call(written, typed_args, refs);
}

Operand CExpression::procedure_call(const std::string& written, const std::vector<Operand>& typed_args,
                                    const std::vector<std::optional<std::string>>& refs) {
  std::string c = compiler.call_typed(proc, written, typed_args, refs);
  const NativeProcedure* callee = compiler.callee_of(proc, written);
  if (compiler.attempting()) {
    // Integer-only versions call Integer-only versions.
    if (!callee || !compiler.has_attempt(*callee)) compiler.require_integer_only(value_operand(c));
    const std::string plain = "p_" + c_name(callee->key) + "(";
    for (size_t at = c.find(plain); at != std::string::npos; at = c.find(plain, at + plain.size()))
      c.replace(at, plain.size(), "p_" + c_name(callee->key) + "_int(");
    return {c, Ty::Int, 63, ""};
  }
  if (callee && compiler.result_bits(*callee) >= 0) return {c, Ty::Int, compiler.result_bits(*callee), ""};
  return value_operand(c);
}

Operand CExpression::member(const Node& node) {
  member_object_ = std::exchange(want_object_, false) || compiler.setting_object_;
  if (!valid(node.text)) fail("Invalid member");
  const Node& owner = *node.kids[0];
  if (owner.kind == NodeKind::Name) {
    const std::string written = without_suffix(owner.text);
    const std::string key = name_key(written);
    if (compiler.is_module(key) && !compiler.is_form(key) && !names_variable(written)) return module_member(node);
    // (Me in a class's code is the instance, a local like any other)
    const bool object = is_object_name(compiler, key) && !(key == "me" && local.count(key));
    const bool err = key == "err" && compiler.names_err_object(proc, written, local);
    if (err && node.kind == NodeKind::Method) fail("Cannot call " + written + "." + node.text + " in an expression");
    if (err) return value_operand("vb_err_get(" + q(node.text) + ")");
    if (object) return object_member(node, written, key);
  }
  if (owner.kind == NodeKind::Call && compiler.is_control_array(name_key(without_suffix(owner.text))))
    return control_array_member(node);
  want_object_ = true;  // (Form2.txtName.Text: the control, not its text)
  const std::string target = as_value(translate(owner));
  want_object_ = false;
  if (node.kind == NodeKind::Member) return value_operand("vb_member_get(" + target + "," + q(node.text) + ")");
  std::vector<std::string> operands{target};
  for (const Operand& a : arguments(node, 1).first) operands.push_back(as_value(a));
  return value_operand(compiler.in_order(operands, [&](const std::vector<std::string>& v) {
    std::vector<std::string> rest(v.begin() + 1, v.end());
    return "vb_member_call(" + v[0] + "," + q(node.text) + "," + std::to_string(rest.size()) + "," +
           value_array(rest) + ")";
  }));
}

bool CExpression::names_variable(const std::string& written) const {
  try {
    (void)compiler.resolve_variable(proc, written, local);
    return true;
  } catch (const NativeCompileError&) {
    return false;
  }
}

// Module1.Name: the module's own procedure or variable.
Operand CExpression::module_member(const Node& node) {
  if (node.kind == NodeKind::Method) {
    auto [typed_args, refs] = arguments(node, 1);
    return procedure_call(node.text, typed_args, refs);
  }
  if (const NativeProcedure* callee = compiler.callee_of(proc, node.text);
      callee && callee->kind == "function" && !names_variable(node.text))
    return procedure_call(node.text, {}, {});
  (void)compiler.resolve_variable(proc, node.text, local);
  return compiler.variable_operand(proc, node.text, local);
}

// Form.Member, Control.Member, Me.Member: a form's own variable, the
// result of a control's method or indexed property (List(i)), else the
// runtime's property.
Operand CExpression::object_member(const Node& node, const std::string& written, const std::string& key) {
  const std::string form = key == "me" && proc ? name_key(proc->owner) : key;
  // Me in a form's code is that form, wherever the procedure is called from.
  const std::string form_written = key == "me" && proc && proc->form_index ? proc->owner : written;
  if (const Control* control = compiler.is_form(form) ? compiler.control_of_form(form, name_key(node.text)) : nullptr) {
    // Form2.txtName, Form2.cmdKey(3): that form's control (loaded first
    // when needed), or its default member where a plain value is read.
    std::string object;
    if (node.kind == NodeKind::Member) {
      object = "vb_form_control(" + q(form_written) + "," + q(node.text) + ")";
    } else {
      if (node.kids.size() != 2 || control->index < 0) fail("A control array takes one index: " + node.text);
      object = "vb_form_control_at(" + q(form_written) + "," + q(node.text) + "," +
               as_value(translate(*node.kids[1])) + ")";
    }
    const auto member = default_member_of(control->kind);
    if (member_object_ || !member || (node.kind == NodeKind::Member && control->index >= 0)) return value_operand(object);
    return value_operand("vb_member_get(" + object + "," + q(*member) + ")");
  }
  if (lower(node.text) == "controls" && (compiler.is_form(form) || key == "me")) {
    const std::string list = "vb_form_controls(" + q(key == "me" && proc ? proc->owner : written) + ")";
    if (node.kind == NodeKind::Member) return value_operand(list);
    if (node.kids.size() == 2) return value_operand("vb_control_list_item(" + list + "," + as_value(translate(*node.kids[1])) + ")");
  }
  if (node.kind == NodeKind::Member) {
    if (const auto variable = compiler.form_variable(form, node.text)) {
      static const Locals none;
      return compiler.variable_operand(nullptr, *variable, none);
    }
    if (const NativeProcedure* get = compiler.form_property(form, node.text, "get"))
      return value_operand(compiler.call_procedure(proc, *get, node.text, {}, {}));
    if (const NativeProcedure* callee = compiler.is_form(form) ? compiler.form_procedure(form, node.text) : nullptr;
        callee && callee->kind == "function")
      return value_operand("(vb_load_form(" + q(callee->owner) + ")," +
                           as_value(value_operand(compiler.call_procedure(proc, *callee, node.text, {}, {}))) + ")");
    return value_operand("vb_get(" + q(form_written) + "," + q(node.text) + ")");
  }
  if (const NativeProcedure* get = compiler.form_property(form, node.text, "get")) {
    auto [typed_args, refs] = arguments(node, 1);
    return value_operand(compiler.call_procedure(proc, *get, node.text, typed_args, refs));
  }
  // Form2.Total(3): the form's own Function, the form loaded first.
  if (const NativeProcedure* callee = compiler.is_form(form) ? compiler.form_procedure(form, node.text) : nullptr;
      callee && callee->kind == "function") {
    auto [typed_args, refs] = arguments(node, 1);
    return value_operand("(vb_load_form(" + q(callee->owner) + ")," +
                         as_value(value_operand(compiler.call_procedure(proc, *callee, node.text, typed_args, refs))) +
                         ")");
  }
  std::vector<std::string> operands;
  for (const Operand& a : arguments(node, 1).first) operands.push_back(as_value(a));
  return value_operand(compiler.in_order(operands, [&](const std::vector<std::string>& v) {
    return "vb_control_call(" + q(form_written) + "," + q(node.text) + "," + std::to_string(v.size()) + "," +
           value_array(v) + ")";
  }));
}

// cmdKey(i).Caption: a member of a control array's element, read from the
// runtime; cmdKey(i).Method(args) calls it.
Operand CExpression::control_array_member(const Node& node) {
  const Node& owner = *node.kids[0];
  const std::string name = without_suffix(owner.text);
  if (owner.kids.size() != 1) compiler.error(proc, "A control array takes one index: " + name);
  std::vector<std::string> operands{as_value(translate(*owner.kids[0]))};
  if (node.kind == NodeKind::Member)
    return value_operand("vb_get_at(" + q(name) + "," + operands[0] + "," + q(node.text) + ")");
  for (const Operand& a : arguments(node, 1).first) operands.push_back(as_value(a));
  return value_operand(compiler.in_order(operands, [&](const std::vector<std::string>& v) {
    const std::vector<std::string> rest(v.begin() + 1, v.end());
    return "vb_control_call_at(" + q(name) + "," + v[0] + "," + q(node.text) + "," + std::to_string(rest.size()) +
           "," + value_array(rest) + ")";
  }));
}

std::pair<std::vector<Operand>, std::vector<std::optional<std::string>>> CExpression::arguments(const Node& node,
                                                                                                size_t first) {
  std::vector<Operand> args;
  std::vector<std::optional<std::string>> refs;
  // A procedure or method receives a control named alone as the control
  // (TypeName and IsObject look at it too); built-ins read its value.
  const std::string callee = name_key(without_suffix(node.text));
  static const std::set<std::string, std::less<>> object_builtins = {"typename", "isobject", "vartype"};
  const bool objects = node.kind == NodeKind::Method || object_builtins.count(callee) ||
                       (!BUILTINS.count(callee) && !is_language_extra(callee, node.kids.size() - first)) ||
                       compiler.is_procedure_name(proc, callee);
  const NativeProcedure* target = node.kind == NodeKind::Call ? compiler.callee_of(proc, callee) : nullptr;
  for (size_t k = first; k < node.kids.size(); ++k) {
    const Node& arg = *node.kids[k];
    // (a parameter declared as a plain type takes the value)
    const bool plain = target && k - first < target->params.size() &&
                       target->params[k - first].type != "variant" && target->params[k - first].type != "object";
    want_object_ = objects && !plain && (arg.kind == NodeKind::Name || arg.kind == NodeKind::Call);
    args.push_back(translate(arg));
    want_object_ = false;
    // A plain variable (not parenthesised) goes by reference.
    std::optional<std::string> ref;
    if (node.kind == NodeKind::Call && k < node.refs.size() && node.refs[k] != NO_SYMBOL &&
        arg.kind == NodeKind::Name) {
      try {
        ref = compiler.resolve_variable(proc, without_suffix(arg.text), local);
      } catch (const NativeCompileError&) {
      }
    }
    refs.push_back(ref);
  }
  return {args, refs};
}

}  // namespace corvane
