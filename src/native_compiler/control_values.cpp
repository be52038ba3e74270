// Controls as values: a control named alone (Set t = txtName, ClearBox
// txtName, For Each o In optSize), the types that hold them (As TextBox,
// As Control) and the member a control gives where a plain value is read
// (s = txtName reads its Text).
#include <map>
#include <set>

#include "native_compiler/expressions.h"
#include "native_compiler/patterns.h"

namespace corvane {

namespace {

// Each control kind's default member, read where the control stands for a
// plain value; kinds without one are used as objects only.
const std::map<std::string, std::string, std::less<>>& default_members() {
  static const std::map<std::string, std::string, std::less<>> members = {
      {"textbox", "Text"},        {"label", "Caption"},      {"commandbutton", "Value"}, {"checkbox", "Value"},
      {"optionbutton", "Value"},  {"frame", "Caption"},      {"listbox", "Text"},        {"combobox", "Text"},
      {"hscrollbar", "Value"},    {"vscrollbar", "Value"},   {"timer", "Enabled"},       {"slider", "Value"},
      {"progressbar", "Value"},   {"richtextbox", "Text"},   {"filelistbox", "FileName"}, {"dirlistbox", "Path"},
      {"drivelistbox", "Drive"}};
  return members;
}

}  // namespace

bool is_control_type(std::string_view lower_type) {
  std::string_view t = lower_type;
  if (t.rfind("vb.", 0) == 0) t.remove_prefix(3);
  if (t == "control" || t == "menu") return true;
  for (const auto* kinds : {&SIMPLE_CONTROLS, &OTHER_CONTROLS})
    for (const std::string& kind : *kinds)
      if (lower(kind) == t) return true;
  return false;
}

const Control* NativeCompiler::find_control(const NativeProcedure* proc, std::string_view lower_name) const {
  const Control* found = nullptr;
  for (size_t f = 0; f < project_.forms.size(); ++f) {
    for (const Control& c : project_.forms[f].controls) {
      if (name_key(c.name) != lower_name) continue;
      if (proc && proc->form_index && *proc->form_index == static_cast<int>(f)) return &c;
      if (!found) found = &c;
    }
  }
  return found;
}

std::optional<std::string> NativeCompiler::control_object(const NativeProcedure* proc, std::string_view text,
                                                          const Locals& locals) {
  static const Regex alone(R"(^\s*([\p{L}_]\w*)\s*$)");
  static const Regex element(R"(^\s*([\p{L}_]\w*)\s*\((.+)\)\s*$)");
  std::string name, index;
  if (auto g = alone.match_groups(text)) {
    name = (*g)[1];
  } else if (auto e = element.match_groups(text)) {
    name = (*e)[1];
    index = (*e)[2];
  } else {
    return std::nullopt;
  }
  const std::string key = name_key(name);
  if (!find_control(proc, key) || locals.count(key)) return std::nullopt;
  try {
    (void)resolve_variable(proc, name, locals);
    return std::nullopt;  // a variable of that name hides the control
  } catch (const NativeCompileError&) {
  }
  if (index.empty()) return "vb_control_object(" + q(name) + ")";
  if (!is_control_array(key)) return std::nullopt;
  return "vb_control_object_at(" + q(name) + "," + expr(proc, index, locals) + ")";
}

std::optional<std::string> default_member_of(std::string_view kind) {
  const auto it = default_members().find(lower(kind));
  if (it == default_members().end()) return std::nullopt;
  return it->second;
}

std::optional<std::string> NativeCompiler::control_default(const NativeProcedure* proc, std::string_view name) const {
  const Control* c = find_control(proc, name_key(name));
  if (!c) return std::nullopt;
  return default_member_of(c->kind);
}

}  // namespace corvane

namespace corvane {

bool NativeCompiler::names_object_variable(const NativeProcedure& proc, std::string_view name,
                                           const Locals& locals) const {
  const std::string key = name_key(name);
  if (key == "me" || is_form(key) || is_control(key)) {
    if (!locals.count(key)) return false;
  }
  try {
    (void)resolve_variable(&proc, name, locals);
    return true;
  } catch (const NativeCompileError&) {
    return false;
  }
}

std::vector<std::string> NativeCompiler::show_statement(const NativeProcedure& proc, const std::string& form,
                                                        std::string_view arguments, Locals& locals, int indent) {
  const std::string p(static_cast<size_t>(indent) * 4, ' ');
  const std::vector<std::string> pieces = comma_pieces(unparenthesize(strip_text(arguments)));
  if (pieces.empty()) return {p + "vb_show(" + q(form) + ");"};
  // (the owner form, when given, only places the window)
  return {p + "vb_show_modal(" + q(form) + "," + expr(&proc, pieces[0], locals) + ");"};
}

}  // namespace corvane

namespace corvane {

bool NativeCompiler::form_property_name(const NativeProcedure* proc, std::string_view name,
                                        const Locals& locals) const {
  static const std::set<std::string, std::less<>> properties = {
      "caption", "visible", "keypreview", "backcolor", "forecolor",   "width",   "height",
      "scalewidth", "scaleheight", "left", "top", "windowstate", "enabled", "mousepointer", "currentx", "currenty"};
  if (!proc || !proc->form_index || proc->class_name) return false;
  const std::string key = name_key(name);
  if (!properties.count(key) || locals.count(key) || is_procedure_name(proc, key)) return false;
  try {
    (void)resolve_variable(proc, name, locals);
    return false;  // a declared name of the form's wins
  } catch (const NativeCompileError&) {
    return true;
  }
}

}  // namespace corvane

namespace corvane {

bool is_language_enum(std::string_view lower_type) {
  static const std::set<std::string, std::less<>> enums = {
      "vbmsgboxresult", "vbmsgboxstyle",   "vbtristate",     "vbcomparemethod", "vbdayofweek",
      "vbfirstweekofyear", "vbvartype",    "vbfileattribute", "vbappwinstyle",  "vbstrconv",
      "vbcalendar",      "vbdateformat",   "colorconstants", "keycodeconstants", "formwindowstateconstants",
      "mousepointerconstants", "shiftconstants", "mousebuttonconstants", "alignmentconstants",
      "vbmsgboxresult", "ole_color", "vba.vbmsgboxresult", "vba.vbmsgboxstyle", "vba.vbtristate"};
  return enums.count(lower_type) > 0;
}

}  // namespace corvane

namespace corvane {

const Control* NativeCompiler::control_of_form(std::string_view form_key, std::string_view lower_name) const {
  for (const VBForm& form : project_.forms) {
    if (name_key(form.name) != form_key) continue;
    for (const Control& c : form.controls)
      if (name_key(c.name) == lower_name) return &c;
  }
  return nullptr;
}

}  // namespace corvane

namespace corvane {

std::string NativeCompiler::object_expr(const NativeProcedure& proc, std::string_view text, const Locals& locals) {
  struct Restore {
    bool& flag;
    bool saved;
    ~Restore() { flag = saved; }
  } restore{setting_object_, setting_object_};
  setting_object_ = true;
  return expr(&proc, text, locals);
}

// Inside a class, a property of the class by its name alone (Tag, or
// Tag = x), unless a local or field has that name.
bool NativeCompiler::class_property_name(const NativeProcedure* proc, std::string_view name, const Locals& locals,
                                         std::string_view which) const {
  if (!proc || !proc->class_name) return false;
  const std::string key = name_key(name);
  if (locals.count(key) || is_procedure_name(proc, key)) return false;
  const std::string prefix = "cls_" + *proc->class_name + "_property_";
  const NativeProcedure* property = find_procedure(prefix + std::string(which) + "_" + key);
  if (!property && which == "let") property = find_procedure(prefix + "set_" + key);
  if (!property || property == proc || property->params.size() != (which == "get" ? 0u : 1u)) return false;
  try {
    (void)resolve_variable(proc, name, locals);
    return false;  // a field of that name wins
  } catch (const NativeCompileError&) {
    return true;
  }
}

}  // namespace corvane
