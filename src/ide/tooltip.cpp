// Hover tooltips: shown 600 ms after the pointer enters a widget, gone when
// it leaves, a button is pressed or the widget is destroyed.
#include "ide/ide.h"
#include "tk/events.h"
#include "tk/widget.h"

namespace corvane::ide {

namespace {

constexpr int TOOLTIP_DELAY_MS = 600;

}  // namespace

bool IDE::tooltip_shown(const std::string& widget) const {
    auto it = tooltips_.find(widget);
    return it != tooltips_.end() && !it->second->window.empty();
}

void IDE::add_tooltip(const std::string& widget, const std::string& text) {
    auto& tip = tooltips_[widget];
    tip = std::make_unique<Tooltip>();
    tip->text = text;
    Tooltip* t = tip.get();
    auto hide = [this, t] {
        t->timer.cancel();
        if (!t->window.empty()) tk::destroy(interp_, t->window);
        t->window.clear();
    };
    auto show = [this, t, widget] {
        if (destroyed_ || !t->window.empty() || !tk::winfo_exists(interp_, widget)) return;
        const auto x = interp_.call_obj({"winfo", "rootx", widget}).to_int() + 8;
        const auto y = interp_.call_obj({"winfo", "rooty", widget}).to_int() +
                       interp_.call_obj({"winfo", "height", widget}).to_int() + 7;
        const std::string top = tk::new_widget_path(interp_, widget);
        interp_.call({"toplevel", top});
        interp_.call({"wm", "overrideredirect", top, 1});
        interp_.try_call({"wm", "attributes", top, "-topmost", 1});
        interp_.call({"wm", "geometry", top, "+" + std::to_string(x) + "+" + std::to_string(y)});
        interp_.call({"ttk::label", top + ".text", "-text", t->text, "-padding", tk::Obj::list({8, 5}), "-relief",
                      "solid", "-background", "#fffada"});
        interp_.call({"pack", top + ".text"});
        t->window = top;
    };
    tk::bind(interp_, widget, "<Enter>", {}, [this, t, show] { t->timer = tk::after(interp_, TOOLTIP_DELAY_MS, show); },
             tk::BindMode::add);
    tk::bind(interp_, widget, "<Leave>", {}, hide, tk::BindMode::add);
    tk::bind(interp_, widget, "<ButtonPress>", {}, hide, tk::BindMode::add);
    tk::on_destroy(interp_, widget, [this, widget, hide] {
        hide();
        tooltips_.erase(widget);
    });
}

}  // namespace corvane::ide
