// The property grid's cell borders. The themed tree has no border option of
// its own, so one-pixel frames are placed over it: a line under every fully
// visible row and one between the columns. The frames are pooled and reused,
// and redraws are coalesced into one idle callback.
#include <algorithm>

#include "ide/property_grid.h"
#include "tk/widget.h"

namespace corvane::ide {

namespace {
constexpr const char* ROW_BORDER = "#cbd3dd";
constexpr const char* COLUMN_BORDER = "#b3bfce";
}  // namespace

void PropertyGrid::schedule_grid_lines() {
    if (tree_.empty() || grid_job_.pending()) return;
    grid_job_ = tk::when_idle(bench_.interp(), [this] { draw_grid_lines(); });
}

const std::string& PropertyGrid::pool_frame(std::size_t index, const char* colour) {
    tk::Interp& in = bench_.interp();
    if (index == pool_.size()) {
        Line line{tk::new_widget_path(in, tree_), colour, false};
        in.call({"frame", line.frame, "-borderwidth", 0, "-highlightthickness", 0, "-background", colour});
        pool_.push_back(std::move(line));
    }
    Line& line = pool_[index];
    if (line.colour != colour) {
        in.call({line.frame, "configure", "-background", colour});
        line.colour = colour;
    }
    return line.frame;
}

void PropertyGrid::draw_grid_lines() {
    grid_job_.cancel();
    tk::Interp& in = bench_.interp();
    if (tree_.empty() || !tk::winfo_exists(in, tree_)) return;
    const int width = static_cast<int>(in.call_obj({"winfo", "width", tree_}).to_int());
    const int height = static_cast<int>(in.call_obj({"winfo", "height", tree_}).to_int());
    std::size_t used = 0;
    auto place = [&](const char* colour, int x, int y, int w, int h) {
        const std::string& frame = pool_frame(used, colour);
        in.call({"place", frame, "-x", x, "-y", y, "-width", w, "-height", h});
        pool_[used++].placed = true;
    };
    if (width >= 40 && height >= 40) {
        const auto rows = in.call_obj({tree_, "children", ""}).to_list();
        for (const tk::Obj& row : rows) {
            const auto box = in.call_obj({tree_, "bbox", row, "property"}).to_list();
            if (box.size() != 4) continue;
            const int top = static_cast<int>(box[1].to_int()), h = static_cast<int>(box[3].to_int());
            if (top >= 0 && top + h <= height + 2) place(ROW_BORDER, 0, top + h - 1, width, 1);
        }
        for (const tk::Obj& row : rows) {
            const auto box = in.call_obj({tree_, "bbox", row, "value"}).to_list();
            if (box.size() != 4) continue;
            const int x = static_cast<int>(box[0].to_int()), top = static_cast<int>(box[1].to_int());
            if (0 < x && x < width) place(COLUMN_BORDER, x - 1, top, 1, std::max(0, height - top));
            break;
        }
    }
    // Frames this redraw did not need are hidden, never destroyed.
    for (std::size_t i = used; i < pool_.size(); ++i) {
        if (!pool_[i].placed) continue;
        in.call({"place", "forget", pool_[i].frame});
        pool_[i].placed = false;
    }
}

}  // namespace corvane::ide
