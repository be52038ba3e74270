// The database explorer against SQLite and against the throwaway MariaDB
// server of scripts/with-mariadb.
#include <cstdlib>

#include "ide/database_explorer.h"
#include "ide/tool_windows.h"
#include "tk/events.h"
#include "common/run_command.h"
#include "tools_fixture.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;

using ide::DatabaseExplorer;
using testing::ToolsTest;

class ExplorerTest : public ToolsTest {
protected:
    DatabaseExplorer& open(const std::string& backend) {
        DatabaseExplorer& explorer = ide::open_database_explorer(ide(), backend);
        pump();
        return explorer;
    }
    // Runs a statement and waits until the table holds all shown rows.
    static void run(DatabaseExplorer& explorer, const std::string& sql) {
        explorer.set_statement(sql);
        explorer.execute();
        interp().run_until([&] { return !explorer.filling(); }, 10000);
    }
    static std::vector<std::string> row_ids(DatabaseExplorer& explorer) {
        std::vector<std::string> ids;
        for (const tk::Obj& id : interp().call_obj({explorer.result_table(), "children", ""}).to_list())
            ids.push_back(id.str());
        return ids;
    }
    static std::vector<std::string> row(DatabaseExplorer& explorer, size_t index) {
        std::vector<std::string> cells;
        const std::string id = row_ids(explorer).at(index);
        for (const tk::Obj& v : interp().call_obj({explorer.result_table(), "item", id, "-values"}).to_list())
            cells.push_back(v.str());
        return cells;
    }
    static std::vector<std::string> headings(DatabaseExplorer& explorer) {
        std::vector<std::string> names;
        for (const tk::Obj& c : interp().call_obj({explorer.result_table(), "cget", "-columns"}).to_list())
            names.push_back(interp().call({explorer.result_table(), "heading", c, "-text"}));
        return names;
    }
    static int width(DatabaseExplorer& explorer, int column) {
        return std::stoi(interp().call({explorer.result_table(), "column", "c" + std::to_string(column), "-width"}));
    }
};

TEST_F(ExplorerTest, WindowsOfBothBackendsHaveTheirFieldsAndStatements) {
    DatabaseExplorer& lite = open("sqlite");
    EXPECT_EQ(interp().call({"wm", "title", lite.toplevel()}), "SQLite Database Explorer - Corvane");
    EXPECT_EQ(lite.field("Database file"), "corvane.db");
    EXPECT_EQ(text_of(lite.statement_box()), "SELECT name FROM sqlite_master WHERE type = 'table'");
    EXPECT_EQ(lite.status(), "Disconnected");
    EXPECT_EQ(interp().call({"wm", "minsize", lite.toplevel()}), "590 420");

    DatabaseExplorer& my = open("mysql");
    EXPECT_EQ(interp().call({"wm", "title", my.toplevel()}), "MySQL Database Explorer - Corvane");
    EXPECT_EQ(my.field("Host"), "127.0.0.1");
    EXPECT_EQ(my.field("Port"), "3306");
    EXPECT_EQ(my.field("Database"), "");
    EXPECT_EQ(interp().call({my.field_entry("Password"), "cget", "-show"}), "*");
    EXPECT_EQ(interp().call({my.field_entry("User"), "cget", "-show"}), "");
    EXPECT_EQ(text_of(my.statement_box()), "SHOW TABLES");

    // Browse: a chosen file replaces the field, cancelling keeps it.
    answers = {"/tmp/chosen.sqlite", ""};
    lite.browse();
    EXPECT_EQ(lite.field("Database file"), "/tmp/chosen.sqlite");
    lite.browse();
    EXPECT_EQ(lite.field("Database file"), "/tmp/chosen.sqlite");
    const auto files = dialogs_of("tk_getSaveFile");
    ASSERT_EQ(files.size(), 2u);
    EXPECT_EQ(tk::dialog_option(files[0], "-title"), "Choose SQLite database");
    EXPECT_EQ(tk::dialog_option(files[0], "-defaultextension"), ".db");

    // Closing the window ends it; a second window is independent.
    const std::string top = lite.toplevel();
    lite.close();
    pump();
    EXPECT_FALSE(tk::winfo_exists(interp(), top));
    EXPECT_TRUE(tk::winfo_exists(interp(), my.toplevel()));
}

TEST_F(ExplorerTest, StatementsRunAsQueriesOrCommitsByTheirFirstWord) {
    const fs::path project = open_project(Project::sample());
    DatabaseExplorer& explorer = open("sqlite");
    // Executing without Connect connects first, beside the project file.
    run(explorer, "CREATE TABLE t(x INTEGER, name TEXT)");
    EXPECT_TRUE(fs::exists(project.parent_path() / "corvane.db"));
    EXPECT_EQ(explorer.status(), "0 row(s) | 0 column(s)");
    run(explorer, "INSERT INTO t VALUES (1, '[exec rm -rf ~] $env(HOME) {')");
    EXPECT_EQ(explorer.status(), "1 row(s) | 0 column(s)");
    run(explorer, "pragma table_info(t)");
    EXPECT_EQ(explorer.status(), "2 row(s) | 6 column(s)");
    EXPECT_EQ(headings(explorer).at(1), "name");
    run(explorer, "  WITH x AS (SELECT 1) SELECT * FROM x ");
    EXPECT_EQ(explorer.status(), "1 row(s) | 1 column(s)");
    run(explorer, "SELECT x, name, NULL AS empty, 2.0 AS d FROM t");
    EXPECT_EQ(explorer.status(), "1 row(s) | 4 column(s)");
    EXPECT_EQ(row(explorer, 0), (std::vector<std::string>{"1", "[exec rm -rf ~] $env(HOME) {", "", "2.0"}));

    // The insert was committed: another connection sees it.
    DatabaseSession other(project.parent_path());
    other.open("sqlite", "corvane.db");
    EXPECT_EQ(std::get<int64_t>(other.scalar("SELECT COUNT(*) FROM t")), 1);

    // A failing statement keeps the previous result.
    run(explorer, "SELECT * FROM missing_table");
    EXPECT_EQ(explorer.status().rfind("Query error: ", 0), 0u) << explorer.status();
    ASSERT_EQ(dialogs_of("tk_messageBox").size(), 1u);
    EXPECT_EQ(tk::dialog_option(dialogs_of("tk_messageBox")[0], "-title"), "SQL error");
    EXPECT_EQ(row_ids(explorer).size(), 1u);
    EXPECT_EQ(headings(explorer).size(), 4u);

    // An empty statement does nothing.
    run(explorer, "  \n ");
    EXPECT_EQ(explorer.status().rfind("Query error: ", 0), 0u);
}

TEST_F(ExplorerTest, ControlReturnRunsTheStatementWithoutABreakInTheBox) {
    DatabaseExplorer& explorer = open("sqlite");
    explorer.set_field("Database file", ":memory:");
    explorer.set_statement("SELECT 1 AS one");
    tk::focus(interp(), explorer.statement_box(), true);
    pump();
    tk::event_generate(interp(), explorer.statement_box(), "<Control-Return>");
    pump();
    EXPECT_EQ(explorer.status(), "1 row(s) | 1 column(s)");
    EXPECT_EQ(text_of(explorer.statement_box()), "SELECT 1 AS one");
    // Elsewhere in the window too.
    explorer.set_statement("SELECT 1, 2");
    tk::event_generate(interp(), explorer.result_table(), "<Control-Return>");
    pump();
    EXPECT_EQ(explorer.status(), "1 row(s) | 2 column(s)");
}

TEST_F(ExplorerTest, LargeResultsShowTheFirst5000RowsAndColumnsAreSizedByName) {
    DatabaseExplorer& explorer = open("sqlite");
    explorer.set_field("Database file", ":memory:");
    run(explorer, "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 12000) SELECT i FROM n");
    EXPECT_EQ(explorer.status(), "12000 row(s) | 1 column(s)");
    const auto ids = row_ids(explorer);
    ASSERT_EQ(ids.size(), DatabaseExplorer::ROW_LIMIT);
    EXPECT_EQ(row(explorer, 4999), std::vector<std::string>{"5000"});

    run(explorer, "SELECT 1 AS id, 2 AS x, 3 AS abcdefghijklmnopqrstuvwxyz1234");
    EXPECT_EQ(width(explorer, 0), 100);
    EXPECT_EQ(width(explorer, 1), 95);
    EXPECT_EQ(width(explorer, 2), 260);
    EXPECT_EQ(row_ids(explorer).size(), 1u);
}

TEST_F(ExplorerTest, FailingConnectionsReportOnlyTheConnectionError) {
    DatabaseExplorer& explorer = open("sqlite");
    explorer.set_field("Database file", (dir / "no" / "such" / "folder" / "x.db").string());
    run(explorer, "SELECT 1");
    EXPECT_EQ(explorer.status().rfind("Connection failed: Could not connect to sqlite: ", 0), 0u) << explorer.status();
    const auto boxes = dialogs_of("tk_messageBox");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(tk::dialog_option(boxes[0], "-title"), "Database connection");
    EXPECT_FALSE(explorer.session().is_open());

    DatabaseExplorer& my = open("mysql");
    my.set_field("Port", "abc");
    EXPECT_FALSE(my.connect());
    EXPECT_EQ(my.status(), "Connection failed: invalid literal for int() with base 10: 'abc'");
}

// Against the server of scripts/with-mariadb; fails when it is not there.
TEST_F(ExplorerTest, MysqlExplorerRunsStatementsAndKeepsThePasswordPrivate) {
    const char* host = std::getenv("CORVANE_MYSQL_HOST");
    ASSERT_NE(host, nullptr) << "run under scripts/with-mariadb";
    const std::string password = std::getenv("CORVANE_MYSQL_PASSWORD");
    DatabaseExplorer& my = open("mysql");
    my.set_field("Host", host);
    my.set_field("Port", std::getenv("CORVANE_MYSQL_PORT"));
    my.set_field("Database", std::getenv("CORVANE_MYSQL_DATABASE"));
    my.set_field("User", std::getenv("CORVANE_MYSQL_USER"));
    my.set_field("Password", password);
    ASSERT_TRUE(my.connect()) << my.status();
    EXPECT_EQ(my.status(), std::string("Connected to mysql: ") + std::getenv("CORVANE_MYSQL_DATABASE"));
    run(my, "DROP TABLE IF EXISTS explorer_t");
    run(my, "CREATE TABLE explorer_t (id INT PRIMARY KEY, name VARCHAR(40))");
    run(my, "INSERT INTO explorer_t VALUES (1, 'Ann'), (2, NULL)");
    EXPECT_EQ(my.status(), "2 row(s) | 0 column(s)");
    run(my, "SHOW TABLES");
    EXPECT_NE(my.status().find(" row(s) | 1 column(s)"), std::string::npos);
    run(my, "describe explorer_t");
    EXPECT_EQ(headings(my).at(0), "Field");
    run(my, "SELECT id, name FROM explorer_t ORDER BY id");
    EXPECT_EQ(my.status(), "2 row(s) | 2 column(s)");
    EXPECT_EQ(row(my, 1), (std::vector<std::string>{"2", ""}));
    run(my, "DROP TABLE explorer_t");

    // The password reaches neither the Immediate window nor the settings file.
    ide().save_geometry();
    ASSERT_FALSE(password.empty());
    EXPECT_EQ(text_of(ide().widgets().output).find(password), std::string::npos);
    EXPECT_EQ(corvane::testing::slurp(ide().settings_file()).find(password), std::string::npos);
}

}  // namespace
}  // namespace corvane
