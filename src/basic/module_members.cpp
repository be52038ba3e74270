// Property procedures by bare name, and a module's members reached from
// another module's code.
#include "basic/module_members.h"

namespace corvane {

namespace {

std::string key_of(const char* kind, std::string_view folded) {
  std::string key(kind);
  key += folded;
  return key;
}

// A call from another interpreter starts a fresh step count when the
// module's own interpreter is not running already (as an event would).
void enter(VBRuntime& vm) {
  if (vm.stack_depth == 0) vm.reset_steps();
}

}  // namespace

ProcedureRef property_getter(const VBRuntime& vm, std::string_view folded) {
  return vm.property_names.count(intern_folded(folded)) ? vm.procedure(key_of("property_get_", folded)) : nullptr;
}

ProcedureRef property_setter(const VBRuntime& vm, std::string_view folded, bool object_value) {
  if (!vm.property_names.count(intern_folded(folded))) return nullptr;
  ProcedureRef let = vm.procedure(key_of("property_let_", folded));
  ProcedureRef set = vm.procedure(key_of("property_set_", folded));
  if (object_value && set) return set;
  return let ? let : set;
}

void run_setter(VBRuntime& vm, const ProcedureRef& setter, std::vector<Value> indexes, Value value,
                Scope* calling_scope) {
  indexes.push_back(std::move(value));
  vm.run_proc(setter, indexes, nullptr, calling_scope);
}

std::optional<Value> read_code_member(VBRuntime& vm, std::string_view member, std::vector<Value>& args) {
  const std::string m = lower(member);
  if (ProcedureRef getter = property_getter(vm, m)) {
    enter(vm);
    return vm.run_proc(getter, args, nullptr, nullptr);
  }
  if (Var* v = vm.globals->find_own(intern_folded(m))) {
    if (args.empty()) return v->value;
    if (v->value.is_array()) {
      const VBArray& a = *v->value.as_array();
      return a.items[VBRuntime::element_index(a, args, std::string(member))];
    }
    throw VBError(450, "Wrong number of arguments or invalid property assignment: " + std::string(member));
  }
  if (ProcedureRef function = vm.procedure(m); function && function->kind == "function") {
    enter(vm);
    return vm.run_proc(function, args, nullptr, nullptr);
  }
  return std::nullopt;
}

bool write_code_member(VBRuntime& vm, std::string_view member, std::vector<Value>& indexes, Value value) {
  const std::string m = lower(member);
  if (ProcedureRef setter = property_setter(vm, m, value.is_object())) {
    enter(vm);
    run_setter(vm, setter, indexes, std::move(value), nullptr);
    return true;
  }
  Var* v = vm.globals->find_own(intern_folded(m));
  if (!v) return false;
  if (!indexes.empty()) {
    if (!v->value.is_array()) throw VBError(450, "Wrong number of arguments or invalid property assignment: " + m);
    VBArray& a = *v->value.as_array();
    Value& slot = a.items[VBRuntime::element_index(a, indexes, std::string(member))];
    slot = copy_record(value);
    return true;
  }
  // converted first, so a failed conversion leaves the variable unchanged
  Value converted = v->type == TypeCode::Variant ? copy_record(value) : coerce(value, v->type);
  v->value = std::move(converted);
  return true;
}

std::optional<Value> call_code_member(VBRuntime& vm, std::string_view member, std::vector<Value>& args) {
  if (ProcedureRef proc = vm.procedure(lower(member))) {
    enter(vm);
    // No reference names: ByRef parameters behave as ByVal across modules.
    return vm.run_proc(proc, args, nullptr, nullptr);
  }
  return read_code_member(vm, member, args);
}

}  // namespace corvane
