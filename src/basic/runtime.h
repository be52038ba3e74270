#pragma once
// VBRuntime: the BASIC interpreter. It scans module sources into
// procedures, user types, enumerations and module variables, runs
// statements and blocks line by line, resolves names, calls procedures and
// built-ins, and traps runtime errors under the On Error modes.
//
// Lines are compiled the first time they run and the compiled form is kept
// with the procedure; a line that does not parse keeps its failure, which
// is raised each time the line runs.
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "basic/builtins.h"
#include "basic/expr.h"
#include "basic/objects.h"
#include "basic/stack_guard.h"
#include "basic/symbols.h"
#include "basic/value.h"

namespace corvane {

struct Var {
  Var() = default;
  Var(Value&& v, TypeCode t, Symbol d) : value(std::move(v)), type(t), declared(d) {}
  Value value;
  TypeCode type = TypeCode::Variant;
  Symbol declared = sym::VARIANT;  // the lower-cased declared type
  const std::string& type_name() const { return symbol_text(declared); }
};

// The variables of one procedure activation or of a module.
class Scope {
 public:
  Var* find(Symbol s) {
    Var* own = find_own(s);
    return own || !parent ? own : parent->find(s);
  }
  // A module scope may lie over another one (a form's own module variables
  // over the variables all forms share): names it does not hold are found
  // in the parent.
  std::shared_ptr<Scope> parent;
  Var* find_own(Symbol s) {
    if (index_.empty()) {
      for (auto& entry : vars_)
        if (entry.first == s) return &entry.second;
      return nullptr;
    }
    auto it = index_.find(s);
    return it == index_.end() ? nullptr : &vars_[it->second].second;
  }
  // The variable, created (Integer 0, variant) when absent. The reference
  // stays valid until the next variable is created.
  Var& get_or_create(Symbol s, bool* created = nullptr);
  // A variable the scope does not hold yet (a parameter of a new
  // activation), added with its value and declared type.
  Var& add(Symbol s, Value&& value, TypeCode type, Symbol declared) {
    vars_.emplace_back(std::piecewise_construct, std::forward_as_tuple(s),
                       std::forward_as_tuple(std::move(value), type, declared));
    if (!index_.empty() || vars_.size() > INDEXED_FROM) index_last();
    return vars_.back().second;
  }
  bool holds(Symbol s) { return find(s) != nullptr; }
  // The position of the variable get_or_create(s) gives, when the scope
  // holds it itself (-1 when it lies in the parent); positions stay valid
  // until the scope is reset.
  long slot_of(Symbol s) {
    if (!find_own(s) && find(s)) return -1;
    get_or_create(s);
    if (!index_.empty()) return static_cast<long>(index_.at(s));
    for (size_t i = 0; i < vars_.size(); ++i)
      if (vars_[i].first == s) return static_cast<long>(i);
    return -1;
  }
  Var& at(long slot) { return vars_[static_cast<size_t>(slot)].second; }
  // The variable at that position when it is the one of that symbol.
  Var* at_if(uint32_t slot, Symbol s) {
    return slot < vars_.size() && vars_[slot].first == s ? &vars_[slot].second : nullptr;
  }
  // The position of the scope's own variable of that symbol, -1 if none.
  long own_slot(Symbol s) {
    if (!index_.empty()) {
      auto it = index_.find(s);
      return it == index_.end() ? -1 : static_cast<long>(it->second);
    }
    for (size_t i = 0; i < vars_.size(); ++i)
      if (vars_[i].first == s) return static_cast<long>(i);
    return -1;
  }
  // Empties the scope for another activation, keeping its storage.
  void reset();
  void reserve(size_t n) { vars_.reserve(n); }
  const std::vector<std::pair<Symbol, Var>>& variables() const { return vars_; }
  size_t size() const { return vars_.size(); }

  // The error-handler label (lower-cased) and the failure index of the
  // activation, while set.
  std::string error_label;
  long failure_index = -1;
  bool has_with = false;
  // Loop nesting of the activation (to tell a stray Exit For / Exit Do),
  // and whether its error handler is running (for Resume Next).
  int for_depth = 0;
  int do_depth = 0;
  bool in_handler = false;

 private:
  // Scopes with more variables find them through an index.
  static constexpr size_t INDEXED_FROM = 12;
  void index_last();
  std::vector<std::pair<Symbol, Var>> vars_;
  std::unordered_map<Symbol, size_t> index_;  // built once the scope grows
};

using ScopeRef = std::shared_ptr<Scope>;

struct Param {
  std::string name;  // lower-cased
  Symbol symbol = NO_SYMBOL;
  bool by_ref = true;
  std::string type = "variant";
  TypeCode code = TypeCode::Variant;
  Symbol type_symbol = sym::VARIANT;
  // Optional p = value: the value an omitted argument takes (null: the
  // type's initial value).
  std::shared_ptr<const Node> default_expr;
  bool optional = false;
  bool param_array = false;  // ParamArray p(): the remaining arguments as one array
};

struct CompiledBody;
struct ProcCode;

struct Procedure {
  std::string kind;  // "sub" or "function"
  std::string name;  // as written
  std::vector<Param> params;
  std::vector<std::string> body;
  std::vector<int> line_numbers;  // of each body line in its source (1-based)
  std::string file;               // the source's file name as the host gave it
  int line_offset = 0;            // added to line_numbers (the source's place in its file)
  Symbol result = NO_SYMBOL;  // functions: the result variable
  std::shared_ptr<CompiledBody> compiled;
  // Static variables: their values between calls.
  std::vector<std::pair<Symbol, Value>> statics;
  // The activations running it, outermost first: a recursive call takes
  // its Static variables from the one it was called in, and gives them
  // back to all of them when it ends.
  std::vector<Scope*> active;
  // The body as a statement tree, once made (null when it runs line by line).
  std::shared_ptr<ProcCode> code;
  bool code_made = false;
  // No two parameters share a name and none is named as the result: an
  // activation then holds parameter i at position i and the result after
  // them.
  bool distinct_names = false;
  // Calls with one argument per parameter may bind them straight
  // (VBRuntime::run_bound): names distinct, nothing Optional.
  bool direct = false;
  bool has_by_ref = false;  // a parameter is ByRef
  // The frame it runs on, once its statement tree shows it can (owned by `code`).
  const struct FrameLayout* frame = nullptr;
};
using ProcedureRef = std::shared_ptr<Procedure>;

// How a piece of execution ended: normally, or by one of the signals that
// are not errors.
// Goto and GoSub carry their label in the interpreter (jump_label_).
enum class Flow : uint8_t { Normal, ExitProc, ExitFor, ExitDo, Stop, ResumeNext, Resume, Goto, GoSub, Return };

struct Stmt;
struct Line;
struct DimBounds;

class DatabaseSession;

// A key SendKeys presses: a character (its code point), or a key by its X
// keysym name (code 0), with the modifiers held.
struct SentKey {
  enum Modifier : unsigned { SHIFT = 1, CTRL = 2, ALT = 4 };
  char32_t code = 0;
  std::string name;
  unsigned modifiers = 0;
};

class VBRuntime {
 public:
  using MsgBoxFn = std::function<int64_t(const std::string& text, const std::string& title, const Value& buttons)>;
  using InputBoxFn = std::function<std::string(const std::string& prompt, const std::string& title)>;
  using DebugFn = std::function<void(const std::string& text)>;
  using StopFn = std::function<void()>;
  using FormFn = std::function<void(const std::string& form_name)>;
  // The host's watch over long runs: called every few thousand executed
  // lines with the seconds the current event (or top-level call) has been
  // running, not counting time spent in the host's dialogs. Returning true
  // stops the program with "Execution limit exceeded (possible infinite
  // loop)", an error On Error cannot trap.
  using WatchFn = std::function<bool(double seconds)>;

  struct Options {
    std::vector<std::string> sources;
    std::vector<std::pair<std::string, ObjectRef>> controls;
    MsgBoxFn msgbox;
    DebugFn debug;
    InputBoxFn inputbox;
    StopFn stop;
    std::string base_dir;  // empty: the current directory
    std::vector<std::pair<std::string, std::string>> classes;  // class name -> source
    // The standard modules (file name, source), whose procedures class
    // instances call as their own code does.
    std::vector<std::pair<std::string, std::string>> modules;
    // The file each source comes from (same order as sources; "" or
    // missing: unknown) and the line of that file where the source's
    // first line stands (1 when missing), for error locations.
    std::vector<std::string> source_files;
    std::vector<int> source_first_lines;
    WatchFn watch;
    int64_t max_steps = 0;  // executed lines per event; 0: no limit
    std::function<void()> doevents;
    // false: every procedure runs line by line, without statement trees
    // (to compare the two ways of running a program).
    bool statement_trees = true;
  };

  VBRuntime();
  explicit VBRuntime(Options options);
  VBRuntime(const VBRuntime&) = delete;
  VBRuntime& operator=(const VBRuntime&) = delete;
  ~VBRuntime();

  // ---- scanning and statements ----
  void add_source(const std::string& source, const std::string& file = {}, int first_line = 1);
  // Lines of the scanned procedures that cannot be parsed, each an error
  // (untrappable, with file, line and procedure), in source order.
  std::vector<VBError> syntax_errors();
  void execute_statement(const std::string& line, Scope& scope);
  Flow execute_range(const std::vector<std::string>& lines, long start, long end, Scope& scope);
  void assign(const std::string& target, const Value& value, Scope& scope);

  // ---- expressions ----
  Value expr(const std::string& text);
  Value expr(const std::string& text, Scope& scope);
  Value eval(const Node& node, Scope& scope);
  bool eval_truth(const Node& node, Scope& scope);  // truth(eval(...)), faster

  // ---- names and calls ----
  Value lookup(const std::string& name, Scope& scope);
  Value lookup(Symbol symbol, const std::string& name, Scope& scope);
  Value call(const std::string& name, std::vector<Value> args, Scope& scope, const std::vector<Symbol>& refs = {});
  Value call(Symbol key, const std::string& name, std::vector<Value>& args, Scope& scope,
             const std::vector<Symbol>* refs);
  Value run_proc(const std::string& key, std::vector<Value> args, const std::vector<Symbol>& refs = {},
                 Scope* calling_scope = nullptr);
  Value run_proc(const ProcedureRef& proc, std::vector<Value>& args, const std::vector<Symbol>* refs,
                 Scope* calling_scope) {
    return run_proc(*proc, args, refs, calling_scope);
  }
  // (A procedure lives as long as the interpreter: one that a later
  // source replaces is kept, so that a running activation never loses it.)
  Value run_proc(Procedure& proc, std::vector<Value>& args, const std::vector<Symbol>* refs, Scope* calling_scope);
  // A call with exactly one argument per parameter, of a procedure for
  // which runs_direct holds, skips the general path's list and checks:
  // the caller adds the arguments, as computed, to a fresh activation
  // scope in parameter order; run_bound converts them as run_proc does
  // and runs the activation.
  static constexpr size_t MAX_DIRECT_PARAMS = 8;
  static bool runs_direct(const Procedure& proc);
  Value run_bound(Procedure& proc, Scope& frame, const std::vector<Symbol>& refs, Scope& calling_scope);
  // A host raises an event: resets the step counter, runs the procedure
  // without arguments; a VBError is sent to the debug operation as
  // "Runtime error in {name}: {message}" and then rethrown.
  // args: an element's Index for a control array's events.
  Value event(const std::string& name, std::vector<Value> args = {});
  // The same, with the values the procedure left in its ByRef parameters
  // written back into args (KeyPress's KeyAscii = 0 cancels the key).
  Value event_by_ref(const std::string& name, std::vector<Value>& args);
  void clear_error();
  void err_method(ControlObject& object, const std::string& method, std::vector<Value>& args);

  // ---- objects ----
  ObjectRef new_instance(const std::string& classname);
  Value read_property(const Value& object, const std::string& member);
  // Initial value of a declared type, user types included.
  Value default_value(const std::string& type_name);

  // ---- host interface ----
  void set_control(const std::string& name, ObjectRef object);
  ObjectRef control(const std::string& name) const;
  // Hosts call this before every top-level call they make into the program
  // (event() does it): the step count starts again.
  void reset_steps();
  // The watch's clock starts again (event() does it; so does DoEvents).
  void start_clock();
  // Seconds the current event has been running (host dialogs not counted).
  double running_seconds() const;
  // Class instances made by this interpreter share its clock and watch.
  struct Clock {
    double start = 0;
    double paused = 0;
  };
  std::shared_ptr<Clock> clock = std::make_shared<Clock>();
  // The host's DoEvents: lets the host handle its pending events.
  std::function<void()> doevents;
  // Time spent waiting for the host (dialogs) is not running time.
  void exclude_time(double seconds) { clock->paused += seconds; }
  // Ends a pending Print line ("a";) by sending it to the debug operation.
  void flush_print();
  // Text output of Print lists: the pending line of Debug.Print.
  std::string print_line;
  ProcedureRef procedure(const std::string& key) const;
  bool has_procedure(const std::string& key) const { return procedure(key) != nullptr; }

  // ---- state: procedures, scopes, the current event, error handling ----
  std::unordered_map<Symbol, ProcedureRef> procs;
  std::map<std::string, std::string> property_returns;
  // Names of the Property procedures the module's code declares.
  std::unordered_set<Symbol> property_names;
  std::map<std::string, std::vector<std::pair<std::string, std::string>>> user_types;
  std::unordered_map<Symbol, int64_t> enums;
  ScopeRef globals;
  std::map<std::string, std::string> class_sources;  // lower-cased class name -> source
  ObjectRef app;
  // The interpreter's own database session (the DB... functions), made on
  // first use over base_dir.
  std::shared_ptr<DatabaseSession> db;
  ObjectRef current_form;
  // Inside a class instance: the instance, which Me names when current_form
  // is unset (held weakly: the instance owns this interpreter).
  std::weak_ptr<ControlObject> instance;
  std::string base_dir;
  MsgBoxFn msgbox;
  InputBoxFn inputbox;
  DebugFn debug;
  StopFn on_end;
  FormFn load;
  FormFn unload;
  // New Form2 / Dim f As New Form2: the form's object, from a form host
  // (null: no form of that name).
  std::function<ObjectRef(const std::string& form_name)> new_form;
  // SendKeys: the host queues the keys on the program's active window
  // (and handles them before returning when `wait`); null: they go nowhere.
  std::function<void(const std::vector<SentKey>& keys, bool wait)> send_keys;
  enum class ErrorMode : uint8_t { Raise, Resume, Handler };
  ErrorMode error_mode = ErrorMode::Raise;
  int64_t err_number = 0;
  std::string last_error;
  std::string err_source;  // Err.Source
  bool option_explicit = false;
  int64_t step_count = 0;  // lines executed in the current event
  int64_t max_steps = 0;   // 0: no limit
  bool statement_trees = true;
  WatchFn watch;
  int stack_depth = 0;
  // Option Base: the lower bound of arrays declared without one.
  int64_t option_base = 0;
  // Class sources as given (name as written -> source), for class instances.
  std::vector<std::pair<std::string, std::string>> classes;
  std::vector<std::pair<std::string, std::string>> modules;  // (file name, source), as given
  // A class instance's interpreter: it sees the modules' variables through
  // its fields' parent scope, and reads the modules' procedures the first
  // time it calls a name it does not have (true when that added them).
  bool class_instance = false;
  bool add_module_procedures();

  // Calls nest as deep as the thread's stack allows, up to this many.
  static constexpr int MAX_CALL_DEPTH = 1000000;
  static constexpr int MAX_BLOCK_DEPTH = 256;
  // Lines between two looks at the watch and the step limit.
  static constexpr int64_t CHECK_INTERVAL = 4096;

 private:
  friend struct StmtCompiler;
  friend struct CodeBuilder;
  friend struct CodeRunner;
  template <class Runner>
  friend struct TreeRunner;
  friend struct FrameRunner;
  friend struct FrameBuilder;
  friend Value run_frame(VBRuntime& rt, Procedure& proc, class Frame& frame);
  friend void run_frame_on_scope(VBRuntime& rt, Procedure& proc, Scope& scope);
  // The procedure's statement tree, made on its first call; null when the
  // body must run line by line.
  ProcCode* code_of(Procedure& proc, CompiledBody& body);
  // Activations take their scope from a pool: a call allocates nothing
  // once the pool has warmed up.
  struct PooledScope {
    std::vector<std::unique_ptr<Scope>>& pool;
    std::unique_ptr<Scope> scope;
    explicit PooledScope(std::vector<std::unique_ptr<Scope>>& p) : pool(p) {
      if (pool.empty()) {
        scope = std::make_unique<Scope>();
      } else {
        scope = std::move(pool.back());
        pool.pop_back();
      }
    }
    ~PooledScope() {
      scope->reset();
      if (pool.size() < 64) pool.push_back(std::move(scope));
    }
  };
  struct Activation;
  struct ByRefLink {
    Symbol param, caller;  // a ByRef parameter and the caller's variable it goes back to
  };
  void run_activation(Procedure& proc, Scope& scope, const ByRefLink* links, size_t count, Scope* calling_scope);
  void finish_call(Procedure& proc, Scope& scope, const ByRefLink* links, size_t count, Scope* calling_scope);
  Flow run_code(const ProcCode& code, CompiledBody& body, Scope& scope);
  Flow exec_stmt(const Stmt& stmt, Scope& scope);
  Var* text_variable(Symbol symbol, Scope& scope);
  // Where a For loop keeps its counter: the module's variable when the
  // activation has none of that name, else the activation's scope.
  Scope& counter_scope(Symbol counter, Scope& scope) {
    return &scope != globals.get() && !scope.holds(counter) && globals->holds(counter) ? *globals : scope;
  }
  bool append_to_variable(const Stmt& stmt, Scope& scope);
  bool add_to_text(const Stmt& stmt, Scope& scope);
  void store_appended(const Stmt& stmt, Scope& scope, Value held, std::string_view tail);
  Flow run_range(CompiledBody& body, long start, long end, Scope& scope);
  Flow run_block(CompiledBody& body, Line& line, long index, long& next, Scope& scope);
  bool case_test(BinOp op, const Value& selector, const Node& node, Scope& scope);
  void assign_compiled(const struct AssignTarget& target, Value value, Scope& scope);
  // The value a Literal or a variable Name node denotes, without copying
  // it; nullptr when the node needs a full evaluation.
  const Value* peek(const Node& node, Scope& scope);
  void declare(const Stmt& stmt, Scope& scope);
  // The value a declared name starts with: its default, a new instance,
  // or an array with its bounds evaluated in `scope`.
  Value declared_value(const struct DeclPiece& d, Scope& scope);
  void redim(const Stmt& stmt, Scope& scope);
  void redim_field(const struct AssignTarget& target, const struct DeclPiece& d, bool preserve, Scope& scope);
  void erase(const Stmt& stmt, Scope& scope);
  void keep_static(Procedure& proc, Symbol symbol, Var& var, bool created);
  Value make_record(const std::string& type_name, int depth);
  Value fixed_length_field(const ControlObject& record, const std::string& field, Value value);
  Value element(const std::string& name, const Value& array, std::vector<Value>& args);
  void eval_args(const Node& node, size_t first, std::vector<Value>& out, Scope& scope);
  CompiledBody& body_of(Procedure& proc) { return proc.compiled ? *proc.compiled : compile_body(proc); }
  CompiledBody& compile_body(Procedure& proc);
  ObjectRef make_err_object();
  Value me_value();
  // Whether a name denotes a constant, variable, control or built-in object.
  bool names_something(Symbol s, Scope& scope);
  // Module1.Title: the Property Get of a name qualified by its module's
  // name (an owner that names nothing else), or null.
  ProcedureRef qualified_getter(const Node& owner, const std::string& member, Scope& scope);
  void check_stack() {
    if (stack_exhausted()) stack_overflow();
  }
  [[noreturn]] static void stack_overflow();
  // Steps: the slow path of the per-line count (limits and the watch).
  void checkpoint();
  // An error at the line `index` of `body`: handled by the error mode
  // (true, with the flow and the next line to run), or located and left to
  // propagate (false).
  bool trap(VBError& e, CompiledBody& body, long index, long resume_at, Scope& scope, Flow& flow, long& next);
  void record_error(const VBError& e);
 public:
  // The flat index of an element (VBError "Subscript out of range: {name}").
  static size_t element_index(const VBArray& array, const std::vector<Value>& indexes, const std::string& name);
  // An Integer subscript inside the bounds is found inline; everything
  // else (conversion, errors) out of line.
  static size_t element_index(const VBArray& array, const Value& index, const std::string& name) {
    if (index.is_int() && array.dims.size() <= 1) {
      const int64_t lower = array.dims.empty() ? 0 : array.dims[0].first;
      const uint64_t offset = static_cast<uint64_t>(index.as_int()) - static_cast<uint64_t>(lower);
      if (offset < array.items.size()) return static_cast<size_t>(offset);
    }
    return element_index_converted(array, index, name);
  }
  static size_t element_index_converted(const VBArray& array, const Value& index, const std::string& name);
  // The variable of that name when it holds an array (the scope's, else the module's).
  Var* array_variable(Symbol key, Scope& scope);

 private:
  void locate(VBError& e, CompiledBody& body, long index);
  Flow run_handler(CompiledBody& body, long index, long resume_at, Scope& scope, long& next);
  Flow exec_file_stmt(const Stmt& stmt, Scope& scope);
  Flow load_element(const Stmt& stmt, Scope& scope, const char* verb);
  std::string unload_target(const std::string& name, Scope& scope);
  long resume_point(CompiledBody& body, Line& line, long index);
  void assign_mid(const struct AssignTarget& target, const Value& value, Scope& scope);
  void print_list(const Stmt& stmt, Scope& scope, std::string& out, size_t column_start, bool& newline);
  // Print on a form or picture box: the object's Print method gets the
  // line's text and whether the line ends.
  Flow print_on_object(const Stmt& stmt, Scope& scope);
  Value make_array_value(const std::vector<DimBounds>& dims, const std::string& type, Scope& scope);
  struct ArrayShape {
    std::vector<std::pair<int64_t, int64_t>> bounds;  // (lower, count); empty for a plain list from 0
    uint64_t total = 0;
  };
  ArrayShape array_shape(const std::vector<DimBounds>& dims, Scope& scope);
  void fill_array(VBArray& array, size_t total, const std::string& type);
  // Argument lists of calls reuse their storage: once warmed up, a call
  // allocates no list. The lists of calls in progress are a stack, one per
  // nesting level; each list stays where it is while the stack grows.
  std::vector<std::unique_ptr<std::vector<Value>>> arg_lists_;
  size_t arg_depth_ = 0;
  struct ArgList {
    VBRuntime& rt;
    std::vector<Value>& values;
    explicit ArgList(VBRuntime& r) : rt(r), values(level(r)) {}
    ~ArgList() {
      values.clear();
      --rt.arg_depth_;
    }
    ArgList(const ArgList&) = delete;
    ArgList& operator=(const ArgList&) = delete;

   private:
    static std::vector<Value>& level(VBRuntime& r) {
      if (r.arg_depth_ == r.arg_lists_.size()) r.arg_lists_.push_back(std::make_unique<std::vector<Value>>());
      return *r.arg_lists_[r.arg_depth_++];
    }
  };
  int64_t next_check_ = CHECK_INTERVAL;
  std::vector<std::unique_ptr<Scope>> scope_pool_;
  std::vector<ProcedureRef> replaced_procs_;  // procedures a later source redefined
  std::string jump_label_;
  int gosub_depth_ = 0;

  std::vector<std::pair<std::string, ObjectRef>> control_list_;
  std::unordered_map<Symbol, ObjectRef> controls_;
  bool modules_added_ = false;
  bool procedures_only_ = false;  // add_source reads procedures and types, not declarations
  int block_depth_ = 0;
  Procedure* running_ = nullptr;  // the procedure of the current activation
  uint64_t activations_run_ = 0;   // numbers each statement-tree activation
  std::shared_ptr<int> alive_ = std::make_shared<int>(0);
};

}  // namespace corvane
