// The session over SQLite: opening files, values and their types, bound
// parameters, transactions, results, and failures with their messages.
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <stdlib.h>

#include <chrono>
#include <thread>

#include "database/session.h"
#include "common/temp_folder.h"
#include <functional>

namespace corvane {
namespace {

using testing::TempFolder;

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

TEST(SqliteOpen, RelativeNamesAreTakenFromTheBaseFolder) {
  TempFolder tmp("corvane-db-");
  std::filesystem::create_directory(tmp.path() / "data");
  DatabaseSession s(tmp.path());
  EXPECT_EQ(s.open("  SQLite ", "data/app.db"), 1);
  EXPECT_TRUE(s.is_open());
  EXPECT_EQ(s.engine(), "sqlite");
  EXPECT_TRUE(std::filesystem::exists(tmp.path() / "data" / "app.db"));
  s.execute("CREATE TABLE t(x)");
  s.close();
  EXPECT_FALSE(s.is_open());
  EXPECT_EQ(s.engine(), "");

  // An absolute name ignores the base folder.
  DatabaseSession elsewhere("/");
  elsewhere.open("sqlite3", (tmp.path() / "data" / "app.db").string());
  EXPECT_EQ(elsewhere.query("SELECT name FROM sqlite_master"), 1);

  // A missing folder is not created.
  EXPECT_EQ(error_of([&] { s.open("sqlite", "missing/app.db"); }),
            "Could not connect to sqlite: unable to open database file");
  EXPECT_FALSE(s.is_open());
}

TEST(SqliteOpen, TildeIsTheHomeFolderAndBaseDefaultsToTheWorkingFolder) {
  TempFolder tmp("corvane-db-");
  const char* old_home = getenv("HOME");
  std::string saved = old_home ? old_home : "";
  setenv("HOME", tmp.path().c_str(), 1);
  DatabaseSession s;
  EXPECT_EQ(s.base_dir(), std::filesystem::current_path());
  s.open("sqlite", "~/home.db");
  EXPECT_TRUE(std::filesystem::exists(tmp.path() / "home.db"));
  s.close();
  if (old_home) setenv("HOME", saved.c_str(), 1); else unsetenv("HOME");

  // A relative base folder is made absolute.
  DatabaseSession relative(std::filesystem::path("some/where"));
  EXPECT_TRUE(relative.base_dir().is_absolute());
  EXPECT_EQ(relative.base_dir(), std::filesystem::current_path() / "some" / "where");
}

TEST(SqliteOpen, BadBackendsAndFailedOpensLeaveTheSessionClosed) {
  DatabaseSession s;
  s.open("sqlite", ":memory:");
  s.execute("CREATE TABLE t(x)");
  s.execute("INSERT INTO t VALUES (1)");
  s.query("SELECT x FROM t");
  EXPECT_EQ(error_of([&] { s.open("postgres", "x"); }), "Database type must be sqlite or mysql");
  EXPECT_FALSE(s.is_open());
  EXPECT_EQ(s.row_count(), 0u);
  EXPECT_EQ(s.column_count(), 0u);
  EXPECT_EQ(s.last_id(), 0);
  EXPECT_EQ(error_of([&] { s.query("SELECT 1"); }), "No connection. Call DBOpen first.");
  EXPECT_EQ(error_of([&] { s.execute("SELECT 1"); }), "No connection. Call DBOpen first.");
  EXPECT_EQ(error_of([&] { s.scalar("SELECT 1"); }), "No connection. Call DBOpen first.");
  EXPECT_EQ(error_of([&] { s.open("", "x"); }), "Database type must be sqlite or mysql");
  EXPECT_EQ(error_of([&] { s.open("sqlite", std::string("a\0b", 3)); }),
            "Could not connect to sqlite: embedded null character");
  EXPECT_EQ(s.close(), 1);
  EXPECT_EQ(s.close(), 1);
}

TEST(SqliteStatements, CreateInsertSelectAndFieldByName) {
  DatabaseSession s;
  s.open("sqlite", ":memory:");
  EXPECT_EQ(s.execute("CREATE TABLE t(id INTEGER PRIMARY KEY, name TEXT)"), 0);
  EXPECT_EQ(s.execute("INSERT INTO t(name) VALUES (?)", {"Ann"}), 1);
  EXPECT_EQ(s.last_id(), 1);
  EXPECT_EQ(s.query("SELECT * FROM t"), 1);
  EXPECT_EQ(s.columns(), (std::vector<std::string>{"id", "name"}));
  EXPECT_EQ(text(s.field(0, "NAME")), "Ann");
  EXPECT_EQ(s.field(0, 0), DbValue(int64_t{1}));
  EXPECT_EQ(s.column(1), "name");

  // A query matching nothing keeps its columns.
  EXPECT_EQ(s.query("SELECT id, name FROM t WHERE id = ?", {int64_t{99}}), 0);
  EXPECT_EQ(s.column_count(), 2u);
  EXPECT_EQ(s.row_count(), 0u);
  EXPECT_EQ(s.scalar("SELECT name FROM t WHERE id = 99"), DbValue(std::string()));

  // Counts: changed rows for statements without columns, 0 for the rest,
  // even right after a statement that changed rows.
  s.execute("INSERT INTO t(name) VALUES ('b'), ('c'), ('d')");
  EXPECT_EQ(s.last_id(), 4);
  EXPECT_EQ(s.execute("UPDATE t SET name = upper(name) WHERE id > 1"), 3);
  EXPECT_EQ(s.execute("CREATE TABLE u(x)"), 0);
  EXPECT_EQ(s.execute("DELETE FROM t WHERE id > 100"), 0);
  EXPECT_EQ(s.execute("WITH n(v) AS (SELECT 5) INSERT INTO u SELECT v FROM n"), 1);
  EXPECT_EQ(s.execute(""), 0);
  EXPECT_EQ(s.execute("-- nothing but a comment"), 0);
  // A statement returning rows counts its rows.
  EXPECT_EQ(s.execute("INSERT INTO t(name) VALUES ('e'), ('f') RETURNING id"), 2);
  EXPECT_EQ(s.field(-1, 0), DbValue(int64_t{6}));
  EXPECT_EQ(s.last_id(), 6);
  // Statements that insert nothing leave the last row id.
  s.query("SELECT * FROM t");
  EXPECT_EQ(s.last_id(), 6);
  s.execute("UPDATE t SET name = 'x' WHERE id = 1");
  EXPECT_EQ(s.last_id(), 6);
}

TEST(SqliteStatements, ValuesKeepTheirTypes) {
  DatabaseSession s;
  s.open("sqlite", ":memory:");
  s.execute("CREATE TABLE v(k INTEGER PRIMARY KEY, a)");
  const std::vector<DbValue> values = {
      int64_t{0},
      int64_t{-42},
      std::numeric_limits<int64_t>::max(),
      std::numeric_limits<int64_t>::min(),
      2.5,
      -0.1,
      1e300,
      std::string(),
      std::string("é 日本 😀"),
      std::string("nul\0inside", 10),
      Blob(),
      Blob(std::string("\x00\xff\x01 bytes", 9)),
      DbValue{},
  };
  for (const DbValue& v : values) s.execute("INSERT INTO v(a) VALUES (?)", {v});
  ASSERT_EQ(s.query("SELECT a, typeof(a) FROM v ORDER BY k"), int64_t(values.size()));
  const char* types[] = {"integer", "integer", "integer", "integer", "real", "real", "real",
                         "text",    "text",    "text",    "blob",    "blob", "null"};
  for (size_t i = 0; i < values.size(); ++i) {
    EXPECT_EQ(s.result().row(i)[0], values[i]) << i;
    EXPECT_EQ(text(s.result().row(i)[1]), types[i]) << i;
  }
  // field reads null as an empty text; the result keeps the null.
  EXPECT_EQ(s.field(-1, 0), DbValue(std::string()));
  EXPECT_TRUE(is_null(s.result().row(values.size() - 1)[0]));
  // scalar keeps null as null.
  EXPECT_TRUE(is_null(s.scalar("SELECT NULL")));
  EXPECT_EQ(s.scalar("SELECT 7, 8"), DbValue(int64_t{7}));
  EXPECT_EQ(s.scalar("SELECT length(?)", {std::string("日本")}), DbValue(int64_t{2}));
}

TEST(SqliteStatements, HostileValuesAreStoredLiterally) {
  DatabaseSession s;
  s.open("sqlite", ":memory:");
  s.execute("CREATE TABLE t(id INTEGER PRIMARY KEY, name TEXT)");
  const std::vector<std::string> hostile = {
      "'; DROP TABLE t; --",
      "Robert'); DROP TABLE t;--",
      "\\'\\\\\"",
      "?",
      "%s %d",
      std::string("a\0b'; DELETE FROM t; --", 24),
      "\x1b[31m",
  };
  for (const auto& h : hostile) s.execute("INSERT INTO t(name) VALUES (?)", {h});
  ASSERT_EQ(s.query("SELECT name FROM t ORDER BY id"), int64_t(hostile.size()));
  for (size_t i = 0; i < hostile.size(); ++i) EXPECT_EQ(text(s.field(int64_t(i), 0)), hostile[i]);
  EXPECT_EQ(s.scalar("SELECT count(*) FROM t WHERE name = ?", {hostile[0]}), DbValue(int64_t{1}));
}

TEST(SqliteStatements, FieldAndColumnIndexesAndTheirErrors) {
  DatabaseSession s;
  s.open("sqlite", ":memory:");
  s.query("SELECT 1 AS a, 2 AS \"1\", 3 AS A UNION ALL SELECT 4, 5, 6");
  EXPECT_EQ(s.field(1, 0), DbValue(int64_t{4}));
  EXPECT_EQ(s.field(-1, -1), DbValue(int64_t{6}));
  EXPECT_EQ(s.field(-2, -3), DbValue(int64_t{1}));
  // A text column is a name even when it holds digits; the first match wins.
  EXPECT_EQ(s.field(0, "1"), DbValue(int64_t{2}));
  EXPECT_EQ(s.field(0, "a"), DbValue(int64_t{1}));
  // Numbers are truncated; texts holding integers give rows.
  EXPECT_EQ(s.field(1.9, 2.7), DbValue(int64_t{6}));
  EXPECT_EQ(s.field(std::string(" 1 "), 0), DbValue(int64_t{4}));

  EXPECT_EQ(error_of([&] { s.field(5, 0); }), "Invalid DBField row/column: 5, 0");
  EXPECT_EQ(error_of([&] { s.field(-3, 0); }), "Invalid DBField row/column: -3, 0");
  EXPECT_EQ(error_of([&] { s.field(0, 3); }), "Invalid DBField row/column: 0, 3");
  EXPECT_EQ(error_of([&] { s.field(0, "nope"); }), "Invalid DBField row/column: 0, 'nope'");
  EXPECT_EQ(error_of([&] { s.field(std::string("x"), 0); }), "Invalid DBField row/column: 'x', 0");
  EXPECT_EQ(error_of([&] { s.field(0, "it's"); }), "Invalid DBField row/column: 0, \"it's\"");
  EXPECT_EQ(error_of([&] { s.field(DbValue{}, 1.5); }), "Invalid DBField row/column: None, 1.5");
  EXPECT_EQ(error_of([&] { s.field(0, DbValue{}); }), "Invalid DBField row/column: 0, None");

  EXPECT_EQ(s.column(-1), "A");
  EXPECT_EQ(s.column(std::string("1")), "1");
  EXPECT_EQ(error_of([&] { s.column(3); }), "Invalid DBColumn index");
  EXPECT_EQ(error_of([&] { s.column(-4); }), "Invalid DBColumn index");
  EXPECT_EQ(error_of([&] { s.column(std::string("a")); }), "Invalid DBColumn index");

  // A statement without columns clears the last result.
  s.execute("CREATE TABLE t(x)");
  EXPECT_EQ(s.column_count(), 0u);
  EXPECT_EQ(error_of([&] { s.field(0, 0); }), "Invalid DBField row/column: 0, 0");
  EXPECT_EQ(error_of([&] { s.column(0); }), "Invalid DBColumn index");
}

TEST(SqliteStatements, FailuresCarryTheDatabasesMessageAndKeepTheLastResult) {
  DatabaseSession s;
  s.open("sqlite", ":memory:");
  s.execute("CREATE TABLE t(id INTEGER PRIMARY KEY, name TEXT UNIQUE)");
  s.execute("INSERT INTO t(name) VALUES (?)", {"a"});
  s.query("SELECT id, name FROM t");
  EXPECT_EQ(error_of([&] { s.query("SELEC 1"); }), "SQL execution failed: near \"SELEC\": syntax error");
  EXPECT_EQ(error_of([&] { s.execute("SELECT * FROM missing"); }), "SQL execution failed: no such table: missing");
  EXPECT_EQ(error_of([&] { s.execute("INSERT INTO t(name) VALUES (?)", {"a"}); }),
            "SQL execution failed: UNIQUE constraint failed: t.name");
  EXPECT_EQ(error_of([&] { s.query("SELECT ?"); }),
            "SQL execution failed: Incorrect number of bindings supplied. The current statement uses 1, and "
            "there are 0 supplied.");
  EXPECT_EQ(error_of([&] { s.query("SELECT 1", {int64_t{1}}); }),
            "SQL execution failed: Incorrect number of bindings supplied. The current statement uses 0, and "
            "there are 1 supplied.");
  // One statement per call: a second one is refused, not run.
  EXPECT_EQ(error_of([&] { s.execute("SELECT 1; DROP TABLE t"); }),
            "SQL execution failed: You can only execute one statement at a time.");
  EXPECT_EQ(error_of([&] { s.execute(std::string("SELECT 1\0; DROP TABLE t", 23)); }),
            "SQL execution failed: the query contains a null character");
  EXPECT_EQ(s.execute("SELECT 1; -- trailing comment\n /* and another */ "), 1);
  s.query("SELECT id, name FROM t");
  EXPECT_ANY_THROW(s.query("SELECT nope FROM t"));
  EXPECT_EQ(s.row_count(), 1u);
  EXPECT_EQ(s.columns(), (std::vector<std::string>{"id", "name"}));
  EXPECT_EQ(s.last_id(), 1);
  EXPECT_EQ(s.scalar("SELECT count(*) FROM t"), DbValue(int64_t{1}));
}

TEST(SqliteTransactions, QueryDoesNotCommitExecuteDoesAndFailedExecuteRollsBack) {
  TempFolder tmp("corvane-db-");
  DatabaseSession writer(tmp.path());
  DatabaseSession reader(tmp.path());
  writer.open("sqlite", "t.db");
  reader.open("sqlite", "t.db");
  writer.execute("CREATE TABLE t(id INTEGER PRIMARY KEY, name TEXT NOT NULL)");
  auto visible = [&] { return reader.scalar("SELECT count(*) FROM t"); };

  // Uncommitted changes are seen by their own session only.
  EXPECT_EQ(writer.query("INSERT INTO t(name) VALUES (?)", {"q1"}), 1);
  EXPECT_EQ(writer.scalar("SELECT count(*) FROM t"), DbValue(int64_t{1}));
  EXPECT_EQ(visible(), DbValue(int64_t{0}));
  // The next execute commits them together with its own change.
  writer.execute("INSERT INTO t(name) VALUES (?)", {"e1"});
  EXPECT_EQ(visible(), DbValue(int64_t{2}));

  // A failed query keeps the open transaction; a failed execute discards it.
  writer.query("INSERT INTO t(name) VALUES (?)", {"q2"});
  EXPECT_ANY_THROW(writer.query("INSERT INTO t(name) VALUES (NULL)"));
  EXPECT_EQ(writer.scalar("SELECT count(*) FROM t"), DbValue(int64_t{3}));
  EXPECT_ANY_THROW(writer.execute("INSERT INTO t(name) VALUES (NULL)"));
  EXPECT_EQ(writer.scalar("SELECT count(*) FROM t"), DbValue(int64_t{2}));
  EXPECT_EQ(visible(), DbValue(int64_t{2}));

  // Changes left uncommitted are gone after close.
  writer.query("DELETE FROM t");
  writer.query("INSERT INTO t(name) VALUES ('gone')");
  writer.close();
  writer.open("sqlite", "t.db");
  EXPECT_EQ(writer.scalar("SELECT count(*) FROM t"), DbValue(int64_t{2}));
  EXPECT_EQ(writer.scalar("SELECT count(*) FROM t WHERE name = 'gone'"), DbValue(int64_t{0}));
  // Reopening a session also drops its last result.
  writer.query("SELECT * FROM t");
  writer.open("sqlite", ":memory:");
  EXPECT_EQ(writer.row_count(), 0u);
  EXPECT_EQ(writer.last_id(), 0);
}

TEST(SqliteTransactions, ExplicitTransactionStatementsWork) {
  DatabaseSession s;
  s.open("sqlite", ":memory:");
  s.execute("CREATE TABLE t(x)");
  s.query("BEGIN");
  s.query("INSERT INTO t VALUES (1)");
  s.query("ROLLBACK");
  EXPECT_EQ(s.scalar("SELECT count(*) FROM t"), DbValue(int64_t{0}));
  s.execute("INSERT INTO t VALUES (2)");
  s.query("SAVEPOINT sp");
  s.query("INSERT INTO t VALUES (3)");
  s.query("ROLLBACK TO sp");
  s.query("INSERT INTO t VALUES (4)");
  s.execute("RELEASE sp");
  EXPECT_EQ(s.scalar("SELECT sum(x) FROM t"), DbValue(int64_t{6}));
}

TEST(SqliteStatements, RerunStatementsSeeSchemaChanges) {
  DatabaseSession s;
  s.open("sqlite", ":memory:");
  s.execute("CREATE TABLE t(a)");
  s.execute("INSERT INTO t VALUES (1)");
  EXPECT_EQ(s.query("SELECT * FROM t"), 1);
  EXPECT_EQ(s.column_count(), 1u);
  s.execute("ALTER TABLE t ADD COLUMN b DEFAULT 'x'");
  EXPECT_EQ(s.query("SELECT * FROM t"), 1);
  EXPECT_EQ(s.columns(), (std::vector<std::string>{"a", "b"}));
  s.execute("DROP TABLE t");
  EXPECT_EQ(error_of([&] { s.query("SELECT * FROM t"); }), "SQL execution failed: no such table: t");
  // Many different statements, more than are kept prepared.
  s.execute("CREATE TABLE n(v)");
  for (int i = 0; i < 100; ++i) s.execute("INSERT INTO n VALUES (" + std::to_string(i) + ")");
  EXPECT_EQ(s.scalar("SELECT sum(v) FROM n"), DbValue(int64_t{4950}));
}

// A second connection holds the write lock.
struct LockHolder {
  sqlite3* db = nullptr;
  explicit LockHolder(const std::string& path) {
    sqlite3_open(path.c_str(), &db);
    sqlite3_exec(db, "BEGIN IMMEDIATE; INSERT INTO t VALUES (100)", nullptr, nullptr, nullptr);
  }
  void release() {
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
  }
  ~LockHolder() { sqlite3_close(db); }
};

TEST(SqliteLocking, ALockedFileFailsAfterTheBusyTimeOutAndTheSessionStaysUsable) {
  TempFolder tmp("corvane-db-");
  const std::string path = (tmp.path() / "locked.db").string();
  {
    DatabaseSession setup;
    setup.open("sqlite", path);
    setup.execute("CREATE TABLE t(x)");
  }
  EXPECT_EQ(DatabaseSession::DEFAULT_BUSY_TIMEOUT, std::chrono::milliseconds(5000));
  DatabaseSession s;
  s.set_busy_timeout(std::chrono::milliseconds(200));
  s.open("sqlite", path);
  LockHolder holder(path);
  auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(error_of([&] { s.execute("INSERT INTO t VALUES (1)"); }), "SQL execution failed: database is locked");
  auto waited = std::chrono::steady_clock::now() - start;
  EXPECT_GE(waited, std::chrono::milliseconds(150));
  EXPECT_LT(waited, std::chrono::seconds(3));
  // Readers are not blocked by a writer.
  EXPECT_EQ(s.scalar("SELECT count(*) FROM t"), DbValue(int64_t{0}));
  holder.release();
  EXPECT_EQ(s.execute("INSERT INTO t VALUES (1)"), 1);
  EXPECT_EQ(s.scalar("SELECT count(*) FROM t"), DbValue(int64_t{2}));
}

TEST(SqliteLocking, AShortLockIsWaitedFor) {
  TempFolder tmp("corvane-db-");
  const std::string path = (tmp.path() / "locked.db").string();
  DatabaseSession s;
  s.open("sqlite", path);
  s.execute("CREATE TABLE t(x)");
  LockHolder holder(path);
  std::thread releaser([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    holder.release();
  });
  EXPECT_EQ(s.execute("INSERT INTO t VALUES (1)"), 1);
  releaser.join();
  EXPECT_EQ(s.scalar("SELECT count(*) FROM t"), DbValue(int64_t{2}));
}

}  // namespace
}  // namespace corvane
