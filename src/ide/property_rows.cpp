// The property row table and the conversion of typed values.
#include "ide/property_rows.h"

#include <algorithm>
#include <charconv>

#include "vb6files/regex.h"

namespace corvane::ide {

namespace {

using C = Control;
using F = VBForm;

constexpr PropertyRow ROWS[] = {
    {.display = "(Name)", .field = "name", .conversion = Conversion::name, .text = &C::name, .form_text = &F::name},
    {.display = "Caption", .field = "caption", .conversion = Conversion::text, .text = &C::caption,
     .form_text = &F::caption},
    {.display = "Text", .field = "text", .conversion = Conversion::text, .text = &C::text},
    {.display = "Left", .field = "left", .conversion = Conversion::whole, .bound = Bound::nonnegative,
     .number = &C::left},
    {.display = "Top", .field = "top", .conversion = Conversion::whole, .bound = Bound::nonnegative, .number = &C::top},
    {.display = "Width", .field = "width", .conversion = Conversion::whole, .bound = Bound::size, .number = &C::width,
     .form_number = &F::width},
    {.display = "Height", .field = "height", .conversion = Conversion::whole, .bound = Bound::size,
     .number = &C::height, .form_number = &F::height},
    {.display = "Visible", .field = "visible", .conversion = Conversion::flag, .flag = &C::visible},
    {.display = "Enabled", .field = "enabled", .conversion = Conversion::flag, .flag = &C::enabled},
    {.display = "BackColor", .field = "back_color", .conversion = Conversion::colour, .text = &C::back_color},
    {.display = "ForeColor", .field = "fore_color", .conversion = Conversion::colour, .text = &C::fore_color},
    {.display = "FontSize", .field = "font_size", .conversion = Conversion::whole, .bound = Bound::nonnegative,
     .number = &C::font_size},
    {.display = "Value", .field = "value", .conversion = Conversion::whole, .number = &C::value},
    {.display = "TabIndex", .field = "tab_index", .conversion = Conversion::whole, .bound = Bound::nonnegative,
     .number = &C::tab_index},
    {.display = "Interval", .field = "interval", .conversion = Conversion::whole, .bound = Bound::nonnegative,
     .number = &C::interval},
    {.display = "Items", .field = "items", .conversion = Conversion::text, .text = &C::items},
    {.display = "RecordSource", .field = "record_source", .conversion = Conversion::text, .text = &C::record_source,
     .shown_for = "DataGrid"},
};

// The saved files hold each value on one line; a line break shows (and is
// stored) as the blank the file writer would put in its place.
std::string on_one_line(std::string text) {
    std::replace_if(text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    return text;
}

std::string_view trim(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}

std::variant<Converted, Rejected> convert_whole(const PropertyRow& row, const std::string& typed) {
    std::string_view text = trim(typed);
    const std::string_view digits = !text.empty() && (text[0] == '+' || text[0] == '-') ? text.substr(1) : text;
    const bool well_formed = !digits.empty() && std::all_of(digits.begin(), digits.end(), [](char c) {
        return c >= '0' && c <= '9';
    });
    if (!well_formed) return Rejected{std::string(row.display) + " must be a whole number."};
    if (text[0] == '+') text.remove_prefix(1);
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        return Rejected{std::string(row.display) + " is out of range."};
    if (row.bound == Bound::size && value < 16) return Rejected{std::string(MSG_MIN_SIZE)};
    if (row.bound == Bound::nonnegative && value < 0) return Rejected{std::string(MSG_NONNEGATIVE)};
    return Converted{value};
}

std::variant<Converted, Rejected> convert_flag(const std::string& typed) {
    std::string word(trim(typed));
    std::transform(word.begin(), word.end(), word.begin(), [](unsigned char c) { return std::tolower(c); });
    struct Word {
        std::string_view text;
        bool value;
    };
    static constexpr Word WORDS[] = {{"true", true}, {"yes", true},  {"1", true},
                                     {"false", false}, {"no", false}, {"0", false}};
    for (const Word& w : WORDS)
        if (w.text == word) return Converted{w.value};
    return Rejected{std::string(MSG_FLAG)};
}

}  // namespace

std::span<const PropertyRow> property_rows() { return ROWS; }

const PropertyRow* find_property_row(std::string_view display) {
    for (const PropertyRow& row : ROWS)
        if (row.display == display) return &row;
    return nullptr;
}

std::string row_value(const PropertyRow& row, const Control& control) {
    if (!row.shown_for.empty() && row.shown_for != control.kind) return {};
    if (row.text) return on_one_line(control.*row.text);
    if (row.number) return std::to_string(control.*row.number);
    if (row.flag) return control.*row.flag ? "True" : "False";
    return {};
}

std::string row_value(const PropertyRow& row, const VBForm& form) {
    if (row.form_text) return on_one_line(form.*row.form_text);
    if (row.form_number) return std::to_string(form.*row.form_number);
    return {};
}

std::variant<Converted, Rejected> convert_property(const PropertyRow& row, const std::string& text) {
    // Letters and digits of any alphabet count after the first character.
    static const Regex IDENTIFIER(R"([A-Za-z_]\w*\z)");
    static const Regex COLOUR(R"(#[0-9A-Fa-f]{6}\z)");
    switch (row.conversion) {
        case Conversion::name:
            if (!IDENTIFIER.match(text)) return Rejected{std::string(MSG_IDENTIFIER)};
            return Converted{text};
        case Conversion::text: return Converted{on_one_line(text)};
        case Conversion::whole: return convert_whole(row, text);
        case Conversion::flag: return convert_flag(text);
        case Conversion::colour:
            if (!COLOUR.match(text)) return Rejected{std::string(MSG_COLOUR)};
            return Converted{text};
    }
    return Rejected{"Unknown property."};
}

}  // namespace corvane::ide
