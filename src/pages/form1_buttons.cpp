// The button handlers of the connection page.
#include <QLineEdit>
#include <stdexcept>

#include "app/error_trap.h"
#include "app/program_folder.h"
#include "db/access.h"
#include "db/file_exists.h"
#include "db/sybase.h"
#include "pages/command_run.h"
#include "pages/form1.h"
#include "pages/form2.h"

namespace pages {

namespace {
constexpr char kForm[] = "Form1";

constexpr char kAccessFilter[] =
    "All Microsoft Databases (*.mdb,*.accdb)|*.*db|Microsoft Database (*.mdb)|*.mdb|"
    "Microsoft 2007 Database (*.accdb)|*.accdb|";

// How a data source for the program is set up, line by line.
constexpr const char* kHelpLines[] = {
    "Here is how I connected to my Sybase database.",
    "1. Downloaded and installed drivers: SQL Anywhere 10 for Windows "
    "(SQLAnywhere_1000_Windows.exe)",
    "2. Obtained a developer key from the database vendor (SAP, the maker of SQL Anywhere): "
    "ask their sales contact for one before installing.",
    "3. Clicked to Start > Settings > Control Panel > Administrative Tools > Data Source (ODBC)",
    "4. Clicked 'Add...' ",
    "5. Selected 'SQL Anywhere 10'",
    "6. Filled in 'Data source name', 'User ID', 'Password', 'Server Name', 'TCP/IP' given to me "
    "by my administrator.",
    "7. Clicked 'Test Connection'.",
    "8. Filled in 'Data Source Name' in my program to be the same as 'Data source name' in Data "
    "Source (ODBC)",
    "9. Clicked 'Test Connection' in my program.",
};

}  // namespace

void Form1::PushButton1_Click() {
  CommandRun run(context_, kForm, "PushButton1_Click");
  app::ErrorTrap& trap = run.trap;
  trap.step(100, [&] { CommonDialog1_.setFileName(QString()); });
  trap.step(102, [&] { CommonDialog1_.setFlags(kOfnReadOnly | kOfnExplorer | kOfnLongNames); });
  trap.step(104, [&] { CommonDialog1_.setDialogTitle(QStringLiteral("Select Access Database")); });
  trap.step(106, [&] { CommonDialog1_.setFilter(QLatin1String(kAccessFilter)); });
  trap.step(108, [&] { CommonDialog1_.showOpen(); });
  if (trap.when(110, [&] { return !CommonDialog1_.fileName().isEmpty(); })) {
    trap.step(112, [&] { Text1_->setText(CommonDialog1_.fileName()); });
  }
}

void Form1::PushButton2_Click() {
  CommandRun run(context_, kForm, "PushButton2_Click");
  app::ErrorTrap& trap = run.trap;
  std::unique_ptr<ado::Connection> connection;
  trap.step(100, [&] { connection = db::CreateConnection(context_.createConnection); });
  // From here on any failure means the data source did not open: the user
  // is told "Could not connect." instead of the error report.
  try {
    pointer_->set(Pointer::kBusy);  // 102
    if (!connection) throw std::runtime_error("Object required");
    db::OpenSybaseConnection(*connection, *this);                                          // 104, 106
    context_.prompter.messageBox(QStringLiteral("Connection successful."), app::kOkOnly);  // 108
    pointer_->set(Pointer::kDefault);                                                      // 110
  } catch (...) {
    context_.prompter.messageBox(QStringLiteral("Could not connect."), app::kOkOnly);  // 114
    pointer_->set(Pointer::kDefault);                                                  // 116
  }
}

void Form1::PushButton3_Click() {
  CommandRun run(context_, kForm, "PushButton3_Click");
  app::ErrorTrap& trap = run.trap;
  QString text;
  for (const char* line : kHelpLines) text += QLatin1String(line) + QStringLiteral("\r\r");
  trap.step(124, [&] { context_.prompter.messageBox(text, app::kOkOnly); });
}

void Form1::PushButton4_Click() {
  CommandRun run(context_, kForm, "PushButton4_Click");
  app::ErrorTrap& trap = run.trap;
  trap.step(100, [&] { pointer_->set(Pointer::kBusy); });
  const bool accessMissing = trap.when(102, [&] { return !db::FileExists(Text1_->text()); });
  const bool sybaseDown = !accessMissing && trap.when(104, [&] {
    return !db::CanConnectSybase(*this, context_.createConnection);
  });
  if (!accessMissing && !sybaseDown) {
    trap.step(106, [&] {
      db::FillAccessTableList(form2().List1(), Text1_->text(), *this, context_.prompter,
                              context_.createConnection);
    });
    trap.step(108, [&] { db::FillSybaseTableList(form2().List2(), *this, context_.createConnection); });
    trap.step(110, [&] { form2().show(); });
    trap.step(112, [&] { hide(); });
  }
  trap.step(114, [&] { pointer_->set(Pointer::kDefault); });
}

void Form1::PushButton7_Click() {
  CommandRun run(context_, kForm, "PushButton7_Click");
  app::ErrorTrap& trap = run.trap;
  trap.step(100, [&] {
    Text1_->setText(
        app::JoinPath(context_.programFolder, {QStringLiteral("Samples"), QStringLiteral("sample.mdb")}));
  });
}

}  // namespace pages
