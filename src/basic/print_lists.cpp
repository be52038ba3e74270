// Print lists (Debug.Print, Print, Print #, obj.Print): items joined without a gap
// after ';', a ',' moves to the next print zone of 14 columns, Spc(n)
// and Tab(n) place the text, a trailing separator keeps the line open.
#include "basic/compiled.h"
#include "basic/runtime.h"

namespace corvane {

namespace {

constexpr size_t ZONE = 14;

}  // namespace

void VBRuntime::print_list(const Stmt& stmt, Scope& scope, std::string& out, size_t column_start, bool& newline) {
  size_t column = column_start + code_point_count(out);
  auto append = [&](const std::string& text) {
    out += text;
    column += code_point_count(text);
  };
  for (const PrintItem& item : stmt.items) {
    if (item.expr) {
      switch (item.kind) {
        case PrintItem::Kind::Expr: append(vbstr(eval(*item.expr, scope))); break;
        case PrintItem::Kind::Spc: {
          const int64_t n = number_as_count(eval(*item.expr, scope), 0);
          if (n > 0) append(std::string(static_cast<size_t>(std::min<int64_t>(n, 1 << 20)), ' '));
          break;
        }
        case PrintItem::Kind::Tab: {
          const int64_t n = number_as_count(eval(*item.expr, scope), 1);
          const size_t target = static_cast<size_t>(std::max<int64_t>(1, std::min<int64_t>(n, 1 << 20))) - 1;
          if (column < target) append(std::string(target - column, ' '));
          break;
        }
      }
    }
    if (item.separator == ',') append(std::string(ZONE - column % ZONE, ' '));
  }
  newline = stmt.items.empty() || stmt.items.back().separator == 0;
}

Flow VBRuntime::print_on_object(const Stmt& stmt, Scope& scope) {
  const Value owner = stmt.expr ? eval(*stmt.expr, scope) : Value(current_form);
  const std::string where = (stmt.expr ? stmt.name : std::string("Me")) + ".Print";
  if (owner.is_nothing()) throw VBError(91, "Object variable or With block variable not set: " + where);
  if (!owner.is_object()) throw VBError(424, "Object required: " + where);
  std::string text;
  bool newline = true;
  print_list(stmt, scope, text, 0, newline);
  std::vector<Value> args{Value(std::move(text)), Value(newline)};
  owner.as_object()->method("Print", args);
  return Flow::Normal;
}

}  // namespace corvane
