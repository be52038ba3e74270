// The property grid: rows for the selected control or the form, the caption
// with the VB type, the value line, the inline editor and apply_prop.
#include "ide/property_grid.h"

#include <algorithm>

#include "model/names.h"
#include "tk/events.h"
#include "tk/widget.h"
#include "vb6files/values.h"

namespace corvane::ide {

namespace {

constexpr const char* VALUE_LINE_HINT = "Select a property to view its entire value.";
constexpr const char* RENAMED_STATUS = "Renamed. Update event procedure and code references if needed.";
constexpr const char* INVALID_TITLE = "Invalid property value";

std::string caption_for(const Control& c) {
    return c.name + "  (" + (is_core_vb_control(c.kind) ? "VB." : "Corvane.") + c.kind + ")";
}

}  // namespace

std::unique_ptr<PropertyPanel> make_property_grid(Workbench& bench) { return std::make_unique<PropertyGrid>(bench); }

void PropertyGrid::attach() {
    tk::Interp& in = bench_.interp();
    const Widgets& w = bench_.widgets();
    tree_ = w.props_tree;
    in.call({tree_, "configure", "-columns", tk::Obj::list({"property", "value"}), "-show", "headings",
             "-selectmode", "browse", "-style", "Properties.Treeview"});
    in.call({tree_, "heading", "property", "-text", "Property"});
    in.call({tree_, "heading", "value", "-text", "Value"});
    in.call({tree_, "column", "property", "-width", 108, "-minwidth", 85, "-stretch", 0});
    in.call({tree_, "column", "value", "-width", 210, "-minwidth", 145, "-stretch", 1});
    in.call({tree_, "tag", "configure", "even", "-background", "#ffffff"});
    in.call({tree_, "tag", "configure", "odd", "-background", "#f4f7fb"});

    const std::vector<std::string> xy{"%x", "%y"};
    auto at = [](const tk::Args& a, std::size_t i) { return static_cast<int>(a.integer(i)); };
    // An opened editor keeps the focus: the tree's own press handling, which
    // would take the focus back and so commit the editor at once, is skipped.
    tk::bind(in, tree_, "<Double-Button-1>", xy, [this, at](const tk::Args& a) {
        return prop_edit(at(a, 0), at(a, 1)) ? tk::Flow::stop : tk::Flow::proceed;
    });
    tk::bind(in, tree_, "<Motion>", xy, [this, at](const tk::Args& a) { property_hover(at(a, 0), at(a, 1)); },
             tk::BindMode::add);
    tk::bind(in, tree_, "<<TreeviewSelect>>", {}, [this] { property_selected(); }, tk::BindMode::add);
    for (const char* event :
         {"<Configure>", "<KeyRelease>", "<ButtonRelease-1>", "<MouseWheel>", "<Button-4>", "<Button-5>"})
        tk::bind(in, tree_, event, {}, [this] { schedule_grid_lines(); }, tk::BindMode::add);
    // The scroll commands keep the scroll bars in step and redraw the borders.
    const std::string yscroll = w.props_yscroll, xscroll = w.props_xscroll;
    in.call({tree_, "configure", "-yscrollcommand",
             tk::widget_command(in, tree_, [this, yscroll](const tk::Args& a) { scrolled(yscroll, a); }),
             "-xscrollcommand",
             tk::widget_command(in, tree_, [this, xscroll](const tk::Args& a) { scrolled(xscroll, a); })});
    tk::on_destroy(in, tree_, [this] {
        grid_job_.cancel();
        tree_.clear();
    });
}

void PropertyGrid::scrolled(const std::string& scrollbar, const tk::Args& fractions) {
    bench_.interp().call({scrollbar, "set", fractions[0], fractions[1]});
    schedule_grid_lines();
}

void PropertyGrid::show_properties() {
    if (tree_.empty()) return;
    tk::Interp& in = bench_.interp();
    const EditingState& s = bench_.state();
    std::vector<Row> rows;
    std::string caption = "No form";
    const Control* control = s.form && s.selected ? s.form->get_control(*s.selected) : nullptr;
    if (control) {
        caption = caption_for(*control);
        for (const PropertyRow& row : property_rows()) rows.push_back({std::string(row.display), row_value(row, *control)});
    } else if (s.form) {
        caption = s.form->name + "  (VB.Form)";
        for (const PropertyRow& row : property_rows())
            if (row.on_form()) rows.push_back({std::string(row.display), row_value(row, *s.form)});
    }
    if (caption != shown_caption_) {
        in.call({bench_.widgets().prop_caption, "configure", "-text", caption});
        shown_caption_ = caption;
    }
    const bool same_rows = std::equal(rows.begin(), rows.end(), shown_.begin(), shown_.end(),
                                      [](const Row& a, const Row& b) { return a.name == b.name; });
    if (same_rows) {
        // The same rows (a drag step, an edit): only changed values are set,
        // so the rows keep their places and their borders stay valid.
        for (std::size_t i = 0; i < rows.size(); ++i)
            if (rows[i].value != shown_[i].value) in.call({tree_, "set", rows[i].name, "value", rows[i].value});
        in.call({tree_, "selection", "set", tk::Obj::list(std::vector<tk::Obj>{})});
    } else {
        in.call({tree_, "delete", in.call_obj({tree_, "children", ""})});
        for (std::size_t i = 0; i < rows.size(); ++i)
            in.call({tree_, "insert", "", "end", "-id", rows[i].name, "-values",
                     tk::Obj::list({rows[i].name, rows[i].value}), "-tags", i % 2 ? "odd" : "even"});
    }
    schedule_grid_lines();
    shown_ = std::move(rows);
    set_value_line(VALUE_LINE_HINT);
}

void PropertyGrid::set_value_line(const std::string& text) {
    if (value_line_ == text && !value_line_.empty()) return;
    value_line_ = text;
    const std::string& var = bench_.widgets().selected_property_var;
    if (!var.empty()) bench_.interp().call({"set", var, text});
}

void PropertyGrid::property_hover(int x, int y) {
    if (tree_.empty()) return;
    tk::Interp& in = bench_.interp();
    const std::string row = in.call({tree_, "identify", "row", x, y});
    if (row.empty()) return;
    set_value_line(row + ": " + in.call({tree_, "set", row, "value"}));
}

void PropertyGrid::property_selected() {
    if (tree_.empty()) return;
    tk::Interp& in = bench_.interp();
    const auto selection = in.call_obj({tree_, "selection"}).to_list();
    if (selection.empty()) return;
    const std::string row = selection.front().str();
    set_value_line(row + ": " + in.call({tree_, "set", row, "value"}));
}

int PropertyGrid::name_column_width() {
    return static_cast<int>(bench_.interp().call_obj({tree_, "column", "property", "-width"}).to_int());
}

void PropertyGrid::set_name_column_width(int pixels) {
    bench_.interp().call({tree_, "column", "property", "-width", pixels});
}

// --- the inline editor ---

bool PropertyGrid::prop_edit(int x, int y) {
    if (tree_.empty()) return false;
    tk::Interp& in = bench_.interp();
    const std::string row = in.call({tree_, "identify", "row", x, y});
    const std::string column = in.call({tree_, "identify", "column", x, y});
    if (row.empty() || column != "#2") return false;  // only a row's value cell opens an editor
    const auto box = in.call_obj({tree_, "bbox", row, "value"}).to_list();
    if (box.size() != 4) return false;  // the row is scrolled out of view
    const std::string entry = tk::new_widget_path(in, tree_);
    in.call({"entry", entry, "-relief", "solid", "-borderwidth", 1});
    in.call({"place", entry, "-x", box[0], "-y", box[1], "-width", box[2], "-height", box[3]});
    in.call({entry, "insert", 0, in.call_obj({tree_, "set", row, "value"})});
    in.call({entry, "selection", "range", 0, "end"});
    in.call({entry, "icursor", "end"});
    editor_ = entry;
    tk::focus(in, entry);
    tk::bind(in, entry, "<Return>", {}, [this, entry, row] { commit_editor(entry, row); });
    tk::bind(in, entry, "<KP_Enter>", {}, [this, entry, row] { commit_editor(entry, row); });
    tk::bind(in, entry, "<FocusOut>", {}, [this, entry, row] { commit_editor(entry, row); });
    tk::bind(in, entry, "<Escape>", {}, [this, entry] { cancel_editor(entry); });
    return true;
}

void PropertyGrid::commit_editor(const std::string& entry, const std::string& key) {
    tk::Interp& in = bench_.interp();
    if (!tk::winfo_exists(in, entry)) return;  // already committed or cancelled
    const std::string text = in.call({entry, "get"});
    if (editor_ == entry) editor_.clear();
    tk::destroy(in, entry);
    apply_prop(key, text);
}

void PropertyGrid::cancel_editor(const std::string& entry) {
    if (editor_ == entry) editor_.clear();
    tk::destroy(bench_.interp(), entry);
}

// --- applying a typed value ---

void PropertyGrid::apply_prop(const std::string& key, const std::string& text) {
    EditingState& s = bench_.state();
    if (!s.form) return;
    VBForm& form = *s.form;
    Control* control = s.selected ? form.get_control(*s.selected) : nullptr;
    if (s.selected && !control) return;  // the selected control is gone
    const PropertyRow* row = find_property_row(key);
    if (!row || (!control && !row->on_form())) return;

    auto reject = [&](std::string_view message) {
        bench_.show_error(INVALID_TITLE, std::string(message));
        show_properties();
    };
    auto converted = convert_property(*row, text);
    if (const Rejected* r = std::get_if<Rejected>(&converted)) return reject(r->message);
    const Converted& value = std::get<Converted>(converted);

    const bool rename = row->conversion == Conversion::name;
    if (rename) {
        const std::string& name = std::get<std::string>(value);
        for (const Control& other : form.controls)
            if (&other != control && names_equal(other.name, name)) return reject(MSG_UNIQUE_CONTROL);
        if (!control)
            for (const VBForm& other : s.project.forms)
                if (&other != &form && names_equal(other.name, name)) return reject(MSG_FORM_EXISTS);
    }

    if (control) {
        if (row->text) control->*row->text = std::get<std::string>(value);
        else if (row->number) control->*row->number = std::get<int>(value);
        else if (row->flag) control->*row->flag = std::get<bool>(value);
        if (rename) s.selected = control->name;
    } else {
        if (rename && names_equal(s.project.startup, form.name)) s.project.startup = std::get<std::string>(value);
        if (row->form_text) form.*row->form_text = std::get<std::string>(value);
        else if (row->form_number) form.*row->form_number = std::get<int>(value);
    }
    bench_.changed();
    bench_.draw_form();
    show_properties();
    bench_.populate_project();
    if (rename) bench_.set_status(RENAMED_STATUS);
}

}  // namespace corvane::ide
