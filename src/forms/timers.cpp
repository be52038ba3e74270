// Timer controls: one pending job per Timer, re-armed after each firing.
#include <algorithm>

#include "forms/preview.h"

namespace corvane {

// name: the Timer's control key ("timer1", or "timer1(2)" for an element).
void Preview::schedule_timer(const std::string& name) {
  if (closed) return;
  const std::string key = lower(name);
  auto it = objects.find(key);
  if (it == objects.end()) return;
  int64_t interval = 0;
  try {
    interval = number_as_count(it->second->get("Interval"));
  } catch (const VBError&) {
  }
  const int delay = static_cast<int>(std::clamp<int64_t>(interval, 10, 24LL * 3600 * 1000));
  auto w = weak();
  const std::string event = name;
  timers[key] = tk::after(host.interp(), delay, [w, key, event] {
    if (auto p = w.lock()) p->on_timer(event);
  });
}

void Preview::on_timer(const std::string& name) {
  const std::string key = lower(name);
  timers.erase(key);  // the job has run: forget it
  if (closed) return;
  ObjectRef object = objects.at(key);
  bool enabled = false;
  int64_t interval = 0;
  try {
    enabled = truth(object->get("Enabled"));
    interval = number_as_count(object->get("Interval"));
  } catch (const VBError&) {
  }
  if (!enabled || interval <= 0) return;
  const Control* c = control(key);
  if (c) invoke(c->name + "_Timer", c->index);
  if (!closed && !timers.count(key)) schedule_timer(key);
}

}  // namespace corvane
