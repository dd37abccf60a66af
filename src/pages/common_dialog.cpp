#include "pages/common_dialog.h"

#include <QFileDialog>

namespace pages {

QString QtFileOpenDialog::chooseFile(QWidget* owner, const FileOpenRequest& request) {
  QFileDialog dialog(owner, request.title);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setNameFilters(request.nameFilters);
  // The descriptions already name their patterns.
  dialog.setOption(QFileDialog::HideNameFilterDetails);
  dialog.setOption(QFileDialog::ReadOnly, (request.flags & kOfnReadOnly) != 0);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().constFirst();
}

QStringList NameFiltersFromCommonDialogFilter(const QString& filter) {
  const QStringList parts = filter.split(QLatin1Char('|'));
  QStringList nameFilters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    if (parts[i + 1].isEmpty()) continue;
    // Several patterns are separated by ';' there and by blanks in Qt.
    const QString patterns = QString(parts[i + 1]).replace(QLatin1Char(';'), QLatin1Char(' '));
    nameFilters << QStringLiteral("%1 (%2)").arg(parts[i], patterns);
  }
  return nameFilters;
}

void CommonDialog::showOpen() {
  fileName_ =
      dialog_.chooseFile(owner_, FileOpenRequest{title_, NameFiltersFromCommonDialogFilter(filter_), flags_});
}

}  // namespace pages
