#pragma once
// The snapshot of a statement's result: column names and all rows, stored
// row after row in one flat list of cells.
#include <cstddef>
#include <span>
#include <string>
#include <vector>

#include "database/value.h"

namespace corvane {

struct ResultSet {
  std::vector<std::string> columns;
  std::vector<DbValue> cells;  // row-major, columns.size() cells per row
  size_t row_count = 0;

  size_t column_count() const { return columns.size(); }
  std::span<const DbValue> row(size_t index) const {
    return {cells.data() + index * columns.size(), columns.size()};
  }
  void clear() {
    columns.clear();
    cells.clear();
    row_count = 0;
  }
};

}  // namespace corvane
