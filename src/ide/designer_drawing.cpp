// The design canvas's picture: the form as a window with title bar, dot grid
// and grip, each control by its kind's drawing, the hidden-control mark and
// the selection. The per-kind drawings are one table.
#include "ide/designer_drawing.h"

#include <tk.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <string_view>

#include "ide/designer_geometry.h"
#include "model/access_key.h"

namespace corvane::ide {

namespace {

using tk::Obj;

constexpr int TH = TITLE_H;

Obj dash(int on, int off) { return Obj::list({on, off}); }

std::size_t code_points(std::string_view text) {
    return static_cast<std::size_t>(
        std::count_if(text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

// The fore colour as Tk will take it: a colour that is not "#rrggbb" (a
// hand-edited project file may hold anything) draws black instead of making
// the whole redraw fail.
std::string drawable_colour(const std::string& colour) {
    const bool valid = colour.size() == 7 && colour[0] == '#' &&
                       std::all_of(colour.begin() + 1, colour.end(), [](char ch) { return std::isxdigit(static_cast<unsigned char>(ch)); });
    return valid ? colour : "#000000";
}

// Font sizes beyond this draw at this size: the rasteriser would otherwise
// spend seconds on glyphs far larger than any form.
constexpr int MOST_POINTS = 400;

// What the drawings take from a control, in canvas pixels.
struct View {
    double x, y, w, h;
    const Control& c;
    const char* line;  // outline colour: lighter when disabled
    std::string fg;    // the fore colour
    ShownCaption shown;  // the caption as it shows (access key underlined)
    int points() const { return std::clamp(c.font_size, 6, MOST_POINTS); }
    double mid_y() const { return y + h / 2; }
    // A value clamped to 0..100, as bars and sliders show it.
    double percent() const { return std::clamp(c.value, 0, 100); }
};

using Draw = void (*)(CanvasPainter&, const View&, std::string_view label);

// The framed white box several kinds share.
void white_box(CanvasPainter& p, const View& v) {
    p.item("rectangle", {v.x, v.y, v.x + v.w, v.y + v.h}, {"-fill", "#ffffff", "-outline", v.line, "-width", 1});
}

Obj wrap(double width) { return Obj(std::max(10.0, width)); }

void draw_timer(CanvasPainter& p, const View& v, std::string_view) {
    p.item("rectangle", {v.x, v.y, v.x + v.w, v.y + v.h}, {"-fill", "#ecf2fc", "-outline", "#315c9a"});
    p.item("text", {v.x + v.w / 2, v.y + v.h / 2}, {"-text", "\u25f7", "-fill", "#225c9e", "-font", p.font(17)});
}

void draw_button(CanvasPainter& p, const View& v, std::string_view) {
    p.item("rectangle", {v.x, v.y, v.x + v.w, v.y + v.h}, {"-fill", "#e6e6e6", "-outline", v.line, "-width", 1});
    p.item("text", {v.x + v.w / 2, v.mid_y()}, {"-text", v.shown.text, "-underline", v.shown.underline, "-fill", v.fg, "-width",
                                                 wrap(v.w - 12), "-font", p.font(v.points(), v.c.font_bold)});
}

void draw_text_box(CanvasPainter& p, const View& v, std::string_view) {
    p.item("rectangle", {v.x, v.y, v.x + v.w, v.y + v.h}, {"-fill", "#ffffff", "-outline", v.line, "-width", 2});
    p.item("text", {v.x + 5, v.mid_y()}, {"-text", v.c.text, "-anchor", "w", "-fill", v.fg, "-width",
                                          wrap(v.w - 12), "-font", p.font(v.points(), v.c.font_bold)});
}

void draw_label(CanvasPainter& p, const View& v, std::string_view) {
    p.item("rectangle", {v.x, v.y, v.x + v.w, v.y + v.h}, {"-fill", "#f0f0f0", "-outline", "#93979d", "-dash", dash(2, 2)});
    p.item("text", {v.x + 5, v.mid_y()}, {"-text", v.shown.text, "-underline", v.shown.underline, "-anchor", "w", "-fill", v.fg, "-width",
                                          wrap(v.w - 12), "-font", p.font(v.points(), v.c.font_bold)});
}

void draw_frame(CanvasPainter& p, const View& v, std::string_view) {
    p.item("rectangle", {v.x, v.y + 7, v.x + v.w, v.y + v.h}, {"-outline", v.line, "-fill", "#f0f0f0"});
    const double gap = std::min(v.w - 8, 7.0 * static_cast<double>(code_points(v.shown.text)) + 25);
    p.item("rectangle", {v.x + 10, v.y, v.x + gap, v.y + 17}, {"-fill", "#f0f0f0", "-outline", ""});
    p.item("text", {v.x + 16, v.y + 7}, {"-text", v.shown.text, "-underline", v.shown.underline, "-anchor", "w", "-fill", v.fg});
}

// CheckBox and OptionButton: a square or a circle, its mark, the caption.
void draw_choice(CanvasPainter& p, const View& v, bool round) {
    const double m = v.mid_y();
    p.item(round ? "oval" : "rectangle", {v.x + 3, m - 6, v.x + 15, m + 6}, {"-fill", "#ffffff", "-outline", v.line});
    if (v.c.value != 0) {
        if (round) p.item("oval", {v.x + 7, m - 2, v.x + 11, m + 2}, {"-fill", "#2f67a0"});
        else p.item("text", {v.x + 9, m}, {"-text", "\u2713", "-fill", "#155a9d"});
    }
    p.item("text", {v.x + 21, m}, {"-text", v.shown.text, "-underline", v.shown.underline, "-anchor", "w", "-fill", v.fg, "-width",
                                   wrap(v.w - 28)});
}
void draw_check(CanvasPainter& p, const View& v, std::string_view) { draw_choice(p, v, false); }
void draw_option(CanvasPainter& p, const View& v, std::string_view) { draw_choice(p, v, true); }

void draw_list(CanvasPainter& p, const View& v, std::string_view) {
    white_box(p, v);
    if (v.c.items.empty()) return;
    const int rows = std::max(1, static_cast<int>((v.h - 4) / 18));
    std::string_view rest = v.c.items;
    for (int i = 0; i < rows; ++i) {
        const std::size_t bar = rest.find('|');
        p.item("text", {v.x + 6, v.y + 9 + 18.0 * i}, {"-text", rest.substr(0, bar), "-anchor", "w", "-fill",
                                                        v.fg, "-width", wrap(v.w - 16)});
        if (bar == std::string_view::npos) break;
        rest.remove_prefix(bar + 1);
    }
}

void draw_combo(CanvasPainter& p, const View& v, std::string_view) {
    white_box(p, v);
    p.item("text", {v.x + 5, v.mid_y()}, {"-text", v.c.text, "-anchor", "w", "-fill", v.fg});
    p.item("rectangle", {v.x + v.w - 23, v.y + 2, v.x + v.w - 2, v.y + v.h - 2},
           {"-fill", "#e7e9ec", "-outline", "#9fa4a9"});
    p.item("text", {v.x + v.w - 12, v.mid_y()}, {"-text", "\u25be"});
}

void draw_picture(CanvasPainter& p, const View& v, std::string_view label) {
    white_box(p, v);
    p.item("text", {v.x + v.w / 2, v.y + v.h / 2}, {"-text", label, "-fill", "#6c7380"});
}

// A Shape as it runs: its kind (the square kinds centred in the box), its
// solid fill and its border.
void draw_shape(CanvasPainter& p, const View& v, std::string_view) {
    const int kind = v.c.shape;
    double x = v.x, y = v.y, w = v.w, h = v.h;
    if (kind == 1 || kind == 3 || kind == 5) {
        const double side = std::min(w, h);
        x += (w - side) / 2, y += (h - side) / 2, w = h = side;
    }
    const std::string fill = v.c.fill_style == 0 ? drawable_colour(v.c.fill_color)
                             : v.c.back_style == 1 ? drawable_colour(v.c.back_color)
                                                   : std::string();
    const std::string outline = v.c.border_style == 0 ? std::string() : drawable_colour(v.c.border_color);
    const Obj width = std::clamp(v.c.border_width, 1, 20);
    if (kind == 2 || kind == 3) {
        p.item("oval", {x, y, x + w, y + h}, {"-outline", outline, "-width", width, "-fill", fill});
    } else if (kind == 4 || kind == 5) {
        const double r = std::min(w, h) / 6;
        // Doubled points keep the sides straight; the corners pull the curves round.
        const double r2 = x + w - r, b = y + h;
        p.item("polygon", {x + r, y, x + r, y, r2, y, r2, y, x + w, y, x + w, y + r, x + w, y + r, x + w, b - r,
                           x + w, b - r, x + w, b, r2, b, r2, b, x + r, b, x + r, b, x, b, x, b - r, x, b - r,
                           x, y + r, x, y + r, x, y},
               {"-outline", outline, "-width", width, "-fill", fill, "-smooth", 1});
    } else {
        p.item("rectangle", {x, y, x + w, y + h}, {"-outline", outline, "-width", width, "-fill", fill});
    }
}

// A Line between its two ends.
void draw_line(CanvasPainter& p, const View& v, std::string_view) {
    p.item("line", {v.x + v.c.x1, v.y + v.c.y1, v.x + v.c.x2, v.y + v.c.y2},
           {"-fill", drawable_colour(v.c.border_color), "-width", std::clamp(v.c.border_width, 1, 20)});
}

void draw_progress(CanvasPainter& p, const View& v, std::string_view) {
    white_box(p, v);
    // An empty bar is left out: Tk would still paint a zero-width rectangle
    // as a one-pixel sliver.
    const double right = std::max(2.0, (v.w - 4) * v.percent() / 100);
    if (right > 2) p.item("rectangle", {v.x + 2, v.y + 2, v.x + right, v.y + v.h - 2}, {"-fill", "#438dbe", "-outline", ""});
}

void draw_slider(CanvasPainter& p, const View& v, std::string_view) {
    p.item("line", {v.x + 8, v.mid_y(), v.x + v.w - 8, v.mid_y()}, {"-fill", "#858e9c", "-width", 3});
    const double cx = v.x + 8 + (v.w - 16) * v.percent() / 100;
    p.item("rectangle", {cx - 6, v.y + 7, cx + 6, v.y + v.h - 7}, {"-fill", "#e1e5ea", "-outline", "#909aa2"});
}

void draw_scroll_bar(CanvasPainter& p, const View& v, bool vertical) {
    p.item("rectangle", {v.x, v.y, v.x + v.w, v.y + v.h}, {"-fill", "#e6e8eb", "-outline", v.line});
    if (vertical) p.item("rectangle", {v.x + 3, v.y + 26, v.x + v.w - 3, v.y + 48}, {"-fill", "#bec7d0", "-outline", v.line});
    else p.item("rectangle", {v.x + 26, v.y + 3, v.x + 48, v.y + v.h - 3}, {"-fill", "#bec7d0", "-outline", v.line});
}
void draw_hscroll(CanvasPainter& p, const View& v, std::string_view) { draw_scroll_bar(p, v, false); }
void draw_vscroll(CanvasPainter& p, const View& v, std::string_view) { draw_scroll_bar(p, v, true); }

// A white box naming its kind (or, for a RichTextBox, showing its text).
void draw_named_box(CanvasPainter& p, const View& v, std::string_view) {
    white_box(p, v);
    const bool own_text = v.c.kind == "RichTextBox" && !v.c.text.empty();
    p.item("text", {v.x + 7, v.y + 12}, {"-text", own_text ? v.c.text : v.c.kind, "-anchor", "w", "-fill", "#546477"});
}

// The design-time bodies of the kinds that have no runtime look of their own
// on a VB6 form: the dialog as a small icon box holding a little window, the
// status bar as a bar with a sunken panel and a size grip, the tab strip as
// two tabs over a page, the grid with its fixed row and column.
void draw_common_dialog(CanvasPainter& p, const View& v, std::string_view) {
    p.item("rectangle", {v.x, v.y, v.x + v.w, v.y + v.h}, {"-fill", "#ecf2fc", "-outline", "#315c9a"});
    const double x1 = v.x + 6, x2 = v.x + std::max(7.0, v.w - 6), y1 = v.y + 7, y2 = v.y + std::max(8.0, v.h - 7);
    p.item("rectangle", {x1, y1, x2, y2}, {"-fill", "#ffffff", "-outline", "#315c9a"});
    p.item("rectangle", {x1, y1, x2, std::min(y2, y1 + 5)}, {"-fill", "#315c9a", "-outline", "#315c9a"});
}

void draw_status_bar(CanvasPainter& p, const View& v, std::string_view) {
    p.item("rectangle", {v.x, v.y, v.x + v.w, v.y + v.h}, {"-fill", "#e6e8eb", "-outline", v.line});
    const double panel_right = v.x + std::max(6.0, v.w - 22);
    p.item("rectangle", {v.x + 3, v.y + 3, panel_right, v.y + v.h - 3}, {"-fill", "#f0f0f0", "-outline", "#858e9c"});
    const std::string& shown = v.c.text.empty() ? v.c.caption : v.c.text;
    p.item("text", {v.x + 8, v.mid_y()}, {"-text", shown, "-anchor", "w", "-fill", v.fg});
    const double bx = v.x + v.w, by = v.y + v.h;
    for (int n : {4, 8, 12}) p.item("line", {bx - n, by - 2, bx - 2, by - n}, {"-fill", "#536980", "-width", 1});
}

void draw_tab_strip(CanvasPainter& p, const View& v, std::string_view) {
    p.item("rectangle", {v.x, v.y + 24, v.x + v.w, v.y + v.h}, {"-fill", "#f0f0f0", "-outline", v.line});
    std::vector<std::string_view> tabs;
    for (std::string_view rest = v.c.items; !rest.empty();) {
        const std::size_t bar = rest.find('|');
        tabs.push_back(rest.substr(0, bar));
        rest = bar == std::string_view::npos ? std::string_view() : rest.substr(bar + 1);
    }
    if (tabs.empty()) tabs = {"Tab 1", "Tab 2"};
    double left = v.x + 2;
    for (std::size_t i = 0; i < tabs.size(); ++i) {
        const double right = left + std::max(48.0, 7.0 * static_cast<double>(code_points(tabs[i])) + 20);
        if (right > v.x + v.w - 2) break;  // tabs that do not fit are left out
        const bool front = i == 0;
        p.item("rectangle", {left, v.y + (front ? 2 : 5), right, v.y + (front ? 25 : 24)},
               {"-fill", front ? "#f0f0f0" : "#e1e5ea", "-outline", v.line});
        p.item("text", {(left + right) / 2, v.y + (front ? 14 : 15)}, {"-text", tabs[i], "-fill", v.fg});
        left = right;
    }
}

void draw_flex_grid(CanvasPainter& p, const View& v, std::string_view) {
    constexpr double ROW = 20, COL = 64, FIXED_COL = 36;
    constexpr int MOST_LINES = 200;  // a huge grid still draws in bounded time
    white_box(p, v);
    p.item("rectangle", {v.x + 1, v.y + 1, v.x + v.w, v.y + std::min(v.h, ROW)}, {"-fill", "#e1e5ea", "-outline", ""});
    p.item("rectangle", {v.x + 1, v.y + 1, v.x + std::min(v.w, FIXED_COL), v.y + v.h}, {"-fill", "#e1e5ea", "-outline", ""});
    int n = 0;
    for (double gx = v.x + FIXED_COL; gx < v.x + v.w && n < MOST_LINES; gx += COL, ++n)
        p.item("line", {gx, v.y + 1, gx, v.y + v.h}, {"-fill", "#c2c9d2"});
    for (double gy = v.y + ROW; gy < v.y + v.h && n < 2 * MOST_LINES; gy += ROW, ++n)
        p.item("line", {v.x + 1, gy, v.x + v.w, gy}, {"-fill", "#c2c9d2"});
    p.item("rectangle", {v.x, v.y, v.x + v.w, v.y + v.h}, {"-outline", v.line});
}

struct KindDrawing {
    std::string_view kind;
    Draw draw;
    std::string_view label = {};
};

constexpr KindDrawing KIND_DRAWINGS[] = {
    {"Timer", draw_timer},
    {"CommandButton", draw_button},
    {"TextBox", draw_text_box},
    {"Label", draw_label},
    {"Frame", draw_frame},
    {"CheckBox", draw_check},
    {"OptionButton", draw_option},
    {"ListBox", draw_list},
    {"ComboBox", draw_combo},
    {"PictureBox", draw_picture, "\u25a7 PictureBox"},
    {"Image", draw_picture, "\u25a7 Image"},
    {"Shape", draw_shape},
    {"Line", draw_line},
    {"ProgressBar", draw_progress},
    {"Slider", draw_slider},
    {"HScrollBar", draw_hscroll},
    {"VScrollBar", draw_vscroll},
    {"Data", draw_named_box},
    {"TreeView", draw_named_box},
    {"ListView", draw_named_box},
    {"DataGrid", draw_named_box},
    {"FileListBox", draw_named_box},
    {"DirListBox", draw_named_box},
    {"DriveListBox", draw_named_box},
    {"RichTextBox", draw_named_box},
    {"CommonDialog", draw_common_dialog},
    {"StatusBar", draw_status_bar},
    {"TabStrip", draw_tab_strip},
    {"MSFlexGrid", draw_flex_grid},
};

const KindDrawing* find_drawing(std::string_view kind) {
    for (const KindDrawing& d : KIND_DRAWINGS)
        if (d.kind == kind) return &d;
    return nullptr;
}

// The dot grid is one stippled rectangle rather than one item per dot: the
// stipple's 8 x 8 cell holds a 2 x 2 dot in its top-left corner, exactly the
// pixels a one-pixel outlined square from (x, y) to (x + 1, y + 1) covers.
constexpr const char* DOT_BITMAP = "corvane_design_dots";
constexpr unsigned char DOT_BITS[8] = {0x03, 0x03, 0, 0, 0, 0, 0, 0};

void define_dot_bitmap(tk::Interp& in) {
    static Tcl_Interp* defined_for = nullptr;
    if (defined_for == in.raw()) return;
    // An error means it is already defined in this interpreter.
    if (Tk_DefineBitmap(in.raw(), Tk_GetUid(DOT_BITMAP), reinterpret_cast<const char*>(DOT_BITS), 8, 8) != TCL_OK)
        Tcl_ResetResult(in.raw());
    defined_for = in.raw();
}

}  // namespace

CanvasPainter::CanvasPainter(tk::Interp& interp, std::string canvas) : in_(interp), canvas_(std::move(canvas)) {
    words_.reserve(40);
}

tk::Obj CanvasPainter::font(int size, bool bold) {
    static std::map<std::pair<int, bool>, Obj> cache;
    auto [it, added] = cache.try_emplace({size, bold});
    if (added) it->second = bold ? Obj::list({"DejaVu Sans", size, "bold"}) : Obj::list({"DejaVu Sans", size});
    return it->second;
}

void CanvasPainter::item(const char* type, std::initializer_list<double> coords, std::initializer_list<Obj> options) {
    words_.clear();
    words_.emplace_back(canvas_);
    words_.emplace_back("create");
    words_.emplace_back(type);
    for (double c : coords) words_.emplace_back(c);
    for (const Obj& o : options) words_.push_back(o);
    if (!tags_.is_null()) {
        words_.emplace_back("-tags");
        words_.push_back(tags_);
    }
    in_.call_obj(std::span<const Obj>(words_));
}

void CanvasPainter::draw_all(const VBForm* form, const Control* selected, bool project_without_forms) {
    in_.call({canvas_, "delete", "all"});
    if (!form) {
        if (project_without_forms) draw_no_forms();
        else draw_no_project();
        return;
    }
    draw_chrome(*form);
    for (std::size_t i = 0; i < form->controls.size(); ++i) draw_control(form->controls[i], static_cast<int>(i));
    if (selected) draw_selection(*selected);
    set_scroll_region(*form);
}

void CanvasPainter::draw_no_project() {
    tags_ = Obj();
    item("text", {90, 90}, {"-text", "No project open", "-anchor", "nw", "-font", font(20, true), "-fill", "#34455c"});
    item("text", {90, 143}, {"-text", "Choose File \u2192 New Project (Ctrl+N) or Open Project (Ctrl+O).", "-anchor",
                             "nw", "-font", font(11), "-fill", "#48586d"});
}

// A project of modules and classes only (one that starts with Sub Main).
void CanvasPainter::draw_no_forms() {
    tags_ = Obj();
    item("text", {90, 90}, {"-text", "This project has no forms", "-anchor", "nw", "-font", font(20, true), "-fill",
                            "#34455c"});
    item("text", {90, 143}, {"-text", "Open a module in the Project Explorer, or add a form with Project \u2192 Add Form.",
                             "-anchor", "nw", "-font", font(11), "-fill", "#48586d"});
}

void CanvasPainter::draw_chrome(const VBForm& form) {
    const double L = FX, T = FY, W = form.width, H = form.height;
    tags_ = Obj::list({"chrome"});
    item("rectangle", {L + 5, T + 5, L + W + 5, T + TH + H + 5}, {"-fill", "#848a91", "-outline", ""});
    item("rectangle", {L, T, L + W, T + TH + H}, {"-fill", "#f0f0f0", "-outline", "#3c4450", "-width", 2});
    item("rectangle", {L + 2, T + 2, L + W - 2, T + TH - 2}, {"-fill", "#143f85", "-outline", ""});
    item("text", {L + 10, T + 14}, {"-text", "\u25a3  " + form.caption, "-anchor", "w", "-fill", "#ffffff", "-font",
                                    font(10, true), "-width", std::max(100.0, W - 102)});
    static const char* const SYMBOLS[] = {"\u2581", "\u25a1", "\u00d7"};
    for (int i = 0; i < 3; ++i) {
        const double x = L + W - 66 + 21 * i;
        item("rectangle", {x + 1, T + 5, x + 20, T + TH - 5}, {"-fill", "#dedede", "-outline", "#454b53"});
        item("line", {x + 2, T + 6, x + 19, T + 6}, {"-fill", "#ffffff"});
        item("line", {x + 2, T + 6, x + 2, T + TH - 6}, {"-fill", "#ffffff"});
        item("text", {x + 11, T + 14}, {"-text", SYMBOLS[i], "-fill", "#121212", "-font", font(10, true)});
    }
    draw_dot_grid(form);
    const double bx = L + W, by = T + TH + H;
    tags_ = Obj::list({"chrome", "form-grip"});
    item("rectangle", {bx - 16, by - 16, bx, by}, {"-fill", "#d5deea", "-outline", "#5b6b7b"});
    for (int n : {4, 8, 12}) item("line", {bx - n, by - 2, bx - 2, by - n}, {"-fill", "#536980", "-width", 1});
}

void CanvasPainter::draw_dot_grid(const VBForm& form) {
    // Dots at x = L + 8, L + 16, ... while x < L + W, likewise down the client area.
    const int last_x = form.width > SCALE ? FX + (form.width - 1) / SCALE * SCALE : 0;
    const int last_y = form.height > SCALE ? CLIENT_Y + (form.height - 1) / SCALE * SCALE : 0;
    if (!last_x || !last_y) return;
    define_dot_bitmap(in_);
    const int x0 = FX + SCALE, y0 = CLIENT_Y + SCALE;
    tags_ = Obj::list({"chrome", "dot-grid"});
    item("rectangle", {double(x0), double(y0), double(last_x + 2), double(last_y + 2)},
         {"-fill", "#c1c5ca", "-outline", "", "-stipple", DOT_BITMAP, "-offset",
          std::to_string(x0) + "," + std::to_string(y0)});
}

void CanvasPainter::draw_control(const Control& c, int index) {
    tags_ = Obj::list({"control", control_tag(index)});
    const Box b = control_box(c);
    const View v{double(b.x1), double(b.y1), double(c.width), double(c.height), c,
                 c.enabled ? "#858e9c" : "#afb5be", drawable_colour(c.fore_color), shown_caption(c.caption)};
    if (const KindDrawing* d = find_drawing(c.kind)) d->draw(*this, v, d->label);
    else draw_named_box(*this, v, {});  // a kind this version does not know still shows where it is
    if (!c.visible && c.kind != "Timer")
        item("line", {v.x, v.y, v.x + v.w, v.y + v.h}, {"-fill", "#ad4747", "-dash", dash(4, 3)});
}

void CanvasPainter::draw_selection(const Control& c) {
    tags_ = Obj::list({"selection"});
    const Box b = control_box(c);
    const double x1 = b.x1, y1 = b.y1, x2 = b.x2, y2 = b.y2;
    item("rectangle", {x1 - 2, y1 - 2, x2 + 2, y2 + 2}, {"-outline", "#246bb1", "-dash", dash(3, 2)});
    const double mx = (x1 + x2) / 2, my = (y1 + y2) / 2;
    const double points[8][2] = {{x1, y1}, {x1, y2}, {x2, y1}, {x2, y2}, {x1, my}, {x2, my}, {mx, y1}, {mx, y2}};
    for (const auto& [x, y] : points)
        item("rectangle", {x - 4, y - 4, x + 4, y + 4}, {"-fill", "#ffffff", "-outline", "#205aa2"});
}

void CanvasPainter::set_scroll_region(const VBForm& form) {
    in_.call({canvas_, "configure", "-scrollregion",
              Obj::list({0, 0, std::max(1300, FX + form.width + 250), std::max(900, CLIENT_Y + form.height + 250)})});
}

}  // namespace corvane::ide
