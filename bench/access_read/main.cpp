// Reads every row of a large Access table three ways, each in a process
// of its own so that time and peak memory are its own: through the
// providers (Connection + Recordset over "SELECT * FROM `<table>`", a
// streaming server-side cursor; this program runs itself for that),
// through `accessdb export`, and through mdbtools' `mdb-export`. Prints
// the rows per second and peak memory of each, best of several rounds,
// and last the ratio of accessdb export's rate to mdb-export's.
//
// Usage: bench_access_read [FILE [TABLE [ROUNDS]]]
//   defaults: shared/fixtures/access/large/orders-100k-jet4.mdb, Orders, 3

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <string_view>
#include <vector>

#include "ado/connection.h"
#include "ado/recordset.h"
#include "process.h"

namespace {

constexpr std::string_view kProviderReader = "--read-through-providers";

struct Contender {
  std::string label;
  std::vector<std::string> command;
  long long rows = -1;
  double bestSeconds = 0;
  long peakKilobytes = 0;  // the highest of all rounds
};

// Touches every field's value so that no decoding can be skipped; prints
// the number of rows, then the number of non-NULL values (printing it keeps
// the reads from being optimised away).
int readThroughProviders(const std::string& file, const std::string& table) {
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
  std::printf("%lld\n%zu\n", rows, nonNull);
  return 0;
}

bool readsThroughProviders(const Contender& contender) {
  return contender.command[1] == kProviderReader;
}

void runRound(Contender& contender) {
  const bool providers = readsThroughProviders(contender);
  const oracle::ProcessResult run =
      oracle::runProcess(contender.command, providers ? oracle::Output::Keep : oracle::Output::CountLines);
  if (!run.succeeded()) {
    std::fprintf(stderr, "%s failed: %s\n", contender.label.c_str(), run.err.c_str());
    std::exit(1);
  }
  if (contender.rows < 0 || run.seconds < contender.bestSeconds) contender.bestSeconds = run.seconds;
  contender.rows = providers ? std::atoll(run.out.c_str()) : run.outLines;
  contender.peakKilobytes = std::max(contender.peakKilobytes, run.peakKilobytes);
}

double rate(const Contender& c) {
  return static_cast<double>(c.rows) / c.bestSeconds;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && argv[1] == kProviderReader) {
    try {
      return readThroughProviders(argv[2], argv[3]);
    } catch (const std::exception& e) {
      std::fprintf(stderr, "%s\n", e.what());
      return 1;
    }
  }
  const std::string file = argc > 1 ? argv[1] : FERROVALE_LARGE_FIXTURE;
  const std::string table = argc > 2 ? argv[2] : "Orders";
  const int rounds = argc > 3 ? std::max(1, std::atoi(argv[3])) : 3;

  std::vector<Contender> contenders = {
      {"providers (Recordset, server-side cursor)",
       {"/proc/self/exe", std::string(kProviderReader), file, table}},
      {"accessdb export", {FERROVALE_ACCESSDB, "export", file, table}},
      {"mdb-export", {"mdb-export", "-H", file, table}},
  };
  for (int round = 0; round < rounds; ++round) {
    for (Contender& contender : contenders) runRound(contender);
  }

  rusage self{};
  ::getrusage(RUSAGE_SELF, &self);
  std::printf("%s, table %s, best of %d rounds\n", file.c_str(), table.c_str(), rounds);
  std::printf("(a child's peak memory includes this program's own, %.1f MB)\n",
              static_cast<double>(self.ru_maxrss) / 1024.0);
  for (const Contender& c : contenders) {
    std::printf("%-42s %8lld rows in %6.3f s = %9.0f rows/s, peak memory %6.1f MB\n", c.label.c_str(), c.rows,
                c.bestSeconds, rate(c), static_cast<double>(c.peakKilobytes) / 1024.0);
  }
  const Contender& accessdb = contenders[1];
  const Contender& mdbExport = contenders[2];
  if (contenders[0].rows != mdbExport.rows || accessdb.rows != mdbExport.rows) {
    std::printf("row counts differ between the readers\n");
  }
  std::printf("accessdb export / mdb-export rate: %.2fx\n", rate(accessdb) / rate(mdbExport));
  return 0;
}
