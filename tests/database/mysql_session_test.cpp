// The session against a real MariaDB server started by scripts/with-mariadb,
// which passes its coordinates in CORVANE_MYSQL_* variables. Without them
// these tests fail: they are never skipped.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <functional>

#include "database/session.h"

namespace corvane {
namespace {

struct Server {
  std::string host, user, password, database;
  int64_t port = 0;
};

std::optional<Server> server_from_environment() {
  auto get = [](const char* name) -> std::optional<std::string> {
    const char* v = std::getenv(name);
    if (!v) return std::nullopt;
    return std::string(v);
  };
  auto host = get("CORVANE_MYSQL_HOST"), port = get("CORVANE_MYSQL_PORT"), user = get("CORVANE_MYSQL_USER"),
       password = get("CORVANE_MYSQL_PASSWORD"), database = get("CORVANE_MYSQL_DATABASE");
  if (!host || !port || !user || !password || !database) return std::nullopt;
  return Server{*host, *user, *password, *database, std::stoll(*port)};
}

std::string error_of(const std::function<void()>& action) {
  try {
    action();
  } catch (const DatabaseError& e) {
    return e.message();
  }
  return "(no error)";
}

std::string text(const DbValue& v) {
  const std::string* s = std::get_if<std::string>(&v);
  return s ? *s : "(not text)";
}

bool starts_with(const std::string& s, const std::string& prefix) { return s.rfind(prefix, 0) == 0; }

class MysqlSession : public ::testing::Test {
 protected:
  void SetUp() override {
    auto found = server_from_environment();
    ASSERT_TRUE(found.has_value())
        << "CORVANE_MYSQL_HOST/PORT/USER/PASSWORD/DATABASE are not set: run the tests through "
           "scripts/with-mariadb (./test does)";
    server = *found;
    // Tests run in parallel processes against one database: own table names.
    static int counter = 0;
    table = "t_" + std::to_string(getpid()) + "_" + std::to_string(++counter);
    connect(s);
  }
  void TearDown() override {
    if (server.port == 0) return;
    // Our own open transaction would hold the table's lock against DROP.
    s.close();
    DatabaseSession cleanup;
    connect(cleanup);
    cleanup.execute("DROP TABLE IF EXISTS " + table);
  }
  void connect(DatabaseSession& session) {
    EXPECT_EQ(session.open("mysql", server.database, server.user, server.password, server.host, server.port), 1);
  }
  std::string sql(std::string text) {
    for (size_t at; (at = text.find("$t")) != std::string::npos;) text.replace(at, 2, table);
    return text;
  }

  Server server;
  std::string table;
  DatabaseSession s;
};

TEST_F(MysqlSession, CreateInsertSelectLastIdAndUtf8mb4) {
  EXPECT_EQ(s.engine(), "mysql");
  EXPECT_EQ(s.execute(sql("CREATE TABLE $t(id INT AUTO_INCREMENT PRIMARY KEY, name VARCHAR(50)) "
                          "CHARACTER SET utf8mb4")),
            0);
  EXPECT_EQ(s.execute(sql("INSERT INTO $t(name) VALUES (?)"), {"Ann"}), 1);
  EXPECT_EQ(s.last_id(), 1);
  EXPECT_EQ(s.execute(sql("INSERT INTO $t(name) VALUES (?)"), {"é 日本 😀"}), 1);
  EXPECT_EQ(s.last_id(), 2);
  EXPECT_EQ(s.query(sql("SELECT * FROM $t ORDER BY id")), 2);
  EXPECT_EQ(s.columns(), (std::vector<std::string>{"id", "name"}));
  EXPECT_EQ(text(s.field(0, "NAME")), "Ann");
  EXPECT_EQ(text(s.field(-1, 1)), "é 日本 😀");
  // The server counts characters, so the text arrived as utf8mb4.
  EXPECT_EQ(s.scalar(sql("SELECT CHAR_LENGTH(name) FROM $t WHERE id = 2")), DbValue(int64_t{6}));
  // The last id belongs to the statement: a SELECT reports none.
  EXPECT_EQ(s.last_id(), 0);
  EXPECT_EQ(s.execute(sql("UPDATE $t SET name = ? WHERE id > ?"), {"x", int64_t{0}}), 2);
  EXPECT_EQ(s.execute(sql("DELETE FROM $t WHERE id > 100")), 0);
  EXPECT_EQ(s.query(sql("SELECT name FROM $t WHERE id = 99")), 0);
  EXPECT_EQ(s.column_count(), 1u);
  EXPECT_EQ(s.scalar(sql("SELECT name FROM $t WHERE id = 99")), DbValue(std::string()));
}

TEST_F(MysqlSession, ValuesKeepTheirTypes) {
  s.execute(sql("CREATE TABLE $t(k INT AUTO_INCREMENT PRIMARY KEY, i BIGINT, u BIGINT UNSIGNED, d DOUBLE, "
                "f FLOAT, m DECIMAL(10,2), w DECIMAL(12,0), t TEXT, b BLOB, dt DATE, ts DATETIME, n INT)"));
  const std::string bytes("\x00\xff\x01'\\", 5);
  s.execute(sql("INSERT INTO $t(i, u, d, f, m, w, t, b, dt, ts, n) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
            {std::numeric_limits<int64_t>::min(), std::string("18446744073709551615"), 2.5, 1.1, 12.5,
             int64_t{123456}, std::string("nul\0in", 6), Blob(bytes), std::string("2024-01-02"),
             std::string("2024-01-02 03:04:05"), DbValue{}});
  ASSERT_EQ(s.query(sql("SELECT i, u, d, f, m, w, t, b, dt, ts, n, NULL AS z, 7 AS seven, 1.5 AS lit FROM $t")), 1);
  auto row = s.result().row(0);
  EXPECT_EQ(row[0], DbValue(std::numeric_limits<int64_t>::min()));
  EXPECT_EQ(row[1], DbValue(18446744073709551615.0));
  EXPECT_EQ(row[2], DbValue(2.5));
  EXPECT_EQ(row[3], DbValue(1.1));
  EXPECT_EQ(row[4], DbValue(12.5));
  EXPECT_EQ(row[5], DbValue(int64_t{123456}));
  EXPECT_EQ(row[6], DbValue(std::string("nul\0in", 6)));
  EXPECT_EQ(row[7], DbValue(Blob(bytes)));
  EXPECT_EQ(row[8], DbValue(std::string("2024-01-02")));
  EXPECT_EQ(row[9], DbValue(std::string("2024-01-02 03:04:05")));
  EXPECT_TRUE(is_null(row[10]));
  EXPECT_TRUE(is_null(row[11]));
  EXPECT_EQ(row[12], DbValue(int64_t{7}));
  EXPECT_EQ(row[13], DbValue(1.5));
  EXPECT_EQ(s.field(0, "n"), DbValue(std::string()));
  EXPECT_EQ(s.scalar("SELECT COUNT(*) FROM " + table), DbValue(int64_t{1}));
  EXPECT_TRUE(is_null(s.scalar("SELECT NULL")));
  // Typed parameters reach the server with their types.
  EXPECT_EQ(s.scalar("SELECT ? + ?", {int64_t{40}, int64_t{2}}), DbValue(int64_t{42}));
  EXPECT_EQ(s.scalar("SELECT ?", {Blob(bytes)}), DbValue(Blob(bytes)));
  EXPECT_EQ(s.scalar("SELECT ?", {std::string("")}), DbValue(std::string("")));
}

TEST_F(MysqlSession, PlaceholdersInsideQuotesAndCommentsAreText) {
  s.execute(sql("CREATE TABLE $t(id INT PRIMARY KEY, name VARCHAR(20))"));
  s.execute(sql("INSERT INTO $t VALUES (1, 'one'), (2, 'two')"));
  EXPECT_EQ(s.query(sql("SELECT '?' AS q, name FROM $t WHERE id = ? -- why?"), {int64_t{2}}), 1);
  EXPECT_EQ(text(s.field(0, "q")), "?");
  EXPECT_EQ(text(s.field(0, "name")), "two");
  EXPECT_EQ(s.query("SELECT 'it''s ?' AS a, \"a\\\"?\" AS b, ? AS c", {std::string("v")}), 1);
  EXPECT_EQ(text(s.field(0, "a")), "it's ?");
  EXPECT_EQ(text(s.field(0, "b")), "a\"?");
  EXPECT_EQ(text(s.field(0, "c")), "v");
  // A mark in a "#" or "/* */" comment takes its value into the comment.
  EXPECT_EQ(s.query("SELECT ? AS a # really?\n, ? AS b", {int64_t{1}, int64_t{2}, int64_t{3}}), 1);
  EXPECT_EQ(s.columns(), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(s.field(0, "b"), DbValue(int64_t{3}));
  EXPECT_EQ(s.query("SELECT /* ? */ ? AS a", {int64_t{1}, int64_t{2}}), 1);
  EXPECT_EQ(s.field(0, 0), DbValue(int64_t{2}));
  EXPECT_EQ(error_of([&] { s.query("SELECT ?, ?", {int64_t{1}}); }),
            "SQL execution failed: not enough arguments for format string");
  EXPECT_EQ(error_of([&] { s.query("SELECT '?'", {int64_t{1}}); }),
            "SQL execution failed: not all arguments converted during string formatting");
  // A literal percent sign is just text.
  EXPECT_EQ(s.scalar("SELECT CONCAT('100%', ?)", {std::string("%s")}), DbValue(std::string("100%%s")));
}

TEST_F(MysqlSession, HostileValuesAreStoredLiterally) {
  s.execute(sql("CREATE TABLE $t(id INT AUTO_INCREMENT PRIMARY KEY, v VARBINARY(200), t VARCHAR(200))"));
  const std::vector<std::string> hostile = {
      "'; DROP TABLE " + table + "; --", "\\'\\\\\"", "' OR '1'='1", std::string("a\0b'; --", 8),
      "?", "%s", "\xf0\x9f\x98\x80 \\0 \\n", "`", "/*",
  };
  for (const auto& h : hostile) s.execute(sql("INSERT INTO $t(v, t) VALUES (?, ?)"), {Blob(h), h});
  ASSERT_EQ(s.query(sql("SELECT v, t FROM $t ORDER BY id")), int64_t(hostile.size()));
  for (size_t i = 0; i < hostile.size(); ++i) {
    EXPECT_EQ(s.result().row(i)[0], DbValue(Blob(hostile[i]))) << i;
    EXPECT_EQ(s.result().row(i)[1], DbValue(hostile[i])) << i;
  }
  EXPECT_EQ(s.scalar(sql("SELECT COUNT(*) FROM $t WHERE t = ?"), {hostile[2]}), DbValue(int64_t{1}));
}

TEST_F(MysqlSession, QueryDoesNotCommitExecuteDoesAndFailedExecuteRollsBack) {
  s.execute(sql("CREATE TABLE $t(id INT PRIMARY KEY, name VARCHAR(20) NOT NULL) ENGINE=InnoDB"));
  DatabaseSession other;
  connect(other);
  auto visible = [&] {
    // A fresh transaction each time, so the reader sees the latest commits.
    other.execute("COMMIT");
    return other.scalar(sql("SELECT COUNT(*) FROM $t"));
  };
  s.query(sql("INSERT INTO $t VALUES (1, 'q1')"));
  EXPECT_EQ(s.scalar(sql("SELECT COUNT(*) FROM $t")), DbValue(int64_t{1}));
  EXPECT_EQ(visible(), DbValue(int64_t{0}));
  s.execute(sql("INSERT INTO $t VALUES (2, 'e1')"));
  EXPECT_EQ(visible(), DbValue(int64_t{2}));

  s.query(sql("INSERT INTO $t VALUES (3, 'q2')"));
  EXPECT_TRUE(starts_with(error_of([&] { s.execute(sql("INSERT INTO $t VALUES (1, 'dup')")); }),
                          "SQL execution failed: Duplicate entry '1'"));
  EXPECT_EQ(s.scalar(sql("SELECT COUNT(*) FROM $t")), DbValue(int64_t{2}));

  s.query(sql("DELETE FROM $t"));
  s.close();
  connect(s);
  EXPECT_EQ(s.scalar(sql("SELECT COUNT(*) FROM $t")), DbValue(int64_t{2}));
}

TEST_F(MysqlSession, FailuresCarryTheServersMessage) {
  s.query("SELECT 1 AS a");
  std::string message = error_of([&] { s.query("SELEC 1"); });
  EXPECT_TRUE(starts_with(message, "SQL execution failed: You have an error in your SQL syntax")) << message;
  // A failed statement leaves the last result.
  EXPECT_EQ(s.columns(), (std::vector<std::string>{"a"}));
  message = error_of([&] { s.execute("SELECT * FROM no_such_table"); });
  EXPECT_TRUE(starts_with(message, "SQL execution failed: Table '" + server.database + ".no_such_table' doesn't exist"))
      << message;
  // Stacked statements are not run.
  s.execute(sql("CREATE TABLE $t(x INT)"));
  message = error_of([&] { s.execute(sql("INSERT INTO $t VALUES (1); DROP TABLE $t")); });
  EXPECT_TRUE(starts_with(message, "SQL execution failed: You have an error in your SQL syntax")) << message;
  EXPECT_EQ(s.scalar(sql("SELECT COUNT(*) FROM $t")), DbValue(int64_t{0}));
}

TEST_F(MysqlSession, ConnectFailuresNameTheBackendAndLeaveTheSessionClosed) {
  DatabaseSession bad;
  std::string message = error_of([&] {
    bad.open("MariaDB", server.database, server.user, "wrong password", server.host, server.port);
  });
  EXPECT_TRUE(starts_with(message, "Could not connect to mariadb: Access denied for user")) << message;
  EXPECT_FALSE(bad.is_open());
  message = error_of([&] { bad.open("mysql", "no_such_db", server.user, server.password, server.host, server.port); });
  EXPECT_TRUE(starts_with(message, "Could not connect to mysql: ")) << message;
  EXPECT_NE(message.find("no_such_db"), std::string::npos) << message;
  EXPECT_EQ(error_of([&] { bad.open("mysql", "x", "u", "p", "127.0.0.1", std::string("abc")); }),
            "Could not connect to mysql: invalid literal for int() with base 10: 'abc'");
  EXPECT_EQ(error_of([&] { bad.open("mysql", "x", "u", "p", "127.0.0.1", int64_t{70000}); }),
            "Could not connect to mysql: port out of range: 70000");
  // Nothing listens on port 1.
  message = error_of([&] { bad.open("mysql", "x", "u", "p", "127.0.0.1", int64_t{1}); });
  EXPECT_TRUE(starts_with(message, "Could not connect to mysql: Can't connect to")) << message;
  EXPECT_FALSE(bad.is_open());
  // The port may come as text holding a number; "localhost" still means TCP.
  EXPECT_EQ(bad.open(" MySQL", server.database, server.user, server.password, "localhost",
                     std::to_string(server.port)),
            1);
  EXPECT_EQ(bad.scalar("SELECT 1"), DbValue(int64_t{1}));
  // Opening an SQLite file closes the server connection first.
  bad.open("sqlite", ":memory:");
  EXPECT_EQ(bad.engine(), "sqlite");
}

}  // namespace
}  // namespace corvane
