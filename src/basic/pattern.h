#pragma once
// The interpreter's statement and line patterns: PCRE2 with UTF and Unicode
// properties (so \w and \s are Unicode-aware), compiled once each.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

class Pattern {
 public:
  enum Flags : uint32_t { NONE = 0, CASELESS = 1 };
  explicit Pattern(std::string_view pattern, uint32_t flags = CASELESS);
  ~Pattern();
  Pattern(const Pattern&) = delete;
  Pattern& operator=(const Pattern&) = delete;

  using Groups = std::vector<std::string>;  // [0] the whole match; unset groups are empty
  bool match(std::string_view subject) const;  // anchored at the start
  std::optional<Groups> match_groups(std::string_view subject) const;
  bool search(std::string_view subject) const;

 private:
  std::optional<Groups> run(std::string_view subject, bool anchored, bool want_groups) const;
  void* code_;
};

}  // namespace corvane
