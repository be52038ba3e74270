#include "compat/analyzer.h"

#include <filesystem>
#include <memory>

#include "vb6files/regex.h"
#include "vb6files/strings.h"
#include "vb6files/text_io.h"

namespace corvane {

const std::vector<CodeRule> PATTERNS = {
    {R"(\bDeclare\s+(?:PtrSafe\s+)?(?:Sub|Function)\b)", "Win32 DLL declarations",
     "Replace Declare Lib entry points with Linux-native bindings (or rewrite using the built-in runtime)."},
    {R"(\b(?:CreateObject|GetObject)\s*\()", "COM automation",
     "COM/ActiveX activation does not work as a native Linux service; use Linux-native APIs."},
    {R"(\b(?:DAO\.|New\s+Scripting\.))", "Windows object libraries",
     "Use DBOpen/DBQuery for SQLite or MySQL, or port the object library."},
    {R"(^\s*(?:GoTo|GoSub|Resume\s+(?!Next\b)\w+)\b)", "Branch/Resume statements",
     "Rewrite the control flow using structured If/For/Do blocks."},
    {R"(\bImplements\s+\w+)", "Interface implementation", "Implements and COM interfaces are not supported."},
    {R"(\bWithEvents\b)", "WithEvents variables",
     "Control events work, but user-defined WithEvents variables do not."},
    {R"(^\s*(?:Printer|Printers)\b)", "VB6 printer APIs", "Printing needs a CUPS-backed compatibility service."},
};

namespace {

constexpr std::string_view BLOCKER = "BLOCKER";
constexpr std::string_view REFERENCE_FEATURE = "COM/ActiveX project reference";
constexpr std::string_view REFERENCE_ADVICE =
    "References to Windows-only OCX/DLL/type libraries require a Linux replacement.";
constexpr std::string_view CONTROL_ADVICE = "Replace with a supported Linux-native widget before saving or building.";

const std::vector<std::unique_ptr<Regex>>& compiled_patterns() {
  static const auto compiled = [] {
    std::vector<std::unique_ptr<Regex>> list;
    for (const CodeRule& rule : PATTERNS) list.push_back(std::make_unique<Regex>(rule.pattern, Regex::CASELESS));
    return list;
  }();
  return compiled;
}

bool is_comment_line(std::string_view line) {
  const size_t first = line.find_first_not_of(" \t\f\v");
  return first != std::string_view::npos && line[first] == '\'';
}

void scan_code(std::string_view code, const std::string& location, std::vector<Diagnostic>& out) {
  const auto& patterns = compiled_patterns();
  int number = 0;
  for (std::string_view line : split_lines(code)) {
    ++number;
    if (is_comment_line(line)) continue;
    for (size_t i = 0; i < PATTERNS.size(); ++i) {
      if (patterns[i]->search(line))
        out.push_back({std::string(BLOCKER), location, number, std::string(PATTERNS[i].feature),
                       std::string(PATTERNS[i].advice)});
    }
  }
}

void scan_project_file(const std::filesystem::path& vbp, std::vector<Diagnostic>& out) {
  static const Regex reference(R"(\s*(Object|Reference)\s*=)", Regex::CASELESS);
  const std::string text = load_text(vbp);
  int number = 0;
  for (std::string_view line : split_lines(text)) {
    ++number;
    if (reference.match(line))
      out.push_back({std::string(BLOCKER), vbp.filename().string(), number, std::string(REFERENCE_FEATURE),
                     std::string(REFERENCE_ADVICE)});
  }
}

bool is_own_type(std::string_view type) {
  auto starts = [&](std::string_view prefix) {
    if (type.size() < prefix.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i)
      if (std::tolower(static_cast<unsigned char>(type[i])) != prefix[i]) return false;
    return true;
  };
  return starts("vb.") || starts("corvane.");
}

void scan_form_file(const std::filesystem::path& frm, std::vector<Diagnostic>& out) {
  static const Regex control(R"(\s*Begin\s+([\w.]+)\s+\w+)", Regex::CASELESS);
  const std::string text = load_text(frm);
  int number = 0;
  for (std::string_view line : split_lines(text)) {
    ++number;
    auto groups = control.match_groups(line);
    if (!groups) continue;
    const std::string& type = (*groups)[1];
    if (type.find('.') == std::string::npos || is_own_type(type)) continue;
    out.push_back({std::string(BLOCKER), frm.filename().string(), number, "External ActiveX control " + type,
                   std::string(CONTROL_ADVICE)});
  }
}

}  // namespace

std::vector<Diagnostic> analyze_project(const Project& project) {
  std::vector<Diagnostic> found;
  for (const VBForm& form : project.forms) scan_code(form.code, form.name + ".frm", found);
  for (const Module& module : project.modules) scan_code(module.code, module.name + ".bas", found);
  for (const ClassModule& cls : project.classes) scan_code(cls.code, cls.name + ".cls", found);

  std::error_code ec;
  if (project.path && std::filesystem::is_regular_file(*project.path, ec)) {
    scan_project_file(*project.path, found);
    const std::filesystem::path folder = project.path->parent_path();
    for (const VBForm& form : project.forms) {
      const std::filesystem::path frm = folder / (form.name + ".frm");
      if (std::filesystem::exists(frm, ec)) scan_form_file(frm, found);
    }
  }
  return found;
}

std::string report(const std::vector<Diagnostic>& diagnostics) {
  if (diagnostics.empty())
    return "No recognized blocking constructs were detected.\n\n"
           "This is NOT a full VB6 compatibility certification: unsupported language features, resources, "
           "properties, and calls may still exist.";
  std::string text;
  for (const Diagnostic& d : diagnostics) {
    text += d.severity + ": " + d.location + ":" + std::to_string(d.line) + " \u2014 " + d.feature + "\n";
    text += "  " + d.advice + "\n";
  }
  text += "\nThis diagnostic scanner is non-exhaustive.\n";
  return text;
}

std::string report(const Project& project) { return report(analyze_project(project)); }

}  // namespace corvane
