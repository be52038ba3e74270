#include "intellisense/member_tables.h"

#include <array>

namespace corvane::intellisense {

namespace {

using namespace std::string_view_literals;

constexpr std::array CONTROL_COMMON{"Name"sv,     "Enabled"sv,  "Visible"sv, "Left"sv,     "Top"sv,
                                    "Height"sv,   "Width"sv,    "BackColor"sv, "ForeColor"sv, "Font"sv,
                                    "TabIndex"sv, "Tag"sv,      "ToolTipText"sv, "Refresh"sv, "SetFocus"sv,
                                    "Move"sv,     "ZOrder"sv};

constexpr std::array FORM_MEMBERS{"Caption"sv, "Name"sv,    "Width"sv,   "Height"sv,     "Left"sv,
                                  "Top"sv,     "Visible"sv, "Enabled"sv, "Show"sv,       "Hide"sv,
                                  "Unload"sv,  "Refresh"sv, "ScaleWidth"sv, "ScaleHeight"sv, "BackColor"sv,
                                  "Picture"sv};

constexpr std::array APP_MEMBERS{"Path"sv, "Title"sv, "EXEName"sv, "Major"sv, "Minor"sv, "Revision"sv};

constexpr std::array TEXT_BOX{"Text"sv,   "SelStart"sv,  "SelLength"sv, "SelText"sv,     "MaxLength"sv,
                              "MultiLine"sv, "Locked"sv, "PasswordChar"sv, "Change"sv};
constexpr std::array LABEL{"Caption"sv, "Alignment"sv, "AutoSize"sv, "WordWrap"sv, "BorderStyle"sv};
constexpr std::array COMMAND_BUTTON{"Caption"sv, "Default"sv, "Cancel"sv, "Value"sv, "Click"sv};
constexpr std::array CHECK_BOX{"Caption"sv, "Value"sv, "Alignment"sv, "Click"sv};
constexpr std::array OPTION_BUTTON{"Caption"sv, "Value"sv, "Click"sv};
constexpr std::array LIST{"Text"sv, "List"sv, "ListCount"sv, "ListIndex"sv, "AddItem"sv, "RemoveItem"sv, "Clear"sv};
constexpr std::array TIMER{"Interval"sv, "Enabled"sv, "Timer"sv};
constexpr std::array PROGRESS_BAR{"Min"sv, "Max"sv, "Value"sv};
constexpr std::array DATA_GRID{"RecordSource"sv, "Refresh"sv, "Rows"sv};
constexpr std::array FLEX_GRID{"Rows"sv, "Cols"sv, "Text"sv, "Row"sv, "Col"sv, "FixedRows"sv, "FixedCols"sv};
constexpr std::array STATUS_BAR{"SimpleText"sv, "Panels"sv};
constexpr std::array COMMON_DIALOG{"FileName"sv, "Filter"sv,   "Color"sv,   "ShowOpen"sv,
                                   "ShowSave"sv, "ShowColor"sv, "ShowFont"sv};
constexpr std::array OTHER_KIND{"Caption"sv, "Text"sv, "Value"sv};

struct KindRow {
    std::string_view kind;
    Members members;
};

const KindRow KIND_ROWS[] = {
    {"TextBox", TEXT_BOX},         {"Label", LABEL},         {"CommandButton", COMMAND_BUTTON},
    {"CheckBox", CHECK_BOX},       {"OptionButton", OPTION_BUTTON}, {"ComboBox", LIST},
    {"ListBox", LIST},             {"Timer", TIMER},         {"ProgressBar", PROGRESS_BAR},
    {"DataGrid", DATA_GRID},       {"MSFlexGrid", FLEX_GRID}, {"StatusBar", STATUS_BAR},
    {"CommonDialog", COMMON_DIALOG},
};

constexpr std::array ADO_CONNECTION{"Open"sv,        "Close"sv,         "Execute"sv, "BeginTrans"sv,
                                    "CommitTrans"sv, "RollbackTrans"sv, "State"sv,   "ConnectionString"sv,
                                    "Errors"sv};
constexpr std::array ADO_RECORDSET{"Fields"sv,   "EOF"sv,      "BOF"sv,   "RecordCount"sv, "MoveNext"sv,
                                   "MovePrevious"sv, "MoveFirst"sv, "MoveLast"sv, "Close"sv, "Open"sv,
                                   "Filter"sv,   "AddNew"sv,   "Update"sv};
constexpr std::array ADO_FIELD{"Name"sv, "Value"sv, "Type"sv, "DefinedSize"sv};

struct AdoRow {
    std::string_view type;
    Members members;
};

const AdoRow ADO_ROWS[] = {
    {"adodb.connection", ADO_CONNECTION},
    {"adodb.recordset", ADO_RECORDSET},
    {"adodb.field", ADO_FIELD},
};

}  // namespace

Members control_common_members() { return CONTROL_COMMON; }
Members form_members() { return FORM_MEMBERS; }
Members app_members() { return APP_MEMBERS; }

Members control_kind_members(std::string_view kind) {
    for (const KindRow& row : KIND_ROWS)
        if (row.kind == kind) return row.members;
    return OTHER_KIND;
}

Members ado_members(std::string_view lower_type) {
    for (const AdoRow& row : ADO_ROWS)
        if (row.type == lower_type) return row.members;
    return {};
}

bool is_ado_type(std::string_view lower_type) {
    for (const AdoRow& row : ADO_ROWS)
        if (row.type == lower_type) return true;
    return false;
}

}  // namespace corvane::intellisense
