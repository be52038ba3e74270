// UCase and LCase of natively built programs map case exactly as the
// interpreter does (ICU, root locale): every code point on its own, and
// the capital sigma, whose lower case depends on its neighbours.
#include <gtest/gtest.h>
#include <unicode/locid.h>
#include <unicode/unistr.h>

#include <string>
#include <vector>

#include "vb_native.h"

namespace {

std::string icu_case(const std::string& text, bool upper) {
  icu::UnicodeString u = icu::UnicodeString::fromUTF8(text);
  if (upper) u.toUpper(icu::Locale::getRoot());
  else u.toLower(icu::Locale::getRoot());
  std::string out;
  u.toUTF8String(out);
  return out;
}

std::string native_case(const std::string& text, bool upper) {
  VBValue arg = vb_str(text.c_str());
  return vb_string(vb_builtin(upper ? "ucase" : "lcase", 1, &arg));
}

std::string utf8(UChar32 c) {
  std::string out;
  icu::UnicodeString(c).toUTF8String(out);
  return out;
}

}  // namespace

TEST(NativeCaseMapping, EveryCodePointMapsAsTheInterpreterMapsIt) {
  int mismatches = 0;
  // U+0000 is left out: native texts end at a zero byte.
  for (UChar32 c = 1; c <= 0x10FFFF && mismatches < 10; ++c) {
    if (c >= 0xD800 && c <= 0xDFFF) continue;
    const std::string one = utf8(c);
    for (bool upper : {true, false}) {
      const std::string want = icu_case(one, upper), got = native_case(one, upper);
      if (want != got) {
        ++mismatches;
        ADD_FAILURE() << (upper ? "UCase" : "LCase") << " of U+" << std::hex << c << ": ICU \"" << want
                      << "\", native \"" << got << "\"";
      }
    }
  }
}

TEST(NativeCaseMapping, CapitalSigmaDependsOnItsNeighbours) {
  const std::vector<std::string> texts = {
      "Σ", "ΣΑ", "ΑΣ", "ΟΔΟΣ", "ΟΔΟΣ.", "ΣΑΣ ΣΑΣ", "ΑΣ\u0301", "Α\u0301Σ", "Α'Σ'", "1Σ", "ΑΣΑ", "Σ\u0301Α",
      "straße ΑΣ Ǆ İ ﬁ", "mixed ÀÉÎ ñ 日本 😀 Ωμέγα"};
  for (const std::string& t : texts) {
    EXPECT_EQ(native_case(t, false), icu_case(t, false)) << t;
    EXPECT_EQ(native_case(t, true), icu_case(t, true)) << t;
  }
}

TEST(NativeCaseMapping, InvalidBytesStayAsTheyAre) {
  // A lone continuation byte and a cut sequence are kept, never widened.
  EXPECT_EQ(native_case("a\x80" "b", true), "A\x80" "B");
  EXPECT_EQ(native_case("\xc3", false), "\xc3");
}
