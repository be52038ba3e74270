// Members of control arrays, With targets and form variables.
#include "native_compiler/form_objects.h"

#include "native_compiler/patterns.h"

namespace corvane {

Operand control_array_member(CExpression& e, NativeCompiler& compiler, const NativeProcedure* proc,
                             const Locals& locals, const std::string& name) {
  (void)locals;
  e.require("(");
  auto args = e.arguments().first;
  if (args.size() != 1) compiler.error(proc, "A control array takes one index: " + name);
  if (!e.accept(".")) compiler.error(proc, "A control array element must be used with a member, e.g. " + name + "(0).Caption");
  auto member = e.take();
  if (!member || !valid(*member)) compiler.error(proc, "Invalid member of " + name);
  if (e.peek() && *e.peek() == "(") return control_method_result(e, compiler, name, as_value(args[0]), *member);
  return value_operand("vb_get_at(" + q(name) + "," + as_value(args[0]) + "," + q(*member) + ")");
}

Operand control_method_result(CExpression& e, NativeCompiler& compiler, const std::string& name,
                              const std::string& index, const std::string& member) {
  e.require("(");
  std::vector<std::string> operands;
  if (!index.empty()) operands.push_back(index);
  for (const Operand& a : e.arguments().first) operands.push_back(as_value(a));
  return value_operand(compiler.in_order(operands, [&](const std::vector<std::string>& v) {
    if (index.empty())
      return "vb_control_call(" + q(name) + "," + q(member) + "," + std::to_string(v.size()) + "," + value_array(v) +
             ")";
    const std::vector<std::string> rest(v.begin() + 1, v.end());
    return "vb_control_call_at(" + q(name) + "," + v[0] + "," + q(member) + "," + std::to_string(rest.size()) + "," +
           value_array(rest) + ")";
  }));
}

namespace {

bool word_char(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

// A "." here starts a With member: nothing, a blank or an operator before
// it, a letter after it (".5" is a number, "a.b" and "f(1).b" members).
bool leading_dot(std::string_view text, size_t at) {
  if (at + 1 >= text.size() || !(std::isalpha(static_cast<unsigned char>(text[at + 1])) || text[at + 1] == '_'))
    return false;
  if (at == 0) return true;
  const char before = text[at - 1];
  return std::string_view(" \t(,=<>+-*/\\&^:;#").find(before) != std::string_view::npos;
}

}  // namespace

std::string with_targets_applied(std::string_view text, std::string_view target,
                                 const std::map<std::string, std::string>& aliases) {
  std::string out;
  out.reserve(text.size());
  for (size_t k = 0; k < text.size();) {
    const char c = text[k];
    if (c == '"') {  // a literal, "" inside it included
      const size_t start = k++;
      while (k < text.size()) {
        if (text[k] == '"' && k + 1 < text.size() && text[k + 1] == '"') k += 2;
        else if (text[k++] == '"') break;
      }
      out.append(text.substr(start, k - start));
      continue;
    }
    if (c == '\'') {  // the rest is a comment
      out.append(text.substr(k));
      break;
    }
    if (c == '.' && !target.empty() && leading_dot(text, k)) {
      out.append(target);
      out += '.';
      ++k;
      continue;
    }
    if (word_char(c)) {
      size_t end = k;
      while (end < text.size() && word_char(text[end])) ++end;
      const std::string_view word = text.substr(k, end - k);
      // a name of its own (not a member "x.f", not a number "1e5")
      const bool own = (k == 0 || text[k - 1] != '.') && !std::isdigit(static_cast<unsigned char>(c));
      const auto alias = own ? aliases.find(name_key(word)) : aliases.end();
      if (alias != aliases.end()) out += alias->second;
      else out.append(word);
      k = end;
      continue;
    }
    out += c;
    ++k;
  }
  return out;
}

}  // namespace corvane
