#pragma once
// What every runner of a statement tree shares (internal to the
// interpreter): operators, conditions, Select Case, loops and the
// statement loop with its step count and error location. A runner
// (CRTP: `Runner` derives from TreeRunner<Runner>) says where variables
// live and how calls, assignments and the statements the tree keeps as
// lines run:
//
//   Var* variable(const LocalRef&)       the variable of a name, or null
//   const Value* peek_other(const CodeExpr&)  a name that is no variable, read in place
//   Value eval_other(const CodeExpr&)    a name that is no variable, or a parsed form
//   Var* array_of(const CodeExpr&)      the array variable a call's name reads, or null
//   bool lacks_variable(const CodeExpr&)  whether no variable has a call's name
//   Value call(const CodeExpr&)
//   Flow assign_local(const CodeStmt&), assign_sum(...), assign_element(...)
//   Flow statement(const CodeStmt&), line_block(const CodeStmt&)
//   Var& counter(const CodeStmt&, CounterPlace&)  the For counter's variable
//   int* for_depth(), int* do_depth()    the activation's loop nesting, or null
//   void locate(VBError&, long index)
#include <new>
#include <stdexcept>

#include "basic/apply.h"
#include "basic/loops.h"
#include "basic/proc_code.h"
#include "basic/runtime.h"

namespace corvane {

// Where a For loop keeps its counter: found on the loop's first use, and
// looked at again on every round (the body may add variables beside it).
struct CounterPlace {
  Scope* scope = nullptr;
  long slot = -1;  // -1: no fixed place, the name is looked up
};

template <class Runner>
struct TreeRunner {
  VBRuntime& rt;

  explicit TreeRunner(VBRuntime& r) : rt(r) {}
  Runner& self() { return static_cast<Runner&>(*this); }

  // The value of a constant or variable without copying it; nullptr when
  // the expression needs an evaluation.
  [[gnu::always_inline]] const Value* peek(const CodeExpr& e) {
    if (e.kind == CodeExpr::Kind::Constant) return e.value;
    if (e.kind != CodeExpr::Kind::Local) return e.kind == CodeExpr::Kind::Call ? peek_element(e) : nullptr;
    if (Var* v = self().variable(e.local)) return &v->value;
    return self().peek_other(e);
  }

  // Whether evaluating the expression changes no variable: operators on
  // variables and constants, and an element of an array read with such a
  // subscript. An operand read in place before it stays valid.
  [[gnu::always_inline]] bool changes_nothing(const CodeExpr& e) {
    return e.pure || (e.kind == CodeExpr::Kind::Call && reads_element(e));
  }

  // An element of an array variable read in place, when its subscript
  // changes no variable (a variable, a constant, j + 1).
  [[gnu::always_inline]] const Value* peek_element(const CodeExpr& e) {
    if (e.kids.size() != 1 || !e.kids[0].pure) return nullptr;
    Var* array = self().array_of(e);
    return array ? element_in_place(e, *array) : nullptr;
  }

  [[gnu::always_inline]] bool reads_element(const CodeExpr& e) {
    return e.kids.size() == 1 && e.kids[0].pure && self().array_of(e);
  }

  // `v`: the array variable (the subscript, like j + 1, changes no variable)
  [[gnu::noinline]] const Value* element_in_place(const CodeExpr& e, Var& v) {
    Value computed;
    const Value* index = peek(e.kids[0]);
    if (!index) index = &(computed = eval(e.kids[0]));
    const VBArray& a = *v.value.as_array();
    return &a.items[VBRuntime::element_index(a, *index, e.node->text)];
  }

  // A call's name answered by a built-in: found once the general dispatch
  // reaches it with nothing else of that name (no procedure, variable,
  // control or property), and called straight while no procedure,
  // variable or control has taken the name since. (Procedures are only
  // added, and replaced under the same name.)
  [[gnu::always_inline]] bool builtin_answers(const CodeExpr& e) {
    return rt.procs.size() == e.procs_without_name && self().lacks_variable(e) &&
           (rt.controls_.empty() || !rt.controls_.count(e.local.symbol));
  }

  // After the procedure table had no entry for the call's name.
  [[gnu::noinline]] void remember_builtin(const CodeExpr& e) {
    if (e.callee || e.builtin || rt.property_names.count(e.local.symbol)) return;
    e.procs_without_name = static_cast<uint32_t>(rt.procs.size());
    if (!builtin_answers(e)) return;
    if (const BuiltinEntry* entry = find_builtin_entry(e.local.symbol)) {
      e.builtin = entry->fn;
      e.one_arg = e.kids.size() == 1 ? entry->one : nullptr;
    }
  }

  // Whether the built-in found before still answers the call's name;
  // forgets it when not.
  [[gnu::always_inline]] bool builtin_still_answers(const CodeExpr& e) {
    if (builtin_answers(e)) return true;
    forget_builtin(e);
    return false;
  }

  [[gnu::noinline]] void forget_builtin(const CodeExpr& e) {
    e.builtin = nullptr;
    e.one_arg = nullptr;
  }

  // The arguments, then the built-in, as the general dispatch calls it; a
  // lone argument is read in place by a function that has that form.
  [[gnu::always_inline]] Value call_builtin(const CodeExpr& e) {
    if (e.one_arg) {
      Value computed;
      return e.one_arg(rt, operand(e.kids[0], computed));
    }
    return call_builtin_listed(e);
  }

  [[gnu::noinline]] Value call_builtin_listed(const CodeExpr& e) {
    rt.check_stack();
    VBRuntime::ArgList list(rt);
    list.values.reserve(e.kids.size());
    for (const CodeExpr& kid : e.kids) list.values.push_back(eval(kid));
    return e.builtin(rt, list.values);
  }

  // The value of an operand: read in place when it can be, else computed
  // into `computed`.
  [[gnu::always_inline]] const Value& operand(const CodeExpr& e, Value& computed) {
    if (const Value* v = peek(e)) return *v;
    return computed = eval(e);
  }

  // Small enough to need few saved registers: constants, variables and
  // calls here, operators and the rest out of line.
  [[gnu::always_inline]] Value eval(const CodeExpr& e) {
    switch (e.kind) {
      case CodeExpr::Kind::Constant: return *e.value;
      case CodeExpr::Kind::Local:
        if (Var* v = self().variable(e.local)) return v->value;
        break;
      case CodeExpr::Kind::Call: return self().call(e);
      case CodeExpr::Kind::Binary: return binary_of(e);
      default: break;
    }
    return unary_or_other(e);
  }

  // eval() out of line: for the rarely taken paths of small functions
  [[gnu::noinline]] Value eval_apart(const CodeExpr& e) { return eval(e); }

  [[gnu::noinline]] Value binary_of(const CodeExpr& e) {
    // two variables or constants (n - 1, a + b): read in place here
    if (e.kids[0].plain() && e.kids[1].plain())
      if (const Value* left = peek(e.kids[0]))
        if (const Value* right = peek(e.kids[1])) return apply(e.op, *left, *right);
    return binary(e);
  }

  [[gnu::noinline]] Value unary_or_other(const CodeExpr& e) {
    switch (e.kind) {
      case CodeExpr::Kind::Not: return Value(!truth(eval(e.kids[0])));
      case CodeExpr::Kind::Plus: return number(eval(e.kids[0]));
      case CodeExpr::Kind::Negate: return negate(eval(e.kids[0]));
      default: return self().eval_other(e);
    }
  }

  // Operands that are variables or constants are read in place; the left
  // one only when the right one has no side effects.
  // (A call on the right that was no array element is not looked at again
  // before it is evaluated: its call finds an array made meanwhile.)
  [[gnu::noinline]] Value binary(const CodeExpr& e) {
    const CodeExpr& left = e.kids[0];
    const CodeExpr& right = e.kids[1];
    const bool steady = changes_nothing(right);
    if (const Value* lp = steady ? peek(left) : nullptr) {
      if (const Value* rp = peek(right)) return apply(e.op, *lp, *rp);
      const Value r = eval(right);
      return apply(e.op, *lp, r);
    }
    const Value l = eval(left);
    if (steady || right.kind != CodeExpr::Kind::Call)
      if (const Value* rp = peek(right)) return apply(e.op, l, *rp);
    const Value r = eval(right);
    return apply(e.op, l, r);
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

  Flow run(const CodeBlock& block) {
    for (const CodeStmt& s : block) {
      count_step();
      Flow flow;
      try {
        flow = exec(s);
      } catch (VBError& e) {
        self().locate(e, s.index);
        throw;
      } catch (const std::bad_alloc&) {
        VBError e(7, "Out of memory");
        self().locate(e, s.index);
        throw e;
      } catch (const std::length_error&) {
        VBError e(7, "Out of memory");
        self().locate(e, s.index);
        throw e;
      }
      if (flow != Flow::Normal) return flow;
    }
    return Flow::Normal;
  }

  Flow exec(const CodeStmt& s) {
    switch (s.kind) {
      case CodeStmt::Kind::AssignLocal: return self().assign_local(s);
      case CodeStmt::Kind::AssignSum: return self().assign_sum(s);
      case CodeStmt::Kind::AssignElement: return self().assign_element(s);
      case CodeStmt::Kind::Call: self().call(s.e1); return Flow::Normal;
      case CodeStmt::Kind::Statement: return self().statement(s);
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
      case CodeStmt::Kind::LineBlock: return self().line_block(s);
    }
    return Flow::Normal;
  }

  // One comparison of a Case line; Integers compare without building a value.
  bool case_test(BinOp op, const Value& selector, const CodeExpr& e) {
    Value computed;
    const Value* value = peek(e);
    if (!value) value = &(computed = eval_apart(e));  // (Case values are mostly constants)
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

  // Counts a loop level of the activation while it lives, when the
  // runner keeps the count.
  struct Nesting {
    int* depth;
    explicit Nesting(int* d) : depth(d) {
      if (depth) ++*depth;
    }
    ~Nesting() {
      if (depth) --*depth;
    }
    Nesting(const Nesting&) = delete;
    Nesting& operator=(const Nesting&) = delete;
  };

  Flow for_loop(const CodeStmt& s) {
    Value first = number(eval(s.e1));
    Value bound = number(eval(s.e2));
    ForCounter loop(std::move(first), std::move(bound), s.line->e3 ? number(eval(s.e3)) : Value(int64_t{1}));
    // the counter exists from here on, even when the loop runs no round
    CounterPlace place;
    self().counter(s, place);
    Nesting depth(self().for_depth());
    for (; loop.going(); loop.advance()) {
      self().counter(s, place).value.store(loop.counter);
      count_step();
      const Flow flow = run(s.body);
      if (flow == Flow::ExitFor) break;
      if (flow != Flow::Normal) return flow;
    }
    return Flow::Normal;
  }

  Flow do_loop(const CodeStmt& s) {
    const Line& line = *s.line;
    Nesting depth(self().do_depth());
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

}  // namespace corvane
