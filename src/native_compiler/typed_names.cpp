// Which variables the compiler keeps in typed C form, and reading them.
// Locals and module variables declared with a scalar type are typed;
// parameters of standard-module procedures are too (form and class
// procedures are called by the event loop and the class dispatcher with
// VBValues). A variable that turns out to need a VBValue is untyped and
// its code translated again.
#include "native_compiler/expressions.h"

#include <algorithm>

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
  return CExpression(*this, text, proc, locals).parse_typed();
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

const NativeProcedure* NativeCompiler::callee_of(const NativeProcedure* caller, std::string_view name) const {
  const std::string key = name_key(name);
  const NativeProcedure* callee = nullptr;
  if (caller && caller->form_index) callee = find_procedure("f" + std::to_string(*caller->form_index) + "_" + key);
  if (!callee) callee = find_procedure("module_" + key);
  return callee;
}

std::string NativeCompiler::new_typed_temporary(const std::string& type) {
  const std::string name = "_v" + std::to_string(typed_temporaries_.size() + 1);
  typed_temporaries_.push_back("    " + type + " " + name + ";");
  return name;
}

}  // namespace corvane
