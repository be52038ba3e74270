// Grids filled from their RecordSource query.
#include <algorithm>
#include <cctype>

#include "basic/source_lines.h"
#include "database/value.h"
#include "forms/database_access.h"
#include "forms/preview.h"
#include "model/names.h"
#include "tk/error.h"

namespace corvane {

namespace {

constexpr size_t MAX_GRID_ROWS = 5000;

bool starts_with_word(const std::string& text, std::string_view word) {
  if (text.size() <= word.size() || !starts_with_ci(text, word)) return false;
  return std::isspace(static_cast<unsigned char>(text[word.size()])) != 0;
}

// True when a data-changing keyword stands as a word outside quotes and
// comments: "WITH x AS (...) DELETE FROM t" starts like a query but is not one.
bool changes_data(const std::string& sql) {
  static const char* const WORDS[] = {"insert", "update", "delete", "replace", "drop", "create", "alter",
                                      "attach", "detach", "pragma", "vacuum"};
  size_t i = 0;
  const size_t n = sql.size();
  while (i < n) {
    const char ch = sql[i];
    if (ch == '\'' || ch == '"' || ch == '`' || ch == '[') {
      const char close = ch == '[' ? ']' : ch;
      i = sql.find(close, i + 1);
      if (i == std::string::npos) return false;
      ++i;
    } else if (ch == '-' && i + 1 < n && sql[i + 1] == '-') {
      i = sql.find('\n', i);
      if (i == std::string::npos) return false;
    } else if (ch == '/' && i + 1 < n && sql[i + 1] == '*') {
      i = sql.find("*/", i + 2);
      if (i == std::string::npos) return false;
      i += 2;
    } else if (std::isalpha(static_cast<unsigned char>(ch)) || ch == '_') {
      size_t j = i;
      while (j < n && (std::isalnum(static_cast<unsigned char>(sql[j])) || sql[j] == '_' || sql[j] == '$')) ++j;
      const std::string word = ascii_lower(sql.substr(i, j - i));
      for (const char* w : WORDS)
        if (word == w) return true;
      i = j;
    } else {
      ++i;
    }
  }
  return false;
}

std::string cell_text(const DbValue& v) {
  switch (v.index()) {
    case 0: return std::string();
    case 1: return std::to_string(std::get<int64_t>(v));
    case 2: return double_text(std::get<double>(v));
    case 3: return std::get<std::string>(v);
    default: return std::get<Blob>(v).bytes;
  }
}

}  // namespace

void Preview::refresh_data_grid(const std::string& name) {
  const Control* c = control(name);
  if (!c || closed) return;
  if (c->kind != "MSFlexGrid" && c->kind != "TreeView" && c->kind != "ListView" && c->kind != "DataGrid") return;
  const std::string path = widget_of(name);
  if (path.empty()) return;
  const std::string sql = strip(widget_text(objects.at(lower(name))->get("RecordSource")));
  if (sql.empty()) return;
  if ((!starts_with_word(sql, "select") && !starts_with_word(sql, "with")) || changes_data(sql))
    throw VBError("DataGrid RecordSource must be a SELECT query");
  DatabaseSession& db = database_of(*runtime);
  try {
    db.query(sql);
  } catch (const DatabaseError& e) {
    throw VBError(e.what());
  }
  const ResultSet& result = db.result();
  tk::Interp& interp = host.interp();
  try {
    tk::Obj children = interp.call_obj({path, "children", ""});
    if (!children.to_list().empty()) interp.call({path, "delete", children});
    interp.call({path, "configure", "-show", "headings", "-columns", tk::Obj::list(result.columns)});
    for (size_t i = 0; i < result.columns.size(); ++i) {
      const std::string& column = result.columns[i];
      const auto width = std::max<long>(65, std::min<long>(250, 14 * static_cast<long>(column.size()) + 55));
      // Columns are addressed by number: names may repeat or look like options.
      interp.call({path, "heading", static_cast<int64_t>(i), "-text", column});
      interp.call({path, "column", static_cast<int64_t>(i), "-width", static_cast<int64_t>(width)});
    }
    const size_t rows = std::min(result.row_count, MAX_GRID_ROWS);
    std::vector<tk::Obj> values;
    for (size_t r = 0; r < rows; ++r) {
      values.clear();
      for (const DbValue& cell : result.row(r)) values.emplace_back(cell_text(cell));
      interp.call({path, "insert", "", "end", "-values", tk::Obj::list(values)});
    }
  } catch (const tk::TclError& e) {
    throw VBError(e.what());
  }
}

}  // namespace corvane
