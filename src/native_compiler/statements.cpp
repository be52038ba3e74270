// Statement translation: block statements into C blocks and loops, every
// other line into calls of the runtime interface.
#include <algorithm>
#include <optional>

#include "basic/declaration_reader.h"
#include "basic/expr.h"
#include "basic/objects.h"
#include "native_compiler/expressions.h"
#include "native_compiler/language_extras.h"
#include "native_compiler/patterns.h"

namespace corvane {

namespace {

constexpr uint32_t CI = Regex::CASELESS;

// The operand of a declaration's initial value (a literal's C text).
Operand initial_operand(const std::string& init) {
  const auto inner = [&](size_t open) { return init.substr(open, init.size() - open - 1); };
  if (init.rfind("vb_int(", 0) == 0) return {inner(7) + "LL", Ty::Int, MAX_EXACT_BITS, ""};
  if (init.rfind("vb_num(", 0) == 0) return {inner(7), Ty::Dbl, 63, ""};
  if (init.rfind("vb_bool(", 0) == 0) return {inner(8), Ty::Bool, 63, ""};
  if (init.rfind("vb_str(", 0) == 0) return {init, Ty::Str, 63, ""};
  return value_operand(init);
}

// The C string literal of a piece that is one text literal (vb_str("..."));
// nothing for any other piece.
std::optional<std::string> c_literal_text(const std::string& piece) {
  constexpr std::string_view head = "vb_str(\"";
  if (piece.rfind(head, 0) != 0 || piece.size() < head.size() + 2 || piece.compare(piece.size() - 2, 2, "\")") != 0)
    return std::nullopt;
  size_t at = head.size();
  for (; at < piece.size() && piece[at] != '"'; ++at)
    if (piece[at] == '\\') ++at;
  if (at != piece.size() - 2) return std::nullopt;  // the literal ends before the piece does
  return piece.substr(head.size() - 1, piece.size() - head.size());
}

// Whether every parenthesis of the text (outside string literals) closes
// after it opens and within it.
bool balanced(std::string_view text) {
  int depth = 0;
  bool quoted = false;
  for (char c : text) {
    if (c == '"') quoted = !quoted;
    if (quoted) continue;
    if (c == '(') ++depth;
    if (c == ')' && --depth < 0) return false;
  }
  return depth == 0;
}

std::string pad(int indent) { return std::string(static_cast<size_t>(indent) * 4, ' '); }

// Whether the text before a statement's "=" can be what it assigns to: no
// blank outside parentheses and strings (x, a(i + 1), t.Text, Mid$(s, 1)).
bool assignable_target(std::string_view text) {
  const std::string target = strip_text(text);
  int depth = 0;
  bool quoted = false;
  for (const char c : target) {
    if (c == '"') quoted = !quoted;
    if (quoted) continue;
    if (c == '(') ++depth;
    else if (c == ')') --depth;
    else if (depth == 0 && (c == ' ' || c == '\t')) return false;
  }
  return true;
}

// The owner of a member as messages name it: a With block's target is
// "__with__", as interpreted.
std::string owner_in_messages(const std::string& owner) {
  return owner.rfind("__with_", 0) == 0 ? "__with__" : owner;
}

struct Block {
  std::string kind;  // if, select, for, do, while
  int n = 0;         // statement number (select)
  bool case_open = false;
};

// Where the last member (".name") or subscript list ("(...)") of an
// assignment target begins, outside strings and parentheses; npos when the
// target is a plain name.
size_t last_accessor(std::string_view target) {
  if (!target.empty() && target.back() == ')') {
    int depth = 0;
    bool in_string = false;
    for (size_t k = target.size(); k-- > 0;) {
      const char c = target[k];
      if (c == '"') in_string = !in_string;
      if (in_string) continue;
      if (c == ')') ++depth;
      if (c == '(' && --depth == 0) return k;
    }
    return std::string_view::npos;
  }
  int depth = 0;
  bool in_string = false;
  size_t last = std::string_view::npos;
  for (size_t k = 0; k < target.size(); ++k) {
    const char c = target[k];
    if (c == '"') in_string = !in_string;
    if (in_string) continue;
    if (c == '(') ++depth;
    if (c == ')') --depth;
    if (c == '.' && depth == 0) last = k;
  }
  return last;
}

// The start of a procedure with On Error: its error state, the trap that
// failures come back to, and the jumps to a handler or a resume point.
std::vector<std::string> trap_dispatch(const std::map<std::string, int>& handlers, const std::vector<int>& numbered) {
  std::vector<std::string> out = {
      "    volatile int _err_mode = 0, _at = 0, _failed = 0, _in_handler = 0, _trapped = 0, _handler = 0;",
      "    jmp_buf _trap;",
      "    if(setjmp(_trap)) {",
      "        _trapped = 0;",
      "        _failed = _at;",
      "        if(_err_mode == 2 && !_in_handler) {",
      "            _in_handler = 1; _err_mode = 0;",
      "            switch(_handler) {"};
  for (const auto& [label, id] : handlers)
    out.push_back("            case " + std::to_string(id) + ": goto _lbl_" + c_name(label) + ";");
  out.insert(out.end(), {"            }",
                         "        }",
                         "        if(_err_mode != 1) vb_err_rethrow();",
                         "        vb_trap_enter(&_trap); _trapped = 1;",
                         "        goto _resume_next;",
                         "    }",
                         "    goto _body;",
                         "_resume_next:",
                         "    switch(_failed) {"});
  for (int k : numbered) out.push_back("    case " + std::to_string(k) + ": goto _rn_" + std::to_string(k) + ";");
  out.insert(out.end(), {"    }", "    goto _body;", "_resume_at:", "    switch(_failed) {"});
  for (int k : numbered) out.push_back("    case " + std::to_string(k) + ": goto _rs_" + std::to_string(k) + ";");
  out.insert(out.end(), {"    }", "_body:;"});
  return out;
}

int level_of(const std::vector<Block>& stack) {
  int level = 1;
  for (const Block& b : stack) level += 1 + (b.case_open ? 1 : 0);
  return level;
}

}  // namespace

std::vector<std::string> NativeCompiler::declare(const NativeProcedure& proc, std::string_view line, Locals& locals,
                                                 int indent) {
  std::vector<std::string> out;
  // A variable of a form's type stands for that form (one instance of each
  // form, as the runtime keeps them).
  static const Regex form_variable(R"(^Dim\s+([\p{L}_]\w*)\s+As\s+(?:New\s+)?([\p{L}_]\w*)$)", CI);
  if (auto g = form_variable.match_groups(line); g && is_form(name_key((*g)[2]))) {
    for (const VBForm& form : project_.forms)
      if (name_key(form.name) == name_key((*g)[2])) form_aliases_[name_key((*g)[1])] = form.name;
    return {};
  }
  static const Regex static_head(R"(^Static\s)", CI);
  const bool is_static = static_head.match(line);
  for (const Declaration& d : parse_declaration(line, proc.owner)) {
    if (locals.count(d.name)) error(&proc, "Variable declared more than once: " + d.name);
    if (d.name == name_key(proc.name)) error(&proc, "Cannot redeclare function name");
    const std::string c = "l_" + c_name(d.name);
    const bool computed = !d.value.empty();
    const bool scalar = !d.array_bound && may_type(proc.key, d.name, d.type);
    std::string decl =
        value_decl() + c + " = " + (d.array_bound || computed ? std::string("vb_int(0)") : d.init) + ";";
    if (scalar) {
      const Ty ty = scalar_type(d.type);
      // A Double starts as the Integer 0 unless a value is given.
      const bool default_value =
          computed || d.init == "vb_int(0)" || d.init == "vb_bool(0)" || d.init == "vb_str(\"\")";
      const std::string init = default_value ? c_initial(ty) : store_to(initial_operand(d.init), d.type);
      // Locals of a procedure with On Error keep their values across the jump to its handler.
      decl = (traps_ ? "volatile " : "") + c_type(ty) + " " + c + " = " + init + ";";
      scalar_locals_[c] = d.type;
    }
    // VB variables live for the whole procedure and start once per call
    // (a jump back over a Dim does not start them again); a Static one
    // lives as long as the program and starts once.
    if (is_static) {
      const size_t equal = decl.find(" = ");
      const std::string init = decl.substr(equal + 3, decl.size() - equal - 4);
      hoisted_.push_back(pad(1) + "static " + decl.substr(0, equal) + "; static int " + c + "_started; if(!" + c +
                         "_started){" + c + "_started=1; " + c + " = " + init + ";}");
    } else if (in_block_ || hoist_all_) hoisted_.push_back(pad(1) + decl);
    else out.push_back(pad(indent) + decl);
    // An array is made where its Dim stands (its bound may use earlier
    // statements' results); running the Dim again keeps the array.
    if (d.array_bound)
      out.push_back(pad(indent) + "if(!vb_is_array(" + c + ")) " + c + " = " + array_init(&proc, d, locals) + ";");
    // A constant computed from other names gets its value where it stands.
    if (computed) {
      locals[d.name] = {c, false, d.type, scalar, d.array_bound ? d.type : ""};
      out.push_back(pad(indent) + c + " = " +
                    (scalar ? store_to(typed_expr(&proc, d.value, locals), d.type) : expr(&proc, d.value, locals)) +
                    ";");
    }
    locals[d.name] = {c, false, d.type, scalar, d.array_bound ? d.type : ""};
  }
  return out;
}

std::string NativeCompiler::loop_exit(const NativeProcedure& proc, bool for_loop) {
  // Exit For leaves the innermost For, Exit Do the innermost Do, whatever
  // loops of other kinds stand between (a C break would leave those).
  const std::string wanted = for_loop ? "for" : "do";
  for (auto it = open_blocks_.rbegin(); it != open_blocks_.rend(); ++it) {
    if (it->first == wanted) {
      for (auto inner = open_blocks_.rbegin(); inner != it; ++inner)
        if (inner->first == "for" || inner->first == "do" || inner->first == "while") {
          exit_labels_.insert(it->second);
          return "goto _exit_" + std::to_string(it->second) + ";";
        }
      return "break;";
    }
  }
  error(&proc, "Exit For/Do outside loop");
}

std::vector<std::string> NativeCompiler::redim(const NativeProcedure& proc, std::string_view line, Locals& locals,
                                               int indent) {
  static const Regex redim_re(R"(^ReDim\s+(Preserve\s+)?(.+)$)", CI);
  auto g = redim_re.match_groups(line);
  if (!g) error(&proc, "Native compiler does not support statement: " + std::string(line));
  const bool preserve = !(*g)[1].empty();
  std::vector<std::string> out;
  for (const DeclaredName& p : read_declared_names((*g)[2])) {
    // rec.Items(n), a(i).Items(n): an array field of a record
    static const Regex field_re(R"(^(.+)\.([\p{L}_]\w*)\s*\((.*)\)$)");
    if (auto f = field_re.match_groups(strip_text(p.text)); f && balanced((*f)[1]) && balanced((*f)[3])) {
      const std::string owner = (*f)[1], written = owner + "." + (*f)[2];
      const std::vector<DeclaredBound> dims = read_bounds((*f)[3]);
      if (dims.empty()) error(&proc, "Native compiler does not support statement: " + std::string(line));
      const auto base = option_base_.find(std::string(proc.owner));
      const std::string base_value = "vb_int(" + std::to_string(base == option_base_.end() ? 0 : base->second) + ")";
      std::vector<std::string> pairs;
      for (const DeclaredBound& dim : dims) {
        pairs.push_back(dim.lower.empty() ? base_value : expr(&proc, dim.lower, locals));
        pairs.push_back(expr(&proc, dim.upper, locals));
      }
      out.push_back(pad(indent) + "vb_redim_field(" + expr(&proc, owner, locals) + "," + q(name_key((*f)[2])) + "," +
                    std::to_string(dims.size()) + "," + value_array(pairs) + "," + (preserve ? "1" : "0") + "," +
                    q(written) + ");");
      continue;
    }
    const bool shaped = p.plain && p.is_array && !p.bounds.empty() && !p.suffix && !p.as_new && p.value.empty() &&
                        p.fixed_length.empty();
    if (!shaped) error(&proc, "Native compiler does not support statement: " + std::string(line));
    const std::string key = name_key(p.name);
    std::string d;
    std::string type = p.type.empty() ? "variant" : name_key(p.type);
    try {
      d = resolve_variable(&proc, p.name, locals);
      require_value_variable(&proc, p.name, locals);  // becomes an array
      // New elements start as the declared element type's initial value.
      if (type == "variant") {
        if (auto it = locals.find(key); it != locals.end())
          type = it->second.element.empty() ? it->second.type : it->second.element;
        else if (const GlobalName* gname = find_global(key))
          type = gname->type;
      }
    } catch (const NativeCompileError&) {
      // ReDim of a name not declared yet declares it, as interpreted.
      d = "l_" + c_name(key);
      locals[key] = {d, false, type};
      hoisted_.push_back(pad(1) + value_decl() + d + " = vb_int(0);");
    }
    if (d.rfind("vb_member_get(", 0) == 0 && proc.class_name) {  // an array field of the class
      if (auto it = class_array_fields_.find(*proc.class_name); it != class_array_fields_.end())
        for (const auto& f : it->second)
          if (f[0] == key && type == "variant") type = f[2];
      out.push_back(pad(indent) + "vb_member_set(" + d.substr(14, d.size() - 15) + "," +
                    array_shape(&proc, proc.owner, p.bounds, type, locals, d, preserve) + ");");
      continue;
    }
    out.push_back(pad(indent) + d + " = " + array_shape(&proc, proc.owner, p.bounds, type, locals, d, preserve) + ";");
  }
  return out;
}

std::vector<std::string> NativeCompiler::assignment(const NativeProcedure& proc, std::string_view target,
                                                    std::string_view value, Locals& locals, int indent) {
  static const Regex member(R"(([\p{L}_]\w*)\.([\p{L}_]\w*)$)");
  // A property's Let, or its Set after Set; the other when only that one exists.
  const auto pick = [&](const auto& find) {
    const NativeProcedure* p = find(setting_object_ ? "set" : "let");
    return p ? p : find(setting_object_ ? "let" : "set");
  };
  const auto setter = [&](std::string_view name) {
    return pick([&](std::string_view which) { return property_procedure(&proc, name, which); });
  };
  const auto form_setter = [&](std::string_view form, std::string_view name) {
    return pick([&](std::string_view which) { return form_property(form, name, which); });
  };
  const std::string R = strip_text(value);
  std::string L = strip_text(target);
  // x$ = ... stores into x, as interpreted.
  if (const std::string_view plain = without_type_suffix(L); plain.size() < L.size() && is_variable_name(plain))
    L = std::string(plain);
  if (auto g = member.match_groups(L)) {
    const std::string owner = (*g)[1], field = (*g)[2], key = name_key(owner);
    if (const auto variable = form_variable(key == "me" ? name_key(proc.owner) : key, field))
      return assignment(proc, *variable, R, locals, indent);
    if (is_form(key) || (key == "me" && proc.form_index))
      if (auto call = property_store(proc, form_setter(key == "me" ? proc.owner : owner, field), field, "", R,
                                     locals, indent))
        return *call;
    const bool app = key == "app" && !locals.count(key) && !find_global(key);
    if (is_form(key) || is_control(key) || key == "me" || key == "screen" || app) {
      const std::string c = expr(&proc, R, locals);
      const std::string form = key == "me" && proc.form_index ? proc.owner : owner;  // Me: the code's own form
      return {pad(indent) + "vb_set(" + q(form) + "," + q(field) + "," + c + ");"};
    }
    if (key == "err" && names_err_object(&proc, owner, locals))
      return {pad(indent) + "vb_err_set(" + q(field) + "," + expr(&proc, R, locals) + ");"};
    // Make.Name = n inside Function Make: a member of the result so far.
    const bool result = proc.kind == "function" && key == name_key(proc.name) && !locals.count(key) &&
                        result_bits(proc) < 0;
    std::string obj = "_ret";
    if (!result) {
      try {
        // (an undeclared name reads as such a name does in an expression)
        obj = !locals.count(key) && reads_check_declared(key) ? expr(&proc, owner, locals)
                                                              : as_value(variable_operand(&proc, owner, locals));
      } catch (const NativeCompileError&) {
        obj = expr(&proc, owner, locals);
      }
    }
    const std::string c = expr(&proc, R, locals);
    return {pad(indent) + "vb_member_let(" + obj + "," + q(owner_in_messages(owner)) + "," + q(field) + "," + c + ");"};
  }
  static const Regex control_element(R"(^([\p{L}_]\w*)\s*\((.+)\)\.([\p{L}_]\w*)$)");
  if (auto g = control_element.match_groups(L); g && is_control_array(name_key((*g)[1]))) {
    // The index, then the value, as a member of any other element.
    const std::vector<std::string> operands{expr(&proc, (*g)[2], locals), expr(&proc, R, locals)};
    return {pad(indent) + in_order(operands, [&](const std::vector<std::string>& v) {
              return "vb_set_at(" + q((*g)[1]) + "," + v[0] + "," + q((*g)[3]) + "," + v[1] + ")";
            }) + ";"};
  }
  // lstNames.ItemData(i) = n: an indexed member of a control, set by the
  // runtime (the value first, then the index).
  static const Regex control_indexed(R"(^([\p{L}_]\w*)\.([\p{L}_]\w*)\s*\((.+)\)$)");
  if (auto g = control_indexed.match_groups(L);
      g && is_control(name_key((*g)[1])) && !is_control_array(name_key((*g)[1])) && !locals.count(name_key((*g)[1]))) {
    std::vector<std::string> operands{expr(&proc, R, locals)};
    for (const std::string& piece : split_outside((*g)[3], ',')) operands.push_back(expr(&proc, piece, locals));
    return {pad(indent) + in_order(operands, [&](const std::vector<std::string>& v) {
              const std::vector<std::string> index(v.begin() + 1, v.end());
              return "vb_control_let(" + q((*g)[1]) + "," + q((*g)[2]) + "," + std::to_string(index.size()) + "," +
                     value_array(index) + "," + v[0] + ")";
            }) + ";"};
  }
  static const Regex element_indexed(R"(^([\p{L}_]\w*)\s*\(([^()]+)\)\.([\p{L}_]\w*)\s*\((.+)\)$)");
  if (auto g = element_indexed.match_groups(L); g && is_control_array(name_key((*g)[1]))) {
    std::vector<std::string> operands{expr(&proc, (*g)[2], locals), expr(&proc, R, locals)};
    for (const std::string& piece : split_outside((*g)[4], ',')) operands.push_back(expr(&proc, piece, locals));
    return {pad(indent) + in_order(operands, [&](const std::vector<std::string>& v) {
              const std::vector<std::string> index(v.begin() + 2, v.end());
              return "vb_control_let_at(" + q((*g)[1]) + "," + v[0] + "," + q((*g)[3]) + "," +
                     std::to_string(index.size()) + "," + value_array(index) + "," + v[1] + ")";
            }) + ";"};
  }
  static const Regex element(R"(([\p{L}_]\w*)\s*\((.+)\)$)");
  std::string element_declared;  // the element type, when a String * n element is stored
  const auto store_element = [&](const std::string& array, const std::string& inner, const std::string& name) {
    // An element: the value first, then the subscripts; stored as it is.
    const Operand value = typed_expr(&proc, R, locals);
    std::string c = as_value(value);
    const auto fixed = fixed_text_store(element_declared, c);
    if (fixed) c = *fixed;
    std::vector<Operand> typed_subscripts;
    std::vector<std::string> subscripts;
    for (const std::string& piece : split_outside(inner, ',')) {
      typed_subscripts.push_back(typed_expr(&proc, piece, locals));
      subscripts.push_back(as_value(typed_subscripts.back()));
    }
    const std::string t = new_temporary();
    if (subscripts.size() == 1) {
      const std::string store = t + " = " + c + "; vb_index_set(" + array + "," + subscripts[0] + "," + t + "," +
                                q(name) + ");";
      // A whole number into a Variant array goes in on the spot when it can.
      const auto value_fast = fast_form(value), index_fast = fast_form(typed_subscripts[0]);
      if (!fixed && !traps_ && !attempting() && value_fast && index_fast && is_c_lvalue(array)) {
        const std::string flag = new_typed_temporary("int"), x = new_typed_temporary("long long"),
                          i = new_typed_temporary("long long");
        const std::string ok = "(" + flag + "=1," + x + "=" + *value_fast + "," + i + "=" + *index_fast + "," + flag + ")";
        return std::vector<std::string>{pad(indent) + "if(!vb_fast_store(&" + array + "," +
                                        replace_all(ok, FAST_FLAG, flag) + "," + i + "," + x + ")) { " + store + " }"};
      }
      return std::vector<std::string>{pad(indent) + store};
    }
    return std::vector<std::string>{pad(indent) + t + " = " + c + "; vb_index_set_at(" + array + "," +
                                    std::to_string(subscripts.size()) + "," + value_array(subscripts) + "," + t + "," +
                                    q(name) + ");"};
  };
  // The Mid statement: the variable gets its text with a part replaced.
  static const Regex mid_statement(R"(^Mid\$?\s*\((.+)\)$)", CI);
  if (auto g = mid_statement.match_groups(L)) {
    const std::vector<std::string> args = comma_pieces((*g)[1]);
    bool array = false;
    try {
      array = !resolve_variable(&proc, "mid", locals).empty();
    } catch (const NativeCompileError&) {
    }
    if (!array && (args.size() == 2 || args.size() == 3) && is_variable_name(args[0])) {
      const std::string d = resolve_variable(&proc, args[0], locals);
      std::string type = "variant";
      if (auto it = locals.find(name_key(args[0])); it != locals.end()) type = it->second.type;
      else if (const GlobalName* gname = find_global(name_key(args[0]))) type = gname->type;
      const std::string value = new_temporary(), start = new_temporary();
      const std::string c = expr(&proc, R, locals);
      const std::string from = expr(&proc, args[1], locals);
      const std::string length = args.size() == 3 ? expr(&proc, args[2], locals) : "vb_int(0)";
      const std::string replaced =
          "vb_mid_replace(" + d + "," + start + "," + length + "," + (args.size() == 3 ? "1" : "0") + "," + value + ")";
      const std::string operands = pad(indent) + value + " = " + c + "; " + start + " = " + from + ";";
      if (d.rfind("vb_member_get(", 0) == 0) {  // a class's field: stored as an assignment stores it
        std::vector<std::string> out{operands};
        for (std::string& line : store_read_value(proc, args[0], replaced, locals, indent)) out.push_back(std::move(line));
        return out;
      }
      return {operands + " " + d + " = vb_coerce(" + replaced + "," + q(type) + ");"};
    }
  }
  // (a(2).Items(0) is an element of something longer: its first parentheses close before the end)
  if (auto g = element.match_groups(L); g && balanced((*g)[2])) {
    if (!locals.count(name_key((*g)[1])))
      if (auto call = property_store(proc, setter((*g)[1]), (*g)[1], (*g)[2], R, locals, indent)) return *call;
    const std::string array = resolve_variable(&proc, (*g)[1], locals);
    const auto element_type = array_element_type(&proc, (*g)[1], locals);
    const std::vector<std::string> inner = split_outside((*g)[2], ',');
    if (element_type && inner.size() == 1 && scalar_type(*element_type) != Ty::Str) {
      // The value first, converted to the element type, then the subscript.
      const std::string t = new_typed_temporary(c_type(scalar_type(*element_type)));
      const std::string value = store_to(typed_expr(&proc, R, locals), *element_type);
      const std::string index = subscript_of(typed_expr(&proc, inner[0], locals));
      return {pad(indent) + t + " = " + value + "; " +
              element_store(array, index, t, (*g)[1], *element_type)};
    }
    if (const auto it = locals.find(name_key((*g)[1])); it != locals.end()) element_declared = it->second.element;
    else if (const GlobalName* global = find_global(name_key((*g)[1])); global && global->array)
      element_declared = global->type;
    return store_element(array, (*g)[2], (*g)[1]);
  }
  // A member or element of something longer (a(i).X, p.Inner.X, p.Items(2)):
  // the container is read as an expression and changed in place.
  if (const size_t cut = last_accessor(L); cut != std::string::npos && cut > 0) {
    const std::string container = strip_text(L.substr(0, cut));
    if (L[cut] == '.') {
      const std::string field = strip_text(L.substr(cut + 1));
      if (!valid(field)) error(&proc, "Unsupported native assignment target: " + L);
      const std::string obj = object_expr(proc, container, locals);
      const std::string c = expr(&proc, R, locals);
      return {pad(indent) + "vb_member_let(" + obj + "," + q(owner_in_messages(container)) + "," + q(field) + "," + c +
              ");"};
    }
    const std::string inner = L.substr(cut + 1, L.size() - cut - 2);
    const size_t dot = container.rfind('.');
    const std::string name = name_key(dot == std::string::npos ? container : container.substr(dot + 1));
    return store_element(expr(&proc, container, locals), inner, name);
  }
  if (!is_variable_name(L)) error(&proc, "Unsupported native assignment target: " + L);
  const std::string key = name_key(L);
  if (proc.kind == "function" && key == name_key(proc.name)) {
    // The result keeps the assigned value: the declared return type is not
    // applied (the interpreter's rule).
    if (attempting()) {
      const Operand result = typed_expr(&proc, R, locals);
      require_integer_only(result);
      return {pad(indent) + "_ret = " + result.c + ";"};
    }
    if (result_bits(proc) >= 0) {
      const Operand result = typed_expr(&proc, R, locals);
      note_result(proc, result);
      return {pad(indent) + "_ret = " + result.c + ";"};
    }
    const Operand result = typed_expr(&proc, R, locals);
    if (const auto fast = fast_assignment(*this, result, "_ret")) return {pad(indent) + *fast};
    return {pad(indent) + "_ret = " + as_value(result) + ";"};
  }
  if (proc.class_name) {
    if (const auto* fields = class_fields(*proc.class_name)) {
      for (const auto& f : *fields) {
        if (f.first == key) {
          const std::string c = expr(&proc, R, locals);
          return {pad(indent) + "vb_member_set((*a_self)," + q(L) + "," + c + ");"};
        }
      }
    }
  }
  if (class_property_name(&proc, L, locals, "let"))  // Tag = x inside the class: its own Property Let
    return {pad(indent) + "vb_member_set((*a_self)," + q(L) + "," + expr(&proc, R, locals) + ");"};
  if (!locals.count(key))
    if (auto call = property_store(proc, setter(L), L, "", R, locals, indent)) return *call;
  // Caption = "x" in a form's code sets the form's own property; txtName =
  // "x" sets the control's default member.
  if (form_property_name(&proc, L, locals)) return {pad(indent) + "vb_set(" + q(proc.owner) + "," + q(L) + "," + expr(&proc, R, locals) + ");"};
  if (!setting_object_ && find_control(&proc, key) && !names_object_variable(proc, L, locals)) {
    const auto member = control_default(&proc, L);
    if (!member) error(&proc, "A control without a default member cannot be assigned: " + L);
    return {pad(indent) + "vb_set(" + q(L) + "," + q(*member) + "," + expr(&proc, R, locals) + ");"};
  }
  const std::string d = resolve_or_implicit(&proc, L, locals);
  std::string type = "variant";
  if (auto it = locals.find(key); it != locals.end()) type = it->second.type;
  else if (const GlobalName* gname = find_global(key)) type = gname->type;
  const std::optional<std::string> scalar = scalar_type_of(&proc, L, locals);
  if (type == "variant" || type == "string") {
    // s = s & a & b: the pieces are appended to s's text in place, when
    // nothing they compute can change or read s.
    CExpression e(*this, R, &proc, locals);
    if (auto pieces = e.append_pieces(key)) {
      const bool independent = std::none_of(pieces->begin(), pieces->end(), [&](const std::string& piece) {
        return c_has_effects(piece) || piece.find(d) != std::string::npos;
      });
      if (independent) {
        std::vector<std::string> out;
        for (const std::string& piece : *pieces)
          if (const auto literal = c_literal_text(piece))
            out.push_back(pad(indent) + "vb_append_literal(&" + d + "," + *literal + ",sizeof " + *literal + " - 1);");
          else
            out.push_back(pad(indent) + "vb_append(&" + d + "," + piece + ");");
        return out;
      }
    }
  }
  const Operand result = typed_expr(&proc, R, locals);
  if (scalar) return {pad(indent) + d + " = " + store_to(result, *scalar) + ";"};
  // An array variable takes the array assigned to it (a = Split(...)).
  const auto local_it = locals.find(key);
  const GlobalName* global = local_it == locals.end() ? find_global(key) : nullptr;
  if ((local_it != locals.end() && !local_it->second.element.empty()) || (global && global->array))
    return {pad(indent) + d + " = " + as_value(result) + ";"};
  if (type == "variant") {
    if (const auto fast = fast_assignment(*this, result, d)) return {pad(indent) + *fast};
    return {pad(indent) + d + " = " + as_value(result) + ";"};
  }
  if (const auto fixed = fixed_text_store(type, as_value(result))) return {pad(indent) + d + " = " + *fixed + ";"};
  return {pad(indent) + d + " = vb_coerce(" + as_value(result) + "," + q(type) + ");"};
}

std::vector<std::string> NativeCompiler::print_list(const NativeProcedure& proc, std::string_view text,
                                                    const Locals& locals, int indent, bool to_file) {
  using Kind = PrintListItem::Kind;
  const std::vector<PrintListItem> items = read_print_list(text);
  if (!to_file && items.size() == 1 && items[0].separator == 0 && items[0].kind == Kind::Expr)
    return {pad(indent) + "vb_print(" + expr(&proc, items[0].text, locals) + ");"};
  std::string c;
  for (const PrintListItem& item : items) {
    if (item.kind != Kind::Expr)
      c += std::string(item.kind == Kind::Spc ? "vb_print_spc(" : "vb_print_tab(") + expr(&proc, item.text, locals) +
           "); ";
    else if (!item.text.empty())
      c += "vb_print_item(" + expr(&proc, item.text, locals) + "); ";
    if (item.separator == ',') c += "vb_print_zone(); ";
  }
  c += std::string("vb_print_end(") + (items.empty() || items.back().separator == 0 ? "1" : "0") + ");";
  return {pad(indent) + c};
}

std::optional<std::vector<std::string>> NativeCompiler::direct_file_statement(const NativeProcedure& proc,
                                                                             std::string_view line, Locals& locals,
                                                                             int indent) {
  static const Regex get_put(R"(^(Get|Put)\b\s*(#?\s*[^,]+?)\s*,\s*([^,]*?)\s*,(.+)$)", CI);
  static const Regex seek_re(R"(^Seek\s*#\s*([^,]+?)\s*,(.+)$)", CI);
  const std::string p = pad(indent);
  const auto channel = [&](std::string text) {
    text = strip_text(text);
    if (!text.empty() && text[0] == '#') text = text.substr(1);
    return expr(&proc, text, locals);
  };
  if (auto g = seek_re.match_groups(line))
    return std::vector<std::string>{p + "vb_file_seek(" + channel((*g)[1]) + "," + expr(&proc, (*g)[2], locals) + ");"};
  auto g = get_put.match_groups(line);
  if (!g) return std::nullopt;
  // The layout follows the variable's declared type; an element of a typed
  // array its element type; a record value its own fields.
  const std::string target = strip_text((*g)[4]);
  const std::string type = read_target_type(proc, target, locals);
  const bool has_record = !strip_text((*g)[3]).empty();
  const std::vector<std::string> operands{channel((*g)[2]),
                                          has_record ? expr(&proc, (*g)[3], locals) : std::string("vb_int(0)"),
                                          expr(&proc, target, locals)};
  if (lower((*g)[1]) == "put")
    return std::vector<std::string>{p + in_order(operands, [&](const std::vector<std::string>& v) {
                                      return "vb_file_put(" + v[0] + "," + v[1] + "," + (has_record ? "1" : "0") + "," +
                                             v[2] + "," + q(type) + ")";
                                    }) + ";"};
  // Get: the value read is stored as an assignment stores it (a record or
  // array is filled in place).
  return store_read_value(proc, target, in_order(operands, [&](const std::vector<std::string>& v) {
                            return "vb_file_get(" + v[0] + "," + v[1] + "," + (has_record ? "1" : "0") + "," + v[2] +
                                   "," + q(type) + ")";
                          }),
                          locals, indent);
}

std::string NativeCompiler::read_target_type(const NativeProcedure& proc, const std::string& target,
                                             const Locals& locals) const {
  static const Regex element(R"(^([\p{L}_]\w*)\s*\(.*\)$)");
  if (is_variable_name(target)) {
    if (auto it = locals.find(name_key(target)); it != locals.end()) return it->second.type;
    if (const GlobalName* global = find_global(name_key(target))) return global->type;
  } else if (auto e = element.match_groups(target)) {
    if (auto element_type = array_element_type(&proc, (*e)[1], locals)) return *element_type;
  }
  return "variant";
}

std::vector<std::string> NativeCompiler::store_read_value(const NativeProcedure& proc, const std::string& target,
                                                          const std::string& c_value, Locals& locals, int indent) {
  const std::string got = "__get_" + std::to_string(++get_sites_);
  hoisted_.push_back(pad(1) + value_decl() + got + " = vb_int(0);");
  locals[got] = {got, false, "variant", false, ""};
  std::vector<std::string> out{pad(indent) + got + " = " + c_value + ";"};
  for (std::string& s : assignment(proc, target, got, locals, indent)) out.push_back(std::move(s));
  locals.erase(got);
  return out;
}

std::optional<std::vector<std::string>> NativeCompiler::file_statement(const NativeProcedure& proc,
                                                                      std::string_view line, Locals& locals,
                                                                      int indent) {
  static const Regex open_re(
      R"(^Open\s+(.+?)(?:\s+For\s+(Input|Output|Append|Binary|Random))?(?:\s+Access\s+(?:Read\s+Write|Read|Write))?(?:\s+(?:Shared|Lock\s+Read\s+Write|Lock\s+Read|Lock\s+Write))?\s+As\s+(#?\s*.+?)(?:\s+Len\s*=\s*(.+))?$)",
      CI);
  static const Regex close_re(R"(^Close(?:\s+(.*))?$)", CI);
  static const Regex print_file(R"(^Print\s*#\s*([^,;]+?)\s*(?:[,;](.*))?$)", CI);
  static const Regex write_file(R"(^Write\s*#\s*([^,;]+?)\s*(?:[,;](.*))?$)", CI);
  static const Regex input_file(R"(^Input\s*#\s*([^,]+?)\s*,(.+)$)", CI);
  static const Regex line_input(R"(^Line\s+Input\s*#\s*([^,]+?)\s*,(.+)$)", CI);
  const std::string p = pad(indent);
  // "#1" or "1": the channel number's expression.
  const auto channel = [&](std::string text) {
    text = strip_text(text);
    if (!text.empty() && text[0] == '#') text = text.substr(1);
    return expr(&proc, text, locals);
  };
  if (auto g = open_re.match_groups(line)) {
    const std::string mode = lower((*g)[2]);
    if (mode == "binary" || mode == "random" || mode.empty()) {  // without For: Random
      const std::vector<std::string> operands{expr(&proc, (*g)[1], locals), channel((*g)[3]),
                                              (*g)[4].empty() ? "vb_int(128)" : expr(&proc, (*g)[4], locals)};
      return std::vector<std::string>{p + in_order(operands, [&](const std::vector<std::string>& v) {
                                        return "vb_file_open_direct(" + v[0] + "," + (mode == "binary" ? "0" : "1") +
                                               "," + v[1] + "," + v[2] + "," + ((*g)[4].empty() ? "0" : "1") + ")";
                                      }) + ";"};
    }
    const std::string code = mode == "input" ? "0" : mode == "output" ? "1" : "2";
    return std::vector<std::string>{p + "vb_file_open(" + expr(&proc, (*g)[1], locals) + "," + code + "," +
                                    channel((*g)[3]) + ");"};
  }
  if (auto direct = direct_file_statement(proc, line, locals, indent)) return direct;
  if (auto g = close_re.match_groups(line)) {
    std::vector<std::string> out;
    for (const std::string& piece : comma_pieces((*g)[1])) out.push_back(p + "vb_file_close(" + channel(piece) + ");");
    if (out.empty()) out.push_back(p + "vb_file_close_all();");
    return out;
  }
  if (auto g = print_file.match_groups(line)) {
    std::vector<std::string> out = print_list(proc, (*g)[2], locals, indent, true);
    out.insert(out.begin(), p + "vb_file_print_begin(" + channel((*g)[1]) + ");");
    return out;
  }
  if (auto g = write_file.match_groups(line)) {
    std::vector<std::string> values;
    const std::string list = (*g)[2];
    const std::string trimmed = strip_text(list);
    const bool open_line = !trimmed.empty() && (trimmed.back() == ',' || trimmed.back() == ';');
    for (const std::string& piece : split_outside(list, ','))
      for (const std::string& item : split_outside(piece, ';'))
        if (!strip_text(item).empty()) values.push_back(expr(&proc, item, locals));
    return std::vector<std::string>{p + "vb_file_write(" + channel((*g)[1]) + "," + std::to_string(values.size()) +
                                    "," + value_array(values) + "," + (open_line ? "1" : "0") + ");"};
  }
  // Line Input # and Input #: each value read is stored as an assignment
  // stores it, into a variable, an element or a field.
  if (auto g = line_input.match_groups(line))
    return store_read_value(proc, strip_text((*g)[2]), "vb_file_line(" + channel((*g)[1]) + ")", locals, indent);
  if (auto g = input_file.match_groups(line)) {
    std::vector<std::string> out;
    const std::string ch = channel((*g)[1]);
    for (const std::string& piece : comma_pieces((*g)[2])) {
      const std::string t = strip_text(piece);
      const std::string type = read_target_type(proc, t, locals);
      for (std::string& s : store_read_value(proc, t, "vb_file_field(" + ch + "," + q(type) + ")", locals, indent))
        out.push_back(std::move(s));
    }
    return out;
  }
  return std::nullopt;
}

std::vector<std::string> NativeCompiler::on_error(const NativeProcedure& proc, std::string_view line, int indent) {
  static const Regex resume_next(R"(^On\s+Error\s+Resume\s+Next$)", CI);
  static const Regex go_zero(R"(^On\s+Error\s+GoTo\s+0$)", CI);
  static const Regex go_minus(R"(^On\s+Error\s+GoTo\s+-1$)", CI);
  static const Regex go_label(R"(^On\s+Error\s+GoTo\s+([\p{L}_]\w*|\d+)$)", CI);
  const std::string p = pad(indent);
  // While a handler or Resume Next is in force the procedure's trap is
  // entered; a failure comes back to the dispatch at the function's start.
  const std::string enter = "if(!_trapped) { vb_trap_enter(&_trap); _trapped = 1; }";
  if (resume_next.match(line)) return {p + "_err_mode = 1; vb_err_clear(); " + enter};
  if (go_zero.match(line)) return {p + "_err_mode = 0; vb_err_clear(); if(_trapped) { vb_trap_leave(); _trapped = 0; }"};
  if (go_minus.match(line)) return {p + "vb_err_clear(); _in_handler = 0;"};
  if (auto g = go_label.match_groups(line)) {
    const std::string key = name_key((*g)[1]);
    auto [it, added] = handler_ids_.try_emplace(key, static_cast<int>(handler_ids_.size()) + 1);
    (void)added;
    return {p + "_err_mode = 2; _handler = " + std::to_string(it->second) + "; vb_err_clear(); " + enter};
  }
  error(&proc, "Native compiler does not support statement: " + std::string(line));
}

std::vector<std::string> NativeCompiler::jump(const NativeProcedure& proc, std::string_view line, int indent) {
  static const Regex go_to(R"(^GoTo\s+([\p{L}_]\w*|\d+)$)", CI);
  static const Regex resume_here(R"(^Resume(?:\s+0)?$)", CI);
  static const Regex resume_next(R"(^Resume\s+Next$)", CI);
  static const Regex resume_label(R"(^Resume\s+([\p{L}_]\w*|\d+)$)", CI);
  static const Regex go_sub(R"(^GoSub\s+([\p{L}_]\w*|\d+)$)", CI);
  const std::string p = pad(indent);
  if (auto g = go_to.match_groups(line)) return {p + "goto _lbl_" + c_name(name_key((*g)[1])) + ";"};
  // GoSub notes where to come back (the stack is the procedure's own);
  // Return goes back through the dispatch at the function's end.
  if (auto g = go_sub.match_groups(line)) {
    const std::string site = std::to_string(++gosub_sites_);
    return {p + "if(_gsp >= VB_GOSUB_DEPTH) vb_fail(\"Out of stack space (GoSub nested too deeply)\");",
            p + "_gs[_gsp++] = " + site + "; goto _lbl_" + c_name(name_key((*g)[1])) + "; _gr_" + site + ":;"};
  }
  if (lower(line) == "return") {
    gosub_returns_ = true;
    return {p + "goto _gosub_return;"};
  }
  std::string target, missing = "Resume without error";
  if (resume_here.match(line)) {
    target = "_resume_at";
  } else if (resume_next.match(line)) {
    target = "_resume_next";
    missing = "Resume Next without an active error handler";
  } else if (auto g = resume_label.match_groups(line)) {
    target = "_lbl_" + c_name(name_key((*g)[1]));
  } else {
    error(&proc, "Native compiler does not support statement: " + std::string(line));
  }
  if (!traps_) return {p + "vb_fail(" + q(missing) + ");"};
  // Leaving the handler: errors are handled again from here on.
  return {p + "if(!_in_handler) vb_fail(" + q(missing) + ");",
          p + "_in_handler = 0; _err_mode = 2; vb_err_clear();",
          p + "if(!_trapped) { vb_trap_enter(&_trap); _trapped = 1; }",
          p + "goto " + target + ";"};
}

std::vector<std::string> NativeCompiler::_statement(const NativeProcedure& proc, std::string_view line_view,
                                                    Locals& locals, int indent) {
  static const Regex unsupported(R"(^With\b)", CI);
  static const Regex erase(R"(^Erase\s+(.+)$)", CI);
  static const Regex redim_head(R"(^ReDim\b)", CI);
  static const Regex declaration(R"(^(?:Dim|Static|Const)\s+)", CI);
  static const Regex exit_proc(R"(^Exit\s+(?:Sub|Function|Property)\s*$)", CI);
  static const Regex exit_loop(R"(^Exit\s+(?:For|Do)$)", CI);
  static const Regex msgbox(R"(^(?:Call\s+)?(MsgBox|Debug\.Print)\s+(.*)$)", CI);
  static const Regex print_alone(R"(^(?:Call\s+)?Debug\.Print$)", CI);
  static const Regex unload(R"(^Unload\s+(\w+))", CI);
  static const Regex load(R"(^Load\s+(\w+))", CI);
  // (Show's owner form is not used; its modal style waits, see show_statement.)
  static const Regex form_method(R"(^(\w+)\.(Show|Hide|Refresh|SetFocus|ZOrder)(?:\s*\(.*\)|\s+.*)?$)", CI);
  static const Regex database(R"(^(?:Call\s+)?(DBOpen|DBExecute|DBQuery)\b(.*)$)", CI);
  static const Regex set_prefix(R"(^Set\s+(.*)$)", CI);
  static const Regex method_call(R"(^(?:Call\s+)?(\w+)\.(\w+)\s*(.*)$)", CI);
  static const Regex call_prefix(R"(^Call\s)", CI);
  static const Regex proc_call(R"(^(?:Call\s+)?([\p{L}_]\w*)\s*(.*)$)", CI);

  // Members that begin with "." work on the innermost With target.
  std::string line = justified_assignment(with_applied(strip_text(line_view)));
  // Me.Member at the start of a class's statement is the class's own member.
  static const Regex own_member(R"(^Me\.([\p{L}_]\w*)(.*)$)", CI);
  if (proc.class_name)
    if (auto g = own_member.match_groups(line)) line = (*g)[1] + (*g)[2];
  // The old Error statement raises the error as Err.Raise does.
  static const Regex error_statement(R"(^Error\s++(?!=)(.+)$)", CI);
  if (auto g = error_statement.match_groups(line)) line = "Err.Raise " + (*g)[1];
  const std::string low = lower(line);
  const std::string p = pad(indent);
  if (line.empty()) return {};
  static const Regex err_method(R"(^(?:Call\s+)?Err\.(Clear|Raise)\b\s*(.*)$)", CI);
  static const Regex jumps(R"(^(?:GoTo|GoSub|Resume|Return$))", CI);
  if (low.rfind("on error", 0) == 0) return on_error(proc, line, indent);
  static const Regex computed_jump(R"(^On\s+(.+?)\s+(GoTo|GoSub)\s+(.+)$)", CI);
  if (auto g = computed_jump.match_groups(line)) {
    // On n GoTo a, b: the n-th label; 0 or past the list goes on.
    const bool gosub = lower((*g)[2]) == "gosub";
    const std::string site = gosub ? std::to_string(++gosub_sites_) : "";
    std::vector<std::string> out{p + "switch(vb_on_choice(" + expr(&proc, (*g)[1], locals) + ")) {"};
    int k = 0;
    for (const std::string& piece : split_outside((*g)[3], ',')) {
      ++k;
      const std::string label = strip_text(piece);
      if (label.empty()) continue;
      const std::string go = "goto _lbl_" + c_name(name_key(label)) + ";";
      out.push_back(p + "case " + std::to_string(k) + ": " +
                    (gosub ? "if(_gsp >= VB_GOSUB_DEPTH) vb_fail(\"Out of stack space (GoSub nested too deeply)\"); "
                             "_gs[_gsp++] = " + site + "; " + go
                           : go));
    }
    out.push_back(p + "default: break;");
    out.push_back(p + "}");
    if (gosub) out.push_back(p + "_gr_" + site + ":;");
    return out;
  }
  if (jumps.match(line)) return jump(proc, line, indent);
  if (auto g = err_method.match_groups(line)) {
    if (lower((*g)[1]) == "clear") return {p + "vb_err_clear();"};
    // A left-out argument (Err.Raise n, , "text") passes Nothing.
    std::vector<std::string> args;
    const std::string all = unparenthesize((*g)[2]);
    if (!strip_text(all).empty())
      for (const std::string& piece : split_outside(all, ','))
        args.push_back(strip_text(piece).empty() ? "vb_nothing()" : expr(&proc, piece, locals));
    return {p + in_order(args, [](const std::vector<std::string>& v) {
              return "vb_err_raise(" + std::to_string(v.size()) + "," + value_array(v) + ")";
            }) + ";"};
  }
  if (unsupported.match(line)) error(&proc, "Native compiler does not support statement: " + line);
  if (auto g = erase.match_groups(line)) {
    std::vector<std::string> out;
    for (const std::string& piece : split_outside((*g)[1], ',')) {
      const std::string name = strip_text(piece);
      if (!is_variable_name(name)) error(&proc, "Erase needs array variables: " + line);
      require_value_variable(&proc, name, locals);
      const std::string c = resolve_variable(&proc, name, locals);
      if (c.rfind("vb_member_get(", 0) == 0) error(&proc, "Erase of a class field is not yet available in native builds");
      out.push_back(p + c + " = vb_array_erase(" + c + ");");
    }
    return out;
  }
  if (auto lines_of = file_statement(proc, line, locals, indent)) return *lines_of;
  static const Regex other_file_statement(
      R"(^(?:Put|Get|Seek)\s*#)", CI);
  static const Regex rename(R"(^Name\s+(.+?)\s+As\s+(.+)$)", CI);
  if (other_file_statement.match(line))
    error(&proc, "This file statement is not yet available in native builds: " + line);
  if (auto g = rename.match_groups(line)) {
    const std::vector<std::string> paths{expr(&proc, (*g)[1], locals), expr(&proc, (*g)[2], locals)};
    return {p + "(void)" + in_order(paths, [](const std::vector<std::string>& v) {
              return "vb_builtin(\"name\",2," + value_array(v) + ")";
            }) + ";"};
  }
  if (declaration.match(line)) return declare(proc, line, locals, indent);
  if (redim_head.match(line)) return redim(proc, line, locals, indent);
  if (exit_proc.match(line)) {
    if (traps_) return {p + "goto _exit_proc;"};  // the trap is left on the way out
    return {p + (proc.kind == "function" ? "return _ret;" : "return vb_int(0);")};
  }
  if (exit_loop.match(line)) return {p + loop_exit(proc, lower(line).find("for") != std::string::npos)};
  if (low == "doevents" || low == "doevents()") return {p + "vb_do_events();"};
  if (low == "end") {
    if (traps_) return {p + "vb_end(); goto _exit_proc;"};
    return {p + (proc.kind == "function" ? "vb_end(); return _ret;" : "vb_end(); return vb_int(0);")};
  }
  if (auto g = msgbox.match_groups(line)) {
    if (lower((*g)[1]) == "msgbox") {
      const std::vector<std::string> parts = split_outside((*g)[2], ',');
      std::vector<std::string> operands{expr(&proc, parts[0], locals)};
      operands.push_back(parts.size() >= 3 && !strip_text(parts[2]).empty() ? expr(&proc, parts[2], locals)
                                                                           : "vb_str(\"Visual Basic\")");
      return {p + in_order(operands, [](const std::vector<std::string>& v) {
                return "(void)vb_msgbox(" + v[0] + "," + v[1] + ")";
              }) + ";"};
    }
    return print_list(proc, (*g)[2], locals, indent);
  }
  if (print_alone.match(line)) return {p + "vb_print(vb_str(\"\"));"};
  static const Regex element_load(R"(^(Load|Unload)\s+(\w+)\s*\((.+)\)$)", CI);
  if (auto g = element_load.match_groups(line); g && is_control_array(name_key((*g)[2])))
    return {p + (lower((*g)[1]) == "load" ? "vb_load_member(" : "vb_unload_member(") + q((*g)[2]) + "," +
            expr(&proc, (*g)[3], locals) + ");"};
  static const Regex element_method(R"(^(\w+)\s*\((.+)\)\.(\w+)(?:\s+(.*))?$)", CI);
  if (auto g = element_method.match_groups(line); g && is_control_array(name_key((*g)[1])) &&
                                                    find_equal(line) < 0) {
    std::vector<std::string> operands{expr(&proc, (*g)[2], locals)};
    for (const std::string& piece : comma_pieces(unparenthesize((*g)[4]))) operands.push_back(expr(&proc, piece, locals));
    return {p + "(void)" + in_order(operands, [&](const std::vector<std::string>& v) {
              const std::vector<std::string> rest(v.begin() + 1, v.end());
              return "vb_control_call_at(" + q((*g)[1]) + "," + v[0] + "," + q((*g)[3]) + "," +
                     std::to_string(rest.size()) + "," + value_array(rest) + ")";
            }) + ";"};
  }
  if (auto g = unload.match_groups(line)) {
    const std::string key = name_key((*g)[1]);
    bool variable = false;
    if (!is_form(key) && key != "me") {
      try {
        variable = !resolve_variable(&proc, (*g)[1], locals).empty();
      } catch (const NativeCompileError&) {
      }
    }
    // Unload f: the form a variable holds.
    if (variable) return {p + "vb_unload_value(" + expr(&proc, (*g)[1], locals) + ");"};
    return {p + "vb_unload(" + q((*g)[1]) + ");"};
  }
  if (auto g = load.match_groups(line)) return {p + "vb_load_form(" + q((*g)[1]) + ");"};
  if (auto g = form_method.match_groups(line); g && !names_object_variable(proc, (*g)[1], locals)) {
    const std::string owner = (*g)[1], method = lower((*g)[2]);
    if (method == "refresh" || method == "zorder") return {};
    if (method == "setfocus") return {p + "vb_set_focus(" + q(owner) + ");"};
    if (!is_form(name_key(owner)) && lower(owner) != "me") error(&proc, "Unknown form: " + owner);
    if (method == "show") return show_statement(proc, owner, line.substr(line.find('.') + 5), locals, indent);
    return {p + "vb_hide(" + q(owner) + ");"};
  }
  if (auto g = database.match_groups(line)) {
    const std::string which = lower((*g)[1]);
    std::vector<std::string> args;
    for (const std::string& piece : comma_pieces(unparenthesize((*g)[2]))) args.push_back(expr(&proc, piece, locals));
    if (which == "dbopen") {
      if (args.size() != 2) error(&proc, "Native DBOpen currently requires SQLite provider and filename");
      return {p + in_order(args, [](const std::vector<std::string>& v) {
                return "vb_db_open(" + v[0] + "," + v[1] + ")";
              }) + ";"};
    }
    if (args.empty()) error(&proc, "SQL command text is missing");
    const std::string query = which == "dbquery" ? "1" : "0";
    return {p + in_order(args, [&](const std::vector<std::string>& v) {
              return "vb_db_exec(" + std::to_string(v.size()) + "," + value_array(v) + "," + query + ")";
            }) + ";"};
  }
  if (auto printed = surface_print(proc, line, locals, indent)) return *printed;
  if (auto drawn = graphics_statement(proc, line, locals, indent)) return *drawn;
  static const Regex beep(R"(^Beep$)", CI);
  if (beep.match(line)) return {p + "vb_beep();"};
  static const Regex release_form(R"(^Set\s+(\w+)\s*=\s*Nothing$)", CI);
  if (auto g = release_form.match_groups(line); g && is_form(name_key((*g)[1]))) return {};
  {
    std::string rest = line;
    const bool set = set_prefix.match(line);
    if (auto g = set_prefix.match_groups(line)) rest = strip_text((*g)[1]);
    static const Regex let_prefix(R"(^Let\s+(.*)$)", CI);
    if (auto g = let_prefix.match_groups(rest)) rest = strip_text((*g)[1]);
    const long eq = find_equal(rest);
    // (an "=" after a blank outside parentheses compares: Foo a, b = c)
    if (eq >= 0 && assignable_target(rest.substr(0, static_cast<size_t>(eq)))) {
      struct Setting {
        bool& flag;
        ~Setting() { flag = false; }
      } setting{setting_object_};
      setting_object_ = set;
      return assignment(proc, rest.substr(0, static_cast<size_t>(eq)), rest.substr(static_cast<size_t>(eq) + 1),
                        locals, indent);
    }
  }
  // a.Add("x").Add "y", Form1.lstNames.AddItem s: a method of what a chain gives.
  if (auto chain = chained_method_call(call_prefix.match(line) ? strip_text(line.substr(4)) : line))
    return {p + method_of_value(proc, chain->owner, chain->method, chain->args, locals)};
  if (auto g = method_call.match_groups(line)) {
    const std::string owner_key = name_key((*g)[1]);
    if (is_module(owner_key) && !locals.count(owner_key) && !find_global(owner_key))
      return _statement(proc, (*g)[2] + " " + (*g)[3], locals, indent);  // Module1.Proc args
    const std::string form = owner_key == "me" ? name_key(proc.owner) : owner_key;
    if (const NativeProcedure* callee = is_form(form) ? form_procedure(form, (*g)[2]) : nullptr) {
      // Form2.Refill args: the form's own procedure, the form loaded first.
      const CallArguments args = call_arguments(proc, (*g)[3], locals, callee);
      return {p + "vb_load_form(" + q(callee->owner) + "); (void)" +
              call_procedure(&proc, *callee, (*g)[2], args.values, args.refs) + ";"};
    }
    if (is_form(owner_key) || is_control(owner_key) || owner_key == "me") {
      // A method of a form or control (lstNames.AddItem s, Me.Move 0, 0).
      std::vector<std::string> args;
      for (const std::string& piece : comma_pieces(unparenthesize((*g)[3]))) args.push_back(expr(&proc, piece, locals));
      return {p + "(void)" + in_order(args, [&](const std::vector<std::string>& v) {
                return "vb_control_call(" + q(owner_key == "me" && proc.form_index ? proc.owner : (*g)[1]) + "," +
                       q((*g)[2]) + "," + std::to_string(v.size()) + "," +
                       value_array(v) + ")";
              }) + ";"};
    }
    // (a variable, or what a function or property of that name gives)
    return {p + method_of_value(proc, (*g)[1], (*g)[2], (*g)[3], locals)};
  }
  if (auto g = proc_call.match_groups(line)) {
    // Move 0, 0 in a form's code: the form's own method, as Me.Move.
    if (proc.form_index && !proc.class_name && !callee_of(&proc, (*g)[1]) &&
        is_bare_form_method(name_key((*g)[1])))
      return _statement(proc, "Me." + (*g)[1] + " " + (*g)[2], locals, indent);
    const CallArguments args = call_arguments(proc, (*g)[2], locals, callee_of(&proc, (*g)[1]));
    return {p + "(void)" + call_typed(&proc, (*g)[1], args.values, args.refs) + ";"};
  }
  error(&proc, "Native compiler cannot lower statement: " + line);
}

// owner.Method args, the owner any value (a variable, what a function,
// property or member chain gives): the statement, dispatched at run time.
std::string NativeCompiler::method_of_value(const NativeProcedure& proc, const std::string& owner,
                                            const std::string& method, std::string_view args, const Locals& locals) {
  std::vector<std::string> operands{object_expr(proc, owner, locals)};
  for (const std::string& piece : read_call_arguments(args))
    operands.push_back(piece.empty() ? "vb_nothing()" : expr(&proc, piece, locals));
  return "(void)" + in_order(operands, [&](const std::vector<std::string>& v) {
           std::vector<std::string> rest(v.begin() + 1, v.end());
           return "vb_method_statement(" + v[0] + "," + q(owner_in_messages(owner)) + "," + q(method) + "," +
                  std::to_string(rest.size()) + "," + value_array(rest) + ")";
         }) + ";";
}

NativeCompiler::CallArguments NativeCompiler::call_arguments(const NativeProcedure& proc, std::string_view text,
                                                             const Locals& locals, const NativeProcedure* callee) {
  CallArguments out;
  const std::vector<std::string> pieces = read_call_arguments(text);
  for (size_t k = 0; k < pieces.size(); ++k) {
    const std::string& piece = pieces[k];
    // A left-out argument (Foo 1, , 3) is Nothing; a control named alone
    // is passed as the control, unless the parameter takes a plain type.
    const bool plain = callee && k < callee->params.size() && callee->params[k].type != "variant" &&
                       callee->params[k].type != "object";
    if (const auto control = piece.empty() || plain ? std::nullopt : control_object(&proc, piece, locals)) {
      out.values.push_back(value_operand(*control));
      out.refs.push_back(std::nullopt);
      continue;
    }
    out.values.push_back(piece.empty() ? value_operand("vb_nothing()") : typed_expr(&proc, piece, locals));
    std::optional<std::string> ref;
    if (const std::string_view name = without_type_suffix(piece); is_variable_name(name)) {
      try {
        ref = resolve_variable(&proc, name, locals);
      } catch (const NativeCompileError&) {
      }
    }
    out.refs.push_back(ref);
  }
  return out;
}

std::vector<std::string> NativeCompiler::compile_body(const NativeProcedure& proc) {
  // A local found to need a VBValue: the procedure is translated again
  // (parameters and module variables concern other procedures too).
  while (true) {
    try {
      return compile_body_once(proc);
    } catch (const UntypedVariable& u) {
      const bool param = std::any_of(proc.params.begin(), proc.params.end(),
                                     [&](const NativeParam& p) { return p.name == u.name; });
      if (u.scope != proc.key || param) throw;
      note_untyped(u);
    }
  }
}

std::vector<std::string> NativeCompiler::compile_body_once(const NativeProcedure& proc) {
  static const Regex if_re(R"(^If\s+(.+?)\s+Then(?:\s+(.+))?$)", CI);
  static const Regex else_split(R"(\s+Else(?:\s+|\s*:))", CI);  // (Else: y = 2 as well)
  static const Regex elseif_re(R"(^ElseIf\s+(.+)\s+Then$)", CI);
  static const Regex select_re(R"(^Select\s+Case\s+(.+)$)", CI);
  static const Regex case_re(R"(^Case\s+(.+)$)", CI);
  static const Regex for_re(R"(^For\s+(\w+[$%&!#@]?)\s*=\s*(.+?)\s+To\s+(.+?)(?:\s+Step\s+(.+))?$)", CI);
  static const Regex next_re(R"(^Next(?:\s+\w+[$%&!#@]?)?$)", CI);
  static const Regex for_each_re(R"(^For\s+Each\s+(\w+[$%&!#@]?)\s+In\s+(.+)$)", CI);
  static const Regex do_re(R"(^Do(?:\s+(While|Until)\s+(.+))?$)", CI);
  static const Regex loop_re(R"(^Loop(?:\s+(While|Until)\s+(.+))?$)", CI);
  static const Regex while_re(R"(^While\s+(.+))", CI);
  static const Regex with_re(R"(^With\s+(.+)$)", CI);

  Locals locals;
  scalar_locals_.clear();
  typed_temporaries_.clear();
  selectors_.clear();
  for (const NativeParam& param : proc.params) {
    // String parameters are converted on entry, so they always hold texts.
    const bool scalar = scalar_param(proc, param) || (param.type == "string" && may_type(proc.key, param.name, "string"));
    const bool by_value = value_param(proc, param);
    locals[param.name] = {param_c_name(param.name), !by_value, param.type, scalar, param.element};
    if (scalar) scalar_locals_[by_value ? param_c_name(param.name) : "(*" + param_c_name(param.name) + ")"] = param.type;
  }
  // Me in a class's code is the instance.
  if (proc.class_name) locals["me"] = {"a_self", true, "object"};
  std::vector<std::string> out;
  std::vector<Block> stack;
  hoisted_.clear();
  with_targets_.clear();
  form_aliases_.clear();
  // The module's own private names, unless a parameter takes the name.
  if (auto own = private_names_.find(name_key(proc.owner)); own != private_names_.end())
    for (const auto& [name, stored] : own->second)
      if (std::none_of(proc.params.begin(), proc.params.end(), [&](const NativeParam& p) { return p.name == name; }))
        form_aliases_[name] = stored;
  get_sites_ = 0;
  exit_labels_.clear();
  implicit_.clear();
  static const Regex on_error_re(R"(^On\s+Error\b)", CI);
  static const Regex jump_re(R"(\b(GoTo|GoSub|Resume)\s+([\p{L}_]\w*|\d+)\s*$)", CI);
  static const Regex label_re(R"(^([\p{L}_]\w*):$)");
  static const Regex digits_re(R"(^\d+$)");
  // Statements that open no statement number of their own: the inner parts
  // and ends of blocks.
  static const Regex block_part(R"(^(?:Else|ElseIf\b.*|End\s+(?:If|Select|With)|Case\b.*|Next\b.*|Loop\b.*|Wend)$)", CI);
  traps_ = std::any_of(proc.body.begin(), proc.body.end(), [](const std::string& l) { return on_error_re.match(l); });
  jump_targets_.clear();
  handler_ids_.clear();
  gosub_sites_ = 0;
  gosub_returns_ = false;
  static const Regex computed_re(R"(^On\s+(?!Error\b).+?\s+(?:GoTo|GoSub)\s+(.+)$)", CI);
  // Labels only plain GoTo statements name may stand inside a block, for
  // jumps from within that block (GoTo NextItem just before Next).
  std::set<std::string> block_unsafe_targets;
  const auto plain_goto = [](const std::string& l) -> std::optional<std::string> {
    if (computed_re.match(l) || on_error_re.match(l)) return std::nullopt;
    auto g = jump_re.search_groups(l);
    if (!g || lower((*g)[1]) != "goto") return std::nullopt;
    return name_key((*g)[2]);
  };
  for (const std::string& l : proc.body) {
    if (auto g = computed_re.match_groups(l)) {
      for (const std::string& piece : split_outside((*g)[1], ','))
        if (!strip_text(piece).empty()) {
          jump_targets_.insert(name_key(strip_text(piece)));
          block_unsafe_targets.insert(name_key(strip_text(piece)));
        }
    } else if (auto g2 = jump_re.search_groups(l)) {
      const std::string label = name_key((*g2)[2]);
      if (label != "next" && label != "0") jump_targets_.insert(label);
      if (!plain_goto(l)) block_unsafe_targets.insert(label);
    }
  }
  struct BlockPlace {
    std::vector<int> blocks;  // the statement numbers of the open blocks, outermost first
    std::string written, location, file;  // the label line as written; where it stands
    int line = 0;
  };
  std::map<std::string, BlockPlace> labels_in_blocks;
  std::vector<std::pair<std::string, std::vector<int>>> gotos;  // label, the blocks open at the GoTo
  const auto open_block_numbers = [&] {
    std::vector<int> numbers;
    for (const Block& b : stack) numbers.push_back(b.n);
    return numbers;
  };
  hoist_all_ = traps_ || !jump_targets_.empty();
  std::set<std::string> labels;
  std::vector<int> numbered;  // statements a trapped failure may resume at
  temporaries_ = 0;
  const auto emit_line = [&](int level, const std::string& text) { out.push_back(pad(level) + text); };
  const auto sync_blocks = [&] {
    open_blocks_.clear();
    for (const Block& b : stack) open_blocks_.push_back({b.kind, b.n});
    in_block_ = !stack.empty();
  };
  const auto top_is = [&](const char* kind) { return !stack.empty() && stack.back().kind == kind; };
  // A loop's own variable: declared at the function's start when the body
  // jumps (a jump back into the loop, e.g. Resume Next, finds it holding
  // its value), else where the loop starts.
  const auto loop_variable = [&](int level, const std::string& type, const std::string& name,
                                 const std::string& init) {
    if (!hoist_all_) return emit_line(level, type + name + " = " + init + ";");
    hoisted_.push_back(pad(1) + type + name + ";");
    emit_line(level, name + " = " + init + ";");
  };
  const auto cond = [&](const std::string& text) { return expr(&proc, text, locals); };
  const auto truth = [&](const std::string& text) { return as_truth(typed_expr(&proc, text, locals)); };
  // A condition evaluated again later (loops, ElseIf, Case) first marks its
  // block's statement as the one running, for Resume.
  const auto marked = [&](int number, const std::string& c) {
    return traps_ ? "(_at = " + std::to_string(number) + ", " + c + ")" : c;
  };
  const auto resume_label = [&](int level, int number) {
    if (traps_) emit_line(level, "_rn_" + std::to_string(number) + ":;");
  };
  // Closes the loop on top; a loop left by a goto gets its label after it.
  const auto close_loop = [&](int level) {
    const int number = stack.back().n;
    stack.pop_back();
    emit_line(level - 1, "}");
    if (exit_labels_.count(number)) emit_line(level - 1, "_exit_" + std::to_string(number) + ":;");
    resume_label(level - 1, number);
  };

  int n = 0;
  for (const std::string& raw : proc.body) {
    ++n;
    const std::string line = with_applied(strip_text(raw));
    const std::string low = lower(line);
    active_location_ = proc.owner + "." + proc.name + ", statement " + std::to_string(n) + ": " + line;
    active_file_ = proc.file;
    active_line_ = static_cast<size_t>(n - 1) < proc.lines.size() ? proc.lines[static_cast<size_t>(n - 1)] : 0;
    sync_blocks();
    const int level = level_of(stack);
    // A label: a name with a colon, a line number, or a name some jump uses.
    {
      std::string label, written = line;
      if (auto g = label_re.match_groups(line)) {
        label = name_key((*g)[1]);
        written = (*g)[1];  // messages name the label without its colon
        active_location_ = proc.owner + "." + proc.name + ", statement " + std::to_string(n) + ": " + written;
      } else if (digits_re.match(line) || (valid(line) && jump_targets_.count(name_key(line)))) {
        label = name_key(line);
      }
      if (!label.empty()) {
        if (!stack.empty() && jump_targets_.count(label)) {
          if (block_unsafe_targets.count(label))
            error(&proc, "GoTo or Resume to a label inside a block (" + written + ") is not supported in native builds");
          labels_in_blocks[label] = {open_block_numbers(), written, *active_location_, active_file_, active_line_};
        }
        if (!labels.insert(label).second) error(&proc, "Label defined more than once: " + written);
        emit_line(level, "_lbl_" + c_name(label) + ":;");
        continue;
      }
    }
    if (auto target = plain_goto(line)) gotos.push_back({*target, open_block_numbers()});
    if (traps_ && !block_part.match(line)) {
      numbered.push_back(n);
      emit_line(level, "_rs_" + std::to_string(n) + ":;");
      emit_line(level, "_at = " + std::to_string(n) + ";");
    }
    if (auto g = if_re.match_groups(line)) {
      const std::string c = truth((*g)[1]);
      if ((*g)[2].empty()) {
        emit_line(level, "if(" + c + ") {");
        stack.push_back({"if", n});
        continue;
      }
      std::string then_part = (*g)[2], else_part;
      bool has_else = false;
      if (auto m = else_split.search_groups(then_part)) {
        const size_t at = then_part.find((*m)[0]);
        else_part = then_part.substr(at + (*m)[0].size());
        then_part = then_part.substr(0, at);
        has_else = true;
      }
      in_block_ = true;
      emit_line(level, "if(" + c + ") {");
      // every statement after Then (and after Else) on the line belongs to the If
      const auto statements = [&](const std::string& part) {
        for (const std::string& piece : split_outside(part, ':'))
          if (!strip(piece).empty())
            for (auto& s : _statement(proc, strip(piece), locals, level + 1)) out.push_back(s);
      };
      statements(then_part);
      if (has_else) {
        emit_line(level, "} else {");
        statements(else_part);
      }
      emit_line(level, "}");
      resume_label(level, n);
      continue;
    }
    if (auto g = elseif_re.match_groups(line)) {
      if (!top_is("if")) error(&proc, "ElseIf without If");
      emit_line(level - 1, "} else if(" + marked(stack.back().n, truth((*g)[1])) + ") {");
      continue;
    }
    if (low == "else") {
      if (!top_is("if")) error(&proc, "Else without If");
      emit_line(level - 1, "} else {");
      continue;
    }
    if (low == "end if") {
      if (!top_is("if")) error(&proc, "End If without If");
      const int number = stack.back().n;
      stack.pop_back();
      emit_line(level - 1, "}");
      resume_label(level - 1, number);
      continue;
    }
    if (auto g = select_re.match_groups(line)) {
      const std::string s = "_select_" + std::to_string(n);
      // The selector is kept in its typed form when it has an exact one.
      Operand selector = typed_expr(&proc, (*g)[1], locals);
      if (selector.ty == Ty::Num || !selector.dyn.empty()) selector = value_operand(as_value(selector));
      emit_line(level, "{ " + std::string(traps_ ? "volatile " : "") + c_type(selector.ty) + " " + s + " = " + selector.c + ";");
      selector.c = s;
      selectors_[n] = selector;
      emit_line(level + 1, (traps_ ? "volatile int " : "int ") + s + "_matched = 0;");
      stack.push_back({"select", n, false});
      continue;
    }
    if (auto g = case_re.match_groups(line)) {
      if (!top_is("select")) error(&proc, "Case without Select Case");
      Block& b = stack.back();
      const std::string s = "_select_" + std::to_string(b.n);
      const int inner = level - (b.case_open ? 1 : 0);  // the select's own level + 1
      if (b.case_open) emit_line(inner, "}");
      std::string test;
      if (lower(strip_text((*g)[1])) == "else") {
        test = "1";
      } else {
        for (const std::string& piece_raw : split_outside((*g)[1], ',')) {
          const std::string piece = strip_text(piece_raw);
          std::string c;
          const Operand& sel = selectors_.at(b.n);
          const auto test_with = [&](const std::string& op, const std::string& text) {
            Operand out;
            typed_binary(op, sel, typed_expr(&proc, text, locals), out);
            return out.c;
          };
          const CaseTestText read = read_case_test(piece);
          if (read.kind == CaseTestText::Kind::Range)
            c = test_with(">=", read.a) + " && " + test_with("<=", read.b);
          else
            c = test_with(read.kind == CaseTestText::Kind::Is ? read.op : "=", read.a);
          test += (test.empty() ? "(" : " || (") + c + ")";
        }
      }
      emit_line(inner, "if(!" + s + "_matched && " + marked(b.n, "(" + test + ")") + ") {");
      emit_line(inner + 1, s + "_matched = 1;");
      b.case_open = true;
      continue;
    }
    if (low == "end select") {
      if (!top_is("select")) error(&proc, "End Select without Select Case");
      const Block b = stack.back();
      stack.pop_back();
      const int own = level_of(stack);
      if (b.case_open) emit_line(own + 1, "}");
      emit_line(own, "}");
      resume_label(own, b.n);
      continue;
    }
    if (auto g = for_each_re.match_groups(line)) {
      const std::string var(without_type_suffix((*g)[1]));  // (For Each v$ In ...)
      // Over a copy of the array taken at the start; the variable receives
      // each element as it is.
      require_value_variable(&proc, var, locals);  // receives elements unconverted
      const std::string d = resolve_or_implicit(&proc, var, locals);
      const std::string e = "_each_" + std::to_string(n);
      const auto controls = control_object(&proc, (*g)[2], locals);  // For Each o In optSize
      loop_variable(level, value_decl(), e, "vb_each_copy(" + (controls ? *controls : cond((*g)[2])) + ")");
      loop_variable(level, std::string(traps_ ? "volatile " : "") + "long long ", e + "_i", "0");
      emit_line(level, "for(; " + e + "_i < vb_array_count(" + e + "); " + e + "_i++) {");
      const std::string item = "vb_array_item(" + e + "," + e + "_i)";
      if (d.rfind("vb_member_get(", 0) == 0)
        emit_line(level + 1, "vb_member_set(" + d.substr(14, d.size() - 15) + "," + item + ");");
      else
        emit_line(level + 1, d + " = " + item + ";");
      stack.push_back({"for", n});
      continue;
    }
    if (auto g = for_re.match_groups(line)) {
      const std::string var(without_type_suffix((*g)[1]));  // (For i% = ...)
      // Start, end and step are numbers evaluated once, in that order; the
      // loop runs on its own counter, which the variable receives before
      // each pass, so after the loop the variable holds the last value.
      const std::string d = resolve_or_implicit(&proc, var, locals);
      const std::string f = "_for_" + std::to_string(n);
      const Operand start = typed_expr(&proc, (*g)[2], locals);
      const Operand end = typed_expr(&proc, (*g)[3], locals);
      const Operand step = (*g)[4].empty() ? int_literal("1") : typed_expr(&proc, (*g)[4], locals);
      if (const auto counter_type = scalar_type_of(&proc, var, locals)) {
        // A typed counter runs as a C loop when every value it can receive
        // (start to end) has its form; otherwise it becomes a VBValue.
        // Its bound then covers the start and end values.
        const bool fits = scalar_type(*counter_type) == Ty::Int && start.ty == Ty::Int && end.ty == Ty::Int &&
                          step.ty == Ty::Int && start.bits < MAX_EXACT_BITS && end.bits < MAX_EXACT_BITS &&
                          step.bits < MAX_EXACT_BITS;  // the counter passing the end cannot overflow
        if (!fits) require_value_variable(&proc, var, locals);
        const int bound = std::max(start.bits, end.bits);
        if (bound > variable_operand(&proc, var, locals).bits)
          throw UntypedVariable{variable_scope(&proc, var, locals), name_key(var), bound};
        const std::string whole = std::string(traps_ ? "volatile " : "") + "long long ";
        loop_variable(level, whole, f, start.c);
        loop_variable(level, whole, f + "_end", end.c);
        loop_variable(level, whole, f + "_step", step.c);
        emit_line(level, "if(" + f + "_step == 0) vb_fail(\"For loop Step cannot be zero\");");
        const std::string test = step.c == "1LL" ? f + " <= " + f + "_end"
                                                 : "(" + f + "_step > 0 ? " + f + " <= " + f + "_end : " + f + " >= " +
                                                       f + "_end)";
        emit_line(level, "for(; " + test + "; " + f + " += " + f + "_step) {");
        emit_line(level + 1, d + " = " + f + ";");
        stack.push_back({"for", n});
        continue;
      }
      const std::string start_c = as_value(start);
      const std::string end_c = as_value(end);
      const std::string step_c = (*g)[4].empty() ? "vb_int(1)" : "vb_to_number(" + as_value(step) + ")";
      loop_variable(level, value_decl(), f, "vb_to_number(" + start_c + ")");
      loop_variable(level, value_decl(), f + "_end", "vb_to_number(" + end_c + ")");
      loop_variable(level, value_decl(), f + "_step", step_c);
      emit_line(level, "vb_for_check(" + f + "_step);");
      const bool member = d.rfind("vb_member_get(", 0) == 0;  // a class field as counter: written through the object
      if (!traps_) {
        // Integer bounds run the counter as a C whole number (VBForLoop).
        loop_variable(level, "VBForLoop ", f + "_loop", "(VBForLoop){0}");
        emit_line(level, "vb_for_start(&" + f + "_loop," + f + "," + f + "_end," + f + "_step);");
        emit_line(level, "for(; vb_for_more(&" + f + "_loop); vb_for_advance(&" + f + "_loop)) {");
        emit_line(level + 1, member ? "vb_member_set(" + d.substr(14, d.size() - 15) + ",vb_for_value(&" + f + "_loop));"
                                    : "vb_for_give(&" + f + "_loop,&" + d + ");");
        stack.push_back({"for", n});
        continue;
      }
      std::string store = d + " = " + f + ";";
      if (member) store = "vb_member_set(" + d.substr(14, d.size() - 15) + "," + f + ");";
      emit_line(level, "for(; vb_for_continues(" + f + "," + f + "_end," + f + "_step); " + f + " = vb_for_next(" + f +
                           "," + f + "_step)) {");
      emit_line(level + 1, store);
      stack.push_back({"for", n});
      continue;
    }
    if (next_re.match(line)) {
      if (!top_is("for")) error(&proc, "Next without For");
      close_loop(level);
      continue;
    }
    if (auto g = do_re.match_groups(line)) {
      if ((*g)[1].empty()) emit_line(level, "while(1) {");
      else if (lower((*g)[1]) == "while") emit_line(level, "while(" + marked(n, truth((*g)[2])) + ") {");
      else emit_line(level, "while(!" + marked(n, truth((*g)[2])) + ") {");
      stack.push_back({"do", n});
      continue;
    }
    if (auto g = loop_re.match_groups(line)) {
      if (!top_is("do")) error(&proc, "Loop without Do");
      if (!(*g)[1].empty()) {
        const std::string c = marked(stack.back().n, truth((*g)[2]));
        if (lower((*g)[1]) == "while") emit_line(level, "if(!" + c + ") break;");
        else emit_line(level, "if(" + c + ") break;");
      }
      close_loop(level);
      continue;
    }
    if (auto g = while_re.match_groups(line)) {
      emit_line(level, "while(" + marked(n, truth((*g)[1])) + ") {");
      stack.push_back({"while", n});
      continue;
    }
    if (auto g = with_re.match_groups(line)) {
      // The target is evaluated once; a form, control or Me stays a name.
      const std::string target = with_applied(strip_text((*g)[1]));
      const std::string key = name_key(target);
      emit_line(level, "{");
      if (valid(target) && (is_form(key) || is_control(key) || key == "me")) {
        with_targets_.push_back(target);
      } else {
        const std::string w = "__with_" + std::to_string(n);
        emit_line(level + 1, value_decl() + w + " = " + object_expr(proc, target, locals) + ";");
        locals[w] = {w, false, "variant"};
        with_targets_.push_back(w);
      }
      stack.push_back({"with", n});
      continue;
    }
    if (low == "end with") {
      if (!top_is("with")) error(&proc, "End With without With");
      const int number = stack.back().n;
      stack.pop_back();
      if (with_targets_.back().rfind("__with_", 0) == 0) locals.erase(with_targets_.back());
      with_targets_.pop_back();
      emit_line(level - 1, "}");
      resume_label(level - 1, number);
      continue;
    }
    if (low == "wend") {
      if (!top_is("while")) error(&proc, "Wend without While");
      close_loop(level);
      continue;
    }
    if (low == "exit for" || low == "exit do") {
      emit_line(level, loop_exit(proc, low == "exit for"));
      resume_label(level, n);
      continue;
    }
    for (std::string& text : _statement(proc, line, locals, level)) out.push_back(std::move(text));
    resume_label(level, n);
  }
  active_location_.reset();
  active_line_ = 0;
  implicit_.clear();
  with_targets_.clear();
  in_block_ = false;
  open_blocks_.clear();
  if (!stack.empty()) {
    // Named where the block opens.
    const int open = stack.back().n;
    const size_t at = static_cast<size_t>(open - 1);
    if (at < proc.body.size()) {
      active_location_ = proc.owner + "." + proc.name + ", statement " + std::to_string(open) + ": " + proc.body[at];
      active_file_ = proc.file;
      active_line_ = at < proc.lines.size() ? proc.lines[at] : 0;
    }
    error(&proc, "Unclosed " + stack.back().kind + " block");
  }
  for (const std::string& target : jump_targets_)
    if (!labels.count(target)) error(&proc, "Label not defined in " + proc.name + ": " + target);
  // A GoTo may go to a label of a block it stands in, not into a block
  // from outside it.
  for (const auto& [target, from] : gotos) {
    auto place = labels_in_blocks.find(target);
    if (place == labels_in_blocks.end()) continue;
    const std::vector<int>& inner = place->second.blocks;
    if (from.size() >= inner.size() && std::equal(inner.begin(), inner.end(), from.begin())) continue;
    active_location_ = place->second.location;
    active_file_ = place->second.file;
    active_line_ = place->second.line;
    error(&proc, "GoTo to a label inside a block (" + place->second.written +
                    ") from outside that block is not supported in native builds");
  }
  // Hoisted declarations and temporaries come first in the function.
  std::vector<std::string> head = hoisted_;
  if (temporaries_ > 0) {
    std::string t = pad(1) + "VBValue";
    for (int k = 1; k <= temporaries_; ++k) t += (k > 1 ? ", _t" : " _t") + std::to_string(k);
    head.push_back(t + ";");
  }
  head.insert(head.end(), typed_temporaries_.begin(), typed_temporaries_.end());
  if (gosub_sites_ > 0 || gosub_returns_) {
    const std::string v = traps_ ? "volatile " : "";
    head.push_back(pad(1) + v + "int _gs[VB_GOSUB_DEPTH]; " + v + "int _gsp = 0;");
    head.push_back(pad(1) + "(void)_gs; (void)_gsp;");
    out.push_back(pad(1) + "if(0) {");
    out.push_back("_gosub_return:;");
    // (a Return without GoSub fails where the procedure was called)
    out.push_back(pad(2) + std::string("if(_gsp == 0) { ") + (traps_ ? "if(_trapped) vb_trap_leave(); " : "") +
                  "vb_fail(\"Return without GoSub\"); }");
    out.push_back(pad(2) + "switch(_gs[--_gsp]) {");
    for (int k = 1; k <= gosub_sites_; ++k)
      out.push_back(pad(2) + "case " + std::to_string(k) + ": goto _gr_" + std::to_string(k) + ";");
    out.push_back(pad(2) + "}");
    out.push_back(pad(1) + "}");
  }
  if (traps_) {
    for (std::string& line : trap_dispatch(handler_ids_, numbered)) head.push_back(std::move(line));
    // Every way out leaves the trap; a handler that ends the procedure
    // clears Err.
    out.push_back("_exit_proc:;");
    out.push_back(pad(1) + "if(_trapped) vb_trap_leave();");
    out.push_back(pad(1) + "if(_in_handler) vb_err_clear();");
  }
  hoisted_.clear();
  out.insert(out.begin(), head.begin(), head.end());
  return out;
}

}  // namespace corvane
