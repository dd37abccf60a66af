// The copy as the user runs it, against the leanest program doing the
// same job:
//   1. ROWS rows of eight mixed columns (text, long, double, currency,
//      date, yes/no, memo, decimal) from an Access file into a WAL-mode
//      SQLite data source through "Send Table/s To Sybase iAny" on the
//      table manager page (offscreen, lists filled by "Next >", the table
//      selected), against a loop that reads the rows through the engine and
//      sends the same INSERTs through bare ODBC;
//   2. the same rows from SQLite into a new Access file through "Send
//      Table/s To Access", against a loop that reads them through bare
//      ODBC and runs the same INSERTs through Connection::execute.
// The handlers send the INSERTs from a thread of their own while they read
// the next rows; the plain loops do one after the other, as the leanest
// single-threaded program would. So a handler can be faster than its plain
// loop; its CPU time, both threads' together, shows what the overlap
// costs.
// Each copy runs in a process of its own, so that its peak memory is its
// own, and starts with the page cache written out, so that it does not pay
// for the writes of the step before it. For the handlers it also prints
// the longest gap between two passes of the event loop while the progress
// bar moves (from 1% on), how much of that gap the main thread spent on the
// CPU and how much waiting for a core (the scheduler's run-queue time), and
// how many gaps exceeded 20 ms, with how many of those the thread spent
// mostly blocked: waiting for the INSERT in flight (SQLite's checkpoint
// syncs the file every thousand pages of log), inside the driver or on the
// disk.
//
//   bench_transfer [ROWS, default 100000] [--handlers-only]
#include <fcntl.h>
#include <malloc.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <stdexcept>
#include <string>

#include "ado/connection.h"
#include "app/saved_settings.h"
#include "db/connection_factory.h"
#include "jet/database/new_database.h"
#include "pages/common_dialog.h"
#include "pages/form1.h"
#include "pages/form2.h"
#include "pages/page_context.h"
#include "plain_loops.h"

namespace {

using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

constexpr char kTable[] = "bench";
// What "Send Table/s To Access" creates for the table that the other
// direction put into SQLite: SQLite's driver reports TEXT columns as long
// text (MEMO), NUMERIC ones as doubles (FLOAT) and BIT as Yes/No (VARCHAR).
constexpr char kCreateBack[] =
    "CREATE TABLE `bench`(`name` MEMO,`n` FLOAT,`ratio` MEMO,`price` FLOAT,`when` MEMO,"
    "`flag` VARCHAR,`notes` MEMO,`amount` MEMO);";

struct Figures {
  double seconds = 0;
  double cpuSeconds = 0;
  long long rows = 0;
  double longestGapMs = -1;  // handlers only
  // The main thread's CPU and run-queue time within the longest gap: far
  // below the gap, the thread was blocked (waiting for the INSERT, in the
  // driver, on the disk) rather than running the copy or waiting for a core.
  double longestGapCpuMs = -1;
  double longestGapQueuedMs = -1;
  long gapsOver20Ms = 0;
  long gapsOver20MsBlocked = 0;  // mostly neither on the CPU nor waiting for it
  long gapsOver20MsQueued = 0;   // mostly waiting for a core
  long peakKilobytes = 0;
};

double cpuNow() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// The calling thread's time on the CPU and waiting in the run queue, in
// milliseconds. The CPU time comes from the thread's clock, which counts to
// the moment; the queue time from the scheduler's statistics (kept open:
// read at every pass of the event loop), whose CPU figure lags up to a tick.
struct ThreadTimes {
  double cpuMs = 0;
  double queuedMs = 0;
};

class SchedulerStatistics {
 public:
  SchedulerStatistics() : fd_(open("/proc/thread-self/schedstat", O_RDONLY | O_CLOEXEC)) {}
  ~SchedulerStatistics() {
    if (fd_ >= 0) close(fd_);
  }
  SchedulerStatistics(const SchedulerStatistics&) = delete;
  SchedulerStatistics& operator=(const SchedulerStatistics&) = delete;

  ThreadTimes now() const {
    char text[128] = {};
    unsigned long long queuedNs = 0;
    if (fd_ < 0 || pread(fd_, text, sizeof text - 1, 0) <= 0 || std::sscanf(text, "%*s %llu", &queuedNs) != 1)
      throw std::runtime_error("no scheduler statistics for the thread");
    timespec cpu{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &cpu);
    return {static_cast<double>(cpu.tv_sec) * 1e3 + static_cast<double>(cpu.tv_nsec) / 1e6,
            static_cast<double>(queuedNs) / 1e6};
  }

 private:
  int fd_;
};

long peakKilobytesNow() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

// Runs `body` in a child process and hands back the figures it measured.
Figures inChild(const std::function<Figures()>& body) {
  sync();
  int pipeEnds[2];
  if (pipe(pipeEnds) != 0) std::exit(1);
  const pid_t child = fork();
  if (child == 0) {
    close(pipeEnds[0]);
    Figures figures{};
    try {
      figures = body();
    } catch (const std::exception& e) {
      std::fprintf(stderr, "failed: %s\n", e.what());
      _exit(1);
    }
    figures.peakKilobytes = peakKilobytesNow();
    if (write(pipeEnds[1], &figures, sizeof figures) != static_cast<ssize_t>(sizeof figures)) _exit(1);
    _exit(0);
  }
  close(pipeEnds[1]);
  Figures figures{};
  const bool read_ok = read(pipeEnds[0], &figures, sizeof figures) == static_cast<ssize_t>(sizeof figures);
  close(pipeEnds[0]);
  int status = 0;
  waitpid(child, &status, 0);
  if (!read_ok || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    std::fprintf(stderr, "a copy failed\n");
    std::exit(1);
  }
  return figures;
}

template <typename Copy>
Figures timed(Copy&& copy) {
  const double cpuStart = cpuNow();
  const auto start = Clock::now();
  Figures figures;
  figures.rows = copy();
  figures.seconds = std::chrono::duration<double>(Clock::now() - start).count();
  figures.cpuSeconds = cpuNow() - cpuStart;
  return figures;
}

std::string insertFor(long i) {
  std::string memo = "Row " + std::to_string(i) + ": ";
  while (memo.size() < 100) memo += "lorem ipsum ";
  return "INSERT INTO `bench` VALUES('Customer " + std::to_string(i) + "', '" + std::to_string(i) + "', '" +
         std::to_string(i) + ".125', '" + std::to_string(i % 10000) + ".5', '2024-03-01 12:34:56', '" +
         (i % 2 ? "True" : "False") + "', '" + memo + "', '" + std::to_string(i) + ".25')";
}

void writeSource(const std::string& path, long rows) {
  jet::write::createDatabase(path, jet::write::NewFormat::Jet4);
  ado::Connection access;
  access.open("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + path);
  access.execute(
      "CREATE TABLE `bench`(`name` TEXT(50),`n` INT,`ratio` FLOAT,`price` CURRENCY,`when` DATETIME,"
      "`flag` BIT,`notes` MEMO,`amount` DECIMAL(18,2))");
  for (long i = 0; i < rows; ++i) access.execute(insertFor(i));
}

// A private ODBC configuration with one WAL-mode SQLite data source per
// name. StepAPI=1 makes SQLite's driver hand out rows as SQLite steps to
// them; without it the driver reads a whole result into memory first.
void configureOdbc(const fs::path& folder, std::initializer_list<const char*> names) {
  std::ofstream(folder / "odbcinst.ini") << "[SQLite3]\nDriver=" FERROVALE_SQLITE_ODBC_DRIVER "\n";
  std::ofstream ini(folder / "odbc.ini");
  for (const char* name : names)
    ini << '[' << name << "]\nDriver=" FERROVALE_SQLITE_ODBC_DRIVER "\nDatabase="
        << (folder / (std::string(name) + ".sqlite")).string() << "\nJournalMode=WAL\nStepAPI=1\n";
  setenv("ODBCSYSINI", folder.c_str(), 1);
  setenv("ODBCINI", (folder / "odbc.ini").c_str(), 1);
}

// Message boxes answered without a window: Yes to a question, OK to the
// rest, each shown on standard error.
class AnsweringPrompter final : public app::Prompter {
 public:
  int messageBox(const QString& text, int style, const QString&) override {
    std::fprintf(stderr, "message: %s\n", qPrintable(text));
    return style == app::kYesNo ? app::kIdYes : app::kIdOk;
  }
  QString inputBox(const QString&, const QString&, const QString&) override { return {}; }
};

// One handler run on the real pages, offscreen.
Figures runHandler(bool toDataSource, const fs::path& folder, const std::string& accessPath,
                   const std::string& dsn) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  int argc = 1;
  char name[] = "bench_transfer";
  char* argv[] = {name, nullptr};
  QApplication application(argc, argv);
  AnsweringPrompter prompter;
  app::SavedSettings settings(QString::fromStdString((folder / "settings.ini").string()));
  pages::QtFileOpenDialog dialog;
  pages::PageContext context{
      .prompter = prompter,
      .settings = settings,
      .fileDialog = dialog,
      .createConnection = db::ConnectionsOver(),
      .random = [] { return 0.5; },
      .openUrl = [](const QUrl&) { return true; },
      .programFolder = QString::fromStdString(folder.string()),
      .icon = {},
      .endProgram = [] {},
  };
  pages::Form1 connection(context);
  connection.findChild<QLineEdit*>("Text1")->setText(QString::fromStdString(accessPath));
  connection.findChild<QLineEdit*>("Text3")->setText(QString::fromStdString(dsn));
  connection.PushButton4_Click();  // "Next >" fills both lists
  pages::Form2& page = connection.form2();
  QListWidget& list = toDataSource ? page.List1() : page.List2();
  const auto found = list.findItems(QString::fromLatin1(kTable), Qt::MatchFixedString);
  if (found.size() != 1) throw std::runtime_error("the table is not listed");
  list.setCurrentItem(found[0]);
  found[0]->setSelected(true);

  // A zero-interval timer fires on every pass of the event loop.
  const SchedulerStatistics statistics;
  bool measuring = false;
  Clock::time_point last;
  ThreadTimes lastTimes;
  double longest = 0;
  ThreadTimes longestTimes;
  long over20 = 0;
  long over20Blocked = 0;
  long over20Queued = 0;
  QTimer probe;
  probe.setInterval(0);
  QObject::connect(&probe, &QTimer::timeout, [&] {
    const auto now = Clock::now();
    const ThreadTimes times = statistics.now();
    if (measuring) {
      const double gap = std::chrono::duration<double, std::milli>(now - last).count();
      const ThreadTimes spent{times.cpuMs - lastTimes.cpuMs, times.queuedMs - lastTimes.queuedMs};
      if (gap > 20) {
        ++over20;
        if (gap - spent.cpuMs - spent.queuedMs > gap / 2) ++over20Blocked;
        if (spent.queuedMs > gap / 2) ++over20Queued;
      }
      if (gap > longest) {
        longest = gap;
        longestTimes = spent;
      }
    }
    last = now;
    lastTimes = times;
  });
  QObject::connect(&page.ProgressBar1(), &QProgressBar::valueChanged, [&](int value) {
    if (value > 0 && !measuring) {
      last = Clock::now();
      lastTimes = statistics.now();
    }
    measuring = value > 0;
  });
  probe.start();
  Figures figures = timed([&] {
    if (toDataSource)
      page.PushButton3_Click();
    else
      page.PushButton4_Click();
    return 0LL;
  });
  figures.longestGapMs = longest;
  figures.longestGapCpuMs = longestTimes.cpuMs;
  figures.longestGapQueuedMs = longestTimes.queuedMs;
  figures.gapsOver20Ms = over20;
  figures.gapsOver20MsBlocked = over20Blocked;
  figures.gapsOver20MsQueued = over20Queued;
  return figures;
}

void print(const char* what, const Figures& f, long long rows) {
  std::printf("%-34s %9.0f rows/s  %7.2f s (CPU %6.2f s)  peak %6.1f MiB", what,
              static_cast<double>(rows) / f.seconds, f.seconds, f.cpuSeconds,
              static_cast<double>(f.peakKilobytes) / 1024.0);
  if (f.longestGapMs >= 0)
    std::printf(
        "\n    longest event-loop gap %.1f ms (%.1f ms on the CPU, %.1f ms waiting for a core); "
        "%ld gaps over 20 ms, %ld of them mostly blocked (INSERT, driver, disk), %ld mostly "
        "waiting for a core",
        f.longestGapMs, f.longestGapCpuMs, f.longestGapQueuedMs, f.gapsOver20Ms, f.gapsOver20MsBlocked,
        f.gapsOver20MsQueued);
  std::printf("\n");
}

}  // namespace

int main(int argc, char** argv) {
  const long rows = argc > 1 ? std::atol(argv[1]) : 100000;
  const bool handlersOnly = argc > 2 && std::string(argv[2]) == "--handlers-only";
  if (rows <= 0) {
    std::fprintf(stderr, "usage: %s [ROWS] [--handlers-only]\n", argv[0]);
    return 2;
  }
  std::string pattern = (fs::temp_directory_path() / "ferrovale-bench-transfer-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) return 1;
  const fs::path folder = pattern;
  configureOdbc(folder, {"HandlerSide", "PlainSide"});

  const std::string source = (folder / "source.mdb").string();
  const auto writeStart = Clock::now();
  writeSource(source, rows);
  // The copies run in children of this process, which count its resident
  // pages as their own: give back what writing the source left free.
  malloc_trim(0);
  std::printf("%ld rows written into the source Access file in %.1f s\n", rows,
              std::chrono::duration<double>(Clock::now() - writeStart).count());

  const std::string handlerBack = (folder / "handler-back.mdb").string();
  const std::string plainBack = (folder / "plain-back.mdb").string();
  jet::write::createDatabase(handlerBack, jet::write::NewFormat::Jet4);
  jet::write::createDatabase(plainBack, jet::write::NewFormat::Jet4);

  const Figures handlerOut = inChild([&] { return runHandler(true, folder, source, "HandlerSide"); });
  print("Access -> SQLite, handler:", handlerOut, rows);
  Figures plainOut;
  if (!handlersOnly) {
    plainOut =
        inChild([&] { return timed([&] { return bench::PlainAccessToOdbc(source, "PlainSide", kTable); }); });
    print("Access -> SQLite, plain loop:", plainOut, rows);
    std::printf("time ratio handler/plain (Access -> SQLite): %.3f (CPU %.3f)\n",
                handlerOut.seconds / plainOut.seconds, handlerOut.cpuSeconds / plainOut.cpuSeconds);
  }

  const Figures handlerBackFigures =
      inChild([&] { return runHandler(false, folder, handlerBack, "HandlerSide"); });
  print("SQLite -> Access, handler:", handlerBackFigures, rows);
  if (!handlersOnly) {
    const Figures plainBackFigures = inChild([&] {
      return timed([&] { return bench::PlainOdbcToAccess("HandlerSide", kTable, plainBack, kCreateBack); });
    });
    print("SQLite -> Access, plain loop:", plainBackFigures, rows);
    std::printf("time ratio handler/plain (SQLite -> Access): %.3f (CPU %.3f)\n",
                handlerBackFigures.seconds / plainBackFigures.seconds,
                handlerBackFigures.cpuSeconds / plainBackFigures.cpuSeconds);
  }
  std::error_code ignored;
  fs::remove_all(folder, ignored);
  return 0;
}
