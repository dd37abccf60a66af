#include "app/error_trap.h"

#include <utility>

#include "db/error_info.h"

namespace app {

namespace {

// The handler's name in the report starts with the program's name and the
// date of the build the report format was made for; support matches
// reports by this text, so it stays as it is.
constexpr char kReportOrigin[] = "in Ferrovale7/29/2014.";
constexpr char kSupportAddress[] = "support@quorvane.example";
constexpr char kReportTitle[] = "Application Error";

}  // namespace

ErrorTrap::ErrorTrap(Prompter& prompter, QString form, QString handler)
    : prompter_(prompter), form_(std::move(form)), handler_(std::move(handler)) {}

void ErrorTrap::reportCaught() {
  report(db::CaughtError().description);
}

void ErrorTrap::report(const QString& description) {
  QString text = description + QStringLiteral("\r\n") + QLatin1String(kReportOrigin) + form_ +
                 QLatin1Char('.') + handler_ + QStringLiteral(" at line ") + QString::number(lastStep_) +
                 QStringLiteral("\r\r") + QStringLiteral("Please email screenshot of this message to ") +
                 QLatin1String(kSupportAddress);
  if (sql_) text += QStringLiteral("\r\rsql: ") + *sql_;
  if (utf8Sql_) text += QStringLiteral("\r\rsql: ") + QString::fromStdString(*utf8Sql_);
  prompter_.messageBox(text, kExclamation, QLatin1String(kReportTitle));
}

}  // namespace app
