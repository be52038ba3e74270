// The builder's build tools: a failing or missing tool is a build error.
#include "builder/process.h"

#include "builder/builder.h"

namespace corvane::builder {

namespace {

// How much of a failing tool's output a message keeps.
constexpr size_t FAILURE_TAIL = 4000;

std::string tail(const std::string& text, size_t n) { return text.size() > n ? text.substr(text.size() - n) : text; }

}  // namespace

std::vector<std::string> shell_words(std::string_view text) {
    std::optional<std::vector<std::string>> words = corvane::shell_words(text);
    if (!words) throw BuildError("No closing quotation in: " + std::string(text));
    return std::move(*words);
}

ProcessResult command(const std::vector<std::string>& argv) {
    ProcessResult r = run_process(argv);
    if (!r.started) throw BuildError("Required build command missing: " + (argv.empty() ? std::string() : argv[0]));
    if (r.status != 0) throw BuildError("Build failed: " + tail(r.err.empty() ? r.out : r.err, FAILURE_TAIL));
    return r;
}

}  // namespace corvane::builder
