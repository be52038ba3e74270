// The settings file's rules, without a display.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "ide/settings.h"

namespace corvane::ide {
namespace {

namespace fs = std::filesystem;

TEST(DefaultGeometry, FollowsTheScreenWithinBounds) {
    EXPECT_EQ(default_geometry(1920, 1080), "1390x870");
    EXPECT_EQ(default_geometry(1024, 768), "970x673");
    EXPECT_EQ(default_geometry(800, 600), "970x610");
}

TEST(ValidatedGeometry, ClampsSizeAndPositionOntoTheScreen) {
    const std::string fallback = "1390x870";
    EXPECT_EQ(validated_geometry("2000x1500+10+10", fallback, 1920, 1080), "1920x1080+0+0");
    EXPECT_EQ(validated_geometry("1200x800+-50+-20", fallback, 1920, 1080), "1200x800+0+0");
    EXPECT_EQ(validated_geometry("1200x800+1500+900", fallback, 1920, 1080), "1200x800+720+280");
    EXPECT_EQ(validated_geometry("1200x800+100+50", fallback, 800, 600), "970x610+0+0");
    EXPECT_EQ(validated_geometry("10x10+5+5", fallback, 1920, 1080), "970x610+5+5");
}

TEST(ValidatedGeometry, AnythingButTheFullPatternGivesTheFallback) {
    const std::string fallback = "1390x870";
    for (const char* bad : {"", "1200x800", "1200x800+1", "1200x800+1+2+3", "axb+1+2", " 1200x800+1+2",
                            "1200x800+1+2\n", "1200X800+1+2", "-1200x800+1+2"})
        EXPECT_EQ(validated_geometry(bad, fallback, 1920, 1080), fallback) << bad;
    // Absurdly long numbers clamp instead of overflowing.
    EXPECT_EQ(validated_geometry("99999999999999999999999x800+99999999999999999999+0", fallback, 1920, 1080),
              "1920x800+0+0");
}

TEST(ValidatePanels, DropsEachBadValueAlone) {
    Settings panels = Settings::parse(
        R"({"left_width": 219, "right_width": 300.0, "output_height": true, "project_height": 200,
            "property_name_width": 1000, "extra": 5})");
    EXPECT_EQ(validate_panels(panels), Settings::parse(R"({"project_height": 200, "property_name_width": 1000})"));
    EXPECT_EQ(validate_panels(Settings::parse(R"({"left_width": 2500, "right_width": 290, "output_height": 65})")),
              Settings::parse(R"({"left_width": 2500, "right_width": 290, "output_height": 65})"));
    EXPECT_EQ(validate_panels(Settings::parse(R"({"left_width": 2501, "output_height": "100",
                                                 "right_width": 18446744073709551615})")),
              Settings::object());
    EXPECT_EQ(validate_panels(Settings::parse("[1, 2]")), Settings::object());
    EXPECT_EQ(validate_panels(Settings::parse("7")), Settings::object());
}

class SettingsFile : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("corvane-settings-" + std::to_string(::getpid()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }
    void write(const std::string& text) {
        fs::create_directories(file().parent_path());
        std::ofstream(file(), std::ios::binary) << text;
    }
    fs::path file() const { return dir_ / "corvane" / "settings.json"; }
    fs::path dir_;
};

TEST_F(SettingsFile, PathFollowsXdgConfigHomeAndTreatsEmptyAsUnset) {
    ::setenv("HOME", "/home/someone", 1);
    ::setenv("XDG_CONFIG_HOME", "/tmp/xdg", 1);
    EXPECT_EQ(settings_path(), fs::path("/tmp/xdg/corvane/settings.json"));
    ::setenv("XDG_CONFIG_HOME", "", 1);
    EXPECT_EQ(settings_path(), fs::path("/home/someone/.config/corvane/settings.json"));
    ::unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(settings_path(), fs::path("/home/someone/.config/corvane/settings.json"));
}

TEST_F(SettingsFile, UnreadableOrNonObjectContentReadsAsEmpty) {
    EXPECT_EQ(read_settings(file()), Settings::object());  // missing
    for (const char* text : {"", "{", "[1,2]", "\"text\"", "12", "null", "{\"a\": 1} trailing"}) {
        write(text);
        EXPECT_EQ(read_settings(file()), Settings::object()) << text;
    }
    write(R"({"geometry": "1200x800+0+0"})");
    EXPECT_EQ(read_settings(file())["geometry"], "1200x800+0+0");
}

TEST_F(SettingsFile, WriteKeepsUnknownKeysInOrderAndReplacesAtomically) {
    write(R"({"zeta": [1, 2], "geometry": "1x1+0+0", "alpha": {"b": true}})");
    Settings settings = read_settings(file());
    settings["geometry"] = "1200x800+3+4";
    settings["version"] = 2;
    ASSERT_TRUE(write_settings(file(), settings));
    std::ifstream in(file());
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_EQ(text.str(),
              "{\n  \"zeta\": [\n    1,\n    2\n  ],\n  \"geometry\": \"1200x800+3+4\",\n"
              "  \"alpha\": {\n    \"b\": true\n  },\n  \"version\": 2\n}\n");
    EXPECT_FALSE(fs::exists(file().parent_path() / "settings.tmp"));
}

TEST_F(SettingsFile, WriteCreatesTheMissingFolders) {
    const fs::path nested = dir_ / "a" / "b" / "corvane" / "settings.json";
    EXPECT_TRUE(write_settings(nested, Settings::object()));
    EXPECT_EQ(read_settings(nested), Settings::object());
    EXPECT_TRUE(fs::exists(nested));
}

// A folder that cannot be written: a file stands where it should be (this
// holds for root too, whom permission bits do not stop).
TEST_F(SettingsFile, AFileInPlaceOfTheFolderIsAFailureNotACrash) {
    std::ofstream(dir_ / "corvane") << "not a folder";
    EXPECT_FALSE(write_settings(file(), Settings::object()));
    EXPECT_FALSE(fs::exists(dir_ / "corvane" / "settings.tmp"));
}

}  // namespace
}  // namespace corvane::ide
