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
#include <string>
#include <utility>

#include "app/prompter.h"

namespace app {

class ErrorTrap {
 public:
  ErrorTrap(Prompter& prompter, QString form, QString handler);

  // For the transfer handlers: the report ends with "sql: " and the text
  // this points to (UTF-8 for the std::string) at the moment of the failure.
  void showSqlFrom(const QString* statement) { sql_ = statement; }
  void showSqlFrom(const std::string* utf8Statement) { utf8Sql_ = utf8Statement; }

  // Once `stopped` answers true no further statement runs: step() does
  // nothing and when() answers false. The end of the program, asked for
  // while the handler runs, stops it this way.
  void stopWhen(std::function<bool()> stopped) { stopped_ = std::move(stopped); }

  // Templates rather than std::function: a transfer runs a step per value
  // of every row, and a std::function of a lambda with several captures
  // would allocate each time.
  template <typename Body>
  void step(int number, Body&& body) {
    if (isStopped()) return;
    lastStep_ = number;
    try {
      body();
    } catch (...) {
      reportCaught();
    }
  }

  template <typename Condition>
  bool when(int number, Condition&& condition) {
    if (isStopped()) return false;
    lastStep_ = number;
    try {
      return condition();
    } catch (...) {
      reportCaught();
      return true;
    }
  }

  int lastStep() const { return lastStep_; }

 private:
  // Shows the report for the exception being handled; call from a catch block.
  void reportCaught();
  void report(const QString& description);
  bool isStopped() const { return stopped_ && stopped_(); }

  Prompter& prompter_;
  QString form_;
  QString handler_;
  const QString* sql_ = nullptr;
  const std::string* utf8Sql_ = nullptr;
  std::function<bool()> stopped_;
  int lastStep_ = 0;
};

}  // namespace app
