// The icon toolbar: five groups of actions, described once as a table.
#include <algorithm>
#include <cstdlib>
#include <system_error>

#include "ide/constants.h"
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
    toolbar_groups_.clear();
    const bool labels = toolbar_show_labels();
    // Rows first: a widget packed into a frame created after it would be hidden below it.
    for (int row = 0; row < 5; ++row) in.call({"ttk::frame", bar + ".row" + std::to_string(row)});
    const std::filesystem::path folder = assets_folder();
    int n = 0;
    for (const ToolbarAction& action : TOOLBAR_ACTIONS) {
        if (toolbar_groups_.empty() || toolbar_groups_.back().number != action.group) {
            const std::string sep = bar + ".sep" + std::to_string(n);
            in.call({"ttk::separator", sep, "-orient", "vertical"});
            toolbar_groups_.push_back({action.group, sep, {}});
        }
        const std::string button = bar + ".b" + std::to_string(n++);
        toolbar_groups_.back().buttons.push_back(button);
        in.call({"ttk::button", button, "-style", "Toolbar.TButton", "-takefocus", 0});
        try {
            toolbar_images_.push_back(tk::Image::from_file(in, (folder / (std::string(action.icon) + ".png")).string()));
            in.call({button, "configure", "-image", toolbar_images_.back().name()});
        } catch (const std::exception&) {
            in.call({button, "configure", "-text", action.label});  // no icon file: the label alone
        }
        // Natural width: the theme's minimum of 11 characters wastes room.
        if (labels) in.call({button, "configure", "-text", action.label, "-compound", "left", "-width", 0});
        auto operation = action.operation;
        in.call({button, "configure", "-command", command([this, operation] { (this->*operation)(); })});
        const std::string text = description(action);
        add_tooltip(button, text);
        tk::bind(in, button, "<Enter>", {}, [this, text] { set_status(text); }, tk::BindMode::add);
    }
    layout_toolbar();
}

void IDE::layout_toolbar() {
    tk::Interp& in = interp_;
    const std::string& bar = widgets_.toolbar;
    auto req = [&](const std::string& w) { return static_cast<int>(in.call_obj({"winfo", "reqwidth", w}).to_int()); };
    // With labels the groups may not fit on one line: a group that would
    // overflow the window starts a new row.
    const int available = std::max(MIN_WIDTH, static_cast<int>(in.call_obj({"winfo", "width", "."}).to_int())) - 14;
    for (const tk::Obj& child : in.call_obj({"winfo", "children", bar}).to_list()) in.call({"pack", "forget", child});
    int row = 0, used = 0;
    for (std::size_t g = 0; g < toolbar_groups_.size(); ++g) {
        const ToolbarGroup& group = toolbar_groups_[g];
        int width = 0;
        for (const std::string& b : group.buttons) width += req(b) + 2;
        const int separator = g == 0 ? 0 : req(group.separator) + 12;
        if (used > 0 && used + separator + width > available && row < 4) {
            ++row;
            used = 0;
        }
        const std::string frame = bar + ".row" + std::to_string(row);
        if (used > 0) {
            in.call({"pack", group.separator, "-in", frame, "-side", "left", "-fill", "y", "-padx", 6, "-pady", 3});
            used += separator;
        }
        for (const std::string& b : group.buttons) in.call({"pack", b, "-in", frame, "-side", "left", "-padx", 1});
        used += width;
    }
    for (int r = 0; r <= row; ++r) in.call({"pack", bar + ".row" + std::to_string(r), "-side", "top", "-anchor", "w"});
}

}  // namespace corvane::ide
