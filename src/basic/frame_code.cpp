// Frame procedures: FrameBuilder decides which procedures run on a frame
// and numbers their variables; FrameRunner runs their statement trees on
// it with exactly the effects, messages and step counts a scope gives.
#include "basic/frame_code.h"

#include <algorithm>
#include <utility>

#include "basic/activation.h"
#include "basic/objects.h"
#include "basic/tree_runner.h"

namespace corvane {

namespace {

// The types a frame variable may have: scalars and Variant.
bool frame_type(TypeCode type) {
  switch (type) {
    case TypeCode::Variant: case TypeCode::String: case TypeCode::Boolean: case TypeCode::Integer:
    case TypeCode::Long: case TypeCode::Byte: case TypeCode::Single: case TypeCode::Double: case TypeCode::Currency:
      return true;
    default: return false;
  }
}

}  // namespace

struct FrameBuilder {
  VBRuntime& rt;
  FrameLayout layout;
  int for_depth = 0;
  int do_depth = 0;

  long slot_of(Symbol s) const {
    for (size_t i = 0; i < layout.slots.size(); ++i)
      if (layout.slots[i].symbol == s) return static_cast<long>(i);
    return -1;
  }

  bool add(Symbol s, TypeCode type, Symbol declared, Value initial) {
    if (slot_of(s) >= 0 || layout.slots.size() >= FrameLayout::MAX_SLOTS || !frame_type(type)) return false;
    if (!rt.controls_.empty() && rt.controls_.count(s)) return false;  // an assignment would set the control
    layout.slots.push_back({s, type, declared, std::move(initial)});
    return true;
  }

  // The parameters, the result and the Dim lines the body starts with;
  // `dims` counts those lines.
  bool variables(const Procedure& proc, const CodeBlock& block, size_t& dims) {
    if (!proc.direct) return false;
    for (const Param& p : proc.params)
      if (!add(p.symbol, p.code, p.type_symbol, Value())) return false;
    layout.params = proc.params.size();
    if (proc.result != NO_SYMBOL) {
      layout.result = static_cast<long>(layout.slots.size());
      if (!add(proc.result, TypeCode::Variant, sym::VARIANT, Value(int64_t{0}))) return false;
    }
    for (dims = 0; dims < block.size(); ++dims) {
      const CodeStmt& s = block[dims];
      if (s.kind != CodeStmt::Kind::Statement || s.stmt->kind != StmtKind::Declare) break;
      if (s.stmt->is_static) return false;
      for (const DeclPiece& d : s.stmt->decls) {
        if (d.as_new) return false;
        // an array is made when its Dim line runs: the slot starts empty
        const bool added = d.is_array ? add(d.symbol, TypeCode::Variant, d.type_symbol, Value())
                                      : add(d.symbol, type_code(d.type), d.type_symbol, rt.default_value(d.type));
        if (!added) return false;
      }
    }
    return true;
  }

  bool block_fits(CodeBlock& block, size_t from = 0) {
    for (size_t i = from; i < block.size(); ++i)
      if (!statement_fits(block[i])) return false;
    return true;
  }

  // An assigned name: a frame variable, or a variable of the module.
  bool target_fits(LocalRef& target) {
    target.slot = static_cast<int32_t>(slot_of(target.symbol));
    if (target.slot >= 0) return true;
    return rt.globals->find(target.symbol) && !rt.controls_.count(target.symbol);
  }

  bool statement_fits(CodeStmt& s) {
    switch (s.kind) {
      case CodeStmt::Kind::AssignLocal: case CodeStmt::Kind::AssignSum:
        return target_fits(s.target) && expr_fits(s.e1);
      case CodeStmt::Kind::AssignElement: return target_fits(s.target) && expr_fits(s.e1) && expr_fits(s.e2);
      case CodeStmt::Kind::Call: return expr_fits(s.e1);
      case CodeStmt::Kind::Statement: return line_fits(*s.stmt);
      case CodeStmt::Kind::IfSingle:
        return expr_fits(s.e1) && block_fits(s.branches[0].body) && block_fits(s.branches[1].body);
      case CodeStmt::Kind::IfBlock:
        for (CodeBranch& b : s.branches)
          if ((!b.is_else && !expr_fits(b.cond)) || !block_fits(b.body)) return false;
        return true;
      case CodeStmt::Kind::Select: return select_fits(s);
      case CodeStmt::Kind::For: return for_fits(s);
      case CodeStmt::Kind::Do: {
        const Line& line = *s.line;
        if ((line.header && !expr_fits(s.e1)) || (line.footer && !expr_fits(s.e2))) return false;
        ++do_depth;
        const bool fits = block_fits(s.body);
        --do_depth;
        return fits;
      }
      case CodeStmt::Kind::While: return expr_fits(s.e1) && block_fits(s.body);
      case CodeStmt::Kind::LineBlock: return false;
    }
    return false;
  }

  bool select_fits(CodeStmt& s) {
    if (!expr_fits(s.e1)) return false;
    for (CodeBranch& b : s.branches) {
      for (CodeCase& c : b.cases)
        if (!expr_fits(c.a) || (c.kind == CaseTest::Kind::Range && !expr_fits(c.b))) return false;
      if (!block_fits(b.body)) return false;
    }
    return true;
  }

  bool for_fits(CodeStmt& s) {
    s.target.symbol = s.line->var;
    s.target.slot = static_cast<int32_t>(slot_of(s.line->var));
    if (s.target.slot < 0 || !expr_fits(s.e1) || !expr_fits(s.e2) || (s.line->e3 && !expr_fits(s.e3))) return false;
    ++for_depth;
    const bool fits = block_fits(s.body);
    --for_depth;
    return fits;
  }

  // The lines the tree keeps as statements: only those that need no scope.
  bool line_fits(const Stmt& stmt) const {
    switch (stmt.kind) {
      case StmtKind::ExitProc: return true;
      case StmtKind::ExitFor: return for_depth > 0;
      case StmtKind::ExitDo: return do_depth > 0;
      case StmtKind::Nop: return stmt.name != "doevents";
      case StmtKind::DebugPrint:
        return std::all_of(stmt.items.begin(), stmt.items.end(),
                           [&](const PrintItem& item) { return !item.expr || reads_only(*item.expr); });
      case StmtKind::ReDim:
        for (size_t i = 0; i < stmt.redims.size(); ++i)
          if ((i < stmt.targets.size() && stmt.targets[i].kind == AssignTarget::Kind::Member) ||
              !known_variable(stmt.redims[i].symbol))
            return false;
        return std::all_of(stmt.redims.begin(), stmt.redims.end(), [&](const DeclPiece& d) { return dims_read_only(d); });
      case StmtKind::Erase:
        return std::all_of(stmt.refs.begin(), stmt.refs.end(), [&](Symbol name) { return known_variable(name); });
      default: return false;
    }
  }

  // A name a lent scope finds: a frame variable or one of the module's (a
  // scope would make any other, and the frame would lose it).
  bool known_variable(Symbol name) const { return slot_of(name) >= 0 || rt.globals->find(name); }

  bool dims_read_only(const DeclPiece& d) const {
    for (const DimBounds& b : d.dims)
      if ((b.lower && !reads_only(*b.lower)) || (b.upper && !reads_only(*b.upper))) return false;
    return true;
  }

  // Whether a parsed expression only reads: no method of an object (its
  // arguments may go by reference) and no argument by reference naming
  // a variable a scope would make on the way (a lent scope loses it).
  bool reads_only(const Node& node) const {
    if (node.kind == NodeKind::Method || node.kind == NodeKind::New) return false;
    for (Symbol ref : node.refs)
      if (ref != NO_SYMBOL && slot_of(ref) < 0 && !rt.globals->find(ref)) return false;
    return std::all_of(node.kids.begin(), node.kids.end(), [&](const NodePtr& kid) { return kid && reads_only(*kid); });
  }

  bool expr_fits(CodeExpr& e) {
    switch (e.kind) {
      case CodeExpr::Kind::Constant: return true;
      case CodeExpr::Kind::Local: case CodeExpr::Kind::Call:
        e.local.slot = static_cast<int32_t>(slot_of(e.local.symbol));
        break;
      case CodeExpr::Kind::Other: return false;
      default: break;
    }
    for (CodeExpr& kid : e.kids)
      if (!expr_fits(kid)) return false;
    return true;
  }
};

std::unique_ptr<FrameLayout> make_frame_layout(VBRuntime& rt, Procedure& proc, ProcCode& code) {
  FrameBuilder builder{rt, {}};
  size_t dims = 0;
  if (!builder.variables(proc, code.block, dims) || !builder.block_fits(code.block, dims)) return nullptr;
  auto layout = std::make_unique<FrameLayout>(std::move(builder.layout));
  const bool plain = std::all_of(layout->slots.begin(), layout->slots.end(), [](const FrameSlot& slot) {
    return slot.initial.tag() < Value::STRING;
  });
  if (plain) {
    std::vector<Var> vars;
    vars.reserve(layout->slots.size());
    for (const FrameSlot& slot : layout->slots) vars.emplace_back(Value(slot.initial), slot.type, slot.declared);
    const auto* bytes = reinterpret_cast<const unsigned char*>(vars.data());
    layout->image.assign(bytes, bytes + vars.size() * sizeof(Var));
  }
  return layout;
}

// ---------------------------------------------------------------- frames

void convert_argument(VBRuntime& rt, Var& v, const Param& p) {
  if (v.value.is_nothing() && p.code != TypeCode::Object && p.code != TypeCode::Other)
    v.value = coerce(rt.default_value(p.type), p.code);
  else
    v.value = coerce(v.value, p.code);
}

// ---------------------------------------------------------------- running

struct FrameRunner : TreeRunner<FrameRunner> {
  CompiledBody& body;
  Frame& frame;
  const FrameLayout& layout;

  FrameRunner(VBRuntime& r, CompiledBody& b, Frame& f, const FrameLayout& l)
      : TreeRunner(r), body(b), frame(f), layout(l) {}

  [[gnu::always_inline]] Var* variable(const LocalRef& ref) {
    if (ref.slot >= 0) return &frame[static_cast<size_t>(ref.slot)];
    return module_variable(ref);
  }

  [[gnu::noinline]] Var* module_variable(const LocalRef& ref) {
    Scope& globals = *rt.globals;
    if (Var* v = globals.at_if(ref.module_hint, ref.symbol)) return v;
    const long slot = globals.own_slot(ref.symbol);
    if (slot >= 0) {
      ref.module_hint = static_cast<uint32_t>(slot);
      return &globals.at(slot);
    }
    return globals.parent ? globals.parent->find(ref.symbol) : nullptr;
  }

  const Value* peek_other(const CodeExpr&) { return nullptr; }

  // A name that is no variable (a constant, a function without arguments,
  // a built-in like Timer): what it names, seen from a scope without
  // variables.
  [[gnu::noinline]] Value eval_other(const CodeExpr& e) {
    VBRuntime::PooledScope none(rt.scope_pool_);
    return rt.eval(*e.node, *none.scope);
  }

  // The array variable of the called name: the frame's, else the module's.
  [[gnu::always_inline]] Var* array_of(const CodeExpr& e) {
    if (e.local.slot >= 0)
      if (Var& v = frame[static_cast<size_t>(e.local.slot)]; v.value.is_array()) return &v;
    Scope& globals = *rt.globals;
    if (!globals.parent) {
      if (globals.size() == e.globals_without_name) return nullptr;
      // a module array where it was found the last time
      if (Var* g = globals.at_if(e.local.module_hint, e.local.symbol); g && g->value.is_array()) return g;
    }
    return module_array(e);
  }

  [[gnu::noinline]] Var* module_array(const CodeExpr& e) {
    Scope& globals = *rt.globals;
    Var* g = globals.parent ? globals.find(e.local.symbol) : globals.at_if(e.local.module_hint, e.local.symbol);
    if (!g && !globals.parent) {
      const long slot = globals.own_slot(e.local.symbol);
      if (slot < 0) {
        e.globals_without_name = globals.size();
        return nullptr;
      }
      e.local.module_hint = static_cast<uint32_t>(slot);
      g = &globals.at(slot);
    }
    return g && g->value.is_array() ? g : nullptr;
  }

  // name(args): the arguments first, then an array of that name, else the
  // procedure: on a frame of its own when it runs on one.
  Value call(const CodeExpr& e) {
    if (e.callee) {
      Procedure& proc = **e.callee;
      if (proc.frame && proc.frame->params == e.kids.size()) return call_frame_procedure(e, proc);
      return call_general(e);
    }
    return call_unresolved(e);
  }

  // a(i): the subscript first, then the element of the array of that name
  [[gnu::noinline]] Value element(const CodeExpr& e) {
    Value computed;
    const Value* index = peek(e.kids[0]);
    if (!index) index = &(computed = eval(e.kids[0]));
    if (Var* v = array_of(e)) {
      const VBArray& a = *v->value.as_array();
      return a.items[VBRuntime::element_index(a, *index, e.node->text)];
    }
    // the subscript's evaluation took the array away: a call as any other
    rt.check_stack();
    VBRuntime::ArgList list(rt);
    list.values.push_back(index == &computed ? std::move(computed) : Value(*index));
    return call_with(e, list.values);
  }

  // A name no procedure was found for yet: a built-in found before, an
  // array's element, a procedure found now, else the general way.
  [[gnu::noinline]] Value call_unresolved(const CodeExpr& e) {
    if (e.builtin && builtin_still_answers(e)) return call_builtin(e);
    if (e.kids.size() == 1 && array_of(e)) return element(e);
    if (auto it = rt.procs.find(e.local.symbol); it != rt.procs.end()) {
      e.callee = &it->second;
      return call(e);
    }
    return call_general(e);
  }

  // No frame variable has the name, and no module variable: the module's
  // variables only grow, so their count tells that none was added since.
  [[gnu::always_inline]] bool lacks_variable(const CodeExpr& e) {
    if (e.local.slot >= 0) return false;
    Scope& globals = *rt.globals;
    if (globals.parent) return !globals.find(e.local.symbol);
    if (globals.size() == e.globals_without_name) return true;
    if (globals.own_slot(e.local.symbol) >= 0) return false;
    e.globals_without_name = globals.size();
    return true;
  }

  [[gnu::noinline]] Value call_frame_procedure(const CodeExpr& e, Procedure& proc) {
    Frame callee(*proc.frame);
    for (size_t k = 0; k < e.kids.size(); ++k) callee[k].value = eval(e.kids[k]);
    if (Var* array = array_of(e)) {
      std::vector<Value> args;
      for (size_t k = 0; k < e.kids.size(); ++k) args.push_back(std::move(callee[k].value));
      return rt.element(e.node->text, array->value, args);
    }
    if (e.back_for != &proc) {  // (a redefinition replaces what the procedure's entry holds)
      e.back_for = &proc;
      e.back = arguments_going_back(proc, e.node->refs);
    }
    return call_frame(rt, proc, callee, e.back, e.node->refs, [&](size_t k, Symbol name, Value&& value) {
      const CodeExpr& argument = e.kids[k];  // the variable itself, named in the call
      Var* caller = argument.kind == CodeExpr::Kind::Local && argument.local.symbol == name && argument.local.slot >= 0
                        ? &frame[static_cast<size_t>(argument.local.slot)]
                        : ref_variable(name);
      if (caller) give_back_to(*caller, std::move(value));
    });
  }

  // The variable a ByRef argument names: the frame's, else the module's.
  Var* ref_variable(Symbol name) {
    for (size_t i = 0; i < layout.slots.size(); ++i)
      if (layout.slots[i].symbol == name) return &frame[i];
    return rt.globals->find(name);
  }

  // Any other call goes the general way, from a scope that lends it the
  // frame variables it may see: the called name and the ByRef arguments.
  [[gnu::noinline]] Value call_general(const CodeExpr& e) {
    rt.check_stack();
    VBRuntime::ArgList list(rt);
    list.values.reserve(e.kids.size());
    for (const CodeExpr& kid : e.kids) list.values.push_back(eval(kid));
    return call_with(e, list.values);
  }

  // A call whose arguments are evaluated: an array's element, else the
  // general dispatch.
  Value call_with(const CodeExpr& e, std::vector<Value>& args) {
    const Node& node = *e.node;
    if (Var* array = array_of(e)) return rt.element(node.text, array->value, args);
    remember_builtin(e);
    Lent lent(*this);
    lent.lend(e.local.symbol);
    for (Symbol name : node.refs) lent.lend(name);
    return rt.call(node.symbol, node.text, args, *lent.pooled.scope, &node.refs);
  }

  // Frame variables lent to a scope for the general path, given back
  // (with what the call stored in them) when it ends, failed or not.
  struct Lent {
    FrameRunner& runner;
    VBRuntime::PooledScope pooled;
    std::vector<size_t> slots;
    explicit Lent(FrameRunner& r) : runner(r), pooled(r.rt.scope_pool_) {}
    void lend(Symbol name) {
      if (name == NO_SYMBOL || pooled.scope->find_own(name)) return;
      const std::vector<FrameSlot>& all = runner.layout.slots;
      for (size_t i = 0; i < all.size(); ++i)
        if (all[i].symbol == name) {
          Var& v = runner.frame[i];
          pooled.scope->add(name, std::move(v.value), v.type, v.declared);
          slots.push_back(i);
        }
    }
    ~Lent() {
      for (size_t k = 0; k < slots.size(); ++k)
        runner.frame[slots[k]].value = std::move(pooled.scope->at(static_cast<long>(k)).value);
    }
  };

  Flow assign_local(const CodeStmt& s) {
    Value value = eval(s.e1);
    if (value.is_object()) value = copy_record(value);
    if (Var* v = variable(s.target)) {
      store_converted(v->value, std::move(value), v->type);
    } else {  // a module variable no longer there: as a scope would take it
      VBRuntime::PooledScope none(rt.scope_pool_);
      rt.assign_compiled(s.stmt->target, std::move(value), *none.scope);
    }
    return Flow::Normal;
  }

  // s = s + x: appended in place while the frame's s holds text that is
  // no number (the sum is then a concatenation); a variable declared as a
  // number makes it an ordinary assignment for good.
  [[gnu::noinline]] Flow assign_sum(const CodeStmt& s) {
    if (s.target.slot < 0) return assign_local(s);
    Var& v = frame[static_cast<size_t>(s.target.slot)];
    if (!v.value.is_string()) {
      if (v.type != TypeCode::Variant && v.type != TypeCode::String && v.type != TypeCode::FixedText)
        s.kind = CodeStmt::Kind::AssignLocal;
      return assign_local(s);
    }
    const std::string& text = std::as_const(v.value).as_string();
    Value number;
    if (text.empty() || parse_number_text(text, number)) return assign_local(s);
    Value held = v.value;
    const Value right = eval(s.e1.kids[1]);
    const std::string tail = right.is_string() ? std::string() : vbstr(right);
    const std::string_view added = right.is_string() ? std::string_view(right.as_string()) : std::string_view(tail);
    if (v.value.shares_text(held)) {
      held = Value();
      v.value.append(added);
    } else {
      store_converted(v.value, Value(held.as_string() + std::string(added)), v.type);
    }
    return Flow::Normal;
  }

  Flow assign_element(const CodeStmt& s) {
    Value value = eval(s.e1);
    if (value.is_object()) value = copy_record(value);
    Var* v = variable(s.target);
    if (!v || !v->value.is_array()) {
      Lent lent(*this);
      lent.lend(s.target.symbol);
      rt.assign_compiled(s.stmt->target, std::move(value), *lent.pooled.scope);
      return Flow::Normal;
    }
    const std::string& name = s.stmt->target.name;
    if (s.e2.pure) {  // the subscript changes no variable
      Value computed;
      const Value& index = operand(s.e2, computed);
      VBArray& array = *v->value.as_array();
      store_element(array, VBRuntime::element_index(array, index, name), std::move(value));
      return Flow::Normal;
    }
    const ArrayRef array = v->value.as_array();  // the index may change the variable
    const Value index = eval(s.e2);
    store_element(*array, VBRuntime::element_index(*array, index, name), std::move(value));
    return Flow::Normal;
  }

  // Exit Function, Exit Sub, Exit For, Exit Do, comments, Dim lines,
  // Debug.Print, ReDim and Erase: the only lines a frame procedure keeps
  // as statements.
  Flow statement(const CodeStmt& s) {
    switch (s.stmt->kind) {
      case StmtKind::ExitProc: return Flow::ExitProc;
      case StmtKind::ExitFor: return Flow::ExitFor;
      case StmtKind::ExitDo: return Flow::ExitDo;
      case StmtKind::Nop: return Flow::Normal;
      default: return other_statement(*s.stmt);
    }
  }

  // Debug.Print, ReDim and Erase run on a scope lent every frame variable;
  // a leading Dim line makes its arrays.
  [[gnu::noinline]] Flow other_statement(const Stmt& stmt) {
    if (stmt.kind == StmtKind::Declare) return declare(stmt);
    return on_lent_scope(stmt);
  }

  Flow on_lent_scope(const Stmt& stmt) {
    Lent lent(*this);
    for (const FrameSlot& slot : layout.slots) lent.lend(slot.symbol);
    return rt.exec_stmt(stmt, *lent.pooled.scope);
  }

  // A leading Dim line: its arrays are made now, their bounds evaluated on
  // a scope lent the frame's variables (each array's own slot, still
  // empty, takes it back).
  Flow declare(const Stmt& stmt) {
    const auto is_array = [](const DeclPiece& d) { return d.is_array; };
    if (std::none_of(stmt.decls.begin(), stmt.decls.end(), is_array)) return Flow::Normal;
    return declare_arrays(stmt);
  }

  Flow declare_arrays(const Stmt& stmt) {
    Lent lent(*this);
    for (const FrameSlot& slot : layout.slots) lent.lend(slot.symbol);
    for (const DeclPiece& d : stmt.decls)
      if (d.is_array) {
        Value made = rt.declared_value(d, *lent.pooled.scope);
        lent.pooled.scope->find_own(d.symbol)->value = std::move(made);  // goes back with the others
      }
    return Flow::Normal;
  }

  Flow line_block(const CodeStmt&) { return Flow::Normal; }  // never in a frame procedure

  Var& counter(const CodeStmt& s, CounterPlace&) { return frame[static_cast<size_t>(s.target.slot)]; }
  int* for_depth() { return nullptr; }
  int* do_depth() { return nullptr; }

  void locate(VBError& e, long index) { rt.locate(e, body, index); }

  // Runs the procedure's tree on the frame (within an activation).
  static void run_body(VBRuntime& rt, Procedure& proc, Frame& frame) {
    FrameRunner runner(rt, rt.body_of(proc), frame, *proc.frame);
    runner.run(proc.code->block);
  }
};

Value run_frame(VBRuntime& rt, Procedure& proc, Frame& frame) {
  VBRuntime::Activation activation(rt, proc, nullptr);
  FrameRunner::run_body(rt, proc, frame);
  if (proc.frame->result < 0) return Value();
  return std::move(frame[static_cast<size_t>(proc.frame->result)].value);
}

void run_frame_on_scope(VBRuntime& rt, Procedure& proc, Scope& scope) {
  const FrameLayout& layout = *proc.frame;
  Frame frame(layout);
  for (size_t k = 0; k < layout.params; ++k) frame[k].value = std::move(scope.at(static_cast<long>(k)).value);
  // the parameters and the result go back, also when the body fails
  struct Back {
    const FrameLayout& layout;
    Frame& frame;
    Scope& scope;
    ~Back() {
      for (size_t k = 0; k < layout.params; ++k) scope.at(static_cast<long>(k)).value = std::move(frame[k].value);
      if (layout.result >= 0) scope.at(layout.result).value = std::move(frame[static_cast<size_t>(layout.result)].value);
    }
  } back{layout, frame, scope};
  FrameRunner::run_body(rt, proc, frame);
}

}  // namespace corvane
