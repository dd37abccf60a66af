#include "cli/run_command.h"

#include <QItemSelectionModel>
#include <QListWidget>

#include "app/program_folder.h"
#include "app/saved_settings.h"
#include "cli/terminal_progress.h"
#include "cli/terminal_prompter.h"
#include "db/access.h"
#include "db/error_info.h"
#include "db/file_exists.h"
#include "db/sybase.h"
#include "pages/common_dialog.h"
#include "pages/form2.h"
#include "pages/page_context.h"

namespace cli {

namespace {

QString Latin1(std::string_view text) {
  return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

// The options' values, each in place of the saved one it names, fixed for
// the whole run.
class GivenFields final : public db::ConnectionFields {
 public:
  GivenFields(const Arguments& arguments, const app::SavedSettings& saved)
      : path_(arguments.file.value_or(saved.read(QLatin1String(saved.kAccessMdbFile)))),
        password_(arguments.password.value_or(saved.read(QLatin1String(saved.kAccessPassword)))),
        dataSourceName_(arguments.dataSourceName.value_or(saved.read(QLatin1String(saved.kDataSourceName)))) {
  }

  QString accessPath() const override { return path_; }
  QString accessPassword() const override { return password_; }
  QString dataSourceName() const override { return dataSourceName_; }

 private:
  QString path_;
  QString password_;
  QString dataSourceName_;
};

// As "Next >" fills the lists, except that a side that cannot be read is
// told (and the command stopped) instead of leaving its list empty.
bool FillLists(pages::Form2& page, const GivenFields& fields, pages::PageContext& context,
               const TerminalPrompter& prompter) {
  if (!db::FileExists(fields.accessPath())) {
    context.prompter.messageBox(QStringLiteral("The Access database file \"") + fields.accessPath() +
                                    QStringLiteral("\" does not exist."),
                                app::kOkOnly);
    return false;
  }
  // A file that does not open is told by the listing itself.
  db::FillAccessTableList(page.List1(), fields.accessPath(), fields, context.prompter,
                          context.createConnection);
  if (prompter.toldSomething()) return false;
  try {
    db::FillSybaseTableList(page.List2(), fields, context.createConnection);
  } catch (...) {
    const db::ErrorInfo error = db::CaughtError();
    context.prompter.messageBox(QStringLiteral("The data source \"") + fields.dataSourceName() +
                                    QStringLiteral("\" does not open: ") + error.description +
                                    QStringLiteral(" (Error Number = ") + QString::number(error.number) +
                                    QLatin1Char(')'),
                                app::kOkOnly);
    return false;
  }
  return true;
}

void PrintList(std::ostream& out, const char* side, const QListWidget& list) {
  for (int index = 0; index < list.count(); ++index)
    out << side << '\t' << list.item(index)->text().toStdString() << '\n';
}

// Selects the entries whose text is one of `names` and makes the first
// named one current. False, with the missing name told on `err`, when a
// name is not in the list.
bool SelectNamed(QListWidget& list, const QStringList& names, const char* listName, std::ostream& err) {
  for (const QString& name : names) {
    const auto found = list.findItems(name, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (found.isEmpty()) {
      err << "ferrovale: no table \"" << name.toStdString() << "\" in the " << listName << " list\n";
      return false;
    }
    for (QListWidgetItem* entry : found) entry->setSelected(true);
  }
  const auto first = list.findItems(names.first(), Qt::MatchExactly | Qt::MatchCaseSensitive);
  list.setCurrentItem(first.first(), QItemSelectionModel::NoUpdate);
  return true;
}

}  // namespace

int RunCommand(const Arguments& arguments, app::SavedSettings& saved,
               const db::ConnectionFactory& connections, std::ostream& out, std::ostream& err,
               bool errIsTerminal) {
  const Command& command = *arguments.command;
  pages::Form2::Click click = nullptr;
  if (arguments.side) {
    click = pages::Form2::clickOf(Latin1(arguments.side->button));
    if (!click) {
      err << "ferrovale: " << command.name << " is not available in this build\n";
      return kExitUsage;
    }
  }

  const GivenFields fields(arguments, saved);
  TerminalPrompter prompter(err, arguments.yes,
                            command.operands == Operands::kOldAndNew ? arguments.operands[1] : QString());
  pages::QtFileOpenDialog noFileDialog;  // the table commands choose no file
  pages::PageContext context{
      .prompter = prompter,
      .settings = saved,  // written only by the connection page, which is not built here
      .fileDialog = noFileDialog,
      .createConnection = connections,
      .random = [] { return 0.0; },
      .openUrl = [](const QUrl&) { return false; },
      .programFolder = app::ProgramFolder(),
      .icon = {},
      .endProgram = [] {},
  };
  if (errIsTerminal) context.transferProgress = TerminalProgress(err);
  QWidget noConnectionPage;  // "< Back" is never pressed here
  pages::Form2 page(context, fields, noConnectionPage);
  page.Form_Load();

  if (!FillLists(page, fields, context, prompter)) return kExitToldSomething;
  if (!arguments.side) {
    PrintList(out, "access", page.List1());
    PrintList(out, "odbc", page.List2());
    out << std::flush;
    return prompter.toldSomething() ? kExitToldSomething : kExitSuccess;
  }

  const bool access = arguments.side->list == TableList::kAccess;
  const QStringList named =
      command.operands == Operands::kOldAndNew ? QStringList{arguments.operands.first()} : arguments.operands;
  if (!SelectNamed(access ? page.List1() : page.List2(), named, access ? "Access" : "ODBC", err))
    return kExitUsage;
  (page.*click)();
  return prompter.toldSomething() ? kExitToldSomething : kExitSuccess;
}

}  // namespace cli
