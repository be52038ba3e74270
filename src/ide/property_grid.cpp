// The property grid. For now it names the selected object; the rows and
// their editor come with the property grid proper.
#include "ide/panels.h"

namespace corvane::ide {

namespace {

class CaptionOnlyGrid final : public PropertyPanel {
public:
    explicit CaptionOnlyGrid(Workbench& bench) : bench_(bench) {}
    void attach() override {
        tk::Interp& in = bench_.interp();
        const std::string& tree = bench_.widgets().props_tree;
        in.call({tree, "configure", "-columns", tk::Obj::list({"value"}), "-show", tk::Obj::list({"tree", "headings"})});
        in.call({tree, "heading", "#0", "-text", "Property"});
        in.call({tree, "column", "#0", "-stretch", 0});
        in.call({tree, "heading", "value", "-text", "Value"});
    }
    void show_properties() override {
        const EditingState& s = bench_.state();
        std::string caption = "No form";
        if (s.form) caption = s.selected ? *s.selected : s.form->name;
        bench_.interp().call({bench_.widgets().prop_caption, "configure", "-text", caption});
    }
    int name_column_width() override {
        return static_cast<int>(
            bench_.interp().call_obj({bench_.widgets().props_tree, "column", "#0", "-width"}).to_int());
    }
    void set_name_column_width(int pixels) override {
        bench_.interp().call({bench_.widgets().props_tree, "column", "#0", "-width", pixels});
    }
    void schedule_grid_lines() override {}

private:
    Workbench& bench_;
};

}  // namespace

std::unique_ptr<PropertyPanel> make_property_grid(Workbench& bench) {
    return std::make_unique<CaptionOnlyGrid>(bench);
}

}  // namespace corvane::ide
