// Shared helpers of the Tk layer tests.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "tk/interp.h"

namespace corvane::tk::testing {

// A file that a successful injection would create.
inline std::filesystem::path probe_path() {
    return std::filesystem::temp_directory_path() /
           ("corvane_tk_probe_" + std::to_string(::getpid()));
}

// Texts that would run something or break a script if spliced into one.
inline std::vector<std::string> hostile_texts() {
    return {
        "[exec touch " + probe_path().string() + "]",
        "$env(HOME)",
        "{",
        "}",
        "\\",
        "a\\nb\\",
        "\"quoted\" and 'single'",
        "line one\nline two\r\n",
        "; exec touch " + probe_path().string(),
        "emoji \xF0\x9F\x98\x80 clef \xF0\x9D\x84\x9E end",
        std::string("nul\0inside", 10),
        "-text",
        "",
        "   spaces   ",
        "{unbalanced [ and $",
    };
}

// An interpreter per test, with error reports collected.
class InterpTest : public ::testing::Test {
protected:
    explicit InterpTest(bool with_tk = false) {
        std::filesystem::remove(probe_path());
        InterpOptions options;
        options.with_tk = with_tk;
        options.withdraw_root = true;
        interp = std::make_unique<Interp>(options);
        interp->set_error_handler([this](const std::string& message) { reports.push_back(message); });
    }
    ~InterpTest() override {
        interp.reset();
        EXPECT_FALSE(std::filesystem::exists(probe_path())) << "a hostile text ran a command";
        std::filesystem::remove(probe_path());
    }

    std::unique_ptr<Interp> interp;
    std::vector<std::string> reports;
};

}  // namespace corvane::tk::testing
