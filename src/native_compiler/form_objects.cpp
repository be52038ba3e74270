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
