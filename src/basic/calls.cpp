// Names, expression evaluation, procedure calls, error trapping and events.
#include <cmath>

#include "basic/activation.h"
#include "basic/apply.h"
#include "basic/collection.h"
#include "basic/compiled.h"
#include "basic/frame_code.h"
#include "basic/module_members.h"
#include "basic/proc_code.h"
#include "basic/runtime.h"
#include "basic/stack_guard.h"

namespace corvane {

Value VBRuntime::expr(const std::string& text) { return expr(text, *globals); }

Value VBRuntime::expr(const std::string& text, Scope& scope) {
  const NodePtr node = ExprParser::parse(text);
  return eval(*node, scope);
}

void VBRuntime::eval_args(const Node& node, size_t first, std::vector<Value>& out, Scope& scope) {
  out.reserve(node.kids.size() - first);
  for (size_t i = first; i < node.kids.size(); ++i) out.push_back(eval(*node.kids[i], scope));
}

const Value* VBRuntime::peek(const Node& node, Scope& scope) {
  if (node.kind == NodeKind::Literal) return &node.literal;
  if (node.kind != NodeKind::Name) return nullptr;
  const Symbol s = node.symbol;
  if (s < sym::CONSTANT_COUNT) return builtin_constant(s);
  if (!enums.empty() && enums.count(s)) return nullptr;
  if (Var* v = scope.find(s)) return &v->value;
  if (&scope != globals.get())
    if (Var* v = globals->find(s)) return &v->value;
  return nullptr;
}


bool VBRuntime::eval_truth(const Node& node, Scope& scope) {
  // A comparison of two Integer variables or literals needs no value.
  if (node.kind == NodeKind::Binary && node.op >= BinOp::Eq && node.op <= BinOp::Ge) {
    const Node& right = *node.kids[1];
    if (right.kind == NodeKind::Literal || right.kind == NodeKind::Name) {
      const Value* lp = peek(*node.kids[0], scope);
      const Value* rp = lp ? peek(right, scope) : nullptr;
      if (rp && lp->is_int() && rp->is_int()) return compare_ints(node.op, lp->as_int(), rp->as_int());
    }
  }
  return truth(eval(node, scope));
}

Value VBRuntime::eval(const Node& node, Scope& scope) {
  switch (node.kind) {
    case NodeKind::Literal: return node.literal;
    case NodeKind::Name: return lookup(node.symbol, node.text, scope);
    case NodeKind::Binary: {
      // Operands that are variables or literals are read in place; the left
      // one only when the right one has no side effects.
      const Node& right = *node.kids[1];
      const bool plain_right = right.kind == NodeKind::Literal || right.kind == NodeKind::Name;
      if (const Value* lp = plain_right ? peek(*node.kids[0], scope) : nullptr) {
        if (const Value* rp = peek(right, scope)) return apply(node.op, *lp, *rp);
        const Value r = eval(right, scope);
        return apply(node.op, *lp, r);
      }
      const Value l = eval(*node.kids[0], scope);
      if (const Value* rp = peek(right, scope)) return apply(node.op, l, *rp);
      const Value r = eval(right, scope);
      return apply(node.op, l, r);
    }
    case NodeKind::Call: {
      check_stack();
      ArgList list(*this);
      std::vector<Value>& args = list.values;
      if (node.kids.size() == 1) {
        // a(i): an element of a one-dimensional array variable
        Value index = eval(*node.kids[0], scope);
        if (Var* v = array_variable(node.symbol, scope)) {
          const VBArray& a = *v->value.as_array();
          return a.items[element_index(a, index, node.text)];
        }
        args.push_back(std::move(index));
        return call(node.symbol, node.text, args, scope, &node.refs);
      }
      eval_args(node, 0, args, scope);
      return call(node.symbol, node.text, args, scope, &node.refs);
    }
    case NodeKind::Member:
      // Module1.Title: a Property Get qualified by its module's name
      if (!property_names.empty() && node.kids[0]->kind == NodeKind::Name)
        if (ProcedureRef getter = qualified_getter(*node.kids[0], node.text, scope)) {
          std::vector<Value> none;
          return run_proc(getter, none, nullptr, &scope);
        }
      return read_property(eval(*node.kids[0], scope), node.text);
    case NodeKind::Method: {
      const Value object = eval(*node.kids[0], scope);
      std::vector<Value> args;
      eval_args(node, 1, args, scope);
      if (!object.is_object()) {
        // Module1.Func(x): a procedure qualified by its module's name
        const Node& owner = *node.kids[0];
        if (owner.kind == NodeKind::Name && !names_something(owner.symbol, scope))
          if (auto it = procs.find(intern(node.text)); it != procs.end()) {
            const ProcedureRef proc = it->second;
            return run_proc(proc, args, nullptr, &scope);
          }
        if (object.is_nothing()) throw VBError(91, "Object variable or With block variable not set: ." + node.text);
        throw VBError("Not an object");
      }
      // rec.field(i): an element of a record's array field
      if (ControlObject& o = *object.as_object(); o.is_record() && o.has(lower(node.text))) {
        const Value field = o.get(node.text);
        if (field.is_array()) return element(node.text, field, args);
      }
      return object.as_object()->method(node.text, args);
    }
    case NodeKind::Not: return Value(!truth(eval(*node.kids[0], scope)));
    case NodeKind::Plus: return number(eval(*node.kids[0], scope));
    case NodeKind::Negate: return negate(eval(*node.kids[0], scope));
    case NodeKind::New: return Value(new_instance(node.text));
    case NodeKind::Fail:
      for (const auto& kid : node.kids) eval(*kid, scope);
      {
        VBError e(node.text);
        e.untrappable = true;  // a line that does not parse
        throw e;
      }
  }
  return Value();
}

// ---------------------------------------------------------------- names

Value VBRuntime::lookup(const std::string& name, Scope& scope) { return lookup(intern(name), name, scope); }

Value VBRuntime::me_value() {
  if (current_form) return Value(current_form);
  if (ObjectRef self = instance.lock()) return Value(self);
  for (const auto& [name, object] : control_list_)
    if (lower(name).rfind("form", 0) == 0) return Value(object);
  return Value();
}

ObjectRef VBRuntime::make_err_object() {
  auto err = std::make_shared<ControlObject>(
      "Err", std::map<std::string, Value>{{"number", Value(err_number)},
                                          {"description", Value(last_error)},
                                          {"source", Value(err_number ? err_source : std::string())},
                                          {"helpfile", Value(std::string())},
                                          {"helpcontext", Value(int64_t{0})},
                                          {"lastdllerror", Value(int64_t{0})}});
  std::weak_ptr<int> alive = alive_;
  // Err.Number, Err.Description and Err.Source are the error state itself.
  err->on_change = [this, alive](ControlObject&, const std::string& property, const Value& value) {
    if (alive.expired()) throw VBError("The program that made this Err object has ended");
    if (property == "number") {
      const Value whole = round_half_even(number(value));
      if (!whole.is_int()) throw VBError(6, "Overflow for long");
      err_number = whole.as_int();
    } else if (property == "description") {
      last_error = vbstr(value);
    } else if (property == "source") {
      err_source = vbstr(value);
    }
  };
  err->on_method = [this, alive](ControlObject& object, const std::string& method, std::vector<Value>& args) {
    if (alive.expired()) throw VBError("The program that made this Err object has ended");
    err_method(object, method, args);
    return Value();
  };
  return err;
}

bool VBRuntime::names_something(Symbol s, Scope& scope) {
  if (s < sym::CONSTANT_COUNT || s == sym::APP || s == sym::ME || s == sym::ERR) return true;
  if (enums.count(s) || scope.find(s) || globals->find(s) || controls_.count(s)) return true;
  return false;
}

Value VBRuntime::lookup(Symbol s, const std::string& name, Scope& scope) {
  if (s < sym::CONSTANT_COUNT) return *builtin_constant(s);
  if (!enums.empty()) {
    auto it = enums.find(s);
    if (it != enums.end()) return Value(it->second);
  }
  if (Var* v = scope.find(s)) return v->value;
  if (&scope != globals.get())
    if (Var* v = globals->find(s)) return v->value;
  if (!controls_.empty()) {
    auto it = controls_.find(s);
    if (it != controls_.end()) return Value(it->second);
  }
  if (s == sym::APP) return Value(app);
  if (s == sym::ME) return me_value();
  if (s == sym::ERR) return Value(make_err_object());
  // A Property Get's name alone reads the property (Caption = FileName).
  if (!property_names.empty() && property_names.count(s))
    if (ProcedureRef getter = property_getter(*this, symbol_text(s))) {
      std::vector<Value> none;
      return run_proc(getter, none, nullptr, &scope);
    }
  // A function's name alone calls it without arguments (x = NextId).
  if (auto it = procs.find(s); it != procs.end() && it->second->kind == "function") {
    const ProcedureRef proc = it->second;  // stays alive while it runs
    std::vector<Value> none;
    return run_proc(proc, none, nullptr, &scope);
  }
  // A name that is no variable but a built-in without arguments (Now,
  // Date, Timer, Rnd...) is that built-in.
  if (BuiltinFn fn = bare_builtin(s)) {
    std::vector<Value> none;
    return fn(*this, none);
  }
  // In a form's code a bare name of one of the form's own properties
  // reads it (Caption, Width, ScaleWidth...), as Me.Caption does.
  if (current_form && current_form->has(lower(name))) return current_form->get(name);
  // A class's code reads the modules' functions by name alone too.
  if (add_module_procedures()) return lookup(s, name, scope);
  if (option_explicit) throw VBError("Variable not defined: " + name);
  return Value(int64_t{0});
}

ProcedureRef VBRuntime::qualified_getter(const Node& owner, const std::string& member, Scope& scope) {
  const Symbol m = intern(member);
  if (!property_names.count(m) || names_something(owner.symbol, scope)) return nullptr;
  return property_getter(*this, symbol_text(m));
}

// ---------------------------------------------------------------- calls

size_t VBRuntime::element_index(const VBArray& array, const std::vector<Value>& indexes, const std::string& name) {
  if (array.dims.empty()) {
    if (indexes.size() != 1) throw VBError("One-dimensional arrays require exactly one subscript");
    const int64_t i = number_as_count(indexes[0], -1);
    if (i < 0 || i >= static_cast<int64_t>(array.items.size())) throw VBError("Subscript out of range: " + name);
    return static_cast<size_t>(i);
  }
  if (indexes.size() != array.dims.size()) throw VBError("Wrong number of dimensions: " + name);
  // the first subscript varies fastest
  size_t flat = 0, stride = 1;
  for (size_t k = 0; k < indexes.size(); ++k) {
    const auto [lower, count] = array.dims[k];
    const int64_t i = number_as_count(indexes[k], INT64_MIN);
    if (i == INT64_MIN || i < lower || i - lower >= count) throw VBError("Subscript out of range: " + name);
    flat += static_cast<size_t>(i - lower) * stride;
    stride *= static_cast<size_t>(count);
  }
  if (flat >= array.items.size()) throw VBError("Subscript out of range: " + name);
  return flat;
}

size_t VBRuntime::element_index_converted(const VBArray& array, const Value& index, const std::string& name) {
  if (array.dims.size() > 1) throw VBError("Wrong number of dimensions: " + name);
  if (array.dims.empty()) {
    const int64_t i = number_as_count(index, -1);
    if (i < 0 || i >= static_cast<int64_t>(array.items.size())) throw VBError("Subscript out of range: " + name);
    return static_cast<size_t>(i);
  }
  const auto [lower, count] = array.dims[0];
  const int64_t i = number_as_count(index, INT64_MIN);
  if (i == INT64_MIN || i < lower || i - lower >= count || static_cast<uint64_t>(i - lower) >= array.items.size())
    throw VBError("Subscript out of range: " + name);
  return static_cast<size_t>(i - lower);
}

Var* VBRuntime::array_variable(Symbol key, Scope& scope) {
  if (Var* v = scope.find(key); v && v->value.is_array()) return v;
  if (&scope != globals.get())
    if (Var* v = globals->find(key); v && v->value.is_array()) return v;
  return nullptr;
}

Value VBRuntime::element(const std::string& name, const Value& array, std::vector<Value>& args) {
  const VBArray& a = *array.as_array();
  return a.items[element_index(a, args, name)];
}

Value VBRuntime::call(const std::string& name, std::vector<Value> args, Scope& scope, const std::vector<Symbol>& refs) {
  return call(intern_folded(call_key(name)), name, args, scope, &refs);
}

Value VBRuntime::call(Symbol key, const std::string& name, std::vector<Value>& args, Scope& scope,
                      const std::vector<Symbol>* refs) {
  // The variables of that name: the activation's, then the module's.
  Var* const own = scope.find(key);
  Var* const module = &scope != globals.get() ? globals->find(key) : nullptr;
  for (Var* v : {own, module})
    if (v && v->value.is_array()) return element(name, v->value, args);
  auto it = procs.find(key);
  if (it != procs.end()) return run_proc(*it->second, args, refs, &scope);
  // c(1) on a Collection: its default member Item.
  for (Var* v : {own, module})
    if (v && v->value.is_object() && dynamic_cast<VBCollection*>(v->value.as_object().get()))
      return v->value.as_object()->method("Item", args);
  if (!controls_.empty()) {
    // Command1(3): an element of a control array.
    auto c = controls_.find(key);
    if (c != controls_.end())
      if (auto* array = dynamic_cast<ControlArray*>(c->second.get())) return array->method("Item", args);
  }
  // Score(2): an indexed Property Get
  if (!property_names.empty() && property_names.count(key))
    if (ProcedureRef getter = property_getter(*this, symbol_text(key))) return run_proc(getter, args, nullptr, &scope);
  if (BuiltinFn fn = find_builtin(key)) return fn(*this, args);
  // A class's code calls the modules' procedures.
  if (add_module_procedures()) return call(key, name, args, scope, refs);
  // Move 0, 0 in a form's code: the form's own method.
  if (current_form && is_bare_form_method(lower(name))) return current_form->method(name, args);
  throw VBError("Unknown function or procedure: " + name);
}

Value VBRuntime::run_proc(const std::string& key, std::vector<Value> args, const std::vector<Symbol>& refs,
                          Scope* calling_scope) {
  auto it = procs.find(intern(key));
  if (it == procs.end()) return Value();
  const ProcedureRef proc = it->second;
  return run_proc(proc, args, &refs, calling_scope);
}

// The end of an activation: Static variables keep their values for the
// next call (and for the activations this one was called in), ByRef
// parameters go back to the caller's variables.
void VBRuntime::finish_call(Procedure& proc, Scope& scope, const ByRefLink* links, size_t count,
                            Scope* calling_scope) {
  for (auto& [name, value] : proc.statics) {
    Var* v = scope.find_own(name);
    if (!v) continue;
    value = v->value;
    for (size_t k = 0; k + 1 < proc.active.size(); ++k)
      if (Var* outer = proc.active[k]->find_own(name)) outer->value = value;
  }
  for (size_t k = 0; k < count; ++k) {
    const Value value = scope.find(links[k].param)->value;
    Var* caller = calling_scope->find(links[k].caller);
    if (!caller && calling_scope != globals.get()) caller = globals->find(links[k].caller);
    if (caller) {
      Value converted = coerce(value, caller->type);
      caller->value = std::move(converted);
    }
  }
}

// Runs the body of an activation whose parameters are bound, and finishes
// it (also when the body fails: the error that ended it is the one to
// report).
void VBRuntime::run_activation(Procedure& proc, Scope& scope, const ByRefLink* links, size_t count,
                               Scope* calling_scope) {
  Activation activation(*this, proc, &scope);
  CompiledBody& body = body_of(proc);
  const long n = static_cast<long>(proc.body.size());
  try {
    if (const ProcCode* code = proc.code_made ? proc.code.get() : code_of(proc, body)) {
      if (proc.frame) run_frame_on_scope(*this, proc, scope);
      else run_code(*code, body, scope);
    } else {
      Flow flow = run_range(body, 0, n, scope);
      // A GoTo whose label lies inside a block: execution goes on from the
      // label to the end of the procedure.
      while (flow == Flow::Goto) flow = run_range(body, body.label_index(jump_label_) + 1, n, scope);
      if (flow == Flow::Return) throw VBError(3, "Return without GoSub");
    }
  } catch (...) {
    try {
      finish_call(proc, scope, links, count, calling_scope);
    } catch (const VBError&) {
    }
    throw;
  }
  if (count || !proc.statics.empty()) finish_call(proc, scope, links, count, calling_scope);
}

Value VBRuntime::run_proc(Procedure& proc, std::vector<Value>& args, const std::vector<Symbol>* refs,
                          Scope* calling_scope) {
  PooledScope pooled(scope_pool_);
  Scope& scope = *pooled.scope;
  scope.reserve(proc.params.size() + 4);
  const bool distinct = proc.distinct_names;
  std::vector<ByRefLink> write_back;
  if (!proc.params.empty() && proc.params.back().param_array && args.size() >= proc.params.size() - 1) {
    // The arguments from the ParamArray's position on become one array.
    const size_t first = proc.params.size() - 1;
    std::vector<Value> rest(std::make_move_iterator(args.begin() + static_cast<long>(first)),
                            std::make_move_iterator(args.end()));
    args.resize(first);
    args.push_back(make_array(std::move(rest)));
  }
  for (size_t i = 0; i < proc.params.size(); ++i) {
    const Param& p = proc.params[i];
    const bool given = i < args.size() && !(args[i].is_nothing() && p.code != TypeCode::Variant &&
                                            p.code != TypeCode::Object && p.code != TypeCode::Other);
    // A left-out Optional Variant without a default is missing (IsMissing
    // tells); a left-out ParamArray is an empty array.
    Value value = given              ? (stores_unchanged(args[i], p.code) ? args[i] : coerce(args[i], p.code))
                  : p.default_expr ? coerce(eval(*p.default_expr, *globals), p.code)
                  : p.param_array  ? make_array()
                  : p.optional && p.code == TypeCode::Variant ? Value()
                                   : coerce(default_value(p.type), p.code);
    if (Var* twice = distinct ? nullptr : scope.find_own(p.symbol)) {  // a name given to two parameters
      twice->value = std::move(value);
      twice->type = p.code;
      twice->declared = p.type_symbol;
    } else {
      scope.add(p.symbol, std::move(value), p.code, p.type_symbol);
    }
    if (p.by_ref && calling_scope && refs && i < refs->size() && i < args.size() && (*refs)[i] != NO_SYMBOL)
      write_back.push_back({p.symbol, (*refs)[i]});
  }
  if (proc.result != NO_SYMBOL) {
    if (Var* same = distinct ? nullptr : scope.find_own(proc.result)) same->value = Value(int64_t{0});
    else scope.add(proc.result, Value(int64_t{0}), TypeCode::Variant, sym::VARIANT);
  }
  run_activation(proc, scope, write_back.data(), write_back.size(), calling_scope);
  if (proc.result == NO_SYMBOL) return Value();
  // the activation ends here
  Var& result = distinct ? scope.at(static_cast<long>(proc.params.size())) : *scope.find(proc.result);
  return std::move(result.value);
}

Value VBRuntime::run_bound(Procedure& proc, Scope& frame, const std::vector<Symbol>& refs, Scope& calling_scope) {
  const size_t count = proc.params.size();
  for (size_t i = 0; i < count; ++i) {
    const Param& p = proc.params[i];
    Var& v = frame.at(static_cast<long>(i));  // added with the parameter's type
    if (stores_unchanged(v.value, p.code)) continue;
    if (v.value.is_nothing() && p.code != TypeCode::Object && p.code != TypeCode::Other)
      v.value = coerce(default_value(p.type), p.code);
    else
      v.value = coerce(v.value, p.code);
  }
  ByRefLink links[MAX_DIRECT_PARAMS];
  size_t linked = 0;
  if (proc.has_by_ref)
    for (size_t i = 0; i < count && i < refs.size(); ++i)
      if (proc.params[i].by_ref && refs[i] != NO_SYMBOL) links[linked++] = {proc.params[i].symbol, refs[i]};
  if (proc.result != NO_SYMBOL) frame.add(proc.result, Value(int64_t{0}), TypeCode::Variant, sym::VARIANT);
  run_activation(proc, frame, links, linked, &calling_scope);
  if (proc.result == NO_SYMBOL) return Value();
  return std::move(frame.at(static_cast<long>(count)).value);
}

bool VBRuntime::runs_direct(const Procedure& proc) {
  if (!proc.distinct_names || proc.params.size() > MAX_DIRECT_PARAMS) return false;
  for (const Param& p : proc.params)
    if (p.optional || p.param_array || p.default_expr) return false;
  return true;
}

Value VBRuntime::event(const std::string& name, std::vector<Value> args) { return event_by_ref(name, args); }

Value VBRuntime::event_by_ref(const std::string& name, std::vector<Value>& args) {
  // An event raised inside another one (through a modal dialog) has its
  // own count and clock; the outer event's resume afterwards.
  struct Frame {
    VBRuntime& rt;
    int64_t steps, next;
    Clock clock;
    bool nested;
    explicit Frame(VBRuntime& r)
        : rt(r), steps(r.step_count), next(r.next_check_), clock(*r.clock), nested(r.stack_depth > 0) {}
    ~Frame() {
      if (!nested) return;
      rt.step_count = steps;
      rt.next_check_ = next;
      *rt.clock = clock;
    }
  } frame(*this);
  reset_steps();
  start_clock();
  try {
    Value result;
    try {
      // The host's arguments stand in variables of a scratch scope, so that
      // ByRef parameters write back into them as into a caller's variables.
      Scope host_args;
      std::vector<Symbol> refs;
      for (size_t i = 0; i < args.size(); ++i) {
        refs.push_back(intern("\x01event argument " + std::to_string(i)));
        host_args.get_or_create(refs.back()).value = args[i];
      }
      auto it = procs.find(intern(name));
      if (it != procs.end()) {
        const ProcedureRef proc = it->second;
        std::vector<Value> passed = args;
        result = run_proc(proc, passed, &refs, &host_args);
        for (size_t i = 0; i < args.size(); ++i) args[i] = host_args.find(refs[i])->value;
      }
    } catch (const std::bad_alloc&) {
      throw VBError(7, "Out of memory");
    }
    flush_print();
    return result;
  } catch (const VBError& e) {
    flush_print();
    if (debug) debug("Runtime error in " + name + ": " + e.message());
    throw;
  }
}

void VBRuntime::flush_print() {
  if (print_line.empty()) return;
  std::string text;
  text.swap(print_line);
  if (debug) debug(text);
}

void VBRuntime::clear_error() {
  err_number = 0;
  last_error.clear();
  err_source.clear();
}

void VBRuntime::err_method(ControlObject&, const std::string& method, std::vector<Value>& args) {
  const std::string m = lower(method);
  if (m == "clear") {
    clear_error();
    return;
  }
  if (m == "raise") {
    // Err.Raise number, [source], [description]
    const int64_t number = args.empty() ? 5 : number_as_count(args[0], 5);
    std::string description;
    if (args.size() > 2 && !args[2].is_nothing()) {
      description = vbstr(args[2]);
    } else {
      description = std::string(vb_error_description(number));
      if (description.empty()) description = "Application-defined error";
    }
    const std::string source =
        args.size() > 1 && !args[1].is_nothing() ? vbstr(args[1]) : vbstr(app->get("Title"));
    err_number = number;
    last_error = description;
    err_source = source;
    VBError e(number, description);
    e.source = source;
    throw e;
  }
  throw VBError("Unsupported Err method: " + m);
}

// ---------------------------------------------------------------- objects

Value VBRuntime::read_property(const Value& object, const std::string& member) {
  if (object.is_object()) return object.as_object()->get(member);
  throw VBError("Cannot read ." + member + " on " + repr(object));
}

}  // namespace corvane
