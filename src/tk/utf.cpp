#include "tk/utf.h"

#include <cstdint>

namespace corvane::tk {
namespace {

constexpr char32_t REPLACEMENT = 0xFFFD;

void put_utf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

bool is_cont(unsigned char c) { return (c & 0xC0) == 0x80; }

// Decodes one sequence at s[i]. Surrogate code points encoded as three bytes
// are returned as they are when `allow_surrogates` (Tcl's form), otherwise they
// are invalid. Returns the code point and advances i; an invalid byte gives
// REPLACEMENT and advances by one.
char32_t decode(const unsigned char* s, std::size_t n, std::size_t& i, bool allow_surrogates) {
    unsigned char c = s[i];
    if (c < 0x80) {
        ++i;
        return c;
    }
    if (c >= 0xC2 && c <= 0xDF && i + 1 < n && is_cont(s[i + 1])) {
        char32_t cp = ((c & 0x1F) << 6) | (s[i + 1] & 0x3F);
        i += 2;
        return cp;
    }
    if (c >= 0xE0 && c <= 0xEF && i + 2 < n && is_cont(s[i + 1]) && is_cont(s[i + 2])) {
        char32_t cp = ((c & 0x0F) << 12) | ((s[i + 1] & 0x3F) << 6) | (s[i + 2] & 0x3F);
        bool surrogate = cp >= 0xD800 && cp <= 0xDFFF;
        if (cp >= 0x800 && (!surrogate || allow_surrogates)) {
            i += 3;
            return cp;
        }
    }
    if (c >= 0xF0 && c <= 0xF4 && i + 3 < n && is_cont(s[i + 1]) && is_cont(s[i + 2]) &&
        is_cont(s[i + 3])) {
        char32_t cp = ((c & 0x07) << 18) | ((s[i + 1] & 0x3F) << 12) | ((s[i + 2] & 0x3F) << 6) |
                      (s[i + 3] & 0x3F);
        if (cp >= 0x10000 && cp <= 0x10FFFF) {
            i += 4;
            return cp;
        }
    }
    ++i;
    return REPLACEMENT;
}

}  // namespace

bool is_plain_ascii(std::string_view text) noexcept {
    for (unsigned char c : text) {
        if (c == 0 || c >= 0x80) return false;
    }
    return true;
}

std::string to_tcl(std::string_view utf8) {
    if (is_plain_ascii(utf8)) return std::string(utf8);
    const auto* s = reinterpret_cast<const unsigned char*>(utf8.data());
    std::size_t n = utf8.size();
    std::string out;
    out.reserve(n + n / 4);
    std::size_t i = 0;
    while (i < n) {
        char32_t cp = decode(s, n, i, false);
        if (cp == 0) {
            out.push_back(static_cast<char>(0xC0));
            out.push_back(static_cast<char>(0x80));
        } else if (cp >= 0x10000) {
            char32_t v = cp - 0x10000;
            put_utf8(out, 0xD800 + (v >> 10));
            put_utf8(out, 0xDC00 + (v & 0x3FF));
        } else {
            put_utf8(out, cp);
        }
    }
    return out;
}

std::string from_tcl(const char* bytes, std::size_t length) {
    std::string_view view(bytes, length);
    bool plain = true;
    for (unsigned char c : view) {
        if (c >= 0x80) {
            plain = false;
            break;
        }
    }
    if (plain) return std::string(view);
    const auto* s = reinterpret_cast<const unsigned char*>(bytes);
    std::string out;
    out.reserve(length);
    std::size_t i = 0;
    while (i < length) {
        if (s[i] == 0xC0 && i + 1 < length && s[i + 1] == 0x80) {
            out.push_back('\0');
            i += 2;
            continue;
        }
        char32_t cp = decode(s, length, i, true);
        if (cp >= 0xD800 && cp <= 0xDBFF) {
            std::size_t j = i;
            char32_t low = j < length ? decode(s, length, j, true) : 0;
            if (low >= 0xDC00 && low <= 0xDFFF) {
                i = j;
                cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
            } else {
                cp = REPLACEMENT;
            }
        } else if (cp >= 0xDC00 && cp <= 0xDFFF) {
            cp = REPLACEMENT;
        }
        put_utf8(out, cp);
    }
    return out;
}

}  // namespace corvane::tk
