// ApplicationSession: the forms of one run and the variables they share.
#include "forms/session.h"

#include <algorithm>
#include <chrono>

#include "forms/form_object.h"
#include "forms/preview.h"
#include "forms/send_keys.h"
#include "model/names.h"
#include "tk/dialogs.h"
#include "tk/error.h"
#include "tk/widget.h"

namespace corvane {

std::shared_ptr<ApplicationSession> ApplicationSession::create(RunHost& host) {
  auto session = std::make_shared<ApplicationSession>(host);
  session->init();
  return session;
}

ApplicationSession::ApplicationSession(RunHost& host_)
    : host(host_), project(host_.project()), forms_list(std::make_shared<FormsCollection>()) {}

namespace {

// Show's first argument: vbModal (1) makes the form modal.
bool is_modal(const Value& style) {
  try {
    return number_as_count(style) == 1;
  } catch (const VBError&) {
    return false;
  }
}

}  // namespace

ApplicationSession::~ApplicationSession() {
  for (auto& [key, object] : form_objects) {
    object->on_change = nullptr;
    object->on_method = nullptr;
  }
}

void ApplicationSession::init() {
  std::weak_ptr<ApplicationSession> w = weak_from_this();
  for (const VBForm& form : project.forms) {
    const std::string key = fold_name(form.name);
    if (form_objects.count(key)) continue;  // the first form of a name wins
    auto object = std::make_shared<FormObject>(
        form.name, std::map<std::string, Value>{{"caption", Value(form.caption)},
                                                {"visible", Value(false)},
                                                {"width", Value(int64_t{form.width})},
                                                {"height", Value(int64_t{form.height})},
                                                {"scalewidth", Value(int64_t{form.width})},
                                                {"scaleheight", Value(int64_t{form.height})},
                                                {"keypreview", Value(form.key_preview)},
                                                {"currentx", Value(int64_t{0})},
                                                {"currenty", Value(int64_t{0})},
                                                {"drawwidth", Value(int64_t{1})},
                                                {"windowstate", Value(int64_t{0})},
                                                {"forecolor", Value(int64_t{0})},
                                                {"backcolor", colour_value(form.back_color)}});
    object->on_change = [w](ControlObject& o, const std::string& k, const Value& value) {
      if (auto s = w.lock()) s->form_property(o, k, value);
    };
    object->on_method = [w](ControlObject& o, const std::string& method, std::vector<Value>& args) {
      if (auto s = w.lock()) return s->form_method(o, method, args);
      return Value();
    };
    object->code = [w, name = form.name]() -> VBRuntime* {
      auto s = w.lock();
      if (!s || s->stopping) return nullptr;
      std::shared_ptr<Preview> preview = s->load(name);
      return preview && !preview->closed ? preview->runtime.get() : nullptr;
    };
    form_objects.emplace(key, std::move(object));
  }
  VBRuntime::Options options;
  for (const Module& m : project.modules) options.sources.push_back(m.code);
  for (const Module& m : project.modules) options.modules.emplace_back(m.name + ".bas", m.code);
  for (const ClassModule& c : project.classes) options.classes.emplace_back(c.name, c.code);
  if (project.path) options.base_dir = project.path->parent_path().string();
  // Sub Main runs in this interpreter: it reaches the forms by name and
  // shows its messages with no form behind them.
  for (const VBForm& form : project.forms) options.controls.emplace_back(form.name, form_object(form.name));
  options.controls.emplace_back("Forms", forms_list);
  RunHost* run_host = &host;
  options.debug = [run_host](const std::string& text) { run_host->log(text); };
  options.msgbox = [run_host](const std::string& text, const std::string& title, const Value& buttons) {
    return show_msgbox(run_host->interp(), std::string(), text, title, buttons);
  };
  options.stop = [w] {
    if (auto s = w.lock()) s->stop();
  };
  options.watch = host.watch();
  shared_ = std::make_unique<VBRuntime>(std::move(options));
  describe_app(*shared_->app, project);
  shared_->load = [w](const std::string& name) {
    if (auto s = w.lock()) s->load(name);
  };
  shared_->unload = [w](const std::string& name) {
    if (auto s = w.lock()) s->unload(name);
  };
  shared_->new_form = [w](const std::string& name) -> ObjectRef {
    auto s = w.lock();
    return s ? s->form_object(name) : nullptr;
  };
  shared_->send_keys = [w](const std::vector<SentKey>& keys, bool wait) {
    if (auto s = w.lock()) send_keys(s->host.interp(), s->active_window(), keys, wait);
  };
  globals = shared_->globals;
}

bool ApplicationSession::starts_with_main() const { return names_equal(project.startup, "Sub Main"); }

std::shared_ptr<Preview> ApplicationSession::start() {
  if (starts_with_main()) {
    run_main();
    return nullptr;
  }
  if (project.forms.empty()) throw VBError("Project contains no forms.");
  const VBForm* startup = project.lookup_form(project.startup);
  if (!startup) startup = &project.forms.front();
  return show(startup->name);
}

void ApplicationSession::run_main() {
  if (!shared_->has_procedure("Main"))
    throw VBError(35, "Sub Main not found: the project starts with Sub Main but no module has one");
  auto keep = shared_from_this();
  in_main_ = true;
  try {
    shared_->event("Main");
  } catch (const VBError& e) {
    host.runtime_error(e);
    // The message names Main already ("Runtime error in Main: ...").
    tk::MessageBoxOptions options;
    options.title = "VB6 runtime error";
    options.message = "Main: " + e.message();
    options.icon = "error";
    try {
      tk::message_box(host.interp(), options);
    } catch (const std::exception&) {
      host.log(options.message);
    }
    in_main_ = false;
    stop();
    return;
  }
  in_main_ = false;
  if (!stopping && previews.empty() && loading_.empty()) end_run();
}

ObjectRef ApplicationSession::form_object(const std::string& name) const {
  auto it = form_objects.find(fold_name(name));
  return it == form_objects.end() ? nullptr : it->second;
}

std::shared_ptr<Preview> ApplicationSession::preview(const std::string& name) const {
  auto it = previews.find(fold_name(name));
  return it == previews.end() ? nullptr : it->second;
}

std::string ApplicationSession::active_window() const {
  for (auto it = load_order_.rbegin(); it != load_order_.rend(); ++it)
    if (auto found = previews.find(*it); found != previews.end() && found->second && !found->second->closed)
      return found->second->window;
  return {};
}

const VBForm& ApplicationSession::require(const std::string& name) const {
  if (const VBForm* form = project.lookup_form(name)) return *form;
  throw VBError("Unknown form: " + name);
}

std::shared_ptr<Preview> ApplicationSession::load(const std::string& name) {
  const VBForm& form = require(name);
  const std::string key = fold_name(form.name);
  if (auto it = previews.find(key); it != previews.end()) return it->second;
  // A form that names itself during its own Form_Load is not loaded twice.
  if (auto it = loading_.find(key); it != loading_.end()) return it->second;
  auto keep = shared_from_this();
  std::shared_ptr<Preview> preview = Preview::make(host, form, keep);
  loading_[key] = preview;
  note_loaded(key, true);
  try {
    preview->start(false);
  } catch (...) {
    loading_.erase(key);
    note_loaded(key, false);
    throw;
  }
  loading_.erase(key);
  if (preview->closed) {
    // It unloaded itself during Form_Load: the run ends when nothing else is loaded.
    if (!stopping && !in_main_ && previews.empty() && loading_.empty()) end_run();
  } else if (!stopping) {
    previews[key] = preview;
    if (preview->show_requested) {
      preview->show_requested = false;
      show_loaded(*preview);
    }
  }
  return preview;
}

void ApplicationSession::show_loaded(Preview& preview) {
  if (preview.closed) return;
  if (ObjectRef object = form_object(preview.form.name)) object->props["visible"] = Value(true);
  preview.show_window();
  preview.invoke("Form_Activate");
}

std::shared_ptr<Preview> ApplicationSession::show(const std::string& name) {
  const VBForm& form = require(name);
  const std::string key = fold_name(form.name);
  if (auto it = loading_.find(key); it != loading_.end()) {
    // Shown while its Form_Load runs: it shows once loading has finished.
    it->second->show_requested = true;
    if (ObjectRef object = form_object(form.name)) object->props["visible"] = Value(true);
    return it->second;
  }
  auto keep = shared_from_this();
  std::shared_ptr<Preview> preview = load(form.name);
  if (preview->closed) return preview;
  preview->show_requested = false;
  show_loaded(*preview);
  return preview;
}

void ApplicationSession::unload(const std::string& name) {
  const VBForm& form = require(name);
  const std::string key = fold_name(form.name);
  std::shared_ptr<Preview> preview = this->preview(key);
  if (!preview) {
    // Unloaded during its own Form_Load.
    if (auto it = loading_.find(key); it != loading_.end()) preview = it->second;
  }
  if (preview && !preview->closed) preview->close();
}

void ApplicationSession::form_property(ControlObject& object, const std::string& key, const Value& value) {
  if (key == "visible") {
    if (truth(value)) {
      show(object.name);
    } else if (auto preview = this->preview(object.name)) {
      preview->withdraw_window();
    } else if (auto it = loading_.find(fold_name(object.name)); it != loading_.end()) {
      it->second->show_requested = false;
    }
    return;
  }
  if (auto preview = this->preview(object.name)) {
    preview->change_form(object, key, value);
  } else if (auto it = loading_.find(fold_name(object.name)); it != loading_.end()) {
    it->second->change_form(object, key, value);
  }
}

void ApplicationSession::note_loaded(const std::string& key, bool loaded) {
  std::erase(load_order_, key);
  if (loaded) load_order_.push_back(key);
  std::vector<ObjectRef> forms;
  for (const std::string& k : load_order_)
    if (ObjectRef object = form_object(k)) forms.push_back(object);
  forms_list->assign(forms);
}

// Show vbModal: the program goes on once the form is hidden or unloaded;
// meanwhile only the modal form takes the user's input.
void ApplicationSession::wait_modal(const std::shared_ptr<Preview>& preview) {
  ObjectRef object = form_object(preview->form.name);
  const auto showing = [&] {
    return !preview->closed && !stopping && object && truth(object->props["visible"]);
  };
  if (!showing()) return;
  tk::Interp& interp = host.interp();
  std::string previous_grab;
  try {
    previous_grab = interp.call({"grab", "current"});
  } catch (const tk::TclError&) {
  }
  interp.update();
  if (showing()) interp.try_call({"grab", "set", preview->window});
  const auto begin = std::chrono::steady_clock::now();
  while (showing()) interp.do_one_event(true);
  if (!preview->closed) interp.try_call({"grab", "release", preview->window});
  if (!previous_grab.empty() && tk::winfo_exists(interp, previous_grab))
    interp.try_call({"grab", "set", previous_grab});
  // Waiting for the user is no running time of the interpreters.
  const double waited = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
  shared_->exclude_time(waited);
  for (auto& [key, open] : previews)
    if (open->runtime) open->runtime->exclude_time(waited);
  if (stopping) {
    // The run ended meanwhile (End, the environment's Stop): the code that
    // showed the form goes no further.
    VBError e("The program ended while " + preview->form.name + " was shown modally");
    e.untrappable = true;
    throw e;
  }
}

Value ApplicationSession::form_method(ControlObject& object, const std::string& method, std::vector<Value>& args) {
  if (method == "show") {
    auto keep = shared_from_this();
    std::shared_ptr<Preview> preview = show(object.name);
    if (!args.empty() && preview && is_modal(args[0])) wait_modal(preview);
    return Value();
  }
  if (method == "cls" || method == "pset" || method == "line" || method == "circle" || method == "print" ||
      method == "scale" || method == "refresh") {
    // Graphics and the other methods of the window itself: the form loads first.
    std::shared_ptr<Preview> preview = load(object.name);
    if (preview && !preview->closed) return preview->form_method(object, method, args);
    return Value();
  }
  if (method == "hide") {
    object.set("Visible", Value(false));
    return Value();
  }
  if (method == "move") {
    move_object(object, args);
    return Value();
  }
  if (method == "unload") {
    unload(object.name);
    return Value();
  }
  if (method == "setfocus") {
    auto preview = show(object.name);
    if (preview && !preview->closed) tk::focus(host.interp(), preview->window, true);
    return Value();
  }
  throw VBError("Unsupported form method: " + object.name + "." + method);
}

void ApplicationSession::form_closed(Preview& preview) {
  auto keep = shared_from_this();
  const std::string key = fold_name(preview.form.name);
  if (auto it = previews.find(key); it != previews.end() && it->second.get() == &preview) previews.erase(it);
  if (ObjectRef object = form_object(preview.form.name)) object->props["visible"] = Value(false);
  note_loaded(key, false);
  if (!stopping && !in_main_ && previews.empty() && loading_.empty()) end_run();
}

void ApplicationSession::end_run() {
  if (ended_) return;
  ended_ = true;
  auto keep = shared_from_this();
  host.preview.reset();
  if (host.session.get() == this) host.session.reset();
  host.set_status("Program stopped");
}

void ApplicationSession::stop() {
  if (stopping) return;
  auto keep = shared_from_this();
  stopping = true;
  // Forms still inside their Form_Load close too.
  std::vector<std::shared_ptr<Preview>> open;
  for (auto& [key, preview] : previews) open.push_back(preview);
  for (auto& [key, preview] : loading_) open.push_back(preview);
  for (auto& preview : open) preview->close();
  previews.clear();
  end_run();
}

}  // namespace corvane
