// Members of control arrays, With targets and form variables.
#include "native_compiler/form_objects.h"

#include "native_compiler/patterns.h"

namespace corvane {

namespace {

bool word_char(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

}  // namespace

std::string with_targets_applied(std::string_view text, std::string_view target,
                                 const std::map<std::string, std::string>& aliases) {
  const std::string spelled = target.empty() ? std::string(text) : with_members(text, target);
  if (aliases.empty()) return spelled;
  std::string out;
  out.reserve(spelled.size());
  for (size_t k = 0; k < spelled.size();) {
    const char c = spelled[k];
    if (c == '"') {  // a literal, "" inside it included
      const size_t start = k++;
      while (k < spelled.size()) {
        if (spelled[k] == '"' && k + 1 < spelled.size() && spelled[k + 1] == '"') k += 2;
        else if (spelled[k++] == '"') break;
      }
      out.append(spelled, start, k - start);
      continue;
    }
    if (word_char(c)) {
      size_t end = k;
      while (end < spelled.size() && word_char(spelled[end])) ++end;
      const std::string word = spelled.substr(k, end - k);
      // a name of its own (not a member "x.f", not a number "1e5")
      const bool own = (k == 0 || spelled[k - 1] != '.') && !std::isdigit(static_cast<unsigned char>(c));
      const auto alias = own ? aliases.find(name_key(word)) : aliases.end();
      out += alias != aliases.end() ? alias->second : word;
      k = end;
      continue;
    }
    out += c;
    ++k;
  }
  return out;
}

}  // namespace corvane
