// The builder without running built programs: the compatibility gate,
// naming, modes, missing tools and the command line.
#include <sys/stat.h>

#include "builder_support.h"
#include "compat/analyzer.h"
#include "vb6files/project_files.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;

using testing::build_error_of;
using testing::BuilderTest;
using testing::plain_project;
using testing::run_command;
using testing::ScopedEnv;
using testing::tool_path;
using testing::names_in;
using testing::write;

// A fake C compiler: answers the questions a build asks (version, library
// paths) like no installed library exists, and records every compile.
void write_fake_compiler(const fs::path& folder, const fs::path& log) {
    const fs::path cc = folder / "gcc";
    testing::write(cc, "#!/bin/sh\necho \"$*\" >> '" + log.string() +
                                        "'\ncase \"$1\" in -print-file-name=*) echo \"${1#-print-file-name=}\";; "
                                        "esac\nexit 0\n");
    fs::permissions(cc, fs::perms::owner_all);
}

TEST_F(BuilderTest, TheCompatibilityGateNamesTheFirstFindingAndCountsTheRestInEveryMode) {
    Project p = plain_project();
    p.modules.push_back({"Module1",
                         "Attribute VB_Name = \"Module1\"\n"
                         "Declare Function GetTickCount Lib \"kernel32\" () As Long\n"
                         "Declare Sub Sleep Lib \"kernel32\" (ByVal ms As Long)\n"
                         "Declare Function Beep2 Lib \"kernel32\" () As Long\n"});
    const auto found = analyze_project(p);
    ASSERT_EQ(found.size(), 3u);
    for (const std::string mode : {"native", "elf", "bundle", "nonsense"}) {
        const fs::path out = dir / mode;
        EXPECT_EQ(build_error_of([&] { build_project(p, out, mode); }),
                  "Unsupported VB6 dependencies: Module1.bas:2 \u2014 " + found.front().feature +
                      " (+2 more). Run corvane-compat on the project.")
            << mode;
        EXPECT_FALSE(fs::exists(out)) << mode;
    }
}

TEST_F(BuilderTest, ExecutableNamesFollowTheNamingRule) {
    EXPECT_EQ(executable_name("Hello World!"), "Hello_World");
    EXPECT_EQ(executable_name("a..b--c__d"), "a_b--c__d");
    EXPECT_EQ(executable_name("__x__"), "x");
    EXPECT_EQ(executable_name("\u00e9t\u00e9 2"), "t_2");
    EXPECT_EQ(executable_name("!!!"), "VBApplication");
    EXPECT_EQ(executable_name(""), "VBApplication");
}

TEST_F(BuilderTest, UnknownAndUnavailableModesFailBeforeAnythingIsWritten) {
    EXPECT_EQ(build_error_of([&] { build_project(plain_project(), dir / "a", "pyinstaller"); }),
              "Unknown mode. Select native, elf or bundle.");
    // A bundle without tar to pack its payload.
    ScopedEnv path("PATH", (dir / "empty").string());
    const std::string bundle = build_error_of([&] { build_project(plain_project(), dir / "b", "bundle"); });
    EXPECT_EQ(bundle, "Required build command missing: tar");
    EXPECT_TRUE(testing::names_in(dir / "b").empty());
}

TEST_F(BuilderTest, MissingCompilerFailsInEachModeNamingWhatToInstall) {
    ScopedEnv path("PATH", (dir / "empty").string());
    ScopedEnv cc("CC", std::nullopt);
    EXPECT_EQ(build_error_of([&] { build_project(plain_project(), dir / "out", "elf"); }),
              "Install gcc and tk8.6-dev to create an ELF executable.");
    EXPECT_EQ(build_error_of([&] { build_project(plain_project(), dir / "out", "native"); }),
              "Native compiler not installed. Install gcc and libx11-dev libsqlite3-dev.");
    EXPECT_FALSE(fs::exists(dir / "out" / "Demo"));
}

TEST_F(BuilderTest, ElfBuildChecksRuntimeAndTkBeforeCompiling) {
    const fs::path log = dir / "compiler.log";
    write_fake_compiler(dir / "bin", log);
    ScopedEnv path("PATH", (dir / "bin").string() + ":/usr/bin:/bin");
    {
        ScopedEnv home("CORVANE_HOME", (dir / "nowhere").string());
        EXPECT_EQ(build_error_of([&] { build_project(plain_project(), dir / "out", "elf"); }),
                  "Corvane runtime header corvane_runtime.h not found in " + (dir / "nowhere" / "include").string());
        write(dir / "nowhere" / "include" / "corvane_runtime.h", "");
        EXPECT_EQ(build_error_of([&] { build_project(plain_project(), dir / "out", "elf"); }),
                  "Corvane runtime library libcorvane-runtime.so not found in " + (dir / "nowhere" / "lib").string());
    }
    // The real runtime is found, but the compiler knows no Tk library.
    EXPECT_EQ(build_error_of([&] { build_project(plain_project(), dir / "out", "elf"); }),
              "Tk library libtk8.6.so not found. Install gcc and tk8.6-dev to create an ELF executable.");
    const std::string calls = testing::slurp(log);
    EXPECT_EQ(calls.find(".c "), std::string::npos) << "something was compiled: " << calls;
    EXPECT_FALSE(fs::exists(dir / "out" / "Demo"));
}

TEST_F(BuilderTest, ElfSourceCarriesTheProjectDataAsAnInertLiteral) {
    Project p = plain_project();
    p.forms.front().caption = "Quote \" backslash \\ trigraph ?" "?= newline\n */ #include <x> caf\u00e9";
    const std::string c = elf_source(p);
    EXPECT_NE(c.find("corvane_launch_payload(project_data, sizeof project_data - 1, argc, argv)"), std::string::npos);
    // Nothing of the project text can end the literal or the comment.
    EXPECT_EQ(c.find("*/ #include <x>"), std::string::npos);
    EXPECT_EQ(c.find(std::string("??") + "="), std::string::npos);
    EXPECT_EQ(c.find("caf\u00e9"), std::string::npos);
    for (unsigned char ch : c) EXPECT_LT(ch, 0x80);
}

TEST_F(BuilderTest, AFailedLinkLeavesNoExecutableButKeepsTheCFile) {
    // A compiler that compiles the runtime for real but writes half a
    // program and fails when it links.
    const fs::path cc = dir / "bin" / "halfcc";
    write(cc, "#!/bin/sh\nfor a; do case \"$a\" in -c|--version|-print-file-name=*) exec gcc \"$@\";; esac; done\n"
              "out=; prev=; for a; do [ \"$prev\" = -o ] && out=$a; prev=$a; done\n"
              "printf 'half' > \"$out\"; echo 'link failed' >&2; exit 1\n");
    fs::permissions(cc, fs::perms::owner_all);
    ScopedEnv env_cc("CC", cc.string());
    const fs::path out = dir / "out";
    const std::string message = build_error_of([&] { build_project(plain_project(), out, "native"); });
    EXPECT_EQ(message.rfind("Native C compilation failed:\n", 0), 0u) << message;
    EXPECT_EQ(names_in(out), std::vector<std::string>{"Demo.native.c"});
}

TEST_F(BuilderTest, CommandLineUsageOutputAndStatuses) {
    const fs::path project = dir / "p" / "Hello.vbp";
    Project p = plain_project("Hello World!");
    save_project(p, project);
    const std::string tool = tool_path("corvane-build");
    auto r = run_command({tool, project.string(), "--mode", "python"});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("--mode"), std::string::npos) << r.err;
    r = run_command({tool});
    EXPECT_EQ(r.status, 2);
    r = run_command({tool, (dir / "missing.vbp").string()});
    EXPECT_EQ(r.status, 1);
    EXPECT_FALSE(r.err.empty());
    r = run_command({tool, project.string(), "--mode", "bundle", "-o", (dir / "o").string()});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "Built: " + (dir / "o" / "Hello_World").string() + "\n");
    r = run_command({"env", "PATH=" + (dir / "empty").string(), tool, project.string(), "--mode", "bundle", "-o",
                     (dir / "o2").string()});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Required build command missing: tar\n");
    // The default mode is native and the default folder dist/ of the working folder.
    r = run_command({"sh", "-c", "cd '" + dir.string() + "' && '" + tool + "' p/Hello.vbp"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "Built: " + (dir / "dist" / "Hello_World").string() + "\n");
    struct stat st {};
    ASSERT_EQ(::stat((dir / "dist" / "Hello_World").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0755u);
    r = run_command({tool, project.string(), "--mode", "elf", "--name", "my app", "-o", (dir / "e").string()});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "Built: " + (dir / "e" / "my_app").string() + "\n");
}

}  // namespace
}  // namespace corvane
