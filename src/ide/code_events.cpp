// The Object and Event lists above the code and the handlers they open.
#include "ide/code_editor.h"

#include <algorithm>

#include "intellisense/source_text.h"
#include "model/names.h"
#include "tk/widget.h"
#include "vb6files/regex.h"

namespace corvane::ide {

namespace {

struct EventRow {
    std::vector<std::string_view> kinds;  // empty: any other control
    std::vector<std::string> events;
};

const std::vector<std::string> FORM_EVENTS = {"Load", "Activate", "Click", "Unload", "Resize"};
const std::vector<std::string> MENU_EVENTS = {"Click"};
const EventRow CONTROL_EVENTS[] = {
    {{"Timer"}, {"Timer"}},
    {{"TextBox", "ComboBox", "HScrollBar", "VScrollBar"}, {"Change", "Click", "KeyPress", "GotFocus", "LostFocus"}},
    {{}, {"Click", "DblClick", "MouseDown", "MouseUp", "MouseMove"}},
};

const std::vector<std::string>& control_events(std::string_view kind) {
    for (const EventRow& row : CONTROL_EVENTS) {
        if (row.kinds.empty()) return row.events;
        for (std::string_view k : row.kinds)
            if (k == kind) return row.events;
    }
    return CONTROL_EVENTS[std::size(CONTROL_EVENTS) - 1].events;
}

// A control of the form by name; controls are looked up only here.
const Control* find_control(const VBForm& form, std::string_view name) {
    for (const Control& control : form.controls)
        if (names_equal(control.name, name)) return &control;
    return nullptr;
}

void add_menu_names(const std::vector<MenuItem>& menus, std::vector<std::string>& names) {
    for (const MenuItem& menu : menus) {
        names.push_back(menu.name);
        add_menu_names(menu.children, names);
    }
}

// The header of a Sub: optional Private or Public, "Sub", the name, "(".
const Regex& sub_header() {
    static const Regex re(R"(^\s*(?:Private|Public)?\s*Sub\s+(\w+)\s*\()", Regex::CASELESS);
    return re;
}

}  // namespace

void CodeEditor::refresh_object_entries() {
    const VBForm* form = bench_.state().form;
    if (!form || object_combo_.empty()) return;
    objects_.clear();
    objects_.push_back(form->name);
    for (const Control& control : form->controls) objects_.push_back(control.name);
    add_menu_names(form->menus, objects_);
    bench_.interp().call({object_combo_, "configure", "-values", tk::Obj::list(objects_)});
}

void CodeEditor::refresh_objects() {
    const VBForm* form = bench_.state().form;
    if (!form || object_combo_.empty()) return;
    refresh_object_entries();
    object_var_.set(form->name);
    event_options();
}

void CodeEditor::event_options(const std::string& preferred) {
    const VBForm* form = bench_.state().form;
    if (!form || event_combo_.empty()) return;
    const std::string object = object_var_.text();
    if (object == form->name) {
        events_ = FORM_EVENTS;
    } else if (const Control* control = find_control(*form, object)) {
        events_ = control_events(control->kind);
    } else {
        events_ = MENU_EVENTS;
    }
    bench_.interp().call({event_combo_, "configure", "-values", tk::Obj::list(events_)});
    const bool known = std::find(events_.begin(), events_.end(), preferred) != events_.end();
    event_var_.set(known ? preferred : events_.front());
}

std::string CodeEditor::procedure_name() const {
    const std::string object = object_var_.text(), event = event_var_.text();
    if (object.empty() || event.empty()) return {};
    // The running form raises its own events as Form_..., whatever its name.
    const bool is_form = object == bench_.state().form->name;
    return (is_form ? std::string("Form") : object) + "_" + event;
}

std::optional<int> CodeEditor::find_procedure(const std::string& name) const {
    const std::string all = text();
    int number = 0;
    for (std::string_view line : intellisense::split_lines(all)) {
        ++number;
        auto groups = sub_header().match_groups(line);
        if (groups && names_equal((*groups)[1], name)) return number;
    }
    return std::nullopt;
}

void CodeEditor::create_procedure(const std::string& name) {
    tk::Interp& in = bench_.interp();
    const long last = std::stol(in.call({text_, "index", "end-1c"}));
    in.call({text_, "insert", "end-1c", "\nPrivate Sub " + name + "()\n    \nEnd Sub\n"});
    const std::string body = std::to_string(last + 2) + ".end";
    in.call({text_, "mark", "set", "insert", body});
    // The new skeleton is brought into view: the cursor went there.
    in.call({text_, "see", std::to_string(last + 3) + ".0"});
    in.call({text_, "see", "insert"});
    bench_.changed();
    schedule_highlight();
}

void CodeEditor::ensure_event() {
    if (!bench_.state().form) return;
    bench_.show_code();
    const std::string name = procedure_name();
    if (name.empty()) return;
    tk::Interp& in = bench_.interp();
    if (const std::optional<int> line = find_procedure(name)) {
        const std::string start = std::to_string(*line) + ".0";
        in.call({text_, "mark", "set", "insert", start});
        in.call({text_, "see", start});
    } else {
        create_procedure(name);
    }
    tk::focus(in, text_);
}

void CodeEditor::open_event_code(const std::string& object, const std::string& event) {
    EditingState& state = bench_.state();
    if (!state.form) return;
    // The handlers of the form's objects live in the form's code.
    state.current_module = {};
    if (!state.editor_owner.holds(EditorKind::form, state.form)) load_editor(EditorKind::form, state.form);
    object_var_.set(object);
    event_options(event);
    ensure_event();
}

void CodeEditor::show_line(EditorKind kind, void* record, int line) {
    if (!record) return;
    EditingState& state = bench_.state();
    state.current_module = kind == EditorKind::form ? OpenModule{} : OpenModule{kind, record};
    if (!state.editor_owner.holds(kind, record)) load_editor(kind, record);
    bench_.select_tab(1);
    tk::Interp& in = bench_.interp();
    const std::string start = std::to_string(std::max(line, 1)) + ".0";
    in.call({text_, "tag", "remove", "marked", "1.0", "end"});
    in.call({text_, "tag", "add", "marked", start, start + " lineend +1c"});
    in.call({text_, "mark", "set", "insert", start});
    in.call({text_, "see", start});
    tk::focus(in, text_);
}

}  // namespace corvane::ide
