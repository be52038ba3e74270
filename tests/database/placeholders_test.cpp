// Which "?" marks are placeholders for the MySQL engine, and how values are
// quoted in messages and converted to row and column numbers.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "database/placeholders.h"
#include "database/session.h"
#include "database/value.h"

namespace corvane {
namespace {

TEST(MysqlPlaceholders, RewritesOnlyMarksOutsideLiteralsAndDashComments) {
  struct Case {
    const char* sql;
    const char* expected;
  } cases[] = {
      {"SELECT '?' AS q, name FROM t WHERE id = ? -- why?", "SELECT '?' AS q, name FROM t WHERE id = %s -- why?"},
      {"SELECT ?, ?", "SELECT %s, %s"},
      {"?", "%s"},
      {"", ""},
      // A doubled quote stays inside the literal; the next one closes it.
      {"SELECT 'it''s ?', ?", "SELECT 'it''s ?', %s"},
      {"SELECT \"say \"\"?\"\"\", ?", "SELECT \"say \"\"?\"\"\", %s"},
      // A backslash escapes the next character, also a quote.
      {"SELECT 'a\\'?', ?", "SELECT 'a\\'?', %s"},
      {"SELECT 'a\\\\', ?", "SELECT 'a\\\\', %s"},
      {"SELECT `we?ird` FROM t WHERE a = ?", "SELECT `we?ird` FROM t WHERE a = %s"},
      {"SELECT `a``?` , ?", "SELECT `a``?` , %s"},
      // Other quote kinds inside a literal are plain characters.
      {"SELECT '\"?`', ?", "SELECT '\"?`', %s"},
      // A "--" comment ends at the line feed, which is copied.
      {"SELECT ? -- one?\nFROM t WHERE a = ?", "SELECT %s -- one?\nFROM t WHERE a = %s"},
      {"SELECT 1 --?", "SELECT 1 --?"},
      // "#" and "/* */" comments are not recognised.
      {"SELECT 1 # ?", "SELECT 1 # %s"},
      {"SELECT /* ? */ 1", "SELECT /* %s */ 1"},
      // An unterminated literal runs to the end.
      {"SELECT 'open ?", "SELECT 'open ?"},
      {"SELECT 'x\\", "SELECT 'x\\"},
      // Text is copied byte for byte, whatever the characters.
      {"SELECT 'é日本😀?', ? -- ✓?", "SELECT 'é日本😀?', %s -- ✓?"},
      {"a = ? AND b LIKE '%?%'", "a = %s AND b LIKE '%?%'"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(mysql_placeholders(c.sql), c.expected) << c.sql;
    EXPECT_EQ(DatabaseSession::mysql_placeholders(c.sql), c.expected) << c.sql;
  }
}

TEST(MysqlPlaceholders, PositionsMatchTheRewrite) {
  std::string sql = "SELECT '?', ? -- ?\n, ?, \"?\", ?";
  std::vector<size_t> positions = placeholder_positions(sql);
  ASSERT_EQ(positions.size(), 3u);
  for (size_t p : positions) EXPECT_EQ(sql[p], '?');
  EXPECT_EQ(positions[0], sql.find("? --"));
}

TEST(MysqlPlaceholders, ServerMarkersFollowTheServersOwnComments) {
  auto markers = [](std::string_view sql) { return server_parameter_markers(sql).size(); };
  EXPECT_EQ(markers("SELECT ?, '?', \"?\", `?`"), 1u);
  EXPECT_EQ(markers("SELECT ? # ?\n, ?"), 2u);
  EXPECT_EQ(markers("SELECT /* ? */ ?"), 1u);
  // Executable comments are code to the server.
  EXPECT_EQ(markers("SELECT /*! ? */ 1"), 1u);
  EXPECT_EQ(markers("SELECT /*!50000 ? */ 1"), 1u);
  EXPECT_EQ(markers("SELECT /*M! ? */ 1"), 1u);
  // "--" is a comment only when white space follows.
  EXPECT_EQ(markers("SELECT 1 -- ?"), 0u);
  EXPECT_EQ(markers("SELECT 1 --?"), 1u);
  // No backslash escapes in backquoted names.
  EXPECT_EQ(markers("SELECT `a\\` , ?"), 1u);
}

TEST(DbValues, ConvertToIntegersLikeRowAndColumnNumbers) {
  EXPECT_EQ(db_value_to_integer(int64_t{-3}), -3);
  EXPECT_EQ(db_value_to_integer(2.9), 2);
  EXPECT_EQ(db_value_to_integer(-2.9), -2);
  EXPECT_EQ(db_value_to_integer(std::string(" 12 ")), 12);
  EXPECT_EQ(db_value_to_integer(std::string("-7")), -7);
  EXPECT_EQ(db_value_to_integer(std::string("+7")), 7);
  EXPECT_EQ(db_value_to_integer(std::string("1_000")), 1000);
  EXPECT_EQ(db_value_to_integer(std::string("-9223372036854775808")), std::numeric_limits<int64_t>::min());
  EXPECT_EQ(db_value_to_integer(std::string("9223372036854775807")), std::numeric_limits<int64_t>::max());
  for (const char* bad : {"", " ", "1.0", "1e3", "abc", "1__0", "_1", "1_", "9223372036854775808", "--1", "0x10"})
    EXPECT_FALSE(db_value_to_integer(std::string(bad)).has_value()) << bad;
  EXPECT_FALSE(db_value_to_integer(std::nan("")).has_value());
  EXPECT_FALSE(db_value_to_integer(std::numeric_limits<double>::infinity()).has_value());
  EXPECT_FALSE(db_value_to_integer(1e19).has_value());
  EXPECT_FALSE(db_value_to_integer(DbValue{}).has_value());
  EXPECT_FALSE(db_value_to_integer(Blob("1")).has_value());
}

TEST(DbValues, QuoteForMessages) {
  EXPECT_EQ(db_value_repr(int64_t{5}), "5");
  EXPECT_EQ(db_value_repr(DbValue{}), "None");
  EXPECT_EQ(db_value_repr(std::string("abc")), "'abc'");
  EXPECT_EQ(db_value_repr(std::string("it's")), "\"it's\"");
  EXPECT_EQ(db_value_repr(std::string("a'b\"c")), "'a\\'b\"c'");
  EXPECT_EQ(db_value_repr(std::string("a\\b\nc")), "'a\\\\b\\nc'");
  EXPECT_EQ(db_value_repr(std::string("日本")), "'日本'");
  EXPECT_EQ(db_value_repr(Blob(std::string("a\0\xff", 3))), "b'a\\x00\\xff'");
  EXPECT_EQ(db_value_repr(1.0), "1.0");
  EXPECT_EQ(db_value_repr(-2.5), "-2.5");
  EXPECT_EQ(db_value_repr(0.1), "0.1");
  EXPECT_EQ(db_value_repr(0.0001), "0.0001");
  EXPECT_EQ(db_value_repr(0.00001), "1e-05");
  EXPECT_EQ(db_value_repr(1e15), "1000000000000000.0");
  EXPECT_EQ(db_value_repr(1e16), "1e+16");
  EXPECT_EQ(db_value_repr(1.5e300), "1.5e+300");
  EXPECT_EQ(db_value_repr(123456.789), "123456.789");
}

}  // namespace
}  // namespace corvane
