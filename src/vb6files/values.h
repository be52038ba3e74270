#pragma once
// Values of the VB6 files: twips, quoted texts, numbers and colours.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace corvane {

// Twips per pixel.
inline constexpr int TWIPS = 15;

// The standard kinds, written with the type prefix "VB."; every other kind
// is written with "Corvane.".
inline constexpr std::array<std::string_view, 19> CORE_VB_CONTROLS{
    "Label",      "TextBox",    "CommandButton", "CheckBox",   "OptionButton", "ListBox",      "ComboBox",
    "Frame",      "PictureBox", "Timer",         "HScrollBar", "VScrollBar",   "Image",        "Shape",
    "Line",       "DriveListBox", "DirListBox",  "FileListBox", "Data",
};

bool is_core_vb_control(std::string_view kind);

// The value between double quotes, inner double quotes doubled.
std::string quote(std::string_view value);

// quote, with line breaks written as blanks: a break inside a quoted value
// would end its line and let the rest be read as lines of their own.
std::string quote_on_line(std::string_view value);

// The value of a property line: the text between the first and the last
// double quote with doubled quotes undone, or the text before a trailing
// comment.
std::string unquote(std::string_view raw);

// An integer property value: "&H" hexadecimal (unsigned) or a decimal number,
// possibly fractional or with an exponent, truncated toward zero. Text that
// does not parse, and numbers beyond 64 bits, give `fallback`.
int64_t parse_int(std::string_view raw, int64_t fallback = 0);

// A twips value in pixels, rounded to the nearest pixel and clamped to the
// range of int; unparseable text gives `fallback` pixels.
int from_twips(std::string_view raw, int fallback = 0);

// Pixels as twips; 64-bit, so no pixel count overflows.
int64_t to_twips(int pixels);

// Clamps a 64-bit value to the range of int.
int clamp_to_int(int64_t value);

// "#rrggbb" as "&H00BBGGRR&"; anything else as the button-face system
// colour "&H8000000F&".
std::string color_to_vb(std::string_view value);

// The "#rrggbb" a default Windows scheme shows for system colour `index`
// (&H800000nn&: 5 window background, 8 window text, 15 button face ...);
// empty for an index it does not have.
std::string system_color_rgb(uint32_t index);

// A colour value of a form file as "#rrggbb": "&H00BBGGRR&" or a system
// colour "&H800000nn&"; `fallback` for anything else.
std::string vb_file_color(std::string_view value, std::string_view fallback);

// "&H00BBGGRR&" as "#rrggbb"; system colours (bit 31 set) and text that is
// not a hexadecimal colour give `fallback`.
std::string vb_to_color(std::string_view value, std::string_view fallback);

}  // namespace corvane
