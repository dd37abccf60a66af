// One run of a handler under the error report. A handler's statements are
// numbered 100, 102, ...; each runs through step() or when(). When a
// statement raises, the report names the form, the handler and the
// number, and the handler goes on with its next statement:
//   - step(n, body): a failing body is reported; the handler goes on.
//   - when(n, condition): a failing condition is reported and counts as
//     true, so the handler goes on inside the branch.
//   - a routine called from a body that raises abandons the rest of that
//     routine only, because the exception unwinds to the step.
//   - a loop whose pass fails goes on with its next pass.
#pragma once

#include <QString>
#include <functional>
#include <utility>

#include "app/prompter.h"

namespace app {

class ErrorTrap {
 public:
  ErrorTrap(Prompter& prompter, QString form, QString handler);

  // For the transfer handlers: the report ends with "sql: " and the text
  // this points to at the moment of the failure.
  void showSqlFrom(const QString* statement) { sql_ = statement; }

  // Once `stopped` answers true no further statement runs: step() does
  // nothing and when() answers false. The end of the program, asked for
  // while the handler runs, stops it this way.
  void stopWhen(std::function<bool()> stopped) { stopped_ = std::move(stopped); }

  void step(int number, const std::function<void()>& body);
  bool when(int number, const std::function<bool()>& condition);

  int lastStep() const { return lastStep_; }

 private:
  void report(const QString& description);
  bool isStopped() const { return stopped_ && stopped_(); }

  Prompter& prompter_;
  QString form_;
  QString handler_;
  const QString* sql_ = nullptr;
  std::function<bool()> stopped_;
  int lastStep_ = 0;
};

}  // namespace app
