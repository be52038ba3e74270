// The project commands: new, open, save, save as, startup form and the
// add commands.
#include <fstream>
#include <map>

#include "ide/constants.h"
#include "ide/ide.h"
#include "model/names.h"
#include "tk/dialogs.h"
#include "tk/input_dialog.h"
#include "vb6files/project_files.h"

namespace corvane::ide {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view NEW_FORM_CODE = "Option Explicit\n\nPrivate Sub Form_Load()\n\nEnd Sub\n";
constexpr std::string_view NEW_CLASS_CODE =
    "Option Explicit\n\nPublic Value As String\n\nPublic Function GetValue() As String\n"
    "    GetValue = Value\nEnd Function\n";

std::string new_module_code(const std::string& name) {
    return "Attribute VB_Name = \"" + name + "\"\nOption Explicit\n\n"
           "Public Function AddNumbers(a As Long, b As Long) As Long\n    AddNumbers = a + b\nEnd Function\n";
}

// "{prefix}{n}" for the smallest n >= 1 that `taken` refuses.
template <class Taken>
std::string free_name(const std::string& prefix, Taken taken) {
    for (int n = 1;; ++n) {
        std::string name = prefix + std::to_string(n);
        if (!taken(name)) return name;
    }
}

// Whether the product name occurs in the first 4000 bytes: files that this
// system writes carry it, files written elsewhere do not.
bool written_by_us(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::string head(4000, '\0');
    in.read(head.data(), static_cast<std::streamsize>(head.size()));
    head.resize(static_cast<std::size_t>(in.gcount()));
    return head.find(PRODUCT) != std::string::npos;
}

// Two forms whose names differ only in letter case would be written to one
// .frm file, and one of them would be lost.
void check_form_files(const Project& project) {
    std::map<std::string, std::string> seen;  // lower-cased name -> first name
    for (const VBForm& form : project.forms) {
        auto [it, fresh] = seen.emplace(ascii_lower(form.name), form.name);
        if (!fresh)
            throw std::invalid_argument("The forms \"" + it->second + "\" and \"" + form.name +
                                        "\" would be saved to the same file. Rename one of them first.");
    }
}

}  // namespace

Project EditingState::no_project() {
    Project project;
    project.name = "No Project";
    project.forms.clear();
    project.startup.clear();
    return project;
}

void IDE::load_form_code() {
    if (state_.form) load_editor(EditorKind::form, state_.form);
}

void IDE::show_project(Project project, const std::string& status) {
    stop();
    // The editor's owner belongs to the old project: forget it before the
    // project goes, so its text is never written into a record of the new one.
    state_.editor_owner = {};
    state_.project = std::move(project);
    Project& p = state_.project;
    state_.form = p.lookup_form(p.startup);
    if (!state_.form && !p.forms.empty()) state_.form = &p.forms.front();
    state_.current_module = {};
    state_.selected.reset();
    state_.dirty = false;
    load_form_code();
    populate_project();
    draw_form();
    show_properties();
    set_status(status);
    update_title();
}

void IDE::new_project() {
    if (!prompt_discard()) return;
    Project project;  // "Project1" with the default form "Form1"
    project.name = "Project1";
    project.forms = {VBForm{}};
    project.startup = "Form1";
    state_.lossy_import = false;
    show_project(std::move(project), "New project");
}

void IDE::open_project() {
    if (!prompt_discard()) return;
    const std::string chosen = tk::get_open_file(
        interp_, {.parent = ".", .title = "Open a Visual Basic project",
                  .file_types = {{"VB6 project or form", {"*.vbp", "*.frm"}}, {"All files", {"*.*"}}}});
    if (chosen.empty()) return;
    open_path(chosen);
}

bool IDE::open_path(const fs::path& path) {
    Project project;
    try {
        project = load_project(path);
    } catch (const std::exception& e) {
        show_error("Open failed", e.what());
        return false;
    }
    state_.lossy_import = !written_by_us(path);
    const std::string status = state_.lossy_import
                                   ? "Imported VB6 project: use Save As to avoid overwriting unsupported resources | " +
                                         path.string()
                                   : "Opened " + path.string();
    show_project(std::move(project), status);
    return true;
}

void IDE::save() {
    if (!state_.has_components()) return;
    if (!state_.project.path || state_.lossy_import) {
        save_as();
        return;
    }
    sync_editor();
    fs::path written;
    try {
        check_form_files(state_.project);
        written = save_project(state_.project);
    } catch (const std::exception& e) {
        show_error("Save failed", e.what());
        return;
    }
    state_.dirty = false;
    update_title();
    set_status("Saved " + written.string());
}

void IDE::save_as() {
    if (!state_.has_components()) return;
    const Project& p = state_.project;
    const std::string suggested = p.path ? p.path->filename().string() : p.name + ".vbp";
    const std::string chosen = tk::get_save_file(
        interp_, {.parent = ".", .title = "Save VB6 project", .initial_file = suggested, .default_extension = ".vbp",
                  .file_types = {{"VB6 project", {"*.vbp"}}}});
    if (chosen.empty()) return;
    state_.project.path = fs::path(chosen);
    state_.lossy_import = false;
    save();
}

void IDE::choose_startup() {
    if (!state_.project_open()) return;
    std::string names;
    for (const VBForm& form : state_.project.forms) names += (names.empty() ? "" : ", ") + form.name;
    auto answer = tk::ask_string(interp_, {.parent = ".", .title = "Startup Form",
                                           .prompt = "Select the startup form (" + names + "):",
                                           .initial = state_.project.startup});
    if (!answer) return;
    const auto first = answer->find_first_not_of(" \t");
    const std::string typed = first == std::string::npos
                                  ? std::string()
                                  : answer->substr(first, answer->find_last_not_of(" \t") - first + 1);
    const VBForm* form = state_.project.lookup_form(typed);
    if (!form) {
        show_error("Startup Form", "The form name was not found.");
        return;
    }
    state_.project.startup = form->name;
    changed();
    set_status("Startup form: " + form->name);
}

void IDE::add_form() {
    if (!state_.project_open()) {
        new_project();
        return;
    }
    Project& p = state_.project;
    // The editor's text goes back before the form list may move in memory.
    sync_editor();
    state_.editor_owner = {};
    VBForm form;
    form.name = free_name("Form", [&](const std::string& n) { return p.lookup_form(n) != nullptr; });
    form.caption = form.name;
    form.code = std::string(NEW_FORM_CODE);
    p.forms.push_back(form);
    state_.form = &p.forms.back();
    state_.current_module = {};
    state_.selected.reset();
    load_form_code();
    populate_project();
    draw_form();
    show_properties();
    select_tab(0);
    changed();
    set_status("Added " + form.name);
}

void IDE::add_module() {
    if (!state_.project_open()) new_project();
    if (!state_.project_open()) return;
    Project& p = state_.project;
    sync_editor();
    state_.editor_owner = {};
    Module module;
    module.name = free_name("Module", [&](const std::string& n) { return p.lookup_module(n) != nullptr; });
    module.code = new_module_code(module.name);
    p.modules.push_back(module);
    state_.current_module = {EditorKind::module, &p.modules.back()};
    load_editor(EditorKind::module, &p.modules.back());
    populate_project();
    select_explorer_item("m:" + module.name);
    select_tab(1);
    changed();
    set_status("Added " + module.name);
}

void IDE::add_class() {
    if (!state_.project_open()) new_project();
    if (!state_.project_open()) return;
    Project& p = state_.project;
    sync_editor();
    state_.editor_owner = {};
    ClassModule klass;
    klass.name = free_name("Class", [&](const std::string& n) { return p.lookup_class(n) != nullptr; });
    klass.code = std::string(NEW_CLASS_CODE);
    p.classes.push_back(klass);
    state_.current_module = {EditorKind::klass, &p.classes.back()};
    load_editor(EditorKind::klass, &p.classes.back());
    populate_project();
    select_explorer_item("c:" + klass.name);
    select_tab(1);
    changed();
    set_status("Added class module " + klass.name);
}

}  // namespace corvane::ide
