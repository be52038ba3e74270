#pragma once
// The expression translator: one BASIC expression -> one C expression of
// type VBValue built from calls of the runtime interface.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "native_compiler/native_compiler.h"
#include "native_compiler/typed.h"

namespace corvane {

class CExpression {
 public:
  CExpression(NativeCompiler& compiler, std::string_view source, const NativeProcedure* proc, const Locals& local);

  // The expression as a VBValue C expression.
  std::string parse();
  // The expression with what is known of its type.
  Operand parse_typed();
  // The tokens are `name & piece & piece ...` (the pieces binding at least
  // as tightly as &): the pieces' VBValue C texts, else nothing.
  std::optional<std::vector<std::string>> append_pieces(std::string_view name_key);

  std::optional<std::string> peek() const;
  std::optional<std::string> take();
  bool accept(std::string_view word);
  void require(std::string_view word);
  // After "(" has been taken: argument texts and their references.
  std::pair<std::vector<Operand>, std::vector<std::optional<std::string>>> arguments();

 private:
  Operand expr(int lower);
  Operand term();
  Operand word(const std::string& token);
  Operand members(Operand term);
  Operand number(const std::string& token);
  Operand binary(const std::string& op, const Operand& left, const Operand& right);
  [[noreturn]] void fail(std::string_view message) const;

  NativeCompiler& compiler;
  const NativeProcedure* proc;
  const Locals& local;
  std::vector<std::string> tokens;
  size_t i = 0;
  int depth = 0;
};

// C text of the constant list "(VBValue[]){a,b}" (one vb_num(0) when empty).
std::string value_array(const std::vector<std::string>& items);

}  // namespace corvane
