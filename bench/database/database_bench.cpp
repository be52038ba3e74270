// 10000 rows written with bound parameters and read back, three ways:
// BASIC through the DB functions, BASIC through ADO objects, and the same
// SQL fed to the sqlite3 command-line shell. A plain C++ loop over the
// database session shows what the interpreter adds per row.
//
// Every benchmark reports rows per second (items_per_second). Writing is
// one transaction on a database file: the rows go in with DBQuery / the
// session's query and the last statement is a DBExecute that commits them
// all (DBExecute commits after every statement, so 10000 DBExecute calls
// would be 10000 transactions; BM_*_ExecuteEachRow measures that on an
// in-memory database, where a commit costs no disk write).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "basic/runtime.h"
#include "database/session.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;

constexpr int ROWS = 10000;

// A temporary folder, removed at exit.
struct WorkFolder {
  fs::path path;
  WorkFolder() : path(fs::temp_directory_path() / ("corvane-db-bench-" + std::to_string(::getpid()))) {
    fs::create_directories(path);
  }
  ~WorkFolder() {
    std::error_code ec;
    fs::remove_all(path, ec);
  }
};

const fs::path& work_folder() {
  static const WorkFolder folder;
  return folder.path;
}

void fresh_database(const fs::path& file) {
  std::error_code ec;
  fs::remove(file, ec);
  for (const char* suffix : {"-journal", "-wal", "-shm"}) fs::remove(file.string() + suffix, ec);
  DatabaseSession s(work_folder());
  s.open("sqlite", file.string());
  s.execute("CREATE TABLE items(id INTEGER PRIMARY KEY, name TEXT, price REAL, qty INTEGER)");
  s.close();
}

// Runs Sub Main of the source in a fresh interpreter on the work folder.
void run_basic(const std::string& source) {
  VBRuntime::Options o;
  o.sources.push_back(source);
  o.base_dir = work_folder().string();
  std::string last;
  o.debug = [&](const std::string& text) { last = text; };
  VBRuntime rt(std::move(o));
  rt.event("Main");
  if (last != std::to_string(ROWS)) throw std::runtime_error("unexpected program output: " + last);
}

const std::string INSERT_DB_FUNCTIONS = R"B(Sub Main()
  DBOpen "sqlite", "bench.db"
  For i = 1 To 10000
    DBQuery "INSERT INTO items(name, price, qty) VALUES (?, ?, ?)", "item " & i, i * 0.25, i Mod 7
  Next
  DBExecute "UPDATE items SET qty = qty WHERE id = 0"
  Debug.Print DBScalar("SELECT count(*) FROM items")
End Sub
)B";

const std::string INSERT_EXECUTE_EACH_ROW = R"B(Sub Main()
  DBOpen "sqlite", ":memory:"
  DBExecute "CREATE TABLE items(id INTEGER PRIMARY KEY, name TEXT, price REAL, qty INTEGER)"
  For i = 1 To 10000
    DBExecute "INSERT INTO items(name, price, qty) VALUES (?, ?, ?)", "item " & i, i * 0.25, i Mod 7
  Next
  Debug.Print DBScalar("SELECT count(*) FROM items")
End Sub
)B";

const std::string READ_DB_FUNCTIONS = R"B(Sub Main()
  DBOpen "sqlite", "bench.db"
  n = DBQuery("SELECT id, name, price, qty FROM items ORDER BY id")
  total = 0
  For r = 0 To n - 1
    total = total + DBField(r, "price") + Len(DBField(r, 1))
  Next
  Debug.Print n
End Sub
)B";

const std::string INSERT_ADO = R"B(Sub Main()
  Set conn = New ADODB.Connection
  conn.Open "Provider=SQLite;Data Source=bench.db"
  conn.Execute "PRAGMA journal_mode = WAL"
  conn.Execute "PRAGMA synchronous = OFF"
  For i = 1 To 10000
    conn.Execute "INSERT INTO items(name, price, qty) VALUES (?, ?, ?)", "item " & i, i * 0.25, i Mod 7
  Next
  Set rs = conn.Execute("SELECT count(*) FROM items")
  Debug.Print rs.Fields(0).Value
End Sub
)B";

const std::string READ_ADO = R"B(Sub Main()
  Set conn = New ADODB.Connection
  conn.Open "Provider=SQLite;Data Source=bench.db"
  Set rs = conn.Execute("SELECT id, name, price, qty FROM items ORDER BY id")
  total = 0
  n = 0
  Do While Not rs.EOF
    total = total + rs.Fields("price").Value + Len(rs.Fields(1).Value)
    n = n + 1
    rs.MoveNext
  Loop
  Debug.Print n
End Sub
)B";

void BM_Basic_DBFunctions_Insert(benchmark::State& state) {
  const fs::path file = work_folder() / "bench.db";
  for (auto _ : state) {
    state.PauseTiming();
    fresh_database(file);
    state.ResumeTiming();
    run_basic(INSERT_DB_FUNCTIONS);
  }
  state.SetItemsProcessed(state.iterations() * ROWS);
}

void BM_Basic_DBFunctions_ExecuteEachRow(benchmark::State& state) {
  for (auto _ : state) run_basic(INSERT_EXECUTE_EACH_ROW);
  state.SetItemsProcessed(state.iterations() * ROWS);
}

void BM_Basic_DBFunctions_Read(benchmark::State& state) {
  const fs::path file = work_folder() / "bench.db";
  fresh_database(file);
  run_basic(INSERT_DB_FUNCTIONS);
  for (auto _ : state) run_basic(READ_DB_FUNCTIONS);
  state.SetItemsProcessed(state.iterations() * ROWS);
}

// ADO has no transaction control of its own: Execute commits every statement
// that is not a query, so each row is its own transaction. With the file
// synced at every commit that measures the disk (about a thousand rows per
// second here); the program switches to write-ahead logging without syncing,
// as a bulk load would.
void BM_Basic_ADO_Insert(benchmark::State& state) {
  const fs::path file = work_folder() / "bench.db";
  for (auto _ : state) {
    state.PauseTiming();
    fresh_database(file);
    state.ResumeTiming();
    run_basic(INSERT_ADO);
  }
  state.SetItemsProcessed(state.iterations() * ROWS);
}

void BM_Basic_ADO_Read(benchmark::State& state) {
  const fs::path file = work_folder() / "bench.db";
  fresh_database(file);
  run_basic(INSERT_DB_FUNCTIONS);
  for (auto _ : state) run_basic(READ_ADO);
  state.SetItemsProcessed(state.iterations() * ROWS);
}

// The same work straight through the session, without the interpreter.
void BM_Session_Insert(benchmark::State& state) {
  const fs::path file = work_folder() / "bench.db";
  for (auto _ : state) {
    state.PauseTiming();
    fresh_database(file);
    state.ResumeTiming();
    DatabaseSession s(work_folder());
    s.open("sqlite", "bench.db");
    for (int i = 1; i <= ROWS; ++i)
      s.query("INSERT INTO items(name, price, qty) VALUES (?, ?, ?)",
              {DbValue("item " + std::to_string(i)), DbValue(i * 0.25), DbValue(int64_t{i % 7})});
    s.execute("UPDATE items SET qty = qty WHERE id = 0");
  }
  state.SetItemsProcessed(state.iterations() * ROWS);
}

void BM_Session_Read(benchmark::State& state) {
  const fs::path file = work_folder() / "bench.db";
  fresh_database(file);
  run_basic(INSERT_DB_FUNCTIONS);
  for (auto _ : state) {
    DatabaseSession s(work_folder());
    s.open("sqlite", "bench.db");
    const int64_t n = s.query("SELECT id, name, price, qty FROM items ORDER BY id");
    double total = 0;
    for (int64_t r = 0; r < n; ++r) {
      total += std::get<double>(s.field(DbValue(r), DbValue(std::string("price"))));
      total += static_cast<double>(std::get<std::string>(s.field(DbValue(r), DbValue(int64_t{1}))).size());
    }
    benchmark::DoNotOptimize(total);
  }
  state.SetItemsProcessed(state.iterations() * ROWS);
}

// The sqlite3 shell reading a script of the same statements (literal
// values: the shell binds no parameters). Timed from outside as manual time.
double run_shell(const fs::path& script, const fs::path& database) {
  const std::string command = "sqlite3 '" + database.string() + "' < '" + script.string() + "' > /dev/null";
  const auto start = std::chrono::steady_clock::now();
  if (std::system(command.c_str()) != 0) throw std::runtime_error("sqlite3 failed (is the sqlite3 shell installed?)");
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void BM_Sqlite3Shell_Insert(benchmark::State& state) {
  const fs::path file = work_folder() / "shell.db", script = work_folder() / "insert.sql";
  {
    std::ofstream out(script);
    out << "BEGIN;\n";
    for (int i = 1; i <= ROWS; ++i)
      out << "INSERT INTO items(name, price, qty) VALUES ('item " << i << "', " << i * 0.25 << ", " << i % 7 << ");\n";
    out << "COMMIT;\n";
  }
  for (auto _ : state) {
    fresh_database(file);
    state.SetIterationTime(run_shell(script, file));
  }
  state.SetItemsProcessed(state.iterations() * ROWS);
}

void BM_Sqlite3Shell_Read(benchmark::State& state) {
  const fs::path file = work_folder() / "shell.db", script = work_folder() / "read.sql";
  std::ofstream(script) << "SELECT id, name, price, qty FROM items ORDER BY id;\n";
  for (auto _ : state) state.SetIterationTime(run_shell(script, file));
  state.SetItemsProcessed(state.iterations() * ROWS);
}

BENCHMARK(BM_Basic_DBFunctions_Insert)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();
BENCHMARK(BM_Basic_DBFunctions_ExecuteEachRow)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();
BENCHMARK(BM_Basic_DBFunctions_Read)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();
BENCHMARK(BM_Basic_ADO_Insert)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();
BENCHMARK(BM_Basic_ADO_Read)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();
BENCHMARK(BM_Session_Insert)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();
BENCHMARK(BM_Session_Read)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();
BENCHMARK(BM_Sqlite3Shell_Insert)->Unit(benchmark::kMillisecond)->Iterations(5)->UseManualTime();
BENCHMARK(BM_Sqlite3Shell_Read)->Unit(benchmark::kMillisecond)->Iterations(5)->UseManualTime();

}  // namespace
}  // namespace corvane
