// The native runtime cache: reuse, damaged entries, concurrent builds and
// a cache folder that cannot be written.
#include "builder/runtime_cache.h"
#include "builder_support.h"
#include "native_compiler/native_compiler.h"
#include "vb6files/project_files.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;

using builder::cached_runtime_object;
using builder::runtime_cache_dir;
using builder::RuntimeSource;
using testing::BuilderTest;
using testing::names_in;
using testing::plain_project;
using testing::run_command;
using testing::tool_path;

RuntimeSource runtime_source(std::vector<std::string> extra = {}) {
    const fs::path dir = native_runtime_dir();
    RuntimeSource source{{"gcc"}, {"-std=c11", "-O2", "-w", "-I", dir.string(), "-DVB_NO_GC"}, dir};
    source.flags.insert(source.flags.end(), extra.begin(), extra.end());
    return source;
}

// Cache entries (folders not starting with a dot).
std::vector<std::string> entries() {
    std::vector<std::string> names;
    for (const std::string& name : names_in(runtime_cache_dir()))
        if (name[0] != '.') names.push_back(name);
    return names;
}

TEST_F(BuilderTest, CacheFolderFollowsXdgCacheHomeElseHome) {
    EXPECT_EQ(runtime_cache_dir(), dir / "cache" / "corvane" / "native-runtime");
    testing::ScopedEnv xdg("XDG_CACHE_HOME", std::nullopt);
    testing::ScopedEnv home("HOME", "/home/someone");
    EXPECT_EQ(runtime_cache_dir(), fs::path("/home/someone/.cache/corvane/native-runtime"));
}

TEST_F(BuilderTest, RuntimeIsCompiledOnceAndReusedPerCompilerAndFlags) {
    const auto first = cached_runtime_object(runtime_source());
    EXPECT_FALSE(first.reused);
    ASSERT_EQ(first.path.extension(), ".o");
    const auto stamp = fs::last_write_time(first.path);
    const auto second = cached_runtime_object(runtime_source());
    EXPECT_TRUE(second.reused);
    EXPECT_EQ(second.path, first.path);
    EXPECT_EQ(fs::last_write_time(second.path), stamp);
    // Other flags are another entry.
    const auto other = cached_runtime_object(runtime_source({"-DCORVANE_TEST_FLAG"}));
    EXPECT_FALSE(other.reused);
    EXPECT_NE(other.path, first.path);
    EXPECT_EQ(entries().size(), 2u);
    // A native build links the cached object and leaves no work folder behind.
    const fs::path exe = build_project(plain_project(), dir / "out", "native");
    EXPECT_TRUE(fs::is_regular_file(exe));
    EXPECT_EQ(names_in(dir / "out"), (std::vector<std::string>{"Demo", "Demo.native.c"}));
}

TEST_F(BuilderTest, DamagedEntriesAreRebuiltNeverTrusted) {
    const auto first = cached_runtime_object(runtime_source());
    const std::string good = testing::slurp(first.path);
    // Truncated, then same size with one byte changed, then missing manifest.
    const std::vector<std::function<void()>> damage = {
        [&] { fs::resize_file(first.path, good.size() / 2); },
        [&] {
            std::string bad = good;
            bad[bad.size() / 2] ^= 0x55;
            testing::write(first.path, bad);
        },
        [&] { fs::remove(first.path.parent_path() / "manifest"); },
    };
    for (const auto& spoil : damage) {
        spoil();
        const auto again = cached_runtime_object(runtime_source());
        EXPECT_FALSE(again.reused);
        EXPECT_EQ(testing::slurp(again.path), good);
        EXPECT_TRUE(cached_runtime_object(runtime_source()).reused);
    }
    EXPECT_EQ(entries().size(), 1u);
    EXPECT_EQ(names_in(runtime_cache_dir()).size(), 1u) << "a work or discarded folder was left";
}

TEST_F(BuilderTest, TwoBuildsAtOnceShareOneWholeEntry) {
    Project p = plain_project();
    const fs::path project = save_project(p, dir / "p" / "Demo.vbp");
    const std::string tool = tool_path("corvane-build");
    const std::string one = "'" + tool + "' '" + project.string() + "' -o '" + (dir / "a").string() + "'";
    const std::string two = "'" + tool + "' '" + project.string() + "' -o '" + (dir / "b").string() + "'";
    const auto r = run_command({"sh", "-c", one + " & p1=$!; " + two + " & p2=$!; wait $p1 && wait $p2"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(fs::is_regular_file(dir / "a" / "Demo"));
    EXPECT_TRUE(fs::is_regular_file(dir / "b" / "Demo"));
    const auto all = names_in(runtime_cache_dir());
    ASSERT_EQ(all.size(), 1u) << "a work or discarded folder was left";
    EXPECT_EQ(names_in(runtime_cache_dir() / all.front()), (std::vector<std::string>{"manifest", "vb_native.o"}));
}

TEST_F(BuilderTest, UnwritableCacheFallsBackToCompilingTheSource) {
    testing::write(dir / "file", "not a folder");
    testing::ScopedEnv xdg("XDG_CACHE_HOME", (dir / "file").string());
    const auto object = cached_runtime_object(runtime_source());
    EXPECT_FALSE(object.reused);
    EXPECT_EQ(object.path.filename(), "vb_native.c");
    EXPECT_TRUE(fs::is_regular_file(build_project(plain_project(), dir / "out", "native")));
}

}  // namespace
}  // namespace corvane
