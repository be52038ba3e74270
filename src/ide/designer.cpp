// The form designer's canvas. For now it shows the form as a plain window
// outline with its caption; placing, moving and resizing controls come with
// the designer proper.
#include "ide/constants.h"
#include "ide/panels.h"

namespace corvane::ide {

namespace {

class OutlineDesigner final : public DesignerPanel {
public:
    explicit OutlineDesigner(Workbench& bench) : bench_(bench) {}
    void attach() override {}
    void draw_form() override {
        tk::Interp& in = bench_.interp();
        const std::string& canvas = bench_.widgets().canvas;
        if (canvas.empty()) return;
        in.call({canvas, "delete", "all"});
        const VBForm* form = bench_.state().form;
        if (!form) return;
        in.call({canvas, "create", "rectangle", FX, FY - TITLE_H, FX + form->width, FY + form->height, "-outline",
                 "#6d7b8d", "-fill", "#f0f0f0"});
        in.call({canvas, "create", "rectangle", FX, FY - TITLE_H, FX + form->width, FY, "-outline", "#6d7b8d",
                 "-fill", "#2f5f9e"});
        in.call({canvas, "create", "text", FX + 10, FY - TITLE_H / 2, "-anchor", "w", "-text", form->caption,
                 "-fill", "#ffffff", "-font", bench_.interface_font_bold()});
        in.call({canvas, "configure", "-scrollregion",
                 tk::Obj::list({0, 0, FX + form->width + 40, FY + form->height + 40})});
    }
    void tool_changed() override {}
    void delete_control() override {}
    void duplicate_control() override {}
    void snap_selected() override {}

private:
    Workbench& bench_;
};

}  // namespace

std::unique_ptr<DesignerPanel> make_designer(Workbench& bench) { return std::make_unique<OutlineDesigner>(bench); }

}  // namespace corvane::ide
