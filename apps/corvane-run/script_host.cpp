#include "corvane-run/script_host.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include "basic/runtime.h"
#include "basic/source_lines.h"
#include "vb6files/codec.h"
#include "vb6files/errors.h"
#include "vb6files/regex.h"

namespace corvane {

namespace {

constexpr std::string_view UTF8_MARK = "\xEF\xBB\xBF";

std::string read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("Cannot read " + path);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// The class name of a .cls file: its VB_Name attribute, else the file name.
std::string class_name(const std::string& path, const std::string& text) {
  static const Regex name_re(R"re(^\s*Attribute\s+VB_Name\s*=\s*"([^"]*)")re", Regex::CASELESS);
  std::istringstream lines_in(text);
  std::string line;
  while (std::getline(lines_in, line))
    if (auto g = name_re.match_groups(line)) return (*g)[1];
  return std::filesystem::path(path).stem().string();
}

}  // namespace

std::string module_text(const std::string& bytes, const std::string& source) {
  // A file written as UTF-8 (with or without the byte-order mark) is taken
  // as it is; anything else is VB6's own Windows-1252.
  if (bytes.rfind(UTF8_MARK, 0) == 0) return decode_file_bytes(bytes, source);
  try {
    check_utf8(bytes, source);
    return bytes;
  } catch (const InvalidValueError&) {
    return decode_windows_1252(bytes, source);
  }
}

int run_scripts(const std::vector<std::string>& files, std::istream& in, std::ostream& out, std::ostream& err) {
  VBRuntime::Options options;
  try {
    for (const std::string& path : files) {
      const std::string text = module_text(read_file(path), path);
      std::string ext = std::filesystem::path(path).extension().string();
      for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
      if (ext == ".cls") options.classes.emplace_back(class_name(path, text), text);
      else options.sources.push_back(text);
    }
  } catch (const std::exception& e) {
    err << e.what() << "\n";
    return 1;
  }
  options.debug = [&out](const std::string& text) { out << text << "\n"; };
  options.msgbox = [&out](const std::string& text, const std::string& title, const Value& buttons) -> int64_t {
    out << title << ": " << text << "\n";
    int64_t flags = 0;
    try {
      flags = number_as_count(buttons, 0);
    } catch (const VBError&) {
      flags = 0;
    }
    return (flags & 4) ? 6 : 1;
  };
  options.inputbox = [&in, &out](const std::string&, const std::string&) -> std::string {
    out.flush();
    std::string line;
    if (!std::getline(in, line)) return std::string();
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
  };
  // End ends the running procedure; the script host has nothing to close.
  options.stop = [] {};
  if (!files.empty()) options.base_dir = std::filesystem::absolute(files.front()).parent_path().string();

  std::unique_ptr<VBRuntime> runtime;
  try {
    runtime = std::make_unique<VBRuntime>(std::move(options));
  } catch (const VBError& e) {
    err << e.message() << "\n";
    return 1;
  }
  if (!runtime->has_procedure("main")) {
    err << "No Sub Main to run\n";
    return 1;
  }
  try {
    runtime->event("Main");
  } catch (const VBError&) {
    out.flush();
    return 1;  // already logged as "Runtime error in Main: {message}"
  }
  out.flush();
  return 0;
}

}  // namespace corvane
