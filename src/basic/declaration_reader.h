#pragma once
// Reading declarations of the BASIC dialect: the names of Dim, Private,
// Public, Global, Static, Const and ReDim lines, procedure headers with
// their parameters, Type members and Enum items. The interpreter and the
// native compiler both read declarations here, so that they agree on what
// a line declares; each then decides what it accepts. Names and type words
// are returned as written (callers fold them).
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

// One name of a declaration list ("a", "b(1 To 5) As Long", "c As New
// Foo", "s As String * 10", "k = 5").
struct DeclaredName {
  std::string written;       // the text before " As " or "(" (with a type suffix)
  std::string name;          // without the type suffix
  char suffix = 0;           // $ % & ! # @ when written after the name
  std::string type;          // the word after As ("" when there is none)
  bool as_new = false;       // As New
  bool is_array = false;     // parentheses after the name
  std::string bounds;        // their text, stripped ("" for "()")
  std::string fixed_length;  // "String * n": n as written
  std::string value;         // the text after "=", stripped (constants)
  bool plain = false;        // exactly name[suffix] [(bounds)] [As [New] type [* n]] [= value]
  std::string text;          // the piece as written
};

// The pieces of a declaration list (the text after Dim, ReDim...), split at
// commas outside strings and parentheses.
std::vector<DeclaredName> read_declared_names(std::string_view list);

// A whole declaration line: its keywords and names. Nothing when the line
// is not a declaration.
struct DeclarationLine {
  std::string scope;      // Dim, Private, Public, Global or Static as written
  bool constant = false;  // Const, alone or after a scope word
  std::vector<DeclaredName> names;
};
std::optional<DeclarationLine> read_declaration(std::string_view line);

// One dimension of array bounds: "a To b" or "b" (lower empty).
struct DeclaredBound {
  std::string lower;
  std::string upper;
};
// Splits "a To b" at the word To outside strings and parentheses; lower is
// empty when there is no To.
DeclaredBound split_at_to(std::string_view text);
std::vector<DeclaredBound> read_bounds(std::string_view bounds);

// One test of a Case line as written: `value`, `low To high` (the word To
// outside strings and parentheses) or `Is op value`.
struct CaseTestText {
  enum class Kind : uint8_t { Equal, Range, Is } kind = Kind::Equal;
  std::string op;    // Is: the comparison operator
  std::string a, b;  // the value, or the range's ends (stripped)
};
CaseTestText read_case_test(std::string_view piece);

// A parameter: [Optional] [ByVal|ByRef] [ParamArray] name[()] [As type]
// [= default].
struct DeclaredParameter {
  std::string name;  // the first word that is not a parameter keyword
  bool by_ref = true;
  bool optional = false;
  bool param_array = false;
  bool is_array = false;      // "a()"
  std::string type;           // the word after As ("" when none, or for an array)
  std::string element_type;   // an array's word after As ("a() As Long": "Long")
  std::string default_value;  // after "=", stripped
  bool plain = false;         // exactly the shape above with a plain name
  std::string text;           // the piece as written
};
// A parameter list without its parentheses; blank pieces are left out.
std::vector<DeclaredParameter> read_parameters(std::string_view list);

// A procedure's first line: [Public|Private|Friend|Static] Sub|Function|
// Property Get|Let|Set name[suffix] [(parameters)] [As type[()]].
struct ProcedureHeader {
  std::string scope;          // as written, "" when none
  std::string kind;           // "Sub", "Function", "Property Get"... as written, blanks collapsed
  std::string name;
  char suffix = 0;
  std::string parameter_text; // inside the parentheses
  std::vector<DeclaredParameter> parameters;
  std::string result_type;    // "" when none
  bool result_array = false;  // As type()
};
std::optional<ProcedureHeader> read_procedure_header(std::string_view line);

// A line of a Type block: name[([[lower To] upper])] As type [* length].
struct TypeMember {
  std::string name;
  bool dynamic = false;            // name() As type: an array given its bounds by ReDim
  std::optional<long long> lower;  // an array field's lower bound, when written
  std::optional<long long> upper;  // an array field's upper bound
  std::string type;
  std::string fixed_length;        // "String * n": n
  // How a record's field type notes an array field: "" for none, "[]"
  // dynamic, "[count]" from 0, "[lower:count]" from another lower bound.
  std::string array_suffix() const;
};
std::optional<TypeMember> read_type_member(std::string_view line);

// A line of an Enum block: name [= whole number], decimal or &H.
struct EnumItem {
  std::string name;
  std::optional<long long> value;  // a whole number as written
  std::string expression;          // any other value (see enum_item_value)
};
// Nothing when the line is not an item or its value does not fit 64 bits.
std::optional<EnumItem> read_enum_item(std::string_view line);

}  // namespace corvane
