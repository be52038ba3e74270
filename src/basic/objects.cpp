#include "basic/objects.h"

namespace corvane {

ControlObject::ControlObject(std::string name_, std::map<std::string, Value> props_)
    : name(std::move(name_)), props(std::move(props_)) {}

Value ControlObject::get(std::string_view property) {
  const std::string key = lower(property);
  if (key == "name") return Value(name);
  auto it = props.find(key);
  if (it != props.end()) return it->second;
  throw VBError(describe() + " has no supported property " + std::string(property));
}

void ControlObject::set(std::string_view property, Value value) {
  const std::string key = lower(property);
  if (key == "name") throw VBError("Cannot change a control name at runtime");
  props[key] = value;
  if (on_change) on_change(*this, key, value);
}

Value ControlObject::method(std::string_view method_name, std::vector<Value>& args) {
  if (on_method) return on_method(*this, lower(method_name), args);
  return standalone_method(method_name, args);
}

Value ControlObject::standalone_method(std::string_view method_name, std::vector<Value>& args) {
  const std::string key = lower(method_name);
  if (key == "additem") {
    auto it = props.find("items");
    if (it == props.end() || !it->second.is_array()) it = props.insert_or_assign("items", make_array()).first;
    // Nothing adds an empty entry (its text form).
    it->second.as_array()->items.push_back(Value(args.empty() ? std::string() : vbstr(args[0])));
    return Value();
  }
  if (key == "clear") {
    props["items"] = make_array();
    return Value();
  }
  if (key == "setfocus") return Value();
  if (key == "show") {
    set("Visible", Value(true));
    return Value();
  }
  if (key == "hide") {
    set("Visible", Value(false));
    return Value();
  }
  throw VBError("Unsupported control method: " + name + "." + std::string(method_name));
}

VBRecord::VBRecord(std::string type_name, std::map<std::string, Value> fields)
    : ControlObject(std::move(type_name), std::move(fields)) {}

Value VBRecord::get(std::string_view field) {
  auto it = props.find(lower(field));
  if (it == props.end()) throw VBError(name + " has no field " + std::string(field));
  return it->second;
}

void VBRecord::set(std::string_view field, Value value) {
  auto it = props.find(lower(field));
  if (it == props.end()) throw VBError(name + " has no field " + std::string(field));
  it->second = std::move(value);
}

}  // namespace corvane
