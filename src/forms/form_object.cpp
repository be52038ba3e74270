// Form objects that reach their form's code, and the Forms collection.
#include "forms/form_object.h"

#include <set>

#include "basic/module_members.h"
#include "basic/runtime.h"

namespace corvane {

bool FormObject::window_method(const std::string& m) {
  static const std::set<std::string> methods = {"show", "hide", "unload", "setfocus", "cls", "pset",
                                                "line", "circle", "refresh", "move", "zorder", "print", "scale"};
  return methods.count(m) > 0;
}

Value FormObject::get(std::string_view property) {
  const std::string key = lower(property);
  if (key == "name" || props.count(key) || !code) return ControlObject::get(property);
  if (VBRuntime* vm = code()) {
    std::vector<Value> none;
    if (std::optional<Value> value = read_code_member(*vm, key, none)) return *value;
    if (ObjectRef control = vm->control(key)) return Value(control);  // Form2.txtName
  }
  return ControlObject::get(property);
}

void FormObject::set(std::string_view property, Value value) {
  const std::string key = lower(property);
  if (key == "name" || props.count(key) || !code) return ControlObject::set(property, std::move(value));
  if (VBRuntime* vm = code()) {
    std::vector<Value> none;
    if (write_code_member(*vm, key, none, value)) return;
  }
  ControlObject::set(property, std::move(value));
}

Value FormObject::method(std::string_view method_name, std::vector<Value>& args) {
  const std::string key = lower(method_name);
  if (!window_method(key) && code)
    if (VBRuntime* vm = code()) {
      if (std::optional<Value> result = call_code_member(*vm, key, args)) return *result;
      // Form2.optSize(1): a member of one of the form's control arrays.
      if (ObjectRef control = vm->control(key)) return args.empty() ? Value(control) : control->method("Item", args);
    }
  return ControlObject::method(method_name, args);
}

void FormsCollection::assign(const std::vector<ObjectRef>& forms) {
  elements.clear();
  int64_t i = 0;
  for (const ObjectRef& form : forms) elements[i++] = form;
}

}  // namespace corvane
