#include "compat/analyzer.h"

#include <array>
#include <filesystem>
#include <memory>

#include "compat/code_locations.h"
#include "model/names.h"
#include "vb6files/project_entries.h"
#include "vb6files/project_files.h"
#include "vb6files/regex.h"
#include "vb6files/strings.h"
#include "vb6files/text_io.h"
#include "vb6files/values.h"

namespace corvane {

const std::vector<CodeRule> PATTERNS = {
    {R"(\bDeclare\s+(?:PtrSafe\s+)?(?:Sub|Function)\b)", "Win32 DLL declarations",
     "Replace Declare Lib entry points with Linux-native bindings (or rewrite using the built-in runtime)."},
    {R"(\b(?:CreateObject|GetObject)\s*\()", "COM automation",
     "COM/ActiveX activation does not work as a native Linux service; use Linux-native APIs."},
    {R"(\b(?:DAO\.|New\s+Scripting\.))", "Windows object libraries",
     "Use DBOpen/DBQuery for SQLite or MySQL, or port the object library."},
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

// Type members both engines hold: "Name As Type", fixed-length strings
// ("Name As String * 20") and arrays ("Name(10) As Long", "Name(1 To 10)
// As Long", "Name() As Long").
// Anything else is refused when the module runs.
struct TypeMemberRule {
  std::string_view marker;  // found in the member line; empty: any other
  std::string_view feature;
};

constexpr std::array<TypeMemberRule, 1> TYPE_MEMBER_RULES{{
    {"", "Type member the interpreter cannot hold"},
}};

constexpr std::string_view TYPE_MEMBER_ADVICE =
    "Declare Type members as \"Name As Type\", \"Name As String * n\", \"Name(n) As Type\", \"Name(a To b) As "
    "Type\" or \"Name() As Type\", or keep such data outside the Type.";

// Tracks Type ... End Type blocks line by line; reports member lines the
// interpreter refuses.
class TypeBlocks {
 public:
  const TypeMemberRule* refused(std::string_view raw) {
    static const Regex type_start(R"(^\s*(?:(?:Public|Private|Global)\s+)?Type\s+\w+\s*$)", Regex::CASELESS);
    static const Regex type_end(R"(^\s*End\s+Type\b)", Regex::CASELESS);
    static const Regex member(
        R"(^\w+\s*(?:\(\s*(?:[+-]?\d+\s+To\s+[+-]?\d+|\d+)?\s*\))?\s+As\s+\w+(?:\s*\*\s*\d+)?$)", Regex::CASELESS);
    const std::string_view line = strip(raw.substr(0, raw.find('\'')));
    if (!inside_) {
      inside_ = type_start.match(line);
      return nullptr;
    }
    if (type_end.match(line)) {
      inside_ = false;
      return nullptr;
    }
    if (line.empty() || member.match(line) || starts_with_ci(line, "rem ")) return nullptr;
    for (const TypeMemberRule& rule : TYPE_MEMBER_RULES)
      if (rule.marker.empty() || line.find(rule.marker) != std::string_view::npos) return &rule;
    return nullptr;
  }

 private:
  bool inside_ = false;
};

void scan_code(std::string_view code, const CodeLocation& where, std::vector<Diagnostic>& out) {
  const auto& patterns = compiled_patterns();
  TypeBlocks types;
  size_t index = 0;
  for (std::string_view line : split_lines(code)) {
    const int number = index < where.file_lines.size() ? where.file_lines[index] : static_cast<int>(index + 1);
    ++index;
    if (is_comment_line(line)) continue;
    for (size_t i = 0; i < PATTERNS.size(); ++i) {
      if (patterns[i]->search(line))
        out.push_back({std::string(BLOCKER), where.file, number, std::string(PATTERNS[i].feature),
                       std::string(PATTERNS[i].advice)});
    }
    if (const TypeMemberRule* rule = types.refused(line))
      out.push_back({std::string(BLOCKER), where.file, number, std::string(rule->feature),
                     std::string(TYPE_MEMBER_ADVICE)});
  }
}

// Type libraries that every VB6 project references and that need nothing on
// Linux, by their library identifier.
constexpr std::array<std::string_view, 1> HARMLESS_REFERENCES{
    "{00020430-0000-0000-C000-000000000046}",  // stdole2.tlb, OLE Automation
};

bool is_harmless_reference(std::string_view line) {
  const size_t equal = line.find('=');
  const std::string value = ascii_lower(strip(line.substr(equal + 1)));
  for (std::string_view id : HARMLESS_REFERENCES)
    if (value.starts_with("*\\g" + ascii_lower(id) + "#")) return true;
  return false;
}

// Entries of a project file that the system cannot build: project types
// other than a standard EXE, and components other than forms, modules and
// classes (which the project files reader leaves out).
struct EntryRule {
  std::string_view key;    // lower case
  std::string_view value;  // empty: any value
  std::string_view feature;
  std::string_view advice;
};

constexpr std::string_view COMPONENT_ADVICE =
    "Only forms, standard modules and class modules are read; port this component to them.";
constexpr std::string_view SERVER_ADVICE =
    "ActiveX servers are Windows COM components; use the classes from a standard EXE project instead.";

const std::array<EntryRule, 7> ENTRY_RULES{{
    {"type", "control", "ActiveX control project",
     "ActiveX control projects build OCX files for Windows; port the user controls into forms of a standard EXE "
     "project."},
    {"type", "oledll", "ActiveX DLL project", SERVER_ADVICE},
    {"type", "oleexe", "ActiveX EXE project", SERVER_ADVICE},
    {"usercontrol", "", "User control component", COMPONENT_ADVICE},
    {"userdocument", "", "User document component", COMPONENT_ADVICE},
    {"propertypage", "", "Property page component", COMPONENT_ADVICE},
    {"designer", "", "Designer component", COMPONENT_ADVICE},
}};

void scan_project_file(const std::filesystem::path& vbp, std::string_view code_page, std::vector<Diagnostic>& out) {
  static const Regex reference(R"(\s*(Object|Reference)\s*=)", Regex::CASELESS);
  const std::string text = load_text(vbp, code_page);
  const std::vector<ProjectEntry> entries = project_entries(text);
  auto entry = entries.begin();
  int number = 0;
  for (std::string_view line : split_lines(text)) {
    ++number;
    if (reference.match(line) && !is_harmless_reference(line))
      out.push_back({std::string(BLOCKER), vbp.filename().string(), number, std::string(REFERENCE_FEATURE),
                     std::string(REFERENCE_ADVICE)});
    for (; entry != entries.end() && entry->line == number; ++entry)
      for (const EntryRule& rule : ENTRY_RULES)
        if (entry->key == rule.key && (rule.value.empty() || ascii_lower(unquote(entry->value)) == rule.value))
          out.push_back({std::string(BLOCKER), vbp.filename().string(), number, std::string(rule.feature),
                         std::string(rule.advice)});
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

void scan_form_file(const std::filesystem::path& frm, std::string_view code_page, std::vector<Diagnostic>& out) {
  static const Regex control(R"(\s*Begin\s+([\w.]+)\s+\w+)", Regex::CASELESS);
  const std::string text = load_text(frm, code_page);
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

std::vector<Diagnostic> analyze_project(const Project& project, const std::optional<std::filesystem::path>& form_file) {
  std::vector<Diagnostic> found;
  const ComponentLocations where = locate_code(project, form_file);
  for (size_t i = 0; i < project.forms.size(); ++i) scan_code(project.forms[i].code, where.forms[i], found);
  for (size_t i = 0; i < project.modules.size(); ++i) scan_code(project.modules[i].code, where.modules[i], found);
  for (size_t i = 0; i < project.classes.size(); ++i) scan_code(project.classes[i].code, where.classes[i], found);

  std::error_code ec;
  if (project.path && std::filesystem::is_regular_file(*project.path, ec)) {
    scan_project_file(*project.path, project.code_page, found);
    for (const std::filesystem::path& frm : project_form_files(*project.path, project.code_page))
      scan_form_file(frm, project.code_page, found);
  }
  if (form_file) scan_form_file(*form_file, project.code_page, found);
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
