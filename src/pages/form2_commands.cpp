// The table commands under each list that work in place: drop the
// selected tables, rename one. Each runs under the error report, and a
// failing statement is followed by the next one, so the lists are edited
// as the steps say even when the database refused a statement.
#include <QItemSelectionModel>
#include <QListWidget>
#include <stdexcept>

#include "ado/connection.h"
#include "ado/data_type.h"
#include "ado/error.h"
#include "db/access.h"
#include "db/connection_factory.h"
#include "db/dbms_dialect.h"
#include "db/sql_name_check.h"
#include "db/sybase.h"
#include "db/table_list.h"
#include "pages/command_run.h"
#include "pages/form2.h"

namespace pages {

namespace {

constexpr char kForm[] = "Form2";
constexpr char kSelectTable[] = "Please select a table";
constexpr char kSelectTableToRename[] = "Please select a table to rename.";
constexpr char kSelectJustOne[] = "Please select just one table to rename.";

// The connection a handler created; a step after a failed creation meets
// what using a missing object raises.
ado::Connection& Live(const std::unique_ptr<ado::Connection>& connection) {
  constexpr std::int32_t kObjectRequired = 424;
  if (!connection) throw ado::Error(kObjectRequired, "Object required");
  return *connection;
}

void Execute(const std::unique_ptr<ado::Connection>& connection, const QString& sql) {
  Live(connection).execute(sql.toStdString());
}

// The entry at `index`, raising what the list raises for an index it does
// not have.
QListWidgetItem& Entry(const QListWidget& list, int index) {
  QListWidgetItem* entry = list.item(index);
  if (!entry) throw std::out_of_range("Invalid property array index");
  return *entry;
}

void RemoveEntry(QListWidget& list, int index) {
  Entry(list, index);
  delete list.takeItem(index);
}

int SelectedCount(const QListWidget& list) {
  return static_cast<int>(list.selectedItems().size());
}

QString RenamePrompt(const QString& oldName) {
  return QStringLiteral("Enter new name of ") + oldName + QLatin1Char(':');
}

void RemoveEntriesEqualIgnoringCase(QListWidget& list, const QString& name) {
  for (int index = list.count() - 1; index >= 0; --index) {
    if (list.item(index)->text().compare(name, Qt::CaseInsensitive) == 0) delete list.takeItem(index);
  }
}

}  // namespace

void Form2::showMessage(const char* text) {
  context_.prompter.messageBox(QLatin1String(text), app::kOkOnly);
}

void Form2::openOdbcConnection(app::ErrorTrap& trap, std::unique_ptr<ado::Connection>& connection) {
  trap.step(104, [&] { Live(connection).setProvider(db::kOdbcProvider); });
  trap.step(106, [&] {
    Live(connection).open(db::SybaseConnectionString(fields_.dataSourceName()).toStdString());
  });
}

// The walk of both drop buttons, numbered from `first` on: the test for a
// current entry, then the entries from the last to the first, one DROP
// TABLE per selected entry and the entry's removal, whether the drop
// succeeded or not.
void Form2::dropSelectedTables(app::ErrorTrap& trap, int first, QListWidget& list,
                               const std::unique_ptr<ado::Connection>& connection, QChar quote,
                               QString (*dropStatement)(const QString&)) {
  if (trap.when(first, [&] { return list.currentRow() == -1; })) {
    trap.step(first + 12, [&] { showMessage(kSelectTable); });
    return;
  }
  int count = 0;
  trap.step(first + 2, [&] { count = list.count(); });
  for (int index = count - 1; index >= 0; --index) {
    if (trap.when(first + 4, [&] { return Entry(list, index).isSelected(); })) {
      trap.step(first + 6, [&] {
        const QString name = Entry(list, index).text();
        db::RequireSendableName(name, quote);
        Execute(connection, dropStatement(name));
      });
      trap.step(first + 8, [&] { RemoveEntry(list, index); });
    }
  }
}

void Form2::PushButton1_Click() {
  CommandRun run(context_, kForm, "PushButton1_Click");
  app::ErrorTrap& trap = run.trap;
  std::unique_ptr<ado::Connection> connection;
  trap.step(100, [&] { connection = db::CreateConnection(context_.createConnection); });
  trap.step(102, [&] { pointer_->set(Pointer::kBusy); });
  trap.step(104, [&] { Live(connection).setCursorLocation(ado::adUseServer); });
  trap.step(106, [&] { Live(connection).setMode(ado::adModeReadWrite); });
  trap.step(108, [&] { Live(connection).open(db::AccessConnectionString(fields_, {}, {}).toStdString()); });
  dropSelectedTables(trap, 110, *List1_, connection, db::kAccessQuote, db::AccessDropTableStatement);
  trap.step(124, [&] { pointer_->set(Pointer::kDefault); });
}

void Form2::PushButton5_Click() {
  CommandRun run(context_, kForm, "PushButton5_Click");
  app::ErrorTrap& trap = run.trap;
  std::unique_ptr<ado::Connection> connection;
  trap.step(100, [&] { connection = db::CreateConnection(context_.createConnection); });
  trap.step(102, [&] { pointer_->set(Pointer::kBusy); });
  openOdbcConnection(trap, connection);
  dropSelectedTables(trap, 108, *List2_, connection, db::kOdbcQuote, db::SybaseDropTableStatement);
  trap.step(122, [&] { pointer_->set(Pointer::kDefault); });
}

void Form2::PushButton6_Click() {
  CommandRun run(context_, kForm, "PushButton6_Click");
  app::ErrorTrap& trap = run.trap;
  if (trap.when(100, [&] { return SelectedCount(*List1_) != 1; })) {
    trap.step(130, [&] { showMessage(kSelectJustOne); });
    return;
  }
  if (trap.when(102, [&] { return List1_->currentRow() == -1; })) {
    trap.step(128, [&] { showMessage(kSelectTableToRename); });
    return;
  }
  trap.step(104, [&] { pointer_->set(Pointer::kBusy); });
  QString oldName;
  int remembered = -1;
  int count = 0;
  trap.step(106, [&] { count = List1_->count(); });
  for (int index = 0; index < count; ++index) {
    if (trap.when(108, [&] { return Entry(*List1_, index).isSelected(); })) {
      trap.step(110, [&] { oldName = Entry(*List1_, index).text(); });
      trap.step(112, [&] { remembered = index; });
    }
  }
  QString newName;
  trap.step(116, [&] { newName = context_.prompter.inputBox(RenamePrompt(oldName), oldName); });
  bool renamed = false;
  if (!trap.when(118, [&] { return newName.isEmpty(); })) {
    // A failed rename counts as a declined one: the list keeps the old
    // name, which the database still holds whether the copy or the drop
    // of the old table failed.
    renamed = !trap.when(120, [&] {
      return !db::RenameAccessTable(oldName, newName, fields_.accessPath(), fields_.accessPassword(), fields_,
                                    context_.prompter, context_.createConnection);
    });
  }
  if (renamed) {
    trap.step(122, [&] { RemoveEntry(*List1_, remembered); });
    trap.step(124, [&] {
      RemoveEntriesEqualIgnoringCase(*List1_, newName);
      db::AddTableName(*List1_, newName);
    });
  }
  trap.step(126, [&] { pointer_->set(Pointer::kDefault); });
}

void Form2::PushButton7_Click() {
  CommandRun run(context_, kForm, "PushButton7_Click");
  app::ErrorTrap& trap = run.trap;
  std::unique_ptr<ado::Connection> connection;
  trap.step(100, [&] { connection = db::CreateConnection(context_.createConnection); });
  trap.step(102, [&] { pointer_->set(Pointer::kBusy); });
  openOdbcConnection(trap, connection);
  if (trap.when(108, [&] { return List2_->currentRow() == -1; })) {
    trap.step(134, [&] { showMessage(kSelectTableToRename); });
  } else if (trap.when(110, [&] { return SelectedCount(*List2_) != 1; })) {
    trap.step(132, [&] { showMessage(kSelectJustOne); });
  } else {
    int count = 0;
    trap.step(112, [&] { count = List2_->count(); });
    for (int index = count - 1; index >= 0; --index) {
      if (!trap.when(114, [&] { return Entry(*List2_, index).isSelected(); })) continue;
      QString oldName;
      QString newName;
      trap.step(116, [&] { oldName = Entry(*List2_, index).text(); });
      trap.step(118, [&] { newName = context_.prompter.inputBox(RenamePrompt(oldName), oldName); });
      if (trap.when(120, [&] { return newName.isEmpty(); })) continue;
      trap.step(122, [&] {
        db::RequireSendableName(oldName, db::kOdbcQuote);
        db::RequireSendableName(newName, db::kOdbcQuote);
        const db::DbmsDialect dialect = db::DbmsDialect::of(Live(connection));
        Execute(connection, dialect.renameTableStatement(oldName, newName));
      });
      trap.step(124, [&] { RemoveEntry(*List2_, index); });
      trap.step(126, [&] { db::AddTableName(*List2_, newName); });
      // Current without being selected, so that the walk below finds no
      // second table to rename.
      trap.step(128, [&] {
        if (List2_->count() > 0) List2_->setCurrentRow(0, QItemSelectionModel::NoUpdate);
      });
    }
  }
  trap.step(136, [&] { pointer_->set(Pointer::kDefault); });
}

}  // namespace pages
