#pragma once
// The database session of a form's interpreter (the one DBOpen opens),
// made over the interpreter's base folder when the program has none yet.
#include <filesystem>
#include <memory>
#include <optional>

#include "basic/runtime.h"
#include "database/session.h"

namespace corvane {

inline DatabaseSession& database_of(VBRuntime& runtime) {
  if (!runtime.db) {
    std::optional<std::filesystem::path> base;
    if (!runtime.base_dir.empty()) base = runtime.base_dir;
    runtime.db = std::make_shared<DatabaseSession>(base);
  }
  return *runtime.db;
}

}  // namespace corvane
