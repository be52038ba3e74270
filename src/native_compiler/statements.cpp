// Statement translation: block statements into C blocks and loops, every
// other line into calls of the runtime interface.
#include <algorithm>

#include "native_compiler/expressions.h"
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

std::string pad(int indent) { return std::string(static_cast<size_t>(indent) * 4, ' '); }

struct Block {
  std::string kind;  // if, select, for, do, while
  int n = 0;         // statement number (select)
  bool case_open = false;
};

int level_of(const std::vector<Block>& stack) {
  int level = 1;
  for (const Block& b : stack) level += 1 + (b.case_open ? 1 : 0);
  return level;
}

}  // namespace

std::vector<std::string> NativeCompiler::declare(const NativeProcedure& proc, std::string_view line, Locals& locals,
                                                 int indent) {
  std::vector<std::string> out;
  for (const Declaration& d : parse_declaration(line, proc.owner)) {
    if (locals.count(d.name)) error(&proc, "Variable declared more than once: " + d.name);
    if (d.name == name_key(proc.name)) error(&proc, "Cannot redeclare function name");
    const std::string c = "l_" + c_name(d.name);
    const bool scalar = !d.array_bound && may_type(proc.key, d.name, d.type);
    std::string decl = "VBValue " + c + " = " + (d.array_bound ? std::string("vb_int(0)") : d.init) + ";";
    if (scalar) {
      const Ty ty = scalar_type(d.type);
      // A Double starts as the Integer 0 unless a value is given.
      const bool default_value = d.init == "vb_int(0)" || d.init == "vb_bool(0)" || d.init == "vb_str(\"\")";
      const std::string init = default_value ? c_initial(ty) : store_to(initial_operand(d.init), d.type);
      decl = c_type(ty) + " " + c + " = " + init + ";";
      scalar_locals_[c] = d.type;
    }
    // VB variables live for the whole procedure and start once per call.
    if (in_block_) hoisted_.push_back(pad(1) + decl);
    else out.push_back(pad(indent) + decl);
    // An array is made where its Dim stands (its bound may use earlier
    // statements' results); running the Dim again keeps the array.
    if (d.array_bound)
      out.push_back(pad(indent) + "if(!vb_is_array(" + c + ")) " + c + " = " + array_init(&proc, d, locals) + ";");
    locals[d.name] = {c, false, d.type, scalar};
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
  static const Regex redim_re(R"(^ReDim\s+(Preserve\s+)?([A-Za-z_]\w*)\s*\((.+)\)(?:\s+As\s+\w+)?$)", CI);
  auto g = redim_re.match_groups(line);
  if (!g) error(&proc, "Native compiler does not support statement: " + std::string(line));
  const std::string bound = (*g)[3];
  if (bound.find(',') != std::string::npos) error(&proc, "Native compiler does not support statement: " + std::string(line));
  std::vector<std::string> out;
  const std::string key = name_key((*g)[2]);
  std::string d;
  try {
    d = resolve_variable(&proc, (*g)[2], locals);
    require_value_variable(&proc, (*g)[2], locals);  // becomes an array
  } catch (const NativeCompileError&) {
    // ReDim of a name not declared yet declares it, as interpreted.
    d = "l_" + c_name(key);
    locals[key] = {d, false, "variant"};
    hoisted_.push_back(pad(1) + "VBValue " + d + " = vb_int(0);");
  }
  const std::string c = expr(&proc, bound, locals);
  out.push_back(pad(indent) + d + " = vb_array_redim(" + d + "," + c + "," + ((*g)[1].empty() ? "0" : "1") + ");");
  return out;
}

std::vector<std::string> NativeCompiler::assignment(const NativeProcedure& proc, std::string_view target,
                                                    std::string_view value, Locals& locals, int indent) {
  static const Regex member(R"(([A-Za-z_]\w*)\.([A-Za-z_]\w*)$)");
  const std::string L = strip_text(target), R = strip_text(value);
  if (auto g = member.match_groups(L)) {
    const std::string owner = (*g)[1], field = (*g)[2], key = name_key(owner);
    if (is_form(key) || is_control(key) || key == "me") {
      const std::string c = expr(&proc, R, locals);
      return {pad(indent) + "vb_set(" + q(owner) + "," + q(field) + "," + c + ");"};
    }
    const std::string obj = as_value(variable_operand(&proc, owner, locals));
    const std::string c = expr(&proc, R, locals);
    return {pad(indent) + "vb_member_set(" + obj + "," + q(field) + "," + c + ");"};
  }
  static const Regex element(R"(([A-Za-z_]\w*)\s*\((.+)\)$)");
  if (auto g = element.match_groups(L)) {
    // An element: the value first, then the index; stored as it is.
    const std::string array = as_value(variable_operand(&proc, (*g)[1], locals));
    const std::string c = expr(&proc, R, locals);
    const std::vector<std::string> subscripts = split_outside((*g)[2], ',');
    if (subscripts.size() != 1) error(&proc, "One-dimensional arrays require exactly one subscript");
    const std::string t = new_temporary();
    const std::string index = expr(&proc, subscripts[0], locals);
    return {pad(indent) + t + " = " + c + "; vb_index_set(" + array + "," + index + "," + t + "," + q(name_key((*g)[1])) +
            ");"};
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
    const std::string c = expr(&proc, R, locals);
    return {pad(indent) + "_ret = " + c + ";"};
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
        for (const std::string& piece : *pieces) out.push_back(pad(indent) + "vb_append(&" + d + "," + piece + ");");
        return out;
      }
    }
  }
  const Operand result = typed_expr(&proc, R, locals);
  if (scalar) return {pad(indent) + d + " = " + store_to(result, *scalar) + ";"};
  if (type == "variant") return {pad(indent) + d + " = " + as_value(result) + ";"};
  return {pad(indent) + d + " = vb_coerce(" + as_value(result) + "," + q(type) + ");"};
}

std::vector<std::string> NativeCompiler::_statement(const NativeProcedure& proc, std::string_view line_view,
                                                    Locals& locals, int indent) {
  static const Regex unsupported(R"(^(?:Erase|With|GoTo|GoSub|Resume)\b)", CI);
  static const Regex with_member(R"(^\.\s*[A-Za-z_])");
  static const Regex redim_head(R"(^ReDim\b)", CI);
  static const Regex declaration(R"(^(?:Dim|Static|Const)\s+)", CI);
  static const Regex exit_proc(R"(^Exit\s+(?:Sub|Function|Property)\s*$)", CI);
  static const Regex exit_loop(R"(^Exit\s+(?:For|Do)$)", CI);
  static const Regex msgbox(R"(^(?:Call\s+)?(MsgBox|Debug\.Print)\s+(.*)$)", CI);
  static const Regex print_alone(R"(^(?:Call\s+)?Debug\.Print$)", CI);
  static const Regex unload(R"(^Unload\s+(\w+))", CI);
  static const Regex load(R"(^Load\s+(\w+))", CI);
  static const Regex form_method(R"(^(\w+)\.(Show|Hide|Refresh|SetFocus)(?:\s*\(\s*\))?$)", CI);
  static const Regex database(R"(^(?:Call\s+)?(DBOpen|DBExecute|DBQuery)\b(.*)$)", CI);
  static const Regex set_prefix(R"(^Set\s+(.*)$)", CI);
  static const Regex method_call(R"(^(?:Call\s+)?(\w+)\.(\w+)\s*(.*)$)", CI);
  static const Regex proc_call(R"(^(?:Call\s+)?([A-Za-z_]\w*)\s*(.*)$)", CI);

  std::string line = strip_text(line_view);
  // A statement that begins with "." works on the innermost With target.
  if (!with_targets_.empty() && with_member.match(line)) line = with_targets_.back() + line;
  const std::string low = lower(line);
  const std::string p = pad(indent);
  if (line.empty()) return {};
  static const Regex on_error_resume(R"(^On\s+Error\s+Resume\s+Next$)", CI);
  static const Regex on_error_zero(R"(^On\s+Error\s+GoTo\s+0$)", CI);
  static const Regex err_method(R"(^(?:Call\s+)?Err\.(Clear|Raise)\b\s*(.*)$)", CI);
  if (on_error_resume.match(line)) return {p + "_err_resume = 1;"};
  if (on_error_zero.match(line)) return {p + "_err_resume = 0; vb_err_clear();"};
  if (low.rfind("on error ", 0) == 0)
    error(&proc, "On Error GoTo with a handler label is not yet available in native mode");
  if (auto g = err_method.match_groups(line)) {
    if (lower((*g)[1]) == "clear") return {p + "vb_err_clear();"};
    std::vector<std::string> args;
    for (const std::string& piece : comma_pieces(unparenthesize((*g)[2]))) args.push_back(expr(&proc, piece, locals));
    return {p + in_order(args, [](const std::vector<std::string>& v) {
              return "vb_err_raise(" + std::to_string(v.size()) + "," + value_array(v) + ")";
            }) + ";"};
  }
  if (unsupported.match(line)) error(&proc, "Native compiler does not support statement: " + line);
  if (declaration.match(line)) return declare(proc, line, locals, indent);
  if (redim_head.match(line)) return redim(proc, line, locals, indent);
  if (exit_proc.match(line)) return {p + (proc.kind == "function" ? "return _ret;" : "return vb_int(0);")};
  if (exit_loop.match(line)) return {p + loop_exit(proc, lower(line).find("for") != std::string::npos)};
  if (low == "end") return {p + (proc.kind == "function" ? "vb_end(); return _ret;" : "vb_end(); return vb_int(0);")};
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
    return {p + "vb_print(" + expr(&proc, (*g)[2], locals) + ");"};
  }
  if (print_alone.match(line)) return {p + "vb_print(vb_str(\"\"));"};
  if (auto g = unload.match_groups(line)) return {p + "vb_unload(" + q((*g)[1]) + ");"};
  if (auto g = load.match_groups(line)) return {p + "vb_show(" + q((*g)[1]) + ");vb_hide(" + q((*g)[1]) + ");"};
  if (auto g = form_method.match_groups(line)) {
    const std::string owner = (*g)[1], method = lower((*g)[2]);
    if (method == "refresh") return {};
    if (method == "setfocus") error(&proc, "SetFocus not implemented in native backend");
    if (!is_form(name_key(owner)) && lower(owner) != "me") error(&proc, "Unknown form: " + owner);
    return {p + (method == "show" ? "vb_show(" : "vb_hide(") + q(owner) + ");"};
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
  {
    std::string rest = line;
    if (auto g = set_prefix.match_groups(line)) rest = strip_text((*g)[1]);
    const long eq = find_equal(rest);
    if (eq >= 0) return assignment(proc, rest.substr(0, static_cast<size_t>(eq)), rest.substr(static_cast<size_t>(eq) + 1), locals, indent);
  }
  if (auto g = method_call.match_groups(line)) {
    const std::string obj = as_value(variable_operand(&proc, (*g)[1], locals));
    std::vector<std::string> operands{obj};
    for (const std::string& piece : comma_pieces(unparenthesize((*g)[3])))
      operands.push_back(expr(&proc, piece, locals));
    const std::string method = (*g)[2];
    return {p + "(void)" + in_order(operands, [&](const std::vector<std::string>& v) {
              std::vector<std::string> rest(v.begin() + 1, v.end());
              return "vb_member_call(" + v[0] + "," + q(method) + "," + std::to_string(rest.size()) + "," +
                     value_array(rest) + ")";
            }) + ";"};
  }
  if (auto g = proc_call.match_groups(line)) {
    std::vector<Operand> args;
    std::vector<std::optional<std::string>> refs;
    for (const std::string& piece : comma_pieces(unparenthesize((*g)[2]))) {
      args.push_back(typed_expr(&proc, piece, locals));
      std::optional<std::string> ref;
      if (is_variable_name(piece)) {
        try {
          ref = resolve_variable(&proc, piece, locals);
        } catch (const NativeCompileError&) {
        }
      }
      refs.push_back(ref);
    }
    return {p + "(void)" + call_typed(&proc, (*g)[1], args, refs) + ";"};
  }
  error(&proc, "Native compiler cannot lower statement: " + line);
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
  static const Regex else_split(R"(\s+Else\s+)", CI);
  static const Regex elseif_re(R"(^ElseIf\s+(.+)\s+Then$)", CI);
  static const Regex select_re(R"(^Select\s+Case\s+(.+)$)", CI);
  static const Regex case_re(R"(^Case\s+(.+)$)", CI);
  static const Regex case_range(R"(^(.+?)\s+To\s+(.+)$)", CI);
  static const Regex case_is(R"(^Is\s+(<=|>=|<>|=|<|>)\s+(.+)$)", CI);
  static const Regex for_re(R"(^For\s+(\w+)\s*=\s*(.+?)\s+To\s+(.+?)(?:\s+Step\s+(.+))?$)", CI);
  static const Regex next_re(R"(^Next(?:\s+\w+)?$)", CI);
  static const Regex for_each_re(R"(^For\s+Each\s+(\w+)\s+In\s+(.+)$)", CI);
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
    locals[param.name] = {param_c_name(param.name), true, param.type, scalar};
    if (scalar) scalar_locals_["(*" + param_c_name(param.name) + ")"] = param.type;
  }
  std::vector<std::string> out;
  std::vector<Block> stack;
  hoisted_.clear();
  with_targets_.clear();
  exit_labels_.clear();
  implicit_.clear();
  static const Regex on_error(R"(^On\s+Error\b)", CI);
  traps_ = std::any_of(proc.body.begin(), proc.body.end(), [](const std::string& l) { return on_error.match(l); });
  // Statements that leave the statement (or declare) are never trapped:
  // a jump out of a trap would leave it entered.
  static const Regex untrapped(R"(^(?:Exit\s|End$|Dim\s|Static\s|Const\s|On\s+Error\s))", CI);
  temporaries_ = 0;
  const auto emit_line = [&](int level, const std::string& text) { out.push_back(pad(level) + text); };
  const auto sync_blocks = [&] {
    open_blocks_.clear();
    for (const Block& b : stack) open_blocks_.push_back({b.kind, b.n});
    in_block_ = !stack.empty();
  };
  const auto top_is = [&](const char* kind) { return !stack.empty() && stack.back().kind == kind; };
  const auto cond = [&](const std::string& text) { return expr(&proc, text, locals); };
  const auto truth = [&](const std::string& text) { return as_truth(typed_expr(&proc, text, locals)); };
  // Closes the loop on top; a loop left by a goto gets its label after it.
  const auto close_loop = [&](int level) {
    const int number = stack.back().n;
    stack.pop_back();
    emit_line(level - 1, "}");
    if (exit_labels_.count(number)) emit_line(level - 1, "_exit_" + std::to_string(number) + ":;");
  };

  int n = 0;
  for (const std::string& raw : proc.body) {
    ++n;
    const std::string line = strip_text(raw);
    const std::string low = lower(line);
    active_location_ = proc.owner + "." + proc.name + ", statement " + std::to_string(n) + ": " + line;
    sync_blocks();
    const int level = level_of(stack);
    if (auto g = if_re.match_groups(line)) {
      const std::string c = truth((*g)[1]);
      if ((*g)[2].empty()) {
        emit_line(level, "if(" + c + ") {");
        stack.push_back({"if"});
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
      for (auto& s : _statement(proc, then_part, locals, level + 1)) out.push_back(s);
      if (has_else) {
        emit_line(level, "} else {");
        for (auto& s : _statement(proc, else_part, locals, level + 1)) out.push_back(s);
      }
      emit_line(level, "}");
      continue;
    }
    if (auto g = elseif_re.match_groups(line)) {
      if (!top_is("if")) error(&proc, "ElseIf without If");
      emit_line(level - 1, "} else if(" + truth((*g)[1]) + ") {");
      continue;
    }
    if (low == "else") {
      if (!top_is("if")) error(&proc, "Else without If");
      emit_line(level - 1, "} else {");
      continue;
    }
    if (low == "end if") {
      if (!top_is("if")) error(&proc, "End If without If");
      stack.pop_back();
      emit_line(level - 1, "}");
      continue;
    }
    if (auto g = select_re.match_groups(line)) {
      const std::string s = "_select_" + std::to_string(n);
      // The selector is kept in its typed form when it has an exact one.
      Operand selector = typed_expr(&proc, (*g)[1], locals);
      if (selector.ty == Ty::Num || !selector.dyn.empty()) selector = value_operand(as_value(selector));
      emit_line(level, "{ " + c_type(selector.ty) + " " + s + " = " + selector.c + ";");
      selector.c = s;
      selectors_[n] = selector;
      emit_line(level + 1, "int " + s + "_matched = 0;");
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
          if (auto r = case_range.match_groups(piece)) {
            c = test_with(">=", (*r)[1]) + " && " + test_with("<=", (*r)[2]);
          } else if (auto r2 = case_is.match_groups(piece)) {
            c = test_with((*r2)[1], (*r2)[2]);
          } else {
            c = test_with("=", piece);
          }
          test += (test.empty() ? "(" : " || (") + c + ")";
        }
      }
      emit_line(inner, "if(!" + s + "_matched && (" + test + ")) {");
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
      continue;
    }
    if (auto g = for_each_re.match_groups(line)) {
      // Over a copy of the array taken at the start; the variable receives
      // each element as it is.
      require_value_variable(&proc, (*g)[1], locals);  // receives elements unconverted
      const std::string d = resolve_or_implicit(&proc, (*g)[1], locals);
      const std::string e = "_each_" + std::to_string(n);
      emit_line(level, "VBValue " + e + " = vb_each_copy(" + cond((*g)[2]) + ");");
      emit_line(level, "for(long long " + e + "_i = 0; " + e + "_i < vb_array_count(" + e + "); " + e + "_i++) {");
      const std::string item = "vb_array_item(" + e + "," + e + "_i)";
      if (d.rfind("vb_member_get(", 0) == 0)
        emit_line(level + 1, "vb_member_set(" + d.substr(14, d.size() - 15) + "," + item + ");");
      else
        emit_line(level + 1, d + " = " + item + ";");
      stack.push_back({"for", n});
      continue;
    }
    if (auto g = for_re.match_groups(line)) {
      // Start, end and step are numbers evaluated once, in that order; the
      // loop runs on its own counter, which the variable receives before
      // each pass, so after the loop the variable holds the last value.
      const std::string d = resolve_or_implicit(&proc, (*g)[1], locals);
      const std::string f = "_for_" + std::to_string(n);
      const Operand start = typed_expr(&proc, (*g)[2], locals);
      const Operand end = typed_expr(&proc, (*g)[3], locals);
      const Operand step = (*g)[4].empty() ? int_literal("1") : typed_expr(&proc, (*g)[4], locals);
      if (const auto counter_type = scalar_type_of(&proc, (*g)[1], locals)) {
        // A typed counter runs as a C loop when every value it can receive
        // (start to end) has its form; otherwise it becomes a VBValue.
        // Its bound then covers the start and end values.
        const bool fits = scalar_type(*counter_type) == Ty::Int && start.ty == Ty::Int && end.ty == Ty::Int &&
                          step.ty == Ty::Int && start.bits < MAX_EXACT_BITS && end.bits < MAX_EXACT_BITS &&
                          step.bits < MAX_EXACT_BITS;  // the counter passing the end cannot overflow
        if (!fits) require_value_variable(&proc, (*g)[1], locals);
        const int bound = std::max(start.bits, end.bits);
        if (bound > variable_operand(&proc, (*g)[1], locals).bits)
          throw UntypedVariable{variable_scope(&proc, (*g)[1], locals), name_key((*g)[1]), bound};
        emit_line(level, "long long " + f + " = " + start.c + ";");
        emit_line(level, "long long " + f + "_end = " + end.c + ";");
        emit_line(level, "long long " + f + "_step = " + step.c + ";");
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
      emit_line(level, "VBValue " + f + " = vb_to_number(" + start_c + ");");
      emit_line(level, "VBValue " + f + "_end = vb_to_number(" + end_c + ");");
      emit_line(level, "VBValue " + f + "_step = " + step_c + ";");
      emit_line(level, "vb_for_check(" + f + "_step);");
      std::string store = d + " = " + f + ";";
      if (d.rfind("vb_member_get(", 0) == 0)  // a class field as counter: written through the object
        store = "vb_member_set(" + d.substr(14, d.size() - 15) + "," + f + ");";
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
      else if (lower((*g)[1]) == "while") emit_line(level, "while(" + truth((*g)[2]) + ") {");
      else emit_line(level, "while(!" + truth((*g)[2]) + ") {");
      stack.push_back({"do", n});
      continue;
    }
    if (auto g = loop_re.match_groups(line)) {
      if (!top_is("do")) error(&proc, "Loop without Do");
      if (!(*g)[1].empty()) {
        if (lower((*g)[1]) == "while") emit_line(level, "if(!" + truth((*g)[2]) + ") break;");
        else emit_line(level, "if(" + truth((*g)[2]) + ") break;");
      }
      close_loop(level);
      continue;
    }
    if (auto g = while_re.match_groups(line)) {
      emit_line(level, "while(" + truth((*g)[1]) + ") {");
      stack.push_back({"while", n});
      continue;
    }
    if (auto g = with_re.match_groups(line)) {
      // The target is evaluated once; a form, control or Me stays a name.
      const std::string target = strip_text((*g)[1]);
      const std::string key = name_key(target);
      emit_line(level, "{");
      if (valid(target) && (is_form(key) || is_control(key) || key == "me")) {
        with_targets_.push_back(target);
      } else {
        const std::string w = "__with_" + std::to_string(n);
        emit_line(level + 1, "VBValue " + w + " = " + cond(target) + ";");
        locals[w] = {w, false, "variant"};
        with_targets_.push_back(w);
      }
      stack.push_back({"with"});
      continue;
    }
    if (low == "end with") {
      if (!top_is("with")) error(&proc, "End With without With");
      stack.pop_back();
      locals.erase(with_targets_.back());
      with_targets_.pop_back();
      emit_line(level - 1, "}");
      continue;
    }
    if (low == "wend") {
      if (!top_is("while")) error(&proc, "Wend without While");
      close_loop(level);
      continue;
    }
    if (low == "exit for" || low == "exit do") {
      emit_line(level, loop_exit(proc, low == "exit for"));
      continue;
    }
    std::vector<std::string> lines_of = _statement(proc, line, locals, level + (traps_ ? 2 : 0));
    if (!traps_ || untrapped.match(line) || lines_of.empty()) {
      if (traps_)
        for (auto& s : lines_of) s = s.substr(8);  // back to this level
      for (auto& s : lines_of) out.push_back(s);
      continue;
    }
    // Under On Error Resume Next a failing statement records the error and
    // execution goes on with the next one.
    emit_line(level, "if(_err_resume) {");
    emit_line(level + 1, "jmp_buf _trap; vb_trap_enter(&_trap);");
    emit_line(level + 1, "if(setjmp(_trap) == 0) {");
    for (const auto& s : lines_of) out.push_back(s);
    emit_line(level + 2, "vb_trap_leave();");
    emit_line(level + 1, "}");
    emit_line(level, "} else {");
    for (const auto& s : lines_of) out.push_back(s.substr(4));
    emit_line(level, "}");
  }
  active_location_.reset();
  implicit_.clear();
  with_targets_.clear();
  in_block_ = false;
  open_blocks_.clear();
  if (!stack.empty()) error(&proc, "Unclosed " + stack.back().kind + " block");
  // Hoisted declarations and temporaries come first in the function.
  std::vector<std::string> head = hoisted_;
  if (traps_) head.insert(head.begin(), pad(1) + "int _err_resume = 0;");
  if (temporaries_ > 0) {
    std::string t = pad(1) + "VBValue";
    for (int k = 1; k <= temporaries_; ++k) t += (k > 1 ? ", _t" : " _t") + std::to_string(k);
    head.push_back(t + ";");
  }
  head.insert(head.end(), typed_temporaries_.begin(), typed_temporaries_.end());
  hoisted_.clear();
  out.insert(out.begin(), head.begin(), head.end());
  return out;
}

}  // namespace corvane
