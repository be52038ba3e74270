#include "vb6files/codec.h"

#include <array>
#include <cstdint>

#include "vb6files/code_pages.h"
#include "vb6files/errors.h"

namespace corvane {

namespace {

constexpr std::string_view UTF8_BOM = "\xEF\xBB\xBF";

// Code points of the bytes 0x80..0x9F. The five bytes the code page leaves
// undefined (0x81 0x8D 0x8F 0x90 0x9D) are the C1 controls of the same
// value, as Windows reads them, so that every byte reads and writes back.
constexpr std::array<char32_t, 32> HIGH_CONTROLS{
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

// The end of the run of ASCII bytes that starts at `from`.
size_t ascii_run_end(std::string_view bytes, size_t from) {
  size_t i = from;
  while (i < bytes.size() && static_cast<unsigned char>(bytes[i]) < 0x80) ++i;
  return i;
}


[[noreturn]] void fail(std::string_view source, std::string_view what, size_t offset) {
  throw InvalidValueError("Cannot decode " + std::string(source) + ": " + std::string(what) + " at offset " +
                          std::to_string(offset) + ".");
}

// Length of the valid UTF-8 sequence at text[i], or 0.
size_t utf8_length(std::string_view text, size_t i, char32_t* code = nullptr) {
  const auto b0 = static_cast<unsigned char>(text[i]);
  if (b0 < 0x80) {
    if (code) *code = b0;
    return 1;
  }
  size_t len;
  char32_t c, min;
  if (b0 >= 0xC2 && b0 <= 0xDF) len = 2, c = b0 & 0x1F, min = 0x80;
  else if (b0 >= 0xE0 && b0 <= 0xEF) len = 3, c = b0 & 0x0F, min = 0x800;
  else if (b0 >= 0xF0 && b0 <= 0xF4) len = 4, c = b0 & 0x07, min = 0x10000;
  else return 0;
  if (i + len > text.size()) return 0;
  for (size_t k = 1; k < len; ++k) {
    const auto b = static_cast<unsigned char>(text[i + k]);
    if ((b & 0xC0) != 0x80) return 0;
    c = (c << 6) | (b & 0x3F);
  }
  if (c < min || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return 0;
  if (code) *code = c;
  return len;
}

char encode_char(char32_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
  for (size_t i = 0; i < HIGH_CONTROLS.size(); ++i)
    if (HIGH_CONTROLS[i] == c) return static_cast<char>(0x80 + i);
  return '?';
}

}  // namespace

void append_utf8_char(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

size_t utf8_char(std::string_view text, size_t i, char32_t& code) { return utf8_length(text, i, &code); }

std::string decode_windows_1252(std::string_view bytes, std::string_view /*source*/) {
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 8);
  for (size_t i = 0; i < bytes.size(); ++i) {
    const size_t ascii_end = ascii_run_end(bytes, i);
    if (ascii_end > i) {
      out.append(bytes.data() + i, ascii_end - i);
      i = ascii_end - 1;
      continue;
    }
    const auto b = static_cast<unsigned char>(bytes[i]);
    append_utf8_char(out, b < 0xA0 ? HIGH_CONTROLS[b - 0x80] : b);
  }
  return out;
}

void check_utf8(std::string_view bytes, std::string_view source) {
  for (size_t i = 0; i < bytes.size();) {
    const size_t len = utf8_length(bytes, i);
    if (len == 0) fail(source, "invalid UTF-8 sequence", i);
    i += len;
  }
}

bool is_valid_utf8(std::string_view bytes) {
  for (size_t i = 0; i < bytes.size();) {
    const size_t len = utf8_length(bytes, i);
    if (len == 0) return false;
    i += len;
  }
  return true;
}

std::string decode_file_name(std::string_view name, std::string_view code_page) {
  if (is_valid_utf8(name)) return std::string(name);
  if (auto text = decode_exactly(name, code_page)) return *text;
  return decode_windows_1252(name);
}

std::string decode_file_bytes(std::string_view bytes, std::string_view source) {
  if (bytes.substr(0, UTF8_BOM.size()) == UTF8_BOM) {
    check_utf8(bytes, source);  // the mark itself is valid UTF-8, so offsets count from the file's start
    return std::string(bytes.substr(UTF8_BOM.size()));
  }
  return decode_windows_1252(bytes, source);
}

std::string encode_windows_1252(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    const size_t ascii_end = ascii_run_end(text, i);
    if (ascii_end > i) {
      out.append(text.data() + i, ascii_end - i);
      i = ascii_end;
      continue;
    }
    char32_t c = 0;
    const size_t len = utf8_length(text, i, &c);
    out += len ? encode_char(c) : '?';
    i += len ? len : 1;
  }
  return out;
}

}  // namespace corvane
