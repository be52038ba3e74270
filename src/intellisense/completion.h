#pragma once
// Member completion: which members may follow "object." at the cursor.
// Everything is found by reading the project and the editor's text; no user
// code is ever run.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/project.h"

namespace corvane::intellisense {

struct MemberContext {
    std::string object;  // the name right before the last dot
    std::string prefix;  // what has been typed after the dot (may be empty)

    bool operator==(const MemberContext&) const = default;
};

// The context of the text before the cursor: none inside a comment, a "Rem"
// line or an open string literal, or when the line does not end in
// "name." or "name.prefix".
std::optional<MemberContext> member_context(std::string_view before_cursor);

// The members of `object`: Me (the form's, when `form` is given), App, a
// form or a control of any form, a variable declared in a module, a class
// or `code` (the last declaration wins) as an ADO object or a class, or a
// class named like the object. Empty when nothing matches.
std::vector<std::string> available_members(const Project* project, std::string_view code,
                                           std::string_view object, const VBForm* form = nullptr);

// The members of the object before the cursor whose names begin with the
// typed prefix (compared case-insensitively), in the order resolved.
std::vector<std::string> completions(const Project* project, std::string_view code,
                                     std::string_view before_cursor, const VBForm* form = nullptr);

// The declared type of a variable, in lower case, from the code of the
// project's modules, its classes and then `code`; the last declaration wins.
std::optional<std::string> declared_type(const Project& project, std::string_view code, std::string_view object);

// The variable and procedure names declared in a class module's code,
// without duplicates, sorted case-insensitively.
std::vector<std::string> class_members(std::string_view class_code);

}  // namespace corvane::intellisense
