// Resolving the members of an object from the project and the editor text.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "intellisense/completion.h"
#include "model/names.h"

namespace corvane::intellisense {
namespace {

using Names = std::vector<std::string>;

const Names TEXTBOX_SORTED = {"BackColor", "Change",    "Enabled",  "Font",        "ForeColor", "Height",
                              "Left",      "Locked",    "MaxLength", "Move",       "MultiLine", "Name",
                              "PasswordChar", "Refresh", "SelLength", "SelStart",  "SelText",   "SetFocus",
                              "TabIndex",  "Tag",       "Text",     "ToolTipText", "Top",       "Visible",
                              "Width",     "ZOrder"};
const Names FORM = {"Caption", "Name",    "Width",   "Height", "Left",       "Top",         "Visible",   "Enabled",
                    "Show",    "Hide",    "Unload",  "Refresh", "ScaleWidth", "ScaleHeight", "BackColor", "Picture"};

Project two_forms() {
    Project p;
    p.forms[0].controls.push_back(Control::create("TextBox", "Text1"));
    p.forms[0].controls.push_back(Control::create("Timer", "Timer1"));
    VBForm second;
    second.name = "Form2";
    second.controls.push_back(Control::create("CommandButton", "cmdOK"));
    second.controls.push_back(Control::create("Shape", "Shape1"));
    p.forms.push_back(second);
    return p;
}

TEST(AvailableMembers, MeAppAndForms) {
    Project p = two_forms();
    EXPECT_EQ(available_members(nullptr, "", "Text1"), Names{});
    EXPECT_EQ(available_members(&p, "", "me", &p.forms[0]), FORM);
    EXPECT_EQ(available_members(&p, "", "Me"), Names{});  // no current form
    EXPECT_EQ(available_members(&p, "", "APP"), (Names{"Path", "Title", "EXEName", "Major", "Minor", "Revision"}));
    EXPECT_EQ(available_members(&p, "", "form2"), FORM);
}

TEST(AvailableMembers, ControlsOfEveryFormSortedWithoutDuplicates) {
    Project p = two_forms();
    EXPECT_EQ(available_members(&p, "", "text1", &p.forms[0]), TEXTBOX_SORTED);
    // Enabled is common and in the Timer row: it is offered once.
    const Names timer = available_members(&p, "", "Timer1");
    EXPECT_EQ(std::count(timer.begin(), timer.end(), "Enabled"), 1);
    EXPECT_NE(std::find(timer.begin(), timer.end(), "Interval"), timer.end());
    // A control of another form than the current one.
    const Names button = available_members(&p, "", "CMDOK", &p.forms[0]);
    EXPECT_NE(std::find(button.begin(), button.end(), "Default"), button.end());
    // A kind without a row of its own gets Caption, Text and Value.
    const Names shape = available_members(&p, "", "Shape1");
    EXPECT_NE(std::find(shape.begin(), shape.end(), "Caption"), shape.end());
    EXPECT_NE(std::find(shape.begin(), shape.end(), "Value"), shape.end());
    EXPECT_TRUE(std::is_sorted(shape.begin(), shape.end(),
                               [](const std::string& a, const std::string& b) { return fold_name(a) < fold_name(b); }));
}

TEST(AvailableMembers, DeclaredTypesLastMatchWins) {
    Project p = two_forms();
    p.modules.push_back({"Module1", "Public rs As New ADODB.Recordset\n"});
    const Names recordset = {"Fields", "EOF",   "BOF",  "RecordCount", "MoveNext", "MovePrevious", "MoveFirst",
                             "MoveLast", "Close", "Open", "Filter",     "AddNew",   "Update"};
    EXPECT_EQ(available_members(&p, "", "rs"), recordset);
    EXPECT_EQ(available_members(&p, "Option Explicit\n  dim cn as adodb.connection\n", "CN").front(), "Open");
    EXPECT_EQ(available_members(&p, "Static f As ADODB.Field", "f"), (Names{"Name", "Value", "Type", "DefinedSize"}));
    // A class declared in the edited text overrides the module's ADO type.
    p.classes.push_back({"Class1", "Public Name As String\nPrivate Sub Class_Initialize()\nEnd Sub\n"
                                   "Public Property Get Total()\nEnd Property\n"});
    EXPECT_EQ(available_members(&p, "Dim rs As Class1\n", "rs"), (Names{"Class_Initialize", "Name", "Total"}));
    // A class module's declaration comes after the modules', the edited text last.
    p.classes.push_back({"Class2", "Private rs As ADODB.Connection\n"});
    EXPECT_EQ(available_members(&p, "", "rs").front(), "Open");
    // Unknown declared type, unknown object: nothing.
    EXPECT_EQ(available_members(&p, "Dim z As Collection", "z"), Names{});
    EXPECT_EQ(available_members(&p, "", "x"), Names{});
    // A declaration of another name with the object as prefix does not count.
    EXPECT_EQ(available_members(&p, "Dim rsX As Class1", "rs").front(), "Open");
}

TEST(AvailableMembers, ClassMembersIncludePrivateLocalsAndProcedures) {
    Project p;
    p.classes.push_back({"Account", "Option Explicit\n"
                                    "Private mBalance As Currency\n"
                                    "Public Owner As String\n"
                                    "Public Function Deposit(ByVal amount As Currency) As Currency\n"
                                    "    Dim total As Currency\n"
                                    "End Function\n"
                                    "Friend Sub audit ()\nEnd Sub\n"
                                    "Property Let Limit(v)\nEnd Property\n"
                                    "Public Property Set Owner(v)\nEnd Property\n"
                                    "' Public Hidden As String\n"});
    const Names expected = {"audit", "Deposit", "Limit", "mBalance", "Owner", "total"};
    // By declared type and by the class's own name.
    EXPECT_EQ(available_members(&p, "Dim acc As New Account", "acc"), expected);
    EXPECT_EQ(available_members(&p, "", "account"), expected);
}

TEST(Completions, FilterByPrefixCaseInsensitively) {
    Project p = two_forms();
    const VBForm* form = &p.forms[0];
    EXPECT_EQ(completions(&p, "", "Text1.Se", form), (Names{"SelLength", "SelStart", "SelText", "SetFocus"}));
    EXPECT_EQ(completions(&p, "", "Text1.sEL", form), (Names{"SelLength", "SelStart", "SelText"}));
    // A member typed in full is still its own only completion.
    EXPECT_EQ(completions(&p, "", "Text1.text", form), (Names{"Text"}));
    EXPECT_EQ(completions(&p, "", "Text1.", form), TEXTBOX_SORTED);
    EXPECT_EQ(completions(&p, "", "Text1.Xyz", form), Names{});
    EXPECT_EQ(completions(&p, "", "x.", form), Names{});
    EXPECT_EQ(completions(&p, "", "' Text1.", form), Names{});
    EXPECT_EQ(completions(&p, "", "Me.Sc", form), (Names{"ScaleWidth", "ScaleHeight"}));
}

}  // namespace
}  // namespace corvane::intellisense
