// The ToolWindows of the main window: each command opens its own window.
#include "ide/panels.h"
#include "ide/tool_windows.h"

namespace corvane::ide {

namespace {

class MenuToolWindows final : public ToolWindows {
public:
    explicit MenuToolWindows(Workbench& bench) : bench_(bench) {}
    void menu_editor() override { open_menu_editor(bench_); }
    void database_explorer(const std::string& backend) override { open_database_explorer(bench_, backend); }
    void build_linux(const std::string& mode) override { ide::build_linux(bench_, mode); }
    void compatibility_report() override { ide::compatibility_report(bench_); }

private:
    Workbench& bench_;
};

}  // namespace

std::unique_ptr<ToolWindows> make_tool_windows(Workbench& bench) { return std::make_unique<MenuToolWindows>(bench); }

}  // namespace corvane::ide
