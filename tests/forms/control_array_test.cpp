// Control arrays at run time and projects started by Sub Main.
#include "forms_fixture.h"

namespace corvane::testing {
namespace {

using ControlArrayTest = FormsTest;

// A form whose buttons Digit(0)..Digit(count-1) form one control array.
VBForm& add_array_form(FormsTest&, Project& project, const std::string& code, int count) {
  VBForm form;
  form.name = "Form1";
  form.caption = "Calc";
  form.code = code;
  for (int i = 0; i < count; ++i) {
    Control c = Control::create("CommandButton", "Digit", 10 + 40 * i, 10);
    c.index = i;
    c.caption = std::to_string(i);
    form.controls.push_back(c);
  }
  form.controls.push_back(Control::create("TextBox", "Display", 10, 60));
  project.forms.push_back(form);
  return project.forms.back();
}

TEST_F(ControlArrayTest, EachElementIsItsOwnWidgetAndClicksPassItsIndex) {
  add_array_form(*this, host_->project_,
                 "Sub Digit_Click(Index As Integer)\nDisplay.Text = Display.Text & Digit(Index).Caption\n"
                 "Debug.Print \"click \" & Index\nEnd Sub\n",
                 4);
  start_session("Form1");
  Preview& form = *host_->preview;
  const std::string b1 = form.widget_of("digit(1)"), b3 = form.widget_of("digit(3)");
  ASSERT_FALSE(b1.empty());
  ASSERT_FALSE(b3.empty());
  EXPECT_NE(b1, b3);
  tcl({b3, "invoke"});
  tcl({b1, "invoke"});
  EXPECT_EQ(count("click 3"), 1);
  EXPECT_EQ(count("click 1"), 1);
  EXPECT_EQ(eval(form, "Display.Text"), "31");
  // Properties of one element reach only its widget.
  run(form, "Digit(2).Caption = \"x\"");
  run(form, "Digit(0).Enabled = False");
  EXPECT_EQ(tcl({form.widget_of("digit(2)"), "cget", "-text"}), "x");
  EXPECT_EQ(tcl({form.widget_of("digit(1)"), "cget", "-text"}), "1");
  EXPECT_EQ(tcl({form.widget_of("digit(0)"), "cget", "-state"}), "disabled");
  EXPECT_EQ(tcl({form.widget_of("digit(3)"), "cget", "-state"}), "normal");
  EXPECT_EQ(eval(form, "Digit(2).Index"), "2");
}

TEST_F(ControlArrayTest, CountBoundsAndForEach) {
  add_array_form(*this, host_->project_,
                 "Sub Walk()\nDim b, s As String\nFor Each b In Digit\ns = s & b.Caption & b.Index & \";\"\nNext\n"
                 "Display.Text = s\nEnd Sub\n",
                 3);
  start_session("Form1");
  Preview& form = *host_->preview;
  EXPECT_EQ(eval(form, "Digit.Count"), "3");
  EXPECT_EQ(eval(form, "UBound(Digit)"), "2");
  EXPECT_EQ(eval(form, "LBound(Digit)"), "0");
  EXPECT_EQ(eval(form, "Digit.UBound"), "2");
  run(form, "Walk");
  EXPECT_EQ(eval(form, "Display.Text"), "00;11;22;");
  try {
    run(form, "Digit(7).Caption = \"no\"");
    ADD_FAILURE() << "a missing element was found";
  } catch (const VBError& e) {
    EXPECT_EQ(e.number(), 340);
  }
}

TEST_F(ControlArrayTest, LoadCopiesTheLowestElementHiddenAndUnloadRemovesIt) {
  add_array_form(*this, host_->project_,
                 "Sub Digit_Click(Index As Integer)\nDebug.Print \"click \" & Index\nEnd Sub\n", 2);
  start_session("Form1");
  Preview& form = *host_->preview;
  run(form, "Digit(0).Caption = \"zero\"");
  run(form, "Load Digit(5)");
  EXPECT_EQ(eval(form, "Digit.Count"), "3");
  EXPECT_EQ(eval(form, "UBound(Digit)"), "5");
  EXPECT_EQ(eval(form, "Digit(5).Caption"), "zero");
  EXPECT_EQ(eval(form, "Digit(5).Visible"), "False");
  const std::string b5 = form.widget_of("digit(5)");
  ASSERT_FALSE(b5.empty());
  EXPECT_EQ(tcl({"winfo", "ismapped", b5}), "0");
  run(form, "Digit(5).Left = 300");
  run(form, "Digit(5).Visible = True");
  pump(20);
  EXPECT_EQ(tcl({"winfo", "ismapped", b5}), "1");
  tcl({b5, "invoke"});
  EXPECT_EQ(count("click 5"), 1);
  // Loading twice, and unloading an element made at design time, fail as in VB6.
  for (const auto& [statement, number] : std::vector<std::pair<const char*, int64_t>>{
           {"Load Digit(5)", 360}, {"Unload Digit(1)", 362}, {"Unload Digit(9)", 340}}) {
    try {
      run(form, statement);
      ADD_FAILURE() << statement;
    } catch (const VBError& e) {
      EXPECT_EQ(e.number(), number) << statement;
    }
  }
  run(form, "Unload Digit(5)");
  EXPECT_EQ(eval(form, "Digit.Count"), "2");
  EXPECT_EQ(tcl({"winfo", "exists", b5}), "0");
  EXPECT_TRUE(form.widget_of("digit(5)").empty());
  // The index is free again.
  run(form, "Load Digit(5)");
  EXPECT_EQ(eval(form, "Digit.Count"), "3");
}

TEST_F(ControlArrayTest, TimerElementsFireWithTheirIndex) {
  VBForm form;
  form.name = "Form1";
  form.code = "Sub Tick_Timer(Index As Integer)\nDebug.Print \"tick \" & Index\nTick(Index).Enabled = False\nEnd Sub\n";
  for (int i : {0, 3}) {
    Control t = Control::create("Timer", "Tick", 0, 0);
    t.index = i;
    t.interval = 10;
    form.controls.push_back(t);
  }
  host_->project_.forms.push_back(form);
  start_session("Form1");
  pump(150);
  EXPECT_EQ(count("tick 0"), 1);
  EXPECT_EQ(count("tick 3"), 1);
}

TEST_F(ControlArrayTest, MenuArrayClicksPassTheItemsIndex) {
  VBForm& form = add_form("Form1", "Sub mnuPick_Click(Index As Integer)\nDebug.Print \"pick \" & Index\nEnd Sub\n");
  MenuItem top{"mnuFile", "File", {}};
  for (int i : {0, 1}) {
    MenuItem item{"mnuPick", "Pick " + std::to_string(i), {}};
    item.index = i;
    top.children.push_back(item);
  }
  form.menus.push_back(top);
  start_session("Form1");
  const std::string bar = tcl({host_->preview->window, "cget", "-menu"});
  const std::string sub = tcl({bar, "entrycget", 0, "-menu"});
  tcl({sub, "invoke", 1});
  EXPECT_EQ(count("pick 1"), 1);
}

TEST_F(ControlArrayTest, SubMainShowsFormsAndTheRunEndsWhenTheyClose) {
  add_form("Form1", loggers({"Form_Load"}));
  add_form("Form2", "Sub Form_Load()\nDebug.Print \"Load2 \" & Greeting\nEnd Sub\n");
  host_->project_.modules.push_back(
      {"Module1", "Public Greeting\nSub Main()\nGreeting = \"hi\"\nForm1.Show\nForm2.Show\nDebug.Print \"main done\"\nEnd Sub\n"});
  host_->project_.startup = "Sub Main";
  host_->session = ApplicationSession::create(*host_);
  auto session = host_->session;
  EXPECT_EQ(session->start(), nullptr);
  EXPECT_EQ(count("Form_Load"), 1);
  EXPECT_EQ(count("Load2 hi"), 1);
  EXPECT_EQ(count("main done"), 1);
  ASSERT_TRUE(session->preview("Form1"));
  ASSERT_TRUE(session->preview("Form2"));
  EXPECT_TRUE(host_->statuses.empty());
  session->preview("Form1")->close();
  EXPECT_TRUE(host_->statuses.empty());
  session->preview("Form2")->close();
  EXPECT_EQ(host_->statuses, (std::vector<std::string>{"Program stopped"}));
}

TEST_F(ControlArrayTest, SubMainWithoutFormsRunsAlone) {
  host_->project_.modules.push_back({"Module1", "Sub Main()\nDebug.Print \"alone\"\nEnd Sub\n"});
  host_->project_.startup = "Sub Main";
  host_->session = ApplicationSession::create(*host_);
  host_->session->start();
  EXPECT_EQ(count("alone"), 1);
  EXPECT_EQ(host_->statuses, (std::vector<std::string>{"Program stopped"}));
}

TEST_F(ControlArrayTest, AFormUnloadedInsideSubMainDoesNotEndTheRun) {
  add_form("Form1", "");
  host_->project_.modules.push_back(
      {"Module1", "Sub Main()\nForm1.Show\nUnload Form1\nDebug.Print \"after\"\nForm1.Show\nEnd Sub\n"});
  host_->project_.startup = "Sub Main";
  host_->session = ApplicationSession::create(*host_);
  auto session = host_->session;
  session->start();
  EXPECT_EQ(count("after"), 1);
  EXPECT_TRUE(host_->statuses.empty());
  ASSERT_TRUE(session->preview("Form1"));
}

TEST_F(ControlArrayTest, AProjectStartingWithSubMainNeedsOne) {
  host_->project_.startup = "Sub Main";
  host_->session = ApplicationSession::create(*host_);
  EXPECT_THROW(host_->session->start(), VBError);
}

}  // namespace
}  // namespace corvane::testing

namespace corvane::testing {
namespace {

using ContainerTest = FormsTest;

TEST_F(ContainerTest, ControlsInAFrameAreItsChildrenAndGraphicalControlsLieBeneath) {
  VBForm form;
  form.name = "Form1";
  form.controls.push_back(Control::create("Frame", "Frame1", 50, 40));
  form.controls.back().width = 200;
  form.controls.back().height = 120;
  Control option = Control::create("OptionButton", "Option1", 10, 20);
  option.container = "Frame1";
  form.controls.push_back(option);
  Control shape = Control::create("Shape", "Shape1", 0, 0);
  shape.width = 400;
  shape.height = 300;
  form.controls.push_back(shape);
  form.controls.push_back(Control::create("Label", "Label1", 300, 10));
  host_->project_.forms.push_back(form);
  start_session("Form1");
  Preview& p = *host_->preview;
  pump(50);
  const std::string frame = p.widget_of("frame1"), child = p.widget_of("option1");
  EXPECT_EQ(tcl({"winfo", "parent", child}), frame);
  EXPECT_EQ(std::stoi(tcl({"winfo", "rootx", child})) - std::stoi(tcl({"winfo", "rootx", frame})), 10);
  EXPECT_EQ(std::stoi(tcl({"winfo", "rooty", child})) - std::stoi(tcl({"winfo", "rooty", frame})), 20);
  // The shape and the label lie beneath the frame, whatever their order in the form.
  const std::string order = tcl({"winfo", "children", p.window});
  EXPECT_LT(order.find(p.widget_of("shape1")), order.find(frame)) << order;
  EXPECT_LT(order.find(p.widget_of("label1")), order.find(frame)) << order;
  // Among themselves they keep the form's order: the later label lies over the shape.
  EXPECT_LT(order.find(p.widget_of("shape1")), order.find(p.widget_of("label1"))) << order;
  // Hiding the frame hides what it holds; moving it moves them.
  run(p, "Frame1.Left = 80");
  pump(20);
  EXPECT_EQ(std::stoi(tcl({"winfo", "rootx", child})) - std::stoi(tcl({"winfo", "rootx", p.window})), 90);
  // Disabling the frame disables what it holds; enabling it gives back the control's own state.
  run(p, "Frame1.Enabled = False");
  EXPECT_EQ(tcl({child, "cget", "-state"}), "disabled");
  run(p, "Option1.Enabled = True");
  EXPECT_EQ(tcl({child, "cget", "-state"}), "disabled");
  run(p, "Frame1.Enabled = True");
  EXPECT_EQ(tcl({child, "cget", "-state"}), "normal");
  run(p, "Frame1.Visible = False");
  pump(20);
  EXPECT_EQ(tcl({"winfo", "ismapped", child}), "0");
}

}  // namespace
}  // namespace corvane::testing

namespace corvane::testing {
namespace {

TEST_F(ContainerTest, OptionButtonsInOneContainerAreOneGroup) {
  VBForm form;
  form.name = "Form1";
  form.code = "Sub Opt_Click(Index As Integer)\nDebug.Print \"opt \" & Index\nEnd Sub\n";
  for (const char* frame : {"FrameA", "FrameB"}) {
    form.controls.push_back(Control::create("Frame", frame, frame[5] == 'A' ? 10 : 250, 10));
    form.controls.back().width = 200;
    form.controls.back().height = 150;
  }
  // Opt(0), Opt(1) in FrameA; Opt(2), Opt(3) in FrameB.
  for (int i = 0; i < 4; ++i) {
    Control o = Control::create("OptionButton", "Opt", 10, 20 + 30 * (i % 2));
    o.index = i;
    o.container = i < 2 ? "FrameA" : "FrameB";
    o.value = i % 2 == 0 ? 1 : 0;
    form.controls.push_back(o);
  }
  host_->project_.forms.push_back(form);
  start_session("Form1");
  Preview& p = *host_->preview;
  tcl({p.widget_of("opt(1)"), "invoke"});
  EXPECT_EQ(count("opt 1"), 1);
  EXPECT_EQ(eval(p, "Opt(0).Value"), "0");
  EXPECT_EQ(eval(p, "Opt(1).Value"), "1");
  // The other frame's choice stands.
  EXPECT_EQ(eval(p, "Opt(2).Value"), "1");
  run(p, "Opt(3).Value = True");
  EXPECT_EQ(eval(p, "Opt(2).Value"), "0");
  EXPECT_EQ(tcl({"set", p.vars.at("opt(2):value").name()}), "0");
  EXPECT_EQ(tcl({"set", p.vars.at("opt(3):value").name()}), "1");
  EXPECT_EQ(eval(p, "Opt(1).Value"), "1");
}

}  // namespace
}  // namespace corvane::testing
