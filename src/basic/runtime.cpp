// The interpreter: construction, module scanning, statements and blocks.
#include "basic/runtime.h"

#include <pthread.h>

#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/sysinfo.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <new>
#include <set>
#include <stdexcept>
#include <utility>

#include "basic/apply.h"
#include "basic/collection.h"
#include "basic/compiled.h"
#include "basic/declaration_reader.h"
#include "basic/enum_values.h"
#include "basic/loops.h"
#include "basic/module_members.h"
#include "basic/module_names.h"
#include "basic/stack_guard.h"
#include "basic/source_lines.h"
#include "vb6files/regex.h"

namespace corvane {

namespace {

const Regex& rx(const char* pattern) { return *new Regex(pattern, Regex::CASELESS | Regex::JIT_WHEN_USED); }
#define RX(name, pattern) static const Regex& name = rx(pattern)

bool distinct_names(const Procedure& proc) {
  for (size_t i = 0; i < proc.params.size(); ++i) {
    if (proc.params[i].symbol == proc.result) return false;
    for (size_t j = 0; j < i; ++j)
      if (proc.params[j].symbol == proc.params[i].symbol) return false;
  }
  return true;
}

}  // namespace

Var& Scope::get_or_create(Symbol s, bool* created) {
  if (Var* v = find(s)) {
    if (created) *created = false;
    return *v;
  }
  if (created) *created = true;
  return add(s, Value(int64_t{0}), TypeCode::Variant, sym::VARIANT);
}

void Scope::index_last() {
  if (!index_.empty()) {
    index_.emplace(vars_.back().first, vars_.size() - 1);
    return;
  }
  for (size_t i = 0; i < vars_.size(); ++i) index_.emplace(vars_[i].first, i);
}

void Scope::reset() {
  vars_.clear();
  if (!index_.empty()) index_.clear();
  if (parent) parent.reset();
  if (!error_label.empty()) error_label.clear();
  failure_index = -1;
  has_with = false;
  for_depth = 0;
  do_depth = 0;
  in_handler = false;
}

VBRuntime::VBRuntime() : VBRuntime(Options{}) {}

VBRuntime::VBRuntime(Options options) : globals(std::make_shared<Scope>()) {
  msgbox = std::move(options.msgbox);
  debug = std::move(options.debug);
  inputbox = std::move(options.inputbox);
  on_end = std::move(options.stop);
  std::error_code ec;
  base_dir = options.base_dir.empty() ? std::filesystem::current_path(ec).string() : options.base_dir;
  for (auto& [name, object] : options.controls) set_control(name, object);
  classes = options.classes;
  modules = options.modules;
  for (auto& [name, source] : options.classes) class_sources[lower(name)] = source;
  std::string path = std::filesystem::absolute(base_dir, ec).string();
  if (ec) path = base_dir;
  app = std::make_shared<ControlObject>(
      "App", std::map<std::string, Value>{{"path", Value(path)},
                                          {"title", Value("Corvane Application")},
                                          {"exename", Value("VBApplication")},
                                          {"previnstance", Value(false)},
                                          {"helpfile", Value("")},
                                          {"major", Value(int64_t{1})},
                                          {"minor", Value(int64_t{0})},
                                          {"revision", Value(int64_t{0})},
                                          {"companyname", Value("")},
                                          {"filedescription", Value("")},
                                          {"productname", Value("")},
                                          {"legalcopyright", Value("")},
                                          {"comments", Value("")}});
  watch = std::move(options.watch);
  max_steps = options.max_steps;
  statement_trees = options.statement_trees;
  doevents = std::move(options.doevents);
  reset_steps();
  start_clock();
  keep_private_names_apart(options.sources);
  for (size_t i = 0; i < options.sources.size(); ++i)
    add_source(options.sources[i], i < options.source_files.size() ? options.source_files[i] : std::string(),
               i < options.source_first_lines.size() ? options.source_first_lines[i] : 1);
}

namespace {

double now_seconds() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

}  // namespace

void VBRuntime::reset_steps() {
  step_count = 0;
  next_check_ = max_steps > 0 ? std::min(CHECK_INTERVAL, max_steps + 1) : CHECK_INTERVAL;
}

void VBRuntime::start_clock() {
  clock->start = now_seconds();
  clock->paused = 0;
}

double VBRuntime::running_seconds() const { return now_seconds() - clock->start - clock->paused; }

void VBRuntime::checkpoint() {
  const bool over = (max_steps > 0 && step_count > max_steps) || (watch && watch(running_seconds()));
  if (over) {
    VBError e(18, "Execution limit exceeded (possible infinite loop)");
    e.untrappable = true;
    throw e;
  }
  next_check_ = step_count + CHECK_INTERVAL;
  if (max_steps > 0 && next_check_ > max_steps + 1) next_check_ = max_steps + 1;
}

VBRuntime::~VBRuntime() = default;

void VBRuntime::set_control(const std::string& name, ObjectRef object) {
  const Symbol s = intern(name);
  for (auto& entry : control_list_)
    if (intern(entry.first) == s) {
      entry.second = object;
      controls_[s] = object;
      return;
    }
  control_list_.emplace_back(name, object);
  controls_[s] = std::move(object);
}

ObjectRef VBRuntime::control(const std::string& name) const {
  auto it = controls_.find(intern(name));
  return it == controls_.end() ? nullptr : it->second;
}

ProcedureRef VBRuntime::procedure(const std::string& key) const {
  auto it = procs.find(intern(key));
  return it == procs.end() ? nullptr : it->second;
}

const char* find_stack_floor() {
  pthread_attr_t attr;
  void* addr = nullptr;
  size_t size = 0;
  if (pthread_getattr_np(pthread_self(), &attr) == 0) {
    pthread_attr_getstack(&attr, &addr, &size);
    pthread_attr_destroy(&attr);
  }
  if (!addr || size == 0) return nullptr;
  const size_t margin = std::min<size_t>(size / 4, 1024 * 1024);
  return static_cast<const char*>(addr) + margin;
}

void VBRuntime::stack_overflow() { throw VBError("Out of stack space (nesting too deep)"); }

// ---------------------------------------------------------------- scanning

namespace {

std::vector<Param> parse_params(const std::string& text) {
  std::vector<Param> params;
  for (const DeclaredParameter& read : read_parameters(text)) {
    Param p;
    p.name = lower(read.name);
    p.by_ref = read.by_ref;
    p.type = read.type.empty() ? std::string("variant") : lower(read.type);
    p.code = type_code(p.type);
    // An array parameter is a Variant holding the caller's array; its
    // declared element type is what ReDim gives new elements.
    p.type_symbol = intern_folded(read.is_array && !read.element_type.empty() ? lower(read.element_type) : p.type);
    p.symbol = intern_folded(p.name);
    if (read.optional && !read.default_value.empty()) p.default_expr = ExprParser::parse(read.default_value);
    p.optional = read.optional;
    p.param_array = read.param_array;
    if (p.param_array) p.by_ref = false;
    params.push_back(std::move(p));
  }
  return params;
}

}  // namespace

bool VBRuntime::add_module_procedures() {
  if (!class_instance || modules.empty() || modules_added_) return false;
  modules_added_ = true;
  // Only the modules' procedures (and types): their variables and
  // constants are the parent's. The class's own procedures and options stay.
  const auto own = procs;
  const bool explicit_names = option_explicit;
  const int64_t base = option_base;
  struct Restore {
    bool& flag;
    ~Restore() { flag = false; }
  } restore{procedures_only_};
  procedures_only_ = true;
  for (const auto& [file, source] : modules) add_source(source, file);
  for (const auto& [symbol, proc] : own) procs[symbol] = proc;
  option_explicit = explicit_names;
  option_base = base;
  return true;
}

void VBRuntime::add_source(const std::string& source, const std::string& file, int first_line) {
  RX(type_re, R"(^(?:Public|Private)?\s*Type\s+(\w+)\s*$)");
  RX(end_type, R"(^End\s+Type\b)");
  RX(option_base_re, R"(^Option\s+Base\s+([01])\b)");
  RX(enum_re, R"(^(?:(?:Public|Private)\s+)?Enum\s+(\w+)$)");
  RX(end_enum, R"(^End\s+Enum$)");
  RX(proc_re, R"(^(?:(?:Public|Private|Friend|Static)\s+)?(Sub|Function|Property\s+(?:Get|Let|Set))\s+(\w+)\s*(?:\((.*)\))?)");
  RX(end_sub, R"(^End\s+Sub\b)");
  RX(end_function, R"(^End\s+Function\b)");
  RX(end_property, R"(^End\s+Property\b)");
  RX(option_explicit_re, R"(^Option\s+Explicit\b)");
  RX(decl_re, R"(^(Public|Private|Global|Dim|Const)\b)");
  std::vector<int> numbers;
  const std::vector<std::string> src = lines(source, &numbers);
  const size_t n = src.size();
  size_t i = 0;
  while (i < n) {
    const std::string& line = src[i];
    if (auto g = type_re.match_groups(line)) {
      const std::string name = (*g)[1];
      std::vector<std::pair<std::string, std::string>> fields;
      size_t j = i + 1;
      for (; j < n && !end_type.match(src[j]); ++j) {
        const std::optional<TypeMember> m = read_type_member(src[j]);
        if (!m) throw VBError("Unsupported Type member: " + src[j]);
        const std::string field = lower(m->name);
        // "name(9) As T" is an array field of 10 elements ("t[10]"),
        // "name(1 To 3) As T" one of 3 from 1 ("t[1:3]"); "name As
        // String * 20" a text of 20 characters ("string*20").
        std::string type = lower(m->type);
        if (!m->fixed_length.empty()) type += "*" + m->fixed_length;
        type += m->array_suffix();
        bool replaced = false;
        for (auto& f : fields)
          if (f.first == field) {
            f.second = type;
            replaced = true;
          }
        if (!replaced) fields.emplace_back(field, type);
      }
      if (j >= n) throw VBError("Missing End Type for " + name);
      user_types[lower(name)] = std::move(fields);
      i = j + 1;
      continue;
    }
    if (enum_re.match(line)) {
      int64_t running = 0;
      size_t j = i + 1;
      for (; j < n && !end_enum.match(src[j]); ++j) {
        const std::optional<EnumItem> item = read_enum_item(src[j]);
        if (!item) throw VBError("Unsupported Enum item: " + src[j]);
        std::optional<long long> computed;
        if (!item->expression.empty()) {
          computed = enum_item_value(item->expression, [this](const std::string& key) -> std::optional<long long> {
            auto it = enums.find(intern(key));
            return it == enums.end() ? std::nullopt : std::optional<long long>(it->second);
          });
          if (!computed) throw VBError("Unsupported Enum item: " + src[j]);
        }
        const int64_t value = computed ? *computed : item->value ? *item->value : running;
        enums[intern(item->name)] = value;
        running = static_cast<int64_t>(static_cast<uint64_t>(value) + 1);  // wraps after the largest value
      }
      if (j >= n) throw VBError("Missing End Enum");
      i = j + 1;
      continue;
    }
    if (auto g = proc_re.match_groups(line)) {
      const std::string kind_text = (*g)[1];
      const std::string name = (*g)[2];
      const std::string kind_lower = lower(kind_text);
      const Regex& end_re = kind_lower == "sub" ? end_sub : kind_lower == "function" ? end_function : end_property;
      size_t j = i + 1;
      while (j < n && !end_re.match(src[j])) ++j;
      if (j >= n) throw VBError("No End " + kind_text + " for " + name);
      auto proc = std::make_shared<Procedure>();
      proc->name = name;
      const size_t open = line.find('('), close = line.rfind(')');
      if (g->size() > 3 && open != std::string::npos && close != std::string::npos && close > open)
        proc->params = parse_params(line.substr(open + 1, close - open - 1));
      proc->body.assign(src.begin() + static_cast<long>(i) + 1, src.begin() + static_cast<long>(j));
      proc->line_numbers.assign(numbers.begin() + static_cast<long>(i) + 1, numbers.begin() + static_cast<long>(j));
      proc->file = file;
      proc->line_offset = first_line - 1;
      const std::string lname = lower(name);
      std::string key;
      if (kind_lower == "sub" || kind_lower == "function") {
        key = lname;
        proc->kind = kind_lower;
        if (kind_lower == "function") proc->result = intern_folded(lname);
      } else {
        const bool get = kind_lower.back() == 't' && kind_lower.find("get") != std::string::npos;
        const bool let = kind_lower.find("let") != std::string::npos;
        key = (get ? "property_get_" : let ? "property_let_" : "property_set_") + lname;
        property_names.insert(intern_folded(lname));
        proc->kind = get ? "function" : "sub";
        if (get) {
          proc->result = intern_folded(lname);
          property_returns[key] = lname;
        }
      }
      proc->distinct_names = distinct_names(*proc);
      proc->direct = runs_direct(*proc);
      proc->has_by_ref = std::any_of(proc->params.begin(), proc->params.end(), [](const Param& p) { return p.by_ref; });
      proc->compiled = std::make_shared<CompiledBody>(proc->body);
      proc->compiled->line_numbers = &proc->line_numbers;
      proc->compiled->file = &proc->file;
      proc->compiled->line_offset = proc->line_offset;
      ProcedureRef& entry = procs[intern_folded(key)];
      if (entry) replaced_procs_.push_back(std::move(entry));
      entry = std::move(proc);
      i = j + 1;
      continue;
    }
    if (option_explicit_re.match(line)) {
      option_explicit = true;
    } else if (auto b = option_base_re.match_groups(line)) {
      option_base = (*b)[1] == "1" ? 1 : 0;
    } else if (decl_re.match(line) && !procedures_only_) {
      try {
        execute_statement(line, *globals);
      } catch (const VBError&) {
        // a failed module-level declaration is skipped
      }
    }
    ++i;
  }
}

// ---------------------------------------------------------------- statements

void VBRuntime::execute_statement(const std::string& line, Scope& scope) {
  const auto stmt = compile_statement(line);
  const Flow flow = exec_stmt(*stmt, scope);
  (void)flow;
}

Value VBRuntime::default_value(const std::string& type_name) {
  const std::string t = lower(type_name);
  if (user_types.count(t)) return make_record(t, 0);
  // a variable of a class (or of the kinds of object the dialect has)
  // holds Nothing until Set, as an Object variable does
  static const std::set<std::string> object_kinds = {"collection", "form", "control"};
  if (class_sources.count(t) || object_kinds.count(t)) return Value();
  return corvane::default_value(t);
}

Value VBRuntime::make_record(const std::string& type_name, int depth) {
  if (depth > 32) throw VBError("Type " + type_name + " contains itself");
  const auto& fields = user_types.at(type_name);
  std::map<std::string, Value> props;
  for (const auto& [field, type] : fields) {
    const size_t bracket = type.find('[');
    const std::string element = type.substr(0, bracket);
    auto one = [&] { return user_types.count(element) ? make_record(element, depth + 1) : corvane::default_value(element); };
    if (bracket == std::string::npos) {
      props[field] = one();
    } else if (type.compare(bracket, 2, "[]") == 0) {
      // a dynamic array: no elements until a ReDim gives it bounds
      Value array = make_array();
      array.as_array()->element = type_code(element);
      props[field] = std::move(array);
    } else {
      // "[count]" or "[lower:count]"
      const size_t colon = type.find(':', bracket);
      const long long from = colon == std::string::npos ? 0 : std::stoll(type.substr(bracket + 1));
      const long long count = std::stoll(type.substr(colon == std::string::npos ? bracket + 1 : colon + 1));
      std::vector<Value> items;
      for (long long k = 0; k < count; ++k) items.push_back(one());
      Value array = make_array(std::move(items));
      if (from != 0) array.as_array()->dims = {{from, count}};
      array.as_array()->fixed = true;
      props[field] = std::move(array);
    }
  }
  return Value(std::static_pointer_cast<ControlObject>(std::make_shared<VBRecord>(type_name, std::move(props))));
}

namespace {

// The most array elements memory could hold: total memory, or the address
// space limit when one is set.
uint64_t element_budget() {
  static const uint64_t budget = [] {
  uint64_t bytes = 0;
  struct sysinfo info {};
  if (sysinfo(&info) == 0) bytes = static_cast<uint64_t>(info.totalram + info.totalswap) * info.mem_unit;
  struct rlimit limit {};
  if (getrlimit(RLIMIT_AS, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY &&
      (bytes == 0 || limit.rlim_cur < bytes))
    bytes = limit.rlim_cur;
  if (bytes == 0) bytes = uint64_t{1} << 40;
  return bytes / sizeof(Value);
  }();
  return budget;
}

[[noreturn]] void out_of_memory() { throw VBError(7, "Out of memory"); }

}  // namespace

VBRuntime::ArrayShape VBRuntime::array_shape(const std::vector<DimBounds>& dims, Scope& scope) {
  ArrayShape shape;
  uint64_t total = 1;
  for (const DimBounds& d : dims) {
    const int64_t lower = d.lower ? number_as_count(eval(*d.lower, scope), INT64_MIN) : option_base;
    const int64_t upper = number_as_count(eval(*d.upper, scope), INT64_MIN);
    if (lower == INT64_MIN || upper == INT64_MIN) throw VBError("Array dimensions out of range");
    const int64_t count = upper - lower + 1;
    if (count < 0) throw VBError("Array dimensions out of range");
    if (count > INT32_MAX) out_of_memory();
    shape.bounds.emplace_back(lower, count);
    if (count != 0 && total > UINT64_MAX / static_cast<uint64_t>(count)) out_of_memory();
    total *= static_cast<uint64_t>(count);
  }
  if (total > static_cast<uint64_t>(INT32_MAX) || total > element_budget()) out_of_memory();
  shape.total = total;
  if (shape.bounds.size() == 1 && shape.bounds[0].first == 0) shape.bounds.clear();
  return shape;
}

namespace {

// A large array asks the kernel for huge pages before its elements are
// first written: touching megabytes of fresh memory one 4 KB page at a
// time costs more than filling it (most of all on virtual machines).
void advise_huge_pages(const std::vector<Value>& items) {
  constexpr uintptr_t HUGE_PAGE = uintptr_t{2} << 20;
  const size_t bytes = items.capacity() * sizeof(Value);
  if (bytes < 2 * HUGE_PAGE) return;
  const auto start = reinterpret_cast<uintptr_t>(items.data());
  const uintptr_t begin = (start + HUGE_PAGE - 1) & ~(HUGE_PAGE - 1);
  const uintptr_t end = (start + bytes) & ~(HUGE_PAGE - 1);
  // only a hint: without huge pages the array still works
  if (end > begin) (void)madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
}

}  // namespace

void VBRuntime::fill_array(VBArray& array, size_t total, const std::string& type) {
  array.element = type_code(type);
  if (array.items.capacity() < total) {
    array.items.reserve(total);
    advise_huge_pages(array.items);
  }
  const Value fill = default_value(type);
  if (fill.is_object()) {
    while (array.items.size() < total) array.items.push_back(default_value(type));
  } else {
    array.items.resize(total, fill);
  }
}

Value VBRuntime::make_array_value(const std::vector<DimBounds>& dims, const std::string& type, Scope& scope) {
  ArrayShape shape = array_shape(dims, scope);
  auto array = std::make_shared<VBArray>();
  fill_array(*array, shape.total, type);
  array->dims = std::move(shape.bounds);
  return Value(std::move(array));
}

Value VBRuntime::declared_value(const DeclPiece& d, Scope& scope) {
  if (!d.is_array) return d.as_new ? Value(new_instance(d.class_name)) : default_value(d.type);
  Value initial = d.dims.empty() ? make_array() : make_array_value(d.dims, d.type, scope);
  initial.as_array()->fixed = !d.dims.empty();
  initial.as_array()->element = type_code(d.type);
  // Dim a(2) As New C: every element is an instance from the start
  if (d.as_new)
    for (Value& item : initial.as_array()->items) item = Value(new_instance(d.class_name));
  return initial;
}

void VBRuntime::declare(const Stmt& stmt, Scope& scope) {
  for (const DeclPiece& d : stmt.decls) {
    Value initial = declared_value(d, scope);
    bool created = false;
    Var& var = scope.get_or_create(d.symbol, &created);
    var.declared = d.type_symbol;
    var.type = d.is_array ? TypeCode::Variant : type_code(d.type);
    if (created) var.value = std::move(initial);
    if (stmt.is_static && running_) keep_static(*running_, d.symbol, var, created);
  }
}

// A Static variable takes the value its procedure's last call left in it.
void VBRuntime::keep_static(Procedure& proc, Symbol symbol, Var& var, bool created) {
  for (auto& [name, value] : proc.statics)
    if (name == symbol) {
      if (!created) return;
      // a recursive call continues from the activation it was called in
      Var* outer = nullptr;
      for (size_t k = proc.active.size(); !outer && k-- > 1;) outer = proc.active[k - 1]->find_own(symbol);
      var.value = outer ? outer->value : value;
      return;
    }
  proc.statics.emplace_back(symbol, var.value);
}

// ReDim of a record's array field: one declared without bounds (Items()
// As Long) takes new ones; one with bounds keeps them, as in VB6.
void VBRuntime::redim_field(const AssignTarget& target, const DeclPiece& d, bool preserve, Scope& scope) {
  const Value owner = eval(*target.expr, scope);
  ControlObject* record = owner.is_object() ? owner.as_object().get() : nullptr;
  const std::string field = lower(target.member);
  if (!record || !record->is_record() || !record->props.count(field))
    throw VBError("ReDim requires an array: " + target.text);
  const Value old = record->props.at(field);
  if (!old.is_array()) throw VBError("ReDim requires an array: " + target.text);
  if (old.as_array()->fixed) throw VBError("This array is fixed or temporarily locked: " + target.text);
  std::string type = "variant";
  if (auto it = user_types.find(lower(record->name)); it != user_types.end())
    for (const auto& [name, declared] : it->second)
      if (name == field) type = declared.substr(0, declared.find('['));
  ArrayShape shape = array_shape(d.dims, scope);
  auto fresh = std::make_shared<VBArray>();
  if (preserve) {
    const std::vector<Value>& items = old.as_array()->items;
    fresh->items.assign(items.begin(), items.begin() + static_cast<long>(std::min<size_t>(items.size(), shape.total)));
  }
  fill_array(*fresh, shape.total, type);
  fresh->dims = std::move(shape.bounds);
  record->set(field, Value(std::move(fresh)));
}

void VBRuntime::redim(const Stmt& stmt, Scope& scope) {
  for (size_t i = 0; i < stmt.redims.size(); ++i) {
    const DeclPiece& d = stmt.redims[i];
    if (i < stmt.targets.size() && stmt.targets[i].kind == AssignTarget::Kind::Member) {
      redim_field(stmt.targets[i], d, stmt.preserve, scope);
      continue;
    }
    Scope& target = (&scope != globals.get() && !scope.holds(d.symbol) && globals->holds(d.symbol)) ? *globals : scope;
    Var* old = target.find(d.symbol);
    std::string type = d.type;
    if (type == "variant" && old && old->declared != sym::VARIANT) type = old->type_name();
    ArrayShape shape = array_shape(d.dims, scope);
    auto fresh = std::make_shared<VBArray>();
    if (stmt.preserve && old && old->value.is_array()) {
      ArrayRef array = old->value.as_array();
      // Only this variable holds the array: it changes in place, so
      // growing it one element at a time costs amortised constant time.
      if (array.use_count() <= 2) {
        if (array->items.size() > shape.total) array->items.resize(shape.total);
        if (array->items.size() < shape.total && array->items.capacity() < shape.total) {
          array->items.reserve(std::max<size_t>(shape.total, array->items.capacity() * 2));
          advise_huge_pages(array->items);
        }
        fill_array(*array, shape.total, type);
        array->dims = std::move(shape.bounds);
        continue;
      }
      const size_t keep = std::min<size_t>(array->items.size(), shape.total);
      fresh->items.assign(array->items.begin(), array->items.begin() + static_cast<long>(keep));
    }
    fill_array(*fresh, shape.total, type);
    fresh->dims = std::move(shape.bounds);
    Var& var = target.get_or_create(d.symbol);
    var.value = Value(std::move(fresh));
    if (var.declared == sym::VARIANT && type != "variant") var.declared = intern_folded(type);
  }
}

// Erase: the elements of an array declared with its bounds start again;
// a dynamic array becomes empty.
void VBRuntime::erase(const Stmt& stmt, Scope& scope) {
  for (const Symbol name : stmt.refs) {
    Var* v = array_variable(name, scope);
    if (!v) throw VBError("Erase requires an array: " + symbol_text(name));
    const VBArray& old = *v->value.as_array();
    auto fresh = std::make_shared<VBArray>();
    if (old.fixed) {
      fill_array(*fresh, old.items.size(), v->type_name());
      fresh->dims = old.dims;
      fresh->fixed = true;
    }
    fresh->element = old.element;
    v->value = Value(std::move(fresh));
  }
}

Var* VBRuntime::text_variable(Symbol k, Scope& scope) {
  if (k < sym::CONSTANT_COUNT || controls_.count(k) || enums.count(k)) return nullptr;
  Var* v = scope.find(k);
  if (!v && &scope != globals.get()) v = globals->find(k);
  if (!v || !v->value.is_string() || (v->type != TypeCode::Variant && v->type != TypeCode::String)) return nullptr;
  return v;
}

// s = s & x [& y ...] on a text variable appends to its text in place. The
// variable's text is held while the other operands are evaluated, in
// order; when they change the variable, the held text followed by theirs
// is stored, as the ordinary evaluation would.
bool VBRuntime::append_to_variable(const Stmt& stmt, Scope& scope) {
  const Symbol k = stmt.target.symbol;
  Var* v = text_variable(k, scope);
  if (!v) return false;
  Value held = v->value;
  std::vector<const Node*> operands;  // the right operands, last first
  for (const Node* n = stmt.expr.get(); n->kind == NodeKind::Binary && n->op == BinOp::Concat; n = n->kids[0].get())
    operands.push_back(n->kids[1].get());
  std::string tail;
  for (auto it = operands.rbegin(); it != operands.rend(); ++it) {
    const Value right = eval(**it, scope);
    if (right.is_string()) tail += right.as_string();
    else tail += vbstr(right);
  }
  store_appended(stmt, scope, std::move(held), tail);
  return true;
}

// The end of an in-place append: the variable still holding the text read
// before the operands ran grows in place; otherwise (an operand changed
// it) the held text followed by the operands' is stored.
void VBRuntime::store_appended(const Stmt& stmt, Scope& scope, Value held, std::string_view tail) {
  Var* v = text_variable(stmt.target.symbol, scope);  // the operands may have created variables
  if (v && v->value.shares_text(held)) {
    held = Value();
    v->value.append(tail);
    return;
  }
  assign_compiled(stmt.target, Value(held.as_string() + std::string(tail)), scope);
}

// s = s + x on a text variable whose text is no number: the sum is then a
// concatenation whatever x is (the held text followed by x's), so it is
// appended as s & x is.
bool VBRuntime::add_to_text(const Stmt& stmt, Scope& scope) {
  const Symbol k = stmt.target.symbol;
  Var* v = text_variable(k, scope);
  if (!v) return false;
  const std::string& text = std::as_const(v->value).as_string();  // read only: what is known about it stays
  Value number;
  if (text.empty() || parse_number_text(text, number)) return false;
  Value held = v->value;
  const Value right = eval(*stmt.expr->kids[1], scope);
  store_appended(stmt, scope, std::move(held), right.is_string() ? right.as_string() : vbstr(right));
  return true;
}

Flow VBRuntime::exec_stmt(const Stmt& stmt, Scope& scope) {
  switch (stmt.kind) {
    case StmtKind::Assign: {
      if (stmt.append_in_place && append_to_variable(stmt, scope)) return Flow::Normal;
      if (stmt.add_in_place && add_to_text(stmt, scope)) return Flow::Normal;
      assign_compiled(stmt.target, eval(*stmt.expr, scope), scope);
      return Flow::Normal;
    }
    case StmtKind::Call: {
      ArgList list(*this);
      std::vector<Value>& args = list.values;
      args.reserve(stmt.args.size());
      for (const auto& a : stmt.args) args.push_back(eval(*a, scope));
      call(stmt.symbol, stmt.name, args, scope, &stmt.refs);
      return Flow::Normal;
    }
    case StmtKind::MemberCall: {
      // `Form9.Show` / `Form9.Hide` on a name that denotes nothing: with a
      // form host, the name is taken as a form the host must find (a form
      // the project lacks fails there).
      if (load && !names_something(stmt.symbol, scope)) {
        const std::string m = lower(stmt.text);
        if (m == "show" || m == "hide") {
          load(stmt.name);
          if (ObjectRef form = control(stmt.name)) {
            std::vector<Value> args;
            for (const auto& a : stmt.args) args.push_back(eval(*a, scope));
            form->method(stmt.text, args);
            return Flow::Normal;
          }
        }
      }
      const Value owner = stmt.expr ? eval(*stmt.expr, scope) : lookup(stmt.symbol, stmt.name, scope);
      if (!owner.is_object() && stmt.expr)
        throw VBError(owner.is_nothing() ? 91 : 424, (owner.is_nothing() ? "Object variable or With block variable not set: "
                                                                         : "Object required: ") + stmt.name + "." + stmt.text);
      if (!owner.is_object()) {
        if (names_something(stmt.symbol, scope)) {
          // a variable that holds no object
          Var* v = scope.find(stmt.symbol);
          if (!v) v = globals->find(stmt.symbol);
          const bool object_type = v && (v->type == TypeCode::Object || v->type == TypeCode::Other);
          if (owner.is_nothing() || object_type)
            throw VBError(91, "Object variable or With block variable not set: " + stmt.name + "." + stmt.text);
          throw VBError(424, "Object required: " + stmt.name + "." + stmt.text);
        }
        // Module1.Proc args: a procedure qualified by its module's name
        if (auto it = procs.find(intern(stmt.text)); it != procs.end()) {
          std::vector<Value> args;
          for (const auto& a : stmt.args) args.push_back(eval(*a, scope));
          const ProcedureRef proc = it->second;
          run_proc(proc, args, nullptr, &scope);
          return Flow::Normal;
        }
        return exec_stmt(*stmt.alt, scope);
      }
      std::vector<Value> args;
      args.reserve(stmt.args.size());
      for (const auto& a : stmt.args) args.push_back(eval(*a, scope));
      owner.as_object()->method(stmt.text, args);
      return Flow::Normal;
    }
    case StmtKind::OnErrorResumeNext:
      error_mode = ErrorMode::Resume;
      clear_error();
      return Flow::Normal;
    case StmtKind::OnErrorGotoMinus1:
      clear_error();
      scope.in_handler = false;
      return Flow::Normal;
    case StmtKind::Goto: jump_label_ = stmt.name; return Flow::Goto;
    case StmtKind::GoSub: jump_label_ = stmt.name; return Flow::GoSub;
    case StmtKind::OnGoto: case StmtKind::OnGoSub: {
      // The number rounds to a whole one; 0 or past the list goes on with
      // the next statement, below 0 or above 255 is an error.
      const int64_t n = number_as_count(round_half_even(eval(*stmt.expr, scope)), -1);
      if (n < 0 || n > 255) throw VBError(5, "Invalid procedure call or argument");
      if (n == 0 || n > static_cast<int64_t>(stmt.labels.size()) || stmt.labels[static_cast<size_t>(n - 1)].empty())
        return Flow::Normal;
      jump_label_ = stmt.labels[static_cast<size_t>(n - 1)];
      return stmt.kind == StmtKind::OnGoto ? Flow::Goto : Flow::GoSub;
    }
    case StmtKind::Return: return Flow::Return;
    case StmtKind::Resume:
      if (!scope.in_handler) throw VBError(20, "Resume without error");
      return Flow::Resume;
    case StmtKind::ResumeLabel:
      if (!scope.in_handler) throw VBError(20, "Resume without error");
      jump_label_ = stmt.name;
      return Flow::Goto;
    case StmtKind::FilePrint: case StmtKind::FileWrite: case StmtKind::FileOpen: case StmtKind::FileClose:
    case StmtKind::FileInput: case StmtKind::FileLineInput: case StmtKind::FileGet: case StmtKind::FilePut:
    case StmtKind::FileSeek: case StmtKind::FileName:
      return exec_file_stmt(stmt, scope);
    case StmtKind::Refused: {
      VBError e(stmt.name);
      e.untrappable = true;
      throw e;
    }
    case StmtKind::OnErrorGoto0:
      error_mode = ErrorMode::Raise;
      scope.error_label.clear();
      clear_error();
      return Flow::Normal;
    case StmtKind::OnErrorGotoLabel:
      scope.error_label = stmt.name;
      error_mode = ErrorMode::Handler;
      clear_error();
      return Flow::Normal;
    case StmtKind::ResumeNext:
      if (!scope.in_handler) throw VBError("Resume Next without an active error handler");
      return Flow::ResumeNext;
    case StmtKind::Nop:
      if (stmt.name == "doevents") {
        if (doevents) doevents();
        start_clock();
      }
      return Flow::Normal;
    case StmtKind::WithMember:
      return exec_stmt(scope.has_with ? *stmt.with_form : *stmt.alt, scope);
    case StmtKind::Declare: declare(stmt, scope); return Flow::Normal;
    case StmtKind::ReDim: redim(stmt, scope); return Flow::Normal;
    case StmtKind::Const: {
      Value value = eval(*stmt.expr, scope);
      scope.get_or_create(stmt.symbol).value = std::move(value);
      for (size_t i = 0; i < stmt.decls.size(); ++i) {  // Const a = 1, b = 2
        Value more = eval(*stmt.args[i], scope);
        scope.get_or_create(stmt.decls[i].symbol).value = std::move(more);
      }
      return Flow::Normal;
    }
    case StmtKind::ExitProc: return Flow::ExitProc;
    case StmtKind::ExitFor:
      if (scope.for_depth <= 0) throw VBError("Exit For outside a For loop");
      return Flow::ExitFor;
    case StmtKind::ExitDo:
      if (scope.do_depth <= 0) throw VBError("Exit Do outside a Do loop");
      return Flow::ExitDo;
    case StmtKind::End:
      if (on_end) on_end();
      return Flow::Stop;
    case StmtKind::Erase: erase(stmt, scope); return Flow::Normal;
    case StmtKind::Beep:
      if (debug) debug("Beep");
      return Flow::Normal;
    case StmtKind::ObjectPrint:
      if (stmt.expr || current_form) return print_on_object(stmt, scope);
      [[fallthrough]];
    case StmtKind::DebugPrint: {
      bool newline = true;
      print_list(stmt, scope, print_line, 0, newline);
      if (newline) {
        std::string text;
        text.swap(print_line);
        if (debug) debug(text);
      }
      return Flow::Normal;
    }
    case StmtKind::Unload:
      if (!stmt.args.empty()) return load_element(stmt, scope, "unload");
      if (unload) {
        unload(unload_target(stmt.name, scope));
      } else if (lower(stmt.name) == "me") {
        if (on_end) on_end();
      } else {
        throw VBError("Unload requires a form host");
      }
      return Flow::Normal;
    case StmtKind::Load:
      if (!stmt.args.empty()) return load_element(stmt, scope, "load");
      if (!load) throw VBError("Load requires a form host");
      load(stmt.name);
      return Flow::Normal;
    case StmtKind::Unsupported: {
      VBError e("Unsupported statement: " + stmt.text);
      e.untrappable = true;
      throw e;
    }
  }
  return Flow::Normal;
}

// Unload f: a variable holding a form names the form it holds.
std::string VBRuntime::unload_target(const std::string& name, Scope& scope) {
  const Symbol s = intern(name);
  Var* v = scope.find(s);
  if (!v && &scope != globals.get()) v = globals->find(s);
  if (v && v->value.is_object() && v->value.as_object()) return v->value.as_object()->name;
  return name;
}

// Load Command1(n) / Unload Command1(n): the form makes or removes the element.
Flow VBRuntime::load_element(const Stmt& stmt, Scope& scope, const char* verb) {
  ObjectRef object = control(stmt.name);
  auto* array = dynamic_cast<ControlArray*>(object.get());
  if (!array) throw VBError(343, "Object not an array: " + stmt.name);
  std::vector<Value> args{eval(*stmt.args[0], scope)};
  array->method(verb, args);
  return Flow::Normal;
}

void VBRuntime::assign(const std::string& target, const Value& value, Scope& scope) {
  assign_compiled(compile_target(target), value, scope);
}

// A text stored in a record's "String * n" field keeps n characters: cut,
// or padded with blanks.
Value VBRuntime::fixed_length_field(const ControlObject& record, const std::string& field, Value value) {
  if (!record.is_record()) return value;
  const auto type = user_types.find(record.name);
  if (type == user_types.end()) return value;
  for (const auto& [name, declared] : type->second) {
    if (name != lower(field) || declared.rfind("string*", 0) != 0 || declared.find('[') != std::string::npos) continue;
    const size_t n = static_cast<size_t>(std::stoul(declared.substr(7)));
    const std::string text = vbstr(value);
    size_t at = 0, count = 0;
    while (at < text.size() && count < n) {
      decode_utf8(text, at);
      ++count;
    }
    return Value(text.substr(0, at) + std::string(n - count, ' '));
  }
  return value;
}

void VBRuntime::assign_compiled(const AssignTarget& t, Value value, Scope& scope) {
  // A record is stored as a copy of its own (VB6 copies a Type on assignment).
  if (value.is_object()) value = copy_record(value);
  switch (t.kind) {
    case AssignTarget::Kind::Simple: {
      const Symbol k = t.symbol;
      if (!controls_.empty()) {
        auto it = controls_.find(k);
        if (it != controls_.end()) {
          ControlObject& c = *it->second;
          c.set(c.has("text") ? "Text" : "Value", value);
          return;
        }
      }
      Var* v = scope.find(k);
      if (!v && &scope != globals.get()) {
        if (Var* g = globals->find(k)) {
          // the conversion creates no variables, so g stays valid
          if (g->type == TypeCode::Variant) g->value.store(std::move(value));
          else store_converted(g->value, std::move(value), g->type);
          return;
        }
      }
      // a Property Let (or Set) by its bare name (FileName = "x")
      if (!v && !property_names.empty() && property_names.count(k))
        if (ProcedureRef setter = property_setter(*this, symbol_text(k), value.is_object())) {
          run_setter(*this, setter, {}, std::move(value), &scope);
          return;
        }
      // a bare name of the form's own property sets it (Caption = "x")
      if (!v && current_form && current_form->has(lower(t.text))) {
        current_form->set(t.text, std::move(value));
        return;
      }
      if (!v) v = &scope.get_or_create(k);
      if (v->type == TypeCode::Variant) v->value.store(std::move(value));
      else store_converted(v->value, std::move(value), v->type);
      return;
    }
    case AssignTarget::Kind::Element: {
      Var* v = scope.find(t.symbol);
      if (!v || !v->value.is_array()) v = globals->find(t.symbol);
      if (!v || !v->value.is_array()) {
        if (t.symbol == intern_folded("mid") || t.symbol == intern_folded("mid$")) return assign_mid(t, value, scope);
        // Score(2) = 40: an indexed Property Let
        if (!property_names.empty() && property_names.count(t.symbol))
          if (ProcedureRef setter = property_setter(*this, symbol_text(t.symbol), value.is_object())) {
            std::vector<Value> indexes;
            indexes.push_back(eval(*t.expr, scope));
            for (const auto& more : t.more) indexes.push_back(eval(*more, scope));
            run_setter(*this, setter, std::move(indexes), std::move(value), &scope);
            return;
          }
        throw VBError("Not an array: " + t.name);
      }
      ArrayRef array = v->value.as_array();
      if (t.more.empty()) {
        const Value index = eval(*t.expr, scope);
        store_element(*array, element_index(*array, index, t.name), std::move(value));
        return;
      }
      std::vector<Value> indexes;
      indexes.push_back(eval(*t.expr, scope));
      for (const auto& more : t.more) indexes.push_back(eval(*more, scope));
      store_element(*array, element_index(*array, indexes, t.name), std::move(value));
      return;
    }
    case AssignTarget::Kind::Member: {
      // Module1.Title = "x": a Property Let qualified by its module's name
      if (!property_names.empty() && t.more.empty() && t.expr->kind == NodeKind::Name &&
          property_names.count(intern(t.member)) && !names_something(t.expr->symbol, scope))
        if (ProcedureRef setter = property_setter(*this, lower(t.member), value.is_object())) {
          run_setter(*this, setter, {}, std::move(value), &scope);
          return;
        }
      const Value owner = eval(*t.expr, scope);
      if (!owner.is_object()) throw VBError("Not an object: " + t.name);
      if (!t.more.empty()) {
        const Value field = owner.as_object()->get(t.member);
        if (!field.is_array()) throw VBError("Not an array: " + t.name + "." + t.member);
        std::vector<Value> indexes;
        for (const auto& index : t.more) indexes.push_back(eval(*index, scope));
        VBArray& array = *field.as_array();
        store_element(array, element_index(array, indexes, t.member), std::move(value));
        return;
      }
      owner.as_object()->set(t.member, fixed_length_field(*owner.as_object(), t.member, std::move(value)));
      return;
    }
    case AssignTarget::Kind::Invalid: throw VBError("Invalid assignment target: " + t.text);
  }
}

// Mid(s, start[, length]) = text: replaces characters of s in place, never
// changing its length.
void VBRuntime::assign_mid(const AssignTarget& t, const Value& value, Scope& scope) {
  const auto* name = t.expr.get();
  if (name->kind != NodeKind::Name || t.more.empty()) throw VBError("Not an array: " + t.name);
  const int64_t start = number_as_count(eval(*t.more[0], scope), 0);
  if (start < 1) throw VBError(5, "Invalid procedure call or argument");
  const std::u32string text = [&] {
    std::u32string out;
    const std::string s = vbstr(lookup(name->symbol, name->text, scope));
    for (size_t i = 0; i < s.size();) out.push_back(decode_utf8(s, i));
    return out;
  }();
  std::u32string insert;
  const std::string v = vbstr(value);
  for (size_t i = 0; i < v.size();) insert.push_back(decode_utf8(v, i));
  size_t length = insert.size();
  if (t.more.size() > 1) length = std::min<size_t>(length, static_cast<size_t>(std::max<int64_t>(0, number_as_count(eval(*t.more[1], scope), 0))));
  std::u32string result = text;
  for (size_t k = 0; k < length && static_cast<size_t>(start - 1) + k < result.size(); ++k)
    result[static_cast<size_t>(start - 1) + k] = insert[k];
  std::string out;
  for (char32_t c : result) {
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xc0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3f));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xe0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3f));
      out += static_cast<char>(0x80 | (c & 0x3f));
    } else {
      out += static_cast<char>(0xf0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3f));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3f));
      out += static_cast<char>(0x80 | (c & 0x3f));
    }
  }
  AssignTarget whole;
  whole.kind = AssignTarget::Kind::Simple;
  whole.symbol = name->symbol;
  whole.text = name->text;
  assign_compiled(whole, Value(std::move(out)), scope);
}

// ---------------------------------------------------------------- blocks

Flow VBRuntime::execute_range(const std::vector<std::string>& lines, long start, long end, Scope& scope) {
  CompiledBody body(lines);
  return run_range(body, start, end, scope);
}


CompiledBody& VBRuntime::compile_body(Procedure& proc) {
  proc.compiled = std::make_shared<CompiledBody>(proc.body);
  return *proc.compiled;
}

Flow VBRuntime::run_range(CompiledBody& body, long start, long end, Scope& scope) {
  DepthCount guard(block_depth_);
  if (block_depth_ > MAX_BLOCK_DEPTH) throw VBError("Blocks nested too deeply");
  check_stack();
  long index = start;
  while (index < end) {
    if (++step_count >= next_check_) checkpoint();
    Line& line = body.line(index);
    if (line.kind == LineKind::Label) {
      ++index;
      continue;
    }
    Flow flow = Flow::Normal;
    long next = index + 1;
    try {
      if (line.kind == LineKind::Simple) flow = exec_stmt(*line.simple, scope);
      else flow = run_block(body, line, index, next, scope);
    } catch (VBError& e) {
      if (!trap(e, body, index, resume_point(body, line, index), scope, flow, next)) throw;
    } catch (const std::bad_alloc&) {
      VBError e(7, "Out of memory");
      if (!trap(e, body, index, resume_point(body, line, index), scope, flow, next)) throw e;
    } catch (const std::length_error&) {
      VBError e(7, "Out of memory");
      if (!trap(e, body, index, resume_point(body, line, index), scope, flow, next)) throw e;
    }
    if (flow == Flow::Normal) {
      index = next;
      continue;
    }
    if (flow == Flow::Goto) {
      const long target = body.label_index(jump_label_);
      if (target < 0) {
        VBError e("Label not defined: " + jump_label_);
        e.untrappable = true;
        locate(e, body, index);
        throw e;
      }
      if (target >= start && target < end && body.directly_within(start, end, target)) {
        index = target + 1;
        continue;
      }
      return flow;
    }
    if (flow == Flow::GoSub) {
      const long target = body.label_index(jump_label_);
      if (target < 0) {
        VBError e("Label not defined: " + jump_label_);
        e.untrappable = true;
        locate(e, body, index);
        throw e;
      }
      struct GoSubDepth {
        int& d;
        explicit GoSubDepth(int& x) : d(x) { ++d; }
        ~GoSubDepth() { --d; }
      } depth(gosub_depth_);
      if (gosub_depth_ > 100000) throw VBError(28, "Out of stack space (GoSub nested too deeply)");
      const Flow sub = run_range(body, target + 1, static_cast<long>(body.lines->size()), scope);
      if (sub == Flow::Return) {
        index = next;
        continue;
      }
      return sub == Flow::Normal ? Flow::ExitProc : sub;
    }
    return flow;
  }
  return Flow::Normal;
}

long VBRuntime::resume_point(CompiledBody& body, Line& line, long index) {
  switch (line.kind) {
    case LineKind::Simple: case LineKind::IfSingle: case LineKind::Label: return index + 1;
    default: break;
  }
  try {
    body.resolve(index);
  } catch (VBError&) {
    return index + 1;
  }
  return line.end + 1;
}

void VBRuntime::record_error(const VBError& e) {
  err_number = e.number();
  last_error = e.message();
  err_source = e.source.empty() ? vbstr(app->get("Title")) : e.source;
}

void VBRuntime::locate(VBError& e, CompiledBody& body, long index) {
  if (e.line != 0 || !body.line_numbers || index < 0 ||
      static_cast<size_t>(index) >= body.line_numbers->size())
    return;
  e.line = (*body.line_numbers)[static_cast<size_t>(index)] + body.line_offset;
  if (body.file) e.file = *body.file;
}

bool VBRuntime::trap(VBError& e, CompiledBody& body, long index, long resume_at, Scope& scope, Flow& flow,
                     long& next) {
  if (!e.untrappable) {
    if (error_mode == ErrorMode::Resume) {
      record_error(e);
      flow = Flow::Normal;
      next = resume_at;
      return true;
    }
    if (error_mode == ErrorMode::Handler && !scope.in_handler && !scope.error_label.empty()) {
      record_error(e);
      flow = run_handler(body, index, resume_at, scope, next);
      return true;
    }
  }
  locate(e, body, index);
  if (scope.failure_index < 0) scope.failure_index = index;
  return false;
}

Flow VBRuntime::run_handler(CompiledBody& body, long index, long resume_at, Scope& scope, long& next) {
  const long handler = body.label_index(scope.error_label);
  if (handler < 0) throw VBError("Error handler label not found: " + scope.error_label);
  error_mode = ErrorMode::Raise;
  scope.in_handler = true;
  const Flow flow = run_range(body, handler + 1, static_cast<long>(body.lines->size()), scope);
  scope.in_handler = false;
  switch (flow) {
    case Flow::Normal:  // the handler ran to the end of the procedure
    case Flow::ExitProc: clear_error(); return Flow::ExitProc;
    case Flow::ResumeNext:
      error_mode = ErrorMode::Handler;
      clear_error();
      next = resume_at;
      return Flow::Normal;
    case Flow::Resume:
      error_mode = ErrorMode::Handler;
      clear_error();
      next = index;
      return Flow::Normal;
    case Flow::Goto:  // Resume label, or GoTo out of the handler
      error_mode = ErrorMode::Handler;
      clear_error();
      return Flow::Goto;
    default: return flow;
  }
}

// One comparison of a Case line; Integers compare without building a value.
bool VBRuntime::case_test(BinOp op, const Value& selector, const Node& node, Scope& scope) {
  Value computed;
  const Value* value = peek(node, scope);
  if (!value) value = &(computed = eval(node, scope));
  return comparison_truth(op, selector, *value);
}

Flow VBRuntime::run_block(CompiledBody& body, Line& line, long index, long& next, Scope& scope) {
  switch (line.kind) {
    case LineKind::IfSingle: {
      const auto& chosen = eval_truth(*line.e1, scope) ? line.then_stmts : line.else_stmts;
      for (const auto& stmt : chosen) {
        const Flow flow = exec_stmt(*stmt, scope);
        if (flow != Flow::Normal) return flow;
      }
      return Flow::Normal;
    }
    case LineKind::IfBlock: {
      body.resolve(index);
      next = line.end + 1;
      for (size_t b = 0; b < line.branches.size(); ++b) {
        const Branch& branch = line.branches[b];
        const bool chosen = branch.is_else || eval_truth(b == 0 ? *line.e1 : *branch.cond, scope);
        if (chosen) return run_range(body, branch.begin, branch.end, scope);
      }
      return Flow::Normal;
    }
    case LineKind::With: {
      body.resolve(index);
      next = line.end + 1;
      Value target = eval(*line.e1, scope);
      const bool had = scope.has_with;
      Value previous;
      if (had) previous = scope.find(sym::WITH_TARGET)->value;
      scope.get_or_create(sym::WITH_TARGET).value = std::move(target);
      scope.has_with = true;
      struct Restore {
        Scope& s;
        bool had;
        Value previous;
        ~Restore() {
          s.has_with = had;
          s.get_or_create(sym::WITH_TARGET).value = had ? std::move(previous) : Value();
        }
      } restore{scope, had, std::move(previous)};
      return run_range(body, index + 1, line.end, scope);
    }
    case LineKind::ForEach: {
      body.resolve(index);
      next = line.end + 1;
      const Value collection = eval(*line.e1, scope);
      const ControlObject* object = collection.is_object() ? collection.as_object().get() : nullptr;
      const auto* controls = dynamic_cast<const ControlArray*>(object);
      const auto* members = dynamic_cast<const VBCollection*>(object);
      if (!collection.is_array() && !controls && !members) throw VBError("For Each requires an array");
      const std::vector<Value> items = controls ? controls->items()
                                       : members ? members->items()
                                                 : collection.as_array()->items;
      DepthCount depth(scope.for_depth);
      for (const Value& item : items) {
        scope.get_or_create(line.var).value = item;
        if (++step_count >= next_check_) checkpoint();
        const Flow flow = run_range(body, index + 1, line.end, scope);
        if (flow == Flow::ExitFor) break;
        if (flow != Flow::Normal) return flow;
      }
      return Flow::Normal;
    }
    case LineKind::For: {
      body.resolve(index);
      next = line.end + 1;
      Value first = number(eval(*line.e1, scope));
      Value bound = number(eval(*line.e2, scope));
      ForCounter loop(std::move(first), std::move(bound), line.e3 ? number(eval(*line.e3, scope)) : Value(int64_t{1}));
      // the counter's place in the scope stays put while the body adds variables
      Scope& counters = counter_scope(line.var, scope);
      const long counter_slot = counters.slot_of(line.var);
      DepthCount depth(scope.for_depth);
      for (; loop.going(); loop.advance()) {
        (counter_slot >= 0 ? counters.at(counter_slot) : counters.get_or_create(line.var)).value.store(loop.counter);
        if (++step_count >= next_check_) checkpoint();
        const Flow flow = run_range(body, index + 1, line.end, scope);
        if (flow == Flow::ExitFor) break;
        if (flow != Flow::Normal) return flow;
      }
      return Flow::Normal;
    }
    case LineKind::Do: {
      body.resolve(index);
      next = line.end + 1;
      DepthCount depth(scope.do_depth);
      while (true) {
        if (++step_count >= next_check_) checkpoint();
        if (line.header) {
          const bool c = eval_truth(*line.e1, scope);
          if ((line.header == 1 && !c) || (line.header == 2 && c)) break;
        }
        const Flow flow = run_range(body, index + 1, line.end, scope);
        if (flow == Flow::ExitDo) break;
        if (flow != Flow::Normal) return flow;
        if (line.footer) {
          const bool c = eval_truth(*line.footer_cond, scope);
          if ((line.footer == 1 && !c) || (line.footer == 2 && c)) break;
        }
      }
      return Flow::Normal;
    }
    case LineKind::While: {
      body.resolve(index);
      next = line.end + 1;
      while (eval_truth(*line.e1, scope)) {
        if (++step_count >= next_check_) checkpoint();
        const Flow flow = run_range(body, index + 1, line.end, scope);
        if (flow != Flow::Normal) return flow;
      }
      return Flow::Normal;
    }
    case LineKind::Select: {
      const Value selector = eval(*line.e1, scope);
      body.resolve(index);
      next = line.end + 1;
      for (const Branch& branch : line.branches) {
        bool chosen = branch.is_else;
        for (size_t k = 0; !chosen && k < branch.cases.size(); ++k) {
          const CaseTest& test = branch.cases[k];
          switch (test.kind) {
            case CaseTest::Kind::Equal: chosen = case_test(BinOp::Eq, selector, *test.a, scope); break;
            case CaseTest::Kind::Is: chosen = case_test(test.op, selector, *test.a, scope); break;
            case CaseTest::Kind::Range: {
              if (peek(*test.b, scope)) {  // the high end has no side effects
                chosen = case_test(BinOp::Ge, selector, *test.a, scope) && case_test(BinOp::Le, selector, *test.b, scope);
                break;
              }
              const Value low = eval(*test.a, scope);
              const Value high = eval(*test.b, scope);
              chosen = truth(binary(BinOp::Ge, selector, low)) && truth(binary(BinOp::Le, selector, high));
              break;
            }
          }
        }
        if (chosen) return run_range(body, branch.begin, branch.end, scope);
      }
      return Flow::Normal;
    }
    default: return Flow::Normal;
  }
}

}  // namespace corvane
