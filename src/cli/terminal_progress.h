// The rows sent of each table, on a terminal: one line per table,
// rewritten in place as its rows go ("Orders: 1200 of 5000 rows").
#pragma once

#include <QString>
#include <ostream>

namespace cli {

class TerminalProgress {
 public:
  explicit TerminalProgress(std::ostream& terminal) : terminal_(&terminal) {}

  // The line is rewritten when the share done moves by a whole percent, so
  // that a large table costs a hundred writes, not one per row.
  void operator()(const QString& table, long long done, long long total);

 private:
  std::ostream* terminal_;
  long long shownPercent_ = -1;
};

}  // namespace cli
