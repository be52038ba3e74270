// The designer's drawing and its commands on the selected control.
#include "ide/designer.h"

#include "model/names.h"
#include "tk/widget.h"

namespace corvane::ide {

std::unique_ptr<DesignerPanel> make_designer(Workbench& bench) { return std::make_unique<Designer>(bench); }

Control* Designer::selected_control() {
    EditingState& s = bench_.state();
    if (!s.form || !s.selected) return nullptr;
    return s.form->get_control(*s.selected);
}

int Designer::index_of(const Control& control) const {
    return static_cast<int>(&control - bench_.state().form->controls.data());
}

void Designer::select(const Control* control) {
    if (control) bench_.state().selected = control->name;
    else bench_.state().selected.reset();
}

void Designer::draw_form() {
    if (!painter_) return;
    const auto& state = bench_.state();
    painter_->draw_all(state.form, selected_control(), !state.form && state.has_components());
}

void Designer::refresh_after_change() {
    bench_.changed();
    draw_form();
    bench_.show_properties();
}

void Designer::tool_changed() {
    // The toolbox has set the canvas cursor for the chosen tool.
    cursor_ = bench_.state().pending_kind ? "crosshair" : "arrow";
}

void Designer::delete_control() {
    EditingState& s = bench_.state();
    Control* control = selected_control();
    if (!control) return;
    s.form->controls.erase(s.form->controls.begin() + index_of(*control));
    s.selected.reset();
    refresh_after_change();
}

void Designer::duplicate_control() {
    Control* source = selected_control();
    if (!source) return;
    // A copy first: adding the new control may move the list in memory.
    const Control original = *source;
    Control& copy = bench_.state().form->new_control(original.kind, original.left + 16, original.top + 16);
    const std::string name = copy.name;
    const int tab_index = copy.tab_index, left = copy.left, top = copy.top;
    copy = original;
    copy.name = name;
    copy.tab_index = tab_index;
    copy.left = left;
    copy.top = top;
    select(&copy);
    refresh_after_change();
}

void Designer::snap_selected() {
    Control* control = selected_control();
    if (!control) return;
    control->left = snap(control->left);
    control->top = snap(control->top);
    refresh_after_change();
}

// --- the canvas during a drag ---
//
// A drag step changes one control or the form's size. Rather than redrawing
// every item, the dragged control's items are moved (or redrawn in their
// place in the stacking order), the selection follows them, and a form
// resize redraws only the window around the controls. The release redraws
// everything once.

void Designer::update_dragged(const Control* control, const Box& before) {
    tk::Interp& in = bench_.interp();
    const std::string& canvas = bench_.widgets().canvas;
    if (!control) {
        redraw_chrome();
        return;
    }
    const Box after = control_box(*control);
    const int dx = after.x1 - before.x1, dy = after.y1 - before.y1;
    const bool resized = after.x2 - after.x1 != before.x2 - before.x1 || after.y2 - after.y1 != before.y2 - before.y1;
    if (resized) {
        redraw_control(*control);
    } else if (dx || dy) {
        in.call({canvas, "move", CanvasPainter::control_tag(index_of(*control)), dx, dy});
        in.call({canvas, "move", "selection", dx, dy});
    }
}

void Designer::redraw_control(const Control& control) {
    tk::Interp& in = bench_.interp();
    const std::string& canvas = bench_.widgets().canvas;
    const int index = index_of(control);
    const std::string tag = CanvasPainter::control_tag(index);
    in.call({canvas, "delete", tag, "selection"});
    painter_->draw_control(control, index);
    // Back to its place: above the control before it, or above the window.
    const std::string below = index > 0 ? CanvasPainter::control_tag(index - 1) : "chrome";
    if (!in.try_call({canvas, "raise", tag, below})) {
        draw_form();
        return;
    }
    if (const Control* selected = selected_control()) painter_->draw_selection(*selected);
}

void Designer::redraw_chrome() {
    tk::Interp& in = bench_.interp();
    const std::string& canvas = bench_.widgets().canvas;
    const VBForm& form = *bench_.state().form;
    in.call({canvas, "delete", "chrome"});
    painter_->draw_chrome(form);
    in.call({canvas, "lower", "chrome"});
    painter_->set_scroll_region(form);
}

std::string default_event(const VBForm& form, const std::string& object) {
    struct KindEvent {
        std::string_view kind;
        const char* event;
    };
    static constexpr KindEvent FIRST_EVENTS[] = {
        {"Timer", "Timer"},     {"TextBox", "Change"},    {"ComboBox", "Change"},
        {"HScrollBar", "Change"}, {"VScrollBar", "Change"},
    };
    if (object == form.name) return "Load";
    const Control* control = form.get_control(object);
    if (!control) return "Click";
    for (const KindEvent& k : FIRST_EVENTS)
        if (k.kind == control->kind) return k.event;
    return "Click";
}

}  // namespace corvane::ide
