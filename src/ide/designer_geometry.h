#pragma once
// The designer's geometry: where the form and its controls lie on the
// canvas, what a point hits, the form's edge zones, the grid snap and one
// step of a drag. Pure functions over the model, so the mouse handlers, the
// drawing and the tests share one set of rules.
#include <optional>
#include <string>

#include "ide/constants.h"
#include "model/project.h"

namespace corvane::ide {

// Canvas y of the form's client area.
inline constexpr int CLIENT_Y = FY + TITLE_H;

// The nearest multiple of the grid step; a quotient exactly halfway between
// two whole numbers goes to the even one (4 -> 0, 12 -> 16, -12 -> -16).
int snap(int value);

struct Box {
    int x1, y1, x2, y2;
};
// A control's rectangle in canvas coordinates.
Box control_box(const Control& control);

// What a press grabbed.
enum class DragMode { move, resize, form_right, form_bottom, form_corner };

// The form's edge zone under a canvas point: form_right, form_bottom,
// form_corner, or none.
std::optional<DragMode> form_resize_mode(const VBForm& form, int x, int y);

// Index of the topmost control under a canvas point, or -1. Controls later
// in the list lie above earlier ones; edges count as inside.
int hit(const VBForm& form, int x, int y);

// Within this many pixels of a control's bottom-right corner a press resizes it.
inline constexpr int RESIZE_GRIP = 9;

// The record of a press, used by the motion and release that follow.
struct Drag {
    std::string target;  // a control's name, or FORM_TARGET
    DragMode mode = DragMode::move;
    int x0 = 0, y0 = 0;
    int left0 = 0, top0 = 0, width0 = 0, height0 = 0;
};
inline constexpr const char* FORM_TARGET = "__form__";

// Smallest form size that keeps every control's right and bottom edge 12
// pixels inside, and never under 240 x 160.
int min_form_width(const VBForm& form);
int min_form_height(const VBForm& form);

// Applies one motion step of a drag to the model (the pointer at canvas x, y).
// Returns false when the drag's control no longer exists.
bool drag_step(VBForm& form, const Drag& drag, int x, int y);

}  // namespace corvane::ide
