#pragma once
// The panels that fill the main window's layout. Each is built on the
// Workbench alone; the main window owns one of each and forwards the
// Workbench operations to them.
#include <memory>
#include <string>
#include <vector>

#include "ide/workbench.h"

namespace corvane::ide {

// The form designer: the design canvas of the "Form Designer" tab.
class DesignerPanel {
public:
    virtual ~DesignerPanel() = default;
    // Binds the canvas that the layout made (Widgets::canvas and its scroll bars).
    virtual void attach() = 0;
    virtual void draw_form() = 0;
    // The cursor of the canvas follows the chosen toolbox tool.
    virtual void tool_changed() = 0;
    virtual void delete_control() = 0;
    virtual void duplicate_control() = 0;
    virtual void snap_selected() = 0;
};

// The property grid of the right column.
class PropertyPanel {
public:
    virtual ~PropertyPanel() = default;
    // Binds the property tree that the layout made (Widgets::props_tree).
    virtual void attach() = 0;
    virtual void show_properties() = 0;
    // Width of the name column in pixels (saved with the panel sizes).
    virtual int name_column_width() = 0;
    virtual void set_name_column_width(int pixels) = 0;
    // Schedules one idle redraw of the grid lines.
    virtual void schedule_grid_lines() = 0;
};

// The code editor of the "Code Editor" tab.
class CodePanel {
public:
    virtual ~CodePanel() = default;
    // Builds the editor's widgets inside Widgets::code_panel.
    virtual void build() = 0;
    // Writes the editor's text into its owner, then shows the record's code.
    virtual void load_editor(EditorKind kind, void* record) = 0;
    // Writes the editor's text into its owner record.
    virtual void sync_editor() = 0;
    // Empties the editor and forgets its owner.
    virtual void clear_editor() = 0;
    // Makes the current form's code current, selects the object and the
    // event (the first of the object's events when `event` is not one of
    // them) and goes to the handler, creating it when missing.
    virtual void open_event_code(const std::string& object, const std::string& event) = 0;
    // Cancels pending timers (the main window is going).
    virtual void shutdown() = 0;

    // The Object and Event lists above the text.
    // Refills the Object list from the current form and selects the form.
    virtual void refresh_objects() = 0;
    // Refills the Event list for the selected object; selects `preferred`
    // when it is one of the events, else the first.
    virtual void event_options(const std::string& preferred = {}) = 0;
    // Goes to the handler selected in the two lists, creating it when missing.
    virtual void ensure_event() = 0;
    virtual void select_object(const std::string& name) = 0;
    virtual std::string selected_object() const = 0;
    virtual void select_event(const std::string& name) = 0;
    virtual std::string selected_event() const = 0;
    virtual std::vector<std::string> object_entries() const = 0;
    virtual std::vector<std::string> event_entries() const = 0;

    // Shows a record's code with line `line` (from 1) in view, the cursor
    // at its start and the line marked until the next edit or load.
    virtual void show_line(EditorKind kind, void* record, int line) = 0;

    // For tests and benchmarks: the text widget, one colouring pass now (of
    // the lines edited since the last), the number of passes so far, and the
    // completion list as shown.
    virtual std::string text_widget() const = 0;
    virtual void highlight() = 0;
    // A pass over the whole text now, as after loading.
    virtual void recolour_all() = 0;
    virtual int colouring_passes() const = 0;
    virtual bool completion_shown() const = 0;
    virtual std::vector<std::string> completion_entries() const = 0;
    virtual std::string completion_window() const = 0;
};

// The windows of their own that the Project, Database and Tools menus open.
class ToolWindows {
public:
    virtual ~ToolWindows() = default;
    virtual void menu_editor() = 0;
    virtual void database_explorer(const std::string& backend) = 0;  // "sqlite" or "mysql"
    virtual void build_linux(const std::string& mode) = 0;           // "native", "elf" or "bundle"
    virtual void compatibility_report() = 0;
};

// The panels as built today.
std::unique_ptr<DesignerPanel> make_designer(Workbench& bench);
std::unique_ptr<PropertyPanel> make_property_grid(Workbench& bench);
std::unique_ptr<CodePanel> make_code_editor(Workbench& bench);
std::unique_ptr<ToolWindows> make_tool_windows(Workbench& bench);

}  // namespace corvane::ide
