#pragma once
// The windows of their own that the Project, Database and Tools menus open,
// each in its own file.
#include <string>

#include "ide/workbench.h"

namespace corvane::ide {

// menu_editor.cpp
void open_menu_editor(Workbench& bench);
// database_explorer.cpp; backend "sqlite" or "mysql". The window owns the
// explorer; it lives until the window is closed.
class DatabaseExplorer;
DatabaseExplorer& open_database_explorer(Workbench& bench, const std::string& backend);
// build_commands.cpp; mode "native", "elf" or "bundle"
void build_linux(Workbench& bench, const std::string& mode);
// Opens a report window; returns its path.
std::string compatibility_report(Workbench& bench);

}  // namespace corvane::ide
