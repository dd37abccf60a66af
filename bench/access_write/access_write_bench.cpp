// Inserts rows one statement at a time through the data access objects,
// as the copy into Access sends them (ado::Connection::execute per INSERT,
// every value a quoted text), into a new table of eight mixed columns,
// then reads them back through a Recordset and renames the table the way
// the program does (SELECT ... INTO a new name, DROP TABLE the old one),
// measuring the process's peak memory during the rename. Prints the
// figures, the insert rate last.
//
//   access_write_bench TEMPLATE.mdb [ROWS] [--sync=off|full]
//   access_write_bench --encrypted [ROWS] [--sync=off|full]
//
// TEMPLATE is copied to a scratch file first (an empty database made by
// Access, e.g. the empty2003.mdb fixture). --encrypted runs the same on
// two new ACE14 files, a plain one and one with a password (Agile
// AES-256, SHA-512, as Access 2010 and later encrypt), and prints the
// encrypted file's rates as a share of the plain file's. --sync=full
// syncs every statement to disk before it returns (the provider's
// synchronous commit mode); the default, off, leaves writing back to the
// system.
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "ado/connection.h"
#include "ado/recordset.h"
#include "jet/database/new_database.h"

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

long peakKilobytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

// Processor time used so far (user and system), which a busy machine
// disturbs less than the wall clock.
double cpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// The kernel's high-water mark of resident memory, VmHWM: reset to what
// the process holds now, and read.
void resetPeakMemory() {
  std::ofstream("/proc/self/clear_refs") << "5";
}
double peakMemoryMiB() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);)
    if (line.starts_with("VmHWM:")) return std::stod(line.substr(6)) / 1024.0;
  return 0;
}

std::string insertFor(long i) {
  std::string memo = "Row " + std::to_string(i) + ": ";
  while (memo.size() < 100) memo += "lorem ipsum ";
  return "INSERT INTO `bench` VALUES('Customer " + std::to_string(i) + "', '" + std::to_string(i) + "', '" +
         std::to_string(i) + ".125', '" + std::to_string(i % 10000) + ".5', '2024-03-01 12:34:56', '" +
         (i % 2 ? "True" : "False") + "', '" + memo + "', '" + std::to_string(i) + ".25')";
}

struct Figures {
  double insertRate = 0;
  double readRate = 0;
};

// Creates the bench table in `file`, inserts `rows` rows, reads them back,
// renames the table and prints the figures.
Figures run(const std::filesystem::path& file, const std::string& password, long rows, bool synchronous) {
  ado::Connection connection;
  connection.setProvider("Microsoft.Jet.OLEDB.4.0");
  connection.open("Data Source=" + file.string() + ";JET OLEDB:Database Password=" + password +
                  ";Jet OLEDB:Transaction Commit Mode=" + (synchronous ? "1" : "0"));
  connection.execute(
      "CREATE TABLE `bench`(`name` VARCHAR,`n` INT,`ratio` FLOAT,`price` CURRENCY,`when` DATETIME,"
      "`flag` BIT,`notes` MEMO,`amount` DECIMAL(18,2));");
  const auto start = Clock::now();
  const double cpuStart = cpuSeconds();
  for (long i = 0; i < rows; ++i) connection.execute(insertFor(i));
  const double insertSeconds = secondsSince(start);
  const double insertCpu = cpuSeconds() - cpuStart;

  const auto readStart = Clock::now();
  ado::Recordset records;
  records.open("SELECT * FROM `bench`", connection);
  long read = 0;
  std::size_t textBytes = 0;  // touches every value, as the copy out of Access does
  for (; !records.eof(); records.moveNext(), ++read)
    for (int f = 0; f < records.fieldCount(); ++f) textBytes += records.field(f).value.textForm().size();
  const double readSeconds = secondsSince(readStart);
  records.close();
  const long insertAndReadPeak = peakKilobytes();

  resetPeakMemory();
  const auto renameStart = Clock::now();
  connection.execute("SELECT a1.* INTO `bench renamed` FROM `bench` AS a1;");
  connection.execute("DROP TABLE `bench`");
  const double renameSeconds = secondsSince(renameStart);
  const double renamePeak = peakMemoryMiB();
  connection.close();

  std::printf("sync policy:     %s\n", synchronous ? "full (every statement synced)" : "off");
  std::printf("file size:       %.1f MiB\n", std::filesystem::file_size(file) / 1048576.0);
  std::printf("rows read back:  %ld in %.2f s (%.0f rows/s, %.1f MiB as text)\n", read, readSeconds,
              read / readSeconds, textBytes / 1048576.0);
  std::printf("rename:          %ld rows in %.2f s, peak memory meanwhile %.1f MiB\n", rows, renameSeconds,
              renamePeak);
  std::printf("peak memory:     %.1f MiB (inserting and reading back)\n", insertAndReadPeak / 1024.0);
  std::printf("insert CPU time: %.2f s (%.0f rows per CPU second)\n", insertCpu, rows / insertCpu);
  std::printf("insert rate:     %ld rows in %.2f s = %.0f rows/s\n", rows, insertSeconds,
              rows / insertSeconds);
  return {rows / insertSeconds, read / readSeconds};
}

// Named by the process, so that runs side by side do not share a file.
std::filesystem::path scratchFile(const std::string& name) {
  return std::filesystem::temp_directory_path() /
         ("access_write_bench-" + std::to_string(::getpid()) + "-" + name);
}

void compareEncrypted(long rows, bool synchronous) {
  const auto plain = scratchFile("plain.accdb"), encrypted = scratchFile("encrypted.accdb");
  jet::write::createDatabase(plain.string(), jet::write::NewFormat::Ace14);
  jet::write::createDatabase(encrypted.string(), jet::write::NewFormat::Ace14, "Bench Kennwort");
  std::printf("-- plain ACE14 file\n");
  const Figures p = run(plain, "", rows, synchronous);
  std::printf("-- Agile-encrypted ACE14 file\n");
  const Figures e = run(encrypted, "Bench Kennwort", rows, synchronous);
  std::printf("encrypted/plain: inserts %.0f%%, reading %.0f%%\n", 100 * e.insertRate / p.insertRate,
              100 * e.readRate / p.readRate);
  std::filesystem::remove(plain);
  std::filesystem::remove(encrypted);
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> arguments;
  bool synchronous = false;
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if (argument == "--sync=full" || argument == "--sync=off")
      synchronous = argument == "--sync=full";
    else
      arguments.push_back(argument);
  }
  if (arguments.empty() || arguments.size() > 2) {
    std::fprintf(stderr, "usage: %s TEMPLATE.mdb|--encrypted [ROWS] [--sync=off|full]\n", argv[0]);
    return 2;
  }
  const long rows = arguments.size() > 1 ? std::stol(arguments[1]) : 100000;
  try {
    if (arguments[0] == "--encrypted") {
      compareEncrypted(rows, synchronous);
      return 0;
    }
    const auto scratch = scratchFile("template.mdb");
    std::filesystem::copy_file(arguments[0], scratch, std::filesystem::copy_options::overwrite_existing);
    std::filesystem::permissions(scratch, std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::add);
    run(scratch, "", rows, synchronous);
    std::filesystem::remove(scratch);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "error: %s\n", e.what());
    return 1;
  }
  return 0;
}
