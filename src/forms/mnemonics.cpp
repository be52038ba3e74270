// Captions with access keys: "&Save" shows "Save" with the S underlined,
// "&&" shows one "&".
#include "forms/preview.h"

namespace corvane {

ShownCaption shown_caption(const std::string& caption) {
  ShownCaption out;
  int position = 0;  // code points shown so far
  for (size_t i = 0; i < caption.size(); ++i) {
    const char ch = caption[i];
    if (ch == '&' && i + 1 < caption.size()) {
      ++i;
      if (caption[i] != '&' && out.underline < 0) out.underline = position;
    }
    out.text += caption[i];
    if ((static_cast<unsigned char>(caption[i]) & 0xC0) != 0x80) ++position;
  }
  return out;
}

}  // namespace corvane
