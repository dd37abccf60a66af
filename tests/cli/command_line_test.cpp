#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <atomic>

#include "ado/connection.h"
#include "jet/database/new_database.h"
#include "support/odbc_sandbox.h"

namespace {

struct Outcome {
  int exitCode = -1;
  QString out;
  QString err;
};

class CommandLine : public testing::Test {
 protected:
  CommandLine() {
    static std::atomic<int> dataSources = 0;
    dsn = QString::fromStdString(test_support::OdbcSandbox::instance().createDsn(
        "Cli" + std::to_string(++dataSources),
        {"CREATE TABLE b (id INTEGER)", "CREATE TABLE Orders (id INTEGER)",
         "CREATE TABLE \"we\"\"ird\" (id INTEGER)"}));
    jet::write::createDatabase(accessPath.toStdString(), jet::write::NewFormat::Jet4);
    ado::Connection access;
    access.open("PROVIDER=Microsoft.Jet.OLEDB.4.0;Data Source=" + accessPath.toStdString() +
                ";JET OLEDB:Database Password=");
    access.execute("CREATE TABLE `a`(`id` INT);");
    access.execute("CREATE TABLE `Orders`(`id` INT);");

    QSettings saved(settingsFile, QSettings::IniFormat);
    saved.beginGroup(QStringLiteral("Ferrovale"));
    saved.setValue(QStringLiteral("AccessMDBFile"), accessPath);
    saved.setValue(QStringLiteral("AccessPassword"), QString());
    saved.setValue(QStringLiteral("DataSourceName"), dsn);
  }

  Outcome run(const QStringList& arguments) {
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* display : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
      environment.remove(QLatin1String(display));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
    environment.insert(QStringLiteral("HOME"), home.path());
    // SQLite's ODBC driver loads and unloads libodbcinst for every
    // connection and loses that library's settings cache each time; in a
    // sanitizer build the leak check would turn every exit status into 1.
    // Our own code's leaks are checked in-process by the page tests, which
    // run the same handlers with the library pinned (see OdbcSandbox).
    environment.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0"));
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(FERROVALE_PROGRAM), arguments);
    EXPECT_TRUE(program.waitForFinished(60000)) << arguments.join(' ').toStdString();
    return {program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1,
            QString::fromUtf8(program.readAllStandardOutput()),
            QString::fromUtf8(program.readAllStandardError())};
  }

  QByteArray savedBytes() const {
    QFile file(settingsFile);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }

  QTemporaryDir home;
  QString settingsFile = home.filePath(QStringLiteral("config/Quorvane/Quorvane.conf"));
  QString accessPath = home.filePath(QStringLiteral("shop.mdb"));
  QString dsn;
};

TEST_F(CommandLine, TablesListsBothSidesFromTheSavedValuesWithoutChangingThem) {
  const QByteArray before = savedBytes();
  ASSERT_FALSE(before.isEmpty());
  const Outcome tables = run({"tables"});
  EXPECT_EQ(tables.exitCode, 0) << tables.err.toStdString();
  EXPECT_EQ(tables.out, "access\ta\naccess\tOrders\nodbc\tb\nodbc\tOrders\nodbc\twe\"ird\n");

  const Outcome renamed = run({"rename", "--odbc", "Orders", "Sales"});
  EXPECT_EQ(renamed.exitCode, 0) << renamed.err.toStdString();
  EXPECT_EQ(renamed.err, "Enter new name of Orders: -> Sales\n");
  EXPECT_TRUE(run({"tables", "--dsn", dsn}).out.endsWith("odbc\tSales\nodbc\twe\"ird\n"));
  EXPECT_EQ(savedBytes(), before);
}

TEST_F(CommandLine, QuestionsAreAnsweredByTheOptionsAndWrittenDown) {
  const Outcome declined = run({"rename", "--access", "a", "orders"});
  EXPECT_EQ(declined.exitCode, 0);
  EXPECT_TRUE(declined.err.endsWith("Would you like to overwrite orders? -> no (--no)\n"));
  const Outcome accepted = run({"rename", "--access", "--yes", "a", "orders"});
  EXPECT_EQ(accepted.exitCode, 0) << accepted.err.toStdString();
  EXPECT_TRUE(accepted.err.endsWith("Would you like to overwrite orders? -> yes (--yes)\n"));
  EXPECT_TRUE(run({"tables"}).out.startsWith("access\torders\nodbc\t"));
}

TEST_F(CommandLine, ExitStatusSaysWhetherAnythingWasToldOrTheCommandWasWrong) {
  const struct {
    QStringList arguments;
    int exitCode;
    const char* told;
  } cases[] = {
      {{"drop", "--odbc", "b"}, 0, ""},
      {{"drop", "--odbc", "we\"ird"},
       1,
       "holds the character \" (U+0022), which the statement cannot carry; nothing was sent.\n"
       "in Ferrovale7/29/2014.Form2.PushButton5_Click at line 114\n\nPlease email"},
      {{"drop", "--access", "--file", "/nowhere/gone.mdb", "a"}, 1, "does not exist"},
      {{"tables", "--dsn", test_support::OdbcSandbox::kUnknownDsn}, 1, "does not open"},
      {{"drop", "--odbc", "Nope"}, 2, "no table \"Nope\" in the ODBC list"},
      {{"drop", "Orders"}, 2, "drop needs --access or --odbc"},
      {{"drop", "--odbc", "--yes", "Orders"}, 2, "unknown option --yes"},
      {{"rename", "--odbc", "Orders"}, 2, "needs the old and the new name"},
      {{"--file"}, 2, "unknown command"},
  };
  for (const auto& c : cases) {
    const Outcome result = run(c.arguments);
    EXPECT_EQ(result.exitCode, c.exitCode) << c.arguments.join(' ').toStdString();
    EXPECT_TRUE(result.err.contains(QLatin1String(c.told))) << result.err.toStdString();
  }
  // Only the first command changed anything.
  EXPECT_EQ(run({"tables"}).out, "access\ta\naccess\tOrders\nodbc\tOrders\nodbc\twe\"ird\n");
}

TEST_F(CommandLine, CopyRunsTheSendButtonsInBothDirections) {
  const Outcome toOdbc = run({"copy", "--to-odbc", "a"});
  EXPECT_EQ(toOdbc.exitCode, 0) << toOdbc.err.toStdString();
  const Outcome toAccess = run({"copy", "--to-access", "--yes", "Orders"});
  EXPECT_EQ(toAccess.exitCode, 0) << toAccess.err.toStdString();
  EXPECT_TRUE(toAccess.err.endsWith("Would you like to overwrite Orders? -> yes (--yes)\n"));
  EXPECT_EQ(run({"tables"}).out,
            "access\ta\naccess\tOrders\nodbc\ta\nodbc\tb\nodbc\tOrders\nodbc\twe\"ird\n");
}

TEST_F(CommandLine, HelpAndVersionNeedNoDatabase) {
  const Outcome help = run({"--help"});
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_TRUE(help.out.contains("ferrovale rename --access | --odbc"));
  const Outcome version = run({"--version"});
  EXPECT_EQ(version.exitCode, 0);
  EXPECT_TRUE(version.out.startsWith("ferrovale "));
}

}  // namespace
