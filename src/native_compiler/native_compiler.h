#pragma once
// The native compiler: translates a project into one C11 file that is built
// together with the native runtime library (vb_native.c) into a Linux
// executable. Nothing is interpreted at run time: every construct is either
// translated here or rejected with the owner and line of its source.
#include <filesystem>
#include <functional>
#include <array>
#include <map>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "compat/code_locations.h"
#include "model/project.h"
#include "native_compiler/typed.h"

namespace corvane {

// The one error type of the compiler.
class NativeCompileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
  NativeCompileError(const std::string& message, std::string file_name, int file_line)
      : std::runtime_error(message), file(std::move(file_name)), line(file_line) {}
  // Where the refused source stands, when known: its file and line.
  std::string file;
  int line = 0;
};

// Vocabulary shared by the translators.
extern const std::set<std::string, std::less<>> SIMPLE_CONTROLS;  // matched case-sensitively
extern const std::set<std::string, std::less<>> OTHER_CONTROLS;
extern const std::set<std::string, std::less<>> BUILTINS;  // lower-cased
extern const std::set<std::string, std::less<>> VARIABLE_NAMED_BUILTINS;
extern const std::set<std::string, std::less<>> RESERVED;  // lower-cased

// A C string literal (with its quotes) holding `text` exactly: ASCII only,
// every byte the C source could misread escaped.
std::string q(std::string_view text);
// True when the whole text is an ASCII identifier.
bool valid(std::string_view name);
// True for a name as the token rule reads it: an ASCII letter or underscore,
// then letters and digits of any script and underscores (no type suffix).
bool is_variable_name(std::string_view name);

struct NativeParam {
  std::string name;  // lower-cased
  bool by_ref = true;
  std::string type;  // lower-cased, "variant" by default
  std::string element;  // an array parameter's element type ("a() As Long"), else empty
  std::string default_value;  // Optional p = value: the value as written
  bool param_array = false;   // ParamArray p(): receives the remaining arguments as one array
  bool optional = false;
};

class NativeCompiler;
std::vector<NativeParam> parse_params(const NativeCompiler& compiler, const std::string& where, const std::string& text);

struct NativeProcedure {
  std::string name;   // as written
  std::string key;    // C name after "p_"
  std::string owner;  // form, module or class as written
  std::string kind;   // "sub" or "function"
  std::vector<NativeParam> params;
  std::vector<std::string> body;  // logical lines between header and End
  std::optional<int> form_index;
  std::string result_type = "variant";
  std::optional<std::string> class_name;  // lower-cased
  std::string header_kind;               // "Sub", "Function", "Property Get", ... as written
  std::string file;                      // the file the procedure stands in
  std::vector<int> lines;                // the file line of each body line (0 when unknown)
};

// One local name of a procedure being translated.
struct LocalName {
  std::string c_text;
  bool pointer = false;
  std::string type;
  bool scalar = false;  // held in its type's C form (see typed.h), not as a VBValue
  std::string element;  // an array variable's element type, else empty
};
using Locals = std::map<std::string, LocalName>;

struct Declaration {
  std::string name;  // lower-cased
  std::string type;  // lower-cased
  std::string init;  // C initializer (empty for an array or a computed constant)
  std::optional<std::string> array_bound;  // an array: its bounds as written ("" for "()")
  std::string value;  // a constant's expression when it is not a literal
  bool as_new = false;  // an array As New: every element an instance from the start
};

struct GlobalName {
  std::string name;  // lower-cased
  std::string type;
  std::string init;
  bool scalar = false;  // held in its type's C form
  bool array = false;
  std::string owner;  // the form or module declaring it (lower-cased; empty for Enum members)
};

// Thrown when a variable given a typed form is used where only a VBValue
// will do (a For Each or ReDim target, a loop counter that may receive
// any number, ...): the code is translated again with that variable as a
// VBValue. `scope` is the procedure key, empty for a module variable.
struct UntypedVariable {
  std::string scope;
  std::string name;
  int bits = 0;  // when not 0: the variable stays typed with this magnitude bound
};

class NativeCompiler {
 public:
  explicit NativeCompiler(const Project& project);

  const Project& project() const { return project_; }

  // Raises NativeCompileError "{location}: {message}".
  [[noreturn]] void error(const NativeProcedure* proc, std::string_view message) const;

  std::vector<Declaration> parse_declaration(std::string_view line, std::string_view owner) const;
  // The record types (Type blocks): lower-cased name -> fields (lower-cased
  // name, type; "type[count]" for an array field), in declaration order.
  const std::vector<std::pair<std::string, std::vector<std::pair<std::string, std::string>>>>& records() const {
    return records_;
  }
  bool is_record(std::string_view lower_name) const;
  // The procedure being translated uses On Error (its locals are volatile,
  // since a trapped failure comes back through longjmp).
  bool traps() const { return traps_; }
  std::string resolve_variable(const NativeProcedure* proc, std::string_view name, const Locals& locals) const;
  // resolve_variable, but a plain name that is nothing else becomes a local
  // of the procedure (starting as 0), as an undeclared name does when
  // interpreted.
  std::string resolve_or_implicit(const NativeProcedure* proc, std::string_view name, const Locals& locals);
  // Reading this undeclared name (lower-cased) must check that something
  // was stored in it first: the program says Option Explicit.
  bool reads_check_declared(const std::string& key) const { return option_explicit_ && implicit_.count(key); }
  std::string call_typed(const NativeProcedure* proc, std::string_view name, const std::vector<Operand>& args,
                         const std::vector<std::optional<std::string>>& refs);
  // The arguments of a call statement (a left-out one is Nothing) and the
  // variables that plain-name arguments refer to (for ByRef parameters).
  struct CallArguments {
    std::vector<Operand> values;
    std::vector<std::optional<std::string>> refs;
  };
  std::string method_of_value(const NativeProcedure& proc, const std::string& owner, const std::string& method,
                              std::string_view args, const Locals& locals);
  CallArguments call_arguments(const NativeProcedure& proc, std::string_view text, const Locals& locals,
                               const NativeProcedure* callee = nullptr);
  // frm.Show [style[, owner]]: vbModal waits until the form is hidden or unloaded.
  std::vector<std::string> show_statement(const NativeProcedure& proc, const std::string& form,
                                          std::string_view arguments, Locals& locals, int indent);
  // In a form's code, a bare name of one of the form's own properties
  // (Caption, Width, ScaleHeight...) that no variable or procedure hides:
  // it reads and sets the form.
  bool class_property_name(const NativeProcedure* proc, std::string_view name, const Locals& locals,
                           std::string_view which) const;
  bool form_property_name(const NativeProcedure* proc, std::string_view name, const Locals& locals) const;
  // An expression read as an object: a control it names is the control
  // (Form2.txtName.Text = s changes that control).
  std::string object_expr(const NativeProcedure& proc, std::string_view text, const Locals& locals);
  // Whether `name` is a variable here (not a form or control of that name).
  bool names_object_variable(const NativeProcedure& proc, std::string_view name, const Locals& locals) const;
  std::string call_expr(const NativeProcedure* proc, std::string_view name, const std::vector<std::string>& args,
                        const std::vector<std::optional<std::string>>& refs);
  std::string expr(const NativeProcedure* proc, std::string_view text, const Locals& locals);
  Operand typed_expr(const NativeProcedure* proc, std::string_view text, const Locals& locals);
  // A variable read, typed when the variable has a typed form.
  Operand variable_operand(const NativeProcedure* proc, std::string_view name, const Locals& locals) const;
  // The declared type of a typed variable (local, parameter or module
  // variable), else nothing.
  std::optional<std::string> scalar_type_of(const NativeProcedure* proc, std::string_view name,
                                            const Locals& locals) const;
  // Stops the translation when `name` is a typed variable (UntypedVariable).
  void require_value_variable(const NativeProcedure* proc, std::string_view name, const Locals& locals) const;
  // Whether a parameter of `proc` is passed as a pointer to its C type.
  bool scalar_param(const NativeProcedure& proc, const NativeParam& param) const;
  // Whether it is passed as the C value itself (a ByVal typed parameter).
  bool value_param(const NativeProcedure& proc, const NativeParam& param) const {
    return !param.by_ref && scalar_param(proc, param);
  }
  // Whether a declared variable of this scope gets its typed form.
  bool may_type(std::string_view scope, std::string_view name, std::string_view type) const;
  // Element access: C text reading `array` at the subscripts.
  std::string element_read(const std::string& array, const std::vector<std::string>& subscripts,
                           const std::string& name);
  // The element type of an array variable declared with a scalar element
  // type (Byte ... String), else nothing.
  std::optional<std::string> array_element_type(const NativeProcedure* proc, std::string_view name,
                                                const Locals& locals) const;
  std::vector<std::string> compile_body(const NativeProcedure& proc);
  // One simple statement; `locals` gains the names it declares.
  std::vector<std::string> _statement(const NativeProcedure& proc, std::string_view line, Locals& locals,
                                      int indent);
  std::string emit();

  // Collected state.
  std::vector<const NativeProcedure*> procedures() const;  // in collection order
  const NativeProcedure* find_procedure(std::string_view key) const;
  const std::vector<GlobalName>& globals() const { return globals_; }
  const std::map<std::string, long long>& enums() const { return enums_; }
  bool is_class(std::string_view lower) const { return class_names_.count(std::string(lower)) > 0; }
  bool is_form(std::string_view lower) const { return form_names_.count(std::string(lower)) > 0; }
  // A standard module's name (Module1.Proc names the module's procedure).
  bool is_module(std::string_view lower) const;
  // frmDialog.Result: a variable the form declares Public, read or set from
  // anywhere as the form's member; the variable's name, else nothing.
  std::optional<std::string> form_variable(std::string_view form, std::string_view member) const;
  bool is_control(std::string_view lower) const { return form_control_names_.count(std::string(lower)) > 0; }
  // A control array's name (its members carry an Index).
  bool is_control_array(std::string_view lower) const { return control_array_names_.count(std::string(lower)) > 0; }
  // The control of that (lower-cased) name, the procedure's form's first;
  // null for menus and other names.
  const Control* find_control(const NativeProcedure* proc, std::string_view lower_name) const;
  // The control of that (lower-cased) name on the form `form_key`, else null.
  const Control* control_of_form(std::string_view form_key, std::string_view lower_name) const;
  // C text of the control, control array or control array member
  // ("cmdKey(3)") that `text` names alone, when no variable hides it.
  std::optional<std::string> control_object(const NativeProcedure* proc, std::string_view text,
                                            const Locals& locals);
  // The member a control named alone gives as a plain value (Text of a
  // text box), else nothing.
  std::optional<std::string> control_default(const NativeProcedure* proc, std::string_view name) const;
  // Source text as the statement being translated means it: the open With
  // block's members and the procedure's form variables spelled out.
  std::string with_applied(std::string_view text) const;
  const std::vector<std::pair<std::string, std::string>>* class_fields(std::string_view cls) const;
  const GlobalName* find_global(std::string_view lower) const;
  // Property procedures of forms and modules: `which` is "get", "let" or
  // "set"; the caller's form first, then the modules (property_procedure),
  // or one form's own (form_property).
  const NativeProcedure* property_procedure(const NativeProcedure* caller, std::string_view name,
                                            std::string_view which) const;
  const NativeProcedure* form_property(std::string_view form, std::string_view name, std::string_view which) const;
  // Form2.Refill: a Sub or Function (or Property Get) of that form, else null.
  const NativeProcedure* form_procedure(std::string_view form, std::string_view name) const;
  // Assigning to a property: its Let (its Set after Set) called with the
  // index arguments and the value; nothing when `target` names none.
  std::optional<std::vector<std::string>> property_store(const NativeProcedure& proc, const NativeProcedure* setter,
                                                         std::string_view written, std::string_view arguments,
                                                         std::string_view value, Locals& locals, int indent);
  // PSet, Line, Circle and Cls of forms and picture boxes; nothing for
  // other lines.
  // [obj.]Print list on a form or picture box (bare in a module: the
  // standard output, as Debug.Print).
  std::optional<std::vector<std::string>> surface_print(const NativeProcedure& proc, std::string_view line,
                                                        Locals& locals, int indent);
  std::optional<std::vector<std::string>> graphics_statement(const NativeProcedure& proc, std::string_view line,
                                                             Locals& locals, int indent);
  // Set by the Set statement while its assignment is translated.
  bool setting_object_ = false;
  // Array fields of classes: class (lower-cased) -> (field, bounds as
  // written, element type); each instance gets its arrays when created.
  std::map<std::string, std::vector<std::array<std::string, 3>>> class_array_fields_;
  // C lines creating the array fields of a new instance `obj` of a class.
  std::vector<std::string> class_array_initializers(std::string_view cls);
  // True when `key` names a procedure the caller can call (its form's or a module's).
  // Whether "Err" as written stands for the Err object (no variable hides it).
  bool names_err_object(const NativeProcedure* proc, std::string_view written, const Locals& locals) const;
  // The caller's form's or class's own procedure of that (lower-cased) name.
  const NativeProcedure* own_procedure(const NativeProcedure* caller, std::string_view key) const;
  bool is_procedure_name(const NativeProcedure* caller, std::string_view key) const;

  // A fresh temporary of the procedure being translated ("_t{n}"), used to
  // evaluate operands and arguments strictly left to right.
  std::string new_temporary();
  // C text that evaluates `operands` left to right and then `build` of them:
  // the operands themselves when their order cannot be observed, else
  // temporaries assigned in a comma expression.
  template <class Build>
  std::string in_order(const std::vector<std::string>& operands, Build build);

  // Builds the C for a call of `callee` with the given argument texts; used by
  // call_expr once the callee is known.
  std::string call_procedure(const NativeProcedure* caller, const NativeProcedure& callee, std::string_view written,
                             const std::vector<Operand>& args, const std::vector<std::optional<std::string>>& refs);

 private:
  std::vector<std::string> declare(const NativeProcedure& proc, std::string_view line, Locals& locals, int indent);
  // C text creating the array of a declaration (its bound translated).
  std::string with_instances(const Declaration& d, const std::string& array);
  std::string array_init(const NativeProcedure* proc, const Declaration& d, const Locals& locals);
  std::vector<std::string> redim(const NativeProcedure& proc, std::string_view line, Locals& locals, int indent);
  std::vector<std::string> assignment(const NativeProcedure& proc, std::string_view target, std::string_view value,
                                      Locals& locals, int indent);
  std::vector<std::string> compile_body_once(const NativeProcedure& proc);
  std::string emit_once();
  void emit_class_dispatch(std::vector<std::string>& out);
  void collect();
  void collect_code(const std::string& owner, const std::string& code, std::optional<int> form_index,
                    const CodeLocation& where);
  void collect_class(const ClassModule& cls, const CodeLocation& where);
  // "Type Name ... End Type" from line k; returns the End Type's index.
  size_t collect_record(const std::string& owner, const std::vector<std::string>& src, size_t k);
  // Reads the Enum block starting at line k; the index of its End Enum.
  size_t collect_enum(const std::vector<std::string>& src, size_t k);
  // C text making the array of `bounds` as written ("10", "1 To 5, 3").
  std::string array_shape(const NativeProcedure* proc, std::string_view owner, std::string_view bounds,
                          std::string_view type, const Locals& locals, std::string_view old_value = {},
                          bool preserve = false);
  std::vector<std::string> jump(const NativeProcedure& proc, std::string_view line, int indent);
  std::vector<std::string> on_error(const NativeProcedure& proc, std::string_view line, int indent);
  // Debug.Print's list: items joined by ';', print zones at ',', Spc and Tab.
  std::vector<std::string> print_list(const NativeProcedure& proc, std::string_view text, const Locals& locals,
                                      int indent, bool to_file = false);
  // Open, Close, Print #, Write #, Line Input #, Input #; nullopt for other lines.
  std::optional<std::vector<std::string>> file_statement(const NativeProcedure& proc, std::string_view line,
                                                         Locals& locals, int indent);
  // Get, Put and Seek on Binary and Random channels; nullopt for other lines.
  std::optional<std::vector<std::string>> direct_file_statement(const NativeProcedure& proc, std::string_view line,
                                                                Locals& locals, int indent);
  int get_sites_ = 0;  // Get statements of the procedure being translated
  // The declared type of what Get or Input # reads into ("variant" when unknown).
  std::string read_target_type(const NativeProcedure& proc, const std::string& target, const Locals& locals) const;
  // C lines storing the VBValue `c_value` into a read target as an assignment would.
  std::vector<std::string> store_read_value(const NativeProcedure& proc, const std::string& target,
                                            const std::string& c_value, Locals& locals, int indent);
  // "VBValue " or, in a procedure with On Error, "volatile VBValue ".
  std::string value_decl() const { return traps_ ? "volatile VBValue " : "VBValue "; }
  void add_procedure(NativeProcedure proc, bool replace);

  const Project& project_;
  std::vector<NativeProcedure> procs_;
  std::map<std::string, size_t> proc_index_;
  std::vector<GlobalName> globals_;
  std::map<std::string, size_t> global_index_;
  std::map<std::string, long long> enums_;
  // The program's Enum names (read before any procedure, whose header may
  // use them): variables, parameters and results of them are Longs.
  std::set<std::string, std::less<>> enum_types_;
  std::vector<std::pair<std::string, long long>> enum_order_;
  std::set<std::string> class_names_;

 public:
  // A declared type as stored: an Enum's name becomes long.
  std::string stored_type(std::string type) const;

 private:
  std::map<std::string, std::vector<std::pair<std::string, std::string>>> class_types_;
  std::set<std::string> form_names_;
  std::set<std::string> form_control_names_;
  std::set<std::string> control_array_names_;
  // Variables of the procedure being translated that stand for a form
  // ("Dim f As New frmAbout"): lower-cased name -> the form's name.
  std::map<std::string, std::string> form_aliases_;
  // Private module-level names that other modules also declare: module key
  // -> name -> the name it is stored under.
  std::map<std::string, std::map<std::string, std::string>> private_names_;
  std::vector<std::pair<std::string, std::string>> declarations_;
  std::optional<std::string> active_location_;
  // The file and line of the statement being translated (line 0: unknown).
  std::string active_file_;
  int active_line_ = 0;
  int temporaries_ = 0;
  // While a body is translated: declarations moved to the start of the C
  // function (a Dim inside a block is visible to the whole procedure), and
  // whether the current statement stands inside a block.
  std::vector<std::string> hoisted_;
  bool in_block_ = false;
  std::vector<std::pair<std::string, int>> open_blocks_;  // kind, statement number
  std::set<int> exit_labels_;  // loops left by a goto from an inner loop of another kind
  // C text leaving the innermost For (for_loop) or Do loop.
  std::string loop_exit(const NativeProcedure& proc, bool for_loop);
  // The open With blocks' targets: a form, control or Me as written, or the
  // C variable holding the target's value.
  std::vector<std::string> with_targets_;
  // The procedure being translated uses On Error: its simple statements
  // run under a trap while On Error Resume Next is in force.
  bool traps_ = false;
  // Undeclared names used in the procedure being translated: key -> C name.
  std::map<std::string, std::string> implicit_;
  // Some source says Option Explicit: an undeclared name then fails when
  // read before anything is stored in it.
  bool option_explicit_ = false;
  // Labels of the procedure being translated that GoTo, Resume or On Error
  // name; the handlers' numbers; every declaration goes to the start of the
  // function when the body jumps.
  std::set<std::string> jump_targets_;
  std::map<std::string, int> handler_ids_;
  bool hoist_all_ = false;
  // GoSub: the number of GoSub statements of the procedure being
  // translated (each returns to its own label), and whether it has Return.
  int gosub_sites_ = 0;
  bool gosub_returns_ = false;
  std::vector<std::pair<std::string, std::vector<std::pair<std::string, std::string>>>> records_;
  std::map<std::string, int> option_base_;  // module -> Option Base
  // Variables kept as VBValues: "{scope}|{name}" (scope empty for module variables).
  std::set<std::string> untyped_;
  // Integer variables whose magnitude bound exceeds their type's (a For
  // counter stores its values unconverted): "{scope}|{name}" -> bits.
  std::map<std::string, int> widened_;
  void note_untyped(const UntypedVariable& u);
  // The scope key ("" for module variables) of a typed variable.
  std::string variable_scope(const NativeProcedure* proc, std::string_view name, const Locals& locals) const;
  // Typed temporaries of the procedure being translated ("long long _v1;").
  std::vector<std::string> typed_temporaries_;
  // C names of typed variables -> their declared types: the procedure's
  // own (locals, "(*a_x)" parameters) and the module variables.
  std::map<std::string, std::string> scalar_locals_, scalar_globals_;
  std::optional<std::string> scalar_c_name(const std::string& c) const;
  // Standard-module functions declared Byte, Integer or Long whose every
  // result is an exact Integer return a C long long: key -> magnitude
  // bound. A function found to return anything else returns a VBValue.
  std::map<std::string, int> int_results_;
  std::set<std::string> value_results_, widened_results_;
  bool results_changed_ = false;
  // Records what one assignment to the function's result gives it.
  void note_result(const NativeProcedure& proc, const Operand& value);
  // Functions with an Integer-only version (see vb_attempt_begin), and
  // those found not to allow one.
  std::set<std::string> attempted_, not_attemptable_;
  bool attempting_ = false;
  bool attempt_candidate(const NativeProcedure& proc) const;
  // The Integer-only version's C function, or nothing when the body turns
  // out to need more than Integers.
  std::optional<std::vector<std::string>> attempt_version(const NativeProcedure& proc);

 public:
  // The magnitude bound of a function's C long long result; -1 when it
  // returns a VBValue.
  int result_bits(const NativeProcedure& proc) const;
  bool attempting() const { return attempting_; }
  // Stops an Integer-only version that would need more than Integers.
  void require_integer_only(const Operand& value) const;
  bool has_attempt(const NativeProcedure& proc) const { return attempted_.count(proc.key) > 0; }
  // The procedure a call from `caller` of `name` reaches, if any.
  const NativeProcedure* callee_of(const NativeProcedure* caller, std::string_view name) const;

 private:
  // Select Case selectors of the procedure being translated, by statement number.
  std::map<int, Operand> selectors_;
 public:
  // A fresh typed temporary of the given C type.
  std::string new_typed_temporary(const std::string& c_type);
};

// Whether a declared type holds a control (As TextBox, As VB.Label, As
// Control): such variables and parameters are objects.
bool is_control_type(std::string_view lower_type);
// Whether a declared type is one of the language's own enumerations
// (As VbMsgBoxResult, As VbTriState): such values are Longs.
bool is_language_enum(std::string_view lower_type);
// The member a control of that kind gives where a plain value is read
// (Text of a TextBox), else nothing.
std::optional<std::string> default_member_of(std::string_view kind);

// Side-effect analysis of translated C text, for in_order.
bool c_has_effects(std::string_view c_text);
// The functions the C text calls (outside string literals).
std::vector<std::string> c_calls(std::string_view c_text);
bool c_is_constant(std::string_view c_text);

template <class Build>
std::string NativeCompiler::in_order(const std::vector<std::string>& operands, Build build) {
  int effects = 0, variable = 0;
  for (const std::string& op : operands) {
    if (c_has_effects(op)) ++effects;
    if (!c_is_constant(op)) ++variable;
  }
  if (effects == 0 || variable < 2) return build(operands);
  std::string prefix = "(";
  std::vector<std::string> names;
  for (size_t k = 0; k < operands.size(); ++k) {
    const std::string& op = operands[k];
    // Constants, and the last operand (evaluated after every temporary),
    // stay in place.
    if (c_is_constant(op) || k + 1 == operands.size()) {
      names.push_back(op);
      continue;
    }
    std::string t = new_temporary();
    prefix += t + "=" + op + ",";
    names.push_back(t);
  }
  return prefix + build(names) + ")";
}

// The C identifier part for a lower-cased name: the name itself when it is
// an ASCII identifier part, else an encoding of its bytes that no such name
// produces.
std::string c_name(std::string_view lower_name);
// The C parameter of a BASIC parameter: "a_" and its c_name; a parameter
// named Self is encoded so it cannot meet a class procedure's own a_self.
std::string param_c_name(std::string_view lower_name);
// Lower-case form of a name as the interpreter folds names (Unicode aware),
// the key of every name table.
std::string name_key(std::string_view name);

// Where the runtime sources vb_native.c and vb_native.h are kept.
std::filesystem::path native_runtime_dir();
// Every file of the runtime's sources (vb_native.c includes the other .c
// files, so compiling it compiles them all).
const std::vector<std::string>& native_runtime_files();

// What compiling the runtime library depends on: the compiler's words, the
// options vb_native.c is compiled with, and the folder of the sources.
struct NativeRuntimeCompile {
  std::vector<std::string> compiler;
  std::vector<std::string> flags;
  std::filesystem::path source_dir;
};
// Supplies the file to link in place of vb_native.c (a compiled object, e.g.
// from a cache); without one the runtime source is compiled with the program.
using NativeRuntimeProvider = std::function<std::filesystem::path(const NativeRuntimeCompile&)>;

// Translates and compiles the project; returns the executable's path.
std::filesystem::path build_native(const Project& project, const std::filesystem::path& output_dir,
                                   const std::optional<std::string>& executable_name = std::nullopt,
                                   const std::optional<std::string>& cc = std::nullopt,
                                   const std::optional<std::filesystem::path>& emit_c = std::nullopt,
                                   const NativeRuntimeProvider& runtime_provider = {});

// Timings of the last build_native in this process (seconds), for measurements.
struct NativeBuildTimes {
  double translate = 0;
  double compile = 0;
};
NativeBuildTimes last_native_build_times();

}  // namespace corvane
