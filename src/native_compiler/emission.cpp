// The emitted C file: definition tables, module-level variables and their
// initializer, class registration and dispatch, one function per procedure
// and the event dispatcher.
#include <filesystem>

#include "compat/analyzer.h"
#include "native_compiler/native_compiler.h"
#include "native_compiler/patterns.h"

namespace corvane {

namespace {

// Whether the procedure uses On Error (its C function calls setjmp).
bool uses_on_error(const NativeProcedure& proc) {
  static const Regex on_error(R"(^On\s+Error\b)", Regex::CASELESS);
  return std::any_of(proc.body.begin(), proc.body.end(), [](const std::string& l) { return on_error.match(l); });
}

// The C parameters: a pointer to the argument's cell, or for a ByVal
// typed parameter its value (volatile where On Error may jump back).
std::string parameters(const NativeCompiler& compiler, const NativeProcedure& proc) {
  const bool traps = uses_on_error(proc);
  std::vector<std::string> params;
  if (proc.class_name) params.push_back("VBValue *a_self");
  for (const NativeParam& p : proc.params)
    params.push_back(compiler.value_param(proc, p)
                         ? (traps ? "volatile " : "") + c_type(scalar_type(p.type)) + " " + param_c_name(p.name)
                         : (compiler.scalar_param(proc, p) ? c_type(scalar_type(p.type)) : std::string("VBValue")) +
                               " *" + param_c_name(p.name));
  if (params.empty()) return "void";
  std::string out;
  for (size_t k = 0; k < params.size(); ++k) out += (k ? "," : "") + params[k];
  return out;
}

std::string flag(bool b) { return b ? "1" : "0"; }

// The events the runtime raises: a form's, and a control's by its kind.
constexpr const char* FORM_EVENTS[] = {"Load",      "Unload",    "Activate", "Resize",  "Click",   "DblClick",
                                       "MouseDown", "MouseUp",   "MouseMove", "KeyDown", "KeyUp",   "KeyPress", "Paint"};

std::vector<const char*> control_events(std::string_view kind) {
  if (kind == "Timer") return {"Timer"};
  if (kind == "TextBox")
    return {"Click",   "DblClick", "Change",    "KeyPress", "KeyDown",  "KeyUp",
            "MouseDown", "MouseUp", "MouseMove", "GotFocus", "LostFocus"};
  return {"Click", "DblClick", "Change", "MouseDown", "MouseUp", "MouseMove"};
}

// A form's menus as the runtime's flat table holds them: each top-level
// menu followed by the items of its drop-down. Items of deeper submenus
// follow the item that opens them, indented, so each stays reachable.
struct FlatMenu {
  const MenuItem* item;
  long parent;  // table position of the top-level menu, -1 for a top-level menu
  int depth;    // 0 top level, 1 drop-down item, 2 and more nested deeper
};

std::vector<FlatMenu> flat_menus(const VBForm& form) {
  std::vector<FlatMenu> rows;
  const std::function<void(const MenuItem&, long, int)> add = [&](const MenuItem& m, long top, int depth) {
    rows.push_back({&m, top, depth});
    for (const MenuItem& child : m.children) add(child, top, depth + 1);
  };
  for (const MenuItem& top : form.menus) {
    const long position = static_cast<long>(rows.size());
    rows.push_back({&top, -1, 0});
    for (const MenuItem& child : top.children) add(child, position, 1);
  }
  return rows;
}

}  // namespace

std::string NativeCompiler::emit() {
  // A variable found to need a VBValue is recorded and everything
  // translated again (each time one variable fewer is typed).
  while (true) {
    try {
      // Functions whose results turned out wider or not Integers are
      // translated again with what was learnt.
      results_changed_ = false;
      std::string text = emit_once();
      if (!results_changed_) return text;
    } catch (const UntypedVariable& u) {
      note_untyped(u);
    }
  }
}

namespace {

// The group of a control's option buttons: 1 + the position of its
// container among the form's controls, 0 for one on the form itself.
int option_group(const VBForm& form, const Control& c) {
  if (c.container.empty()) return 0;
  for (size_t k = 0; k < form.controls.size(); ++k)
    if (name_key(form.controls[k].name) == name_key(c.container) && form.controls[k].index == c.container_index)
      return static_cast<int>(k) + 1;
  return 0;
}

}  // namespace

namespace {

// What App reports: the project's title and executable name (its name
// when it gives none), version and descriptions.
std::string app_setup(const Project& project) {
  const AppInfo& app = project.app;
  const std::string exe = std::filesystem::path(app.exe_name).stem().string();
  std::string texts;
  const std::string no_company;
  for (const std::string* text : {&no_company, &app.file_description, &app.product_name, &app.legal_copyright,
                                  &app.comments, &app.help_file})
    texts += (texts.empty() ? "" : ",") + q(*text);
  return "vb_set_app(" + q(app.title.empty() ? project.name : app.title) + "," + q(exe.empty() ? project.name : exe) +
         ");{static const char *const app_texts[6]={" + texts + "};vb_set_app_version(" + std::to_string(app.major) +
         "," + std::to_string(app.minor) + "," + std::to_string(app.revision) + ",app_texts);}";
}

}  // namespace

// The dispatcher of class members: obj.Method(args), obj.Property (as
// __get_name), property stores (__let_name), and a member without
// parameters whose result its arguments index.
void NativeCompiler::emit_class_dispatch(std::vector<std::string>& out) {
  out.push_back("");
  out.push_back("static VBValue dispatch_class(VBValue obj,const char *method,int argc,VBValue *args) {");
  for (const ClassModule& cls : project_.classes) {
    const std::string class_key = name_key(cls.name);
    out.push_back("    if(vb_object_is(obj," + q(cls.name) + ")) {");
    if (const std::vector<std::string> arrays = class_array_initializers(cls.name); !arrays.empty()) {
      out.push_back("        if(!strcasecmp(method,\"Class_Initialize\")) {");
      for (const std::string& line : arrays) out.push_back("            " + line);
      out.push_back("        }");
    }
    std::set<std::string> members;
    for (const NativeProcedure& proc : procs_) {
      if (proc.class_name != class_key) continue;
      std::string member = proc.name;
      const std::string hk = lower(proc.header_kind);
      if (hk == "property get") member = "__get_" + name_key(proc.name);
      else if (hk == "property let" || hk == "property set") member = "__let_" + name_key(proc.name);
      // A Let and a Set of one property: the first one answers.
      if (!members.insert(lower(member)).second) continue;
      std::string args = "&obj";
      for (size_t k = 0; k < proc.params.size(); ++k) args += ",&args[" + std::to_string(k) + "]";
      const std::string call = ") return p_" + c_name(proc.key) + "(" + args + ");";
      const std::string argc = std::to_string(proc.params.size());
      out.push_back("        if(!strcasecmp(method," + q(member) + ") && argc==" + argc + call);
      // obj.Item(i) with parentheses reads a Property Get that takes arguments.
      if (hk == "property get" && !proc.params.empty() && members.insert(name_key(proc.name)).second)
        out.push_back("        if(!strcasecmp(method," + q(proc.name) + ") && argc==" + argc + call);
    }
    // obj.Total without parentheses calls a Function that takes no arguments.
    for (const NativeProcedure& proc : procs_) {
      if (proc.class_name != class_key || lower(proc.header_kind) != "function" || !proc.params.empty()) continue;
      const std::string member = "__get_" + name_key(proc.name);
      if (members.insert(member).second)
        out.push_back("        if(!strcasecmp(method," + q(member) + ") && argc==0) return p_" + c_name(proc.key) +
                      "(&obj);");
    }
    // obj.Items(1): a Property Get or Function without parameters, its
    // result indexed.
    std::set<std::string> indexed;
    for (const NativeProcedure& proc : procs_) {
      const std::string hk = lower(proc.header_kind);
      if (proc.class_name != class_key || (hk != "function" && hk != "property get") || !proc.params.empty() ||
          !indexed.insert(name_key(proc.name)).second)
        continue;
      out.push_back("        if(!strcasecmp(method," + q(proc.name) + ") && argc>0) return vb_index_result(p_" +
                    c_name(proc.key) + "(&obj),argc,args," + q(cls.name) + "," + q(proc.name) + ");");
      if (hk == "property get")  // obj.Books() reads the property
        out.push_back("        if(!strcasecmp(method," + q(proc.name) + ") && argc==0) return p_" + c_name(proc.key) +
                      "(&obj);");
    }
    out.push_back("    }");
  }
  out.push_back("    if(!strcasecmp(method,\"Class_Initialize\"))return vb_int(0);");
  out.push_back("    fprintf(stderr,\"Unknown native class method: %s\\n\",method);exit(2);");
  out.push_back("}");
}

std::string NativeCompiler::emit_once() {
  // 1. Compatibility findings block the build.
  const auto diagnostics = analyze_project(project_);
  if (!diagnostics.empty()) {
    const Diagnostic& d = diagnostics.front();
    error(nullptr, d.location + ":" + std::to_string(d.line) + ": " + d.feature + "; " + d.advice);
  }
  // 2. Controls of each form. An event procedure this runtime never raises
  // (or of a control the form does not have) is an ordinary procedure, as
  // VB6 ignores it.
  for (const VBForm& form : project_.forms)
    for (const Control& c : form.controls)
      if (!SIMPLE_CONTROLS.count(c.kind) && !OTHER_CONTROLS.count(c.kind))
        error(nullptr, form.name + "." + c.name + ": native control " + c.kind + " is not yet implemented");
  // 3. The startup.
  const std::string startup_key = name_key(project_.startup);
  const bool sub_main = startup_key == "sub main";
  if (!sub_main && !is_form(startup_key)) error(nullptr, "Startup form not found: " + project_.startup);

  std::vector<std::string> out;
  out.push_back("/* Generated by Corvane native compiler. Edit the .frm/.bas sources, not this file. */");
  out.push_back("#include \"vb_native.h\"");
  out.push_back("#include <stdio.h>");
  out.push_back("#include <stdlib.h>");
  out.push_back("#include <strings.h>");
  out.push_back("");
  out.push_back("/* Forward declarations: native BASIC procedures */");
  attempted_.clear();
  for (const NativeProcedure& proc : procs_)
    if (attempt_candidate(proc)) {
      attempted_.insert(proc.key);
      out.push_back("static VB_ATTEMPT_FUNCTION long long p_" + c_name(proc.key) + "_int(" + parameters(*this, proc) +
                    ");");
    }
  for (const NativeProcedure& proc : procs_)
    out.push_back("static " + std::string(result_bits(proc) >= 0 ? "long long" : "VBValue") + " p_" +
                  c_name(proc.key) + "(" + parameters(*this, proc) + ");");
  out.push_back("");
  out.push_back("/* Module-level variables (initialized before first form loads) */");
  scalar_globals_.clear();
  for (GlobalName& g : globals_) {
    // Enumeration members stay VBValues: their values need not fit a Long.
    g.scalar = !g.array && !enums_.count(g.name) && may_type("", g.name, g.type);
    if (g.scalar) scalar_globals_["g_" + c_name(g.name)] = g.type;
    else scalar_globals_.erase("g_" + c_name(g.name));
    out.push_back("static " + (g.scalar ? c_type(scalar_type(g.type)) : std::string("VBValue")) + " g_" +
                  c_name(g.name) + ";");
  }
  out.push_back("static VBValue dispatch_class(VBValue obj,const char *method,int argc,VBValue *args);");
  out.push_back("static void init_module_globals(void) {");
  for (const ClassModule& cls : project_.classes) {
    const auto& fields = class_types_.at(name_key(cls.name));
    std::string names, types;
    for (size_t k = 0; k < fields.size(); ++k) {
      names += (k ? ", " : "") + q(fields[k].first);
      types += (k ? ", " : "") + q(fields[k].second);
    }
    if (fields.empty()) names = types = "NULL";
    out.push_back("    vb_register_class(" + q(cls.name) + "," + std::to_string(fields.size()) + ",(const char*[]){" +
                  names + "},(const char*[]){" + types + "});");
  }
  out.push_back("    vb_set_class_handler(dispatch_class);");
  // Record types before the variables that hold records.
  for (const auto& [name, fields] : records_) {
    std::string names, types;
    for (size_t k = 0; k < fields.size(); ++k) {
      names += (k ? ", " : "") + q(fields[k].first);
      types += (k ? ", " : "") + q(fields[k].second);
    }
    if (fields.empty()) names = types = "NULL";
    out.push_back("    vb_register_record(" + q(name) + "," + std::to_string(fields.size()) + ",(const char*[]){" + names +
                  "},(const char*[]){" + types + "});");
  }
  for (const GlobalName& g : globals_) {
    // A declared default is the type's C initial value (a Double's unset mark).
    const bool default_value = g.init == "vb_int(0)" || g.init == "vb_bool(0)" || g.init == "vb_str(\"\")";
    const std::string init = !g.scalar       ? g.init
                             : default_value ? c_initial(scalar_type(g.type))
                                             : store_to(value_operand(g.init), g.type);
    out.push_back("    g_" + c_name(g.name) + " = " + init + ";");
  }
  if (sub_main) {
    if (!find_procedure("module_main")) error(nullptr, "Startup Sub Main requires a public Sub Main in a .bas module");
    out.push_back("    (void)p_module_main();");
  }
  out.push_back("}");

  for (const NativeProcedure& proc : procs_) {
    out.push_back("");
    const bool int_result = result_bits(proc) >= 0;
    out.push_back("static " + std::string(int_result ? "long long" : "VBValue") + " p_" + c_name(proc.key) + "(" +
                  parameters(*this, proc) + ") {");
    std::vector<std::string> body = compile_body(proc);
    if (proc.kind == "function")  // whatever the declared type, as interpreted
      out.push_back(std::string("    ") + (traps() ? "volatile " : "") +
                    (int_result ? "long long _ret = 0;" : "VBValue _ret = vb_int(0);"));
    // Arguments are converted to the parameters' declared types on entry.
    // (Typed parameters arrive converted; a Double variable passed by
    // reference is read as a number from here on.)
    for (const NativeParam& p : proc.params) {
      const std::string a = param_c_name(p.name);
      if (value_param(proc, p)) {
        if (scalar_type(p.type) == Ty::Dbl) out.push_back("    " + a + " = vb_double_read(" + a + ");");
      } else if (scalar_param(proc, p)) {
        if (scalar_type(p.type) == Ty::Dbl) out.push_back("    *" + a + " = vb_double_read(*" + a + ");");
      } else if (p.type != "variant") {
        out.push_back("    *" + a + " = vb_coerce(*" + a + "," + q(p.type) + ");");
      }
    }
    if (has_attempt(proc)) {
      // The Integer-only version first; an overflow comes back here and
      // the body below runs with exact values.
      std::string args;
      for (size_t k = 0; k < proc.params.size(); ++k) args += (k ? "," : "") + param_c_name(proc.params[k].name);
      out.push_back("    { jmp_buf _attempt; if(vb_attempt_begin(&_attempt)) { if(setjmp(_attempt) == 0) {");
      out.push_back("        long long _whole = p_" + c_name(proc.key) + "_int(" + args +
                    "); vb_attempt_end(); return vb_int(_whole); } } }");
    }
    for (std::string& line : body) out.push_back(std::move(line));
    out.push_back(proc.kind == "function" ? "    return _ret;" : "    return vb_int(0);");
    out.push_back("}");
    if (!has_attempt(proc)) continue;
    const auto whole = attempt_version(proc);
    if (!whole) {
      not_attemptable_.insert(proc.key);
      results_changed_ = true;
      continue;
    }
    out.push_back("");
    out.push_back("static VB_ATTEMPT_FUNCTION long long p_" + c_name(proc.key) + "_int(" + parameters(*this, proc) +
                  ") {");
    out.push_back("    long long _ret = 0;");
    for (const std::string& line : *whole) out.push_back(line);
    out.push_back("    return _ret;");
    out.push_back("}");
  }

  emit_class_dispatch(out);

  out.push_back("");
  out.push_back("static void dispatch_event(int form,int control,const char *event) {");
  // A member of a control array (index >= 0) receives its Index first;
  // the members of an array share one line, which also serves members
  // that Load adds (control is then -1).
  std::set<std::string> array_lines;
  const auto handler_line = [&](size_t form, long control, const std::string& event, const std::string& name,
                                int index, const std::string& array = "", bool menu = false) {
    if ((menu || !array.empty()) && !array_lines.insert(std::to_string(form) + "|" + name_key(name)).second) return;
    const NativeProcedure* proc = find_procedure("f" + std::to_string(form) + "_" + name_key(name));
    if (!proc) return;
    // Arguments (MouseDown's Button, Shift, X, Y) come from the runtime,
    // as many as the procedure declares.
    std::string args, fetch, give_back;
    const size_t n = proc->params.size();
    const size_t first = index >= 0 && n > 0 ? 1 : 0;  // where the runtime's arguments start
    if (n > 0) {
      const std::string rest = std::to_string(n - first), at = first ? "_a+1" : "_a";
      fetch = "VBValue _a[" + std::to_string(n) + "]; ";
      // (a menu array's item has its index in the table)
      if (first)
        fetch += "_a[0] = vb_int(" +
                 (menu ? "vb_menu_index(form,control)"
                       : array.empty() ? std::to_string(index) : "vb_member_index(form,control)") +
                 "); ";
      fetch += "vb_event_args(" + rest + "," + at + "); ";
      for (size_t k = 0; k < n; ++k) args += (k ? ",&_a[" : "&_a[") + std::to_string(k) + "]";
      // What the handler left in them goes back (KeyAscii = 0 drops a key).
      give_back = "vb_event_args_return(" + rest + "," + at + ");";
    }
    // Menus go by name: a member that Load adds has a position of its own.
    const std::string which = menu            ? "vb_menu_is(form,control," + q(array) + ")"
                              : array.empty() ? "control==" + std::to_string(control)
                                              : "vb_is_member(form,control," + q(array) + ")";
    out.push_back("    if(form==" + std::to_string(form) + " && " + which + " && !strcasecmp(event," + q(event) +
                  ")) {" + fetch + "(void)p_" + c_name(proc->key) + "(" + args + ");" + give_back + "return;}");
  };
  for (size_t i = 0; i < project_.forms.size(); ++i) {
    const VBForm& form = project_.forms[i];
    for (const char* event : FORM_EVENTS) handler_line(i, -1, event, std::string("Form_") + event, -1);
    for (size_t c = 0; c < form.controls.size(); ++c) {
      const Control& control = form.controls[c];
      for (const char* event : control_events(control.kind))
        handler_line(i, static_cast<long>(c), event, control.name + "_" + event, control.index,
                     control.index >= 0 ? control.name : std::string());
    }
  }
  for (size_t i = 0; i < project_.forms.size(); ++i) {
    const std::vector<FlatMenu> rows = flat_menus(project_.forms[i]);
    for (size_t r = 0; r < rows.size(); ++r)
      if (rows[r].depth > 0)
        handler_line(i, -2 - static_cast<long>(r), "Click", rows[r].item->name + "_Click", rows[r].item->index,
                     rows[r].item->name, true);
  }
  out.push_back("    (void)form;(void)control;(void)event;");
  out.push_back("}");

  for (size_t i = 0; i < project_.forms.size(); ++i) {
    const VBForm& form = project_.forms[i];
    out.push_back("");
    out.push_back("static const VBControlDef controls_" + std::to_string(i) + "[] = {");
    // A control in a Frame or PictureBox stands relative to its container:
    // the runtime places every control on the form.
    const auto on_form = [&](const Control& c) {
      int left = c.left, top = c.top;
      const Control* at = &c;
      for (int depth = 0; depth < 16 && !at->container.empty(); ++depth) {
        const Control* holder = nullptr;
        for (const Control& other : form.controls)
          if (name_key(other.name) == name_key(at->container) && other.index == at->container_index) holder = &other;
        if (!holder) break;
        left += holder->left;
        top += holder->top;
        at = holder;
      }
      return std::pair<int, int>{left, top};
    };
    for (const Control& c : form.controls)
      out.push_back("    {" + q(c.kind) + "," + q(c.name) + "," + q(c.caption) + "," + q(c.text) + "," +
                    std::to_string(on_form(c).first) + "," + std::to_string(on_form(c).second) + "," +
                    std::to_string(c.width) + "," +
                    std::to_string(c.height) + "," + flag(c.visible) + "," + flag(c.enabled) + "," +
                    std::to_string(c.interval) + "," + flag(c.index >= 0) + "," + std::to_string(std::max(c.index, 0)) +
                    ",0," + std::to_string(option_group(form, c)) + "," + flag(c.default_button) + "," +
                    flag(c.cancel_button) + "," + std::to_string(c.tab_index) + "},");
    out.push_back("    {0},");
    out.push_back("};");
    out.push_back("static const VBMenuDef menus_" + std::to_string(i) + "[] = {");
    for (const FlatMenu& row : flat_menus(form)) {
      const MenuItem& m = *row.item;
      out.push_back("    {" + q(m.name) + "," + q(m.caption) + "," + std::to_string(row.parent) + "," + flag(m.enabled) +
                    "," + flag(m.visible) + "," + flag(m.checked) + "," + flag(m.index >= 0) + "," +
                    std::to_string(std::max(m.index, 0)) + "," + std::to_string(row.depth) + "},");
    }
    out.push_back("    {0},");
    out.push_back("};");
  }

  out.push_back("");
  out.push_back("static const VBFormDef forms[] = {");
  for (size_t i = 0; i < project_.forms.size(); ++i) {
    const VBForm& form = project_.forms[i];
    const size_t menu_entries = flat_menus(form).size();
    const std::string idx = std::to_string(i);
    out.push_back("    {" + q(form.name) + "," + q(form.caption) + "," + std::to_string(form.width) + "," +
                  std::to_string(form.height) + ",controls_" + idx + "," + std::to_string(form.controls.size()) +
                  ",menus_" + idx + "," + std::to_string(menu_entries) + "," + flag(form.key_preview) + "},");
  }
  out.push_back("    {0},");
  out.push_back("};");
  out.push_back("int main(void) {" + app_setup(project_) + "vb_run(forms," + std::to_string(project_.forms.size()) + "," + q(project_.startup) +
                ",dispatch_event,init_module_globals);return 0;}");

  std::string text;
  for (const std::string& line : out) text += line + "\n";
  return text;
}

}  // namespace corvane
