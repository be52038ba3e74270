#include "model/project_data.h"

#include <initializer_list>

#include "model/control_kinds.h"

namespace corvane {

using nlohmann::json;
using nlohmann::ordered_json;

namespace {

ordered_json menu_data(const MenuItem& m) {
  ordered_json children = ordered_json::array();
  for (const MenuItem& child : m.children) children.push_back(menu_data(child));
  return ordered_json{{"name", m.name},       {"caption", m.caption}, {"children", children}, {"checked", m.checked},
                      {"enabled", m.enabled}, {"visible", m.visible}, {"index", m.index}};
}

ordered_json control_data(const Control& c) {
  return ordered_json{
      {"kind", c.kind},
      {"name", c.name},
      {"left", c.left},
      {"top", c.top},
      {"width", c.width},
      {"height", c.height},
      {"caption", c.caption},
      {"text", c.text},
      {"visible", c.visible},
      {"enabled", c.enabled},
      {"back_color", c.back_color},
      {"fore_color", c.fore_color},
      {"font_size", c.font_size},
      {"value", c.value},
      {"items", c.items},
      {"tab_index", c.tab_index},
      {"interval", c.interval},
      {"record_source", c.record_source},
      {"index", c.index},
      {"container", c.container},
      {"container_index", c.container_index},
      {"font_name", c.font_name},
      {"font_bold", c.font_bold},
      {"font_italic", c.font_italic},
      {"font_underline", c.font_underline},
      {"shape", c.shape},
      {"fill_style", c.fill_style},
      {"fill_color", c.fill_color},
      {"border_color", c.border_color},
      {"border_style", c.border_style},
      {"border_width", c.border_width},
      {"back_style", c.back_style},
      {"alignment", c.alignment},
      {"auto_size", c.auto_size},
      {"word_wrap", c.word_wrap},
      {"locked", c.locked},
      {"x1", c.x1},
      {"y1", c.y1},
      {"x2", c.x2},
      {"y2", c.y2},
      {"default_button", c.default_button},
      {"cancel_button", c.cancel_button},
  };
}

ordered_json form_data(const VBForm& f) {
  ordered_json controls = ordered_json::array();
  for (const Control& c : f.controls) controls.push_back(control_data(c));
  ordered_json menus = ordered_json::array();
  for (const MenuItem& m : f.menus) menus.push_back(menu_data(m));
  return ordered_json{{"name", f.name},     {"caption", f.caption},     {"width", f.width},
                      {"height", f.height}, {"controls", controls},     {"menus", menus},
                      {"code", f.code},     {"mdi_form", f.mdi_form}, {"mdi_child", f.mdi_child},
                      {"key_preview", f.key_preview}, {"back_color", f.back_color}};
}

// Reading: each record object is checked for unknown and missing keys, and
// each value for its JSON type, so bad data fails with a message that says
// where instead of producing a half-read project.
class Reader {
 public:
  explicit Reader(std::string where) : where_(std::move(where)) {}

  void require_object(const json& obj) const {
    if (!obj.is_object()) fail("is not a JSON object");
  }
  void allow_only(const json& obj, std::initializer_list<std::string_view> keys) const {
    for (auto it = obj.begin(); it != obj.end(); ++it) {
      bool known = false;
      for (std::string_view k : keys) known = known || it.key() == k;
      if (!known) fail("has unknown key \"" + it.key() + "\"");
    }
  }
  const json* find(const json& obj, const char* key, bool required) const {
    auto it = obj.find(key);
    if (it == obj.end()) {
      if (required) fail(std::string("is missing the key \"") + key + "\"");
      return nullptr;
    }
    return &*it;
  }
  void text(const json& obj, const char* key, std::string& out, bool required = false) const {
    if (const json* v = find(obj, key, required)) {
      if (!v->is_string()) bad_type(key, "a string");
      out = v->get<std::string>();
    }
  }
  void integer(const json& obj, const char* key, int& out) const {
    if (const json* v = find(obj, key, false)) {
      if (!v->is_number_integer()) bad_type(key, "an integer");
      auto n = v->get<long long>();
      if (n < INT32_MIN || n > INT32_MAX) fail(std::string("has an out-of-range \"") + key + "\"");
      out = static_cast<int>(n);
    }
  }
  void boolean(const json& obj, const char* key, bool& out) const {
    if (const json* v = find(obj, key, false)) {
      if (!v->is_boolean()) bad_type(key, "true or false");
      out = v->get<bool>();
    }
  }
  const json& array(const json& obj, const char* key, bool required) const {
    static const json empty = json::array();
    const json* v = find(obj, key, required);
    if (!v) return empty;
    if (!v->is_array()) bad_type(key, "an array");
    return *v;
  }
  [[noreturn]] void fail(const std::string& what) const {
    throw ProjectDataError("Project data: " + where_ + " " + what);
  }

 private:
  [[noreturn]] void bad_type(const char* key, const char* expected) const {
    fail(std::string("has \"") + key + "\" that is not " + expected);
  }
  std::string where_;
};

std::string describe(const json& obj, const std::string& record, size_t index) {
  std::string where = record + " " + std::to_string(index + 1);
  if (obj.is_object()) {
    auto it = obj.find("name");
    if (it != obj.end() && it->is_string()) where += " (\"" + it->get<std::string>() + "\")";
  }
  return where;
}

MenuItem read_menu(const json& obj, const std::string& where) {
  Reader r(where);
  r.require_object(obj);
  r.allow_only(obj, {"name", "caption", "children", "checked", "enabled", "visible", "index"});
  MenuItem m;
  r.text(obj, "name", m.name, true);
  r.text(obj, "caption", m.caption, true);
  const json& children = r.array(obj, "children", false);
  for (size_t i = 0; i < children.size(); ++i)
    m.children.push_back(read_menu(children[i], describe(children[i], "menu", i) + " of " + where));
  r.boolean(obj, "checked", m.checked);
  r.boolean(obj, "enabled", m.enabled);
  r.boolean(obj, "visible", m.visible);
  r.integer(obj, "index", m.index);
  return m;
}

Control read_control(const json& obj, const std::string& where) {
  Reader r(where);
  r.require_object(obj);
  r.allow_only(obj, {"kind", "name", "left", "top", "width", "height", "caption", "text", "visible", "enabled",
                     "back_color", "fore_color", "font_size", "value", "items", "tab_index", "interval",
                     "record_source", "index", "container", "container_index", "font_name", "font_bold",
                     "font_italic", "font_underline", "shape", "fill_style", "fill_color", "border_color",
                     "border_style", "border_width", "back_style", "alignment", "auto_size", "word_wrap", "locked", "x1", "y1",
                     "x2", "y2", "default_button", "cancel_button"});
  Control c;
  r.text(obj, "kind", c.kind, true);
  // Fields the data leaves out keep the kind's defaults.
  if (find_control_spec(c.kind)) c = Control::create(c.kind, "");
  r.text(obj, "name", c.name, true);
  r.integer(obj, "left", c.left);
  r.integer(obj, "top", c.top);
  r.integer(obj, "width", c.width);
  r.integer(obj, "height", c.height);
  r.text(obj, "caption", c.caption);
  r.text(obj, "text", c.text);
  r.boolean(obj, "visible", c.visible);
  r.boolean(obj, "enabled", c.enabled);
  r.text(obj, "back_color", c.back_color);
  r.text(obj, "fore_color", c.fore_color);
  r.integer(obj, "font_size", c.font_size);
  r.integer(obj, "value", c.value);
  r.text(obj, "items", c.items);
  r.integer(obj, "tab_index", c.tab_index);
  r.integer(obj, "interval", c.interval);
  r.text(obj, "record_source", c.record_source);
  r.integer(obj, "index", c.index);
  r.text(obj, "container", c.container);
  r.integer(obj, "container_index", c.container_index);
  r.text(obj, "font_name", c.font_name);
  r.boolean(obj, "font_bold", c.font_bold);
  r.boolean(obj, "font_italic", c.font_italic);
  r.boolean(obj, "font_underline", c.font_underline);
  r.integer(obj, "shape", c.shape);
  r.integer(obj, "fill_style", c.fill_style);
  r.text(obj, "fill_color", c.fill_color);
  r.text(obj, "border_color", c.border_color);
  r.integer(obj, "border_style", c.border_style);
  r.integer(obj, "border_width", c.border_width);
  r.integer(obj, "back_style", c.back_style);
  r.integer(obj, "alignment", c.alignment);
  r.boolean(obj, "auto_size", c.auto_size);
  r.boolean(obj, "word_wrap", c.word_wrap);
  r.boolean(obj, "locked", c.locked);
  r.integer(obj, "x1", c.x1);
  r.integer(obj, "y1", c.y1);
  r.integer(obj, "x2", c.x2);
  r.integer(obj, "y2", c.y2);
  r.boolean(obj, "default_button", c.default_button);
  r.boolean(obj, "cancel_button", c.cancel_button);
  return c;
}

VBForm read_form(const json& obj, const std::string& where) {
  Reader r(where);
  r.require_object(obj);
  r.allow_only(obj, {"name", "caption", "width", "height", "controls", "menus", "code", "mdi_form", "mdi_child", "key_preview", "back_color"});
  VBForm f;
  r.text(obj, "name", f.name);
  r.text(obj, "caption", f.caption);
  r.integer(obj, "width", f.width);
  r.integer(obj, "height", f.height);
  r.text(obj, "code", f.code);
  r.boolean(obj, "mdi_form", f.mdi_form);
  r.boolean(obj, "mdi_child", f.mdi_child);
  r.boolean(obj, "key_preview", f.key_preview);
  r.text(obj, "back_color", f.back_color);
  const json& controls = r.array(obj, "controls", true);
  for (size_t i = 0; i < controls.size(); ++i)
    f.controls.push_back(read_control(controls[i], describe(controls[i], "control", i) + " of " + where));
  const json& menus = r.array(obj, "menus", false);
  for (size_t i = 0; i < menus.size(); ++i)
    f.menus.push_back(read_menu(menus[i], describe(menus[i], "menu", i) + " of " + where));
  return f;
}

template <typename Record>
Record read_code_unit(const json& obj, const std::string& where) {
  Reader r(where);
  r.require_object(obj);
  r.allow_only(obj, {"name", "code"});
  Record rec;
  r.text(obj, "name", rec.name, true);
  r.text(obj, "code", rec.code);
  return rec;
}

// The fields of App's description, in the order the data lists them.
constexpr std::pair<const char*, std::string AppInfo::*> APP_TEXTS[] = {
    {"title", &AppInfo::title},
    {"exe_name", &AppInfo::exe_name},
    {"help_file", &AppInfo::help_file},
    {"file_description", &AppInfo::file_description},
    {"product_name", &AppInfo::product_name},
    {"legal_copyright", &AppInfo::legal_copyright},
    {"comments", &AppInfo::comments},
};
constexpr std::pair<const char*, int AppInfo::*> APP_NUMBERS[] = {
    {"major", &AppInfo::major}, {"minor", &AppInfo::minor}, {"revision", &AppInfo::revision}};

ordered_json app_data(const AppInfo& app) {
  ordered_json out = ordered_json::object();
  for (const auto& [key, field] : APP_TEXTS) out[key] = app.*field;
  for (const auto& [key, field] : APP_NUMBERS) out[key] = app.*field;
  return out;
}

AppInfo read_app(const json& obj) {
  Reader r("app of project");
  r.require_object(obj);
  AppInfo app;
  for (const auto& [key, field] : APP_TEXTS) r.text(obj, key, app.*field);
  for (const auto& [key, field] : APP_NUMBERS) r.integer(obj, key, app.*field);
  return app;
}

}  // namespace

ordered_json project_data(const Project& project) {
  ordered_json forms = ordered_json::array();
  for (const VBForm& f : project.forms) forms.push_back(form_data(f));
  ordered_json modules = ordered_json::array();
  for (const Module& m : project.modules) modules.push_back({{"name", m.name}, {"code", m.code}});
  ordered_json classes = ordered_json::array();
  for (const ClassModule& c : project.classes) classes.push_back({{"name", c.name}, {"code", c.code}});
  ordered_json data{{"name", project.name},
                    {"startup", project.startup},
                    {"forms", forms},
                    {"modules", modules},
                    {"classes", classes},
                    {"code_page", project.code_page},
                    {"type", project.type}};
  if (project.app != AppInfo{}) data["app"] = app_data(project.app);
  return data;
}

std::string project_data_text(const Project& project) {
  // Invalid UTF-8 in a text is replaced rather than aborting the build.
  return project_data(project).dump(-1, ' ', true, ordered_json::error_handler_t::replace);
}

Project project_from_data(const json& data, const std::optional<std::filesystem::path>& base_dir) {
  Reader top("project");
  top.require_object(data);
  Project project;
  project.forms.clear();
  top.text(data, "name", project.name, true);
  top.text(data, "startup", project.startup, true);
  const json& forms = top.array(data, "forms", true);
  for (size_t i = 0; i < forms.size(); ++i) project.forms.push_back(read_form(forms[i], describe(forms[i], "form", i)));
  const json& modules = top.array(data, "modules", true);
  for (size_t i = 0; i < modules.size(); ++i)
    project.modules.push_back(read_code_unit<Module>(modules[i], describe(modules[i], "module", i)));
  const json& classes = top.array(data, "classes", false);
  for (size_t i = 0; i < classes.size(); ++i)
    project.classes.push_back(read_code_unit<ClassModule>(classes[i], describe(classes[i], "class", i)));
  top.text(data, "code_page", project.code_page);
  top.text(data, "type", project.type);
  if (auto app = data.find("app"); app != data.end()) project.app = read_app(*app);
  if (base_dir) project.path = *base_dir / (project.name + ".vbp");
  return project;
}

Project project_from_data_text(std::string_view text, const std::optional<std::filesystem::path>& base_dir) {
  json data;
  try {
    data = json::parse(text);
  } catch (const json::parse_error& e) {
    throw ProjectDataError(std::string("Project data is not valid JSON: ") + e.what());
  }
  return project_from_data(data, base_dir);
}

}  // namespace corvane
