#pragma once
// The per-user cache of the compiled native runtime library.
//
// Compiling vb_native.c takes most of a native build, and its result
// depends only on the compiler, the compiler's version, the flags and the
// runtime sources. Each such combination is one entry: a folder named by
// the digest of those inputs holding vb_native.o and a manifest with the
// object's size and digest. An entry is made in a private folder and renamed
// into place whole, so a build never sees half of one; an entry whose object
// does not match its manifest is thrown away and compiled again.
#include <filesystem>
#include <string>
#include <vector>

namespace corvane::builder {

// $XDG_CACHE_HOME/corvane/native-runtime, else ~/.cache/corvane/native-runtime.
std::filesystem::path runtime_cache_dir();

struct RuntimeSource {
    std::vector<std::string> compiler;  // the compiler's words
    std::vector<std::string> flags;     // options for compiling vb_native.c
    std::filesystem::path source_dir;   // holds vb_native.c and vb_native.h
};

struct RuntimeObject {
    std::filesystem::path path;  // what to link: the cached object, or the source when no cache can be kept
    bool reused = false;         // true when a stored entry served
};

// The compiled runtime for these inputs, from the cache or compiled now and
// stored. A cache folder that cannot be made gives the source itself (the
// build then compiles it as part of the program). Throws BuildError when the
// runtime does not compile.
RuntimeObject cached_runtime_object(const RuntimeSource& source);

}  // namespace corvane::builder
