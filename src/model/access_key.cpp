#include "model/access_key.h"

namespace corvane {

namespace {

bool continuation(char byte) { return (static_cast<unsigned char>(byte) & 0xC0) == 0x80; }

// The bytes of the UTF-8 character that starts at `at`.
size_t character_length(std::string_view text, size_t at) {
  size_t end = at + 1;
  while (end < text.size() && continuation(text[end])) ++end;
  return end - at;
}

}  // namespace

ShownCaption shown_caption(std::string_view caption) {
  ShownCaption shown;
  int characters = 0;
  for (size_t i = 0; i < caption.size();) {
    if (caption[i] == '&' && i + 1 < caption.size()) {
      if (caption[i + 1] == '&') {  // "&&": one "&"
        shown.text += '&';
        ++characters;
        i += 2;
        continue;
      }
      ++i;  // the marker itself never shows; the first one names the key
      if (shown.underline < 0 && caption[i] != ' ') {
        shown.underline = characters;
        shown.key = std::string(caption.substr(i, character_length(caption, i)));
        if (shown.key.size() == 1 && shown.key[0] >= 'A' && shown.key[0] <= 'Z') shown.key[0] += 'a' - 'A';
      }
      continue;
    }
    const size_t length = character_length(caption, i);
    shown.text.append(caption.substr(i, length));
    ++characters;
    i += length;
  }
  return shown;
}

}  // namespace corvane
