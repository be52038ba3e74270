#pragma once
// The toolbox's tools: the pointer followed by every control kind in table
// order, each shown as a glyph and a display name.
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace corvane::ide {

// (kind, glyph); a kind missing here shows "□".
inline constexpr std::pair<std::string_view, std::string_view> TOOL_GLYPHS[] = {
    {"Pointer", "\u2196"},      {"Label", "A"},             {"TextBox", "ab"},         {"CommandButton", "\u25a3"},
    {"CheckBox", "\u2611"},     {"OptionButton", "\u25c9"}, {"ListBox", "\u2637"},     {"ComboBox", "\u25be"},
    {"Frame", "\u25a4"},        {"PictureBox", "\u25a7"},   {"Timer", "\u25f7"},       {"HScrollBar", "\u2194"},
    {"VScrollBar", "\u2195"},   {"Image", "\u25a8"},        {"Shape", "\u25ef"},       {"Line", "\u2571"},
    {"DriveListBox", "\u25b0"}, {"DirListBox", "\u25b8"},   {"FileListBox", "\u25a4"}, {"Data", "\u25a5"},
    {"ProgressBar", "\u25b0"},  {"Slider", "\u2501"},       {"TreeView", "\u2691"},    {"ListView", "\u2637"},
    {"RichTextBox", "\u00b6"},  {"DataGrid", "\u25a6"},     {"CommonDialog", "\u25a4"}, {"StatusBar", "\u2261"},
    {"TabStrip", "\u25a3"},     {"MSFlexGrid", "\u25a6"},
};

// (kind, display name) where the name differs from the kind.
inline constexpr std::pair<std::string_view, std::string_view> TOOL_NAMES[] = {
    {"CommandButton", "Command"}, {"OptionButton", "Option"},   {"PictureBox", "Picture"},
    {"HScrollBar", "HScroll"},    {"VScrollBar", "VScroll"},    {"DriveListBox", "DriveList"},
    {"DirListBox", "DirList"},    {"FileListBox", "FileList"},  {"ProgressBar", "Progress"},
    {"RichTextBox", "RichText"},
};

// "Pointer" and the control kinds, in toolbox order.
std::vector<std::string> toolbox_kinds();
// A button's text: glyph, blank, display name ("▣ Command").
std::string tool_text(std::string_view kind);

}  // namespace corvane::ide
