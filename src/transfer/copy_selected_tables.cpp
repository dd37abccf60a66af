#include "transfer/copy_selected_tables.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <stdexcept>
#include <string>
#include <vector>

#include "ado/connection.h"
#include "ado/data_type.h"
#include "ado/recordset.h"
#include "app/error_trap.h"
#include "db/access.h"
#include "db/connection_factory.h"
#include "db/data_type_name.h"
#include "db/dbms_dialect.h"
#include "db/sql_name_check.h"
#include "db/sybase.h"
#include "transfer/column_rules.h"
#include "transfer/statement_worker.h"
#include "transfer/throttled_yield.h"
#include "transfer/value_writer.h"

namespace transfer {
namespace {

std::string withName(std::string_view pattern, std::string_view placeholder, std::string_view value) {
  std::string text(pattern);
  const std::size_t at = text.find(placeholder);
  if (at != std::string::npos) text.replace(at, placeholder.size(), value);
  return text;
}

std::string lowerAscii(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

// The share of rows done, rounded as the progress bar's integer value
// takes it; a source that gives more rows than it counted stays at 100.
int percentDone(long long done, long long total) {
  if (total <= 0) return 100;
  const double share = static_cast<double>(done) / static_cast<double>(total) * 100.0;
  return static_cast<int>(std::min(100.0, std::nearbyint(share)));
}

long long countFrom(const ado::Variant& value) {
  const std::string text = value.textForm();
  long long count = -1;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), count);
  if (result.ec != std::errc() || count < 0)
    throw std::runtime_error("The data source gave no row count but '" + text + "'.");
  return count;
}

// One run of CopySelectedTables: the connections, the row set and the
// statement live as long as the run.
class Run {
 public:
  Run(TransferPage& page, const TransferDirection& direction)
      : page_(page),
        d_(direction),
        lines_(direction.lines),
        trap_(page.prompter(), QStringLiteral("Form2"), QLatin1String(direction.handlerName)),
        yield_(page) {
    trap_.showSqlFrom(&statement_);
    // Once the window is closed the statement in flight finishes and the rest is skipped.
    trap_.stopWhen([&page] { return page.stopRequested(); });
  }

  void operator()() {
    trap_.step(lines_.createAccess, [&] { access_ = db::CreateConnection(page_.connections()); });
    trap_.step(lines_.createOdbc, [&] { odbc_ = db::CreateConnection(page_.connections()); });
    trap_.step(lines_.createRows, [] {});  // the row set is a member, made with the run
    if (trap_.when(lines_.noSelection, [&] { return sourceList().currentIndex() == -1; })) {
      page_.prompter().messageBox(QLatin1String(d_.noSelectionMessage), db::kOkOnly);
      return;
    }
    trap_.step(lines_.busyPointer, [&] { page_.setPointer(PagePointer::kBusy); });
    openConnections();
    int count = 0;
    trap_.step(lines_.entries, [&] { count = sourceList().count(); });
    for (int index = count - 1; index >= 0 && !page_.stopRequested(); --index) copyEntry(index);
    end();
  }

 private:
  TableListView& sourceList() { return page_.list(d_.sourceList); }
  TableListView& targetList() { return page_.list(d_.targetList); }
  // A connection that could not be created fails every use, as an object
  // variable that was never set does.
  static ado::Connection& made(const std::unique_ptr<ado::Connection>& connection) {
    if (!connection) throw std::runtime_error("Object variable or With block variable not set");
    return *connection;
  }
  ado::Connection& access() { return made(access_); }
  ado::Connection& odbc() { return made(odbc_); }
  ado::Connection& source() { return d_.source == Side::kAccess ? access() : odbc(); }
  ado::Connection& target() { return d_.source == Side::kAccess ? odbc() : access(); }
  QString targetListName() const {
    return d_.targetListName == ListNameForm::kLowerCase ? table_.toLower() : table_;
  }

  void openConnections() {
    trap_.step(lines_.odbcCursorLocation, [&] { odbc().setCursorLocation(d_.odbcCursorLocation); });
    trap_.step(lines_.odbcProvider, [&] { odbc().setProvider(db::kOdbcProvider); });
    trap_.step(lines_.odbcOpen, [&] {
      odbc().open(db::SybaseConnectionString(page_.connectionFields().dataSourceName()).toStdString());
      doubleBackslashes_ = d_.target() == Side::kOdbc && db::DbmsDialect::of(odbc()).readsBackslashEscapes();
    });
    trap_.step(lines_.accessCursorLocation, [&] { access().setCursorLocation(d_.accessCursorLocation); });
    trap_.step(lines_.accessMode, [&] { access().setMode(d_.accessMode); });
    trap_.step(lines_.accessOpen, [&] {
      access().open(db::AccessConnectionString(page_.connectionFields(), {}, {}).toStdString());
    });
  }

  void copyEntry(int index) {
    if (lines_.entryYield != 0) trap_.step(lines_.entryYield, yield_);
    if (trap_.when(lines_.selected, [&] { return !sourceList().isSelected(index); })) return;
    bool nameRefused = true;
    trap_.step(lines_.tableName, [&] {
      table_ = sourceList().text(index);
      db::RequireSendableName(table_, db::kAccessQuote);
      db::RequireSendableName(table_, db::kOdbcQuote);
      nameRefused = false;
    });
    if (nameRefused || !openSource()) return;

    int answer = 0;
    if (trap_.when(lines_.overwriteTest, [&] { return targetList().contains(table_); })) {
      trap_.step(lines_.overwriteQuestion, [&] {
        answer = page_.prompter().messageBox(
            QStringLiteral("Would you like to overwrite ") + table_ + QLatin1Char('?'), db::kYesNo,
            QStringLiteral("Overwrite?"));
      });
    } else {
      trap_.step(lines_.noQuestion, [&] { answer = 0; });
    }
    if (trap_.when(lines_.answeredNo, [&] { return answer == db::kIdNo; })) {
      closeSourceQuietly();
      return;
    }
    if (trap_.when(lines_.answeredYes, [&] { return answer == db::kIdYes; })) {
      trap_.step(lines_.drop, [&] { target().execute(withName(d_.dropStatement, "<table>", tableText())); });
      trap_.step(lines_.removeTarget, [&] { targetList().remove(targetListName()); });
    }
    createTable();
    if (!copyRows()) {
      closeSourceQuietly();
      return;
    }
    trap_.step(lines_.progressReset, [&] { page_.setProgress(0); });
    trap_.step(lines_.closeSource, [&] { rows_.close(); });
    trap_.step(lines_.addTarget, [&] { targetList().add(targetListName()); });
  }

  std::string tableText() const { return table_.toStdString(); }

  // Opens the source rows and checks the field names; false when the
  // table cannot be sent (reported).
  bool openSource() {
    closeSourceQuietly();
    bool ready = false;
    trap_.step(lines_.openSource, [&] {
      rowCount_ = d_.rowCountQuery ? countRows(withName(d_.rowCountQuery, "<table>", tableText())) : -1;
      rows_.setCursorLocation(ado::adUseServer);
      rows_.open(withName(d_.sourceQuery, "<table>", tableText()), source(), d_.sourceCursorType,
                 d_.sourceLockType);
      if (rowCount_ < 0) rowCount_ = rows_.recordCount();
      const QChar quote = QLatin1Char(d_.targetQuote());
      for (int j = 0; j < rows_.fieldCount(); ++j)
        db::RequireSendableName(QString::fromStdString(rows_.field(j).name), quote);
      ready = true;
    });
    if (!ready) closeSourceQuietly();
    return ready;
  }

  long long countRows(const std::string& sql) {
    ado::Recordset counted;
    counted.setCursorLocation(ado::adUseServer);
    counted.open(sql, source());
    if (counted.eof() || counted.fieldCount() < 1)
      throw std::runtime_error("The data source gave no row count.");
    return countFrom(counted.field(0).value);
  }

  void closeSourceQuietly() {
    if (rows_.isOpen()) rows_.close();
  }

  void createTable() {
    const std::string name = tableText();
    trap_.step(lines_.createOpening, [&] { statement_ = withName(d_.createOpening, "<table>", name); });
    int fields = 0;
    trap_.step(lines_.fields, [&] { fields = rows_.fieldCount(); });
    forms_.assign(static_cast<std::size_t>(fields), ValueForm::kQuoted);
    for (int j = 0; j < fields; ++j) {
      trap_.step(lines_.fieldYield, yield_);
      std::string fieldName;
      trap_.step(lines_.fieldName, [&] { fieldName = rows_.field(j).name; });
      trap_.step(lines_.typeName, [&] {
        const ado::Field& field = rows_.field(j);
        const SourceField declared{lowerAscii(db::DataTypeName(field.type)), field.definedSize,
                                   field.precision, field.numericScale};
        const TargetColumn column = ChooseTargetColumn(d_.columnRules, declared);
        statement_ += withName(d_.columnDefinition, "<field>", fieldName);
        statement_ += column.typeText;
        statement_ += ',';
        forms_[static_cast<std::size_t>(j)] = column.form;
      });
    }
    trap_.step(lines_.cutComma, [&] { CutEnd(statement_, 1); });
    trap_.step(lines_.createClosing, [&] { statement_ += d_.createClosing; });
    trap_.step(lines_.create, [&] { target().execute(statement_); });
  }

  // Sends every row the source gives; false when the window was closed.
  bool copyRows() {
    long long rowBound = -1;
    trap_.step(lines_.rowBound, [&] { rowBound = rowCount_ - 1; });
    const std::string opening = withName(d_.insertOpening, "<table>", tableText());
    long long done = 0;
    while (!rows_.eof()) {
      if (page_.stopRequested()) {
        inserts_.dropQueued();  // destruction waits for the one in flight
        return false;
      }
      trap_.step(lines_.rowYield, yield_);
      trap_.step(lines_.progress, [&] { page_.setProgress(percentDone(done + 1, rowBound + 1)); });
      trap_.step(lines_.insertOpening, [&] { statement_ = opening; });
      for (std::size_t j = 0; j < forms_.size(); ++j) {
        trap_.step(lines_.valueYield, yield_);
        // A Null value reads as the empty text, which is written as NULL.
        trap_.step(lines_.value, [&] {
          AppendValue(statement_, d_.valueWriting, forms_[j], rows_.field(static_cast<int>(j)).value,
                      doubleBackslashes_);
        });
      }
      trap_.step(lines_.closingCut, [&] { CutEnd(statement_, d_.closingCut); });
      trap_.step(lines_.closingParen, [&] { statement_ += ')'; });
      inserts_.waitForRoom([this] { idleWhileInserting(); });
      reportFailedInserts();
      trap_.step(lines_.insert, [&] { inserts_.post(target(), statement_); });
      page_.rowsDone(table_, ++done, rowCount_);
      trap_.step(lines_.moveNext, [&] { rows_.moveNext(); });
    }
    inserts_.finishAll([this] { idleWhileInserting(); });
    reportFailedInserts();
    return true;
  }

  // While the window's thread waits for the INSERTs, the event loop runs,
  // and once the window is closed the statements not yet started are
  // dropped, so that the wait ends with the one in flight.
  void idleWhileInserting() {
    yield_();
    if (page_.stopRequested()) inserts_.dropQueued();
  }

  // The INSERTs of earlier rows ran while later rows were read and
  // written; each failure is reported under the INSERT's step with its own
  // statement, before the next row is sent. The target sees the statements
  // in the same order.
  void reportFailedInserts() {
    while (const auto failed = inserts_.nextFailure()) {
      trap_.showSqlFrom(failed->statement);
      trap_.step(lines_.insert, [&] { std::rethrow_exception(failed->error); });
    }
    trap_.showSqlFrom(&statement_);
  }

  void end() {
    for (const EndAction action : d_.endOrder) {
      switch (action) {
        case EndAction::kCloseAccess: trap_.step(lines_.closeAccess, [&] { access().close(); }); break;
        case EndAction::kCloseOdbc: trap_.step(lines_.closeOdbc, [&] { odbc().close(); }); break;
        case EndAction::kPointerNormal:
          trap_.step(lines_.pointerNormal, [&] { page_.setPointer(PagePointer::kDefault); });
          break;
      }
    }
  }

  TransferPage& page_;
  const TransferDirection& d_;
  const LineNumbers& lines_;
  app::ErrorTrap trap_;
  std::unique_ptr<ado::Connection> access_;
  std::unique_ptr<ado::Connection> odbc_;
  ado::Recordset rows_;
  ThrottledYield yield_;
  std::string statement_;  // not cleared between tables: the report shows the last one
  bool doubleBackslashes_ = false;
  QString table_;
  long long rowCount_ = -1;
  std::vector<ValueForm> forms_;
  // Last: destroyed first, it waits for the INSERT in flight while the
  // connections are still there, and skips those queued behind it.
  StatementWorker inserts_;
};

}  // namespace

void TableTransfer::CopySelectedTables(const TransferDirection& direction) {
  Run(page_, direction)();
}

}  // namespace transfer
