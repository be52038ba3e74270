#include "compat/code_locations.h"

#include <algorithm>
#include <numeric>

#include "model/names.h"
#include "vb6files/code_files.h"
#include "vb6files/form_files.h"
#include "vb6files/project_files.h"
#include "vb6files/strings.h"

namespace corvane {

namespace fs = std::filesystem;

namespace {

// A component as a file on disk holds it.
struct OnDisk {
  std::string name;
  std::string code;
  CodeLocation location;
};

std::vector<int> counting_from(int first, size_t count) {
  std::vector<int> lines(count);
  std::iota(lines.begin(), lines.end(), first);
  return lines;
}

size_t line_count(std::string_view code) { return split_lines(code).size(); }

OnDisk read_on_disk(const fs::path& path, std::string_view kind, std::string_view code_page) {
  const std::string text = load_text(path, code_page);
  OnDisk disk;
  disk.location.file = path.filename().string();
  if (kind == "form") {
    const VBForm form = read_form_text(text, path, disk.location.file_lines);
    disk.name = form.name, disk.code = form.code;
  } else if (kind == "class") {
    const ClassModule cls = read_class_text(text, path, disk.location.file_lines);
    disk.name = cls.name, disk.code = cls.code;
  } else {
    const Module module = read_module_text(text, path);
    disk.name = module.name, disk.code = module.code;
    disk.location.file_lines = counting_from(1, line_count(module.code));
  }
  return disk;
}

// Saving writes the code after a header of fixed lines, without its
// attribute lines.
CodeLocation as_saved(std::string file, std::string_view code, size_t header_lines, bool drops_attributes) {
  CodeLocation location{std::move(file), {}};
  int line = static_cast<int>(header_lines);
  for (std::string_view code_line : split_lines(code)) {
    const bool dropped = drops_attributes && starts_with_ci(strip(code_line), "attribute vb_");
    location.file_lines.push_back(dropped ? line : ++line);
  }
  return location;
}

template <typename Component>
CodeLocation locate(const Component& component, const std::vector<OnDisk>& disk, CodeLocation saved) {
  for (const OnDisk& d : disk)
    if (names_equal(d.name, component.name) && d.code == component.code) return d.location;
  return saved;
}

}  // namespace

ComponentLocations locate_code(const Project& project, const std::optional<fs::path>& form_file) {
  std::vector<OnDisk> forms, modules, classes;
  std::error_code ec;
  if (project.path && fs::is_regular_file(*project.path, ec)) {
    for (const fs::path& f : project_member_files(*project.path, "form", project.code_page))
      forms.push_back(read_on_disk(f, "form", project.code_page));
    for (const fs::path& f : project_member_files(*project.path, "module", project.code_page))
      modules.push_back(read_on_disk(f, "module", project.code_page));
    for (const fs::path& f : project_member_files(*project.path, "class", project.code_page))
      classes.push_back(read_on_disk(f, "class", project.code_page));
  }
  if (form_file) forms.push_back(read_on_disk(*form_file, "form", project.code_page));

  ComponentLocations out;
  for (const VBForm& form : project.forms) {
    VBForm bare = form;
    bare.code.clear();
    const size_t header = line_count(form_file_text(bare));
    out.forms.push_back(locate(form, forms, as_saved(form.name + ".frm", form.code, header, true)));
  }
  for (const Module& module : project.modules) {
    // Saving writes the VB_Name line first and drops the module's own.
    CodeLocation saved = as_saved(module.name + ".bas", module.code, 0, false);
    out.modules.push_back(locate(module, modules, std::move(saved)));
  }
  for (const ClassModule& cls : project.classes) {
    std::vector<int> lines;
    ClassModule back = read_class_text(class_file_text(cls), cls.name + ".cls", lines);
    CodeLocation saved = back.code == cls.code ? CodeLocation{cls.name + ".cls", lines}
                                               : as_saved(cls.name + ".cls", cls.code, 6, true);
    out.classes.push_back(locate(cls, classes, std::move(saved)));
  }
  return out;
}

}  // namespace corvane
