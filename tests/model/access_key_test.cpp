// Captions with access keys as they show.
#include <gtest/gtest.h>

#include "model/access_key.h"

namespace corvane {
namespace {

TEST(AccessKeyTest, MarkersAreRemovedAndTheFirstNamesTheKey) {
  struct Case {
    const char* caption;
    const char* text;
    int underline;
    const char* key;
  };
  const Case cases[] = {
      {"&File", "File", 0, "f"},
      {"E&xit", "Exit", 1, "x"},
      {"Save && Close", "Save & Close", -1, ""},
      {"&&&Go", "&Go", 1, "g"},
      {"A&b&c", "Abc", 1, "b"},     // only the first marker names the key
      {"Done&", "Done&", -1, ""},   // a last "&" marks nothing and shows
      {"Ja & nein", "Ja  nein", -1, ""},
      {"&Über", "Über", 0, "Ü"},    // positions count characters, not bytes
      {"Grö&ße", "Größe", 3, "ß"},
      {"", "", -1, ""},
  };
  for (const Case& c : cases) {
    const ShownCaption shown = shown_caption(c.caption);
    EXPECT_EQ(shown.text, c.text) << c.caption;
    EXPECT_EQ(shown.underline, c.underline) << c.caption;
    EXPECT_EQ(shown.key, c.key) << c.caption;
  }
}

}  // namespace
}  // namespace corvane
