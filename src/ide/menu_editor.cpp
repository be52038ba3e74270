// The menu editor: a window of its own over the current form's menu tree.
// Every change goes into the form at once; there is no Apply or Cancel.
#include <array>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "ide/tool_windows.h"
#include "tk/events.h"
#include "tk/input_dialog.h"
#include "tk/widget.h"
#include "vb6files/regex.h"

namespace corvane::ide {

namespace {

// Where an entry sits: the index in the form's menus, then in each child list.
using MenuPath = std::vector<std::size_t>;

struct Column {
    const char* id;
    const char* heading;
    int width;
};
constexpr Column COLUMNS[] = {
    {"#0", "(Name)", 135}, {"caption", "Caption", 220}, {"enabled", "Enabled", 75}, {"checked", "Checked", 75}};

const char* const INVALID_NAME = "Menu name must be a unique VB identifier.";

const Regex& identifier() {
    static const Regex re(R"(\A[A-Za-z_]\w*\z)");
    return re;
}

const char* word(bool flag) { return flag ? "True" : "False"; }

bool name_in_use(const std::vector<MenuItem>& menus, const std::string& name) {
    for (const MenuItem& menu : menus)
        if (menu.name == name || name_in_use(menu.children, name)) return true;
    return false;
}

std::string free_name(const std::vector<MenuItem>& menus) {
    for (int n = 1;; ++n) {
        std::string name = "mnuItem" + std::to_string(n);
        if (!name_in_use(menus, name)) return name;
    }
}

// The list that holds the entry at `path` (the path's last index is into it).
std::vector<MenuItem>* holder(std::vector<MenuItem>& menus, const MenuPath& path) {
    std::vector<MenuItem>* list = &menus;
    for (std::size_t depth = 0; depth + 1 < path.size(); ++depth) {
        if (path[depth] >= list->size()) return nullptr;
        list = &(*list)[path[depth]].children;
    }
    return path.empty() || path.back() >= list->size() ? nullptr : list;
}

MenuItem* entry_at(std::vector<MenuItem>& menus, const MenuPath& path) {
    std::vector<MenuItem>* list = holder(menus, path);
    return list ? &(*list)[path.back()] : nullptr;
}

// "1, 0, 1" -> Enabled, Checked, Visible; nullopt for anything else.
std::optional<std::array<bool, 3>> parse_flags(const std::string& answer) {
    std::vector<std::string> parts(1);
    for (char c : answer) {
        if (c == ',') parts.emplace_back();
        else parts.back() += c;
    }
    if (parts.size() != 3) return std::nullopt;
    std::array<bool, 3> flags{};
    for (std::size_t i = 0; i < 3; ++i) {
        const std::size_t first = parts[i].find_first_not_of(" \t\r\n");
        const std::size_t last = parts[i].find_last_not_of(" \t\r\n");
        const std::string part = first == std::string::npos ? "" : parts[i].substr(first, last - first + 1);
        if (part != "0" && part != "1") return std::nullopt;
        flags[i] = part == "1";
    }
    return flags;
}

class MenuEditor : public std::enable_shared_from_this<MenuEditor> {
public:
    MenuEditor(Workbench& bench, std::string form_name) : bench_(bench), form_name_(std::move(form_name)) {}

    void build();
    const std::string& window() const { return window_; }

private:
    void add_top_level() { add(false); }
    void add_child() { add(true); }
    VBForm* form() { return bench_.state().project_open() ? bench_.state().project.lookup_form(form_name_) : nullptr; }
    std::optional<std::string> ask(const char* title, const char* prompt, const std::string& initial);
    void fill_tree(const std::optional<MenuPath>& select = std::nullopt);
    void add_rows(const std::vector<MenuItem>& menus, const std::string& parent, MenuPath& path);
    std::optional<MenuPath> selection();
    void add(bool child);
    void edit();
    void remove();
    void open_click_code();
    // Runs an action on a living window whose form still exists.
    void guarded(void (MenuEditor::*action)());

    Workbench& bench_;
    std::string form_name_;
    std::string window_, tree_;
    std::map<std::string, MenuPath> rows_;  // tree item -> entry
};

std::optional<std::string> MenuEditor::ask(const char* title, const char* prompt, const std::string& initial) {
    return tk::ask_string(bench_.interp(), {.parent = window_, .title = title, .prompt = prompt, .initial = initial});
}

void MenuEditor::build() {
    tk::Interp& in = bench_.interp();
    window_ = tk::new_widget_path(in, ".");
    in.call({"toplevel", window_});
    tk::wm_title(in, window_, "Menu Editor \u2014 " + form_name_);
    in.call({"wm", "geometry", window_, "560x460"});
    in.call({"wm", "transient", window_, "."});
    const std::string frame = window_ + ".f";
    in.call({"ttk::frame", frame, "-padding", 12});
    in.call({"pack", frame, "-fill", "both", "-expand", 1});
    in.call({"ttk::label", frame + ".help", "-wraplength", 525, "-justify", "left", "-anchor", "w", "-text",
             "Menu definitions \u2022 Double-click an entry to edit; select a menu to add a child."});
    in.call({"pack", frame + ".help", "-side", "top", "-fill", "x", "-pady", tk::Obj::list({0, 8})});

    const std::string buttons = frame + ".buttons";
    in.call({"ttk::frame", buttons});
    in.call({"pack", buttons, "-side", "bottom", "-fill", "x", "-pady", tk::Obj::list({8, 0})});
    struct Button {
        const char* text;
        void (MenuEditor::*action)();
    };
    static constexpr Button BUTTONS[] = {
        {"Add top level", &MenuEditor::add_top_level}, {"Add child", &MenuEditor::add_child},
        {"Edit", &MenuEditor::edit},                   {"Delete", &MenuEditor::remove},
        {"Open Click code", &MenuEditor::open_click_code},
    };
    int n = 0;
    for (const Button& b : BUTTONS) {
        const std::string path = buttons + ".b" + std::to_string(n++);
        // Natural widths: the five buttons share the window's width.
        in.call({"ttk::button", path, "-text", b.text, "-width", 0});
        std::weak_ptr<MenuEditor> self = weak_from_this();
        auto action = b.action;
        in.call({path, "configure", "-command", tk::widget_command(in, path, [self, action] {
                     if (auto editor = self.lock()) editor->guarded(action);
                 })});
        in.call({"pack", path, "-side", "left", "-padx", 2});
    }

    tree_ = frame + ".tree";
    in.call({"ttk::treeview", tree_, "-show", tk::Obj::list({"tree", "headings"}), "-columns",
             tk::Obj::list({"caption", "enabled", "checked"}), "-selectmode", "browse"});
    for (const Column& c : COLUMNS) {
        in.call({tree_, "heading", c.id, "-text", c.heading, "-anchor", "w"});
        in.call({tree_, "column", c.id, "-width", c.width});
    }
    in.call({"pack", tree_, "-side", "top", "-fill", "both", "-expand", 1});
    std::weak_ptr<MenuEditor> self = weak_from_this();
    tk::bind(in, tree_, "<Double-Button-1>", {}, [self] {
        if (auto editor = self.lock()) editor->guarded(&MenuEditor::edit);
    });
    fill_tree();
}

void MenuEditor::guarded(void (MenuEditor::*action)()) {
    auto keep = shared_from_this();  // the window may close during a prompt
    if (!form()) {
        bench_.show_error("Menu Editor", "The form " + form_name_ + " is no longer open.");
        tk::destroy(bench_.interp(), window_);
        return;
    }
    (this->*action)();
}

void MenuEditor::add_rows(const std::vector<MenuItem>& menus, const std::string& parent, MenuPath& path) {
    tk::Interp& in = bench_.interp();
    for (std::size_t i = 0; i < menus.size(); ++i) {
        const MenuItem& menu = menus[i];
        path.push_back(i);
        // Rows are keyed by the entry's name; a name read twice from a file
        // (a menu control array) still gets a row of its own.
        std::string id = menu.name;
        for (int n = 2; rows_.count(id) || id.empty(); ++n) id = menu.name + "#" + std::to_string(n);
        rows_[id] = path;
        in.call({tree_, "insert", parent, "end", "-id", id, "-text", menu.name, "-open", 1, "-values",
                 tk::Obj::list({menu.caption, word(menu.enabled), word(menu.checked)})});
        add_rows(menu.children, id, path);
        path.pop_back();
    }
}

void MenuEditor::fill_tree(const std::optional<MenuPath>& select) {
    tk::Interp& in = bench_.interp();
    if (!tk::winfo_exists(in, tree_)) return;
    in.call({tree_, "delete", in.call_obj({tree_, "children", ""})});
    rows_.clear();
    if (VBForm* f = form()) {
        MenuPath path;
        add_rows(f->menus, "", path);
    }
    bench_.refresh_objects();
    if (!select) return;
    for (const auto& [id, path] : rows_) {
        if (path != *select) continue;
        in.call({tree_, "selection", "set", tk::Obj::list({id})});
        in.call({tree_, "focus", id});
        in.call({tree_, "see", id});
    }
}

std::optional<MenuPath> MenuEditor::selection() {
    const std::vector<tk::Obj> selected = bench_.interp().call_obj({tree_, "selection"}).to_list();
    if (selected.empty()) return std::nullopt;
    const auto row = rows_.find(selected.front().str());
    if (row == rows_.end()) return std::nullopt;
    return row->second;
}

void MenuEditor::add(bool child) {
    const std::optional<MenuPath> parent = child ? selection() : std::nullopt;
    const std::optional<std::string> name = ask("Menu name", "VB6 menu (Name):", free_name(form()->menus));
    if (!name || name->empty() || !form()) return;
    if (!identifier().match(*name) || name_in_use(form()->menus, *name)) {
        bench_.show_error("Invalid name", INVALID_NAME);
        return;
    }
    const std::optional<std::string> caption =
        ask("Menu caption", "Caption (use & for accelerator, - for separator):", "New Item");
    if (!caption || !form() || name_in_use(form()->menus, *name)) return;
    std::vector<MenuItem>* list = &form()->menus;
    MenuPath path;
    if (parent) {
        MenuItem* owner = entry_at(form()->menus, *parent);
        if (!owner) return;  // the parent went while the prompts were open
        list = &owner->children;
        path = *parent;
    }
    MenuItem item;
    item.name = *name;
    item.caption = *caption;
    list->push_back(std::move(item));
    path.push_back(list->size() - 1);
    fill_tree(path);
    bench_.changed();
}

void MenuEditor::edit() {
    const std::optional<MenuPath> path = selection();
    if (!path) return;
    MenuItem* item = entry_at(form()->menus, *path);
    if (!item) return;
    const std::string name = item->name;
    // The entry is found again after each prompt: another window may have
    // changed the tree meanwhile.
    auto current = [&]() -> MenuItem* {
        MenuItem* found = form() ? entry_at(form()->menus, *path) : nullptr;
        return found && found->name == name ? found : nullptr;
    };
    const std::optional<std::string> caption = ask("Edit menu", "Caption:", item->caption);
    if (!caption || !(item = current())) return;
    item->caption = *caption;
    const std::string flags = std::string(item->enabled ? "1" : "0") + ", " + (item->checked ? "1" : "0") + ", " +
                              (item->visible ? "1" : "0");
    const std::optional<std::string> answer = ask("Menu flags", "Enabled, Checked, Visible (1 or 0, comma-separated):", flags);
    if (answer && (item = current())) {
        if (const auto parsed = parse_flags(*answer)) {
            item->enabled = (*parsed)[0];
            item->checked = (*parsed)[1];
            item->visible = (*parsed)[2];
        }
    }
    fill_tree(*path);
    bench_.changed();
}

void MenuEditor::remove() {
    const std::optional<MenuPath> path = selection();
    if (!path) return;
    std::vector<MenuItem>* list = holder(form()->menus, *path);
    if (!list) return;
    list->erase(list->begin() + static_cast<std::ptrdiff_t>(path->back()));
    fill_tree();
    bench_.changed();
}

void MenuEditor::open_click_code() {
    const std::optional<MenuPath> path = selection();
    if (!path) return;
    MenuItem* item = entry_at(form()->menus, *path);
    if (!item) return;
    if (bench_.state().form != form()) {
        bench_.show_error("Menu Editor", "Open the form " + form_name_ + " in the designer first.");
        return;
    }
    bench_.open_event_code(item->name, "Click");
    tk::destroy(bench_.interp(), window_);
}

// The open windows, each kept until its window is destroyed.
std::map<std::string, std::shared_ptr<MenuEditor>>& open_editors() {
    static std::map<std::string, std::shared_ptr<MenuEditor>> editors;
    return editors;
}

}  // namespace

void open_menu_editor(Workbench& bench) {
    const VBForm* form = bench.state().form;
    if (!form) return;
    auto editor = std::make_shared<MenuEditor>(bench, form->name);
    editor->build();
    const std::string window = editor->window();
    open_editors()[window] = std::move(editor);
    tk::on_destroy(bench.interp(), window, [window] { open_editors().erase(window); });
}

}  // namespace corvane::ide
