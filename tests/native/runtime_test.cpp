// Runs the native test programs (built against vb_native.h the way generated
// code is) and checks what they print, their exit statuses and their errors.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "common/run_command.h"

namespace fs = std::filesystem;
using corvane::testing::CommandResult;
using corvane::testing::run_command;
using corvane::testing::tool_path;

namespace {

// "label|kind|text" lines; the value is "kind|text".
std::map<std::string, std::string> parse_lines(const std::string& out) {
  std::map<std::string, std::string> values;
  std::istringstream in(out);
  std::string line;
  while (std::getline(in, line)) {
    const auto bar = line.find('|');
    if (bar != std::string::npos) values[line.substr(0, bar)] = line.substr(bar + 1);
  }
  return values;
}

fs::path scratch_folder(const std::string& name) {
  fs::path dir = fs::temp_directory_path() / ("corvane-native-" + name + "-" + std::to_string(::getpid()));
  fs::remove_all(dir);
  fs::create_directories(dir);
  return dir;
}

const std::map<std::string, std::string>& values_output() {
  static const std::map<std::string, std::string> values = [] {
    const CommandResult r = run_command({tool_path("native_test_values")});
    EXPECT_EQ(r.status, 0) << r.err;
    return parse_lines(r.out);
  }();
  return values;
}

void expect_values(const std::vector<std::pair<std::string, std::string>>& cases) {
  const auto& values = values_output();
  for (const auto& [label, expected] : cases) {
    auto it = values.find(label);
    ASSERT_NE(it, values.end()) << "no output for " << label;
    EXPECT_EQ(it->second, expected) << label;
  }
}

}  // namespace

TEST(NativeValues, PlusAddsNumericTextsAndIntegersStayExact) {
  expect_values({{"str_plus_str", "i|2"}, {"num_plus_str", "i|2"}, {"word_plus_num", "s|a1"},
                 {"num_plus_num", "i|2"}, {"amp_numbers", "s|1.5-2"}, {"amp_nothing", "s|x"},
                 {"minus_strings", "i|6"}, {"times", "i|42"}, {"add_overflow", "n|9.223372036854776e+18"},
                 {"double_whole_operand", "i|2"}, {"pow", "i|1024"}, {"pow_neg", "n|0.5"}});
}

TEST(NativeValues, ComparisonsOfTextsByCodePointsElseNumeric) {
  expect_values({{"lt_num_text", "b|False"}, {"gt_texts", "b|False"}, {"eq_case", "b|False"},
                 {"ne_num", "b|False"}, {"le_num", "b|True"}, {"ge_num", "b|False"}, {"gt_accent", "b|True"},
                 {"nothing_eq_zero", "b|True"}, {"is_nothing", "b|True"}, {"like", "b|True"},
                 {"like_case", "b|False"}, {"like_one", "b|True"}});
}

TEST(NativeValues, DivisionFamilyFloorsAndModFollowsTheDivisor) {
  expect_values({{"idiv", "i|3"}, {"idiv_neg", "i|-4"}, {"idiv_frac", "n|3.0"}, {"mod_neg", "i|2"},
                 {"mod_frac", "n|1.5"}, {"div", "n|0.3333333333333333"}, {"div_whole", "n|2.0"}});
}

TEST(NativeValues, LogicGivesBooleansFromTruthValues) {
  expect_values({{"and", "b|True"}, {"and_false", "b|False"}, {"or", "b|True"}, {"xor", "b|False"},
                 {"not5", "b|False"}, {"not0", "b|True"}, {"not_empty", "b|True"}, {"neg", "n|-3.5"},
                 {"neg_int", "i|-4"}, {"truth_zero_text", "i|1"}, {"truth_false_text", "i|1"},
                 {"truth_nothing", "i|0"}});
}

TEST(NativeValues, NumbersPrintAsTheInterpreterPrintsThem) {
  expect_values({{"fmt_int", "i|3"}, {"fmt_double_whole", "n|3.0"}, {"fmt_negzero", "n|-0.0"},
                 {"fmt_sum", "n|0.30000000000000004"}, {"fmt_third", "n|0.3333333333333333"},
                 {"fmt_1e15", "n|1000000000000000.0"}, {"fmt_1e16", "n|1e+16"}, {"fmt_small", "n|1e-05"},
                 {"fmt_big", "i|123456789012345"}, {"fmt_bool", "b|True"}, {"fmt_inf", "n|inf"}});
}

TEST(NativeValues, CoercionRoundsHalvesToEvenAndConvertsByType) {
  expect_values({{"co_int_half", "i|2"}, {"co_int_neghalf", "i|-2"}, {"co_int_odd_half", "i|4"},
                 {"co_int_max", "i|32767"}, {"co_long", "i|-2147483648"}, {"co_byte", "i|255"},
                 {"co_bool_true", "b|True"}, {"co_bool_false", "b|False"}, {"co_string", "s|42"},
                 {"co_double", "n|2.5"}, {"co_double_whole", "n|3.0"}, {"co_single", "n|100.0"},
                 {"co_currency", "n|1.25"}, {"co_variant", "s|7"}, {"co_class", "s|7"}, {"co_object", "i|7"}});
}

TEST(NativeValues, ConversionAndNumericBuiltins) {
  expect_values({{"cstr", "s|5"}, {"str", "s|-5.25"}, {"val_prefix", "i|12"}, {"val_letters", "i|0"},
                 {"val_hex", "i|31"}, {"cdbl", "n|3.75"}, {"cdbl_whole", "i|3"}, {"cint_half", "i|2"},
                 {"clng_neghalf", "i|-2"}, {"cint_no_range", "i|100000"}, {"abs", "i|3"}, {"int_neg", "i|-3"},
                 {"fix_neg", "i|-2"}, {"sqr", "n|4.0"}, {"dbrows_none", "i|0"}, {"hex", "s|FFFFFFFF"},
                 {"iif", "s|no"}, {"for_total", "i|22"}, {"for_past", "i|13"}});
}

TEST(NativeValues, TextBuiltinsCountCodePointsAndClampPositions) {
  expect_values({{"len", "i|5"}, {"len_num", "i|4"}, {"len_utf8", "i|1"}, {"len_emoji", "i|2"},
                 {"trim", "s|a b"}, {"trim_nbsp", "s|x"}, {"ltrim", "s|a  "}, {"rtrim", "s|  a"},
                 {"trim_blank", "s|"}, {"ucase", "s|ABC\xc3\x89Z"}, {"ucase_sharp_s", "s|STRASSE"},
                 {"lcase", "s|abc"}, {"lcase_final_sigma", "s|\xce\xbf\xce\xb4\xce\xbf\xcf\x82"},
                 {"left", "s|he"}, {"left_utf8", "s|\xc3\xa9"}, {"left_neg", "s|"}, {"left_huge", "s|abc"},
                 {"left_frac", "s|a"}, {"right", "s|llo"}, {"right_utf8", "s|\xc3\xa9"}, {"right_huge", "s|hello"},
                 {"mid_zero", "s|hello"}, {"mid_rest", "s|ello"}, {"mid_two", "s|el"}, {"mid_utf8", "s|\xc3\xa9"},
                 {"mid_past", "s|"}, {"mid_huge_start", "s|"}, {"instr", "i|3"}, {"instr_utf8", "i|2"},
                 {"instr_case", "i|0"}, {"instr_empty", "i|1"}, {"instr_start", "i|6"}, {"chr", "s|\xc3\xa9"},
                 {"asc", "i|26085"}, {"strreverse", "s|\xc3\xa9" "a"}, {"replace", "s|a--b--c"},
                 {"environ", "s|value 1"}, {"environ_missing", "s|"}});
}

TEST(NativeValues, AppendedTextsGrowInPlaceWhileEarlierValuesKeepTheirText) {
  expect_values({{"grow_early", "s|ab"}, {"grow_len_early", "i|2"}, {"grow_main", "s|ab12Y"},
                 {"grow_branch", "s|ab12X"}, {"grow_self", "s|abab"}, {"grow_compare", "b|False"},
                 {"grow_number_target", "s|70.5"}, {"literal_early", "s|ab"}, {"literal_main", "s|abcd\xc3\xa9"},
                 {"literal_branch", "s|abcdX"}, {"literal_len", "i|5"}, {"literal_number_target", "s|7x"},
                 {"len_of_number", "i|4"}});
}

TEST(NativeValues, PositionsInGrownNonAsciiTextsAndCompletedCharacters) {
  expect_values({{"wide_len", "i|300"}, {"wide_mid_far", "s|\xc3\xa9x\xe6\x97\xa5"}, {"wide_mid_near", "s|x\xe6\x97\xa5"},
                 {"wide_right", "s|x\xe6\x97\xa5"}, {"wide_instr_start", "i|6"}, {"wide_instr_past", "i|0"},
                 {"wide_instr_end", "i|301"}, {"split_len_before", "i|2"}, {"split_len_after", "i|3"},
                 {"split_mid", "s|z"}});
}

TEST(NativeValues, TextsAreCopiedOnRequestAndNeverChanged) {
  expect_values({{"copy_same_text", "i|1"}, {"share_kept", "i|1"}, {"str_null", "s|"},
                 {"temporary", "i|9"}, {"string_of_object", "s|"}});
}

TEST(NativeObjects, ClassInstancesFieldsPropertiesAndMethods) {
  const fs::path dir = scratch_folder("objects");
  const CommandResult r = run_command({tool_path("native_test_objects"), dir.string()});
  ASSERT_EQ(r.status, 0) << r.err;
  const auto v = parse_lines(r.out);
  EXPECT_EQ(v.at("init_calls"), "i|1");  // Class_Initialize once per New
  EXPECT_EQ(v.at("field_string_start"), "s|");
  EXPECT_EQ(v.at("field_object_start"), "o|");  // Nothing, as interpreted
  EXPECT_EQ(v.at("is_person"), "i|1");
  EXPECT_EQ(v.at("is_other"), "i|0");
  EXPECT_EQ(v.at("nothing_is"), "i|0");
  EXPECT_EQ(v.at("field_coerced"), "i|43");  // converted to the field's Integer type
  EXPECT_EQ(v.at("property_let"), "s|Smith");
  EXPECT_EQ(v.at("property_get"), "s|Dr. Smith");  // a field named Name wins over Property Get Name
  EXPECT_EQ(v.at("method"), "s|age 43");
  EXPECT_EQ(v.at("shared_object"), "i|1");
  EXPECT_EQ(v.at("object_text"), "o|[Object]");
  EXPECT_EQ(v.at("long_property"), "i|306");  // "__get_" and all 300 characters
  EXPECT_EQ(v.at("init_calls_two"), "i|2");
  EXPECT_EQ(v.at("separate_fields"), "s|");
  fs::remove_all(dir);
}

TEST(NativeObjects, AdoOverSqliteReadsFieldsAsTextAndBindsParameters) {
  const fs::path dir = scratch_folder("ado");
  const CommandResult r = run_command({tool_path("native_test_objects"), dir.string()});
  ASSERT_EQ(r.status, 0) << r.err;
  const auto v = parse_lines(r.out);
  EXPECT_EQ(v.at("conn_is"), "i|1");
  EXPECT_EQ(v.at("empty_eof"), "b|True");
  EXPECT_EQ(v.at("empty_bof"), "b|False");
  EXPECT_EQ(v.at("empty_count"), "i|0");
  EXPECT_EQ(v.at("rs_count"), "i|2");
  EXPECT_EQ(v.at("rs_eof"), "b|False");
  // Bound text stays text (no injection), whole numbers read back whole,
  // NULL reads as "".
  EXPECT_EQ(v.at("rs_row0"), "s|a/1/it's");
  EXPECT_EQ(v.at("rs_row1"), "s|b'; DROP TABLE items; --/2.5/");
  EXPECT_EQ(v.count("rs_row2"), 0u);
  EXPECT_EQ(v.at("past_end_value"), "s|");
  EXPECT_EQ(v.at("field_is"), "i|1");
  EXPECT_EQ(v.at("first_again"), "s|a");
  EXPECT_EQ(v.at("closed_value"), "s|");
  EXPECT_EQ(v.at("closed_eof"), "b|True");
  fs::remove_all(dir);
}

TEST(NativeObjects, ProgramDatabaseCountsSteppedRows) {
  const fs::path dir = scratch_folder("db");
  const CommandResult r = run_command({tool_path("native_test_objects"), dir.string()});
  ASSERT_EQ(r.status, 0) << r.err;
  const auto v = parse_lines(r.out);
  EXPECT_EQ(v.at("create_rows"), "i|0");
  EXPECT_EQ(v.at("insert_rows"), "i|0");  // rows stepped, not rows changed
  EXPECT_EQ(v.at("query_rows"), "i|3");
  EXPECT_EQ(v.at("execute_select_rows"), "i|5");
  EXPECT_EQ(v.at("reopened_rows"), "i|1");
  EXPECT_TRUE(fs::exists(dir / "program.db"));
  fs::remove_all(dir);
}

TEST(NativeObjects, AdoOverMysql) {
  if (!std::getenv("CORVANE_MYSQL_HOST")) GTEST_SKIP() << "needs scripts/with-mariadb";
  const CommandResult r = run_command({tool_path("native_test_objects"), ".", "mysql"});
  ASSERT_EQ(r.status, 0) << r.err;
  const auto v = parse_lines(r.out);
  EXPECT_EQ(v.at("empty_eof"), "b|True");
  EXPECT_EQ(v.at("rs_count"), "i|2");
  EXPECT_EQ(v.at("rs_row0"), "s|a/1/it's");
  EXPECT_EQ(v.at("rs_row1"), "s|b/2/");
  EXPECT_EQ(v.at("past_end_value"), "s|");
}

TEST(NativeFailures, StatusOneWithPrefixForFailuresStatusTwoForUnimplemented) {
  const fs::path dir = scratch_folder("fail");
  struct Case {
    const char* name;
    int status;
    std::string err;
  };
  const std::string p = "VB native runtime: ";
  const std::vector<Case> cases = {
      {"integer_overflow", 1, p + "Overflow for integer"},
      {"integer_underflow", 1, p + "Overflow for integer"},
      {"byte_overflow", 1, p + "Overflow for byte"},
      {"long_overflow", 1, p + "Overflow for long"},
      {"nan_overflow", 1, p + "negative number cannot be raised to a fractional power"},
      {"divide", 1, p + "division by zero"},
      {"int_divide", 1, p + "integer division or modulo by zero"},
      {"mod", 1, p + "Type mismatch (expected number, got 'abc')"},
      {"left", 1, p + "Left requires 2 arguments"},
      {"right", 1, p + "Right requires 2 arguments"},
      {"mid", 1, p + "Mid requires 2 arguments"},
      {"instr", 1, p + "InStr requires 2 arguments"},
      {"operator", 2, "Native operator not implemented: **"},
      {"operator_eqv", 2, "Native operator not implemented: eqv"},
      {"function", 2, "Unsupported native BASIC function: macid"},
      {"class", 2, "Unknown native class: NoSuchClass"},
      {"nothing_get", 1, p + "Cannot read .Name on None"},
      {"number_call", 1, p + "Not an object"},
      {"property_get", 2, "Unknown native object property: ADODB.Connection.State"},
      {"property_set", 2, "Native object property cannot be assigned: ADODB.Recordset.EOF"},
      {"method", 2, "Unsupported native object method: ADODB.Recordset.MovePrevious"},
      {"no_handler", 1, p + "No registered class procedure"},
      {"no_handler_property", 2, "Unknown native object property: Plain.y"},
      {"ado_open_args", 1, p + "ADO Open requires a connection string"},
      {"ado_prefix", 1, p + "ADO connection must start sqlite: or mysql:"},
      {"ado_execute_args", 1, p + "ADO Execute requires SQL text"},
      {"ado_not_open", 1, p + "Connection is not open"},
      {"ado_closed", 1, p + "Connection is not open"},
      {"ado_sql", 1, p + "near \"SELEC\": syntax error"},
      {"ado_bad_file", 1, p + "unable to open database file"},
      {"fields_args", 1, p + "Fields requires an index/name"},
      {"fields_index", 1, p + "Recordset field not found"},
      {"fields_negative", 1, p + "Recordset field not found"},
      {"fields_name", 1, p + "Recordset field not found"},
      {"db_provider", 1, p + "Native backend currently supports SQLite; use the interpreted runner for MySQL"},
      {"db_not_open", 1, p + "Call DBOpen before SQL commands"},
      {"db_no_text", 1, p + "SQL requires command text"},
      {"db_sql", 1, p + "no such table: missing"},
      {"db_bind", 1, p + "column index out of range"},
      {"unknown_control", 2, "Unknown native property: NoSuchControl.Text"},
  };
  for (const Case& c : cases) {
    const CommandResult r = run_command({tool_path("native_test_failures"), c.name, dir.string()});
    EXPECT_EQ(r.status, c.status) << c.name;
    EXPECT_EQ(r.err, c.err + "\n") << c.name;
    EXPECT_EQ(r.out, "before\n") << c.name;  // flushed, and nothing ran after the failure
  }
  fs::remove_all(dir);
}

TEST(NativeFailures, MysqlConnectionFailureCarriesTheClientMessage) {
  const CommandResult r = run_command({tool_path("native_test_failures"), "ado_mysql_unreachable"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err.rfind("VB native runtime: ", 0), 0u) << r.err;
  EXPECT_GT(r.err.size(), std::string("VB native runtime: \n").size());
}

TEST(NativeFailures, MessageBoxWithoutDisplayPrintsAndAnswersOk) {
  const CommandResult r = run_command({"env", "-u", "DISPLAY", tool_path("native_test_failures"), "msgbox_headless"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "before\nGreeting: Hello\nanswer|i|1\n");
}

TEST(NativeFailures, RunWithoutDisplayStops) {
  const CommandResult r = run_command({"env", "-u", "DISPLAY", tool_path("native_test_forms")});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "VB native runtime: Cannot open X11 display (X11 or XWayland required)\n");
}

TEST(NativeMemory, LongLoopOfStringsAndObjectsRunsInBoundedMemory) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "resident size is not meaningful under AddressSanitizer";
#endif
  const long rounds = 2000001;
  const CommandResult r = run_command({tool_path("native_test_memory"), std::to_string(rounds)});
  ASSERT_EQ(r.status, 0) << r.err;
  const auto v = parse_lines(r.out);
  // Each round's label is "Item {i}: PAYLOAD TEXT": 19 bytes plus the digits.
  long long expected = 0;
  for (long i = 1; i <= rounds; i++) expected += 19 + static_cast<long long>(std::to_string(i).size());
  EXPECT_EQ(v.at("total"), std::to_string(expected));
  // Objects reachable only through module-level variables survive.
  EXPECT_EQ(v.at("last"), "Item 2000001: PAYLOAD TEXT");
  EXPECT_EQ(v.at("owner"), "Item 2000000: PAYLOAD TEXT");
  EXPECT_EQ(v.at("chain"), "200000 of 200000");
  const long early = std::stol(v.at("early")), final_kb = std::stol(v.at("final"));
  // Without reclamation the loop needs several hundred MB.
  EXPECT_LT(final_kb, 48 * 1024) << "peak resident KB";
  EXPECT_LT(final_kb - early, 8 * 1024) << "growth after the first tenth, KB";
}

TEST(NativeBuild, DocumentedCommandLineBuildsWarningFreeWithGccAndClang) {
  const std::string src = CORVANE_SOURCE_DIR;
  const fs::path dir = scratch_folder("build");
  const CommandResult reference = run_command({tool_path("native_test_values")});
  ASSERT_EQ(reference.status, 0);
  for (const std::string cc : {"gcc", "clang"}) {
    if (run_command({"sh", "-c", "command -v " + cc}).status != 0) continue;
    for (const bool mysql : {false, true}) {
      std::string extra;
      if (mysql) {
        const CommandResult pc = run_command({"pkg-config", "--cflags", "--libs", "libmariadb"});
        if (pc.status != 0) continue;
        extra = " -DVB_WITH_MYSQL " + pc.out.substr(0, pc.out.find('\n'));
      }
      const std::string exe = (dir / (cc + (mysql ? "-mysql" : ""))).string();
      // The runtime is compiled without -w here, so any warning fails.
      const std::string command = cc + " -std=c11 -O2 -Wall -Wextra -Werror -I " + src + "/native -I " + src +
                                  "/tests/native " + src + "/tests/native/values_prog.c " + src +
                                  "/native/vb_native.c -o " + exe + " -lX11 -lsqlite3 -lm -l:libgc.a" + extra;
      const CommandResult built = run_command({"sh", "-c", command});
      ASSERT_EQ(built.status, 0) << command << "\n" << built.err;
      EXPECT_EQ(built.err, "") << command;
      const CommandResult ran = run_command({exe});
      EXPECT_EQ(ran.status, 0) << cc;
      EXPECT_EQ(ran.out, reference.out) << cc;
    }
  }
  fs::remove_all(dir);
}
