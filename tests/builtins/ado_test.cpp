// ADODB.Connection and ADODB.Recordset: connection strings, statements and
// queries, recordset walking and the objects' messages.
#include <gtest/gtest.h>

#include <filesystem>

#include "harness.h"

namespace corvane {
namespace {

using testing::Program;
using testing::TempFolder;

std::string main_of(const std::string& body) { return "Sub Main()\n" + body + "End Sub\n"; }

TEST(ADOConnection, ConnectionStringForms) {
  TempFolder folder;
  Program s = testing::script(main_of(R"B(Set c = New ADODB.Connection
Debug.Print c.State & "[" & c.ConnectionString & "]"
Debug.Print c.Open("Provider=SQLite;Data Source=app.db") & c.State
c.Close
Debug.Print c.State
c.Open " provider = SQLITE3 ; junk ; database = second.db "
Debug.Print c.State & c.ConnectionString
c.ConnectionString = "sqlite::memory:"
c.Open
Debug.Print c.State
Set d = New adodb.connection
d.Open "Data Source=app.db"
d.Execute "CREATE TABLE t(n)"
d.Execute "INSERT INTO t VALUES (?)", 7
Debug.Print c.Execute("SELECT count(*) FROM sqlite_master").Fields(0).Value
Set e = New ADODB.Connection
e.Open "Provider=SQLite;Data Source=app.db"
Debug.Print e.Execute("SELECT n FROM t").Fields("N").Value
)B"),
           folder.path.string());
  EXPECT_EQ(s.run(), "");
  EXPECT_EQ(s.text(), "0[]\n11\n0\n1 provider = SQLITE3 ; junk ; database = second.db \n1\n0\n7\n");
  EXPECT_TRUE(std::filesystem::exists(folder.path / "app.db"));
  EXPECT_TRUE(std::filesystem::exists(folder.path / "second.db"));
}

TEST(ADOConnection, OpenFailuresAndWhatTheyLeave) {
  TempFolder folder;
  auto error_of = [&](const std::string& body) {
    Program s = testing::script(main_of("Set c = New ADODB.Connection\n" + body), folder.path.string());
    return s.run();
  };
  EXPECT_EQ(error_of("c.Open \"Provider=Oracle\"\n"), "Unsupported ADO provider: oracle (use SQLite or MySQL)");
  EXPECT_EQ(error_of("c.Open \"Provider=SQLite\"\n"), "SQLite ADO connection requires Data Source");
  EXPECT_EQ(error_of("c.Open\n"), "SQLite ADO connection requires Data Source");
  EXPECT_EQ(error_of("c.Open \"Provider=MySQL;Port=abc\"\n"), "invalid literal for int() with base 10: 'abc'");
  EXPECT_EQ(error_of("c.Open \"Provider=MySQL;Server=127.0.0.1;Port=1;Database=x\"\n").rfind("Could not connect to mysql: ", 0),
            0u);
  EXPECT_EQ(error_of("c.Open \"sqlite:\" & \"no/such/folder/x.db\"\n").rfind("Could not connect to sqlite: ", 0), 0u);
  EXPECT_EQ(error_of("c.Execute\n"), "Execute requires SQL text");
  EXPECT_EQ(error_of("c.Execute \"SELECT 1\"\n"), "No connection. Call DBOpen first.");
  EXPECT_EQ(error_of("c.Rollback\n"), "Unsupported Connection method: Rollback");
  EXPECT_EQ(error_of("x = c.Provider\n"), "Unsupported Connection property: Provider");
  EXPECT_EQ(error_of("c.Timeout = 3\n"), "Unsupported Connection property: Timeout");
  EXPECT_EQ(error_of("Set x = New ADODB.Command\n"), "Class not found: ADODB.Command");

  // A provider error leaves the earlier connection open; a failed connect
  // leaves it closed; the new text is stored either way.
  Program s = testing::script(main_of(R"B(Set c = New ADODB.Connection
c.Open "sqlite::memory:"
On Error Resume Next
c.Open "Provider=Oracle"
Debug.Print c.State & " " & c.ConnectionString
c.Open "sqlite:missing/dir/x.db"
Debug.Print c.State & " " & c.ConnectionString
)B"),
           folder.path.string());
  EXPECT_EQ(s.run(), "");
  EXPECT_EQ(s.text(), "1 Provider=Oracle\n0 sqlite:missing/dir/x.db\n");
}

TEST(ADORecordset, WalkingRows) {
  TempFolder folder;
  Program s = testing::script(main_of(R"B(Dim conn As New ADODB.Connection
conn.Open "sqlite::memory:"
conn.Execute "CREATE TABLE p(id INTEGER PRIMARY KEY, name TEXT, price REAL, note TEXT)"
conn.Execute "INSERT INTO p(name, price, note) VALUES (?, ?, ?)", "Tea", 2.5, Nothing
conn.Execute "INSERT INTO p(name, price, note) VALUES (?, ?, ?)", "日本茶", 4, "green"
Set rs = conn.Execute("  select name, price, note FROM p WHERE price > ? ORDER BY id", 1)
Debug.Print rs.RecordCount & rs.BOF & rs.EOF & rs.State
Do While Not rs.EOF
  Debug.Print rs.Fields("NAME").Value & "|" & rs.Fields(1).Value & "|" & IsNull(rs.Fields("note").Value) & "|" & rs.Fields(-1).Value & "|" & rs.Fields().Value
  rs.MoveNext
Loop
rs.MoveNext
Debug.Print rs.EOF
rs.MoveFirst
Debug.Print rs.Fields(0).Value
Set f = rs.Fields(0)
rs.MoveNext
Debug.Print f.Value & " " & rs.EOF
Set u = conn.Execute("UPDATE p SET price = ?", 5)
Debug.Print u.EOF & u.BOF & u.RecordCount
Debug.Print conn.Execute("WITH x AS (SELECT sum(price) AS s FROM p) SELECT s FROM x").Fields(0).Value
Set e = conn.Execute("SELECT * FROM p WHERE 0")
Debug.Print e.EOF & e.BOF & e.RecordCount
rs.Close
Debug.Print rs.EOF & rs.RecordCount
)B"),
           folder.path.string());
  EXPECT_EQ(s.run(), "");
  EXPECT_EQ(s.text(),
            "2FalseFalse1\n"
            "Tea|2.5|True||Tea\n"
            "日本茶|4.0|False|green|日本茶\n"
            "True\nTea\nTea False\nTrueTrue0\n10.0\nTrueTrue0\nTrue0\n");
}

TEST(ADORecordset, Messages) {
  TempFolder folder;
  auto error_of = [&](const std::string& body) {
    Program s = testing::script(main_of("Set c = New ADODB.Connection\nc.Open \"sqlite::memory:\"\n"
                     "Set rs = c.Execute(\"SELECT 1 AS n, 2 AS m\")\n" + body),
             folder.path.string());
    return s.run();
  };
  EXPECT_EQ(error_of("x = rs.Fields(\"q\").Value\n"), "Unknown field q");
  EXPECT_EQ(error_of("x = rs.Fields(2).Value\n"), "Field index out of bounds");
  EXPECT_EQ(error_of("x = rs.Fields(-3).Value\n"), "Field index out of bounds");
  EXPECT_EQ(error_of("rs.MoveNext\nx = rs.Fields(0).Value\n"), "Recordset is at EOF");
  EXPECT_EQ(error_of("x = rs.Fields(\"n\").Value\nrs.MoveNext\nx = rs.Fields(\"n\").Value\n"), "Recordset is at EOF");
  EXPECT_EQ(error_of("x = rs.AbsolutePosition\n"), "Unsupported Recordset property: absoluteposition");
  EXPECT_EQ(error_of("rs.MoveLast\n"), "Unsupported Recordset method: MoveLast");
  EXPECT_EQ(error_of("x = rs.Fields(0).Size\n"), "Field has no field Size");
  EXPECT_EQ(error_of("x = c.Execute(\"SELECT nope\")\n"), "SQL execution failed: no such column: nope");
}

}  // namespace
}  // namespace corvane
