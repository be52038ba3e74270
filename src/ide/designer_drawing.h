#pragma once
// Drawing the designed form on the design canvas. Every item carries tags
// that let the designer move or redraw one part alone during a drag:
//   "chrome"      the window, title bar, dot grid and grip (grip also "form-grip")
//   "control" and "c{index}"   the items of the control at that list index
//   "selection"   the selection outline and handles
#include <string>

#include "model/project.h"
#include "tk/interp.h"

namespace corvane::ide {

class CanvasPainter {
public:
    CanvasPainter(tk::Interp& interp, std::string canvas);

    // Clears the canvas and draws everything: the no-project notice when
    // `form` is null, else the form, its controls and the selection.
    // Without a form: the no-project texts, or those of a project without forms.
    void draw_all(const VBForm* form, const Control* selected, bool project_without_forms = false);
    // The parts alone (their old items must be deleted first).
    void draw_chrome(const VBForm& form);
    void draw_control(const Control& control, int index);
    void draw_selection(const Control& control);
    void set_scroll_region(const VBForm& form);

    static std::string control_tag(int index) { return "c" + std::to_string(index); }

    // Low-level: one canvas item of the given type at the coordinates, with
    // the options, tagged with the current tags.
    void item(const char* type, std::initializer_list<double> coords, std::initializer_list<tk::Obj> options = {});
    void set_tags(tk::Obj tags) { tags_ = std::move(tags); }
    // "DejaVu Sans" at a size, optionally bold; the objects are cached so Tk
    // parses each font once.
    tk::Obj font(int size, bool bold = false);

private:
    void draw_no_project();
    void draw_no_forms();
    void draw_dot_grid(const VBForm& form);

    tk::Interp& in_;
    std::string canvas_;
    tk::Obj tags_;
    std::vector<tk::Obj> words_;
};

}  // namespace corvane::ide
