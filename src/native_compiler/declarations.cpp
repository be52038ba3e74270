// Collection of procedures, module-level names, enumerations and class
// fields; declaration syntax; name resolution and procedure calls; the
// location-prefixed error.
#include <algorithm>
#include <map>

#include "basic/declaration_reader.h"
#include "basic/enum_values.h"
#include "native_compiler/expressions.h"
#include "native_compiler/form_objects.h"
#include "native_compiler/language_extras.h"
#include "native_compiler/patterns.h"

namespace corvane {

namespace {

constexpr uint32_t CI = Regex::CASELESS;

const std::set<std::string>& accepted_types() {
  static const std::set<std::string> types = {"variant", "string", "integer", "long",    "byte",    "date",
                                              "single",  "double", "currency", "boolean", "object",
                                              "adodb.connection", "adodb.recordset", "collection", "vba.collection",
                                              "form"};
  return types;
}

}  // namespace

// A parameter list: [Optional] [ByVal|ByRef] name[()] [As type] [= default].
// An array parameter ("a()") is a Variant; a left-out argument starts as
// its default, else as its type's initial value.
std::vector<NativeParam> parse_params(const NativeCompiler& compiler, const std::string& where,
                                      const std::string& text) {
  std::vector<NativeParam> out;
  for (const DeclaredParameter& p : read_parameters(text)) {
    if (!p.plain || (p.param_array && !p.is_array))
      compiler.error(nullptr, where + ": unsupported parameter declaration: " + p.text);
    std::string element;  // "a() As Long": the array's element type
    static const Regex element_type(R"(\)\s*As\s+([\w.]+))", CI);
    if (p.is_array)
      if (auto g = element_type.search_groups(p.text)) element = lower((*g)[1]);
    out.push_back({name_key(p.name), p.by_ref && !p.param_array,
                   p.is_array || p.type.empty() ? "variant" : compiler.stored_type(lower(p.type)),
                   element.empty() ? element : compiler.stored_type(element),
                   p.optional ? p.default_value : std::string(), p.param_array, p.optional});
  }
  return out;
}

size_t NativeCompiler::collect_record(const std::string& owner, const std::vector<std::string>& src, size_t k) {
  static const Regex head(R"(^(?:(?:Public|Private)\s+)?Type\s+(\w+)$)", CI);
  static const Regex end(R"(^End\s+Type$)", CI);
  const std::string name = name_key((*head.match_groups(src[k]))[1]);
  if (is_record(name)) error(nullptr, owner + ": Type " + name + " is declared more than once");
  std::vector<std::pair<std::string, std::string>> fields;
  size_t j = k + 1;
  for (; j < src.size() && !end.match(src[j]); ++j) {
    const std::optional<TypeMember> m = read_type_member(src[j]);
    if (!m) error(nullptr, owner + ": unsupported Type member: " + src[j]);
    // "name(9) As T" is an array field of 10 elements ("t[10]"), "name(1
    // To 3) As T" one of 3 from 1 ("t[1:3]"); "name As String * 20" a
    // text of 20 characters.
    std::string type = name_key(m->type);
    if (!m->fixed_length.empty()) type += "*" + m->fixed_length;
    type += m->array_suffix();
    const std::string field = name_key(m->name);
    auto same = std::find_if(fields.begin(), fields.end(), [&](const auto& f) { return f.first == field; });
    if (same != fields.end()) same->second = type;
    else fields.emplace_back(field, type);
  }
  if (j >= src.size()) error(nullptr, owner + ": Missing End Type for " + name);
  records_.emplace_back(name, std::move(fields));
  return j;
}

std::vector<std::string> comma_pieces(std::string_view text) {
  std::vector<std::string> out;
  for (const std::string& piece : split_outside(text, ',')) {
    std::string p = strip_text(piece);
    if (!p.empty()) out.push_back(p);
  }
  return out;
}

// A dynamic array before its first ReDim: no elements, but already stored
// as its element type.
std::string empty_array(const std::string& type) {
  if (scalar_type(type) == Ty::Value) return "vb_array_empty()";
  return "vb_array_of_type(" + q(type) + ")";
}

NativeCompiler::NativeCompiler(const Project& project) : project_(project) { collect(); }

std::string NativeCompiler::stored_type(std::string type) const {
  if (!class_names_.count(type) && !is_record(type) && is_control_type(type)) return "object";
  if (!class_names_.count(type) && !is_record(type) && !enum_types_.count(type) && is_language_enum(type))
    return "long";
  return enum_types_.count(type) && !class_names_.count(type) && !is_record(type) ? "long" : type;
}

void NativeCompiler::error(const NativeProcedure* proc, std::string_view message) const {
  std::string location = active_location_ ? *active_location_ : proc ? proc->owner : project_.name;
  if (active_location_ && active_line_ > 0)
    throw NativeCompileError(location + ": " + std::string(message), active_file_, active_line_);
  throw NativeCompileError(location + ": " + std::string(message));
}

std::vector<const NativeProcedure*> NativeCompiler::procedures() const {
  std::vector<const NativeProcedure*> out;
  for (const NativeProcedure& p : procs_) out.push_back(&p);
  return out;
}

const NativeProcedure* NativeCompiler::find_procedure(std::string_view key) const {
  auto it = proc_index_.find(std::string(key));
  return it == proc_index_.end() ? nullptr : &procs_[it->second];
}

const std::vector<std::pair<std::string, std::string>>* NativeCompiler::class_fields(std::string_view cls) const {
  auto it = class_types_.find(std::string(cls));
  return it == class_types_.end() ? nullptr : &it->second;
}

const GlobalName* NativeCompiler::find_global(std::string_view lower_name) const {
  auto it = global_index_.find(std::string(lower_name));
  return it == global_index_.end() ? nullptr : &globals_[it->second];
}

std::string NativeCompiler::new_temporary() { return "_t" + std::to_string(++temporaries_); }

void NativeCompiler::add_procedure(NativeProcedure proc, bool replace) {
  auto it = proc_index_.find(proc.key);
  if (it != proc_index_.end()) {
    if (!replace) error(nullptr, "Duplicate procedure " + proc.owner + "." + proc.name);
    procs_[it->second] = std::move(proc);
    return;
  }
  proc_index_[proc.key] = procs_.size();
  procs_.push_back(std::move(proc));
}

void NativeCompiler::collect() {
  std::vector<std::string> sources;
  for (const VBForm& form : project_.forms) sources.push_back(form.code);
  for (const Module& m : project_.modules) sources.push_back(m.code);
  for (const ClassModule& c : project_.classes) sources.push_back(c.code);
  enum_types_ = enum_type_names(sources);
  static const Regex option_explicit(R"(^[ \t]*Option[ \t]+Explicit\b)", Regex::CASELESS | Regex::MULTILINE);
  option_explicit_ = std::any_of(sources.begin(), sources.end(), [](const std::string& code) { return option_explicit.search(code); });
  for (const VBForm& form : project_.forms) {
    form_names_.insert(name_key(form.name));
    for (const Control& c : form.controls) {
      form_control_names_.insert(name_key(c.name));
      if (c.index >= 0) control_array_names_.insert(name_key(c.name));
    }
    // Menu items are used as controls are (mnuView.Checked = True).
    const std::function<void(const std::vector<MenuItem>&)> menus = [&](const std::vector<MenuItem>& items) {
      for (const MenuItem& m : items) {
        form_control_names_.insert(name_key(m.name));
        if (m.index >= 0) control_array_names_.insert(name_key(m.name));
        menus(m.children);
      }
    };
    menus(form.menus);
  }
  for (const ClassModule& cls : project_.classes) class_names_.insert(name_key(cls.name));
  const ComponentLocations where = locate_code(project_, std::nullopt);
  for (size_t i = 0; i < project_.forms.size(); ++i)
    collect_code(project_.forms[i].name, project_.forms[i].code, static_cast<int>(i), where.forms.at(i));
  for (size_t i = 0; i < project_.modules.size(); ++i)
    collect_code(project_.modules[i].name, project_.modules[i].code, std::nullopt, where.modules.at(i));
  for (size_t i = 0; i < project_.classes.size(); ++i) collect_class(project_.classes[i], where.classes.at(i));

  // Enumeration members first: module constants may be computed from them.
  for (const auto& [name, value] : enum_order_) {
    if (global_index_.count(name)) error(nullptr, "Duplicate Enum constant " + name);
    global_index_[name] = globals_.size();
    globals_.push_back({name, "long", "vb_int(" + std::to_string(enums_.at(name)) + ")"});
  }
  // A Private (or Dim) module-level name that another form or module also
  // declares belongs to its own module: it is stored under a name of its
  // own, which that module's procedures use in its place.
  static const Regex public_line(R"(^(?:Public|Global)\b)", CI);
  std::map<std::string, int> owners_of;
  for (const auto& [owner, line] : declarations_)
    for (const Declaration& d : parse_declaration(line, owner)) ++owners_of[d.name];
  for (const auto& [owner, line] : declarations_) {
    for (Declaration d : parse_declaration(line, owner)) {
      if (owners_of[d.name] > 1 && !public_line.match(line)) {
        const std::string own = name_key(owner) + "__" + d.name;
        private_names_[name_key(owner)][d.name] = own;
        d.name = own;
      }
      if (global_index_.count(d.name)) error(nullptr, "Duplicate module-level identifier " + d.name);
      std::string init = d.init;
      if (d.array_bound)
        init = with_instances(d, d.array_bound->empty() ? empty_array(d.type)
                                                         : array_shape(nullptr, owner, *d.array_bound, d.type, Locals{}));
      else if (!d.value.empty())
        init = expr(nullptr, d.value, Locals{});  // from the module names declared before it
      global_index_[d.name] = globals_.size();
      globals_.push_back({d.name, d.type, init, false, d.array_bound.has_value(), name_key(owner)});
    }
  }
}

namespace {

// The file lines of body lines [first, last) of a code whose logical lines
// start at the physical lines `numbers` (1-based within the code).
std::vector<int> file_lines_of(const CodeLocation& where, const std::vector<int>& numbers, size_t first, size_t last) {
  std::vector<int> out;
  for (size_t k = first; k < last && k < numbers.size(); ++k) {
    const size_t index = static_cast<size_t>(numbers[k] - 1);
    out.push_back(index < where.file_lines.size() ? where.file_lines[index] : 0);
  }
  return out;
}

// The first lines of Enum and Type blocks.
const Regex& enum_head() {
  static const Regex head(R"(^(?:(?:Public|Private)\s+)?Enum\s+\w+)", CI);
  return head;
}
const Regex& record_head() {
  static const Regex head(R"(^(?:(?:Public|Private)\s+)?Type\s+(\w+)$)", CI);
  return head;
}
}  // namespace

void NativeCompiler::collect_code(const std::string& owner, const std::string& code, std::optional<int> form_index,
                                  const CodeLocation& where) {
  static const Regex end_any(R"(^End\s+(Sub|Function|Property)\b)", CI);
  static const Regex option_base(R"(^Option\s+Base\s+(\d+)$)", CI);
  static const Regex declaration(R"(^(?:Public|Private|Global|Dim|Const)\b)", CI);
  static const Regex ignored(R"(^(?:Option\s+(?:Explicit|Base\s+\d+|Compare\s+\w+)|(?:Attribute|VERSION)\b))", CI);

  std::vector<int> numbers;
  const std::vector<std::string> src = lines(code, &numbers);
  for (size_t k = 0; k < src.size(); ++k) {
    const std::string& line = src[k];
    const std::optional<ProcedureHeader> h = read_procedure_header(line);
    if (h) {
      // Property Get reads like a Function of its name; Let and Set are
      // reached by assigning to the name (property_setter).
      const std::string kind_written = h->kind, name = h->name;
      const std::string kind_lower = lower(kind_written);
      const bool property = kind_lower.rfind("property", 0) == 0;
      const std::string end_word = property ? std::string("Property") : kind_written;
      size_t end = k + 1;
      while (end < src.size() && !end_any.match(src[end])) ++end;
      if (end >= src.size()) error(nullptr, owner + "." + name + ": End " + end_word + " is missing");
      const Regex exact("^End\\s+" + end_word + "\\s*$", CI);
      if (!exact.match(src[end])) error(nullptr, owner + "." + name + ": mismatched End " + end_word);
      NativeProcedure proc;
      proc.name = name;
      proc.owner = owner;
      const std::string which = property ? kind_lower.substr(kind_lower.size() - 3) : std::string();
      proc.kind = !property ? kind_lower : which == "get" ? "function" : "sub";
      proc.header_kind = kind_written;
      proc.form_index = form_index;
      proc.result_type =
          h->result_type.empty() || h->result_array ? "variant" : stored_type(lower(h->result_type));
      proc.key = (form_index ? "f" + std::to_string(*form_index) + "_" : std::string("module_")) +
                 (property && which != "get" ? "property_" + which + "_" : std::string()) + name_key(name);
      proc.params = parse_params(*this, owner + "." + name, h->parameter_text);
      proc.body.assign(src.begin() + static_cast<long>(k) + 1, src.begin() + static_cast<long>(end));
      proc.file = where.file;
      proc.lines = file_lines_of(where, numbers, k + 1, end);
      add_procedure(std::move(proc), false);
      k = end;
      continue;
    }
    if (record_head().match(line)) {
      k = collect_record(owner, src, k);
      continue;
    }
    if (auto g = option_base.match_groups(line)) {
      option_base_[owner] = std::stoi((*g)[1]) ? 1 : 0;
      continue;
    }
    if (enum_head().match(line)) {
      k = collect_enum(src, k);
      continue;
    }
    if (declaration.match(line)) {
      declarations_.push_back({owner, line});
      continue;
    }
    if (ignored.match(line)) continue;
    error(nullptr, owner + ": unsupported top-level source: " + line);
  }
}


// Enum members are module-wide constants, wherever the Enum stands.
size_t NativeCompiler::collect_enum(const std::vector<std::string>& src, size_t k) {
  static const Regex enum_full(R"(^(?:(?:Public|Private)\s+)?Enum\s+(\w+)$)", CI);
  static const Regex enum_end(R"(^End\s+Enum$)", CI);
  if (!enum_full.match(src[k])) error(nullptr, "Invalid enum declaration: " + src[k]);
  long long value = 0;
  size_t end = k + 1;
  for (; end < src.size() && !enum_end.match(src[end]); ++end) {
    const std::optional<EnumItem> item = read_enum_item(src[end]);
    if (!item) error(nullptr, "Invalid Enum item: " + src[end]);
    if (item->value) value = *item->value;
    if (!item->expression.empty()) {
      const auto computed = enum_item_value(item->expression, [this](const std::string& key) -> std::optional<long long> {
        auto it = enums_.find(name_key(key));
        return it == enums_.end() ? std::nullopt : std::optional<long long>(it->second);
      });
      if (!computed) error(nullptr, "Invalid Enum item: " + src[end]);
      value = *computed;
    }
    const std::string member = name_key(item->name);
    if (!enums_.count(member)) enum_order_.push_back({member, value});
    enums_[member] = value;
    ++value;
  }
  if (end >= src.size()) error(nullptr, "Missing End Enum");
  return end;
}

void NativeCompiler::collect_class(const ClassModule& cls, const CodeLocation& where) {
  static const Regex end_any(R"(^End\s+(Sub|Function|Property)\b)", CI);
  static const Regex field(R"(^(?:Public|Private|Dim)\s+)", CI);
  static const Regex ignored(R"(^(?:Option|Attribute|VERSION|BEGIN|END|MultiUse)\b)", CI);

  const std::string class_key = name_key(cls.name);
  auto& fields = class_types_[class_key];
  std::vector<int> numbers;
  const std::vector<std::string> src = lines(cls.code, &numbers);
  for (size_t k = 0; k < src.size(); ++k) {
    const std::string& line = src[k];
    const std::optional<ProcedureHeader> h = read_procedure_header(line);
    if (h && !h->suffix && !h->result_array) {
      const std::string kind_written = h->kind, name = h->name;
      const std::string kind_lower = lower(kind_written);
      const bool property = kind_lower.rfind("property", 0) == 0;
      size_t end = k + 1;
      while (end < src.size() && !end_any.match(src[end])) ++end;
      const Regex exact(property ? std::string("^End\\s+Property\\s*$") : "^End\\s+" + kind_written + "\\s*$", CI);
      if (end >= src.size() || !exact.match(src[end]))
        error(nullptr, cls.name + "." + name + ": Missing End " + kind_written);
      NativeProcedure proc;
      proc.name = name;
      proc.owner = cls.name;
      proc.header_kind = kind_written;
      proc.class_name = class_key;
      proc.result_type = h->result_type.empty() ? "variant" : stored_type(lower(h->result_type));
      const std::string lname = name_key(name);
      if (property) {
        const std::string which = kind_lower.substr(kind_lower.size() - 3);  // get, let, set
        proc.kind = which == "get" ? "function" : "sub";
        proc.key = "cls_" + class_key + "_property_" + which + "_" + lname;
      } else {
        proc.kind = kind_lower;
        proc.key = "cls_" + class_key + "_" + lname;
      }
      proc.params = parse_params(*this, cls.name + "." + name, h->parameter_text);
      proc.body.assign(src.begin() + static_cast<long>(k) + 1, src.begin() + static_cast<long>(end));
      proc.file = where.file;
      proc.lines = file_lines_of(where, numbers, k + 1, end);
      add_procedure(std::move(proc), true);
      k = end;
      continue;
    }
    if (enum_head().match(line)) {
      k = collect_enum(src, k);
      continue;
    }
    if (record_head().match(line)) {
      k = collect_record(cls.name, src, k);
      continue;
    }
    if (field.match(line)) {
      for (const Declaration& d : parse_declaration(line, cls.name)) {
        for (const auto& existing : fields)
          if (existing.first == d.name) error(nullptr, "Duplicate field " + cls.name + "." + d.name);
        if (d.as_new) error(nullptr, cls.name + ": unsupported native declaration: " + line);
        if (d.array_bound) {
          // Stored as a Variant holding the array (created with each instance).
          class_array_fields_[class_key].push_back({d.name, *d.array_bound, d.type});
          fields.push_back({d.name, "variant"});
          continue;
        }
        fields.push_back({d.name, d.type});
      }
      continue;
    }
    if (ignored.match(line)) continue;
    error(nullptr, cls.name + ": unsupported class declaration: " + line);
  }
}

std::vector<Declaration> NativeCompiler::parse_declaration(std::string_view line, std::string_view owner) const {
  const std::string own(owner);
  const std::optional<DeclarationLine> read = read_declaration(line);
  if (!read || (read->scope.empty() && !read->constant)) error(nullptr, "Invalid declaration " + std::string(line));
  const bool constant = read->constant;
  std::vector<Declaration> out;
  for (const DeclaredName& p : read->names) {
    if (!p.plain) error(nullptr, own + ": unsupported native declaration: " + p.text);
    const std::string name = name_key(p.name);
    // A type suffix on the name ("Dim n%") is read and left out: the
    // variable is a Variant, as interpreted.
    std::string type = p.type.empty() ? "variant" : stored_type(name_key(p.type));
    const bool array = p.is_array;
    const bool as_new = p.as_new;
    if (array && !p.value.empty()) error(nullptr, own + ": unsupported native declaration: " + p.text);
    // "String * n": a text of n characters, blanks at first.
    if (!p.fixed_length.empty()) {
      if (type != "string") error(nullptr, own + ": unsupported native declaration: " + p.text);
      type = "string*" + p.fixed_length;
    }
    if (enum_types_.count(type)) type = "long";
    if (!accepted_types().count(type) && !class_names_.count(type) && !is_record(type) && type.rfind("string*", 0) != 0)
      error(nullptr, own + ": native backend does not yet implement type '" + type + "' for " + p.name);
    const std::string& value = p.value;
    if (constant && value.empty()) error(nullptr, "Const " + p.name + " must have a value");
    std::string init, computed;
    if (!value.empty()) {
      if (const auto literal = literal_constant(value)) {
        init = *literal;
      } else if (constant) {
        computed = value;  // worked out where the constant stands
      } else {
        error(nullptr, own + ": only a constant can have a value in its declaration: " + std::string(line));
      }
    } else if (array) {
      init.clear();
    } else if (as_new) {
      init = "vb_new(" + q(type) + ")";
    } else if (is_record(type)) {
      init = "vb_new_record(" + q(type) + ")";
    } else if (type.rfind("string*", 0) == 0) {
      init = "vb_str(" + q(std::string(std::min<size_t>(std::stoul(type.substr(7)), 65535), ' ')) + ")";
    } else if (class_names_.count(type) || type == "adodb.connection" || type == "adodb.recordset" ||
               type == "object" || type == "collection" || type == "vba.collection" || type == "form") {
      init = "vb_nothing()";
    } else if (type == "string") {
      init = "vb_str(\"\")";
    } else if (type == "boolean") {
      init = "vb_bool(0)";
    } else {
      init = "vb_int(0)";
    }
    Declaration d{name, type, init, std::nullopt, computed};
    if (array) d.array_bound = p.bounds;
    d.as_new = array && as_new;
    out.push_back(d);
  }
  return out;
}

std::optional<std::string> NativeCompiler::array_element_type(const NativeProcedure* proc, std::string_view name,
                                                              const Locals& locals) const {
  const std::string key = name_key(name);
  std::string element;
  if (auto it = locals.find(key); it != locals.end()) {
    element = it->second.element;
  } else {
    if (implicit_.count(key)) return std::nullopt;
    if (proc && proc->class_name)
      if (const auto* fields = class_fields(*proc->class_name))
        for (const auto& f : *fields)
          if (f.first == key) return std::nullopt;
    if (const GlobalName* g = find_global(key); g && g->array) element = g->type;
  }
  if (element.empty() || scalar_type(element) == Ty::Value) return std::nullopt;
  return element;
}

std::string NativeCompiler::array_init(const NativeProcedure* proc, const Declaration& d, const Locals& locals) {
  if (d.array_bound->empty()) return empty_array(d.type);
  return with_instances(d, array_shape(proc, proc ? proc->owner : std::string(), *d.array_bound, d.type, locals));
}

// Dim a(2) As New C: the new array with an instance in every element.
std::string NativeCompiler::with_instances(const Declaration& d, const std::string& array) {
  if (!d.as_new || d.array_bound->empty()) return array;
  return "vb_array_new_instances(" + array + "," + q(d.type) + ")";
}

std::string NativeCompiler::array_shape(const NativeProcedure* proc, std::string_view owner, std::string_view bounds,
                                        std::string_view type, const Locals& locals, std::string_view old_value,
                                        bool preserve) {
  auto base_it = option_base_.find(std::string(owner));
  const std::string base = "vb_int(" + std::to_string(base_it == option_base_.end() ? 0 : base_it->second) + ")";
  std::vector<std::string> pairs;
  const std::vector<DeclaredBound> dims = read_bounds(bounds);
  for (const DeclaredBound& dim : dims) {
    pairs.push_back(dim.lower.empty() ? base : expr(proc, dim.lower, locals));
    pairs.push_back(expr(proc, dim.upper, locals));
  }
  const std::string n = std::to_string(dims.size());
  if (!old_value.empty())
    return "vb_array_reshape(" + std::string(old_value) + "," + n + "," + value_array(pairs) + "," +
           (preserve ? "1" : "0") + "," + q(type) + ")";
  // One dimension from 0: the plain list.
  if (dims.size() == 1 && pairs[0] == "vb_int(0)") return "vb_array_new(" + pairs[1] + "," + q(type) + ")";
  return "vb_array_shape(" + n + "," + value_array(pairs) + "," + q(type) + ")";
}

bool NativeCompiler::is_record(std::string_view lower_name) const {
  for (const auto& r : records_)
    if (r.first == lower_name) return true;
  return false;
}

std::string NativeCompiler::element_read(const std::string& array, const std::vector<std::string>& subscripts,
                                         const std::string& name) {
  if (subscripts.size() == 1) return "vb_index(" + array + "," + subscripts[0] + "," + q(name) + ")";
  return in_order(subscripts, [&](const std::vector<std::string>& v) {
    return "vb_index_at(" + array + "," + std::to_string(v.size()) + "," + value_array(v) + "," + q(name) + ")";
  });
}

std::string NativeCompiler::resolve_variable(const NativeProcedure* proc, std::string_view name,
                                             const Locals& locals) const {
  const std::string key = name_key(name);
  if (auto it = locals.find(key); it != locals.end())
    return it->second.pointer ? "(*" + it->second.c_text + ")" : it->second.c_text;
  if (auto it = implicit_.find(key); it != implicit_.end()) return it->second;
  if (proc && proc->class_name) {
    if (const auto* fields = class_fields(*proc->class_name))
      for (const auto& f : *fields)
        if (f.first == key) return "vb_member_get((*a_self)," + q(key) + ")";
  }
  if (global_index_.count(key)) return "g_" + c_name(key);
  if (form_names_.count(key)) error(proc, "A form object must be used with a member, e.g. Form2.Caption");
  if (form_control_names_.count(key)) error(proc, "A control object must be used with a member, e.g. Text1.Text");
  error(proc, "Undefined variable " + std::string(name) + " (native builds require explicit declarations)");
}

std::string NativeCompiler::resolve_or_implicit(const NativeProcedure* proc, std::string_view name,
                                               const Locals& locals) {
  try {
    return resolve_variable(proc, name, locals);
  } catch (const NativeCompileError&) {
    const std::string key = name_key(name);
    const bool plain = proc && active_location_ && is_variable_name(name) && !is_form(key) && !is_control(key) &&
                       !is_procedure_name(proc, key) && (!BUILTINS.count(key) || VARIABLE_NAMED_BUILTINS.count(key)) &&
                       key != name_key(proc->name);
    if (!plain) throw;
    const std::string c = "l_" + c_name(key);
    implicit_[key] = c;
    hoisted_.push_back("    " + value_decl() + c + (option_explicit_ ? " = vb_undeclared();" : " = vb_int(0);"));
    return c;
  }
}

bool NativeCompiler::names_err_object(const NativeProcedure* proc, std::string_view written, const Locals& locals) const {
  try {
    (void)resolve_variable(proc, written, locals);
    return false;  // a variable of that name hides Err
  } catch (const NativeCompileError&) {
    return true;
  }
}

const NativeProcedure* NativeCompiler::own_procedure(const NativeProcedure* caller, std::string_view key) const {
  if (!caller) return nullptr;
  if (caller->form_index) return find_procedure("f" + std::to_string(*caller->form_index) + "_" + std::string(key));
  // A class's Subs and Functions (not its properties) by their names alone.
  if (caller->class_name) return find_procedure("cls_" + *caller->class_name + "_" + std::string(key));
  return nullptr;
}

bool NativeCompiler::is_procedure_name(const NativeProcedure* caller, std::string_view key) const {
  return own_procedure(caller, key) || find_procedure("module_" + std::string(key)) != nullptr;
}

std::string NativeCompiler::call_expr(const NativeProcedure* proc, std::string_view name,
                                      const std::vector<std::string>& args,
                                      const std::vector<std::optional<std::string>>& refs) {
  std::vector<Operand> typed;
  for (const std::string& a : args) typed.push_back(value_operand(a));
  return call_typed(proc, name, typed, refs);
}

std::optional<std::string> NativeCompiler::scalar_c_name(const std::string& c) const {
  if (auto it = scalar_locals_.find(c); it != scalar_locals_.end()) return it->second;
  if (auto it = scalar_globals_.find(c); it != scalar_globals_.end()) return it->second;
  return std::nullopt;
}

std::string NativeCompiler::call_typed(const NativeProcedure* proc, std::string_view name,
                                       const std::vector<Operand>& args,
                                      const std::vector<std::optional<std::string>>& refs) {
  const std::string key = name_key(name);
  const NativeProcedure* callee = callee_of(proc, name);
  // A built-in called as a statement (Randomize 42).
  if (!callee && BUILTINS.count(key)) {
    std::vector<std::string> values;
    for (const Operand& a : args) values.push_back(as_value(a));
    return in_order(values, [&](const std::vector<std::string>& v) {
      return "vb_builtin(" + q(key) + "," + std::to_string(v.size()) + "," + value_array(v) + ")";
    });
  }
  static const std::set<std::string, std::less<>> file_functions = {
      "loc", "seek", "filedatetime"};
  if (!callee && file_functions.count(key))
    error(proc, "File function " + std::string(name) + " is not yet available in native builds");
  if (!callee) error(proc, "Unknown native procedure " + std::string(name));
  return call_procedure(proc, *callee, name, args, refs);
}

std::string NativeCompiler::call_procedure(const NativeProcedure* caller, const NativeProcedure& callee,
                                           std::string_view written, const std::vector<Operand>& typed_args,
                                           const std::vector<std::optional<std::string>>& given_refs) {
  std::vector<std::string> args;
  for (const Operand& a : typed_args) args.push_back(as_value(a));
  std::vector<std::optional<std::string>> refs = given_refs;
  if (!callee.params.empty() && callee.params.back().param_array &&
      args.size() >= callee.params.size() - 1) {
    // The arguments from the ParamArray's position on become one array
    // (of their values); with none it is left out (an empty array).
    const size_t first = callee.params.size() - 1;
    std::vector<std::string> rest;
    for (size_t k = first; k < args.size(); ++k) rest.push_back(args[k]);
    args.resize(first);
    refs.resize(std::min(refs.size(), first));
    args.push_back("vb_builtin(\"array\"," + std::to_string(rest.size()) + "," + value_array(rest) + ")");
    refs.push_back(std::nullopt);
  }
  if (args.size() > callee.params.size())
    error(caller, callee.owner + "." + std::string(written) + " expects " + std::to_string(callee.params.size()) +
                      " arguments");
  static constexpr std::string_view FIELD_GET = "vb_member_get(";
  const auto ref_of = [&](size_t k) -> std::optional<std::string> {
    if (k < refs.size() && refs[k] && callee.params[k].by_ref) return refs[k];
    return std::nullopt;
  };
  // Values evaluated at the call, in argument order.
  int effects = 0, variable = 0;
  for (size_t k = 0; k < args.size(); ++k) {
    const auto ref = ref_of(k);
    if (ref && ref->rfind(FIELD_GET, 0) != 0) continue;  // an address: nothing evaluated
    const std::string& value = ref ? *ref : args[k];
    if (c_has_effects(value)) ++effects;
    if (!c_is_constant(value)) ++variable;
  }
  const bool ordered = effects > 0 && variable >= 2;
  std::vector<std::string> before, after, c_args;
  for (size_t k = 0; k < args.size(); ++k) {
    const auto ref = ref_of(k);
    const NativeParam& param = callee.params[k];
    const bool typed_param = scalar_param(callee, param);
    const std::string param_c = c_type(scalar_type(param.type));
    // A ByVal typed parameter takes the value, a ByRef one its cell.
    const auto by_address = [&](const std::string& value) {
      return value_param(callee, param) ? value : "&(" + param_c + "){" + value + "}";
    };
    if (ref && ref->rfind(FIELD_GET, 0) == 0) {
      // A class field passed by reference: through a temporary written back.
      const std::string object = ref->substr(FIELD_GET.size(), ref->size() - FIELD_GET.size() - 1);
      if (typed_param) {
        const std::string t = new_typed_temporary(param_c);
        before.push_back(t + "=" + store_to(value_operand(*ref), param.type));
        c_args.push_back("&" + t);
        after.push_back("vb_member_set(" + object + "," + as_value(typed_variable(t, param.type)) + ")");
        continue;
      }
      const std::string t = new_temporary();
      before.push_back(t + "=" + *ref);
      c_args.push_back("&" + t);
      after.push_back("vb_member_set(" + object + "," + t + ")");
    } else if (ref) {
      // A variable: its own address when it has the parameter's C form,
      // else a temporary of that form, written back converted to the
      // variable's type after the call.
      const std::optional<std::string> var_type = scalar_c_name(*ref);
      const bool same = typed_param ? var_type && *var_type == param.type
                                    : !var_type || (*var_type == "string" && param.type == "string");
      if (same) {
        // A volatile local (in a procedure with On Error) passes as plain memory.
        const std::string plain = typed_param ? param_c : std::string("VBValue");
        c_args.push_back((traps_ ? "(" + plain + " *)&(" : std::string("&(")) + *ref + ")");
        continue;
      }
      const Operand current = var_type ? typed_variable(*ref, *var_type) : value_operand(*ref);
      const std::string t = typed_param ? new_typed_temporary(param_c) : new_temporary();
      before.push_back(t + "=" + (typed_param ? store_to(current, param.type) : as_value(current)));
      c_args.push_back("&" + t);
      const Operand final_value = typed_param ? typed_variable(t, param.type) : value_operand(t);
      after.push_back(*ref + "=" + (var_type ? store_to(final_value, *var_type) : as_value(final_value)));
    } else if (ordered && !c_is_constant(args[k]) && k + 1 < args.size()) {
      const std::string t = new_temporary();
      before.push_back(t + "=" + args[k]);
      c_args.push_back(typed_param ? by_address(store_to(value_operand(t), param.type))
                                   : "vb_cell(&(VBValue){0}," + t + ")");
    } else if (typed_param) {
      c_args.push_back(by_address(store_to(typed_args[k], param.type)));
    } else {
      // A value's own cell, living until the statement's end.
      const bool same_value = k < typed_args.size() && as_value(typed_args[k]) == args[k];  // (not a ParamArray's)
      const auto fast = same_value ? fast_cell(*this, typed_args[k]) : std::nullopt;
      c_args.push_back(fast ? *fast : "vb_cell(&(VBValue){0}," + args[k] + ")");
    }
  }
  // A left-out argument: the parameter's default, else its type's initial value.
  for (size_t k = args.size(); k < callee.params.size(); ++k) {
    const std::string& type = callee.params[k].type;
    std::string initial = "vb_int(0)";
    if (callee.params[k].param_array) initial = "vb_builtin(\"array\",0," + value_array({}) + ")";
    else if (!callee.params[k].default_value.empty()) initial = expr(nullptr, callee.params[k].default_value, {});
    else if (type == "variant" && callee.params[k].optional) initial = "vb_nothing()";  // missing
    else if (type == "string") initial = "vb_str(\"\")";
    else if (type == "boolean") initial = "vb_bool(0)";
    else if (type == "object" || is_class(type)) initial = "vb_nothing()";
    else if (is_record(type)) initial = "vb_new_record(" + q(type) + ")";
    if (value_param(callee, callee.params[k]))
      c_args.push_back(store_to(value_operand(initial), type));
    else if (scalar_param(callee, callee.params[k]))
      c_args.push_back("&(" + c_type(scalar_type(type)) + "){" + store_to(value_operand(initial), type) + "}");
    else
      c_args.push_back("vb_cell(&(VBValue){0}," + initial + ")");
  }
  // A class's own procedure works on the same instance.
  if (callee.class_name) c_args.insert(c_args.begin(), "a_self");
  std::string call = "p_" + c_name(callee.key) + "(";
  for (size_t k = 0; k < c_args.size(); ++k) call += (k ? "," : "") + c_args[k];
  call += ")";
  if (before.empty() && after.empty()) return call;
  std::string out = "(";
  for (const std::string& b : before) out += b + ",";
  if (after.empty()) return out + call + ")";
  const std::string result = result_bits(callee) >= 0 ? new_typed_temporary("long long") : new_temporary();
  out += result + "=" + call;
  for (const std::string& a : after) out += "," + a;
  return out + "," + result + ")";
}

std::string NativeCompiler::expr(const NativeProcedure* proc, std::string_view text, const Locals& locals) {
  return CExpression(*this, with_applied(text), proc, locals).parse();
}

std::optional<std::string> NativeCompiler::form_variable(std::string_view form, std::string_view member) const {
  const GlobalName* g = find_global(name_key(member));
  if (!g || g->owner != name_key(form) || !is_form(name_key(form))) return std::nullopt;
  return g->name;
}

bool NativeCompiler::is_module(std::string_view lower) const {
  for (const Module& m : project_.modules)
    if (name_key(m.name) == lower) return true;
  return false;
}

std::string NativeCompiler::with_applied(std::string_view text) const {
  if (with_targets_.empty() && form_aliases_.empty()) return std::string(text);
  return with_targets_applied(text, with_targets_.empty() ? std::string_view() : with_targets_.back(), form_aliases_);
}

}  // namespace corvane
