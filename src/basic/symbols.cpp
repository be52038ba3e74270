#include "basic/symbols.h"

#include <deque>
#include <mutex>
#include <unordered_map>

#include "basic/value.h"

namespace corvane {

namespace {

struct SymbolTable {
  std::mutex mutex;
  std::unordered_map<std::string, Symbol> ids;
  std::deque<std::string> names;  // stable references

  SymbolTable() {
    // Order matters: see sym:: in the header and the constant table.
    for (const char* name :
         {"true", "false", "nothing", "empty", "vbcrlf", "vbnewline", "vbcr", "vblf", "vbtab", "vbokonly", "vbok",
          "vbcancel", "vbyesno", "vbyes", "vbno", "pi",
          "vbobjecterror", "vbokcancel", "vbabortretryignore", "vbyesnocancel", "vbretrycancel", "vbcritical",
          "vbquestion", "vbexclamation", "vbinformation", "vbabort", "vbretry", "vbignore",
          "vbnullstring", "vbnullchar", "vbback", "vbformfeed", "vbverticaltab",
          "vbbinarycompare", "vbtextcompare",
          "vbblack", "vbred", "vbgreen", "vbyellow", "vbblue", "vbmagenta", "vbcyan", "vbwhite",
          "vbsunday", "vbmonday", "vbtuesday", "vbwednesday", "vbthursday", "vbfriday", "vbsaturday",
          "vbusesystemdayofweek",
          "vbempty", "vbnull", "vbinteger", "vblong", "vbsingle", "vbdouble", "vbcurrency", "vbdate", "vbstring",
          "vbobject", "vbboolean", "vbvariant", "vbbyte", "vbarray",
          "vbnormal", "vbreadonly", "vbhidden", "vbsystem", "vbdirectory", "vbarchive",
#define VB_CONSTANT(name, value) name,
#include "vb_constant_table.h"
          "app", "me", "err", "__with__", "variant"})
      add(name);
  }
  Symbol add(std::string_view name) {
    const Symbol id = static_cast<Symbol>(names.size());
    names.emplace_back(name);
    ids.emplace(names.back(), id);
    return id;
  }
};

SymbolTable& table() {
  static SymbolTable t;
  return t;
}

}  // namespace

Symbol intern_folded(std::string_view folded) {
  SymbolTable& t = table();
  std::lock_guard lock(t.mutex);
  auto it = t.ids.find(std::string(folded));
  if (it != t.ids.end()) return it->second;
  return t.add(folded);
}

Symbol intern(std::string_view name) { return intern_folded(lower(name)); }

const std::string& symbol_text(Symbol symbol) {
  SymbolTable& t = table();
  std::lock_guard lock(t.mutex);
  return t.names.at(static_cast<size_t>(symbol));
}

}  // namespace corvane
