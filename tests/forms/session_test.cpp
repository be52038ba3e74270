// The application session: lazy loading, Show/Hide/Unload, shared and
// per-form variables, and the end of the run.
#include "forms_fixture.h"

namespace corvane::testing {
namespace {

using SessionTest = FormsTest;

TEST_F(SessionTest, FormsLoadLazilyAndActivateOnEveryShow) {
  add_form("Form1", "Sub Command1_Click()\nForm2.Show\nEnd Sub\n", {{"CommandButton", "Command1"}});
  add_form("Form2", "Sub Form_Load()\nDebug.Print \"Load2\"\nEnd Sub\nSub Form_Activate()\nDebug.Print \"Act2\"\nEnd Sub\n");
  add_form("Form3", loggers({"Form_Activate"}));
  auto session = start_session("Form1");
  EXPECT_EQ(session->previews.size(), 1u);
  EXPECT_EQ(count("Load2"), 0);
  // Caption set before the form is ever loaded becomes its title.
  run(*host_->preview, "Form2.Caption = \"Second\"");
  tcl({host_->preview->widget_of("Command1"), "invoke"});
  tcl({host_->preview->widget_of("Command1"), "invoke"});
  EXPECT_EQ(count("Load2"), 1);
  EXPECT_EQ(count("Act2"), 2);
  auto form2 = session->preview("form2");
  ASSERT_TRUE(form2);
  EXPECT_EQ(tcl({"wm", "title", form2->window}), "Second");
  EXPECT_EQ(tcl({"wm", "state", form2->window}), "normal");
  EXPECT_EQ(eval(*host_->preview, "Form2.Visible"), "True");
  run(*form2, "Me.Caption = \"Renamed\"");
  EXPECT_EQ(tcl({"wm", "title", form2->window}), "Renamed");
  run(*host_->preview, "Form2.Hide");
  EXPECT_EQ(tcl({"wm", "state", form2->window}), "withdrawn");
  EXPECT_EQ(eval(*host_->preview, "Form2.Visible"), "False");
  // Load keeps a form hidden.
  run(*host_->preview, "Load Form3");
  ASSERT_TRUE(session->preview("Form3"));
  EXPECT_EQ(tcl({"wm", "state", session->preview("Form3")->window}), "withdrawn");
  EXPECT_EQ(count("Form_Activate"), 0);
}

TEST_F(SessionTest, ModuleVariablesAreSharedAndFormVariablesAreNot) {
  add_form("Form1", "Dim count\nSub Bump()\ncount = count + 1\nshared = shared + 10\nEnd Sub\n");
  add_form("Form2", "Dim count\nSub Bump()\ncount = count + 5\nshared = shared + 1\nEnd Sub\n");
  host_->project_.modules.push_back({"Module1", "Public shared\nPublic Function Twice(x)\nTwice = x * 2\nEnd Function\n"});
  auto session = start_session("Form1");
  auto form2 = session->show("Form2");
  run(*host_->preview, "Bump");
  run(*form2, "Bump");
  run(*form2, "Bump");
  EXPECT_EQ(eval(*host_->preview, "count"), "1");
  EXPECT_EQ(eval(*form2, "count"), "10");
  EXPECT_EQ(eval(*host_->preview, "shared"), "12");
  EXPECT_EQ(eval(*form2, "Twice(shared)"), "24");
}

TEST_F(SessionTest, ClassInstancesReachTheModulesVariablesAndProcedures) {
  // An instance made in a form's code calls the modules' procedures and
  // shares their variables with the forms; its own procedures win.
  add_form("Form1", "Sub Go()\nDim t As New Tally\nt.Add 3\nt.Add 4\nDebug.Print t.Show() & \" \" & total\nEnd Sub\n");
  host_->project_.modules.push_back(
      {"Module1", "Public total\nPublic Const STEP_SIZE = 10\nSub Record(n)\ntotal = total + n\nEnd Sub\n"
                  "Function Show()\nShow = \"module\"\nEnd Function\nFunction Twice(x)\nTwice = 2 * x\nEnd Function\n"});
  host_->project_.classes.push_back(
      {"Tally", "Public Sub Add(n)\nRecord Twice(n) + STEP_SIZE\nEnd Sub\nPublic Function Show()\nShow = \"class \" & total\nEnd Function\n"});
  auto session = start_session("Form1");
  run(*host_->preview, "Go");
  EXPECT_EQ(logs().back(), "class 34 34");
}

TEST_F(SessionTest, PrivateModuleNamesStayApartWhenFormsCallTheModules) {
  add_form("Form1", "Sub Go()\nBumpA\nBumpB\nBumpB\nDebug.Print ReadA() & \" \" & ReadB()\nEnd Sub\n");
  host_->project_.modules.push_back(
      {"ModA", "Private n\nSub BumpA()\nn = n + 1\nEnd Sub\nFunction ReadA()\nReadA = n\nEnd Function\n"});
  host_->project_.modules.push_back(
      {"ModB", "Private n\nSub BumpB()\nn = n + 10\nEnd Sub\nFunction ReadB()\nReadB = n\nEnd Function\n"});
  auto session = start_session("Form1");
  run(*host_->preview, "Go");
  run(*host_->preview, "Go");
  EXPECT_EQ(count("1 20"), 1);
  EXPECT_EQ(count("2 40"), 1);
}

TEST_F(SessionTest, AppReportsTheProjectsTitleExecutableAndVersion) {
  add_form("Form1", "");
  host_->project_.name = "Stock";
  host_->project_.app.title = "Stock Keeper";
  host_->project_.app.major = 2;
  host_->project_.app.revision = 31;
  start_session("Form1");
  // (no executable name given: the project's name)
  EXPECT_EQ(eval(*host_->preview, "App.Title & \"|\" & App.EXEName & \"|\" & App.Major & \".\" & App.Minor & \".\" & "
                                  "App.Revision & \"|\" & App.CompanyName"),
            "Stock Keeper|Stock|2.0.31|");
  host_->project_.app.exe_name = "stockkeep.exe";
  describe_app(*host_->preview->runtime->app, host_->project_);
  EXPECT_EQ(eval(*host_->preview, "App.EXEName"), "stockkeep");
}

TEST_F(SessionTest, UnknownFormFailsTheStatement) {
  add_form("Form1", "");
  start_session("Form1");
  for (const char* s : {"Load Form9", "Unload Form9"}) {
    try {
      run(*host_->preview, s);
      ADD_FAILURE() << s;
    } catch (const VBError& e) {
      EXPECT_STREQ(e.what(), "Unknown form: Form9");
    }
  }
  try {
    host_->session->show("Form9");
    ADD_FAILURE();
  } catch (const VBError& e) {
    EXPECT_STREQ(e.what(), "Unknown form: Form9");
  }
}

TEST_F(SessionTest, ShowAndHideOfAnUnknownFormReachTheSession) {
  add_form("Form1",
           "Sub TryShow()\nForm9.Show\nEnd Sub\n"
           "Sub TryHide()\nform9.Hide\nEnd Sub\n"
           "Sub Trapped()\nOn Error Resume Next\nForm9.Show 1\nDebug.Print \"after \" & Err.Description\nEnd Sub\n");
  add_form("Form2", "Option Explicit\nSub TryShow()\nForm9.Show\nEnd Sub\n");
  auto session = start_session("Form1");
  auto form2 = session->show("Form2");
  for (const auto& [preview, statement] :
       std::vector<std::pair<Preview*, std::string>>{{host_->preview.get(), "TryShow"},
                                                     {host_->preview.get(), "TryHide"},
                                                     {form2.get(), "TryShow"},
                                                     {host_->preview.get(), "Form9.Show"}}) {
    try {
      run(*preview, statement);
      ADD_FAILURE() << statement;
    } catch (const VBError& e) {
      // the name as the statement writes it
      EXPECT_EQ(e.what(), std::string("Unknown form: ") + (statement == "TryHide" ? "form9" : "Form9")) << statement;
    }
  }
  run(*host_->preview, "Trapped");
  EXPECT_EQ(count("after Unknown form: Form9"), 1);
  EXPECT_EQ(session->previews.size(), 2u);
  // Known forms and variables holding objects keep their own statements.
  run(*host_->preview, "Form2.Hide");
  EXPECT_EQ(eval(*host_->preview, "Form2.Visible"), "False");
  run(*host_->preview, "Form2.Show");
  EXPECT_EQ(eval(*host_->preview, "Form2.Visible"), "True");
  try {
    run(*host_->preview, "Form9.Move 1");
    ADD_FAILURE();
  } catch (const VBError& e) {
    EXPECT_STRNE(e.what(), "Unknown form: Form9");
  }
}

TEST_F(SessionTest, HiddenFormsKeepTheRunGoingUntilTheLastUnloads) {
  add_form("Form1", "");
  add_form("Form2", "");
  auto session = start_session("Form1");
  auto form1 = host_->preview;
  auto form2 = session->show("Form2");
  run(*form1, "Form1.Hide");
  form2->close();
  EXPECT_TRUE(host_->statuses.empty());
  EXPECT_TRUE(host_->session);
  run(*form1, "Unload Form1");
  EXPECT_EQ(host_->statuses, (std::vector<std::string>{"Program stopped"}));
  EXPECT_FALSE(host_->session);
  EXPECT_FALSE(host_->preview);
}

TEST_F(SessionTest, EndClosesEveryFormOnce) {
  add_form("Form1", "Sub Command1_Click()\nEnd\nEnd Sub\n" + loggers({"Form_Unload"}),
           {{"CommandButton", "Command1"}});
  add_form("Form2", "Sub Form_Unload()\nDebug.Print \"Unload2\"\nEnd Sub\n");
  auto session = start_session("Form1");
  auto form1 = host_->preview;
  session->show("Form2");
  tcl({form1->widget_of("Command1"), "invoke"});
  EXPECT_EQ(count("Form_Unload"), 1);
  EXPECT_EQ(count("Unload2"), 1);
  EXPECT_EQ(host_->statuses, (std::vector<std::string>{"Program stopped"}));
  EXPECT_TRUE(session->previews.empty());
  EXPECT_TRUE(form1->closed);
  session->stop();
  EXPECT_EQ(host_->statuses.size(), 1u);
}

TEST_F(SessionTest, AFormShowingItselfDuringLoadIsLoadedOnce) {
  add_form("Form1", "");
  add_form("Form2",
           "Sub Form_Load()\nDebug.Print \"Load2\"\nMe.Show\nForm2.Visible = True\nEnd Sub\n" + loggers({"Form_Activate"}));
  add_form("Form3", "Sub Form_Load()\nUnload Me\nEnd Sub\n" + loggers({"Form_Unload"}));
  auto session = start_session("Form1");
  run(*host_->preview, "Load Form2");
  EXPECT_EQ(count("Load2"), 1);
  EXPECT_EQ(count("Form_Activate"), 1);
  ASSERT_TRUE(session->preview("Form2"));
  EXPECT_EQ(tcl({"wm", "state", session->preview("Form2")->window}), "normal");
  run(*host_->preview, "Form3.Show");
  EXPECT_EQ(count("Form_Unload"), 1);
  EXPECT_FALSE(session->preview("Form3"));
  EXPECT_TRUE(host_->statuses.empty());
}

TEST_F(SessionTest, ScanningErrorsReachTheCaller) {
  add_form("Form1", "Sub Broken()\n");
  host_->session = ApplicationSession::create(*host_);
  const std::string before = tcl({"winfo", "children", "."});
  try {
    host_->session->show("Form1");
    ADD_FAILURE();
  } catch (const VBError& e) {
    EXPECT_STREQ(e.what(), "No End Sub for Broken");
  }
  EXPECT_EQ(tcl({"winfo", "children", "."}), before);
}

TEST_F(SessionTest, ScreenAndClipboardObjects) {
  add_form("Form1", "");
  start_session("Form1");
  Preview& p = *host_->preview;
  EXPECT_EQ(eval(p, "Screen.TwipsPerPixelX"), "15");
  EXPECT_EQ(eval(p, "Screen.Width"), std::to_string(15 * std::stoi(tcl({"winfo", "screenwidth", "."}))));
  run(p, "Clipboard.SetText \"clip [x] {\"");
  EXPECT_EQ(eval(p, "Clipboard.GetText()"), "clip [x] {");
  run(p, "Clipboard.Clear");
  EXPECT_EQ(eval(p, "Clipboard.GetText()"), "");
}

}  // namespace
}  // namespace corvane::testing
