#include "vb6files/project_files.h"

#include <string_view>

#include "model/names.h"
#include "vb6files/member_paths.h"
#include "vb6files/project_entries.h"
#include "vb6files/strings.h"

namespace corvane {

namespace fs = std::filesystem;

namespace {

bool has_extension(const fs::path& path, std::string_view extension) {
  return names_equal(path.extension().string(), extension);
}

class ProjectReader {
 public:
  explicit ProjectReader(const fs::path& vbp) : vbp_(vbp), folder_(vbp.parent_path()) {
    project_.name = vbp.stem().string();
    project_.forms.clear();
    project_.startup.clear();
  }

  Project read() {
    const std::string text = load_text(vbp_);
    for (const ProjectEntry& entry : project_entries(text)) read_entry(entry.key, entry.value);
    if (project_.forms.empty()) throw InvalidValueError("Project contains no VB6 forms.");
    if (project_.startup.empty() || !project_.lookup_form(project_.startup))
      project_.startup = project_.forms.front().name;
    project_.path = vbp_;
    return std::move(project_);
  }

 private:
  void read_entry(const std::string& key, std::string_view value) {
    if (key == "name") project_.name = unquote(value);
    else if (key == "startup") project_.startup = unquote(value);
    else if (key == "form") project_.forms.push_back(read_form(existing(value, "Form")));
    else if (key == "class") project_.classes.push_back(read_class(existing(component_file(value), "Class")));
    else if (key == "module") project_.modules.push_back(read_module(existing(component_file(value), "Module")));
  }

  fs::path existing(std::string_view value, std::string_view what) const {
    if (auto path = find_member_file(folder_, value)) return *path;
    throw FileNotFoundError(std::string(what) + " not found: " + member_path_as_written(folder_, value).string());
  }

  fs::path vbp_;
  fs::path folder_;
  Project project_;
};

Project single_form_project(const fs::path& frm) {
  Project project;
  project.name = frm.stem().string();
  project.forms = {read_form(frm)};
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
  std::string out = "Type=Exe\n";
  for (const VBForm& form : project.forms) out += "Form=" + form.name + ".frm\n";
  for (const Module& module : project.modules) out += "Module=" + module.name + "; " + module.name + ".bas\n";
  for (const ClassModule& cls : project.classes) out += "Class=" + cls.name + "; " + cls.name + ".cls\n";
  out += "Startup=" + quote_on_line(project.startup) + "\n";
  out += "Name=" + quote_on_line(project.name) + "\n";
  out +=
      "HelpFile=\"\"\nTitle=\"\"\nExeName32=\"\"\nCommand32=\"\"\nVersionCompanyName=\"Corvane\"\n"
      "MajorVer=1\nMinorVer=0\nRevisionVer=0\nAutoIncrementVer=0\nCompatibleMode=\"0\"\n";
  return out;
}

std::vector<fs::path> project_form_files(const fs::path& vbp) {
  const fs::path folder = vbp.parent_path();
  std::vector<fs::path> files;
  const std::string text = load_text(vbp);
  for (const ProjectEntry& entry : project_entries(text))
    if (entry.key == "form")
      if (auto path = find_member_file(folder, entry.value)) files.push_back(std::move(*path));
  return files;
}

fs::path save_project(Project& project, const std::optional<fs::path>& path) {
  const std::optional<fs::path>& chosen = path ? path : project.path;
  if (!chosen || chosen->empty()) throw InvalidValueError("Choose a project file to save to.");
  fs::path vbp = fs::absolute(*chosen);
  if (!has_extension(vbp, ".vbp")) vbp.replace_extension(".vbp");
  const fs::path folder = vbp.parent_path();
  fs::create_directories(folder);
  for (const VBForm& form : project.forms) save_form(form, component_file_path(folder, form.name, ".frm"));
  for (const Module& module : project.modules) save_module(module, component_file_path(folder, module.name, ".bas"));
  for (const ClassModule& cls : project.classes) save_class(cls, component_file_path(folder, cls.name, ".cls"));
  write_text(vbp, project_file_text(project));
  project.path = vbp;
  return vbp;
}

}  // namespace corvane
