// Reads arbitrary bytes as a form file. Besides never crashing, a form that
// was read must write the same text after another read: the writer's output
// is a fixed point of reading and writing. The bytes' detected code page must
// read them and write them back unchanged.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "vb6files/code_page_detection.h"
#include "vb6files/code_pages.h"
#include "vb6files/codec.h"
#include "vb6files/errors.h"
#include "vb6files/form_files.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  if (!bytes.starts_with("\xEF\xBB\xBF")) {
    const std::string code_page = corvane::detect_code_page({bytes});
    const std::string decoded = corvane::decode_text(bytes, code_page, "fuzz.frm");
    if (corvane::encode_text(decoded, code_page) != bytes) std::abort();
    (void)corvane::read_form_text(decoded, "fuzz.frm");
  }
  try {
    const std::string text = corvane::decode_file_bytes(bytes, "fuzz.frm");
    const corvane::VBForm form = corvane::read_form_text(text, "fuzz.frm");
    const std::string once = corvane::form_file_text(form);
    const std::string twice = corvane::form_file_text(corvane::read_form_text(once, "fuzz.frm"));
    if (once != twice) std::abort();
    (void)corvane::encode_windows_1252(once);
  } catch (const corvane::InvalidValueError&) {
    // undefined bytes, invalid UTF-8 after a byte-order mark, menus nested too deeply
  }
  return 0;
}
