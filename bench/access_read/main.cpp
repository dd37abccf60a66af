// Reads every row of a large Access table three ways, each in its own
// child process: through the providers (Connection + Recordset over
// "SELECT * FROM `<table>`", a streaming server-side cursor), through
// `accessdb export`, and through mdbtools' `mdb-export`. Prints the rows
// per second and peak memory of each, best of several rounds, and last the
// ratio of accessdb export's rate to mdb-export's.
//
// Usage: bench_access_read [FILE [TABLE [ROUNDS]]]
//   defaults: shared/fixtures/access/large/orders-100k-jet4.mdb, Orders, 3

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "ado/connection.h"
#include "ado/recordset.h"
#include "child_run.h"

namespace {

struct Contender {
  std::string label;
  bench::ChildRun best;  // fastest round
  long peakKilobytes = 0;  // highest of all rounds
};

// Touches every field's value so that no decoding can be skipped.
long long readThroughProviders(const std::string& file, const std::string& table) {
  ado::Connection connection;
  connection.open("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + file);
  ado::Recordset records;
  records.open("SELECT * FROM `" + table + "`", connection);
  long long rows = 0;
  std::size_t nonNull = 0;
  const int fields = records.fieldCount();
  while (!records.eof()) {
    for (int i = 0; i < fields; ++i) nonNull += records.field(i).value.isNull() ? 0 : 1;
    ++rows;
    records.moveNext();
  }
  if (fields > 0 && rows > 0 && nonNull == 0) std::fprintf(stderr, "every value was NULL\n");
  return rows;
}

void record(Contender& contender, const bench::ChildRun& run) {
  if (!run.succeeded) {
    std::fprintf(stderr, "%s: %s\n", contender.label.c_str(), run.error.c_str());
    std::exit(1);
  }
  if (contender.best.rows < 0 || run.seconds < contender.best.seconds) contender.best = run;
  contender.peakKilobytes = std::max(contender.peakKilobytes, run.peakKilobytes);
}

double rate(const Contender& c) { return static_cast<double>(c.best.rows) / c.best.seconds; }

}  // namespace

int main(int argc, char** argv) {
  const std::string file = argc > 1 ? argv[1] : FERROVALE_LARGE_FIXTURE;
  const std::string table = argc > 2 ? argv[2] : "Orders";
  const int rounds = argc > 3 ? std::max(1, std::atoi(argv[3])) : 3;

  Contender providers{"providers (Recordset, server-side cursor)", {}, 0};
  Contender accessdb{"accessdb export", {}, 0};
  Contender mdbExport{"mdb-export", {}, 0};
  for (int round = 0; round < rounds; ++round) {
    record(providers, bench::runInChild([&] { return readThroughProviders(file, table); }));
    record(accessdb, bench::runProgram({FERROVALE_ACCESSDB, "export", file, table}));
    record(mdbExport, bench::runProgram({"mdb-export", "-H", file, table}));
  }

  std::printf("%s, table %s, best of %d rounds\n", file.c_str(), table.c_str(), rounds);
  for (const Contender* c : {&providers, &accessdb, &mdbExport}) {
    std::printf("%-42s %8lld rows in %6.3f s = %9.0f rows/s, peak memory %6.1f MB\n",
                c->label.c_str(), c->best.rows, c->best.seconds, rate(*c),
                static_cast<double>(c->peakKilobytes) / 1024.0);
  }
  if (providers.best.rows != mdbExport.best.rows || accessdb.best.rows != mdbExport.best.rows) {
    std::printf("row counts differ between the readers\n");
  }
  std::printf("accessdb export / mdb-export rate: %.2fx\n", rate(accessdb) / rate(mdbExport));
  return 0;
}
