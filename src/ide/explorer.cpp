// The project explorer: the project's forms, modules and classes. Selecting
// an entry brings the form into the designer or the module into the editor.
#include "ide/ide.h"

namespace corvane::ide {

namespace {

struct Group {
    const char* id;
    const char* text;
    const char* prefix;   // item identifiers: prefix + name
    const char* suffix;   // shown after the name
};

}  // namespace

void IDE::populate_project() {
    tk::Interp& in = interp_;
    const std::string& tree = widgets_.project_tree;
    in.call({tree, "delete", in.call_obj({tree, "children", ""})});
    const Project& p = state_.project;
    if (!state_.has_components()) {
        in.call({tree, "insert", "", "end", "-id", "empty", "-text", "(No project open)"});
        return;
    }
    in.call({tree, "insert", "", "end", "-id", "project", "-text", "\u25a6 " + p.name, "-open", 1});
    auto add_group = [&](const Group& group, const auto& records, const char* glyph) {
        in.call({tree, "insert", "project", "end", "-id", group.id, "-text", group.text, "-open", 1});
        for (const auto& record : records) {
            // A project may hold two records of one name; the second stays out of the tree.
            in.try_call({tree, "insert", group.id, "end", "-id", std::string(group.prefix) + record.name, "-text",
                         std::string(glyph) + " " + record.name + " " + group.suffix});
        }
    };
    add_group({"forms", "Forms", "f:", "(.frm)"}, p.forms, "\u25a3");
    add_group({"modules", "Modules", "m:", "(.bas)"}, p.modules, "\u25a4");
    add_group({"classes", "Classes", "c:", "(.cls)"}, p.classes, "\u25a4");
    if (state_.form) select_explorer_item("f:" + state_.form->name);
}

void IDE::select_explorer_item(const std::string& id) {
    const std::string& tree = widgets_.project_tree;
    if (interp_.call({tree, "exists", id}) != "1") return;
    interp_.call({tree, "selection", "set", tk::Obj::list({id})});
    interp_.call({tree, "focus", id});
    interp_.call({tree, "see", id});
}

void IDE::project_hover(int y) {
    const std::string& tree = widgets_.project_tree;
    const std::string item = interp_.call({tree, "identify", "row", 0, y});
    if (item.empty()) return;
    set_status(interp_.call({tree, "item", item, "-text"}) + "  \u2022  Double-click or select to open");
}

void IDE::project_select() {
    const auto selection = interp_.call_obj({widgets_.project_tree, "selection"}).to_list();
    if (selection.empty()) return;
    const std::string id = selection.front().str();
    Project& p = state_.project;
    const std::string name = id.size() > 2 ? id.substr(2) : std::string();
    if (id.starts_with("f:")) {
        VBForm* form = p.lookup_form(name);
        if (!form || form == state_.form) return;
        sync_editor();
        state_.form = form;
        state_.current_module = {};
        state_.selected.reset();
        load_form_code();
        draw_form();
        show_properties();
        select_tab(0);
    } else if (id.starts_with("m:") || id.starts_with("c:")) {
        const EditorKind kind = id[0] == 'm' ? EditorKind::module : EditorKind::klass;
        void* record = kind == EditorKind::module ? static_cast<void*>(p.lookup_module(name))
                                                  : static_cast<void*>(p.lookup_class(name));
        if (!record) return;
        state_.current_module = {kind, record};
        if (!state_.editor_owner.holds(kind, record)) load_editor(kind, record);
        select_tab(1);
    }
}

void IDE::tab_changed() {
    if (interp_.call({widgets_.tabs, "index", "current"}) != "1") return;
    if (state_.project_open() && state_.current_module.empty() &&
        !state_.editor_owner.holds(EditorKind::form, state_.form))
        load_form_code();
}

void IDE::show_code() {
    if (!state_.project_open()) return;
    if (state_.current_module.empty() && !state_.editor_owner.holds(EditorKind::form, state_.form)) load_form_code();
    select_tab(1);
    // The caret goes to the code, as VB's View Code puts it there.
    interp_.try_call({"focus", code_editor_->text_widget()});
}

void IDE::show_design() {
    if (!state_.project_open()) return;
    if (!state_.current_module.empty()) {
        sync_editor();
        state_.current_module = {};
        load_form_code();
        select_explorer_item("f:" + state_.form->name);
    }
    select_tab(0);
    draw_form();
}

}  // namespace corvane::ide
