// Procedure bodies as statement trees: CodeBuilder makes the tree of a
// body once, CodeRunner runs it on an activation. The runner gives every
// line exactly the effects, messages and step counts the line-by-line
// engine gives it.
#include "basic/proc_code.h"

#include <algorithm>
#include <new>
#include <stdexcept>

#include "basic/apply.h"
#include "basic/builtins.h"
#include "basic/loops.h"
#include "basic/objects.h"
#include "basic/runtime.h"

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
      proc.code = std::move(code);
    } catch (const NotCompilable&) {
    } catch (const VBError&) {
    }
  }
  return proc.code.get();
}

struct CodeRunner {
  VBRuntime& rt;
  CompiledBody& body;
  Scope& scope;
  const uint64_t activation = ++rt.activations_run_;

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

  // The value of a constant or variable without copying it; nullptr when
  // the expression needs an evaluation.
  [[gnu::always_inline]] const Value* peek(const CodeExpr& e) {
    if (e.kind == CodeExpr::Kind::Constant) return e.value;
    if (e.kind != CodeExpr::Kind::Local) return e.kind == CodeExpr::Kind::Call ? peek_element(e) : nullptr;
    if (Var* v = variable(e.local)) return &v->value;
    return rt.peek(*e.node, scope);
  }

  // An element of an array variable read in place, when its subscript
  // changes no variable (a variable, a constant, j + 1).
  [[gnu::noinline]] const Value* peek_element(const CodeExpr& e) {
    if (e.kids.size() != 1 || !e.kids[0].pure) return nullptr;
    Var* v = array_of(e);
    if (!v) return nullptr;
    Value computed;  // a subscript like j + 1 changes no variable
    const Value* index = peek(e.kids[0]);
    if (!index) index = &(computed = eval(e.kids[0]));
    const VBArray& a = *v->value.as_array();
    return &a.items[VBRuntime::element_index(a, *index, e.node->text)];
  }

  // Whether evaluating the expression changes no variable: operators on
  // variables and constants, and an element of an array read with such a
  // subscript. An operand read in place before it stays valid.
  [[gnu::always_inline]] bool changes_nothing(const CodeExpr& e) {
    return e.pure || (e.kind == CodeExpr::Kind::Call && reads_element(e));
  }

  [[gnu::noinline]] bool reads_element(const CodeExpr& e) {
    return e.kids.size() == 1 && e.kids[0].pure && array_of(e);
  }

  // The value of an operand: read in place when it can be, else computed
  // into `computed`.
  const Value& operand(const CodeExpr& e, Value& computed) {
    if (const Value* v = peek(e)) return *v;
    return computed = eval(e);
  }

  Value eval(const CodeExpr& e) {
    switch (e.kind) {
      case CodeExpr::Kind::Constant: return *e.value;
      case CodeExpr::Kind::Local:
        if (Var* v = variable(e.local)) return v->value;
        return rt.eval(*e.node, scope);
      case CodeExpr::Kind::Binary:
        // two variables or constants (n - 1, a + b): read in place here
        if (e.kids[0].plain() && e.kids[1].plain())
          if (const Value* left = peek(e.kids[0]))
            if (const Value* right = peek(e.kids[1])) return apply(e.op, *left, *right);
        return binary(e);
      case CodeExpr::Kind::Call: return call(e);
      case CodeExpr::Kind::Not: return Value(!truth(eval(e.kids[0])));
      case CodeExpr::Kind::Plus: return number(eval(e.kids[0]));
      case CodeExpr::Kind::Negate: return negate(eval(e.kids[0]));
      case CodeExpr::Kind::Other: break;
    }
    return rt.eval(*e.node, scope);
  }

  // Operands that are variables or constants are read in place; the left
  // one only when the right one has no side effects.
  [[gnu::noinline]] Value binary(const CodeExpr& e) {
    const CodeExpr& left = e.kids[0];
    const CodeExpr& right = e.kids[1];
    if (const Value* lp = changes_nothing(right) ? peek(left) : nullptr) {
      if (const Value* rp = peek(right)) return apply(e.op, *lp, *rp);
      const Value r = eval(right);
      return apply(e.op, *lp, r);
    }
    const Value l = eval(left);
    if (const Value* rp = peek(right)) return apply(e.op, l, *rp);
    const Value r = eval(right);
    return apply(e.op, l, r);
  }

  // name(args): an element of an array variable, else a call. The element
  // read stays small; calls go through call_one and call_many.
  Value call(const CodeExpr& e) {
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
    if (direct_callee(e)) return call_direct(e);
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

  // A call when no array of that name stands in the way: straight to a
  // procedure of the program, anything else through the general dispatch.
  Value call_procedure(const CodeExpr& e, std::vector<Value>& args) {
    const Node& node = *e.node;
    if (!e.callee)
      if (auto it = rt.procs.find(node.symbol); it != rt.procs.end()) e.callee = &it->second;
    if (e.callee) return rt.run_proc(**e.callee, args, &node.refs, &scope);
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

  bool truth_of(const CodeExpr& e) {
    // A comparison of two Integers needs no value; operands are read in
    // place as binary() reads them.
    if (e.kind == CodeExpr::Kind::Binary && e.op >= BinOp::Eq && e.op <= BinOp::Ge) {
      if (const Value* left = changes_nothing(e.kids[1]) ? peek(e.kids[0]) : nullptr)
        if (const Value* right = peek(e.kids[1])) return comparison_truth(e.op, *left, *right);
      return comparison_computed(e);
    }
    return truth(eval(e));
  }

  bool comparison_computed(const CodeExpr& e) {
    Value left_value, right_value;
    const Value* left = changes_nothing(e.kids[1]) ? peek(e.kids[0]) : nullptr;
    if (!left) left = &(left_value = eval(e.kids[0]));
    const Value& right = operand(e.kids[1], right_value);
    return comparison_truth(e.op, *left, right);
  }

  void count_step() {
    if (++rt.step_count >= rt.next_check_) rt.checkpoint();
  }

  // An error leaves the block located at its line, as the line-by-line
  // engine leaves it (the activation's handler mode is Raise here).
  void locate(VBError& e, long index) {
    rt.locate(e, body, index);
    if (scope.failure_index < 0) scope.failure_index = index;
  }

  Flow run(const CodeBlock& block) {
    for (const CodeStmt& s : block) {
      count_step();
      Flow flow;
      try {
        flow = exec(s);
      } catch (VBError& e) {
        locate(e, s.index);
        throw;
      } catch (const std::bad_alloc&) {
        VBError e(7, "Out of memory");
        locate(e, s.index);
        throw e;
      } catch (const std::length_error&) {
        VBError e(7, "Out of memory");
        locate(e, s.index);
        throw e;
      }
      if (flow != Flow::Normal) return flow;
    }
    return Flow::Normal;
  }

  Flow exec(const CodeStmt& s) {
    switch (s.kind) {
      case CodeStmt::Kind::AssignLocal: return assign_local(s);
      case CodeStmt::Kind::AssignSum: return assign_sum(s);
      case CodeStmt::Kind::AssignElement: return assign_element(s);
      case CodeStmt::Kind::Call: call(s.e1); return Flow::Normal;
      case CodeStmt::Kind::Statement: return rt.exec_stmt(*s.stmt, scope);
      case CodeStmt::Kind::IfSingle:
        for (const CodeStmt& part : s.branches[truth_of(s.e1) ? 0 : 1].body)
          if (const Flow flow = exec(part); flow != Flow::Normal) return flow;
        return Flow::Normal;
      case CodeStmt::Kind::IfBlock:
        for (const CodeBranch& branch : s.branches)
          if (branch.is_else || truth_of(branch.cond)) return run(branch.body);
        return Flow::Normal;
      case CodeStmt::Kind::Select: return select(s);
      case CodeStmt::Kind::For: return for_loop(s);
      case CodeStmt::Kind::Do: return do_loop(s);
      case CodeStmt::Kind::While: return while_loop(s);
      case CodeStmt::Kind::LineBlock: {
        long next = 0;
        return rt.run_block(body, *s.line, s.index, next, scope);
      }
    }
    return Flow::Normal;
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

  // One comparison of a Case line; Integers compare without building a value.
  bool case_test(BinOp op, const Value& selector, const CodeExpr& e) {
    Value computed;
    const Value* value = peek(e);
    if (!value) value = &(computed = eval(e));
    return comparison_truth(op, selector, *value);
  }

  bool case_matches(const CodeCase& test, const Value& selector) {
    switch (test.kind) {
      case CaseTest::Kind::Equal: return case_test(BinOp::Eq, selector, test.a);
      case CaseTest::Kind::Is: return case_test(test.op, selector, test.a);
      case CaseTest::Kind::Range: {
        if (peek(test.b))  // the high end has no side effects
          return case_test(BinOp::Ge, selector, test.a) && case_test(BinOp::Le, selector, test.b);
        const Value low = eval(test.a);
        const Value high = eval(test.b);
        return truth(corvane::binary(BinOp::Ge, selector, low)) && truth(corvane::binary(BinOp::Le, selector, high));
      }
    }
    return false;
  }

  Flow select(const CodeStmt& s) {
    const Value selector = eval(s.e1);
    for (const CodeBranch& branch : s.branches) {
      bool chosen = branch.is_else;
      for (size_t k = 0; !chosen && k < branch.cases.size(); ++k) chosen = case_matches(branch.cases[k], selector);
      if (chosen) return run(branch.body);
    }
    return Flow::Normal;
  }

  Flow for_loop(const CodeStmt& s) {
    const Symbol var = s.line->var;
    Value first = number(eval(s.e1));
    Value bound = number(eval(s.e2));
    ForCounter loop(std::move(first), std::move(bound), s.line->e3 ? number(eval(s.e3)) : Value(int64_t{1}));
    // the counter's place in the scope stays put while the body adds variables
    Scope& counters = rt.counter_scope(var, scope);
    const long counter_slot = counters.slot_of(var);
    DepthCount depth(scope.for_depth);
    for (; loop.going(); loop.advance()) {
      (counter_slot >= 0 ? counters.at(counter_slot) : counters.get_or_create(var)).value.store(loop.counter);
      count_step();
      const Flow flow = run(s.body);
      if (flow == Flow::ExitFor) break;
      if (flow != Flow::Normal) return flow;
    }
    return Flow::Normal;
  }

  Flow do_loop(const CodeStmt& s) {
    const Line& line = *s.line;
    DepthCount depth(scope.do_depth);
    while (true) {
      count_step();
      if (line.header) {
        const bool c = truth_of(s.e1);
        if ((line.header == 1 && !c) || (line.header == 2 && c)) break;
      }
      const Flow flow = run(s.body);
      if (flow == Flow::ExitDo) break;
      if (flow != Flow::Normal) return flow;
      if (line.footer) {
        const bool c = truth_of(s.e2);
        if ((line.footer == 1 && !c) || (line.footer == 2 && c)) break;
      }
    }
    return Flow::Normal;
  }

  Flow while_loop(const CodeStmt& s) {
    while (truth_of(s.e1)) {
      count_step();
      const Flow flow = run(s.body);
      if (flow != Flow::Normal) return flow;
    }
    return Flow::Normal;
  }
};

// (The activation that runs it has looked at the stack already.)
Flow VBRuntime::run_code(const ProcCode& code, CompiledBody& body, Scope& scope) {
  CodeRunner runner{*this, body, scope};
  return runner.run(code.block);
}

}  // namespace corvane
