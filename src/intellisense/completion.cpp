#include "intellisense/completion.h"

#include <algorithm>

#include "intellisense/member_tables.h"
#include "intellisense/source_text.h"
#include "model/names.h"
#include "vb6files/regex.h"

namespace corvane::intellisense {

namespace {

// BASIC identifiers have at most 255 characters; a run of word characters
// longer than that (in bytes of UTF-8) cannot be a name, and bounding the
// scanned tail keeps a pathological line from slowing the popup down.
constexpr std::size_t MAX_NAME_BYTES = 255 * 4;

const Regex& rem_line() {
    static const Regex re(R"(^\s*Rem\b)", Regex::CASELESS);
    return re;
}
const Regex& member_access() {
    static const Regex re(R"(([\p{L}_]\w*)\.([\p{L}_]\w*)?$)");
    return re;
}
const Regex& word_run() {
    static const Regex re(R"(\A\w*\z)");
    return re;
}
const Regex& declaration() {
    static const Regex re(R"(^\s*(?:Dim|Public|Private|Static)\s+(\w+)\s+As\s+(?:New\s+)?([\w.]+))", Regex::CASELESS);
    return re;
}
const Regex& variable_line() {
    static const Regex re(R"(^\s*(?:Public|Private|Dim)\s+(\w+)\s+As\s+)", Regex::CASELESS);
    return re;
}
const Regex& procedure_line() {
    static const Regex re(R"(^\s*(?:Public|Private|Friend)?\s*(?:Sub|Function|Property\s+(?:Get|Let|Set))\s+(\w+)\s*\()",
                          Regex::CASELESS);
    return re;
}

bool word_byte(char c) {
    const auto u = static_cast<unsigned char>(c);
    return u >= 0x80 || (u >= '0' && u <= '9') || (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || u == '_';
}

// The code point that ends just before `at`, as UTF-8.
std::string_view previous_char(std::string_view text, std::size_t at) {
    std::size_t begin = at - 1;
    while (begin > 0 && (static_cast<unsigned char>(text[begin]) & 0xC0) == 0x80) --begin;
    return text.substr(begin, at - begin);
}

std::vector<std::string> to_strings(Members members) { return {members.begin(), members.end()}; }

// Without exact duplicates, sorted case-insensitively (stable).
std::vector<std::string> sorted_unique(std::vector<std::string> names) {
    std::vector<std::string> unique;
    for (std::string& name : names)
        if (std::find(unique.begin(), unique.end(), name) == unique.end()) unique.push_back(std::move(name));
    std::vector<std::pair<std::string, std::string>> keyed;
    keyed.reserve(unique.size());
    for (std::string& name : unique) keyed.emplace_back(fold_name(name), std::move(name));
    std::stable_sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<std::string> out;
    out.reserve(keyed.size());
    for (auto& [key, name] : keyed) out.push_back(std::move(name));
    return out;
}

// A control of any form by name; controls are looked up only here.
const Control* find_control(const VBForm& form, std::string_view name) {
    for (const Control& control : form.controls)
        if (names_equal(control.name, name)) return &control;
    return nullptr;
}

std::optional<std::vector<std::string>> form_or_control_members(const Project& project, std::string_view object) {
    for (const VBForm& form : project.forms) {
        if (names_equal(form.name, object)) return to_strings(form_members());
        if (const Control* control = find_control(form, object)) {
            std::vector<std::string> names = to_strings(control_common_members());
            for (std::string_view member : control_kind_members(control->kind)) names.emplace_back(member);
            return sorted_unique(std::move(names));
        }
    }
    return std::nullopt;
}

// Only lines whose first word may be a declaration keyword reach the regex.
bool may_declare(std::string_view line) {
    const std::size_t first = line.find_first_not_of(" \t\r\f\v");
    if (first == std::string_view::npos) return false;
    switch (line[first]) {
        case 'D': case 'd': case 'P': case 'p': case 'S': case 's': return true;
        default: return false;
    }
}

bool ascii_only(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// Whether an ASCII name occurs in the line, ignoring ASCII case.
bool mentions(std::string_view line, std::string_view name) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    return std::search(line.begin(), line.end(), name.begin(), name.end(),
                       [&](char a, char b) { return lower(a) == lower(b); }) != line.end();
}

void scan_declarations(std::string_view text, std::string_view object, std::optional<std::string>& found) {
    const bool ascii_name = ascii_only(object);
    for (std::string_view line : split_lines(text)) {
        if (!may_declare(line) || (ascii_name && !mentions(line, object))) continue;
        auto groups = declaration().match_groups(line);
        if (groups && names_equal((*groups)[1], object)) found = ascii_lower((*groups)[2]);
    }
}

}  // namespace

std::optional<MemberContext> member_context(std::string_view before_cursor) {
    const std::size_t line_start = before_cursor.rfind('\n');
    const std::string_view line =
        line_start == std::string_view::npos ? before_cursor : before_cursor.substr(line_start + 1);
    const std::string blanked = blank_literals(line);
    if (blanked.find('\'') != std::string::npos || rem_line().match(blanked)) return std::nullopt;  // a comment
    const std::vector<Literal> literals = closed_literals(line);
    const std::size_t after_literals = literals.empty() ? 0 : literals.back().end;
    if (line.find('"', after_literals) != std::string_view::npos) return std::nullopt;  // inside an open literal

    const std::size_t dot = line.rfind('.');
    if (dot == std::string_view::npos) return std::nullopt;
    const std::string_view typed = line.substr(dot + 1);
    if (typed.size() > MAX_NAME_BYTES || !word_run().match(typed)) return std::nullopt;
    // The object name is a run of word characters that ends at the dot.
    std::size_t begin = dot;
    while (begin > 0 && word_byte(line[begin - 1]) && dot - begin < MAX_NAME_BYTES) --begin;
    while (begin < dot && (static_cast<unsigned char>(line[begin]) & 0xC0) == 0x80) ++begin;
    const std::size_t cut = begin;
    auto groups = member_access().search_groups(line.substr(begin));
    if (!groups) return std::nullopt;
    const std::size_t start = line.size() - (*groups)[0].size();
    if (start == cut && cut > 0 && word_byte(line[cut - 1]) && word_run().match(previous_char(line, cut)))
        return std::nullopt;  // the name goes on before the scanned tail: longer than any name can be
    return MemberContext{(*groups)[1], (*groups)[2]};
}

std::optional<std::string> declared_type(const Project& project, std::string_view code, std::string_view object) {
    std::optional<std::string> found;
    for (const Module& module : project.modules) scan_declarations(module.code, object, found);
    for (const ClassModule& klass : project.classes) scan_declarations(klass.code, object, found);
    scan_declarations(code, object, found);
    return found;
}

std::vector<std::string> class_members(std::string_view class_code) {
    std::vector<std::string> variables, procedures;
    for (std::string_view line : split_lines(class_code)) {
        if (auto groups = variable_line().match_groups(line)) variables.push_back((*groups)[1]);
        if (auto groups = procedure_line().match_groups(line)) procedures.push_back((*groups)[1]);
    }
    variables.insert(variables.end(), procedures.begin(), procedures.end());
    return sorted_unique(std::move(variables));
}

std::vector<std::string> available_members(const Project* project, std::string_view code, std::string_view object,
                                           const VBForm* form) {
    if (!project) return {};
    if (names_equal(object, "Me")) return form ? to_strings(form_members()) : std::vector<std::string>{};
    if (names_equal(object, "App")) return to_strings(app_members());
    if (auto members = form_or_control_members(*project, object)) return *members;
    const std::optional<std::string> type = declared_type(*project, code, object);
    if (type && is_ado_type(*type)) return to_strings(ado_members(*type));
    for (const ClassModule& klass : project->classes)
        if ((type && names_equal(klass.name, *type)) || names_equal(klass.name, object))
            return class_members(klass.code);
    return {};
}

std::vector<std::string> completions(const Project* project, std::string_view code, std::string_view before_cursor,
                                     const VBForm* form) {
    const std::optional<MemberContext> context = member_context(before_cursor);
    if (!context) return {};
    std::vector<std::string> matching;
    for (std::string& member : available_members(project, code, context->object, form))
        if (starts_with_ci(member, context->prefix)) matching.push_back(std::move(member));
    return matching;
}

}  // namespace corvane::intellisense
