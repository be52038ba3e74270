// App as a running project sees it: its title, executable name and
// version from the project.
#include <filesystem>

#include "forms/preview.h"

namespace corvane {

void describe_app(ControlObject& app, const Project& project) {
  const AppInfo& info = project.app;
  auto& props = app.props;
  props["title"] = Value(info.title.empty() ? project.name : info.title);
  const std::string exe = std::filesystem::path(info.exe_name).stem().string();
  props["exename"] = Value(exe.empty() ? project.name : exe);
  props["helpfile"] = Value(info.help_file);
  props["major"] = Value(int64_t{info.major});
  props["minor"] = Value(int64_t{info.minor});
  props["revision"] = Value(int64_t{info.revision});
  props["filedescription"] = Value(info.file_description);
  props["productname"] = Value(info.product_name);
  props["legalcopyright"] = Value(info.legal_copyright);
  props["comments"] = Value(info.comments);
}

}  // namespace corvane
