// The DB... functions over the interpreter's own SQLite session: values of
// every type both ways, transactions, rollback, DBField and DBColumn, and
// the session's messages as runtime errors.
#include <gtest/gtest.h>

#include <filesystem>

#include "harness.h"

namespace corvane {
namespace {

using testing::Program;
using testing::TempFolder;

// Sub Main made of the given lines.
std::string main_of(const std::string& body) { return "Sub Main()\n" + body + "End Sub\n"; }

TEST(DatabaseFunctions, ValuesOfEveryTypeRoundTrip) {
  TempFolder folder;
  Program s = testing::script(main_of(R"B(DBOpen "sqlite", ":memory:"
Debug.Print DBExecute("CREATE TABLE t(id INTEGER PRIMARY KEY, i INTEGER, d REAL, s TEXT, b, n)")
Debug.Print DBExecute("INSERT INTO t(i, d, s, b, n) VALUES (?, ?, ?, ?, ?)", 42, 2.5, "日本 'quoted'", True, Nothing)
Debug.Print DBLastID()
Debug.Print DBExecute("INSERT INTO t(i, d, s, b, n) VALUES (?, ?, ?, ?, ?)", -9007199254740993, 1E+300, "", False, "x")
Debug.Print DBLastID()
Debug.Print DBQuery("SELECT i, d, s, b, n, typeof(i) || typeof(d) || typeof(s) || typeof(b) || typeof(n) AS k FROM t ORDER BY id")
Debug.Print DBField(0, "i") + 1 & "|" & DBField(0, "d") * 2 & "|" & DBField(0, "s") & "|" & DBField(0, "b") & "|[" & DBField(0, "n") & "]|" & DBField(0, "k")
Debug.Print DBField(1, 0) & "|" & DBField(1, 1) & "|[" & DBField(1, 2) & "]|" & DBField(1, 3) & "|" & DBField(1, 4) & "|" & DBField(1, 5)
Debug.Print IsNull(DBScalar("SELECT n FROM t WHERE id = 1")) & IsNull(DBScalar("SELECT n FROM t WHERE id = 2"))
Debug.Print "[" & DBScalar("SELECT n FROM t WHERE id = 99") & "]" & DBRows() & DBColumns()
Debug.Print Len(DBScalar("SELECT s FROM t WHERE i = ?", 42))
)B"),
           folder.path.string());
  EXPECT_EQ(s.run(), "");
  EXPECT_EQ(s.text(),
            "0\n1\n1\n1\n2\n2\n"
            "43|5.0|日本 'quoted'|1|[]|integerrealtextintegernull\n"
            "-9007199254740993|1e+300|[]|0|x|integerrealtextintegertext\n"
            "TrueFalse\n[]01\n11\n");
}

TEST(DatabaseFunctions, BlobsComeBackAsTheirBytes) {
  TempFolder folder;
  Program s = testing::script(main_of(R"B(DBOpen "sqlite", ":memory:"
DBExecute "CREATE TABLE f(data BLOB)"
DBExecute "INSERT INTO f VALUES (X'00FF41')"
DBQuery "SELECT data, typeof(data) FROM f"
b = DBField(0, 0)
Debug.Print Len(b) & " " & Asc(b) & " " & Mid(b, 3) & " " & DBField(0, 1)
)B"),
           folder.path.string());
  EXPECT_EQ(s.run(), "");
  EXPECT_EQ(s.text(), "3 0 A blob\n");
}

TEST(DatabaseFunctions, QueryChangesWaitForTheNextExecuteAndFailedExecuteRollsBack) {
  TempFolder folder;
  Program s = testing::script(main_of(R"B(DBOpen "SQLite", "data.db"
DBExecute "CREATE TABLE t(id INTEGER PRIMARY KEY, name TEXT UNIQUE)"
DBQuery "INSERT INTO t(name) VALUES (?)", "kept later"
DBExecute "INSERT INTO t(name) VALUES (?)", "committed"
DBQuery "INSERT INTO t(name) VALUES (?)", "lost on close"
DBClose
DBOpen "sqlite", "data.db"
Debug.Print DBScalar("SELECT group_concat(name, ',') FROM t")
DBQuery "INSERT INTO t(name) VALUES (?)", "rolled back"
On Error Resume Next
DBExecute "INSERT INTO t(name) VALUES (?)", "committed"
Debug.Print Err.Description
On Error GoTo 0
DBClose
DBOpen "sqlite", "data.db"
Debug.Print DBScalar("SELECT count(*) FROM t")
)B"),
           folder.path.string());
  EXPECT_EQ(s.run(), "");
  EXPECT_EQ(s.text(), "kept later,committed\nSQL execution failed: UNIQUE constraint failed: t.name\n2\n");
  // A relative file name is taken relative to the base folder.
  EXPECT_TRUE(std::filesystem::exists(folder.path / "data.db"));
}

TEST(DatabaseFunctions, FieldsAndColumnsByNameAndFromTheEnd) {
  TempFolder folder;
  Program s = testing::script(main_of(R"B(DBOpen "sqlite", ":memory:"
DBExecute "CREATE TABLE t(a, B, c)"
DBExecute "INSERT INTO t VALUES (1, 2, 3), (4, 5, 6)"
Debug.Print DBQuery("SELECT a, b AS Beta, c FROM t ORDER BY a")
Debug.Print DBField(-1, -1) & DBField(0, "BETA") & DBField("1", 1.9) & DBField(1, -3)
Debug.Print DBColumn(0) & DBColumn(-2) & DBColumns() & DBRows()
)B"),
           folder.path.string());
  EXPECT_EQ(s.run(), "");
  EXPECT_EQ(s.text(), "2\n6254\naBeta32\n");
}

TEST(DatabaseFunctions, FailuresCarryTheSessionMessages) {
  TempFolder folder;
  auto error_of = [&](const std::string& body) {
    Program s = testing::script(main_of(body), folder.path.string());
    return s.run();
  };
  EXPECT_EQ(error_of("DBQuery \"SELECT 1\"\n"), "No connection. Call DBOpen first.");
  EXPECT_EQ(error_of("x = DBScalar(\"SELECT 1\")\n"), "No connection. Call DBOpen first.");
  EXPECT_EQ(error_of("DBOpen \"postgres\", \"x\"\n"), "Database type must be sqlite or mysql");
  EXPECT_EQ(error_of("DBOpen \"sqlite\"\n"), "DBOpen requires at least 2 arguments");
  EXPECT_EQ(error_of("DBExecute\n"), "DBExecute requires at least 1 argument");
  const std::string open = "DBOpen \"sqlite\", \":memory:\"\nDBExecute \"CREATE TABLE t(a)\"\n"
                           "DBExecute \"INSERT INTO t VALUES (1)\"\nDBQuery \"SELECT a FROM t\"\n";
  EXPECT_EQ(error_of(open + "DBQuery \"SELEC a\"\n"), "SQL execution failed: near \"SELEC\": syntax error");
  EXPECT_EQ(error_of(open + "x = DBField(5, 0)\n"), "Invalid DBField row/column: 5, 0");
  EXPECT_EQ(error_of(open + "x = DBField(0, \"nope\")\n"), "Invalid DBField row/column: 0, 'nope'");
  EXPECT_EQ(error_of(open + "x = DBField(0, \"0\")\n"), "Invalid DBField row/column: 0, '0'");
  EXPECT_EQ(error_of(open + "x = DBField(0)\n"), "DBField requires 2 arguments");
  EXPECT_EQ(error_of(open + "x = DBColumn(3)\n"), "Invalid DBColumn index");
  EXPECT_EQ(error_of(open + "Dim a(1)\nDBExecute \"INSERT INTO t VALUES (?)\", a\n"),
            "SQL execution failed: Error binding parameter 1: type 'Array' is not supported");
  // A failed statement keeps the last result; DBOpen closes the earlier
  // connection.
  Program s = testing::script(main_of(open + "On Error Resume Next\nDBQuery \"SELECT nope FROM t\"\nDebug.Print DBRows() & DBField(0, 0)\n"
                          "DBOpen \"sqlite\", \":memory:\"\nDebug.Print DBRows()\nDBQuery \"SELECT * FROM t\"\n"
                          "Debug.Print Err.Description\nDebug.Print DBClose() & DBClose() & DBLastID()\n"),
           folder.path.string());
  EXPECT_EQ(s.run(), "");
  EXPECT_EQ(s.text(), "11\n0\nSQL execution failed: no such table: t\n110\n");
}

TEST(DatabaseFunctions, EachInterpreterHasItsOwnSession) {
  TempFolder folder;
  Program a = testing::script(main_of("DBOpen \"sqlite\", \":memory:\"\nDBExecute \"CREATE TABLE t(x)\"\n"), folder.path.string());
  Program b = testing::script(main_of("DBQuery \"SELECT 1\"\n"), folder.path.string());
  EXPECT_EQ(a.run(), "");
  EXPECT_EQ(b.run(), "No connection. Call DBOpen first.");
}

}  // namespace
}  // namespace corvane
