#include "transfer/headless_page.h"

namespace transfer {

// The line is rewritten when the share done moves by a whole percent, so
// that a large table costs a hundred writes, not one per row.
void HeadlessPage::rowsDone(const QString& table, long long done, long long total) {
  if (progress_ == nullptr) return;
  const long long percent = total > 0 ? done * 100 / total : 100;
  const bool finished = done == total;
  if (percent == shownPercent_ && !finished) return;
  shownPercent_ = finished ? -1 : percent;
  std::fprintf(progress_, "\r%s: %lld of %lld rows%s", qPrintable(table), done, total,
               finished ? "\n" : "");
  std::fflush(progress_);
}

}  // namespace transfer
