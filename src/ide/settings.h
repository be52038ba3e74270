#pragma once
// The settings file: the main window's geometry and the panel sizes, kept
// per user in $XDG_CONFIG_HOME/corvane/settings.json (else ~/.config/...).
// Nothing here touches Tk, so every rule is testable without a display.
#include <array>
#include <filesystem>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

namespace corvane::ide {

using Settings = nlohmann::ordered_json;

struct PanelRange {
    std::string_view key;
    int low;
    int high;
};

// The panel sizes the file keeps, with the values accepted for each.
inline constexpr std::array<PanelRange, 5> PANEL_RANGES{{
    {"left_width", 220, 2500},
    {"right_width", 290, 2500},
    {"project_height", 135, 3000},
    {"output_height", 65, 2000},
    {"property_name_width", 85, 1000},
}};

std::filesystem::path settings_path();

// "{W}x{H}" for a screen of the given size (no position).
std::string default_geometry(int screen_w, int screen_h);
// A saved "{w}x{h}+{x}+{y}" clamped so that the window lies on the screen;
// anything else gives the fallback.
std::string validated_geometry(std::string_view saved, const std::string& fallback, int screen_w, int screen_h);
// The valid subset of a panels object: integers (not booleans, not 250.0)
// within their ranges; everything else is dropped key by key.
Settings validate_panels(const Settings& data);

// The settings object; an empty object when the file is missing,
// unreadable, malformed or not a JSON object.
Settings read_settings(const std::filesystem::path& file);
// Writes the object (two-space indentation, final newline) through
// settings.tmp renamed over the file. Returns false on any failure.
bool write_settings(const std::filesystem::path& file, const Settings& settings) noexcept;

}  // namespace corvane::ide
