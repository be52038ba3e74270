#pragma once
// The property grid of the right column: the property tree with its rows,
// the caption above it, the value line below it, the inline editor and the
// drawn cell borders. property_grid.cpp holds the rows and the editor,
// property_grid_lines.cpp the borders.
#include <string>
#include <vector>

#include "ide/panels.h"
#include "ide/property_rows.h"
#include "tk/command.h"
#include "tk/timer.h"

namespace corvane::ide {

class PropertyGrid final : public PropertyPanel {
public:
    explicit PropertyGrid(Workbench& bench) : bench_(bench) {}

    void attach() override;
    void show_properties() override;
    int name_column_width() override;
    void set_name_column_width(int pixels) override;
    void schedule_grid_lines() override;

    // Validates the text for a row and writes it into the model.
    void apply_prop(const std::string& key, const std::string& text);
    // Opens the inline editor over the cell under a point of the tree;
    // false when the point is not on a visible value cell.
    bool prop_edit(int x, int y);
    void property_hover(int x, int y);
    void property_selected();
    // Draws the cell borders now (normally run once when idle).
    void draw_grid_lines();

private:
    void set_value_line(const std::string& text);
    void commit_editor(const std::string& entry, const std::string& key);
    void cancel_editor(const std::string& entry);
    void scrolled(const std::string& scrollbar, const tk::Args& fractions);
    // The frame at a pool index, made when the pool is too short.
    const std::string& pool_frame(std::size_t index, const char* colour);

    // What the tree shows: its rows in order and the caption above it.
    struct Row {
        std::string name;
        std::string value;
    };
    std::vector<Row> shown_;
    std::string shown_caption_;

    Workbench& bench_;
    std::string tree_;
    std::string editor_;      // the open inline editor, if any
    std::string value_line_;  // what the value line shows
    tk::Timer grid_job_;
    struct Line {
        std::string frame;
        const char* colour = nullptr;
        bool placed = false;
    };
    std::vector<Line> pool_;
};

}  // namespace corvane::ide
