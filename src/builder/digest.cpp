#include "builder/digest.h"

#include <cstdio>

namespace corvane::builder {

namespace {

// The finaliser of SplitMix64: spreads every input bit over the word.
unsigned long long mix(unsigned long long x) {
    x ^= x >> 30;
    x *= 0xbf58476d1ce4e5b9ULL;
    x ^= x >> 27;
    x *= 0x94d049bb133111ebULL;
    x ^= x >> 31;
    return x;
}

}  // namespace

Digest& Digest::add(std::string_view bytes) {
    for (unsigned char c : bytes) {
        a_ = (a_ ^ c) * 0x100000001b3ULL;                     // FNV-1a
        b_ = mix(b_ ^ (c + 0x100ULL * (++length_ & 0xff)));   // position-dependent second lane
    }
    return *this;
}

Digest& Digest::field(std::string_view text) {
    add(std::to_string(text.size()));
    add(std::string_view(":", 1));
    return add(text);
}

std::string Digest::hex() const {
    char text[33];
    std::snprintf(text, sizeof text, "%016llx%016llx", mix(a_ ^ length_), mix(b_ + a_));
    return text;
}

}  // namespace corvane::builder
