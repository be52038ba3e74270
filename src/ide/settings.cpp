#include "ide/settings.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <system_error>

#include "ide/constants.h"
#include "vb6files/regex.h"

namespace corvane::ide {

namespace fs = std::filesystem;

fs::path settings_path() {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    fs::path base;
    if (xdg && *xdg) {
        base = xdg;
    } else {
        const char* home = std::getenv("HOME");
        base = fs::path(home && *home ? home : ".") / ".config";
    }
    return base / "corvane" / "settings.json";
}

std::string default_geometry(int screen_w, int screen_h) {
    const int w = std::min(1390, std::max(MIN_WIDTH, screen_w - 65));
    const int h = std::min(870, std::max(MIN_HEIGHT, screen_h - 95));
    return std::to_string(w) + "x" + std::to_string(h);
}

namespace {

// A decimal field of the geometry; absurdly long digit runs saturate
// instead of overflowing (they are clamped to the screen anyway).
long long field(const std::string& digits) {
    try {
        return std::stoll(digits);
    } catch (const std::out_of_range&) {
        return digits.starts_with('-') ? -1000000000LL : 1000000000LL;
    }
}

}  // namespace

std::string validated_geometry(std::string_view saved, const std::string& fallback, int screen_w, int screen_h) {
    static const Regex pattern(R"(^(\d+)x(\d+)\+(-?\d+)\+(-?\d+)$)");
    // The pattern must match the whole text: "$" would accept a final line feed.
    if (saved.find('\n') != std::string_view::npos) return fallback;
    auto groups = pattern.match_groups(saved);
    if (!groups) return fallback;
    long long w = field((*groups)[1]), h = field((*groups)[2]);
    long long x = field((*groups)[3]), y = field((*groups)[4]);
    w = std::max<long long>(MIN_WIDTH, std::min<long long>(w, std::max(MIN_WIDTH, screen_w)));
    h = std::max<long long>(MIN_HEIGHT, std::min<long long>(h, std::max(MIN_HEIGHT, screen_h)));
    x = std::max<long long>(0, std::min<long long>(x, std::max<long long>(0, screen_w - w)));
    y = std::max<long long>(0, std::min<long long>(y, std::max<long long>(0, screen_h - h)));
    return std::to_string(w) + "x" + std::to_string(h) + "+" + std::to_string(x) + "+" + std::to_string(y);
}

Settings validate_panels(const Settings& data) {
    Settings result = Settings::object();
    if (!data.is_object()) return result;
    for (const PanelRange& range : PANEL_RANGES) {
        auto it = data.find(range.key);
        if (it == data.end() || !it->is_number_integer()) continue;
        // Unsigned values beyond the signed range are out of range anyway.
        if (it->is_number_unsigned() && it->get<std::uint64_t>() > 1000000u) continue;
        const long long value = it->get<long long>();
        if (value >= range.low && value <= range.high) result[std::string(range.key)] = value;
    }
    return result;
}

Settings read_settings(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return Settings::object();
    std::ostringstream text;
    text << in.rdbuf();
    Settings data = Settings::parse(text.str(), nullptr, /*allow_exceptions=*/false);
    if (data.is_discarded() || !data.is_object()) return Settings::object();
    return data;
}

bool write_settings(const fs::path& file, const Settings& settings) noexcept {
    try {
        std::error_code ec;
        fs::create_directories(file.parent_path(), ec);
        if (ec) return false;
        const fs::path temp = file.parent_path() / "settings.tmp";
        {
            std::ofstream out(temp, std::ios::binary | std::ios::trunc);
            if (!out) return false;
            out << settings.dump(2) << '\n';
            out.flush();
            if (!out) {
                fs::remove(temp, ec);
                return false;
            }
        }
        fs::rename(temp, file, ec);
        if (ec) {
            fs::remove(temp, ec);
            return false;
        }
        return true;
    } catch (...) {
        return false;
    }
}

}  // namespace corvane::ide
