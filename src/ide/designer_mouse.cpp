// The design canvas's bindings: hover cursors, press, drag, release,
// double-click to event code, the context menu and the arrow keys.
#include <cmath>

#include "ide/designer.h"
#include "tk/events.h"
#include "tk/widget.h"

namespace corvane::ide {

namespace {

using tk::Args;

struct ZoneCursor {
    DragMode zone;
    const char* cursor;
};
constexpr ZoneCursor ZONE_CURSORS[] = {
    {DragMode::form_corner, "bottom_right_corner"},
    {DragMode::form_right, "right_side"},
    {DragMode::form_bottom, "bottom_side"},
};

struct Nudge {
    const char* keysym;
    int dx, dy;
};
constexpr Nudge NUDGES[] = {{"Left", -SCALE, 0}, {"Right", SCALE, 0}, {"Up", 0, -SCALE}, {"Down", 0, SCALE}};

int arg(const Args& a, std::size_t i) { return static_cast<int>(a.integer(i)); }

}  // namespace

void Designer::attach() {
    tk::Interp& in = bench_.interp();
    const std::string& canvas = bench_.widgets().canvas;
    in.call({canvas, "configure", "-background", "#b9bec6", "-highlightthickness", 0, "-scrollregion",
             tk::Obj::list({0, 0, 1550, 1120})});
    painter_ = std::make_unique<CanvasPainter>(in, canvas);

    const std::vector<std::string> xy{"%x", "%y"};
    tk::bind(in, canvas, "<Button-1>", xy, [this](const Args& a) { design_down(arg(a, 0), arg(a, 1)); });
    tk::bind(in, canvas, "<B1-Motion>", xy, [this](const Args& a) { design_move(arg(a, 0), arg(a, 1)); });
    tk::bind(in, canvas, "<Motion>", xy, [this](const Args& a) { design_hover(arg(a, 0), arg(a, 1)); });
    tk::bind(in, canvas, "<ButtonRelease-1>", {}, [this] { design_up(); });
    tk::bind(in, canvas, "<Double-Button-1>", xy, [this](const Args& a) { design_double(arg(a, 0), arg(a, 1)); });
    tk::bind(in, canvas, "<Button-3>", {"%x", "%y", "%X", "%Y"}, [this](const Args& a) {
        design_right_click(arg(a, 0), arg(a, 1), arg(a, 2), arg(a, 3));
    });
    tk::bind(in, canvas, "<Delete>", {}, [this] { delete_control(); });
    tk::bind(in, canvas, "<Key>", {"%K"}, [this](const Args& a) { design_key(a.str(0)); });

    menu_ = canvas + ".context";
    in.call({"menu", menu_, "-tearoff", 0});
    in.call({menu_, "add", "command", "-label", "View Code", "-command",
             tk::widget_command(in, menu_, [this] { bench_.show_code(); })});
    in.call({menu_, "add", "command", "-label", "Duplicate Control", "-command",
             tk::widget_command(in, menu_, [this] { duplicate_control(); })});
    in.call({menu_, "add", "command", "-label", "Delete Control", "-command",
             tk::widget_command(in, menu_, [this] { delete_control(); })});
}

Designer::Point Designer::locate(int x, int y) {
    tk::Interp& in = bench_.interp();
    const std::string& canvas = bench_.widgets().canvas;
    // Scroll offsets are whole pixels; truncation only drops a ".0".
    const double cx = in.call_obj({canvas, "canvasx", x}).to_double();
    const double cy = in.call_obj({canvas, "canvasy", y}).to_double();
    return {static_cast<int>(std::trunc(cx)), static_cast<int>(std::trunc(cy))};
}

void Designer::set_cursor(const char* cursor) {
    if (cursor_ == cursor) return;
    cursor_ = cursor;
    bench_.interp().call({bench_.widgets().canvas, "configure", "-cursor", cursor});
}

void Designer::design_hover(int x, int y) {
    const EditingState& s = bench_.state();
    if (drag_ || s.pending_kind || !s.form) return;
    const Point p = locate(x, y);
    const auto zone = form_resize_mode(*s.form, p.x, p.y);
    const char* cursor = "arrow";
    for (const ZoneCursor& z : ZONE_CURSORS)
        if (zone == z.zone) cursor = z.cursor;
    set_cursor(cursor);
}

void Designer::design_down(int x, int y) {
    EditingState& s = bench_.state();
    if (!s.form) return;
    VBForm& form = *s.form;
    tk::focus(bench_.interp(), bench_.widgets().canvas);
    const Point p = locate(x, y);
    if (s.pending_kind) {
        const int a = p.x - FX, b = p.y - CLIENT_Y;
        if (a < 0 || a >= form.width || b < 0 || b >= form.height) return;  // the kind stays pending
        select(&form.new_control(*s.pending_kind, snap(a), snap(b)));
        refresh_after_change();
        bench_.use_pointer();
        return;
    }
    drag_.reset();
    drag_form_ = &form;
    if (const auto zone = form_resize_mode(form, p.x, p.y)) {
        select(nullptr);
        drag_ = Drag{FORM_TARGET, *zone, p.x, p.y, 0, 0, form.width, form.height};
    } else if (const int i = hit(form, p.x, p.y); i >= 0) {
        const Control& c = form.controls[static_cast<std::size_t>(i)];
        const Box b = control_box(c);
        const bool corner = std::abs(p.x - b.x2) <= RESIZE_GRIP && std::abs(p.y - b.y2) <= RESIZE_GRIP;
        select(&c);
        drag_ = Drag{c.name, corner ? DragMode::resize : DragMode::move, p.x, p.y, c.left, c.top, c.width, c.height};
    } else {
        select(nullptr);
    }
    draw_form();
    bench_.show_properties();
}

void Designer::design_move(int x, int y) {
    EditingState& s = bench_.state();
    if (!drag_ || !s.form || s.form != drag_form_) return;
    const Point p = locate(x, y);
    VBForm& form = *s.form;
    const bool on_form = drag_->target == FORM_TARGET;
    const Control* control = on_form ? nullptr : form.get_control(drag_->target);
    if (!on_form && !control) return;  // the control went away during the drag
    const Box before = control ? control_box(*control) : Box{};
    const int width = form.width, height = form.height;
    drag_step(form, *drag_, p.x, p.y);
    if (on_form && width == form.width && height == form.height) return;
    update_dragged(control, before);
    bench_.show_properties();
}

void Designer::design_up() {
    if (!drag_) return;
    drag_.reset();
    drag_form_ = nullptr;
    // Any press on a control or a form edge counts as a change.
    bench_.changed();
    draw_form();
}

void Designer::design_double(int x, int y) {
    EditingState& s = bench_.state();
    if (!s.form) return;
    const Point p = locate(x, y);
    const int i = hit(*s.form, p.x, p.y);
    const Control* control = i >= 0 ? &s.form->controls[static_cast<std::size_t>(i)] : nullptr;
    select(control);
    draw_form();
    bench_.show_properties();
    // Event procedures of the form and its controls always go into the form's
    // code, never into a module or class that happens to be open.
    if (!s.current_module.empty()) {
        bench_.sync_editor();
        s.current_module = {};
    }
    bench_.show_code();
    const std::string object = control ? control->name : s.form->name;
    bench_.open_event_code(object, default_event(*s.form, object));
}

void Designer::design_right_click(int x, int y, int screen_x, int screen_y) {
    EditingState& s = bench_.state();
    if (!s.form) return;
    const Point p = locate(x, y);
    const int i = hit(*s.form, p.x, p.y);
    if (i >= 0) {
        select(&s.form->controls[static_cast<std::size_t>(i)]);
        draw_form();
        bench_.show_properties();
    }
    tk::Interp& in = bench_.interp();
    const char* state = i >= 0 ? "normal" : "disabled";
    in.call({menu_, "entryconfigure", 1, "-state", state});
    in.call({menu_, "entryconfigure", 2, "-state", state});
    in.call({"tk_popup", menu_, screen_x, screen_y});
}

void Designer::design_key(const std::string& keysym) {
    Control* control = selected_control();
    if (!control) return;
    for (const Nudge& n : NUDGES) {
        if (keysym != n.keysym) continue;
        control->left = std::max(0, control->left + n.dx);
        control->top = std::max(0, control->top + n.dy);
        refresh_after_change();
        return;
    }
}

}  // namespace corvane::ide
