// Which variables the compiler keeps in typed C form, and reading them.
// Locals and module variables declared with a scalar type are typed;
// parameters of standard-module procedures are too (form and class
// procedures are called by the event loop and the class dispatcher with
// VBValues). A variable that turns out to need a VBValue is untyped and
// its code translated again.
#include "native_compiler/expressions.h"

#include <algorithm>

#include "native_compiler/patterns.h"

namespace corvane {

namespace {

std::string untyped_key(std::string_view scope, std::string_view name) {
  return std::string(scope) + "|" + std::string(name);
}

}  // namespace

bool NativeCompiler::may_type(std::string_view scope, std::string_view name, std::string_view type) const {
  return scalar_type(type) != Ty::Value && !untyped_.count(untyped_key(scope, name));
}

bool NativeCompiler::scalar_param(const NativeProcedure& proc, const NativeParam& param) const {
  const Ty ty = scalar_type(param.type);
  if (ty == Ty::Value || ty == Ty::Str) return false;
  return proc.key.rfind("module_", 0) == 0 && !proc.class_name && may_type(proc.key, param.name, param.type);
}

Operand NativeCompiler::typed_expr(const NativeProcedure* proc, std::string_view text, const Locals& locals) {
  return CExpression(*this, with_applied(text), proc, locals).parse_typed();
}

std::optional<std::string> NativeCompiler::scalar_type_of(const NativeProcedure* proc, std::string_view name,
                                                          const Locals& locals) const {
  const std::string key = name_key(name);
  if (auto it = locals.find(key); it != locals.end())
    return it->second.scalar ? std::optional<std::string>(it->second.type) : std::nullopt;
  if (implicit_.count(key)) return std::nullopt;
  if (proc && proc->class_name) {
    if (const auto* fields = class_fields(*proc->class_name))
      for (const auto& f : *fields)
        if (f.first == key) return std::nullopt;
  }
  if (const GlobalName* g = find_global(key); g && g->scalar) return g->type;
  return std::nullopt;
}

Operand NativeCompiler::variable_operand(const NativeProcedure* proc, std::string_view name,
                                         const Locals& locals) const {
  const std::string c = resolve_variable(proc, name, locals);
  const auto type = scalar_type_of(proc, name, locals);
  if (!type) return value_operand(c);
  Operand op = typed_variable(c, *type);
  const auto wide = widened_.find(untyped_key(variable_scope(proc, name, locals), name_key(name)));
  if (op.ty == Ty::Int && wide != widened_.end()) op.bits = std::max(op.bits, wide->second);
  return op;
}

std::string NativeCompiler::variable_scope(const NativeProcedure* proc, std::string_view name,
                                           const Locals& locals) const {
  return locals.count(name_key(name)) && proc ? proc->key : "";
}

void NativeCompiler::note_untyped(const UntypedVariable& u) {
  const std::string key = untyped_key(u.scope, u.name);
  if (u.bits > 0) widened_[key] = std::max(widened_[key], u.bits);
  else untyped_.insert(key);
}

void NativeCompiler::require_value_variable(const NativeProcedure* proc, std::string_view name,
                                            const Locals& locals) const {
  const std::string key = name_key(name);
  if (!scalar_type_of(proc, name, locals)) return;
  throw UntypedVariable{variable_scope(proc, name, locals), key};
}

int NativeCompiler::result_bits(const NativeProcedure& proc) const {
  if (proc.kind != "function" || proc.class_name || proc.key.rfind("module_", 0) != 0) return -1;
  if (scalar_type(proc.result_type) != Ty::Int || value_results_.count(proc.key)) return -1;
  const auto it = int_results_.find(proc.key);
  return it == int_results_.end() ? declared_bits(proc.result_type) : it->second;
}

void NativeCompiler::note_result(const NativeProcedure& proc, const Operand& value) {
  const int bits = result_bits(proc);
  if (value.ty != Ty::Int || value.bits > MAX_EXACT_BITS) {
    value_results_.insert(proc.key);
    results_changed_ = true;
  } else if (value.bits > bits) {
    // A bound that grows again (a result computed from its own calls)
    // goes to the largest exact one at once.
    int_results_[proc.key] = widened_results_.insert(proc.key).second ? value.bits : MAX_EXACT_BITS;
    results_changed_ = true;
  }
}

namespace {

// Thrown while an Integer-only version is translated and the body needs
// more than Integers.
struct NotIntegerOnly {};

// The runtime calls an Integer-only version may contain.
bool allowed_in_attempt(std::string_view word) {
  static const std::set<std::string, std::less<>> allowed = {
      "if",         "while",      "for",        "return",      "vb_store_int", "vb_i_mod",
      "vb_i_idiv",  "vb_try_add", "vb_try_sub", "vb_try_mul",  "vb_try_neg",   "vb_try_idiv",
      "vb_try_mod"};
  if (allowed.count(word)) return true;
  return word.substr(0, 2) == "p_" && word.size() > 4 && word.substr(word.size() - 4) == "_int";
}

}  // namespace

namespace {

// Whether a statement only gives the function its result or leaves it.
bool result_statement(std::string_view text, const std::string& function_key) {
  static const Regex exit_function(R"(^Exit\s+Function$)", Regex::CASELESS);
  static const Regex assignment(R"(^([\p{L}_]\w*)\s*=.*$)");
  if (exit_function.match(text)) return true;
  const auto g = assignment.match_groups(text);
  return g && name_key((*g)[1]) == function_key;
}

// The statements after Then (and after Else) of a one-line If, each only
// giving the result or leaving; false for any other line.
bool one_line_result_if(std::string_view text, const std::string& function_key) {
  static const Regex one_line_if(R"(^If\s+.+?\s+Then\s+(.+)$)", Regex::CASELESS);
  static const Regex else_split(R"(\s+Else\s+)", Regex::CASELESS);
  const auto g = one_line_if.match_groups(text);
  if (!g) return false;
  std::string then_part = (*g)[1], else_part;
  if (auto m = else_split.search_groups(then_part)) {
    const size_t at = then_part.find((*m)[0]);
    else_part = then_part.substr(at + (*m)[0].size());
    then_part = then_part.substr(0, at);
  }
  for (const std::string* part : {&then_part, &else_part})
    for (const std::string& piece : split_outside(*part, ':'))
      if (!strip_text(piece).empty() && !result_statement(strip_text(piece), function_key)) return false;
  return true;
}

}  // namespace

bool NativeCompiler::attempt_candidate(const NativeProcedure& proc) const {
  // Ifs, Exit Function and assignments of the result only, so that running
  // the function twice changes nothing; Integer parameters (one passed by
  // reference is never assigned, so it reads as one passed by value).
  static const Regex block_line(R"(^(?:(?:Else)?If\s+.+\s+Then|Else|End\s+If)$)", Regex::CASELESS);
  if (proc.kind != "function" || proc.class_name || proc.key.rfind("module_", 0) != 0) return false;
  if (not_attemptable_.count(proc.key) || result_bits(proc) >= 0 || scalar_type(proc.result_type) != Ty::Int)
    return false;

  for (const NativeParam& p : proc.params)
    if (!scalar_param(proc, p) || scalar_type(p.type) != Ty::Int) return false;
  const std::string key = name_key(proc.name);
  for (const std::string& line : proc.body) {
    const std::string text = strip_text(line);
    if (text.empty() || block_line.match(text) || result_statement(text, key) || one_line_result_if(text, key))
      continue;
    return false;
  }
  return true;
}

std::optional<std::vector<std::string>> NativeCompiler::attempt_version(const NativeProcedure& proc) {
  attempting_ = true;
  set_attempt_mode(true);
  std::vector<std::string> body;
  bool ok = true;
  try {
    body = compile_body(proc);
  } catch (const NotIntegerOnly&) {
    ok = false;
  }
  attempting_ = false;
  set_attempt_mode(false);
  for (const std::string& line : body)
    for (const std::string& word : c_calls(line))
      if (!allowed_in_attempt(word)) ok = false;
  if (!ok) return std::nullopt;
  return body;
}

void NativeCompiler::require_integer_only(const Operand& value) const {
  if (attempting_ && value.ty != Ty::Int) throw NotIntegerOnly{};
}

const NativeProcedure* NativeCompiler::callee_of(const NativeProcedure* caller, std::string_view name) const {
  const std::string key = name_key(name);
  const NativeProcedure* callee = own_procedure(caller, key);
  return callee ? callee : find_procedure("module_" + key);
}

std::string NativeCompiler::new_typed_temporary(const std::string& type) {
  const std::string name = "_v" + std::to_string(typed_temporaries_.size() + 1);
  typed_temporaries_.push_back("    " + type + " " + name + ";");
  return name;
}

}  // namespace corvane
