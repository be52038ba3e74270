// Projects: loading a VB6 project with references, modules and classes,
// the errors of loading, saving and the module and class files.
#include <gtest/gtest.h>

#include "test_support.h"
#include "vb6files/project_files.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;
using testing::crlf_lines;
using testing::fixture;
using testing::read_bytes;
using testing::TempDir;
using testing::write_bytes;

template <typename Error>
std::string error_of(const fs::path& path) {
  try {
    load_project(path);
  } catch (const Error& e) {
    return e.what();
  }
  return "no error";
}

TEST(LoadProject, Vb6ProjectWithReferencesModulesAndClasses) {
  const Project project = load_project(fixture("legacy/Legacy.vbp"));
  EXPECT_EQ(project.name, "LegacyInventory");
  EXPECT_EQ(project.startup, "FRMMAIN");  // a matching startup keeps the letter case of the file
  ASSERT_EQ(project.forms.size(), 1u);
  EXPECT_EQ(project.forms[0].name, "frmMain");
  ASSERT_EQ(project.modules.size(), 1u);
  EXPECT_EQ(project.modules[0].name, "modUtil");  // from the file, not from the project's "Utilities"
  EXPECT_EQ(project.modules[0].code,
            "Attribute VB_Name = \"modUtil\"\r\nOption Explicit\r\n\r\nPublic Function Twice(ByVal n As Long) As "
            "Long\r\n    Twice = n * 2\r\nEnd Function\r\n");
  ASSERT_EQ(project.classes.size(), 1u);
  EXPECT_EQ(project.classes[0].name, "CItem");
  EXPECT_EQ(project.classes[0].code, "Option Explicit\n\nPublic Name As String\nPublic Quantity As Long\n");
  EXPECT_EQ(project.path, fs::canonical(fixture("legacy/Legacy.vbp")));
}

TEST(LoadProject, SavedAndReopenedProjectIsEqual) {
  TempDir dir;
  Project project = load_project(fixture("legacy/Legacy.vbp"));
  const fs::path vbp = save_project(project, dir / "copy" / "Legacy.vbp");
  const std::string text = read_bytes(vbp);
  EXPECT_EQ(text.find("Reference="), std::string::npos);
  EXPECT_EQ(text.find("Object="), std::string::npos);
  EXPECT_NE(text.find("Module=modUtil; modUtil.bas\r\nClass=CItem; CItem.cls\r\nStartup=\"FRMMAIN\"\r\n"),
            std::string::npos);
  Project reopened = load_project(vbp);
  EXPECT_EQ(reopened.path, vbp);
  project.path = vbp;
  EXPECT_EQ(reopened, project);
}

TEST(LoadProject, TitleAndVersionTravelWithTheProject) {
  // What App reports (title, executable, version) is read and written back.
  TempDir dir;
  write_bytes(dir / "frmMain.frm", "VERSION 5.00\r\nBegin VB.Form frmMain\r\n   Caption = \"Main\"\r\nEnd\r\n"
                                   "Attribute VB_Name = \"frmMain\"\r\n");
  write_bytes(dir / "Tool.vbp",
              "Type=Exe\r\nForm=frmMain.frm\r\nStartup=\"frmMain\"\r\nTitle=\"Stock Tool\"\r\nExeName32=\"stock.exe\"\r\n"
              "Name=\"Tool\"\r\nMajorVer=2\r\nMinorVer=5\r\nRevisionVer=17\r\nVersionCompanyName=\"Acme\"\r\n"
              "VersionProductName=\"Stock \"\"Pro\"\"\"\r\nVersionComments=\"\"\r\n");
  Project project = load_project(dir / "Tool.vbp");
  EXPECT_EQ(project.app.title, "Stock Tool");
  EXPECT_EQ(project.app.exe_name, "stock.exe");
  EXPECT_EQ(project.app.major, 2);
  EXPECT_EQ(project.app.minor, 5);
  EXPECT_EQ(project.app.revision, 17);
  EXPECT_EQ(project.app.product_name, "Stock \"Pro\"");
  const fs::path saved = save_project(project, dir / "copy" / "Tool.vbp");
  const std::string text = read_bytes(saved);
  for (const char* line : {"Title=\"Stock Tool\"\r\n", "ExeName32=\"stock.exe\"\r\n", "MajorVer=2\r\nMinorVer=5\r\nRevisionVer=17\r\n",
                           "VersionProductName=\"Stock \"\"Pro\"\"\"\r\n"})
    EXPECT_NE(text.find(line), std::string::npos) << line;
  EXPECT_EQ(text.find("VersionComments"), std::string::npos);  // empty descriptions stay out
  // The company line marks the file as this system's own.
  EXPECT_NE(text.find("VersionCompanyName=\"Corvane\"\r\n"), std::string::npos);
  EXPECT_EQ(load_project(saved).app, project.app);
  // A new project writes the lines it always wrote.
  const std::string fresh = project_file_text(Project::sample());
  EXPECT_NE(fresh.find("HelpFile=\"\"\nTitle=\"\"\nExeName32=\"\"\nCommand32=\"\"\nVersionCompanyName=\"Corvane\"\n"
                       "MajorVer=1\nMinorVer=0\nRevisionVer=0\n"),
            std::string::npos);
}

TEST(LoadProject, SingleFormHasNoPath) {
  const Project project = load_project(fixture("legacy/frmMain.frm"));
  EXPECT_EQ(project.name, "frmMain");
  EXPECT_EQ(project.startup, "frmMain");
  EXPECT_FALSE(project.path);
  EXPECT_TRUE(project.modules.empty());
  EXPECT_TRUE(project.classes.empty());
}

TEST(LoadProject, ExtensionsAreCaseInsensitive) {
  TempDir dir;
  fs::copy_file(fixture("legacy/frmMain.frm"), dir / "MAIN.FRM");
  write_bytes(dir / "P.VBP", "Form=MAIN.FRM\r\n");
  EXPECT_EQ(load_project(dir / "MAIN.FRM").forms.size(), 1u);
  EXPECT_EQ(load_project(dir / "P.VBP").forms.size(), 1u);
}

TEST(LoadProject, StartupFallsBackToTheFirstForm) {
  TempDir dir;
  write_bytes(dir / "A.frm", "Begin VB.Form A\r\nEnd\r\n");
  write_bytes(dir / "B.frm", "Begin VB.Form B\r\nEnd\r\n");
  for (std::string startup : {"Startup=\"Nowhere\"", "Startup=\"\"", ""}) {
    write_bytes(dir / "P.vbp", "Form=A.frm\nForm=B.frm\n" + startup + "\n");
    EXPECT_EQ(load_project(dir / "P.vbp").startup, "A") << startup;
  }
  write_bytes(dir / "P.vbp", "Form=A.frm\nForm=B.frm\nstartup = \"b\"\n");
  EXPECT_EQ(load_project(dir / "P.vbp").startup, "b");
  write_bytes(dir / "P.vbp", "Form=A.frm\nForm=B.frm\nStartup=\"sub main\"\n");
  EXPECT_EQ(load_project(dir / "P.vbp").startup, "Sub Main");  // the procedure Main starts the project
}

TEST(LoadProject, Errors) {
  TempDir dir;
  write_bytes(dir / "notes.txt", "x");
  EXPECT_EQ(error_of<InvalidValueError>(dir / "notes.txt"), "Open a VB6 .vbp or .frm file.");
  write_bytes(dir / "empty.vbp", "Type=Exe\r\nName=\"Empty\"\r\n");
  EXPECT_EQ(error_of<InvalidValueError>(dir / "empty.vbp"), "Project contains no VB6 forms.");
  write_bytes(dir / "missing.vbp", "Form=Forms\\Main.frm\r\n");
  EXPECT_EQ(error_of<FileNotFoundError>(dir / "missing.vbp"),
            "Form not found: " + (dir.path() / "Forms\\Main.frm").string());
  write_bytes(dir / "class.vbp", "Class=CThing; sub/../CThing.cls\r\n");
  EXPECT_EQ(error_of<FileNotFoundError>(dir / "class.vbp"), "Class not found: " + (dir / "CThing.cls").string());
  write_bytes(dir / "module.vbp", "Module=modX.bas\r\n");
  EXPECT_EQ(error_of<FileNotFoundError>(dir / "module.vbp"), "Module not found: " + (dir / "modX.bas").string());
  EXPECT_THROW(load_project(dir / "absent.vbp"), fs::filesystem_error);
  EXPECT_THROW(load_project(dir / "absent.frm"), fs::filesystem_error);
}

TEST(LoadProject, ComponentPathsResolveLinks) {
  TempDir dir;
  fs::create_directory(dir / "real");
  write_bytes(dir / "real" / "A.frm", "Begin VB.Form A\r\nEnd\r\n");
  fs::create_directory_symlink(dir / "real", dir / "link");
  write_bytes(dir / "P.vbp", "Form=link/A.frm\r\n");
  fs::create_symlink(dir / "P.vbp", dir / "alias.vbp");
  const Project project = load_project(dir / "alias.vbp");
  EXPECT_EQ(project.forms[0].name, "A");
  EXPECT_EQ(project.path, dir / "P.vbp");
}

TEST(LoadProject, MemberPathsResolveAsWindowsResolvesThem) {
  TempDir dir;
  for (const char* folder : {"Proj", "Proj/Forms", "Modules", "Proj/Classes"}) fs::create_directory(dir / folder);
  write_bytes(dir / "Proj/Forms/frmMain.frm", "Begin VB.Form frmMain\r\nEnd\r\n");
  write_bytes(dir / "Modules/modMain.bas", "Attribute VB_Name = \"modMain\"\r\n");
  write_bytes(dir / "Proj/Classes/clsOrder.cls", "Attribute VB_Name = \"clsOrder\"\r\n");
  write_bytes(dir / "Proj/AIP.BAS", "Attribute VB_Name = \"AIP\"\r\n");
  write_bytes(dir / "Proj/P.vbp", crlf_lines("Type=Exe", "Form=Forms\\frmMain.frm", "Module=modMain; ..\\Modules\\modMain.bas",
                                             "Class=clsOrder; CLASSES\\CLSORDER.CLS", "Module=AIP; AIP.bas",
                                             "Startup=\"frmMain\"", "", "[TaskList]", "Form=Ghost.frm"));
  const Project project = load_project(dir / "Proj/P.vbp");
  ASSERT_EQ(project.forms.size(), 1u);  // the section after the entries is not read
  EXPECT_EQ(project.forms[0].name, "frmMain");
  ASSERT_EQ(project.modules.size(), 2u);
  EXPECT_EQ(project.modules[0].name, "modMain");
  EXPECT_EQ(project.modules[1].name, "AIP");
  ASSERT_EQ(project.classes.size(), 1u);
  EXPECT_EQ(project.classes[0].name, "clsOrder");

  // Two files that differ only in case: neither is taken for a third spelling.
  write_bytes(dir / "Proj/util.bas", "Attribute VB_Name = \"u1\"\r\n");
  write_bytes(dir / "Proj/UTIL.bas", "Attribute VB_Name = \"u2\"\r\n");
  write_bytes(dir / "Proj/Q.vbp", "Form=Forms\\FRMMAIN.FRM\r\nModule=U; Util.bas\r\n");
  EXPECT_EQ(error_of<FileNotFoundError>(dir / "Proj/Q.vbp"), "Module not found: " + (dir / "Proj/Util.bas").string());
  write_bytes(dir / "Proj/Q.vbp", "Form=Forms\\FRMMAIN.FRM\r\nModule=U; UTIL.bas\r\n");
  EXPECT_EQ(load_project(dir / "Proj/Q.vbp").modules[0].name, "u2");  // the exact name wins
  write_bytes(dir / "Proj/Q.vbp", "Form=Nowhere\\frmMain.frm\r\n");
  EXPECT_EQ(error_of<FileNotFoundError>(dir / "Proj/Q.vbp"),
            "Form not found: " + (dir / "Proj/Nowhere\\frmMain.frm").string());
}

TEST(SaveProject, ExtensionAndFolders) {
  TempDir dir;
  Project project = Project::sample();
  const fs::path written = save_project(project, dir / "new" / "deeper" / "Hello.txt");
  EXPECT_EQ(written, dir / "new" / "deeper" / "Hello.vbp");
  EXPECT_TRUE(fs::is_regular_file(dir / "new" / "deeper" / "Form1.frm"));
  EXPECT_FALSE(fs::exists(dir / "new" / "deeper" / "Hello.txt"));
  project.forms[0].caption = "again";
  EXPECT_EQ(save_project(project), written);  // its own path
  EXPECT_EQ(load_project(written).forms[0].caption, "again");
  Project unsaved = Project::sample();
  EXPECT_THROW(save_project(unsaved), InvalidValueError);
}

TEST(SaveProject, LeavesFilesOfRemovedItemsAlone) {
  TempDir dir;
  Project project = Project::sample();
  project.modules.push_back(Module{"modOld"});
  save_project(project, dir / "P.vbp");
  project.modules.clear();
  save_project(project);
  EXPECT_TRUE(fs::exists(dir / "modOld.bas"));
  EXPECT_EQ(read_bytes(dir / "P.vbp").find("modOld"), std::string::npos);
}

TEST(SaveProject, NamesThatAreNotFileNamesAreRefused) {
  TempDir dir;
  for (std::string bad : {"../escape", "a/b", "..", ""}) {
    Project project = Project::sample();
    project.classes.push_back(ClassModule{bad});
    EXPECT_THROW(save_project(project, dir / "P.vbp"), InvalidValueError) << bad;
  }
  EXPECT_FALSE(fs::exists(dir.path().parent_path() / "escape.cls"));
}

TEST(ModuleFiles, AttributeLineWrittenOnceWithTheCurrentName) {
  TempDir dir;
  Module module = load_project(fixture("legacy/Legacy.vbp")).modules[0];
  module.name = "modRenamed";
  save_module(module, dir / "m.bas");
  EXPECT_EQ(read_bytes(dir / "m.bas"),
            crlf_lines("Attribute VB_Name = \"modRenamed\"", "Option Explicit", "",
                       "Public Function Twice(ByVal n As Long) As Long", "    Twice = n * 2", "End Function"));
  EXPECT_EQ(read_module(dir / "m.bas").name, "modRenamed");
}

TEST(ModuleFiles, NameFromFileWithoutAttributeAndOtherAttributesKept) {
  TempDir dir;
  write_bytes(dir / "Helpers.bas", "Attribute VB_Description = \"x\"\r\nSub A()\r\nEnd Sub\r\n");
  const Module module = read_module(dir / "Helpers.bas");
  EXPECT_EQ(module.name, "Helpers");
  EXPECT_EQ(module_file_text(module),
            "Attribute VB_Name = \"Helpers\"\nAttribute VB_Description = \"x\"\nSub A()\nEnd Sub\n");
  EXPECT_EQ(module_file_text(Module{"Module2"}), "Attribute VB_Name = \"Module2\"\nOption Explicit\n");
}

TEST(ClassFiles, HeaderAndBody) {
  const ClassModule cls{"CThing", "\n  Attribute VB_Exposed = True\nPublic X As Long\n\n"};
  EXPECT_EQ(class_file_text(cls),
            "VERSION 1.0 CLASS\nBEGIN\n  MultiUse = -1\nEND\nAttribute VB_Name = \"CThing\"\n"
            "Attribute VB_Creatable = True\nPublic X As Long\n");
  TempDir dir;
  save_class(cls, dir / "c.cls");
  const ClassModule back = read_class(dir / "c.cls");
  EXPECT_EQ(back.name, "CThing");
  EXPECT_EQ(back.code, "Public X As Long\n");
}

TEST(ClassFiles, WithoutNameAttributeTheHeaderStaysInTheCode) {
  TempDir dir;
  write_bytes(dir / "Loose.cls", "VERSION 1.0 CLASS\r\nBEGIN\r\nEND\r\nAttribute VB_Exposed = False\r\nDim x\r\n");
  const ClassModule cls = read_class(dir / "Loose.cls");
  EXPECT_EQ(cls.name, "Loose");
  EXPECT_EQ(cls.code, "VERSION 1.0 CLASS\nBEGIN\nEND\nDim x\n");
}

}  // namespace
}  // namespace corvane
