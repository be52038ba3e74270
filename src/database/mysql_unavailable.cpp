// The MySQL engine in a build without the MariaDB client library.
#include "database/backend.h"
#include "database/error.h"

namespace corvane {

bool mysql_backend_available() { return false; }

std::unique_ptr<DatabaseBackend> open_mysql_backend(const MysqlTarget&) {
  throw DatabaseError("MySQL requires the MariaDB client library (libmariadb)");
}

}  // namespace corvane
