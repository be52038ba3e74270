// Language helpers reached as built-ins: CDec, the type test of TypeOf,
// LSet/RSet, and "&H"/"&O" texts read by the numeric conversions.
#include <cmath>

#include "basic/builtins_support.h"
#include "basic/expr.h"
#include "basic/objects.h"
#include "basic/runtime.h"

namespace corvane {

using namespace builtin_support;

Value radix_text(const Value& value) {
  if (!value.is_string()) return value;
  const std::string& text = value.as_string();
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  if (i + 1 >= text.size() || text[i] != '&') return value;
  const char mark = static_cast<char>(std::tolower(static_cast<unsigned char>(text[i + 1])));
  const int base = mark == 'h' ? 16 : mark == 'o' ? 8 : 0;
  if (!base) return value;
  uint64_t v = 0;
  size_t digits = 0;
  for (i += 2; i < text.size(); ++i, ++digits) {
    const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(text[i])));
    const int d = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : 99;
    if (d >= base) break;
    v = v * static_cast<uint64_t>(base) + static_cast<uint64_t>(d);
    if (v > 0xFFFFFFFFull) throw VBError(6, "Overflow");
  }
  const bool long_mark = i < text.size() && text[i] == '&';
  if (long_mark) ++i;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  if (!digits || i < text.size()) return value;
  // VB6 reads them as literals: short ones are 16-bit, the rest 32-bit, signed
  if (!long_mark && v <= 0xFFFF && digits <= (base == 16 ? 4u : 6u))
    return Value(static_cast<int64_t>(static_cast<int16_t>(static_cast<uint16_t>(v))));
  return Value(static_cast<int64_t>(static_cast<int32_t>(static_cast<uint32_t>(v))));
}

namespace {

// Decimals are Doubles in this dialect: CDec converts as CDbl does.
Value fn_cdec(VBRuntime&, std::vector<Value>& args) {
  require_args(args, 1, "CDec");
  return number(radix_text(args[0]));
}

Value fn_typeof_is(VBRuntime& rt, std::vector<Value>& args) {
  require_args(args, 2, "TypeOf");
  const Value& v = args[0];
  if (!v.is_object()) return Value(false);
  const std::string wanted = lower(vbstr(args[1]));
  if (wanted == "object") return Value(true);
  std::vector<Value> one{v};
  const BuiltinFn type_name = find_builtin(intern_folded("typename"));
  return Value(lower(vbstr(type_name(rt, one))) == wanted);
}

// LSet / RSet old, new: the new text left or right in the old one's
// length; a record is copied onto a record whole.
Value set_into(std::vector<Value>& args, bool right, const char* name) {
  require_args(args, 2, name);
  if (args[0].is_object() && args[1].is_object()) return copy_record(args[1]);
  std::string scratch;
  return fixed_text(args[1], code_point_count(text_of(args[0], scratch)), right);
}
// F(x)(i, ...): an element of the array F returned.
Value fn_element(VBRuntime&, std::vector<Value>& args) {
  require_args(args, 2, "Subscript");
  if (args[0].is_object() && args[0].as_object()) {  // a Collection's default member
    std::vector<Value> indexes(args.begin() + 1, args.end());
    return args[0].as_object()->method("Item", indexes);
  }
  if (!args[0].is_array()) throw VBError("Not an array: the result of a call");
  const VBArray& array = *args[0].as_array();
  const std::vector<Value> indexes(args.begin() + 1, args.end());
  return array.items[VBRuntime::element_index(array, indexes, "the result of a call")];
}
Value fn_lset(VBRuntime&, std::vector<Value>& args) { return set_into(args, false, "LSet"); }
Value fn_rset(VBRuntime&, std::vector<Value>& args) { return set_into(args, true, "RSet"); }

}  // namespace

void add_language_builtins(BuiltinTable& table) {
  add_builtin(table, "CDec", fn_cdec);
  add_builtin(table, TYPE_TEST_CALL, fn_typeof_is);
  add_builtin(table, ELEMENT_CALL, fn_element);
  add_builtin(table, "__lset", fn_lset);
  add_builtin(table, "__rset", fn_rset);
}

}  // namespace corvane
