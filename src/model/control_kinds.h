#pragma once
// The table of the 29 control kinds the system knows, in toolbox order.
#include <array>
#include <string_view>

namespace corvane {

struct ControlSpec {
  std::string_view kind;
  int width;
  int height;
  std::string_view caption_word;  // empty: the kind starts without a caption
};

struct KindPrefix {
  std::string_view kind;
  std::string_view prefix;
};

inline constexpr std::array<ControlSpec, 29> CONTROL_SPECS{{
    {"Label", 112, 25, "Label"},
    {"TextBox", 146, 27, ""},
    {"CommandButton", 110, 32, "Command"},
    {"CheckBox", 126, 26, "Check"},
    {"OptionButton", 132, 26, "Option"},
    {"ListBox", 150, 90, ""},
    {"ComboBox", 150, 30, ""},
    {"Frame", 190, 125, "Frame"},
    {"PictureBox", 150, 110, ""},
    {"Timer", 32, 32, ""},
    {"HScrollBar", 150, 22, ""},
    {"VScrollBar", 22, 150, ""},
    {"Image", 110, 90, ""},
    {"Shape", 125, 75, ""},
    {"Line", 145, 8, ""},
    {"DriveListBox", 165, 28, ""},
    {"DirListBox", 175, 120, ""},
    {"FileListBox", 175, 120, ""},
    {"Data", 185, 38, ""},
    {"ProgressBar", 170, 25, ""},
    {"Slider", 185, 36, ""},
    {"TreeView", 200, 140, ""},
    {"ListView", 210, 135, ""},
    {"RichTextBox", 215, 105, ""},
    {"DataGrid", 240, 130, ""},
    {"CommonDialog", 32, 32, ""},
    {"StatusBar", 320, 25, ""},
    {"TabStrip", 290, 160, ""},
    {"MSFlexGrid", 270, 160, ""},
}};

inline constexpr std::array<KindPrefix, 29> KIND_PREFIX{{
    {"Label", "Label"},         {"TextBox", "Text"},         {"CommandButton", "Command"},
    {"CheckBox", "Check"},      {"OptionButton", "Option"},  {"ListBox", "List"},
    {"ComboBox", "Combo"},      {"Frame", "Frame"},          {"PictureBox", "Picture"},
    {"Timer", "Timer"},         {"HScrollBar", "HScroll"},   {"VScrollBar", "VScroll"},
    {"Image", "Image"},         {"Shape", "Shape"},          {"Line", "Line"},
    {"DriveListBox", "Drive"},  {"DirListBox", "Dir"},       {"FileListBox", "File"},
    {"Data", "Data"},           {"ProgressBar", "Progress"}, {"Slider", "Slider"},
    {"TreeView", "Tree"},       {"ListView", "ListView"},    {"RichTextBox", "RichText"},
    {"DataGrid", "DataGrid"},   {"CommonDialog", "CommonDialog"}, {"StatusBar", "StatusBar"},
    {"TabStrip", "TabStrip"},   {"MSFlexGrid", "MSFlexGrid"},
}};

// The row of a kind (exact, case-sensitive match), or nullptr.
const ControlSpec* find_control_spec(std::string_view kind);
// The name prefix of a kind; throws std::out_of_range for an unknown kind.
std::string_view kind_prefix(std::string_view kind);

}  // namespace corvane
