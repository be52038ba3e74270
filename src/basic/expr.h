#pragma once
// Expressions: ExprParser turns the tokens of an expression into a small
// tree that VBRuntime evaluates. A parse error becomes a failing node at the
// point where it was found, so the parts to its left are still evaluated
// first (with their side effects) and the message appears exactly when an
// evaluation that parses as it goes would raise it.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "basic/symbols.h"
#include "basic/tokens.h"
#include "basic/value.h"

namespace corvane {

enum class NodeKind : uint8_t {
  Literal,  // literal
  Name,     // symbol (lookup key), text (name as written)
  Call,     // symbol (call key), text (name as written), kids (arguments), refs
  Member,   // kids[0] (object), text (member)
  Method,   // kids[0] (object), kids[1..] (arguments), text (member)
  Not,      // kids[0]
  Plus,     // kids[0]
  Negate,   // kids[0]
  Binary,   // op, kids[0], kids[1]
  New,      // text (class name)
  Fail,     // kids evaluated in order, then VBError(text)
};

struct Node {
  NodeKind kind = NodeKind::Literal;
  BinOp op = BinOp::Add;
  Symbol symbol = NO_SYMBOL;
  int depth = 1;
  Value literal;
  std::string text;
  std::vector<std::unique_ptr<Node>> kids;
  std::vector<Symbol> refs;  // Call: the reference name of each argument, or NO_SYMBOL
};

using NodePtr = std::unique_ptr<Node>;

// The built-in a TypeOf test calls, with the object and the type name.
inline constexpr const char* TYPE_TEST_CALL = "__typeof_is";
// The built-in an element of a call's result calls (F(x)(i)), with the
// result and the subscripts.
inline constexpr const char* ELEMENT_CALL = "__element";

// Deepest nesting of an expression (parentheses, operators, calls).
inline constexpr int MAX_EXPRESSION_DEPTH = 1000;

class ExprParser {
 public:
  // Never throws a VBError: failures become Fail nodes.
  static NodePtr parse(std::string_view text);

 private:
  explicit ExprParser(std::vector<Token> tokens) : tokens_(std::move(tokens)) {}
  const std::string* peek() const;
  std::string take();
  bool match(std::string_view text);
  NodePtr expr(int min_level, int nesting);
  NodePtr primary(int nesting);
  NodePtr indexed_results(NodePtr value, int nesting);
  NodePtr type_test(int nesting);
  std::vector<NodePtr> arguments(int nesting, std::vector<Symbol>* refs);

  std::vector<Token> tokens_;
  size_t pos_ = 0;
};

// The lower-cased key of a call: its type suffix removed (Left$ is Left).
std::string call_key(std::string_view name);

// A name as written without its type suffix: x$, x% and x are one name.
std::string_view without_type_suffix(std::string_view name);

}  // namespace corvane
