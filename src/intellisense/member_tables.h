#pragma once
// The members offered after "object.": of every control, of a form, by
// control kind, of App and of the ADO objects, each list in display order.
#include <span>
#include <string_view>

namespace corvane::intellisense {

using Members = std::span<const std::string_view>;

Members control_common_members();
Members form_members();
Members app_members();
// The kind's own members; kinds without a row get the row of any other kind.
Members control_kind_members(std::string_view kind);
// The members of a declared ADO type, keyed by the type name in lower case
// ("adodb.recordset"); empty for any other type.
Members ado_members(std::string_view lower_type);
bool is_ado_type(std::string_view lower_type);

}  // namespace corvane::intellisense
