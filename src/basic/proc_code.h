#pragma once
// A procedure body compiled once into a tree of statements and expressions
// (internal to the interpreter). Blocks know their statements, loops their
// bodies, and every reference to a variable remembers where the activation
// held it the last time, so running a line needs no search for its block
// ends and no search for its variables.
//
// Bodies with labels, jumps or error handlers keep running line by line;
// inside the tree, lines it has no faster form for run through the
// line-by-line statement and block code, on the same activation.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "basic/builtins.h"
#include "basic/compiled.h"

namespace corvane {

// A variable of the activation: its symbol and the position it had the
// last time it was found. The position is checked on every use, so a
// stale one only costs a search. An activation's variables only grow, so
// a name found absent stays absent while the activation holds as many
// variables as when it was searched (`absent_in` names the activation).
// A module variable read or set from a procedure keeps its position too.
struct LocalRef {
  Symbol symbol = NO_SYMBOL;
  mutable uint32_t hint = 0;
  mutable uint32_t absent_size = 0;
  mutable uint64_t absent_in = 0;
  mutable uint32_t module_hint = 0;
  int32_t slot = -1;  // a frame procedure's variable: its position in the frame
};

// (Aligned so that its size is a power of two: counting the kids of a
// node is then a shift.)
struct alignas(64) CodeExpr {
  enum class Kind : uint8_t {
    Constant,  // a literal or a built-in constant
    Local,   // a variable (anything else of that name through `node`)
    Binary,  // kids[0] op kids[1]
    Call,    // name(kids...): an array element or a call (node)
    Not, Plus, Negate,  // kids[0]
    Other,   // evaluated from its parsed form (node)
  };
  Kind kind = Kind::Other;
  BinOp op = BinOp::Add;
  // Operators on variables and constants: evaluating it changes no
  // variable, so an operand read before it stays valid.
  bool pure = false;
  // Call: the number of procedures when `builtin` was found.
  mutable uint32_t procs_without_name = 0;
  LocalRef local;
  const Value* value = nullptr;  // Constant
  const Node* node = nullptr;             // the parsed form
  // Call: the program's procedure of that name, once found (its entry
  // in the procedure table stays put; a redefinition replaces what it
  // holds), and the module variables' count when no module variable of
  // that name existed.
  mutable const std::shared_ptr<struct Procedure>* callee = nullptr;
  mutable size_t globals_without_name = SIZE_MAX;
  // Call: the built-in of that name, once found to answer it (no
  // procedure, variable or property had the name).
  mutable BuiltinFn builtin = nullptr;
  mutable OneArgFn one_arg = nullptr;  // its one-argument form, for a call with one argument
  // Call of a frame procedure: the arguments going back to the caller,
  // worked out for that procedure.
  mutable const struct Procedure* back_for = nullptr;
  mutable uint32_t back = 0;
  std::vector<CodeExpr> kids;
  bool plain() const { return kind == Kind::Constant || kind == Kind::Local; }
};

static_assert(sizeof(CodeExpr) == 128);

struct CodeStmt;
using CodeBlock = std::vector<CodeStmt>;

struct CodeCase {
  CaseTest::Kind kind = CaseTest::Kind::Equal;
  BinOp op = BinOp::Eq;
  CodeExpr a, b;
};

struct CodeBranch {
  CodeExpr cond;               // If: the condition
  std::vector<CodeCase> cases; // Select: the tests
  bool is_else = false;
  CodeBlock body;
};

struct CodeStmt {
  enum class Kind : uint8_t {
    AssignLocal,    // variable = e1
    AssignSum,      // variable = variable + x (e1): text may grow in place
    AssignElement,  // array(e2) = e1
    Call,           // a call statement: e1 is the call
    Statement,      // run as a compiled line (stmt)
    IfSingle,       // branches[0]: after Then, branches[1]: after Else
    IfBlock, Select, For, Do, While,
    LineBlock,      // a block run line by line (With, For Each)
  };
  // (AssignSum becomes AssignLocal once it meets a numeric variable.)
  mutable Kind kind = Kind::Statement;
  long index = 0;            // the line in the body
  const Stmt* stmt = nullptr;
  Line* line = nullptr;
  LocalRef target;
  CodeExpr e1, e2, e3;
  std::vector<CodeBranch> branches;
  CodeBlock body;
};

struct ProcCode {
  CodeBlock block;
  // The call nodes of call statements (name, arguments' reference names),
  // made for the tree.
  std::vector<std::unique_ptr<Node>> call_nodes;
  // Set when the procedure runs on a frame (see frame_code.h).
  std::shared_ptr<struct FrameLayout> frame;
};

}  // namespace corvane
