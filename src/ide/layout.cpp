// The main window's widgets, top to bottom: toolbar, hints bar, separator,
// the panes (explorer and toolbox | designer and code editor | properties,
// above the Immediate window) and the status bar.
#include "ide/ide.h"
#include "tk/events.h"
#include "tk/timer.h"

namespace corvane::ide {

namespace {

using tk::Obj;

Obj pad(int a, int b) { return Obj::list({a, b}); }
Obj pad(int a, int b, int c, int d) { return Obj::list({a, b, c, d}); }

void heading(tk::Interp& in, const std::string& path, const char* text, int pady) {
    in.call({"ttk::label", path, "-text", text, "-style", "Heading.TLabel", "-padding", pad(7, pady)});
    in.call({"pack", path, "-side", "top", "-fill", "x"});
}

// A widget in a grid with a vertical scroll bar at its right and a
// horizontal one below; the widget takes all extra space.
void scrolled_grid(tk::Interp& in, const std::string& frame, const std::string& widget, const std::string& yscroll,
                   const std::string& xscroll) {
    in.call({"ttk::scrollbar", yscroll, "-orient", "vertical", "-command", Obj::list({widget, "yview"})});
    in.call({"ttk::scrollbar", xscroll, "-orient", "horizontal", "-command", Obj::list({widget, "xview"})});
    in.call({widget, "configure", "-yscrollcommand", Obj::list({yscroll, "set"}), "-xscrollcommand",
             Obj::list({xscroll, "set"})});
    in.call({"grid", widget, "-row", 0, "-column", 0, "-sticky", "nsew"});
    in.call({"grid", yscroll, "-row", 0, "-column", 1, "-sticky", "ns"});
    in.call({"grid", xscroll, "-row", 1, "-column", 0, "-sticky", "ew"});
    in.call({"grid", "rowconfigure", frame, 0, "-weight", 1});
    in.call({"grid", "columnconfigure", frame, 0, "-weight", 1});
}

}  // namespace

void IDE::make_layout() {
    tk::Interp& in = interp_;
    widgets_.toolbar = ".toolbar";
    in.call({"ttk::frame", widgets_.toolbar, "-padding", pad(7, 5)});
    in.call({"pack", widgets_.toolbar, "-side", "top", "-fill", "x"});
    refresh_toolbar();

    in.call({"ttk::frame", ".hints", "-padding", pad(8, 2)});
    in.call({"ttk::label", ".hints.left", "-text", "Standard  \u2022  Corvane", "-foreground", "#515f70",
             "-padding", pad(0, 3)});
    in.call({"ttk::label", ".hints.right",
             "-text", "Drag pane dividers to resize   \u2022   F5 Run   F7 Code   F4 Properties",
             "-foreground", "#515f70", "-padding", pad(0, 3)});
    in.call({"pack", ".hints.left", "-side", "left"});
    in.call({"pack", ".hints.right", "-side", "right"});
    in.call({"pack", ".hints", "-side", "top", "-fill", "x"});
    in.call({"ttk::separator", ".rule", "-orient", "horizontal"});
    in.call({"pack", ".rule", "-side", "top", "-fill", "x"});

    // The status bar is packed before the panes so that it keeps its line
    // at the bottom however small the window gets.
    in.call({"ttk::label", ".status", "-textvariable", status_.name(), "-padding", pad(8, 7), "-relief", "groove"});
    in.call({"pack", ".status", "-side", "bottom", "-fill", "x"});

    widgets_.vertical_panes = ".panes";
    in.call({"ttk::panedwindow", widgets_.vertical_panes, "-orient", "vertical"});
    in.call({"pack", widgets_.vertical_panes, "-side", "top", "-fill", "both", "-expand", 1});

    widgets_.main_panes = widgets_.vertical_panes + ".main";
    in.call({"panedwindow", widgets_.main_panes, "-orient", "horizontal", "-sashwidth", 8, "-showhandle", 1,
             "-handlesize", 9, "-handlepad", 32, "-sashrelief", "raised", "-background", "#aab2bd",
             "-opaqueresize", 1, "-borderwidth", 0});
    const std::string lower = widgets_.vertical_panes + ".lower";
    in.call({"ttk::frame", lower, "-height", 140});
    in.call({widgets_.vertical_panes, "add", widgets_.main_panes, "-weight", 1});
    in.call({widgets_.vertical_panes, "add", lower, "-weight", 0});

    widgets_.project_tool_panes = widgets_.main_panes + ".left";
    make_left_column(widgets_.project_tool_panes);
    const std::string middle = widgets_.main_panes + ".tabs";
    make_middle_column(middle);
    const std::string right = widgets_.main_panes + ".right";
    make_right_column(right);
    in.call({widgets_.main_panes, "add", widgets_.project_tool_panes, "-width", 250, "-minsize", 220, "-stretch",
             "never", "-sticky", "nsew"});
    in.call({widgets_.main_panes, "add", middle, "-width", 710, "-minsize", 360, "-stretch", "always", "-sticky",
             "nsew"});
    in.call({widgets_.main_panes, "add", right, "-width", 350, "-minsize", 290, "-stretch", "never", "-sticky",
             "nsew"});
    make_lower_pane(lower);

    for (const std::string& widget : {widgets_.main_panes, widgets_.project_tool_panes, widgets_.vertical_panes})
        tk::bind(in, widget, "<ButtonRelease-1>", {}, [this] { panes_changed(); }, tk::BindMode::add);
    panel_reset_job_ = tk::after(in, 100, [this] { restore_or_reset_panels(); });
}

void IDE::make_left_column(const std::string& panes) {
    tk::Interp& in = interp_;
    in.call({"panedwindow", panes, "-orient", "vertical", "-sashwidth", 7, "-showhandle", 1, "-sashrelief", "raised",
             "-background", "#aab2bd", "-opaqueresize", 1, "-borderwidth", 0});

    const std::string project_box = panes + ".project";
    in.call({"ttk::frame", project_box});
    heading(in, project_box + ".heading", "Project Explorer", 8);
    const std::string tree_frame = project_box + ".frame";
    in.call({"ttk::frame", tree_frame, "-padding", pad(4, 2, 4, 4)});
    in.call({"pack", tree_frame, "-side", "top", "-fill", "both", "-expand", 1});
    widgets_.project_tree = tree_frame + ".tree";
    in.call({"ttk::treeview", widgets_.project_tree, "-show", "tree", "-height", 9, "-selectmode", "browse",
             "-style", "Project.Treeview"});
    in.call({widgets_.project_tree, "column", "#0", "-width", 360, "-minwidth", 160, "-stretch", 0});
    scrolled_grid(in, tree_frame, widgets_.project_tree, tree_frame + ".y", tree_frame + ".x");
    tk::bind(in, widgets_.project_tree, "<<TreeviewSelect>>", {}, [this] { guarded([this] { project_select(); }); });
    tk::bind(in, widgets_.project_tree, "<Motion>", {"%y"}, [this](const tk::Args& a) {
        guarded([this, y = static_cast<int>(a.integer(0))] { project_hover(y); });
    });

    const std::string tool_box = panes + ".tools";
    in.call({"ttk::frame", tool_box});
    heading(in, tool_box + ".heading", "Toolbox", 8);
    in.call({"ttk::label", tool_box + ".hint", "-text", "Select a control; click the form to place it.",
             "-padding", pad(7, 6), "-wraplength", 215, "-anchor", "w"});
    in.call({"pack", tool_box + ".hint", "-side", "top", "-fill", "x"});
    widgets_.toolbox_canvas = tool_box + ".canvas";
    const std::string scroll = tool_box + ".scroll";
    in.call({"canvas", widgets_.toolbox_canvas, "-background", "#ececec", "-highlightthickness", 0, "-width", 225,
             "-height", 300});
    in.call({"ttk::scrollbar", scroll, "-orient", "vertical", "-command",
             tk::Obj::list({widgets_.toolbox_canvas, "yview"})});
    in.call({widgets_.toolbox_canvas, "configure", "-yscrollcommand", tk::Obj::list({scroll, "set"})});
    in.call({"pack", widgets_.toolbox_canvas, "-side", "left", "-fill", "both", "-expand", 1, "-padx",
             tk::Obj::list({5, 0}), "-pady", tk::Obj::list({3, 6})});
    in.call({"pack", scroll, "-side", "right", "-fill", "y", "-pady", tk::Obj::list({3, 6})});
    widgets_.toolbox_frame = widgets_.toolbox_canvas + ".frame";
    in.call({"frame", widgets_.toolbox_frame, "-background", "#ececec"});
    const std::string window = in.call({widgets_.toolbox_canvas, "create", "window", 0, 0, "-window",
                                        widgets_.toolbox_frame, "-anchor", "nw"});
    tk::bind(in, widgets_.toolbox_canvas, "<Configure>", {"%w"}, [this, window](const tk::Args& a) {
        interp_.call({widgets_.toolbox_canvas, "itemconfigure", window, "-width", a.integer(0)});
    });
    tk::bind(in, widgets_.toolbox_frame, "<Configure>", {}, [this] {
        const std::string box = interp_.call({widgets_.toolbox_canvas, "bbox", "all"});
        interp_.call({widgets_.toolbox_canvas, "configure", "-scrollregion", box});
    });

    in.call({panes, "add", project_box, "-height", 270, "-minsize", 135, "-stretch", "never", "-sticky", "nsew"});
    in.call({panes, "add", tool_box, "-minsize", 160, "-stretch", "always", "-sticky", "nsew"});
}

void IDE::make_middle_column(const std::string& tabs) {
    tk::Interp& in = interp_;
    widgets_.tabs = tabs;
    in.call({"ttk::notebook", tabs});
    widgets_.design_panel = tabs + ".design";
    widgets_.code_panel = tabs + ".code";
    in.call({"ttk::frame", widgets_.design_panel});
    in.call({"ttk::frame", widgets_.code_panel});
    in.call({tabs, "add", widgets_.design_panel, "-text", "Form Designer"});
    in.call({tabs, "add", widgets_.code_panel, "-text", "Code Editor"});
    tk::bind(in, tabs, "<<NotebookTabChanged>>", {}, [this] { guarded([this] { tab_changed(); }); });

    const std::string header = widgets_.design_panel + ".header";
    in.call({"ttk::label", header, "-padding", pad(7, 7), "-anchor", "w", "-text",
             "8 px grid  \u2022  Drag form edges or bottom-right grip to resize  \u2022  Double-click control for "
             "event code"});
    in.call({"pack", header, "-side", "top", "-fill", "x"});
    const std::string frame = widgets_.design_panel + ".frame";
    in.call({"ttk::frame", frame});
    in.call({"pack", frame, "-side", "top", "-fill", "both", "-expand", 1});
    widgets_.canvas = frame + ".canvas";
    widgets_.canvas_xscroll = frame + ".x";
    widgets_.canvas_yscroll = frame + ".y";
    in.call({"canvas", widgets_.canvas, "-highlightthickness", 0, "-background", "#ffffff"});
    scrolled_grid(in, frame, widgets_.canvas, widgets_.canvas_yscroll, widgets_.canvas_xscroll);
    designer_->attach();
    code_editor_->build();
}

void IDE::make_right_column(const std::string& panel) {
    tk::Interp& in = interp_;
    in.call({"ttk::frame", panel});
    heading(in, panel + ".heading", "Properties", 8);
    widgets_.prop_caption = panel + ".caption";
    in.call({"ttk::label", widgets_.prop_caption, "-text", "No form", "-padding", pad(7, 8), "-wraplength", 310});
    in.call({"pack", widgets_.prop_caption, "-side", "top", "-fill", "x"});
    widgets_.props_frame = panel + ".frame";
    in.call({"ttk::frame", widgets_.props_frame, "-padding", pad(4, 0, 4, 3)});
    in.call({"pack", widgets_.props_frame, "-side", "top", "-fill", "both", "-expand", 1});
    widgets_.props_tree = widgets_.props_frame + ".tree";
    widgets_.props_yscroll = widgets_.props_frame + ".y";
    widgets_.props_xscroll = widgets_.props_frame + ".x";
    in.call({"ttk::treeview", widgets_.props_tree, "-style", "Properties.Treeview"});
    scrolled_grid(in, widgets_.props_frame, widgets_.props_tree, widgets_.props_yscroll, widgets_.props_xscroll);
    tk::bind(in, widgets_.props_tree, "<ButtonRelease-1>", {}, [this] { panes_changed(); }, tk::BindMode::add);
    in.call({"ttk::label", panel + ".value", "-textvariable", selected_property_.name(), "-padding", pad(7, 7),
             "-wraplength", 310, "-anchor", "w", "-justify", "left"});
    in.call({"pack", panel + ".value", "-side", "top", "-fill", "x"});
    in.call({"ttk::label", panel + ".hint", "-text", "Double-click a value to edit; scroll horizontally for long text.",
             "-padding", pad(7, 7), "-wraplength", 310});
    in.call({"pack", panel + ".hint", "-side", "top", "-fill", "x"});
    widgets_.selected_property_var = selected_property_.name();
    property_grid_->attach();
}

void IDE::make_lower_pane(const std::string& pane) {
    tk::Interp& in = interp_;
    in.call({"ttk::label", pane + ".heading", "-text", "Immediate / Debug Output", "-style", "Heading.TLabel",
             "-padding", pad(7, 7)});
    in.call({"pack", pane + ".heading", "-side", "top", "-fill", "x"});
    widgets_.output = pane + ".output";
    in.call({"text", widgets_.output, "-height", 5, "-wrap", "word", "-background", "#f9f9f9", "-foreground", "#222",
             "-font", Obj::list({"DejaVu Sans Mono", 10}), "-state", "disabled"});
    in.call({"pack", widgets_.output, "-side", "top", "-fill", "both", "-expand", 1, "-padx", 5, "-pady", 3});
}

}  // namespace corvane::ide
