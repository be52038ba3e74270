// The icon toolbar: five groups of actions, described once as a table.
#include <cstdlib>
#include <system_error>

#include "ide/ide.h"
#include "tk/events.h"
#include "tk/widget.h"

namespace corvane::ide {

namespace {

struct ToolbarAction {
    int group;
    const char* icon;
    const char* label;
    const char* shortcut;  // "" when none
    void (IDE::*operation)();
};

constexpr ToolbarAction TOOLBAR_ACTIONS[] = {
    {1, "new", "New project", "Ctrl+N", &IDE::new_project},
    {1, "open", "Open project", "Ctrl+O", &IDE::open_project},
    {1, "save", "Save project", "Ctrl+S", &IDE::save},
    {2, "form", "Add form", "", &IDE::add_form},
    {2, "module", "Add module", "", &IDE::add_module},
    {3, "start", "Run", "F5", &IDE::start},
    {3, "stop", "Stop", "Shift+F5", &IDE::stop},
    {4, "designer", "Form designer", "Shift+F7", &IDE::show_design},
    {4, "code", "Code editor", "F7", &IDE::show_code},
    {4, "properties", "Properties", "F4", &IDE::focus_properties},
    {5, "executable", "Compile Native ELF", "", &IDE::make_elf},
    {5, "database", "SQLite explorer", "", &IDE::open_database},
};

std::string description(const ToolbarAction& action) {
    std::string text = action.label;
    if (*action.shortcut) text += std::string(" (") + action.shortcut + ")";
    return text;
}

}  // namespace

std::filesystem::path assets_folder() {
    namespace fs = std::filesystem;
    if (const char* home = std::getenv("CORVANE_HOME"); home && *home) return fs::path(home) / "assets";
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec) return "assets";
    return exe.parent_path().parent_path() / "share" / "corvane" / "assets";
}

bool IDE::toolbar_show_labels() const {
    try {
        return toolbar_show_labels_.get().to_bool();
    } catch (const std::exception&) {
        return false;
    }
}

void IDE::set_toolbar_show_labels(bool on) {
    toolbar_show_labels_.set(on ? 1 : 0);
    refresh_toolbar();
}

void IDE::refresh_toolbar() {
    tk::Interp& in = interp_;
    const std::string& bar = widgets_.toolbar;
    for (const tk::Obj& child : in.call_obj({"winfo", "children", bar}).to_list()) tk::destroy(in, child.str());
    toolbar_images_.clear();
    const bool labels = toolbar_show_labels();
    const std::filesystem::path folder = assets_folder();
    int group = 0, n = 0;
    for (const ToolbarAction& action : TOOLBAR_ACTIONS) {
        if (group != 0 && action.group != group) {
            const std::string sep = bar + ".sep" + std::to_string(n);
            in.call({"ttk::separator", sep, "-orient", "vertical"});
            in.call({"pack", sep, "-side", "left", "-fill", "y", "-padx", 6, "-pady", 3});
        }
        group = action.group;
        const std::string button = bar + ".b" + std::to_string(n++);
        in.call({"ttk::button", button, "-style", "Toolbar.TButton", "-takefocus", 0});
        try {
            toolbar_images_.push_back(tk::Image::from_file(in, (folder / (std::string(action.icon) + ".png")).string()));
            in.call({button, "configure", "-image", toolbar_images_.back().name()});
        } catch (const std::exception&) {
            in.call({button, "configure", "-text", action.label});  // no icon file: the label alone
        }
        if (labels) in.call({button, "configure", "-text", action.label, "-compound", "left"});
        auto operation = action.operation;
        in.call({button, "configure", "-command", command([this, operation] { (this->*operation)(); })});
        in.call({"pack", button, "-side", "left", "-padx", 1});
        const std::string text = description(action);
        add_tooltip(button, text);
        tk::bind(in, button, "<Enter>", {}, [this, text] { set_status(text); }, tk::BindMode::add);
    }
}

}  // namespace corvane::ide
