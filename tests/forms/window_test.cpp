// A running form window: opening, widgets and their events through real Tk
// events, property changes from code, menus, timers and dialogs.
#include <chrono>

#include "forms_fixture.h"
#include "tk/events.h"

namespace corvane::testing {
namespace {

class WindowTest : public FormsTest {
 protected:
  std::shared_ptr<Preview> open(const std::string& code,
                                const std::vector<std::pair<std::string, std::string>>& controls = {}) {
    add_form("Form1", code, controls);
    start_session("Form1");
    pump(30);
    return host_->preview;
  }
  std::string widget(Preview& p, const std::string& name) { return p.widget_of(name); }
};

TEST_F(WindowTest, OpeningRunsLoadTitleActivateGridAndTimersInOrder) {
  VBForm& form = add_form("Form1",
                          "Sub Form_Load()\nDebug.Print \"Load\"\nMe.Caption = \"X\"\n"
                          "DBOpen \"sqlite\", \":memory:\"\nDBExecute \"CREATE TABLE t(a, bb)\"\n"
                          "DBExecute \"INSERT INTO t VALUES (1, NULL)\"\nEnd Sub\n"
                          "Sub Form_Activate()\nDebug.Print \"Activate \" & Grid1.Text\nEnd Sub\n"
                          "Sub Timer1_Timer()\nDebug.Print \"Timer\"\nTimer1.Enabled = False\nEnd Sub\n",
                          {{"DataGrid", "Grid1"}, {"Timer", "Timer1"}});
  form.width = 100;
  form.height = 80;
  form.controls[0].record_source = "SELECT a, bb AS a_rather_long_column_name FROM t";
  form.controls[1].interval = 20;
  form.controls[0].width = 5;
  start_session("Form1");
  Preview& p = *host_->preview;
  // Load ran before the grid was filled and before any timer.
  ASSERT_GE(logs().size(), 2u);
  EXPECT_EQ(logs()[0], "Load");
  EXPECT_EQ(logs()[1], "Activate ");
  EXPECT_EQ(tcl({"wm", "title", p.window}), "X");
  const std::string grid = widget(p, "Grid1");
  EXPECT_EQ(tcl({grid, "cget", "-columns"}), "a a_rather_long_column_name");
  EXPECT_EQ(tcl({grid, "heading", "1", "-text"}), "a_rather_long_column_name");
  EXPECT_EQ(tcl({grid, "column", "0", "-width"}), "69");   // 14 * 1 + 55
  EXPECT_EQ(tcl({grid, "column", "1", "-width"}), "250");  // capped
  const std::string row = tcl({grid, "children", ""});
  EXPECT_EQ(tcl({grid, "item", row, "-values"}), "1 {}");
  EXPECT_EQ(count("Timer"), 0);
  pump(120);
  EXPECT_EQ(count("Timer"), 1);
  EXPECT_EQ(logs().back(), "Timer");
  // Window and control sizes have their minimums.
  EXPECT_EQ(tcl({"wm", "geometry", p.window}).substr(0, 7), "240x160");
  EXPECT_EQ(tcl({"place", "info", grid}).find("-width 14") != std::string::npos, true);
}

TEST_F(WindowTest, GridRefreshRefusesQueriesThatChangeData) {
  VBForm& form = add_form("Form1", "Sub Form_Load()\nDBOpen \"sqlite\", \":memory:\"\nEnd Sub\n", {{"DataGrid", "Grid1"}});
  form.controls[0].record_source = "UPDATE t SET a=1";
  start_session("Form1");
  EXPECT_EQ(count("DataGrid refresh failed: DataGrid RecordSource must be a SELECT query"), 1);
  Preview& p = *host_->preview;
  EXPECT_FALSE(p.closed);
  run(p, "DBExecute \"CREATE TABLE t(a)\"");
  run(p, "DBExecute \"INSERT INTO t VALUES (5)\"");
  for (const char* sql : {"WITH x AS (SELECT 1) DELETE FROM t", "DELETE FROM t", "selectx", "drop table t"}) {
    try {
      p.runtime->assign("Grid1.RecordSource", Value(std::string(sql)), *p.runtime->globals);
      ADD_FAILURE() << sql;
    } catch (const VBError& e) {
      EXPECT_STREQ(e.what(), "DataGrid RecordSource must be a SELECT query");
    }
  }
  EXPECT_EQ(eval(p, "DBScalar(\"SELECT COUNT(*) FROM t\")"), "1");
  // A bad query fails the statement with the database's message.
  EXPECT_THROW(run(p, "Grid1.RecordSource = \"SELECT * FROM missing\""), VBError);
  run(p, "Grid1.RecordSource = \"select 'it''s' AS \"\"update\"\" FROM t\"");
  const std::string grid = widget(p, "Grid1");
  EXPECT_EQ(tcl({grid, "item", tcl({grid, "children", ""}), "-values"}), "it's");
}

TEST_F(WindowTest, UserActionsRaiseEventsAndKeepPropertiesCurrent) {
  auto p = open(
      "Sub Text1_Change()\nDebug.Print \"Change \" & Text1.Text\nEnd Sub\n"
      "Sub Command1_Click()\nDebug.Print \"Click\"\nEnd Sub\n"
      "Sub Check1_Click()\nDebug.Print \"Check \" & Check1.Value\nEnd Sub\n"
      "Sub Option1_Click()\nDebug.Print \"Option1 \" & Option1.Value\nEnd Sub\n"
      "Sub List1_Click()\nDebug.Print \"List \" & List1.ListIndex & \" \" & List1.Text\nEnd Sub\n"
      "Sub Combo1_Click()\nDebug.Print \"Combo \" & Combo1.ListIndex & \" \" & Combo1.Text\nEnd Sub\n"
      "Sub HScroll1_Change()\nDebug.Print \"Scroll \" & HScroll1.Value\nEnd Sub\n"
      "Sub Label1_Click()\nDebug.Print \"Label\"\nEnd Sub\n"
      "Sub RichTextBox1_Change()\nDebug.Print \"Rich \" & RichTextBox1.Text\nEnd Sub\n"
      "Sub TreeView1_Click()\nDebug.Print \"Tree \" & TreeView1.Text\nEnd Sub\n"
      "Sub TabStrip1_Click()\nDebug.Print \"Tab\"\nEnd Sub\n"
      "Sub Form_Load()\nList1.AddItem \"a\"\nList1.AddItem \"b\"\nCombo1.AddItem \"x\"\nCombo1.AddItem \"y\"\n"
      "TreeView1.AddItem \"node\"\nEnd Sub\n",
      {{"TextBox", "Text1"}, {"CommandButton", "Command1"}, {"CheckBox", "Check1"}, {"OptionButton", "Option1"},
       {"OptionButton", "Option2"}, {"ListBox", "List1"}, {"ComboBox", "Combo1"}, {"HScrollBar", "HScroll1"},
       {"Label", "Label1"}, {"RichTextBox", "RichTextBox1"}, {"TreeView", "TreeView1"}, {"TabStrip", "TabStrip1"}});
  logs().clear();
  tk::Interp& in = interp();
  // Typing into the entry: one Change per key.
  const std::string entry = widget(*p, "Text1");
  tcl({entry, "delete", 0, "end"});
  logs().clear();
  tk::focus(in, entry, true);
  for (const char* key : {"h", "i"}) {
    tk::event_generate(in, entry, "<KeyPress>", {"-keysym", key});
    tk::event_generate(in, entry, "<KeyRelease>", {"-keysym", key});
  }
  EXPECT_EQ(logs(), (std::vector<std::string>{"Change h", "Change hi"}));
  EXPECT_EQ(eval(*p, "Text1.Text"), "hi");
  logs().clear();

  tcl({widget(*p, "Command1"), "invoke"});
  tcl({widget(*p, "Check1"), "invoke"});
  tcl({widget(*p, "Check1"), "invoke"});
  tcl({widget(*p, "Option1"), "invoke"});
  tcl({widget(*p, "Option2"), "invoke"});
  EXPECT_EQ(logs(), (std::vector<std::string>{"Click", "Check 1", "Check 0", "Option1 1"}));
  // Option buttons on the form are one group, as in VB6: selecting one clears the other.
  EXPECT_EQ(eval(*p, "Option1.Value"), "0");
  EXPECT_EQ(eval(*p, "Option2.Value"), "1");
  logs().clear();

  // Clicking the second row of the list.
  const std::string list = widget(*p, "List1");
  const auto bbox = tk::Obj(tcl({list, "bbox", 1})).to_list();
  const int64_t y = bbox[1].to_int() + 2;
  tk::event_generate(in, list, "<ButtonPress-1>", {"-x", 5, "-y", y});
  tk::event_generate(in, list, "<ButtonRelease-1>", {"-x", 5, "-y", y});
  pump(10);
  EXPECT_EQ(logs(), (std::vector<std::string>{"List 1 b"}));
  logs().clear();

  const std::string combo = widget(*p, "Combo1");
  tcl({combo, "current", 1});
  tk::event_generate(in, combo, "<<ComboboxSelected>>");
  tcl({widget(*p, "HScroll1"), "set", 40});
  pump(10);
  tk::event_generate(in, widget(*p, "Label1"), "<Button-1>", {"-x", 2, "-y", 2});
  const std::string rich = widget(*p, "RichTextBox1");
  tk::focus(in, rich, true);
  tcl({rich, "insert", "end", "ab"});
  tk::event_generate(in, rich, "<KeyRelease>", {"-keysym", "b"});
  const std::string tree = widget(*p, "TreeView1");
  tcl({tree, "selection", "set", tcl({tree, "children", ""})});
  pump(10);
  tcl({widget(*p, "TabStrip1"), "select", 1});
  pump(10);
  EXPECT_EQ(logs(), (std::vector<std::string>{"Combo 1 y", "Scroll 40", "Label", "Rich ab", "Tree node",
                                              "Tab"}));
}

TEST_F(WindowTest, PropertyChangesFromCodeMoveWidgetsAndRaiseNoEvents) {
  auto p = open(loggers({"Text1_Change", "Check1_Click", "HScroll1_Change", "Slider1_Change", "List1_Click",
                         "RichTextBox1_Change"}),
                {{"TextBox", "Text1"}, {"CheckBox", "Check1"}, {"HScrollBar", "HScroll1"}, {"Slider", "Slider1"},
                 {"ListBox", "List1"}, {"RichTextBox", "RichTextBox1"}, {"Frame", "Frame1"}, {"Label", "Label1"},
                 {"ProgressBar", "ProgressBar1"}, {"CommandButton", "Command1"}});
  logs().clear();
  for (const char* s : {"Text1.Text = \"a\"", "Check1.Value = 1", "HScroll1.Value = 70", "Slider1.Value = 30",
                        "List1.AddItem \"r\"", "List1.ListIndex = 0", "RichTextBox1.Text = \"rt\"",
                        "Frame1.Caption = \"Group\"", "Label1.Caption = 12", "ProgressBar1.Value = 55",
                        "Command1.Enabled = False", "Command1.Left = 50", "Command1.Width = 3", "Label1.Visible = False"})
    run(*p, s);
  pump(30);
  EXPECT_TRUE(logs().empty()) << logs().front();
  EXPECT_EQ(tcl({widget(*p, "Text1"), "get"}), "a");
  EXPECT_EQ(p->vars.at("check1:value").text(), "1");
  EXPECT_EQ(tcl({widget(*p, "HScroll1"), "get"}), "70");
  EXPECT_EQ(tcl({widget(*p, "List1"), "curselection"}), "");
  EXPECT_EQ(tcl({widget(*p, "RichTextBox1"), "get", "1.0", "end-1c"}), "rt");
  EXPECT_EQ(tcl({widget(*p, "Frame1"), "cget", "-text"}), "Group");
  EXPECT_EQ(p->vars.at("label1").text(), "12");
  EXPECT_EQ(tcl({widget(*p, "ProgressBar1"), "cget", "-value"}), "55.0");
  EXPECT_EQ(tcl({widget(*p, "Command1"), "cget", "-state"}), "disabled");
  const std::string place = tcl({"place", "info", widget(*p, "Command1")});
  EXPECT_NE(place.find("-x 50"), std::string::npos);
  EXPECT_NE(place.find("-width 14"), std::string::npos);
  EXPECT_EQ(tcl({"place", "info", widget(*p, "Label1")}), "");
  run(*p, "Label1.Visible = True");
  EXPECT_NE(tcl({"place", "info", widget(*p, "Label1")}), "");
  // The user moving the scroll bar afterwards is a change again.
  tcl({widget(*p, "HScroll1"), "set", 10});
  pump(10);
  EXPECT_EQ(logs(), (std::vector<std::string>{"HScroll1_Change"}));
}

TEST_F(WindowTest, MenusFollowTheTreeAndRaiseClicks) {
  VBForm& form = add_form("Form1", loggers({"mnuOpen_Click", "mnuWrap_Click"}));
  MenuItem file{"mnuFile", "&File", {}};
  file.children.push_back({"mnuOpen", "&Open", {}});
  file.children.push_back({"mnuSep", "-", {}});
  MenuItem wrap{"mnuWrap", "Word &wrap", {}};
  wrap.checked = true;
  file.children.push_back(wrap);
  MenuItem off{"mnuOff", "Off", {}};
  off.enabled = false;
  file.children.push_back(off);
  MenuItem hidden{"mnuHidden", "Hidden", {}};
  hidden.visible = false;
  file.children.push_back(hidden);
  form.menus.push_back(file);
  start_session("Form1");
  Preview& p = *host_->preview;
  const std::string bar = tcl({p.window, "cget", "-menu"});
  EXPECT_EQ(tcl({bar, "index", "end"}), "0");
  EXPECT_EQ(tcl({bar, "entrycget", 0, "-label"}), "File");
  EXPECT_EQ(tcl({bar, "entrycget", 0, "-underline"}), "0");
  const std::string sub = tcl({bar, "entrycget", 0, "-menu"});
  EXPECT_EQ(tcl({sub, "index", "end"}), "3");
  EXPECT_EQ(tcl({sub, "type", 1}), "separator");
  EXPECT_EQ(tcl({sub, "type", 2}), "checkbutton");
  EXPECT_EQ(tcl({sub, "entrycget", 2, "-underline"}), "5");
  EXPECT_EQ(tcl({sub, "entrycget", 3, "-state"}), "disabled");
  EXPECT_EQ(tcl({"set", tcl({sub, "entrycget", 2, "-variable"})}), "1");
  logs().clear();
  tcl({sub, "invoke", 0});
  tcl({sub, "invoke", 2});
  EXPECT_EQ(logs(), (std::vector<std::string>{"mnuOpen_Click", "mnuWrap_Click"}));
  EXPECT_EQ(tcl({"set", tcl({sub, "entrycget", 2, "-variable"})}), "0");
}

TEST_F(WindowTest, TimersFireRepeatedlyStopWhenDisabledAndArmWhenEnabledFromCode) {
  VBForm& form = add_form("Form1",
                          "Dim n\nSub Timer1_Timer()\nn = n + 1\nIf n = 5 Then Timer1.Enabled = False\nEnd Sub\n"
                          "Sub Timer2_Timer()\nDebug.Print \"T2\"\nTimer2.Enabled = False\nEnd Sub\n",
                          {{"Timer", "Timer1"}, {"Timer", "Timer2"}});
  form.controls[0].interval = 5;
  form.controls[1].enabled = false;
  form.controls[1].interval = 0;
  start_session("Form1");
  auto keep = host_->preview;  // closing the last form ends the run and drops the host's reference
  Preview& p = *keep;
  const auto start = std::chrono::steady_clock::now();
  interp().run_until([&] { return eval(p, "n") == "5"; }, 2000);
  const auto elapsed =
      std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
  EXPECT_EQ(eval(p, "n"), "5");
  EXPECT_GE(elapsed, 40);  // at least 10 ms per period
  pump(60);
  EXPECT_EQ(eval(p, "n"), "5");
  EXPECT_TRUE(p.timers.empty());
  // Giving a disabled timer an interval does not arm it; enabling it does.
  run(p, "Timer2.Interval = 10");
  pump(40);
  EXPECT_EQ(count("T2"), 0);
  run(p, "Timer2.Enabled = True");
  pump(60);
  EXPECT_EQ(count("T2"), 1);
  // Closing the form cancels pending timers.
  run(p, "Timer1.Enabled = True");
  EXPECT_FALSE(p.timers.empty());
  p.close();
  EXPECT_TRUE(p.timers.empty());
}

TEST_F(WindowTest, DialogsAreAnsweredAndResultsReachTheProgram) {
  auto p = open("", {{"CommonDialog", "CommonDialog1"}, {"CommandButton", "Command1"}});
  answers_ = {"no"};
  EXPECT_EQ(eval(*p, "MsgBox(\"?\", 36)"), "7");
  EXPECT_EQ(tk::dialog_option(dialogs_.back(), "-type"), "yesno");
  EXPECT_EQ(tk::dialog_option(dialogs_.back(), "-icon"), "question");
  EXPECT_EQ(tk::dialog_option(dialogs_.back(), "-parent"), p->window);
  EXPECT_EQ(eval(*p, "MsgBox(\"?\", 4, \"Ask\")"), "6");
  EXPECT_EQ(tk::dialog_option(dialogs_.back(), "-title"), "Ask");
  EXPECT_EQ(eval(*p, "MsgBox(\"?\", 3)"), "1");
  EXPECT_EQ(tk::dialog_option(dialogs_.back(), "-type"), "ok");
  EXPECT_EQ(tk::dialog_option(dialogs_.back(), "-title"), "Visual Basic");

  answers_ = {"typed"};
  EXPECT_EQ(eval(*p, "InputBox(\"Name?\")"), "typed");
  EXPECT_EQ(dialogs_.back()[0], "inputbox");
  EXPECT_EQ(tk::dialog_option(dialogs_.back(), "-title"), "Input");
  EXPECT_EQ(tk::dialog_option(dialogs_.back(), "-prompt"), "Name?");

  run(*p, "CommonDialog1.Filter = \"Text (*.txt)|*.txt;*.log|Odd\"");
  run(*p, "CommonDialog1.DialogTitle = \"Pick\"");
  answers_ = {"/tmp/chosen.txt"};
  run(*p, "CommonDialog1.ShowOpen");
  EXPECT_EQ(dialogs_.back()[0], "tk_getOpenFile");
  EXPECT_EQ(tk::dialog_option(dialogs_.back(), "-title"), "Pick");
  EXPECT_EQ(tk::dialog_option(dialogs_.back(), "-filetypes"), "{{Text (*.txt)} {*.txt *.log}}");
  EXPECT_EQ(eval(*p, "CommonDialog1.FileName"), "/tmp/chosen.txt");
  answers_ = {""};  // cancelled: nothing changes
  run(*p, "Command1.ShowSave");
  EXPECT_EQ(dialogs_.back()[0], "tk_getSaveFile");
  EXPECT_EQ(tk::dialog_option(dialogs_.back(), "-filetypes"), "{{All Files (*.*)} *.*}");
  EXPECT_EQ(eval(*p, "CommonDialog1.FileName"), "/tmp/chosen.txt");
  answers_ = {"#102030"};
  run(*p, "CommonDialog1.ShowColor");
  EXPECT_EQ(eval(*p, "CommonDialog1.Color"), "#102030");
  try {
    run(*p, "Command1.Frobnicate 1");
    ADD_FAILURE();
  } catch (const VBError& e) {
    EXPECT_STREQ(e.what(), "Unsupported Command1.frobnicate");
  }
}

TEST_F(WindowTest, AnEventErrorIsShownAndLoggedAndTheFormKeepsRunning) {
  auto p = open("Sub Command1_Click()\nx = 1 / 0\nEnd Sub\n", {{"CommandButton", "Command1"}});
  tcl({widget(*p, "Command1"), "invoke"});
  ASSERT_FALSE(dialogs_.empty());
  EXPECT_EQ(tk::dialog_option(dialogs_.back(), "-title"), "VB6 runtime error");
  EXPECT_EQ(tk::dialog_option(dialogs_.back(), "-message").rfind("Command1_Click: ", 0), 0u);
  EXPECT_EQ(logs().back().rfind("Runtime error in Command1_Click: ", 0), 0u);
  EXPECT_FALSE(p->closed);
}

TEST_F(WindowTest, ResizeRunsOnceWhenIdleAndUnloadRunsOnClose) {
  auto p = open(loggers({"Form_Resize", "Form_Unload"}));
  pump(50);
  logs().clear();
  tcl({"wm", "geometry", p->window, "500x400"});
  tcl({"wm", "geometry", p->window, "520x400"});
  pump(100);
  EXPECT_GE(count("Form_Resize"), 1);
  EXPECT_LE(count("Form_Resize"), 2);
  p->close();
  p->close();
  EXPECT_EQ(count("Form_Unload"), 1);
  EXPECT_FALSE(tk::winfo_exists(interp(), p->window));
  EXPECT_EQ(host_->statuses, (std::vector<std::string>{"Program stopped"}));
}

TEST_F(WindowTest, ScaleWidthAndScaleHeightAreTheInsideOfTheWindow) {
  // a resize handler lays controls out by them (Text1.Move 0, 0, ScaleWidth, ...)
  auto p = open("Sub Form_Resize()\nDebug.Print \"inside \" & Me.ScaleWidth & \"x\" & Me.ScaleHeight\nEnd Sub\n");
  EXPECT_NE(eval(*p, "Me.ScaleWidth"), "0");
  pump(50);
  logs().clear();
  tcl({"wm", "geometry", p->window, "420x300"});
  pump(100);
  ASSERT_FALSE(logs().empty());
  EXPECT_EQ(logs().back(), "inside 420x300");
  EXPECT_EQ(eval(*p, "Me.ScaleWidth"), "420");
}

TEST_F(WindowTest, BareNamesOfTheFormsPropertiesAreTheForm) {
  // Caption = "x" in form code is Me.Caption = "x"; a declared variable of
  // such a name still wins
  auto p = open("Sub Form_Load()\nDebug.Print (Caption = Me.Caption) & \"|\" & (ScaleWidth = Me.ScaleWidth)\n"
                "Caption = \"Set\"\nDim Width\nWidth = 1\nDebug.Print Me.Width > 1\nEnd Sub\n");
  EXPECT_EQ(eval(*p, "Me.Caption"), "Set");
  EXPECT_EQ(tcl({"wm", "title", p->window}), "Set");
  const std::vector<std::string> expected{"True|True", "True"};
  ASSERT_GE(logs().size(), 2u);
  EXPECT_EQ(std::vector<std::string>(logs().begin(), logs().begin() + 2), expected);
}

TEST_F(WindowTest, ControlsMoveAndTellTheirKind) {
  // Controls and Me.Controls hold every control, array members one by one;
  // TypeName and TypeOf give a control's kind; Move sets what it is given.
  add_form("Form1",
           "Function Kinds()\nDim c As Control, s As String\nFor Each c In Controls\ns = s & TypeName(c) & \" \"\nNext\n"
           "Kinds = s & Me.Controls.Count\nEnd Function\n"
           "Sub Clear()\nDim c As Control\nFor Each c In Me.Controls\n"
           "If TypeOf c Is TextBox Then\nc.Text = \"\"\nElseIf TypeOf c Is CheckBox Then\nc.Value = 0\nEnd If\nNext\nEnd Sub\n",
           {{"TextBox", "txtName"}, {"CheckBox", "chkKeep"}, {"CommandButton", "cmdGo"}});
  host_->project_.forms[0].controls[1].value = 1;
  host_->project_.forms[0].controls[0].text = "Ada";
  start_session("Form1");
  Preview& p = *host_->preview;
  EXPECT_EQ(eval(p, "Kinds()"), "TextBox CheckBox CommandButton 3");
  run(p, "Clear");
  EXPECT_EQ(eval(p, "txtName.Text & \"|\" & chkKeep.Value"), "|0");
  run(p, "cmdGo.Move 40, 50, 90");
  EXPECT_EQ(eval(p, "cmdGo.Left & \",\" & cmdGo.Top & \",\" & cmdGo.Width"), "40,50,90");
  run(p, "cmdGo.Move 7");
  EXPECT_EQ(eval(p, "cmdGo.Left & \",\" & cmdGo.Top"), "7,50");  // the left-out places stay
  EXPECT_NE(tcl({"place", "info", p.widget_of("cmdgo")}).find("-x 7 "), std::string::npos);
  EXPECT_EQ(eval(p, "WindowState"), "0");
  run(p, "Move 300, 450");  // the form's own Move, by its bare name
  EXPECT_EQ(eval(p, "Left & \",\" & Top & \",\" & Me.Left"), "300,450,300");
}

TEST_F(WindowTest, FormWithoutSessionRunsAlone) {
  add_form("Form1", "Sub Command1_Click()\nMe.Caption = \"Y\"\nEnd\nEnd Sub\n" + loggers({"Form_Unload"}),
           {{"CommandButton", "Command1"}});
  host_->preview = Preview::create(*host_, host_->project_.forms[0]);
  Preview& p = *host_->preview;
  EXPECT_EQ(eval(p, "Me.Visible"), "True");
  try {
    run(p, "Me.PrintForm");
    ADD_FAILURE();
  } catch (const VBError& e) {
    EXPECT_STREQ(e.what(), "Unsupported Form method: printform");
  }
  auto keep = host_->preview;
  tcl({p.widget_of("Command1"), "invoke"});
  EXPECT_TRUE(p.closed);
  EXPECT_EQ(count("Form_Unload"), 1);
  EXPECT_EQ(host_->preview, nullptr);
  EXPECT_EQ(host_->statuses, (std::vector<std::string>{"Program stopped"}));
}


TEST_F(WindowTest, FolderListsAndNothingValues) {
  auto p = open("", {{"DriveListBox", "Drive1"}, {"FileListBox", "File1"}, {"DirListBox", "Dir1"},
                     {"TextBox", "Text1"}, {"ListBox", "List1"}, {"ComboBox", "Combo1"}, {"ListView", "View1"}});
  const std::string drives = widget(*p, "Drive1");
  EXPECT_EQ(tcl({drives, "size"}), "4");
  EXPECT_EQ(tcl({drives, "get", 0}), "/");
  EXPECT_EQ(tcl({drives, "get", 3}), "/media");
  const int files = std::stoi(tcl({widget(*p, "File1"), "size"}));
  const int dirs = std::stoi(tcl({widget(*p, "Dir1"), "size"}));
  EXPECT_LE(files, 100);
  EXPECT_LE(dirs, 100);
  // Nothing shows as an empty text and adds an empty row.
  run(*p, "Text1.Text = Nothing");
  EXPECT_EQ(tcl({widget(*p, "Text1"), "get"}), "");
  run(*p, "List1.AddItem Nothing");
  EXPECT_EQ(tcl({widget(*p, "List1"), "size"}), "1");
  EXPECT_EQ(tcl({widget(*p, "List1"), "get", 0}), "");
  run(*p, "Combo1.AddItem \"c\"");
  run(*p, "View1.AddItem \"v\"");
  EXPECT_EQ(tcl({widget(*p, "Combo1"), "cget", "-values"}), "c");
  const std::string view = widget(*p, "View1");
  EXPECT_EQ(tcl({view, "item", tcl({view, "children", ""}), "-values"}), "v");
  run(*p, "View1.Clear");
  run(*p, "Combo1.Clear");
  EXPECT_EQ(tcl({view, "children", ""}), "");
  EXPECT_EQ(tcl({widget(*p, "Combo1"), "cget", "-values"}), "");
  EXPECT_EQ(eval(*p, "UBound(Combo1.Items)"), "-1");
}

TEST_F(WindowTest, UnloadMeFromAnEventEndsTheRun) {
  auto p = open("Sub Command1_Click()\nUnload Me\nDebug.Print \"after\"\nEnd Sub\n" + loggers({"Form_Unload"}),
                {{"CommandButton", "Command1"}});
  tcl({widget(*p, "Command1"), "invoke"});
  EXPECT_TRUE(p->closed);
  EXPECT_EQ(count("Form_Unload"), 1);
  EXPECT_EQ(count("after"), 1);  // the procedure runs to its end, as in VB6
  EXPECT_EQ(host_->statuses, (std::vector<std::string>{"Program stopped"}));
  // A closed window ignores events and property changes.
  run(*p, "Command1.Caption = \"late\"");
  p->invoke("Command1_Click");
  EXPECT_EQ(count("after"), 1);
}

}  // namespace
}  // namespace corvane::testing
