#pragma once
// The expression translator: one BASIC expression -> one C expression of
// type VBValue built from calls of the runtime interface.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "basic/expr.h"
#include "native_compiler/native_compiler.h"
#include "native_compiler/typed.h"

namespace corvane {

class CExpression {
 public:
  // Reads `source` with the interpreter's expression reader, so both
  // engines see the same tree.
  CExpression(NativeCompiler& compiler, std::string_view source, const NativeProcedure* proc, const Locals& local);

  // The expression as a VBValue C expression.
  std::string parse();
  // The expression with what is known of its type.
  Operand parse_typed();
  // The expression is `name & piece & piece ...` (the pieces binding at
  // least as tightly as &): the pieces' VBValue C texts, else nothing.
  std::optional<std::vector<std::string>> append_pieces(std::string_view name_key);

 private:
  Operand translate(const Node& node);
  Operand literal(const Value& value);
  Operand name(const Node& node);
  Operand call(const Node& node);
  // A call of a procedure of the program, with its result kind.
  Operand procedure_call(const std::string& written, const std::vector<Operand>& typed_args,
                         const std::vector<std::optional<std::string>>& refs);
  Operand member(const Node& node);
  Operand module_member(const Node& node);
  Operand object_member(const Node& node, const std::string& written, const std::string& key);
  Operand control_array_member(const Node& node);
  // Whether a variable of that name is in reach here.
  bool names_variable(const std::string& written) const;
  Operand object_new(const Node& node);
  Operand unary(const Node& node);
  Operand binary(BinOp op, const Operand& left, const Operand& right);
  // The argument nodes from `first` on: their operands and, for a call's
  // plain variable arguments, the variables' C names.
  std::pair<std::vector<Operand>, std::vector<std::optional<std::string>>> arguments(const Node& node,
                                                                                     size_t first);
  // Whole-number fast paths of Variant code (see vb_fast_int).
  bool fast_paths() const;
  std::optional<std::string> fast_of(const Operand& op) const;
  std::optional<Operand> fast_binary(BinOp code, const Operand& left, const Operand& right);
  // A Variant whose value is `fast` when that succeeds, else `slow`.
  Operand fast_value(const std::string& fast, const std::string& slow);
  [[noreturn]] void fail(std::string_view message) const;
  void check() const;

  NativeCompiler& compiler;
  const NativeProcedure* proc;
  const Locals& local;
  bool blank = false;
  // The node being translated stands where an object is expected (an
  // argument of a procedure, an operand of Is): a control named alone is
  // the control, not its default member.
  bool want_object_ = false;
  bool member_object_ = false;  // the member being translated is wanted as an object
  NodePtr tree;
};

// The VBValue C text of a constant written as one literal (a number,
// possibly negated, a string, True or False), read as the interpreter reads
// it; nothing for any other expression.
std::optional<std::string> literal_constant(std::string_view text);

// The whole-number fast form of an operand (see vb_fast_int): a
// composite's own, a Variant variable read in place, pure Integer C or an
// Integer constant; nothing for anything else.
std::optional<std::string> fast_form(const Operand& op);
// A variable's C text that can be read any number of times: a name, or
// what a by-reference parameter points at.
bool is_c_lvalue(std::string_view c_text);
std::string replace_all(std::string text, std::string_view from, std::string_view to);

// Where a Variant expression with a fast form lands, its Integer is put
// in place (vb_put_int, field by field, as the fast forms read variables;
// a function's result and an argument's cell, which are copied whole,
// in two halves) instead of as a whole value that is copied: the
// statement storing it into the variable `target`, and a by-value
// argument's cell. Nothing when the value has no fast form.
std::optional<std::string> fast_assignment(NativeCompiler& compiler, const Operand& value, const std::string& target);
std::optional<std::string> fast_cell(NativeCompiler& compiler, const Operand& value);

// C text of the constant list "(VBValue[]){a,b}" (one vb_num(0) when empty).
std::string value_array(const std::vector<std::string>& items);

}  // namespace corvane
