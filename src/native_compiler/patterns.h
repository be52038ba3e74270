#pragma once
// Small text helpers of the native compiler: case-insensitive patterns
// (keywords are matched in any case) and stripping. Lower-casing is the
// interpreter's own `lower`, so names fold the same way in both engines.
#include <string>
#include <optional>
#include <string_view>
#include <vector>

#include "basic/source_lines.h"
#include "basic/value.h"
#include "model/names.h"
#include "vb6files/regex.h"

namespace corvane {

inline std::string strip_text(std::string_view text) { return strip(text); }

// The whole text matches `pattern` (keywords in any case).
inline std::optional<Regex::Groups> full(const Regex& pattern, std::string_view text) {
  return pattern.match_groups(text);
}

// Non-blank comma pieces (outside strings and parentheses), stripped.
std::vector<std::string> comma_pieces(std::string_view text);

// A method statement on what a member chain gives: the owner is itself a
// chain (a.Add("x").Add "y", Form1.lstNames.AddItem s, a.b.Clear).
struct ChainedCall {
  std::string owner, method, args;  // args as written
};
std::optional<ChainedCall> chained_method_call(std::string_view line);

}  // namespace corvane
