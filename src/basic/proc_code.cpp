// Procedure bodies as statement trees: CodeBuilder makes the tree of a
// body once, CodeRunner runs it on an activation's scope (procedures that
// can run on a frame go to frame_code.cpp). The runner gives every line
// exactly the effects, messages and step counts the line-by-line engine
// gives it.
#include "basic/proc_code.h"

#include <algorithm>
#include <new>
#include <stdexcept>

#include "basic/apply.h"
#include "basic/builtins.h"
#include "basic/frame_code.h"
#include "basic/loops.h"
#include "basic/objects.h"
#include "basic/runtime.h"
#include "basic/tree_runner.h"

namespace corvane {

namespace {

// A body the tree cannot express; it keeps running line by line.
struct NotCompilable {};

// Nesting kept well below the line-by-line engine's own block limit, so
// that a body too deep for it still fails there with its message.
constexpr int MAX_TREE_DEPTH = 64;

bool needs_lines(StmtKind kind) {
  switch (kind) {
    case StmtKind::Goto: case StmtKind::GoSub: case StmtKind::Return: case StmtKind::Resume:
    case StmtKind::ResumeLabel: case StmtKind::ResumeNext: case StmtKind::OnErrorResumeNext:
    case StmtKind::OnErrorGoto0: case StmtKind::OnErrorGotoLabel: case StmtKind::OnErrorGotoMinus1:
    case StmtKind::OnGoto: case StmtKind::OnGoSub:
      return true;
    default: return false;
  }
}

}  // namespace

struct CodeBuilder {
  VBRuntime& rt;
  CompiledBody& body;
  std::vector<std::unique_ptr<Node>>& call_nodes;
  int depth = 0;

  CodeExpr expr(const Node* node) {
    CodeExpr e;
    e.node = node;
    if (!node) return e;
    switch (node->kind) {
      case NodeKind::Literal:
        e.kind = CodeExpr::Kind::Constant;
        e.value = &node->literal;
        break;
      case NodeKind::Name:
        if (node->symbol < sym::CONSTANT_COUNT) {
          e.kind = CodeExpr::Kind::Constant;
          e.value = builtin_constant(node->symbol);
        } else if (!rt.enums.count(node->symbol)) {
          e.kind = CodeExpr::Kind::Local;
          e.local.symbol = node->symbol;
        }
        break;
      case NodeKind::Binary:
        e.kind = CodeExpr::Kind::Binary;
        e.op = node->op;
        e.kids.push_back(expr(node->kids[0].get()));
        e.kids.push_back(expr(node->kids[1].get()));
        break;
      case NodeKind::Call:
        e.kind = CodeExpr::Kind::Call;
        e.local.symbol = node->symbol;
        for (const auto& kid : node->kids) e.kids.push_back(expr(kid.get()));
        break;
      case NodeKind::Not: case NodeKind::Plus: case NodeKind::Negate:
        e.kind = node->kind == NodeKind::Not ? CodeExpr::Kind::Not
                 : node->kind == NodeKind::Plus ? CodeExpr::Kind::Plus : CodeExpr::Kind::Negate;
        e.kids.push_back(expr(node->kids[0].get()));
        break;
      default: break;
    }
    // a name that may be a call (a procedure, DoEvents, Rnd...) is not pure
    const bool bare_call =
        e.kind == CodeExpr::Kind::Local && (bare_builtin(e.local.symbol) || rt.procs.count(e.local.symbol));
    e.pure = (e.plain() && !bare_call) || ((e.kind == CodeExpr::Kind::Binary || e.kind == CodeExpr::Kind::Not ||
                            e.kind == CodeExpr::Kind::Plus || e.kind == CodeExpr::Kind::Negate) &&
                           std::all_of(e.kids.begin(), e.kids.end(), [](const CodeExpr& k) { return k.pure; }));
    return e;
  }

  CodeStmt statement(const Stmt& stmt, long index) {
    if (needs_lines(stmt.kind)) throw NotCompilable{};
    CodeStmt s;
    s.index = index;
    s.stmt = &stmt;
    if (stmt.kind == StmtKind::Call) return call_statement(stmt, s);
    if (stmt.kind != StmtKind::Assign || stmt.append_in_place) return s;
    const AssignTarget& t = stmt.target;
    if (t.kind == AssignTarget::Kind::Simple) {
      s.kind = stmt.add_in_place ? CodeStmt::Kind::AssignSum : CodeStmt::Kind::AssignLocal;
    } else if (t.kind == AssignTarget::Kind::Element && t.more.empty()) {
      s.kind = CodeStmt::Kind::AssignElement;
      s.e2 = expr(t.expr.get());
    } else {
      return s;
    }
    s.target.symbol = t.symbol;
    s.e1 = expr(stmt.expr.get());
    return s;
  }

  // Name arg, arg...: evaluated as the call name(arg, arg...) is.
  CodeStmt call_statement(const Stmt& stmt, CodeStmt& s) {
    for (const auto& arg : stmt.args)
      if (!arg) return s;
    auto node = std::make_unique<Node>();
    node->kind = NodeKind::Call;
    node->symbol = stmt.symbol;
    node->text = stmt.name;
    node->refs = stmt.refs;
    s.kind = CodeStmt::Kind::Call;
    s.e1.kind = CodeExpr::Kind::Call;
    s.e1.node = node.get();
    s.e1.local.symbol = stmt.symbol;
    for (const auto& arg : stmt.args) s.e1.kids.push_back(expr(arg.get()));
    call_nodes.push_back(std::move(node));
    return s;
  }

  CodeBlock range(long start, long end) {
    if (++depth > MAX_TREE_DEPTH) throw NotCompilable{};
    CodeBlock block;
    for (long index = start; index < end;) {
      Line& line = body.line(index);
      if (line.kind == LineKind::Label) throw NotCompilable{};
      if (line.kind == LineKind::Simple) {
        block.push_back(statement(*line.simple, index));
        ++index;
        continue;
      }
      block.push_back(compound(line, index));
      index = line.kind == LineKind::IfSingle ? index + 1 : line.end + 1;
    }
    --depth;
    return block;
  }

  CodeStmt compound(Line& line, long index) {
    CodeStmt s;
    s.index = index;
    s.line = &line;
    if (line.kind == LineKind::IfSingle) {
      s.kind = CodeStmt::Kind::IfSingle;
      s.e1 = expr(line.e1.get());
      s.branches.resize(2);
      for (const auto& stmt : line.then_stmts) s.branches[0].body.push_back(statement(*stmt, index));
      for (const auto& stmt : line.else_stmts) s.branches[1].body.push_back(statement(*stmt, index));
      return s;
    }
    body.resolve(index);  // a block without its end fails here: the body runs line by line
    switch (line.kind) {
      case LineKind::IfBlock: s.kind = CodeStmt::Kind::IfBlock; break;
      case LineKind::Select: s.kind = CodeStmt::Kind::Select; break;
      case LineKind::For: s.kind = CodeStmt::Kind::For; break;
      case LineKind::Do: s.kind = CodeStmt::Kind::Do; break;
      case LineKind::While: s.kind = CodeStmt::Kind::While; break;
      default:
        s.kind = CodeStmt::Kind::LineBlock;
        check_lines(index + 1, line.end);
        return s;
    }
    s.e1 = expr(line.e1.get());
    s.e2 = expr(line.e2.get());
    s.e3 = expr(line.e3.get());
    if (line.kind == LineKind::Do) s.e2 = expr(line.footer_cond.get());
    if (line.kind == LineKind::IfBlock || line.kind == LineKind::Select) {
      for (const Branch& branch : line.branches) s.branches.push_back(branch_of(line, branch));
    } else {
      s.body = range(index + 1, line.end);
    }
    return s;
  }

  CodeBranch branch_of(const Line& line, const Branch& branch) {
    CodeBranch b;
    b.is_else = branch.is_else;
    b.cond = expr(branch.cond ? branch.cond.get() : line.e1.get());
    for (const CaseTest& test : branch.cases) {
      CodeCase c;
      c.kind = test.kind;
      c.op = test.op;
      c.a = expr(test.a.get());
      c.b = expr(test.b.get());
      b.cases.push_back(std::move(c));
    }
    b.body = range(branch.begin, branch.end);
    return b;
  }

  // Lines of a block that runs line by line still must not jump.
  void check_lines(long start, long end) {
    for (long index = start; index < end; ++index) {
      Line& line = body.line(index);
      if (line.kind == LineKind::Label) throw NotCompilable{};
      if (line.kind == LineKind::Simple && needs_lines(line.simple->kind)) throw NotCompilable{};
      for (const auto* list : {&line.then_stmts, &line.else_stmts})
        for (const auto& stmt : *list)
          if (needs_lines(stmt->kind)) throw NotCompilable{};
    }
  }
};

ProcCode* VBRuntime::code_of(Procedure& proc, CompiledBody& body) {
  if (!proc.code_made && statement_trees) {
    proc.code_made = true;
    try {
      auto code = std::make_shared<ProcCode>();
      CodeBuilder builder{*this, body, code->call_nodes};
      code->block = builder.range(0, static_cast<long>(body.lines->size()));
      if (std::unique_ptr<FrameLayout> frame = make_frame_layout(*this, proc, *code)) {
        code->frame = std::move(frame);
        proc.frame = code->frame.get();
      }
      proc.code = std::move(code);
    } catch (const NotCompilable&) {
    } catch (const VBError&) {
    }
  }
  return proc.code.get();
}

// Where a ByRef argument's last value goes: the variable of that name,
// the activation's or the module's.
struct GiveBack {
  VBRuntime& rt;
  Scope& scope;
  void operator()(size_t, Symbol name, Value&& value) const {
    Var* caller = scope.find(name);
    if (!caller && &scope != rt.globals.get()) caller = rt.globals->find(name);
    if (caller) give_back_to(*caller, std::move(value));
  }
};

struct CodeRunner : TreeRunner<CodeRunner> {
  CompiledBody& body;
  Scope& scope;
  const uint64_t activation = ++rt.activations_run_;

  CodeRunner(VBRuntime& r, CompiledBody& b, Scope& s) : TreeRunner(r), body(b), scope(s) {}

  [[gnu::always_inline]] Var* local(const LocalRef& ref) {
    if (Var* v = scope.at_if(ref.hint, ref.symbol)) return v;
    if (ref.absent_in == activation && ref.absent_size == scope.size()) return nullptr;
    return search_local(ref);
  }

  [[gnu::noinline]] Var* search_local(const LocalRef& ref) {
    const long slot = scope.own_slot(ref.symbol);
    if (slot < 0) {
      ref.absent_in = activation;
      ref.absent_size = static_cast<uint32_t>(scope.size());
      return nullptr;
    }
    ref.hint = static_cast<uint32_t>(slot);
    return &scope.at(slot);
  }

  // The module's variable of a name the activation does not hold, when a
  // lookup by name would find that one: the activation lies over nothing
  // else, and the module holds the name itself.
  [[gnu::noinline]] Var* module_variable(const LocalRef& ref) {
    Scope& globals = *rt.globals;
    if (scope.parent || &scope == &globals) return nullptr;
    if (Var* v = globals.at_if(ref.module_hint, ref.symbol)) return v;
    const long slot = globals.own_slot(ref.symbol);
    if (slot < 0) return nullptr;
    ref.module_hint = static_cast<uint32_t>(slot);
    return &globals.at(slot);
  }

  // The variable a name reads: the activation's, else the module's.
  [[gnu::always_inline]] Var* variable(const LocalRef& ref) {
    if (Var* v = local(ref)) return v;
    return module_variable(ref);
  }

  // No variable has a call's name (asked only of an activation's scope
  // over a module without a form's variables, where variable() sees all).
  bool lacks_variable(const CodeExpr& e) {
    const Scope& globals = *rt.globals;
    return !scope.parent && &scope != &globals && !globals.parent && !variable(e.local);
  }

  // name(args): an element of an array variable, else a call. The element
  // read stays small; calls go through call_one and call_many.
  Value call(const CodeExpr& e) {
    if (e.builtin && builtin_still_answers(e)) return call_builtin(e);
    if (e.kids.size() != 1) return call_many(e);
    Value computed;
    const Value* index = peek(e.kids[0]);
    if (!index) index = &(computed = eval(e.kids[0]));
    if (Var* v = array_of(e)) {
      const VBArray& a = *v->value.as_array();
      return a.items[VBRuntime::element_index(a, *index, e.node->text)];
    }
    return call_one(e, index, computed);
  }

  // name(x) when no array has the name; `index` is x, pointing at
  // `computed` when x was computed.
  [[gnu::noinline]] Value call_one(const CodeExpr& e, const Value* index, Value& computed) {
    const Node& node = *e.node;
    {
      if (const ProcedureRef* callee = direct_callee(e)) {  // the activation checks the stack
        if ((*callee)->frame) {
          Frame frame(*(*callee)->frame);
          frame[0].value = index == &computed ? std::move(computed) : Value(*index);
          return call_frame(rt, **callee, frame, arguments_going_back(**callee, node.refs), node.refs, give_back());
        }
        VBRuntime::PooledScope frame(rt.scope_pool_);
        const Param& p = (*callee)->params[0];
        frame.scope->add(p.symbol, index == &computed ? std::move(computed) : Value(*index), p.code, p.type_symbol);
        return rt.run_bound(**callee, *frame.scope, node.refs, scope);
      }
      rt.check_stack();
      VBRuntime::ArgList list(rt);
      list.values.push_back(*index);
      return call_procedure(e, list.values);
    }
  }

  // name(a, b, ...) or name(): an element of a many-dimensional array or a call.
  [[gnu::noinline]] Value call_many(const CodeExpr& e) {
    const Node& node = *e.node;
    if (const ProcedureRef* callee = direct_callee(e))
      return (*callee)->frame ? call_on_frame(e, **callee) : call_direct(e);
    rt.check_stack();
    VBRuntime::ArgList list(rt);
    list.values.reserve(e.kids.size());
    for (const CodeExpr& kid : e.kids) list.values.push_back(eval(kid));
    if (array_of(e)) return rt.call(node.symbol, node.text, list.values, scope, &node.refs);
    return call_procedure(e, list.values);
  }

  // The program's procedure of the called name when a call with these
  // arguments may bind them straight.
  const ProcedureRef* direct_callee(const CodeExpr& e) {
    if (!e.callee)
      if (auto it = rt.procs.find(e.node->symbol); it != rt.procs.end()) e.callee = &it->second;
    return e.callee && (*e.callee)->direct && (*e.callee)->params.size() == e.kids.size() ? e.callee : nullptr;
  }

  // A call of a direct callee: the arguments go straight into the new
  // activation's scope (an array of that name, found once they are
  // computed, still wins and gets them as computed).
  Value call_direct(const CodeExpr& e) {
    Procedure& proc = **e.callee;
    VBRuntime::PooledScope frame(rt.scope_pool_);
    Scope& callee = *frame.scope;
    callee.reserve(e.kids.size() + 4);
    for (size_t k = 0; k < e.kids.size(); ++k)
      callee.add(proc.params[k].symbol, eval(e.kids[k]), proc.params[k].code, proc.params[k].type_symbol);
    const Node& node = *e.node;
    if (array_of(e)) {
      VBRuntime::ArgList list(rt);
      for (size_t k = 0; k < e.kids.size(); ++k) list.values.push_back(std::move(callee.at(static_cast<long>(k)).value));
      return rt.call(node.symbol, node.text, list.values, scope, &node.refs);
    }
    return rt.run_bound(proc, callee, node.refs, scope);
  }

  // A call of a procedure that runs on a frame: the arguments go straight
  // into it (an array of that name still wins, as above).
  [[gnu::noinline]] Value call_on_frame(const CodeExpr& e, Procedure& proc) {
    Frame frame(*proc.frame);
    for (size_t k = 0; k < e.kids.size(); ++k) frame[k].value = eval(e.kids[k]);
    const Node& node = *e.node;
    if (array_of(e)) {
      VBRuntime::ArgList list(rt);
      for (size_t k = 0; k < e.kids.size(); ++k) list.values.push_back(std::move(frame[k].value));
      return rt.call(node.symbol, node.text, list.values, scope, &node.refs);
    }
    return call_frame(rt, proc, frame, arguments_going_back(proc, node.refs), node.refs, give_back());
  }

  GiveBack give_back() { return {rt, scope}; }

  // A call when no array of that name stands in the way: straight to a
  // procedure of the program, anything else through the general dispatch.
  Value call_procedure(const CodeExpr& e, std::vector<Value>& args) {
    const Node& node = *e.node;
    if (!e.callee)
      if (auto it = rt.procs.find(node.symbol); it != rt.procs.end()) e.callee = &it->second;
    if (e.callee) return rt.run_proc(**e.callee, args, &node.refs, &scope);
    remember_builtin(e);
    return rt.call(node.symbol, node.text, args, scope, &node.refs);
  }

  // The variable of the called name when it holds an array: the
  // activation's, else the module's. The module's variables only grow, so
  // a name found absent there stays absent until another one is added.
  [[gnu::always_inline]] Var* array_of(const CodeExpr& e) {
    if (Var* v = local(e.local); v && v->value.is_array()) return v;
    const Scope& globals = *rt.globals;
    if (!scope.parent && !globals.parent && globals.size() == e.globals_without_name) return nullptr;
    return module_array(e);
  }

  [[gnu::noinline]] Var* module_array(const CodeExpr& e) {
    Scope& globals = *rt.globals;
    if (scope.parent || globals.parent) return rt.array_variable(e.local.symbol, scope);
    if (&scope == &globals) return nullptr;
    Var* g = globals.at_if(e.local.module_hint, e.local.symbol);
    if (!g) {
      const long slot = globals.own_slot(e.local.symbol);
      if (slot < 0) {
        e.globals_without_name = globals.size();
        return nullptr;
      }
      e.local.module_hint = static_cast<uint32_t>(slot);
      g = &globals.at(slot);
    }
    return g->value.is_array() ? g : nullptr;
  }

  Flow assign_local(const CodeStmt& s) {
    Value value = eval(s.e1);
    if (value.is_object()) value = copy_record(value);
    const bool control = !rt.controls_.empty() && rt.controls_.count(s.target.symbol);
    Var* v = control ? nullptr : variable(s.target);
    if (!v) rt.assign_compiled(s.stmt->target, std::move(value), scope);
    else store_converted(v->value, std::move(value), v->type);
    return Flow::Normal;
  }

  // s = s + x: appended in place while s holds text that is no number;
  // otherwise an ordinary assignment. A variable declared as a number
  // never holds text: the statement then stays an ordinary assignment
  // (whichever variable it meets later, the result is the same).
  [[gnu::noinline]] Flow assign_sum(const CodeStmt& s) {
    if (Var* v = local(s.target)) {
      if (v->value.is_string()) {
        if (rt.add_to_text(*s.stmt, scope)) return Flow::Normal;
      } else if (v->type != TypeCode::Variant && v->type != TypeCode::String && v->type != TypeCode::FixedText) {
        s.kind = CodeStmt::Kind::AssignLocal;
      }
    }
    return assign_local(s);
  }

  Flow assign_element(const CodeStmt& s) {
    Value value = eval(s.e1);
    if (value.is_object()) value = copy_record(value);
    Var* v = variable(s.target);
    if (!v || !v->value.is_array()) {
      rt.assign_compiled(s.stmt->target, std::move(value), scope);
      return Flow::Normal;
    }
    const std::string& name = s.stmt->target.name;
    if (const Value* index = peek(s.e2)) {
      VBArray& array = *v->value.as_array();
      store_element(array, VBRuntime::element_index(array, *index, name), std::move(value));
      return Flow::Normal;
    }
    if (s.e2.pure) {  // a subscript like j + 1 changes no variable
      const Value index = eval(s.e2);
      VBArray& array = *v->value.as_array();
      store_element(array, VBRuntime::element_index(array, index, name), std::move(value));
      return Flow::Normal;
    }
    const ArrayRef array = v->value.as_array();  // the index may change the variable
    const Value index = eval(s.e2);
    store_element(*array, VBRuntime::element_index(*array, index, name), std::move(value));
    return Flow::Normal;
  }

  // A name that is no variable of the activation or the module, or a
  // form the tree keeps as parsed: the general evaluation.
  const Value* peek_other(const CodeExpr& e) { return rt.peek(*e.node, scope); }
  Value eval_other(const CodeExpr& e) { return rt.eval(*e.node, scope); }

  Flow statement(const CodeStmt& s) { return rt.exec_stmt(*s.stmt, scope); }

  Flow line_block(const CodeStmt& s) {
    long next = 0;
    return rt.run_block(body, *s.line, s.index, next, scope);
  }

  // The counter is the variable the name resolves to: the activation's,
  // else the module's; its place stays put while the body adds variables.
  Var& counter(const CodeStmt& s, CounterPlace& place) {
    const Symbol var = s.line->var;
    if (!place.scope) {
      place.scope = &rt.counter_scope(var, scope);
      place.slot = place.scope->slot_of(var);
    }
    return place.slot >= 0 ? place.scope->at(place.slot) : place.scope->get_or_create(var);
  }

  int* for_depth() { return &scope.for_depth; }
  int* do_depth() { return &scope.do_depth; }

  // An error leaves the block located at its line, as the line-by-line
  // engine leaves it (the activation's handler mode is Raise here).
  void locate(VBError& e, long index) {
    rt.locate(e, body, index);
    if (scope.failure_index < 0) scope.failure_index = index;
  }
};

// (The activation that runs it has looked at the stack already.)
Flow VBRuntime::run_code(const ProcCode& code, CompiledBody& body, Scope& scope) {
  CodeRunner runner{*this, body, scope};
  return runner.run(code.block);
}

}  // namespace corvane
