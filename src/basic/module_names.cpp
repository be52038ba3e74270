#include "basic/module_names.h"

#include <cctype>
#include <set>

#include "basic/declaration_reader.h"
#include "basic/source_lines.h"
#include "basic/value.h"
#include "vb6files/regex.h"

namespace corvane {

namespace {

struct ModuleNames {
  std::string module;                 // its VB_Name, else "m" and its position
  std::set<std::string> declared;     // every module-level name (lower-cased)
  std::set<std::string> private_names;
  std::set<std::string> public_names;
};

ModuleNames names_of(const std::string& source, size_t position) {
  // kept for good, used per module: compiled to machine code once used often
  constexpr uint32_t FLAGS = Regex::CASELESS | Regex::JIT_WHEN_USED;
  static const Regex vb_name(R"re(^\s*Attribute\s+VB_Name\s*=\s*"([^"]+)")re", FLAGS | Regex::MULTILINE);
  static const Regex proc_head(
      R"(^(?:(Public|Private|Friend|Global)\s+)?(?:Static\s+)?(?:Sub|Function|Property\s+(?:Get|Let|Set))\s+([\p{L}_]\w*))",
      FLAGS);
  static const Regex proc_end(R"(^End\s+(?:Sub|Function|Property)\b)", FLAGS);
  static const Regex block_head(R"(^(?:(?:Public|Private)\s+)?(?:Type|Enum)\s)", FLAGS);
  static const Regex block_end(R"(^End\s+(?:Type|Enum)\b)", FLAGS);
  ModuleNames out;
  out.module = "m" + std::to_string(position + 1);
  if (auto g = vb_name.search_groups(source)) out.module = (*g)[1];
  bool in_proc = false, in_block = false;
  for (const std::string& line : lines(source)) {
    if (in_proc) {
      in_proc = !proc_end.match(line);
      continue;
    }
    if (in_block) {
      in_block = !block_end.match(line);
      continue;
    }
    if (block_head.match(line)) {
      in_block = true;
      continue;
    }
    if (auto g = proc_head.match_groups(line)) {
      const std::string name = lower((*g)[2]);
      out.declared.insert(name);
      (lower((*g)[1]) == "private" ? out.private_names : out.public_names).insert(name);
      in_proc = true;
      continue;
    }
    const auto declaration = read_declaration(line);
    if (!declaration) continue;
    const std::string scope = lower(declaration->scope);
    // Dim and a bare Const at module level are Private too
    const bool is_private = scope.empty() || scope == "private" || scope == "dim";
    for (const DeclaredName& d : declaration->names) {
      const std::string name = lower(d.name);
      out.declared.insert(name);
      (is_private ? out.private_names : out.public_names).insert(name);
    }
  }
  return out;
}

bool name_char(unsigned char c) { return std::isalnum(c) || c == '_' || c >= 0x80; }

// Every use of the names in the text (outside strings and comments, not
// after a member dot) with "__" and the module's name appended.
std::string renamed(const std::string& text, const std::set<std::string>& names, const std::string& module) {
  std::string out;
  out.reserve(text.size() + 64);
  size_t i = 0;
  char before = '\n';  // the last character that is not a blank
  while (i < text.size()) {
    const char c = text[i];
    if (c == '"') {
      const size_t close = text.find('"', i + 1);
      const size_t end = close == std::string::npos ? text.size() : close + 1;
      out.append(text, i, end - i);
      i = end;
      before = '"';
      continue;
    }
    if (c == '\'') {
      const size_t end = std::min(text.find('\n', i), text.size());
      out.append(text, i, end - i);
      i = end;
      continue;
    }
    if (std::isalpha(static_cast<unsigned char>(c)) || c == '_' || static_cast<unsigned char>(c) >= 0x80) {
      size_t end = i;
      while (end < text.size() && name_char(static_cast<unsigned char>(text[end]))) ++end;
      const std::string word = text.substr(i, end - i);
      out += word;
      if (before != '.' && names.count(lower(word))) out += "__" + module;
      i = end;
      before = 'a';
      continue;
    }
    out += c;
    if (c != ' ' && c != '\t') before = c;
    ++i;
  }
  return out;
}

}  // namespace

void keep_private_names_apart(std::vector<std::string>& sources) {
  if (sources.size() < 2) return;
  std::vector<ModuleNames> modules;
  for (size_t i = 0; i < sources.size(); ++i) modules.push_back(names_of(sources[i], i));
  for (size_t j = 0; j < modules.size(); ++j) {
    std::set<std::string> own;
    for (const std::string& name : modules[j].private_names) {
      for (size_t k = 0; k < modules.size(); ++k) {
        if (k == j) continue;
        if ((k < j && modules[k].declared.count(name)) || modules[k].public_names.count(name)) {
          own.insert(name);
          break;
        }
      }
    }
    if (!own.empty()) sources[j] = renamed(sources[j], own, modules[j].module);
  }
}

}  // namespace corvane
