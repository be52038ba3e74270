#pragma once
// Workbench: what every panel of the environment sees of the main window.
//
// The editing state lives in one place (EditingState); the panels (explorer,
// toolbox, designer, property grid, code editor, menu editor, database
// explorer, build commands) read and change it through this interface and
// reach each other only through its operations, never through each other's
// widgets. The main window (IDE) implements it.
#include <memory>
#include <optional>
#include <string>

#include "model/project.h"
#include "tk/interp.h"

namespace corvane {
class Preview;
class ApplicationSession;
}

namespace corvane::ide {

// Which kind of record the code editor holds.
enum class EditorKind { form, module, klass };

// The record whose code the code editor holds. Records are addressed by
// pointer into the project; every operation that adds records first writes
// the editor back and clears the owner, so a stale pointer is never used.
struct EditorOwner {
    EditorKind kind = EditorKind::form;
    void* record = nullptr;

    bool empty() const noexcept { return record == nullptr; }
    bool holds(EditorKind k, const void* r) const noexcept { return record == r && kind == k; }
    // The record's code text, or nullptr when empty.
    std::string* code() const;
};

// The module or class open in the code editor in place of the form's code.
struct OpenModule {
    EditorKind kind = EditorKind::module;  // module or klass
    void* record = nullptr;

    bool empty() const noexcept { return record == nullptr; }
    Module* module() const { return kind == EditorKind::module ? static_cast<Module*>(record) : nullptr; }
    ClassModule* klass() const { return kind == EditorKind::klass ? static_cast<ClassModule*>(record) : nullptr; }
};

struct EditingState {
    Project project = no_project();
    VBForm* form = nullptr;                   // none: no project is open
    OpenModule current_module;                // none: the editor shows the form's code
    std::optional<std::string> selected;      // control name; none: the form itself
    std::optional<std::string> pending_kind;  // armed toolbox kind; none: the pointer tool
    bool dirty = false;
    EditorOwner editor_owner;
    bool lossy_import = false;

    bool project_open() const noexcept { return form != nullptr; }
    // A project without forms (one that starts with Sub Main) is loaded
    // although no form is in the designer.
    bool has_components() const noexcept {
        return form != nullptr || !project.forms.empty() || !project.modules.empty() || !project.classes.empty();
    }
    static Project no_project();
};

// Widget paths of the main window's layout that panels build into or use.
struct Widgets {
    std::string toolbar, tabs, design_panel, code_panel;
    std::string canvas, canvas_xscroll, canvas_yscroll;
    std::string props_frame, props_tree, props_xscroll, props_yscroll, prop_caption;
    std::string selected_property_var;  // Tcl variable of the label under the grid
    std::string project_tree, toolbox_canvas, toolbox_frame;
    std::string output;
    std::string main_panes, project_tool_panes, vertical_panes;
};

class Workbench {
public:
    virtual ~Workbench() = default;

    virtual tk::Interp& interp() = 0;
    virtual EditingState& state() = 0;
    virtual const Widgets& widgets() const = 0;
    virtual std::string interface_font() const = 0;
    virtual std::string interface_font_bold() const = 0;

    // Status bar, Immediate window, dirty marker.
    virtual void set_status(const std::string& text) = 0;
    virtual void log(const std::string& text) = 0;
    virtual void changed() = 0;
    virtual void add_tooltip(const std::string& widget, const std::string& text) = 0;
    // Shows an error box with the given title; returns when it is answered.
    virtual void show_error(const std::string& title, const std::string& message) = 0;

    // Panel operations the panels ask of each other.
    virtual void populate_project() = 0;
    virtual void draw_form() = 0;
    virtual void show_properties() = 0;
    virtual void load_editor(EditorKind kind, void* record) = 0;
    virtual void sync_editor() = 0;
    virtual void clear_editor() = 0;
    virtual void use_pointer() = 0;
    virtual void show_code() = 0;
    virtual void show_design() = 0;
    virtual void select_tab(int index) = 0;  // 0: Form Designer, 1: Code Editor
    // Opens (or creates) the event procedure of an object in the code editor.
    virtual void open_event_code(const std::string& object, const std::string& event) = 0;
    // Refills the code editor's Object list from the current form (the menu
    // editor calls it after each change of the menus).
    virtual void refresh_objects() {}
};

}  // namespace corvane::ide
