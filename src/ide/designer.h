#pragma once
// The form designer: the design canvas of the "Form Designer" tab. Its
// operations live in designer.cpp (drawing, commands on the selection) and
// designer_mouse.cpp (pointer and key handlers, context menu).
#include <memory>
#include <optional>
#include <string>

#include "ide/designer_drawing.h"
#include "ide/designer_geometry.h"
#include "ide/panels.h"

namespace corvane::ide {

class Designer final : public DesignerPanel {
public:
    explicit Designer(Workbench& bench) : bench_(bench) {}

    void attach() override;
    void draw_form() override;
    void tool_changed() override;
    void delete_control() override;
    void duplicate_control() override;
    void snap_selected() override;

    // Event handlers; x and y are window coordinates of the canvas.
    void design_hover(int x, int y);
    void design_down(int x, int y);
    void design_move(int x, int y);
    void design_up();
    void design_double(int x, int y);
    void design_right_click(int x, int y, int screen_x, int screen_y);
    void design_key(const std::string& keysym);

private:
    struct Point {
        int x, y;
    };
    // The event's canvas coordinates (window position plus scroll offsets).
    Point locate(int x, int y);
    // The selected control, if it still exists on the current form.
    Control* selected_control();
    int index_of(const Control& control) const;
    void select(const Control* control);
    // Model changed by a command: mark, redraw, refill the grid.
    void refresh_after_change();
    void set_cursor(const char* cursor);
    // The canvas after one drag step, without redrawing everything.
    void update_dragged(const Control* control, const Box& before);
    void redraw_control(const Control& control);
    void redraw_chrome();

    Workbench& bench_;
    std::unique_ptr<CanvasPainter> painter_;
    std::optional<Drag> drag_;
    const VBForm* drag_form_ = nullptr;
    std::string cursor_ = "arrow";
    std::string menu_;
};

// The event whose procedure a double-click opens for an object: the first of
// the object's event list in the code editor.
std::string default_event(const VBForm& form, const std::string& object);

}  // namespace corvane::ide
