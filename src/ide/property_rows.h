#pragma once
// The property grid's rows, described once: display name, model field, how
// the typed text is checked and converted, and where the value lives on a
// control and (for four rows) on the form. The grid, apply_prop and the
// tests are driven from this table.
#include <span>
#include <string>
#include <string_view>
#include <variant>

#include "model/project.h"

namespace corvane::ide {

// How a row's text becomes a value.
enum class Conversion {
    name,    // an identifier, unique on the form (and among forms for a form)
    text,    // stored as typed
    whole,   // a whole decimal number
    flag,    // True/False, Yes/No, 1/0
    colour,  // "#" and six hexadecimal digits
};

// The lower bound of a whole-number row.
enum class Bound { none, size, nonnegative };

struct PropertyRow {
    std::string_view display;  // the row's name and identifier in the grid
    std::string_view field;    // the model field
    Conversion conversion;
    Bound bound = Bound::none;
    // Where the value lives on a control: exactly one of these is set.
    std::string Control::*text = nullptr;
    int Control::*number = nullptr;
    bool Control::*flag = nullptr;
    // Where it lives on the form, for the form's rows.
    std::string VBForm::*form_text = nullptr;
    int VBForm::*form_number = nullptr;
    // Only a control of this kind shows the value (empty: every kind).
    std::string_view shown_for = {};

    bool on_form() const { return form_text || form_number; }
};

// The rows of a control, in grid order.
std::span<const PropertyRow> property_rows();
// The row with this display name, or nullptr.
const PropertyRow* find_property_row(std::string_view display);

// The value text a row shows for a control or for the form.
std::string row_value(const PropertyRow& row, const Control& control);
std::string row_value(const PropertyRow& row, const VBForm& form);

// The result of checking a typed text: the converted value, or the message
// of the first rule it fails.
using Converted = std::variant<std::string, int, bool>;
struct Rejected {
    std::string message;
};
// Checks the rules of the row's conversion and bound that need no context
// (names are checked for uniqueness by the caller).
std::variant<Converted, Rejected> convert_property(const PropertyRow& row, const std::string& text);

// Messages of the rules.
inline constexpr std::string_view MSG_IDENTIFIER = "Use a valid VB6 identifier.";
inline constexpr std::string_view MSG_UNIQUE_CONTROL = "Control names must be unique.";
inline constexpr std::string_view MSG_FORM_EXISTS = "Form already exists.";
inline constexpr std::string_view MSG_MIN_SIZE = "Minimum size: 16 pixels.";
inline constexpr std::string_view MSG_NONNEGATIVE = "Value must be nonnegative.";
inline constexpr std::string_view MSG_FLAG = "Enter True or False.";
inline constexpr std::string_view MSG_COLOUR = "Color must be #RRGGBB.";

}  // namespace corvane::ide
