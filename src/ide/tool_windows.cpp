// The windows that the Project, Database and Tools menus open. Until each
// is built, its command says so in the status bar.
#include "ide/panels.h"

namespace corvane::ide {

namespace {

class PendingToolWindows final : public ToolWindows {
public:
    explicit PendingToolWindows(Workbench& bench) : bench_(bench) {}
    void menu_editor() override { unavailable("The menu editor"); }
    void database_explorer(const std::string&) override { unavailable("The database explorer"); }
    void build_linux(const std::string&) override { unavailable("Building executables"); }
    void compatibility_report() override { unavailable("The compatibility report window"); }

private:
    void unavailable(const std::string& what) { bench_.set_status(what + " is not available in this build yet."); }
    Workbench& bench_;
};

}  // namespace

std::unique_ptr<ToolWindows> make_tool_windows(Workbench& bench) { return std::make_unique<PendingToolWindows>(bench); }

}  // namespace corvane::ide
