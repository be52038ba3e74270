// Panel sizes and window geometry: placed from the settings file once the
// window is laid out, saved (debounced) after divider drags and window moves.
#include <algorithm>
#include <cmath>

#include "ide/constants.h"
#include "ide/ide.h"
#include "tk/widget.h"

namespace corvane::ide {

namespace {

constexpr int MIDDLE_MIN = 360;   // the designer's minimum width
constexpr int SASH = 8;           // sash width of the main panes
constexpr int TOOLBOX_MIN = 160;  // the toolbox's minimum height
constexpr int TOOL_SASH = 7;

int saved_or(const Settings& saved, const char* key, int fallback) {
    auto it = saved.find(key);
    return it != saved.end() && it->is_number_integer() ? it->get<int>() : fallback;
}

int widget_size(tk::Interp& in, const std::string& widget, const char* what) {
    return static_cast<int>(in.call_obj({"winfo", what, widget}).to_int());
}

}  // namespace

void IDE::place_panels(const Settings& saved) {
    tk::Interp& in = interp_;
    const int total = std::max(widget_size(in, widgets_.main_panes, "width"), MIN_WIDTH);
    int left = saved_or(saved, "left_width", std::min(270, std::max(230, total * 19 / 100)));
    int right = saved_or(saved, "right_width", std::min(375, std::max(305, total * 26 / 100)));
    const int usable = total - MIDDLE_MIN - 2 * SASH;
    left = std::min(std::max(220, left), usable - 290);
    right = std::min(std::max(290, right), usable - left);
    in.call({widgets_.main_panes, "sash", "place", 0, left, 0});
    in.call({widgets_.main_panes, "sash", "place", 1, total - right, 0});
    in.call({"update", "idletasks"});

    const int ph = widget_size(in, widgets_.project_tool_panes, "height");
    if (ph > 320) {
        int target = saved_or(saved, "project_height", std::max(170, ph * 42 / 100));
        target = std::max(135, std::min(target, ph - TOOLBOX_MIN - TOOL_SASH));
        in.call({widgets_.project_tool_panes, "sash", "place", 0, 0, target});
    }
    const int vh = widget_size(in, widgets_.vertical_panes, "height");
    if (vh > 470) {
        int out = saved_or(saved, "output_height", 155);
        out = std::max(65, std::min(out, vh - 390));
        in.try_call({widgets_.vertical_panes, "sashpos", 0, vh - out});
        if (std::getenv("CORVANE_DEBUG_PANELS")) std::fprintf(stderr, "vh=%d out=%d pos=%s\n", vh, out, in.call({widgets_.vertical_panes, "sashpos", 0}).c_str());
    }
    property_grid_->set_name_column_width(saved_or(saved, "property_name_width", 108));
    property_grid_->schedule_grid_lines();
}

Settings IDE::panel_positions() {
    Settings empty = Settings::object();
    if (!panels_ready_ || destroyed_) return empty;
    tk::Interp& in = interp_;
    try {
        const int main_w = widget_size(in, widgets_.main_panes, "width");
        const int tools_h = widget_size(in, widgets_.project_tool_panes, "height");
        const int vert_h = widget_size(in, widgets_.vertical_panes, "height");
        if (std::min({main_w, tools_h, vert_h}) < 200) return empty;
        auto coord = [&](const std::string& panes, int sash, int index) {
            return static_cast<int>(in.call_obj({panes, "sash", "coord", sash}).to_list().at(index).to_int());
        };
        Settings panels = Settings::object();
        panels["left_width"] = coord(widgets_.main_panes, 0, 0);
        panels["right_width"] = main_w - coord(widgets_.main_panes, 1, 0);
        panels["project_height"] = coord(widgets_.project_tool_panes, 0, 1);
        panels["output_height"] = vert_h - static_cast<int>(in.call_obj({widgets_.vertical_panes, "sashpos", 0}).to_int());
        panels["property_name_width"] = property_grid_->name_column_width();
        return validate_panels(panels);
    } catch (const std::exception&) {
        return empty;
    }
}

void IDE::save_geometry() {
    try {
        if (destroyed_ || !tk::winfo_exists(interp_, ".")) return;
        Settings settings = read_settings(settings_file_);
        if (interp_.call({"wm", "state", "."}) == "normal") settings["geometry"] = interp_.call({"wm", "geometry", "."});
        Settings panels = panel_positions();
        if (!panels.empty()) settings["panels"] = panels;
        settings["version"] = 2;
        write_settings(settings_file_, settings);
    } catch (const std::exception&) {
        // A failure to save settings never stops the environment.
    }
}

void IDE::restore_or_reset_panels() {
    if (destroyed_ || !tk::winfo_exists(interp_, ".")) return;
    interp_.call({"update", "idletasks"});
    const Settings settings = read_settings(settings_file_);
    auto it = settings.find("panels");
    place_panels(it == settings.end() ? Settings::object() : validate_panels(*it));
    panels_ready_ = true;
}

void IDE::reset_panel_sizes() {
    if (destroyed_ || !tk::winfo_exists(interp_, ".")) return;
    interp_.call({"update", "idletasks"});
    place_panels(Settings::object());
    panes_changed();
}

void IDE::panes_changed() {
    if (!panels_ready_ || destroyed_) return;
    panel_save_job_ = tk::after(interp_, 250, [this] { persist_panes(); });
}

void IDE::persist_panes() { save_geometry(); }

void IDE::root_configured(const std::string& widget) {
    if (widget != "." || destroyed_) return;
    geometry_job_ = tk::after(interp_, 700, [this] { persist_window_size(); });
    if (toolbar_show_labels()) toolbar_job_ = tk::when_idle(interp_, [this] { layout_toolbar(); });
}

void IDE::persist_window_size() { save_geometry(); }

}  // namespace corvane::ide
