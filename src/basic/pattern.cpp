#define PCRE2_CODE_UNIT_WIDTH 8
#include "basic/pattern.h"

#include <pcre2.h>

#include <new>
#include <stdexcept>

namespace corvane {

Pattern::Pattern(std::string_view pattern, uint32_t flags) {
  uint32_t options = PCRE2_UTF | PCRE2_UCP | PCRE2_MATCH_INVALID_UTF;
  if (flags & CASELESS) options |= PCRE2_CASELESS;
  int error = 0;
  PCRE2_SIZE offset = 0;
  pcre2_code* code = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern.data()), pattern.size(), options, &error,
                                   &offset, nullptr);
  if (!code) throw std::invalid_argument("bad pattern: " + std::string(pattern));
  pcre2_jit_compile(code, PCRE2_JIT_COMPLETE);
  code_ = code;
}

Pattern::~Pattern() { pcre2_code_free(static_cast<pcre2_code*>(code_)); }

std::optional<Pattern::Groups> Pattern::run(std::string_view subject, bool anchored, bool want_groups) const {
  auto* code = static_cast<pcre2_code*>(code_);
  pcre2_match_data* data = pcre2_match_data_create_from_pattern(code, nullptr);
  if (!data) throw std::bad_alloc();
  const int rc = pcre2_match(code, reinterpret_cast<PCRE2_SPTR>(subject.data()), subject.size(), 0,
                             anchored ? PCRE2_ANCHORED : 0, data, nullptr);
  std::optional<Groups> result;
  if (rc >= 0) {
    result.emplace();
    if (want_groups) {
      const uint32_t count = pcre2_get_ovector_count(data);
      const PCRE2_SIZE* ov = pcre2_get_ovector_pointer(data);
      for (uint32_t i = 0; i < count; ++i)
        result->push_back(ov[2 * i] == PCRE2_UNSET ? std::string()
                                                   : std::string(subject.substr(ov[2 * i], ov[2 * i + 1] - ov[2 * i])));
    }
  }
  pcre2_match_data_free(data);
  return result;
}

bool Pattern::match(std::string_view subject) const { return run(subject, true, false).has_value(); }
std::optional<Pattern::Groups> Pattern::match_groups(std::string_view subject) const { return run(subject, true, true); }
bool Pattern::search(std::string_view subject) const { return run(subject, false, false).has_value(); }

}  // namespace corvane
