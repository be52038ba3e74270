#include "native_compiler/language_extras.h"

#include <map>

#include "basic/source_lines.h"
#include "basic/value.h"
#include "native_compiler/expressions.h"
#include "vb6files/regex.h"
#include "native_compiler/native_compiler.h"

namespace corvane {

namespace {

// Conversions that read "&H1F" and "&O17" texts as numbers, and the
// built-in that does the rest (CDec: Decimals are Doubles here).
const std::map<std::string, std::string, std::less<>>& radix_conversions() {
  static const std::map<std::string, std::string, std::less<>> table = {
      {"cint", "cint"}, {"clng", "clng"}, {"cdbl", "cdbl"}, {"csng", "csng"}, {"cdec", "cdbl"},
      {"ccur", "ccur"}, {"cbyte", "cbyte"}, {"val", "val"}};
  return table;
}

// Helpers of two operands, reached through names the expression reader
// and the statement reader give them.
const std::map<std::string, std::string, std::less<>>& pair_helpers() {
  static const std::map<std::string, std::string, std::less<>> table = {
      {"__typeof_is", "vb_typeof_is"}, {"__lset", "vb_lset"}, {"__rset", "vb_rset"}};
  return table;
}

// InStr and InStrRev with a comparison mode (the fourth argument).
const std::map<std::string, std::string, std::less<>>& compare_searches() {
  static const std::map<std::string, std::string, std::less<>> table = {{"instr", "vb_instr_compare"},
                                                                         {"instrrev", "vb_instrrev_compare"}};
  return table;
}

}  // namespace

bool is_language_extra(const std::string& key, size_t argument_count) {
  return key == "__element" || radix_conversions().count(key) || pair_helpers().count(key) ||
         (argument_count == 4 && compare_searches().count(key)) || (key == "replace" && argument_count > 3);
}

std::optional<std::string> language_extra_call(const std::string& key, const std::vector<std::string>& args) {
  if (key == "__element" && args.size() >= 2) {
    const std::vector<std::string> indexes(args.begin() + 1, args.end());
    return "vb_element_of(" + args[0] + "," + std::to_string(indexes.size()) + "," + value_array(indexes) + ")";
  }
  if (key == "replace" && args.size() > 3)
    return "vb_replace_from(" + std::to_string(args.size()) + "," + value_array(args) + ")";
  if (const auto it = compare_searches().find(key); it != compare_searches().end() && args.size() == 4)
    return it->second + "(4," + value_array(args) + ")";
  if (const auto it = pair_helpers().find(key); it != pair_helpers().end() && args.size() == 2)
    return it->second + "(" + args[0] + "," + args[1] + ")";
  if (const auto it = radix_conversions().find(key); it != radix_conversions().end()) {
    std::vector<std::string> converted = args;
    if (!converted.empty()) converted[0] = "vb_radix_text(" + converted[0] + ")";
    return "vb_builtin(" + q(it->second) + "," + std::to_string(converted.size()) + "," + value_array(converted) + ")";
  }
  return std::nullopt;
}

std::optional<std::string> implication_function(BinOp op) {
  if (op == BinOp::Imp) return "vb_imp";
  if (op == BinOp::Eqv) return "vb_eqv";
  return std::nullopt;
}

std::optional<std::string> fixed_text_store(const std::string& declared, const std::string& value) {
  if (declared.rfind("string*", 0) != 0) return std::nullopt;
  return "vb_fixed_text(" + value + "," + std::to_string(std::stoll("0" + declared.substr(7))) + "LL)";
}

std::set<std::string, std::less<>> enum_type_names(const std::vector<std::string>& sources) {
  static const Regex enum_head(R"(^(?:(?:Public|Private)\s+)?Enum\s+([\p{L}_]\w*)\s*$)", Regex::CASELESS);
  std::set<std::string, std::less<>> out;
  for (const std::string& source : sources)
    for (const std::string& line : lines(source))
      if (auto g = enum_head.match_groups(line)) out.insert(lower((*g)[1]));
  return out;
}

}  // namespace corvane
