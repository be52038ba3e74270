// The database explorer window (not built yet: the command says so).
#include "ide/tool_windows.h"

namespace corvane::ide {

void open_database_explorer(Workbench& bench, const std::string&) {
    bench.set_status("The database explorer is not available in this build yet.");
}

}  // namespace corvane::ide
