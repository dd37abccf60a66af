#include "cli/terminal_progress.h"

namespace cli {

void TerminalProgress::operator()(const QString& table, long long done, long long total) {
  const long long percent = total > 0 ? done * 100 / total : 100;
  const bool finished = done == total;
  if (percent == shownPercent_ && !finished) return;
  shownPercent_ = finished ? -1 : percent;
  *terminal_ << '\r' << table.toStdString() << ": " << done << " of " << total << " rows"
             << (finished ? "\n" : "") << std::flush;
}

}  // namespace cli
