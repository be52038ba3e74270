#pragma once
// Values every part of the environment shares.
#include <string_view>

namespace corvane::ide {

inline constexpr std::string_view VERSION = "0.6.2";
inline constexpr std::string_view PRODUCT = "Corvane";

inline constexpr int SCALE = 8;     // design grid step and keyboard nudge, pixels
inline constexpr int FX = 42;       // canvas x of the designed form's left edge
inline constexpr int FY = 36;       // canvas y of the designed form's top edge
inline constexpr int TITLE_H = 29;  // height of the title bar drawn above the form

inline constexpr int MIN_WIDTH = 970;   // smallest main window
inline constexpr int MIN_HEIGHT = 610;

}  // namespace corvane::ide
