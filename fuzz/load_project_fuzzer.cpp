// Loads arbitrary bytes as a project file in a folder that holds real
// component files, a folder named like a form and the project file itself.
#include <stdlib.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "vb6files/project_files.h"

namespace fs = std::filesystem;

namespace {

fs::path folder;

void remove_folder() {
  std::error_code ec;
  fs::remove_all(folder, ec);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  std::string pattern = (fs::temp_directory_path() / "corvane-fuzz-XXXXXX").string();
  if (!mkdtemp(pattern.data())) abort();
  folder = pattern;
  atexit(remove_folder);
  for (const char* name : {"frmMain.frm", "modUtil.bas", "CItem.cls"})
    fs::copy_file(fs::path(CORVANE_FIXTURES_DIR) / "legacy" / name, folder / name);
  // Members named in CJK code pages, to exercise choosing a code page.
  for (const char* code_page : {"shift_jis", "gbk"})
    for (const fs::directory_entry& entry : fs::directory_iterator(fs::path(CORVANE_FIXTURES_DIR) / code_page))
      if (entry.path().extension() != ".vbp") fs::copy_file(entry.path(), folder / entry.path().filename());
  fs::create_directory(folder / "Folder.frm");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  // Component paths stay inside the folder: the reader would follow any
  // path, and some system files (device-like files under /proc) block.
  if (bytes.find('/') != std::string_view::npos) return 0;
  const fs::path vbp = folder / "fuzz.vbp";
  {
    std::ofstream out(vbp, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
  try {
    corvane::Project project = corvane::load_project(vbp);
    // The startup is one of the forms, Sub Main, or whatever a project
    // without forms names.
    if (!project.lookup_form(project.startup) && project.startup != "Sub Main" && !project.forms.empty()) abort();
    (void)corvane::project_file_text(project);
  } catch (const corvane::InvalidValueError&) {
  } catch (const corvane::FileNotFoundError&) {
  } catch (const fs::filesystem_error&) {
  }
  return 0;
}
