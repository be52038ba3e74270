#include "vb6files/code_page_detection.h"

#include <unicode/ucsdet.h>

#include <algorithm>
#include <memory>

#include "model/names.h"
#include "vb6files/code_pages.h"
#include "vb6files/codec.h"
#include "vb6files/strings.h"

namespace corvane {

namespace {

// Enough text for the detector to be sure; more only costs time.
constexpr size_t MAX_SAMPLE = 256 * 1024;

bool has_high_byte(std::string_view text) {
  return std::any_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

// The lines that hold non-ASCII bytes, one per line: the ASCII rest of the
// files (keywords, property names) says nothing about the code page.
std::string non_ascii_lines(const std::vector<std::string_view>& contents) {
  std::string sample;
  for (std::string_view content : contents) {
    for (std::string_view line : split_lines(content)) {
      if (!has_high_byte(line)) continue;
      sample.append(line);
      sample += '\n';
      if (sample.size() >= MAX_SAMPLE) return sample;
    }
  }
  return sample;
}

struct DetectorCloser {
  void operator()(UCharsetDetector* d) const { ucsdet_close(d); }
};

// Charsets of one byte per character (ICU reports Windows-1252 text as
// ISO-8859-1 or windows-1252, and sometimes as one of its neighbours): when
// one of them is the likeliest, the text is not in a CJK code page.
bool is_single_byte(std::string_view charset) {
  for (std::string_view prefix : {"ISO-8859", "windows-125", "KOI8", "IBM4", "IBM8"})
    if (starts_with_ci(charset, prefix)) return true;
  return false;
}

// Detected charsets, most likely first.
std::vector<std::string> detected_charsets(const std::string& sample) {
  UErrorCode error = U_ZERO_ERROR;
  std::unique_ptr<UCharsetDetector, DetectorCloser> detector(ucsdet_open(&error));
  if (U_FAILURE(error)) return {};
  ucsdet_setText(detector.get(), sample.data(), static_cast<int32_t>(sample.size()), &error);
  int32_t count = 0;
  const UCharsetMatch** matches = ucsdet_detectAll(detector.get(), &count, &error);
  std::vector<std::string> names;
  for (int32_t i = 0; U_SUCCESS(error) && i < count; ++i) {
    const char* name = ucsdet_getName(matches[i], &error);
    if (U_SUCCESS(error) && name) names.emplace_back(name);
  }
  return names;
}

bool reads_exactly(const std::vector<std::string_view>& contents, std::string_view code_page) {
  return std::all_of(contents.begin(), contents.end(),
                     [&](std::string_view c) { return decode_exactly(c, code_page).has_value(); });
}

}  // namespace

std::string detect_code_page(const std::vector<std::string_view>& all_contents) {
  std::vector<std::string_view> contents;
  for (std::string_view c : all_contents)
    if (!c.starts_with("\xEF\xBB\xBF") && has_high_byte(c)) contents.push_back(c);
  if (contents.empty()) return std::string(WINDOWS_1252);
  if (std::all_of(contents.begin(), contents.end(), is_valid_utf8)) return std::string(UTF_8);

  for (const std::string& charset : detected_charsets(non_ascii_lines(contents))) {
    if (is_single_byte(charset)) break;
    for (const CodePage& page : CODE_PAGES)
      if (!page.icu.empty() && names_equal(page.detects, charset) && reads_exactly(contents, page.name))
        return std::string(page.name);
  }
  return std::string(WINDOWS_1252);
}

}  // namespace corvane
