// Expression translation: tokens, precedence climbing, terms, names and
// member chains. Operands with observable effects are evaluated strictly
// left to right through temporaries (NativeCompiler::in_order).
#include "native_compiler/expressions.h"
#include "native_compiler/form_objects.h"

#include <map>

#include "basic/tokens.h"
#include "native_compiler/patterns.h"

namespace corvane {

namespace {

const std::map<std::string, int, std::less<>>& prec() {
  static const std::map<std::string, int, std::less<>> table = {
      {"or", 1}, {"xor", 2}, {"and", 3}, {"=", 4},  {"<>", 4}, {"<", 4}, {">", 4}, {"<=", 4}, {">=", 4},
      {"is", 4}, {"like", 4},
      {"&", 5},  {"+", 6},   {"-", 6},   {"mod", 7}, {"*", 7},  {"/", 7}, {"\\", 7}, {"^", 8}};
  return table;
}

// Built-ins whose result kind never varies: Integer counts and positions,
// and texts.
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
      {"vbsystem", "vb_int(4)"},  {"vbdirectory", "vb_int(16)"}, {"vbarchive", "vb_int(32)"}};
  return table;
}

// Deep nesting fails cleanly instead of exhausting the stack.
constexpr int MAX_DEPTH = 400;

// Decimal digits of a hexadecimal digit string.
std::string hex_to_decimal(std::string_view hex) {
  std::string dec = "0";  // little-endian decimal digits
  for (char h : hex) {
    int v = (h >= '0' && h <= '9') ? h - '0' : (h >= 'a' && h <= 'f') ? h - 'a' + 10 : h - 'A' + 10;
    int carry = v;
    for (char& d : dec) {
      int x = (d - '0') * 16 + carry;
      d = static_cast<char>('0' + x % 10);
      carry = x / 10;
    }
    while (carry) {
      dec += static_cast<char>('0' + carry % 10);
      carry /= 10;
    }
  }
  while (dec.size() > 1 && dec.back() == '0') dec.pop_back();
  return std::string(dec.rbegin(), dec.rend());
}

// An Integer literal: an Integer while it fits 64 bits, else a Double.
Operand integer_literal(std::string digits) {
  size_t start = digits.find_first_not_of('0');
  digits = start == std::string::npos ? "0" : digits.substr(start);
  if (digits.size() > 19 || (digits.size() == 19 && digits > "9223372036854775807"))
    return {digits + ".0", Ty::Dbl, 63, ""};
  return int_literal(digits);
}

}  // namespace

std::string value_array(const std::vector<std::string>& items) {
  std::string out = "(VBValue[]){";
  if (items.empty()) return out + "vb_int(0)}";
  for (size_t k = 0; k < items.size(); ++k) out += (k ? "," : "") + items[k];
  return out + "}";
}

CExpression::CExpression(NativeCompiler& compiler_, std::string_view source, const NativeProcedure* proc_,
                         const Locals& local_)
    : compiler(compiler_), proc(proc_), local(local_) {
  size_t pos = 0;
  std::string unmatched;
  const auto flush = [&] {
    if (!strip_text(unmatched).empty()) fail("Unrecognized expression text: " + unmatched);
    unmatched.clear();
  };
  while (pos < source.size()) {
    bool space = false;
    const size_t len = match_token(source, pos, space);
    if (len == 0) {
      // Advance by one whole UTF-8 character.
      size_t step = 1;
      while (pos + step < source.size() && (static_cast<unsigned char>(source[pos + step]) & 0xC0) == 0x80) ++step;
      unmatched += source.substr(pos, step);
      pos += step;
      continue;
    }
    flush();
    if (!space) tokens.emplace_back(source.substr(pos, len));
    pos += len;
  }
  flush();
}

void CExpression::fail(std::string_view message) const { compiler.error(proc, message); }

std::optional<std::string> CExpression::peek() const {
  if (i < tokens.size()) return tokens[i];
  return std::nullopt;
}

std::optional<std::string> CExpression::take() {
  if (i < tokens.size()) return tokens[i++];
  return std::nullopt;
}

bool CExpression::accept(std::string_view word) {
  if (i < tokens.size() && lower(tokens[i]) == lower(word)) {
    ++i;
    return true;
  }
  return false;
}

void CExpression::require(std::string_view word) {
  if (!accept(word)) fail("Expected " + std::string(word));
}

std::string CExpression::parse() { return as_value(parse_typed()); }

Operand CExpression::parse_typed() {
  if (tokens.empty()) fail("Empty expression");
  Operand result = expr(0);
  if (i < tokens.size()) fail("Unexpected expression token: " + tokens[i]);
  return result;
}

std::optional<std::vector<std::string>> CExpression::append_pieces(std::string_view name_key_text) {
  if (tokens.size() < 3 || tokens[1] != "&" || !is_variable_name(tokens[0]) || name_key(tokens[0]) != name_key_text)
    return std::nullopt;
  std::vector<std::string> pieces;
  i = 1;
  while (i < tokens.size() && tokens[i] == "&") {
    ++i;
    pieces.push_back(as_value(expr(6)));
  }
  if (i < tokens.size()) return std::nullopt;
  return pieces;
}

Operand CExpression::binary(const std::string& op, const Operand& left, const Operand& right) {
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
  const bool comparison = op == "=" || op == "<>" || op == "<" || op == ">" || op == "<=" || op == ">=";
  std::string c = compiler.in_order({as_value(left), as_value(right)}, [&](const std::vector<std::string>& v) {
    return dynamic_binary(op, v[0], v[1]);
  });
  // Comparisons and & keep their known result kinds.
  if (comparison) return {"vb_truth(" + c + ")", Ty::Bool, 63, ""};
  if (op == "&") return {c, Ty::Str, 63, ""};
  return value_operand(c);
}

Operand CExpression::expr(int lower_level) {
  if (++depth > MAX_DEPTH) fail("Expression is nested too deeply");
  if (i >= tokens.size()) fail("Missing expression term");
  Operand left;
  const std::string first = tokens[i];
  if (lower(first) == "not") {
    ++i;
    Operand operand = expr(4);
    if (!typed_unary("not", operand, left)) left = value_operand("vb_not(" + as_value(operand) + ")");
  } else if (first == "-") {
    ++i;
    Operand operand = expr(8);
    if (!typed_unary("-", operand, left)) left = value_operand("vb_neg(" + as_value(operand) + ")");
  } else if (first == "+") {
    ++i;
    left = expr(8);
  } else if (first == "(") {
    ++i;
    left = expr(0);
    require(")");
  } else {
    left = term();
  }
  while (i < tokens.size()) {
    const std::string op = lower(tokens[i]);
    const auto it = prec().find(op);
    if (it == prec().end() || it->second < lower_level) break;
    ++i;
    const int level = it->second;
    Operand right = expr(op == "^" ? level : level + 1);
    left = binary(op, left, right);
  }
  --depth;
  return left;
}

Operand CExpression::number(const std::string& token) {
  static const Regex hex("&H([0-9A-Fa-f]+)&?\\z", Regex::CASELESS);
  if (auto g = hex.match_groups(token)) {
    return integer_literal(hex_to_decimal((*g)[1]));
  }
  // Decimal: leading zeros dropped, since C would read them as octal. A
  // number without point or exponent is an Integer, as in the interpreter.
  if (token.find_first_of(".eE") == std::string::npos) return integer_literal(token);
  std::string digits = decimal_constant(token);
  if (digits.find_first_of(".eE") == std::string::npos) digits += ".0";
  return {digits, Ty::Dbl, 63, ""};
}

Operand CExpression::term() {
  std::string token = *take();
  // a type-suffixed number (3000000000#, 5&) is the number
  if (token.size() > 1 && token[0] >= '0' && token[0] <= '9' &&
      std::string_view("#!@%&").find(token.back()) != std::string_view::npos)
    token.pop_back();
  static const Regex decimal("\\d+(?:\\.\\d*)?(?:[Ee][+-]?\\d+)?\\z");
  static const Regex hex("&H[0-9A-Fa-f]+&?\\z", Regex::CASELESS);
  static const Regex word_re("[A-Za-z_]\\w*[$%!#]?\\z");
  if (token.size() >= 2 && token.front() == '"' && token.back() == '"') {
    std::string inner;
    for (size_t k = 1; k + 1 < token.size(); ++k) {
      inner += token[k];
      if (token[k] == '"') ++k;  // "" stands for one quote
    }
    return {"vb_str(" + q(inner) + ")", Ty::Str, 63, ""};
  }
  if (hex.match(token) || decimal.match(token)) return number(token);
  if (word_re.match(token)) return members(word(token));
  fail("Cannot compile expression token " + token);
}

Operand CExpression::word(const std::string& token) {
  std::string name = token;
  if (!name.empty() && std::string_view("$%!#").find(name.back()) != std::string_view::npos) name.pop_back();
  const std::string key = name_key(name);
  if (key == "new") {
    auto cls = take();
    if (!cls || !valid(*cls)) fail("New requires a class name");
    std::string class_name = *cls;
    if (accept(".")) {
      auto part = take();
      if (!part || !valid(*part)) fail("Invalid qualified New class");
      class_name += "." + *part;
    }
    const std::string class_key = lower(class_name);
    if (!compiler.is_class(class_key) && class_key != "adodb.connection" && class_key != "adodb.recordset")
      fail("Unknown class after New: " + class_name);
    return value_operand("vb_new(" + q(class_name) + ")");
  }
  if (key == "true" || key == "false") return {key == "true" ? "1" : "0", Ty::Bool, 63, ""};
  // Module1.Name: the module's own procedure or variable.
  if (compiler.is_module(key) && peek() && *peek() == "." && !compiler.is_form(key)) {
    bool variable = true;
    try {
      (void)compiler.resolve_variable(proc, name, local);
    } catch (const NativeCompileError&) {
      variable = false;
    }
    if (!variable) {
      take();
      auto member = take();
      if (!member || !valid(*member)) fail("Invalid member");
      return word(*member);
    }
  }
  if (RESERVED.count(key)) {
    const std::string c = reserved_c().at(key);
    return c.rfind("vb_str(", 0) == 0 ? Operand{c, Ty::Str, 63, ""} : value_operand(c);
  }
  if (peek() && *peek() == "(" && compiler.is_control_array(key))
    return control_array_member(*this, compiler, proc, local, name);
  if (peek() && *peek() == "(") {
    take();
    auto [typed_args, refs] = arguments();
    std::vector<std::string> args;
    for (const Operand& a : typed_args) args.push_back(as_value(a));
    // A variable followed by parentheses is an array element (built-ins and
    // procedures keep their names).
    if (!BUILTINS.count(key) && !compiler.is_procedure_name(proc, key)) {
      std::optional<std::string> array;
      try {
        array = compiler.resolve_variable(proc, name, local);
      } catch (const NativeCompileError&) {
      }
      if (array && typed_args.size() == 1)
        if (const auto element = compiler.array_element_type(proc, name, local))
          return element_operand(*array, subscript_of(typed_args[0]), name, *element);
      // (messages name the array as written)
      if (array)
        return value_operand(
            compiler.element_read(as_value(compiler.variable_operand(proc, name, local)), args, name));
    }
    if (BUILTINS.count(key)) {
      const std::string c = compiler.in_order(args, [&](const std::vector<std::string>& v) {
        return "vb_builtin(" + q(key) + "," + std::to_string(v.size()) + "," + value_array(v) + ")";
      });
      const auto known = builtin_results().find(key);
      if (known == builtin_results().end()) return value_operand(c);
      if (known->second == Ty::Int) return {"(" + c + ").integer", Ty::Int, MAX_EXACT_BITS, ""};
      return {c, known->second, 63, ""};
    }
    std::string call = compiler.call_typed(proc, name, typed_args, refs);
    const NativeProcedure* callee = compiler.callee_of(proc, name);
    if (compiler.attempting()) {
      // Integer-only versions call Integer-only versions.
      if (!callee || !compiler.has_attempt(*callee)) compiler.require_integer_only(value_operand(call));
      const std::string plain = "p_" + c_name(callee->key) + "(";
      for (size_t at = call.find(plain); at != std::string::npos; at = call.find(plain, at + plain.size()))
        call.replace(at, plain.size(), "p_" + c_name(callee->key) + "_int(");
      return {call, Ty::Int, 63, ""};
    }
    if (callee && compiler.result_bits(*callee) >= 0) return {call, Ty::Int, compiler.result_bits(*callee), ""};
    return value_operand(call);
  }
  if (key == "err" && peek() && *peek() == ".") {
    // Err, unless a variable of that name hides it.
    bool variable = true;
    try {
      (void)compiler.resolve_variable(proc, name, local);
    } catch (const NativeCompileError&) {
      variable = false;
    }
    if (!variable) {
      take();
      auto member = take();
      if (!member || !valid(*member)) fail("Invalid member");
      return value_operand("vb_err_get(" + q(*member) + ")");
    }
  }
  if (compiler.is_form(key) || compiler.is_control(key) || key == "me" || key == "app" || key == "screen") {
    if (!accept(".")) fail("Form/control object must be accessed via member: " + name);
    auto member = take();
    if (!member || !valid(*member)) fail("Invalid member");
    // (Me.Name: the variable of the procedure's own form)
    const std::string form = key == "me" && proc ? name_key(proc->owner) : key;
    if (const auto variable = compiler.form_variable(form, *member)) {
      static const Locals none;
      return compiler.variable_operand(nullptr, *variable, none);
    }
    if (peek() && *peek() == "(") return control_method_result(*this, compiler, name, "", *member);
    return value_operand("vb_get(" + q(name) + "," + q(*member) + ")");
  }
  // A built-in without arguments (Timer, Rnd) unless a variable has its name.
  static const std::set<std::string, std::less<>> bare = {"now",      "date",   "time", "timer",
                                                          "rnd",      "freefile", "dir", "curdir"};
  if (bare.count(key) && BUILTINS.count(key)) {
    try {
      (void)compiler.resolve_variable(proc, name, local);
      return compiler.variable_operand(proc, name, local);
    } catch (const NativeCompileError&) {
      return value_operand("vb_builtin(" + q(key) + ",0," + value_array({}) + ")");
    }
  }
  (void)compiler.resolve_or_implicit(proc, name, local);
  return compiler.variable_operand(proc, name, local);
}

Operand CExpression::members(Operand typed) {
  if (!peek() || *peek() != ".") return typed;
  std::string current = as_value(typed);
  while (peek() && *peek() == ".") {
    take();
    auto member = take();
    if (!member || !valid(*member)) fail("Invalid member");
    if (peek() && *peek() == "(") {
      take();
      auto args = arguments().first;
      std::vector<std::string> operands{current};
      for (const Operand& a : args) operands.push_back(as_value(a));
      current = compiler.in_order(operands, [&](const std::vector<std::string>& v) {
        std::vector<std::string> rest(v.begin() + 1, v.end());
        return "vb_member_call(" + v[0] + "," + q(*member) + "," + std::to_string(rest.size()) + "," +
               value_array(rest) + ")";
      });
    } else {
      current = "vb_member_get(" + current + "," + q(*member) + ")";
    }
  }
  return value_operand(current);
}

std::pair<std::vector<Operand>, std::vector<std::optional<std::string>>> CExpression::arguments() {
  std::vector<Operand> args;
  std::vector<std::optional<std::string>> refs;
  if (accept(")")) return {args, refs};
  while (true) {
    const size_t start = i;
    // A left-out argument (FormatNumber(x, , , , 0)) is Nothing.
    if (peek() && (*peek() == "," || *peek() == ")")) {
      args.push_back(value_operand("vb_nothing()"));
      refs.push_back(std::nullopt);
      if (accept(")")) break;
      require(",");
      continue;
    }
    args.push_back(expr(0));
    std::optional<std::string> ref;
    if (i == start + 1 && is_variable_name(tokens[start])) {
      try {
        ref = compiler.resolve_variable(proc, tokens[start], local);
      } catch (const NativeCompileError&) {
      }
    }
    refs.push_back(ref);
    if (accept(")")) break;
    require(",");
  }
  return {args, refs};
}

}  // namespace corvane
