// How much Connection::execute adds to ODBC: the same single-row INSERTs
// run through the layer and through a bare SQLExecDirect loop, in
// turns against one WAL-mode SQLite data source. Prints the rates and,
// last, the ratio of the layer's time to bare ODBC's time.
//
// Usage: bench_odbc_execute [rows per round, default 20000] [rounds, default 10]

#include <sql.h>
#include <sqlext.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <stdexcept>
#include <string>
#include <vector>

#include "ado/connection.h"
#include "common/bare_odbc.h"
#include "support/odbc_sandbox.h"

namespace {

using Clock = std::chrono::steady_clock;

std::vector<std::string> insertStatements(const std::string& table, int rows) {
  std::vector<std::string> statements;
  statements.reserve(static_cast<std::size_t>(rows));
  for (int i = 0; i < rows; ++i)
    statements.push_back("INSERT INTO " + table + " (id, name, amount, created) VALUES (" +
                         std::to_string(i) + ", 'Customer " + std::to_string(i) + "', " +
                         std::to_string(i % 1000) + ".25, '2024-03-01 12:00:00')");
  return statements;
}

using bench::BareOdbc;

struct Times {
  double wall = 0;  // seconds on the clock
  double cpu = 0;   // seconds of this process's CPU time
};

double processCpuSeconds() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

// Runs statements [first, last) and adds the time they took to `times`.
template <typename Execute>
void timeBlock(Execute&& execute, const std::vector<std::string>& statements, std::size_t first,
               std::size_t last, Times& times) {
  const auto wallStart = Clock::now();
  const double cpuStart = processCpuSeconds();
  for (std::size_t i = first; i < last; ++i) execute(statements[i]);
  times.cpu += processCpuSeconds() - cpuStart;
  times.wall += std::chrono::duration<double>(Clock::now() - wallStart).count();
}

}  // namespace

int main(int argc, char** argv) {
  const int rows = argc > 1 ? std::atoi(argv[1]) : 20000;
  const int rounds = argc > 2 ? std::atoi(argv[2]) : 10;
  if (rows <= 0 || rounds <= 0) {
    std::fprintf(stderr, "usage: %s [rows] [rounds]\n", argv[0]);
    return 2;
  }

  const std::string columns = " (id INTEGER, name VARCHAR(40), amount DOUBLE, created TIMESTAMP)";
  const std::string dsn = test_support::OdbcSandbox::instance().createDsn(
      "bench", {"CREATE TABLE layer_rows" + columns, "CREATE TABLE bare_rows" + columns});
  const auto layerStatements = insertStatements("layer_rows", rows);
  const auto bareStatements = insertStatements("bare_rows", rows);

  ado::Connection layer;
  layer.setProvider("MSDASQL");
  layer.open("Data Source=" + dsn);
  BareOdbc bare(dsn);

  // The rows go in blocks, the two sides taking turns block by block and
  // swapping who goes first, so that load from other processes and the
  // growth of the WAL fall on both alike.
  constexpr std::size_t kBlock = 500;
  Times layerTimes;
  Times bareTimes;
  const auto runLayerBlock = [&](std::size_t first, std::size_t last) {
    timeBlock([&](const std::string& sql) { layer.execute(sql); }, layerStatements, first, last, layerTimes);
  };
  const auto runBareBlock = [&](std::size_t first, std::size_t last) {
    timeBlock([&](const std::string& sql) { bare.execute(sql); }, bareStatements, first, last, bareTimes);
  };
  for (int round = 0; round < rounds; ++round) {
    layer.execute("DELETE FROM layer_rows");
    bare.execute("DELETE FROM bare_rows");
    for (std::size_t first = 0, block = 0; first < layerStatements.size(); first += kBlock, ++block) {
      const std::size_t last = std::min(first + kBlock, layerStatements.size());
      if ((block + static_cast<std::size_t>(round)) % 2 == 0) {
        runLayerBlock(first, last);
        runBareBlock(first, last);
      } else {
        runBareBlock(first, last);
        runLayerBlock(first, last);
      }
    }
  }

  const double total = static_cast<double>(rows) * rounds;
  std::printf("%d rounds of %d single-row INSERTs per side\n", rounds, rows);
  std::printf("layer Connection::execute: %.0f rows/s (%.3f s; CPU %.3f s)\n", total / layerTimes.wall,
              layerTimes.wall, layerTimes.cpu);
  std::printf("bare SQLExecDirect:        %.0f rows/s (%.3f s; CPU %.3f s)\n", total / bareTimes.wall,
              bareTimes.wall, bareTimes.cpu);
  std::printf("CPU time ratio layer/bare: %.3f\n", layerTimes.cpu / bareTimes.cpu);
  std::printf("ratio layer/bare: %.3f\n", layerTimes.wall / bareTimes.wall);
  return 0;
}
