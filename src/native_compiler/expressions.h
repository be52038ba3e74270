#pragma once
// The expression translator: one BASIC expression -> one C expression of
// type VBValue built from calls of the runtime interface.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "native_compiler/native_compiler.h"

namespace corvane {

class CExpression {
 public:
  CExpression(NativeCompiler& compiler, std::string_view source, const NativeProcedure* proc, const Locals& local);

  std::string parse();

  std::optional<std::string> peek() const;
  std::optional<std::string> take();
  bool accept(std::string_view word);
  void require(std::string_view word);
  // After "(" has been taken: argument texts and their references.
  std::pair<std::vector<std::string>, std::vector<std::optional<std::string>>> arguments();

 private:
  std::string expr(int lower);
  std::string term();
  std::string word(const std::string& token);
  std::string members(std::string term);
  std::string number(const std::string& token);
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
