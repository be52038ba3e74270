#pragma once
// Reading and writing form files (.frm): the form description in twips
// followed by the form's code.
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "model/project.h"
#include "vb6files/code_pages.h"

namespace corvane {

// Menus nested deeper than this are refused (InvalidValueError): deeper
// trees could not be handled without deep recursion, and VB6 itself allows
// only a few levels.
inline constexpr size_t MAX_MENU_DEPTH = 100;

// Reads a form file. The form is named after the file until its form block
// gives a name.
VBForm read_form(const std::filesystem::path& path);

// Reads a form from decoded text; `source` (a file path) gives the default
// name and appears in messages.
VBForm read_form_text(std::string_view text, const std::filesystem::path& source);
// The same, with the 1-based line of the file that each line of the form's
// code came from (empty when the code is the default).
VBForm read_form_text(std::string_view text, const std::filesystem::path& source, std::vector<int>& code_lines);

// The text of a form file, with LF line ends.
std::string form_file_text(const VBForm& form);

// Writes a form file through write_text, in a code page of CODE_PAGES.
void save_form(const VBForm& form, const std::filesystem::path& path,
               std::string_view code_page = WINDOWS_1252);

}  // namespace corvane
