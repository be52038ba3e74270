// The build commands (Project menu, toolbar) and the compatibility report
// window (Tools menu).
#include <cstdlib>
#include <filesystem>

#include "builder/builder.h"
#include "compat/analyzer.h"
#include "ide/tool_windows.h"
#include "tk/dialogs.h"
#include "tk/widget.h"

namespace corvane::ide {

namespace fs = std::filesystem;
using tk::Obj;

namespace {

constexpr const char* FOLDER_TITLE = "Choose folder for built Linux executable";

struct ModeLine {
    std::string_view mode;
    const char* line;
};

// The success box's second line, by mode; the last row answers any other.
constexpr ModeLine MODE_LINES[] = {
    {"native", "Native machine-code ELF built from generated C; requires Linux X11/XWayland and SQLite libraries."},
    {"elf", "Embedded ELF launcher (requires the Corvane runtime library and Tk on target)."},
    {"", "Self-contained bundle for this Linux architecture."},
};

const char* mode_line(std::string_view mode) {
    for (const ModeLine& row : MODE_LINES)
        if (row.mode == mode) return row.line;
    return MODE_LINES[std::size(MODE_LINES) - 1].line;
}

std::string home_folder() {
    const char* home = std::getenv("HOME");
    return home && *home ? home : fs::current_path().string();
}

// The folder dialog; "" when cancelled. A test responder answers it like
// the standard dialogs.
std::string choose_folder(tk::Interp& interp, const std::string& initial) {
    const std::vector<std::string> words{"tk_chooseDirectory", "-parent", ".", "-title", FOLDER_TITLE,
                                         "-initialdir", initial};
    if (auto answer = tk::ask_responder(words)) return *answer;
    std::vector<Obj> objs(words.begin(), words.end());
    return interp.call(objs);
}

// Shows a busy cursor over the main window while a build blocks it.
class BusyWindow {
public:
    explicit BusyWindow(tk::Interp& interp) : interp_(interp) {
        held_ = interp_.try_call({"tk", "busy", "hold", "."});
        // The status text and the cursor show before the build blocks the loop.
        interp_.try_call({"update", "idletasks"});
    }
    ~BusyWindow() {
        if (held_) interp_.try_call({"tk", "busy", "forget", "."});
    }
    BusyWindow(const BusyWindow&) = delete;
    BusyWindow& operator=(const BusyWindow&) = delete;

private:
    tk::Interp& interp_;
    bool held_ = false;
};

}  // namespace

void build_linux(Workbench& bench, const std::string& mode) {
    EditingState& state = bench.state();
    if (!state.project_open()) {
        bench.set_status("No project open. Choose File \u2192 New Project first.");
        return;
    }
    bench.sync_editor();
    const Project& project = state.project;
    const std::string initial = project.path ? fs::absolute(*project.path).parent_path().string() : home_folder();
    const std::string folder = choose_folder(bench.interp(), initial);
    if (folder.empty()) return;

    bench.set_status("Building " + project.name + " ...");
    std::vector<Diagnostic> blockers;
    fs::path built;
    std::string failure;
    {
        BusyWindow busy(bench.interp());
        blockers = analyze_project(project);
        if (blockers.empty()) {
            try {
                built = build_project(project, folder, mode);
            } catch (const std::exception& e) {  // BuildError and operating-system errors
                failure = e.what();
            }
        }
    }
    if (!blockers.empty()) {
        compatibility_report(bench);
        bench.show_error("Compatibility blockers", std::to_string(blockers.size()) +
                                                       " recognized unsupported constructs were found. Review the "
                                                       "report before building.");
        return;
    }
    if (!failure.empty()) {
        bench.show_error("Build failed", failure);
        bench.set_status("Build failed: " + failure);
        return;
    }
    const std::string done = "Built executable: " + built.string();
    bench.log(done);
    bench.set_status(done);
    tk::message_box(bench.interp(), {.parent = ".",
                                     .title = "Build succeeded",
                                     .message = built.string() + "\n\n" + mode_line(mode),
                                     .icon = "info"});
}

std::string compatibility_report(Workbench& bench) {
    bench.sync_editor();
    tk::Interp& in = bench.interp();
    const Project& project = bench.state().project;
    const std::string top = tk::new_widget_path(in, ".");
    in.call({"toplevel", top});
    tk::wm_title(in, top, "VB6 compatibility report \u2014 " + project.name);
    in.call({"wm", "geometry", top, "750x465"});
    const std::string text = top + ".report";
    in.call({"text", text, "-wrap", "word", "-padx", 15, "-pady", 13, "-font", Obj::list({"DejaVu Sans Mono", 10})});
    in.call({"pack", text, "-fill", "both", "-expand", 1});
    in.call({text, "insert", "1.0", report(project)});
    in.call({text, "configure", "-state", "disabled"});
    return top;
}

}  // namespace corvane::ide
