#pragma once
// Standard module (.bas) and class module (.cls) files.
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "model/project.h"
#include "vb6files/code_pages.h"

namespace corvane {

// The name of an "Attribute VB_Name = "..."" line at the start of any line
// of text, or empty.
std::string attribute_name(std::string_view text);

// A module keeps its whole text as code, attribute lines included; its name
// comes from the VB_Name attribute, else from the file name.
Module read_module(const std::filesystem::path& path);
Module read_module_text(std::string_view text, const std::filesystem::path& source);
std::string module_file_text(const Module& module);
void save_module(const Module& module, const std::filesystem::path& path, std::string_view code_page = WINDOWS_1252);

// A class keeps the code after its VB_Name attribute line, without attribute
// lines.
ClassModule read_class(const std::filesystem::path& path);
ClassModule read_class_text(std::string_view text, const std::filesystem::path& source);
// The same, with the 1-based line of the file that each line of the class's
// code came from.
ClassModule read_class_text(std::string_view text, const std::filesystem::path& source, std::vector<int>& code_lines);
std::string class_file_text(const ClassModule& module);
void save_class(const ClassModule& module, const std::filesystem::path& path,
                std::string_view code_page = WINDOWS_1252);

}  // namespace corvane
