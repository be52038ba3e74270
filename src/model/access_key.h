#pragma once
// Captions with access keys: "&" before a character makes it the access
// key (shown underlined; Alt with that key acts on the control), "&&"
// stands for one "&" shown as it is.
#include <string>
#include <string_view>

namespace corvane {

struct ShownCaption {
  std::string text;    // the caption as it shows, without the markers
  int underline = -1;  // the access key's position in `text`, in characters; -1: none
  std::string key;     // the access key (one character, ASCII letters in lower case); empty: none
};

ShownCaption shown_caption(std::string_view caption);

}  // namespace corvane
