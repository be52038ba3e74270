#pragma once
// A compiled PCRE2 pattern (UTF, Unicode properties, JIT where available).
// Patterns are compiled once, typically into a function-local static.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

class Regex {
 public:
  // MULTILINE: "^" and "$" also match at line feeds inside the subject.
  // JIT_WHEN_USED: compiled to machine code only once it has matched a
  // number of subjects (for patterns kept for good that most programs
  // use a few times: compiling costs as much as hundreds of matches).
  enum Flags : uint32_t { NONE = 0, CASELESS = 1, MULTILINE = 2, JIT_WHEN_USED = 4 };

  // Throws std::invalid_argument with PCRE2's message for a bad pattern.
  explicit Regex(std::string_view pattern, uint32_t flags = NONE);
  ~Regex();
  Regex(const Regex&) = delete;
  Regex& operator=(const Regex&) = delete;

  // Captured groups of one match: groups[0] is the whole match; a group that
  // did not take part is empty.
  using Groups = std::vector<std::string>;

  // A match anywhere in the subject.
  bool search(std::string_view subject) const;
  std::optional<Groups> search_groups(std::string_view subject) const;
  // A match that starts at the beginning of the subject.
  bool match(std::string_view subject) const;
  std::optional<Groups> match_groups(std::string_view subject) const;

 private:
  std::optional<Groups> run(std::string_view subject, bool anchored, bool want_groups) const;
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace corvane
