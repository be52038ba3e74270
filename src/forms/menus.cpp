// The form's menu bar, built from its menu tree.
#include "forms/preview.h"
#include "tk/command.h"
#include "tk/widget.h"

namespace corvane {

namespace {

// Code points before byte offset `end` of a UTF-8 text.
int code_points(const std::string& text, size_t end) {
  int count = 0;
  for (size_t i = 0; i < end && i < text.size(); ++i)
    if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) ++count;
  return count;
}

}  // namespace

void Preview::make_form_menus() {
  if (form.menus.empty()) return;
  tk::Interp& interp = host.interp();
  auto w = weak();
  const std::string bar = tk::new_widget_path(interp, window);
  interp.call({"menu", bar, "-tearoff", 0});

  // Iterative over the tree: (menu path, entries) pairs still to fill.
  std::vector<std::pair<std::string, const std::vector<MenuItem>*>> pending{{bar, &form.menus}};
  while (!pending.empty()) {
    auto [menu, entries] = pending.back();
    pending.pop_back();
    for (const MenuItem& item : *entries) {
      if (!item.visible) continue;
      if (item.caption == "-") {
        interp.call({menu, "add", "separator"});
        continue;
      }
      std::string label;
      for (char ch : item.caption)
        if (ch != '&') label += ch;
      std::vector<tk::Obj> words{menu, "add"};
      if (!item.children.empty()) {
        const std::string sub = tk::new_widget_path(interp, menu);
        interp.call({"menu", sub, "-tearoff", 0});
        words.insert(words.end(), {"cascade", "-menu", sub});
        pending.emplace_back(sub, &item.children);
      } else {
        const std::string event = item.name + "_Click";
        const int index = item.index;  // a menu array's Click gets the item's Index
        const std::string command = tk::widget_command(interp, menu, [w, event, index] {
          if (auto p = w.lock()) p->invoke(event, index);
        });
        if (item.checked) {
          tk::Variable& mark = menu_vars_.emplace_back(interp, 1);
          words.insert(words.end(), {"checkbutton", "-variable", mark.name(), "-onvalue", 1, "-offvalue", 0});
        } else {
          words.emplace_back("command");
        }
        words.insert(words.end(), {"-command", command});
      }
      words.insert(words.end(), {"-label", label, "-state", item.enabled ? "normal" : "disabled"});
      const size_t amp = item.caption.find('&');
      if (amp != std::string::npos && amp + 1 < item.caption.size())
        words.insert(words.end(), {"-underline", code_points(item.caption, amp)});
      interp.call(words);
    }
  }
  interp.call({window, "configure", "-menu", bar});
}

}  // namespace corvane
