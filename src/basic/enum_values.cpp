#include "basic/enum_values.h"

#include "basic/builtins.h"
#include "basic/expr.h"
#include "basic/value.h"

namespace corvane {

namespace {

std::optional<Value> constant_value(const Node& node, const EnumMemberLookup& known) {
  switch (node.kind) {
    case NodeKind::Literal: return node.literal;
    case NodeKind::Name: {
      if (node.symbol < sym::CONSTANT_COUNT) return *builtin_constant(node.symbol);
      const std::optional<long long> member = known(lower(node.text));
      if (!member) return std::nullopt;
      return Value(static_cast<int64_t>(*member));
    }
    case NodeKind::Binary: {
      const auto left = constant_value(*node.kids[0], known);
      const auto right = left ? constant_value(*node.kids[1], known) : std::nullopt;
      if (!right) return std::nullopt;
      return binary(node.op, *left, *right);
    }
    case NodeKind::Negate:
    case NodeKind::Plus:
    case NodeKind::Not: {
      const auto operand = constant_value(*node.kids[0], known);
      if (!operand) return std::nullopt;
      if (node.kind == NodeKind::Negate) return negate(*operand);
      if (node.kind == NodeKind::Plus) return number(*operand);
      return Value(!truth(*operand));
    }
    default: return std::nullopt;
  }
}

}  // namespace

std::optional<long long> enum_item_value(std::string_view expression, const EnumMemberLookup& known) {
  const NodePtr node = ExprParser::parse(expression);
  try {
    const std::optional<Value> value = constant_value(*node, known);
    if (!value || value->is_string()) return std::nullopt;
    const Value whole = number(*value);
    if (!whole.is_int()) return std::nullopt;
    return whole.as_int();
  } catch (const VBError&) {
    return std::nullopt;
  }
}

}  // namespace corvane
