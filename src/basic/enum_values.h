#pragma once
// Enum items whose value is an expression (`Last = First + 4`,
// `NotFound = vbObjectError + 513`, `Both = Left Or Right`): worked out
// once, when the Enum is read, the same way by the interpreter and the
// native compiler.
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace corvane {

// The member of that lower-cased name read so far, if any.
using EnumMemberLookup = std::function<std::optional<long long>(const std::string&)>;

// The expression's value: numbers, the built-in constants, members that
// `known` gives, parentheses and operators. Nothing when the expression
// holds anything else, fails (division by zero, overflow) or is not a
// whole number.
std::optional<long long> enum_item_value(std::string_view expression, const EnumMemberLookup& known);

}  // namespace corvane
