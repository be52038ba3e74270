// The menu bar, described once as a table.
#include <functional>

#include "ide/ide.h"

namespace corvane::ide {

namespace {

struct MenuEntry {
    const char* menu;   // the menu it belongs to
    const char* label;  // nullptr: a separator
    std::function<void(IDE&)> run;
    bool check = false;  // the check item bound to the toolbar-labels variable
};

const std::vector<MenuEntry>& menu_entries() {
    static const std::vector<MenuEntry> entries = {
        {"File", "New Project", &IDE::new_project},
        {"File", "Open Project / Form...", &IDE::open_project},
        {"File", "Save Project", &IDE::save},
        {"File", "Save Project As...", &IDE::save_as},
        {"File", nullptr, nullptr},
        {"File", "Add Form", &IDE::add_form},
        {"File", "Add Module", &IDE::add_module},
        {"File", "Add Class Module", &IDE::add_class},
        {"File", "Set Startup Form...", &IDE::choose_startup},
        {"File", nullptr, nullptr},
        {"File", "Exit", &IDE::on_exit},
        {"Edit", "Delete selected control", [](IDE& ide) { ide.delete_control(); }},
        {"Edit", "Duplicate selected control", [](IDE& ide) { ide.duplicate_control(); }},
        {"Edit", "Select pointer tool", [](IDE& ide) { ide.use_pointer(); }},
        {"View", "Form Designer   Shift+F7", [](IDE& ide) { ide.show_design(); }},
        {"View", "Code Editor   F7", [](IDE& ide) { ide.show_code(); }},
        {"View", "Properties   F4", &IDE::focus_properties},
        {"View", nullptr, nullptr},
        {"View", "Show toolbar icon labels", &IDE::refresh_toolbar, true},
        {"View", "Reset panel sizes", &IDE::reset_panel_sizes},
        {"Project", "Add Form", &IDE::add_form},
        {"Project", "Add Module", &IDE::add_module},
        {"Project", "Add Class Module", &IDE::add_class},
        {"Project", "Startup Object...", &IDE::choose_startup},
        {"Project", "Menu Editor...", [](IDE& ide) { ide.tools().menu_editor(); }},
        {"Project", nullptr, nullptr},
        {"Project", "Make Native Machine-Code Executable...", [](IDE& ide) { ide.tools().build_linux("native"); }},
        {"Project", "Make Legacy Linux ELF (interpreter-linked)...", [](IDE& ide) { ide.tools().build_linux("elf"); }},
        {"Project", "Make self-contained executable (bundle)...", [](IDE& ide) { ide.tools().build_linux("bundle"); }},
        {"Format", "Snap selected control to grid", [](IDE& ide) { ide.snap_selected(); }},
        {"Run", "Start   F5", &IDE::start},
        {"Run", "Stop   Shift+F5", &IDE::stop},
        {"Database", "SQLite Explorer...", [](IDE& ide) { ide.tools().database_explorer("sqlite"); }},
        {"Database", "MySQL Explorer...", [](IDE& ide) { ide.tools().database_explorer("mysql"); }},
        {"Tools", "Build help and database API...", &IDE::show_help},
        {"Tools", "VB6 compatibility report...", [](IDE& ide) { ide.tools().compatibility_report(); }},
        {"Tools", "Clear Immediate window", &IDE::clear_output},
        {"Help", "Supported VB6 syntax", &IDE::show_help},
        {"Help", "About", &IDE::show_about},
    };
    return entries;
}

constexpr const char* MENU_ORDER[] = {"File", "Edit", "View", "Project", "Format", "Run", "Database", "Tools", "Help"};

std::string menu_path(const char* menu) {
    std::string path = ".menubar.";
    for (const char* c = menu; *c; ++c) path += static_cast<char>(std::tolower(static_cast<unsigned char>(*c)));
    return path;
}

}  // namespace

void IDE::make_menus() {
    tk::Interp& in = interp_;
    in.call({"menu", ".menubar", "-tearoff", 0, "-font", interface_font()});
    for (const char* menu : MENU_ORDER) {
        const std::string path = menu_path(menu);
        in.call({"menu", path, "-tearoff", 0});
        in.call({".menubar", "add", "cascade", "-label", menu, "-menu", path});
    }
    for (const MenuEntry& entry : menu_entries()) {
        const std::string path = menu_path(entry.menu);
        if (!entry.label) {
            in.call({path, "add", "separator"});
            continue;
        }
        const std::string cmd = command([this, run = entry.run] { run(*this); });
        if (entry.check) {
            in.call({path, "add", "checkbutton", "-label", entry.label, "-variable", toolbar_show_labels_.name(),
                     "-command", cmd});
        } else {
            in.call({path, "add", "command", "-label", entry.label, "-command", cmd});
        }
    }
    in.call({".", "configure", "-menu", ".menubar"});
}

}  // namespace corvane::ide
