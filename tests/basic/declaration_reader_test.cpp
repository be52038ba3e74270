// Reading declarations: the names, types, bounds and values of declaration
// lists, parameters, procedure headers, Type members and Enum items, on the
// shapes that are easy to misread (commas, "=" and To inside parentheses or
// strings, keywords as name prefixes, suffixes, overflowing numbers).
#include <gtest/gtest.h>

#include "basic/declaration_reader.h"
#include "basic/enum_values.h"

namespace corvane {
namespace {

TEST(DeclarationReader, NamesTypesBoundsAndValues) {
  const std::vector<DeclaredName> names =
      read_declared_names("a, b(1 To f(2, 3), 4) As Long, c As New Foo, s$, t As String * 10, k = Mid(\"a,b=c\", 2)");
  ASSERT_EQ(names.size(), 6u);
  EXPECT_EQ(names[0].name, "a");
  EXPECT_EQ(names[0].type, "");
  EXPECT_FALSE(names[0].is_array);
  EXPECT_TRUE(names[0].plain);

  EXPECT_EQ(names[1].name, "b");
  EXPECT_TRUE(names[1].is_array);
  EXPECT_EQ(names[1].bounds, "1 To f(2, 3), 4");
  EXPECT_EQ(names[1].type, "Long");
  const std::vector<DeclaredBound> bounds = read_bounds(names[1].bounds);
  ASSERT_EQ(bounds.size(), 2u);
  EXPECT_EQ(bounds[0].lower, "1");
  EXPECT_EQ(bounds[0].upper, "f(2, 3)");
  EXPECT_EQ(bounds[1].lower, "");
  EXPECT_EQ(bounds[1].upper, "4");

  EXPECT_TRUE(names[2].as_new);
  EXPECT_EQ(names[2].type, "Foo");
  EXPECT_EQ(names[3].written, "s$");
  EXPECT_EQ(names[3].name, "s");
  EXPECT_EQ(names[3].suffix, '$');
  EXPECT_EQ(names[4].type, "String");
  EXPECT_EQ(names[4].fixed_length, "10");
  // "=" and "," inside the string and parentheses belong to the value.
  EXPECT_EQ(names[5].name, "k");
  EXPECT_EQ(names[5].value, "Mid(\"a,b=c\", 2)");
  EXPECT_FALSE(names[5].is_array);

  // "To" inside a string or parentheses is no bound separator; "Total" is a name.
  EXPECT_EQ(split_at_to("Len(\"x To y\") To Total").lower, "Len(\"x To y\")");
  EXPECT_EQ(split_at_to("Total").lower, "");
  // Unusual shapes are still read, and flagged.
  const std::vector<DeclaredName> odd = read_declared_names("Declare Function F Lib \"x\" ()");
  ASSERT_EQ(odd.size(), 1u);
  EXPECT_FALSE(odd[0].plain);
}

TEST(DeclarationReader, DeclarationLines) {
  auto constant = read_declaration("Private Const A = 1, B = \"two\"");
  ASSERT_TRUE(constant);
  EXPECT_EQ(constant->scope, "Private");
  EXPECT_TRUE(constant->constant);
  ASSERT_EQ(constant->names.size(), 2u);
  EXPECT_EQ(constant->names[1].value, "\"two\"");
  auto bare = read_declaration("const X = 2");
  ASSERT_TRUE(bare);
  EXPECT_TRUE(bare->constant);
  EXPECT_EQ(bare->scope, "");
  // A name that starts like a keyword is a name.
  auto variable = read_declaration("Dim Constant As Long");
  ASSERT_TRUE(variable);
  EXPECT_FALSE(variable->constant);
  EXPECT_EQ(variable->names.at(0).name, "Constant");
  EXPECT_FALSE(read_declaration("Dimension = 3"));
  EXPECT_FALSE(read_declaration("x = 1"));
}

TEST(DeclarationReader, Parameters) {
  const std::vector<DeclaredParameter> params =
      read_parameters("ByVal a As Long, Optional ByRef b = Mid(\"x,y\", 1), c() As String, ParamArray rest(), "
                      "Optional ByVal Byte_Count As Integer = 5, ,");
  ASSERT_EQ(params.size(), 5u);
  EXPECT_EQ(params[0].name, "a");
  EXPECT_FALSE(params[0].by_ref);
  EXPECT_EQ(params[0].type, "Long");
  EXPECT_TRUE(params[0].plain);

  EXPECT_EQ(params[1].name, "b");
  EXPECT_TRUE(params[1].optional);
  EXPECT_TRUE(params[1].by_ref);
  EXPECT_EQ(params[1].default_value, "Mid(\"x,y\", 1)");
  EXPECT_FALSE(params[1].is_array);

  // An array parameter holds the caller's array; its declared element type
  // is what ReDim gives new elements.
  EXPECT_TRUE(params[2].is_array);
  EXPECT_EQ(params[2].type, "");
  EXPECT_EQ(params[2].element_type, "String");

  EXPECT_TRUE(params[3].param_array);
  EXPECT_EQ(params[3].name, "rest");

  // A name beginning with a keyword's letters is the name.
  EXPECT_EQ(params[4].name, "Byte_Count");
  EXPECT_FALSE(params[4].by_ref);
  EXPECT_EQ(params[4].default_value, "5");

  EXPECT_FALSE(read_parameters("a(1)").at(0).plain);
  // Parentheses in a default value do not hide the type.
  EXPECT_EQ(read_parameters("Optional n As Long = Len(\"ab\")").at(0).type, "Long");
}

TEST(DeclarationReader, ProcedureHeaders) {
  auto get = read_procedure_header("Public Property   Get Size(ByVal i) As Long");
  ASSERT_TRUE(get);
  EXPECT_EQ(get->kind, "Property Get");
  EXPECT_EQ(get->scope, "Public");
  EXPECT_EQ(get->name, "Size");
  EXPECT_EQ(get->result_type, "Long");
  ASSERT_EQ(get->parameters.size(), 1u);
  EXPECT_FALSE(get->parameters[0].by_ref);

  // The parameter list ends at its own parenthesis, not at the result's.
  auto list = read_procedure_header("Function Items$(n As Long) As String()");
  ASSERT_TRUE(list);
  EXPECT_EQ(list->suffix, '$');
  EXPECT_EQ(list->parameter_text, "n As Long");
  EXPECT_TRUE(list->result_array);

  auto bare = read_procedure_header("sub Go");
  ASSERT_TRUE(bare);
  EXPECT_EQ(bare->kind, "sub");
  EXPECT_TRUE(bare->parameters.empty());
  EXPECT_FALSE(read_procedure_header("Subtotal = 1"));
  EXPECT_FALSE(read_procedure_header("End Sub"));
}

TEST(DeclarationReader, TypeMembersAndEnumItems) {
  auto member = read_type_member("Items(9) As Integer");
  ASSERT_TRUE(member);
  EXPECT_EQ(member->upper, 9);
  auto text = read_type_member("Code As String * 4");
  ASSERT_TRUE(text);
  EXPECT_FALSE(text->upper);
  EXPECT_EQ(text->fixed_length, "4");
  EXPECT_EQ(member->array_suffix(), "[10]");
  EXPECT_EQ(text->array_suffix(), "");
  auto ranged = read_type_member("x(1 To 2) As Long");
  ASSERT_TRUE(ranged);
  EXPECT_EQ(ranged->lower, 1);
  EXPECT_EQ(ranged->upper, 2);
  EXPECT_EQ(ranged->array_suffix(), "[1:2]");
  EXPECT_EQ(read_type_member("x(-3 To -1) As Long")->array_suffix(), "[-3:3]");
  EXPECT_EQ(read_type_member("x(0 To 4) As Long")->array_suffix(), "[5]");
  EXPECT_FALSE(read_type_member("x(3 To 1) As Long"));  // a range without elements
  EXPECT_FALSE(read_type_member("x(-1) As Long"));
  auto dynamic = read_type_member("x( ) As Long");
  ASSERT_TRUE(dynamic);
  EXPECT_TRUE(dynamic->dynamic);
  EXPECT_EQ(dynamic->array_suffix(), "[]");
  EXPECT_FALSE(read_type_member("x(99999999999999999999) As Long"));

  EXPECT_EQ(read_enum_item("Red")->value, std::nullopt);
  EXPECT_EQ(read_enum_item("Red = 12")->value, 12);
  EXPECT_EQ(read_enum_item("Mask = &HFF")->value, 255);
  EXPECT_EQ(read_enum_item("Low = -&h10")->value, -16);
  EXPECT_EQ(read_enum_item("Minus = -3")->value, -3);
  EXPECT_FALSE(read_enum_item("Big = 99999999999999999999"));
  // Any other value is an expression, worked out by enum_item_value.
  EXPECT_EQ(read_enum_item("Sum = 1 + 2")->value, std::nullopt);
  EXPECT_EQ(read_enum_item("Sum = 1 + 2")->expression, "1 + 2");
  EXPECT_FALSE(read_enum_item("Sum 1"));
}

TEST(DeclarationReader, EnumItemExpressions) {
  const EnumMemberLookup known = [](const std::string& key) -> std::optional<long long> {
    if (key == "first") return 10;
    return std::nullopt;
  };
  EXPECT_EQ(enum_item_value("vbObjectError + 513", known), -2147220991);
  EXPECT_EQ(enum_item_value("(First * 2) - &H1", known), 19);
  EXPECT_EQ(enum_item_value("2 ^ 3", known), 8);
  EXPECT_EQ(enum_item_value("-First", known), -10);
  EXPECT_EQ(enum_item_value("FIRST \\ 3", known), 3);
  // Names nobody knows, text, fractions and failures give nothing.
  EXPECT_EQ(enum_item_value("Second + 1", known), std::nullopt);
  EXPECT_EQ(enum_item_value("\"7\"", known), std::nullopt);
  EXPECT_EQ(enum_item_value("7 / 2", known), std::nullopt);
  EXPECT_EQ(enum_item_value("1 / 0", known), std::nullopt);
  EXPECT_EQ(enum_item_value("Len(\"ab\")", known), std::nullopt);
  EXPECT_EQ(enum_item_value("1 +", known), std::nullopt);
}

}  // namespace
}  // namespace corvane
