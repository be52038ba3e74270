#pragma once
// Line rules of the BASIC dialect, shared by the interpreter and the native
// compiler: comment removal, splitting outside strings and parentheses,
// logical lines (continuations, colons, Rem) and the assignment sign.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

// Removes a trailing ' comment (outside string literals).
std::string comment(std::string_view line);
// Splits at `separator` outside string literals and parentheses; pieces are
// returned unstripped, empty ones included.
std::vector<std::string> split_outside(std::string_view text, char separator = ':');
// Source text -> logical lines. A comment whose text ends with " _" goes
// on over the next physical line, as in VB6.
std::vector<std::string> lines(std::string_view source);
// The same, with the 1-based physical line number where each logical line
// begins appended to `numbers`.
std::vector<std::string> lines(std::string_view source, std::vector<int>* numbers);
// The index of the parenthesis closing the one at `open` (outside string
// literals), or npos.
size_t closing_paren(std::string_view text, size_t open);
// Removes one pair of parentheses enclosing the whole text, when the first
// "(" is closed by the last ")" (outside string literals); stripped.
std::string unparenthesize(std::string_view text);
// The arguments of a statement call as written (Foo a, b / Call Foo(a, b)):
// unparenthesized, split at commas outside strings and parentheses,
// stripped. A blank piece among several is a left-out argument (kept as
// ""); a blank text has no arguments.
std::vector<std::string> read_call_arguments(std::string_view text);

// One item of a Print list as written, and the separator after it (';',
// ',' or 0 at the end). For Spc(n) and Tab(n) the text is n.
struct PrintListItem {
  enum class Kind : uint8_t { Expr, Spc, Tab } kind = Kind::Expr;
  std::string text;  // stripped; empty for a bare separator
  char separator = 0;
};
// The items of a Print list, split at ';' and ',' outside strings and
// parentheses. Nothing after a last separator: the list ends with it.
std::vector<PrintListItem> read_print_list(std::string_view text);

// Index (in bytes) of the assignment sign of a statement, or -1.
long find_equal(std::string_view text);
// "LSet target = value" / "RSet target = value" as the assignment both
// engines run: "target = __lset(target, (value))"; other lines as they are.
std::string justified_assignment(std::string_view line);
// Members written with a leading "." (inside a With block) spelled out as
// members of `target`: "x = .Name & .Phone" -> "x = T.Name & T.Phone". A
// "." after a name, ")" or a digit is an ordinary member or a number; string
// literals and comments are left alone; a member before index `from`
// stays as written.
std::string with_members(std::string_view text, std::string_view target, size_t from = 0);

// White space of any kind (as in the dialect's stripping of lines).
bool is_space_char(char32_t c);
std::string strip(std::string_view text);
std::string_view strip_view(std::string_view text);

}  // namespace corvane
