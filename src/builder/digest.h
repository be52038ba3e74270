#pragma once
// A 128-bit content digest (two independent 64-bit lanes) as 32 hex digits:
// names cache entries and checks that a stored file is whole. Not meant to
// resist a deliberate forgery, only accidents (truncation, stray bytes).
#include <string>
#include <string_view>

namespace corvane::builder {

class Digest {
public:
    Digest& add(std::string_view bytes);
    // Adds the text and a separator, so that ("ab","c") and ("a","bc") differ.
    Digest& field(std::string_view text);
    std::string hex() const;

private:
    unsigned long long a_ = 0xcbf29ce484222325ULL;  // FNV-1a offset basis
    unsigned long long b_ = 0x9e3779b97f4a7c15ULL;
    unsigned long long length_ = 0;
};

}  // namespace corvane::builder
