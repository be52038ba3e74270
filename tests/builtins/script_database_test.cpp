// corvane-run --script with databases: an SQLite program end to end, and
// one against the real MariaDB server of scripts/with-mariadb (its
// CORVANE_MYSQL_* variables must be set: without them the test fails).
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "common/run_command.h"
#include "harness.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;

testing::CommandResult run_script(const fs::path& folder, const std::string& source) {
  const fs::path file = folder / "main.bas";
  std::ofstream(file, std::ios::binary) << source;
  return testing::run_command({testing::tool_path("corvane-run"), "--script", file.string()});
}

TEST(ScriptDatabases, SqliteProgramOpensQueriesAndPrints) {
  testing::TempFolder folder;
  const auto result = run_script(folder.path, R"B(Sub Main()
  DBOpen "sqlite", "shop.db"
  DBExecute "CREATE TABLE items(id INTEGER PRIMARY KEY, name TEXT, price REAL)"
  For i = 1 To 3
    DBExecute "INSERT INTO items(name, price) VALUES (?, ?)", "Item " & i, i * 1.25
  Next
  n = DBQuery("SELECT name, price FROM items WHERE price > ? ORDER BY id DESC", 2)
  For r = 0 To n - 1
    Debug.Print DBField(r, "name") & ": " & Format(DBField(r, 1), "Currency")
  Next
  Set conn = New ADODB.Connection
  conn.Open "Provider=SQLite;Data Source=shop.db"
  Set rs = conn.Execute("SELECT count(*) AS c, max(id) AS m FROM items")
  Debug.Print rs.Fields("c").Value & " rows, last " & rs.Fields("M").Value & ", " & DBLastID()
  Debug.Print App.Path
End Sub
)B");
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out, "Item 3: $3.75\nItem 2: $2.50\n3 rows, last 3, 3\n" + folder.path.string() + "\n");
  EXPECT_TRUE(fs::exists(folder.path / "shop.db"));
}

std::string env(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

TEST(ScriptDatabases, MysqlThroughDBFunctionsAndADO) {
  const std::string host = env("CORVANE_MYSQL_HOST"), port = env("CORVANE_MYSQL_PORT"),
                    user = env("CORVANE_MYSQL_USER"), password = env("CORVANE_MYSQL_PASSWORD"),
                    database = env("CORVANE_MYSQL_DATABASE");
  ASSERT_FALSE(host.empty() || port.empty() || user.empty() || database.empty())
      << "CORVANE_MYSQL_* are not set: run the tests through scripts/with-mariadb";
  const std::string table = "builtins_" + std::to_string(::getpid());
  auto quoted = [](const std::string& text) {
    std::string out = "\"";
    for (char c : text) out += c == '"' ? std::string("\"\"") : std::string(1, c);
    return out + "\"";
  };
  testing::TempFolder folder;
  const std::string source =
      "Sub Main()\n"
      "  DBOpen \"MySQL\", " + quoted(database) + ", " + quoted(user) + ", " + quoted(password) + ", " +
      quoted(host) + ", " + port + "\n"
      "  DBExecute \"CREATE TABLE " + table + "(id INT AUTO_INCREMENT PRIMARY KEY, name VARCHAR(50), price DOUBLE, note TEXT) CHARACTER SET utf8mb4\"\n"
      "  Debug.Print DBExecute(\"INSERT INTO " + table + "(name, price, note) VALUES (?, ?, ?)\", \"日本 😀\", 2.5, Nothing)\n"
      "  Debug.Print DBLastID()\n"
      "  DBExecute \"INSERT INTO " + table + "(name, price, note) VALUES (?, ?, ?)\", \"it's \"\"x\"\"\", 7, \"n\"\n"
      "  Debug.Print DBLastID()\n"
      "  Debug.Print DBQuery(\"SELECT '?' AS q, name, price, note FROM " + table + " WHERE id = ? -- why?\", 1)\n"
      "  Debug.Print DBField(0, \"q\") & \"|\" & DBField(0, \"NAME\") & \"|\" & Len(DBField(0, 1)) & \"|\" & DBField(0, 2) * 2 & \"|[\" & DBField(0, -1) & \"]\"\n"
      "  Debug.Print DBScalar(\"SELECT name FROM " + table + " WHERE name LIKE ?\", \"it%\")\n"
      // The DB session's open transaction would hold the table's metadata
      // lock and keep DROP TABLE waiting.
      "  DBClose\n"
      "  Set conn = New ADODB.Connection\n"
      "  conn.Open \"Provider=MySQL;Server=" + host + ";Port=" + port + ";Database=" + database + ";User Id=" + user +
      ";Password=" + password + "\"\n"
      "  Set rs = conn.Execute(\"SELECT id, name FROM " + table + " WHERE id > ? ORDER BY id\", 0)\n"
      "  Do While Not rs.EOF\n"
      "    Debug.Print rs.Fields(\"id\").Value & \" \" & rs.Fields(1).Value\n"
      "    rs.MoveNext\n"
      "  Loop\n"
      "  conn.Execute \"DROP TABLE " + table + "\"\n"
      "  conn.Close\n"
      "  Debug.Print conn.State\n"
      "  On Error Resume Next\n"
      "  DBOpen \"mysql\", " + quoted(database) + ", " + quoted(user) + ", \"wrong password\", " + quoted(host) + ", " +
      port + "\n"
      "  Debug.Print Left(Err.Description, 28)\n"
      "End Sub\n";
  const auto result = run_script(folder.path, source);
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out,
            "1\n1\n2\n1\n?|日本 😀|4|5.0|[]\nit's \"x\"\n1 日本 😀\n2 it's \"x\"\n0\nCould not connect to mysql: \n");
}

}  // namespace
}  // namespace corvane
