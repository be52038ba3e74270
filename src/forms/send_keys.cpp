#include "forms/send_keys.h"

#include "tk/events.h"

namespace corvane {

namespace {

// X's modifier masks: Shift, Control and Mod1 (Alt).
int x_state(unsigned modifiers) {
  return (modifiers & SentKey::SHIFT ? 1 : 0) | (modifiers & SentKey::CTRL ? 4 : 0) |
         (modifiers & SentKey::ALT ? 8 : 0);
}

std::string key_target(tk::Interp& interp, const std::string& form_window) {
  std::string target = interp.call({"focus"});
  if (!target.empty() || form_window.empty() || interp.call({"winfo", "exists", form_window}) != "1") return target;
  target = interp.call({"focus", "-lastfor", form_window});
  return target.empty() ? form_window : target;
}

}  // namespace

void send_keys(tk::Interp& interp, const std::string& form_window, const std::vector<SentKey>& keys, bool wait) {
  const std::string target = key_target(interp, form_window);
  if (target.empty()) return;
  for (const SentKey& key : keys) {
    const std::string keysym = key.code ? tk::keysym_name(key.code) : key.name;
    if (keysym.empty()) continue;  // a character X has no key for
    const int state = x_state(key.modifiers);
    tk::event_generate(interp, target, "<KeyPress>", {"-keysym", keysym, "-state", state, "-when", "tail"});
    tk::event_generate(interp, target, "<KeyRelease>", {"-keysym", keysym, "-state", state, "-when", "tail"});
  }
  if (wait) interp.call({"update"});
}

}  // namespace corvane
