// The menu editor window (not built yet: the command says so).
#include "ide/tool_windows.h"

namespace corvane::ide {

void open_menu_editor(Workbench& bench) { bench.set_status("The menu editor is not available in this build yet."); }

}  // namespace corvane::ide
