// The designer's geometry rules: snap, hit testing, edge zones, drag steps.
#include "ide/designer_geometry.h"

#include <algorithm>
#include <cstdlib>

#include "model/names.h"

namespace corvane::ide {

int snap(int value) {
    // Round half to even on value / SCALE, in integers (no float rounding).
    const int q = value / SCALE;  // truncates toward zero
    const int r = value % SCALE;  // same sign as value
    int n = q;
    if (2 * std::abs(r) > SCALE || (2 * std::abs(r) == SCALE && q % 2 != 0)) n += value < 0 ? -1 : 1;
    return n * SCALE;
}

Box control_box(const Control& c) {
    return {FX + c.left, CLIENT_Y + c.top, FX + c.left + c.width, CLIENT_Y + c.top + c.height};
}

std::optional<DragMode> form_resize_mode(const VBForm& form, int x, int y) {
    const int right = FX + form.width;
    const int bottom = CLIENT_Y + form.height;
    const bool on_right = std::abs(x - right) <= 10 && CLIENT_Y + 3 <= y && y <= bottom + 10;
    const bool on_bottom = std::abs(y - bottom) <= 10 && FX + 3 <= x && x <= right + 10;
    if (on_right && on_bottom) return DragMode::form_corner;
    if (on_right) return DragMode::form_right;
    if (on_bottom) return DragMode::form_bottom;
    return std::nullopt;
}

int hit(const VBForm& form, int x, int y) {
    for (int i = static_cast<int>(form.controls.size()) - 1; i >= 0; --i) {
        const Box b = control_box(form.controls[static_cast<std::size_t>(i)]);
        if (b.x1 <= x && x <= b.x2 && b.y1 <= y && y <= b.y2) return i;
    }
    return -1;
}

int min_form_width(const VBForm& form) {
    int least = 240;
    for (const Control& c : form.controls) least = std::max(least, c.left + c.width + 12);
    return least;
}

int min_form_height(const VBForm& form) {
    int least = 160;
    for (const Control& c : form.controls) least = std::max(least, c.top + c.height + 12);
    return least;
}

bool drag_step(VBForm& form, const Drag& drag, int x, int y) {
    const int dx = x - drag.x0, dy = y - drag.y0;
    switch (drag.mode) {
        case DragMode::form_right:
        case DragMode::form_bottom:
        case DragMode::form_corner:
            if (drag.mode != DragMode::form_bottom)
                form.width = std::max(min_form_width(form), snap(drag.width0 + dx));
            if (drag.mode != DragMode::form_right)
                form.height = std::max(min_form_height(form), snap(drag.height0 + dy));
            return true;
        case DragMode::move:
        case DragMode::resize: break;
    }
    Control* c = form.get_control(drag.target);
    if (!c) return false;
    if (drag.mode == DragMode::move) {
        c->left = std::min(form.width - 12, std::max(0, snap(drag.left0 + dx)));
        c->top = std::min(form.height - 12, std::max(0, snap(drag.top0 + dy)));
    } else {
        c->width = std::max(16, snap(drag.width0 + dx));
        c->height = std::max(16, snap(drag.height0 + dy));
    }
    return true;
}

}  // namespace corvane::ide
