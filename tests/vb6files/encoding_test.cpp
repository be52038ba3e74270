// Code pages: projects written on Western, Japanese and Chinese Windows
// open with their text decoded and save back byte for byte; stray bytes that
// Windows-1252 leaves undefined no longer reject a file.
#include <gtest/gtest.h>

#include "test_support.h"
#include "vb6files/code_page_detection.h"
#include "vb6files/code_pages.h"
#include "vb6files/project_files.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;
using testing::crlf_lines;
using testing::fixture;
using testing::read_bytes;
using testing::TempDir;
using testing::write_bytes;

// Saves the project into a fresh folder and expects every file to equal the
// fixture's file of the same name, byte for byte.
void expect_round_trip(Project project, const fs::path& fixture_dir) {
  TempDir out;
  save_project(project, out / "Project.vbp");
  size_t compared = 0;
  for (const fs::directory_entry& entry : fs::directory_iterator(fixture_dir)) {
    const fs::path written = out.path() / entry.path().filename();
    ASSERT_TRUE(fs::exists(written)) << written;
    EXPECT_EQ(read_bytes(written), read_bytes(entry.path())) << entry.path().filename();
    ++compared;
  }
  EXPECT_EQ(compared, 3u);
}

TEST(CodePages, ShiftJisProjectOpensAndRoundTripsByteForByte) {
  const Project project = load_project(fixture("shift_jis/Project.vbp"));
  EXPECT_EQ(project.code_page, "windows-932");
  EXPECT_EQ(project.name, "注文管理");
  ASSERT_EQ(project.forms.size(), 1u);
  EXPECT_EQ(project.forms[0].name, "frm注文");
  EXPECT_EQ(project.startup, "frm注文");
  EXPECT_EQ(project.forms[0].caption, "注文の表示");
  ASSERT_EQ(project.forms[0].controls.size(), 1u);
  EXPECT_EQ(project.forms[0].controls[0].name, "cmd表示");
  ASSERT_EQ(project.modules.size(), 1u);
  EXPECT_EQ(project.modules[0].name, "mod表示");  // 0x5C as the second byte of a character is no separator
  EXPECT_NE(project.modules[0].code.find("\"の表示です ― 予定表\""), std::string::npos);
  expect_round_trip(project, fixture("shift_jis"));
}

TEST(CodePages, GbkProjectOpensAndRoundTripsByteForByte) {
  const Project project = load_project(fixture("gbk/Project.vbp"));
  EXPECT_EQ(project.code_page, "windows-936");
  EXPECT_EQ(project.name, "订单管理");
  EXPECT_EQ(project.forms.at(0).caption, "订单窗体");
  EXPECT_EQ(project.forms.at(0).controls.at(0).caption, "显示(&S)");
  EXPECT_EQ(project.modules.at(0).name, "mod计算");
  expect_round_trip(project, fixture("gbk"));
}

TEST(CodePages, MemberFilesNamedInTheCodePageOnDiskAreFound) {
  // Copied from Windows without converting names: the file names on disk are
  // the Shift-JIS bytes themselves.
  TempDir dir;
  for (const fs::directory_entry& entry : fs::directory_iterator(fixture("shift_jis"))) {
    const std::string name = entry.path().filename().string();
    fs::copy_file(entry.path(), dir / encode_text(name, "windows-932"));
  }
  const Project project = load_project(dir / "Project.vbp");
  EXPECT_EQ(project.code_page, "windows-932");
  EXPECT_EQ(project.modules.at(0).name, "mod表示");
}

TEST(CodePages, WesternTextStaysWindows1252) {
  TempDir dir;
  write_bytes(dir / "A.frm", crlf_lines("VERSION 5.00", "Begin VB.Form A", "   Caption = \"Gr\xF6\xDF" "e und \xC4nderung\"",
                                        "End", "Private Sub Form_Load()", "    s = \"Caf\xE9 \x80 na\xEFve \x81\"", "End Sub"));
  const Project project = load_project(dir / "A.frm");
  EXPECT_EQ(project.code_page, "windows-1252");
  EXPECT_EQ(project.forms[0].caption, "Größe und Änderung");
  EXPECT_NE(project.forms[0].code.find("Café € naïve \u0081"), std::string::npos);
}

TEST(CodePages, Detection) {
  EXPECT_EQ(detect_code_page({"plain ASCII\r\n"}), "windows-1252");
  EXPECT_EQ(detect_code_page({"Caption = \"Caf\xC3\xA9\"\r\n"}), "utf-8");
  EXPECT_EQ(detect_code_page({"\xEF\xBB\xBFmarked \xE9\r\n", "ASCII"}), "windows-1252");  // the mark says UTF-8 already
  const std::string sjis = read_bytes(fixture("shift_jis/mod表示.bas"));
  EXPECT_EQ(detect_code_page({sjis}), "windows-932");
  // One file that is not valid Shift-JIS: Windows-1252, which keeps every byte.
  EXPECT_EQ(detect_code_page({sjis, "x = \"\x82\"\r\n"}), "windows-1252");
}

TEST(CodePages, EncodingReplacesWhatTheCodePageCannotHold) {
  EXPECT_EQ(encode_text("表示 é Ω", "windows-932"), "\x95\\\x8e\xa6 ? \x83\xb6");
  EXPECT_EQ(encode_text("显示 😀", "windows-936"), "\xcf\xd4\xca\xbe ?");
  EXPECT_EQ(encode_text("a\xFF" "b", "utf-8"), "a?b");
  EXPECT_FALSE(decode_exactly("\x82", "windows-932"));  // a lead byte without its trail byte
  // Control bytes that the converter moves come back as they were.
  for (const char* page : {"windows-932", "windows-936", "windows-949", "windows-950"}) {
    const std::string bytes("a\x7F\x1A\x1C\x00z", 6);
    EXPECT_EQ(encode_text(decode_text(bytes, page, "x.frm"), page), bytes) << page;
  }
  EXPECT_THROW(decode_text("\x82", "windows-932", "x.frm"), InvalidValueError);
}

}  // namespace
}  // namespace corvane
