#pragma once
// IDE: the environment's main window. It owns the Tk root window, the
// editing state, the layout of the panels, the settings file, the menus and
// the project commands, and it is the run host of a running program.
//
// Its operations live in files by concern: shell.cpp (construction, styles,
// exit), layout.cpp (widgets), panel_sizes.cpp (settings and panel sizes),
// menus.cpp and toolbar.cpp, tooltip.cpp, project_commands.cpp,
// run_commands.cpp, explorer.cpp, toolbox.cpp, help.cpp.
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "forms/run_host.h"
#include "ide/panels.h"
#include "ide/settings.h"
#include "ide/workbench.h"
#include "tk/command.h"
#include "tk/image.h"
#include "tk/interp.h"
#include "tk/timer.h"
#include "tk/variable.h"

namespace corvane::ide {

class IDE final : public Workbench, public RunHost {
public:
    // Builds the main window on the interpreter's root window.
    explicit IDE(tk::Interp& interp);
    ~IDE() override;
    IDE(const IDE&) = delete;
    IDE& operator=(const IDE&) = delete;

    // --- Workbench ---
    tk::Interp& interp() override { return interp_; }
    EditingState& state() override { return state_; }
    const Widgets& widgets() const override { return widgets_; }
    std::string interface_font() const override { return "CorvaneInterface"; }
    std::string interface_font_bold() const override { return "CorvaneInterfaceBold"; }
    void set_status(const std::string& text) override;
    void log(const std::string& text) override;
    void changed() override;
    void add_tooltip(const std::string& widget, const std::string& text) override;
    void show_error(const std::string& title, const std::string& message) override;
    void populate_project() override;
    void draw_form() override;
    void show_properties() override;
    void load_editor(EditorKind kind, void* record) override;
    void sync_editor() override;
    void clear_editor() override;
    void use_pointer() override;
    void show_code() override;
    void show_design() override;
    void select_tab(int index) override;
    void open_event_code(const std::string& object, const std::string& event) override;
    void refresh_objects() override { code_editor_->refresh_objects(); }

    // --- RunHost ---
    Project& project() override { return state_.project; }
    // Asks whether to stop an event that has run for 5 seconds, and again
    // every 5 seconds after a Continue.
    VBRuntime::WatchFn watch() override;
    // Opens the component where a runtime error happened at its line.
    void runtime_error(const VBError& error) override;

    // --- commands (menus, toolbar, keys) ---
    void new_project();
    void open_project();
    // Opens a file as File -> Open does after its dialog; false when it failed.
    bool open_path(const std::filesystem::path& path);
    void save();
    void save_as();
    void choose_startup();
    void add_form();
    void add_module();
    void add_class();
    void start();
    void stop();
    void show_help();
    void show_about();
    void focus_properties();
    void make_elf();
    void open_database();
    void clear_output();
    bool prompt_discard();
    void on_exit();
    void reset_panel_sizes();
    void refresh_toolbar();
    void delete_control() { designer_->delete_control(); }
    void duplicate_control() { designer_->duplicate_control(); }
    void snap_selected() { designer_->snap_selected(); }
    ToolWindows& tools() { return *tool_windows_; }
    CodePanel& code_editor() { return *code_editor_; }

    // --- explorer and toolbox ---
    void populate_tools();
    void choose_tool(const std::string& kind);
    void insert_tool(const std::string& kind);
    void project_select();
    void project_hover(int y);
    void tab_changed();

    // --- state a test or a benchmark looks at ---
    const std::string& status_text() const { return status_text_; }
    std::string title() const;
    bool panels_ready() const { return panels_ready_; }
    const std::filesystem::path& settings_file() const { return settings_file_; }
    const std::map<std::string, std::string>& toolbox_buttons() const { return toolbox_buttons_; }
    bool toolbar_show_labels() const;
    void set_toolbar_show_labels(bool on);
    // Saves the settings now (as on exit).
    void save_geometry();
    // The current panel sizes, validated; empty before they are placed.
    Settings panel_positions();
    // Whether a tooltip window of the widget is shown.
    bool tooltip_shown(const std::string& widget) const;

private:
    // A widget's tooltip: its text, its window while shown, its pending timer.
    struct Tooltip {
        std::string text;
        std::string window;
        tk::Timer timer;
    };

    // shell.cpp
    // Runs a command; an exception is shown as an error box, never escapes.
    void guarded(const std::function<void()>& fn);
    // A Tcl command (owned by the main window) that runs fn guarded.
    std::string command(std::function<void()> fn);
    void write_output(const std::function<void()>& change);
    void configure_style();
    void measure_fonts();
    void make_key_bindings();
    void root_configured(const std::string& widget);
    void root_destroyed(const std::string& widget);
    void dismantle() noexcept;
    void update_title();
    // layout.cpp
    void make_layout();
    void make_left_column(const std::string& pane);
    void make_middle_column(const std::string& pane);
    void make_right_column(const std::string& pane);
    void make_lower_pane(const std::string& pane);
    // panel_sizes.cpp
    void restore_or_reset_panels();
    void place_panels(const Settings& saved);
    void panes_changed();
    void persist_panes();
    void persist_window_size();
    // menus.cpp
    void make_menus();
    // toolbar.cpp
    void layout_toolbar();
    // project_commands.cpp
    void show_project(Project project, const std::string& status);
    void load_form_code();
    // explorer.cpp
    void select_explorer_item(const std::string& id);
    // run host helpers
    void dismiss_preview();

    tk::Interp& interp_;
    EditingState state_;
    Widgets widgets_;
    std::unique_ptr<DesignerPanel> designer_;
    std::unique_ptr<PropertyPanel> property_grid_;
    std::unique_ptr<CodePanel> code_editor_;
    std::unique_ptr<ToolWindows> tool_windows_;

    std::filesystem::path settings_file_;
    bool panels_ready_ = false;
    tk::Timer panel_reset_job_;
    tk::Timer panel_save_job_;
    tk::Timer geometry_job_;
    tk::Variable status_;
    tk::Variable selected_property_;
    tk::Variable toolbar_show_labels_;
    std::string status_text_;
    int interface_linespace_ = 15;
    int tree_rowheight_ = 30;
    int property_rowheight_ = 30;
    std::vector<tk::Image> toolbar_images_;
    struct ToolbarGroup {
        int number;
        std::string separator;  // shown before the group unless it starts a row
        std::vector<std::string> buttons;
    };
    std::vector<ToolbarGroup> toolbar_groups_;
    tk::Timer toolbar_job_;
    std::map<std::string, std::string> toolbox_buttons_;  // kind -> button path
    std::map<std::string, std::unique_ptr<Tooltip>> tooltips_;
    std::vector<tk::Command> global_bindings_;
    bool suppress_tool_command_ = false;  // the release that ends a toolbox double-click
    bool destroyed_ = false;
};

// The folder of the toolbar icons: $CORVANE_HOME/assets, else
// share/corvane/assets beside the executable's bin folder.
std::filesystem::path assets_folder();

// What corvane does once its window has settled (panels placed, project
// open, event queue idle): nothing, print "Corvane idle", or quit.
enum class IdleAction { none, print, quit };

// corvane's entry: builds the main window, opens `project` when given, and
// runs the event loop until the window is gone. Returns the exit status.
int main_window(const std::optional<std::filesystem::path>& project, IdleAction on_idle = IdleAction::none);

}  // namespace corvane::ide
