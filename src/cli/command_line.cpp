#include "cli/command_line.h"

#include <unistd.h>

#include <QApplication>
#include <iostream>

#include "app/saved_settings.h"
#include "cli/arguments.h"
#include "cli/run_command.h"

namespace cli {

namespace {

void PrintHelp(std::ostream& out, const Command* command) {
  out << "Usage:\n";
  if (command) {
    out << "  ferrovale " << command->name << ' ' << command->usage << "\n\n" << command->summary << ".\n";
  } else {
    out << "  ferrovale                 open the wizard\n";
    for (const Command& each : Commands())
      out << "  ferrovale " << each.name << ' ' << each.usage << "\n      " << each.summary << '\n';
  }
  out << "\nOptions (each defaults to the saved value):\n"
         "  --file ACCESS_FILE        the Access database file\n"
         "  --password PASSWORD       its database password\n"
         "  --dsn DATA_SOURCE_NAME    the ODBC data source\n"
         "  --yes, --no               the answer to \"Would you like to overwrite ...?\" (default "
         "--no)\n"
         "  --help, --version\n"
         "\nTable names are written as the lists show them; put -- before names that\n"
         "begin with a dash. Messages and error reports go to standard error.\n"
         "Exit status: 0 done, 1 a message or an error report was shown, 2 a usage\n"
         "error or a table that is not in its list (then nothing runs).\n";
}

// Qt's own remarks (a missing runtime folder, the offscreen platform's
// limits) would mix with the command's messages that scripts read; only
// its fatal and critical ones stay.
void KeepQtQuiet(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtCriticalMsg || type == QtFatalMsg) std::cerr << message.toStdString() << '\n';
}

}  // namespace

int CommandLineMain(int argc, char* argv[]) {
  QStringList words;
  for (int i = 1; i < argc; ++i) words << QString::fromLocal8Bit(argv[i]);
  Arguments arguments;
  try {
    arguments = ParseArguments(words);
  } catch (const UsageError& e) {
    std::cerr << "ferrovale: " << e.what() << "\nTry 'ferrovale --help'.\n";
    return kExitUsage;
  }
  if (arguments.request == Arguments::Request::kHelp) {
    PrintHelp(std::cout, arguments.command);
    return kExitSuccess;
  }
  if (arguments.request == Arguments::Request::kVersion) {
    std::cout << "ferrovale " FERROVALE_VERSION "\n";
    return kExitSuccess;
  }

  // No display: the page is built but never shown. Qt gets no arguments
  // of ours to read as its own.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  qInstallMessageHandler(KeepQtQuiet);
  int qtArgc = 1;
  char* qtArgv[] = {argv[0], nullptr};
  QApplication application(qtArgc, qtArgv);
  app::SavedSettings saved;
  return RunCommand(arguments, saved, db::ConnectionsOver(), std::cout, std::cerr,
                    isatty(STDERR_FILENO) == 1);
}

}  // namespace cli
