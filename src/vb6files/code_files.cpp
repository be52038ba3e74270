#include "vb6files/code_files.h"

#include <vector>

#include "model/names.h"
#include "vb6files/regex.h"
#include "vb6files/strings.h"
#include "vb6files/text_io.h"
#include "vb6files/values.h"

namespace corvane {

namespace fs = std::filesystem;

namespace {

bool is_attribute_line(std::string_view line) { return starts_with_ci(strip(line), "attribute vb_"); }

// The lines of code without attribute lines, joined with LF and stripped.
std::string without_attributes(const std::vector<std::string_view>& lines, size_t first = 0) {
  std::vector<std::string_view> kept;
  for (size_t i = first; i < lines.size(); ++i)
    if (!is_attribute_line(lines[i])) kept.push_back(lines[i]);
  return std::string(strip(join_lines(kept)));
}

}  // namespace

std::string attribute_name(std::string_view text) {
  static const Regex name_line(R"re(^Attribute\s+VB_Name\s*=\s*"(\w+)")re", Regex::CASELESS | Regex::MULTILINE);
  auto groups = name_line.search_groups(text);
  return groups ? (*groups)[1] : std::string();
}

Module read_module_text(std::string_view text, const fs::path& source) {
  std::string name = attribute_name(text);
  if (name.empty()) name = source.stem().string();
  return Module{std::move(name), std::string(text)};
}

Module read_module(const fs::path& path) { return read_module_text(load_text(path), path); }

std::string module_file_text(const Module& module) {
  static const Regex name_attribute(R"(\s*Attribute\s+VB_Name\s*=)", Regex::CASELESS);
  std::vector<std::string_view> kept;
  for (std::string_view line : split_lines(module.code))
    if (!name_attribute.match(line)) kept.push_back(line);
  const std::string body = join_lines(kept);
  return "Attribute VB_Name = " + quote(module.name) + "\n" + std::string(rstrip(body)) + "\n";
}

void save_module(const Module& module, const fs::path& path, std::string_view code_page) {
  write_text(path, module_file_text(module), code_page);
}

ClassModule read_class_text(std::string_view text, const fs::path& source, std::vector<int>& code_lines) {
  std::string name = attribute_name(text);
  if (name.empty()) name = source.stem().string();
  const std::vector<std::string_view> lines = split_lines(text);
  size_t first = 0;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (starts_with_ci(strip(lines[i]), "attribute vb_name")) {
      first = i + 1;
      break;
    }
  }
  CodeLines body = code_without_attributes(lines, first);
  code_lines = std::move(body.file_lines);
  return ClassModule{std::move(name), body.code + "\n"};
}

ClassModule read_class_text(std::string_view text, const fs::path& source) {
  std::vector<int> code_lines;
  return read_class_text(text, source, code_lines);
}

ClassModule read_class(const fs::path& path) { return read_class_text(load_text(path), path); }

std::string class_file_text(const ClassModule& module) {
  return "VERSION 1.0 CLASS\nBEGIN\n  MultiUse = -1\nEND\nAttribute VB_Name = " + quote(module.name) +
         "\nAttribute VB_Creatable = True\n" + without_attributes(split_lines(module.code)) + "\n";
}

void save_class(const ClassModule& module, const fs::path& path, std::string_view code_page) {
  write_text(path, class_file_text(module), code_page);
}

}  // namespace corvane
