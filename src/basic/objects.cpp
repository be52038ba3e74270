#include "basic/objects.h"

#include <algorithm>
#include <array>

namespace corvane {

bool is_bare_form_method(std::string_view lower_name) {
  static constexpr std::array<std::string_view, 5> names = {"move", "hide", "show", "refresh", "scale"};
  return std::find(names.begin(), names.end(), lower_name) != names.end();
}

ControlObject::ControlObject(std::string name_, std::map<std::string, Value> props_)
    : name(std::move(name_)), props(std::move(props_)) {}

Value ControlObject::get(std::string_view property) {
  const std::string key = lower(property);
  if (key == "name") return Value(name);
  if (key == "index" && index >= 0) return Value(int64_t{index});
  auto it = props.find(key);
  if (it != props.end()) return it->second;
  throw VBError(describe() + " has no supported property " + std::string(property));
}

void ControlObject::set(std::string_view property, Value value) {
  const std::string key = lower(property);
  if (key == "name") throw VBError("Cannot change a control name at runtime");
  if (key == "index" && index >= 0) throw VBError(382, "'Index' property cannot be set at run time");
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

ObjectRef ControlArray::element(int64_t i) const {
  auto it = elements.find(i);
  if (it == elements.end())
    throw VBError(340, "Control array element '" + std::to_string(i) + "' doesn't exist");
  return it->second;
}

std::vector<Value> ControlArray::items() const {
  std::vector<Value> out;
  for (const auto& [i, object] : elements) out.emplace_back(object);
  return out;
}

Value ControlArray::get(std::string_view property) {
  const std::string key = lower(property);
  if (key == "count") return Value(static_cast<int64_t>(elements.size()));
  if (key == "ubound") return Value(highest());
  if (key == "lbound") return Value(lowest());
  if (key == "name") return Value(name);
  // A property of the whole array is an element's property in VB6 only
  // through an index.
  throw VBError(343, "Object not an array: " + name + "." + std::string(property) + " needs an index");
}

void ControlArray::set(std::string_view property, Value) {
  throw VBError(343, "Object not an array: " + name + "." + std::string(property) + " needs an index");
}

Value ControlArray::method(std::string_view method_name, std::vector<Value>& args) {
  const std::string key = lower(method_name);
  if (key == "item") {
    if (args.size() != 1) throw VBError(450, "Wrong number of arguments: " + name + ".Item");
    return Value(element(number_as_count(args[0], INT64_MIN)));
  }
  if ((key == "load" || key == "unload") && on_method) return on_method(*this, key, args);
  throw VBError(438, "Object doesn't support this property or method: " + name + "." + std::string(method_name));
}

VBRecord::VBRecord(std::string type_name, std::map<std::string, Value> fields)
    : ControlObject(std::move(type_name), std::move(fields)) {}

Value VBRecord::get(std::string_view field) {
  auto it = props.find(lower(field));
  if (it == props.end()) throw VBError(name + " has no field " + std::string(field));
  return it->second;
}

Value copy_record(const Value& value) {
  if (!value.is_object() || !value.as_object() || !value.as_object()->is_record()) return value;
  const ControlObject& record = *value.as_object();
  std::map<std::string, Value> fields;
  for (const auto& [name, field] : record.props) {
    if (field.is_array()) {
      auto array = std::make_shared<VBArray>(*field.as_array());
      for (Value& item : array->items) item = copy_record(item);
      fields[name] = Value(std::move(array));
    } else {
      fields[name] = copy_record(field);
    }
  }
  return Value(std::static_pointer_cast<ControlObject>(std::make_shared<VBRecord>(record.name, std::move(fields))));
}

void VBRecord::set(std::string_view field, Value value) {
  auto it = props.find(lower(field));
  if (it == props.end()) throw VBError(name + " has no field " + std::string(field));
  it->second = std::move(value);
}

}  // namespace corvane
