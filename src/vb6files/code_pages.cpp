#include "vb6files/code_pages.h"

#include <unicode/ucnv.h>
#include <unicode/ucnv_err.h>

#include <memory>

#include "model/names.h"
#include "vb6files/codec.h"
#include "vb6files/errors.h"

namespace corvane {

namespace {

constexpr std::string_view UTF8_BOM = "\xEF\xBB\xBF";

struct ConverterCloser {
  void operator()(UConverter* c) const { ucnv_close(c); }
};
using Converter = std::unique_ptr<UConverter, ConverterCloser>;

// A converter that stops at the first byte sequence or character it cannot
// convert, or nullptr when ICU does not have it.
Converter open_strict(std::string_view icu_name) {
  UErrorCode error = U_ZERO_ERROR;
  Converter converter(ucnv_open(std::string(icu_name).c_str(), &error));
  if (U_FAILURE(error)) return nullptr;
  ucnv_setToUCallBack(converter.get(), UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &error);
  ucnv_setFromUCallBack(converter.get(), UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &error);
  return U_SUCCESS(error) ? std::move(converter) : nullptr;
}

std::optional<std::u16string> to_utf16(UConverter* converter, std::string_view bytes) {
  std::u16string out(bytes.size() + 1, u'\0');
  UErrorCode error = U_ZERO_ERROR;
  const int32_t n = ucnv_toUChars(converter, reinterpret_cast<UChar*>(out.data()), static_cast<int32_t>(out.size()),
                                  bytes.data(), static_cast<int32_t>(bytes.size()), &error);
  if (U_FAILURE(error)) return std::nullopt;
  out.resize(static_cast<size_t>(n));
  return out;
}

std::optional<std::string> from_utf16(UConverter* converter, const std::u16string& text) {
  std::string out(text.size() * 4 + 4, '\0');
  UErrorCode error = U_ZERO_ERROR;
  const int32_t n = ucnv_fromUChars(converter, out.data(), static_cast<int32_t>(out.size()),
                                    reinterpret_cast<const UChar*>(text.data()), static_cast<int32_t>(text.size()),
                                    &error);
  if (U_FAILURE(error)) return std::nullopt;
  out.resize(static_cast<size_t>(n));
  return out;
}

std::u16string utf8_to_utf16(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    char32_t c = 0;
    const size_t len = utf8_char(text, i, c);
    i += len ? len : 1;
    if (!len) c = U'?';
    if (c >= 0x10000) {
      out += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
      out += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
    } else {
      out += static_cast<char16_t>(c);
    }
  }
  return out;
}

std::string utf16_to_utf8(const std::u16string& text) {
  std::string out;
  out.reserve(text.size() * 3);
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF)
      c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
    append_utf8_char(out, c);
  }
  return out;
}

// The whole text through the converter (some code pages move even ASCII
// control characters: IBM's Shift-JIS swaps 0x1A and 0x7F), with "?" for
// every character the code page cannot hold.
std::string encode_with_icu(UConverter* converter, std::string_view text) {
  UErrorCode error = U_ZERO_ERROR;
  ucnv_setFromUCallBack(converter, UCNV_FROM_U_CALLBACK_SUBSTITUTE, nullptr, nullptr, nullptr, &error);
  ucnv_setSubstChars(converter, "?", 1, &error);
  if (U_FAILURE(error)) return encode_windows_1252(text);
  return from_utf16(converter, utf8_to_utf16(text)).value_or(encode_windows_1252(text));
}

}  // namespace

const CodePage* find_code_page(std::string_view name) {
  for (const CodePage& page : CODE_PAGES)
    if (names_equal(page.name, name)) return &page;
  return nullptr;
}

std::optional<std::string> decode_exactly(std::string_view bytes, std::string_view code_page) {
  const CodePage* page = find_code_page(code_page);
  if (!page || page->name == WINDOWS_1252) return decode_windows_1252(bytes);
  if (page->name == UTF_8) return is_valid_utf8(bytes) ? std::optional<std::string>(bytes) : std::nullopt;
  Converter converter = open_strict(page->icu);
  if (!converter) return std::nullopt;
  auto wide = to_utf16(converter.get(), bytes);
  if (!wide) return std::nullopt;
  auto back = from_utf16(converter.get(), *wide);
  if (!back || *back != bytes) return std::nullopt;
  return utf16_to_utf8(*wide);
}

std::string decode_text(std::string_view bytes, std::string_view code_page, std::string_view source) {
  if (bytes.starts_with(UTF8_BOM) || !find_code_page(code_page) || names_equal(code_page, WINDOWS_1252))
    return decode_file_bytes(bytes, source);
  if (names_equal(code_page, UTF_8)) {
    check_utf8(bytes, source);
    return std::string(bytes);
  }
  const CodePage* page = find_code_page(code_page);
  Converter converter = open_strict(page->icu);
  auto wide = converter ? to_utf16(converter.get(), bytes) : std::nullopt;
  if (!wide)
    throw InvalidValueError("Cannot decode " + std::string(source) + ": the bytes are not valid " +
                            std::string(page->label) + " text.");
  return utf16_to_utf8(*wide);
}

std::string encode_text(std::string_view text, std::string_view code_page) {
  const CodePage* page = find_code_page(code_page);
  if (!page || page->name == WINDOWS_1252) return encode_windows_1252(text);
  if (page->name == UTF_8) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
      char32_t c = 0;
      const size_t len = utf8_char(text, i, c);
      out.append(len ? text.substr(i, len) : std::string_view("?"));
      i += len ? len : 1;
    }
    return out;
  }
  Converter converter = open_strict(page->icu);
  return converter ? encode_with_icu(converter.get(), text) : encode_windows_1252(text);
}

}  // namespace corvane
