// Property procedures of forms and standard modules. A Property Get is
// collected as a Function of the property's name, so reading the name (or
// Form1.Name, Module1.Name) calls it; assigning to the name calls the
// Property Let, or the Property Set after Set, with the value last.
#include "basic/source_lines.h"
#include "native_compiler/expressions.h"
#include "native_compiler/patterns.h"

namespace corvane {

namespace {

std::string key_for(std::string_view prefix, std::string_view name, std::string_view which) {
  std::string key(prefix);
  if (which != "get") key += "property_" + std::string(which) + "_";
  return key + name_key(name);
}

}  // namespace

const NativeProcedure* NativeCompiler::form_property(std::string_view form, std::string_view name,
                                                     std::string_view which) const {
  for (size_t i = 0; i < project_.forms.size(); ++i) {
    if (name_key(project_.forms[i].name) != name_key(form)) continue;
    const NativeProcedure* p = find_procedure(key_for("f" + std::to_string(i) + "_", name, which));
    // A plain Function of that name is no property.
    return p && lower(p->header_kind).rfind("property", 0) == 0 ? p : nullptr;
  }
  return nullptr;
}

const NativeProcedure* NativeCompiler::form_procedure(std::string_view form, std::string_view name) const {
  for (size_t i = 0; i < project_.forms.size(); ++i)
    if (name_key(project_.forms[i].name) == name_key(form))
      return find_procedure("f" + std::to_string(i) + "_" + name_key(name));
  return nullptr;
}

const NativeProcedure* NativeCompiler::property_procedure(const NativeProcedure* caller, std::string_view name,
                                                          std::string_view which) const {
  const auto property = [](const NativeProcedure* p) {
    return p && lower(p->header_kind).rfind("property", 0) == 0 ? p : nullptr;
  };
  if (caller && caller->form_index)
    if (const NativeProcedure* p =
            property(find_procedure(key_for("f" + std::to_string(*caller->form_index) + "_", name, which))))
      return p;
  return property(find_procedure(key_for("module_", name, which)));
}

std::optional<std::vector<std::string>> NativeCompiler::property_store(const NativeProcedure& proc,
                                                                       const NativeProcedure* setter,
                                                                       std::string_view written,
                                                                       std::string_view arguments,
                                                                       std::string_view value, Locals& locals,
                                                                       int indent) {
  if (!setter) return std::nullopt;
  // The value is worked out first, then the index arguments.
  std::vector<Operand> args;
  const std::string v = new_temporary();
  std::vector<std::string> out{std::string(static_cast<size_t>(indent) * 4, ' ') + v + " = " +
                               expr(&proc, value, locals) + ";"};
  if (!strip_text(arguments).empty())
    for (const std::string& piece : split_outside(arguments, ',')) args.push_back(typed_expr(&proc, piece, locals));
  args.push_back(value_operand(v));
  out.push_back(std::string(static_cast<size_t>(indent) * 4, ' ') + call_procedure(&proc, *setter, written, args, {}) +
                ";");
  return out;
}

std::vector<std::string> NativeCompiler::class_array_initializers(std::string_view cls) {
  std::vector<std::string> out;
  const auto it = class_array_fields_.find(name_key(cls));
  if (it == class_array_fields_.end()) return out;
  static const Locals none;
  for (const auto& [field, bounds, type] : it->second) {
    Declaration d{field, type, "", bounds, ""};
    out.push_back("vb_member_set(obj," + q(field) + "," + array_init(nullptr, d, none) + ");");
  }
  return out;
}

}  // namespace corvane
