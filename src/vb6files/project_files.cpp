#include "vb6files/project_files.h"

#include <algorithm>
#include <iterator>
#include <cstdint>
#include <string_view>

#include "model/names.h"
#include "vb6files/code_page_detection.h"
#include "vb6files/member_paths.h"
#include "vb6files/project_entries.h"
#include "vb6files/strings.h"
#include "vb6files/values.h"

namespace corvane {

namespace fs = std::filesystem;

namespace {

// App's lines of a project file, keys as VB6 writes them. The first three
// are always written; the descriptions after them only when given.
constexpr std::pair<std::string_view, std::string AppInfo::*> APP_TEXT_LINES[] = {
    {"HelpFile", &AppInfo::help_file},
    {"Title", &AppInfo::title},
    {"ExeName32", &AppInfo::exe_name},
    {"VersionFileDescription", &AppInfo::file_description},
    {"VersionProductName", &AppInfo::product_name},
    {"VersionLegalCopyright", &AppInfo::legal_copyright},
    {"VersionComments", &AppInfo::comments},
};
constexpr size_t APP_LINES_ALWAYS_WRITTEN = 3;
constexpr std::pair<std::string_view, int AppInfo::*> APP_NUMBER_LINES[] = {
    {"MajorVer", &AppInfo::major}, {"MinorVer", &AppInfo::minor}, {"RevisionVer", &AppInfo::revision}};

bool has_extension(const fs::path& path, std::string_view extension) {
  return names_equal(path.extension().string(), extension);
}

constexpr std::string_view SUB_MAIN = "Sub Main";

// The project types VB6 writes, in their own spelling; anything else is a
// standard project.
std::string project_type(std::string_view value) {
  for (std::string_view type : {"Exe", "Control", "OleDll", "OleExe"})
    if (names_equal(unquote(value), type)) return std::string(type);
  return "Exe";
}

bool is_member_key(std::string_view key) { return key == "form" || key == "module" || key == "class"; }

std::string_view member_file(const ProjectEntry& entry) {
  return entry.key == "form" ? entry.value : component_file(entry.value);
}

// The code page of a project: its member names decide first (a name written
// in a CJK code page only finds its file when read in that code page), then
// the text of the project file and of the members it finds.
class CodePageChoice {
 public:
  CodePageChoice(const fs::path& folder, std::string_view vbp_bytes) : folder_(folder), vbp_bytes_(vbp_bytes) {}

  std::string choose() {
    std::vector<std::string_view> fewest_missing;
    size_t least = SIZE_MAX;
    std::vector<fs::path> found_files;
    // An ASCII project file reads alike in every code page: its members are
    // looked for once.
    const bool ascii = std::all_of(vbp_bytes_.begin(), vbp_bytes_.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    for (const CodePage& page : CODE_PAGES) {
      if (ascii && !found_files.empty()) {
        fewest_missing.push_back(page.name);
        continue;
      }
      auto text = decode_exactly(vbp_bytes_, page.name);
      if (!text) continue;
      std::vector<fs::path> found;
      const size_t missing = find_members(*text, page.name, found);
      if (missing < least) least = missing, fewest_missing.clear(), found_files = std::move(found);
      if (missing == least) fewest_missing.push_back(page.name);
    }
    if (fewest_missing.empty()) return std::string(WINDOWS_1252);
    std::vector<std::string> bytes{std::string(vbp_bytes_)};
    for (const fs::path& file : found_files) bytes.push_back(read_file_bytes(file));
    const std::vector<std::string_view> contents(bytes.begin(), bytes.end());
    const std::string detected = detect_code_page(contents);
    for (std::string_view page : fewest_missing)
      if (page == detected) return detected;
    return std::string(fewest_missing.front());
  }

 private:
  size_t find_members(const std::string& text, std::string_view code_page, std::vector<fs::path>& found) const {
    size_t missing = 0;
    for (const ProjectEntry& entry : project_entries(text)) {
      if (!is_member_key(entry.key)) continue;
      if (auto path = find_member_file(folder_, member_file(entry), code_page)) found.push_back(std::move(*path));
      else ++missing;
    }
    return missing;
  }

  const fs::path& folder_;
  std::string_view vbp_bytes_;
};

class ProjectReader {
 public:
  explicit ProjectReader(const fs::path& vbp) : vbp_(vbp), folder_(vbp.parent_path()) {
    project_.name = vbp.stem().string();
    project_.forms.clear();
    project_.startup.clear();
  }

  Project read() {
    const std::string bytes = read_file_bytes(vbp_);
    project_.code_page = CodePageChoice(folder_, bytes).choose();
    const std::string text = decode_text(bytes, project_.code_page, vbp_.string());
    for (const ProjectEntry& entry : project_entries(text)) read_entry(entry.key, entry.value);
    if (project_.forms.empty() && project_.modules.empty() && project_.classes.empty() && project_.type == "Exe")
      throw InvalidValueError("Project contains no VB6 forms.");
    settle_startup();
    project_.path = vbp_;
    return std::move(project_);
  }

 private:
  void read_entry(const std::string& key, std::string_view value) {
    if (key == "name") project_.name = unquote(value);
    else if (key == "type") project_.type = project_type(value);
    else if (key == "startup") project_.startup = unquote(value);
    else if (key == "form") project_.forms.push_back(read_form_text(member_text(value, "Form"), path_));
    else if (key == "class") project_.classes.push_back(read_class_text(member_text(component_file(value), "Class"), path_));
    else if (key == "module") project_.modules.push_back(read_module_text(member_text(component_file(value), "Module"), path_));
    else read_app_entry(key, value);
  }

  // The lines App reports: title, executable, version.
  void read_app_entry(const std::string& key, std::string_view value) {
    AppInfo& app = project_.app;
    for (const auto& [name, field] : APP_TEXT_LINES)
      if (names_equal(key, name)) app.*field = unquote(value);
    for (const auto& [name, field] : APP_NUMBER_LINES)
      if (names_equal(key, name)) app.*field = static_cast<int>(std::clamp<int64_t>(parse_int(std::string(value), 0), 0, 9999));
  }

  // A startup form that does not exist falls back to the first form; a
  // project started by Sub Main, and one without forms, keeps its entry (a
  // standard project without forms can only start with Sub Main).
  void settle_startup() {
    if (names_equal(project_.startup, SUB_MAIN)) project_.startup = SUB_MAIN;
    else if (project_.forms.empty() && project_.startup.empty() && project_.type == "Exe") project_.startup = SUB_MAIN;
    else if (project_.forms.empty()) return;
    else if (project_.startup.empty() || !project_.lookup_form(project_.startup))
      project_.startup = project_.forms.front().name;
  }

  // The decoded text of a member file; sets path_ to the file.
  std::string member_text(std::string_view value, std::string_view what) {
    auto path = find_member_file(folder_, value, project_.code_page);
    if (!path)
      throw FileNotFoundError(std::string(what) + " not found: " + member_path_as_written(folder_, value).string());
    path_ = *path;
    return load_text(path_, project_.code_page);
  }

  fs::path vbp_;
  fs::path folder_;
  fs::path path_;
  Project project_;
};

Project single_form_project(const fs::path& frm) {
  Project project;
  project.name = frm.stem().string();
  const std::string bytes = read_file_bytes(frm);
  project.code_page = detect_code_page({bytes});
  project.forms = {read_form_text(decode_text(bytes, project.code_page, frm.string()), frm)};
  project.startup = project.forms.front().name;
  return project;
}

// Component files are named after their items; a name that is not a plain
// file name would write outside the project's folder.
fs::path component_file_path(const fs::path& folder, const std::string& name, std::string_view extension) {
  if (name.empty() || name == "." || name == ".." || name.find_first_of(std::string_view("/\0\r\n", 4)) != std::string::npos)
    throw InvalidValueError("Cannot save \"" + name + "\": the name cannot be used as a file name.");
  return folder / (name + std::string(extension));
}

}  // namespace

Project load_project(const fs::path& path) {
  const fs::path absolute = fs::weakly_canonical(fs::absolute(path));
  if (has_extension(absolute, ".frm")) return single_form_project(absolute);
  if (!has_extension(absolute, ".vbp")) throw InvalidValueError("Open a VB6 .vbp or .frm file.");
  return ProjectReader(absolute).read();
}

std::string project_file_text(const Project& project) {
  std::string out = "Type=" + project_type(project.type) + "\n";
  for (const VBForm& form : project.forms) out += "Form=" + form.name + ".frm\n";
  for (const Module& module : project.modules) out += "Module=" + module.name + "; " + module.name + ".bas\n";
  for (const ClassModule& cls : project.classes) out += "Class=" + cls.name + "; " + cls.name + ".cls\n";
  out += "Startup=" + quote_on_line(project.startup) + "\n";
  out += "Name=" + quote_on_line(project.name) + "\n";
  const AppInfo& app = project.app;
  // The company line always names this system: it is how a project file
  // is told from one another tool wrote.
  const auto line = [&](std::string_view key, const std::string& text) {
    out += std::string(key) + "=" + text + "\n";
  };
  for (size_t k = 0; k < APP_LINES_ALWAYS_WRITTEN; ++k)
    line(APP_TEXT_LINES[k].first, quote_on_line(app.*APP_TEXT_LINES[k].second));
  out += "Command32=\"\"\nVersionCompanyName=\"Corvane\"\n";
  // Descriptions a project does not give are left out, as VB6 leaves them.
  for (size_t k = APP_LINES_ALWAYS_WRITTEN; k < std::size(APP_TEXT_LINES); ++k)
    if (const std::string& text = app.*APP_TEXT_LINES[k].second; !text.empty())
      line(APP_TEXT_LINES[k].first, quote_on_line(text));
  for (const auto& [key, field] : APP_NUMBER_LINES) line(key, std::to_string(app.*field));
  out += "AutoIncrementVer=0\nCompatibleMode=\"0\"\n";
  return out;
}

std::vector<fs::path> project_member_files(const fs::path& vbp, std::string_view key, std::string_view code_page) {
  const fs::path folder = vbp.parent_path();
  std::vector<fs::path> files;
  const std::string text = load_text(vbp, code_page);
  for (const ProjectEntry& entry : project_entries(text))
    if (entry.key == key)
      if (auto path = find_member_file(folder, member_file(entry), code_page)) files.push_back(std::move(*path));
  return files;
}

std::vector<fs::path> project_form_files(const fs::path& vbp, std::string_view code_page) {
  return project_member_files(vbp, "form", code_page);
}

fs::path save_project(Project& project, const std::optional<fs::path>& path) {
  const std::optional<fs::path>& chosen = path ? path : project.path;
  if (!chosen || chosen->empty()) throw InvalidValueError("Choose a project file to save to.");
  fs::path vbp = fs::absolute(*chosen);
  if (!has_extension(vbp, ".vbp")) vbp.replace_extension(".vbp");
  const fs::path folder = vbp.parent_path();
  fs::create_directories(folder);
  const std::string& code_page = project.code_page;
  for (const VBForm& form : project.forms) save_form(form, component_file_path(folder, form.name, ".frm"), code_page);
  for (const Module& module : project.modules)
    save_module(module, component_file_path(folder, module.name, ".bas"), code_page);
  for (const ClassModule& cls : project.classes)
    save_class(cls, component_file_path(folder, cls.name, ".cls"), code_page);
  write_text(vbp, project_file_text(project), code_page);
  project.path = vbp;
  return vbp;
}

}  // namespace corvane
