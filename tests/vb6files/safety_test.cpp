// Saving never leaves a half-written file, and hostile files never crash or
// hang the readers.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <climits>
#include <csignal>
#include <random>

#include "test_support.h"
#include "vb6files/codec.h"
#include "vb6files/project_files.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;
using testing::read_bytes;
using testing::TempDir;
using testing::write_bytes;

size_t entries_in(const fs::path& folder) {
  return static_cast<size_t>(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

// Limits the size of files this process may write, as a full disk would.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    previous_handler_ = std::signal(SIGXFSZ, SIG_IGN);
    getrlimit(RLIMIT_FSIZE, &previous_);
    rlimit limit = previous_;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &previous_);
    std::signal(SIGXFSZ, previous_handler_);
  }

 private:
  rlimit previous_{};
  void (*previous_handler_)(int) = nullptr;
};

TEST(AtomicWrite, ReplacesContentsAndKeepsPermissions) {
  TempDir dir;
  write_bytes(dir / "a.bas", "old");
  fs::permissions(dir / "a.bas", fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  write_text(dir / "a.bas", "new\nline\r\nlone\rcr");
  EXPECT_EQ(read_bytes(dir / "a.bas"), "new\r\nline\r\nlone\rcr");
  EXPECT_EQ(fs::status(dir / "a.bas").permissions(),
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  EXPECT_EQ(entries_in(dir.path()), 1u);
}

TEST(AtomicWrite, FailedWriteLeavesTheOldFileAndNoTemporaryFile) {
  TempDir dir;
  const std::string old_contents = "Attribute VB_Name = \"Keep\"\r\n";
  write_bytes(dir / "Keep.bas", old_contents);
  {
    FileSizeLimit limit(64);
    EXPECT_THROW(write_text(dir / "Keep.bas", std::string(10000, 'x')), fs::filesystem_error);
  }
  EXPECT_EQ(read_bytes(dir / "Keep.bas"), old_contents);
  EXPECT_EQ(entries_in(dir.path()), 1u);
}

TEST(AtomicWrite, TargetThatIsAFolderOrInAMissingFolder) {
  TempDir dir;
  fs::create_directory(dir / "Form1.frm");
  write_bytes(dir / "Form1.frm" / "inside", "x");
  EXPECT_THROW(write_text(dir / "Form1.frm", "text"), fs::filesystem_error);
  EXPECT_EQ(read_bytes(dir / "Form1.frm" / "inside"), "x");
  EXPECT_EQ(entries_in(dir.path()), 1u);
  try {
    write_text(dir / "nowhere" / "x.frm", "text");
    FAIL();
  } catch (const fs::filesystem_error& e) {
    EXPECT_EQ(e.path1(), dir / "nowhere" / "x.frm");
  }
}

TEST(AtomicWrite, LongestFileNames) {
  TempDir dir;
  const fs::path target = dir / (std::string(251, 'x') + ".frm");
  write_text(target, "text");
  EXPECT_EQ(read_bytes(target), "text");
  EXPECT_EQ(entries_in(dir.path()), 1u);
}

TEST(AtomicWrite, WritesThroughASymbolicLink) {
  TempDir dir;
  fs::create_directory(dir / "real");
  write_bytes(dir / "real" / "m.bas", "old");
  fs::create_symlink(dir / "real" / "m.bas", dir / "link.bas");
  write_text(dir / "link.bas", "new");
  EXPECT_TRUE(fs::is_symlink(dir / "link.bas"));
  EXPECT_EQ(read_bytes(dir / "real" / "m.bas"), "new");
}

TEST(AtomicWrite, FailedProjectSaveKeepsTheOldProjectFileAndPath) {
  TempDir dir;
  Project project = Project::sample();
  const fs::path vbp = save_project(project, dir / "P.vbp");
  const std::string old_vbp = read_bytes(vbp);
  project.forms.push_back(VBForm{});
  project.forms.back().name = "Form2";
  fs::create_directory(dir / "Form2.frm");
  project.forms.front().caption = "changed";
  EXPECT_THROW(save_project(project, dir / "Other.vbp"), fs::filesystem_error);
  EXPECT_EQ(project.path, vbp);
  EXPECT_FALSE(fs::exists(dir / "Other.vbp"));
  EXPECT_EQ(read_bytes(vbp), old_vbp);
  EXPECT_EQ(read_form(dir / "Form1.frm").caption, "changed");  // files before the failure stay written
}

std::string repeat(std::string_view text, size_t count) {
  std::string out;
  out.reserve(text.size() * count);
  for (size_t i = 0; i < count; ++i) out += text;
  return out;
}

TEST(HostileForms, BinaryGarbage) {
  std::mt19937 random(12345);
  size_t decoded = 0;
  for (int round = 0; round < 300; ++round) {
    std::string bytes(random() % 4000, '\0');
    for (char& b : bytes) b = static_cast<char>(random() % 256);
    if (round % 3 == 0) bytes = "Begin VB.Form F\r\n" + bytes;
    try {
      const VBForm form = read_form_text(decode_windows_1252(bytes), "G.frm");
      EXPECT_FALSE(form.code.empty());
      ++decoded;
    } catch (const InvalidValueError&) {
    }
  }
  EXPECT_GT(decoded, 0u);
}

TEST(HostileForms, UnterminatedQuotesAndMissingEnds) {
  const VBForm form = read_form_text(
      "Begin VB.Form F\nCaption = \"never closed\nBegin VB.Label L\nCaption = \"\nBegin VB.TextBox T\nText = \"a\"\"b",
      "H.frm");
  EXPECT_EQ(form.caption, "");
  ASSERT_EQ(form.controls.size(), 2u);
  EXPECT_EQ(form.controls[0].caption, "");
  EXPECT_EQ(form.controls[1].text, "a\"");  // the text up to the last quote
  EXPECT_EQ(form.code, "Option Explicit\n");
}

TEST(HostileForms, LongLinesReadInLinearTime) {
  const std::string dots = "Begin " + repeat("a.", 200000) + "\n";
  const VBForm form = read_form_text("Begin VB.Form F\n" + repeat(dots, 20) + "Begin VB.Label L\nEnd\n", "L.frm");
  EXPECT_EQ(form.controls.size(), 1u);
  const VBForm skipped = read_form_text(
      "Begin VB.Form F\nBegin " + repeat("a.", 200000) + " x\nCaption = \"no\"\nEnd\nCaption = \"yes\"\nEnd\n", "L.frm");
  EXPECT_EQ(skipped.caption, "yes");
}

TEST(HostileForms, EnormousNumbersClampOrFallBack) {
  const VBForm form = read_form_text(
      "Begin VB.Form F\nClientWidth = 99999999999999999\nClientHeight = -1e18\n"
      "Begin VB.Label L\nLeft = 9e18\nTop = 99999999999999999999999\nWidth = -9e18\nTabIndex = 1e300\n"
      "Value = &HFFFFFFFFFF\nInterval = -99999999999\nBeginProperty Font\nSize = 1e300\nEndProperty\nEnd\nEnd\n",
      "N.frm");
  EXPECT_EQ(form.width, INT_MAX);
  EXPECT_EQ(form.height, INT_MIN);
  const Control& c = form.controls.at(0);
  EXPECT_EQ(c.left, INT_MAX);
  EXPECT_EQ(c.top, 0);  // beyond 64 bits: the default
  EXPECT_EQ(c.width, INT_MIN);
  EXPECT_EQ(c.tab_index, 0);
  EXPECT_EQ(c.value, INT_MAX);
  EXPECT_EQ(c.interval, INT_MIN);
  EXPECT_EQ(c.font_size, INT_MAX);
  const std::string written = form_file_text(form);  // 64-bit twips: no overflow
  EXPECT_NE(written.find("ClientWidth     =   32212254705\n"), std::string::npos);
  const VBForm back = read_form_text(written, "N.frm");
  EXPECT_EQ(back.width, INT_MAX);
  EXPECT_EQ(back.height, INT_MIN);
  EXPECT_EQ(back.controls.at(0).left, INT_MAX);
  EXPECT_EQ(back.controls.at(0).width, INT_MIN);
  EXPECT_EQ(back.controls.at(0).font_size, INT_MAX);
}

TEST(HostileForms, ThousandsOfNestedBlocks) {
  const size_t depth = 200000;
  const VBForm skipped = read_form_text("Begin VB.Form F\n" + repeat("Begin Foo.Bar X\nLeft = 1\n", depth) +
                                            "Begin VB.Label Deep\nEnd\n" + repeat("End\n", depth + 1) +
                                            "Sub Main()\nEnd Sub\n",
                                        "D.frm");
  ASSERT_EQ(skipped.controls.size(), 1u);
  EXPECT_EQ(skipped.controls[0].name, "Deep");
  EXPECT_EQ(skipped.code, "Sub Main()\nEnd Sub\n");

  const VBForm frames = read_form_text("Begin VB.Form F\n" + repeat("Begin VB.Frame Fr\n", 50000), "D.frm");
  EXPECT_EQ(frames.controls.size(), 50000u);

  const VBForm properties = read_form_text(repeat("BeginProperty Font\n", 100000) + "End\n", "D.frm");
  EXPECT_EQ(properties.code, "Option Explicit\n");
}

TEST(HostileForms, MenuNestingIsLimited) {
  const auto nested = [](size_t depth) {
    return "Begin VB.Form F\n" + repeat("Begin VB.Menu m\n", depth) + repeat("End\n", depth + 1);
  };
  VBForm deepest = read_form_text(nested(MAX_MENU_DEPTH), "M.frm");
  size_t levels = 0;
  for (const MenuItem* m = &deepest.menus.at(0); m; m = m->children.empty() ? nullptr : &m->children[0]) ++levels;
  EXPECT_EQ(levels, MAX_MENU_DEPTH);
  try {
    read_form_text(nested(MAX_MENU_DEPTH + 1), "/p/M.frm");
    FAIL();
  } catch (const InvalidValueError& e) {
    EXPECT_STREQ(e.what(), "Menus are nested more than 100 levels deep in /p/M.frm.");
  }
  // Menus inside skipped blocks start again at the top level.
  const VBForm reset = read_form_text(
      "Begin VB.Form F\nBegin VB.Menu a\nBegin X.Y s\nBegin VB.Menu b\nEnd\nEnd\nBegin VB.Menu c\nEnd\nEnd\nEnd\n",
      "M.frm");
  ASSERT_EQ(reset.menus.size(), 2u);
  EXPECT_EQ(reset.menus[1].name, "b");
  EXPECT_EQ(reset.menus[0].children.at(0).name, "c");
}

TEST(HostileProjects, FormEntriesPointingAtFoldersOrTheProjectItself) {
  TempDir dir;
  fs::create_directory(dir / "Sub.frm");
  write_bytes(dir / "folder.vbp", "Form=Sub.frm\r\n");
  try {
    load_project(dir / "folder.vbp");
    FAIL();
  } catch (const FileNotFoundError& e) {
    EXPECT_EQ(std::string(e.what()), "Form not found: " + (dir / "Sub.frm").string());
  }
  write_bytes(dir / "dot.vbp", "Form=.\r\nForm=\r\n");
  EXPECT_THROW(load_project(dir / "dot.vbp"), FileNotFoundError);
  write_bytes(dir / "self.vbp", "Form=self.vbp\r\nModule=M; self.vbp\r\nClass=C; self.vbp\r\n");
  const Project self = load_project(dir / "self.vbp");
  EXPECT_EQ(self.forms.at(0).name, "self");
  EXPECT_EQ(self.modules.at(0).name, "self");
  EXPECT_EQ(self.classes.at(0).name, "self");
  write_bytes(dir / "nul.vbp", std::string("Form=self.vbp\0junk\r\n", 20));
  EXPECT_THROW(load_project(dir / "nul.vbp"), FileNotFoundError);
  fs::create_directory(dir / "P.vbp");
  EXPECT_THROW(load_project(dir / "P.vbp"), fs::filesystem_error);
}

TEST(HostileProjects, BadEncodingIsAnInvalidValue) {
  TempDir dir;
  write_bytes(dir / "A.frm", "Begin VB.Form A\r\nCaption = \"\x81\"\r\nEnd\r\n");
  write_bytes(dir / "B.frm", "\xEF\xBB\xBF" "Begin VB.Form B\r\nCaption = \"\xE9\"\r\nEnd\r\n");
  EXPECT_EQ(load_project(dir / "A.frm").forms[0].caption, "\u0081");  // a byte Windows-1252 leaves undefined
  EXPECT_THROW(load_project(dir / "B.frm"), InvalidValueError);
  write_bytes(dir / "C.frm", "\xEF\xBB\xBF" "Begin VB.Form C\r\nCaption = \"\xC3\xA9\"\r\nEnd\r\n");
  EXPECT_EQ(load_project(dir / "C.frm").forms[0].caption, "é");
}

}  // namespace
}  // namespace corvane
